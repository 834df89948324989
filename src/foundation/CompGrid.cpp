#include "foundation/CompGrid.h"

#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <charconv>
#include <numeric>
#include <string>
#include <vector>

namespace
{
// Per-column arrays may not grow past this many entries.
constexpr int maxColumns = 134217726;

// The sort mark: a closed green triangle at the right end of the title.
const QColor sortMarkColour(0, 128, 0);
constexpr int sortMarkMinWidth = 24;
constexpr int sortMarkRoom = 8;

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Only the letters a to z have a case here; every other character (å, ä, ö
// among them) compares by its code as it stands.
char16_t foldCase(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

int compareAlphabetic(QStringView a, QStringView b, bool caseSensitive)
{
    const qsizetype n = std::min(a.size(), b.size());
    const QChar *pa = a.data();
    const QChar *pb = b.data();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = pa[i].unicode();
        char16_t cb = pb[i].unicode();
        if (!caseSensitive) {
            ca = foldCase(ca);
            cb = foldCase(cb);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// The number part of a text. A text whose number part is only a decimal
// point holds no number: it sorts with the empty cells instead of stopping
// the sort.
bool parseNumber(QStringView text, double &value)
{
    const qsizetype len = text.size();
    qsizetype i = 0;
    while (i < len && text[i] == u' ')
        ++i;
    std::string collected;
    if (i < len - 1 && (text[i] == u'+' || text[i] == u'-') && isDigit(text[i + 1])) {
        if (text[i] == u'-')
            collected.push_back('-');
        ++i;
    }
    bool separator = false;
    bool digits = false;
    for (; i < len; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            digits = true;
            collected.push_back(char(c.unicode()));
        } else if (c == u'.' && !separator) {
            separator = true;
            collected.push_back('.');
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    // from_chars does not depend on the process locale, unlike strtod.
    const char *begin = collected.data();
    const char *end = begin + collected.size();
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc()) {
        // Only a number too large or too small for a double gets here.
        value = (collected.front() == '-') ? -HUGE_VAL : HUGE_VAL;
    }
    return true;
}

qsizetype restStart(QStringView text)
{
    const qsizetype len = text.size();
    qsizetype i = 0;
    while (i < len && text[i] == u' ')
        ++i;
    if (i < len - 1) {
        if (text[i] == u'.' || ((text[i] == u'+' || text[i] == u'-') && isDigit(text[i + 1])))
            ++i;
    }
    while (i < len && (isDigit(text[i]) || text[i] == u'.'))
        ++i;
    return i;
}

// A date "yyyy-MM-dd" (month and day of one or two digits, blanks around
// allowed) as yyyymmdd; 0 when the text is no date. Same rules as
// TTulloUtilTimeDate::StrToDate, without its exception for every non-date.
int dateKey(QStringView text)
{
    const QStringView t = text.trimmed();
    int values[3] = {0, 0, 0};
    int part = 0;
    int length = 0;
    for (const QChar c : t) {
        if (c == u'-') {
            if (part == 2 || length == 0)
                return 0;
            ++part;
            length = 0;
            continue;
        }
        if (!isDigit(c))
            return 0;
        if (++length > (part == 0 ? 4 : 2))
            return 0;
        values[part] = values[part] * 10 + (c.unicode() - u'0');
    }
    if (part != 2 || length == 0)
        return 0;
    if (t.indexOf(u'-') != 4)
        return 0;
    if (values[0] < 1 || !TTulloUtilTimeDate::IsValidDate(values[0], values[1], values[2]))
        return 0;
    return values[0] * 10000 + values[1] * 100 + values[2];
}

// What one cell contributes to one sort key, worked out once per sort.
struct TCellKey
{
    QStringView text;
    double number = 0;
    qsizetype rest = 0;
    int date = 0;
    bool hasNumber = false;
};

TCellKey makeKey(QStringView text, TSortStyle style)
{
    TCellKey key;
    key.text = text;
    switch (style) {
    case TSortStyle::Alphabetic:
        break;
    case TSortStyle::Numeric:
        key.hasNumber = parseNumber(text, key.number);
        key.rest = restStart(text);
        break;
    case TSortStyle::Date:
        key.date = dateKey(text);
        break;
    }
    return key;
}

// Ascending comparison of two keys of one style.
int compareKeys(const TCellKey &a, const TCellKey &b, TSortStyle style, bool caseSensitive)
{
    switch (style) {
    case TSortStyle::Alphabetic:
        break;
    case TSortStyle::Numeric:
        if (a.hasNumber != b.hasNumber)
            return a.hasNumber ? -1 : 1;
        if (a.hasNumber && a.number != b.number)
            return a.number < b.number ? -1 : 1;
        return compareAlphabetic(a.text.mid(a.rest), b.text.mid(b.rest), caseSensitive);
    case TSortStyle::Date:
        if (a.date != 0 && b.date != 0)
            return a.date == b.date ? 0 : (a.date < b.date ? -1 : 1);
        break;
    }
    return compareAlphabetic(a.text, b.text, caseSensitive);
}

bool containsText(QStringView cell, QStringView folded, bool matchCase)
{
    const qsizetype n = folded.size();
    if (n == 0 || cell.size() < n)
        return false;
    const QChar *c = cell.data();
    const QChar *f = folded.data();
    const char16_t first = f[0].unicode();
    const qsizetype last = cell.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        const char16_t c0 = matchCase ? c[i].unicode() : foldCase(c[i].unicode());
        if (c0 != first)
            continue;
        qsizetype k = 1;
        for (; k < n; ++k) {
            const char16_t ck = matchCase ? c[i + k].unicode() : foldCase(c[i + k].unicode());
            if (ck != f[k].unicode())
                break;
        }
        if (k == n)
            return true;
    }
    return false;
}

QString foldText(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = QChar(foldCase(c.unicode()));
    return result;
}

// The lines of a cell: split at CR, an LF right after a CR skipped.
QList<QStringView> cellLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            lines.append(text.mid(start, i - start));
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    lines.append(text.mid(start));
    return lines;
}

enum class TLineAlignment { Right, Left, Centre, Title };

// Draws the lines of a text in a cell: line i at top + 2 + i * text height,
// placed by the alignment; a title is centred in the width less the room of
// the sort mark. Never starts left of left + 2.
void drawLines(QPainter *painter, const QRect &rect, QStringView text, TLineAlignment alignment, int markRoom)
{
    const QFontMetrics metrics = painter->fontMetrics();
    const int left = rect.x();
    const int right = rect.x() + rect.width();
    const QList<QStringView> lines = cellLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].toString();
        const int width = metrics.horizontalAdvance(line);
        int x = left + 2;
        switch (alignment) {
        case TLineAlignment::Right:
            x = right - width - 2;
            break;
        case TLineAlignment::Left:
            break;
        case TLineAlignment::Centre:
            x = left + (rect.width() - width) / 2;
            break;
        case TLineAlignment::Title:
            x = left + (rect.width() - width - markRoom) / 2;
            break;
        }
        x = std::max(x, left + 2);
        const int y = rect.y() + 2 + i * metrics.height();
        painter->drawText(QPoint(x, y + metrics.ascent()), line);
    }
}

TLineAlignment lineAlignment(TColAlignment alignment)
{
    switch (alignment) {
    case TColAlignment::Right:
        return TLineAlignment::Right;
    case TColAlignment::Left:
        return TLineAlignment::Left;
    case TColAlignment::Centre:
        return TLineAlignment::Centre;
    }
    return TLineAlignment::Left;
}
} // namespace

