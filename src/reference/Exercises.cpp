#include "reference/Exercises.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

#include <algorithm>
#include <optional>

namespace
{
using Str = TTulloUtilString;

constexpr int nameLength = 60;
constexpr int commentLength = 250;

const QString reservedName = QStringLiteral("Vikt");

// The id a slot names, or -1 for an empty slot. A slot that is no whole
// number raises EConvertError.
qint32 slotExercise(const QString &slot)
{
    const QString trimmed = slot.trimmed();
    return trimmed.isEmpty() ? -1 : TTulloUtilNumeric::StrToInt(trimmed);
}

int columnInteger(TDbQuery &query, const QString &column)
{
    const QString text = DbMisc::GetColumn(&query, column, DbMisc::vkInteger);
    return text.isEmpty() ? 0 : TTulloUtilNumeric::StrToInt(text);
}

void bindInteger(TDbQuery &query, const QString &param, qint32 value)
{
    DbMisc::BindParam(&query, param, DbMisc::vkInteger, false, QString::number(value));
}

void bindText(TDbQuery &query, const QString &param, const QString &value)
{
    DbMisc::BindParam(&query, param, DbMisc::vkText, false, value);
}

// Binds the slotValues as ex1..ex15 and returns, per slot, what stands in the
// statement: the parameter, or the word null for an empty slot.
QStringList bindSlots(TDbQuery &query, const TProgramExercises &exercises)
{
    QStringList values;
    for (int i = 0; i < ProgramSlotCount; ++i) {
        const QString param = QStringLiteral("ex%1").arg(i + 1);
        const QString slot = exercises[std::size_t(i)].trimmed();
        if (slot.isEmpty()) {
            values.append(QStringLiteral("null"));
        } else {
            DbMisc::BindParam(&query, param, DbMisc::vkInteger, false, slot);
            values.append(QLatin1Char(':') + param);
        }
    }
    return values;
}

template <class Item> qint32 nextId(const std::vector<Item> &items, qint32 Item::*id)
{
    qint32 highest = 0;
    for (const Item &item : items)
        highest = std::max(highest, item.*id);
    return highest + 1;
}
} // namespace

QString CleanExerciseName(const QString &name)
{
    QString cleaned = Str::RemoveChars(name, QStringLiteral("&"), false);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\n"), true);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\r"), false);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\t"), true);
    if (cleaned.trimmed().isEmpty())
        cleaned = QStringLiteral("X");
    return cleaned.left(nameLength);
}

// ---------------------------------------------------------------------------
// TExercises

TExercises::TExercises() = default;
TExercises::~TExercises() = default;

void TExercises::SetDatabase(TDbConnection *database)
{
    m_database = database;
    m_query = database ? std::make_unique<TDbQuery>(*database) : nullptr;
    m_items.clear();
}

TDbQuery &TExercises::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TExercises::LoadExercises()
{
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select ExerciseId, ExerciseName from Exercises order by ExerciseName"));
    query.Open();
    std::vector<TExerciseItem> items;
    for (; !query.Eof(); query.Next()) {
        TExerciseItem item;
        item.ExerciseId = columnInteger(query, QStringLiteral("ExerciseId"));
        item.Name = DbMisc::GetColumn(&query, QStringLiteral("ExerciseName"), DbMisc::vkText);
        item.State = TItemState::Stored;
        items.push_back(item);
    }
    query.Clear();
    m_items = std::move(items);
}

