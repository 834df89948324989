#pragma once

#include "foundation/StringGrid.h"

#include <QFlags>
#include <QString>
#include <QVector>

#include <array>
#include <memory>

class QPainter;
class QRect;
class TComplexGrid;
class TComplexGridHeader;
class TComplexGridSelectionModel;

// How two cell texts of a column (or of a sort key) compare. The numbers are
// the bytes the program stores for column settings.
enum class TSortStyle : quint8 {
    Alphabetic = 0, // text; the letters a to z ignore case unless the key is case-sensitive
    Numeric = 1,    // the leading number, then the text after it
    Date = 2,       // "yyyy-MM-dd" dates; a pair where either is no date compares as text
};

enum class TSortDirection : quint8 { Ascending = 0, Descending = 1 };

// Where the text of a cell sits in its column. The numbers are the stored bytes.
enum class TColAlignment : quint8 { Right = 0, Left = 1, Centre = 2 };

// The stored bytes read back: a style other than 0 and 1 is a date style; an
// alignment other than 1 and 2 is right alignment.
TSortStyle SortStyleFromByte(int value);
TColAlignment ColAlignmentFromByte(int value);

// The grid's own options. No grid of the program sets the four row and column
// options; goSetCellOnFind is kept for stored settings and does nothing.
enum class TCompGridOption : unsigned {
    goInsertRow = 0x01,    // Ctrl+Insert inserts a row at the current row
    goDeleteRow = 0x02,    // Ctrl+Delete deletes the current row
    goInsertColumn = 0x04, // Alt+Insert inserts a column at the current column
    goDeleteColumn = 0x08, // Alt+Delete deletes the current column
    goSorting = 0x10,      // a click on a column title sorts; the title shows the sort mark
    goSetCellOnFind = 0x20,
};
using TCompGridOptions = QFlags<TCompGridOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TCompGridOptions)

// One sort: up to three keys, each a grid column with its style, direction
// and case flag. Key 1 must name a column; keys 2 and 3 may be -1 (no key).
// A default record names no column at all, which is what a grid's LastSort
// holds before its first sort.
struct TSortRecord
{
    std::array<int, 3> Cols{-1, -1, -1};
    std::array<TSortStyle, 3> Styles{TSortStyle::Alphabetic, TSortStyle::Alphabetic, TSortStyle::Alphabetic};
    std::array<TSortDirection, 3> Directions{TSortDirection::Ascending, TSortDirection::Ascending,
                                             TSortDirection::Ascending};
    std::array<bool, 3> CaseSensitive{false, false, false};

    bool operator==(const TSortRecord &) const = default;
};

// A block of cells in grid numbering; all four bounds 0 is the empty block.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    bool operator==(const TGridRect &) const = default;
};

// The three-key sort of a grid's data rows. Rows that are equal on every key
// keep their order. Whole rows move, fixed columns included.
class TSorting
{
public:
    // What Number gives a text that holds no number. Such texts (empty cells
    // too) come after every number in ascending order. The numeric
    // comparison goes by whether a text holds a number, not by this value,
    // so a number above 9999999999 still comes before the empty cells. A
    // text whose number part is only a decimal point ("." or ". km") holds
    // no number: it sorts with the empty cells instead of stopping the sort
    // with a conversion error.
    static constexpr double NoNumber = 9999999999.0;

    TSorting() = default;

    // Sorts the data rows of `grid` by the record. A grid with at most one
    // data row is left as it is. Raises EInvalidCol "Can't sort on first
    // column" (key 1 outside the grid), "Can't sort on second column" or
    // "Can't sort on third column" (key 2 or 3 at or beyond the column count).
    // The view is told once, after the rows have moved.
    void SortGrid(TComplexGrid *grid, const TSortRecord &record);

    // The keys of the last SortGrid (initially column 0, then -1, -1).
    const std::array<int, 3> &Cols() const { return m_cols; }
    const std::array<TSortStyle, 3> &Styles() const { return m_styles; }
    const std::array<TSortDirection, 3> &Directions() const { return m_directions; }
    const std::array<bool, 3> &CaseSensitive() const { return m_caseSensitive; }

    // The comparison of two cell texts for one key: negative when `a` comes
    // before `b`, 0 when they are equal for this key, positive when after.
    static int CompareTexts(const QString &a, const QString &b, TSortStyle style, TSortDirection direction,
                            bool caseSensitive);

    // The number a text starts with: leading blanks skipped, a sign kept when
    // a digit follows it, then digits and at most one ".". NoNumber (and
    // *found false) when no digit was collected, a lone "." included.
    static double Number(const QString &text, bool *found = nullptr);
    // What follows the number part of a text (see Number); empty when the
    // text ends inside its number.
    static QString Rest(const QString &text);

private:
    TComplexGrid *m_grid = nullptr; // borrowed while sorting
    std::array<int, 3> m_cols{0, -1, -1};
    std::array<TSortStyle, 3> m_styles{TSortStyle::Alphabetic, TSortStyle::Alphabetic, TSortStyle::Alphabetic};
    std::array<TSortDirection, 3> m_directions{TSortDirection::Ascending, TSortDirection::Ascending,
                                               TSortDirection::Ascending};
    std::array<bool, 3> m_caseSensitive{false, false, false};
};