TSortStyle SortStyleFromByte(int value)
{
    if (value == 0)
        return TSortStyle::Alphabetic;
    if (value == 1)
        return TSortStyle::Numeric;
    return TSortStyle::Date;
}

TColAlignment ColAlignmentFromByte(int value)
{
    if (value == 1)
        return TColAlignment::Left;
    if (value == 2)
        return TColAlignment::Centre;
    return TColAlignment::Right;
}

// ---------------------------------------------------------------------------
// The parts of the view: title band, cell drawing, the gate of the current cell

// The title band: the fixed rows, each in its own band, row 0 centred, with
// the sort mark; title clicks sort.
class TComplexGridHeader final : public QHeaderView
{
public:
    explicit TComplexGridHeader(TComplexGrid &grid) : QHeaderView(Qt::Horizontal, &grid), m_grid(grid)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setMinimumSectionSize(0);
        connect(this, &QHeaderView::sectionPressed, this, [this](int section) { m_pressedSection = section; });
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option;
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        option.text.clear();
        option.sortIndicator = QStyleOptionHeader::None;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        painter->save();
        painter->setClipRect(rect);
        painter->setPen(palette().color(QPalette::ButtonText));
        m_grid.PaintTitle(painter, rect, logicalIndex + m_grid.FixedCols());
        painter->restore();
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressedSection = -1;
        QHeaderView::mousePressEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        const int col = TitleColumn(event->position().toPoint());
        Guard([&] { m_grid.TitleMouseDown(col); });
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QHeaderView::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        const int col = TitleColumn(event->position().toPoint());
        m_pressedSection = -1;
        Guard([&] { m_grid.TitleMouseUp(col); });
    }

private:
    // The grid column of the title under the point, or -1 while a column is
    // being resized or the point is not in row 0.
    int TitleColumn(const QPoint &pos) const
    {
        if (m_pressedSection < 0)
            return -1;
        if (pos.y() < 0 || pos.y() >= m_grid.RowHeights(0))
            return -1;
        const int section = logicalIndexAt(pos.x());
        return section < 0 ? -1 : section + m_grid.FixedCols();
    }

    TComplexGrid &m_grid;
    int m_pressedSection = -1;
};

