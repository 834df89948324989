#include "model/ClasshieWorkout.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "reference/Exercises.h"

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;

const QString comma = QStringLiteral(",");

// The Workout table has room for 22 program exercises; the program uses 15
// and always writes the others empty.
constexpr int storedPairs = 22;

QString loadColumn(int k)
{
    return QStringLiteral("WoEx%1").arg(k);
}

QString repsColumn(int k)
{
    return QStringLiteral("WoRep%1").arg(k);
}

// Closes a query when a reading loop ends, also by an exception.
bool noProgram(const QString &program)
{
    const QString trimmed = program.trimmed();
    return trimmed.isEmpty() || trimmed == QLatin1String("-1");
}
} // namespace

TWorkout::TWorkout()
{
    SetCode(QStringLiteral("WOR"), QStringLiteral("Workout"));
}

// ---------------------------------------------------------------------------
// Values

QString TWorkout::NormalizeReps(const QString &text)
{
    QString reps = Str::RemoveChars(text.trimmed(), QStringLiteral(" "), false);
    if (reps == QLatin1String("x"))
        return QString();
    if (reps.startsWith(QLatin1Char('x')))
        reps.prepend(QLatin1Char('1'));
    if (reps.endsWith(QLatin1Char('x')))
        reps.append(QLatin1Char('1'));
    return reps;
}

void TWorkout::SetExercises(const TWorkoutExercises &given)
{
    TWorkoutExercises exercises;
    for (std::size_t i = 0; i < exercises.size(); ++i) {
        exercises[i].Name = given[i].Name;
        exercises[i].Reps = NormalizeReps(given[i].Reps);
        const QString load = NormalizeDecimal(given[i].Load);
        exercises[i].Load = load == QLatin1String("0.0") ? QString() : load;
    }
    m_exercises = exercises;
    m_program.clear();
}

void TWorkout::SetProgram(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) {
        if (!m_programs)
            throw EActivityError(QStringLiteral("Classhie 07"));
        int count = 0;
        try {
            count = m_programs->ExerciseCountOfProgram(Num::StrToInt(trimmed));
        } catch (const EExerciseProgram &) {
            throw EActivityError(QStringLiteral("Classhie 06"));
        } catch (const EConvertError &) {
            throw EActivityError(QStringLiteral("Classhie 06"));
        }
        for (int i = count; i < WorkoutProgramSlots; ++i)
            m_exercises[std::size_t(i)] = TWorkoutExercise{QString(), QString(), QString()};
    }
    m_program = text;
}

bool TWorkout::RepsAtLeast(const QString &reps, int minSets, int minReps)
{
    if (minSets == 0 && minReps == 0)
        return true;
    const QString text = reps.trimmed();
    if (text.isEmpty() || text == QLatin1String("x"))
        return false;
    qsizetype at = text.indexOf(QLatin1Char('x'));
    if (at < 0)
        at = text.indexOf(QLatin1Char('X'));
    if (at < 0)
        return false;
    const QString sets = text.left(at).trimmed();
    const QString repetitions = text.mid(at + 1).trimmed();
    if (sets.isEmpty() || repetitions.isEmpty())
        return false;
    return Num::StrToInt(sets) >= minSets && Num::StrToInt(repetitions) >= minReps;
}

const QStringList &TWorkout::BasicExerciseNames()
{
    static const QStringList names{
        QStringLiteral("Bröst1"),   QStringLiteral("Bröst2"),   QStringLiteral("Bröst3"),  QStringLiteral("Rygg"),
        QStringLiteral("Axlar1"),   QStringLiteral("Axlar2"),   QStringLiteral("Triceps1"), QStringLiteral("Triceps2"),
        QStringLiteral("Biceps1"),  QStringLiteral("Biceps2"),  QStringLiteral("Ben1"),    QStringLiteral("Ben2"),
        QStringLiteral("Ben3"),     QStringLiteral("Ben4"),     QStringLiteral("Situps"),
    };
    return names;
}

