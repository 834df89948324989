// Times the frequency window on a list of 1,000 to 20,000 activities over
// 20 years: loading the list grid (reading its dates, putting them in date
// order, counting and drawing the month chart), then every kind drawn again
// from the kept dates with totals, with single years stacked and, for the
// month and week kinds, averaged. Every time includes the chart's repaint.
// Prints one table row per size with the times in ms; "worst" is the
// slowest redraw of the row.
//
//   bench_frequency [sizes...]      (default 1000 10000 20000)

#include "analysis/Frequency.h"
#include "analysis/FrequencyChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
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
constexpr int columnCount = 20;
constexpr int years = 20;

// The main list: the date in the first column, other texts beside it, the
// rows newest first as the list shows them after a search.
void fill(TComplexGrid &grid, int rows)
{
    QRandomGenerator random(4711);
    std::vector<QDate> dates;
    dates.reserve(std::size_t(rows));
    const QDate first(2005, 1, 1);
    const int days = int(first.daysTo(QDate(2005 + years - 1, 12, 31)));
    for (int i = 0; i < rows; ++i)
        dates.push_back(first.addDays(random.bounded(days + 1)));
    std::sort(dates.begin(), dates.end(), [](const QDate &a, const QDate &b) { return a > b; });

    grid.BeginUpdate();
    grid.SetColCount(columnCount);
    grid.SetRowCount(rows + 1);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetCells(0, 0, QStringLiteral("Datum"));
    for (int col = 1; col < columnCount; ++col)
        grid.SetCells(col, 0, QStringLiteral("Kolumn %1").arg(col));
    for (int row = 1; row <= rows; ++row) {
        grid.SetCells(0, row, dates[std::size_t(row - 1)].toString(QStringLiteral("yyyy-MM-dd")));
        for (int col = 1; col < columnCount; ++col)
            grid.SetCells(col, row, QString::number(random.bounded(100000)));
    }
    grid.EndUpdate();
}

double drawn(TfrmFrequency &window, QElapsedTimer &timer)
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

    const char *const kinds[] = {"year", "month", "week", "day", "wday"};
    std::printf("%7s %8s", "rows", "load ms");
    for (const char *kind : kinds)
        std::printf(" %6s ms %6s+yr", kind, kind);
    std::printf(" %8s %8s %9s\n", "month-avg", "week-avg", "worst ms");
    {
        TCorvaleApp app;
        for (const int rows : sizes) {
            TComplexGrid grid;
            fill(grid, rows);
            TfrmFrequency window(app);
            window.resize(900, 650);
            window.show();
            QApplication::processEvents();
            window.SetCalcType(1);

            QElapsedTimer timer;
            timer.start();
            window.Load(&grid);
            const double loadMs = drawn(window, timer);
            if (window.Items().size() != rows || window.Chart()->SeriesCount() == 0)
                std::printf("the list was not counted\n");
            double worst = loadMs;
            std::printf("%7d %8.1f", rows, loadMs);
            for (int kind = 0; kind < 5; ++kind) {
                for (int individual = 0; individual < 2; ++individual) {
                    window.SetShowType(0);
                    window.SetIndYears(0);
                    window.SetCalcType(kind == 0 ? 1 : 0);
                    timer.restart();
                    window.SetCalcType(kind);
                    if (individual)
                        window.SetIndYears(1);
                    const double ms = drawn(window, timer);
                    worst = std::max(worst, ms);
                    std::printf(" %9.1f", ms);
                    if (kind == 0)
                        break;
                }
                if (kind == 0)
                    std::printf(" %9s", "-");
            }
            for (int kind : {1, 2}) {
                window.SetIndYears(0);
                window.SetCalcType(kind);
                timer.restart();
                window.SetShowType(1);
                const double ms = drawn(window, timer);
                worst = std::max(worst, ms);
                std::printf(" %9.1f", ms);
            }
            std::printf(" %9.1f\n", worst);
            std::fflush(stdout);
        }
    }
    FreeCorvaleForms();
    return 0;
}