class TComplexGridDelegate final : public QStyledItemDelegate
{
public:
    explicit TComplexGridDelegate(TComplexGrid &grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int col = index.column() + m_grid.FixedCols();
        const int row = index.row() + m_grid.FixedRows();
        if (!m_grid.DefaultDrawing()) {
            QStyledItemDelegate::paint(painter, option, index);
        } else {
            QStyleOptionViewItem cell = option;
            initStyleOption(&cell, index);
            const QString text = cell.text;
            cell.text.clear();
            const QWidget *widget = cell.widget;
            QStyle *style = widget ? widget->style() : QApplication::style();
            style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
            painter->save();
            painter->setClipRect(option.rect);
            painter->setFont(cell.font);
            const bool selected = cell.state.testFlag(QStyle::State_Selected);
            painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            drawLines(painter, option.rect, text, lineAlignment(m_grid.GetColAlignment(col)), 0);
            painter->restore();
        }
        painter->save();
        painter->setClipRect(option.rect);
        emit m_grid.OnDrawCell(col, row, painter, option.rect);
        painter->restore();
    }

private:
    TComplexGrid &m_grid;
};

// Every change of the current cell passes SelectCell first; a refused cell
// leaves the current cell where it was.
class TComplexGridSelectionModel final : public QItemSelectionModel
{
public:
    TComplexGridSelectionModel(QAbstractItemModel *model, TComplexGrid &grid)
        : QItemSelectionModel(model, &grid), m_grid(grid)
    {
    }

    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index.isValid()) {
            if (!currentIndex().isValid()) {
                // The grid puts its current cell back after a reset of the
                // view (a refill, a sort, a changed count): no choice of the
                // user or the program, so nothing is asked.
                m_grid.m_selectedCol = index.column() + m_grid.FixedCols();
                m_grid.m_selectedRow = index.row() + m_grid.FixedRows();
            } else if (!m_grid.AskSelectCell(index)) {
                return;
            }
        }
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    TComplexGrid &m_grid;
};

// ---------------------------------------------------------------------------
// TSorting

