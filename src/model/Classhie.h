#pragma once

#include "app/SettingsValues.h"
#include "foundation/DbClient.h"
#include "model/SearchParams.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TActivity;
class TActivityNames;
class TPulses;

// One year of one activity type in the yearly summaries.
struct TSummary
{
    QString Year;
    QString Value;
};

// A point of a series over time: its date ("yyyy-MM-dd") and value. Series
// of period totals have the bucket starts as dates, ascending.
struct TSeriesPoint
{
    QString Date;
    double Value = 0.0;
};
using TSeries = QList<TSeriesPoint>;

// A period of days, both ends included ("yyyy-MM-dd").
struct TPeriod
{
    QString From;
    QString To;
};

// What an activity type measures; every class belongs to one family.
enum class TActivityFamily { Simple, Time, Game, TimeDistance, Distance, Other, Golf, Workout, CardioMeasure };

// How a class is made by the factory: its name and a constructor.
struct TActivityClass
{
    const char *Name;
    std::unique_ptr<TActivity> (*Create)();
};

// The class record of an activity class.
template <class T> const TActivityClass *ActivityClassOf()
{
    static const TActivityClass record{T::ClassName, [] { return std::unique_ptr<TActivity>(std::make_unique<T>()); }};
    return &record;
}

// One diary entry: the TrainingSession row every entry has, its pulse
// intervals, and through the virtual storage operations of the subclasses
// the row of its own type's table and its detail rows.
//
// Values are held as texts in the program's value formats; an empty text
// means no value. Setters validate and normalise; bad texts raise the
// conversion error (EConvertError) or an EActivityError with its id.
//
// Storage writes a whole entry in one transaction in a fixed order of
// statements, each that must touch one row checked to do so; any failure
// rolls everything back and leaves the state as it was.
class TActivity
{
public:
    enum class TState { New, Listed, Stored };
    // Called for each row a list query finds, with the object made for the
    // row; the handler may take it over (move it out).
    using TRowFoundEvent = std::function<void(std::unique_ptr<TActivity> &rowObject)>;

    static constexpr const char *ClassName = "TActivity";

    TActivity();
    virtual ~TActivity();

    TActivity(const TActivity &) = delete;
    TActivity &operator=(const TActivity &) = delete;

    virtual const TActivityClass *Class() const { return ActivityClassOf<TActivity>(); }
    virtual TActivityFamily Family() const { return TActivityFamily::Simple; }

    // --- setters -----------------------------------------------------------
    // The date must be a date; the weight goes through NormalizeDecimal.
    void SetSessionData(const QString &date, const QString &place, const QString &sessionComment, const QString &weight);
    void SetPulse(const QString &rest, const QString &avg, const QString &max);
    // An integer when not empty.
    void SetCalorie(const QString &text);
    // Weather -1..13 ("Classhie 17"), wind direction -1..8 ("Classhie 18");
    // an empty text counts as -1, no value. The wind goes through
    // NormalizeDecimal.
    void SetWeather(const QString &weather, const QString &windDir, const QString &wind);
    // A number when not empty; then NormalizeDecimal.
    void SetTemperature(const QString &text);
    // Quality -1..2 ("Classhie 19"; empty counts as -1); duration unchanged.
    void SetSleep(const QString &quality, const QString &duration);
    // The first 250 characters.
    void SetComment(const QString &text);
    // Replaces the pulse intervals by the pairs whose id is in the pulse
    // list. Missing lists "Classhie 21"/"22", no pulse list "Classhie 23",
    // counts differ "Classhie 24", a value outside 0..100 "Classhie 25".
    void SetPulseIntervals(const QList<qint32> *ids, const QList<qint32> *values);
    // Takes the pulse intervals as read from the diary, unchecked; for
    // loading the intervals of many sessions in one query.
    void SetStoredPulseIntervals(const QList<qint32> &ids, const QList<qint32> &values);
    void SetSessionNr(int nr) { m_sessionNr = nr; }
    int GetSessionNr() const { return m_sessionNr; }
    void SetState(TState state) { m_state = state; }
    TState GetState() const { return m_state; }
    void SetActivityNames(TActivityNames *names) { m_activityNames = names; }
    TActivityNames *GetActivityNames() const { return m_activityNames; }
    void SetDatabase(TDbConnection *database);
    TDbConnection *GetDatabase() const { return m_database; }
    void SetPulseList(TPulses *pulses) { m_pulses = pulses; }
    TPulses *GetPulseList() const { return m_pulses; }
    void SetRowFoundEvent(TRowFoundEvent event) { m_rowFoundEvent = std::move(event); }

