#include "analysis/Replay.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"
#include "foundation/IntegerList.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieTypes.h"
#include "reference/Courses.h"

#include <QAtomicInteger>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace
{
using Num = TTulloUtilNumeric;
using Str = TTulloUtilString;
using TD = TTulloUtilTimeDate;

[[noreturn]] void fail(const QString &message)
{
    throw EReplay(message);
}

bool blank(const QString &text)
{
    return text.trimmed().isEmpty();
}

double number(const QString &text)
{
    return Num::StrToFloat(text);
}

// A duration as a time of day in whole seconds; a day has no 24th hour.
// The usual texts (digits, a point, at most three decimals) are read
// directly; any other goes through the value utilities and their errors.
qint64 daySeconds(const QString &text)
{
    if (blank(text))
        return 0;
    qint64 minutes = 0;
    int seconds = 0;
    bool fast = true;
    const QString trimmed = text.trimmed();
    const qsizetype dot = trimmed.indexOf(QLatin1Char('.'));
    const qsizetype end = dot < 0 ? trimmed.size() : dot;
    if (end == 0 || end > 9 || (dot >= 0 && trimmed.size() - dot - 1 > 3))
        fast = false;
    for (qsizetype i = 0; fast && i < end; ++i) {
        const QChar c = trimmed.at(i);
        fast = c.isDigit() && c.unicode() < 128;
        minutes = minutes * 10 + (c.unicode() - u'0');
    }
    for (qsizetype i = 1; fast && dot >= 0 && i <= 2; ++i) {
        const QChar c = dot + i < trimmed.size() ? trimmed.at(dot + i) : QChar(u'0');
        fast = c.isDigit() && c.unicode() < 128;
        seconds = seconds * 10 + (c.unicode() - u'0');
    }
    if (fast && dot >= 0 && dot + 3 < trimmed.size())
        fast = trimmed.at(dot + 3).isDigit() && trimmed.at(dot + 3).unicode() < 128;
    if (!fast || seconds > 59) {
        minutes = qint64(TD::Hours(text)) * 60 + TD::Minutes(text);
        seconds = TD::Seconds(text);
    }
    if (minutes / 60 > 23)
        throw EConvertError(QStringLiteral("Invalid time of day: %1").arg(text));
    return minutes * 60 + seconds;
}

// Whole seconds written as a split: minutes, a point, seconds, with three
// decimals (47 min 25 s is "47.250").
QString splitText(qint64 seconds)
{
    return Str::FormatFixed(3, double(seconds / 60) + double(seconds % 60) / 100.0);
}

// A speed text as a number; an empty text is 0.
double speedValue(const QString &text)
{
    return blank(text) ? 0.0 : number(text);
}

// GetSubTime and GetSubDistance clear the text they are handed when the
// difference is not above zero; they get copies, so that no split, total or
// lap distance of an item or of the course is ever emptied.
QString subTime(QString current, const QString &previous)
{
    return TD::GetSubTime(current, previous);
}

QString subDistance(QString current, const QString &previous)
{
    return TD::GetSubDistance(current, previous);
}
}

// What TimesOf keeps in an item.
struct TReplayTimes
{
    quint64 Replay = 0;
    quint64 Course = 0;
    int Laps = 0;
    std::array<QString, TReplayItem::MaxSplits> Splits;
    std::array<bool, TReplayItem::MaxSplits> Interpolated{};
    QString Total;
    std::array<double, TReplayItem::MaxSplits> SplitValue{};
    std::array<qint64, TReplayItem::MaxSplits> SplitSeconds{};
    double TotalValue = 0.0;
    qint64 TotalSeconds = 0;
    // By LapsPassed: the speed and kilometre time of the stretch the
    // competitor is in, and the distances and times of its two ends.
    std::array<double, TReplayItem::MaxSplits + 1> Speed{};
    std::array<double, TReplayItem::MaxSplits + 1> Pace{};
    std::array<double, TReplayItem::MaxSplits + 2> Distance{}; // point k at k + 1
    std::array<qint64, TReplayItem::MaxSplits + 2> Seconds{};
};

namespace
{
QAtomicInteger<quint64> replays;
}

// ---------------------------------------------------------------------------
// Course

