#pragma once

// The counting behind the frequency window: how many of the listed
// activities fall in each year, month, week, day of the month or weekday.
// Numbers and texts only; the window's chart takes the points through
// TFrequencyPlot.

#include <QList>
#include <QString>

#include <array>
#include <memory>

// One listed activity.
struct TFrequencyItem
{
    qint32 Year = 0;
    qint32 Month = 0;
    qint32 Day = 0;
};

// What a calculation fills: a number of series, each taking points x = 1, 2,
// ... with a value. The window's chart is one.
class TFrequencyPlot
{
public:
    virtual ~TFrequencyPlot() = default;
    virtual int SeriesCount() const = 0;
    virtual void AddPoint(int series, int x, double value) = 0;
};

// The kinds of period, by the index of the window's first radio group.
enum class TFrequencyKind : int { Year = 0, Month = 1, Week = 2, Day = 3, WeekDay = 4 };

// The counts of one kind of period. Made by CreateFrequency for one
// calculation and freed afterwards.
//
// The table is fixed: at most 101 period rows and at most 101 years from the
// first to the last item (year column = item year - FirstYear). A wider
// range of years is refused with a message naming the first and last year,
// and nothing is counted outside the table.
class TFrequency
{
public:
    static constexpr int MaxRows = 101;
    static constexpr int MaxYears = 101;

    virtual ~TFrequency() = default;

    // Adds 1 to the cell of the item's period and year; an item outside the
    // table counts nowhere.
    virtual void AddItem(const TFrequencyItem &item);
    // How many times the period value occurs between the first and the last
    // date: the divisor of the average.
    virtual int PeriodOccurrences(int period) const;
    // Sets the range from the items, counts them and gives the chart its
    // points: with individualYears one series per year (the chart must hold
    // exactly as many), else the first series; sum false turns the counts
    // into averages. Errors: "Frequencies 04" without a chart, "Frequencies
    // 06" without an item list, "Frequencies 01".."03" for items out of date
    // order, and the Swedish refusal for more than 101 years. No items: does
    // nothing.
    virtual void Calculate(TFrequencyPlot *chart, const QList<TFrequencyItem> *items, bool individualYears, bool sum);
    // The busiest month or week as "2004-03"; empty for the other kinds or
    // when none was found.
    virtual QString BusiestPeriodText() const;

    virtual TFrequencyKind Kind() const = 0;

    QString Caption() const { return m_caption; }
    QString MaxCountText() const;
    QString FirstDateText() const;
    QString LastDateText() const;
    int FirstPlotted() const { return m_from; }

    // The cell of period value `period` (Base-relative row) and year column.
    double Count(int period, int yearColumn) const;
    int Base() const { return m_base; }
    int From() const { return m_from; }
    int To() const { return m_to; }
    int FirstYear() const { return m_firstYear; }
    int FirstMonth() const { return m_firstMonth; }
    int FirstDay() const { return m_firstDay; }
    int LastYear() const { return m_lastYear; }
    int LastMonth() const { return m_lastMonth; }
    int LastDay() const { return m_lastDay; }
    int BestYear() const { return m_bestYear; }
    int BestMonth() const { return m_bestMonth; }
    int BestWeek() const { return m_bestWeek; }
    int MaxCount() const { return m_maxCount; }
    bool IndividualYears() const { return m_individualYears; }
    // The number of year columns the items span (0 without items).
    int YearCount() const { return m_firstYear < 0 ? 0 : m_lastYear - m_firstYear + 1; }

protected:
    explicit TFrequency(QString caption) : m_caption(std::move(caption)) {}

    // The row of the item's period (period value - Base).
    virtual int RowOf(const TFrequencyItem &item) const = 0;
    // Base, From and To once the first and last date are set.
    virtual void SetPeriodRange() = 0;
    // The busiest month or week, after the counting.
    virtual void FindBusiest(const QList<TFrequencyItem> &items) { Q_UNUSED(items); }

