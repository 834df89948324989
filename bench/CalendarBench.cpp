// Times the calendar window on lists of growing length spread over twenty
// years, as the main window hands them over: a list grid with the date in
// column 0, sorted by date. For each size it fills the twelve calendars
// from the grid (FillDates, including the repaint that follows), then
// lists the dates of May (a header click) and of the 4th of May (a day
// click), each through a mouse press on the real control. Each time is the
// best of five runs. Prints one table row per size with the times in ms
// and the number of distinct dates of May.
//
//   bench_calendar [sizes...]      (default 1000 10000 20000)

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/SettingsFiles.h"
#include "foundation/TulloCalendar.h"
#include "ui/Calendar.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
constexpr int years = 20;
constexpr int runs = 5;

// Rows dates drawn over twenty years from 2005, sorted as a date search lists
// them; several sessions may share a day.
void fill(TComplexGrid &grid, int rows)
{
    QRandomGenerator random(20250611);
    const QDate first(2005, 1, 1);
    const int span = int(first.daysTo(first.addYears(years)));
    std::vector<int> days(rows);
    for (int &day : days)
        day = random.bounded(span);
    std::sort(days.begin(), days.end());
    grid.BeginUpdate();
    grid.SetFixedCols(0);
    grid.SetColCount(2);
    grid.SetRowCount(rows + 1);
    grid.SetCells(0, 0, QStringLiteral("Datum"));
    grid.SetCells(1, 0, QStringLiteral("Aktivitet"));
    for (int row = 0; row < rows; ++row) {
        grid.SetCells(0, row + 1, first.addDays(days[row]).toString(QStringLiteral("yyyy-MM-dd")));
        grid.SetCells(1, row + 1, QStringLiteral("Löpning"));
    }
    grid.EndUpdate();
}

void press(QWidget *target, QPoint point)
{
    const QPointF global = target->mapToGlobal(QPointF(point));
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(point), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(point), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &up);
}

double best(const std::function<void()> &action)
{
    double result = 1e300;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        action();
        QApplication::processEvents();
        result = std::min(result, timer.nsecsElapsed() / 1e6);
    }
    return result;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The window reads and writes its position: keep that away from the
    // user's own settings.
    QTemporaryDir folder;
    qputenv(SettingsFiles::ConfigDirVariable, QFile::encodeName(folder.path() + QStringLiteral("/config")));
    qputenv(SettingsFiles::DataDirVariable, QFile::encodeName(folder.path() + QStringLiteral("/data")));
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    TCorvaleApp corvale;
    std::printf("%8s %6s %10s %12s %12s %10s\n", "rows", "years", "fill ms", "month ms", "day ms", "May dates");
    for (const int rows : sizes) {
        TComplexGrid grid;
        fill(grid, rows);
        TfrmCalendar window(corvale);
        window.show();
        QApplication::processEvents();

        const double fillMs = best([&] { window.FillDates(grid); });
        TTulloCalendar *may = window.MonthCalendar(5);
        const double monthMs = best([&] { press(may, QPoint(70, 10)); });
        const int mayDates = int(window.Dates().size());
        const double dayMs = best([&] { press(may, QPoint(70, 30)); }); // the 4th: row 0, column 3
        std::printf("%8d %6d %10.1f %12.2f %12.2f %10d\n", rows, years, fillMs, monthMs, dayMs, mayDates);
        std::fflush(stdout);
    }
    return 0;
}
