#include "columns/GridActivityColumnsCells.h"

#include "columns/ExerciseColumnSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"

#include <array>
#include <optional>

namespace
{
using TimeDate = TTulloUtilTimeDate;

// The n (1..4) of a lap column counted from the group's first kind.
int lapNumber(TColumnKind kind, TColumnKind first)
{
    return Ordinal(kind) - Ordinal(first) + 1;
}

// A computed value; stored values that cannot be computed with (a distance
// that is no number, a time that is no duration) give an empty cell rather
// than stopping the whole list.
template <class F> QString computed(F compute)
{
    try {
        return compute();
    } catch (const EPGUtilsError &) {
        return QString();
    } catch (const EConvertError &) {
        return QString();
    }
}
} // namespace

// One activity seen through its class, with what several columns share
// (the lap marks, the workout's exercises and program) read at most once.
class TActivityCellTexts::TRow
{
public:
    TRow(const TActivityCellTexts &owner, const TActivity &activity) : m_owner(owner), m_activity(activity)
    {
        switch (activity.Family()) {
        case TActivityFamily::TimeDistance:
            m_timeDistance = dynamic_cast<const TTimeDistanceActivity *>(&activity);
            m_time = m_timeDistance;
            break;
        case TActivityFamily::Game:
            m_game = dynamic_cast<const TGame *>(&activity);
            m_time = m_game;
            break;
        case TActivityFamily::Time:
            m_time = dynamic_cast<const TTimeActivity *>(&activity);
            break;
        case TActivityFamily::Distance:
            m_distance = dynamic_cast<const TDistanceActivity *>(&activity);
            break;
        case TActivityFamily::Other:
            m_other = dynamic_cast<const TOther *>(&activity);
            break;
        case TActivityFamily::Golf:
            m_golf = dynamic_cast<const TGolf *>(&activity);
            break;
        case TActivityFamily::Workout:
            m_workout = dynamic_cast<const TWorkout *>(&activity);
            break;
        case TActivityFamily::CardioMeasure:
            m_measure = dynamic_cast<const TCardioMeasure *>(&activity);
            break;
        case TActivityFamily::Simple:
            break;
        }
    }

    QString Text(TColumnKind kind)
    {
        using K = TColumnKind;
        switch (kind) {
        case K::cDate:
            return m_activity.GetDate();
        case K::cAct:
            return m_activity.GetActivityName();
        case K::cPlace:
            return m_activity.GetPlace();
        case K::cDistance:
            if (m_timeDistance)
                return m_timeDistance->GetDistance();
            return m_distance ? m_distance->GetDistance() : QString();
        case K::cTime:
            return m_time ? m_time->GetDuration() : QString();
        case K::cDistTime:
            return m_timeDistance ? computed([this] { return m_timeDistance->GetKmTime(); }) : QString();
        case K::cSpeed:
            return m_timeDistance ? computed([this] { return m_timeDistance->GetSpeed(); }) : QString();
        case K::cLapTime1:
        case K::cLapTime2:
        case K::cLapTime3:
        case K::cLapTime4:
            return LapTime(lapNumber(kind, K::cLapTime1));
        case K::cLapDistTime1:
        case K::cLapDistTime2:
        case K::cLapDistTime3:
        case K::cLapDistTime4: {
            const int n = lapNumber(kind, K::cLapDistTime1);
            if (!HasLap(n))
                return QString();
            return computed([this, n] { return m_timeDistance->GetLapKmTime(n - 1); });
        }
        case K::cLapSpeed1:
        case K::cLapSpeed2:
        case K::cLapSpeed3:
        case K::cLapSpeed4: {
            const int n = lapNumber(kind, K::cLapSpeed1);
            if (!HasLap(n))
                return QString();
            return computed([this, n] { return m_timeDistance->GetLapSpeed(n - 1); });
        }
        case K::cTemp:
            return m_activity.GetTemperature();
        case K::cPerf:
            return m_game ? PerformanceText(m_game->GetPerformance()) : QString();
        case K::cGame:
            return m_game ? m_game->GetGame() : QString();
        case K::cExerciseProg:
            return ProgramName();
        case K::cWeight:
            return m_activity.GetWeight();
        case K::cOther:
            return m_other ? m_other->GetOtherActivity() : QString();
        case K::cPar:
            return m_golf ? m_golf->GetPar() : QString();
        case K::cStroke:
            return m_golf ? m_golf->GetStroke() : QString();
        case K::cScore:
            return m_golf ? m_golf->GetScore() : QString();
        case K::cHCP:
            return m_golf ? m_golf->GetPrevHcp() : QString();
        case K::cNewHCP:
            return m_golf ? m_golf->GetNewHcp() : QString();
        case K::cCardioMeasure:
            return m_measure ? m_measure->GetMeasure() : QString();
        case K::cCalorie:
            return m_activity.GetCalorie();
        case K::cRestPulse:
            return m_activity.GetRestPulse();
        case K::cMaxpulse:
            return m_activity.GetMaxPulse();
        case K::cAvgPulse:
            return m_activity.GetAvgPulse();
        case K::cComment:
            return m_activity.GetSessionComment();
        case K::cId:
            return QString::number(m_activity.GetSessionNr());
        default:
            break;
        }
        if (Ordinal(kind) >= Ordinal(K::cExercise1) && Ordinal(kind) <= Ordinal(K::cExercise20))
            return ExerciseLoad(Ordinal(kind) - Ordinal(K::cExercise1) + 1);
        return QString();
    }

private:
    bool HasLap(int n) const { return m_timeDistance && m_timeDistance->LapCount() >= n; }

