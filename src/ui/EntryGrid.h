#pragma once

#include "foundation/PGUtilsWidgets.h"

#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableWidget>

// The editable grids of the entry pages: the golf score card and the
// strength program. Cells are addressed as (column, row) with the title row
// 0 and the title column 0 counted in, as in the program's other grids; the
// titles are shown as grey cells that cannot be edited.
//
// What a data cell accepts is set per row or per column: a numeric field or a
// repetitions field (the program's own edit controls, so typing is filtered
// as in every other field) or plain text. The editor's text is
// taken over when it closes, when CommitEdit is called (before a page is
// read) and when the grid loses the focus.
class TEntryGrid : public QTableWidget, public TCommittableEdit
{
    Q_OBJECT

public:
    enum class TEditKind { None, Number, Reps, Text };

    // What a cell takes: numbers between Minimum and Maximum with Decimals
    // decimals, repetitions "99x99", or text of at most MaxLength characters.
    struct TCellEdit
    {
        TEditKind Kind = TEditKind::None;
        QString Minimum = QStringLiteral("0");
        QString Maximum = QStringLiteral("999");
        int Decimals = 0;
        int MaxLength = 0;
    };

    TEntryGrid(int colCount, int rowCount, QWidget *parent = nullptr);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    // Index errors raise EInvalidCol / EInvalidRow.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString &text);
    // Empties every cell below the title row and right of the title column.
    void ClearData();

    // The current cell.
    int Row() const;
    int Col() const;
    void SetCurrentCell(int col, int row);

    void SetRowEdit(int row, const TCellEdit &edit);
    void SetColEdit(int col, const TCellEdit &edit);
    // The rule of a cell: its row's, else its column's, else none. Title
    // cells take nothing.
    TCellEdit CellEdit(int col, int row) const;

    void SetColWidths(int col, int width);

    // Takes over the text of an open editor.
    void CommitEdit() override;
    // Opens the editor of the current cell (F2 of the menu).
    void EditCurrentCell();

signals:
    // A cell got a new text from its editor.
    void CellEdited(int col, int row);
    // Another cell became current.
    void CellSelected(int col, int row);
    // The focus went from the grid (or its editor) to another control.
    void Left();

private:
    friend class TEntryGridDelegate;

    void CheckCell(int col, int row) const;
    QTableWidgetItem *ItemAt(int col, int row) const;
    void EditorOpened(QWidget *editor, const QModelIndex &index);
    void EditorClosed(QWidget *editor);
    void FocusChanged(QWidget *old, QWidget *now);
    bool Contains(const QWidget *widget) const;

    QHash<int, TCellEdit> m_rowEdits;
    QHash<int, TCellEdit> m_colEdits;
    QPointer<QWidget> m_editor;
    QPersistentModelIndex m_editIndex;
};
