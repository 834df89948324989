#include "columns/ExerciseColumnSettings.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"
#include "reference/Exercises.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace
{
[[noreturn]] void raiseError(const char *number)
{
    throw EExerciseColumnSettings(QStringLiteral("ExerciseColumnSettings ") + QLatin1String(number));
}
} // namespace

TExerciseColumnSettings::TExerciseColumnSettings()
{
    Reset();
}

TExerciseColumnSettings::~TExerciseColumnSettings() = default;

void TExerciseColumnSettings::Reset()
{
    m_slots.fill(NoExercise);
}

void TExerciseColumnSettings::SetDatabase(TDbConnection *database)
{
    if (!database)
        raiseError("01");
    if (!database->Connected()) {
        database->Open();
        database->Close();
    }
    m_database = database;
    m_query = std::make_unique<TDbQuery>(*database);
}

void TExerciseColumnSettings::SetExercises(TExercises *exercises)
{
    if (!exercises)
        raiseError("05");
    m_exercises = exercises;
}

TDbQuery &TExerciseColumnSettings::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TExerciseColumnSettings::GetList(QList<qint32> *list) const
{
    if (!list)
        raiseError("02");
    *list = QList<qint32>(m_slots.cbegin(), m_slots.cend());
}

void TExerciseColumnSettings::SetList(const QList<qint32> *list)
{
    if (!list)
        raiseError("03");
    if (list->size() != ExerciseColumnCount)
        raiseError("04");
    if (!m_exercises)
        raiseError("06");
    for (int i = 0; i < ExerciseColumnCount; ++i) {
        const qint32 id = list->at(i);
        if (id == NoExercise)
            continue;
        if (!m_exercises->ExerciseExists(id) || m_exercises->IsExerciseDeleted(id))
            raiseError("07");
        if (list->indexOf(id) < i)
            raiseError("09");
    }
    std::copy(list->cbegin(), list->cend(), m_slots.begin());
}

qint32 TExerciseColumnSettings::ExerciseOfColumn(int n) const
{
    if (n < 1 || n > ExerciseColumnCount)
        return NoExercise;
    return m_slots[std::size_t(n - 1)];
}

void TExerciseColumnSettings::LoadFromDb()
{
    if (!m_exercises)
        raiseError("08");
    TDbQuery &query = Query();
    query.Clear();
    TDbQueryCloser closer(query);
    DbMisc::AddLine(&query, QStringLiteral("select ExerciseNr, ExerciseId from ExerciseColumns order by ExerciseNr"));
    query.Open();
    std::array<qint32, ExerciseColumnCount> read;
    read.fill(NoExercise);
    for (; !query.Eof(); query.Next()) {
        // The table's key allows any number and the id may be null: only a
        // column the list has, showing an exercise that exists and is not
        // shown already, is taken.
        const qint64 nr = query.FieldAsInteger(0);
        if (nr < 1 || nr > ExerciseColumnCount || query.FieldIsNull(1))
            continue;
        const qint64 id = query.FieldAsInteger(1);
        if (id < 0 || id > std::numeric_limits<qint32>::max() || !m_exercises->ExerciseExists(qint32(id)))
            continue;
        if (std::find(read.cbegin(), read.cend(), qint32(id)) != read.cend())
            continue;
        read[std::size_t(nr - 1)] = qint32(id);
    }
    m_slots = read;
}

void TExerciseColumnSettings::SaveToDb()
{
    TDbQuery &query = Query();
    // Delete and inserts belong together: a failing insert must not leave
    // the table with only some of the columns.
    std::optional<TDbTransactionGuard> transaction;
    if (!m_database->InTransaction())
        transaction.emplace(*m_database);

    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("delete from ExerciseColumns"));
    query.ExecSQL();
    for (int n = 1; n <= ExerciseColumnCount; ++n) {
        const qint32 id = m_slots[std::size_t(n - 1)];
        if (id == NoExercise)
            continue;
        query.Clear();
        DbMisc::AddLine(&query, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values(:exnr, :exid)"));
        query.SetInteger(QStringLiteral("exnr"), n);
        query.SetInteger(QStringLiteral("exid"), id);
        query.ExecSQL();
    }
    query.Clear();
    if (transaction)
        transaction->Commit();
}
