#pragma once

#include "columns/ActivityColumns.h"
#include "columns/GridActivityColumnsCells.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

class TActivities;
class TActivity;
class TComplexGrid;
class TExerciseColumnSettings;
class TExercisePrograms;
class TExercises;

// The column catalogue on the grids: builds the catalogue, lays a grid out
// with the visible columns, keeps the exercise columns' captions in step
// with the exercises assigned to them and fills one grid row for one
// activity.
//
// It borrows everything it works with; each part is set by a setter.
// Errors are EGridActivityColumns "GridActivityColumns 01" to "11"; those
// of the catalogue, the grid and the activities collection pass through.
//
// Every grid it lays out (ApplyToGrid, FillAllCaptions) is remembered with
// the kind of each of its columns, so that rows are filled and widths read
// by the column's identity. Captions can repeat - an exercise named
// "Övning3" shown in column 5 gives that column the caption of the
// unassigned column 3 - so no grid column is ever matched by its header
// text once the grid has been laid out here.
class TGridActivityColumns
{
public:
    TGridActivityColumns();
    ~TGridActivityColumns();

    TGridActivityColumns(const TGridActivityColumns &) = delete;
    TGridActivityColumns &operator=(const TGridActivityColumns &) = delete;

    void SetCatalogue(TActivityColumns *catalogue) { m_catalogue = catalogue; }
    TActivityColumns *GetCatalogue() const { return m_catalogue; }
    // The exercise register (names of the exercise columns).
    void SetExercises(TExercises *exercises) { m_exercises = exercises; }
    // The strength programs (the program column and the exercise loads);
    // without it each workout's own register is used.
    void SetExercisePrograms(TExercisePrograms *programs);
    void SetExerciseColumnSettings(TExerciseColumnSettings *settings);
    // The activities collection that FillActivityRow fetches by key.
    void SetActivities(TActivities *activities) { m_activities = activities; }
    // The grid ApplyToGrid and UpdateExerciseCaptions lay out (the list).
    void SetGrid(TComplexGrid *grid) { m_grid = grid; }
    TComplexGrid *GetGrid() const { return m_grid; }

    // Clears the catalogue and adds the 57 list columns. No catalogue: "01".
    void BuildCatalogue();
    // Lays the grid out with the visible entries in catalogue order: title
    // (row 0), width, sort style and alignment of each; the column count
    // becomes the number of visible entries, the sort directions are reset
    // and the grid forgets its last sort; the rows keep their order. No
    // grid "02", no catalogue "03".
    void ApplyToGrid();
    // Copies the width of every grid column into its catalogue entry. No
    // grid "04", no catalogue "05".
    void ReadWidthsFromGrid();
    // Captions of the twenty exercise columns: the assigned exercise's name,
    // or "Övning" + n, over " (kg)"; then ApplyToGrid. No catalogue "06", no
    // exercise register "07", no exercise column settings "08".
    void UpdateExerciseCaptions();
    // Gives the grid one column per catalogue entry, visible or not, titled
    // with its caption. No catalogue "09", no grid "11".
    void FillAllCaptions(TComplexGrid *grid);

    // Sets every cell of the row to the value its column shows for the
    // activity with the session number. No grid "11", no activities
    // collection "10"; the collection's error for an unknown number. For
    // many rows, wrap the calls in the grid's BeginUpdate/EndUpdate.
    void FillActivityRow(TComplexGrid *grid, int row, int sessionNr);
    void FillActivityRow(TComplexGrid *grid, int row, const TActivity &activity);
    // Fills a row of the full-catalogue grid and a row of a grid laid out
    // with some of its columns for the same activity, computing each text
    // once: the second grid takes its texts from the first. Errors as
    // FillActivityRow.
    void FillActivityRows(TComplexGrid *full, int fullRow, TComplexGrid *subset, int subsetRow, int sessionNr);

    // The kinds of the grid's columns, in column order. For a grid laid out
    // here, as laid out; for any other grid (or one whose column count has
    // changed since), found from the titles by FindByName once and kept,
    // with its errors for a title that names no entry or several. No grid
    // "11"; a grid to be read without a catalogue "03".
    QList<TColumnKind> GridKinds(TComplexGrid *grid);
    // The grid column that shows the kind; -1 when none.
    int ColumnOfKind(TComplexGrid *grid, TColumnKind kind);

    // The cell computation, for callers that need texts without a grid.
    const TActivityCellTexts &CellTexts() const { return m_cellTexts; }

private:
    void Remember(TComplexGrid *grid, QList<TColumnKind> kinds);

    TActivityColumns *m_catalogue = nullptr;
    TExercises *m_exercises = nullptr;
    TExercisePrograms *m_programs = nullptr;
    TExerciseColumnSettings *m_settings = nullptr;
    TActivities *m_activities = nullptr;
    TComplexGrid *m_grid = nullptr;
    TActivityCellTexts m_cellTexts;

    // The kinds of each grid's columns; a grid's entry goes with the grid.
    QHash<const TComplexGrid *, QList<TColumnKind>> m_layouts;
    QSet<const TComplexGrid *> m_watched;
    // Context of the connections that forget a destroyed grid; they end
    // with this object.
    QObject m_guard;
    // The texts of the row being filled, kept to spare an allocation per row.
    QStringList m_rowTexts;
};
