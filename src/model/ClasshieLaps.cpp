// Lap marks, split times and the binding of time-and-distance sessions to
// course descriptions.

#include "model/ClasshieTypes.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

#include <QDate>

#include <optional>

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;
using TimeDate = TTulloUtilTimeDate;

const QString comma = QStringLiteral(",");

bool blank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// Course numbers start at 1; a new object's "-1" binds it to nothing.
bool boundTo(const QString &courseNr)
{
    return !blank(courseNr) && Num::StrToInt(courseNr) > 0;
}

// Non-empty values must rise; the total, when given, must not be below the
// last of them. The exception classes differ between the distance and the
// time column so that the entry window can tell which one is wrong.
template <class EOrder, class ETotal> void checkOrder(const QStringList &values, const QString &total)
{
    bool any = false;
    double previous = 0.0;
    for (const QString &text : values) {
        if (blank(text))
            continue;
        const double value = Num::StrToFloat(text);
        if (any && !(value > previous))
            throw EOrder(QStringLiteral("Classhie 16"));
        previous = value;
        any = true;
    }
    if (any && !blank(total) && Num::StrToFloat(total) < previous)
        throw ETotal(QStringLiteral("Classhie 09"));
}

void checkLapCount(int count)
{
    if (count < 0 || count > TTimeDistanceActivity::MaxLaps)
        throw EActivityLapsError(QStringLiteral("Classhie 26. At most %1 lap marks").arg(TTimeDistanceActivity::MaxLaps));
}

// The subquery of the sessions bound to the course, as the last lines of a
// condition "... in".
void addBoundSessions(TDbQuery *query, int courseNr)
{
    AddLine(query, QStringLiteral("SessionNr in (select SessionNr"));
    AddLine(query, QStringLiteral("       from TrainingSessionCourse"));
    AddLine(query, QStringLiteral("       where CourseNr = :cnr)"));
    query->SetInteger(QStringLiteral("cnr"), courseNr);
}

// A lap distance written into SQL text: from a number, never from the text
// as typed.
QString distanceLiteral(const QString &text)
{
    if (blank(text))
        return QStringLiteral("null");
    return Str::FormatFixed(2, Num::StrToFloat(text));
}

// Starts a transaction when none is active; commits or rolls back only that.
class TOwnTransaction
{
public:
    explicit TOwnTransaction(TDbConnection &connection)
    {
        if (!connection.InTransaction())
            m_guard.emplace(connection);
    }
    void Commit()
    {
        if (m_guard)
            m_guard->Commit();
    }

private:
    std::optional<TDbTransactionGuard> m_guard;
};
}

// ---------------------------------------------------------------------------
// Lap marks

void TTimeDistanceActivity::SetLaps(const QStringList *times, const QStringList *distances)
{
    if (!times)
        throw EActivityLapsError(QStringLiteral("Classhie 13"));
    if (!distances)
        throw EActivityLapsError(QStringLiteral("Classhie 15"));
    if (times->size() != distances->size())
        throw EActivityLapsError(QStringLiteral("Classhie 10"));
    checkLapCount(int(times->size()));
    for (const QString &time : *times) {
        if (!blank(time))
            TimeDate::Seconds(time);
    }
    checkOrder<EActivityLapsOrder, EActivityLapsDist>(*distances, GetDistance());
    checkOrder<EActivityLapsDurOrder, EActivityLapsDur>(*times, GetDuration());
    m_lapTimes = *times;
    m_lapDistances = *distances;
}

int TTimeDistanceActivity::GetLaps(QStringList *times, QStringList *distances) const
{
    if (!times)
        throw EActivityLapsError(QStringLiteral("Classhie 11"));
    if (!distances)
        throw EActivityLapsError(QStringLiteral("Classhie 12"));
    *times = m_lapTimes;
    *distances = m_lapDistances;
    return int(m_lapTimes.size());
}

QString TTimeDistanceActivity::GetLapSpeed(int i) const
{
    if (i < 0 || i >= m_lapTimes.size() || i >= m_lapDistances.size())
        return QString();
    return TimeDate::Speed(m_lapTimes.at(i), m_lapDistances.at(i));
}