// ---------------------------------------------------------------------------
// Storage

void TWorkout::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into Workout"));
    AddLine(query, QStringLiteral("(WoNr, "));
    for (int k = 1; k <= storedPairs; ++k)
        AddLine(query, loadColumn(k) + QStringLiteral(", ") + repsColumn(k) + QStringLiteral(", "));
    for (int j = 1; j <= WorkoutFreeSlots; ++j)
        AddLine(query, QStringLiteral("WoXText%1, WoXEx%1, WoXRep%1, ").arg(j));
    AddLine(query, QStringLiteral("WoComment)"));
    AddLine(query, QStringLiteral("values(:wonr,"));
    query->SetInteger(QStringLiteral("wonr"), GetSessionNr());
    for (int k = 1; k <= storedPairs; ++k) {
        const bool used = k <= WorkoutProgramSlots;
        const TWorkoutExercise empty{QString(), QString(), QString()};
        const TWorkoutExercise &slot = used ? m_exercises[std::size_t(k - 1)] : empty;
        AddValue(query, loadColumn(k), vkDecimal, comma, true, slot.Load);
        AddValue(query, repsColumn(k), vkText, comma, false, slot.Reps);
    }
    for (int j = 1; j <= WorkoutFreeSlots; ++j) {
        const TWorkoutExercise &slot = m_exercises[std::size_t(WorkoutProgramSlots + j - 1)];
        AddValue(query, QStringLiteral("WoXText%1").arg(j), vkText, comma, false, slot.Name);
        AddValue(query, QStringLiteral("WoXEx%1").arg(j), vkDecimal, comma, true, slot.Load);
        AddValue(query, QStringLiteral("WoXRep%1").arg(j), vkText, comma, false, slot.Reps);
    }
    AddValue(query, QStringLiteral("WoComment"), vkText, QStringLiteral(")"), false, GetComment());
}

void TWorkout::AddInsertProgram()
{
    if (noProgram(m_program))
        return;
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into WorkoutExercisePrograms"));
    AddLine(query, QStringLiteral("(WoNr, ExProgId)"));
    AddLine(query, QStringLiteral("values(:wonr, "));
    query->SetInteger(QStringLiteral("wonr"), GetSessionNr());
    AddValue(query, QStringLiteral("exid"), vkInteger, QStringLiteral(")"), false, m_program);
}

void TWorkout::LoadTypeRow()
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select * from Workout"));
    AddLine(&query, QStringLiteral("where WoNr = :wonr"));
    query.SetInteger(QStringLiteral("wonr"), GetSessionNr());
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
    }
    TWorkoutExercises read;
    for (int k = 1; k <= WorkoutProgramSlots; ++k)
        read[std::size_t(k - 1)] = TWorkoutExercise{QString(), Column(repsColumn(k), vkText), Column(loadColumn(k), vkDecimal)};
    for (int j = 1; j <= WorkoutFreeSlots; ++j) {
        read[std::size_t(WorkoutProgramSlots + j - 1)] =
            TWorkoutExercise{Column(QStringLiteral("WoXText%1").arg(j), vkText), Column(QStringLiteral("WoXRep%1").arg(j), vkText),
                             Column(QStringLiteral("WoXEx%1").arg(j), vkDecimal)};
    }
    const QString comment = Column(QStringLiteral("WoComment"), vkText);
    query.Close();
    SetExercises(read);
    SetComment(comment);

    // The program is read as well, not only taken from a list row: an entry
    // loaded by its number alone would otherwise have none, and its next
    // update would delete the stored program row.
    query.Clear();
    AddLine(&query, QStringLiteral("select ExProgId from WorkoutExercisePrograms"));
    AddLine(&query, QStringLiteral("where WoNr = :wonr"));
    query.SetInteger(QStringLiteral("wonr"), GetSessionNr());
    query.Open();
    m_program = query.Eof() ? QString() : Column(QStringLiteral("ExProgId"), vkInteger);
    query.Clear();
}

