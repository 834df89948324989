// The list grid: comparison rules, the three-key sort, title clicks through
// the real header, the sort mark, text search with continuation, and the row
// and column operations.

#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(TSortStyle)
Q_DECLARE_METATYPE(TSortDirection)
Q_DECLARE_METATYPE(TColAlignment)

namespace
{
// "Type: message" of what `step` raised, empty when it raised nothing.
QString Raised(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EInvalidRow &e) {
        return QStringLiteral("EInvalidRow: ") + e.Message();
    } catch (const EInvalidCol &e) {
        return QStringLiteral("EInvalidCol: ") + e.Message();
    } catch (const EComplexGrid &e) {
        return QStringLiteral("EComplexGrid: ") + e.Message();
    }
    return QString();
}

// A grid with one fixed row of titles, one fixed column of row numbers and
// the data rows given, one string per row with the cells separated by "|".
void Fill(TComplexGrid &grid, const QStringList &titles, const QStringList &rows)
{
    grid.BeginUpdate();
    grid.SetColCount(int(titles.size()) + 1);
    grid.SetRowCount(int(rows.size()) + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    for (int col = 0; col < titles.size(); ++col)
        grid.SetCells(col + 1, 0, titles[col]);
    for (int row = 0; row < rows.size(); ++row) {
        grid.SetCells(0, row + 1, QString::number(row + 1));
        const QStringList cells = rows[row].split(QLatin1Char('|'));
        for (int col = 0; col < cells.size(); ++col)
            grid.SetCells(col + 1, row + 1, cells[col]);
    }
    grid.EndUpdate();
}

// The data cells of a column, top to bottom.
QStringList Column(const TComplexGrid &grid, int col)
{
    QStringList cells;
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        cells.append(grid.Cells(col, row));
    return cells;
}

TSortRecord OneKey(int col, TSortStyle style, TSortDirection direction = TSortDirection::Ascending)
{
    TSortRecord record;
    record.Cols = {col, -1, -1};
    record.Styles[0] = style;
    record.Directions[0] = direction;
    return record;
}

// The grid column's title centre, in the header viewport.
QPoint TitlePoint(TComplexGrid &grid, int col)
{
    QHeaderView *header = grid.horizontalHeader();
    const int section = col - grid.FixedCols();
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, 5);
}

void ClickTitle(TComplexGrid &grid, int col)
{
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, TitlePoint(grid, col));
}

enum class Mark { None, Up, Down };

// The sort mark drawn in the title of a grid column, read from the pixels:
// a triangle pointing up has its base (and so a green corner) at the bottom
// left, one pointing down at the top left.
Mark SortMarkOf(TComplexGrid &grid, int col)
{
    QHeaderView *header = grid.horizontalHeader();
    const QImage image = header->viewport()->grab().toImage();
    const int section = col - grid.FixedCols();
    const int right = header->sectionViewportPosition(section) + header->sectionSize(section);
    const QColor green(0, 128, 0);
    const auto greenNear = [&](int x, int y) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (image.valid(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == green)
                    return true;
            }
        }
        return false;
    };
    const bool bottomLeft = greenNear(right - 10, 12);
    const bool topLeft = greenNear(right - 10, 4);
    if (bottomLeft && !topLeft)
        return Mark::Up;
    if (topLeft && !bottomLeft)
        return Mark::Down;
    return Mark::None;
}

// The found cells of a search and its continuations; (-1, -1) for a search
// that found nothing.
class TFindRecorder
{
public:
    explicit TFindRecorder(TComplexGrid &grid)
    {
        QObject::connect(&grid, &TComplexGrid::OnFindSuccess, &m_context,
                         [this](int col, int row) { found.append(QPoint(col, row)); });
        QObject::connect(&grid, &TComplexGrid::OnFindNotSuccess, &m_context,
                         [this] { found.append(QPoint(-1, -1)); });
    }
    QList<QPoint> found;

private:
    QObject m_context;
};

const QStringList findTitles{QStringLiteral("Namn"), QStringLiteral("Plats"), QStringLiteral("Anteckning")};
const QStringList findRows{
    QStringLiteral("Anna|Umeå|löpning"),   QStringLiteral("Bertil|Ånge|anna-lena"),
    QStringLiteral("anna|Umeå|cykel"),     QStringLiteral("Cecilia|umeå|Anna och Anna"),
    QStringLiteral("David|Luleå|åsa"),
};
} // namespace