    // --- getters -----------------------------------------------------------
    QString GetDate() const { return m_date; }
    QString GetActivityCode() const { return m_activityCode; }
    // The display name of the code; empty without a names list.
    QString GetActivityName() const;
    QString GetTableName() const { return m_tableName; }
    QString GetPlace() const { return m_place; }
    QString GetWeight() const { return m_weight; }
    QString GetRestPulse() const { return m_restPulse; }
    QString GetAvgPulse() const { return m_avgPulse; }
    QString GetMaxPulse() const { return m_maxPulse; }
    QString GetCalorie() const { return m_calorie; }
    int GetWeather() const { return m_weather.toInt(); }
    QString GetTemperature() const { return m_temperature; }
    int GetWindDir() const { return m_windDir.toInt(); }
    QString GetWind() const { return m_wind; }
    int GetSleepQuality() const { return m_sleepQuality.toInt(); }
    QString GetSleepDuration() const { return m_sleepDuration; }
    QString GetSessionComment() const { return m_sessionComment; }
    QString GetComment() const { return m_comment; }
    // Copies both lists; returns their count.
    int GetPulseIntervals(QList<qint32> &ids, QList<qint32> &values) const;

    // --- storage -----------------------------------------------------------
    void Insert();
    // Loads the entry with the current session number; raises
    // "Classhie 01. RowsAffected: 0" when there is none.
    void Load();
    void Update();
    void Delete();

    // --- search, lists and totals -------------------------------------------
    // The family's search: one list query with the conditions of the filter
    // that apply to the type; each row found is reported through the
    // RowFoundEvent and its number appended to `numbers`.
    virtual void Search(const TSearchParams &filter, QList<int> &numbers);
    // The distinct places stored for this type, in the order found.
    void GetPlaces(QStringList *list);
    // Totals per year of the sessions between (fromMonth, fromDay) and
    // (toMonth, toDay) of every year, a part that may wrap over New Year.
    void GetYearSummaries(int fromMonth, int fromDay, const TSettingsValues &settings, QList<TSummary> *list, QString &total,
                          int toMonth, int toDay);
    // The weights of all sessions of the period (any type), by date.
    void GetWeightSeries(const TPeriod &period, TSeries &series);
    // Counts this type's sessions of the period into the series' buckets.
    void AddCountTotals(const TPeriod &period, TSeries &series);
    // Durations (in seconds) and distances (km) of the period into buckets;
    // the time and distance families fill them in.
    virtual void AddDurationTotals(const TPeriod &period, TSeries &series);
    virtual void AddDistanceTotals(const TPeriod &period, TSeries &series);