    QString LapTime(int n)
    {
        if (!HasLap(n))
            return QString();
        if (!m_lapTimes) {
            QStringList times, distances;
            m_timeDistance->GetLaps(&times, &distances);
            m_lapTimes = times;
        }
        return m_lapTimes->value(n - 1);
    }

    // The programs register that knows the workout's program.
    const TExercisePrograms *Programs() const
    {
        return m_owner.m_programs ? m_owner.m_programs : m_workout->GetExercisePrograms();
    }

    // Reads the workout's loads and its program's exercises once.
    void PrepareWorkout()
    {
        if (m_workoutRead)
            return;
        m_workoutRead = true;
        m_workout->GetExercises(m_exercises);
        m_programExercises.fill(TExerciseColumnSettings::NoExercise);
        const QString program = m_workout->GetProgram().trimmed();
        if (program.isEmpty() || !TTulloUtilNumeric::IsInteger(program))
            return;
        const TExercisePrograms *programs = Programs();
        if (!programs)
            return;
        m_programId = TTulloUtilNumeric::StrToInt(program);
        // A program the register does not know (any more) is shown as none:
        // one odd entry must not keep the whole list from being filled.
        TProgramExercises programSlots;
        try {
            m_programName = programs->GetProgramName(*m_programId);
            programSlots = programs->GetProgramExercises(*m_programId);
        } catch (const EExerciseProgram &) {
            m_programId.reset();
            return;
        }
        for (int i = 0; i < ProgramSlotCount; ++i) {
            const QString slot = programSlots[std::size_t(i)].trimmed();
            if (slot.isEmpty() || !TTulloUtilNumeric::IsInteger(slot))
                break;
            m_programExercises[std::size_t(i)] = TTulloUtilNumeric::StrToInt(slot);
        }
    }

    QString ProgramName()
    {
        if (!m_workout)
            return QString();
        PrepareWorkout();
        return m_programId ? m_programName : QString();
    }

    // Exercise column n: the load at the program position of the column's
    // exercise, or, for an unassigned column, the load of entry n (columns
    // 1 to 16 only).
    QString ExerciseLoad(int n)
    {
        if (!m_workout)
            return QString();
        PrepareWorkout();
        const qint32 exercise =
            m_owner.m_settings ? m_owner.m_settings->ExerciseOfColumn(n) : TExerciseColumnSettings::NoExercise;
        if (exercise == TExerciseColumnSettings::NoExercise)
            return n <= WorkoutProgramSlots + 1 ? m_exercises[std::size_t(n - 1)].Load : QString();
        if (!m_programId)
            return QString();
        for (int i = 0; i < ProgramSlotCount; ++i) {
            const qint32 id = m_programExercises[std::size_t(i)];
            if (id == TExerciseColumnSettings::NoExercise)
                break;
            if (id == exercise)
                return m_exercises[std::size_t(i)].Load;
        }
        return QString();
    }

    const TActivityCellTexts &m_owner;
    const TActivity &m_activity;
    const TTimeActivity *m_time = nullptr;
    const TTimeDistanceActivity *m_timeDistance = nullptr;
    const TDistanceActivity *m_distance = nullptr;
    const TGame *m_game = nullptr;
    const TOther *m_other = nullptr;
    const TGolf *m_golf = nullptr;
    const TWorkout *m_workout = nullptr;
    const TCardioMeasure *m_measure = nullptr;

    std::optional<QStringList> m_lapTimes;
    bool m_workoutRead = false;
    TWorkoutExercises m_exercises;
    std::optional<qint32> m_programId;
    QString m_programName;
    std::array<qint32, ProgramSlotCount> m_programExercises{};
};

QString TActivityCellTexts::CellText(TColumnKind kind, const TActivity &activity) const
{
    TRow row(*this, activity);
    return row.Text(kind);
}

void TActivityCellTexts::RowTexts(const TActivity &activity, const QList<TColumnKind> &kinds, QStringList &texts) const
{
    TRow row(*this, activity);
    texts.resize(kinds.size());
    for (qsizetype i = 0; i < kinds.size(); ++i)
        texts[i] = row.Text(kinds.at(i));
}

QString TActivityCellTexts::PerformanceText(int performance)
{
    switch (performance) {
    case 0:
        return QStringLiteral("Mycket dåligt");
    case 1:
        return QStringLiteral("Dåligt");
    case 2:
        return QStringLiteral("Medel");
    case 3:
        return QStringLiteral("Bra");
    case 4:
        return QStringLiteral("Mycket bra");
    default:
        return QString();
    }
}
