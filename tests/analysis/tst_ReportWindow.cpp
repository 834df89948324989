// The report window on a real full-catalogue grid laid out by the column
// catalogue, with the application object of a real diary behind it: the
// predefined and own reports, the average, repeated captions, zoom, point
// labels, printing, the window menu, the help and the kept choices.

#include "reference/AppDiary.h"
#include "support/PdfText.h"

#include "analysis/Frequencies.h"
#include "analysis/Report.h"
#include "analysis/ReportChart.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "foundation/PGUtilsWidgets.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// The main window's hidden grid: one column per catalogue entry, the data
// rows as a search leaves them.
class TListGrid
{
public:
    TListGrid(TCorvaleApp &app, const QStringList &dates)
    {
        m_columns.SetCatalogue(&app.GetActivityColumns());
        m_columns.FillAllCaptions(&m_grid);
        m_grid.SetFixedCols(0);
        m_grid.SetFixedRows(1);
        TTulloUtilGrid::SetDataRowCount(&m_grid, int(dates.size()));
        Set(TColumnKind::cDate, dates);
    }

    void Set(TColumnKind kind, const QStringList &cells)
    {
        const int column = m_columns.ColumnOfKind(&m_grid, kind);
        for (int i = 0; i < cells.size(); ++i)
            m_grid.SetCells(column, m_grid.FixedRows() + i, cells.at(i));
    }

    void LoadInto(TfrmReport &window)
    {
        window.LoadGraphData(&m_grid, m_columns.GridKinds(&m_grid));
        window.Load();
    }

private:
    TGridActivityColumns m_columns;
    TComplexGrid m_grid;
};

QStringList days(int count, int first = 1)
{
    QStringList dates;
    for (int i = 0; i < count; ++i)
        dates.append(QDate(2004, 3, first).addDays(i).toString(QStringLiteral("yyyy-MM-dd")));
    return dates;
}

QStringList numbers(int count, double first, double step)
{
    QStringList values;
    for (int i = 0; i < count; ++i)
        values.append(QString::number(first + i * step, 'f', 1));
    return values;
}

QList<double> ys(const QList<QPointF> &points)
{
    QList<double> values;
    for (const QPointF &p : points)
        values.append(p.y());
    return values;
}

QStringList titles(const TReportChart &chart)
{
    QStringList result;
    for (int i = 0; i < chart.SeriesCount(); ++i)
        result.append(chart.SeriesTitle(i));
    return result;
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

constexpr int weightReport = 0;
constexpr int timesReport = 3;
constexpr int calorieReport = 4;
}

class tst_ReportWindow : public QObject
{
    Q_OBJECT

private slots:
    // The first predefined report, weight over the date, for a list newest
    // first with a session without weight between two weighings: three
    // points with the interpolated weight, two without interpolation.
    void weightOverTheDate()
    {
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.show();
        window.SetInterpolated(true);
        TListGrid list(diary.App(), {"2004-03-11", "2004-03-06", "2004-03-01"});
        list.Set(TColumnKind::cWeight, {"68.0", "", "70.0"});
        list.Set(TColumnKind::cDistance, {"10", "5", ""});
        list.LoadInto(window);

        QCOMPARE(window.ReportNames().size(), 12);
        QCOMPARE(window.ReportNames().first(), QStringLiteral("Vikt (kg) / Datum"));
        TReportChart &chart = *window.Chart();
        QCOMPARE(titles(chart), QStringList{"Vikt"});
        QCOMPARE(ys(chart.Points(0)), (QList<double>{70.0, 69.0, 68.0}));
        QCOMPARE(window.PointsInGraphText(), QStringLiteral("3"));
        QCOMPARE(chart.BottomTitle(), QStringLiteral("Datum"));
        QCOMPARE(chart.LeftTitle(), QStringLiteral("kg"));
        QVERIFY(chart.BottomIsDateTime());
        QCOMPARE(chart.LegendTitles(), QStringList{"Vikt"});
        QCOMPARE(window.StatusText(0), QString());

        window.SetInterpolated(false);
        QCOMPARE(ys(chart.Points(0)), (QList<double>{70.0, 68.0}));
        QCOMPARE(window.PointsInGraphText(), QStringLiteral("2"));

        // Distance over the date; the quantities with data are offered on
        // the own page.
        window.SelectReport(1);
        QCOMPARE(titles(chart), QStringList{"Distans"});
        QCOMPARE(ys(chart.Points(0)), (QList<double>{5, 10}));
        QCOMPARE(window.XItems(), (QStringList{"Datum", "Distans (km)", "Vikt (kg)"}));
        QCOMPARE(window.UnitItems(), (QStringList{"Datum", "kg", "km"}));
    }

