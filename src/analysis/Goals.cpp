#include "analysis/Goals.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "model/ActFactory.h"
#include "model/ActivityName.h"

#include <algorithm>

namespace
{
using Str = TTulloUtilString;

constexpr int nameLength = 60;

void bindInteger(TDbQuery &query, const QString &param, qint32 value)
{
    DbMisc::BindParam(&query, param, DbMisc::vkInteger, false, QString::number(value));
}

void bindText(TDbQuery &query, const QString &param, const QString &value)
{
    DbMisc::BindParam(&query, param, DbMisc::vkText, false, value);
}

int columnInteger(TDbQuery &query, const QString &column)
{
    const QString text = DbMisc::GetColumn(&query, column, DbMisc::vkInteger);
    return text.isEmpty() ? 0 : TTulloUtilNumeric::StrToInt(text);
}

// The values every statement that writes a goal binds.
void bindValues(TDbQuery &query, const TGoal &goal)
{
    bindText(query, QStringLiteral("glname"), goal.Name);
    bindText(query, QStringLiteral("actname"), goal.ActivityShortName);
    DbMisc::BindParam(&query, QStringLiteral("glfdate"), DbMisc::vkDate, false, goal.FromDate);
    DbMisc::BindParam(&query, QStringLiteral("gltdate"), DbMisc::vkDate, false, goal.ToDate);
    DbMisc::BindParam(&query, QStringLiteral("glam"), DbMisc::vkDecimal, false,
                      goal.Amount.trimmed().isEmpty() ? QStringLiteral("1") : goal.Amount.trimmed());
    bindInteger(query, QStringLiteral("glamtype"), goal.AmountType);
    bindText(query, QStringLiteral("glcom"), goal.Comment);
}
}

QString CleanGoalName(const QString &name)
{
    QString cleaned = Str::RemoveChars(name, QStringLiteral("&"), false);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\n"), true);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\r"), false);
    cleaned = Str::RemoveChars(cleaned, QStringLiteral("\t"), true);
    if (cleaned.trimmed().isEmpty())
        cleaned = QStringLiteral("X");
    return cleaned.left(nameLength);
}

TGoals::TGoals() = default;
TGoals::~TGoals() = default;

void TGoals::SetDatabase(TDbConnection *database)
{
    m_goals.clear();
    m_database = database;
    m_query = database ? std::make_unique<TDbQuery>(*database) : nullptr;
}

TDbQuery &TGoals::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

TGoal &TGoals::Goal(qint32 number) const
{
    for (const auto &goal : m_goals)
        if (goal->GoalNr == number)
            return *goal;
    throw EGoals(QStringLiteral("Goals 01"));
}

void TGoals::LoadGoals()
{
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select GoalNr, GoalName, ActivityShortName, GoalType, GoalFromDate, GoalToDate, "
                                           "GoalAmount, GoalAmountType, GoalComment from Goal order by GoalNr"));
    std::vector<std::unique_ptr<TGoal>> goals;
    query.Open();
    {
        TDbQueryCloser closer(query);
        for (; !query.Eof(); query.Next()) {
            std::unique_ptr<TGoal> goal = TGoal::Create(columnInteger(query, QStringLiteral("GoalType")));
            if (!goal)
                throw EGoals(QStringLiteral("Goals 04"));
            goal->GoalNr = columnInteger(query, QStringLiteral("GoalNr"));
            goal->Name = DbMisc::GetColumn(&query, QStringLiteral("GoalName"), DbMisc::vkText);
            goal->ActivityShortName = DbMisc::GetColumn(&query, QStringLiteral("ActivityShortName"), DbMisc::vkText);
            goal->FromDate = DbMisc::GetColumn(&query, QStringLiteral("GoalFromDate"), DbMisc::vkDate);
            goal->ToDate = DbMisc::GetColumn(&query, QStringLiteral("GoalToDate"), DbMisc::vkDate);
            goal->Amount = DbMisc::GetColumn(&query, QStringLiteral("GoalAmount"), DbMisc::vkDecimal);
            goal->AmountType = quint8(columnInteger(query, QStringLiteral("GoalAmountType")));
            goal->Comment = DbMisc::GetColumn(&query, QStringLiteral("GoalComment"), DbMisc::vkText);
            goal->State = TItemState::Stored;
            goal->KeepStoredValues();
            goals.push_back(std::move(goal));
        }
    }
    query.Clear();
    m_goals = std::move(goals);
}

