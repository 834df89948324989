#include "analysis/Frequencies.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"

#include <QDate>

namespace
{
[[noreturn]] void Fault(const char *number)
{
    throw EFrequency(QStringLiteral("Frequencies ") + QLatin1String(number));
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString dateText(int year, int month, int day)
{
    if (year < 0)
        return QString();
    return QString::number(year) + QLatin1Char('-') + twoDigits(month) + QLatin1Char('-') + twoDigits(day);
}

QString periodText(int year, int period, int count)
{
    if (year <= 0 || period <= 0 || count <= 0)
        return QString();
    return QString::number(year) + QLatin1Char('-') + twoDigits(period);
}

// Average divisor: the years of the data, less one when the period lies
// before the first or after the last date's period, at least 1.
int occurrences(int years, int period, int first, int last)
{
    int count = years;
    if (period < first)
        --count;
    if (period > last)
        --count;
    return std::max(1, count);
}

const char *const monthNames[12] = {"Jan", "Feb", "Mar", "Apr", "Maj", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"};
const char *const weekDayNames[7] = {"Måndag", "Tisdag", "Onsdag", "Torsdag", "Fredag", "Lördag", "Söndag"};
}

// ---------------------------------------------------------------------------
// TFrequency

void TFrequency::AddItem(const TFrequencyItem &item)
{
    const int row = RowOf(item);
    const int column = m_individualYears && Kind() != TFrequencyKind::Year ? item.Year - m_firstYear : 0;
    if (row < 0 || row >= MaxRows || column < 0 || column >= MaxYears)
        return;
    m_counts[std::size_t(row)][std::size_t(column)] += 1.0;
}

int TFrequency::PeriodOccurrences(int period) const
{
    Q_UNUSED(period);
    return 1;
}

double TFrequency::Count(int period, int yearColumn) const
{
    const int row = period - m_base;
    if (row < 0 || row >= MaxRows || yearColumn < 0 || yearColumn >= MaxYears)
        return 0.0;
    return m_counts[std::size_t(row)][std::size_t(yearColumn)];
}

void TFrequency::SetDateRange(const QList<TFrequencyItem> *items)
{
    if (!items)
        Fault("06");
    if (items->isEmpty())
        return;
    const TFrequencyItem &first = items->first();
    const TFrequencyItem &last = items->last();
    m_firstYear = first.Year;
    m_firstMonth = first.Month;
    m_firstDay = first.Day;
    m_lastYear = last.Year;
    m_lastMonth = last.Month;
    m_lastDay = last.Day;
}

void TFrequency::CheckOrder(const QList<TFrequencyItem> &items)
{
    for (qsizetype i = 1; i < items.size(); ++i) {
        const TFrequencyItem &previous = items.at(i - 1);
        const TFrequencyItem &item = items.at(i);
        if (item.Year < previous.Year)
            Fault("01");
        if (item.Year == previous.Year && item.Month < previous.Month)
            Fault("02");
        if (item.Year == previous.Year && item.Month == previous.Month && item.Day < previous.Day)
            Fault("03");
    }
}

void TFrequency::ClearTable()
{
    for (auto &row : m_counts)
        row.fill(0.0);
}

void TFrequency::Calculate(TFrequencyPlot *chart, const QList<TFrequencyItem> *items, bool individualYears, bool sum)
{
    if (!chart)
        Fault("04");
    SetDateRange(items);
    if (items->isEmpty())
        return;
    CheckOrder(*items);
    CheckFrequencyYears(m_firstYear, m_lastYear);
    SetPeriodRange();

    ClearTable();
    m_individualYears = individualYears;
    for (const TFrequencyItem &item : *items)
        AddItem(item);

    const int years = m_lastYear - m_firstYear + 1;
    if (!sum) {
        for (int p = m_from; p <= m_to; ++p) {
            const int row = p - 1;
            if (row < 0 || row >= MaxRows)
                continue;
            const double divisor = PeriodOccurrences(p);
            for (int y = 0; y < years; ++y)
                m_counts[std::size_t(row)][std::size_t(y)] /= divisor;
        }
    }

    if (individualYears && Kind() != TFrequencyKind::Year) {
        if (chart->SeriesCount() != years)
            Fault("05");
        for (int p = m_from; p <= m_to; ++p)
            for (int y = 0; y < years; ++y)
                chart->AddPoint(y, p - m_from + 1, Count(p, y));
    } else {
        for (int p = m_from; p <= m_to; ++p)
            chart->AddPoint(0, p - m_from + 1, Count(p, 0));
    }
    FindBusiest(*items);
}

QString TFrequency::BusiestPeriodText() const
{
    return QString();
}

QString TFrequency::MaxCountText() const
{
    return m_maxCount == 0 ? QString() : QString::number(m_maxCount);
}

QString TFrequency::FirstDateText() const
{
    return dateText(m_firstYear, m_firstMonth, m_firstDay);
}

QString TFrequency::LastDateText() const
{
    return dateText(m_lastYear, m_lastMonth, m_lastDay);
}

// ---------------------------------------------------------------------------
// The kinds

int TYearFrequency::RowOf(const TFrequencyItem &item) const
{
    return item.Year - m_firstYear;
}

void TYearFrequency::SetPeriodRange()
{
    m_base = m_firstYear;
    m_from = m_firstYear;
    m_to = m_lastYear;
}

int TMonthFrequency::RowOf(const TFrequencyItem &item) const
{
    return item.Month - 1;
}

void TMonthFrequency::SetPeriodRange()
{
    m_base = 1;
    const bool oneYear = m_firstYear == m_lastYear;
    m_from = oneYear ? m_firstMonth : 1;
    m_to = oneYear ? m_lastMonth : 12;
}

int TMonthFrequency::PeriodOccurrences(int period) const
{
    return occurrences(m_lastYear - m_firstYear + 1, period, m_firstMonth, m_lastMonth);
}

void TMonthFrequency::FindBusiest(const QList<TFrequencyItem> &items)
{
    qsizetype start = 0;
    while (start < items.size()) {
        const TFrequencyItem &first = items.at(start);
        qsizetype end = start + 1;
        while (end < items.size() && items.at(end).Year == first.Year && items.at(end).Month == first.Month)
            ++end;
        const int size = int(end - start);
        if (size >= m_maxCount) {
            m_maxCount = size;
            m_bestYear = first.Year;
            m_bestMonth = first.Month;
        }
        start = end;
    }
}

QString TMonthFrequency::BusiestPeriodText() const
{
    return periodText(m_bestYear, m_bestMonth, m_maxCount);
}

int TWeekNrFrequency::RowOf(const TFrequencyItem &item) const
{
    return AdjustedWeekNumber(item.Year, item.Month, item.Day) - 1;
}

void TWeekNrFrequency::SetPeriodRange()
{
    m_base = 1;
    const bool oneYear = m_firstYear == m_lastYear;
    m_from = oneYear ? AdjustedWeekNumber(m_firstYear, m_firstMonth, m_firstDay) : 1;
    m_to = oneYear ? AdjustedWeekNumber(m_lastYear, m_lastMonth, m_lastDay) : 53;
}

int TWeekNrFrequency::PeriodOccurrences(int period) const
{
    return occurrences(m_lastYear - m_firstYear + 1, period,
                       TTulloUtilTimeDate::SimpleWeekNumber(m_firstYear, m_firstMonth, m_firstDay),
                       TTulloUtilTimeDate::SimpleWeekNumber(m_lastYear, m_lastMonth, m_lastDay));
}

void TWeekNrFrequency::FindBusiest(const QList<TFrequencyItem> &items)
{
    // Grouped by the week the bars count in, so that the busiest week is
    // named as its bar and the first days of January never join the last
    // week of December.
    qsizetype start = 0;
    while (start < items.size()) {
        const TFrequencyItem &first = items.at(start);
        const int week = AdjustedWeekNumber(first.Year, first.Month, first.Day);
        qsizetype end = start + 1;
        while (end < items.size() && items.at(end).Year == first.Year
               && AdjustedWeekNumber(items.at(end).Year, items.at(end).Month, items.at(end).Day) == week)
            ++end;
        const int size = int(end - start);
        if (size >= m_maxCount) {
            m_maxCount = size;
            m_bestYear = first.Year;
            m_bestWeek = week;
        }
        start = end;
    }
}

QString TWeekNrFrequency::BusiestPeriodText() const
{
    return periodText(m_bestYear, m_bestWeek, m_maxCount);
}

int TDayFrequency::RowOf(const TFrequencyItem &item) const
{
    return item.Day - 1;
}

void TDayFrequency::SetPeriodRange()
{
    m_base = 1;
    const bool oneMonth = m_firstYear == m_lastYear && m_firstMonth == m_lastMonth;
    m_from = oneMonth ? m_firstDay : 1;
    m_to = oneMonth ? m_lastDay : 31;
}

int TWeekDayFrequency::RowOf(const TFrequencyItem &item) const
{
    return TTulloUtilTimeDate::DayOfWeekMon(QDate(item.Year, item.Month, item.Day)) - 1;
}

void TWeekDayFrequency::SetPeriodRange()
{
    m_base = 1;
    const bool oneWeek = m_firstYear == m_lastYear && m_firstMonth == m_lastMonth
                         && TTulloUtilTimeDate::WeekNumber(m_firstYear, m_firstMonth, m_firstDay)
                                == TTulloUtilTimeDate::WeekNumber(m_lastYear, m_lastMonth, m_lastDay);
    m_from = oneWeek ? TTulloUtilTimeDate::DayOfWeekMon(QDate(m_firstYear, m_firstMonth, m_firstDay)) : 1;
    m_to = oneWeek ? TTulloUtilTimeDate::DayOfWeekMon(QDate(m_lastYear, m_lastMonth, m_lastDay)) : 7;
}

// ---------------------------------------------------------------------------
// Free functions

std::unique_ptr<TFrequency> CreateFrequency(int kind)
{
    switch (kind) {
    case int(TFrequencyKind::Year):
        return std::make_unique<TYearFrequency>();
    case int(TFrequencyKind::Month):
        return std::make_unique<TMonthFrequency>();
    case int(TFrequencyKind::Week):
        return std::make_unique<TWeekNrFrequency>();
    case int(TFrequencyKind::Day):
        return std::make_unique<TDayFrequency>();
    case int(TFrequencyKind::WeekDay):
        return std::make_unique<TWeekDayFrequency>();
    default:
        Fault("07");
    }
}

void CheckFrequencyYears(int firstYear, int lastYear)
{
    if (lastYear - firstYear + 1 > TFrequency::MaxYears)
        throw EFrequency(QStringLiteral("Aktiviteterna spänner över åren %1–%2; frekvensen kan visas för högst %3 år.")
                             .arg(firstYear)
                             .arg(lastYear)
                             .arg(TFrequency::MaxYears));
}

int AdjustedWeekNumber(int year, int month, int day)
{
    const int week = TTulloUtilTimeDate::WeekNumber(year, month, day);
    if (month == 1 && week > 51)
        return 1;
    if (month == 12 && week == 1)
        return 53;
    return week;
}

QString FrequencyAxisLabel(int kind, int firstYear, int from, int k)
{
    const int value = from + k;
    switch (kind) {
    case int(TFrequencyKind::Year):
        return QString::number(firstYear + k);
    case int(TFrequencyKind::Month):
        return value >= 1 && value <= 12 ? QString::fromUtf8(monthNames[value - 1]) : QString();
    case int(TFrequencyKind::Week):
        return value >= 1 && value <= 53 ? QString::number(value) : QString();
    case int(TFrequencyKind::Day):
        return value >= 1 && value <= 31 ? QString::number(value) : QString();
    case int(TFrequencyKind::WeekDay):
        return value >= 1 && value <= 7 ? QString::fromUtf8(weekDayNames[value - 1]) : QString();
    default:
        throw EUIError(QStringLiteral("Frequency 01"));
    }
}

int SeriesPaletteIndex(int series)
{
    return series >= 0 && series < int(SeriesPalette.size()) ? series : -1;
}
