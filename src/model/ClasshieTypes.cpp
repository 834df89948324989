#include "model/ClasshieTypes.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

#include <cfenv>
#include <cmath>

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;
using TimeDate = TTulloUtilTimeDate;
using TUnit = TSettingsValues::TSummaryTime;

const QString comma = QStringLiteral(",");
const QString lastValue = QStringLiteral(")");
const QString lastSet = QStringLiteral(" ");

// True for a text that is a number equal to 0.
bool isZero(const QString &text)
{
    if (!Num::IsFloat(text) || text.trimmed().isEmpty())
        return false;
    return Num::StrToFloat(text) == 0.0;
}

// Rounds to the nearest whole number, ties to even.
double roundHalfEven(double value)
{
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return rounded;
}

TUnit timeUnitOfTDT(TSettingsValues::TSummaryTDT unit)
{
    switch (unit) {
    case TSettingsValues::TSummaryTDT::Hours:
        return TUnit::Hours;
    case TSettingsValues::TSummaryTDT::Minutes:
        return TUnit::Minutes;
    default:
        return TUnit::Count;
    }
}
}

#define TERNVALL_LEAF_CONSTRUCTOR(Name, Code, Table)                                                                             \
    Name::Name() { SetCode(QStringLiteral(Code), QStringLiteral(Table)); }

TERNVALL_LEAF_CONSTRUCTOR(TDownhill, "DOW", "Default")
TERNVALL_LEAF_CONSTRUCTOR(TWeight, "BLO", "Default")
TERNVALL_LEAF_CONSTRUCTOR(TTennis, "TEN", "Tennis")
TERNVALL_LEAF_CONSTRUCTOR(TSkating, "SKA", "Skating")
TERNVALL_LEAF_CONSTRUCTOR(TSpinning, "SPI", "Spinning")
TERNVALL_LEAF_CONSTRUCTOR(TAerobics, "AER", "Aerobics")
TERNVALL_LEAF_CONSTRUCTOR(TDance, "DAN", "Dance")
TERNVALL_LEAF_CONSTRUCTOR(TCardio, "CAR", "Cardio")
TERNVALL_LEAF_CONSTRUCTOR(TFloorball, "FLO", "Floorball")
TERNVALL_LEAF_CONSTRUCTOR(TSoccer, "SOC", "Soccer")
TERNVALL_LEAF_CONSTRUCTOR(TIceHockey, "HOC", "IceHockey")
TERNVALL_LEAF_CONSTRUCTOR(TRunning, "RUN", "Running")
TERNVALL_LEAF_CONSTRUCTOR(TBiking, "BIK", "Biking")
TERNVALL_LEAF_CONSTRUCTOR(TSkiing, "SKI", "Skiing")
TERNVALL_LEAF_CONSTRUCTOR(TSwimming, "SWI", "Swimming")
TERNVALL_LEAF_CONSTRUCTOR(TInlines, "INL", "Inlines")
TERNVALL_LEAF_CONSTRUCTOR(TTrekking, "TRE", "Trekking")
TERNVALL_LEAF_CONSTRUCTOR(TCanoeing, "CAN", "Canoeing")
TERNVALL_LEAF_CONSTRUCTOR(TOther, "OTH", "Other")

#undef TERNVALL_LEAF_CONSTRUCTOR

// ---------------------------------------------------------------------------
// TTimeActivity

void TTimeActivity::SetDuration(const QString &text)
{
    if (!text.trimmed().isEmpty())
        TimeDate::Seconds(text);
    m_duration = isZero(text) ? QString() : text.trimmed();
}

QString TTimeActivity::CaloriesPerHour(const QString &calories, const QString &duration)
{
    if (!Num::IsFloat(calories) || !Num::IsFloat(duration) || calories.trimmed().isEmpty() || duration.trimmed().isEmpty())
        return QString();
    const double minutes = Num::StrToFloat(duration);
    if (minutes == 0.0)
        return QString();
    return Str::FormatFixed(0, Num::StrToFloat(calories) / minutes * 60.0);
}

void TTimeActivity::LoadListRow()
{
    TActivity::LoadListRow();
    RowAs<TTimeActivity>()->SetDuration(Column(QStringLiteral("Duration"), vkDecimal));
}

