#include "analysis/PersonalRecords.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"
#include "model/ActFactory.h"
#include "model/ActivityName.h"
#include "reference/Exercises.h"

#include <QHash>
#include <QSet>

#include <array>
#include <memory>

using namespace DbMisc;

namespace
{
constexpr int slotCount = WorkoutProgramSlots;

[[noreturn]] void fault(int number)
{
    throw EPersonalRecordsError(QStringLiteral("Personal Records %1").arg(number, 2, 10, QLatin1Char('0')));
}

// Every workout with its program, one row per program it is stored with.
QString workoutStatement()
{
    QString columns;
    for (int k = 1; k <= slotCount; ++k)
        columns += QStringLiteral(", w.WoEx%1, w.WoRep%1").arg(k);
    return QStringLiteral("select t.SessionNr, t.SessionDate, t.SessionPlace, wp.WoNr as ProgramWoNr, "
                          "ep.ExProgId, ep.ExProgName")
           + columns
           + QStringLiteral(" from Workout w"
                            " join TrainingSession t on t.SessionNr = w.WoNr"
                            " left join WorkoutExercisePrograms wp on wp.WoNr = w.WoNr"
                            " left join ExercisePrograms ep on ep.ExProgId = wp.ExProgId"
                            " order by t.SessionDate, t.SessionNr");
}
} // namespace

// One workout as the strength records see it.
struct TPersonalRecords::TWorkoutRow
{
    enum class TKind { Basic, Program, Neither };

    int SessionNr = 0;
    QString Date;
    QString Place;
    TKind Kind = TKind::Basic;
    qint32 ProgramId = -1;
    QString ProgramName;
    // Per slot: the load (normalised, empty for none), the repetitions and
    // whether the slot was filled at all (a load or repetitions).
    std::array<QString, slotCount> Load;
    std::array<QString, slotCount> Reps;
    std::array<bool, slotCount> Filled{};
};

void TPersonalRecords::SetLimits(qint32 recordNum, qint32 recordSets, qint32 recordReps, qint32 recordWNum)
{
    if (recordNum < 0)
        fault(5);
    if (recordSets < 0)
        fault(6);
    if (recordReps < 0)
        fault(7);
    if (recordWNum < 0)
        fault(8);
    m_recordNum = recordNum;
    m_recordSets = recordSets;
    m_recordReps = recordReps;
    m_recordWNum = recordWNum;
}

void TPersonalRecords::CheckReferences() const
{
    if (!m_names)
        fault(1);
    if (!m_factory)
        fault(2);
    if (!m_exercises)
        fault(3);
    if (!m_programs)
        fault(4);
    if (!m_database)
        fault(9);
}

void TPersonalRecords::Search(QList<TTDRecordItem> &courseRecords, QList<TWRecordItem> &strengthRecords,
                              const TProgress &progress)
{
    CheckReferences();
    courseRecords.clear();
    strengthRecords.clear();

    QList<TTDRecordItem> courses;
    QList<TWRecordItem> strength;
    QStringList names;
    m_names->GetNames(&names);
    for (const QString &name : names) {
        std::unique_ptr<TActivity> activity = m_factory->CreateActivity(name);
        activity->SetDatabase(m_database);
        activity->SetActivityNames(m_names);
        switch (activity->Family()) {
        case TActivityFamily::TimeDistance:
            if (progress)
                progress(name);
            CourseRecords(static_cast<TTimeDistanceActivity &>(*activity), courses);
            break;
        case TActivityFamily::Workout: {
            if (progress)
                progress(name);
            const QList<TWorkoutRow> rows = ReadWorkouts();
            ProgramExerciseRecords(rows, strength);
            BasicExerciseRecords(rows, strength);
            break;
        }
        default:
            break;
        }
    }
    courseRecords = std::move(courses);
    strengthRecords = std::move(strength);
}

void TPersonalRecords::CourseRecords(TTimeDistanceActivity &activity, QList<TTDRecordItem> &records) const
{
    activity.CourseRecords(records, m_recordNum);
}

QList<TPersonalRecords::TWorkoutRow> TPersonalRecords::ReadWorkouts() const
{
    TDbQuery query(*m_database);
    AddLine(&query, workoutStatement());
    query.Open();
    TDbQueryCloser closer(query);

    std::array<QString, slotCount> loadColumns;
    std::array<QString, slotCount> repsColumns;
    for (int k = 0; k < slotCount; ++k) {
        loadColumns[std::size_t(k)] = QStringLiteral("WoEx%1").arg(k + 1);
        repsColumns[std::size_t(k)] = QStringLiteral("WoRep%1").arg(k + 1);
    }
    QList<TWorkoutRow> rows;
    for (; !query.Eof(); query.Next()) {
        TWorkoutRow row;
        row.SessionNr = GetColumn(&query, QStringLiteral("SessionNr"), vkInteger).toInt();
        row.Date = GetColumn(&query, QStringLiteral("SessionDate"), vkDate);
        row.Place = GetColumn(&query, QStringLiteral("SessionPlace"), vkText);
        if (query.FieldIsNull(QStringLiteral("ProgramWoNr"))) {
            row.Kind = TWorkoutRow::TKind::Basic;
        } else if (query.FieldIsNull(QStringLiteral("ExProgId"))) {
            // Stored with a program the diary does not hold: neither a
            // program workout nor one without a program.
            row.Kind = TWorkoutRow::TKind::Neither;
        } else {
            row.Kind = TWorkoutRow::TKind::Program;
            row.ProgramId = GetColumn(&query, QStringLiteral("ExProgId"), vkInteger).toInt();
            row.ProgramName = GetColumn(&query, QStringLiteral("ExProgName"), vkText);
        }
        for (std::size_t k = 0; k < std::size_t(slotCount); ++k) {
            const bool hasLoad = !query.FieldIsNull(loadColumns[k]);
            row.Reps[k] = GetColumn(&query, repsColumns[k], vkText);
            if (hasLoad)
                row.Load[k] = TActivity::NormalizeDecimal(GetColumn(&query, loadColumns[k], vkDecimal));
            row.Filled[k] = hasLoad || !row.Reps[k].isEmpty();
        }
        rows.append(std::move(row));
    }
    return rows;
}