    // --- helpers -----------------------------------------------------------
    // Blanks removed, "." alone is no value, then one decimal: "7 2.26" is
    // "72.3". A text that is no number raises EConvertError.
    static QString NormalizeDecimal(const QString &text);
    // Below 0, or above `max` unless `max` is -1: EConvertError with the text.
    static void CheckNonNegativeInt(const QString &text, int max);
    static void CheckDecimalRange(const QString &text, double max);

protected:
    // Storage slots, called with a cleared statement buffer; what a slot
    // leaves in the buffer is executed (and checked to touch one row where
    // the protocol says so).
    virtual void AddInsertTypeRow() {}
    virtual void AddInsertDetails() {}
    virtual void PrepareSave() {}
    virtual void AddInsertProgram() {}
    virtual void LoadTypeRow() {}
    virtual void LoadDetails() {}
    virtual void AddUpdateTypeRow() {}
    virtual void AddUpdateDetails() {}
    virtual void AddUpdateProgram() {}
    virtual void AddDeleteTypeRow() {}
    virtual void AddDeleteDetails() {}
    virtual void AddDeleteProgram() {}
    // Fills RowObject from the current row of a list query: leaf classes
    // create RowObject as an object of their own class first, then the
    // families add their own columns after the base part.
    virtual void LoadListRow();
    // The statement of the yearly summary: rows of TDate and TValue.
    virtual void AddSeriesSelect(const TSettingsValues &settings);
    virtual double SeriesValue(const QString &text, const TSettingsValues &settings) const;
    virtual QString FormatSeriesValue(double value, const TSettingsValues &settings) const;

    // The list query's pieces.
    void AddListColumns();
    void AddSessionFilters(const QString &dateFrom, const QString &dateTo, const QString &weightTo, const QString &weightFrom,
                           const QString &comment, const QString &place);
    void RunListQuery(QList<int> &numbers);
    // The "Count" statement of the summaries for `code`.
    void AddCountSelect(const QString &code);
    // Adds the rows of the open query to the buckets: each row's date in
    // column 0 and the value `valueOf` gives.
    static void AddToBuckets(TDbQuery &query, TSeries &series, const std::function<double(TDbQuery &)> &valueOf);
    void AddPeriodFilters(const TPeriod &period);

    // Opens "select * from <table> where <keyColumn> = :<param>" for this
    // entry; raises "Classhie 01. RowsAffected: 0" when the row is missing.
    // The caller reads the row and closes the query.
    void OpenTypeRow(const QString &keyColumn, const QString &param);
    // Period totals of one column of the type's table into the series'
    // buckets: durations in seconds, anything else as its number.
    void AddColumnTotals(const QString &column, const TPeriod &period, TSeries &series, bool durations);

    // Executes the buffer when it holds a statement; with `checkOneRow`,
    // raises "Classhie 01" unless exactly one row was touched.
    void ExecuteBuffer(bool checkOneRow);
    void CheckOneRow() const;
    // Reads a column of the current row as text in the stored conventions.
    QString Column(const QString &column, int kind) const;

    void SetCode(const QString &code, const QString &tableName);
    void SetRowObject(std::unique_ptr<TActivity> object) { m_rowObject = std::move(object); }
    TActivity *RowObject() const { return m_rowObject.get(); }
    template <class T> T *RowAs() const { return static_cast<T *>(m_rowObject.get()); }

    TDbQuery &Query();
    void SetSeriesDecimals(int decimals) { m_seriesDecimals = decimals; }
    int SeriesDecimals() const { return m_seriesDecimals; }

private:
    void InsertPulseIntervals();
    void DeletePulseIntervals();
    void LoadPulseIntervals();

    TRowFoundEvent m_rowFoundEvent;
    QString m_tableName = QStringLiteral("Default");
    TActivityNames *m_activityNames = nullptr;
    int m_sessionNr = -1;
    QString m_date = QStringLiteral("1900-01-01");
    QString m_activityCode = QStringLiteral("Default");
    QString m_place;
    QString m_weight;
    QString m_restPulse, m_avgPulse, m_maxPulse;
    QList<qint32> m_pulseIds, m_pulseValues;
    QString m_calorie;
    QString m_weather = QStringLiteral("-1");
    QString m_temperature;
    QString m_windDir = QStringLiteral("-1");
    QString m_wind;
    QString m_sleepQuality = QStringLiteral("-1");
    QString m_sleepDuration;
    QString m_sessionComment = QStringLiteral("Default");
    QString m_comment = QStringLiteral("Default");
    TState m_state = TState::New;
    std::unique_ptr<TDbQuery> m_query;
    TDbConnection *m_database = nullptr;
    TPulses *m_pulses = nullptr;
    std::unique_ptr<TActivity> m_rowObject;
    int m_seriesDecimals = 0;
};
