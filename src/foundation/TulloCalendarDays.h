#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What a month calendar knows, without the control: the dates it was given,
// the month it shows and, derived from both, the days of that month on
// which some date falls and those dates themselves. The month has no year:
// the May calendar marks every May date of its list whatever the year, and
// the dates it lists keep their years.
//
// Both derived lists are sorted as text and hold each entry once, however
// many dates share it. Day numbers are two-digit texts ("04", "17"), so
// their text order is their numeric order; month dates read "yyyy-MM-dd".
//
// The operations that take a list take it by pointer, since a missing list
// is an error the caller must hear of (ETulloCalendar "Nil list in ...").
class TTulloCalendarDays
{
public:
    TTulloCalendarDays() = default;

    // The month names, "Januari" .. "December".
    static QString MonthName(int month);
    // Days a month calendar shows: February always has 29.
    static int MonthLength(int month);

    int Month() const { return m_month; }
    // Throws ETulloCalendar "<month> is not a valid month" outside 1..12 and
    // keeps the month shown; otherwise rebuilds the derived lists.
    void SetMonth(int month);
    QString MonthLabel() const { return MonthName(m_month); }

    // Takes a copy of the dates and rebuilds. Throws ETulloCalendar "Nil list
    // in SetDays" without a list and "<text> is not a valid date" for the
    // first text that is no date "yyyy-MM-dd"; the days stay as they were.
    void SetDays(const QStringList *dates);
    void ClearDays();
    // The dates last given, in the order given.
    const QStringList &Days() const { return m_days; }

    // The distinct days of the month shown on which a date falls.
    int NrOfSelectedDays() const { return int(m_dayNumbers.size()); }
    const QStringList &DayNumbers() const { return m_dayNumbers; }
    bool IsSelected(int day) const;

    // The target cleared and filled with the month dates in sorted order
    // (all of them, or those on `day`). Throw ETulloCalendar "Nil list in
    // GetCurrentDates" / "Nil list in GetCurrentDates2" without a target.
    void GetCurrentDates(QStringList *target) const;
    void GetCurrentDates2(int day, QStringList *target) const;

    // The day under a point of the control: 0 for the header strip, 1..31
    // for a day cell of the month, -1 for a cell beyond the month's length.
    int HitTest(int x, int y) const;

    // The control's geometry: a header strip over 5 rows of 7 cells, day 1
    // always in the top left cell.
    static constexpr int HeaderHeight = 20;
    static constexpr int CellSize = 20;
    static constexpr int Columns = 7;
    static constexpr int Rows = 5;

private:
    struct TDate
    {
        int year;
        int month;
        int day;
    };
    void Rebuild();

    QStringList m_days;
    std::vector<TDate> m_parsed; // m_days converted, in the same order
    QStringList m_dayNumbers;
    QStringList m_monthDates;
    int m_month = 1;
};
