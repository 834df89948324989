#include "model/Activities.h"

#include <optional>

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "model/ActFactory.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"

using namespace DbMisc;

namespace
{
using Num = TTulloUtilNumeric;
using TimeDate = TTulloUtilTimeDate;

bool isEmpty(const QString &text)
{
    return text.trimmed().isEmpty();
}

bool isSpecial(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed == QLatin1String("!") || trimmed == QLatin1String("*");
}

void checkDate(const QString &text)
{
    if (!isEmpty(text) && text != EmptyDateMask)
        TimeDate::StrToDate(text);
}

void checkDuration(const QString &text, bool special)
{
    if (!isEmpty(text) && !(special && isSpecial(text)))
        TimeDate::Minutes(text);
}

void checkNumber(const QString &text, bool special)
{
    if (!isEmpty(text) && !(special && isSpecial(text)))
        Num::StrToFloat(text);
}
}

TActivities::TActivities() = default;

TActivities::~TActivities() = default;

void TActivities::SetDatabase(TDbConnection *database)
{
    if (database && !database->Connected()) {
        database->Open();
        database->Close();
    }
    Clear();
    m_query.reset();
    m_database = database;
    if (database)
        m_query = std::make_unique<TDbQuery>(*database);
}

TDbQuery &TActivities::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TActivities::Attach(TActivity &activity) const
{
    activity.SetActivityNames(m_activityNames);
    activity.SetDatabase(m_database);
    if (auto *workout = dynamic_cast<TWorkout *>(&activity))
        workout->SetExercisePrograms(m_exercisePrograms);
    // Only time-and-distance sessions store pulse intervals.
    if (activity.Family() == TActivityFamily::TimeDistance)
        activity.SetPulseList(m_pulses);
}

void TActivities::Append(std::unique_ptr<TActivity> activity)
{
    m_bySessionNr.insert(activity->GetSessionNr(), activity.get());
    m_activities.push_back(std::move(activity));
}

int TActivities::IndexOf(int sessionNr) const
{
    for (std::size_t i = 0; i < m_activities.size(); ++i) {
        if (m_activities[i]->GetSessionNr() == sessionNr)
            return int(i);
    }
    return -1;
}

int TActivities::NewActivity(const QString &displayName)
{
    if (!m_factory)
        throw EActivities(QStringLiteral("Activities 03"));
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select max(SessionNr) from TrainingSession"));
    int nr = 1;
    {
        TDbQueryCloser closer(query);
        query.Open();
        if (!query.Eof())
            nr = int(query.FieldAsInteger(0)) + 1;
    }
    for (const auto &activity : m_activities) {
        if (activity->GetSessionNr() >= nr)
            nr = activity->GetSessionNr() + 1;
    }
    std::unique_ptr<TActivity> activity = m_factory->CreateActivity(displayName);
    activity->SetSessionNr(nr);
    Attach(*activity);
    activity->SetState(TActivity::TState::New);
    Append(std::move(activity));
    return nr;
}

TActivity *TActivities::Find(int sessionNr) const
{
    TActivity *activity = m_bySessionNr.value(sessionNr, nullptr);
    // A caller may have renumbered an object it found; the index is a
    // shortcut, the list is the truth.
    if (!activity || activity->GetSessionNr() != sessionNr) {
        const int index = IndexOf(sessionNr);
        activity = index < 0 ? nullptr : m_activities[std::size_t(index)].get();
    }
    if (!activity)
        throw EActivities(QStringLiteral("Activities 01"));
    return activity;
}

TActivity *TActivities::GetActivity(int index) const
{
    if (index < 0)
        throw EActivities(QStringLiteral("Activities 06"));
    if (index >= Count())
        throw EActivities(QStringLiteral("Activities 07"));
    TActivity *activity = m_activities[std::size_t(index)].get();
    if (!activity)
        throw EActivities(QStringLiteral("Activities 08"));
    return activity;
}

void TActivities::Save(int sessionNr)
{
    TActivity *activity = Find(sessionNr);
    switch (activity->GetState()) {
    case TActivity::TState::New:
        activity->Insert();
        break;
    case TActivity::TState::Stored:
        activity->Update();
        break;
    case TActivity::TState::Listed:
        throw EActivities(QStringLiteral("Activities 05"));
    }
}

void TActivities::Load(int sessionNr)
{
    TActivity *activity = Find(sessionNr);
    if (activity->Family() == TActivityFamily::TimeDistance)
        activity->SetPulseList(m_pulses);
    if (activity->GetState() == TActivity::TState::Listed)
        activity->Load();
}