QString TTimeDistanceActivity::GetLapKmTime(int i) const
{
    if (i < 0 || i >= m_lapTimes.size() || i >= m_lapDistances.size())
        return QString();
    return TimeDate::KmTime(m_lapTimes.at(i), m_lapDistances.at(i));
}

void TTimeDistanceActivity::LoadLaps()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select * from TrainingSessionLaps"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    AddLine(&query, QStringLiteral("order by LapNr"));
    query.SetInteger(QStringLiteral("snr"), GetSessionNr());
    QStringList times, distances;
    TDbQueryCloser closer(query);
    query.Open();
    for (; !query.Eof(); query.Next()) {
        times.append(Column(QStringLiteral("LapTime"), vkDecimal));
        distances.append(Column(QStringLiteral("LapDistance"), vkDecimal));
    }
    m_lapTimes = times;
    m_lapDistances = distances;
}

void TTimeDistanceActivity::SetStoredLaps(const QStringList &times, const QStringList &distances)
{
    m_lapTimes = times;
    m_lapDistances = distances;
}

void TTimeDistanceActivity::LapTable(int count, TLapTable &values, bool fromStart)
{
    checkLapCount(count);
    for (int i = 0; i < count; ++i) {
        QString &distance = values[std::size_t(LapDistances + i)];
        QString &time = values[std::size_t(LapTimes + i)];
        if (!blank(distance))
            Num::StrToFloat(distance);
        TimeDate::Minutes(time);
        TimeDate::Seconds(time);

        // The previous complete mark: the latest earlier one with both values.
        QString previousDistance, previousTime;
        bool complete = false;
        for (int j = i - 1; j >= 0 && !complete; --j) {
            const QString &d = values[std::size_t(LapDistances + j)];
            const QString &t = values[std::size_t(LapTimes + j)];
            if (!blank(d) && !blank(t)) {
                previousDistance = d;
                previousTime = t;
                complete = true;
            }
        }
        if (!complete) {
            bool earlierDistance = false;
            for (int j = 0; j < i; ++j)
                earlierDistance = earlierDistance || !blank(values[std::size_t(LapDistances + j)]);
            for (int j = i - 1; j >= 0 && !earlierDistance; --j) {
                if (!blank(values[std::size_t(LapTimes + j)])) {
                    previousTime = values[std::size_t(LapTimes + j)];
                    break;
                }
            }
        }

        // A value that does not rise above the previous mark is cleared.
        TimeDate::GetSubDistance(distance, previousDistance);
        TimeDate::GetSubTime(time, previousTime);

        const QString fromDistance = fromStart ? QStringLiteral("0") : previousDistance;
        const QString fromTime = fromStart ? QStringLiteral("0") : previousTime;
        QString timeCopy = time;
        QString distanceCopy = distance;
        const QString split = TimeDate::GetSubTime(timeCopy, fromTime);
        const QString lapDistance = TimeDate::GetSubDistance(distanceCopy, fromDistance);
        values[std::size_t(LapSplits + i)] = split;
        values[std::size_t(LapSpeeds + i)] = TimeDate::Speed(split, lapDistance);
        values[std::size_t(LapKmTimes + i)] = TimeDate::KmTime(split, lapDistance);
    }
}

// ---------------------------------------------------------------------------
// Storage of the marks and the binding

void TTimeDistanceActivity::AddInsertDetails()
{
    TDbQuery *query = &Query();
    if (!m_lapDistances.isEmpty()) {
        if (m_lapDistances.size() != m_lapTimes.size())
            throw EActivityLapsError(QStringLiteral("Classhie 14"));
        for (int i = 0; i < m_lapDistances.size(); ++i) {
            query->Clear();
            AddLine(query, QStringLiteral("insert into TrainingSessionLaps"));
            AddLine(query, QStringLiteral("(SessionNr, LapNr, LapDistance, LapTime)"));
            AddLine(query, QStringLiteral("values(:snr, "));
            query->SetInteger(QStringLiteral("snr"), GetSessionNr());
            AddValue(query, QStringLiteral("lnr"), vkInteger, comma, false, QString::number(i + 1));
            AddValue(query, QStringLiteral("dist"), vkDecimal, comma, true, m_lapDistances.at(i));
            AddValue(query, QStringLiteral("time"), vkDecimal, QStringLiteral(")"), true, m_lapTimes.at(i));
            query->ExecSQL();
            CheckOneRow();
        }
        query->Clear();
    }
    if (boundTo(m_courseNr)) {
        AddLine(query, QStringLiteral("insert into TrainingSessionCourse"));
        AddLine(query, QStringLiteral("(SessionNr, CourseNr)"));
        AddLine(query, QStringLiteral("values(:snr, :cnr)"));
        query->SetInteger(QStringLiteral("snr"), GetSessionNr());
        query->SetInteger(QStringLiteral("cnr"), Num::StrToInt(m_courseNr));
    }
}

