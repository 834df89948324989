#include "model/Classhie.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "model/ActivityName.h"
#include "reference/Pulses.h"

#include <QDate>

#include <cmath>

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;
using TimeDate = TTulloUtilTimeDate;

constexpr int CommentLength = 250;

int rangedInteger(const QString &text, int low, int high, const char *errorId)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return -1;
    const int value = Num::StrToInt(trimmed);
    if (value < low || value > high)
        throw EActivityError(QString::fromLatin1(errorId));
    return value;
}

bool validDayOfLeapYear(int month, int day)
{
    return TimeDate::IsValidDate(1996, month, day);
}
}

TActivity::TActivity() = default;

TActivity::~TActivity() = default;

// ---------------------------------------------------------------------------
// Setters

void TActivity::SetSessionData(const QString &date, const QString &place, const QString &sessionComment, const QString &weight)
{
    const QString normalizedDate = TimeDate::DateToStr(TimeDate::StrToDate(date));
    const QString normalizedWeight = NormalizeDecimal(weight);
    m_date = normalizedDate;
    m_place = place;
    m_sessionComment = sessionComment;
    m_weight = normalizedWeight;
}

void TActivity::SetPulse(const QString &rest, const QString &avg, const QString &max)
{
    m_restPulse = rest;
    m_avgPulse = avg;
    m_maxPulse = max;
}

void TActivity::SetCalorie(const QString &text)
{
    if (!text.trimmed().isEmpty())
        Num::StrToInt(text);
    m_calorie = text.trimmed();
}

void TActivity::SetWeather(const QString &weather, const QString &windDir, const QString &wind)
{
    const int weatherValue = rangedInteger(weather, -1, 13, "Classhie 17");
    const int windDirValue = rangedInteger(windDir, -1, 8, "Classhie 18");
    const QString normalizedWind = NormalizeDecimal(wind);
    m_weather = QString::number(weatherValue);
    m_windDir = QString::number(windDirValue);
    m_wind = normalizedWind;
}

void TActivity::SetTemperature(const QString &text)
{
    if (!text.trimmed().isEmpty())
        Num::StrToFloat(text);
    m_temperature = NormalizeDecimal(text);
}

void TActivity::SetSleep(const QString &quality, const QString &duration)
{
    m_sleepQuality = QString::number(rangedInteger(quality, -1, 2, "Classhie 19"));
    m_sleepDuration = duration;
}

void TActivity::SetComment(const QString &text)
{
    m_comment = text.left(CommentLength);
}

void TActivity::SetPulseIntervals(const QList<qint32> *ids, const QList<qint32> *values)
{
    if (!ids)
        throw EActivityError(QStringLiteral("Classhie 21"));
    if (!values)
        throw EActivityError(QStringLiteral("Classhie 22"));
    if (!m_pulses)
        throw EActivityError(QStringLiteral("Classhie 23"));
    if (ids->size() != values->size())
        throw EActivityError(QStringLiteral("Classhie 24"));
    for (qint32 value : *values) {
        if (value < 0 || value > 100)
            throw EActivityError(QStringLiteral("Classhie 25"));
    }
    QList<qint32> keptIds, keptValues;
    for (int i = 0; i < ids->size(); ++i) {
        if (m_pulses->PulseExists(ids->at(i))) {
            keptIds.append(ids->at(i));
            keptValues.append(values->at(i));
        }
    }
    m_pulseIds = keptIds;
    m_pulseValues = keptValues;
}

void TActivity::SetDatabase(TDbConnection *database)
{
    if (database == m_database)
        return;
    m_database = database;
    // The statement buffer is made when first used: a search makes an object
    // per row found, and most of them never run a statement of their own.
    m_query.reset();
}

QString TActivity::GetActivityName() const
{
    return m_activityNames ? m_activityNames->NameOfCode(m_activityCode) : QString();
}

int TActivity::GetPulseIntervals(QList<qint32> &ids, QList<qint32> &values) const
{
    ids = m_pulseIds;
    values = m_pulseValues;
    return int(ids.size());
}

void TActivity::SetCode(const QString &code, const QString &tableName)
{
    m_activityCode = code;
    m_tableName = tableName;
}

TDbQuery &TActivity::Query()
{
    if (!m_query) {
        if (!m_database)
            throw EDbMiscError(QStringLiteral("Query är nil"));
        m_query = std::make_unique<TDbQuery>(*m_database);
    }
    return *m_query;
}