void TTimeActivity::AddValueRowsSelect(const QString &column)
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select SessionDate as TDate, ") + column + QStringLiteral(" as TValue"));
    AddLine(&query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(&query, QStringLiteral("where SessionNr = Nr and"));
    AddLine(&query, QStringLiteral("      ") + column + QStringLiteral(" is not null"));
}

void TTimeActivity::AddTimeSeriesSelect(TUnit unit)
{
    if (unit == TUnit::Count)
        AddCountSelect(GetActivityCode());
    else
        AddValueRowsSelect(QStringLiteral("Duration"));
    SetSeriesDecimals(0);
}

double TTimeActivity::TimeSeriesValue(const QString &text, TUnit unit) const
{
    switch (unit) {
    case TUnit::Hours:
        return TimeDate::TotalHours(text);
    case TUnit::Minutes:
        return TimeDate::TotalMinutes(text);
    case TUnit::Count:
        break;
    }
    return Num::StrToFloat(text);
}

QString TTimeActivity::FormatTimeSeriesValue(double value, TUnit unit) const
{
    switch (unit) {
    case TUnit::Hours: {
        // Hours and minutes as h.mm. The minutes are rounded first, so that
        // 59.7 minutes show as the next hour and never as ".60".
        const qint64 minutes = qint64(std::llround(value * 60.0));
        return Str::FormatFixed(2, double(minutes / 60) + double(minutes % 60) / 100.0);
    }
    case TUnit::Minutes:
        return Str::FormatFixed(0, roundHalfEven(value));
    case TUnit::Count:
        break;
    }
    return Str::FormatFixed(0, value);
}

void TTimeActivity::AddDurationTotals(const TPeriod &period, TSeries &series)
{
    AddColumnTotals(QStringLiteral("Duration"), period, series, true);
}

void TTimeActivity::AddDistanceTotals(const TPeriod &period, TSeries &series)
{
    AddColumnTotals(QStringLiteral("Distance"), period, series, false);
}

// ---------------------------------------------------------------------------
// TSimpleTimeActivity

void TSimpleTimeActivity::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Nr, Duration, Comment)"));
    AddLine(query, QStringLiteral("values(:stnr, "));
    query->SetInteger(QStringLiteral("stnr"), GetSessionNr());
    AddValue(query, QStringLiteral("stt"), vkDecimal, comma, true, GetDuration());
    AddValue(query, QStringLiteral("stc"), vkText, lastValue, false, GetComment());
}

void TSimpleTimeActivity::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("Nr"), QStringLiteral("stnr"));
    TDbQuery &query = Query();
    SetDuration(Column(QStringLiteral("Duration"), vkDecimal));
    SetComment(Column(QStringLiteral("Comment"), vkText));
    query.Close();
}

void TSimpleTimeActivity::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("Duration"), QStringLiteral("stt"), comma, true, GetDuration(), vkDecimal);
    AddSetClause(query, QStringLiteral("Comment"), QStringLiteral("stc"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where nr = :stnr"));
    query->SetInteger(QStringLiteral("stnr"), GetSessionNr());
}

void TSimpleTimeActivity::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where Nr = :stnr"));
    query->SetInteger(QStringLiteral("stnr"), GetSessionNr());
}

void TSimpleTimeActivity::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", Duration"));
    AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(query, QStringLiteral("where SessionNr = Nr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    AddFilter(query, QStringLiteral("Duration"), foAtLeast, true, filter.TimeFrom, vkDecimal, QStringLiteral("tdtt1"));
    AddFilter(query, QStringLiteral("Duration"), foAtMost, true, filter.TimeTo, vkDecimal, QStringLiteral("tdtt2"));
    RunListQuery(numbers);
}

void TSimpleTimeActivity::AddSeriesSelect(const TSettingsValues &settings)
{
    AddTimeSeriesSelect(settings.SummaryTime);
}

double TSimpleTimeActivity::SeriesValue(const QString &text, const TSettingsValues &settings) const
{
    return TimeSeriesValue(text, settings.SummaryTime);
}

QString TSimpleTimeActivity::FormatSeriesValue(double value, const TSettingsValues &settings) const
{
    return FormatTimeSeriesValue(value, settings.SummaryTime);
}

// ---------------------------------------------------------------------------
// TGame

void TGame::SetGame(const QString &performance, const QString &game)
{
    int value = -1;
    if (!performance.trimmed().isEmpty())
        value = Num::StrToInt(performance);
    if (value < -1 || value > 4)
        throw EActivityError(QStringLiteral("Classhie 08"));
    m_performance = QString::number(value);
    m_game = game;
}

void TGame::LoadListRow()
{
    TTimeActivity::LoadListRow();
    RowAs<TGame>()->SetGame(Column(QStringLiteral("Performance"), vkInteger), Column(QStringLiteral("Game"), vkText));
}

// ---------------------------------------------------------------------------
// TSimpleGame

void TSimpleGame::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Nr, Duration, Performance, Game, Comment)"));
    AddLine(query, QStringLiteral("values(:sgnr,"));
    query->SetInteger(QStringLiteral("sgnr"), GetSessionNr());
    AddValue(query, QStringLiteral("sgt"), vkDecimal, comma, true, GetDuration());
    AddValue(query, QStringLiteral("sgp"), vkInteger, comma, false, QString::number(GetPerformance()));
    AddValue(query, QStringLiteral("sgg"), vkText, comma, false, GetGame());
    AddValue(query, QStringLiteral("sgc"), vkText, lastValue, false, GetComment());
}

