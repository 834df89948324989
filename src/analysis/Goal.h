#pragma once

#include "model/Classhie.h"
#include "model/CorvaleTypeDefs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The kinds of goal; stored in the column GoalType.
enum class TGoalType : quint8 { Week = 0, Month = 1, Weight = 2 };

// What a goal's amount counts; stored in the column GoalAmountType. A
// weight goal always counts Number: its amount is a body weight in kg.
enum class TGoalAmountType : quint8 { Number = 0, Distance = 1, Time = 2 };

// The values of one goal as the window shows them: the activity by its
// display name.
struct TGoalItem
{
    qint32 GoalNr = 0;
    QString Name;
    QString ActivityName;
    quint8 GoalType = 0;
    QString FromDate;
    QString ToDate;
    QString Amount;
    quint8 AmountType = 0;
    QString Comment;
};

// The follow-up of a goal: one point per week or month of the period (per
// weighing for a weight goal) with its date, achieved value and degree of
// fulfilment (0..100), the highest and lowest value (0 without points) and
// the success: the share of points, in percent, that fulfil the goal.
struct TGoalFollowUpItem
{
    int Count = 0;
    QStringList Dates;
    QList<double> Values;
    double HighestValue = 0.0;
    double LowestValue = 0.0;
    QList<qint32> Percents;
    int Success = 0;
};

// One training goal ("målsättning"): a name, an activity, a period from
// one date to another (both included), an amount and what it counts, and a
// comment. The subclasses decide how the values are checked and how the
// period is followed up.
//
// A goal owns the activity object of its activity type once it has been
// given its values (SetValues); that object runs the follow-up's queries
// against the whole diary. A goal read from the table has none.
class TGoal
{
public:
    virtual ~TGoal();

    TGoal(const TGoal &) = delete;
    TGoal &operator=(const TGoal &) = delete;

    // Makes the goal of the type (0 week, 1 month, 2 weight) with the
    // defaults of a new goal; nullptr for another type.
    static std::unique_ptr<TGoal> Create(int goalType);

    // Checks the values the goal is to get, with the activity object of its
    // activity; may move the to date (a date text). Raises EGoalsDate
    // "Goal 01"/"Goal 02" for a from or to date that is no date,
    // EGoalTime "Goal 14" for an amount that is no number, EGoalAmount
    // "Goal 25" below 1 and "Goal 26" above 9999; the subclasses add their
    // own checks. A to date on or before the from date becomes the day
    // after it.
    virtual void CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                             QString &toDate) const;
    // The points of the goal's period with their values and percents (the
    // summary figures are left to the register). Needs the activity object:
    // EGoals "Goal 23" without one.
    virtual void ComputeFollowUp(TGoalFollowUpItem &item);

    // Checks the values against `activity` and, when every check passed,
    // takes the object and the values: the activity's short name, the
    // dates (the to date as the checks left it), the amount, its type and
    // the first 250 characters of the comment. Nothing changes when a
    // check raises.
    void SetValues(std::unique_ptr<TActivity> activity, const QString &comment, quint8 amountType, const QString &amount,
                   const QString &toDate, const QString &fromDate);

    qint32 GoalNr = 0;
    TItemState State = TItemState::New;
    QString Name;
    QString ActivityShortName = QStringLiteral("BLO");
    TGoalType GoalType = TGoalType::Week;
    QString FromDate;
    QString ToDate;
    QString Amount = QStringLiteral("1");
    quint8 AmountType = 0;
    QString Comment;

    TActivity *Activity() const { return m_activity.get(); }

    // The values as they are in the table (after the latest load or apply),
    // so that the register can tell a changed goal from an unchanged one.
    void KeepStoredValues();
    bool DiffersFromStored() const;

protected:
    explicit TGoal(TGoalType type);
    // Requires the activity object.
    TActivity &RequireActivity() const;

private:
    struct TStored
    {
        QString Name, ActivityShortName, FromDate, ToDate, Amount, Comment;
        quint8 AmountType = 0;
    };

    std::unique_ptr<TActivity> m_activity;
    TStored m_stored;
};

// A goal followed up period by period: the sessions of the goal's activity
// counted, or their distances or durations summed, per week or month.
class TTimeGoal : public TGoal
{
public:
    // The base checks, then: a time amount for an activity with only a
    // distance raises EGoalTime "Goal 15", a distance amount for one with
    // only a time "Goal 16", for a game "Goal 17".
    void CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                     QString &toDate) const override;
    void ComputeFollowUp(TGoalFollowUpItem &item) override;
    // The points' start dates: the from date, then every week or calendar
    // month after the one before, while the start is before the to date.
    virtual QStringList MakePeriods() const = 0;

protected:
    using TGoal::TGoal;
};

// Followed up week by week; a period shorter than a week is made a week.
class TWeekGoal final : public TTimeGoal
{
public:
    TWeekGoal();
    void CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                     QString &toDate) const override;
    QStringList MakePeriods() const override;
};

// Followed up month by month; a period shorter than a month is made one
// calendar month (31 January gives the last day of February). Each point
// starts one calendar month after the one before, so that from 31 January
// on the points start on the 28th (or 29th) of each month.
class TMonthGoal final : public TTimeGoal
{
public:
    TMonthGoal();
    void CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                     QString &toDate) const override;
    QStringList MakePeriods() const override;
};

// A body weight to reach: every weighing of the period (of any activity)
// is a point, fulfilled at or below the goal's weight.
class TWeightGoal final : public TGoal
{
public:
    TWeightGoal();
    // The base checks, then: an activity other than the weighing raises
    // EGoalWeight "Goal 04", an amount type other than 0 "Goal 08".
    void CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                     QString &toDate) const override;
    void ComputeFollowUp(TGoalFollowUpItem &item) override;
};

// A summed duration in seconds as the follow-up shows it: whole minutes,
// the remaining seconds as two decimals (5430 s is 90.30).
double GoalMinutesSeconds(double seconds);
// The share in percent of `part` in `count`, rounded to the nearest whole
// number, halves to the even one; 0 for no count.
int GoalShareRounded(int part, int count);