// ---------------------------------------------------------------------------
// Helpers

QString TActivity::NormalizeDecimal(const QString &text)
{
    QString value = Str::RemoveChars(text.trimmed(), QStringLiteral(" "), false);
    if (value.isEmpty() || value == QLatin1String("."))
        return QString();
    if (value.startsWith(QLatin1Char('.')))
        value.prepend(QLatin1Char('0'));
    if (value.endsWith(QLatin1Char('.')))
        value.append(QLatin1Char('0'));
    return Str::FormatFixed(1, Num::StrToFloat(value));
}

void TActivity::CheckNonNegativeInt(const QString &text, int max)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    const int value = Num::StrToInt(trimmed);
    if (value < 0 || (max != -1 && value > max))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

void TActivity::CheckDecimalRange(const QString &text, double max)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    const double value = Num::StrToFloat(trimmed);
    if (value < 0 || value > max)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

void TActivity::CheckOneRow() const
{
    const int rows = m_query ? m_query->RowsAffected() : -1;
    if (rows != 1)
        throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: %1").arg(rows));
}

void TActivity::ExecuteBuffer(bool checkOneRow)
{
    TDbQuery &query = Query();
    if (query.SQL().isEmpty())
        return;
    query.ExecSQL();
    if (checkOneRow)
        CheckOneRow();
}

void TActivity::OpenTypeRow(const QString &keyColumn, const QString &param)
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select * from ") + m_tableName);
    AddLine(&query, QStringLiteral("where ") + keyColumn + QStringLiteral(" = :") + param);
    query.SetInteger(param, m_sessionNr);
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
    }
}

QString TActivity::Column(const QString &column, int kind) const
{
    return GetColumn(m_query.get(), column, kind);
}

// ---------------------------------------------------------------------------
// Storage

void TActivity::Insert()
{
    PrepareSave();
    TDbTransactionGuard transaction(*m_database);
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("insert into TrainingSession"));
    AddLine(&query, QStringLiteral("(SessionNr, SessionDate, SessionActivity,"));
    AddLine(&query, QStringLiteral(" SessionPlace, SessionWeight, SessionRestPulse,"));
    AddLine(&query, QStringLiteral(" SessionAvgPulse, SessionMaxPulse, SessionCalorie,"));
    AddLine(&query, QStringLiteral(" SessionWeather, SessionTemperature, SessionWindDir,"));
    AddLine(&query, QStringLiteral(" SessionWind, SessionSleepQuality, SessionSleepDuration,"));
    AddLine(&query, QStringLiteral(" SessionComment)"));
    AddLine(&query, QStringLiteral("values(:snr,"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);
    const QString comma = QStringLiteral(",");
    AddValue(&query, QStringLiteral("sd"), vkDate, comma, false, m_date);
    AddValue(&query, QStringLiteral("sa"), vkText, comma, false, m_activityCode);
    AddValue(&query, QStringLiteral("sp"), vkText, comma, false, m_place);
    AddValue(&query, QStringLiteral("sw"), vkDecimal, comma, true, m_weight);
    AddValue(&query, QStringLiteral("srp"), vkInteger, comma, true, m_restPulse);
    AddValue(&query, QStringLiteral("sap"), vkInteger, comma, true, m_avgPulse);
    AddValue(&query, QStringLiteral("smp"), vkInteger, comma, true, m_maxPulse);
    AddValue(&query, QStringLiteral("sca"), vkInteger, comma, true, m_calorie);
    AddValue(&query, QStringLiteral("swe"), vkInteger, comma, false, m_weather);
    AddValue(&query, QStringLiteral("ste"), vkDecimal, comma, true, m_temperature);
    AddValue(&query, QStringLiteral("swd"), vkInteger, comma, false, m_windDir);
    AddValue(&query, QStringLiteral("sww"), vkDecimal, comma, true, m_wind);
    AddValue(&query, QStringLiteral("ssq"), vkInteger, comma, false, m_sleepQuality);
    AddValue(&query, QStringLiteral("ssd"), vkDecimal, comma, true, m_sleepDuration);
    AddValue(&query, QStringLiteral("sc"), vkText, QStringLiteral(")"), false, m_sessionComment);
    query.ExecSQL();
    CheckOneRow();

    query.Clear();
    AddInsertTypeRow();
    ExecuteBuffer(true);
    query.Clear();
    AddInsertDetails();
    ExecuteBuffer(true);
    query.Clear();
    AddInsertProgram();
    ExecuteBuffer(true);
    InsertPulseIntervals();
    transaction.Commit();
    m_state = TState::Stored;
}