void TReplay::Clear()
{
    ++m_course;
    m_laps.clear();
    m_courseDistance = QStringLiteral("0.0");
}

void TReplay::CheckDistance(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        fail(QStringLiteral("Distans är tom. Replay 04"));
    if (!Num::IsFloat(trimmed))
        fail(QStringLiteral("%1 är inte en giltig distans. Replay 05").arg(text));
    const double value = number(trimmed);
    if (value < 0.0)
        fail(QStringLiteral("Distans %1 är < 0. Replay 10").arg(text));
    if (value == 0.0)
        fail(QStringLiteral("Distans är = 0. Replay 15"));
}

void TReplay::CheckTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        fail(QStringLiteral("Tid är tom. Replay 08"));
    if (!Num::IsFloat(trimmed))
        fail(QStringLiteral("%1 är inte en giltig tid. Replay 09").arg(text));
    if (number(trimmed) < 0.0)
        fail(QStringLiteral("Tid %1 är < 0. Replay 11").arg(text));
}

void TReplay::SetCourseDistance(const QString &distance)
{
    CheckDistance(distance);
    const double value = number(distance);
    for (const QString &lap : m_laps)
        if (number(lap) > value)
            fail(QStringLiteral("Replay 07"));
    ++m_course;
    m_courseDistance = distance.trimmed();
}

void TReplay::SetCourseLaps(const QStringList &laps)
{
    if (laps.size() > MaxLaps)
        fail(QStringLiteral("Replay 01"));
    const double course = number(m_courseDistance);
    double before = 0.0;
    QStringList copy;
    for (int i = 0; i < laps.size(); ++i) {
        CheckDistance(laps.at(i));
        const double value = number(laps.at(i));
        if (i > 0 && value <= before)
            fail(QStringLiteral("Replay 03"));
        if (value > course)
            fail(QStringLiteral("Replay 06"));
        before = value;
        copy.append(laps.at(i).trimmed());
    }
    ++m_course;
    m_laps = copy;
}

const TReplayTimes &TReplay::TimesOf(const TReplayItem &item) const
{
    if (m_id == 0)
        const_cast<TReplay *>(this)->m_id = replays.fetchAndAddRelaxed(1) + 1;
    const int laps = int(m_laps.size());
    if (const TReplayTimes *kept = item.Times.get()) {
        bool same = kept->Replay == m_id && kept->Course == m_course && kept->Total == item.TotalTime
            && kept->Interpolated == item.Interpolated;
        for (int k = 0; same && k < laps; ++k)
            same = kept->Splits.at(std::size_t(k)) == item.Splits.at(std::size_t(k));
        if (same)
            return *kept;
    }
    CheckItemTimes(item);
    auto times = std::make_shared<TReplayTimes>();
    times->Replay = m_id;
    times->Course = m_course;
    times->Laps = laps;
    times->Splits = item.Splits;
    times->Interpolated = item.Interpolated;
    times->Total = item.TotalTime;
    times->TotalValue = number(item.TotalTime);
    times->TotalSeconds = daySeconds(item.TotalTime);
    for (int k = 0; k < laps; ++k) {
        times->SplitValue[std::size_t(k)] = number(item.Splits.at(std::size_t(k)));
        times->SplitSeconds[std::size_t(k)] = daySeconds(item.Splits.at(std::size_t(k)));
    }
    for (int k = -1; k <= laps; ++k) {
        times->Distance[std::size_t(k + 1)] = number(PointDistance(k));
        times->Seconds[std::size_t(k + 1)] = daySeconds(PointTime(k, item));
    }
    // The speed of each stretch as the lap speed of the time arithmetic
    // gives it (km/h with two decimals); the kilometre time from that.
    for (int a = 0; a <= laps; ++a) {
        double speed = 0.0;
        if (laps == 0)
            speed = speedValue(TD::Speed(item.TotalTime, m_courseDistance));
        else if (a == 0)
            speed = speedValue(TD::Speed(item.Splits.at(0), m_laps.at(0)));
        else
            speed = speedValue(TD::Speed(subTime(PointTime(a, item), PointTime(a - 1, item)),
                                         subDistance(PointDistance(a), PointDistance(a - 1))));
        times->Speed[std::size_t(a)] = speed;
        times->Pace[std::size_t(a)] =
            speed > 0.0 ? speedValue(TD::KmTime(QStringLiteral("60"), Str::FormatFixed(2, speed))) : 0.0;
    }
    item.Times = times;
    return *times;
}

