#include "foundation/StringGrid.h"

#include "foundation/Exceptions.h"

#include <QHeaderView>
#include <QScopedValueRollback>

TStringGridModel::TStringGridModel(TStringGrid &grid) : QAbstractTableModel(&grid), m_grid(grid)
{
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(0, m_grid.m_rowCount - m_grid.m_fixedRows);
}

int TStringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(0, m_grid.m_colCount - m_grid.m_fixedCols);
}

QVariant TStringGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_grid.m_cells[index.row() + m_grid.m_fixedRows][index.column() + m_grid.m_fixedCols];
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    QStringList lines;
    if (orientation == Qt::Horizontal) {
        const int col = section + m_grid.m_fixedCols;
        if (col >= m_grid.m_colCount)
            return QVariant();
        for (int row = 0; row < m_grid.m_fixedRows; ++row)
            lines.append(m_grid.m_cells[row][col]);
        return lines.join(QLatin1Char('\n'));
    }
    const int row = section + m_grid.m_fixedRows;
    if (row >= m_grid.m_rowCount)
        return QVariant();
    for (int col = 0; col < m_grid.m_fixedCols; ++col)
        lines.append(m_grid.m_cells[row][col]);
    return lines.join(QLatin1Char(' '));
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && m_grid.m_editing)
        result |= Qt::ItemIsEditable;
    return result;
}

bool TStringGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_grid.m_editing)
        return false;
    const int row = index.row() + m_grid.m_fixedRows;
    const int col = index.column() + m_grid.m_fixedCols;
    m_grid.SetCells(col, row, value.toString());
    emit m_grid.CellEdited(col, row);
    return true;
}

TStringGrid::TStringGrid(QWidget *parent) : QTableView(parent), m_model(new TStringGridModel(*this))
{
    m_cells.resize(m_rowCount);
    for (auto &row : m_cells)
        row.resize(m_colCount);
    m_colWidths.fill(m_defaultColWidth, m_colCount);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(18);
    Reset();
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckCol(int col) const
{
    if (col < 0 || col >= m_colCount)
        throw EInvalidCol(QStringLiteral("Invalid column number"));
}

void TStringGrid::CheckRow(int row) const
{
    if (row < 0 || row >= m_rowCount)
        throw EInvalidRow(QStringLiteral("Invalid row number"));
}

void TStringGrid::BeginUpdate()
{
    if (m_updateLevel++ == 0)
        m_model->beginResetModel();
}

void TStringGrid::EndUpdate()
{
    if (m_updateLevel == 0)
        return;
    if (--m_updateLevel == 0) {
        m_model->endResetModel();
        ApplyWidths();
        verticalHeader()->setVisible(m_fixedCols > 0);
        horizontalHeader()->setVisible(m_fixedRows > 0);
        ShowCurrent();
    }
}

void TStringGrid::Reset()
{
    BeginUpdate();
    EndUpdate();
}

void TStringGrid::SetColCount(int count)
{
    if (count < 0)
        throw EInvalidCol(QStringLiteral("Invalid column count"));
    if (count == m_colCount)
        return;
    BeginUpdate();
    m_colCount = count;
    for (auto &row : m_cells)
        row.resize(count);
    m_colWidths.resize(count);
    for (int col = 0; col < count; ++col) {
        if (m_colWidths[col] <= 0)
            m_colWidths[col] = m_defaultColWidth;
    }
    if (m_fixedCols >= count)
        m_fixedCols = qMax(0, count - 1);
    KeepCurrentInside();
    EndUpdate();
}

void TStringGrid::SetRowCount(int count)
{
    if (count < 0)
        throw EInvalidRow(QStringLiteral("Invalid row count"));
    if (count == m_rowCount)
        return;
    BeginUpdate();
    const int old = m_rowCount;
    m_rowCount = count;
    m_cells.resize(count);
    for (int row = old; row < count; ++row)
        m_cells[row].resize(m_colCount);
    if (m_fixedRows >= count)
        m_fixedRows = qMax(0, count - 1);
    KeepCurrentInside();
    EndUpdate();
}

void TStringGrid::SetFixedCols(int count)
{
    if (count < 0 || (count > 0 && count >= m_colCount))
        throw EInvalidCol(QStringLiteral("Fixed column count must be less than column count"));
    BeginUpdate();
    m_fixedCols = count;
    KeepCurrentInside();
    EndUpdate();
}

void TStringGrid::SetFixedRows(int count)
{
    if (count < 0 || (count > 0 && count >= m_rowCount))
        throw EInvalidRow(QStringLiteral("Fixed row count must be less than row count"));
    BeginUpdate();
    m_fixedRows = count;
    KeepCurrentInside();
    EndUpdate();
}

QString TStringGrid::Cells(int col, int row) const
{
    CheckCol(col);
    CheckRow(row);
    return m_cells[row][col];
}

void TStringGrid::SetCells(int col, int row, const QString &text)
{
    CheckCol(col);
    CheckRow(row);
    m_cells[row][col] = text;
    if (m_updateLevel > 0)
        return;
    if (row < m_fixedRows) {
        if (col >= m_fixedCols)
            emit m_model->headerDataChanged(Qt::Horizontal, col - m_fixedCols, col - m_fixedCols);
    } else if (col < m_fixedCols) {
        emit m_model->headerDataChanged(Qt::Vertical, row - m_fixedRows, row - m_fixedRows);
    } else {
        const QModelIndex index = m_model->index(row - m_fixedRows, col - m_fixedCols);
        emit m_model->dataChanged(index, index, {Qt::DisplayRole});
    }
}

void TStringGrid::KeepCurrentInside()
{
    m_row = qBound(m_fixedRows, m_row, qMax(m_fixedRows, m_rowCount - 1));
    m_col = qBound(m_fixedCols, m_col, qMax(m_fixedCols, m_colCount - 1));
}

void TStringGrid::ShowCurrent()
{
    const QModelIndex index = m_model->index(m_row - m_fixedRows, m_col - m_fixedCols);
    if (!index.isValid())
        return;
    const int row = m_row;
    const int col = m_col;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_row = row;
    m_col = col;
}

void TStringGrid::SetRow(int row)
{
    if (row < m_fixedRows || row >= m_rowCount)
        throw EInvalidRow(QStringLiteral("Invalid row number"));
    m_row = row;
    if (m_updateLevel == 0)
        ShowCurrent();
    emit CurrentCellChanged(m_col, m_row);
}

void TStringGrid::SetCol(int col)
{
    if (col < m_fixedCols || col >= m_colCount)
        throw EInvalidCol(QStringLiteral("Invalid column number"));
    m_col = col;
    if (m_updateLevel == 0)
        ShowCurrent();
    emit CurrentCellChanged(m_col, m_row);
}

void TStringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int row = current.row() + m_fixedRows;
    const int col = current.column() + m_fixedCols;
    if (row == m_row && col == m_col)
        return;
    m_row = row;
    m_col = col;
    emit CurrentCellChanged(m_col, m_row);
}

