#pragma once

#include "model/Classhie.h"

#include <array>

// The activity types by what they measure. Each family's intermediate class
// holds its values and their rules, its "simple" class stores them in a
// per-type table of fixed columns, and the leaf classes only set their code
// and table.

#define TERNVALL_ACTIVITY_CLASS(Name)                                                                                            \
public:                                                                                                                          \
    static constexpr const char *ClassName = #Name;                                                                              \
    const TActivityClass *Class() const override { return ActivityClassOf<Name>(); }

// --- no values beyond the session ---------------------------------------------

class TSimpleActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Simple; }
};

class TDownhill final : public TSimpleActivity
{
    TERNVALL_ACTIVITY_CLASS(TDownhill)
public:
    TDownhill();
};

class TWeight final : public TSimpleActivity
{
    TERNVALL_ACTIVITY_CLASS(TWeight)
public:
    TWeight();
};

// --- a duration -------------------------------------------------------------

class TTimeActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TTimeActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Time; }

    // A duration in minutes.seconds; 0 is no value. An invalid duration
    // raises ETimeError "Ogiltig tid för sekunder (%s)".
    void SetDuration(const QString &text);
    QString GetDuration() const { return m_duration; }
    // Kilocalories per hour, no decimals; empty when either value is
    // missing or not a number, or the duration is 0. The duration counts as
    // its plain number of minutes.
    static QString CaloriesPerHour(const QString &calories, const QString &duration);

    void AddDurationTotals(const TPeriod &period, TSeries &series) override;
    void AddDistanceTotals(const TPeriod &period, TSeries &series) override;

protected:
    void LoadListRow() override;
    // Yearly summaries by one of the time units.
    void AddTimeSeriesSelect(TSettingsValues::TSummaryTime unit);
    double TimeSeriesValue(const QString &text, TSettingsValues::TSummaryTime unit) const;
    QString FormatTimeSeriesValue(double value, TSettingsValues::TSummaryTime unit) const;
    // The rows of Duration or Distance as TValue for the summaries.
    void AddValueRowsSelect(const QString &column);

private:
    // No value until one is set: an entry saved without a duration stores
    // null, never a "-1" that no later read would accept.
    QString m_duration;
};

class TSimpleTimeActivity : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleTimeActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
};

#define TERNVALL_LEAF(Name, Parent)                                                                                              \
    class Name final : public Parent                                                                                             \
    {                                                                                                                            \
        TERNVALL_ACTIVITY_CLASS(Name)                                                                                            \
    public:                                                                                                                      \
        Name();                                                                                                                  \
    };

TERNVALL_LEAF(TTennis, TSimpleTimeActivity)
TERNVALL_LEAF(TSkating, TSimpleTimeActivity)
TERNVALL_LEAF(TSpinning, TSimpleTimeActivity)
TERNVALL_LEAF(TAerobics, TSimpleTimeActivity)
TERNVALL_LEAF(TDance, TSimpleTimeActivity)
TERNVALL_LEAF(TCardio, TSimpleTimeActivity)

// --- a duration and a match --------------------------------------------------

class TGame : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TGame)
public:
    TActivityFamily Family() const override { return TActivityFamily::Game; }

    // Performance -1..4 (else "Classhie 08"); the match as typed.
    void SetGame(const QString &performance, const QString &game);
    int GetPerformance() const { return m_performance.toInt(); }
    QString GetGame() const { return m_game; }

protected:
    void LoadListRow() override;

private:
    QString m_performance = QStringLiteral("-1");
    QString m_game = QStringLiteral("Default");
};

class TSimpleGame : public TGame
{
    TERNVALL_ACTIVITY_CLASS(TSimpleGame)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
};

TERNVALL_LEAF(TFloorball, TSimpleGame)
TERNVALL_LEAF(TSoccer, TSimpleGame)
TERNVALL_LEAF(TIceHockey, TSimpleGame)

// --- a duration and a distance -------------------------------------------------

// One session of a course's history.
struct TCourseRun
{
    QString Date;
    QString Duration;
};

// What the diary knows about the sessions on one course up to a date.
// Durations in the duration encoding; all empty when no session counts.
struct TCourseStats
{
    QString Best, BestDate;   // the shortest duration, the newest of equals
    QString Worst, WorstDate; // the longest duration, the newest of equals
    QString Average;          // whole seconds, rounded down
    QList<TCourseRun> Recent; // at most five, newest first
};

// The best session on one course, for the personal records.
struct TTDRecordItem
{
    QString CourseNr;
    QString Date;
    QString Activity; // display name
    QString Place;
    QString Distance;
    QString Duration;
    QString Speed;
    QString KmTime;
    int Sessions = 0; // sessions on the course with a duration
};

// The lap table of the entry windows: 100 texts, in blocks of MaxLaps.
// The caller fills the distances and times; LapTable fills the rest.
using TLapTable = std::array<QString, 100>;

