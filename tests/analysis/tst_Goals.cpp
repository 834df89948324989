// The goals and their register against a real diary: how the period is
// split into points and where a session lands, the sums of sessions,
// distances and durations, the weight curve, the share of fulfilled
// points, the checks of a goal's values and the round trip through the
// table Goal.

#include "reference/AppDiary.h"

#include "analysis/Goal.h"
#include "analysis/Goals.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieTypes.h"

#include <QtTest>

namespace
{
// A saved session of the activity code on the date; a time-and-distance
// session with the duration and distance given, any session with the
// weight given. Returns its session number.
int addSession(TAppDiary &diary, const char *code, const QString &date, const QString &duration = QString(),
               const QString &distance = QString(), const QString &weight = QString())
{
    TCorvaleApp &app = diary.App();
    const int nr = app.NewActivity(diary.Name(code));
    TActivity &session = *app.FindActivity(nr);
    session.SetSessionData(date, QStringLiteral("Skogen"), QString(), weight);
    session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    session.SetSleep(QStringLiteral("-1"), QString());
    session.SetComment(QString());
    if (auto *timed = dynamic_cast<TTimeDistanceActivity *>(&session)) {
        timed->SetDuration(duration);
        timed->SetDistance(distance);
        timed->SetCourseNr(QString());
        const QStringList none;
        timed->SetLaps(&none, &none);
    }
    app.SaveActivity(nr);
    return nr;
}

// A goal of the type made and given its values as the window gives them.
qint32 makeGoal(TAppDiary &diary, int type, const char *code, const QString &from, const QString &to,
                quint8 amountType = 0, const QString &amount = QStringLiteral("1"))
{
    TGoals &goals = diary.App().GetGoals();
    const qint32 nr = goals.AddGoal(QStringLiteral("Mål"), type);
    goals.SetGoalValues(nr, diary.Name(code), QString(), amountType, amount, to, from);
    return nr;
}

QString text2(double value)
{
    return TTulloUtilString::FormatFixed(2, value);
}
}