int TStringGrid::ColWidths(int col) const
{
    CheckCol(col);
    return m_colWidths[col];
}

void TStringGrid::SetColWidths(int col, int width)
{
    CheckCol(col);
    m_colWidths[col] = width;
    if (m_updateLevel == 0)
        ApplyWidths();
}

void TStringGrid::SetStretchCol(int col)
{
    m_stretchCol = col;
    if (m_updateLevel == 0)
        ApplyWidths();
}

void TStringGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_stretchCol >= m_fixedCols && m_stretchCol < m_colCount && m_updateLevel == 0)
        ApplyWidths();
}

void TStringGrid::ApplyWidths()
{
    const QScopedValueRollback<bool> applying(m_applyingWidths, true);
    const bool stretching = m_stretchCol >= m_fixedCols && m_stretchCol < m_colCount;
    int others = 0;
    if (stretching) {
        for (int col = m_fixedCols; col < m_colCount; ++col) {
            if (col != m_stretchCol)
                others += m_colWidths[col];
        }
    }
    for (int col = m_fixedCols; col < m_colCount; ++col) {
        const int width = stretching && col == m_stretchCol ? qMax(m_colWidths[col], viewport()->width() - others)
                                                            : m_colWidths[col];
        setColumnWidth(col - m_fixedCols, width);
    }
    int fixedWidth = 0;
    for (int col = 0; col < m_fixedCols; ++col)
        fixedWidth += m_colWidths[col];
    if (m_fixedCols > 0)
        verticalHeader()->setFixedWidth(fixedWidth);
}

void TStringGrid::MoveRows(int first, const QVector<int> &order)
{
    const int n = int(order.size());
    if (first < 0 || n > m_rowCount - first)
        throw EInvalidRow(QStringLiteral("Invalid row order"));
    QVector<bool> taken(n, false);
    for (const int source : order) {
        if (source < 0 || source >= n || taken[source])
            throw EInvalidRow(QStringLiteral("Invalid row order"));
        taken[source] = true;
    }
    BeginUpdate();
    QVector<QVector<QString>> rows(n);
    for (int i = 0; i < n; ++i)
        rows[i] = std::move(m_cells[first + order[i]]);
    for (int i = 0; i < n; ++i)
        m_cells[first + i] = std::move(rows[i]);
    EndUpdate();
}

void TStringGrid::SetEditing(bool on)
{
    if (on == m_editing)
        return;
    if (!on)
        CommitEditor();
    m_editing = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

void TStringGrid::CommitEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open editor is the visible child of the viewport; a closed one is
    // hidden until it is deleted.
    const auto children = viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *editor : children) {
        if (editor->isHidden())
            continue;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
}

void TStringGrid::AssignColumnProperties(const TStringGrid &)
{
    // A plain grid has no properties per column beyond its widths.
}