// The grid of every list and table of the program: a TStringGrid (cells
// addressed as (column, row), row 0 the title row, fixed columns counted)
// with a sort style, a remembered direction and an alignment per column,
// cells of several lines (split at CR, the LF after it skipped), sorting by
// up to three keys started by a title click or by the program, a sort mark in
// the title of the first key, text search with continuation, and row and
// column operations with their events.
//
// The grid owns its cells and the model the view shows. For a bulk fill call
// BeginUpdate, SetRowCount once, SetCells for every cell and EndUpdate: the
// view is then told once. After refilling, call ResetDirections so that the
// first title click sorts ascending.
//
// Every event is a signal; those with a reference parameter (OnBeforeSorted,
// OnAfterSorted, OnSelectCell) must be connected directly. Index errors raise
// EInvalidRow / EInvalidCol with the messages given below.
class TComplexGrid : public TStringGrid
{
    Q_OBJECT

public:
    explicit TComplexGrid(QWidget *parent = nullptr);
    ~TComplexGrid() override;

    // The counts, as in TStringGrid, except that with fixed rows the row
    // count never drops below FixedRows() + 1. The per-column properties
    // follow the column count: kept where columns remain, defaults for new
    // ones (also when the count is changed through a TStringGrid pointer).
    // SetColCount raises EComplexGrid "Grid too large" for 134217726 columns
    // or more and "Too many columns deleted" below 0.
    void SetRowCount(int count);
    void SetColCount(int count);

    // Default: goSorting.
    TCompGridOptions OptionsComplex() const { return m_options; }
    void SetOptionsComplex(TCompGridOptions options);

    // Per-column properties. A column at or beyond the column count reads as
    // the default (alphabetic, ascending, left); setting it raises
    // EInvalidCol "Invalid column number". The int overloads take the stored
    // bytes (see SortStyleFromByte, ColAlignmentFromByte).
    TSortStyle GetColSortStyle(int col) const;
    void SetColSortStyle(int col, TSortStyle style);
    void SetColSortStyle(int col, int style);
    // True: the column's last title-click sort was descending.
    bool GetColDirection(int col) const;
    void SetColDirection(int col, bool descending);
    TColAlignment GetColAlignment(int col) const;
    void SetColAlignment(int col, TColAlignment alignment);
    void SetColAlignment(int col, int alignment);

    // Every non-fixed column's direction := descending, so that the next
    // title click on any column sorts it ascending.
    virtual void ResetDirections();

    // BeforeSorted (busy cursor unless a handler clears the flag), the sort,
    // LastSort := record when the sort succeeded, AfterSorted (also when the
    // sort fails; the failure then propagates), repaint.
    virtual void Sort(const TSortRecord &record);
    // The record of the last successful sort; its columns are -1 when none.
    const TSortRecord &LastSort() const { return m_lastSort; }
    // Forgets LastSort, for a grid whose columns were laid out anew: the
    // next title click then sorts by its own column alone. The rows stay.
    void ForgetLastSort();
    TSorting &Sorting() { return *m_sorting; }
    // The title column under the mouse at button-down; -1 otherwise.
    int PressedColumn() const { return m_pressedColumn; }

    // Empties every non-fixed cell of the data rows and forgets LastSort.
    virtual void ClearCells();
    // Empties the non-fixed cells of a row; EInvalidRow "Can't clear fixed
    // rows" for a fixed row, "Invalid row number" beyond the grid.
    virtual void ClearRow(int row);
    // Empties the data cells of a column; EInvalidCol "Can't clear fixed
    // columns" for a fixed column, "Invalid column number" beyond the grid.
    virtual void ClearColumn(int col);

    // Inserts an empty row before `row`: EInvalidRow "Can't insert before
    // fixed rows" / "Can at most insert before the last grid row".
    // OnRowInserted.
    virtual void InsertRow(int row);
    // EInvalidRow "Can't delete before fixed rows" / "Can at most delete the
    // last grid row". Deleting the only data row leaves one empty data row
    // and forgets LastSort. OnRowDeleted.
    virtual void DeleteRow(int row);
    // EInvalidCol "Can't insert before fixed columns" / "Can at most insert
    // before the last grid column". The per-column properties move with the
    // columns; the last column keeps its width. OnColInserted.
    virtual void InsertColumn(int col);
    // EInvalidCol "Can't delete fixed columns" / "Can at most delete the last
    // grid column". With one non-fixed column left it is emptied instead.
    // OnColDeleted.
    virtual void DeleteColumn(int col);

