#include "columns/GridActivityColumns.h"

#include "columns/ExerciseColumnSettings.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "model/Activities.h"
#include "reference/Exercises.h"

namespace
{
[[noreturn]] void raiseError(const char *number)
{
    throw EGridActivityColumns(QStringLiteral("GridActivityColumns ") + QLatin1String(number));
}

const QString exerciseUnitLine = QStringLiteral("\r (kg)");

// Keeps a grid's view from redrawing while it is being laid out; the view
// is told once when the guard ends, also after an error.
class TGridUpdate
{
public:
    explicit TGridUpdate(TComplexGrid &grid) : m_grid(grid) { m_grid.BeginUpdate(); }
    ~TGridUpdate() { m_grid.EndUpdate(); }

    TGridUpdate(const TGridUpdate &) = delete;
    TGridUpdate &operator=(const TGridUpdate &) = delete;

private:
    TComplexGrid &m_grid;
};
} // namespace

TGridActivityColumns::TGridActivityColumns() = default;
TGridActivityColumns::~TGridActivityColumns() = default;

void TGridActivityColumns::SetExercisePrograms(TExercisePrograms *programs)
{
    m_programs = programs;
    m_cellTexts.SetExercisePrograms(programs);
}

void TGridActivityColumns::SetExerciseColumnSettings(TExerciseColumnSettings *settings)
{
    m_settings = settings;
    m_cellTexts.SetExerciseColumnSettings(settings);
}

void TGridActivityColumns::BuildCatalogue()
{
    if (!m_catalogue)
        raiseError("01");
    BuildActivityCatalogue(*m_catalogue);
}

void TGridActivityColumns::Remember(TComplexGrid *grid, QList<TColumnKind> kinds)
{
    if (!m_watched.contains(grid)) {
        m_watched.insert(grid);
        QObject::connect(grid, &QObject::destroyed, &m_guard, [this, grid] {
            m_layouts.remove(grid);
            m_watched.remove(grid);
        });
    }
    m_layouts.insert(grid, std::move(kinds));
}

void TGridActivityColumns::ApplyToGrid()
{
    if (!m_grid)
        raiseError("02");
    if (!m_catalogue)
        raiseError("03");
    TComplexGrid &grid = *m_grid;
    // The grid forgets the old layout first, so that a failure half-way
    // leaves no layout that no longer matches its columns.
    m_layouts.remove(&grid);
    QList<TColumnKind> kinds;
    kinds.reserve(m_catalogue->Count());
    {
        TGridUpdate update(grid);
        // The visible columns take the first places; the per-column setters
        // need the columns to exist.
        grid.SetColCount(m_catalogue->VisibleCount());
        int g = 0;
        for (const TActivityColumn &entry : m_catalogue->Entries()) {
            if (!entry.Visible)
                continue;
            grid.SetCells(g, 0, entry.Caption);
            grid.SetColWidths(g, entry.Width);
            grid.SetColSortStyle(g, SortStyleFromByte(entry.SortStyle));
            grid.SetColAlignment(g, ColAlignmentFromByte(entry.ColAlignment));
            kinds.append(entry.Kind);
            ++g;
        }
        grid.ResetDirections();
        // The last sort named columns of the old layout; its keys would
        // now stand for other columns, or for none.
        grid.ForgetLastSort();
    }
    Remember(&grid, std::move(kinds));
}

void TGridActivityColumns::ReadWidthsFromGrid()
{
    if (!m_grid)
        raiseError("04");
    if (!m_catalogue)
        raiseError("05");
    const QList<TColumnKind> kinds = GridKinds(m_grid);
    for (int c = 0; c < kinds.size(); ++c) {
        const int index = m_catalogue->IndexOfKind(kinds.at(c));
        if (index < 0)
            continue;
        TActivityColumn entry = m_catalogue->At(index);
        entry.Width = m_grid->ColWidths(c);
        m_catalogue->Update(entry);
    }
}

