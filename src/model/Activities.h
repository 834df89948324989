#pragma once

#include "model/Classhie.h"
#include "model/SearchParams.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TActivityFactory;
class TActivityNames;
class TDbConnection;
class TDbQuery;
class TExercisePrograms;
class TPulses;

// The diary entries in use: the result of the last search and any entry
// being created. Owns the activity objects; callers keep session numbers
// and look the objects up with Find. Allocates the session numbers of new
// entries and routes saving, loading and removing to the objects' storage.
//
// Every error of its own is an EActivities whose message is the error id;
// errors of the storage and of the database layer pass through unchanged.
class TActivities
{
public:
    // Told the display name of each activity type as the search reaches it.
    using TProgress = std::function<void(const QString &displayName)>;

    TActivities();
    ~TActivities();

    TActivities(const TActivities &) = delete;
    TActivities &operator=(const TActivities &) = delete;

    // Borrows the connection; a closed one is opened and closed once as a
    // test, raising the database layer's error. Frees every object held.
    void SetDatabase(TDbConnection *database);
    // The shared lists, borrowed.
    void SetActivityNames(TActivityNames *names) { m_activityNames = names; }
    void SetFactory(TActivityFactory *factory) { m_factory = factory; }
    void SetExercisePrograms(TExercisePrograms *programs) { m_exercisePrograms = programs; }
    void SetPulses(TPulses *pulses) { m_pulses = pulses; }

    // A new, unsaved entry of the display name's class; returns its session
    // number, above every number in the diary and in memory. Without a
    // factory "Activities 03"; the factory's error for an unknown name.
    int NewActivity(const QString &displayName);
    // The object with the session number; "Activities 01" when none.
    TActivity *Find(int sessionNr) const;
    // By position: "Activities 06" below 0, "Activities 07" at or past Count.
    TActivity *GetActivity(int index) const;
    int Count() const { return int(m_activities.size()); }

    // Inserts a New entry, updates a Stored one; a Listed one is incomplete
    // and refused with "Activities 05".
    void Save(int sessionNr);
    // Completes a Listed entry from the diary; New and Stored ones are left
    // as they are.
    void Load(int sessionNr);
    // Deletes the entry from the diary unless it is New, then frees it;
    // returns its former position. A failed delete keeps the object.
    int Remove(int sessionNr);
    void Clear();

    // Replaces the objects held by the sessions of the display names' types
    // that the filter finds: Listed objects, grouped by type in the order of
    // `displayNames`, by date and session number within a type, the marks
    // of time-and-distance sessions loaded. `numbers` receives the session
    // numbers in the same order. The filter is checked first, raising the
    // conversion error of a bad field before any query runs. Without a
    // factory "Activities 04". A failing query stops the search; what was
    // found until then stays.
    void Search(const QStringList &displayNames, const TSearchParams &filter, const TProgress &progress,
                QList<int> &numbers);
    // The number of entries in the diary.
    int CountSessions();
    // Takes over an object found by a list query, as a Listed entry.
    void Adopt(std::unique_ptr<TActivity> &activity);

private:
    static void CheckFilter(const TSearchParams &filter);
    // Gives an object what its class needs of the shared lists.
    void Attach(TActivity &activity) const;
    void Append(std::unique_ptr<TActivity> activity);
    int IndexOf(int sessionNr) const;
    // Loads the lap marks of every listed time-and-distance session held.
    void LoadFoundLaps();
    TDbQuery &Query();

    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    std::vector<std::unique_ptr<TActivity>> m_activities;
    QHash<int, TActivity *> m_bySessionNr;
    TActivityNames *m_activityNames = nullptr;
    TActivityFactory *m_factory = nullptr;
    TExercisePrograms *m_exercisePrograms = nullptr;
    TPulses *m_pulses = nullptr;
    QList<int> m_foundNumbers; // the numbers found for the type searched last
};