void TSorting::SortGrid(TComplexGrid *grid, const TSortRecord &record)
{
    if (!grid)
        throw EComplexGrid(QStringLiteral("No grid to sort"));
    const int first = grid->FixedRows();
    const int rows = grid->RowCount();
    if (rows <= first + 1)
        return;
    const int cols = grid->ColCount();
    if (record.Cols[0] < 0 || record.Cols[0] >= cols)
        throw EInvalidCol(QStringLiteral("Can't sort on first column"));
    if (record.Cols[1] < -1 || record.Cols[1] >= cols)
        throw EInvalidCol(QStringLiteral("Can't sort on second column"));
    if (record.Cols[2] < -1 || record.Cols[2] >= cols)
        throw EInvalidCol(QStringLiteral("Can't sort on third column"));

    m_grid = grid;
    m_cols = record.Cols;
    m_styles = record.Styles;
    m_directions = record.Directions;
    m_caseSensitive = record.CaseSensitive;

    // Keys are worked out once per row; the comparisons then neither parse
    // nor allocate. The texts stay alive in `texts` for the views in `keys`.
    const int n = rows - first;
    std::vector<int> active;
    for (int k = 0; k < 3; ++k) {
        if (k == 0 || m_cols[std::size_t(k)] != -1)
            active.push_back(k);
    }
    std::vector<std::vector<QString>> texts(active.size());
    std::vector<std::vector<TCellKey>> keys(active.size());
    for (std::size_t a = 0; a < active.size(); ++a) {
        const std::size_t k = std::size_t(active[a]);
        texts[a].reserve(std::size_t(n));
        keys[a].reserve(std::size_t(n));
        for (int r = 0; r < n; ++r) {
            texts[a].push_back(grid->Cells(m_cols[k], first + r));
            keys[a].push_back(makeKey(texts[a].back(), m_styles[k]));
        }
    }

    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (std::size_t a = 0; a < active.size(); ++a) {
            const std::size_t k = std::size_t(active[a]);
            int c = compareKeys(keys[a][std::size_t(x)], keys[a][std::size_t(y)], m_styles[k], m_caseSensitive[k]);
            if (m_directions[k] == TSortDirection::Descending)
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    grid->PermuteDataRows(order);
    m_grid = nullptr;
}

int TSorting::CompareTexts(const QString &a, const QString &b, TSortStyle style, TSortDirection direction,
                           bool caseSensitive)
{
    const int c = compareKeys(makeKey(a, style), makeKey(b, style), style, caseSensitive);
    return direction == TSortDirection::Descending ? -c : c;
}

double TSorting::Number(const QString &text, bool *found)
{
    double value = 0;
    const bool has = parseNumber(text, value);
    if (found)
        *found = has;
    return has ? value : NoNumber;
}

QString TSorting::Rest(const QString &text)
{
    return text.mid(restStart(text));
}

// ---------------------------------------------------------------------------
// TComplexGrid

TComplexGrid::TComplexGrid(QWidget *parent)
    : TStringGrid(parent), m_header(new TComplexGridHeader(*this)), m_sorting(std::make_unique<TSorting>())
{
    setHorizontalHeader(m_header);
    // A title click only sorts; it never selects the column.
    disconnect(m_header, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(m_header, &QHeaderView::sectionEntered, this, nullptr);
    QItemSelectionModel *old = selectionModel();
    setSelectionModel(new TComplexGridSelectionModel(model(), *this));
    delete old;
    setItemDelegate(new TComplexGridDelegate(*this));
    setSortingEnabled(false);
    setWordWrap(false);

    m_defaultRowHeight = std::max(15, fontMetrics().height() + 3);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { AfterReset(); });

    SyncColumnProps();
    BeginUpdate();
    EndUpdate();
}

TComplexGrid::~TComplexGrid() = default;

void TComplexGrid::AfterReset()
{
    SyncColumnProps();
    if (m_rowHeights.size() > RowCount())
        m_rowHeights.resize(RowCount());
    for (int row = FixedRows(); row < m_rowHeights.size(); ++row) {
        if (m_rowHeights[row] > 0)
            verticalHeader()->resizeSection(row - FixedRows(), m_rowHeights[row]);
    }
    ApplyTitleHeight();
}

void TComplexGrid::ApplyTitleHeight()
{
    if (FixedRows() > 0)
        m_header->setFixedHeight(TitleHeight());
    m_header->viewport()->update();
}

int TComplexGrid::TitleHeight() const
{
    int height = 0;
    for (int row = 0; row < FixedRows(); ++row)
        height += RowHeights(row);
    return height;
}

void TComplexGrid::SetRowCount(int count)
{
    if (FixedRows() > 0 && count < FixedRows() + 1)
        count = FixedRows() + 1;
    TStringGrid::SetRowCount(count);
}

void TComplexGrid::SetColCount(int count)
{
    if (count >= maxColumns)
        throw EComplexGrid(QStringLiteral("Grid too large"));
    if (count < 0)
        throw EComplexGrid(QStringLiteral("Too many columns deleted"));
    TStringGrid::SetColCount(count);
    SyncColumnProps();
}

void TComplexGrid::SyncColumnProps()
{
    // Existing entries are kept, new ones take the defaults.
    if (m_columns.size() != ColCount())
        m_columns.resize(ColCount());
}

void TComplexGrid::SetOptionsComplex(TCompGridOptions options)
{
    m_options = options;
    m_header->viewport()->update();
}

void TComplexGrid::CheckPropertyCol(int col) const
{
    if (col < 0 || col >= ColCount())
        throw EInvalidCol(QStringLiteral("Invalid column number"));
}

TSortStyle TComplexGrid::GetColSortStyle(int col) const
{
    if (col < 0 || col >= ColCount() || col >= m_columns.size())
        return TSortStyle::Alphabetic;
    return m_columns[col].style;
}

void TComplexGrid::SetColSortStyle(int col, TSortStyle style)
{
    CheckPropertyCol(col);
    SyncColumnProps();
    m_columns[col].style = style;
}

void TComplexGrid::SetColSortStyle(int col, int style)
{
    SetColSortStyle(col, SortStyleFromByte(style));
}

bool TComplexGrid::GetColDirection(int col) const
{
    if (col < 0 || col >= ColCount() || col >= m_columns.size())
        return false;
    return m_columns[col].descending;
}

void TComplexGrid::SetColDirection(int col, bool descending)
{
    CheckPropertyCol(col);
    SyncColumnProps();
    m_columns[col].descending = descending;
}

TColAlignment TComplexGrid::GetColAlignment(int col) const
{
    if (col < 0 || col >= ColCount() || col >= m_columns.size())
        return TColAlignment::Left;
    return m_columns[col].alignment;
}

void TComplexGrid::SetColAlignment(int col, TColAlignment alignment)
{
    CheckPropertyCol(col);
    SyncColumnProps();
    m_columns[col].alignment = alignment;
    viewport()->update();
}

void TComplexGrid::SetColAlignment(int col, int alignment)
{
    SetColAlignment(col, ColAlignmentFromByte(alignment));
}

void TComplexGrid::ResetDirections()
{
    SyncColumnProps();
    for (int col = FixedCols(); col < ColCount(); ++col)
        m_columns[col].descending = true;
}

void TComplexGrid::Sort(const TSortRecord &record)
{
    bool cursor = true;
    BeforeSorted(cursor);
    const bool busy = cursor;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_sorting->SortGrid(this, record);
    } catch (...) {
        EndSort(busy);
        throw;
    }
    m_lastSort = record;
    EndSort(busy);
}

