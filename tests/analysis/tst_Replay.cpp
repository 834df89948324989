// The replay engine without a display: competitors made of sessions,
// interpolated splits, positions and speeds, the two rankings, the split
// window of the pause, the clock, and loading from a real diary.

#include "analysis/Replay.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieTypes.h"
#include "reference/AppDiary.h"

#include <QTest>

#include <functional>

namespace
{
using Str = TTulloUtilString;

// A running session as the entry page makes one, with split times at the
// course's lap distances ("" for a lap without a time).
std::unique_ptr<TRunning> session(const QString &date, const QString &total, const QStringList &laps,
                                  const QStringList &splits, const QString &course = QStringLiteral("1"),
                                  const QString &distance = QStringLiteral("50"))
{
    auto run = std::make_unique<TRunning>();
    run->SetSessionData(date, QStringLiteral("Slingan"), QString(), QString());
    run->SetDuration(total);
    run->SetDistance(distance);
    run->SetCourseNr(course);
    run->SetLaps(&splits, &laps);
    return run;
}

void setCourse(TReplay &replay, const QString &distance, const QStringList &laps)
{
    replay.Clear();
    replay.SetCourseDistance(distance);
    replay.SetCourseLaps(laps);
}

QString km(double value)
{
    return Str::FormatFixed(3, value);
}

QStringList splitsOf(const TReplayItem &item, int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result.append(item.Splits.at(std::size_t(i)));
    return result;
}

QString lines(const QList<TReplayItem *> &items, bool position)
{
    QStringList result;
    for (const TReplayItem *item : items)
        result.append(position ? item->PositionLine : item->SpeedLine);
    return result.join(QLatin1Char('|'));
}
}

