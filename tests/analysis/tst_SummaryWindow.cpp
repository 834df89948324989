// The summary window on the offscreen platform with the application object
// of a real diary behind it: the year grid and its totals row, a refused
// part of the year, the figures of entries saved after a search, sorting,
// the printed list, the rebuilt columns and the window services.

#include "reference/AppDiary.h"
#include "support/PdfText.h"

#include "analysis/Summary.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "foundation/CompGrid.h"
#include "foundation/DefReg.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// An entry saved through the application object as the entry page saves
// one; the duration and distance where the type has them. It stays loaded.
int add(TAppDiary &diary, const char *code, const QString &date, const QString &duration, const QString &distance)
{
    TCorvaleApp &app = diary.App();
    const int nr = app.NewActivity(diary.Name(code));
    TActivity *entry = app.FindActivity(nr);
    entry->SetSessionData(date, QStringLiteral("Hemma"), QString(), QString());
    entry->SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    entry->SetSleep(QStringLiteral("-1"), QString());
    entry->SetComment(QString());
    if (auto *timed = dynamic_cast<TTimeActivity *>(entry))
        timed->SetDuration(duration);
    if (auto *both = dynamic_cast<TTimeDistanceActivity *>(entry)) {
        both->SetDistance(distance);
        both->SetCourseNr(QString());
        const QStringList none;
        both->SetLaps(&none, &none);
    }
    app.SaveActivity(nr);
    return nr;
}

void choose(TAppDiary &diary, QStringList codes)
{
    diary.App().GetActivityNameList().SetSummaryCodes(&codes);
}

// The window, shown and active, over the diary.
struct TWindow
{
    explicit TWindow(TAppDiary &diary) : window(diary.App())
    {
        window.show();
        window.activateWindow();
        ready = QTest::qWaitForWindowActive(&window);
    }

    template <class T> T *Child(const char *name) { return window.findChild<T *>(QLatin1String(name)); }
    TNumericalEdit *Edit(const char *name) { return Child<TNumericalEdit>(name); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    TComplexGrid &Grid() { return *window.SummaryGrid(); }
    TComplexGrid &Total() { return *window.TotalGrid(); }

    void Period(int fromMonth, int fromDay, int toMonth, int toDay)
    {
        Edit("numedtFromMonth")->SetValue(QString::number(fromMonth));
        Edit("numedtFromDay")->SetValue(QString::number(fromDay));
        Edit("numedtToMonth")->SetValue(QString::number(toMonth));
        Edit("numedtToDay")->SetValue(QString::number(toDay));
    }
    void Search() { Action("mnuiSearch")->trigger(); }

    // The rows as "year: cell | cell", top to bottom.
    QStringList Rows()
    {
        QStringList rows;
        for (int row = 1; row < Grid().RowCount(); ++row) {
            QStringList cells;
            for (int col = 1; col < Grid().ColCount(); ++col)
                cells.append(Grid().Cells(col, row));
            rows.append(Grid().Cells(0, row) + QStringLiteral(": ") + cells.join(QStringLiteral(" | ")));
        }
        return rows;
    }
    QStringList Headers()
    {
        QStringList headers;
        for (int col = 0; col < Grid().ColCount(); ++col)
            headers.append(Grid().Cells(col, 0));
        return headers;
    }
    QStringList Totals()
    {
        QStringList totals;
        for (int col = 0; col < Total().ColCount(); ++col)
            totals.append(Total().Cells(col, 0));
        return totals;
    }

    TfrmSummary window;
    bool ready = false;
};

// Counts the show events the platform delivers to a window.
struct TShowCounter : QObject
{
    explicit TShowCounter(QWidget *window) { window->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && event->spontaneous())
            ++spontaneous;
        return false;
    }
    int spontaneous = 0;
};

struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
    }
    void Inform(const QString &text) override { shown.append(text); }
};

QString km(const QString &name)
{
    return name + QStringLiteral("\r (km)");
}
}

