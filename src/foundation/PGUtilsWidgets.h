#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QStringList>

class QListWidget;
class QObject;
class QWidget;
class TStringGrid;

// The value-text helpers that work on controls: grids, check lists, edits
// and the printer. Stateless; every operation is a class-level function.

// A control that holds typed text it has not yet taken over as its value
// (the numeric and repetitions edits). CommitEdits makes it take it over.
class TCommittableEdit
{
public:
    virtual ~TCommittableEdit() = default;
    virtual void CommitEdit() = 0;
};

// Helpers for TStringGrid and the grids derived from it. Data rows are the
// rows below the fixed rows. A missing grid raises EGridError "Grid = nil".
class TTulloUtilGrid
{
public:
    TTulloUtilGrid() = delete;

    // The first non-fixed column whose title in row 0 is `title`, or -1.
    // Raises EGridError "Grid nil" without a grid and "Inga fasta rader"
    // when the grid has no title row.
    static int FindColumn(const TStringGrid *grid, const QString &title);
    // Empties the data rows and leaves one empty data row.
    static void ClearRows(TStringGrid *grid);
    // n data rows; n <= 0 is ClearRows. A current row that falls outside
    // moves up to the last row.
    static void SetDataRowCount(TStringGrid *grid, int n);
    // Selects data row n (1-based), the last one when n is beyond it and the
    // first when n <= 0.
    static void SelectDataRow(TStringGrid *grid, int n);
    // True when every data cell of the column is blank. A column outside the
    // grid raises EGridError "Utanför grid".
    static bool IsColumnEmpty(const TStringGrid *grid, int column);
    static void SelectPreviousRow(TStringGrid *grid);
    static void SelectNextRow(TStringGrid *grid);
    // Makes `target` a copy of `source`: counts, fixed counts, column
    // widths, the column properties and every cell.
    static void CopyGrid(TStringGrid *target, const TStringGrid *source);
};

// Helpers for check lists (QListWidget with checkable items). A list whose
// tag is 1 has an "all" item first: it is never returned, and while it is
// checked every other item counts as checked.
class TTulloUtilCheckListBox
{
public:
    TTulloUtilCheckListBox() = delete;

    // Raises ECheckListBox "ListBox = nil" without a box.
    static int CheckedCount(const QListWidget *box);
    // Replaces the contents of `list` with the texts of the checked items.
    // Raises ECheckListBox "Parameter nil" without box or list.
    static void CheckedItems(const QListWidget *box, QStringList *list);
};

class TTulloUtilMisc
{
public:
    TTulloUtilMisc() = delete;

    // The tag of a control: a whole number kept as the property "tag"
    // (0 when none was set).
    static int Tag(const QObject *control);
    static void SetTag(QObject *control, int tag);

    // Makes every committable edit inside `container` take over its typed
    // text, at any depth.
    static void CommitEdits(QWidget *container);
    // Raises EControlError "Det finns ingen skrivare installerad" when the
    // system has no default printer.
    static void CheckPrinter();
    // The first direct child of `parent` with the tag. Raises EControlError
    // "Nil parent" without a parent and "Tag %d fanns ej" when there is none.
    static QWidget *FindControlByTag(QWidget *parent, int tag);
    // The length of the selected text of an edit, or when that is 0 of the
    // edit of a combo box. Raises EControlError "Parameter nil" without a
    // control.
    static int SelectionLength(const QWidget *control);
};

// Where top-level windows are placed. A window's place is its geometry():
// the rectangle of its contents, without the frame the window system draws
// around it. Setting and reading that one rectangle is what lets a window
// come back exactly where it was closed, with or without a frame.
class TTulloUtilWindow
{
public:
    TTulloUtilWindow() = delete;

    // The place of the window as it is to be stored.
    static QRect Place(const QWidget *window);
    // Puts the window at `place`, pulled onto the screens (PullOnScreen with
    // the window's frame). When `positioned` is false only the size is
    // taken and the window is centred over its owner when it is first
    // shown (a window without owner is left to the window system).
    static void SetPlace(QWidget *window, const QRect &place, bool positioned);
    // Centres the window over its owner's window, on the screens; nothing
    // without an owner.
    static void CentreOverOwner(QWidget *window);

    // `place` unchanged when it lies with the title bar above it (the top of
    // `frame`) inside the available area of one of `screens`; otherwise
    // moved, with the whole frame, into the screen that holds its centre, or
    // the nearest screen when none does, and made smaller where it does not
    // fit. `place` unchanged without screens.
    static QRect PullOnScreen(const QRect &place, const QMargins &frame, const QList<QRect> &screens);
    // The frame the window system puts around the window: the real one of a
    // window that has been shown with a frame, else a title bar of the
    // style's height above it and a border of 8 pixels.
    static QMargins Frame(const QWidget *window);
    // The available areas of the screens.
    static QList<QRect> ScreenAreas();
};