void TReplay::CheckItemTimes(const TReplayItem &item) const
{
    const double total = number(item.TotalTime);
    double before = 0.0;
    for (int k = 0; k < m_laps.size(); ++k) {
        const QString &split = item.Splits.at(std::size_t(k));
        CheckTime(split);
        const double value = number(split);
        if (k > 0) {
            const bool atOnce = value == before && item.Interpolated.at(std::size_t(k));
            if (value <= before && !atOnce)
                fail(QStringLiteral("Replay 02"));
        }
        if (value > total)
            fail(QStringLiteral("Replay 12"));
        if (value == 0.0)
            fail(QStringLiteral("Tid är = 0. Replay 16"));
        before = value;
    }
}

// ---------------------------------------------------------------------------
// Items

std::unique_ptr<TReplayItem> TReplay::MakeItem(const TActivity *activity, const QString &courseNr) const
{
    const auto *session = dynamic_cast<const TTimeDistanceActivity *>(activity);
    if (!session)
        return nullptr;
    const QString total = session->GetDuration().trimmed();
    const QString course = (courseNr.isEmpty() ? session->GetCourseNr() : courseNr).trimmed();
    if (total.isEmpty() || blank(session->GetDistance()) || course.isEmpty())
        return nullptr;
    if (!Num::IsInteger(course) || Num::StrToInt(course) < 0)
        return nullptr;
    if (!Num::IsFloat(total) || number(total) <= 0.0)
        return nullptr;

    auto item = std::make_unique<TReplayItem>();
    item->SessionNr = session->GetSessionNr();
    item->Date = session->GetDate();
    item->TotalTime = total;
    item->CourseNr = course;
    QStringList times, distances;
    session->GetLaps(&times, &distances);
    for (int i = 0; i < TReplayItem::MaxSplits && i < times.size(); ++i)
        item->Splits[std::size_t(i)] = times.at(i).trimmed();
    for (int i = 0; i < m_laps.size(); ++i) {
        if (!item->Splits.at(std::size_t(i)).isEmpty())
            continue;
        InterpolateSplit(i, *item);
        item->Interpolated[std::size_t(i)] = true;
    }
    return item;
}

QString TReplay::PointDistance(int k) const
{
    if (k < 0)
        return QStringLiteral("0.00");
    if (k >= m_laps.size())
        return m_courseDistance;
    return m_laps.at(k);
}

QString TReplay::PointTime(int k, const TReplayItem &item) const
{
    if (k < 0)
        return QStringLiteral("0.00");
    if (k >= m_laps.size())
        return item.TotalTime;
    return item.Splits.at(std::size_t(k));
}

void TReplay::InterpolateSplit(int i, TReplayItem &item) const
{
    if (i < 0 || i >= MaxLaps)
        fail(QStringLiteral("Replay 13"));
    QString &split = item.Splits[std::size_t(i)];
    if (!blank(split))
        fail(QStringLiteral("Tid %1 är inte tom. Replay 13").arg(split));
    if (blank(item.TotalTime) || blank(m_courseDistance))
        fail(QStringLiteral("Saknar distans eller tid. Replay 14"));

    int previous = i - 1;
    while (previous >= 0 && blank(item.Splits.at(std::size_t(previous))))
        --previous;
    int next = i + 1;
    while (next < m_laps.size() && blank(item.Splits.at(std::size_t(next))))
        ++next;
    const QString previousTime = PointTime(previous, item);
    const QString previousDistance = PointDistance(previous);
    const QString nextTime = PointTime(next, item);
    const QString nextDistance = PointDistance(next);

    const double speed =
        speedValue(TD::Speed(subTime(nextTime, previousTime), subDistance(nextDistance, previousDistance)));
    const qint64 start = daySeconds(previousTime);
    qint64 added = 0;
    // A stretch that takes no time, or covers no distance, has no speed: the
    // competitor is at the mark when at the point before.
    if (speed > 0.0) {
        const double hours = (number(PointDistance(i)) - number(previousDistance)) / speed;
        qint64 h = qint64(std::trunc(hours));
        qint64 m = qint64(std::trunc((hours - double(h)) * 60.0));
        qint64 s = qint64(std::nearbyint((hours - double(h) - double(m) / 60.0) * 3600.0));
        if (s == 60) {
            s = 0;
            ++m;
        }
        if (m == 60) {
            m = 0;
            ++h;
        }
        added = h * 3600 + m * 60 + s;
    }
    const qint64 at = start + added;
    if (at >= 24 * 3600)
        throw EConvertError(QStringLiteral("Invalid time of day for a split of %1").arg(item.Date));
    if (at > daySeconds(item.TotalTime))
        split = item.TotalTime + QLatin1Char('0');
    else
        split = splitText(at);
}

