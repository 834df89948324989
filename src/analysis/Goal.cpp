#include "analysis/Goal.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieTypes.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace
{
using Num = TTulloUtilNumeric;
using TimeDate = TTulloUtilTimeDate;

constexpr int commentLength = 250;
constexpr double lowestAmount = 1.0;
constexpr double highestAmount = 9999.0;

QDate dateOf(const QString &text, const char *error)
{
    QDate date;
    try {
        date = TimeDate::StrToDate(text.trimmed());
    } catch (const EException &) {
        throw EGoalsDate(QLatin1String(error));
    }
    if (!date.isValid())
        throw EGoalsDate(QLatin1String(error));
    return date;
}

// The percent of a point: truncated, at most 100. A quotient that is a
// whole percent in decimal (57 of 100) may come out a hair below it in
// binary; that hair is not counted against the user.
qint32 percentOf(double achieved, double goal)
{
    if (!(goal > 0.0) || !(achieved > 0.0))
        return 0;
    const double percent = std::floor(achieved / goal * 100.0 + 1e-9);
    return percent >= 100.0 ? 100 : qint32(percent);
}
}

double GoalMinutesSeconds(double seconds)
{
    const double minutes = std::floor(seconds / 60.0);
    return minutes + (seconds - minutes * 60.0) / 100.0;
}

int GoalShareRounded(int part, int count)
{
    if (count <= 0)
        return 0;
    const qint64 scaled = qint64(part) * 100;
    qint64 share = scaled / count;
    const qint64 remainder = scaled % count;
    if (2 * remainder > count || (2 * remainder == count && share % 2 != 0))
        ++share;
    return int(share);
}

// ---------------------------------------------------------------------------
// TGoal

TGoal::TGoal(TGoalType type) : GoalType(type)
{
    const QDate today = QDate::currentDate();
    FromDate = TimeDate::DateToStr(today);
    ToDate = TimeDate::DateToStr(today.addMonths(1));
}

TGoal::~TGoal() = default;

std::unique_ptr<TGoal> TGoal::Create(int goalType)
{
    switch (goalType) {
    case int(TGoalType::Week):
        return std::make_unique<TWeekGoal>();
    case int(TGoalType::Month):
        return std::make_unique<TMonthGoal>();
    case int(TGoalType::Weight):
        return std::make_unique<TWeightGoal>();
    default:
        return nullptr;
    }
}

void TGoal::CheckValues(const TActivity &, quint8, const QString &amount, const QString &fromDate, QString &toDate) const
{
    const QDate from = dateOf(fromDate, "Goal 01");
    QDate to = dateOf(toDate, "Goal 02");
    if (from >= to)
        to = from.addDays(1);
    toDate = TimeDate::DateToStr(to);

    if (amount.trimmed().isEmpty())
        return;
    if (!Num::IsFloat(amount))
        throw EGoalTime(QStringLiteral("Goal 14"));
    const double value = Num::StrToFloat(amount.trimmed());
    if (value < lowestAmount)
        throw EGoalAmount(QStringLiteral("Goal 25"));
    if (value > highestAmount)
        throw EGoalAmount(QStringLiteral("Goal 26"));
}

void TGoal::ComputeFollowUp(TGoalFollowUpItem &)
{
    RequireActivity();
}

TActivity &TGoal::RequireActivity() const
{
    if (!m_activity)
        throw EGoals(QStringLiteral("Goal 23"));
    return *m_activity;
}

void TGoal::SetValues(std::unique_ptr<TActivity> activity, const QString &comment, quint8 amountType, const QString &amount,
                      const QString &toDate, const QString &fromDate)
{
    QString checkedTo = toDate;
    CheckValues(*activity, amountType, amount, fromDate, checkedTo);
    ActivityShortName = activity->GetActivityCode();
    m_activity = std::move(activity);
    FromDate = TimeDate::DateToStr(TimeDate::StrToDate(fromDate.trimmed()));
    ToDate = checkedTo;
    Amount = amount.trimmed();
    AmountType = amountType;
    Comment = comment.left(commentLength);
}

void TGoal::KeepStoredValues()
{
    m_stored = TStored{Name, ActivityShortName, FromDate, ToDate, Amount, Comment, AmountType};
}

bool TGoal::DiffersFromStored() const
{
    // The table gives the amount back with two decimals and texts trimmed;
    // "50" typed over a stored "50.00" is no change.
    const auto amountOf = [](const QString &text) {
        return Num::IsFloat(text) && !text.trimmed().isEmpty() ? Num::StrToFloat(text.trimmed()) : 0.0;
    };
    return Name.trimmed() != m_stored.Name.trimmed() || ActivityShortName != m_stored.ActivityShortName
           || FromDate != m_stored.FromDate || ToDate != m_stored.ToDate || AmountType != m_stored.AmountType
           || Comment.trimmed() != m_stored.Comment.trimmed()
           || std::abs(amountOf(Amount) - amountOf(m_stored.Amount)) > 0.004;
}

// ---------------------------------------------------------------------------
// TTimeGoal