void TTimeDistanceActivity::AddDeleteDetails()
{
    TDbQuery *query = &Query();
    query->Clear();
    AddLine(query, QStringLiteral("delete from TrainingsessionCourse"));
    AddLine(query, QStringLiteral("where SessionNr = :snr"));
    query->SetInteger(QStringLiteral("snr"), GetSessionNr());
    query->ExecSQL();
    query->Clear();
    AddLine(query, QStringLiteral("delete from TrainingSessionLaps"));
    AddLine(query, QStringLiteral("where SessionNr = :snr"));
    query->SetInteger(QStringLiteral("snr"), GetSessionNr());
}

void TTimeDistanceActivity::AddUpdateDetails()
{
    AddDeleteDetails();
    ExecuteBuffer(false);
    Query().Clear();
    AddInsertDetails();
}

void TTimeDistanceActivity::LoadDetails()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select * from TrainingsessionCourse"));
    AddLine(&query, QStringLiteral("where SessionNr = :snr"));
    query.SetInteger(QStringLiteral("snr"), GetSessionNr());
    QString courseNr;
    {
        TDbQueryCloser closer(query);
        query.Open();
        if (!query.Eof())
            courseNr = Column(QStringLiteral("CourseNr"), vkInteger);
    }
    SetCourseNr(courseNr);
    LoadLaps();
}

void TTimeDistanceActivity::PrepareSave()
{
    if (!boundTo(m_courseNr))
        return;
    const int courseNr = Num::StrToInt(m_courseNr);
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select CoursePlace, CourseDistance from CourseDescription"));
    AddLine(&query, QStringLiteral("where CourseNr = :cnr"));
    query.SetInteger(QStringLiteral("cnr"), courseNr);
    QString place, distance;
    {
        TDbQueryCloser closer(query);
        query.Open();
        if (query.Eof())
            throw EActivityError(QStringLiteral("Classhie 27. No course %1").arg(courseNr));
        place = Column(QStringLiteral("CoursePlace"), vkText);
        distance = Column(QStringLiteral("CourseDistance"), vkDecimal);
    }
    query.Clear();
    AddLine(&query, QStringLiteral("select CourseDistance from CourseDescriptionLaps"));
    AddLine(&query, QStringLiteral("where CourseNr = :cnr"));
    AddLine(&query, QStringLiteral("order by CourseLapNr"));
    query.SetInteger(QStringLiteral("cnr"), courseNr);
    QStringList lapDistances;
    {
        TDbQueryCloser closer(query);
        query.Open();
        for (; !query.Eof(); query.Next())
            lapDistances.append(Column(QStringLiteral("CourseDistance"), vkDecimal));
    }
    query.Clear();
    SetSessionData(GetDate(), place, GetSessionComment(), GetWeight());
    SetDistance(distance);
    // A course without lap marks has no distances to give. Its sessions keep
    // their own marks: when the course's laps were all removed, the change
    // left the sessions' marks as they were, and every later save must too -
    // taking the empty list would delete the marks with their split times.
    if (!lapDistances.isEmpty())
        m_lapDistances = lapDistances;
}

// ---------------------------------------------------------------------------
// Course changes