// ---------------------------------------------------------------------------
// Positions

int TReplay::LapsPassed(const QString &t, const TReplayItem &item) const
{
    const TReplayTimes &times = TimesOf(item);
    const double clock = number(t);
    for (int k = 0; k < times.Laps; ++k)
        if (times.SplitValue.at(std::size_t(k)) > clock)
            return k;
    return times.Laps;
}

double TReplay::CurrentLapSpeed(const QString &t, const TReplayItem &item) const
{
    return TimesOf(item).Speed.at(std::size_t(LapsPassed(t, item)));
}

TReplayState TReplay::StateAt(const QString &t, const TReplayItem &item) const
{
    CheckTime(t);
    const TReplayTimes &times = TimesOf(item);
    TReplayState state;
    const double clock = number(t);
    if (clock > times.TotalValue - 0.0005) {
        state.DistanceCovered = times.Distance.at(std::size_t(times.Laps + 1));
        return state;
    }
    int a = 0;
    while (a < times.Laps && times.SplitValue.at(std::size_t(a)) <= clock)
        ++a;
    const double base = times.Distance.at(std::size_t(a));
    const qint64 from = times.Seconds.at(std::size_t(a));
    const qint64 to = times.Seconds.at(std::size_t(a + 1));
    const qint64 elapsed = daySeconds(t) - from;
    state.Speed = times.Speed.at(std::size_t(a));
    state.Pace = times.Pace.at(std::size_t(a));
    // Constant speed within the lap, taken from the lap's own distance and
    // time rather than from the rounded speed, so that the competitor is
    // exactly at each mark at its split time.
    const double length = times.Distance.at(std::size_t(a + 1)) - base;
    if (to > from && elapsed > 0)
        state.DistanceCovered = base + length * double(elapsed) / double(to - from);
    else
        state.DistanceCovered = base;
    return state;
}

bool TReplay::IsFinished(const QString &t, TReplayItem &item) const
{
    item.Finished = daySeconds(t) >= daySeconds(item.TotalTime);
    return item.Finished;
}

bool TReplay::IsAtSplit(const QString &t, const TReplayItem &item, int step) const
{
    CheckTime(t);
    const TReplayTimes &times = TimesOf(item);
    if (step < 1)
        fail(QStringLiteral("Tick = 0. Replay 18"));
    const qint64 window = qint64(step - 1) * 1000 + 500;
    const qint64 clock = daySeconds(t) * 1000;
    for (int k = 0; k < times.Laps; ++k) {
        const qint64 at = times.SplitSeconds.at(std::size_t(k)) * 1000;
        if (at <= clock && clock - at <= window)
            return true;
    }
    const qint64 total = times.TotalSeconds * 1000;
    return clock >= total && clock - total < window;
}