    // Searches the cells for `text` (case of a to z ignored unless
    // matchCase): forwards from the top left (or from the current cell with
    // fromCursor, that cell included), backwards from the bottom right (or
    // from before the current cell). The area is every non-fixed cell, or the
    // selection with selectionOnly. Ends in OnFindSuccess(col, row) or
    // OnFindNotSuccess. The found cell is not selected by the grid.
    virtual void Find(const QString &text, bool fromCursor, bool matchCase, bool backwards, bool selectionOnly);
    // Continues the last search after the last match; with whole-row
    // selection it goes on in the next row.
    virtual void FindNext();
    QString FindText() const { return m_findText; }
    bool FindBackwards() const { return m_findBackwards; }
    bool FindMatchCase() const { return m_findMatchCase; }
    // The search position: the last match, the current cell since the last
    // change of it, or past the end after a search that found nothing.
    int FindPosCol() const { return m_findPosCol; }
    int FindPosRow() const { return m_findPosRow; }

    // The column (row) whose band holds the position, in the grid widget's
    // coordinates: the fixed columns (rows) first, then the visible scrolled
    // ones; -1 when none. All fixed rows share the title band.
    int ColumnAt(int x) const;
    int RowAt(int y) const;

    // The selected cells in grid numbering; the empty block when none.
    TGridRect Selection() const;

    // Row heights in pixels. The fixed rows together make the title band;
    // changing a fixed row's height changes the band.
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);

    // False: cells are drawn the toolkit's plain way (no alignment, no line
    // split); OnDrawCell still follows.
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool on);

    // Takes the per-column properties and options from another TComplexGrid.
    void AssignColumnProperties(const TStringGrid &source) override;

signals:
    void OnRowInserted();
    void OnRowDeleted();
    void OnColInserted();
    void OnColDeleted();
    // `cursor` is true on entry; a handler that clears it keeps the grid from
    // showing (hiding) the busy cursor.
    void OnBeforeSorted(bool &cursor);
    void OnAfterSorted(bool &cursor);
    void OnFindSuccess(int col, int row);
    void OnFindNotSuccess();
    // Every change of the current cell, by the user or the program; a handler
    // that clears `canSelect` refuses the cell.
    void OnSelectCell(int col, int row, bool &canSelect);
    // After a data cell has been drawn; the painter is clipped to the cell.
    void OnDrawCell(int col, int row, QPainter *painter, const QRect &rect);

protected:
    // Each fires the event of the same name.
    virtual void RowInserted();
    virtual void RowDeleted();
    virtual void ColInserted();
    virtual void ColDeleted();
    virtual void BeforeSorted(bool &cursor);
    virtual void AfterSorted(bool &cursor);
    virtual void FindSuccess(int col, int row);
    virtual void FindNotSuccess();
    // Sets the search position to the cell, then asks OnSelectCell.
    virtual bool SelectCell(int col, int row);

    // Title clicks, called by the title band with the grid column under the
    // mouse (-1 while a column is resized or outside row 0). A press
    // remembers the column (with goSorting); a release over the same data
    // column sorts: key 1 the column with its sort style in the opposite of
    // its direction, keys 2 and 3 the former keys 1 and 2. The column's
    // direction then becomes the one used.
    virtual void TitleMouseDown(int col);
    virtual void TitleMouseUp(int col);

    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    friend class TSorting;
    friend class TComplexGridHeader;
    friend class TComplexGridSelectionModel;
    friend class TComplexGridDelegate;

    struct TColumnProps
    {
        TSortStyle style = TSortStyle::Alphabetic;
        bool descending = false;
        TColAlignment alignment = TColAlignment::Left;
    };

    void CheckPropertyCol(int col) const;
    void SyncColumnProps();
    void AfterReset();
    void Search();
    void EndSort(bool busy);
    void ApplyTitleHeight();
    int TitleHeight() const;
    void PaintTitle(QPainter *painter, const QRect &rect, int col) const;
    // Asks SelectCell about the cell of a model index unless it is the
    // current one already; true when it may become current.
    bool AskSelectCell(const QModelIndex &index);
    // Moves the data rows so that new row i holds old row order[i] (both
    // counted from the first data row).
    void PermuteDataRows(const QVector<int> &order);

    TComplexGridHeader *m_header;
    std::unique_ptr<TSorting> m_sorting;
    QVector<TColumnProps> m_columns;
    TCompGridOptions m_options = TCompGridOption::goSorting;
    TSortRecord m_lastSort;
    int m_pressedColumn = -1;
    bool m_defaultDrawing = true;
    int m_defaultRowHeight = 15;
    QVector<int> m_rowHeights; // per grid row, 0 for the default; empty until one is set

    QString m_findText;
    bool m_findBackwards = false;
    bool m_findMatchCase = false;
    bool m_continuing = false;
    int m_findStartRow = 0;
    int m_findStartCol = 0;
    int m_findEndRow = 0;
    int m_findFirstCol = 0;
    int m_findLastCol = 0;
    int m_findPosCol = 0;
    int m_findPosRow = 0;
    int m_savedWidth = 0;

    // The cell last handed to SelectCell, so that a view reset that puts the
    // same cell back is no new selection.
    int m_selectedCol = -1;
    int m_selectedRow = -1;
    // The cell refused while the view worked out a mouse or key selection;
    // the view then asks again to make it current, which is refused without
    // a second event.
    int m_refusedCol = -1;
    int m_refusedRow = -1;
};