void TExercises::ApplyExercises()
{
    TDbQuery &query = Query();
    // Each item's state changes only after its own statement succeeded, so
    // that memory keeps matching the table when a later statement fails.
    for (auto i = qsizetype(m_items.size()) - 1; i >= 0; --i) {
        TExerciseItem &item = m_items[std::size_t(i)];
        query.Clear();
        switch (item.State) {
        case TItemState::New:
            DbMisc::AddLine(&query, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values( :exnr, :exname)"));
            bindInteger(query, QStringLiteral("exnr"), item.ExerciseId);
            bindText(query, QStringLiteral("exname"), item.Name);
            query.ExecSQL();
            item.State = TItemState::Stored;
            break;
        case TItemState::Stored:
            DbMisc::AddLine(&query, QStringLiteral("update Exercises set ExerciseName = :exname where ExerciseId = :exnr"));
            bindText(query, QStringLiteral("exname"), item.Name);
            bindInteger(query, QStringLiteral("exnr"), item.ExerciseId);
            query.ExecSQL();
            break;
        case TItemState::Deleted: {
            // The exercise's columns go first and with it: ids are given
            // again, and a column left behind would show the next exercise
            // that gets this id.
            std::optional<TDbTransactionGuard> transaction;
            if (!m_database->InTransaction())
                transaction.emplace(*m_database);
            DbMisc::AddLine(&query, QStringLiteral("delete from ExerciseColumns where ExerciseId = :exnr"));
            bindInteger(query, QStringLiteral("exnr"), item.ExerciseId);
            query.ExecSQL();
            query.Clear();
            DbMisc::AddLine(&query, QStringLiteral("delete from Exercises where ExerciseId = :exnr"));
            bindInteger(query, QStringLiteral("exnr"), item.ExerciseId);
            query.ExecSQL();
            if (transaction)
                transaction->Commit();
            m_items.erase(m_items.begin() + i);
            break;
        }
        }
    }
    query.Clear();
}

void TExercises::CheckName(const QString &name, qint32 id) const
{
    // The table gives names back trimmed: names that differ only in
    // surrounding blanks would be two equal names after the next load, and
    // " Vikt" would become the reserved name.
    const QString compared = name.trimmed();
    for (const TExerciseItem &item : m_items) {
        if (item.State != TItemState::Deleted && item.Name.trimmed() == compared && item.ExerciseId != id)
            throw EExercises(QStringLiteral("Exercises 03"));
    }
    if (compared == reservedName)
        throw EExercises(QStringLiteral("Exercises 06"));
}

qint32 TExercises::AddExercise(const QString &name)
{
    const QString cleaned = CleanExerciseName(name);
    CheckName(cleaned, -1);
    const qint32 id = nextId(m_items, &TExerciseItem::ExerciseId);
    m_items.push_back(TExerciseItem{id, cleaned, TItemState::New});
    return id;
}

void TExercises::RenameExercise(qint32 id, const QString &name)
{
    TExerciseItem &item = Item(id);
    const QString cleaned = CleanExerciseName(name);
    CheckName(cleaned, id);
    item.Name = cleaned;
}

void TExercises::DeleteExercise(qint32 id)
{
    TExerciseItem &item = Item(id);
    if (m_programs && m_programs->ExerciseInPrograms(id))
        throw EExercises(QStringLiteral("Exercises 02"));
    item.State = TItemState::Deleted;
}

QString TExercises::GetExerciseName(qint32 id) const
{
    return Item(id).Name;
}

void TExercises::GetExercises(QList<qint32> &ids, QStringList &names) const
{
    ids.clear();
    names.clear();
    for (const TExerciseItem &item : m_items) {
        if (item.State == TItemState::Deleted)
            continue;
        ids.append(item.ExerciseId);
        names.append(item.Name);
    }
}

void TExercises::GetAllExerciseNames(QStringList &names) const
{
    names.clear();
    for (const TExerciseItem &item : m_items)
        names.append(item.Name);
}

qint32 TExercises::ExerciseIdOfName(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(), [&name](const TExerciseItem &item) { return item.Name == name; });
    if (it == m_items.cend())
        throw EExercises(QStringLiteral("Exercises 04"));
    return it->ExerciseId;
}

bool TExercises::IsExerciseDeleted(qint32 id) const
{
    return Item(id).State == TItemState::Deleted;
}

bool TExercises::ExerciseExists(qint32 id) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(), [id](const TExerciseItem &item) { return item.ExerciseId == id; });
}

int TExercises::ProgramCountOfExercise(qint32 id) const
{
    Item(id);
    if (!m_programs)
        throw EExercises(QStringLiteral("Exercises 05"));
    QList<qint32> programIds;
    QStringList programNames;
    m_programs->GetPrograms(programIds, programNames);
    return int(std::count_if(programIds.cbegin(), programIds.cend(),
                             [this, id](qint32 programId) { return m_programs->ProgramContains(programId, id); }));
}

const TExerciseItem &TExercises::Item(qint32 id) const
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(), [id](const TExerciseItem &item) { return item.ExerciseId == id; });
    if (it == m_items.cend())
        throw EExercises(QStringLiteral("Exercises 01"));
    return *it;
}

TExerciseItem &TExercises::Item(qint32 id)
{
    return const_cast<TExerciseItem &>(std::as_const(*this).Item(id));
}

// ---------------------------------------------------------------------------
// TExercisePrograms

TExercisePrograms::TExercisePrograms() = default;
TExercisePrograms::~TExercisePrograms() = default;

void TExercisePrograms::SetDatabase(TDbConnection *database)
{
    if (database && !database->Connected()) {
        database->Open();
        database->Close();
    }
    m_query = database ? std::make_unique<TDbQuery>(*database) : nullptr;
    m_items.clear();
    m_snapshot.clear();
}