class TTimeDistanceActivity : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TTimeDistanceActivity)
public:
    static constexpr int MaxLaps = 20;
    // Block offsets in a TLapTable.
    static constexpr int LapDistances = 0;
    static constexpr int LapTimes = 20;
    static constexpr int LapSplits = 40;
    static constexpr int LapSpeeds = 60;
    static constexpr int LapKmTimes = 80;

    TActivityFamily Family() const override { return TActivityFamily::TimeDistance; }

    // Kilometres as typed; 0 is no value.
    void SetDistance(const QString &text);
    QString GetDistance() const { return m_distance; }
    QString GetSpeed() const;
    QString GetKmTime() const;
    // A course number, or empty; a text that is no integer raises
    // EConvertError.
    void SetCourseNr(const QString &text);
    QString GetCourseNr() const { return m_courseNr; }

    // --- lap marks ----------------------------------------------------------
    // Replaces the lap marks: time from the start and distance from the start
    // at each mark, index-aligned; an entry may be empty. Set Distance and
    // Duration first, the marks are checked against them. Raises
    // EActivityLapsError "Classhie 13" (no times), "Classhie 15" (no
    // distances), "Classhie 10" (counts differ), "Classhie 26" (more than
    // MaxLaps); ETimeError for a time that is no duration; for the distances
    // EActivityLapsOrder "Classhie 16" (not rising) or EActivityLapsDist
    // "Classhie 09" (beyond Distance), for the times EActivityLapsDurOrder
    // "Classhie 16" or EActivityLapsDur "Classhie 09". A refused call leaves
    // the marks as they were.
    void SetLaps(const QStringList *times, const QStringList *distances);
    // Copies the marks; returns their count. "Classhie 11"/"Classhie 12"
    // without a times/distances list.
    int GetLaps(QStringList *times, QStringList *distances) const;
    int LapCount() const { return int(m_lapTimes.size()); }
    // Average speed and kilometre time from the start to mark i; empty
    // beyond the last mark.
    QString GetLapSpeed(int i) const;
    QString GetLapKmTime(int i) const;
    // Reads the marks of this session again from the diary.
    void LoadLaps();
    // Takes the marks as read from the diary, unchecked; for loading the
    // marks of many sessions in one query.
    void SetStoredLaps(const QStringList &times, const QStringList &distances);
    // Split times, lap speeds and lap kilometre times of the first `count`
    // marks (0..MaxLaps, else "Classhie 26"). A distance or time that is not
    // above the previous mark's is cleared in `values` and gives empty
    // outputs. Each split runs from the previous mark with both a distance
    // and a time, or from the start with `fromStart`. Raises EConvertError
    // for a distance that is no number, ETimeError for a bad time.
    static void LapTable(int count, TLapTable &values, bool fromStart);

    // --- courses --------------------------------------------------------------
    // Pushes an edited course out to every session bound to it: place,
    // distance (in this object's type table) and the lap distances by lap
    // number. For a course whose lap count is unchanged. Runs in the
    // caller's transaction when one is active, else in its own. Returns the
    // number of sessions bound to the course.
    int ApplyCourseChange(int courseNr, const QString &place, const QStringList &lapDistances, const QString &distance);
    // The same for a course whose lap count changed: the sessions get the
    // course's marks, keeping an old time exactly where a new mark has the
    // distance of an old one. A course without laps leaves the marks alone.
    int ApplyCourseLapsChange(int courseNr, const QString &place, const QStringList &lapDistances,
                              const QString &distance);
    // Whole days from the latest session on the course on or before `date`
    // to `date`; -1 when there is none. An empty course number counts as 0.
    int DaysSinceLastOnCourse(const QString &courseNr, const QString &date);
    // The statistics of the course's sessions of this type on or before
    // `date`.
    TCourseStats CourseStatistics(const QString &courseNr, const QString &date);
    // Appends one item per course with at least `minimum` timed sessions of
    // this type, in course-number order: the fastest session and the count.
    void CourseRecords(QList<TTDRecordItem> &list, int minimum);

protected:
    void LoadListRow() override;
    // Laps and course binding in the storage protocol.
    void AddInsertDetails() override;
    void PrepareSave() override;
    void LoadDetails() override;
    void AddUpdateDetails() override;
    void AddDeleteDetails() override;
    // The statement of CourseRecords: rows of sessiondate, sessionplace,
    // distance, duration and coursenr by course, fastest first. Empty here.
    virtual void AddCourseRecordSelect() {}

private:
    // Place, distance and the two lap steps shared by the course changes.
    void UpdateBoundPlaceAndDistance(int courseNr, const QString &place, const QString &distance);
    void MoveBoundLapDistances(int courseNr, const QStringList &lapDistances);
    void RenumberBoundLaps(int courseNr, const QStringList &lapDistances);
    int CountBoundSessions(int courseNr);

    QString m_distance; // no value until one is set
    QString m_courseNr = QStringLiteral("-1");
    QStringList m_lapTimes;
    QStringList m_lapDistances;
};

class TSimpleTimeDistActivity : public TTimeDistanceActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleTimeDistActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
    void AddCourseRecordSelect() override;
};

TERNVALL_LEAF(TRunning, TSimpleTimeDistActivity)
TERNVALL_LEAF(TBiking, TSimpleTimeDistActivity)
TERNVALL_LEAF(TSkiing, TSimpleTimeDistActivity)
TERNVALL_LEAF(TSwimming, TSimpleTimeDistActivity)
TERNVALL_LEAF(TInlines, TSimpleTimeDistActivity)

// --- a distance ---------------------------------------------------------------

class TDistanceActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TDistanceActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Distance; }

    // Kilometres with one decimal; 0 is no value.
    void SetDistance(const QString &text);
    QString GetDistance() const { return m_distance; }

    void AddDistanceTotals(const TPeriod &period, TSeries &series) override;

protected:
    void LoadListRow() override;

private:
    QString m_distance; // no value until one is set
};

class TSimpleDistanceActivity : public TDistanceActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleDistanceActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
};

TERNVALL_LEAF(TTrekking, TSimpleDistanceActivity)
TERNVALL_LEAF(TCanoeing, TSimpleDistanceActivity)

// --- a free text ----------------------------------------------------------------

class TOther final : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TOther)
public:
    TOther();
    TActivityFamily Family() const override { return TActivityFamily::Other; }

    void SetOtherActivity(const QString &text) { m_otherActivity = text; }
    QString GetOtherActivity() const { return m_otherActivity; }
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void LoadListRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;

private:
    QString m_otherActivity;
};

#undef TERNVALL_LEAF
