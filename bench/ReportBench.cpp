// Times the report window on the hidden full-catalogue grid of 1,000 to
// 20,000 found activities over twenty years (every other one a
// time-and-distance session with four lap times; weights, pulses and
// calories on most): copying the grid into the graphs with the
// interpolation and drawing the first report ("load"), then predefined
// reports and an own report of three pulses, each with the point markers
// and labels asked for (above the label limit only the markers are drawn).
// Every time includes the chart's repaint. Prints one table row per size
// in ms; "worst" is the slowest drawing of the row.
//
//   bench_report [sizes...]      (default 1000 10000 20000)

#include "analysis/Report.h"
#include "analysis/ReportChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int years = 20;

QString duration(int seconds)
{
    return QStringLiteral("%1.%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The hidden grid as a search leaves it: every catalogue column, the rows
// newest first.
void fill(TGridActivityColumns &columns, TComplexGrid &grid, int rows)
{
    QRandomGenerator random(4711);
    std::vector<QDate> dates;
    dates.reserve(std::size_t(rows));
    const QDate first(2005, 1, 1);
    const int days = int(first.daysTo(QDate(2005 + years - 1, 12, 31)));
    for (int i = 0; i < rows; ++i)
        dates.push_back(first.addDays(random.bounded(days + 1)));
    std::sort(dates.begin(), dates.end(), [](const QDate &a, const QDate &b) { return a > b; });

    columns.FillAllCaptions(&grid);
    grid.BeginUpdate();
    grid.SetFixedCols(0);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRows(1);
    const auto set = [&](TColumnKind kind, int row, const QString &text) {
        grid.SetCells(columns.ColumnOfKind(&grid, kind), row, text);
    };
    using K = TColumnKind;
    for (int row = 1; row <= rows; ++row) {
        const bool run = row % 2 == 0;
        set(K::cDate, row, dates[std::size_t(row - 1)].toString(QStringLiteral("yyyy-MM-dd")));
        set(K::cAct, row, run ? QStringLiteral("Löpning") : QStringLiteral("Styrketräning"));
        set(K::cPlace, row, QStringLiteral("Plats %1").arg(row % 40));
        if (row % 5 != 0)
            set(K::cWeight, row, QString::number(65.0 + random.bounded(150) / 10.0, 'f', 1));
        if (row % 3 != 0) {
            set(K::cRestPulse, row, QString::number(45 + random.bounded(15)));
            set(K::cMaxpulse, row, QString::number(170 + random.bounded(20)));
            set(K::cAvgPulse, row, QString::number(130 + random.bounded(30)));
        }
        set(K::cCalorie, row, QString::number(300 + random.bounded(500)));
        set(K::cComment, row, QStringLiteral("Kommentar %1").arg(row % 7));
        if (!run)
            continue;
        const double km = 5.0 + random.bounded(150) / 10.0;
        const int seconds = int(km * (240 + random.bounded(120)));
        set(K::cDistance, row, QString::number(km, 'f', 1));
        set(K::cTime, row, duration(seconds));
        set(K::cDistTime, row, duration(int(seconds / km)));
        set(K::cSpeed, row, QString::number(km * 3600.0 / seconds, 'f', 2));
        for (int lap = 0; lap < 4; ++lap) {
            set(ColumnKindOf(Ordinal(K::cLapTime1) + lap), row, duration(seconds * (lap + 1) / 5));
            set(ColumnKindOf(Ordinal(K::cLapDistTime1) + lap), row, duration(int(seconds / km)));
            set(ColumnKindOf(Ordinal(K::cLapSpeed1) + lap), row, QString::number(km * 3600.0 / seconds, 'f', 2));
        }
    }
    grid.EndUpdate();
}

double drawn(TfrmReport &window, QElapsedTimer &timer)
{
    window.Chart()->viewport()->repaint();
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The window keeps its place and choices in a settings folder of its own.
    QTemporaryDir settings;
    qputenv("TERNVALL_CONFIG_DIR", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    // Weight, distance, the five times, speed over distance.
    const int reports[] = {0, 1, 3, 11};
    std::printf("%7s %8s %9s %9s %9s %9s %9s %9s %9s\n", "rows", "load ms", "weight", "distance", "times", "speed/km",
                "pulses", "labels", "worst ms");
    {
        TCorvaleApp app;
        for (const int rows : sizes) {
            TGridActivityColumns columns;
            columns.SetCatalogue(&app.GetActivityColumns());
            TComplexGrid grid;
            fill(columns, grid, rows);
            TfrmReport window(app);
            window.resize(1000, 650);
            window.show();
            window.SetInterpolated(true);
            window.SetAverage(true);
            window.SetPointLabels(qEnvironmentVariableIsEmpty("BENCH_NO_LABELS"));
            QApplication::processEvents();

            QElapsedTimer timer;
            timer.start();
            window.LoadGraphData(&grid, columns.GridKinds(&grid));
            window.Load();
            const double loadMs = drawn(window, timer);
            if (window.Chart()->SeriesCount() == 0)
                std::printf("nothing was drawn\n");
            double worst = loadMs;
            std::printf("%7d %8.1f", rows, loadMs);
            for (const int report : reports) {
                window.SelectReport(report == 0 ? 1 : 0);
                timer.restart();
                window.SelectReport(report);
                const double ms = drawn(window, timer);
                worst = std::max(worst, ms);
                std::printf(" %9.1f", ms);
            }
            window.ShowOwnPage();
            window.SelectUnit(QStringLiteral("kg"));
            timer.restart();
            window.SelectUnit(QStringLiteral("puls"));
            window.CheckY({0, 1, 2});
            double ms = drawn(window, timer);
            worst = std::max(worst, ms);
            std::printf(" %9.1f", ms);
            // The labels switched on over a graph of one pulse, the first
            // 500 points drawn with their values.
            window.CheckY({0});
            window.SetPointLabels(false);
            QApplication::processEvents();
            timer.restart();
            window.SetPointLabels(true);
            ms = drawn(window, timer);
            worst = std::max(worst, ms);
            std::printf(" %9.1f %9.1f\n", ms, worst);
            std::fflush(stdout);
        }
    }
    FreeCorvaleForms();
    return 0;
}