void TSimpleGame::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("Nr"), QStringLiteral("sgnr"));
    TDbQuery &query = Query();
    // A match is kept in whole minutes.
    SetDuration(Str::StrToStrDec(Column(QStringLiteral("Duration"), vkDecimal), 0));
    SetGame(Column(QStringLiteral("Performance"), vkInteger), Column(QStringLiteral("Game"), vkText));
    SetComment(Column(QStringLiteral("Comment"), vkText));
    query.Close();
}

void TSimpleGame::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("Duration"), QStringLiteral("sgt"), comma, true, GetDuration(), vkDecimal);
    AddSetClause(query, QStringLiteral("Performance"), QStringLiteral("sgp"), comma, false, QString::number(GetPerformance()), vkInteger);
    AddSetClause(query, QStringLiteral("Game"), QStringLiteral("sgg"), comma, false, GetGame(), vkText);
    AddSetClause(query, QStringLiteral("Comment"), QStringLiteral("sgc"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where Nr = :sgnr"));
    query->SetInteger(QStringLiteral("sgnr"), GetSessionNr());
}

void TSimpleGame::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where Nr = :sgnr"));
    query->SetInteger(QStringLiteral("sgnr"), GetSessionNr());
}

void TSimpleGame::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", Duration, Performance, Game"));
    AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(query, QStringLiteral("where SessionNr = Nr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    AddFilter(query, QStringLiteral("Duration"), foAtLeast, true, filter.TimeFrom, vkDecimal, QStringLiteral("sgt1"));
    AddFilter(query, QStringLiteral("Duration"), foAtMost, true, filter.TimeTo, vkDecimal, QStringLiteral("sgt2"));
    AddFilter(query, QStringLiteral("Game"), foContains, false, filter.Game, vkText, QStringLiteral("sgg"));
    RunListQuery(numbers);
}

void TSimpleGame::AddSeriesSelect(const TSettingsValues &settings)
{
    AddTimeSeriesSelect(settings.SummaryGame);
}

double TSimpleGame::SeriesValue(const QString &text, const TSettingsValues &settings) const
{
    return TimeSeriesValue(text, settings.SummaryGame);
}

QString TSimpleGame::FormatSeriesValue(double value, const TSettingsValues &settings) const
{
    return FormatTimeSeriesValue(value, settings.SummaryGame);
}

// ---------------------------------------------------------------------------
// TTimeDistanceActivity

void TTimeDistanceActivity::SetDistance(const QString &text)
{
    m_distance = isZero(text) ? QString() : text.trimmed();
}

QString TTimeDistanceActivity::GetSpeed() const
{
    return TimeDate::Speed(GetDuration(), m_distance);
}

QString TTimeDistanceActivity::GetKmTime() const
{
    return TimeDate::KmTime(GetDuration(), m_distance);
}

void TTimeDistanceActivity::SetCourseNr(const QString &text)
{
    if (!text.trimmed().isEmpty())
        Num::StrToInt(text);
    m_courseNr = text.trimmed();
}

void TTimeDistanceActivity::LoadListRow()
{
    TTimeActivity::LoadListRow();
    RowAs<TTimeDistanceActivity>()->SetDistance(Column(QStringLiteral("Distance"), vkDecimal));
}

// ---------------------------------------------------------------------------
// TSimpleTimeDistActivity

void TSimpleTimeDistActivity::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Nr, Duration, Distance, Comment)"));
    AddLine(query, QStringLiteral("values(:tdtnr,"));
    query->SetInteger(QStringLiteral("tdtnr"), GetSessionNr());
    AddValue(query, QStringLiteral("tdtt"), vkDecimal, comma, true, GetDuration());
    AddValue(query, QStringLiteral("tdtd"), vkDecimal, comma, true, GetDistance());
    AddValue(query, QStringLiteral("tdtc"), vkText, lastValue, false, GetComment());
}