class tst_CompGrid : public QObject
{
    Q_OBJECT

private slots:
    // The stretch column fills what the others leave of the view, follows
    // the view's width and keeps the width it was given (which is what the
    // list stores); it is never shown narrower than that width.
    void stretchColumnFillsTheView()
    {
        TComplexGrid grid;
        grid.BeginUpdate();
        grid.SetColCount(4);
        grid.SetFixedCols(0);
        grid.SetRowCount(3);
        grid.SetFixedRows(1);
        for (int col = 0; col < 4; ++col)
            grid.SetColWidths(col, 60);
        grid.SetColWidths(3, 1);
        grid.EndUpdate();
        grid.resize(600, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetStretchCol(2);
        auto *header = grid.horizontalHeader();
        QCOMPARE(header->sectionSize(2), grid.viewport()->width() - 60 - 60 - 1);
        QCOMPARE(grid.ColWidths(2), 60);

        grid.resize(900, 200);
        QTRY_COMPARE(header->sectionSize(2), grid.viewport()->width() - 121);
        QCOMPARE(grid.ColWidths(2), 60);

        // Narrower than the others need: the column keeps its own width.
        grid.resize(150, 200);
        QTRY_COMPARE(header->sectionSize(2), 60);

        // A column made wider than what is left is shown at its width.
        grid.resize(600, 200);
        grid.SetColWidths(2, 700);
        QCOMPARE(header->sectionSize(2), 700);
        grid.SetStretchCol(-1);
        grid.SetColWidths(2, 80);
        QCOMPARE(header->sectionSize(2), 80);
    }

    // -----------------------------------------------------------------
    // Comparison rules: each pair is compared on its own and sorted in a
    // grid column, both ways.

    void comparison_data()
    {
        QTest::addColumn<TSortStyle>("style");
        QTest::addColumn<QString>("first");  // ascending, this comes first
        QTest::addColumn<QString>("second");

        const auto num = TSortStyle::Numeric;
        const auto alpha = TSortStyle::Alphabetic;
        const auto date = TSortStyle::Date;
        QTest::newRow("9 km before 10 km") << num << "9 km" << "10 km";
        QTest::newRow("10.00 km before 10.5 km") << num << "10.00 km" << "10.5 km";
        QTest::newRow("number before empty") << num << "99999" << "";
        QTest::newRow("number before text") << num << "12345678901234" << "okänd";
        QTest::newRow("12a before 12b") << num << "12a" << "12b";
        QTest::newRow("same number, shorter rest first") << num << "12" << "12 km";
        QTest::newRow("-5 before 3") << num << "-5" << "3";
        QTest::newRow("sign needs a digit") << num << "3" << "- 5";
        QTest::newRow("blanks before the number") << num << "  4" << "5";
        QTest::newRow("empty before other text") << num << "" << "abc";
        QTest::newRow("Zebra before ärta") << alpha << "Zebra" << "ärta";
        QTest::newRow("Ärta before ärta") << alpha << "Ärta" << "ärta";
        QTest::newRow("a to z ignore case") << alpha << "apple" << "BANAN";
        QTest::newRow("prefix first") << alpha << "Umeå" << "Umeålopp";
        QTest::newRow("dates by day") << date << "2004-01-02" << "2004-10-01";
        QTest::newRow("one-digit month as date") << date << "2004-1-2" << "2004-01-03";
        QTest::newRow("non-date compared as text") << date << "2004-13-01" << "2004-2-01";
        QTest::newRow("date before word") << date << "2004-05-01" << "igår";
    }

    void comparison()
    {
        QFETCH(TSortStyle, style);
        QFETCH(QString, first);
        QFETCH(QString, second);

        QVERIFY(TSorting::CompareTexts(first, second, style, TSortDirection::Ascending, false) < 0);
        QVERIFY(TSorting::CompareTexts(second, first, style, TSortDirection::Ascending, false) > 0);
        QVERIFY(TSorting::CompareTexts(first, second, style, TSortDirection::Descending, false) > 0);

        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Värde")}, {second, first});
        grid.Sort(OneKey(1, style));
        QCOMPARE(Column(grid, 1), QStringList({first, second}));
        grid.Sort(OneKey(1, style, TSortDirection::Descending));
        QCOMPARE(Column(grid, 1), QStringList({second, first}));
    }

    void equalTexts_data()
    {
        QTest::addColumn<TSortStyle>("style");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");

        QTest::newRow("case ignored") << TSortStyle::Alphabetic << false << "apple" << "APPLE" << 0;
        QTest::newRow("case respected") << TSortStyle::Alphabetic << true << "APPLE" << "apple" << -1;
        QTest::newRow("å has no case here") << TSortStyle::Alphabetic << false << "å" << "Å" << 1;
        QTest::newRow("10 equals 10.00") << TSortStyle::Numeric << false << "10" << "10.00" << 0;
        QTest::newRow("rest with case flag") << TSortStyle::Numeric << true << "5 KM" << "5 km" << -1;
        QTest::newRow("same date, other spelling") << TSortStyle::Date << false << "2004-1-2" << "2004-01-02" << 0;
    }

    void equalTexts()
    {
        QFETCH(TSortStyle, style);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int c = TSorting::CompareTexts(a, b, style, TSortDirection::Ascending, caseSensitive);
        QCOMPARE(c < 0 ? -1 : (c > 0 ? 1 : 0), sign);
    }

    void numberAndRest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("rest");

        QTest::newRow("number with unit") << " 12.5 km" << true << 12.5 << " km";
        QTest::newRow("negative") << "-5" << true << -5.0 << "";
        QTest::newRow("plus sign") << "+3x" << true << 3.0 << "x";
        QTest::newRow("leading point") << ".5 h" << true << 0.5 << " h";
        QTest::newRow("trailing point") << "5." << true << 5.0 << "";
        QTest::newRow("second point ends the number") << "1.2.3" << true << 1.2 << "";
        QTest::newRow("lone point") << "." << false << TSorting::NoNumber << "";
        QTest::newRow("point before text") << ". km" << false << TSorting::NoNumber << " km";
        QTest::newRow("lone sign") << "-" << false << TSorting::NoNumber << "-";
        QTest::newRow("sign before point") << "-.5" << false << TSorting::NoNumber << "-.5";
        QTest::newRow("text") << "abc" << false << TSorting::NoNumber << "abc";
        QTest::newRow("empty") << "" << false << TSorting::NoNumber << "";
    }

