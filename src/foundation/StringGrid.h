#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QVector>

class TStringGrid;

// The table model behind a TStringGrid: the data rows and columns of the
// grid (those below and right of the fixed ones); the fixed rows give the
// column titles and the fixed columns the row titles.
class TStringGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TStringGridModel(TStringGrid &grid);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Data cells are editable while the grid's Editing is on.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    friend class TStringGrid;
    TStringGrid &m_grid;
};

// A grid of text cells addressed as (column, row) with fixed title rows and
// columns counted in: row 0 is the first title row, the first data row is
// FixedRows(). The cells live in the grid; the view shows the data cells and
// the fixed rows and columns as its headers.
//
// Index errors raise EInvalidRow / EInvalidCol.
class TStringGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TStringGrid(QWidget *parent = nullptr);
    ~TStringGrid() override;

    int ColCount() const { return m_colCount; }
    void SetColCount(int count);
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int count);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString &text);

    // The current cell, in grid numbering (never a fixed row or column while
    // the grid has data cells).
    int Row() const { return m_row; }
    void SetRow(int row);
    int Col() const { return m_col; }
    void SetCol(int col);

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int DefaultColWidth() const { return m_defaultColWidth; }
    // The data column that also takes the width the other columns leave in
    // the view; -1 (the default) for none. Its ColWidths stays the width it
    // was given: only the view shows it wider, never narrower.
    int StretchCol() const { return m_stretchCol; }
    void SetStretchCol(int col);
    // True while the grid itself sets the widths of the view's columns.
    bool ApplyingWidths() const { return m_applyingWidths; }

    // Bulk changes: the view is told once, at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Copies what a grid holds besides its cells and counts into this grid;
    // grids with column properties of their own extend it.
    virtual void AssignColumnProperties(const TStringGrid &source);

    // Editing of the data cells in place; off by default. While it is on,
    // F2, a double click or a typed character opens an editor on the current
    // cell, and the text the editor commits becomes the cell's text
    // (CellEdited follows). Turning it off closes an open editor and keeps
    // its text.
    bool Editing() const { return m_editing; }
    void SetEditing(bool on);
    // Takes over the text of an open cell editor and closes it; nothing
    // when no editor is open.
    void CommitEditor();

signals:
    void CurrentCellChanged(int col, int row);
    // The cell editor committed a text into the cell.
    void CellEdited(int col, int row);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    // The view's width changed: the stretch column follows.
    void resizeEvent(QResizeEvent *event) override;

    // Reorders whole rows (every cell, fixed columns included) without
    // copying their texts: afterwards row first + i holds what row
    // first + order[i] held. `order` must be a permutation of 0..n-1 with the
    // rows inside the grid, else EInvalidRow "Invalid row order". The view is
    // told as by an update bracket.
    void MoveRows(int first, const QVector<int> &order);

private:
    friend class TStringGridModel;

    void CheckCol(int col) const;
    void CheckRow(int row) const;
    void Reset();
    void ApplyWidths();
    void KeepCurrentInside();
    void ShowCurrent();

    TStringGridModel *m_model;
    QVector<QVector<QString>> m_cells; // [row][col]
    QVector<int> m_colWidths;
    int m_colCount = 5;
    int m_rowCount = 5;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_row = 1;
    int m_col = 1;
    int m_defaultColWidth = 64;
    int m_stretchCol = -1;
    bool m_applyingWidths = false;
    int m_updateLevel = 0;
    bool m_editing = false;
};