bool TPersonalRecords::Qualifies(const QString &reps) const
{
    return TWorkout::RepsAtLeast(reps, m_recordSets, m_recordReps);
}

void TPersonalRecords::ProgramExerciseRecords(const QList<TWorkoutRow> &rows, QList<TWRecordItem> &records) const
{
    QList<qint32> exerciseIds;
    QStringList exerciseNames;
    m_exercises->GetExercises(exerciseIds, exerciseNames);
    QList<qint32> programIds;
    m_programs->GetAllProgramIds(programIds);

    // The workouts of each program, in date order, and each program's slots.
    QHash<qint32, QList<const TWorkoutRow *>> workoutsOf;
    for (const TWorkoutRow &row : rows) {
        if (row.Kind == TWorkoutRow::TKind::Program)
            workoutsOf[row.ProgramId].append(&row);
    }
    QHash<qint32, TProgramExercises> slotsOf;
    for (const qint32 program : programIds)
        slotsOf.insert(program, m_programs->GetProgramExercises(program));

    for (qsizetype i = 0; i < exerciseIds.size(); ++i) {
        const qint32 exercise = exerciseIds.at(i);
        if (!m_programs->ExerciseInPrograms(exercise))
            continue;
        QList<TStrengthCandidate> candidates;
        for (const qint32 program : programIds) {
            if (!m_programs->ProgramContains(program, exercise))
                continue;
            // Every slot that holds the exercise: a program may hold it in
            // several.
            QList<int> heldIn;
            const TProgramExercises &programSlots = slotsOf.value(program);
            for (int k = 0; k < slotCount; ++k) {
                const QString text = programSlots[std::size_t(k)].trimmed();
                bool ok = false;
                if (!text.isEmpty() && text.toInt(&ok) == exercise && ok)
                    heldIn.append(k);
            }
            for (const TWorkoutRow *row : workoutsOf.value(program)) {
                for (const int k : heldIn) {
                    const std::size_t slot = std::size_t(k);
                    if (!row->Filled[slot] || !Qualifies(row->Reps[slot]))
                        continue;
                    candidates.append({row->SessionNr, row->Date, row->Place, row->ProgramName, row->Load[slot],
                                       row->Reps[slot]});
                }
            }
        }
        AddRecord(candidates, exerciseNames.at(i), records);
    }
}

void TPersonalRecords::BasicExerciseRecords(const QList<TWorkoutRow> &rows, QList<TWRecordItem> &records) const
{
    const QStringList &names = TWorkout::BasicExerciseNames();
    for (int k = 0; k < slotCount; ++k) {
        const std::size_t slot = std::size_t(k);
        QList<TStrengthCandidate> candidates;
        for (const TWorkoutRow &row : rows) {
            if (row.Kind != TWorkoutRow::TKind::Basic || !row.Filled[slot] || !Qualifies(row.Reps[slot]))
                continue;
            candidates.append({row.SessionNr, row.Date, row.Place, QString(), row.Load[slot], row.Reps[slot]});
        }
        AddRecord(candidates, names.at(k), records);
    }
}

void TPersonalRecords::AddRecord(const QList<TStrengthCandidate> &candidates, const QString &exercise,
                                 QList<TWRecordItem> &records) const
{
    const int best = BestCandidate(candidates);
    if (best < 0)
        return;
    const int count = WorkoutCount(candidates);
    if (count < m_recordWNum)
        return;
    const TStrengthCandidate &winner = candidates.at(best);
    TWRecordItem record;
    record.Date = winner.Date;
    record.Place = winner.Place;
    record.Program = winner.Program;
    record.Exercise = exercise;
    record.Weight = winner.Weight;
    record.Reps = winner.Reps;
    record.Count = QString::number(count);
    records.append(record);
}

int TPersonalRecords::BestCandidate(const QList<TStrengthCandidate> &candidates)
{
    int best = -1;
    double bestWeight = -999.0;
    QString bestDate;
    bool loadWon = false;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const TStrengthCandidate &candidate = candidates.at(i);
        if (!candidate.Weight.isEmpty()) {
            const double weight = candidate.Weight.toDouble();
            if (weight > bestWeight || (weight == bestWeight && candidate.Date > bestDate)) {
                best = int(i);
                bestWeight = weight;
                bestDate = candidate.Date;
                loadWon = true;
            }
        } else if (!loadWon && candidate.Date > bestDate) {
            best = int(i);
            bestDate = candidate.Date;
        }
    }
    return best;
}

int TPersonalRecords::WorkoutCount(const QList<TStrengthCandidate> &candidates)
{
    QSet<int> workouts;
    for (const TStrengthCandidate &candidate : candidates)
        workouts.insert(candidate.SessionNr);
    return int(workouts.size());
}