    void numberAndRest()
    {
        QFETCH(QString, text);
        QFETCH(bool, found);
        QFETCH(double, number);
        QFETCH(QString, rest);
        bool has = !found;
        QCOMPARE(TSorting::Number(text, &has), number);
        QCOMPARE(has, found);
        QCOMPARE(TSorting::Rest(text), rest);
    }

    // A cell holding a lone decimal point has no number: the sort completes
    // and the cell sorts with the empty ones.
    void loneDecimalPointSortsWithEmptyCells()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Distans")},
             {QStringLiteral("5"), QStringLiteral("."), QStringLiteral("3"), QString(), QStringLiteral("1"),
              QStringLiteral(". km"), QStringLiteral("10")});
        const TSortRecord record = OneKey(1, TSortStyle::Numeric);
        QCOMPARE(Raised([&] { grid.Sort(record); }), QString());
        QCOMPARE(Column(grid, 1), QStringList({"1", "3", "5", "10", ".", "", ". km"}));
        QCOMPARE(grid.LastSort(), record);

        grid.Sort(OneKey(1, TSortStyle::Numeric, TSortDirection::Descending));
        QCOMPARE(Column(grid, 1), QStringList({". km", ".", "", "10", "5", "3", "1"}));
    }

    // Numbers beyond the value that stands for "no number" are still
    // numbers: they sort before the empty cells, not among them.
    void hugeNumbersSortBeforeEmptyCells()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Distans")},
             {QStringLiteral("99999999999"), QString(), QStringLiteral("5"), QStringLiteral("abc"),
              QStringLiteral("10000000000 km"), QStringLiteral("9999999999")});
        grid.Sort(OneKey(1, TSortStyle::Numeric));
        QCOMPARE(Column(grid, 1), QStringList({"5", "9999999999", "10000000000 km", "99999999999", "", "abc"}));
        grid.Sort(OneKey(1, TSortStyle::Numeric, TSortDirection::Descending));
        QCOMPARE(Column(grid, 1), QStringList({"abc", "", "99999999999", "10000000000 km", "9999999999", "5"}));
    }

    // -----------------------------------------------------------------
    // Sort

    void threeKeysMoveWholeRows()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Aktivitet"), QStringLiteral("Datum"), QStringLiteral("Distans")},
             {QStringLiteral("Löpning|2004-03-01|10.00 km"), QStringLiteral("Cykel|2004-03-01|40.00 km"),
              QStringLiteral("Löpning|2004-02-01|10.00 km"), QStringLiteral("Löpning|2004-03-01|8.50 km"),
              QStringLiteral("Cykel|2004-01-15|40.00 km")});
        TSortRecord record;
        record.Cols = {3, 1, 2};
        record.Styles = {TSortStyle::Numeric, TSortStyle::Alphabetic, TSortStyle::Date};
        record.Directions = {TSortDirection::Descending, TSortDirection::Ascending, TSortDirection::Descending};
        grid.Sort(record);

        QCOMPARE(Column(grid, 3), QStringList({"40.00 km", "40.00 km", "10.00 km", "10.00 km", "8.50 km"}));
        QCOMPARE(Column(grid, 2), QStringList({"2004-03-01", "2004-01-15", "2004-03-01", "2004-02-01", "2004-03-01"}));
        // The fixed column moves with its row.
        QCOMPARE(Column(grid, 0), QStringList({"2", "5", "1", "3", "4"}));
        QCOMPARE(grid.LastSort(), record);
        QCOMPARE(grid.RowCount(), 6);
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("Aktivitet"));
    }

    void rowsEqualOnAllKeysKeepTheirOrder()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Typ"), QStringLiteral("Nr")},
             {QStringLiteral("b|1"), QStringLiteral("a|2"), QStringLiteral("b|3"), QStringLiteral("a|4"),
              QStringLiteral("B|5")});
        grid.Sort(OneKey(1, TSortStyle::Alphabetic));
        QCOMPARE(Column(grid, 2), QStringList({"2", "4", "1", "3", "5"}));
    }

    void invalidSortColumns_data()
    {
        QTest::addColumn<int>("col1");
        QTest::addColumn<int>("col2");
        QTest::addColumn<int>("col3");
        QTest::addColumn<QString>("error");

        QTest::newRow("no first key") << -1 << -1 << -1 << "EInvalidCol: Can't sort on first column";
        QTest::newRow("first beyond") << 3 << -1 << -1 << "EInvalidCol: Can't sort on first column";
        QTest::newRow("second beyond") << 1 << 3 << -1 << "EInvalidCol: Can't sort on second column";
        QTest::newRow("second below -1") << 1 << -2 << -1 << "EInvalidCol: Can't sort on second column";
        QTest::newRow("third beyond") << 1 << 2 << 7 << "EInvalidCol: Can't sort on third column";
        QTest::newRow("fixed column is a key") << 0 << -1 << -1 << "";
    }

    // A failed sort still runs AfterSorted, takes its busy cursor back and
    // leaves LastSort as it was.
    void invalidSortColumns()
    {
        QFETCH(int, col1);
        QFETCH(int, col2);
        QFETCH(int, col3);
        QFETCH(QString, error);

        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("b|1"), QStringLiteral("a|2")});
        const TSortRecord before = OneKey(2, TSortStyle::Numeric);
        grid.Sort(before);
        int after = 0;
        connect(&grid, &TComplexGrid::OnAfterSorted, &grid, [&](bool &) { ++after; });
        TSortRecord record;
        record.Cols = {col1, col2, col3};
        QCOMPARE(Raised([&] { grid.Sort(record); }), error);
        QCOMPARE(after, 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(grid.LastSort(), error.isEmpty() ? record : before);
    }

    // With one data row nothing moves and no column is checked, but the
    // record is remembered and its mark drawn.
    void oneDataRowKeepsTheRecord()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Datum"), QStringLiteral("Plats")}, {QStringLiteral("2004-01-01|Umeå")});
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        TSortRecord record = OneKey(2, TSortStyle::Alphabetic, TSortDirection::Descending);
        grid.Sort(record);
        QCOMPARE(grid.LastSort(), record);
        QCOMPARE(SortMarkOf(grid, 2), Mark::Down);
        QCOMPARE(SortMarkOf(grid, 1), Mark::None);
        record.Cols = {9, -1, -1};
        QCOMPARE(Raised([&] { grid.Sort(record); }), QString());
    }

    void busyCursorAndItsFlag_data()
    {
        QTest::addColumn<bool>("keepCursor");
        QTest::newRow("grid shows the busy cursor") << true;
        QTest::newRow("handler switches it off") << false;
    }

    void busyCursorAndItsFlag()
    {
        QFETCH(bool, keepCursor);
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A")}, {QStringLiteral("b"), QStringLiteral("a")});
        bool busyWhileSorting = false;
        connect(&grid, &TComplexGrid::OnBeforeSorted, &grid, [&](bool &cursor) {
            QVERIFY(cursor);
            cursor = keepCursor;
        });
        connect(&grid, &TComplexGrid::OnAfterSorted, &grid, [&](bool &cursor) {
            QVERIFY(cursor);
            busyWhileSorting = QGuiApplication::overrideCursor() != nullptr;
            cursor = keepCursor;
        });
        grid.Sort(OneKey(1, TSortStyle::Alphabetic));
        QCOMPARE(busyWhileSorting, keepCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(Column(grid, 1), QStringList({"a", "b"}));
    }

    // -----------------------------------------------------------------
    // Title clicks, through the real header

    void titleClicksAfterResetDirections()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Aktivitet"), QStringLiteral("Distans")},
             {QStringLiteral("Löpning|9 km"), QStringLiteral("Cykel|40 km"), QStringLiteral("Löpning|12 km"),
              QStringLiteral("Cykel|10 km")});
        grid.SetColSortStyle(2, TSortStyle::Numeric);
        grid.SetColWidths(1, 120);
        grid.SetColWidths(2, 120);
        grid.ResetDirections();
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        ClickTitle(grid, 2);
        QCOMPARE(Column(grid, 2), QStringList({"9 km", "10 km", "12 km", "40 km"}));
        QCOMPARE(grid.LastSort().Cols, (std::array<int, 3>{2, -1, -1}));
        QCOMPARE(grid.LastSort().Styles[0], TSortStyle::Numeric);
        QCOMPARE(SortMarkOf(grid, 2), Mark::Up);

        ClickTitle(grid, 2);
        QCOMPARE(Column(grid, 2), QStringList({"40 km", "12 km", "10 km", "9 km"}));
        QCOMPARE(grid.LastSort().Directions[0], TSortDirection::Descending);
        QCOMPARE(SortMarkOf(grid, 2), Mark::Down);

        // The earlier keys move down and become the tie-breakers.
        ClickTitle(grid, 1);
        QCOMPARE(grid.LastSort().Cols, (std::array<int, 3>{1, 2, 2}));
        QCOMPARE(grid.LastSort().Directions,
                 (std::array<TSortDirection, 3>{TSortDirection::Ascending, TSortDirection::Descending,
                                                TSortDirection::Ascending}));
        QCOMPARE(grid.LastSort().Styles[1], TSortStyle::Numeric);
        QCOMPARE(Column(grid, 1), QStringList({"Cykel", "Cykel", "Löpning", "Löpning"}));
        QCOMPARE(Column(grid, 2), QStringList({"40 km", "10 km", "12 km", "9 km"}));
        QCOMPARE(SortMarkOf(grid, 1), Mark::Up);
        QCOMPARE(SortMarkOf(grid, 2), Mark::None);
        QCOMPARE(grid.PressedColumn(), -1);
    }

    void firstClickOnFreshGridSortsDescending()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Namn")}, {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")});
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        ClickTitle(grid, 1);
        QCOMPARE(Column(grid, 1), QStringList({"c", "b", "a"}));
    }

    void clicksThatDoNotSort_data()
    {
        QTest::addColumn<bool>("sorting");
        QTest::addColumn<bool>("acrossTitles");
        QTest::newRow("press on one title, release on another") << true << true;
        QTest::newRow("grid without goSorting") << false << false;
    }

    void clicksThatDoNotSort()
    {
        QFETCH(bool, sorting);
        QFETCH(bool, acrossTitles);
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("b|2"), QStringLiteral("a|1")});
        grid.ResetDirections();
        if (!sorting)
            grid.SetOptionsComplex(TCompGridOptions());
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        int before = 0;
        connect(&grid, &TComplexGrid::OnBeforeSorted, &grid, [&](bool &) { ++before; });
        QWidget *titles = grid.horizontalHeader()->viewport();
        if (acrossTitles) {
            QTest::mousePress(titles, Qt::LeftButton, Qt::NoModifier, TitlePoint(grid, 1));
            QCOMPARE(grid.PressedColumn(), 1);
            QTest::mouseRelease(titles, Qt::LeftButton, Qt::NoModifier, TitlePoint(grid, 2));
        } else {
            ClickTitle(grid, 1);
        }
        QCOMPARE(before, 0);
        QCOMPARE(Column(grid, 1), QStringList({"b", "a"}));
        QCOMPARE(grid.PressedColumn(), -1);
    }

    void narrowColumnSortsWithoutMark()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("b|2"), QStringLiteral("a|1")});
        grid.SetColWidths(1, 20);
        grid.ResetDirections();
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        ClickTitle(grid, 1);
        QCOMPARE(Column(grid, 1), QStringList({"a", "b"}));
        QCOMPARE(grid.LastSort().Cols[0], 1);
        QCOMPARE(SortMarkOf(grid, 1), Mark::None);
        grid.SetColWidths(1, 24);
        QCOMPARE(SortMarkOf(grid, 1), Mark::Up);
    }

    // -----------------------------------------------------------------
    // Find

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromCursor");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QList<QPoint>>("found"); // Find, then FindNext until the list ends

        const QPoint none(-1, -1);
        QTest::newRow("forward, whole grid, on and on")
            << "anna" << false << false << false << QPoint(2, 4)
            << QList<QPoint>{{1, 1}, {3, 2}, {1, 3}, {3, 4}, none, none};
        QTest::newRow("match case") << "Anna" << false << true << false << QPoint(1, 1)
                                    << QList<QPoint>{{1, 1}, {3, 4}, none};
        QTest::newRow("from cursor finds the cursor cell")
            << "anna" << true << false << false << QPoint(1, 3) << QList<QPoint>{{1, 3}, {3, 4}, none};
        QTest::newRow("from cursor, rest of its row first")
            << "anna" << true << false << false << QPoint(2, 3) << QList<QPoint>{{3, 4}, none};
        QTest::newRow("backward from cursor skips its row")
            << "anna" << true << false << true << QPoint(1, 3) << QList<QPoint>{{3, 2}, {1, 1}, none, none};
        QTest::newRow("backward, whole grid, from the last row")
            << "Anna" << false << true << true << QPoint(1, 1) << QList<QPoint>{{3, 4}, {1, 1}, none};
        QTest::newRow("backward, whole grid, match in last row only")
            << "åsa" << false << false << true << QPoint(1, 1) << QList<QPoint>{{3, 5}, none};
        QTest::newRow("a to z fold") << "umeå" << false << false << false << QPoint(1, 1)
                                     << QList<QPoint>{{2, 1}, {2, 3}, {2, 4}, none};
        QTest::newRow("å has no case") << "ånge" << false << false << false << QPoint(1, 1)
                                       << QList<QPoint>{none};
        QTest::newRow("empty text") << "" << false << false << false << QPoint(1, 1) << QList<QPoint>{none, none};
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(bool, fromCursor);
        QFETCH(bool, matchCase);
        QFETCH(bool, backwards);
        QFETCH(QPoint, cursor);
        QFETCH(QList<QPoint>, found);

        TComplexGrid grid;
        Fill(grid, findTitles, findRows);
        grid.SetRow(cursor.y());
        grid.SetCol(cursor.x());
        TFindRecorder recorder(grid);
        grid.Find(text, fromCursor, matchCase, backwards, false);
        while (recorder.found.size() < found.size())
            grid.FindNext();
        QCOMPARE(recorder.found, found);
    }

    // Choosing a cell moves the search position: FindNext goes on after the
    // chosen row, as after a match there.
    void findNextGoesOnFromTheChosenRow()
    {
        TComplexGrid grid;
        Fill(grid, findTitles, findRows);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        TFindRecorder recorder(grid);
        grid.Find(QStringLiteral("anna"), false, false, false, false);
        QCOMPARE(recorder.found, QList<QPoint>{QPoint(1, 1)});

        const QModelIndex third = grid.model()->index(2, 0);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.visualRect(third).center());
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(grid.FindPosRow(), 3);
        grid.FindNext();
        QCOMPARE(recorder.found.last(), QPoint(3, 4));
    }

    // A sort keeps the current cell where it is without asking for it, so a
    // search that has run out stays out.
    void sortingKeepsTheSearchPosition()
    {
        TComplexGrid grid;
        Fill(grid, findTitles, findRows);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(2);
        int asked = 0;
        connect(&grid, &TComplexGrid::OnSelectCell, &grid, [&](int, int, bool &) { ++asked; });
        TFindRecorder recorder(grid);
        grid.Find(QStringLiteral("Luleå"), true, false, false, false);
        grid.FindNext();
        grid.Sort(OneKey(2, TSortStyle::Alphabetic));
        grid.FindNext();
        QCOMPARE(recorder.found, (QList<QPoint>{{2, 5}, {-1, -1}, {-1, -1}}));
        QCOMPARE(asked, 0);
        QCOMPARE(grid.Row(), 2);
    }

    void findInSelectionOnly()
    {
        TComplexGrid grid;
        Fill(grid, findTitles, findRows);
        grid.SetRow(4);
        grid.SetCol(1);
        QCOMPARE(grid.Selection(), (TGridRect{1, 4, 3, 4}));
        TFindRecorder recorder(grid);
        grid.Find(QStringLiteral("umeå"), false, false, false, true);
        grid.Find(QStringLiteral("anna"), false, false, false, true);
        grid.Find(QStringLiteral("Luleå"), false, false, false, true);
        QCOMPARE(recorder.found, (QList<QPoint>{{2, 4}, {3, 4}, {-1, -1}}));
    }

    // -----------------------------------------------------------------
    // Rows and columns

    void deleteOnlyDataRow()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Datum"), QStringLiteral("Plats")}, {QStringLiteral("2004-01-01|Umeå")});
        grid.Sort(OneKey(1, TSortStyle::Date));
        QCOMPARE(grid.LastSort().Cols[0], 1);
        QSignalSpy deleted(&grid, &TComplexGrid::OnRowDeleted);

        grid.DeleteRow(1);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.FixedRows(), 1);
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.Cells(col, 1), QString());
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("Datum"));
        QCOMPARE(grid.LastSort(), TSortRecord());
        QCOMPARE(deleted.count(), 1);
    }

    void deleteRow()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A")}, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        grid.Sort(OneKey(1, TSortStyle::Alphabetic));
        grid.DeleteRow(2);
        QCOMPARE(Column(grid, 1), QStringList({"a", "c"}));
        QCOMPARE(Column(grid, 0), QStringList({"1", "3"}));
        QCOMPARE(grid.LastSort().Cols[0], 1);
    }

    void rowAndColumnErrors_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("error");

        QTest::newRow("delete title row") << 0 << 0 << "EInvalidRow: Can't delete before fixed rows";
        QTest::newRow("delete beyond") << 0 << 4 << "EInvalidRow: Can at most delete the last grid row";
        QTest::newRow("insert at title row") << 1 << 0 << "EInvalidRow: Can't insert before fixed rows";
        QTest::newRow("insert beyond") << 1 << 4 << "EInvalidRow: Can at most insert before the last grid row";
        QTest::newRow("clear title row") << 2 << 0 << "EInvalidRow: Can't clear fixed rows";
        QTest::newRow("delete fixed column") << 3 << 0 << "EInvalidCol: Can't delete fixed columns";
        QTest::newRow("delete column beyond") << 3 << 3 << "EInvalidCol: Can at most delete the last grid column";
        QTest::newRow("insert at fixed column") << 4 << 0 << "EInvalidCol: Can't insert before fixed columns";
        QTest::newRow("insert column beyond")
            << 4 << 3 << "EInvalidCol: Can at most insert before the last grid column";
        QTest::newRow("clear fixed column") << 5 << 0 << "EInvalidCol: Can't clear fixed columns";
        QTest::newRow("style of missing column") << 6 << 3 << "EInvalidCol: Invalid column number";
        QTest::newRow("direction of missing column") << 7 << 3 << "EInvalidCol: Invalid column number";
        QTest::newRow("alignment of missing column") << 8 << 3 << "EInvalidCol: Invalid column number";
    }

    void rowAndColumnErrors()
    {
        QFETCH(int, operation);
        QFETCH(int, index);
        QFETCH(QString, error);
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")},
             {QStringLiteral("a|1"), QStringLiteral("b|2"), QStringLiteral("c|3")});
        const std::function<void()> operations[] = {
            [&] { grid.DeleteRow(index); },       [&] { grid.InsertRow(index); },
            [&] { grid.ClearRow(index); },        [&] { grid.DeleteColumn(index); },
            [&] { grid.InsertColumn(index); },    [&] { grid.ClearColumn(index); },
            [&] { grid.SetColSortStyle(index, 1); }, [&] { grid.SetColDirection(index, true); },
            [&] { grid.SetColAlignment(index, 2); },
        };
        QCOMPARE(Raised(operations[operation]), error);
        QCOMPARE(Column(grid, 1), QStringList({"a", "b", "c"}));
    }

    void insertRowMovesDataCells()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("a|1"), QStringLiteral("b|2")});
        QSignalSpy inserted(&grid, &TComplexGrid::OnRowInserted);
        grid.InsertRow(1);
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(Column(grid, 1), QStringList({"", "a", "b"}));
        QCOMPARE(Column(grid, 2), QStringList({"", "1", "2"}));
        QCOMPARE(inserted.count(), 1);
    }

    void columnPropertiesMoveWithColumns()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, {QStringLiteral("a|b|c")});
        grid.SetColSortStyle(2, TSortStyle::Numeric);
        grid.SetColAlignment(2, TColAlignment::Right);
        grid.SetColWidths(3, 77);
        QSignalSpy inserted(&grid, &TComplexGrid::OnColInserted);
        QSignalSpy deleted(&grid, &TComplexGrid::OnColDeleted);

        grid.InsertColumn(2);
        QCOMPARE(grid.ColCount(), 5);
        QCOMPARE(grid.Cells(3, 0), QStringLiteral("B"));
        QCOMPARE(grid.Cells(3, 1), QStringLiteral("b"));
        QCOMPARE(grid.Cells(2, 1), QString());
        QCOMPARE(grid.GetColSortStyle(3), TSortStyle::Numeric);
        QCOMPARE(grid.GetColAlignment(3), TColAlignment::Right);
        QCOMPARE(grid.GetColSortStyle(2), TSortStyle::Alphabetic);
        QCOMPARE(grid.GetColAlignment(2), TColAlignment::Left);
        QCOMPARE(grid.ColWidths(4), 77);

        grid.DeleteColumn(2);
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.Cells(2, 0), QStringLiteral("B"));
        QCOMPARE(grid.GetColSortStyle(2), TSortStyle::Numeric);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(deleted.count(), 1);

        // The last non-fixed column is emptied, not deleted.
        grid.DeleteColumn(3);
        grid.DeleteColumn(2);
        QCOMPARE(grid.ColCount(), 2);
        grid.DeleteColumn(1);
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("A"));
        QCOMPARE(grid.Cells(1, 1), QString());
        QCOMPARE(deleted.count(), 4);
    }

    void columnProperties()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("a|1")});
        // Beyond the grid every property reads as its default.
        QCOMPARE(grid.GetColSortStyle(9), TSortStyle::Alphabetic);
        QCOMPARE(grid.GetColDirection(9), false);
        QCOMPARE(grid.GetColAlignment(9), TColAlignment::Left);
        // Stored bytes outside the known values.
        grid.SetColSortStyle(1, 5);
        QCOMPARE(grid.GetColSortStyle(1), TSortStyle::Date);
        grid.SetColAlignment(1, 7);
        QCOMPARE(grid.GetColAlignment(1), TColAlignment::Right);
        grid.SetColAlignment(2, 2);
        QCOMPARE(grid.GetColAlignment(2), TColAlignment::Centre);

        grid.ResetDirections();
        QCOMPARE(grid.GetColDirection(0), false);
        QCOMPARE(grid.GetColDirection(2), true);

        // Shrinking drops a column's properties; growing again gives defaults.
        grid.SetColCount(2);
        grid.SetColCount(3);
        QCOMPARE(grid.GetColAlignment(2), TColAlignment::Left);
        QCOMPARE(grid.GetColDirection(2), false);
        QCOMPARE(grid.GetColSortStyle(1), TSortStyle::Date);
    }

    void clearing()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("a|1"), QStringLiteral("b|2")});
        grid.Sort(OneKey(1, TSortStyle::Alphabetic));
        grid.ClearRow(1);
        QCOMPARE(grid.Cells(1, 1), QString());
        QCOMPARE(grid.Cells(0, 1), QStringLiteral("1"));
        grid.ClearColumn(2);
        QCOMPARE(Column(grid, 2), QStringList({"", ""}));
        QCOMPARE(grid.Cells(2, 0), QStringLiteral("B"));
        QCOMPARE(grid.LastSort().Cols[0], 1);
        grid.ClearCells();
        QCOMPARE(Column(grid, 1), QStringList({"", ""}));
        QCOMPARE(Column(grid, 0), QStringList({"1", "2"}));
        QCOMPARE(grid.LastSort(), TSortRecord());
    }

    void rowCountKeepsOneDataRow()
    {
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A")}, {QStringLiteral("a"), QStringLiteral("b")});
        grid.SetRowCount(1);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.Cells(1, 0), QStringLiteral("A"));
    }

    void keysInsertAndDeleteRows_data()
    {
        QTest::addColumn<bool>("options");
        QTest::addColumn<int>("rowsAfterInsert");
        QTest::addColumn<int>("rowsAfterDelete");
        QTest::newRow("with the options") << true << 4 << 3;
        QTest::newRow("without them") << false << 3 << 3;
    }

    void keysInsertAndDeleteRows()
    {
        QFETCH(bool, options);
        QFETCH(int, rowsAfterInsert);
        QFETCH(int, rowsAfterDelete);
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("A")}, {QStringLiteral("a"), QStringLiteral("b")});
        if (options)
            grid.SetOptionsComplex(TCompGridOption::goInsertRow | TCompGridOption::goDeleteRow);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(2);
        QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(grid.RowCount(), rowsAfterInsert);
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(grid.RowCount(), rowsAfterDelete);
        QCOMPARE(Column(grid, 1), QStringList({"a", "b"}));
    }

    // -----------------------------------------------------------------
    // Drawing and the current cell

    void multiLineCellsFollowTheAlignment_data()
    {
        QTest::addColumn<TColAlignment>("alignment");
        QTest::newRow("right") << TColAlignment::Right;
        QTest::newRow("left") << TColAlignment::Left;
        QTest::newRow("centre") << TColAlignment::Centre;
    }

    void multiLineCellsFollowTheAlignment()
    {
        QFETCH(TColAlignment, alignment);
        TComplexGrid grid;
        Fill(grid, {QStringLiteral("Kommentar"), QStringLiteral("Nr")},
             {QStringLiteral("WWW\r\nWWW|x"), QStringLiteral("y|z")});
        grid.SetColWidths(1, 240);
        grid.SetColAlignment(1, alignment);
        const int lineHeight = grid.fontMetrics().height();
        grid.SetRowHeights(1, 2 * lineHeight + 6);
        grid.SetRow(2);
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        const QRect cell = grid.visualRect(grid.model()->index(0, 0));
        const QImage image = grid.viewport()->grab().toImage();
        const QColor background = image.pixelColor(cell.left() + 1, cell.top() + 1);
        // The inked columns of each line band.
        QList<int> minX{cell.right(), cell.right()}, maxX{cell.left(), cell.left()};
        for (int line = 0; line < 2; ++line) {
            const int top = cell.top() + 2 + line * lineHeight;
            for (int y = top; y < top + lineHeight; ++y) {
                for (int x = cell.left(); x < cell.right() - 1; ++x) {
                    if (image.pixelColor(x, y) != background) {
                        minX[line] = std::min(minX[line], x);
                        maxX[line] = std::max(maxX[line], x);
                    }
                }
            }
        }
        const int width = grid.fontMetrics().horizontalAdvance(QStringLiteral("WWW"));
        for (int line = 0; line < 2; ++line) {
            QVERIFY2(maxX[line] > minX[line], "line not drawn");
            const int centre = (minX[line] + maxX[line]) / 2 - cell.left();
            switch (alignment) {
            case TColAlignment::Right:
                QVERIFY(centre > cell.width() - width);
                break;
            case TColAlignment::Left:
                QVERIFY(centre < width);
                break;
            case TColAlignment::Centre:
                QVERIFY(std::abs(centre - cell.width() / 2) < 6);
                break;
            }
        }
    }

    void refusedCellIsNotChosen()
    {
        TComplexGrid grid;
        Fill(grid, findTitles, findRows);
        QList<QPoint> asked;
        connect(&grid, &TComplexGrid::OnSelectCell, &grid, [&](int col, int row, bool &canSelect) {
            asked.append(QPoint(col, row));
            canSelect = col != 3;
        });
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(1);
        asked.clear();

        const auto click = [&](int col, int row) {
            const QModelIndex index = grid.model()->index(row - grid.FixedRows(), col - grid.FixedCols());
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.visualRect(index).center());
        };
        click(3, 4);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Selection().Top, 1);
        QCOMPARE(asked, QList<QPoint>{QPoint(3, 4)});
        click(2, 4);
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Selection().Top, 4);
    }

    void fillAndSortMany()
    {
        // A grid of a few thousand rows sorts by three keys and keeps every
        // row whole.
        TComplexGrid grid;
        const int rows = 3000;
        grid.BeginUpdate();
        grid.SetColCount(4);
        grid.SetRowCount(rows + 1);
        grid.SetFixedCols(0);
        for (int row = 1; row <= rows; ++row) {
            grid.SetCells(0, row, QString::number(row));
            grid.SetCells(1, row, QStringLiteral("%1 km").arg((row * 7919) % 50));
            grid.SetCells(2, row, QStringLiteral("2004-%1-%2").arg(row % 12 + 1).arg(row % 28 + 1));
            grid.SetCells(3, row, QString::number(row * 3));
        }
        grid.EndUpdate();
        TSortRecord record;
        record.Cols = {1, 2, 0};
        record.Styles = {TSortStyle::Numeric, TSortStyle::Date, TSortStyle::Numeric};
        record.Directions = {TSortDirection::Ascending, TSortDirection::Descending, TSortDirection::Ascending};
        grid.Sort(record);
        for (int row = 1; row <= rows; ++row)
            QCOMPARE(grid.Cells(3, row).toInt(), grid.Cells(0, row).toInt() * 3);
        for (int row = 2; row <= rows; ++row) {
            int c = TSorting::CompareTexts(grid.Cells(1, row - 1), grid.Cells(1, row), TSortStyle::Numeric,
                                           TSortDirection::Ascending, false);
            if (c == 0)
                c = TSorting::CompareTexts(grid.Cells(2, row - 1), grid.Cells(2, row), TSortStyle::Date,
                                           TSortDirection::Descending, false);
            if (c == 0)
                c = TSorting::CompareTexts(grid.Cells(0, row - 1), grid.Cells(0, row), TSortStyle::Numeric,
                                           TSortDirection::Ascending, false);
            QVERIFY2(c < 0, qPrintable(QStringLiteral("rows %1 and %2").arg(row - 1).arg(row)));
        }
    }
};

QTEST_MAIN(tst_CompGrid)
#include "tst_CompGrid.moc"