void TComplexGrid::ForgetLastSort()
{
    m_lastSort = TSortRecord();
    m_header->viewport()->update();
}

void TComplexGrid::EndSort(bool busy)
{
    bool cursor = true;
    // The grid takes back the busy cursor it showed, whatever the handler
    // says, so that it never leaves an override of its own behind.
    struct TRestore
    {
        bool on;
        ~TRestore()
        {
            if (on)
                QGuiApplication::restoreOverrideCursor();
        }
    } restore{busy};
    AfterSorted(cursor);
    m_header->viewport()->update();
    viewport()->update();
}

void TComplexGrid::PermuteDataRows(const QVector<int> &order)
{
    for (int r = 0; r < order.size(); ++r) {
        if (order[r] != r) {
            MoveRows(FixedRows(), order);
            return;
        }
    }
}

void TComplexGrid::ClearCells()
{
    BeginUpdate();
    for (int row = FixedRows(); row < RowCount(); ++row) {
        for (int col = FixedCols(); col < ColCount(); ++col)
            SetCells(col, row, QString());
    }
    m_lastSort = TSortRecord();
    EndUpdate();
    m_header->viewport()->update();
}

void TComplexGrid::ClearRow(int row)
{
    if (row >= 0 && row < FixedRows())
        throw EInvalidRow(QStringLiteral("Can't clear fixed rows"));
    if (row < 0 || row >= RowCount())
        throw EInvalidRow(QStringLiteral("Invalid row number"));
    BeginUpdate();
    for (int col = FixedCols(); col < ColCount(); ++col)
        SetCells(col, row, QString());
    EndUpdate();
}

void TComplexGrid::ClearColumn(int col)
{
    if (col >= 0 && col < FixedCols())
        throw EInvalidCol(QStringLiteral("Can't clear fixed columns"));
    if (col < 0 || col >= ColCount())
        throw EInvalidCol(QStringLiteral("Invalid column number"));
    BeginUpdate();
    for (int row = FixedRows(); row < RowCount(); ++row)
        SetCells(col, row, QString());
    EndUpdate();
}

void TComplexGrid::InsertRow(int row)
{
    if (row < FixedRows())
        throw EInvalidRow(QStringLiteral("Can't insert before fixed rows"));
    if (row >= RowCount())
        throw EInvalidRow(QStringLiteral("Can at most insert before the last grid row"));
    BeginUpdate();
    const int last = RowCount();
    SetRowCount(last + 1);
    for (int r = last; r > row; --r) {
        for (int col = FixedCols(); col < ColCount(); ++col)
            SetCells(col, r, Cells(col, r - 1));
    }
    for (int col = FixedCols(); col < ColCount(); ++col)
        SetCells(col, row, QString());
    if (!m_rowHeights.isEmpty()) {
        m_rowHeights.resize(RowCount());
        m_rowHeights.insert(row, 0);
        m_rowHeights.resize(RowCount());
    }
    EndUpdate();
    RowInserted();
    viewport()->update();
}

void TComplexGrid::DeleteRow(int row)
{
    if (row < FixedRows())
        throw EInvalidRow(QStringLiteral("Can't delete before fixed rows"));
    if (row >= RowCount())
        throw EInvalidRow(QStringLiteral("Can at most delete the last grid row"));
    BeginUpdate();
    if (FixedRows() > 0 && RowCount() == FixedRows() + 1) {
        // The only data row: what is left is one empty data row, and the
        // last sort is forgotten with the data.
        for (int col = 0; col < ColCount(); ++col)
            SetCells(col, row, QString());
        if (!m_rowHeights.isEmpty() && row < m_rowHeights.size())
            m_rowHeights[row] = 0;
        ClearCells();
    } else {
        for (int r = row; r < RowCount() - 1; ++r) {
            for (int col = 0; col < ColCount(); ++col)
                SetCells(col, r, Cells(col, r + 1));
        }
        if (!m_rowHeights.isEmpty()) {
            m_rowHeights.resize(RowCount());
            m_rowHeights.remove(row);
        }
        TStringGrid::SetRowCount(RowCount() - 1);
    }
    EndUpdate();
    RowDeleted();
    viewport()->update();
}