void TGoals::ApplyGoals()
{
    TDbQuery &query = Query();
    // Each goal's state changes only after its own statement succeeded, so
    // that memory keeps matching the table when a later statement fails.
    for (auto i = qsizetype(m_goals.size()) - 1; i >= 0; --i) {
        TGoal &goal = *m_goals[std::size_t(i)];
        query.Clear();
        switch (goal.State) {
        case TItemState::New:
            DbMisc::AddLine(&query, QStringLiteral("insert into Goal (GoalNr, GoalName, ActivityShortName, GoalType, "
                                                   "GoalFromDate, GoalToDate, GoalAmount, GoalAmountType, GoalComment) "
                                                   "values( :glnr, :glname, :actname, :gltype, :glfdate, :gltdate, :glam, "
                                                   ":glamtype, :glcom)"));
            bindInteger(query, QStringLiteral("glnr"), goal.GoalNr);
            bindInteger(query, QStringLiteral("gltype"), qint32(goal.GoalType));
            bindValues(query, goal);
            query.ExecSQL();
            goal.State = TItemState::Stored;
            goal.KeepStoredValues();
            break;
        case TItemState::Stored:
            DbMisc::AddLine(&query, QStringLiteral("update Goal set GoalName = :glname, ActivityShortName = :actname, "
                                                   "GoalFromDate = :glfdate, GoalToDate = :gltdate, GoalAmount = :glam, "
                                                   "GoalAmountType = :glamtype, GoalComment = :glcom where GoalNr = :glnr"));
            bindValues(query, goal);
            bindInteger(query, QStringLiteral("glnr"), goal.GoalNr);
            query.ExecSQL();
            goal.KeepStoredValues();
            break;
        case TItemState::Deleted:
            DbMisc::AddLine(&query, QStringLiteral("delete from Goal where GoalNr = :glnr"));
            bindInteger(query, QStringLiteral("glnr"), goal.GoalNr);
            query.ExecSQL();
            m_goals.erase(m_goals.begin() + i);
            break;
        }
    }
    query.Clear();
}

qint32 TGoals::AddGoal(const QString &name, int goalType)
{
    std::unique_ptr<TGoal> goal = TGoal::Create(goalType);
    if (!goal)
        throw EGoals(QStringLiteral("Goals 02"));
    qint32 highest = 0;
    for (const auto &other : m_goals)
        highest = std::max(highest, other->GoalNr);
    goal->GoalNr = highest + 1;
    goal->Name = CleanGoalName(name);
    goal->State = TItemState::New;
    m_goals.push_back(std::move(goal));
    return highest + 1;
}

void TGoals::RenameGoal(qint32 number, const QString &name)
{
    Goal(number).Name = CleanGoalName(name);
}

void TGoals::DeleteGoal(qint32 number)
{
    Goal(number).State = TItemState::Deleted;
}

bool TGoals::IsGoalDeleted(qint32 number) const
{
    return Goal(number).State == TItemState::Deleted;
}

void TGoals::GetGoals(TIntegerList *numbers, QStringList *names) const
{
    numbers->Clear();
    names->clear();
    for (const auto &goal : m_goals) {
        numbers->Add(goal->GoalNr);
        names->append(goal->Name);
    }
}

void TGoals::SetGoalValues(qint32 number, const QString &activityName, const QString &comment, quint8 amountType,
                           const QString &amount, const QString &toDate, const QString &fromDate)
{
    TGoal &goal = Goal(number);
    if (!m_activityNames)
        throw EGoals(QStringLiteral("Goal 03"));
    if (!m_factory)
        throw EGoals(QStringLiteral("Goal 11"));
    std::unique_ptr<TActivity> activity = m_factory->CreateActivity(activityName);
    activity->SetActivityNames(m_activityNames);
    goal.SetValues(std::move(activity), comment, amountType, amount.trimmed().isEmpty() ? QStringLiteral("1") : amount,
                   toDate, fromDate);
    goal.Activity()->SetDatabase(m_database);
}

TGoalItem TGoals::GetGoalItem(qint32 number) const
{
    const TGoal &goal = Goal(number);
    if (!m_activityNames)
        throw EGoals(QStringLiteral("Goals 03"));
    TGoalItem item;
    item.GoalNr = goal.GoalNr;
    item.Name = goal.Name;
    item.ActivityName = m_activityNames->NameOfCode(goal.ActivityShortName);
    item.GoalType = quint8(goal.GoalType);
    item.FromDate = goal.FromDate;
    item.ToDate = goal.ToDate;
    item.Amount = goal.Amount;
    item.AmountType = goal.AmountType;
    item.Comment = goal.Comment;
    return item;
}

TGoalFollowUpItem TGoals::GetFollowUp(qint32 number)
{
    TGoal &goal = Goal(number);
    TGoalFollowUpItem item;
    goal.ComputeFollowUp(item);
    int fulfilled = 0;
    for (int i = 0; i < item.Count; ++i) {
        const double value = item.Values.at(i);
        if (i == 0 || value > item.HighestValue)
            item.HighestValue = value;
        if (i == 0 || value < item.LowestValue)
            item.LowestValue = value;
        if (item.Percents.at(i) >= 100)
            ++fulfilled;
    }
    item.Success = GoalShareRounded(fulfilled, item.Count);
    return item;
}

bool TGoals::HasChanges() const
{
    return std::any_of(m_goals.begin(), m_goals.end(), [](const std::unique_ptr<TGoal> &goal) {
        return goal->State != TItemState::Stored || goal->DiffersFromStored();
    });
}