void TSimpleTimeDistActivity::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("Nr"), QStringLiteral("tdtnr"));
    TDbQuery &query = Query();
    SetDuration(Column(QStringLiteral("Duration"), vkDecimal));
    SetDistance(Column(QStringLiteral("Distance"), vkDecimal));
    SetComment(Column(QStringLiteral("Comment"), vkText));
    query.Close();
}

void TSimpleTimeDistActivity::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("Duration"), QStringLiteral("tdtt"), comma, true, GetDuration(), vkDecimal);
    AddSetClause(query, QStringLiteral("Distance"), QStringLiteral("tdtd"), comma, true, GetDistance(), vkDecimal);
    AddSetClause(query, QStringLiteral("Comment"), QStringLiteral("tdtc"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where Nr = :tdtnr"));
    query->SetInteger(QStringLiteral("tdtnr"), GetSessionNr());
}

void TSimpleTimeDistActivity::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where Nr = :tdtnr"));
    query->SetInteger(QStringLiteral("tdtnr"), GetSessionNr());
}

void TSimpleTimeDistActivity::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", Distance, Duration"));
    if (filter.CourseId.trimmed().isEmpty()) {
        AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
        AddLine(query, QStringLiteral("where SessionNr = Nr"));
    } else {
        // The course table also has a SessionNr: the session's own column is
        // named through the subquery's table, so that the list columns stay
        // unambiguous.
        AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
        AddLine(query, QStringLiteral("where SessionNr = Nr and"));
        AddLine(query, QStringLiteral("      SessionNr in (select tc.SessionNr from TrainingSessionCourse tc"));
        AddLine(query, QStringLiteral("                    where tc.CourseNr = :cnr)"));
        query->SetInteger(QStringLiteral("cnr"), Num::StrToInt(filter.CourseId));
    }
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    AddFilter(query, QStringLiteral("Distance"), foAtLeast, true, filter.TDDistFrom, vkDecimal, QStringLiteral("tdtd1"));
    AddFilter(query, QStringLiteral("Distance"), foAtMost, true, filter.TDDistTo, vkDecimal, QStringLiteral("tdtd2"));
    AddFilter(query, QStringLiteral("Duration"), foAtLeast, true, filter.TDTimeFrom, vkDecimal, QStringLiteral("tdtt1"));
    AddFilter(query, QStringLiteral("Duration"), foAtMost, true, filter.TDTimeTo, vkDecimal, QStringLiteral("tdtt2"));
    RunListQuery(numbers);
}

void TSimpleTimeDistActivity::AddSeriesSelect(const TSettingsValues &settings)
{
    if (settings.SummaryTDT == TSettingsValues::TSummaryTDT::Distance) {
        AddValueRowsSelect(QStringLiteral("Distance"));
        SetSeriesDecimals(2);
    } else {
        AddTimeSeriesSelect(timeUnitOfTDT(settings.SummaryTDT));
    }
}

double TSimpleTimeDistActivity::SeriesValue(const QString &text, const TSettingsValues &settings) const
{
    if (settings.SummaryTDT == TSettingsValues::TSummaryTDT::Distance)
        return Num::StrToFloat(text);
    return TimeSeriesValue(text, timeUnitOfTDT(settings.SummaryTDT));
}

QString TSimpleTimeDistActivity::FormatSeriesValue(double value, const TSettingsValues &settings) const
{
    if (settings.SummaryTDT == TSettingsValues::TSummaryTDT::Distance)
        return Str::FormatFixed(2, value);
    return FormatTimeSeriesValue(value, timeUnitOfTDT(settings.SummaryTDT));
}

// ---------------------------------------------------------------------------
// TDistanceActivity

void TDistanceActivity::SetDistance(const QString &text)
{
    m_distance = isZero(text) ? QString() : NormalizeDecimal(text);
}

void TDistanceActivity::LoadListRow()
{
    TActivity::LoadListRow();
    RowAs<TDistanceActivity>()->SetDistance(Column(QStringLiteral("Distance"), vkDecimal));
}

