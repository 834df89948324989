#pragma once

// The course replay without widgets: competitors made of time-and-distance
// sessions bound to one course, their positions and speeds at a clock time,
// the two rankings, and the clock the window shows.
//
// Times are texts in the duration encoding (65.30 is 1 h 5 min 30 s, an
// interpolated split has three decimals: "12.300"); distances are km. Clock
// times and split times are times of day: 24 hours or more fail in the time
// conversion. Every error of the engine is an EReplay whose message ends in
// the error id ("Distans är tom. Replay 04").

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class TActivity;
class TCourses;
class TDbConnection;

struct TReplayTimes;

// One competitor: one session on the course.
class TReplayItem
{
public:
    static constexpr int MaxSplits = 20;

    qint32 SessionNr = 0;
    QString Date;
    // The split at the end of lap 1..20 as time from the start; empty where
    // the session has none.
    std::array<QString, MaxSplits> Splits;
    // True where the split was computed by InterpolateSplit.
    std::array<bool, MaxSplits> Interpolated{};
    QString TotalTime;
    QString CourseNr;
    // Kilometres behind the leader at the last position ranking (0 when
    // finished).
    double Behind = 0.0;
    // km/h and kilometre time (duration encoding) at the last speed ranking.
    double CurrentSpeed = 0.0;
    double CurrentPace = 0.0;
    // Set by IsFinished.
    bool Finished = false;
    // Kilometres at the last position ranking.
    double DistanceCovered = 0.0;
    QString PositionLine;
    QString SpeedLine;

    // The engine's checked and converted times of the texts above for one
    // course, made again whenever a text or the course changes.
    mutable std::shared_ptr<const TReplayTimes> Times;
};

// Where a competitor is at a clock time.
struct TReplayState
{
    double DistanceCovered = 0.0; // km
    double Speed = 0.0;           // km/h of the current lap, 0 after the finish
    double Pace = 0.0;            // kilometre time of that speed as a number (4.33)
};

// The engine: the course's lap distances and length, and the computations
// on items made for that course.
class TReplay
{
public:
    static constexpr int MaxLaps = TReplayItem::MaxSplits;

    TReplay() = default;
    TReplay(const TReplay &) = delete;
    TReplay &operator=(const TReplay &) = delete;

    // No laps, course distance "0.0".
    void Clear();
    // CheckDistance, then every lap must be at most the distance
    // ("Replay 07").
    void SetCourseDistance(const QString &distance);
    // At most 20 ("Replay 01"); each passes CheckDistance, rises ("Replay 03")
    // and is at most the course distance ("Replay 06"). Set the distance
    // first.
    void SetCourseLaps(const QStringList &laps);
    QString CourseDistance() const { return m_courseDistance; }
    const QStringList &CourseLaps() const { return m_laps; }

    // A competitor of a time-and-distance session with a total time above 0,
    // a distance and a course number (the activity's own, or `courseNr` when
    // given); none otherwise. Missing splits of the course laps are
    // interpolated and marked. The course must be set first.
    std::unique_ptr<TReplayItem> MakeItem(const TActivity *activity, const QString &courseNr = QString()) const;
    // Fills the empty split i (0-based) from the nearest known points before
    // and after it at constant speed. "Replay 13" for a split that exists,
    // "Replay 14" without total time or course distance. A stretch that
    // takes no time or has no speed puts the competitor at the mark at the
    // time of the point before.
    void InterpolateSplit(int i, TReplayItem &item) const;

    // The index of the first course lap whose split is later than t; the
    // number of laps when there is none.
    int LapsPassed(const QString &t, const TReplayItem &item) const;
    // km/h of the lap the competitor is in at t (0 for an empty speed).
    double CurrentLapSpeed(const QString &t, const TReplayItem &item) const;
    TReplayState StateAt(const QString &t, const TReplayItem &item) const;
    // The clock at or after the total time (times of day); stored in the
    // item.
    bool IsFinished(const QString &t, TReplayItem &item) const;
    // True on the tick (the clock moving `step` seconds) at which the
    // competitor passed a split or the finish: window = step - 1 s + 500 ms.
    // "Tick = 0. Replay 18" for a step below 1.
    bool IsAtSplit(const QString &t, const TReplayItem &item, int step) const;
    // Fills `result` with the items in order of position: finishers first
    // by total time, then by distance covered; sets distance, behind and
    // position line. "Replay 17" / "Replay 18" without a list.
    void RankByPosition(const QString &t, const QList<TReplayItem *> *items, QList<TReplayItem *> *result) const;
    // Fills `result` by current speed, highest first; sets speed, pace and
    // speed line. "Replay 19" / "Replay 20" without a list.
    void RankBySpeed(const QString &t, const QList<TReplayItem *> *items, QList<TReplayItem *> *result) const;