void TWorkout::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update Workout set"));
    for (int k = 1; k <= storedPairs; ++k) {
        const bool used = k <= WorkoutProgramSlots;
        const TWorkoutExercise empty{QString(), QString(), QString()};
        const TWorkoutExercise &slot = used ? m_exercises[std::size_t(k - 1)] : empty;
        AddSetClause(query, loadColumn(k), loadColumn(k), comma, true, slot.Load, vkDecimal);
        AddSetClause(query, repsColumn(k), repsColumn(k), comma, false, slot.Reps, vkText);
    }
    for (int j = 1; j <= WorkoutFreeSlots; ++j) {
        const TWorkoutExercise &slot = m_exercises[std::size_t(WorkoutProgramSlots + j - 1)];
        const QString text = QStringLiteral("WoXText%1").arg(j);
        const QString load = QStringLiteral("WoXEx%1").arg(j);
        const QString reps = QStringLiteral("WoXRep%1").arg(j);
        AddSetClause(query, text, text, comma, false, slot.Name, vkText);
        AddSetClause(query, load, load, comma, true, slot.Load, vkDecimal);
        AddSetClause(query, reps, reps, comma, false, slot.Reps, vkText);
    }
    AddSetClause(query, QStringLiteral("WoComment"), QStringLiteral("Comment"), QStringLiteral(" "), false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where WoNr = :wonr"));
    query->SetInteger(QStringLiteral("wonr"), GetSessionNr());
}

void TWorkout::AddUpdateProgram()
{
    AddDeleteProgram();
    ExecuteBuffer(false);
    Query().Clear();
    AddInsertProgram();
}

void TWorkout::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from Workout"));
    AddLine(query, QStringLiteral("where WoNr = :wonr"));
    query->SetInteger(QStringLiteral("wonr"), GetSessionNr());
}

void TWorkout::AddDeleteProgram()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from WorkoutExercisePrograms"));
    AddLine(query, QStringLiteral("where WoNr = :wonr"));
    query->SetInteger(QStringLiteral("wonr"), GetSessionNr());
}

// ---------------------------------------------------------------------------
// Search

void TWorkout::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", "));
    for (int k = 1; k <= WorkoutProgramSlots; ++k)
        AddLine(query, loadColumn(k) + QStringLiteral(", "));
    AddLine(query, QStringLiteral("ExProgId"));
    AddLine(query, QStringLiteral("from TrainingSession, Workout w left join Workoutexerciseprograms wp"));
    AddLine(query, QStringLiteral("on w.wonr = wp.wonr"));
    AddLine(query, QStringLiteral("where SessionNr = w.WoNr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    if (!filter.ProgramId.trimmed().isEmpty()) {
        AddLine(query, QStringLiteral("and exprogid = :pid"));
        BindParam(query, QStringLiteral("pid"), vkInteger, false, filter.ProgramId.trimmed());
    }
    RunListQuery(numbers);
}

void TWorkout::LoadListRow()
{
    TActivity::LoadListRow();
    TWorkout *row = RowAs<TWorkout>();
    TWorkoutExercises read;
    for (int k = 1; k <= WorkoutProgramSlots; ++k)
        read[std::size_t(k - 1)] = TWorkoutExercise{QString(), QString(), Column(loadColumn(k), vkDecimal)};
    for (int j = WorkoutProgramSlots; j < WorkoutProgramSlots + WorkoutFreeSlots; ++j)
        read[std::size_t(j)] = TWorkoutExercise{QString(), QString(), QString()};
    row->SetExercises(read);
    row->SetExercisePrograms(m_programs);
    const QString program = Column(QStringLiteral("ExProgId"), vkInteger);
    // A searching object without the programs register (the activities
    // collection gives it only the connection) still lists the program.
    if (m_programs)
        row->SetProgram(program);
    else
        row->m_program = program;
}