void TDistanceActivity::AddDistanceTotals(const TPeriod &period, TSeries &series)
{
    AddColumnTotals(QStringLiteral("Distance"), period, series, false);
}

// ---------------------------------------------------------------------------
// TSimpleDistanceActivity

void TSimpleDistanceActivity::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Nr, Distance, Comment)"));
    AddLine(query, QStringLiteral("values(:sdanr,"));
    query->SetInteger(QStringLiteral("sdanr"), GetSessionNr());
    AddValue(query, QStringLiteral("sdad"), vkDecimal, comma, true, GetDistance());
    AddValue(query, QStringLiteral("sdac"), vkText, lastValue, false, GetComment());
}

void TSimpleDistanceActivity::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("Nr"), QStringLiteral("sdanr"));
    TDbQuery &query = Query();
    SetDistance(Column(QStringLiteral("Distance"), vkDecimal));
    SetComment(Column(QStringLiteral("Comment"), vkText));
    query.Close();
}

void TSimpleDistanceActivity::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("Distance"), QStringLiteral("sdad"), comma, true, GetDistance(), vkDecimal);
    AddSetClause(query, QStringLiteral("Comment"), QStringLiteral("sdac"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where Nr = :sdanr"));
    query->SetInteger(QStringLiteral("sdanr"), GetSessionNr());
}

void TSimpleDistanceActivity::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where Nr = :sdanr"));
    query->SetInteger(QStringLiteral("sdanr"), GetSessionNr());
}

void TSimpleDistanceActivity::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", Distance"));
    AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(query, QStringLiteral("where SessionNr = Nr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    AddFilter(query, QStringLiteral("Distance"), foAtLeast, true, filter.DistFrom, vkDecimal, QStringLiteral("tdtd1"));
    AddFilter(query, QStringLiteral("Distance"), foAtMost, true, filter.DistTo, vkDecimal, QStringLiteral("tdtd2"));
    RunListQuery(numbers);
}

void TSimpleDistanceActivity::AddSeriesSelect(const TSettingsValues &settings)
{
    TDbQuery &query = Query();
    if (settings.SummaryDist == TSettingsValues::TSummaryDist::Distance) {
        AddLine(&query, QStringLiteral("select SessionDate as TDate, Distance as TValue"));
        AddLine(&query, QStringLiteral("from TrainingSession, ") + GetTableName());
        AddLine(&query, QStringLiteral("where SessionNr = Nr and"));
        AddLine(&query, QStringLiteral("      Distance is not null"));
        SetSeriesDecimals(1);
    } else {
        AddCountSelect(GetActivityCode());
        SetSeriesDecimals(0);
    }
}

// ---------------------------------------------------------------------------
// TOther

void TOther::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Othernr, OtherActivity, Othercomment)"));
    AddLine(query, QStringLiteral("values(:onr,"));
    query->SetInteger(QStringLiteral("onr"), GetSessionNr());
    AddValue(query, QStringLiteral("od"), vkText, comma, false, m_otherActivity);
    AddValue(query, QStringLiteral("oc"), vkText, lastValue, false, GetComment());
}

void TOther::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("OtherNr"), QStringLiteral("onr"));
    TDbQuery &query = Query();
    SetOtherActivity(Column(QStringLiteral("OtherActivity"), vkText));
    SetComment(Column(QStringLiteral("OtherComment"), vkText));
    query.Close();
}

void TOther::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("OtherActivity"), QStringLiteral("oa"), comma, false, m_otherActivity, vkText);
    AddSetClause(query, QStringLiteral("OtherComment"), QStringLiteral("oc"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where OtherNr = :onr"));
    query->SetInteger(QStringLiteral("onr"), GetSessionNr());
}

void TOther::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where OtherNr = :onr"));
    query->SetInteger(QStringLiteral("onr"), GetSessionNr());
}

void TOther::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", OtherActivity"));
    AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(query, QStringLiteral("where SessionNr = OtherNr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    RunListQuery(numbers);
}

void TOther::LoadListRow()
{
    TActivity::LoadListRow();
    RowAs<TOther>()->SetOtherActivity(Column(QStringLiteral("OtherActivity"), vkText));
}

void TOther::AddSeriesSelect(const TSettingsValues &)
{
    AddCountSelect(QStringLiteral("OTH"));
    SetSeriesDecimals(0);
}
