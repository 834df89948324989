#include "ui/EntryGrid.h"

#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"
#include "foundation/PGEdit.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

// Makes the editor a cell's rule asks for and moves texts between it and
// the cell.
class TEntryGridDelegate final : public QStyledItemDelegate
{
public:
    explicit TEntryGridDelegate(TEntryGrid &grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const TEntryGrid::TCellEdit rule = m_grid.CellEdit(index.column(), index.row());
        QLineEdit *editor = nullptr;
        switch (rule.Kind) {
        case TEntryGrid::TEditKind::Number: {
            auto *edit = new TNumericalEdit(parent);
            edit->SetNumDecimals(rule.Decimals);
            edit->SetNegValues(rule.Minimum.startsWith(QLatin1Char('-')));
            edit->SetMaxValue(rule.Maximum);
            edit->SetMinValue(rule.Minimum);
            editor = edit;
            break;
        }
        case TEntryGrid::TEditKind::Reps:
            editor = new TRepsEdit(parent);
            break;
        case TEntryGrid::TEditKind::Text: {
            auto *edit = new QLineEdit(parent);
            if (rule.MaxLength > 0)
                edit->setMaxLength(rule.MaxLength);
            editor = edit;
            break;
        }
        case TEntryGrid::TEditKind::None:
            return nullptr;
        }
        editor->setFrame(false);
        m_grid.EditorOpened(editor, index);
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        m_grid.EditorClosed(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto *edit = qobject_cast<TPGCustomEdit *>(editor))
            edit->SetValue(text);
        else if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setText(text);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        QString text;
        if (auto *edit = qobject_cast<TPGCustomEdit *>(editor))
            text = edit->Value();
        else if (auto *line = qobject_cast<QLineEdit *>(editor))
            text = line->text();
        if (model->data(index, Qt::EditRole).toString() == text)
            return;
        model->setData(index, text, Qt::EditRole);
        emit m_grid.CellEdited(index.column(), index.row());
    }

private:
    TEntryGrid &m_grid;
};

TEntryGrid::TEntryGrid(int colCount, int rowCount, QWidget *parent) : QTableWidget(rowCount, colCount, parent)
{
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setDefaultSectionSize(40);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                    | QAbstractItemView::SelectedClicked);
    setItemDelegate(new TEntryGridDelegate(*this));
    const QBrush titleBrush = palette().button();
    for (int row = 0; row < rowCount; ++row) {
        for (int col = 0; col < colCount; ++col) {
            auto *item = new QTableWidgetItem;
            if (row == 0 || col == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(titleBrush);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
            setItem(row, col, item);
        }
    }
    if (rowCount > 1 && colCount > 1)
        setCurrentCell(1, 1);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (row >= 0 && col >= 0)
            emit CellSelected(col, row);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) { FocusChanged(old, now); });
}

void TEntryGrid::CheckCell(int col, int row) const
{
    if (col < 0 || col >= columnCount())
        throw EInvalidCol(QStringLiteral("Invalid column number"));
    if (row < 0 || row >= rowCount())
        throw EInvalidRow(QStringLiteral("Invalid row number"));
}

QTableWidgetItem *TEntryGrid::ItemAt(int col, int row) const
{
    CheckCell(col, row);
    return item(row, col);
}

QString TEntryGrid::Cells(int col, int row) const
{
    return ItemAt(col, row)->text();
}

void TEntryGrid::SetCells(int col, int row, const QString &text)
{
    QTableWidgetItem *cell = ItemAt(col, row);
    if (cell->text() != text)
        cell->setText(text);
}

void TEntryGrid::ClearData()
{
    CommitEdit();
    for (int row = 1; row < rowCount(); ++row) {
        for (int col = 1; col < columnCount(); ++col)
            SetCells(col, row, QString());
    }
}

int TEntryGrid::Row() const
{
    return currentRow();
}

int TEntryGrid::Col() const
{
    return currentColumn();
}

void TEntryGrid::SetCurrentCell(int col, int row)
{
    CheckCell(col, row);
    setCurrentCell(row, col);
}

void TEntryGrid::SetRowEdit(int row, const TCellEdit &edit)
{
    m_rowEdits.insert(row, edit);
}

void TEntryGrid::SetColEdit(int col, const TCellEdit &edit)
{
    m_colEdits.insert(col, edit);
}

TEntryGrid::TCellEdit TEntryGrid::CellEdit(int col, int row) const
{
    if (row <= 0 || col <= 0)
        return TCellEdit();
    if (m_rowEdits.contains(row))
        return m_rowEdits.value(row);
    return m_colEdits.value(col);
}

void TEntryGrid::SetColWidths(int col, int width)
{
    CheckCell(col, 0);
    setColumnWidth(col, width);
}

void TEntryGrid::CommitEdit()
{
    if (!m_editor)
        return;
    QWidget *editor = m_editor;
    if (m_editIndex.isValid())
        itemDelegate()->setModelData(editor, model(), m_editIndex);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TEntryGrid::EditCurrentCell()
{
    const QModelIndex index = currentIndex();
    if (index.isValid() && (index.flags() & Qt::ItemIsEditable))
        edit(index);
}

void TEntryGrid::EditorOpened(QWidget *editor, const QModelIndex &index)
{
    m_editor = editor;
    m_editIndex = index;
}

void TEntryGrid::EditorClosed(QWidget *editor)
{
    if (m_editor == editor) {
        m_editor = nullptr;
        m_editIndex = QPersistentModelIndex();
    }
}

bool TEntryGrid::Contains(const QWidget *widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}

void TEntryGrid::FocusChanged(QWidget *old, QWidget *now)
{
    if (!Contains(old) || Contains(now) || !now)
        return;
    Guard([this] {
        CommitEdit();
        emit Left();
    });
}
