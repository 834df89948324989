#pragma once

#include "columns/ActivityColumns.h"

#include <QList>
#include <QString>
#include <QStringList>

class TActivity;
class TExerciseColumnSettings;
class TExercisePrograms;

// The texts one activity shows in the list columns: the value of each
// column kind for any activity class, computed values (speeds, kilometre
// times, lap values, exercise loads) included. A kind that does not apply to
// the activity's class gives an empty text. Widget-free, so that the grids,
// the tests and the benchmarks share one computation.
class TActivityCellTexts
{
public:
    // Which exercise each exercise column shows; without it every column is
    // unassigned. Borrowed.
    void SetExerciseColumnSettings(const TExerciseColumnSettings *settings) { m_settings = settings; }
    // The strength programs; without it a workout's own register is used.
    // Borrowed.
    void SetExercisePrograms(const TExercisePrograms *programs) { m_programs = programs; }

    // The text of one column for the activity.
    QString CellText(TColumnKind kind, const TActivity &activity) const;
    // The texts of the columns, in the order of `kinds`; `texts` is resized
    // to match. The activity's class and its program are looked at once for
    // the whole row.
    void RowTexts(const TActivity &activity, const QList<TColumnKind> &kinds, QStringList &texts) const;

    // A game's performance -1..4 as the list shows it: empty, "Mycket
    // dåligt", "Dåligt", "Medel", "Bra", "Mycket bra"; empty outside.
    static QString PerformanceText(int performance);

private:
    class TRow;

    const TExerciseColumnSettings *m_settings = nullptr;
    const TExercisePrograms *m_programs = nullptr;
};
