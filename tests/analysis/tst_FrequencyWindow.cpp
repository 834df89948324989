// The frequency window on a real list grid, with the application object of
// a real diary behind it: what it draws for the listed dates, how it
// follows a new list, the enabling of its choices, the window menu and
// help, the stored choices and the printed chart.

#include "reference/AppDiary.h"
#include "support/PdfText.h"

#include "analysis/Frequency.h"
#include "analysis/FrequencyChart.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtilsWidgets.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QChart>
#include <QtTest>

#include <cmath>

namespace
{
// The main list as a search leaves it: activity, date and the key column,
// the rows in the list's own order.
void fillList(TComplexGrid &grid, const QStringList &dates)
{
    grid.SetColCount(3);
    grid.SetFixedRows(1);
    grid.SetCells(0, 0, QStringLiteral("Aktivitet"));
    grid.SetCells(1, 0, QStringLiteral("Datum"));
    grid.SetCells(2, 0, QString());
    TTulloUtilGrid::SetDataRowCount(&grid, int(dates.size()));
    for (int i = 0; i < dates.size(); ++i) {
        grid.SetCells(0, i + 1, QStringLiteral("Löpning"));
        grid.SetCells(1, i + 1, dates.at(i));
        grid.SetCells(2, i + 1, QString::number(i + 1));
    }
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

QList<double> doubles(std::initializer_list<double> values)
{
    return QList<double>(values);
}
}

class tst_FrequencyWindow : public QObject
{
    Q_OBJECT

private slots:
    // The window counts what the list shows; a new list loaded into it
    // replaces the old dates, and switching the kind draws the kept dates
    // again without reading the grid.
    void followsANewList()
    {
        TAppDiary diary;
        TComplexGrid grid;
        TfrmFrequency window(diary.App());
        window.show();
        window.SetCalcType(1);

        fillList(grid, {"2004-05-02", "2004-03-15", "2004-03-01"});
        window.Load(&grid);
        QCOMPARE(window.Chart()->Values(0), doubles({2, 0, 1}));
        QCOMPARE(window.Chart()->AxisLabels(), (QStringList{"Mar", "Apr", "Maj"}));
        QCOMPARE(window.MaxText(), QStringLiteral("2004-03"));
        QCOMPARE(window.MaxValueText(), QStringLiteral("(2)"));
        QCOMPARE(window.FirstDateText(), QStringLiteral("2004-03-01"));
        QCOMPARE(window.LastDateText(), QStringLiteral("2004-05-02"));
        QCOMPARE(window.Chart()->MeanValue(), 1.0);
        QCOMPARE(window.Chart()->LegendTitles(), (QStringList{"Antal aktiviteter", "Medelvärde"}));
        QCOMPARE(window.StatusText(0), QString());

        // A new search: the list shows other activities.
        fillList(grid, {"2005-01-10", "2005-01-02", "2005-01-01"});
        window.Load(&grid);
        QCOMPARE(window.Chart()->Values(0), doubles({3}));
        QCOMPARE(window.Chart()->AxisLabels(), QStringList{"Jan"});
        QCOMPARE(window.FirstDateText(), QStringLiteral("2005-01-01"));
        QCOMPARE(window.MaxText(), QStringLiteral("2005-01"));
        QCOMPARE(window.MaxValueText(), QStringLiteral("(3)"));

        // The list is emptied after loading: the window draws from its own
        // dates.
        TTulloUtilGrid::ClearRows(&grid);
        window.SetCalcType(2);
        QCOMPARE(window.Chart()->Values(0), doubles({2, 1}));
        QCOMPARE(window.Chart()->AxisLabels(), (QStringList{"1", "2"}));
        QCOMPARE(window.MaxText(), QStringLiteral("2005-01"));
        QCOMPARE(window.MaxValueText(), QStringLiteral("(2)"));
        window.SetCalcType(4);
        // 1 and 2 January 2005 are a Saturday and a Sunday, the 10th a Monday.
        QCOMPARE(window.Chart()->Values(0), doubles({1, 0, 0, 0, 0, 1, 1}));
        QCOMPARE(window.Chart()->AxisLabels().first(), QStringLiteral("Måndag"));
        QVERIFY(std::isnan(window.Chart()->MeanValue()));
        QVERIFY(!window.MaxVisible());
        // Every drawing replaces the axes of the one before.
        QCOMPARE(window.Chart()->chart()->axes(Qt::Horizontal).size(), 1);
        QCOMPARE(window.Chart()->chart()->axes(Qt::Vertical).size(), 1);

        // An empty list leaves an empty chart and no dates.
        window.Load(&grid);
        QVERIFY(window.Items().isEmpty());
        QCOMPARE(window.Chart()->SeriesCount(), 0);
        QCOMPARE(window.FirstDateText(), QString());
    }