class tst_Replay : public QObject
{
    Q_OBJECT

private slots:
    // A 5 km course with one lap at 2.5 km and a session of 25.00 with the
    // split 12.00: constant speed within each lap, exactly at the mark at
    // the split, at the finish from the total time on.
    void positionsFollowTheSplits_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("pace");
        QTest::addColumn<int>("lapsPassed");
        QTest::newRow("start") << "0.00" << "0.000" << "12.50" << "4.48" << 0;
        QTest::newRow("half the first lap") << "6.00" << "1.250" << "12.50" << "4.48" << 0;
        QTest::newRow("at the split") << "12.00" << "2.500" << "11.54" << "5.12" << 1;
        QTest::newRow("in the last stretch") << "18.30" << "3.750" << "11.54" << "5.12" << 1;
        QTest::newRow("a second before the finish") << "24.59" << "4.997" << "11.54" << "5.12" << 1;
        QTest::newRow("at the finish") << "25.00" << "5.000" << "0.00" << "0.00" << 1;
        QTest::newRow("after the finish") << "30.00" << "5.000" << "0.00" << "0.00" << 1;
    }
    void positionsFollowTheSplits()
    {
        QFETCH(QString, clock);
        QFETCH(QString, distance);
        QFETCH(QString, speed);
        QFETCH(QString, pace);
        QFETCH(int, lapsPassed);
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {QStringLiteral("2.5")});
        const auto run = session(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), {QStringLiteral("2.5")},
                                 {QStringLiteral("12.00")});
        const auto item = replay.MakeItem(run.get());
        QVERIFY(item);
        QVERIFY(!item->Interpolated.at(0));
        const TReplayState state = replay.StateAt(clock, *item);
        QCOMPARE(km(state.DistanceCovered), distance);
        QCOMPARE(Str::FormatFixed(2, state.Speed), speed);
        QCOMPARE(Str::FormatFixed(2, state.Pace), pace);
        QCOMPARE(replay.LapsPassed(clock, *item), lapsPassed);
    }

    // Missing splits of the course laps are filled at the speed between the
    // nearest known points, in whole seconds, and marked.
    void interpolatesMissingSplits_data()
    {
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QStringList>("laps");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QStringList>("splits");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<bool>>("interpolated");
        QTest::newRow("from the start at the average")
            << "5" << QStringList{"2.5"} << "25.00" << QStringList{""} << QStringList{"12.300"} << QList<bool>{true};
        QTest::newRow("between two known splits")
            << "4" << QStringList{"1", "2", "3"} << "20.00" << QStringList{"5.00", "", "15.00"}
            << QStringList{"5.00", "10.000", "15.00"} << QList<bool>{false, true, false};
        QTest::newRow("two in a row")
            << "3" << QStringList{"1", "2"} << "15.00" << QStringList{"", ""} << QStringList{"5.000", "10.000"}
            << QList<bool>{true, true};
        QTest::newRow("59 min 60 s is the next hour")
            << "20" << QStringList{"9.9999"} << "120.00" << QStringList{""} << QStringList{"60.000"} << QList<bool>{true};
        QTest::newRow("no later than the total")
            << "1" << QStringList{"0.9999"} << "61.00" << QStringList{""} << QStringList{"61.000"} << QList<bool>{true};
        // The split equals the total and a later lap has no time: that lap
        // takes no time, the competitor is at its mark at the finish time.
        QTest::newRow("after a split equal to the total")
            << "5" << QStringList{"2.5", "4"} << "25.00" << QStringList{"25.00", ""}
            << QStringList{"25.00", "25.000"} << QList<bool>{false, true};
    }
    void interpolatesMissingSplits()
    {
        QFETCH(QString, distance);
        QFETCH(QStringList, laps);
        QFETCH(QString, total);
        QFETCH(QStringList, splits);
        QFETCH(QStringList, expected);
        QFETCH(QList<bool>, interpolated);
        TReplay replay;
        setCourse(replay, distance, laps);
        const auto run = session(QStringLiteral("2024-05-01"), total, laps, splits);
        const auto item = replay.MakeItem(run.get());
        QVERIFY(item);
        QCOMPARE(splitsOf(*item, int(laps.size())), expected);
        for (int i = 0; i < laps.size(); ++i)
            QCOMPARE(item->Interpolated.at(std::size_t(i)), interpolated.at(i));
        // Neither the item's own texts nor the session's are emptied on the
        // way, and the item can be raced.
        QCOMPARE(item->TotalTime, total);
        QStringList times, distances;
        run->GetLaps(&times, &distances);
        QCOMPARE(times, splits);
        replay.CheckItemTimes(*item);
        QCOMPARE(km(replay.StateAt(total, *item).DistanceCovered), km(distance.toDouble()));
    }

    // With the split equal to the total and a later lap empty the stretch
    // has no speed; the competitor reaches both marks and the finish at once.
    void splitAtTheTotalIsRaced()
    {
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {QStringLiteral("2.5"), QStringLiteral("4")});
        const auto run = session(QStringLiteral("2024-05-01"), QStringLiteral("25.00"),
                                 {QStringLiteral("2.5"), QStringLiteral("4")}, {QStringLiteral("25.00"), QString()});
        const auto item = replay.MakeItem(run.get());
        QVERIFY(item);
        QCOMPARE(km(replay.StateAt(QStringLiteral("20.00"), *item).DistanceCovered), QStringLiteral("2.000"));
        QCOMPARE(Str::FormatFixed(2, replay.StateAt(QStringLiteral("20.00"), *item).Speed), QStringLiteral("6.00"));
        QCOMPARE(km(replay.StateAt(QStringLiteral("25.00"), *item).DistanceCovered), QStringLiteral("5.000"));
        QVERIFY(replay.IsAtSplit(QStringLiteral("25.00"), *item, 1));
    }

    // Only a time-and-distance session with a course, a distance and a total
    // time above 0 is a competitor.
    void whoIsACompetitor_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<bool>("made");
        QTest::newRow("complete") << "25.00" << "3" << "5" << true;
        QTest::newRow("course 0") << "25.00" << "0" << "5" << true;
        QTest::newRow("no course") << "25.00" << "" << "5" << false;
        QTest::newRow("no total time") << "" << "3" << "5" << false;
        QTest::newRow("total time 0") << "0.00" << "3" << "5" << false;
        QTest::newRow("no distance") << "25.00" << "3" << "" << false;
    }
    void whoIsACompetitor()
    {
        QFETCH(QString, total);
        QFETCH(QString, course);
        QFETCH(QString, distance);
        QFETCH(bool, made);
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {});
        auto run = std::make_unique<TRunning>();
        run->SetSessionData(QStringLiteral("2024-05-01"), QString(), QString(), QString());
        run->SetDuration(total);
        run->SetDistance(distance);
        run->SetCourseNr(course);
        const auto item = replay.MakeItem(run.get());
        QCOMPARE(bool(item), made);
        if (made) {
            QCOMPARE(item->CourseNr, course);
            QCOMPARE(item->TotalTime, total);
        }
    }

    void otherKindsAreNoCompetitors()
    {
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {});
        TTennis tennis;
        tennis.SetSessionData(QStringLiteral("2024-05-01"), QString(), QString(), QString());
        tennis.SetDuration(QStringLiteral("60.00"));
        QVERIFY(!replay.MakeItem(&tennis, QStringLiteral("1")));
        TTrekking trek;
        trek.SetDistance(QStringLiteral("5"));
        QVERIFY(!replay.MakeItem(&trek, QStringLiteral("1")));
    }

    // At 22.00 on a 5 km course without laps: the 20.00 has finished and
    // leads, the others are behind it; the finishers rank by total time.
    void rankingsWithAFinisher()
    {
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {});
        const auto slow = session(QStringLiteral("2024-05-03"), QStringLiteral("30.00"), {}, {});
        const auto late = session(QStringLiteral("2024-05-04"), QStringLiteral("21.00"), {}, {});
        const auto mid = session(QStringLiteral("2024-05-02"), QStringLiteral("25.00"), {}, {});
        const auto fast = session(QStringLiteral("2024-05-01"), QStringLiteral("20.00"), {}, {});
        std::vector<std::unique_ptr<TReplayItem>> owned;
        QList<TReplayItem *> items;
        for (const TRunning *run : {slow.get(), late.get(), mid.get(), fast.get()}) {
            owned.push_back(replay.MakeItem(run));
            items.append(owned.back().get());
        }
        QList<TReplayItem *> ranked;
        replay.RankByPosition(QStringLiteral("22.00"), &items, &ranked);
        QCOMPARE(lines(ranked, true), QStringLiteral("2024-05-01: (20.00)|2024-05-04: (21.00)|2024-05-02: 4.400, 600|"
                                                     "2024-05-03: 3.667, 1333"));
        QVERIFY(ranked.at(0)->Finished && ranked.at(1)->Finished && !ranked.at(2)->Finished);
        QCOMPARE(ranked.at(0)->Behind, 0.0);
        QCOMPARE(Str::FormatFixed(3, ranked.at(2)->Behind), QStringLiteral("0.600"));

        replay.RankBySpeed(QStringLiteral("22.00"), &items, &ranked);
        QCOMPARE(lines(ranked, false), QStringLiteral("2024-05-02: 12.00, 5.00|2024-05-03: 10.00, 6.00|"
                                                      "2024-05-04: 0.00, 0.00|2024-05-01: 0.00, 0.00"));

        // Before anyone finishes the leader is 0 m behind.
        replay.RankByPosition(QStringLiteral("10.00"), &items, &ranked);
        QCOMPARE(ranked.at(0)->PositionLine, QStringLiteral("2024-05-01: 2.500, 0"));
        QCOMPARE(ranked.at(3)->PositionLine, QStringLiteral("2024-05-03: 1.667, 833"));
    }

    // The tick at which a competitor passed a split or the finish, with the
    // clock moving `step` seconds a tick: window = step - 1 s + 500 ms.
    void atSplitWindow_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("atSplit");
        QTest::newRow("before the split") << "11.59" << 11 << false;
        QTest::newRow("at the split") << "12.00" << 11 << true;
        QTest::newRow("ten seconds after") << "12.10" << 11 << true;
        QTest::newRow("eleven seconds after") << "12.11" << 11 << false;
        QTest::newRow("one second after, step 1") << "12.01" << 1 << false;
        QTest::newRow("at the split, step 1") << "12.00" << 1 << true;
        QTest::newRow("at the finish") << "25.00" << 11 << true;
        QTest::newRow("ten seconds after the finish") << "25.10" << 11 << true;
        QTest::newRow("eleven seconds after the finish") << "25.11" << 11 << false;
        QTest::newRow("mid-lap, fastest") << "18.00" << 437 << true;
        QTest::newRow("mid-lap, fast") << "18.00" << 111 << false;
    }
    void atSplitWindow()
    {
        QFETCH(QString, clock);
        QFETCH(int, step);
        QFETCH(bool, atSplit);
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {QStringLiteral("2.5")});
        const auto run = session(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), {QStringLiteral("2.5")},
                                 {QStringLiteral("12.00")});
        const auto item = replay.MakeItem(run.get());
        QCOMPARE(replay.IsAtSplit(clock, *item, step), atSplit);
    }

    // Every refusal of the engine names its reason.
    void refusals_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty distance") << "distance" << " " << "Distans är tom. Replay 04";
        QTest::newRow("distance no number") << "distance" << "5,0" << "5,0 är inte en giltig distans. Replay 05";
        QTest::newRow("negative distance") << "distance" << "-1" << "Distans -1 är < 0. Replay 10";
        QTest::newRow("zero distance") << "distance" << "0" << "Distans är = 0. Replay 15";
        QTest::newRow("course shorter than a lap") << "shorter" << "2" << "Replay 07";
        QTest::newRow("21 laps") << "laps" << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21" << "Replay 01";
        QTest::newRow("laps not rising") << "laps" << "2 2" << "Replay 03";
        QTest::newRow("lap beyond the course") << "laps" << "3 6" << "Replay 06";
        QTest::newRow("empty lap") << "laps" << "1 ." << "Distans är tom. Replay 04";
        QTest::newRow("empty clock") << "clock" << "" << "Tid är tom. Replay 08";
        QTest::newRow("clock no number") << "clock" << "12:00" << "12:00 är inte en giltig tid. Replay 09";
        QTest::newRow("negative clock") << "clock" << "-1.00" << "Tid -1.00 är < 0. Replay 11";
        QTest::newRow("splits not rising") << "splits" << "12.00 11.00" << "Replay 02";
        QTest::newRow("split after the total") << "splits" << "12.00 26.00" << "Replay 12";
        QTest::newRow("split 0") << "splits" << "0.00 12.00" << "Tid är = 0. Replay 16";
        QTest::newRow("interpolating a split that exists") << "interpolate" << "" << "Tid 12.00 är inte tom. Replay 13";
        QTest::newRow("interpolating without total") << "nototal" << "" << "Saknar distans eller tid. Replay 14";
        QTest::newRow("step 0") << "step" << "" << "Tick = 0. Replay 18";
        QTest::newRow("positions without items") << "rank17" << "" << "Replay 17";
        QTest::newRow("positions without result") << "rank18" << "" << "Replay 18";
        QTest::newRow("speeds without items") << "rank19" << "" << "Replay 19";
        QTest::newRow("speeds without result") << "rank20" << "" << "Replay 20";
    }
    void refusals()
    {
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(QString, message);
        TReplay replay;
        setCourse(replay, QStringLiteral("5"), {QStringLiteral("2.5"), QStringLiteral("4")});
        TReplayItem item;
        item.TotalTime = QStringLiteral("25.00");
        item.Splits[0] = QStringLiteral("12.00");
        item.Splits[1] = QStringLiteral("20.00");
        QList<TReplayItem *> items{&item}, result;
        const QMap<QString, std::function<void()>> calls{
            {QStringLiteral("distance"), [&] { replay.SetCourseDistance(argument); }},
            {QStringLiteral("shorter"), [&] { replay.SetCourseDistance(argument); }},
            {QStringLiteral("laps"),
             [&] {
                 QStringList laps = argument.split(QLatin1Char(' '));
                 laps.replaceInStrings(QStringLiteral("."), QString());
                 replay.SetCourseLaps(laps);
             }},
            {QStringLiteral("clock"), [&] { replay.StateAt(argument, item); }},
            {QStringLiteral("splits"),
             [&] {
                 const QStringList splits = argument.split(QLatin1Char(' '));
                 item.Splits[0] = splits.at(0);
                 item.Splits[1] = splits.at(1);
                 replay.StateAt(QStringLiteral("1.00"), item);
             }},
            {QStringLiteral("interpolate"), [&] { replay.InterpolateSplit(0, item); }},
            {QStringLiteral("nototal"),
             [&] {
                 item.TotalTime.clear();
                 item.Splits[0].clear();
                 replay.InterpolateSplit(0, item);
             }},
            {QStringLiteral("step"), [&] { replay.IsAtSplit(QStringLiteral("1.00"), item, 0); }},
            {QStringLiteral("rank17"), [&] { replay.RankByPosition(QStringLiteral("1.00"), nullptr, &result); }},
            {QStringLiteral("rank18"), [&] { replay.RankByPosition(QStringLiteral("1.00"), &items, nullptr); }},
            {QStringLiteral("rank19"), [&] { replay.RankBySpeed(QStringLiteral("1.00"), nullptr, &result); }},
            {QStringLiteral("rank20"), [&] { replay.RankBySpeed(QStringLiteral("1.00"), &items, nullptr); }},
        };
        try {
            calls.value(operation)();
            QFAIL("EReplay expected");
        } catch (const EReplay &error) {
            QCOMPARE(QString::fromUtf8(error.what()), message);
        }
        // A refused course leaves the one set before.
        QCOMPARE(replay.CourseDistance(), QStringLiteral("5"));
    }

    // The clock: normalised arguments, the captions of every style, never
    // below 0.
    void timeLabel_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QList<int>>("set");
        QTest::addColumn<QList<int>>("sub");
        QTest::addColumn<QString>("caption");
        using S = TTimeLabel::TDisplayStyle;
        QTest::newRow("hhmmss") << int(S::hhmmss) << ":" << QList<int>{1, 2, 3} << QList<int>{0, 0, 0} << "01:02:03";
        QTest::newRow("hmmss") << int(S::hmmss) << ":" << QList<int>{1, 2, 3} << QList<int>{0, 0, 0} << "1:02:03";
        QTest::newRow("hmss") << int(S::hmss) << ":" << QList<int>{1, 2, 3} << QList<int>{0, 0, 0} << "1:2:03";
        QTest::newRow("mmss") << int(S::mmss) << "." << QList<int>{1, 2, 3} << QList<int>{0, 0, 0} << "62.03";
        QTest::newRow("mss") << int(S::mss) << "." << QList<int>{0, 5, 7} << QList<int>{0, 0, 0} << "5.07";
        QTest::newRow("mmss short") << int(S::mmss) << "." << QList<int>{0, 5, 7} << QList<int>{0, 0, 0} << "05.07";
        QTest::newRow("59 min 60 s") << int(S::mmss) << "." << QList<int>{0, 59, 60} << QList<int>{0, 0, 0} << "60.00";
        QTest::newRow("seconds carry") << int(S::hhmmss) << ":" << QList<int>{0, 0, 3725} << QList<int>{0, 0, 0} << "01:02:05";
        QTest::newRow("a day off") << int(S::hhmmss) << ":" << QList<int>{49, 0, 0} << QList<int>{0, 0, 0} << "01:00:00";
        QTest::newRow("sub") << int(S::mmss) << "." << QList<int>{0, 10, 0} << QList<int>{0, 0, 437} << "02.43";
        QTest::newRow("sub below 0") << int(S::mmss) << "." << QList<int>{0, 5, 0} << QList<int>{0, 0, 437} << "00.00";
    }
    void timeLabel()
    {
        QFETCH(int, style);
        QFETCH(QString, separator);
        QFETCH(QList<int>, set);
        QFETCH(QList<int>, sub);
        QFETCH(QString, caption);
        TTimeLabel label;
        QString told;
        label.OnChange = [&told](const QString &text) { told = text; };
        label.SetDisplayStyle(TTimeLabel::TDisplayStyle(style));
        label.SetTimeSeparator(separator);
        label.SetTime(set.at(0), set.at(1), set.at(2));
        label.SubTime(sub.at(0), sub.at(1), sub.at(2));
        QCOMPARE(label.Caption(), caption);
        QCOMPARE(told, caption);
    }

    void timeLabelArithmetic()
    {
        TTimeLabel label;
        label.SetDisplayStyle(TTimeLabel::TDisplayStyle::mmss);
        label.SetTimeSeparator(QStringLiteral("."));
        QCOMPARE(label.Caption(), QStringLiteral("00.00"));
        label.AddTime(0, 0, 437);
        label.AddTime(0, 0, 437);
        QCOMPARE(label.Caption(), QStringLiteral("14.34"));
        QVERIFY(label.IsAtMost(0, 14, 34));
        QVERIFY(!label.IsAtMost(0, 14, 33));
        QCOMPARE(label.TotalSeconds(), 874);
        label.SetTimeValue(0.5);
        QCOMPARE(label.Hours(), 12);
        QCOMPARE(label.Time(), 0.5);
        label.Clear();
        QCOMPARE(label.Caption(), QStringLiteral("00.00"));
    }

    // Loading from a real diary: the courses of the sessions found, one
    // competitor per session on a course, the bad session left out and
    // named, the stored split texts kept.
    void loadsTheSessionsOfASearch()
    {
        TAppDiary diary;
        TCorvaleApp &app = diary.App();
        const int hill = diary.AddCourse("RUN", QStringLiteral("Backen"), 5, {QStringLiteral("2.5"), QStringLiteral("4")});
        const int flat = diary.AddCourse("RUN", QStringLiteral("Slätten"), 3);
        const int good = diary.AddSession("RUN", QStringLiteral("2024-05-01"), QStringLiteral("25.00"), hill, 2);
        const int atTotal = diary.AddSession("RUN", QStringLiteral("2024-05-02"), QStringLiteral("25.00"), hill, 2);
        const int bad = diary.AddSession("RUN", QStringLiteral("2024-05-03"), QStringLiteral("25.00"), hill, 2);
        diary.AddSession("RUN", QStringLiteral("2024-05-04"), QStringLiteral("14.00"), flat);
        diary.AddSession("RUN", QStringLiteral("2024-05-05"), QStringLiteral("30.00"));
        diary.AddSession("RUN", QStringLiteral("2024-05-06"), QString(), hill, 2);
        const auto lap = [&diary](int nr, int lapNr, const char *time) {
            diary.Sql(QStringLiteral("update TrainingSessionLaps set LapTime = %1 where SessionNr = %2 and LapNr = %3")
                          .arg(QLatin1String(time))
                          .arg(nr)
                          .arg(lapNr));
        };
        lap(good, 1, "12.00");
        lap(atTotal, 1, "25.00");
        // Stored behind the entry page's back: the second split before the
        // first one.
        lap(bad, 1, "15.00");
        lap(bad, 2, "10.00");

        QStringList names;
        app.GetActivityNames(&names);
        QList<int> numbers;
        app.SearchActivities(names, TSearchParams(), numbers);
        QList<const TActivity *> activities;
        for (int i = 0; i < app.GetLoadedCount(); ++i)
            activities.append(app.GetLoadedActivity(i));
        QCOMPARE(activities.size(), 6);

        TReplay replay;
        TReplayLoad load;
        int told = 0;
        LoadReplay(replay, activities, app.GetDatabase(), app.GetCourses(), load, [&told] { ++told; });
        QCOMPARE(told, 12);
        QCOMPARE(load.CourseNrs, (QList<int>{hill, flat}));
        QCOMPARE(load.CourseTexts.size(), 2);
        QVERIFY(load.CourseTexts.at(0).contains(QStringLiteral("Backen")));
        QCOMPARE(load.LeftOut, QStringList{QStringLiteral("2024-05-03")});
        QStringList made;
        for (const auto &item : load.Items)
            made.append(item->Date + QLatin1Char('/') + item->CourseNr + QLatin1Char('/') + item->Splits.at(1));
        QCOMPARE(made, (QStringList{QStringLiteral("2024-05-01/%1/19.480").arg(hill),
                                    QStringLiteral("2024-05-02/%1/25.000").arg(hill),
                                    QStringLiteral("2024-05-04/%1/").arg(flat)}));
        // The session's own split texts are as stored.
        QStringList times, distances;
        static_cast<const TTimeDistanceActivity *>(app.FindActivity(atTotal))->GetLaps(&times, &distances);
        QCOMPARE(times, (QStringList{QStringLiteral("25.00"), QString()}));
    }
};

QTEST_GUILESS_MAIN(tst_Replay)
#include "tst_Replay.moc"