int TActivities::Remove(int sessionNr)
{
    Find(sessionNr);
    const int index = IndexOf(sessionNr);
    TActivity *activity = m_activities[std::size_t(index)].get();
    if (activity->GetState() != TActivity::TState::New)
        activity->Delete();
    m_bySessionNr.remove(sessionNr);
    m_activities.erase(m_activities.begin() + index);
    // Another object may carry the same number (a caller renumbered one).
    for (const auto &other : m_activities) {
        if (other->GetSessionNr() == sessionNr) {
            m_bySessionNr.insert(sessionNr, other.get());
            break;
        }
    }
    return index;
}

void TActivities::Clear()
{
    m_bySessionNr.clear();
    m_activities.clear();
}

int TActivities::CountSessions()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select count(*) from TrainingSession"));
    TDbQueryCloser closer(query);
    query.Open();
    return int(query.FieldAsInteger(0));
}

void TActivities::Adopt(std::unique_ptr<TActivity> &activity)
{
    if (!activity)
        return;
    Attach(*activity);
    activity->SetState(TActivity::TState::Listed);
    Append(std::move(activity));
}

void TActivities::CheckFilter(const TSearchParams &filter)
{
    checkDate(filter.DateFrom);
    checkDate(filter.DateTo);
    checkDuration(filter.TimeFrom, true);
    checkDuration(filter.TDTimeFrom, true);
    checkDuration(filter.TimeTo, false);
    checkDuration(filter.TDTimeTo, false);
    checkNumber(filter.TDDistFrom, true);
    checkNumber(filter.StrokesFrom, true);
    checkNumber(filter.TDDistTo, false);
    checkNumber(filter.StrokesTo, false);
    if (!isEmpty(filter.CourseId))
        Num::StrToInt(filter.CourseId);
}

void TActivities::Search(const QStringList &displayNames, const TSearchParams &filter, const TProgress &progress,
                         QList<int> &numbers)
{
    numbers.clear();
    Clear();
    if (!m_factory)
        throw EActivities(QStringLiteral("Activities 04"));
    CheckFilter(filter);
    // One transaction for the whole search: every statement outside one
    // starts and commits its own, and each commit waits for the disk.
    std::optional<TDbTransactionGuard> transaction;
    if (m_database && m_database->Connected() && !m_database->InTransaction())
        transaction.emplace(*m_database);
    for (const QString &name : displayNames) {
        if (progress)
            progress(name);
        std::unique_ptr<TActivity> searcher = m_factory->CreateActivity(name);
        if (searcher->Class() == ActivityClassOf<TActivity>())
            throw EActivities(QStringLiteral("Activities 02. The activity type cannot be determined for %1").arg(searcher->GetDate()));
        searcher->SetDatabase(m_database);
        searcher->SetActivityNames(m_activityNames);
        searcher->SetRowFoundEvent([this](std::unique_ptr<TActivity> &row) { Adopt(row); });
        m_foundNumbers.clear();
        searcher->Search(filter, m_foundNumbers);
        numbers.append(m_foundNumbers);
    }
    // The list shows split times, so the marks of every time-and-distance
    // session found come along, all in one pass over the marks.
    LoadFoundLaps();
    if (transaction)
        transaction->Commit();
}

void TActivities::LoadFoundLaps()
{
    QHash<int, TTimeDistanceActivity *> found;
    int low = 0, high = 0;
    for (const auto &object : m_activities) {
        auto *activity = dynamic_cast<TTimeDistanceActivity *>(object.get());
        if (!activity || activity->GetState() != TActivity::TState::Listed)
            continue;
        const int nr = activity->GetSessionNr();
        if (found.isEmpty() || nr < low)
            low = nr;
        if (found.isEmpty() || nr > high)
            high = nr;
        found.insert(nr, activity);
    }
    if (found.isEmpty())
        return;

    // One query instead of one per session; the range of numbers keeps a
    // narrow search from reading every mark of the diary, and the marks come
    // in key order, so the engine needs no sort.
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select SessionNr, LapNr, LapDistance, LapTime"));
    AddLine(&query, QStringLiteral("from TrainingSessionLaps"));
    AddLine(&query, QStringLiteral("where SessionNr between :lo and :hi"));
    AddLine(&query, QStringLiteral("order by SessionNr, LapNr"));
    query.SetInteger(QStringLiteral("lo"), low);
    query.SetInteger(QStringLiteral("hi"), high);

    int current = -1;
    QStringList times, distances;
    auto flush = [&] {
        if (TTimeDistanceActivity *activity = found.value(current, nullptr))
            activity->SetStoredLaps(times, distances);
        times.clear();
        distances.clear();
    };
    TDbQueryCloser closer(query);
    query.Open();
    for (; !query.Eof(); query.Next()) {
        const int nr = int(query.FieldAsInteger(0));
        if (nr != current) {
            flush();
            current = nr;
        }
        times.append(GetColumn(&query, QStringLiteral("LapTime"), vkDecimal));
        distances.append(GetColumn(&query, QStringLiteral("LapDistance"), vkDecimal));
    }
    flush();
}
