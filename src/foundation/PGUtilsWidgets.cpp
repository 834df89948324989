#include "foundation/PGUtilsWidgets.h"

#include "foundation/Exceptions.h"
#include "foundation/StringGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QTextEdit>

namespace
{
const char *const tagProperty = "tag";

template<class Grid>
Grid *needGrid(Grid *grid)
{
    if (!grid)
        throw EGridError(QStringLiteral("Grid = nil"));
    return grid;
}

void clearRow(TStringGrid *grid, int row)
{
    for (int col = 0; col < grid->ColCount(); ++col)
        grid->SetCells(col, row, QString());
}
}

// ---------------------------------------------------------------------------
// TTulloUtilGrid

int TTulloUtilGrid::FindColumn(const TStringGrid *grid, const QString &title)
{
    if (!grid)
        throw EGridError(QStringLiteral("Grid nil"));
    if (grid->FixedRows() < 1)
        throw EGridError(QStringLiteral("Inga fasta rader"));
    for (int col = grid->FixedCols(); col < grid->ColCount(); ++col) {
        if (grid->Cells(col, 0) == title)
            return col;
    }
    return -1;
}

void TTulloUtilGrid::ClearRows(TStringGrid *grid)
{
    needGrid(grid);
    grid->BeginUpdate();
    grid->SetRowCount(grid->FixedRows() + 1);
    clearRow(grid, grid->FixedRows());
    grid->EndUpdate();
}

void TTulloUtilGrid::SetDataRowCount(TStringGrid *grid, int n)
{
    needGrid(grid);
    if (n <= 0) {
        ClearRows(grid);
        return;
    }
    grid->SetRowCount(grid->FixedRows() + n);
}

void TTulloUtilGrid::SelectDataRow(TStringGrid *grid, int n)
{
    needGrid(grid);
    const int first = grid->FixedRows();
    const int last = grid->RowCount() - 1;
    if (last < first)
        return;
    grid->SetRow(qBound(first, first + n - 1, last));
}

bool TTulloUtilGrid::IsColumnEmpty(const TStringGrid *grid, int column)
{
    needGrid(grid);
    if (column < 0 || column >= grid->ColCount())
        throw EGridError(QStringLiteral("Utanför grid"));
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        if (!grid->Cells(column, row).trimmed().isEmpty())
            return false;
    }
    return true;
}

void TTulloUtilGrid::SelectPreviousRow(TStringGrid *grid)
{
    needGrid(grid);
    if (grid->Row() > grid->FixedRows())
        grid->SetRow(grid->Row() - 1);
}

void TTulloUtilGrid::SelectNextRow(TStringGrid *grid)
{
    needGrid(grid);
    if (grid->Row() < grid->RowCount() - 1)
        grid->SetRow(grid->Row() + 1);
}

void TTulloUtilGrid::CopyGrid(TStringGrid *target, const TStringGrid *source)
{
    needGrid(target);
    needGrid(source);
    if (target == source)
        return;
    target->BeginUpdate();
    // Counts first, fixed counts after, so that a fixed count never meets a
    // smaller total on the way.
    target->SetFixedRows(0);
    target->SetFixedCols(0);
    target->SetColCount(source->ColCount());
    target->SetRowCount(source->RowCount());
    target->SetFixedRows(source->FixedRows());
    target->SetFixedCols(source->FixedCols());
    for (int col = 0; col < source->ColCount(); ++col)
        target->SetColWidths(col, source->ColWidths(col));
    target->AssignColumnProperties(*source);
    for (int row = 0; row < source->RowCount(); ++row) {
        for (int col = 0; col < source->ColCount(); ++col)
            target->SetCells(col, row, source->Cells(col, row));
    }
    target->EndUpdate();
}

// ---------------------------------------------------------------------------
// TTulloUtilCheckListBox

int TTulloUtilCheckListBox::CheckedCount(const QListWidget *box)
{
    if (!box)
        throw ECheckListBox(QStringLiteral("ListBox = nil"));
    const bool hasAll = TTulloUtilMisc::Tag(box) == 1 && box->count() > 0;
    if (hasAll && box->item(0)->checkState() == Qt::Checked)
        return box->count() - 1;
    int count = 0;
    for (int i = hasAll ? 1 : 0; i < box->count(); ++i) {
        if (box->item(i)->checkState() == Qt::Checked)
            ++count;
    }
    return count;
}

void TTulloUtilCheckListBox::CheckedItems(const QListWidget *box, QStringList *list)
{
    if (!box || !list)
        throw ECheckListBox(QStringLiteral("Parameter nil"));
    list->clear();
    const bool hasAll = TTulloUtilMisc::Tag(box) == 1 && box->count() > 0;
    const bool all = hasAll && box->item(0)->checkState() == Qt::Checked;
    for (int i = hasAll ? 1 : 0; i < box->count(); ++i) {
        if (all || box->item(i)->checkState() == Qt::Checked)
            list->append(box->item(i)->text());
    }
}

// ---------------------------------------------------------------------------
// TTulloUtilMisc

int TTulloUtilMisc::Tag(const QObject *control)
{
    return control ? control->property(tagProperty).toInt() : 0;
}

void TTulloUtilMisc::SetTag(QObject *control, int tag)
{
    if (!control)
        throw EControlError(QStringLiteral("Parameter nil"));
    control->setProperty(tagProperty, tag);
}

void TTulloUtilMisc::CommitEdits(QWidget *container)
{
    if (!container)
        throw EControlError(QStringLiteral("Nil parent"));
    const QList<QWidget *> controls = container->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (auto *edit = dynamic_cast<TCommittableEdit *>(control))
            edit->CommitEdit();
    }
}

void TTulloUtilMisc::CheckPrinter()
{
    if (QPrinterInfo::defaultPrinter().isNull())
        throw EControlError(QStringLiteral("Det finns ingen skrivare installerad"));
}

QWidget *TTulloUtilMisc::FindControlByTag(QWidget *parent, int tag)
{
    if (!parent)
        throw EControlError(QStringLiteral("Nil parent"));
    const QList<QWidget *> children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->property(tagProperty).isValid() && Tag(child) == tag)
            return child;
    }
    throw EControlError(QStringLiteral("Tag %1 fanns ej").arg(tag));
}

int TTulloUtilMisc::SelectionLength(const QWidget *control)
{
    if (!control)
        throw EControlError(QStringLiteral("Parameter nil"));
    int length = 0;
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        length = edit->selectedText().size();
    else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        length = memo->textCursor().selectedText().size();
    else if (const auto *text = qobject_cast<const QTextEdit *>(control))
        length = text->textCursor().selectedText().size();
    if (length == 0) {
        if (const auto *combo = qobject_cast<const QComboBox *>(control); combo && combo->lineEdit())
            length = combo->lineEdit()->selectedText().size();
    }
    return length;
}