TDbQuery &TExercisePrograms::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TExercisePrograms::LoadPrograms()
{
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select * from ExercisePrograms order by ExProgName"));
    query.Open();
    std::vector<TExerciseProgramItem> items;
    for (; !query.Eof(); query.Next()) {
        TExerciseProgramItem item;
        item.ExProgId = columnInteger(query, QStringLiteral("ExProgId"));
        item.Name = DbMisc::GetColumn(&query, QStringLiteral("ExProgName"), DbMisc::vkText);
        item.Comment = DbMisc::GetColumn(&query, QStringLiteral("ExComment"), DbMisc::vkText);
        for (int i = 0; i < ProgramSlotCount; ++i)
            item.Exercises[std::size_t(i)] = DbMisc::GetColumn(&query, QStringLiteral("Exercise%1").arg(i + 1), DbMisc::vkInteger);
        item.State = TItemState::Stored;
        items.push_back(item);
    }
    query.Clear();
    m_items = std::move(items);
    TakeSnapshot();
}

void TExercisePrograms::ApplyPrograms()
{
    TDbQuery &query = Query();
    for (auto i = qsizetype(m_items.size()) - 1; i >= 0; --i) {
        TExerciseProgramItem &item = m_items[std::size_t(i)];
        query.Clear();
        switch (item.State) {
        case TItemState::New: {
            bindInteger(query, QStringLiteral("exnr"), item.ExProgId);
            bindText(query, QStringLiteral("exname"), item.Name);
            const QStringList slotValues = bindSlots(query, item.Exercises);
            bindText(query, QStringLiteral("exco"), item.Comment);
            QStringList columns;
            for (int slot = 1; slot <= ProgramSlotCount; ++slot)
                columns.append(QStringLiteral("Exercise%1").arg(slot));
            DbMisc::AddLine(&query, QStringLiteral("insert into ExercisePrograms (ExProgId, ExProgName, ") + columns.join(QStringLiteral(", "))
                                        + QStringLiteral(", ExComment) values( :exnr, :exname, ") + slotValues.join(QStringLiteral(", "))
                                        + QStringLiteral(", :exco)"));
            query.ExecSQL();
            item.State = TItemState::Stored;
            SetSnapshotOf(item);
            break;
        }
        case TItemState::Stored: {
            bindText(query, QStringLiteral("exname"), item.Name);
            const QStringList slotValues = bindSlots(query, item.Exercises);
            bindText(query, QStringLiteral("exco"), item.Comment);
            bindInteger(query, QStringLiteral("exnr"), item.ExProgId);
            QStringList sets;
            for (int slot = 0; slot < ProgramSlotCount; ++slot)
                sets.append(QStringLiteral("Exercise%1 = ").arg(slot + 1) + slotValues.at(slot));
            DbMisc::AddLine(&query, QStringLiteral("update ExercisePrograms set ExProgName = :exname, ") + sets.join(QStringLiteral(", "))
                                        + QStringLiteral(", ExComment = :exco where ExProgId = :exnr"));
            query.ExecSQL();
            SetSnapshotOf(item);
            break;
        }
        case TItemState::Deleted:
            DbMisc::AddLine(&query, QStringLiteral("delete from ExercisePrograms where ExProgId = :exnr"));
            bindInteger(query, QStringLiteral("exnr"), item.ExProgId);
            query.ExecSQL();
            DropSnapshotOf(item.ExProgId);
            m_items.erase(m_items.begin() + i);
            break;
        }
    }
    query.Clear();
    TakeSnapshot();
}

qint32 TExercisePrograms::AddProgram(const QString &name, const QString &comment)
{
    TExerciseProgramItem item;
    item.ExProgId = nextId(m_items, &TExerciseProgramItem::ExProgId);
    item.Name = CleanExerciseName(name);
    item.Comment = comment.left(commentLength);
    item.State = TItemState::New;
    m_items.push_back(item);
    return item.ExProgId;
}

void TExercisePrograms::RenameProgram(qint32 id, const QString &name)
{
    Item(id).Name = CleanExerciseName(name);
}

QString TExercisePrograms::GetProgramName(qint32 id) const
{
    return Item(id).Name;
}

QString TExercisePrograms::GetProgramComment(qint32 id) const
{
    return Item(id).Comment;
}

void TExercisePrograms::SetProgramComment(qint32 id, const QString &comment)
{
    Item(id).Comment = comment.left(commentLength);
}

TProgramExercises TExercisePrograms::GetProgramExercises(qint32 id) const
{
    return Item(id).Exercises;
}

void TExercisePrograms::SetProgramExercises(qint32 id, const TProgramExercises &exercises)
{
    TExerciseProgramItem &item = Item(id);
    bool emptyPassed = false;
    for (const QString &slot : exercises) {
        if (slot.trimmed().isEmpty()) {
            emptyPassed = true;
            continue;
        }
        if (emptyPassed)
            throw EExerciseProgram(QStringLiteral("ExerciseProgram 02"));
        if (m_exercises) {
            const qint32 exerciseId = slotExercise(slot);
            if (!m_exercises->ExerciseExists(exerciseId) || m_exercises->IsExerciseDeleted(exerciseId))
                throw EExerciseProgram(QStringLiteral("ExerciseProgram 03"));
        }
    }
    item.Exercises = exercises;
}