class tst_Goals : public QObject
{
    Q_OBJECT

private slots:
    void periods_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("checkedTo");
        QTest::addColumn<QStringList>("points");
        QTest::newRow("a week of two days") << 0 << "2021-03-01" << "2021-03-02" << "2021-03-08" << QStringList{"2021-03-01"};
        QTest::newRow("four weeks and a day") << 0 << "2021-03-01" << "2021-03-29" << "2021-03-29"
                                              << QStringList{"2021-03-01", "2021-03-08", "2021-03-15", "2021-03-22"};
        QTest::newRow("week: to before from") << 0 << "2021-03-10" << "2021-03-01" << "2021-03-17"
                                              << QStringList{"2021-03-10"};
        QTest::newRow("month from 31 January") << 1 << "2021-01-31" << "2021-02-15" << "2021-02-28"
                                               << QStringList{"2021-01-31"};
        QTest::newRow("month from 31 January, leap year") << 1 << "2024-01-31" << "2024-02-15" << "2024-02-29"
                                                          << QStringList{"2024-01-31"};
        // Each point a month after the one before: once February has
        // clamped the day, the 28th stays.
        QTest::newRow("months drift to the 28th")
            << 1 << "2021-01-31" << "2021-05-31" << "2021-05-31"
            << QStringList{"2021-01-31", "2021-02-28", "2021-03-28", "2021-04-28", "2021-05-28"};
        QTest::newRow("month: to on from") << 1 << "2021-06-15" << "2021-06-15" << "2021-07-15" << QStringList{"2021-06-15"};
    }

    // The checks may move the to date; the follow-up has one point per week
    // or calendar month that starts before the to date.
    void periods()
    {
        QFETCH(int, type);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, checkedTo);
        QFETCH(QStringList, points);
        TAppDiary diary;
        const qint32 nr = makeGoal(diary, type, "RUN", from, to);
        TGoals &goals = diary.App().GetGoals();
        QCOMPARE(goals.GetGoalItem(nr).ToDate, checkedTo);
        const TGoalFollowUpItem followUp = goals.GetFollowUp(nr);
        QCOMPARE(followUp.Dates, points);
        QCOMPARE(followUp.Count, int(points.size()));
        QCOMPARE(followUp.Values, QList<double>(points.size(), 0.0));
        QCOMPARE(followUp.Success, 0);
    }

    // Every session of the goal's activity in the period counts in the
    // point it falls in, the one on the to date in the last; sessions of
    // other activities and outside the period do not count.
    void sessionsLandInTheirPoints()
    {
        TAppDiary diary;
        for (const char *date : {"2021-02-28", "2021-03-01", "2021-03-07", "2021-03-22", "2021-03-29", "2021-03-30"})
            addSession(diary, "RUN", QString::fromLatin1(date), QStringLiteral("30.00"), QStringLiteral("5"));
        addSession(diary, "BIK", QStringLiteral("2021-03-08"), QStringLiteral("60.00"), QStringLiteral("30"));
        const qint32 nr = makeGoal(diary, 0, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("2021-03-29"), 0,
                                   QStringLiteral("2"));
        const TGoalFollowUpItem followUp = diary.App().GetGoals().GetFollowUp(nr);
        QCOMPARE(followUp.Values, (QList<double>{2, 0, 0, 2}));
        QCOMPARE(followUp.Percents, (QList<qint32>{100, 0, 0, 100}));
        QCOMPARE(followUp.HighestValue, 2.0);
        QCOMPARE(followUp.LowestValue, 0.0);
        QCOMPARE(followUp.Success, 50);

        // The month goal of the drifting points: 30 March is in the point
        // of 28 March.
        const qint32 month = makeGoal(diary, 1, "RUN", QStringLiteral("2021-01-31"), QStringLiteral("2021-04-27"));
        QCOMPARE(diary.App().GetGoals().GetFollowUp(month).Values, (QList<double>{0, 4, 2}));
    }

    // Distances and durations are summed per point; a duration sum in
    // seconds shows as minutes with the seconds as decimals.
    void sumsOfDistanceAndTime()
    {
        TAppDiary diary;
        addSession(diary, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("45.40"), QStringLiteral("25"));
        addSession(diary, "RUN", QStringLiteral("2021-03-03"), QStringLiteral("44.50"), QStringLiteral("15"));
        addSession(diary, "RUN", QStringLiteral("2021-03-08"), QStringLiteral("100.00"), QStringLiteral("50"));
        addSession(diary, "RUN", QStringLiteral("2021-03-16"), QStringLiteral("30.00"), QStringLiteral("60"));
        TGoals &goals = diary.App().GetGoals();

        // 40, 50 and 60 km against 50 km.
        const qint32 distance = makeGoal(diary, 0, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("2021-03-22"), 1,
                                         QStringLiteral("50"));
        TGoalFollowUpItem followUp = goals.GetFollowUp(distance);
        QCOMPARE(followUp.Values, (QList<double>{40, 50, 60}));
        QCOMPARE(followUp.Percents, (QList<qint32>{80, 100, 100}));
        QCOMPARE(followUp.Success, 67);
        QCOMPARE(followUp.HighestValue, 60.0);
        QCOMPARE(followUp.LowestValue, 40.0);

        // 45 min 40 s and 44 min 50 s are 5430 seconds: 90 min 30 s.
        const qint32 time = makeGoal(diary, 0, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("2021-03-22"), 2,
                                     QStringLiteral("90"));
        followUp = goals.GetFollowUp(time);
        QCOMPARE(text2(followUp.Values.at(0)), QStringLiteral("90.30"));
        QCOMPARE(text2(followUp.Values.at(1)), QStringLiteral("100.00"));
        QCOMPARE(text2(followUp.Values.at(2)), QStringLiteral("30.00"));
        QCOMPARE(followUp.Percents, (QList<qint32>{100, 100, 33}));
        QCOMPARE(text2(GoalMinutesSeconds(5430)), QStringLiteral("90.30"));
        QCOMPARE(text2(GoalMinutesSeconds(59)), QStringLiteral("0.59"));
    }

    // Every weighing of the period is a point, whatever the activity; the
    // percent is the goal's weight over the weighed one.
    void weightGoal()
    {
        TAppDiary diary;
        addSession(diary, "BLO", QStringLiteral("2021-03-02"), {}, {}, QStringLiteral("82"));
        addSession(diary, "RUN", QStringLiteral("2021-03-05"), QStringLiteral("30.00"), QStringLiteral("5"),
                   QStringLiteral("79.5"));
        addSession(diary, "RUN", QStringLiteral("2021-03-06"), QStringLiteral("30.00"), QStringLiteral("5"));
        addSession(diary, "BLO", QStringLiteral("2021-05-01"), {}, {}, QStringLiteral("70"));
        const qint32 nr = makeGoal(diary, 2, "BLO", QStringLiteral("2021-03-01"), QStringLiteral("2021-04-01"), 0,
                                   QStringLiteral("80"));
        const TGoalFollowUpItem followUp = diary.App().GetGoals().GetFollowUp(nr);
        QCOMPARE(followUp.Dates, (QStringList{"2021-03-02", "2021-03-05"}));
        QCOMPARE(followUp.Values, (QList<double>{82, 79.5}));
        QCOMPARE(followUp.Percents, (QList<qint32>{97, 100}));
        QCOMPARE(followUp.Success, 50);
        QCOMPARE(followUp.HighestValue, 82.0);
        QCOMPARE(followUp.LowestValue, 79.5);
    }

    void share_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("share");
        QTest::newRow("two of three") << 2 << 3 << 67;
        QTest::newRow("one of three") << 1 << 3 << 33;
        QTest::newRow("12.5 to the even 12") << 1 << 8 << 12;
        QTest::newRow("37.5 to the even 38") << 3 << 8 << 38;
        QTest::newRow("62.5 to the even 62") << 5 << 8 << 62;
        QTest::newRow("half") << 1 << 2 << 50;
        QTest::newRow("all") << 7 << 7 << 100;
        QTest::newRow("no points") << 0 << 0 << 0;
    }

    // The share of fulfilled points is rounded to the nearest whole
    // percent, halves to the even one.
    void share()
    {
        QFETCH(int, part);
        QFETCH(int, count);
        QFETCH(int, share);
        QCOMPARE(GoalShareRounded(part, count), share);
    }

    // One of eight weekly points fulfilled: 12.5 % is shown as 12.
    void successRoundsHalfToEven()
    {
        TAppDiary diary;
        addSession(diary, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("30.00"), QStringLiteral("5"));
        const qint32 nr = makeGoal(diary, 0, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("2021-04-26"));
        const TGoalFollowUpItem followUp = diary.App().GetGoals().GetFollowUp(nr);
        QCOMPARE(followUp.Count, 8);
        QCOMPARE(followUp.Success, 12);
    }

    void refusedValues_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("amountType");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("error");
        const QString from = QStringLiteral("2021-03-01"), to = QStringLiteral("2021-04-01");
        QTest::newRow("from no date") << 0 << "RUN" << 0 << "1" << "2021-02-30" << to << "Goal 01";
        QTest::newRow("from empty") << 0 << "RUN" << 0 << "1" << "" << to << "Goal 01";
        QTest::newRow("to no date") << 1 << "RUN" << 0 << "1" << from << "april" << "Goal 02";
        QTest::newRow("amount no number") << 0 << "RUN" << 0 << "tio" << from << to << "Goal 14";
        QTest::newRow("amount 0.5") << 0 << "RUN" << 0 << "0.5" << from << to << "Goal 25";
        QTest::newRow("amount 10000") << 1 << "RUN" << 0 << "10000" << from << to << "Goal 26";
        QTest::newRow("time of a distance activity") << 0 << "TRE" << 2 << "60" << from << to << "Goal 15";
        QTest::newRow("distance of a time activity") << 1 << "TEN" << 1 << "10" << from << to << "Goal 16";
        QTest::newRow("distance of a game") << 0 << "SOC" << 1 << "10" << from << to << "Goal 17";
        QTest::newRow("weight of a run") << 2 << "RUN" << 0 << "80" << from << to << "Goal 04";
        QTest::newRow("weight as distance") << 2 << "BLO" << 1 << "80" << from << to << "Goal 08";
    }

    // A refused value raises its error and leaves the goal as it was,
    // activity object included.
    void refusedValues()
    {
        QFETCH(int, type);
        QFETCH(QString, code);
        QFETCH(int, amountType);
        QFETCH(QString, amount);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, error);
        TAppDiary diary;
        TGoals &goals = diary.App().GetGoals();
        const qint32 nr = goals.AddGoal(QStringLiteral("Mål"), type);
        goals.SetGoalValues(nr, diary.Name("BLO"), QStringLiteral("Före"), 0, QStringLiteral("70"),
                            QStringLiteral("2020-02-10"), QStringLiteral("2020-01-01"));
        const TGoalItem before = goals.GetGoalItem(nr);
        QString raised;
        try {
            goals.SetGoalValues(nr, diary.Name(code.toLatin1().constData()), QStringLiteral("Efter"), quint8(amountType), amount,
                                to, from);
        } catch (const EGoals &e) {
            raised = e.Message();
        }
        QCOMPARE(raised, error);
        const TGoalItem after = goals.GetGoalItem(nr);
        QCOMPARE(after.ActivityName, before.ActivityName);
        QCOMPARE(after.FromDate, before.FromDate);
        QCOMPARE(after.ToDate, before.ToDate);
        QCOMPARE(after.Amount, before.Amount);
        QCOMPARE(after.Comment, QStringLiteral("Före"));
    }

    // The limits themselves pass: 1 and 9999; an empty amount counts as 1.
    void amountLimits()
    {
        TAppDiary diary;
        TGoals &goals = diary.App().GetGoals();
        const qint32 nr = goals.AddGoal(QStringLiteral("Mål"), 0);
        for (const char *amount : {"1", "9999", ""}) {
            goals.SetGoalValues(nr, diary.Name("RUN"), QString(), 0, QString::fromLatin1(amount), QStringLiteral("2021-04-01"),
                                QStringLiteral("2021-03-01"));
            QCOMPARE(goals.GetGoalItem(nr).Amount, *amount ? QString::fromLatin1(amount) : QStringLiteral("1"));
        }
    }

    // A new goal: the next number, the cleaned name, the weighing as its
    // activity and a period of a month (a week for a week goal) from today.
    void newGoals()
    {
        TAppDiary diary;
        TGoals &goals = diary.App().GetGoals();
        const QDate today = QDate::currentDate();
        QCOMPARE(goals.AddGoal(QStringLiteral("Mil&a\tper\nvecka\r"), 0), 1);
        QCOMPARE(goals.AddGoal(QStringLiteral("   "), 1), 2);
        QCOMPARE(goals.AddGoal(QString(70, QLatin1Char('v')), 2), 3);
        goals.DeleteGoal(3);
        QCOMPARE(goals.AddGoal(QStringLiteral("Fyra"), 0), 4);
        TIntegerList numbers;
        QStringList names;
        goals.GetGoals(&numbers, &names);
        QCOMPARE(numbers.Values(), (QList<qint32>{1, 2, 3, 4}));
        QCOMPARE(names, (QStringList{"Mila per vecka", "X", QString(60, QLatin1Char('v')), "Fyra"}));
        QVERIFY(goals.IsGoalDeleted(3));
        const TGoalItem week = goals.GetGoalItem(1);
        QCOMPARE(week.ActivityName, QStringLiteral("Viktmätning"));
        QCOMPARE(week.FromDate, today.toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(week.ToDate, today.addDays(7).toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(week.Amount, QStringLiteral("1"));
        QCOMPARE(week.AmountType, quint8(0));
        QCOMPARE(goals.GetGoalItem(2).ToDate, today.addMonths(1).toString(QStringLiteral("yyyy-MM-dd")));

        QString error;
        try {
            goals.AddGoal(QStringLiteral("Fem"), 3);
        } catch (const EGoals &e) {
            error = e.Message();
        }
        QCOMPARE(error, QStringLiteral("Goals 02"));
        try {
            goals.RenameGoal(99, QStringLiteral("Nej"));
        } catch (const EGoals &e) {
            error = e.Message();
        }
        QCOMPARE(error, QStringLiteral("Goals 01"));
        // A goal made here has no activity object until it gets its values.
        try {
            goals.GetFollowUp(1);
        } catch (const EGoals &e) {
            error = e.Message();
        }
        QCOMPARE(error, QStringLiteral("Goal 23"));
    }

    // Goals written to the table come back with their values; a rename and
    // a deletion reach the table at the next apply. A goal read back has no
    // activity object until it is given its values again.
    void storageRoundTrip()
    {
        TAppDiary diary;
        TGoals &goals = diary.App().GetGoals();
        const qint32 week = goals.AddGoal(QStringLiteral("Löpning i vår"), 0);
        goals.SetGoalValues(week, diary.Name("RUN"), QStringLiteral("Tre pass i veckan, även på påsklovet."), 0,
                            QStringLiteral("3"), QStringLiteral("2021-05-31"), QStringLiteral("2021-03-01"));
        const qint32 weight = goals.AddGoal(QStringLiteral("Vikt"), 2);
        goals.SetGoalValues(weight, diary.Name("BLO"), QString(), 0, QStringLiteral("79.5"), QStringLiteral("2021-12-31"),
                            QStringLiteral("2021-01-01"));
        const qint32 month = goals.AddGoal(QStringLiteral("Mil"), 1);
        goals.SetGoalValues(month, diary.Name("SKI"), QString(), 1, QStringLiteral("100"), QStringLiteral("2021-03-31"),
                            QStringLiteral("2021-01-01"));
        QVERIFY(goals.HasChanges());
        goals.ApplyGoals();
        QVERIFY(!goals.HasChanges());
        QCOMPARE(diary.Column(QStringLiteral("select GoalNr from Goal order by GoalNr")), (QStringList{"1", "2", "3"}));

        goals.LoadGoals();
        QVERIFY(!goals.HasChanges());
        TGoalItem item = goals.GetGoalItem(week);
        QCOMPARE(item.Name, QStringLiteral("Löpning i vår"));
        QCOMPARE(item.ActivityName, diary.Name("RUN"));
        QCOMPARE(item.GoalType, quint8(0));
        QCOMPARE(item.FromDate, QStringLiteral("2021-03-01"));
        QCOMPARE(item.ToDate, QStringLiteral("2021-05-31"));
        QCOMPARE(item.Amount, QStringLiteral("3.00"));
        QCOMPARE(item.Comment, QStringLiteral("Tre pass i veckan, även på påsklovet."));
        item = goals.GetGoalItem(weight);
        QCOMPARE(item.GoalType, quint8(2));
        QCOMPARE(item.Amount, QStringLiteral("79.50"));
        QCOMPARE(item.Comment, QString());
        item = goals.GetGoalItem(month);
        QCOMPARE(item.GoalType, quint8(1));
        QCOMPARE(item.ActivityName, diary.Name("SKI"));
        QCOMPARE(item.AmountType, quint8(1));
        QString error;
        try {
            goals.GetFollowUp(week);
        } catch (const EGoals &e) {
            error = e.Message();
        }
        QCOMPARE(error, QStringLiteral("Goal 23"));

        // The same values given again, as the window gives them with the
        // amount as typed, are no change.
        goals.SetGoalValues(week, diary.Name("RUN"), QStringLiteral("Tre pass i veckan, även på påsklovet."), 0,
                            QStringLiteral("3"), QStringLiteral("2021-05-31"), QStringLiteral("2021-03-01"));
        QVERIFY(!goals.HasChanges());
        goals.SetGoalValues(week, diary.Name("RUN"), QStringLiteral("Tre pass i veckan, även på påsklovet."), 0,
                            QStringLiteral("4"), QStringLiteral("2021-05-31"), QStringLiteral("2021-03-01"));
        QVERIFY(goals.HasChanges());
        goals.RenameGoal(month, QStringLiteral("Tio mil"));
        goals.DeleteGoal(weight);
        goals.ApplyGoals();
        QCOMPARE(diary.Column(QStringLiteral("select GoalName from Goal order by GoalNr")),
                 (QStringList{"Löpning i vår", "Tio mil"}));
        QCOMPARE(diary.Column(QStringLiteral("select GoalAmount from Goal where GoalNr = 1")), QStringList{"4.00"});
        TIntegerList numbers;
        QStringList names;
        goals.GetGoals(&numbers, &names);
        QCOMPARE(numbers.Values(), (QList<qint32>{1, 3}));
    }

    // A row of an unknown type is refused and the goals in memory stay.
    void unknownStoredType()
    {
        TAppDiary diary;
        TGoals &goals = diary.App().GetGoals();
        goals.AddGoal(QStringLiteral("Kvar"), 0);
        diary.Sql(QStringLiteral("insert into Goal (GoalNr, GoalName, ActivityShortName, GoalType, GoalFromDate, GoalToDate, "
                                 "GoalAmount, GoalAmountType, GoalComment) values (7, 'Fel', 'RUN', 3, '2021-01-01', "
                                 "'2021-02-01', 1, 0, ' ')"));
        QString error;
        try {
            goals.LoadGoals();
        } catch (const EGoals &e) {
            error = e.Message();
        }
        QCOMPARE(error, QStringLiteral("Goals 04"));
        QCOMPARE(goals.GoalCount(), 1);
        QCOMPARE(goals.GetGoalItem(1).Name, QStringLiteral("Kvar"));
    }

    // The follow-up reads the diary each time: an entry saved or removed
    // since is counted or gone at the next follow-up.
    void followUpReadsTheDiaryAnew()
    {
        TAppDiary diary;
        const qint32 nr = makeGoal(diary, 0, "RUN", QStringLiteral("2021-03-01"), QStringLiteral("2021-03-15"));
        TGoals &goals = diary.App().GetGoals();
        QCOMPARE(goals.GetFollowUp(nr).Values, (QList<double>{0, 0}));
        const int session = addSession(diary, "RUN", QStringLiteral("2021-03-09"), QStringLiteral("30.00"), QStringLiteral("5"));
        QCOMPARE(goals.GetFollowUp(nr).Values, (QList<double>{0, 1}));
        diary.App().RemoveActivity(session);
        QCOMPARE(goals.GetFollowUp(nr).Values, (QList<double>{0, 0}));
    }
};

QTEST_GUILESS_MAIN(tst_Goals)
#include "tst_Goals.moc"