void TGridActivityColumns::UpdateExerciseCaptions()
{
    if (!m_catalogue)
        raiseError("06");
    if (!m_exercises)
        raiseError("07");
    if (!m_settings)
        raiseError("08");
    for (int n = 1; n <= ExerciseColumnCount; ++n) {
        TActivityColumn entry = m_catalogue->FindByKind(ExerciseColumnKind(n));
        const qint32 id = m_settings->ExerciseOfColumn(n);
        // An id the register no longer knows shows as unassigned, as it
        // will after the next load of the settings.
        if (id != TExerciseColumnSettings::NoExercise && m_exercises->ExerciseExists(id))
            entry.Caption = m_exercises->GetExerciseName(id) + exerciseUnitLine;
        else
            entry.Caption = QStringLiteral("Övning%1").arg(n) + exerciseUnitLine;
        entry.Heading.clear();
        m_catalogue->Update(entry);
    }
    ApplyToGrid();
}

void TGridActivityColumns::FillAllCaptions(TComplexGrid *grid)
{
    if (!m_catalogue)
        raiseError("09");
    if (!grid)
        raiseError("11");
    m_layouts.remove(grid);
    QList<TColumnKind> kinds;
    kinds.reserve(m_catalogue->Count());
    {
        TGridUpdate update(*grid);
        grid->SetColCount(m_catalogue->Count());
        int c = 0;
        for (const TActivityColumn &entry : m_catalogue->Entries()) {
            grid->SetCells(c++, 0, entry.Caption);
            kinds.append(entry.Kind);
        }
    }
    Remember(grid, std::move(kinds));
}

QList<TColumnKind> TGridActivityColumns::GridKinds(TComplexGrid *grid)
{
    if (!grid)
        raiseError("11");
    const auto known = m_layouts.constFind(grid);
    if (known != m_layouts.cend() && known->size() == grid->ColCount())
        return *known;
    // A grid laid out elsewhere: its titles are all there is to go by.
    if (!m_catalogue)
        raiseError("03");
    QList<TColumnKind> kinds;
    kinds.reserve(grid->ColCount());
    for (int c = 0; c < grid->ColCount(); ++c)
        kinds.append(m_catalogue->FindByName(grid->Cells(c, 0)).Kind);
    Remember(grid, kinds);
    return kinds;
}

int TGridActivityColumns::ColumnOfKind(TComplexGrid *grid, TColumnKind kind)
{
    return int(GridKinds(grid).indexOf(kind));
}

void TGridActivityColumns::FillActivityRow(TComplexGrid *grid, int row, int sessionNr)
{
    if (!grid)
        raiseError("11");
    if (!m_activities)
        raiseError("10");
    FillActivityRow(grid, row, *m_activities->Find(sessionNr));
}

void TGridActivityColumns::FillActivityRow(TComplexGrid *grid, int row, const TActivity &activity)
{
    const QList<TColumnKind> kinds = GridKinds(grid);
    m_cellTexts.RowTexts(activity, kinds, m_rowTexts);
    for (int c = 0; c < kinds.size(); ++c)
        grid->SetCells(c, row, m_rowTexts.at(c));
}

void TGridActivityColumns::FillActivityRows(TComplexGrid *full, int fullRow, TComplexGrid *subset, int subsetRow,
                                            int sessionNr)
{
    if (!full || !subset)
        raiseError("11");
    if (!m_activities)
        raiseError("10");
    const TActivity &activity = *m_activities->Find(sessionNr);
    const QList<TColumnKind> fullKinds = GridKinds(full);
    m_cellTexts.RowTexts(activity, fullKinds, m_rowTexts);
    for (int c = 0; c < fullKinds.size(); ++c)
        full->SetCells(c, fullRow, m_rowTexts.at(c));
    const QList<TColumnKind> subsetKinds = GridKinds(subset);
    for (int c = 0; c < subsetKinds.size(); ++c) {
        const int at = int(fullKinds.indexOf(subsetKinds.at(c)));
        subset->SetCells(c, subsetRow, at >= 0 ? m_rowTexts.at(at) : m_cellTexts.CellText(subsetKinds.at(c), activity));
    }
}