    // The report of times draws the duration and the lap times that have
    // values, each in its palette colour, without average or point count; a
    // report whose quantity has a single value draws nothing.
    void reportOfSeveralQuantities()
    {
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.show();
        TListGrid list(diary.App(), days(3));
        list.Set(TColumnKind::cTime, {"45.30", "44.10", "46.00"});
        list.Set(TColumnKind::cLapTime1, {"10.05", "", "10.30"});
        list.Set(TColumnKind::cLapTime2, {"20.10", "19.50", ""});
        list.Set(TColumnKind::cLapTime3, {"", "30.00", ""});
        list.Set(TColumnKind::cCalorie, {"", "650", ""});
        list.LoadInto(window);

        window.SetInterpolated(false);
        window.SelectReport(timesReport);
        TReportChart &chart = *window.Chart();
        QCOMPARE(titles(chart), (QStringList{"Tid", "Mellantid 1", "Mellantid 2"}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(chart.SeriesColour(i), QColor::fromRgb(QRgb(SeriesPalette[std::size_t(i)])));
        QCOMPARE(chart.Points(1).size(), 2);
        QVERIFY(!window.AverageEnabled());
        QCOMPARE(window.PointsInGraphText(), QString());
        // Durations are drawn as times of day on a time axis.
        QCOMPARE(chart.LeftTitle(), QStringLiteral("min"));
        QCOMPARE(GraphValueText(diary.App().GetActivityColumns().FindByKind(TColumnKind::cTime), chart.Points(0).first().y()),
                 QStringLiteral("0:45:30"));

        window.SelectReport(calorieReport);
        QCOMPARE(chart.SeriesCount(), 0);
        QVERIFY(!window.UnitItems().contains(QStringLiteral("kcal")));
    }

    // One quantity whose series has more than seven points offers the
    // average of each block of four; seven points do not.
    void averageFromEightPoints_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("offered");
        QTest::newRow("7") << 7 << false;
        QTest::newRow("8") << 8 << true;
        QTest::newRow("13") << 13 << true;
    }

    void averageFromEightPoints()
    {
        QFETCH(int, points);
        QFETCH(bool, offered);
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.show();
        window.SetAverage(true);
        TListGrid list(diary.App(), days(points));
        list.Set(TColumnKind::cWeight, numbers(points, 70.0, 0.5));
        list.LoadInto(window);

        TReportChart &chart = *window.Chart();
        QCOMPARE(window.AverageEnabled(), offered);
        QCOMPARE(chart.SeriesCount(), offered ? 2 : 1);
        if (offered) {
            QCOMPARE(chart.SeriesTitle(1), QStringLiteral("Medelvärde för Vikt"));
            QVERIFY(chart.IsComputed(1));
            QCOMPARE(chart.Points(1).size(), points / 4);
            QCOMPARE(chart.Points(1).first().y(), 70.75);
            QCOMPARE(chart.SeriesColour(1), QColor(Qt::red));
            // Switched off, the average goes and the box stays offered.
            window.SetAverage(false);
            QCOMPARE(chart.SeriesCount(), 1);
            QVERIFY(window.AverageEnabled());
        }
    }

    // An own report: the unit "puls" lists the three pulses that have
    // values and draws the first; checking two draws both, against the
    // chosen X quantity, without the average.
    void ownReportOfOneUnit()
    {
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.show();
        window.SetInterpolated(false);
        TListGrid list(diary.App(), days(4));
        list.Set(TColumnKind::cRestPulse, {"52", "50", "", "49"});
        list.Set(TColumnKind::cMaxpulse, {"181", "", "178", "185"});
        list.Set(TColumnKind::cAvgPulse, {"150", "145", "", ""});
        list.Set(TColumnKind::cDistance, {"12", "5", "8", "10"});
        list.LoadInto(window);

        window.ShowOwnPage();
        QVERIFY(window.SelectUnit(QStringLiteral("puls")));
        QCOMPARE(window.YItems(), (QStringList{"Vilopuls (puls)", "Maxpuls (puls)", "Medelpuls (puls)"}));
        TReportChart &chart = *window.Chart();
        QCOMPARE(titles(chart), QStringList{"Vilopuls"});
        QCOMPARE(chart.LeftTitle(), QStringLiteral("puls"));

        window.CheckY({0, 1});
        QCOMPARE(titles(chart), (QStringList{"Vilopuls", "Maxpuls"}));
        QCOMPARE(ys(chart.Points(0)), (QList<double>{52, 50, 49}));
        QCOMPARE(ys(chart.Points(1)), (QList<double>{181, 178, 185}));
        QVERIFY(!window.AverageEnabled());
        QCOMPARE(window.PointsInGraphText(), QString());

        // Against the distance: the points in the order of the distances.
        QVERIFY(window.SelectX(QStringLiteral("Distans (km)")));
        QCOMPARE(chart.BottomTitle(), QStringLiteral("Distans (km)"));
        QVERIFY(!chart.BottomIsDateTime());
        QCOMPARE(ys(chart.Points(0)), (QList<double>{50, 49, 52}));
        QCOMPARE(ys(chart.Points(1)), (QList<double>{178, 185, 181}));
    }

    // An exercise named like an unassigned exercise column gives two
    // columns the same caption: each stays a quantity of its own.
    void repeatedCaptions()
    {
        TAppDiary diary;
        TActivityColumns &catalogue = diary.App().GetActivityColumns();
        TActivityColumn fifth = catalogue.FindByKind(TColumnKind::cExercise5);
        fifth.Caption = catalogue.FindByKind(TColumnKind::cExercise3).Caption;
        catalogue.Update(fifth);
        TfrmReport window(diary.App());
        window.show();
        window.SetInterpolated(false);
        TListGrid list(diary.App(), days(3));
        list.Set(TColumnKind::cExercise3, {"50", "55", ""});
        list.Set(TColumnKind::cExercise5, {"80", "", "85"});
        list.Set(TColumnKind::cWeight, {"70", "71", "72"});
        list.LoadInto(window);

        QCOMPARE(window.XItems().count(QStringLiteral("Övning3 (kg)")), 2);
        window.ShowOwnPage();
        QVERIFY(window.SelectUnit(QStringLiteral("kg")));
        QCOMPARE(window.YItems(), (QStringList{"Övning3 (kg)", "Övning3 (kg)", "Vikt (kg)"}));
        window.CheckY({0, 1});
        TReportChart &chart = *window.Chart();
        QCOMPARE(chart.SeriesCount(), 2);
        QCOMPARE(ys(chart.Points(0)), (QList<double>{50, 55}));
        QCOMPARE(ys(chart.Points(1)), (QList<double>{80, 85}));

        // The second "Övning3 (kg)" as X: the fifth exercise's values.
        window.CheckY({2});
        const QStringList xs = window.XItems();
        const int second = int(xs.lastIndexOf(QStringLiteral("Övning3 (kg)")));
        window.findChild<QComboBox *>(QStringLiteral("cmbbxDataX"))->setCurrentIndex(second);
        QCOMPARE(chart.Points(0).size(), 2);
        QCOMPARE(chart.Points(0).first().x(), 80.0);
    }

    // Dragging zooms into the graph, a double click shows it whole again;
    // the position labels show the axis values under the mouse.
    void zoomAndReset()
    {
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.resize(900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TListGrid list(diary.App(), days(10));
        list.Set(TColumnKind::cWeight, numbers(10, 70.0, 1.0));
        list.LoadInto(window);

        TReportChart &chart = *window.Chart();
        const QPointF whole = chart.BottomRange();
        const QRectF plot = chart.chart()->plotArea();
        chart.ZoomTo(QRectF(plot.left(), plot.top(), plot.width() / 2, plot.height()));
        const QPointF zoomed = chart.BottomRange();
        QVERIFY(zoomed.y() - zoomed.x() < (whole.y() - whole.x()) * 0.6);
        QTest::mouseDClick(chart.viewport(), Qt::LeftButton, {}, chart.viewport()->rect().center());
        QCOMPARE(chart.BottomRange(), whole);
        // Each new drawing starts unzoomed.
        chart.ZoomTo(QRectF(plot.left(), plot.top(), plot.width() / 2, plot.height()));
        window.SelectReport(weightReport);
        list.LoadInto(window);
        QCOMPARE(chart.BottomRange(), whole);

        const QPoint centre = chart.mapFromScene(chart.chart()->mapToScene(plot.center()));
        window.ShowPosition(centre);
        QVERIFY2(window.XValueText().startsWith(QStringLiteral("2004-03-")), qPrintable(window.XValueText()));
        const double y = window.YValueText().toDouble();
        QVERIFY2(y > 70.0 && y < 79.0 && window.YValueText().contains(QLatin1Char('.')), qPrintable(window.YValueText()));
    }

    // The labels and markers follow the box; above the limit of points
    // neither is drawn. The average never carries labels or markers.
    void pointLabels_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("labels");
        QTest::newRow("few") << 12 << true;
        QTest::newRow("at the limit") << PointLabelLimit << true;
        QTest::newRow("above the limit") << PointLabelLimit + 1 << false;
    }

    void pointLabels()
    {
        QFETCH(int, points);
        QFETCH(bool, labels);
        TAppDiary diary;
        TfrmReport window(diary.App());
        window.show();
        window.SetPointLabels(false);
        window.SetAverage(true);
        TListGrid list(diary.App(), days(points));
        list.Set(TColumnKind::cWeight, numbers(points, 70.0, 0.1));
        list.LoadInto(window);

        TReportChart &chart = *window.Chart();
        QVERIFY(!chart.MarkersVisible(0));
        QVERIFY(!chart.LabelsDrawn());
        window.SetPointLabels(true);
        QCOMPARE(chart.MarkersVisible(0), labels);
        QCOMPARE(chart.LabelsDrawn(), labels);
        QVERIFY(chart.IsComputed(1));
        QVERIFY(!chart.MarkersVisible(1));
        // A new drawing keeps the choice.
        window.SetInterpolated(false);
        QCOMPARE(chart.MarkersVisible(0), labels);
        QCOMPARE(chart.LabelsDrawn(), labels);
    }

    // Ctrl+P: the title dialog proposes the axes' titles; the chart goes to
    // the chosen PDF file under the entered title and shows no title after.
    void printToPdf()
    {
        TAppDiary diary;
        TDialogs dialogs;
        TfrmReport window(diary.App());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TListGrid list(diary.App(), days(5));
        list.Set(TColumnKind::cWeight, numbers(5, 70.0, 1.0));
        list.LoadInto(window);
        QCOMPARE(window.TitleProposal(), QStringLiteral("kg/Datum"));

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("vikt.pdf"));
        QStringList shown, suggestions;
        QString statusDuringPrint;
        dialogs.actions.insert(QStringLiteral("frmPrintTitle"), [&](QWidget *dialog) {
            shown.append(dialog->objectName());
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"));
            for (int i = 0; i < list->count(); ++i)
                suggestions.append(list->item(i)->text());
            dialog->findChild<QComboBox *>(QStringLiteral("cmbbxOwnText"))->setEditText(QStringLiteral("Min vikt i mars"));
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
        QCOMPARE(suggestions.value(0), QStringLiteral("kg/Datum"));
        QCOMPARE(statusDuringPrint, QStringLiteral("Skriver ut..."));
        QCOMPARE(window.StatusText(0), QString());
        QCOMPARE(window.Chart()->chart()->title(), QString());
        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains(QStringLiteral("Min vikt i mars")));
        QVERIFY(pages.first().contains(QStringLiteral("Sida: 1")));
    }

    // The window stands in the window menu while it exists and has the help
    // menu with its zoom and print sections.
    void windowAndHelpMenus()
    {
        TAppDiary diary;
        auto *window = new TfrmReport(diary.App());
        QCOMPARE(window->objectName(), QStringLiteral("frmReport"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Rapport"));
        QCOMPARE(window->minimumSize(), QSize(600, 562));
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QMenu *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiHelp"));
        QVERIFY(help);
        QStringList names;
        for (QAction *item : help->actions())
            names.append(item->objectName());
        QCOMPARE(names, (QStringList{"mnuiIntHelp", "mnuiZoomHelp", "mnuiPrintHelp"}));
        auto *print = window->findChild<QAction *>(QStringLiteral("mnuiPrint"));
        QCOMPARE(print->text(), QStringLiteral("Skriv ut graf..."));
        QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(window->findChild<QAction *>(QStringLiteral("mnuiClose"))->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));

        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        for (QAction *item : help->actions())
            item->trigger();
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{"chart.htm", "chart.htm#Zoom", "chart.htm#Print"}));
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().IsRegistered(window));
    }

    // The three check boxes come back in the next window.
    void choicesAreKept()
    {
        TAppDiary diary;
        {
            TfrmReport window(diary.App());
            QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("chkbxInterpolatedValues"))->isChecked());
            QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("chkbxAverage"))->isChecked());
            QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("chkbxPointLabels"))->isChecked());
            window.SetInterpolated(false);
            window.SetAverage(false);
            window.SetPointLabels(true);
        }
        TfrmReport window(diary.App());
        QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("chkbxInterpolatedValues"))->isChecked());
        QVERIFY(!window.findChild<QCheckBox *>(QStringLiteral("chkbxAverage"))->isChecked());
        QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("chkbxPointLabels"))->isChecked());
    }
};

QTEST_MAIN(tst_ReportWindow)
#include "tst_ReportWindow.moc"