    void enabling_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("showEnabled");
        QTest::addColumn<bool>("yearsEnabled");
        QTest::addColumn<bool>("maxVisible");
        QTest::newRow("År") << 0 << false << false << false;
        QTest::newRow("Månad") << 1 << true << true << true;
        QTest::newRow("Vecka") << 2 << true << true << true;
        QTest::newRow("Dag") << 3 << false << true << false;
        QTest::newRow("Veckodag") << 4 << false << true << false;
    }

    // A kind that offers no average or no single years sets that choice
    // back to its first item and disables it.
    void enabling()
    {
        QFETCH(int, kind);
        QFETCH(bool, showEnabled);
        QFETCH(bool, yearsEnabled);
        QFETCH(bool, maxVisible);
        TAppDiary diary;
        TComplexGrid grid;
        fillList(grid, {"2003-06-01", "2004-06-01"});
        TfrmFrequency window(diary.App());
        window.show();
        window.Load(&grid);
        window.SetCalcType(1);
        window.SetShowType(1);
        window.SetIndYears(1);
        QCOMPARE(window.ShowType(), 1);
        QCOMPARE(window.IndYears(), 1);
        window.SetCalcType(kind);
        QCOMPARE(window.CalcType(), kind);
        QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("rgShow"))->isEnabled(), showEnabled);
        QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("rgIndYears"))->isEnabled(), yearsEnabled);
        QCOMPARE(window.ShowType(), showEnabled ? 1 : 0);
        QCOMPARE(window.IndYears(), yearsEnabled ? 1 : 0);
        QCOMPARE(window.MaxVisible(), maxVisible);
        QCOMPARE(window.Chart()->IsStacked(), yearsEnabled);
    }

    // Single years stack one series per year, the first 16 in the palette;
    // a year without activities stays out of the legend.
    void individualYears()
    {
        TAppDiary diary;
        QStringList dates;
        for (int year = 2000; year <= 2016; ++year)
            if (year != 2003)
                dates.append(QStringLiteral("%1-02-10").arg(year));
        TComplexGrid grid;
        fillList(grid, dates);
        TfrmFrequency window(diary.App());
        window.show();
        window.SetCalcType(1);
        window.SetIndYears(1);
        window.Load(&grid);
        TFrequencyChart *chart = window.Chart();
        QVERIFY(chart->IsStacked());
        QCOMPARE(chart->SeriesCount(), 17);
        QCOMPARE(chart->SeriesColour(0), QColor(0x00, 0x00, 0xFF));
        QCOMPARE(chart->SeriesColour(1), QColor(0xFF, 0x00, 0x00));
        QCOMPARE(chart->SeriesColour(15), QColor(0xFF, 0x00, 0xFF));
        QCOMPARE(chart->Values(16).at(1), 1.0);
        QCOMPARE(chart->Values(3), QList<double>(12, 0.0));
        const QStringList legend = chart->LegendTitles();
        QCOMPARE(legend.size(), 16);
        QVERIFY(!legend.contains(QStringLiteral("2003")));
        QVERIFY(legend.contains(QStringLiteral("2016")));
        QVERIFY(std::isnan(chart->MeanValue()));
    }

    // More than 101 years are refused with the years named; the window then
    // shows no chart.
    void tooManyYears()
    {
        TAppDiary diary;
        TComplexGrid grid;
        fillList(grid, {"2026-01-01", "1026-05-01"});
        TfrmFrequency window(diary.App());
        window.show();
        for (int kind : {0, 1}) {
            window.SetCalcType(kind);
            QString message;
            try {
                window.Load(&grid);
            } catch (const EFrequency &error) {
                message = error.Message();
            }
            QCOMPARE(message, QStringLiteral("Aktiviteterna spänner över åren 1026–2026; frekvensen kan visas för högst 101 år."));
            QCOMPARE(window.Chart()->SeriesCount(), 0);
            QCOMPARE(window.FirstDateText(), QString());
            QCOMPARE(window.StatusText(0), QString());
        }
    }

    // The window stands in the window menu while it exists and has the help
    // menu with its three topics.
    void windowAndHelpMenus()
    {
        TAppDiary diary;
        auto *window = new TfrmFrequency(diary.App());
        QCOMPARE(window->objectName(), QStringLiteral("frmFrequency"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Frekvens"));
        QCOMPARE(window->minimumSize(), QSize(400, 400));
        QMenu *windows = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow"));
        QVERIFY(windows);
        QVERIFY(!windows->findChild<QAction *>(QStringLiteral("mnuiFrequencyWindow")));
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QMenu *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiHelp"));
        QVERIFY(help);
        QStringList names;
        for (QAction *item : help->actions())
            names.append(item->objectName());
        QCOMPARE(names, (QStringList{"mnuiIntHelp", "mnuiZoomHelp", "mnuiPrintHelp"}));
        QCOMPARE(help->actions().first()->shortcut(), QKeySequence(Qt::Key_F1));
        auto *print = window->findChild<QAction *>(QStringLiteral("mnuiPrint"));
        QCOMPARE(print->text(), QStringLiteral("Skriv &ut..."));
        QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().IsRegistered(window));
    }

    // The choices and the place come back in the next window.
    void choicesAreKept()
    {
        TAppDiary diary;
        {
            TfrmFrequency window(diary.App());
            window.show();
            window.SetCalcType(2);
            window.SetShowType(1);
            window.SetIndYears(1);
        }
        TfrmFrequency window(diary.App());
        QCOMPARE(window.CalcType(), 2);
        QCOMPARE(window.ShowType(), 1);
        QCOMPARE(window.IndYears(), 1);
    }

    // The printed page holds the title over the chart.
    void printedChart()
    {
        TAppDiary diary;
        TComplexGrid grid;
        fillList(grid, {"2004-03-01", "2004-03-15", "2004-05-02"});
        TfrmFrequency window(diary.App());
        window.show();
        window.SetCalcType(1);
        window.Load(&grid);
        const std::unique_ptr<TChartPage> report = window.ChartReport(QStringLiteral("Frekvens - Månad"));
        QCOMPARE(report->Title(), QStringLiteral("Frekvens - Månad"));
        QCOMPARE(report->PageCount(), 1);
        QVERIFY(report->Wide());
        QVERIFY(!report->Picture().isNull());
        // The chart shows no title once printed.
        QCOMPARE(window.Chart()->chart()->title(), QString());

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("frekvens.pdf"));
        WriteReportPdf(*report, file, &window);
        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains(QStringLiteral("Frekvens - Månad")));
        QVERIFY(pages.first().contains(QStringLiteral("Sida: 1")));
    }

    // Ctrl+P: the title dialog proposes "Frekvens - " and the kind; the
    // chart goes to the chosen PDF file under the title.
    void printThroughTheTitleDialog()
    {
        TAppDiary diary;
        TDialogs dialogs;
        TComplexGrid grid;
        fillList(grid, {"2004-03-01", "2004-03-15", "2004-05-02"});
        TfrmFrequency window(diary.App());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.SetCalcType(2);
        window.Load(&grid);

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("vecka.pdf"));
        QStringList shown, suggestions;
        QString statusDuringPrint;
        dialogs.actions.insert(QStringLiteral("frmPrintTitle"), [&](QWidget *dialog) {
            shown.append(dialog->objectName());
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"));
            for (int i = 0; i < list->count(); ++i)
                suggestions.append(list->item(i)->text());
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        dialogs.actions.insert(QStringLiteral("frmPrintTarget"), [&](QWidget *dialog) {
            shown.append(dialog->objectName());
            auto *printers = dialog->findChild<QListWidget *>(QStringLiteral("lstbxPrinters"));
            printers->setCurrentRow(printers->count() - 1);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        dialogs.actions.insert(QStringLiteral("dlgSavePdf"), [&](QWidget *dialog) {
            shown.append(dialog->objectName());
            statusDuringPrint = window.StatusText(0);
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);

        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join(QLatin1Char('\n'))));
        QCOMPARE(shown.first(), QStringLiteral("frmPrintTitle"));
        QCOMPARE(shown.last(), QStringLiteral("dlgSavePdf"));
        QCOMPARE(suggestions.value(0), QStringLiteral("Frekvens - Vecka"));
        QCOMPARE(statusDuringPrint, QStringLiteral("Skriver ut..."));
        QCOMPARE(window.StatusText(0), QString());
        QCOMPARE(window.Chart()->chart()->title(), QString());
        const QStringList pages = PdfText::Pages(file);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains(QStringLiteral("Frekvens - Vecka")));
    }

    // F1 and "H&jälp..." show the window's page; the two entries below show
    // its zoom and print sections.
    void helpTopics()
    {
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        TfrmFrequency window(diary.App());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        for (const char *name : {"mnuiIntHelp", "mnuiZoomHelp", "mnuiPrintHelp"})
            window.findChild<QAction *>(QLatin1String(name))->trigger();
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{"frequency.htm", "frequency.htm", "frequency.htm#Zoom", "frequency.htm#Print"}));
        QCOMPARE(CorvaleHelp::TopicPage(43), QStringLiteral("frequency.htm"));
        QCOMPARE(CorvaleHelp::TopicPage(44), QStringLiteral("frequency.htm#Zoom"));
        QCOMPARE(CorvaleHelp::TopicPage(45), QStringLiteral("frequency.htm#Print"));
    }

    // Dragging zooms and a double click shows the whole chart again; the
    // status bar names the bar under the mouse.
    void zoomAndPosition()
    {
        TAppDiary diary;
        TComplexGrid grid;
        fillList(grid, {"2004-03-01", "2004-03-15", "2004-05-02"});
        TfrmFrequency window(diary.App());
        window.resize(700, 520);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.SetCalcType(1);
        window.Load(&grid);
        TFrequencyChart *chart = window.Chart();
        QChart *c = chart->chart();
        const auto viewPoint = [&](double x, double y) {
            return chart->mapFromScene(c->mapToPosition(QPointF(x, y), c->series().first()));
        };

        // Over the April bar's place, at the height of 1.
        const QPoint april = viewPoint(1, 1);
        QCOMPARE(chart->PositionText(april).left(10), QStringLiteral("X:     Apr"));
        QVERIFY(chart->PositionText(april).contains(QStringLiteral("     Y: ")));
        QTest::mouseMove(chart->viewport(), april);
        QTRY_COMPARE(window.StatusText(1).left(10), QStringLiteral("X:     Apr"));

        const QPoint from = viewPoint(-0.4, 2), to = viewPoint(0.4, 0);
        QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(chart->viewport(), (from + to) / 2);
        QTest::mouseMove(chart->viewport(), to);
        QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, to);
        QVERIFY(c->isZoomed());
        QTest::mouseDClick(chart->viewport(), Qt::LeftButton, {}, (from + to) / 2);
        QVERIFY(!c->isZoomed());

        // A new drawing shows the whole chart.
        c->zoomIn(QRectF(c->plotArea().center(), QSizeF(20, 20)));
        QVERIFY(c->isZoomed());
        window.SetCalcType(2);
        QVERIFY(!c->isZoomed());
    }
};

QTEST_MAIN(tst_FrequencyWindow)
#include "tst_FrequencyWindow.moc"