void TActivity::Load()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select * from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
    }
    const QString code = Column(QStringLiteral("SessionActivity"), vkText);
    SetSessionData(Column(QStringLiteral("SessionDate"), vkDate), Column(QStringLiteral("SessionPlace"), vkText),
                   Column(QStringLiteral("SessionComment"), vkText), Column(QStringLiteral("SessionWeight"), vkDecimal));
    SetPulse(Column(QStringLiteral("SessionRestPulse"), vkInteger), Column(QStringLiteral("SessionAvgPulse"), vkInteger),
             Column(QStringLiteral("SessionMaxPulse"), vkInteger));
    SetCalorie(Column(QStringLiteral("SessionCalorie"), vkInteger));
    SetWeather(Column(QStringLiteral("SessionWeather"), vkInteger), Column(QStringLiteral("SessionWindDir"), vkInteger),
               Column(QStringLiteral("SessionWind"), vkDecimal));
    SetTemperature(Column(QStringLiteral("SessionTemperature"), vkDecimal));
    SetSleep(Column(QStringLiteral("SessionSleepQuality"), vkInteger), Column(QStringLiteral("SessionSleepDuration"), vkDecimal));
    query.Close();
    Q_UNUSED(code);

    query.Clear();
    LoadTypeRow();
    query.Clear();
    LoadDetails();
    LoadPulseIntervals();
    m_state = TState::Stored;
}

void TActivity::Update()
{
    PrepareSave();
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("update TrainingSession set"));
    const QString comma = QStringLiteral(",");
    AddSetClause(&query, QStringLiteral("SessionDate"), QStringLiteral("sd"), comma, false, m_date, vkDate);
    AddSetClause(&query, QStringLiteral("SessionPlace"), QStringLiteral("sp"), comma, false, m_place, vkText);
    AddSetClause(&query, QStringLiteral("SessionWeight"), QStringLiteral("sw"), comma, true, m_weight, vkDecimal);
    AddSetClause(&query, QStringLiteral("SessionRestPulse"), QStringLiteral("srp"), comma, true, m_restPulse, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionAvgPulse"), QStringLiteral("sap"), comma, true, m_avgPulse, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionMaxPulse"), QStringLiteral("smp"), comma, true, m_maxPulse, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionCalorie"), QStringLiteral("sca"), comma, true, m_calorie, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionWeather"), QStringLiteral("swe"), comma, false, m_weather, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionTemperature"), QStringLiteral("ste"), comma, true, m_temperature, vkDecimal);
    AddSetClause(&query, QStringLiteral("SessionWindDir"), QStringLiteral("swd"), comma, false, m_windDir, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionWind"), QStringLiteral("sww"), comma, true, m_wind, vkDecimal);
    AddSetClause(&query, QStringLiteral("SessionSleepQuality"), QStringLiteral("ssq"), comma, false, m_sleepQuality, vkInteger);
    AddSetClause(&query, QStringLiteral("SessionSleepDuration"), QStringLiteral("ssd"), comma, true, m_sleepDuration, vkDecimal);
    AddSetClause(&query, QStringLiteral("SessionComment"), QStringLiteral("sc"), QStringLiteral(" "), false, m_sessionComment, vkText);
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);

    TDbTransactionGuard transaction(*m_database);
    query.ExecSQL();
    CheckOneRow();
    query.Clear();
    AddUpdateTypeRow();
    ExecuteBuffer(true);
    query.Clear();
    AddUpdateDetails();
    ExecuteBuffer(true);
    query.Clear();
    AddUpdateProgram();
    ExecuteBuffer(true);
    DeletePulseIntervals();
    InsertPulseIntervals();
    transaction.Commit();
}

