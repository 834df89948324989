#include "export/ActExportLoad.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "model/Activities.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"

#include <QHash>

#include <map>
#include <memory>

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;

// The activities one query serves, by session number, and their range.
struct TGroup
{
    QHash<int, TActivity *> bySession;
    int low = 0;
    int high = 0;

    void Add(TActivity *activity)
    {
        const int nr = activity->GetSessionNr();
        if (bySession.isEmpty() || nr < low)
            low = nr;
        if (bySession.isEmpty() || nr > high)
            high = nr;
        bySession.insert(nr, activity);
    }
};

// Runs "select <columns> from <table> where <key> between lo and hi" in key
// order and hands every row of an activity of the group to `read`.
template <class Read>
void ForEachRow(TDbConnection &db, const TGroup &group, const QString &columns, const QString &table, const QString &key,
                const QString &order, Read read)
{
    if (group.bySession.isEmpty())
        return;
    TDbQuery query(db);
    AddLine(&query, QStringLiteral("select ") + columns + QStringLiteral(" from ") + table);
    AddLine(&query, QStringLiteral("where ") + key + QStringLiteral(" between :lo and :hi"));
    AddLine(&query, QStringLiteral("order by ") + order);
    query.SetInteger(QStringLiteral("lo"), group.low);
    query.SetInteger(QStringLiteral("hi"), group.high);
    TDbQueryCloser closer(query);
    query.Open();
    const int keyIndex = query.FieldIndex(key);
    for (; !query.Eof(); query.Next()) {
        if (TActivity *activity = group.bySession.value(int(query.FieldAsInteger(keyIndex)), nullptr))
            read(query, *activity);
    }
}

QString column(TDbQuery &query, const char *name, int kind)
{
    return GetColumn(&query, QLatin1String(name), kind);
}

void readSession(TDbQuery &q, TActivity &a)
{
    a.SetSessionData(column(q, "SessionDate", vkDate), column(q, "SessionPlace", vkText), column(q, "SessionComment", vkText),
                     column(q, "SessionWeight", vkDecimal));
    a.SetPulse(column(q, "SessionRestPulse", vkInteger), column(q, "SessionAvgPulse", vkInteger),
               column(q, "SessionMaxPulse", vkInteger));
    a.SetCalorie(column(q, "SessionCalorie", vkInteger));
    a.SetWeather(column(q, "SessionWeather", vkInteger), column(q, "SessionWindDir", vkInteger), column(q, "SessionWind", vkDecimal));
    a.SetTemperature(column(q, "SessionTemperature", vkDecimal));
    a.SetSleep(column(q, "SessionSleepQuality", vkInteger), column(q, "SessionSleepDuration", vkDecimal));
}

// The key column of a family's type table; empty for the family that has
// none.
QString typeKey(TActivityFamily family)
{
    switch (family) {
    case TActivityFamily::Simple:
        return QString();
    case TActivityFamily::Other:
        return QStringLiteral("OtherNr");
    case TActivityFamily::Golf:
        return QStringLiteral("GolfNr");
    case TActivityFamily::Workout:
        return QStringLiteral("WoNr");
    default:
        return QStringLiteral("Nr");
    }
}