void TTimeGoal::CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                            QString &toDate) const
{
    TGoal::CheckValues(activity, amountType, amount, fromDate, toDate);
    const TActivityFamily family = activity.Family();
    if (family == TActivityFamily::Distance && amountType == quint8(TGoalAmountType::Time))
        throw EGoalTime(QStringLiteral("Goal 15"));
    if (family == TActivityFamily::Time && amountType == quint8(TGoalAmountType::Distance))
        throw EGoalTime(QStringLiteral("Goal 16"));
    if (family == TActivityFamily::Game && amountType == quint8(TGoalAmountType::Distance))
        throw EGoalTime(QStringLiteral("Goal 17"));
}

void TTimeGoal::ComputeFollowUp(TGoalFollowUpItem &item)
{
    TActivity &activity = RequireActivity();
    TSeries series;
    for (const QString &start : MakePeriods())
        series.append(TSeriesPoint{start, 0.0});

    const TPeriod period{FromDate, ToDate};
    switch (TGoalAmountType(AmountType)) {
    case TGoalAmountType::Number:
        activity.AddCountTotals(period, series);
        break;
    case TGoalAmountType::Distance:
        activity.AddDistanceTotals(period, series);
        break;
    case TGoalAmountType::Time:
        activity.AddDurationTotals(period, series);
        for (TSeriesPoint &point : series)
            point.Value = GoalMinutesSeconds(point.Value);
        break;
    }

    const double amount = Num::StrToFloat(Amount.trimmed().isEmpty() ? QStringLiteral("1") : Amount.trimmed());
    item = TGoalFollowUpItem();
    for (const TSeriesPoint &point : series) {
        item.Dates.append(point.Date);
        item.Values.append(point.Value);
        item.Percents.append(percentOf(point.Value, amount));
    }
    item.Count = int(series.size());
}

// ---------------------------------------------------------------------------
// TWeekGoal

TWeekGoal::TWeekGoal() : TTimeGoal(TGoalType::Week)
{
    ToDate = TimeDate::DateToStr(QDate::currentDate().addDays(7));
}

void TWeekGoal::CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                            QString &toDate) const
{
    TTimeGoal::CheckValues(activity, amountType, amount, fromDate, toDate);
    const QDate from = TimeDate::StrToDate(fromDate.trimmed());
    if (from.daysTo(TimeDate::StrToDate(toDate)) < 7)
        toDate = TimeDate::DateToStr(from.addDays(7));
}

QStringList TWeekGoal::MakePeriods() const
{
    QStringList starts;
    const QDate to = TimeDate::StrToDate(ToDate);
    for (QDate start = TimeDate::StrToDate(FromDate); start < to; start = start.addDays(7))
        starts.append(TimeDate::DateToStr(start));
    return starts;
}

// ---------------------------------------------------------------------------
// TMonthGoal

TMonthGoal::TMonthGoal() : TTimeGoal(TGoalType::Month)
{
}

void TMonthGoal::CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                             QString &toDate) const
{
    TTimeGoal::CheckValues(activity, amountType, amount, fromDate, toDate);
    const QDate from = TimeDate::StrToDate(fromDate.trimmed());
    // Qt clamps the day to the month's last: 31 January gives 28 (or 29)
    // February.
    const QDate month = from.addMonths(1);
    if (TimeDate::StrToDate(toDate) < month)
        toDate = TimeDate::DateToStr(month);
}

QStringList TMonthGoal::MakePeriods() const
{
    QStringList starts;
    const QDate to = TimeDate::StrToDate(ToDate);
    // Each start is a month after the one before, not after the from date:
    // once a short month has clamped the day, the later points keep it.
    for (QDate start = TimeDate::StrToDate(FromDate); start < to; start = start.addMonths(1))
        starts.append(TimeDate::DateToStr(start));
    return starts;
}

// ---------------------------------------------------------------------------
// TWeightGoal

TWeightGoal::TWeightGoal() : TGoal(TGoalType::Weight)
{
}

void TWeightGoal::CheckValues(const TActivity &activity, quint8 amountType, const QString &amount, const QString &fromDate,
                              QString &toDate) const
{
    TGoal::CheckValues(activity, amountType, amount, fromDate, toDate);
    if (!dynamic_cast<const TWeight *>(&activity))
        throw EGoalWeight(QStringLiteral("Goal 04"));
    if (amountType != quint8(TGoalAmountType::Number))
        throw EGoalWeight(QStringLiteral("Goal 08"));
}

void TWeightGoal::ComputeFollowUp(TGoalFollowUpItem &item)
{
    TActivity &activity = RequireActivity();
    TSeries series;
    activity.GetWeightSeries(TPeriod{FromDate, ToDate}, series);
    const double amount = Num::StrToFloat(Amount.trimmed().isEmpty() ? QStringLiteral("1") : Amount.trimmed());
    item = TGoalFollowUpItem();
    for (const TSeriesPoint &point : series) {
        item.Dates.append(point.Date);
        item.Values.append(point.Value);
        // At or below the goal's weight the point is fulfilled.
        item.Percents.append(point.Value > 0.0 ? percentOf(amount, point.Value) : 0);
    }
    item.Count = int(series.size());
}
