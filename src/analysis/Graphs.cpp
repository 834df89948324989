#include "analysis/Graphs.h"

#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <QDateTime>
#include <QHash>
#include <QTime>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace
{
using VT = TColumnValueType;
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;
using TD = TTulloUtilTimeDate;

[[noreturn]] void fault(const char *id)
{
    throw EGraphs(QString::fromLatin1(id));
}

bool isBlank(const QString &text)
{
    for (const QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

bool isDuration(VT type)
{
    return type == VT::vtTime || type == VT::vtPace;
}

// The types whose gaps are filled: every number type, durations included.
bool interpolates(VT type)
{
    switch (type) {
    case VT::vtTime:
    case VT::vtPace:
    case VT::vtSpeed:
    case VT::vtTemperature:
    case VT::vtDistance:
    case VT::vtWeight:
    case VT::vtCount:
    case VT::vtHandicap:
        return true;
    case VT::vtDate:
    case VT::vtText:
        return false;
    }
    fault("Graph 11");
}

bool validValue(VT type, const QString &text)
{
    switch (type) {
    case VT::vtTime:
    case VT::vtPace:
        return TD::IsValidTime(text);
    case VT::vtDate:
        try {
            return TD::IsValidDateText(text);
        } catch (const EException &) {
            return false;
        }
    case VT::vtText:
        return true;
    case VT::vtSpeed:
    case VT::vtTemperature:
    case VT::vtDistance:
    case VT::vtWeight:
    case VT::vtCount:
    case VT::vtHandicap:
        return Num::IsFloat(text);
    }
    fault("Graphs 04");
}

// A value to interpolate: a duration in seconds, anything else as it reads.
double readValue(VT type, const QString &text)
{
    if (isDuration(type))
        return double(TD::TotalSeconds(text));
    if (!interpolates(type))
        fault("Graph 12");
    return Num::StrToFloat(text);
}

// An interpolated value in the cell encoding: a duration as whole minutes
// plus seconds/100 with three decimals, the seconds kept below a whole
// minute; anything else with two decimals.
QString writeValue(VT type, double value)
{
    if (isDuration(type)) {
        const double minutes = std::floor(value / 60.0);
        const double seconds = std::min(value - minutes * 60.0, 59.9);
        return Str::FormatFixed(3, minutes + seconds / 100.0);
    }
    if (!interpolates(type))
        fault("Graph 13");
    return Str::FormatFixed(2, value);
}

const QDateTime &durationBase()
{
    static const QDateTime base(QDate(2000, 1, 1), QTime(0, 0));
    return base;
}

// The chart number of a cell by its type; fault for a text quantity.
double pointValue(VT type, const QString &text, const char *textFault)
{
    switch (type) {
    case VT::vtTime:
    case VT::vtPace:
        return GraphDurationValue(text);
    case VT::vtDate:
        return GraphDateValue(TD::StrToDate(text));
    case VT::vtText:
        fault(textFault);
    default:
        return Num::StrToFloat(text);
    }
}
} // namespace

double GraphDateValue(const QDate &date)
{
    // Noon UTC: the same date in the local time of every zone within twelve
    // hours of UTC, without asking the time zone for each of 20,000 points.
    constexpr qint64 dayMs = 86400000;
    return double((date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * dayMs + dayMs / 2);
}

double GraphDurationValue(const QString &duration)
{
    // Minutes and seconds as the cell writes them; a third decimal (an
    // interpolated half second) is dropped.
    const double value = Num::StrToFloat(duration);
    const double hours = std::trunc(value / 60.0);
    const double minutes = std::trunc(value - hours * 60.0);
    const double seconds = std::trunc((value - hours * 60.0 - minutes + 0.0005) * 100.0);
    if (value < 0.0 || hours >= 24.0)
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(duration));
    const QTime time(int(hours), int(minutes), int(std::min(seconds, 59.0)));
    return double(durationBase().toMSecsSinceEpoch() + time.msecsSinceStartOfDay());
}

int FormatDecimals(const QString &format)
{
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(format.size() - point - 1);
}

QString GraphValueText(const TActivityColumn &entry, double value)
{
    switch (entry.ValueType) {
    case VT::vtTime:
    case VT::vtPace: {
        const qint64 msecs = qint64(std::llround(value)) - durationBase().toMSecsSinceEpoch();
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(std::clamp<qint64>(msecs, 0, 86399999)));
        return time.toString(entry.ValueType == VT::vtTime ? QStringLiteral("h:mm:ss") : QStringLiteral("mm:ss"));
    }
    case VT::vtDate:
        return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(value)), Qt::UTC).date().toString(QStringLiteral("yyyy-MM-dd"));
    default:
        return Str::FormatFixed(FormatDecimals(entry.Format), value);
    }
}