// The type row, read as the class's LoadTypeRow reads it.
void readTypeRow(TDbQuery &q, TActivity &a)
{
    switch (a.Family()) {
    case TActivityFamily::Simple:
        break;
    case TActivityFamily::Time: {
        auto &t = static_cast<TTimeActivity &>(a);
        t.SetDuration(column(q, "Duration", vkDecimal));
        t.SetComment(column(q, "Comment", vkText));
        break;
    }
    case TActivityFamily::Game: {
        auto &g = static_cast<TGame &>(a);
        // A match is kept in whole minutes.
        g.SetDuration(Str::StrToStrDec(column(q, "Duration", vkDecimal), 0));
        g.SetGame(column(q, "Performance", vkInteger), column(q, "Game", vkText));
        g.SetComment(column(q, "Comment", vkText));
        break;
    }
    case TActivityFamily::TimeDistance: {
        auto &t = static_cast<TTimeDistanceActivity &>(a);
        t.SetDuration(column(q, "Duration", vkDecimal));
        t.SetDistance(column(q, "Distance", vkDecimal));
        t.SetComment(column(q, "Comment", vkText));
        break;
    }
    case TActivityFamily::Distance: {
        auto &d = static_cast<TDistanceActivity &>(a);
        d.SetDistance(column(q, "Distance", vkDecimal));
        d.SetComment(column(q, "Comment", vkText));
        break;
    }
    case TActivityFamily::Other: {
        auto &o = static_cast<TOther &>(a);
        o.SetOtherActivity(column(q, "OtherActivity", vkText));
        o.SetComment(column(q, "OtherComment", vkText));
        break;
    }
    case TActivityFamily::CardioMeasure: {
        auto &m = static_cast<TCardioMeasure &>(a);
        m.SetMeasure(column(q, "Measure", vkDecimal));
        m.SetBodyMeasures(column(q, "Neck", vkDecimal), column(q, "Shoulder", vkDecimal), column(q, "Calf", vkDecimal),
                          column(q, "Thigh", vkDecimal), column(q, "Hip", vkDecimal), column(q, "Waist", vkDecimal),
                          column(q, "Arm", vkDecimal), column(q, "Biceps", vkDecimal), column(q, "Chest", vkDecimal));
        m.SetComment(column(q, "Comment", vkText));
        break;
    }
    case TActivityFamily::Golf: {
        auto &g = static_cast<TGolf &>(a);
        const QString score = column(q, "GolfScore", vkDecimal);
        g.SetRound(column(q, "GolfPar", vkInteger), column(q, "GolfStroke", vkInteger),
                   Str::TextToBool(column(q, "GolfCalculate", vkFlag)), TGolfHoles(),
                   score.isEmpty() ? QString() : Str::FormatFixed(0, TTulloUtilNumeric::StrToFloat(score)),
                   column(q, "GolfBunker", vkInteger), column(q, "GolfPutt", vkInteger), column(q, "GolfSlope", vkInteger),
                   column(q, "GolfCR", vkDecimal), column(q, "GolfNewHCP", vkDecimal), column(q, "GolfPrevHCP", vkDecimal));
        g.SetComment(column(q, "GolfComment", vkText));
        break;
    }
    case TActivityFamily::Workout: {
        auto &w = static_cast<TWorkout &>(a);
        TWorkoutExercises read;
        for (int k = 1; k <= WorkoutProgramSlots; ++k)
            read[std::size_t(k - 1)] = TWorkoutExercise{QString(), GetColumn(&q, QStringLiteral("WoRep%1").arg(k), vkText),
                                                        GetColumn(&q, QStringLiteral("WoEx%1").arg(k), vkDecimal)};
        for (int j = 1; j <= WorkoutFreeSlots; ++j)
            read[std::size_t(WorkoutProgramSlots + j - 1)] =
                TWorkoutExercise{GetColumn(&q, QStringLiteral("WoXText%1").arg(j), vkText),
                                 GetColumn(&q, QStringLiteral("WoXRep%1").arg(j), vkText),
                                 GetColumn(&q, QStringLiteral("WoXEx%1").arg(j), vkDecimal)};
        w.SetExercises(read);
        w.SetComment(column(q, "WoComment", vkText));
        break;
    }
    }
}
} // namespace