void TExercisePrograms::GetPrograms(QList<qint32> &ids, QStringList &names) const
{
    ids.clear();
    names.clear();
    for (const TExerciseProgramItem &item : m_items) {
        if (item.State == TItemState::Deleted)
            continue;
        ids.append(item.ExProgId);
        names.append(item.Name);
    }
}

void TExercisePrograms::GetAllProgramIds(QList<qint32> &ids) const
{
    ids.clear();
    for (const TExerciseProgramItem &item : m_items)
        ids.append(item.ExProgId);
}

void TExercisePrograms::DeleteProgram(qint32 id)
{
    TExerciseProgramItem &item = Item(id);
    if (WorkoutUseCount(id) > 0)
        throw EExerciseProgram(QStringLiteral("ExerciseProgram 04"));
    item.State = TItemState::Deleted;
}

bool TExercisePrograms::IsProgramDeleted(qint32 id) const
{
    return Item(id).State == TItemState::Deleted;
}

bool TExercisePrograms::ExerciseInPrograms(qint32 exerciseId) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(), [this, exerciseId](const TExerciseProgramItem &item) {
        return item.State != TItemState::Deleted && ExerciseSlot(item.ExProgId, exerciseId) >= 0;
    });
}

int TExercisePrograms::ExerciseSlot(qint32 programId, qint32 exerciseId) const
{
    const TExerciseProgramItem &item = Item(programId);
    for (int i = 0; i < ProgramSlotCount; ++i) {
        const QString &slot = item.Exercises[std::size_t(i)];
        if (!slot.trimmed().isEmpty() && slotExercise(slot) == exerciseId)
            return i;
    }
    return -1;
}

bool TExercisePrograms::ProgramContains(qint32 programId, qint32 exerciseId) const
{
    return ExerciseSlot(programId, exerciseId) >= 0;
}

int TExercisePrograms::ExerciseCountOfProgram(qint32 id) const
{
    const TExerciseProgramItem &item = Item(id);
    return int(std::count_if(item.Exercises.cbegin(), item.Exercises.cend(), [](const QString &slot) { return !slot.trimmed().isEmpty(); }));
}

int TExercisePrograms::WorkoutUseCount(qint32 id)
{
    Item(id);
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select count(*) from WorkoutExercisePrograms where ExProgId = :exnr"));
    bindInteger(query, QStringLiteral("exnr"), id);
    query.Open();
    const int count = int(query.FieldAsInteger(0));
    query.Clear();
    return count;
}

bool TExercisePrograms::ExercisesChangedWhileUsed(qint32 id)
{
    if (WorkoutUseCount(id) == 0)
        return false;
    // Compared with the snapshot entry of the same id: between two loads or
    // applies items are only appended, so this is the entry at the same
    // position, and a program appended since has none.
    const auto it = std::find_if(m_snapshot.cbegin(), m_snapshot.cend(), [id](const TSnapshotItem &entry) { return entry.ExProgId == id; });
    if (it == m_snapshot.cend())
        return true;
    return Item(id).Exercises != it->Exercises;
}

void TExercisePrograms::TakeSnapshot()
{
    m_snapshot.clear();
    for (const TExerciseProgramItem &item : m_items)
        m_snapshot.push_back(TSnapshotItem{item.ExProgId, item.Name, item.State, item.Exercises});
}

void TExercisePrograms::SetSnapshotOf(const TExerciseProgramItem &item)
{
    const TSnapshotItem entry{item.ExProgId, item.Name, item.State, item.Exercises};
    const auto it = std::find_if(m_snapshot.begin(), m_snapshot.end(), [&item](const TSnapshotItem &e) { return e.ExProgId == item.ExProgId; });
    if (it == m_snapshot.end())
        m_snapshot.push_back(entry);
    else
        *it = entry;
}

void TExercisePrograms::DropSnapshotOf(qint32 id)
{
    std::erase_if(m_snapshot, [id](const TSnapshotItem &entry) { return entry.ExProgId == id; });
}

const TExerciseProgramItem &TExercisePrograms::Item(qint32 id) const
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(), [id](const TExerciseProgramItem &item) { return item.ExProgId == id; });
    if (it == m_items.cend())
        throw EExerciseProgram(QStringLiteral("ExerciseProgram 01"));
    return *it;
}

TExerciseProgramItem &TExercisePrograms::Item(qint32 id)
{
    return const_cast<TExerciseProgramItem &>(std::as_const(*this).Item(id));
}