void TTimeDistanceActivity::UpdateBoundPlaceAndDistance(int courseNr, const QString &place, const QString &distance)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddLine(query, QStringLiteral("update TrainingSession set"));
    AddSetClause(query, QStringLiteral("SessionPlace"), QStringLiteral("sp"), QStringLiteral(" "), false, place, vkText);
    AddLine(query, QStringLiteral("where SessionPlace <> :pl and"));
    BindParam(query, QStringLiteral("pl"), vkText, false, place);
    addBoundSessions(query, courseNr);
    query->ExecSQL();

    // A session without a distance differs from every course distance, and
    // a course without one must clear the sessions' distances: "<>" misses
    // both, since it is never true against null.
    query->Clear();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    AddSetClause(query, QStringLiteral("Distance"), QStringLiteral("tdtd"), QStringLiteral(" "), true, distance, vkDecimal);
    if (blank(distance)) {
        AddLine(query, QStringLiteral("where Distance is not null and"));
    } else {
        AddLine(query, QStringLiteral("where Distance is distinct from :tdtw and"));
        BindParam(query, QStringLiteral("tdtw"), vkDecimal, false, distance);
    }
    AddLine(query, QStringLiteral("Nr in (select SessionNr"));
    AddLine(query, QStringLiteral("       from TrainingsessionCourse"));
    AddLine(query, QStringLiteral("       where CourseNr = :cnr)"));
    query->SetInteger(QStringLiteral("cnr"), courseNr);
    query->ExecSQL();
}

void TTimeDistanceActivity::MoveBoundLapDistances(int courseNr, const QStringList &lapDistances)
{
    TDbQuery *query = &Query();
    for (int i = 0; i < lapDistances.size(); ++i) {
        query->Clear();
        AddLine(query, QStringLiteral("update TrainingSessionLaps set"));
        AddSetClause(query, QStringLiteral("LapDistance"), QStringLiteral("dist"), QStringLiteral(" "), true, lapDistances.at(i),
                     vkDecimal);
        AddLine(query, QStringLiteral("where LapNr = :lapnr and"));
        query->SetInteger(QStringLiteral("lapnr"), i + 1);
        addBoundSessions(query, courseNr);
        query->ExecSQL();
    }
}

void TTimeDistanceActivity::RenumberBoundLaps(int courseNr, const QStringList &lapDistances)
{
    TDbQuery *query = &Query();
    // The old marks move out of the way, above 100.
    query->Clear();
    AddLine(query, QStringLiteral("update TrainingSessionLaps set"));
    AddLine(query, QStringLiteral("LapNr = LapNr + 100"));
    AddLine(query, QStringLiteral("where"));
    addBoundSessions(query, courseNr);
    query->ExecSQL();

    for (int i = 0; i < lapDistances.size(); ++i) {
        query->Clear();
        AddLine(query, QStringLiteral("insert into TrainingSessionLaps"));
        AddLine(query, QStringLiteral("(SessionNr, LapNr, LapDistance, LapTime)"));
        AddLine(query, QStringLiteral("select SessionNr, ") + QString::number(i + 1) + QStringLiteral(", "));
        AddLine(query, distanceLiteral(lapDistances.at(i)) + QStringLiteral(", null as LapTime"));
        AddLine(query, QStringLiteral("from TrainingSessionCourse"));
        AddLine(query, QStringLiteral("     where CourseNr = :cnr"));
        query->SetInteger(QStringLiteral("cnr"), courseNr);
        query->ExecSQL();
    }

    // An old time survives where a new mark has the old mark's distance.
    struct TKept
    {
        int SessionNr;
        QString Distance;
        QString Time;
    };
    QList<TKept> kept;
    query->Clear();
    AddLine(query, QStringLiteral("select a.SessionNr, a.LapDistance, a.LapTime"));
    AddLine(query, QStringLiteral("from TrainingSessionLaps a, TrainingSessionLaps b"));
    AddLine(query, QStringLiteral("where a.LapNr > 100 and"));
    AddLine(query, QStringLiteral("b.LapNr < 100 and"));
    AddLine(query, QStringLiteral("a.SessionNr = b.SessionNr and"));
    AddLine(query, QStringLiteral("a.LapDistance = b.LapDistance and"));
    AddLine(query, QStringLiteral("a.LapTime > 0 and"));
    AddLine(query, QStringLiteral("a.SessionNr in (select SessionNr"));
    AddLine(query, QStringLiteral("    from TrainingSessionCourse"));
    AddLine(query, QStringLiteral("    where CourseNr = :cnr)"));
    query->SetInteger(QStringLiteral("cnr"), courseNr);
    {
        TDbQueryCloser closer(*query);
        query->Open();
        for (; !query->Eof(); query->Next())
            kept.append(TKept{int(query->FieldAsInteger(QStringLiteral("SessionNr"))),
                              GetColumn(query, QStringLiteral("LapDistance"), vkDecimal),
                              GetColumn(query, QStringLiteral("LapTime"), vkDecimal)});
    }
    TDbQuery update(*GetDatabase());
    for (const TKept &row : kept) {
        update.Clear();
        AddLine(&update, QStringLiteral("update TrainingSessionLaps set"));
        AddLine(&update, QStringLiteral("LapTime = :time"));
        AddLine(&update, QStringLiteral("where SessionNr = :snr and"));
        AddLine(&update, QStringLiteral("LapNr < 100 and"));
        AddLine(&update, QStringLiteral("LapDistance = :dist"));
        BindParam(&update, QStringLiteral("time"), vkDecimal, false, row.Time);
        update.SetInteger(QStringLiteral("snr"), row.SessionNr);
        BindParam(&update, QStringLiteral("dist"), vkDecimal, false, row.Distance);
        update.ExecSQL();
    }

    query->Clear();
    AddLine(query, QStringLiteral("delete from TrainingSessionLaps"));
    AddLine(query, QStringLiteral("where LapNr > 100"));
    query->ExecSQL();
}