QList<QPointF> BlockAverages(const QList<QPointF> &points)
{
    QList<QPointF> averages;
    for (qsizetype first = 0; first + 4 <= points.size(); first += 4) {
        QPointF sum;
        for (qsizetype i = first; i < first + 4; ++i)
            sum += points.at(i);
        averages.append(sum / 4.0);
    }
    return averages;
}

// ---------------------------------------------------------------------------

int TGraphs::ColumnOf(const TGraphTable &table, int id) const
{
    return int(table.Ids.indexOf(id));
}

TColumnValueType TGraphs::TypeOf(int id) const
{
    return m_catalogue->GetById(id).ValueType;
}

void TGraphs::Load(const TGraphTable &table)
{
    if (!m_catalogue)
        fault("Graph 03");
    m_raw = table;
    m_interpolated = table;
    m_xCandidates.clear();
    m_xIds.clear();
    m_yUnits.clear();
    m_withData.clear();

    for (int c = 0; c < m_raw.Ids.size(); ++c) {
        TActivityColumn entry = m_catalogue->GetById(m_raw.Ids.at(c));
        const QStringList &cells = m_raw.Columns.at(c);
        int values = 0;
        for (const QString &cell : cells) {
            if (isBlank(cell))
                continue;
            ++values;
            if (!validValue(entry.ValueType, cell))
                fault("Graphs 05");
        }
        const bool hasData = values >= 2;
        if (hasData)
            m_withData.append(entry.Id);
        if (entry.HasData != hasData) {
            entry.HasData = hasData;
            m_catalogue->Update(entry);
        }
        if (hasData && entry.ValueType != VT::vtText) {
            m_xCandidates.append(Str::RemoveChars(entry.Caption, QStringLiteral("\r\n"), false));
            m_xIds.append(entry.Id);
            if (!entry.Unit.isEmpty())
                m_yUnits.append(entry.Unit);
        }
    }
    // An entry the table does not show has no data either.
    for (const TActivityColumn &entry : m_catalogue->Entries()) {
        if (entry.HasData && !m_raw.Ids.contains(entry.Id)) {
            TActivityColumn copy = entry;
            copy.HasData = false;
            m_catalogue->Update(copy);
        }
    }
    Interpolate();
}