void TComplexGrid::InsertColumn(int col)
{
    if (col < FixedCols())
        throw EInvalidCol(QStringLiteral("Can't insert before fixed columns"));
    if (col >= ColCount())
        throw EInvalidCol(QStringLiteral("Can at most insert before the last grid column"));
    BeginUpdate();
    const int last = ColCount();
    m_savedWidth = ColWidths(last - 1);
    SetColCount(last + 1);
    // Whole columns move right with their widths and properties; the new
    // column is empty with default properties.
    for (int c = last; c > col; --c) {
        for (int row = 0; row < RowCount(); ++row)
            SetCells(c, row, Cells(c - 1, row));
        SetColWidths(c, ColWidths(c - 1));
        m_columns[c] = m_columns[c - 1];
    }
    for (int row = 0; row < RowCount(); ++row)
        SetCells(col, row, QString());
    SetColWidths(col, DefaultColWidth());
    m_columns[col] = TColumnProps();
    SetColWidths(last, m_savedWidth);
    EndUpdate();
    ColInserted();
    viewport()->update();
}

void TComplexGrid::DeleteColumn(int col)
{
    if (col < FixedCols())
        throw EInvalidCol(QStringLiteral("Can't delete fixed columns"));
    if (col >= ColCount())
        throw EInvalidCol(QStringLiteral("Can at most delete the last grid column"));
    if (ColCount() == FixedCols() + 1) {
        ClearColumn(col);
    } else {
        BeginUpdate();
        for (int c = col; c < ColCount() - 1; ++c) {
            for (int row = 0; row < RowCount(); ++row)
                SetCells(c, row, Cells(c + 1, row));
            SetColWidths(c, ColWidths(c + 1));
            m_columns[c] = m_columns[c + 1];
        }
        SetColCount(ColCount() - 1);
        EndUpdate();
    }
    ColDeleted();
    viewport()->update();
}

TGridRect TComplexGrid::Selection() const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return TGridRect();
    int left = ColCount(), top = RowCount(), right = -1, bottom = -1;
    for (const QItemSelectionRange &range : selection) {
        left = std::min(left, range.left());
        top = std::min(top, range.top());
        right = std::max(right, range.right());
        bottom = std::max(bottom, range.bottom());
    }
    if (right < 0)
        return TGridRect();
    return TGridRect{left + FixedCols(), top + FixedRows(), right + FixedCols(), bottom + FixedRows()};
}

void TComplexGrid::Find(const QString &text, bool fromCursor, bool matchCase, bool backwards, bool selectionOnly)
{
    m_findText = text;
    m_findMatchCase = matchCase;
    m_findBackwards = backwards;
    m_continuing = false;
    if (text.isEmpty()) {
        FindNotSuccess();
        return;
    }
    TGridRect area{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
    if (selectionOnly) {
        area = Selection();
        if (area.IsEmpty()) {
            FindNotSuccess();
            return;
        }
    }
    const int cursorCol = std::clamp(Col(), area.Left, std::max(area.Left, area.Right));
    const int cursorRow = std::clamp(Row(), area.Top, std::max(area.Top, area.Bottom));
    if (backwards) {
        m_findFirstCol = area.Right;
        m_findLastCol = area.Left;
        m_findEndRow = area.Top;
    } else {
        m_findFirstCol = area.Left;
        m_findLastCol = area.Right;
        m_findEndRow = area.Bottom;
    }
    if (fromCursor) {
        m_findStartCol = cursorCol;
        m_findStartRow = cursorRow;
    } else {
        m_findStartCol = m_findFirstCol;
        m_findStartRow = backwards ? area.Bottom : area.Top;
    }
    m_findPosCol = m_findStartCol;
    m_findPosRow = m_findStartRow;
    if (backwards && !fromCursor) {
        // From the bottom right of the whole area: the position is put just
        // past it so that the last cell, and in a whole-row grid the last
        // row, are searched too.
        m_findPosCol = area.Right + 1;
        m_findPosRow = area.Bottom + 1;
    }
    Search();
}

void TComplexGrid::FindNext()
{
    m_continuing = true;
    if (m_findText.isEmpty()) {
        FindNotSuccess();
        return;
    }
    Search();
}

void TComplexGrid::Search()
{
    const bool backwards = m_findBackwards;
    const int step = backwards ? -1 : 1;
    const bool wholeRows = selectionBehavior() == QAbstractItemView::SelectRows;
    const bool afterPosition = backwards || m_continuing;
    const QString needle = m_findMatchCase ? m_findText : foldText(m_findText);

    // Rows before the search position cannot hold a tested cell; start at it.
    int row = m_findStartRow;
    if (afterPosition)
        row = backwards ? std::min(row, m_findPosRow) : std::max(row, m_findPosRow);
    const auto rowInRange = [&](int r) { return backwards ? r >= m_findEndRow : r <= m_findEndRow; };
    for (; rowInRange(row); row += step) {
        if (row < 0 || row >= RowCount())
            continue;
        if (afterPosition && wholeRows && row == m_findPosRow)
            continue;
        for (int col = m_findFirstCol; backwards ? col >= m_findLastCol : col <= m_findLastCol; col += step) {
            if (row == m_findStartRow && (backwards ? col > m_findStartCol : col < m_findStartCol))
                continue;
            if (afterPosition && row == m_findPosRow && (backwards ? col >= m_findPosCol : col <= m_findPosCol))
                continue;
            if (col < 0 || col >= ColCount())
                continue;
            if (containsText(Cells(col, row), needle, m_findMatchCase)) {
                m_findPosCol = col;
                m_findPosRow = row;
                FindSuccess(col, row);
                return;
            }
        }
    }
    // Past the end in the direction of the search, so that FindNext finds
    // nothing more either.
    m_findPosCol = m_findLastCol + step;
    m_findPosRow = m_findEndRow + step;
    FindNotSuccess();
}

int TComplexGrid::ColumnAt(int x) const
{
    const QHeaderView *rows = verticalHeader();
    if (FixedCols() > 0 && rows->isVisible() && x >= rows->x() && x < rows->x() + rows->width()) {
        int left = rows->x();
        for (int col = 0; col < FixedCols(); ++col) {
            const int width = ColWidths(col);
            if (x >= left && x < left + width)
                return col;
            left += width;
        }
        return -1;
    }
    const int section = m_header->logicalIndexAt(x - viewport()->x());
    return section < 0 ? -1 : section + FixedCols();
}

int TComplexGrid::RowAt(int y) const
{
    if (FixedRows() > 0 && m_header->isVisible() && y >= m_header->y() && y < m_header->y() + m_header->height()) {
        int top = m_header->y();
        for (int row = 0; row < FixedRows(); ++row) {
            const int height = RowHeights(row);
            if (y >= top && y < top + height)
                return row;
            top += height;
        }
        return -1;
    }
    const int section = verticalHeader()->logicalIndexAt(y - viewport()->y());
    return section < 0 ? -1 : section + FixedRows();
}

void TComplexGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(1, height);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    AfterReset();
}