void TReplay::RankByPosition(const QString &t, const QList<TReplayItem *> *items, QList<TReplayItem *> *result) const
{
    if (!items)
        fail(QStringLiteral("Replay 17"));
    if (!result)
        fail(QStringLiteral("Replay 18"));
    result->clear();
    double leader = -1.0;
    for (TReplayItem *item : *items) {
        item->DistanceCovered = StateAt(t, *item).DistanceCovered;
        leader = std::max(leader, item->DistanceCovered);
    }
    for (TReplayItem *item : *items) {
        if (IsFinished(t, *item)) {
            item->Behind = 0.0;
            item->PositionLine = item->Date + QStringLiteral(": (") + item->TotalTime + QLatin1Char(')');
        } else {
            item->Behind = leader - item->DistanceCovered;
            item->PositionLine = item->Date + QStringLiteral(": ") + Str::FormatFixed(3, item->DistanceCovered)
                + QStringLiteral(", ") + Str::FormatFixed(0, item->Behind * 1000.0);
        }
        result->append(item);
    }
    std::stable_sort(result->begin(), result->end(), [](const TReplayItem *a, const TReplayItem *b) {
        if (a->Finished != b->Finished)
            return a->Finished;
        if (a->Finished)
            return TD::TotalSeconds(a->TotalTime) < TD::TotalSeconds(b->TotalTime);
        return a->DistanceCovered > b->DistanceCovered;
    });
}

void TReplay::RankBySpeed(const QString &t, const QList<TReplayItem *> *items, QList<TReplayItem *> *result) const
{
    if (!items)
        fail(QStringLiteral("Replay 19"));
    if (!result)
        fail(QStringLiteral("Replay 20"));
    result->clear();
    for (TReplayItem *item : *items) {
        const TReplayState state = StateAt(t, *item);
        item->CurrentSpeed = state.Speed;
        item->CurrentPace = state.Pace;
        item->SpeedLine = item->Date + QStringLiteral(": ") + Str::FormatFixed(2, state.Speed) + QStringLiteral(", ")
            + Str::FormatFixed(2, state.Pace);
        result->append(item);
    }
    std::stable_sort(result->begin(), result->end(),
                     [](const TReplayItem *a, const TReplayItem *b) { return a->CurrentSpeed > b->CurrentSpeed; });
}

// ---------------------------------------------------------------------------
// Loading

QHash<int, int> ReadSessionCourses(TDbConnection &database, const QList<int> &sessionNrs)
{
    QHash<int, int> result;
    if (sessionNrs.isEmpty())
        return result;
    const auto [low, high] = std::minmax_element(sessionNrs.begin(), sessionNrs.end());
    const QSet<int> wanted(sessionNrs.begin(), sessionNrs.end());
    // One query for the whole list; the range keeps a narrow list from
    // reading every binding of the diary.
    TDbQuery query(database);
    DbMisc::AddLine(&query, QStringLiteral("select SessionNr, CourseNr"));
    DbMisc::AddLine(&query, QStringLiteral("from TrainingSessionCourse"));
    DbMisc::AddLine(&query, QStringLiteral("where SessionNr between :lo and :hi"));
    query.SetInteger(QStringLiteral("lo"), *low);
    query.SetInteger(QStringLiteral("hi"), *high);
    TDbQueryCloser closer(query);
    query.Open();
    for (; !query.Eof(); query.Next()) {
        const int nr = int(query.FieldAsInteger(0));
        if (wanted.contains(nr))
            result.insert(nr, int(query.FieldAsInteger(1)));
    }
    return result;
}

