// The window "Kalender" with a real list grid: the dates of the grid's date
// column marked in the twelve months, the dates of a clicked month or day,
// a new list after the window was given the grid again, a refused date
// text, the window menu, help, closing and the stored position.

#include "TestDiary.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "app/WindowsMenus.h"
#include "export/RecPrint.h"
#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"
#include "foundation/TulloCalendar.h"
#include "ui/Calendar.h"

#include <QAction>
#include <QAtomicInt>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QtTest>

namespace
{
TCorvaleApp::TOptions options()
{
    static QAtomicInt serial;
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_Calendar-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

QStringList words(const char *texts)
{
    return QString::fromLatin1(texts).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The list grid as the main window has it: a title row, the date in
// column 0, another column beside it; one row per date.
void fillGrid(TComplexGrid &grid, const QStringList &dates)
{
    grid.BeginUpdate();
    grid.SetFixedCols(0);
    grid.ClearCells();
    grid.SetColCount(2);
    grid.SetRowCount(int(dates.size()) + 1);
    grid.SetCells(0, 0, QStringLiteral("Datum"));
    grid.SetCells(1, 0, QStringLiteral("Aktivitet"));
    for (int i = 0; i < dates.size(); ++i) {
        grid.SetCells(0, i + 1, dates.at(i));
        grid.SetCells(1, i + 1, QStringLiteral("Löpning"));
    }
    grid.EndUpdate();
}

QPoint cellCentre(int day)
{
    return {((day - 1) % 7) * 20 + 10, 20 + ((day - 1) / 7) * 20 + 10};
}

struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
    }
    void Inform(const QString &text) override { shown.append(text); }
};

// The window in folders of the test's own, shown, with a list grid.
struct TCalendarWindow
{
    TTestFolders folders;
    TCorvaleApp app{options()};
    TComplexGrid grid;
    TfrmCalendar window{app};