// ---------------------------------------------------------------------------
// Strength records

void TWorkout::ProgramRecords(QList<TWRecordItem> &list, const QString &exerciseName, int minReps, int minSets, qint32 programId,
                              const QString &slot)
{
    // The slot becomes part of column names: only 1..15 may.
    const int n = Num::StrToInt(slot);
    if (n < 1 || n > WorkoutProgramSlots)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(slot));
    const QString load = loadColumn(n);
    const QString reps = repsColumn(n);
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select SessionDate, SessionPlace, ExProgName, ") + load + QStringLiteral(", ") + reps);
    AddLine(&query, QStringLiteral("from workout w, workoutexerciseprograms wp, trainingsession t, exerciseprograms ep"));
    AddLine(&query, QStringLiteral("where w.wonr = wp.wonr and"));
    AddLine(&query, QStringLiteral("      SessionNr = w.wonr and"));
    AddLine(&query, QStringLiteral("      ep.exprogid = wp.exprogid and"));
    AddLine(&query, QStringLiteral("      wp.exprogid = :exprogid and"));
    AddLine(&query, QStringLiteral("     (") + load + QStringLiteral(" is not null or"));
    AddLine(&query, QStringLiteral("      ") + reps + QStringLiteral(" <> '')"));
    AddLine(&query, QStringLiteral("order by SessionDate"));
    query.SetInteger(QStringLiteral("exprogid"), programId);
    query.Open();
    TDbQueryCloser closer(query);
    for (; !query.Eof(); query.Next()) {
        const QString repsText = Column(reps, vkText);
        if (!RepsAtLeast(repsText, minSets, minReps))
            continue;
        TWRecordItem item;
        item.Date = Column(QStringLiteral("SessionDate"), vkDate);
        item.Place = Column(QStringLiteral("SessionPlace"), vkText);
        item.Program = Column(QStringLiteral("ExProgName"), vkText);
        item.Exercise = exerciseName;
        item.Weight = NormalizeDecimal(Column(load, vkDecimal));
        item.Reps = repsText;
        list.append(item);
    }
}

void TWorkout::FreeRecords(QList<TWRecordItem> &list, int minSets, int minCount, int minReps)
{
    TDbQuery &query = Query();
    for (int k = 1; k <= WorkoutProgramSlots; ++k) {
        const QString load = loadColumn(k);
        const QString reps = repsColumn(k);
        query.Clear();
        AddLine(&query, QStringLiteral("select SessionDate, SessionPlace, ") + load + QStringLiteral(", ") + reps);
        AddLine(&query, QStringLiteral("from Workout a, TrainingSession c"));
        AddLine(&query, QStringLiteral("where c.SessionNr = a.WoNr and"));
        AddLine(&query, QStringLiteral("(") + load + QStringLiteral(" is not null or"));
        AddLine(&query, reps + QStringLiteral(" <> '')"));
        AddLine(&query, QStringLiteral("and not exists (select WoNr from WorkoutExercisePrograms where wonr = a.WoNr)"));
        AddLine(&query, QStringLiteral("order by ") + load + QStringLiteral(" desc, SessionDate desc"));
        query.Open();
        TDbQueryCloser closer(query);
        int count = 0;
        TWRecordItem best;
        for (; !query.Eof(); query.Next()) {
            const QString repsText = Column(reps, vkText);
            if (!RepsAtLeast(repsText, minSets, minReps))
                continue;
            if (count++ > 0)
                continue;
            best.Date = Column(QStringLiteral("SessionDate"), vkDate);
            best.Place = Column(QStringLiteral("SessionPlace"), vkText);
            best.Exercise = BasicExerciseNames().at(k - 1);
            best.Weight = NormalizeDecimal(Column(load, vkDecimal));
            best.Reps = repsText;
        }
        if (count > 0 && count >= minCount) {
            best.Count = QString::number(count);
            list.append(best);
        }
    }
    query.Clear();
}