void TActivity::Delete()
{
    TDbQuery &query = Query();
    TDbTransactionGuard transaction(*m_database);
    query.Clear();
    AddDeleteProgram();
    ExecuteBuffer(false);
    query.Clear();
    AddDeleteTypeRow();
    ExecuteBuffer(true);
    query.Clear();
    AddDeleteDetails();
    ExecuteBuffer(false);
    DeletePulseIntervals();
    query.Clear();
    AddLine(&query, QStringLiteral("delete from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);
    query.ExecSQL();
    CheckOneRow();
    transaction.Commit();
}

void TActivity::InsertPulseIntervals()
{
    if (!m_pulses)
        return;
    TDbQuery &query = Query();
    for (int i = 0; i < m_pulseIds.size(); ++i) {
        if (!m_pulses->PulseExists(m_pulseIds.at(i)))
            continue;
        query.Clear();
        AddLine(&query, QStringLiteral("insert into TrainingSessionPulse"));
        AddLine(&query, QStringLiteral("(SessionNr, PulseNr, PulseId, PulseValue)"));
        AddLine(&query, QStringLiteral("values(:snr,"));
        query.SetInteger(QStringLiteral("snr"), m_sessionNr);
        const QString comma = QStringLiteral(",");
        AddValue(&query, QStringLiteral("pnr"), vkInteger, comma, false, QString::number(i + 1));
        AddValue(&query, QStringLiteral("pid"), vkInteger, comma, false, QString::number(m_pulseIds.at(i)));
        AddValue(&query, QStringLiteral("pva"), vkInteger, QStringLiteral(")"), false, QString::number(m_pulseValues.at(i)));
        query.ExecSQL();
        CheckOneRow();
    }
}

void TActivity::DeletePulseIntervals()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("delete from TrainingSessionPulse"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);
    query.ExecSQL();
}

void TActivity::SetStoredPulseIntervals(const QList<qint32> &ids, const QList<qint32> &values)
{
    m_pulseIds = ids;
    m_pulseValues = values;
}

void TActivity::LoadPulseIntervals()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select * from TrainingSessionPulse"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    AddLine(&query, QStringLiteral("order by PulseNr"));
    query.SetInteger(QStringLiteral("snr"), m_sessionNr);
    QList<qint32> ids, values;
    query.Open();
    for (; !query.Eof(); query.Next()) {
        ids.append(qint32(query.FieldAsInteger(QStringLiteral("PulseId"))));
        values.append(qint32(query.FieldAsInteger(QStringLiteral("PulseValue"))));
    }
    query.Close();
    m_pulseIds = ids;
    m_pulseValues = values;
}

// ---------------------------------------------------------------------------
// List queries

void TActivity::AddListColumns()
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select SessionNr, SessionDate, SessionActivity,"));
    AddLine(&query, QStringLiteral("SessionPlace, SessionWeight, SessionRestPulse,"));
    AddLine(&query, QStringLiteral("SessionAvgPulse, SessionMaxPulse, SessionCalorie,"));
    AddLine(&query, QStringLiteral("SessionWeather, SessionTemperature, SessionWindDir,"));
    AddLine(&query, QStringLiteral("SessionWind, SessionSleepQuality, SessionSleepDuration,"));
    AddLine(&query, QStringLiteral("case when char_length(SessionComment) <= 1000 then cast(SessionComment as varchar(1000)) end as SessionCommentText,"));
    AddLine(&query, QStringLiteral("case when char_length(SessionComment) > 1000 then SessionComment end as SessionComment"));
}

void TActivity::AddSessionFilters(const QString &dateFrom, const QString &dateTo, const QString &weightTo, const QString &weightFrom,
                                  const QString &comment, const QString &place)
{
    TDbQuery *query = &Query();
    AddFilter(query, QStringLiteral("SessionDate"), foAtLeast, false, dateFrom, vkDate, QStringLiteral("sed1"));
    AddFilter(query, QStringLiteral("SessionDate"), foAtMost, false, dateTo, vkDate, QStringLiteral("sed2"));
    AddFilter(query, QStringLiteral("SessionPlace"), foContains, false, place, vkText, QStringLiteral("sep"));
    AddFilter(query, QStringLiteral("SessionComment"), foContains, false, comment, vkText, QStringLiteral("sec"));
    AddFilter(query, QStringLiteral("SessionWeight"), foAtLeast, true, weightFrom, vkDecimal, QStringLiteral("sew1"));
    AddFilter(query, QStringLiteral("SessionWeight"), foAtMost, true, weightTo, vkDecimal, QStringLiteral("sew2"));
}

void TActivity::RunListQuery(QList<int> &numbers)
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("order by sessiondate, sessionnr"));
    TDbQueryCloser closer(query);
    query.Open();
    for (; !query.Eof(); query.Next()) {
        numbers.append(int(query.FieldAsInteger(QStringLiteral("SessionNr"))));
        if (m_rowFoundEvent) {
            // Each row becomes an object of this object's own class.
            m_rowObject = Class()->Create();
            LoadListRow();
            m_rowFoundEvent(m_rowObject);
            m_rowObject.reset();
        }
    }
}