    int m_base = 1;
    int m_from = 1;
    int m_to = 1;
    int m_firstYear = -1;
    int m_firstMonth = -1;
    int m_firstDay = -1;
    int m_lastYear = -1;
    int m_lastMonth = -1;
    int m_lastDay = -1;
    int m_bestYear = -1;
    int m_bestMonth = -1;
    int m_bestWeek = -1;
    int m_maxCount = 0;

private:
    void SetDateRange(const QList<TFrequencyItem> *items);
    static void CheckOrder(const QList<TFrequencyItem> &items);
    void ClearTable();

    QString m_caption;
    bool m_individualYears = false;
    std::array<std::array<double, MaxYears>, MaxRows> m_counts{};
};

class TYearFrequency final : public TFrequency
{
public:
    TYearFrequency() : TFrequency(QStringLiteral("År")) {}
    TFrequencyKind Kind() const override { return TFrequencyKind::Year; }

protected:
    int RowOf(const TFrequencyItem &item) const override;
    void SetPeriodRange() override;
};

class TMonthFrequency final : public TFrequency
{
public:
    TMonthFrequency() : TFrequency(QStringLiteral("Månad")) {}
    TFrequencyKind Kind() const override { return TFrequencyKind::Month; }
    int PeriodOccurrences(int period) const override;
    QString BusiestPeriodText() const override;

protected:
    int RowOf(const TFrequencyItem &item) const override;
    void SetPeriodRange() override;
    void FindBusiest(const QList<TFrequencyItem> &items) override;
};

class TWeekNrFrequency final : public TFrequency
{
public:
    TWeekNrFrequency() : TFrequency(QStringLiteral("Vecka")) {}
    TFrequencyKind Kind() const override { return TFrequencyKind::Week; }
    int PeriodOccurrences(int period) const override;
    QString BusiestPeriodText() const override;

protected:
    int RowOf(const TFrequencyItem &item) const override;
    void SetPeriodRange() override;
    void FindBusiest(const QList<TFrequencyItem> &items) override;
};

class TDayFrequency final : public TFrequency
{
public:
    TDayFrequency() : TFrequency(QStringLiteral("Dag")) {}
    TFrequencyKind Kind() const override { return TFrequencyKind::Day; }

protected:
    int RowOf(const TFrequencyItem &item) const override;
    void SetPeriodRange() override;
};

class TWeekDayFrequency final : public TFrequency
{
public:
    TWeekDayFrequency() : TFrequency(QStringLiteral("Veckodag")) {}
    TFrequencyKind Kind() const override { return TFrequencyKind::WeekDay; }

protected:
    int RowOf(const TFrequencyItem &item) const override;
    void SetPeriodRange() override;
};

// The frequency object of a kind index 0..4; "Frequencies 07" otherwise.
std::unique_ptr<TFrequency> CreateFrequency(int kind);

// Refuses a range of more than 101 years with EFrequency "Aktiviteterna
// spänner över åren 1026–2026; frekvensen kan visas för högst 101 år."
void CheckFrequencyYears(int firstYear, int lastYear);

// The week a date's activity is counted in, kept inside its calendar year:
// the diary's week number, except that in January a week above 51 is week 1
// and in December week 1 is week 53.
int AdjustedWeekNumber(int year, int month, int day);

// The bottom-axis label of point k (0-based) of a chart that starts at
// period value `from`: the year, the month or weekday name, the week or day
// number; empty outside the kind's values. "Frequency 01" (EUIError) for an
// unknown kind index.
QString FrequencyAxisLabel(int kind, int firstYear, int from, int k);

// The 16 series colours as 0xRRGGBB, shared by the charts of the program.
inline constexpr std::array<unsigned, 16> SeriesPalette = {
    0x0000FF, 0xFF0000, 0x008000, 0x00FFFF, 0xFFFF00, 0x000000, 0xFFFFFF, 0x808080,
    0x00FF00, 0x000080, 0x800080, 0x008080, 0x800000, 0x808000, 0x808080, 0xFF00FF,
};
// The palette index of series i, or -1 when the series keeps the chart's
// default colour (from the 17th series on).
int SeriesPaletteIndex(int series);
