// The personal-records window on a real diary: both lists filled by a
// search, sorted by title click and by the sort dialog, searched for text,
// printed to PDF files, emptied and read again when the diary changes, and
// its window menu and help.

#include "RecordsDiary.h"
#include "support/PdfText.h"

#include "analysis/Records.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "export/GenReport.h"
#include "foundation/CompGrid.h"
#include "foundation/Observer.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace RecordsDiary;

namespace
{
struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
    }
    void Inform(const QString &text) override { shown.append(text); }
};

// The data rows of a grid, each row's cells joined by "|".
QStringList rows(const TComplexGrid *grid)
{
    QStringList texts;
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->ColCount(); ++col)
            cells.append(grid->Cells(col, row));
        if (!cells.join(QString()).isEmpty())
            texts.append(cells.join(QLatin1Char('|')));
    }
    return texts;
}

QStringList column(const TComplexGrid *grid, int col)
{
    QStringList texts;
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row)
        texts.append(grid->Cells(col, row));
    return texts;
}

// A diary with two courses and strength workouts with and without a
// program, and then the records window on it.
struct TRecordsDiary
{
    TAppDiary diary;
    int firstWorkout = -1;

    TRecordsDiary()
    {
        const int track = diary.AddCourse("RUN", QStringLiteral("Hemma"), 10);
        diary.AddSession("RUN", QStringLiteral("2024-01-01"), QStringLiteral("45.30"), track);
        diary.AddSession("RUN", QStringLiteral("2024-02-01"), QStringLiteral("44.10"), track);
        diary.AddSession("RUN", QStringLiteral("2024-03-01"), QStringLiteral("46.00"), track);
        const int road = diary.AddCourse("BIK", QStringLiteral("Hemma"), 10);
        diary.AddSession("BIK", QStringLiteral("2024-06-01"), QStringLiteral("9.00"), road);

        const qint32 bench = addExercise(diary, QStringLiteral("Bänkpress"));
        const qint32 squat = addExercise(diary, QStringLiteral("Knäböj"));
        const qint32 strength = addProgram(diary, QStringLiteral("Styrka"), {bench, squat});
        firstWorkout = addWorkout(diary, QStringLiteral("2024-01-10"), QStringLiteral("Gym"), strength,
                                  {{1, "100", "3x5"}, {2, "120", "5x5"}});
        addWorkout(diary, QStringLiteral("2024-03-10"), QStringLiteral("Gym"), strength, {{1, "95", "3x8"}});
        addWorkout(diary, QStringLiteral("2024-05-01"), QStringLiteral("Ute"), -1, {{1, "60", "3x10"}});
    }
};

struct TRecordsWindow : TRecordsDiary
{
    TDialogs dialogs;
    TfrmRecords window{diary.App()};

    TRecordsWindow()
    {
        window.show();
        window.activateWindow();
    }

    QAction *Action(const char *name) const { return window.findChild<QAction *>(QLatin1String(name)); }
    QString Run() { return diary.Name("RUN"); }
    QString Bike() { return diary.Name("BIK"); }
};

const QString runRecord = QStringLiteral("2024-02-01|%1|Hemma|10.00|44.10|13.58|4.25|3");
const QString bikeRecord = QStringLiteral("2024-06-01|%1|Hemma|10.00|9.00|66.67|0.54|1");
const QString benchRecord = QStringLiteral("2024-01-10|Gym|Styrka|Bänkpress|100.0|3x5|2");
const QString squatRecord = QStringLiteral("2024-01-10|Gym|Styrka|Knäböj|120.0|5x5|1");
const QString chestRecord = QStringLiteral("2024-05-01|Ute||Bröst1|60.0|3x10|1");
} // namespace