void TActivity::LoadListRow()
{
    TActivity *row = m_rowObject.get();
    if (!row)
        throw EActivityError(QStringLiteral("Classhie 02"));
    row->SetActivityNames(m_activityNames);
    row->SetSessionNr(int(Query().FieldAsInteger(QStringLiteral("SessionNr"))));
    QString comment = Column(QStringLiteral("SessionCommentText"), vkText);
    if (comment.isEmpty())
        comment = Column(QStringLiteral("SessionComment"), vkText);
    comment = Str::RemoveChars(comment, QStringLiteral("\r\n"), true);
    row->SetSessionData(Column(QStringLiteral("SessionDate"), vkDate), Column(QStringLiteral("SessionPlace"), vkText), comment,
                        Column(QStringLiteral("SessionWeight"), vkDecimal));
    row->SetPulse(Column(QStringLiteral("SessionRestPulse"), vkInteger), Column(QStringLiteral("SessionAvgPulse"), vkInteger),
                  Column(QStringLiteral("SessionMaxPulse"), vkInteger));
    row->SetCalorie(Column(QStringLiteral("SessionCalorie"), vkInteger));
    row->SetWeather(Column(QStringLiteral("SessionWeather"), vkInteger), Column(QStringLiteral("SessionWindDir"), vkInteger),
                    Column(QStringLiteral("SessionWind"), vkDecimal));
    row->SetTemperature(Column(QStringLiteral("SessionTemperature"), vkDecimal));
    row->SetSleep(Column(QStringLiteral("SessionSleepQuality"), vkInteger), Column(QStringLiteral("SessionSleepDuration"), vkDecimal));
    row->SetState(TState::Listed);
}

void TActivity::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery &query = Query();
    query.Clear();
    AddListColumns();
    AddLine(&query, QStringLiteral("from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionActivity = '") + m_activityCode + QStringLiteral("'"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    RunListQuery(numbers);
}

// ---------------------------------------------------------------------------
// Places, summaries and totals

void TActivity::GetPlaces(QStringList *list)
{
    if (!list)
        return;
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select distinct SessionPlace from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionActivity = :sActivity and"));
    AddLine(&query, QStringLiteral("      SessionPlace <> ''"));
    query.SetText(QStringLiteral("sActivity"), m_activityCode);
    list->clear();
    query.Open();
    for (; !query.Eof(); query.Next())
        list->append(Column(QStringLiteral("SessionPlace"), vkText));
    query.Close();
}

void TActivity::AddCountSelect(const QString &code)
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select SessionDate as TDate, 1 as TValue"));
    AddLine(&query, QStringLiteral("from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionActivity = '") + code + QStringLiteral("'"));
}

void TActivity::AddSeriesSelect(const TSettingsValues &)
{
    AddCountSelect(m_activityCode);
    m_seriesDecimals = 0;
}

double TActivity::SeriesValue(const QString &text, const TSettingsValues &) const
{
    return Num::StrToFloat(text);
}

QString TActivity::FormatSeriesValue(double value, const TSettingsValues &) const
{
    return Str::FormatFixed(m_seriesDecimals, value);
}

void TActivity::GetYearSummaries(int fromMonth, int fromDay, const TSettingsValues &settings, QList<TSummary> *list, QString &total,
                                 int toMonth, int toDay)
{
    if (!list)
        throw EActivityError(QStringLiteral("Classhie 03"));
    if (!validDayOfLeapYear(fromMonth, fromDay))
        throw EActivityError(QStringLiteral("Classhie 04. Invalid date: %1-%2").arg(fromMonth).arg(fromDay));
    if (!validDayOfLeapYear(toMonth, toDay))
        throw EActivityError(QStringLiteral("Classhie 05. Invalid date: %1-%2").arg(toMonth).arg(toDay));

    list->clear();
    TDbQuery &query = Query();
    query.Clear();
    AddSeriesSelect(settings);
    AddLine(&query, QStringLiteral("order by SessionDate"));

    const int start = fromMonth * 100 + fromDay;
    const int end = toMonth * 100 + toDay;
    const bool wraps = start > end;
    QList<double> values;
    double grandTotal = 0.0;
    int previousYear = 0;

    query.Open();
    TDbQueryCloser closer(query);
    for (; !query.Eof(); query.Next()) {
        const QDate date = TimeDate::StrToDate(Column(QStringLiteral("TDate"), vkDate));
        const int m = date.month();
        const int d = date.day();
        const int day = m * 100 + d;
        bool skip;
        if (!wraps) {
            skip = day < start || day > end;
        } else if (fromMonth == toMonth) {
            // The part runs from the start day round the year to the end day
            // of the same month: only the days between them are outside.
            skip = d > toDay && d < fromDay && m == fromMonth;
        } else {
            const bool monthBetween = toMonth < fromMonth ? (m > toMonth && m < fromMonth) : (m > toMonth || m < fromMonth);
            skip = monthBetween || (m == fromMonth && d < fromDay) || (m == toMonth && d > toDay);
        }
        if (skip)
            continue;
        if (list->isEmpty() || date.year() != previousYear) {
            list->append(TSummary{QString::number(date.year()), QStringLiteral("0")});
            values.append(0.0);
            previousYear = date.year();
        }
        const double value = SeriesValue(Column(QStringLiteral("TValue"), vkText), settings);
        values.last() += value;
        grandTotal += value;
    }
    for (int i = 0; i < list->size(); ++i)
        (*list)[i].Value = FormatSeriesValue(values.at(i), settings);
    total = FormatSeriesValue(grandTotal, settings);
}