    static void CheckDistance(const QString &text);
    static void CheckTime(const QString &text);
    // For split 1 up to the number of course laps: CheckTime, rising
    // ("Replay 02"; an interpolated split may equal the one before, the
    // competitor reached both marks at once), not after the total time
    // ("Replay 12"), not 0 ("Replay 16").
    void CheckItemTimes(const TReplayItem &item) const;

private:
    // CheckItemTimes, then the item's times as numbers and the speed of
    // each stretch, kept in the item while its texts and the course stay
    // the same, so that a clock tick converts no text of the item again.
    const TReplayTimes &TimesOf(const TReplayItem &item) const;
    // Distance and time of split k (0-based) as a point of the race; k = -1
    // is the start, k = laps the finish.
    QString PointDistance(int k) const;
    QString PointTime(int k, const TReplayItem &item) const;

    QStringList m_laps;
    QString m_courseDistance = QStringLiteral("0.0");
    // Raised by every change of the course; the times kept in an item name
    // the course they were made for.
    quint64 m_course = 0;
    quint64 m_id = 0;
};

// What loading the replay of a list of activities gives.
struct TReplayLoad
{
    // The courses of the drop-down, in the order first met.
    QStringList CourseTexts;
    QList<int> CourseNrs;
    // Every competitor made, in the order of the activities.
    std::vector<std::unique_ptr<TReplayItem>> Items;
    // The dates of the sessions that could not be made into competitors
    // because their data does not fit the course.
    QStringList LeftOut;
};

// The course binding of the sessions, read in one query: session number to
// course number. Sessions without a course are not in the result.
QHash<int, int> ReadSessionCourses(TDbConnection &database, const QList<int> &sessionNrs);

// Loads the competitors of the activities: the courses of the sessions that
// have a course and a total time (texts from ListCourses), then one item per
// session of a course, each course read once. A session whose values the
// engine refuses is left out and named in LeftOut; the others are loaded.
// `progress` is told once per activity in each of the two passes.
void LoadReplay(TReplay &replay, const QList<const TActivity *> &activities, TDbConnection &database, TCourses &courses,
                TReplayLoad &result, const std::function<void()> &progress = {});

// The clock the replay window shows: a time of day (0 to below a day) and
// its caption. The window's labels show Caption().
class TTimeLabel
{
public:
    enum class TDisplayStyle { hhmmss, hmmss, hmss, mmss, mss };

    TTimeLabel() { Redraw(); }
    virtual ~TTimeLabel() = default;

    TDisplayStyle DisplayStyle() const { return m_style; }
    void SetDisplayStyle(TDisplayStyle style);
    QString TimeSeparator() const { return m_separator; }
    void SetTimeSeparator(const QString &separator);

    // The arguments are normalised first: seconds above 59 carry into
    // minutes, minutes above 59 into hours, 24 hours are taken off until at
    // most 23 remain.
    void SetTime(int hours, int minutes, int seconds);
    void AddTime(int hours, int minutes, int seconds);
    // A result below 0 becomes 0.
    void SubTime(int hours, int minutes, int seconds);
    void Clear() { SetTime(0, 0, 0); }
    int Hours() const { return m_seconds / 3600; }
    int Minutes() const { return m_seconds / 60 % 60; }
    int Seconds() const { return m_seconds % 60; }
    int TotalSeconds() const { return m_seconds; }
    bool IsAtMost(int hours, int minutes, int seconds) const;
    // The held time as a fraction of a day.
    double Time() const { return m_seconds / 86400.0; }
    void SetTimeValue(double dayFraction);

    QString Caption() const { return m_caption; }
    // Told the new caption after every change.
    std::function<void(const QString &)> OnChange;

private:
    static int Normalised(int hours, int minutes, int seconds);
    void Redraw();

    int m_seconds = 0;
    TDisplayStyle m_style = TDisplayStyle::hhmmss;
    QString m_separator = QStringLiteral(":");
    QString m_caption;
};