int TTimeDistanceActivity::CountBoundSessions(int courseNr)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddLine(query, QStringLiteral("select SessionNr"));
    AddLine(query, QStringLiteral("from TrainingSessionCourse"));
    AddLine(query, QStringLiteral("     where CourseNr = :cnr"));
    query->SetInteger(QStringLiteral("cnr"), courseNr);
    TDbQueryCloser closer(*query);
    query->Open();
    int count = 0;
    for (; !query->Eof(); query->Next())
        ++count;
    return count;
}

int TTimeDistanceActivity::ApplyCourseChange(int courseNr, const QString &place, const QStringList &lapDistances,
                                             const QString &distance)
{
    TOwnTransaction transaction(*GetDatabase());
    UpdateBoundPlaceAndDistance(courseNr, place, distance);
    MoveBoundLapDistances(courseNr, lapDistances);
    const int count = CountBoundSessions(courseNr);
    transaction.Commit();
    return count;
}

int TTimeDistanceActivity::ApplyCourseLapsChange(int courseNr, const QString &place, const QStringList &lapDistances,
                                                 const QString &distance)
{
    TOwnTransaction transaction(*GetDatabase());
    UpdateBoundPlaceAndDistance(courseNr, place, distance);
    if (!lapDistances.isEmpty())
        RenumberBoundLaps(courseNr, lapDistances);
    const int count = CountBoundSessions(courseNr);
    transaction.Commit();
    return count;
}

// ---------------------------------------------------------------------------
// Course questions

int TTimeDistanceActivity::DaysSinceLastOnCourse(const QString &courseNr, const QString &date)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddLine(query, QStringLiteral("select SessionDate from TrainingSession ts, TrainingSessionCourse tsc"));
    AddLine(query, QStringLiteral("where ts.SessionNr = tsc.SessionNr"));
    AddLine(query, QStringLiteral("and CourseNr = :cnr"));
    query->SetInteger(QStringLiteral("cnr"), blank(courseNr) ? 0 : Num::StrToInt(courseNr));
    AddFilter(query, QStringLiteral("SessionDate"), foAtMost, false, date, vkDate, QStringLiteral("sd"));
    AddLine(query, QStringLiteral("order by SessionDate desc"));
    TDbQueryCloser closer(*query);
    query->Open();
    if (query->Eof())
        return -1;
    const QDate last = TimeDate::StrToDate(GetColumn(query, QStringLiteral("SessionDate"), vkDate));
    return int(last.daysTo(TimeDate::StrToDate(date)));
}