class tst_SummaryWindow : public QObject
{
    Q_OBJECT

private slots:
    // The window opens on 1 January to today with one column per chosen
    // type; a search fills a row per year of the range, an empty year
    // included, and the totals row under it follows the widths and the
    // horizontal scrolling of the grid.
    void searchFillsTheYearGridAndItsTotals()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2001-05-01"), QStringLiteral("50"), QStringLiteral("10"));
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("30"), QStringLiteral("5"));
        add(diary, "SKI", QStringLiteral("2003-02-01"), QStringLiteral("120"), QStringLiteral("20"));
        add(diary, "BIK", QStringLiteral("1990-06-01"), QStringLiteral("60"), QStringLiteral("30"));
        choose(diary, {QStringLiteral("RUN"), QStringLiteral("SKI")});
        TWindow w(diary);
        QVERIFY(w.ready);

        const QDate today = QDate::currentDate();
        QCOMPARE(w.Edit("numedtFromMonth")->text(), QStringLiteral("1"));
        QCOMPARE(w.Edit("numedtFromDay")->text(), QStringLiteral("1"));
        QCOMPARE(w.Edit("numedtToMonth")->text(), QString::number(today.month()));
        QCOMPARE(w.Edit("numedtToDay")->text(), QString::number(today.day()));
        QCOMPARE(w.Headers(), QStringList({QStringLiteral("År"), km(diary.Name("SKI")), km(diary.Name("RUN"))}));
        QCOMPARE(w.Grid().RowHeights(0), 2 * w.Grid().DefaultRowHeight());
        QVERIFY(!w.Action("mnuiSort")->isEnabled());
        QVERIFY(!w.Action("mnuiPrint")->isEnabled());

        w.Period(1, 1, 12, 31);
        w.Search();
        QCOMPARE(w.Rows(), QStringList({QStringLiteral("2001:  | 10.00"), QStringLiteral("2002:  | "),
                                        QStringLiteral("2003: 20.00 | 5.00")}));
        QCOMPARE(w.Totals(), QStringList({QStringLiteral("Totalt"), QStringLiteral("20.00"), QStringLiteral("15.00")}));
        QCOMPARE(w.window.YearCount(), 3);
        QVERIFY(w.Action("mnuiSort")->isEnabled());
        QVERIFY(w.Action("mnuiPrint")->isEnabled());
        QVERIFY(w.Action("mnuiPreview")->isEnabled());
        QCOMPARE(w.window.StatusText(0), QString());

        // The totals row keeps the columns' widths and scrolls with them.
        w.Grid().horizontalHeader()->resizeSection(1, 400);
        QCOMPARE(w.Total().columnWidth(1), 400);
        w.Grid().horizontalHeader()->resizeSection(2, 400);
        QTRY_VERIFY(w.Grid().horizontalScrollBar()->maximum() > 0);
        w.Grid().horizontalScrollBar()->setValue(w.Grid().horizontalScrollBar()->maximum());
        QCOMPARE(w.Total().horizontalScrollBar()->value(), w.Grid().horizontalScrollBar()->value());
        QCOMPARE(w.Total().columnAt(0), w.Grid().columnAt(0));

        // A part of the year where nothing was done shows nothing.
        w.Period(11, 1, 11, 30);
        w.Search();
        QCOMPARE(w.window.YearCount(), 0);
        QCOMPARE(w.Rows(), QStringList{QStringLiteral(":  | ")});
        QVERIFY(!w.Action("mnuiSort")->isEnabled());
    }

    // Typing month 2 limits the day to 29, April to 30; a day typed before
    // its month is kept and refused by the search instead, in Swedish, with
    // the focus on the day and the fields as they were typed.
    void aMonthLimitsItsDay_data()
    {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("maximum");
        QTest::newRow("February") << "2" << "29";
        QTest::newRow("April") << "4" << "30";
        QTest::newRow("December") << "12" << "31";
        QTest::newRow("empty") << "" << "31";
    }

    void aMonthLimitsItsDay()
    {
        QFETCH(QString, month);
        QFETCH(QString, maximum);
        TAppDiary diary;
        TWindow w(diary);
        QVERIFY(w.ready);
        TNumericalEdit *fromMonth = w.Edit("numedtFromMonth");
        fromMonth->setFocus();
        fromMonth->selectAll();
        QTest::keyClick(fromMonth, Qt::Key_Delete);
        QTest::keyClicks(fromMonth, month);
        QTest::keyClick(fromMonth, Qt::Key_Tab);
        QCOMPARE(w.Edit("numedtFromDay")->MaxValue(), maximum);
        QCOMPARE(fromMonth->text(), month.isEmpty() ? QStringLiteral("1") : month);
    }

    void aRefusedPartOfTheYearKeepsWhatWasTyped()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("30"), QStringLiteral("5"));
        choose(diary, {QStringLiteral("RUN")});
        TDialogs dialogs;
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(1, 1, 12, 31);
        w.Search();
        QCOMPARE(w.window.YearCount(), 1);

        TNumericalEdit *day = w.Edit("numedtFromDay");
        TNumericalEdit *month = w.Edit("numedtFromMonth");
        day->setFocus();
        day->selectAll();
        QTest::keyClicks(day, QStringLiteral("30"));
        month->setFocus();
        month->selectAll();
        QTest::keyClicks(month, QStringLiteral("2"));
        QTest::keyClick(month, Qt::Key_Tab);
        QCOMPARE(day->text(), QStringLiteral("30"));
        w.Search();
        QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Det finns ingen dag 30 i februari. Ange en dag från 1 till 29.")});
        QTRY_COMPARE(w.window.focusWidget(), day);
        QCOMPARE(day->text(), QStringLiteral("30"));
        QCOMPARE(month->text(), QStringLiteral("2"));
        // The search was not made: the last result stays.
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 5.00")});
    }

    // Every search reads the diary, whatever the main list holds: an entry
    // saved, changed or removed after a search shows at the next one.
    void theNextSearchShowsWhatWasSaved()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("30"), QStringLiteral("5"));
        add(diary, "SKI", QStringLiteral("2004-02-01"), QStringLiteral("30"), QStringLiteral("8"));
        choose(diary, {QStringLiteral("RUN")});
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(1, 1, 12, 31);
        w.Search();
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 5.00")});

        // The main list holds only skiing now; the summary still counts running.
        QList<int> found;
        TSearchParams filter;
        diary.App().SearchActivities({diary.Name("SKI")}, filter, found);
        QCOMPARE(found.size(), 1);

        const int nr = add(diary, "RUN", QStringLiteral("2005-01-10"), QStringLiteral("40"), QStringLiteral("10"));
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 5.00")});
        w.Search();
        QCOMPARE(w.Rows(), QStringList({QStringLiteral("2003: 5.00"), QStringLiteral("2004: "), QStringLiteral("2005: 10.00")}));
        QCOMPARE(w.Totals().value(1), QStringLiteral("15.00"));

        auto &changed = static_cast<TTimeDistanceActivity &>(*diary.App().FindActivity(nr));
        changed.SetDistance(QStringLiteral("12.5"));
        diary.App().SaveActivity(nr);
        w.Search();
        QCOMPARE(w.Rows().value(2), QStringLiteral("2005: 12.50"));

        diary.App().RemoveActivity(nr);
        w.Search();
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 5.00")});
        QCOMPARE(w.Totals().value(1), QStringLiteral("5.00"));
    }

    // Sorting by a column, by the title or the sort dialog, moves whole
    // rows: every year keeps its figures, the current year stays current,
    // and the totals stay in their own row below.
    void sortingKeepsEveryYearWithItsRow()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2001-05-01"), QStringLiteral("30"), QStringLiteral("30"));
        add(diary, "RUN", QStringLiteral("2002-05-01"), QStringLiteral("30"), QStringLiteral("5"));
        add(diary, "RUN", QStringLiteral("2003-05-01"), QStringLiteral("30"), QStringLiteral("12"));
        add(diary, "SKI", QStringLiteral("2002-02-01"), QStringLiteral("30"), QStringLiteral("40"));
        choose(diary, {QStringLiteral("RUN"), QStringLiteral("SKI")});
        TDialogs dialogs;
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(1, 1, 12, 31);
        w.Search();
        const QStringList byYear = w.Rows();
        QCOMPARE(byYear, QStringList({QStringLiteral("2001:  | 30.00"), QStringLiteral("2002: 40.00 | 5.00"),
                                      QStringLiteral("2003:  | 12.00")}));
        const QStringList totals = w.Totals();
        w.Grid().SetRow(3); // 2003

        // A click on the running title sorts it ascending.
        QHeaderView *header = w.Grid().horizontalHeader();
        const QPoint title(header->sectionViewportPosition(2) + header->sectionSize(2) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        QCOMPARE(w.Rows(), QStringList({QStringLiteral("2002: 40.00 | 5.00"), QStringLiteral("2003:  | 12.00"),
                                        QStringLiteral("2001:  | 30.00")}));
        QCOMPARE(w.Grid().Cells(0, w.Grid().Row()), QStringLiteral("2003"));
        QCOMPARE(w.Totals(), totals);

        // The dialog's key: running, numeric and descending.
        dialogs.actions.insert(QStringLiteral("frmSort"), [](QWidget *dialog) {
            const auto combo = [dialog](const char *name) { return dialog->findChild<QComboBox *>(QLatin1String(name)); };
            QComboBox *column = combo("cmbbxSortCol1");
            QVERIFY(column);
            column->setCurrentIndex(column->findText(QStringLiteral("Löpning"), Qt::MatchStartsWith));
            combo("cmbbxSortMode1")->setCurrentIndex(1);
            combo("cmbbxSortDir1")->setCurrentIndex(1);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        w.Grid().SetRow(2); // 2003 after the first sort
        w.Action("mnuiSort")->trigger();
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(QLatin1Char('\n'))));
        QCOMPARE(w.Rows(), QStringList({QStringLiteral("2001:  | 30.00"), QStringLiteral("2003:  | 12.00"),
                                        QStringLiteral("2002: 40.00 | 5.00")}));
        QCOMPARE(w.Grid().Cells(0, w.Grid().Row()), QStringLiteral("2003"));
        QCOMPARE(w.Totals(), totals);
    }

    // The print is the year grid, an empty row and the totals of the
    // columns that hold a value, under the title of the part of the year:
    // the PDF ends with the "Totalt" line.
    void thePrintEndsWithTheTotals()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2001-10-05"), QStringLiteral("30"), QStringLiteral("7.5"));
        add(diary, "RUN", QStringLiteral("2003-03-01"), QStringLiteral("30"), QStringLiteral("5"));
        choose(diary, {QStringLiteral("RUN"), QStringLiteral("SKI")});
        TDialogs dialogs;
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(10, 1, 3, 31);
        w.Search();
        QCOMPARE(w.Totals(), QStringList({QStringLiteral("Totalt"), QStringLiteral("0.00"), QStringLiteral("12.50")}));

        TComplexGrid *grid = w.window.BuildPrintGrid();
        const int last = grid->RowCount() - 1;
        QCOMPARE(last, w.Grid().RowCount() + 1);
        for (int col = 0; col < grid->ColCount(); ++col)
            QCOMPARE(grid->Cells(col, last - 1), QString());
        // Skiing has no value in any year, so it gets no total.
        QCOMPARE(grid->Cells(0, last), QStringLiteral("Totalt"));
        QCOMPARE(grid->Cells(1, last), QString());
        QCOMPARE(grid->Cells(2, last), QStringLiteral("12.50"));
        QCOMPARE(w.window.PrintTitle(), QStringLiteral("Summering (10 - 01 till 03 - 31)"));

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("summering.pdf"));
        QStringList suggestions;
        QString statusDuringPrint;
        dialogs.actions.insert(QStringLiteral("frmPrintTitle"), [&](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"));
            for (int i = 0; i < list->count(); ++i)
                suggestions.append(list->item(i)->text());
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        dialogs.actions.insert(QStringLiteral("frmPrintTarget"), [&](QWidget *dialog) {
            auto *printers = dialog->findChild<QListWidget *>(QStringLiteral("lstbxPrinters"));
            printers->setCurrentRow(printers->count() - 1);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        dialogs.actions.insert(QStringLiteral("dlgSavePdf"), [&](QWidget *dialog) {
            statusDuringPrint = w.window.StatusText(0);
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(&w.window, Qt::Key_P, Qt::ControlModifier);
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(QLatin1Char('\n'))));
        QCOMPARE(suggestions.value(0), QStringLiteral("Summering (10 - 01 till 03 - 31)"));
        QCOMPARE(statusDuringPrint, QStringLiteral("Skriver ut..."));
        QCOMPARE(w.window.StatusText(0), QString());

        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(!pages.isEmpty(), qPrintable(error));
        const QString text = pages.join(QLatin1Char('\n'));
        QVERIFY(text.contains(QStringLiteral("Summering (10 - 01 till 03 - 31)")));
        QVERIFY(text.contains(diary.Name("RUN")));
        // The empty skiing column is left out of the print.
        QVERIFY(!text.contains(diary.Name("SKI")));
        QStringList lines;
        for (const QString &line : pages.constLast().split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty() && !line.contains(QStringLiteral("Sida:")))
                lines.append(line.simplified());
        }
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.constLast(), QStringLiteral("Totalt 12.50"));
        const qsizetype totalAt = text.indexOf(QStringLiteral("Totalt"));
        QVERIFY(text.indexOf(QStringLiteral("2003")) < totalAt);
        QVERIFY(text.indexOf(QStringLiteral("2001")) < totalAt);
    }

    // New settings of the summaries and new activity names build the
    // columns again; a closed diary leaves the year column alone and the
    // next diary brings its columns back.
    void theColumnsFollowSettingsNamesAndDiary()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("90"), QStringLiteral("5"));
        choose(diary, {QStringLiteral("RUN")});
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(1, 1, 12, 31);
        w.Search();
        QCOMPARE(w.window.YearCount(), 1);

        TSettingsValues settings = diary.App().GetSettings();
        settings.SummaryTDT = TSettingsValues::TSummaryTDT::Hours;
        diary.App().ApplySettings(settings);
        QCOMPARE(w.Headers(), QStringList({QStringLiteral("År"), diary.Name("RUN") + QStringLiteral("\r (tim)")}));
        QCOMPARE(w.window.YearCount(), 0);
        QVERIFY(!w.Action("mnuiPrint")->isEnabled());
        w.Search();
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 1.30")});

        QStringList names;
        diary.App().GetActivityNames(&names);
        QStringList codes;
        diary.App().GetActivityNameList().GetCodes(&codes);
        names[int(codes.indexOf(QStringLiteral("RUN")))] = QStringLiteral("Jogging");
        diary.App().ChangeActivityNames(&names);
        QCOMPARE(w.Headers(), QStringList({QStringLiteral("År"), QStringLiteral("Jogging\r (tim)")}));
        QCOMPARE(w.window.YearCount(), 0);

        diary.App().CloseDatabase();
        QCOMPARE(w.Headers(), QStringList{QStringLiteral("År")});
        w.Search();
        QCOMPARE(w.window.YearCount(), 0);
        diary.App().OpenDatabase();
        diary.App().DatabaseChanged();
        QCOMPARE(w.Headers(), QStringList({QStringLiteral("År"), QStringLiteral("Jogging\r (tim)")}));
        w.Search();
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 1.30")});
    }

    // "Inställningar..." opens the settings window on its summary page
    // alone; a unit chosen there and confirmed rebuilds the columns here.
    void theSettingsItemOpensOnlyTheSummaryPage()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("90"), QStringLiteral("5"));
        choose(diary, {QStringLiteral("RUN")});
        TDialogs dialogs;
        TWindow w(diary);
        QVERIFY(w.ready);
        QList<bool> enabled;
        QString front;
        dialogs.actions.insert(QStringLiteral("frmSettings"), [&](QWidget *window) {
            auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("pgctrlSettings"));
            for (int i = 0; i < tabs->count(); ++i)
                enabled.append(tabs->isTabEnabled(i) && tabs->widget(i)->isEnabled());
            front = tabs->currentWidget()->objectName();
            auto *unit = window->findChild<QComboBox *>(QStringLiteral("cmbbxTDTSummary"));
            unit->setCurrentIndex(unit->findText(QStringLiteral("Timmar")));
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        QAction *settings = w.Action("mnuiSettings");
        QVERIFY(settings);
        QCOMPARE(settings->text(), QStringLiteral("&Inställningar..."));
        settings->trigger();
        QCOMPARE(enabled, (QList<bool>{false, true, false, false}));
        QCOMPARE(front, QStringLiteral("tshSummary"));
        QCOMPARE(w.Headers(), QStringList({QStringLiteral("År"), diary.Name("RUN") + QStringLiteral("\r (tim)")}));
        QCOMPARE(diary.App().GetSettings().SummaryTDT, TSettingsValues::TSummaryTDT::Hours);
        QVERIFY(dialogs.messages.isEmpty());
        FreeCorvaleForms();
    }

    // A window shown again by the desktop (restored from minimised or
    // uncovered) keeps what was typed and found; only a real opening after
    // a close starts afresh from 1 January to today.
    void onlyARealOpeningStartsAfresh()
    {
        TAppDiary diary;
        add(diary, "RUN", QStringLiteral("2003-08-01"), QStringLiteral("30"), QStringLiteral("5"));
        choose(diary, {QStringLiteral("RUN")});
        TWindow w(diary);
        QVERIFY(w.ready);
        w.Period(1, 1, 12, 31);
        w.Search();
        w.Edit("numedtFromMonth")->SetValue(QStringLiteral("4"));

        TShowCounter shows(&w.window);
        w.window.showMinimized();
        QTRY_VERIFY(w.window.isMinimized());
        w.window.showNormal();
        QTRY_VERIFY(!w.window.isMinimized());
        QTRY_VERIFY(shows.spontaneous > 0);
        QCOMPARE(w.Edit("numedtFromMonth")->text(), QStringLiteral("4"));
        QCOMPARE(w.Edit("numedtToMonth")->text(), QStringLiteral("12"));
        QCOMPARE(w.Rows(), QStringList{QStringLiteral("2003: 5.00")});

        w.window.close();
        w.window.show();
        QCOMPARE(w.Edit("numedtFromMonth")->text(), QStringLiteral("1"));
        QCOMPARE(w.Edit("numedtToMonth")->text(), QString::number(QDate::currentDate().month()));
        QCOMPARE(w.window.YearCount(), 0);
    }

    // The widths the user gave the columns come back in the next window.
    void columnWidthsAreKept()
    {
        TAppDiary diary;
        choose(diary, {QStringLiteral("RUN")});
        {
            TWindow w(diary);
            QVERIFY(w.ready);
            QCOMPARE(w.Grid().columnWidth(0), 75);
            // Never narrower than the name or a four-digit total.
            const QFontMetrics metrics(w.Grid().font());
            QVERIFY(w.Grid().columnWidth(1) >= 7 * int(diary.Name("RUN").size()));
            QVERIFY(w.Grid().columnWidth(1) > metrics.horizontalAdvance(diary.Name("RUN")));
            QVERIFY(w.Grid().columnWidth(1) > metrics.horizontalAdvance(QStringLiteral("1200.80")));
            w.Grid().horizontalHeader()->resizeSection(0, 90);
            w.Grid().horizontalHeader()->resizeSection(1, 10);
        }
        TWindow again(diary);
        QVERIFY(again.ready);
        QCOMPARE(again.Grid().columnWidth(0), 90);
        // At least 20 pixels are kept.
        QCOMPARE(again.Grid().columnWidth(1), 20);
        QCOMPARE(again.Total().columnWidth(1), 20);
    }

    // The window registers in the window menu and opens its help topics.
    void windowMenuAndHelp()
    {
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        {
            TWindow w(diary);
            QVERIFY(w.ready);
            QVERIFY(w.Child<QAction>("mnuiWindow") || w.window.menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow")));
            QTest::keyClick(&w.window, Qt::Key_F1);
            for (const char *name : {"mnuiSearchHelp", "mnuiSortHelp", "mnuiPrintHelp"})
                w.Action(name)->trigger();
        }
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{"summary.htm", "summary.htm#Search", "summary.htm#Sort", "summary.htm#Print"}));
        for (const QString &anchor : {QStringLiteral("Search"), QStringLiteral("Sort"), QStringLiteral("Print")}) {
            QFile page(QStringLiteral(TERNVALL_APP_DATA_DIR) + QStringLiteral("/help/summary.htm"));
            QVERIFY(page.open(QIODevice::ReadOnly));
            QVERIFY(QString::fromUtf8(page.readAll()).contains(QStringLiteral("name=\"") + anchor + QLatin1Char('"')));
        }
    }
};

QTEST_MAIN(tst_SummaryWindow)
#include "tst_SummaryWindow.moc"