void TActivity::AddPeriodFilters(const TPeriod &period)
{
    TDbQuery *query = &Query();
    AddFilter(query, QStringLiteral("SessionDate"), foAtLeast, false, period.From, vkDate, QStringLiteral("sed1"));
    AddFilter(query, QStringLiteral("SessionDate"), foAtMost, false, period.To, vkDate, QStringLiteral("sed2"));
}

void TActivity::GetWeightSeries(const TPeriod &period, TSeries &series)
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select SessionDate, SessionWeight"));
    AddLine(&query, QStringLiteral("from TrainingSession"));
    AddLine(&query, QStringLiteral("where 1 = 1"));
    AddPeriodFilters(period);
    AddLine(&query, QStringLiteral("and SessionWeight is not null"));
    AddLine(&query, QStringLiteral("order by SessionDate"));
    series.clear();
    query.Open();
    for (; !query.Eof(); query.Next())
        series.append(TSeriesPoint{Column(QStringLiteral("SessionDate"), vkDate), query.FieldAsFloat(QStringLiteral("SessionWeight"))});
    query.Close();
}

void TActivity::AddToBuckets(TDbQuery &query, TSeries &series, const std::function<double(TDbQuery &)> &valueOf)
{
    int bucket = 0;
    for (; !query.Eof(); query.Next()) {
        if (series.isEmpty())
            break;
        const QString date = GetColumn(&query, QStringLiteral("SessionDate"), vkDate);
        // Dates in "yyyy-MM-dd" compare as texts in calendar order.
        while (bucket + 1 < series.size() && series.at(bucket + 1).Date <= date)
            ++bucket;
        series[bucket].Value += valueOf(query);
    }
}

void TActivity::AddCountTotals(const TPeriod &period, TSeries &series)
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select SessionDate"));
    AddLine(&query, QStringLiteral("from TrainingSession"));
    AddLine(&query, QStringLiteral("where SessionActivity = '") + m_activityCode + QStringLiteral("'"));
    AddPeriodFilters(period);
    AddLine(&query, QStringLiteral("order by SessionDate"));
    query.Open();
    TDbQueryCloser closer(query);
    AddToBuckets(query, series, [](TDbQuery &) { return 1.0; });
}

void TActivity::AddColumnTotals(const QString &column, const TPeriod &period, TSeries &series, bool durations)
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select SessionDate, ") + column);
    AddLine(&query, QStringLiteral("from TrainingSession, ") + m_tableName);
    AddLine(&query, QStringLiteral("where SessionNr = Nr"));
    AddPeriodFilters(period);
    AddLine(&query, QStringLiteral("and ") + column + QStringLiteral(" is not null"));
    AddLine(&query, QStringLiteral("order by SessionDate"));
    query.Open();
    TDbQueryCloser closer(query);
    AddToBuckets(query, series, [column, durations](TDbQuery &row) {
        const QString text = GetColumn(&row, column, vkDecimal);
        return durations ? double(TimeDate::TotalSeconds(text)) : Num::StrToFloat(text);
    });
}

void TActivity::AddDurationTotals(const TPeriod &, TSeries &)
{
}

void TActivity::AddDistanceTotals(const TPeriod &, TSeries &)
{
}