void LoadReplay(TReplay &replay, const QList<const TActivity *> &activities, TDbConnection &database, TCourses &courses,
                TReplayLoad &result, const std::function<void()> &progress)
{
    result = TReplayLoad();
    const auto tell = [&progress] {
        if (progress)
            progress();
    };

    // The course of each session: a listed session has not read its binding
    // yet, so all of them are read at once; the others know their own.
    QList<const TTimeDistanceActivity *> sessions;
    QList<int> listed;
    for (const TActivity *activity : activities)
        if (const auto *session = dynamic_cast<const TTimeDistanceActivity *>(activity)) {
            sessions.append(session);
            if (session->GetState() == TActivity::TState::Listed)
                listed.append(session->GetSessionNr());
        }
    const QHash<int, int> bound = ReadSessionCourses(database, listed);
    const auto courseOf = [&bound](const TTimeDistanceActivity *session) {
        if (session->GetState() == TActivity::TState::Listed)
            return bound.value(session->GetSessionNr(), -1);
        const QString nr = session->GetCourseNr().trimmed();
        return nr.isEmpty() || !Num::IsInteger(nr) ? -1 : Num::StrToInt(nr);
    };

    // The drop-down: the courses of the sessions with a course and a time.
    QStringList texts;
    TIntegerList numbers;
    courses.ListCourses(nullptr, QString(), QString(), QString(), &texts, &numbers);
    for (const TActivity *activity : activities) {
        tell();
        const auto *session = dynamic_cast<const TTimeDistanceActivity *>(activity);
        if (!session)
            continue;
        const int nr = courseOf(session);
        if (nr < 0 || blank(session->GetDuration()) || result.CourseNrs.contains(nr))
            continue;
        const int index = numbers.IndexOf(nr);
        if (index < 0)
            continue;
        result.CourseTexts.append(texts.at(index));
        result.CourseNrs.append(nr);
    }

    // The competitors; each course is read once.
    struct TCourseData
    {
        QString Distance;
        QStringList Laps;
        QString Error;
    };
    QHash<int, TCourseData> read;
    for (const TActivity *activity : activities) {
        tell();
        const auto *session = dynamic_cast<const TTimeDistanceActivity *>(activity);
        if (!session)
            continue;
        const int nr = courseOf(session);
        if (nr < 0)
            continue;
        try {
            auto found = read.find(nr);
            if (found == read.end()) {
                TCourseData data;
                data.Distance = courses.ReadCourse(nr).Distance;
                courses.GetReadCourseLaps(nr, &data.Laps);
                found = read.insert(nr, data);
            }
            replay.Clear();
            replay.SetCourseDistance(found->Distance);
            replay.SetCourseLaps(found->Laps);
            std::unique_ptr<TReplayItem> item = replay.MakeItem(session, QString::number(nr));
            if (!item)
                continue;
            // A competitor the engine cannot race is better left out now
            // than failing at every tick.
            replay.CheckItemTimes(*item);
            result.Items.push_back(std::move(item));
        } catch (const EException &) {
            result.LeftOut.append(session->GetDate());
        }
    }
}

// ---------------------------------------------------------------------------
// TTimeLabel

int TTimeLabel::Normalised(int hours, int minutes, int seconds)
{
    minutes += seconds / 60;
    seconds %= 60;
    hours += minutes / 60;
    minutes %= 60;
    while (hours > 23)
        hours -= 24;
    return hours * 3600 + minutes * 60 + seconds;
}

void TTimeLabel::SetDisplayStyle(TDisplayStyle style)
{
    m_style = style;
    Redraw();
}

void TTimeLabel::SetTimeSeparator(const QString &separator)
{
    m_separator = separator;
    Redraw();
}

void TTimeLabel::SetTime(int hours, int minutes, int seconds)
{
    m_seconds = Normalised(hours, minutes, seconds);
    Redraw();
}

void TTimeLabel::AddTime(int hours, int minutes, int seconds)
{
    m_seconds = (m_seconds + Normalised(hours, minutes, seconds)) % 86400;
    Redraw();
}

void TTimeLabel::SubTime(int hours, int minutes, int seconds)
{
    m_seconds = std::max(0, m_seconds - Normalised(hours, minutes, seconds));
    Redraw();
}

bool TTimeLabel::IsAtMost(int hours, int minutes, int seconds) const
{
    return m_seconds <= Normalised(hours, minutes, seconds);
}

void TTimeLabel::SetTimeValue(double dayFraction)
{
    const double day = dayFraction - std::floor(dayFraction);
    m_seconds = int(std::llround(day * 86400.0)) % 86400;
    Redraw();
}

void TTimeLabel::Redraw()
{
    const auto two = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); };
    const int h = Hours(), m = Minutes(), s = Seconds();
    const QString &sep = m_separator;
    switch (m_style) {
    case TDisplayStyle::hhmmss:
        m_caption = two(h) + sep + two(m) + sep + two(s);
        break;
    case TDisplayStyle::hmmss:
        m_caption = QString::number(h) + sep + two(m) + sep + two(s);
        break;
    case TDisplayStyle::hmss:
        m_caption = QString::number(h) + sep + QString::number(m) + sep + two(s);
        break;
    case TDisplayStyle::mmss:
        m_caption = two(h * 60 + m) + sep + two(s);
        break;
    case TDisplayStyle::mss:
        m_caption = QString::number(h * 60 + m) + sep + two(s);
        break;
    }
    if (OnChange)
        OnChange(m_caption);
}