void ActExportLoad::CompleteListed(TActivities &activities)
{
    TGroup all;
    TGroup timeDistance, golf, workout;
    // By type table; each table is read once.
    std::map<QString, std::pair<TActivityFamily, TGroup>> tables;
    TDbConnection *db = nullptr;
    for (int i = 0; i < activities.Count(); ++i) {
        TActivity *activity = activities.GetActivity(i);
        if (activity->GetState() != TActivity::TState::Listed)
            continue;
        if (!db)
            db = activity->GetDatabase();
        all.Add(activity);
        const TActivityFamily family = activity->Family();
        if (family != TActivityFamily::Simple) {
            auto &entry = tables[activity->GetTableName()];
            entry.first = family;
            entry.second.Add(activity);
        }
        if (family == TActivityFamily::TimeDistance)
            timeDistance.Add(activity);
        else if (family == TActivityFamily::Golf)
            golf.Add(activity);
        else if (family == TActivityFamily::Workout)
            workout.Add(activity);
    }
    if (all.bySession.isEmpty())
        return;
    if (!db)
        throw EDbMiscError(QStringLiteral("Query är nil"));

    // One transaction for all the reads, as a search has.
    std::unique_ptr<TDbTransactionGuard> transaction;
    if (db->Connected() && !db->InTransaction())
        transaction = std::make_unique<TDbTransactionGuard>(*db);

    QHash<int, bool> sessionFound;
    ForEachRow(*db, all, QStringLiteral("*"), QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"),
               QStringLiteral("SessionNr"), [&](TDbQuery &q, TActivity &a) {
                   readSession(q, a);
                   sessionFound.insert(a.GetSessionNr(), true);
               });
    for (auto it = all.bySession.cbegin(); it != all.bySession.cend(); ++it) {
        if (!sessionFound.contains(it.key()))
            throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
    }

    for (auto &[table, entry] : tables) {
        const QString key = typeKey(entry.first);
        QHash<int, bool> found;
        ForEachRow(*db, entry.second, QStringLiteral("*"), table, key, key, [&](TDbQuery &q, TActivity &a) {
            readTypeRow(q, a);
            found.insert(a.GetSessionNr(), true);
        });
        for (auto it = entry.second.bySession.cbegin(); it != entry.second.bySession.cend(); ++it) {
            if (!found.contains(it.key()))
                throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
        }
    }

    // Details: the rows of one session come together, in their own order.
    {
        QHash<int, QPair<QStringList, QStringList>> laps;
        ForEachRow(*db, timeDistance, QStringLiteral("SessionNr, LapNr, LapDistance, LapTime"),
                   QStringLiteral("TrainingSessionLaps"), QStringLiteral("SessionNr"), QStringLiteral("SessionNr, LapNr"),
                   [&](TDbQuery &q, TActivity &a) {
                       auto &marks = laps[a.GetSessionNr()];
                       marks.first.append(column(q, "LapTime", vkDecimal));
                       marks.second.append(column(q, "LapDistance", vkDecimal));
                   });
        QHash<int, QString> courses;
        ForEachRow(*db, timeDistance, QStringLiteral("SessionNr, CourseNr"), QStringLiteral("TrainingSessionCourse"),
                   QStringLiteral("SessionNr"), QStringLiteral("SessionNr"), [&](TDbQuery &q, TActivity &a) {
                       if (!courses.contains(a.GetSessionNr()))
                           courses.insert(a.GetSessionNr(), column(q, "CourseNr", vkInteger));
                   });
        for (auto it = timeDistance.bySession.cbegin(); it != timeDistance.bySession.cend(); ++it) {
            auto *activity = static_cast<TTimeDistanceActivity *>(it.value());
            activity->SetCourseNr(courses.value(it.key()));
            const auto marks = laps.value(it.key());
            activity->SetStoredLaps(marks.first, marks.second);
        }
    }
    {
        QHash<int, TGolfHoles> cards;
        ForEachRow(*db, golf, QStringLiteral("*"), QStringLiteral("GolfHole"), QStringLiteral("GolfNr"),
                   QStringLiteral("GolfNr, GolfHoleNr"), [&](TDbQuery &q, TActivity &a) {
                       const int nr = int(q.FieldAsInteger(QStringLiteral("GolfHoleNr")));
                       if (nr < 1 || nr > GolfHoleCount)
                           return;
                       cards[a.GetSessionNr()][std::size_t(nr - 1)] =
                           TGolfHole{column(q, "GolfHolePar", vkInteger),    column(q, "GolfHoleDistance", vkInteger),
                                     column(q, "GolfHoleHCP", vkInteger),    column(q, "GolfHoleStroke", vkInteger),
                                     column(q, "GolfHoleScore", vkInteger), column(q, "GolfHolePutt", vkInteger)};
                   });
        for (auto it = golf.bySession.cbegin(); it != golf.bySession.cend(); ++it)
            static_cast<TGolf *>(it.value())->SetStoredHoles(cards.value(it.key()));
    }
    {
        QHash<int, QString> programs;
        ForEachRow(*db, workout, QStringLiteral("WoNr, ExProgId"), QStringLiteral("WorkoutExercisePrograms"),
                   QStringLiteral("WoNr"), QStringLiteral("WoNr"), [&](TDbQuery &q, TActivity &a) {
                       if (!programs.contains(a.GetSessionNr()))
                           programs.insert(a.GetSessionNr(), column(q, "ExProgId", vkInteger));
                   });
        for (auto it = workout.bySession.cbegin(); it != workout.bySession.cend(); ++it)
            static_cast<TWorkout *>(it.value())->SetStoredProgram(programs.value(it.key()));
    }
    {
        QHash<int, QPair<QList<qint32>, QList<qint32>>> pulses;
        ForEachRow(*db, all, QStringLiteral("SessionNr, PulseNr, PulseId, PulseValue"), QStringLiteral("TrainingSessionPulse"),
                   QStringLiteral("SessionNr"), QStringLiteral("SessionNr, PulseNr"), [&](TDbQuery &q, TActivity &a) {
                       auto &intervals = pulses[a.GetSessionNr()];
                       intervals.first.append(qint32(q.FieldAsInteger(QStringLiteral("PulseId"))));
                       intervals.second.append(qint32(q.FieldAsInteger(QStringLiteral("PulseValue"))));
                   });
        for (auto it = all.bySession.cbegin(); it != all.bySession.cend(); ++it) {
            const auto intervals = pulses.value(it.key());
            it.value()->SetStoredPulseIntervals(intervals.first, intervals.second);
        }
    }
    if (transaction)
        transaction->Commit();

    for (auto it = all.bySession.cbegin(); it != all.bySession.cend(); ++it)
        it.value()->SetState(TActivity::TState::Stored);
}