TCourseStats TTimeDistanceActivity::CourseStatistics(const QString &courseNr, const QString &date)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddLine(query, QStringLiteral("select ts.SessionDate, ta.Duration"));
    AddLine(query, QStringLiteral("from TrainingSession ts, TrainingSessionCourse tsc, ") + GetTableName() + QStringLiteral(" ta"));
    AddLine(query, QStringLiteral("where ts.SessionNr = tsc.SessionNr"));
    AddLine(query, QStringLiteral("and ts.SessionNr = ta.nr"));
    AddLine(query, QStringLiteral("and CourseNr = :cnr"));
    query->SetInteger(QStringLiteral("cnr"), blank(courseNr) ? 0 : Num::StrToInt(courseNr));
    AddFilter(query, QStringLiteral("SessionDate"), foAtMost, false, date, vkDate, QStringLiteral("sd"));
    AddLine(query, QStringLiteral("order by SessionDate desc"));

    TCourseStats stats;
    qint64 totalSeconds = 0;
    qint64 counted = 0;
    double best = 0.0, worst = 0.0;
    TDbQueryCloser closer(*query);
    query->Open();
    for (; !query->Eof(); query->Next()) {
        const QString duration = GetColumn(query, QStringLiteral("Duration"), vkDecimal);
        if (blank(duration))
            continue;
        const QString sessionDate = GetColumn(query, QStringLiteral("SessionDate"), vkDate);
        const double value = Num::StrToFloat(duration);
        // Newest first: a strict comparison keeps the newest of equal values.
        if (counted == 0 || value < best) {
            best = value;
            stats.Best = duration;
            stats.BestDate = sessionDate;
        }
        if (counted == 0 || value > worst) {
            worst = value;
            stats.Worst = duration;
            stats.WorstDate = sessionDate;
        }
        if (stats.Recent.size() < 5)
            stats.Recent.append(TCourseRun{sessionDate, duration});
        totalSeconds += TimeDate::TotalSeconds(duration);
        ++counted;
    }
    if (counted > 0) {
        const qint64 average = totalSeconds / counted;
        stats.Average = QStringLiteral("%1.%2").arg(average / 60).arg(average % 60, 2, 10, QChar(u'0'));
    }
    return stats;
}

void TTimeDistanceActivity::CourseRecords(QList<TTDRecordItem> &list, int minimum)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddCourseRecordSelect();
    if (query->SQL().isEmpty())
        return;
    QList<TTDRecordItem> found;
    TDbQueryCloser closer(*query);
    query->Open();
    for (; !query->Eof(); query->Next()) {
        const QString course = GetColumn(query, QStringLiteral("coursenr"), vkInteger);
        if (!found.isEmpty() && found.last().CourseNr == course) {
            ++found.last().Sessions;
            continue;
        }
        TTDRecordItem item;
        item.CourseNr = course;
        item.Date = GetColumn(query, QStringLiteral("sessiondate"), vkDate);
        item.Activity = GetActivityName();
        item.Place = GetColumn(query, QStringLiteral("sessionplace"), vkText);
        item.Distance = GetColumn(query, QStringLiteral("distance"), vkDecimal);
        item.Duration = GetColumn(query, QStringLiteral("duration"), vkDecimal);
        item.Speed = TimeDate::Speed(item.Duration, item.Distance);
        item.KmTime = TimeDate::KmTime(item.Duration, item.Distance);
        item.Sessions = 1;
        found.append(item);
    }
    for (const TTDRecordItem &item : found) {
        if (item.Sessions >= minimum)
            list.append(item);
    }
}

void TSimpleTimeDistActivity::AddCourseRecordSelect()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("select sessiondate, sessionplace, distance, duration, coursenr"));
    AddLine(query, QStringLiteral("from trainingsession a, trainingsessioncourse b, "));
    AddLine(query, GetTableName() + QStringLiteral(" c"));
    AddLine(query, QStringLiteral("where a.sessionnr = b.sessionnr and"));
    AddLine(query, QStringLiteral("a.sessionnr = c.nr and duration is not null"));
    AddLine(query, QStringLiteral("order by coursenr, duration"));
}
