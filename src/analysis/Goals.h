#pragma once

#include "analysis/Goal.h"
#include "foundation/DbClient.h"
#include "foundation/IntegerList.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TActivityFactory;
class TActivityNames;

// The names of goals as they are kept: every "&" and carriage return
// removed, line feeds and tabs made blanks, a name of only white space "X",
// and at most 60 characters.
QString CleanGoalName(const QString &name);

// The register of training goals, kept in memory and written to the table
// Goal by ApplyGoals. The window changes it freely; loading discards memory
// and reads the table again.
//
// A number that is not in memory raises EGoals "Goals 01"; a goal marked
// Deleted is still found until the register is applied or loaded. Using the
// database before SetDatabase raises EDbMiscError "Query är nil"; failing
// statements raise the database layer's EDbClientError.
//
// The follow-up reads the whole diary through the goal's activity object,
// whatever any list of the program shows, and reads it anew each time, so
// that entries saved, changed or removed since are counted.
class TGoals
{
public:
    TGoals();
    ~TGoals();

    TGoals(const TGoals &) = delete;
    TGoals &operator=(const TGoals &) = delete;

    // The connection to use (owned by the caller, it must outlive the
    // register); empties memory.
    void SetDatabase(TDbConnection *database);
    // Borrowed; SetGoalValues and GetGoalItem need them.
    void SetActivityNames(TActivityNames *names) { m_activityNames = names; }
    void SetActivityFactory(TActivityFactory *factory) { m_factory = factory; }

    // Discards memory and reads every goal, by number, as a Stored goal
    // without its activity object. A stored GoalType other than 0, 1, 2
    // raises EGoals "Goals 04"; on any failure memory is left as it was.
    void LoadGoals();
    // Writes memory to the table from the last goal to the first: New goals
    // are inserted and become Stored, Stored ones updated, Deleted ones
    // deleted and dropped. Each statement commits on its own. When one
    // fails, the goals after it stay written and keep their new state.
    void ApplyGoals();

    // Appends a New goal of the type (0 week, 1 month, 2 weight; another
    // raises EGoals "Goals 02") with the cleaned name and the defaults of a
    // new goal; returns its number: the highest in memory plus 1, or 1.
    qint32 AddGoal(const QString &name, int goalType);
    void RenameGoal(qint32 number, const QString &name);
    void DeleteGoal(qint32 number);
    bool IsGoalDeleted(qint32 number) const;
    // The numbers and names of every goal in list order, Deleted ones
    // included; both lists are emptied first.
    void GetGoals(TIntegerList *numbers, QStringList *names) const;
    int GoalCount() const { return int(m_goals.size()); }

    // Gives the goal a new activity object of the display name and the
    // values, checked by the goal's class (see TGoal::CheckValues); an
    // empty amount counts as "1". Raises EGoals "Goal 03" without the
    // activity names, "Goal 11" without the factory, the factory's error
    // for a name it does not know, and the checks' errors; the goal is then
    // unchanged.
    void SetGoalValues(qint32 number, const QString &activityName, const QString &comment, quint8 amountType,
                       const QString &amount, const QString &toDate, const QString &fromDate);
    // The goal's values with its activity's display name; EGoals
    // "Goals 03" without the activity names.
    TGoalItem GetGoalItem(qint32 number) const;
    // The goal's follow-up with its summary: highest and lowest value and
    // the success, the share of points at 100 percent. The goal needs its
    // activity object (EGoals "Goal 23" before SetGoalValues).
    TGoalFollowUpItem GetFollowUp(qint32 number);

    // True while memory differs from the table: a goal added, deleted, or
    // given other values since the latest load or apply.
    bool HasChanges() const;

private:
    TGoal &Goal(qint32 number) const;
    TDbQuery &Query();

    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    std::vector<std::unique_ptr<TGoal>> m_goals;
    TActivityNames *m_activityNames = nullptr;
    TActivityFactory *m_factory = nullptr;
};