    TCalendarWindow()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void Fill(const QStringList &dates)
    {
        fillGrid(grid, dates);
        window.FillDates(grid);
    }
    TTulloCalendar *Month(int month) { return window.MonthCalendar(month); }
    void ClickDay(int month, int day) { QTest::mouseClick(Month(month), Qt::LeftButton, {}, cellCentre(day)); }
    void ClickHeader(int month) { QTest::mouseClick(Month(month), Qt::LeftButton, {}, QPoint(70, 10)); }
    QString Label(const char *name) { return window.findChild<QLabel *>(QLatin1String(name))->text(); }
    QStringList Memo()
    {
        const QString text = window.findChild<QPlainTextEdit *>(QStringLiteral("moDates"))->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
};
}

class tst_Calendar : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        TCalendarWindow w;
        QCOMPARE(w.window.windowTitle(), QStringLiteral("Kalender"));
        QCOMPARE(w.window.objectName(), QStringLiteral("frmCalendar"));
        QCOMPARE(w.window.size(), QSize(595, 595));
        QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
        const char *names[] = {"calJan", "calFeb", "calMar", "calApr", "calMay", "calJun",
                               "calJul", "calAug", "calSep", "calOct", "calNov", "calDec"};
        for (int month = 1; month <= 12; ++month) {
            auto *calendar = w.window.findChild<TTulloCalendar *>(QLatin1String(names[month - 1]));
            QVERIFY(calendar);
            QCOMPARE(calendar->Month(), month);
            QCOMPARE(calendar->pos(), QPoint(4 + (month - 1) % 3 * 148, 4 + (month - 1) / 3 * 128));
        }
        QCOMPARE(w.Label("lblDates"), QStringLiteral("Datum"));
        QCOMPARE(w.Label("lblCount"), QStringLiteral("0 aktiviteter"));
        QVERIFY(!w.window.findChild<QProgressBar *>(QStringLiteral("pgsbrCalendar"))->isVisible());
    }

    // A click on a day or a month lists its dates with their years, the
    // count of distinct dates under them; the other calendars lose their
    // clicked place.
    void clickedDatesAreListed_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day"); // 0: the month's header
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("count");
        const QStringList may = words("2004-05-17 2004-05-04 2003-05-04 2004-06-04 2004-05-04");
        QTest::newRow("4 May of two years") << may << 5 << 4 << "Datum för 4 Maj" << words("2003-05-04 2004-05-04")
                                            << "2 aktiviteter";
        QTest::newRow("17 May") << may << 5 << 17 << "Datum för 17 Maj" << words("2004-05-17") << "1 aktivitet";
        QTest::newRow("the whole of May") << may << 5 << 0 << "Datum i Maj"
                                          << words("2003-05-04 2004-05-04 2004-05-17") << "3 aktiviteter";
        QTest::newRow("June") << may << 6 << 0 << "Datum i Juni" << words("2004-06-04") << "1 aktivitet";
        QTest::newRow("a day not in the list") << may << 5 << 5 << "Datum för 5 Maj" << QStringList() << "0 aktiviteter";
        QTest::newRow("a month not in the list") << may << 1 << 0 << "Datum i Januari" << QStringList() << "0 aktiviteter";
        QTest::newRow("29 February") << words("2004-02-29 2008-02-29 2005-02-28") << 2 << 29 << "Datum för 29 Februari"
                                     << words("2004-02-29 2008-02-29") << "2 aktiviteter";
        QTest::newRow("empty list") << QStringList() << 12 << 0 << "Datum i December" << QStringList() << "0 aktiviteter";
    }
    void clickedDatesAreListed()
    {
        QFETCH(QStringList, list);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, title);
        QFETCH(QStringList, listed);
        QFETCH(QString, count);
        TCalendarWindow w;
        w.Fill(list);
        // Another month clicked first keeps its clicked place only until this click.
        const int other = month == 3 ? 4 : 3;
        w.ClickDay(other, 1);
        QCOMPARE(w.Month(other)->Clicked(), 1);
        if (day == 0)
            w.ClickHeader(month);
        else
            w.ClickDay(month, day);
        QCOMPARE(w.Label("lblDates"), title);
        QCOMPARE(w.Memo(), listed);
        QCOMPARE(w.window.Dates(), listed);
        QCOMPARE(w.Label("lblCount"), count);
        QCOMPARE(w.Month(month)->Clicked(), day);
        QCOMPARE(w.Month(other)->Clicked(), -1);
    }

    // The print of the window shows the twelve months as pictures of how
    // they look, marks included, and the listed dates as text.
    void printsTheMonthsAsTheyLook()
    {
        TCalendarWindow w;
        w.Fill(words("2004-05-04 2010-05-04 2011-06-20"));
        w.ClickDay(5, 4);
        const TRecordBand band = RecordBandOf(w.window.centralWidget());
        int pictures = 0;
        bool datesPrinted = false;
        for (const TReportElement &element : band.Elements) {
            if (element.Kind == TReportElement::TKind::Picture)
                ++pictures;
            if (element.Kind == TReportElement::TKind::Text && element.Text.contains(QLatin1String("2004-05-04"))
                && element.Text.contains(QLatin1String("2010-05-04")))
                datesPrinted = true;
        }
        QCOMPARE(pictures, 12);
        QCOMPARE(band.Pictures.size(), 12);
        QVERIFY(datesPrinted);
        // May's picture holds the mark of the 4th, April's none.
        const auto marked = [](const QImage &image, const QPoint &cell) {
            const QImage plain = image.convertToFormat(QImage::Format_RGB32);
            const QPoint at = cell * 2; // pictures are drawn at twice the resolution
            return QColor(plain.pixel(at)) != QColor(Qt::white);
        };
        const QPoint fourth = cellCentre(4) + QPoint(6, 6);
        QVERIFY(marked(band.Pictures.at(4), fourth));
        QVERIFY(!marked(band.Pictures.at(3), fourth));
        QVERIFY(w.window.findChild<QAction *>(QStringLiteral("mnuiPrint")));
        QVERIFY(w.window.findChild<QAction *>(QStringLiteral("mnuiPreview")));
    }

    // Given the grid again after a new search, the window marks the new
    // list only; the clicked places and the memo are emptied, the labels
    // keep their texts until the next click.
    void followsANewList()
    {
        TCalendarWindow w;
        w.Fill(words("2003-05-04 2004-05-04 2004-07-01"));
        w.ClickDay(5, 4);
        QCOMPARE(w.Memo(), words("2003-05-04 2004-05-04"));

        w.Fill(words("2010-05-09 2011-08-04"));
        QCOMPARE(w.Month(5)->Clicked(), -1);
        QVERIFY(w.Memo().isEmpty());
        QCOMPARE(w.Label("lblDates"), QStringLiteral("Datum för 4 Maj"));
        QCOMPARE(w.Month(5)->NrOfSelectedDays(), 1);
        QVERIFY(w.Month(5)->IsSelected(9));
        QVERIFY(!w.Month(5)->IsSelected(4));
        QCOMPARE(w.Month(7)->NrOfSelectedDays(), 0);
        QVERIFY(w.Month(8)->IsSelected(4));
        QVERIFY(!w.window.findChild<QProgressBar *>(QStringLiteral("pgsbrCalendar"))->isVisible());

        w.ClickDay(5, 4);
        QVERIFY(w.Memo().isEmpty());
        QCOMPARE(w.Label("lblCount"), QStringLiteral("0 aktiviteter"));
        w.ClickHeader(5);
        QCOMPARE(w.Memo(), words("2010-05-09"));

        // An empty result leaves every month empty.
        w.Fill(QStringList());
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(w.Month(month)->NrOfSelectedDays(), 0);
    }

    // A date text that is no date is refused: every calendar stays empty
    // and the progress bar is hidden again.
    void refusedDateLeavesAllEmpty()
    {
        TCalendarWindow w;
        w.Fill(words("2004-05-04"));
        fillGrid(w.grid, words("2004-06-01 2004-13-01"));
        QString message;
        try {
            w.window.FillDates(w.grid);
        } catch (const ETulloCalendar &e) {
            message = e.Message();
        }
        QCOMPARE(message, QStringLiteral("2004-13-01 is not a valid date"));
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(w.Month(month)->NrOfSelectedDays(), 0);
        auto *progress = w.window.findChild<QProgressBar *>(QStringLiteral("pgsbrCalendar"));
        QVERIFY(!progress->isVisible());
        QCOMPARE(progress->value(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // F1 and the help menu's entry open topic 49.
    void help()
    {
        TCalendarWindow w;
        TRecordingViewer viewer;
        w.app.GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        w.app.GetHelp().SetViewer(&viewer);
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTest::keyClick(&w.window, Qt::Key_F1);
        w.window.findChild<QAction *>(QStringLiteral("mnuiIntHelp"))->trigger();
        w.app.GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{"calendar.htm", "calendar.htm"}));
    }

    // The window stands in the window menu while it exists; "Stä&ng" hides
    // it and tells the main window that the list of windows changed.
    void windowMenuAndClosing()
    {
        TTestFolders folders;
        TCorvaleApp app{options()};
        QWidget main;
        main.setObjectName(QStringLiteral("frmMain"));
        QMenuBar mainMenu(&main);
        CorvaleForms().AddWindowMenu(&main, &mainMenu);
        struct TCounter : QObject
        {
            int changes = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Type(WM_WINDOWLISTCHANGED))
                    ++changes;
                return false;
            }
        } counter;
        main.installEventFilter(&counter);

        QPointer<TfrmCalendar> window = new TfrmCalendar(app);
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")), window.data());
        QVERIFY(MenuOfMenuBar(window->menuBar(), QStringLiteral("mnuiWindow")));
        QVERIFY(MenuOfMenuBar(window->menuBar(), QStringLiteral("mnuiHelp")));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *close = window->findChild<QAction *>(QStringLiteral("mnuiClose"));
        QCOMPARE(close->text(), QStringLiteral("Stä&ng"));
        QCOMPARE(close->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
        close->trigger();
        QCoreApplication::processEvents();
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCOMPARE(counter.changes, 1);

        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")));
        CorvaleForms().RemoveWindowMenu(&main, &mainMenu);
        QCOMPARE(CorvaleForms().WindowsMenus().Count(), 0);
    }

    // The position is written when the window goes and read when the next
    // one is made.
    void keepsItsPosition()
    {
        TTestFolders folders;
        TCorvaleApp app{options()};
        {
            TfrmCalendar window(app);
            window.move(123, 87);
        }
        TfrmCalendar window(app);
        QCOMPARE(window.pos(), QPoint(123, 87));
        QCOMPARE(window.size(), QSize(595, 595));
    }
};

QTEST_MAIN(tst_Calendar)
#include "tst_Calendar.moc"