int TComplexGrid::RowHeights(int row) const
{
    if (row < 0 || row >= RowCount())
        throw EInvalidRow(QStringLiteral("Invalid row number"));
    if (row < m_rowHeights.size() && m_rowHeights[row] > 0)
        return m_rowHeights[row];
    return m_defaultRowHeight;
}

void TComplexGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount())
        throw EInvalidRow(QStringLiteral("Invalid row number"));
    if (m_rowHeights.size() < RowCount())
        m_rowHeights.resize(RowCount());
    m_rowHeights[row] = std::max(0, height);
    if (row < FixedRows())
        ApplyTitleHeight();
    else
        verticalHeader()->resizeSection(row - FixedRows(), RowHeights(row));
}

void TComplexGrid::SetDefaultDrawing(bool on)
{
    m_defaultDrawing = on;
    viewport()->update();
}

void TComplexGrid::AssignColumnProperties(const TStringGrid &source)
{
    TStringGrid::AssignColumnProperties(source);
    const auto *other = dynamic_cast<const TComplexGrid *>(&source);
    if (!other)
        return;
    m_columns = other->m_columns;
    SyncColumnProps();
    m_options = other->m_options;
    m_defaultDrawing = other->m_defaultDrawing;
}

void TComplexGrid::PaintTitle(QPainter *painter, const QRect &rect, int col) const
{
    const bool sorting = m_options.testFlag(TCompGridOption::goSorting);
    int top = rect.y();
    for (int row = 0; row < FixedRows(); ++row) {
        const int height = RowHeights(row);
        const QRect band(rect.x(), top, rect.width(), height);
        if (row == 0)
            drawLines(painter, band, Cells(col, 0), TLineAlignment::Title, sorting ? sortMarkRoom : 0);
        else
            drawLines(painter, band, Cells(col, row), lineAlignment(GetColAlignment(col)), 0);
        top += height;
    }
    if (!sorting || FixedRows() == 0 || col != m_lastSort.Cols[0] || rect.width() < sortMarkMinWidth)
        return;
    const int r = rect.x() + rect.width();
    const int t = rect.y();
    QPolygon mark;
    if (m_lastSort.Directions[0] == TSortDirection::Descending)
        mark << QPoint(r - 10, t + 4) << QPoint(r - 6, t + 12) << QPoint(r - 2, t + 4) << QPoint(r - 10, t + 4);
    else
        mark << QPoint(r - 10, t + 12) << QPoint(r - 6, t + 4) << QPoint(r - 2, t + 12) << QPoint(r - 10, t + 12);
    painter->setPen(QPen(sortMarkColour, 2));
    painter->drawPolyline(mark);
}

