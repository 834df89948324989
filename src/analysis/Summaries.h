#pragma once

// The yearly summaries behind the summary window: for every activity type
// chosen for summaries, the total of each year over a recurring part of the
// year (1 January to today, or a winter season from 1 October to 31 March),
// read from the whole diary. Numbers and texts only; the window shows them.

#include "app/SettingsValues.h"
#include "model/Classhie.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class TActivityFactory;
class TActivityNames;
class TDbConnection;

// The item lists of one run, one per chosen type in the order of the
// window's columns. The lists belong to TSummaries and stay valid until its
// next run or until the names are set again.
using TSummaryResults = QList<const QList<TSummary> *>;

// The table the window shows: a row per year from the first to the last year
// found, years without any session included, each row holding the year and
// then one cell per column (empty where the type has no session that year),
// and the totals row "Totalt" with the column totals.
struct TSummaryTable
{
    int FirstYear = 0;
    int LastYear = -1;
    QList<QStringList> Rows;
    QStringList Totals;

    int YearCount() const { return int(Rows.size()); }
};

// What is wrong with a part of the year, for the window to say: the field
// (0 none, 1 from month, 2 from day, 3 to month, 4 to day) and the Swedish
// reason.
struct TPeriodProblem
{
    enum TField { None = 0, FromMonth = 1, FromDay = 2, ToMonth = 3, ToDay = 4 };
    TField Field = None;
    QString Message;

    bool IsEmpty() const { return Field == None; }
};

// Errors are ESummariesError with the ids "Summaries 01".."14".
class TSummaries
{
public:
    TSummaries();
    ~TSummaries();

    TSummaries(const TSummaries &) = delete;
    TSummaries &operator=(const TSummaries &) = delete;

    void SetDatabase(TDbConnection *database) { m_database = database; }
    void SetFactory(TActivityFactory *factory) { m_factory = factory; }
    // Stores the names and makes one empty item list per activity name; the
    // lists of an earlier run are gone. nullptr forgets the names.
    void SetNames(TActivityNames *names);
    TActivityNames *Names() const { return m_names; }

    // The codes chosen for summaries. "Summaries 13" without a list.
    void GetSummaryActivities(QStringList *list) const;
    // Stores the codes chosen; true when the choice changed. "Summaries 12"
    // without a list, "Summaries 11" for a code that is no activity's.
    bool SetSummaryActivities(QStringList *list);

    // The display names in the order of the columns (Swedish order, letter
    // case ignored) and the codes chosen among them.
    QStringList SortedNames() const;
    QStringList ColumnNames() const;
    // The column headers for the settings: name, a carriage return and the
    // unit in brackets, or the name alone where the values are numbers of
    // sessions.
    QStringList ColumnHeaders(const TSettingsValues &settings) const;
    static QString ColumnHeader(TActivityFamily family, const QString &name, const TSettingsValues &settings);

    // Totals per year of every chosen type between (fromMonth, fromDay) and
    // (toMonth, toDay) of each year; a part whose start lies after its end
    // runs over New Year, and its autumn and spring count in their own
    // calendar years. `results` and `totals` are cleared and get one entry
    // per chosen type, in column order. Errors: "Summaries 01" without
    // names, "02" without a factory, "04" without results, "14" without
    // totals; the activity errors "Classhie 04"/"05" for a start or end day
    // that is no day of a leap year.
    void Summarize(int fromMonth, int fromDay, const TSettingsValues &settings, QStringList *totals,
                   TSummaryResults *results, int toDay, int toMonth);

    // The smallest first year (the largest last year) of the non-empty item
    // lists; empty when all are empty. "Summaries 05"/"08" without results,
    // "06"/"09" for a missing item list.
    static QString FirstYear(const TSummaryResults *results);
    static QString LastYear(const TSummaryResults *results);

    // The table of a run (see TSummaryTable): no rows when nothing was found.
    static TSummaryTable BuildTable(const TSummaryResults &results, const QStringList &totals);

    // Whether the four values make a part of the year: months 1..12, days of
    // their month in the leap year 1996 (so February has 29).
    static TPeriodProblem CheckPeriod(int fromMonth, int fromDay, int toMonth, int toDay);
    // The days of a month in the leap year 1996; 31 for a month outside 1..12.
    static int DaysOfMonth(int month);

private:
    TDbConnection *m_database = nullptr;
    TActivityFactory *m_factory = nullptr;
    TActivityNames *m_names = nullptr;
    // One item list per display name, in the order of SortedNames.
    std::vector<QList<TSummary>> m_itemLists;
};