class tst_RecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    // "Sök" lists the records of the diary by date on both pages, tells
    // each activity searched and ends with an empty status.
    void searchFillsBothGrids()
    {
        TRecordsWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QStringList told;
        TSubjectObserver observer;
        observer.SetOnChange([&](const TObservation &o) {
            told.append(QString::number(o.kind) + QLatin1Char(' ') + o.text);
            if (o.kind == quint8(TNotifyKind::PersonalRecordsSearch))
                QCOMPARE(w.window.StatusText(), QStringLiteral("Hämtar data...") + o.text);
        });
        w.diary.App().Attach(&observer);
        QVERIFY(!w.Action("mnuiSort")->isEnabled());
        QTest::keyClick(&w.window, Qt::Key_O, Qt::ControlModifier);
        w.diary.App().Detach(&observer);

        QCOMPARE(rows(w.window.TDTGrid()), (QStringList{runRecord.arg(w.Run()), bikeRecord.arg(w.Bike())}));
        QCOMPARE(rows(w.window.WorkoutGrid()), (QStringList{benchRecord, squatRecord, chestRecord}));
        QVERIFY(told.contains(QStringLiteral("1 ") + w.Run()));
        QVERIFY(told.contains(QStringLiteral("1 ") + w.diary.Name("WOR")));
        QCOMPARE(told.last(), QStringLiteral("0 "));
        QCOMPARE(w.window.StatusText(), QString());

        // Titles of two lines, numbers to the right.
        QCOMPARE(w.window.TDTGrid()->Cells(3, 0), QStringLiteral("Distans\r (km)"));
        QCOMPARE(w.window.WorkoutGrid()->Cells(4, 0), QStringLiteral("Vikt\r (kg)"));
        QCOMPARE(w.window.TDTGrid()->RowHeights(0), 2 * w.window.TDTGrid()->DefaultRowHeight());
        QCOMPARE(w.window.TDTGrid()->GetColAlignment(4), TColAlignment::Right);
        QCOMPARE(w.window.WorkoutGrid()->GetColAlignment(3), TColAlignment::Left);
        for (const char *name : {"mnuiSort", "mnuiPrint", "mnuiPreview", "mnuiFind"})
            QVERIFY2(w.Action(name)->isEnabled(), name);
        QVERIFY(!w.Action("mnuiFindAgain")->isEnabled());
    }

    // A title click sorts by the column's style (durations as numbers),
    // the sort dialog sorts the grid of the page shown, and the current
    // row stays on the same record.
    void sortKeepsTheCurrentRecord()
    {
        TRecordsWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.window.mnuiSearchClick();
        TComplexGrid *tdt = w.window.TDTGrid();
        tdt->SetRow(1);
        QCOMPARE(tdt->Cells(1, tdt->Row()), w.Run());
        QHeaderView *titles = tdt->horizontalHeader();
        const QPoint at(titles->sectionViewportPosition(4) + titles->sectionSize(4) / 2, 5);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(column(tdt, 4), (QStringList{"9.00", "44.10"}));
        QCOMPARE(tdt->Cells(1, tdt->Row()), w.Run());

        w.window.ShowPage(TfrmRecords::WorkoutPage);
        TComplexGrid *workout = w.window.WorkoutGrid();
        workout->SetRow(1);
        w.dialogs.actions.insert(QStringLiteral("frmSort"), [](QWidget *sort) {
            auto *col = sort->findChild<QComboBox *>(QStringLiteral("cmbbxSortCol1"));
            col->setCurrentIndex(col->findText(QStringLiteral("Vikt"), Qt::MatchStartsWith));
            auto *mode = sort->findChild<QComboBox *>(QStringLiteral("cmbbxSortMode1"));
            mode->setCurrentIndex(mode->findText(QStringLiteral("Numeriskt")));
            sort->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        QTest::keyClick(&w.window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(column(workout, 4), (QStringList{"60.0", "100.0", "120.0"}));
        QCOMPARE(workout->Cells(3, workout->Row()), QStringLiteral("Bänkpress"));
        // The other page kept its order.
        QCOMPARE(column(tdt, 4), (QStringList{"9.00", "44.10"}));
    }

    // "Sök text" finds in the list of the page shown; "Sök igen" goes on
    // from the hit; a text that is not there is told.
    void findAndFindAgain()
    {
        TRecordsWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.window.mnuiSearchClick();
        w.window.ShowPage(TfrmRecords::WorkoutPage);
        QString text = QStringLiteral("Gym");
        w.dialogs.actions.insert(QStringLiteral("frmFind"), [&](QWidget *find) {
            find->findChild<QComboBox *>(QStringLiteral("cmbbxSearch"))->setEditText(text);
            find->findChild<QPushButton *>(QStringLiteral("btnFind"))->click();
        });
        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier);
        TComplexGrid *workout = w.window.WorkoutGrid();
        QCOMPARE(workout->Row(), 1);
        QCOMPARE(w.window.StatusText(), QStringLiteral("Sökningen lyckades 'Gym'"));
        QVERIFY(w.Action("mnuiFindAgain")->isEnabled());
        // The closed dialog gives the activation back.
        w.window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w.window);
        QTest::keyClick(&w.window, Qt::Key_F3);
        QCOMPARE(workout->Row(), 2);
        QCOMPARE(workout->Cells(3, 2), QStringLiteral("Knäböj"));

        // Each page has its own text.
        w.window.ShowPage(TfrmRecords::TDTPage);
        QVERIFY(!w.Action("mnuiFindAgain")->isEnabled());
        text = QStringLiteral("Saknas");
        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w.dialogs.messages, QStringList{"Sökningen misslyckades (Saknas)"});
        QCOMPARE(w.window.StatusText(), QString());
    }

    // "Skriv ut" prints the list of the page shown under its title.
    void printBothLists_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("courses") << int(TfrmRecords::TDTPage) << QStringLiteral("Personbästa tidsaktiviteter")
                                 << QStringList{"2024-02-01", "44.10", "13.58", "2024-06-01", "9.00"};
        QTest::newRow("strength") << int(TfrmRecords::WorkoutPage) << QStringLiteral("Personbästa styrketräning")
                                  << QStringList{"Bänkpress", "100.0", "Knäböj", "120.0", "Bröst1", "60.0"};
    }

    void printBothLists()
    {
        QFETCH(int, page);
        QFETCH(QString, title);
        QFETCH(QStringList, lines);
        TRecordsWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.window.mnuiSearchClick();
        w.window.ShowPage(page);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("personbasta.pdf"));
        QString statusDuringPrint;
        w.dialogs.actions.insert(QStringLiteral("frmPrintTarget"), [&](QWidget *dialog) {
            auto *printers = dialog->findChild<QListWidget *>(QStringLiteral("lstbxPrinters"));
            printers->setCurrentRow(printers->count() - 1);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        w.dialogs.actions.insert(QStringLiteral("dlgSavePdf"), [&](QWidget *dialog) {
            statusDuringPrint = w.window.StatusText();
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(&w.window, Qt::Key_U, Qt::ControlModifier);
        QVERIFY2(w.dialogs.messages.isEmpty(), qPrintable(w.dialogs.messages.join(QLatin1Char('\n'))));
        QCOMPARE(statusDuringPrint, QStringLiteral("Skriver ut..."));
        QCOMPARE(w.window.StatusText(), QString());
        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains(title));
        qsizetype from = pages.first().indexOf(title);
        for (const QString &line : lines) {
            const qsizetype at = pages.first().indexOf(line, from);
            QVERIFY2(at > from, qPrintable(line));
            from = at;
        }
        QCOMPARE(CorvaleForms().ListPrint().Title(), title);
        QVERIFY(!CorvaleForms().ListPrint().IncludeEmpty());
    }

    // A change that may change the records empties the lists at once; the
    // shown window reads them again once the change is over, a hidden one
    // when it is shown again.
    void changesOfTheDiary()
    {
        TRecordsWindow w;
        w.window.mnuiSearchClick();
        TSettingsValues settings = w.diary.App().GetSettings();
        settings.RecordNum = 2;
        w.diary.App().ApplySettings(settings);
        QVERIFY(w.window.CourseRecords().isEmpty());
        QCOMPARE(rows(w.window.TDTGrid()), QStringList());
        QTRY_COMPARE(rows(w.window.TDTGrid()), QStringList{runRecord.arg(w.Run())});

        w.diary.App().RemoveActivity(w.firstWorkout);
        QVERIFY(w.window.StrengthRecords().isEmpty());
        QTRY_COMPARE(rows(w.window.WorkoutGrid()),
                     (QStringList{QStringLiteral("2024-03-10|Gym|Styrka|Bänkpress|95.0|3x8|1"), chestRecord}));

        w.window.hide();
        settings.RecordNum = 1;
        w.diary.App().ApplySettings(settings);
        QTest::qWait(50);
        QCOMPARE(rows(w.window.TDTGrid()), QStringList());
        w.window.show();
        QTRY_COMPARE(rows(w.window.TDTGrid()), (QStringList{runRecord.arg(w.Run()), bikeRecord.arg(w.Bike())}));

        // A change of another setting leaves the lists alone.
        settings.SearchAtStart = !settings.SearchAtStart;
        w.diary.App().ApplySettings(settings);
        QCOMPARE(w.window.CourseRecords().size(), 2);
    }

    // "Inställningar..." opens the settings window on its personal-records
    // page alone; a limit confirmed there reaches the lists.
    void theSettingsItemOpensOnlyTheRecordsPage()
    {
        TRecordsWindow w;
        w.window.mnuiSearchClick();
        QCOMPARE(w.window.CourseRecords().size(), 2);
        QList<bool> enabled;
        QString front;
        w.dialogs.actions.insert(QStringLiteral("frmSettings"), [&](QWidget *window) {
            auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("pgctrlSettings"));
            for (int i = 0; i < tabs->count(); ++i)
                enabled.append(tabs->isTabEnabled(i) && tabs->widget(i)->isEnabled());
            front = tabs->currentWidget()->objectName();
            auto *sessions = window->findChild<QLineEdit *>(QStringLiteral("numedtRecordTDTNum"));
            sessions->selectAll();
            QTest::keyClicks(sessions, QStringLiteral("2"));
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        QAction *settings = w.Action("mnuiSettings");
        QVERIFY(settings);
        QCOMPARE(settings->text(), QStringLiteral("&Inställningar..."));
        settings->trigger();
        QCOMPARE(enabled, (QList<bool>{false, false, true, false}));
        QCOMPARE(front, QStringLiteral("tshRecords"));
        QCOMPARE(w.diary.App().GetSettings().RecordNum, 2);
        QTRY_COMPARE(rows(w.window.TDTGrid()), QStringList{runRecord.arg(w.Run())});
        QVERIFY(w.dialogs.messages.isEmpty());
        FreeCorvaleForms();
    }

    // The window stands in the window menu while it exists; F1 shows the
    // page of the list in front, the help menu's entries the window, the
    // sorting and the printing.
    void windowMenuAndHelp()
    {
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        auto *window = new TfrmRecords(diary.App());
        QCOMPARE(window->objectName(), QStringLiteral("frmRecords"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Personbästa"));
        QCOMPARE(window->minimumSize(), QSize(430, 400));
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QMenu *windows = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow"));
        QVERIFY(windows);
        QVERIFY(!windows->findChild<QAction *>(QStringLiteral("mnuiRecordsWindow")));
        QVERIFY(windows->findChild<QAction *>(QStringLiteral("mnuiMainWindow")));

        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        QTest::keyClick(window, Qt::Key_F5);
        QCOMPARE(window->CurrentPage(), int(TfrmRecords::WorkoutPage));
        QTest::keyClick(window, Qt::Key_F1);
        for (const char *name : {"mnuiRecordsHelp", "mnuiSortHelp", "mnuiPrintHelp"})
            window->findChild<QAction *>(QLatin1String(name))->trigger();
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{"personal.htm#TDT", "personal.htm#Workout", "personal.htm", "personal.htm#Sort",
                                            "personal.htm#Print"}));
        // An empty diary: nothing to sort, print or find.
        window->mnuiSearchClick();
        QVERIFY(window->findChild<QAction *>(QStringLiteral("mnuiSearch"))->isEnabled());
        for (const char *name : {"mnuiSort", "mnuiPrint", "mnuiPreview", "mnuiFind", "mnuiFindAgain"})
            QVERIFY2(!window->findChild<QAction *>(QLatin1String(name))->isEnabled(), name);
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().IsRegistered(window));
    }
};

QTEST_MAIN(tst_RecordsWindow)
#include "tst_RecordsWindow.moc"
