// Times the list grid with the main list's shape: 57 columns of realistic
// texts (dates, names, durations, numbers with units, comments) and growing
// row counts. For each size it fills the grid the way a list window does
// (one update bracket, the row count set once), sorts it by three keys
// through Sort, sorts it again by a click on a column title sent to the real
// header (including the repaint that follows), and searches the whole grid
// for a text that no cell holds, so that every cell is read. Prints one table
// row per size with the times in ms and the memory of the cells.
//
//   bench_grid [sizes...]      (default 1000 10000 20000)

#include "BenchProcess.h"

#include "foundation/CompGrid.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

namespace
{
constexpr int columnCount = 57;

// The bytes the cells take: the QString of every cell plus the heap block of
// every text that is not shared with another cell (an allocator rounds
// blocks to 16 bytes and adds 8 of its own).
qint64 cellBytes(const TComplexGrid &grid)
{
    qint64 bytes = 0;
    for (int row = 0; row < grid.RowCount(); ++row) {
        bytes += qint64(sizeof(QVector<QString>)) + 16;
        for (int col = 0; col < grid.ColCount(); ++col) {
            bytes += qint64(sizeof(QString));
            const QString text = grid.Cells(col, row);
            if (!text.isEmpty())
                bytes += (16 + (text.size() + 1) * 2 + 8 + 15) / 16 * 16;
        }
    }
    return bytes;
}

const char *const activities[] = {"Löpning", "Cykling", "Längdskidor", "Simning", "Styrketräning",
                                  "Promenad", "Golf", "Innebandy", "Spinning", "Vägning"};
const char *const places[] = {"Umeå", "Nydala", "Stadsliden", "Holmsund", "Sävar", "Röbäck",
                              "Tavelsjö", "Obbola", "Hörnefors", "Vännäs", "Bjännberget"};
const char *const weathers[] = {"Sol", "Mulet", "Regn", "Snö", "Halvklart", ""};
const char *const comments[] = {"Lätt distans, kändes bra", "Intervaller 6x1000", "Tungt i backarna",
                                "", "Ny sko", "Förkyld, tog det lugnt", "Tävling", ""};

// The text of one cell of the main list: the catalogue's mix of dates,
// names, durations, distances, speeds, pulses and comments.
QString cellText(int col, int row, QRandomGenerator &random)
{
    const auto pick = [&random](const auto &list) {
        return QString::fromUtf8(list[random.bounded(int(std::size(list)))]);
    };
    const auto fixed2 = [](double value) { return QString::number(value, 'f', 2); };
    switch (col % 12) {
    case 0:
        return QDate(2000, 1, 1).addDays(row / 2 + random.bounded(2)).toString(QStringLiteral("yyyy-MM-dd"));
    case 1:
        return pick(activities);
    case 2:
        return pick(places);
    case 3:
        return QStringLiteral("%1.%2").arg(20 + random.bounded(160)).arg(random.bounded(60), 2, 10, QLatin1Char('0'));
    case 4:
        return fixed2(2 + random.bounded(4000) / 100.0) + QStringLiteral(" km");
    case 5:
        return fixed2(8 + random.bounded(2500) / 100.0) + QStringLiteral(" km/h");
    case 6:
        return QString::number(110 + random.bounded(80));
    case 7:
        return random.bounded(4) == 0 ? QString() : QString::number(random.bounded(-20, 30));
    case 8:
        return pick(weathers);
    case 9:
        return QString::number(70 + random.bounded(200) / 10.0, 'f', 1);
    case 10:
        return pick(comments);
    default:
        return QString::number(random.bounded(100000));
    }
}

// The texts of the data rows, made before the timing starts: a list window
// has them from its model objects.
std::vector<QString> makeTexts(int rows)
{
    QRandomGenerator random(4711);
    std::vector<QString> texts;
    texts.reserve(std::size_t(rows) * columnCount);
    for (int row = 1; row <= rows; ++row) {
        for (int col = 0; col < columnCount; ++col)
            texts.push_back(cellText(col, row, random));
    }
    return texts;
}

void fill(TComplexGrid &grid, int rows, const std::vector<QString> &texts)
{
    grid.BeginUpdate();
    grid.SetColCount(columnCount);
    grid.SetRowCount(rows + 1);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    for (int col = 0; col < columnCount; ++col) {
        grid.SetCells(col, 0, QStringLiteral("Kolumn %1").arg(col));
        const int kind = col % 12;
        grid.SetColSortStyle(col, kind == 0 ? TSortStyle::Date
                                            : (kind == 1 || kind == 2 || kind == 8 || kind == 10)
                                                ? TSortStyle::Alphabetic
                                                : TSortStyle::Numeric);
    }
    std::size_t i = 0;
    for (int row = 1; row <= rows; ++row) {
        for (int col = 0; col < columnCount; ++col)
            grid.SetCells(col, row, texts[i++]);
    }
    grid.EndUpdate();
    grid.ResetDirections();
}

// A press and a release on the title of a column, as the mouse sends them.
void clickTitle(TComplexGrid &grid, int col)
{
    QHeaderView *header = grid.horizontalHeader();
    QWidget *target = header->viewport();
    const QPointF point(header->sectionViewportPosition(col) + header->sectionSize(col) / 2.0, 5.0);
    const QPointF global = target->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    std::printf("%8s %5s %9s %12s %12s %10s %11s %11s\n", "rows", "cols", "fill ms", "3-key ms", "title ms",
                "find ms", "cells MB", "RSS+ MB");
    for (const int rows : sizes) {
        const double rssBefore = Bench::ResidentMb();
        TComplexGrid grid;
        grid.resize(1000, 700);
        grid.show();
        QApplication::processEvents();

        const std::vector<QString> texts = makeTexts(rows);
        QElapsedTimer timer;
        timer.start();
        fill(grid, rows, texts);
        QApplication::processEvents();
        const double fillMs = timer.nsecsElapsed() / 1e6;

        TSortRecord record;
        record.Cols = {1, 0, 4}; // activity, then date (newest first), then distance
        record.Styles = {TSortStyle::Alphabetic, TSortStyle::Date, TSortStyle::Numeric};
        record.Directions = {TSortDirection::Ascending, TSortDirection::Descending, TSortDirection::Ascending};
        timer.restart();
        grid.Sort(record);
        const double sortMs = timer.nsecsElapsed() / 1e6;

        timer.restart();
        clickTitle(grid, 5); // speed, numeric; the earlier keys move down
        QApplication::processEvents();
        const double titleMs = timer.nsecsElapsed() / 1e6;
        if (grid.LastSort().Cols[0] != 5)
            std::printf("title click did not sort\n");

        bool found = false;
        QObject::connect(&grid, &TComplexGrid::OnFindSuccess, &grid, [&found](int, int) { found = true; });
        timer.restart();
        grid.Find(QStringLiteral("finns inte"), false, false, false, false);
        const double findMs = timer.nsecsElapsed() / 1e6;
        if (found)
            std::printf("unexpected find\n");

        const double cellsMb = cellBytes(grid) / (1024.0 * 1024.0);
        // The grid shares the texts with `texts`; the resident growth counts them once.
        const double rssMb = Bench::ResidentMb() - rssBefore;
        std::printf("%8d %5d %9.1f %12.1f %12.1f %10.1f %11.1f %11.1f\n", rows, columnCount, fillMs, sortMs,
                    titleMs, findMs, cellsMb, rssMb);
        std::fflush(stdout);
    }
    return 0;
}
