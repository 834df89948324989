#pragma once

// The data behind the report window's line graphs: a copy of the list's
// full-catalogue grid, which of its columns can be plotted, a second copy in
// date order with the gaps filled by linear interpolation over the date, and
// the chart points of one X and one Y quantity. Numbers and texts only; the
// window's chart takes the points.
//
// Every column is named by the catalogue entry it shows (its id), never by
// its caption: captions can repeat (an exercise named like an unassigned
// exercise column).

#include "columns/ActivityColumns.h"

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// The cells of a grid, column by column: column c shows the catalogue entry
// Ids[c] and holds the data cells Columns[c] (every column as many).
struct TGraphTable
{
    QList<int> Ids;
    QList<QStringList> Columns;

    int RowCount() const { return Columns.isEmpty() ? 0 : int(Columns.first().size()); }
};

// Errors are EGraphs with the ids "Graphs 04/05/08/14/15" and "Graph
// 03/06/07/11/12/13".
class TGraphs
{
public:
    void SetCatalogue(TActivityColumns *catalogue) { m_catalogue = catalogue; }

    // Copies the table, sets every catalogue entry's HasData (a column with
    // at least two values), checks every value by its entry's type ("Graphs
    // 05" for one that is not), finds the X candidates and the Y units and
    // interpolates the copy. "Graph 03" without a catalogue.
    void Load(const TGraphTable &table);

    // The captions (without carriage returns) of the plottable columns in
    // column order; "Graph 06" without a list.
    void XCandidates(QStringList *list) const;
    // The catalogue ids of the same columns, in the same order.
    const QList<int> &XCandidateIds() const { return m_xIds; }
    // The units of the plottable columns that have one, in column order
    // (repeated); "Graph 07" without a list.
    void YUnits(QStringList *list) const;
    // True when the last Load found two values or more for the entry.
    bool HasData(int id) const;

    // The points (x, y) of every row where both quantities have a value,
    // from the interpolated copy or the plain one, sorted by x (rows of the
    // same x keep their order). Dates and durations become the numbers of
    // GraphDateValue and GraphDurationValue. "Graphs 08" when the table
    // shows no column of an id, "Graphs 14"/"15" for a text X/Y quantity.
    void FillSeries(QList<QPointF> *series, bool interpolated, int yId, int xId) const;

    // A cell of the plain copy (the table's row order) or of the
    // interpolated copy (date order); empty outside the table.
    QString Cell(bool interpolated, int id, int row) const;
    int RowCount() const { return m_raw.RowCount(); }

private:
    void Interpolate();
    int ColumnOf(const TGraphTable &table, int id) const;
    TColumnValueType TypeOf(int id) const;

    TActivityColumns *m_catalogue = nullptr;
    TGraphTable m_raw;
    TGraphTable m_interpolated;
    QStringList m_xCandidates;
    QList<int> m_xIds;
    QStringList m_yUnits;
    QList<int> m_withData;
};

// The chart numbers of dates and durations, in milliseconds since the
// epoch as date-time axes take them: a date is its noon UTC (the same date
// in local time), a duration the time of day it reaches from local midnight
// of 1 January 2000.
double GraphDateValue(const QDate &date);
// A duration text (minutes.seconds) as the time of day; 24 hours or more is
// no time of day and raises EConvertError.
double GraphDurationValue(const QString &duration);

// The text of a value of a quantity as the axes and the point labels show
// it: durations as "h:nn:ss" (minutes per km as "nn:ss"), dates as
// "yyyy-mm-dd", other numbers with as many decimals as the entry's format
// has after its point.
QString GraphValueText(const TActivityColumn &entry, double value);
// The decimals of a number format such as "##0.00" (2) or "###0" (0).
int FormatDecimals(const QString &format);

// The average of each successive block of 4 points (1-4, 5-8, ...), placed
// at the block's mean x; a last block of fewer than 4 points gives none.
QList<QPointF> BlockAverages(const QList<QPointF> &points);

// The most points a graph shows value labels and point markers for: above
// it both are switched off, so that a long list draws at once.
inline constexpr int PointLabelLimit = 500;
