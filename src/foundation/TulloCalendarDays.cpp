#include "foundation/TulloCalendarDays.h"

#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <algorithm>
#include <array>

namespace
{
const std::array<const char *, 12> monthNames = {"Januari", "Februari", "Mars",     "April",   "Maj",      "Juni",
                                                 "Juli",    "Augusti",  "September", "Oktober", "November", "December"};
constexpr std::array<int, 12> monthLengths = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
}

QString TTulloCalendarDays::MonthName(int month)
{
    if (month < 1 || month > 12)
        throw ETulloCalendar(QStringLiteral("%1 is not a valid month").arg(month));
    return QString::fromUtf8(monthNames[month - 1]);
}

int TTulloCalendarDays::MonthLength(int month)
{
    if (month < 1 || month > 12)
        throw ETulloCalendar(QStringLiteral("%1 is not a valid month").arg(month));
    return monthLengths[month - 1];
}

void TTulloCalendarDays::SetMonth(int month)
{
    if (month < 1 || month > 12)
        throw ETulloCalendar(QStringLiteral("%1 is not a valid month").arg(month));
    m_month = month;
    Rebuild();
}

void TTulloCalendarDays::SetDays(const QStringList *dates)
{
    if (!dates)
        throw ETulloCalendar(QStringLiteral("Nil list in SetDays"));
    // Every text is converted before anything changes, so a bad one leaves
    // the calendar as it was.
    std::vector<TDate> parsed;
    parsed.reserve(dates->size());
    for (const QString &text : *dates) {
        const QDate date = [&text] {
            try {
                return TTulloUtilTimeDate::StrToDate(text);
            } catch (const EConvertError &) {
                throw ETulloCalendar(QStringLiteral("%1 is not a valid date").arg(text));
            }
        }();
        parsed.push_back({date.year(), date.month(), date.day()});
    }
    m_days = *dates;
    m_parsed = std::move(parsed);
    Rebuild();
}

void TTulloCalendarDays::ClearDays()
{
    m_days.clear();
    m_parsed.clear();
    Rebuild();
}

void TTulloCalendarDays::Rebuild()
{
    m_dayNumbers.clear();
    m_monthDates.clear();
    // The day numbers of a month are at most 31 and its dates a few per
    // day, so marking them first and sorting once is cheaper than keeping
    // a sorted list while 20,000 dates of a long list go past.
    std::array<bool, 32> marked{};
    std::vector<const TDate *> inMonth;
    for (const TDate &date : m_parsed) {
        if (date.month != m_month)
            continue;
        marked[date.day] = true;
        inMonth.push_back(&date);
    }
    for (int day = 1; day <= 31; ++day) {
        if (marked[day])
            m_dayNumbers.append(twoDigits(day));
    }
    // The dates as texts sort as "yyyy-MM-dd" would; a year below 1000 has
    // fewer digits and sorts as its text does.
    QStringList texts;
    texts.reserve(qsizetype(inMonth.size()));
    for (const TDate *date : inMonth)
        texts.append(QString::number(date->year) + QLatin1Char('-') + twoDigits(date->month) + QLatin1Char('-')
                     + twoDigits(date->day));
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    m_monthDates = std::move(texts);
}

bool TTulloCalendarDays::IsSelected(int day) const
{
    for (const QString &entry : m_dayNumbers) {
        const int number = entry.toInt();
        if (number == day)
            return true;
        if (number > day)
            return false;
    }
    return false;
}

void TTulloCalendarDays::GetCurrentDates(QStringList *target) const
{
    if (!target)
        throw ETulloCalendar(QStringLiteral("Nil list in GetCurrentDates"));
    *target = m_monthDates;
}

void TTulloCalendarDays::GetCurrentDates2(int day, QStringList *target) const
{
    if (!target)
        throw ETulloCalendar(QStringLiteral("Nil list in GetCurrentDates2"));
    target->clear();
    for (const QString &date : m_monthDates) {
        if (TTulloUtilTimeDate::DayOf(date) == day)
            target->append(date);
    }
}

int TTulloCalendarDays::HitTest(int x, int y) const
{
    if (y < HeaderHeight)
        return 0;
    const int day = ((y - HeaderHeight) / CellSize) * Columns + x / CellSize + 1;
    return day > MonthLength(m_month) ? -1 : day;
}