void TGraphs::Interpolate()
{
    // The first column showing a date entry orders the copy.
    int dateColumn = -1;
    for (int c = 0; c < m_interpolated.Ids.size() && dateColumn < 0; ++c)
        if (TypeOf(m_interpolated.Ids.at(c)) == VT::vtDate)
            dateColumn = c;
    if (dateColumn < 0)
        return;

    const int rows = m_interpolated.RowCount();
    const QStringList &dateCells = m_interpolated.Columns.at(dateColumn);
    QList<qint64> days(rows, 0);
    QHash<QString, qint64> known;
    for (int r = 0; r < rows; ++r) {
        const QString &text = dateCells.at(r);
        if (isBlank(text)) {
            days[r] = std::numeric_limits<qint64>::min();
            continue;
        }
        auto day = known.constFind(text);
        if (day == known.constEnd())
            day = known.insert(text, TD::StrToDate(text.trimmed()).toJulianDay());
        days[r] = *day;
    }
    QList<int> order(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&days](int a, int b) { return days[a] < days[b]; });
    QList<qint64> x(rows);
    for (int r = 0; r < rows; ++r)
        x[r] = days[order[r]];
    for (QStringList &column : m_interpolated.Columns) {
        QStringList sorted;
        sorted.reserve(rows);
        for (int r = 0; r < rows; ++r)
            sorted.append(column.at(order[r]));
        column = std::move(sorted);
    }

    for (int c = 0; c < m_interpolated.Ids.size(); ++c) {
        const VT type = TypeOf(m_interpolated.Ids.at(c));
        if (!interpolates(type))
            continue;
        QStringList &cells = m_interpolated.Columns[c];
        int p = -1;
        double yp = 0.0;
        for (int i = 0; i < rows; ++i) {
            if (isBlank(cells.at(i)))
                continue;
            const double yi = readValue(type, cells.at(i));
            if (p >= 0 && i - p > 1) {
                const double span = double(x[i] - x[p]);
                for (int k = p + 1; k < i; ++k) {
                    const double y = span == 0.0 ? yp : yp + (yi - yp) * double(x[k] - x[p]) / span;
                    cells[k] = writeValue(type, y);
                }
            }
            p = i;
            yp = yi;
        }
    }
}

void TGraphs::XCandidates(QStringList *list) const
{
    if (!list)
        fault("Graph 06");
    *list = m_xCandidates;
}

void TGraphs::YUnits(QStringList *list) const
{
    if (!list)
        fault("Graph 07");
    *list = m_yUnits;
}

bool TGraphs::HasData(int id) const
{
    return m_withData.contains(id);
}

QString TGraphs::Cell(bool interpolated, int id, int row) const
{
    const TGraphTable &table = interpolated ? m_interpolated : m_raw;
    const int column = ColumnOf(table, id);
    if (column < 0 || row < 0 || row >= table.RowCount())
        return QString();
    return table.Columns.at(column).at(row);
}

void TGraphs::FillSeries(QList<QPointF> *series, bool interpolated, int yId, int xId) const
{
    if (!m_catalogue)
        fault("Graph 03");
    const TGraphTable &table = interpolated ? m_interpolated : m_raw;
    const int xColumn = ColumnOf(table, xId);
    const int yColumn = ColumnOf(table, yId);
    if (xColumn < 0 || yColumn < 0)
        fault("Graphs 08");
    const VT xType = TypeOf(xId);
    const VT yType = TypeOf(yId);
    if (xType == VT::vtText)
        fault("Graphs 14");
    if (yType == VT::vtText)
        fault("Graphs 15");
    const QStringList &xs = table.Columns.at(xColumn);
    const QStringList &ys = table.Columns.at(yColumn);
    QList<QPointF> points;
    points.reserve(xs.size());
    // A list holds many sessions of one day: each date is read once.
    QHash<QString, double> dates;
    const auto value = [&dates](VT type, const QString &text, const char *textFault) {
        if (type != VT::vtDate)
            return pointValue(type, text, textFault);
        auto known = dates.constFind(text);
        if (known == dates.constEnd())
            known = dates.insert(text, pointValue(type, text, textFault));
        return *known;
    };
    for (qsizetype r = 0; r < xs.size(); ++r) {
        const QString &xText = xs.at(r);
        const QString &yText = ys.at(r);
        if (isBlank(xText) || isBlank(yText))
            continue;
        points.append(QPointF(value(xType, xText, "Graphs 14"), value(yType, yText, "Graphs 15")));
    }
    // The list may stand in any order: a line is drawn along its x values.
    std::stable_sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    if (series)
        *series = std::move(points);
}