bool TComplexGrid::AskSelectCell(const QModelIndex &index)
{
    const int col = index.column() + FixedCols();
    const int row = index.row() + FixedRows();
    // A view reset puts the same current cell back: that is no new choice.
    if (col == m_selectedCol && row == m_selectedRow)
        return true;
    if (col == m_refusedCol && row == m_refusedRow)
        return false;
    bool canSelect = true;
    Guard([&] { canSelect = SelectCell(col, row); });
    if (canSelect) {
        m_selectedCol = col;
        m_selectedRow = row;
    }
    return canSelect;
}

// A refused cell is remembered from the press to the release of the mouse,
// so that one click asks once.
void TComplexGrid::mousePressEvent(QMouseEvent *event)
{
    m_refusedCol = m_refusedRow = -1;
    TStringGrid::mousePressEvent(event);
}

void TComplexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    TStringGrid::mouseReleaseEvent(event);
    m_refusedCol = m_refusedRow = -1;
}

bool TComplexGrid::SelectCell(int col, int row)
{
    m_findPosCol = col;
    m_findPosRow = row;
    bool canSelect = true;
    emit OnSelectCell(col, row, canSelect);
    return canSelect;
}

QItemSelectionModel::SelectionFlags TComplexGrid::selectionCommand(const QModelIndex &index,
                                                                    const QEvent *event) const
{
    // A refused cell is neither made current nor selected, by mouse or keys.
    // Only a command that would change something asks, so that the release
    // after a press does not ask a second time.
    const QItemSelectionModel::SelectionFlags command = TStringGrid::selectionCommand(index, event);
    if (command != QItemSelectionModel::NoUpdate && index.isValid() && event) {
        auto *self = const_cast<TComplexGrid *>(this);
        if (!self->AskSelectCell(index)) {
            self->m_refusedCol = index.column() + FixedCols();
            self->m_refusedRow = index.row() + FixedRows();
            return QItemSelectionModel::NoUpdate;
        }
    }
    return command;
}

void TComplexGrid::TitleMouseDown(int col)
{
    m_pressedColumn = (col >= 0 && m_options.testFlag(TCompGridOption::goSorting)) ? col : -1;
}

void TComplexGrid::TitleMouseUp(int col)
{
    const int pressed = m_pressedColumn;
    m_pressedColumn = -1;
    if (col < 0 || col != pressed || !m_options.testFlag(TCompGridOption::goSorting))
        return;
    if (FixedRows() == 0 || col < FixedCols() || col >= ColCount())
        return;
    // The clicked column becomes key 1 in the opposite of its last direction;
    // the earlier keys 1 and 2 move down to 2 and 3.
    TSortRecord record;
    const bool descending = !GetColDirection(col);
    record.Cols = {col, m_lastSort.Cols[0], m_lastSort.Cols[1]};
    record.Styles = {GetColSortStyle(col), m_lastSort.Styles[0], m_lastSort.Styles[1]};
    record.Directions = {descending ? TSortDirection::Descending : TSortDirection::Ascending,
                         m_lastSort.Directions[0], m_lastSort.Directions[1]};
    record.CaseSensitive = {false, m_lastSort.CaseSensitive[0], m_lastSort.CaseSensitive[1]};
    Sort(record);
    SetColDirection(col, descending);
}

void TComplexGrid::keyPressEvent(QKeyEvent *event)
{
    m_refusedCol = m_refusedRow = -1;
    TStringGrid::keyPressEvent(event);
    m_refusedCol = m_refusedRow = -1;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const int key = event->key();
    if (key != Qt::Key_Insert && key != Qt::Key_Delete)
        return;
    Guard([&] {
        if (modifiers == Qt::ControlModifier) {
            if (key == Qt::Key_Insert && m_options.testFlag(TCompGridOption::goInsertRow))
                InsertRow(Row());
            else if (key == Qt::Key_Delete && m_options.testFlag(TCompGridOption::goDeleteRow))
                DeleteRow(Row());
        } else if (modifiers == Qt::AltModifier) {
            if (key == Qt::Key_Insert && m_options.testFlag(TCompGridOption::goInsertColumn))
                InsertColumn(Col());
            else if (key == Qt::Key_Delete && m_options.testFlag(TCompGridOption::goDeleteColumn))
                DeleteColumn(Col());
        }
    });
}

void TComplexGrid::RowInserted()
{
    emit OnRowInserted();
}

void TComplexGrid::RowDeleted()
{
    emit OnRowDeleted();
}

void TComplexGrid::ColInserted()
{
    emit OnColInserted();
}

void TComplexGrid::ColDeleted()
{
    emit OnColDeleted();
}

void TComplexGrid::BeforeSorted(bool &cursor)
{
    emit OnBeforeSorted(cursor);
}

void TComplexGrid::AfterSorted(bool &cursor)
{
    emit OnAfterSorted(cursor);
}

void TComplexGrid::FindSuccess(int col, int row)
{
    emit OnFindSuccess(col, row);
}

void TComplexGrid::FindNotSuccess()
{
    emit OnFindNotSuccess();
}
