// Lap marks of time-and-distance sessions, their split times, and sessions
// bound to a course across changes of the course, in a real diary.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ClasshieTypes.h"

#include <QtTest>

namespace
{
QStringList split(const QString &text)
{
    return text.isNull() ? QStringList() : text.split(QLatin1Char(','));
}

void exec(TDbConnection &db, const QString &sql, const QVariantList &values = {})
{
    TDbQuery query(db);
    query.Add(sql);
    for (int i = 0; i < values.size(); ++i) {
        const QString name = QStringLiteral("p%1").arg(i);
        if (values.at(i).typeId() == QMetaType::Int)
            query.SetInteger(name, values.at(i).toInt());
        else if (values.at(i).typeId() == QMetaType::Double)
            query.SetFloat(name, values.at(i).toDouble());
        else
            query.SetText(name, values.at(i).toString());
    }
    query.ExecSQL();
}

// A course of the running type; an empty distance is stored as null.
void addCourse(TDbConnection &db, int nr, const QString &place, const QString &distance, const QStringList &laps)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, CourseDistance, CourseDifficulty)"));
    query.Add(distance.isEmpty() ? QStringLiteral("values (:nr, 'RUN', :pl, null, 0)") : QStringLiteral("values (:nr, 'RUN', :pl, :d, 0)"));
    query.SetInteger(QStringLiteral("nr"), nr);
    query.SetText(QStringLiteral("pl"), place);
    if (!distance.isEmpty())
        query.SetFloat(QStringLiteral("d"), distance.toDouble());
    query.ExecSQL();
    for (int i = 0; i < laps.size(); ++i)
        exec(db, QStringLiteral("insert into CourseDescriptionLaps (CourseNr, CourseLapNr, CourseDistance) values (:p0, :p1, :p2)"),
             {nr, i + 1, laps.at(i).toDouble()});
}

std::unique_ptr<TRunning> running(TDbConnection &db, int nr)
{
    auto run = std::make_unique<TRunning>();
    run->SetDatabase(&db);
    run->SetSessionNr(nr);
    return run;
}

// Saves a running session with the marks; `course` binds it when not empty.
void saveRun(TDbConnection &db, int nr, const QString &date, const QString &distance, const QString &duration,
             const QString &course = QString(), const QStringList &times = {}, const QStringList &distances = {},
             const QString &place = QStringLiteral("Typed"))
{
    auto run = running(db, nr);
    run->SetSessionData(date, place, QString(), QString());
    run->SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    run->SetSleep(QStringLiteral("-1"), QString());
    run->SetComment(QString());
    run->SetDistance(distance);
    run->SetDuration(duration);
    run->SetCourseNr(course);
    run->SetLaps(&times, &distances);
    run->Insert();
}

std::unique_ptr<TRunning> loadRun(TDbConnection &db, int nr)
{
    auto run = running(db, nr);
    run->Load();
    return run;
}

int scalar(TDbConnection &db, const QString &sql)
{
    TDbQuery query(db);
    query.Add(sql);
    query.Open();
    return int(query.FieldAsInteger(0));
}

// Which class of lap error a call raised: "" for none.
template <class F> QString lapErrorOf(F call, QString &message)
{
    try {
        call();
    } catch (const EActivityLapsOrder &e) {
        message = e.Message();
        return QStringLiteral("Order");
    } catch (const EActivityLapsDist &e) {
        message = e.Message();
        return QStringLiteral("Dist");
    } catch (const EActivityLapsDurOrder &e) {
        message = e.Message();
        return QStringLiteral("DurOrder");
    } catch (const EActivityLapsDur &e) {
        message = e.Message();
        return QStringLiteral("Dur");
    } catch (const EActivityLapsError &e) {
        message = e.Message();
        return QStringLiteral("Laps");
    } catch (const ETimeError &e) {
        message = e.Message();
        return QStringLiteral("Time");
    }
    return QString();
}
}

class tst_Laps : public QObject
{
    Q_OBJECT

private slots:
    void setLapsChecksOrder_data()
    {
        QTest::addColumn<QString>("distances");
        QTest::addColumn<QString>("times");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("rising") << "1,2,3" << "4.00,8.30,12.30" << "3" << "12.30" << "" << "";
        QTest::newRow("gaps skipped") << "1,,2" << ",8.00,9.00" << "2.5" << "15.00" << "" << "";
        QTest::newRow("no totals") << "1,2" << "4.00,8.00" << "" << "" << "" << "";
        QTest::newRow("equal distances") << "1,2,2" << "4.00,8.00,9.00" << "5" << "15.00" << "Order" << "Classhie 16";
        QTest::newRow("falling distance after gap") << "2,,1.5" << "4.00,8.00,9.00" << "5" << "15.00" << "Order" << "Classhie 16";
        QTest::newRow("beyond distance") << "1,2,5.5" << "4.00,8.00,9.00" << "5" << "15.00" << "Dist" << "Classhie 09";
        QTest::newRow("equal times") << "1,2" << "4.00,4.00" << "5" << "15.00" << "DurOrder" << "Classhie 16";
        QTest::newRow("beyond duration") << "1,2" << "4.00,15.01" << "5" << "15.00" << "Dur" << "Classhie 09";
        QTest::newRow("distance checked first") << "2,1" << "9.00,4.00" << "5" << "15.00" << "Order" << "Classhie 16";
        QTest::newRow("counts differ") << "1,2" << "4.00" << "5" << "15.00" << "Laps" << "Classhie 10";
        QTest::newRow("bad seconds") << "1,2" << "4.00,5.60" << "5" << "15.00" << "Time" << "Ogiltig tid för sekunder (5.60)";
    }

    void setLapsChecksOrder()
    {
        QFETCH(QString, distances);
        QFETCH(QString, times);
        QFETCH(QString, total);
        QFETCH(QString, duration);
        QFETCH(QString, error);
        QFETCH(QString, message);
        TRunning run;
        run.SetDistance(total);
        run.SetDuration(duration);
        const QStringList before{QStringLiteral("0.5")};
        const QStringList beforeTimes{QStringLiteral("1.00")};
        run.SetLaps(&beforeTimes, &before);

        const QStringList d = split(distances), t = split(times);
        QString raised;
        QCOMPARE(lapErrorOf([&] { run.SetLaps(&t, &d); }, raised), error);
        QCOMPARE(raised, message);
        QStringList gotTimes, gotDistances;
        QCOMPARE(run.GetLaps(&gotTimes, &gotDistances), error.isEmpty() ? int(d.size()) : 1);
        QCOMPARE(gotDistances, error.isEmpty() ? d : before);
        QCOMPARE(gotTimes, error.isEmpty() ? t : beforeTimes);
    }

    void lapLimitsAndMissingLists()
    {
        TRunning run;
        run.SetDistance(QString());
        run.SetDuration(QString());
        QStringList distances, times;
        for (int i = 1; i <= TTimeDistanceActivity::MaxLaps; ++i) {
            distances << QString::number(i);
            times << QStringLiteral("%1.00").arg(i);
        }
        run.SetLaps(&times, &distances);
        QCOMPARE(run.LapCount(), TTimeDistanceActivity::MaxLaps);
        distances << QStringLiteral("21");
        times << QStringLiteral("21.00");
        QVERIFY_THROWS_EXCEPTION(EActivityLapsError, run.SetLaps(&times, &distances));
        QCOMPARE(run.LapCount(), TTimeDistanceActivity::MaxLaps);

        QString message;
        QCOMPARE(lapErrorOf([&] { run.SetLaps(nullptr, &distances); }, message), QStringLiteral("Laps"));
        QCOMPARE(message, QStringLiteral("Classhie 13"));
        QCOMPARE(lapErrorOf([&] { run.SetLaps(&times, nullptr); }, message), QStringLiteral("Laps"));
        QCOMPARE(message, QStringLiteral("Classhie 15"));
        QCOMPARE(lapErrorOf([&] { run.GetLaps(nullptr, &distances); }, message), QStringLiteral("Laps"));
        QCOMPARE(message, QStringLiteral("Classhie 11"));
        QCOMPARE(lapErrorOf([&] { run.GetLaps(&times, nullptr); }, message), QStringLiteral("Laps"));
        QCOMPARE(message, QStringLiteral("Classhie 12"));
    }

    void lapSpeedFromStart()
    {
        TRunning run;
        run.SetDistance(QStringLiteral("10"));
        run.SetDuration(QStringLiteral("45.00"));
        const QStringList times{QStringLiteral("4.00"), QStringLiteral("8.30")};
        const QStringList distances{QStringLiteral("1"), QStringLiteral("2")};
        run.SetLaps(&times, &distances);
        QCOMPARE(run.GetLapSpeed(1), QStringLiteral("14.12"));
        QCOMPARE(run.GetLapKmTime(1), QStringLiteral("4.15"));
        QCOMPARE(run.GetLapSpeed(2), QString());
        QCOMPARE(run.GetLapKmTime(-1), QString());
    }

    void lapTable_data()
    {
        QTest::addColumn<QString>("distances");
        QTest::addColumn<QString>("times");
        QTest::addColumn<bool>("fromStart");
        QTest::addColumn<QString>("splits");
        QTest::addColumn<QString>("speeds");
        QTest::addColumn<QString>("kmTimes");
        QTest::addColumn<QString>("timesAfter");

        QTest::newRow("lap by lap") << "1,2,3" << "4.00,8.30,12.30" << false << "4.00,4.30,4.00" << "15.00,13.33,15.00"
                                    << "4.00,4.30,4.00" << "4.00,8.30,12.30";
        QTest::newRow("from start") << "1,2,3" << "4.00,8.30,12.30" << true << "4.00,8.30,12.30" << "15.00,14.12,14.40"
                                    << "4.00,4.15,4.10" << "4.00,8.30,12.30";
        QTest::newRow("equal time cleared, lap by lap") << "1,2,3" << "4.00,4.00,9.00" << false << "4.00,,5.00"
                                                        << "15.00,,24.00" << "4.00,,2.30" << "4.00,,9.00";
        QTest::newRow("equal time cleared, from start") << "1,2,3" << "4.00,4.00,9.00" << true << "4.00,,9.00"
                                                        << "15.00,,20.00" << "4.00,,3.00" << "4.00,,9.00";
        QTest::newRow("times without distances") << ",,3" << "4.00,8.00,12.00" << false << "4.00,4.00,4.00"
                                                 << ",,45.00" << ",,1.20" << "4.00,8.00,12.00";
        QTest::newRow("mark without time skipped") << "1,2,3" << "4.00,,12.00" << false << "4.00,,8.00"
                                                   << "15.00,,15.00" << "4.00,,4.00" << "4.00,,12.00";
    }

    void lapTable()
    {
        QFETCH(QString, distances);
        QFETCH(QString, times);
        QFETCH(bool, fromStart);
        QFETCH(QString, splits);
        QFETCH(QString, speeds);
        QFETCH(QString, kmTimes);
        QFETCH(QString, timesAfter);
        const QStringList d = split(distances), t = split(times);
        TLapTable values;
        for (int i = 0; i < d.size(); ++i) {
            values[std::size_t(TTimeDistanceActivity::LapDistances + i)] = d.at(i);
            values[std::size_t(TTimeDistanceActivity::LapTimes + i)] = t.at(i);
        }
        TTimeDistanceActivity::LapTable(int(d.size()), values, fromStart);
        auto block = [&](int offset) {
            QStringList texts;
            for (int i = 0; i < d.size(); ++i)
                texts << values[std::size_t(offset + i)];
            return texts.join(QLatin1Char(','));
        };
        QCOMPARE(block(TTimeDistanceActivity::LapSplits), splits);
        QCOMPARE(block(TTimeDistanceActivity::LapSpeeds), speeds);
        QCOMPARE(block(TTimeDistanceActivity::LapKmTimes), kmTimes);
        QCOMPARE(block(TTimeDistanceActivity::LapTimes), timesAfter);
        QCOMPARE(values[std::size_t(TTimeDistanceActivity::LapSplits + d.size())], QString());
    }

    void lapTableRefusesBadInput()
    {
        TLapTable values;
        values[0] = QStringLiteral("en");
        values[20] = QStringLiteral("4.00");
        QVERIFY_THROWS_EXCEPTION(EConvertError, TTimeDistanceActivity::LapTable(1, values, false));
        values[0] = QStringLiteral("1");
        values[20] = QStringLiteral("4.75");
        QVERIFY_THROWS_EXCEPTION(ETimeError, TTimeDistanceActivity::LapTable(1, values, false));
        QVERIFY_THROWS_EXCEPTION(EActivityLapsError, TTimeDistanceActivity::LapTable(21, values, false));
    }

    void storedMarksAndBinding()
    {
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        addCourse(db, 7, QStringLiteral("Slingan"), QStringLiteral("3"), {QStringLiteral("1"), QStringLiteral("2")});
        saveRun(db, 1, QStringLiteral("2024-05-01"), QStringLiteral("9"), QStringLiteral("15.00"), QStringLiteral("7"),
                {QStringLiteral("5.00"), QStringLiteral("10.00")}, {QStringLiteral("1.5"), QStringLiteral("2.5")});
        saveRun(db, 2, QStringLiteral("2024-05-02"), QStringLiteral("5"), QStringLiteral("25.00"), QString(),
                {QString(), QStringLiteral("12.00")}, {QStringLiteral("1"), QString()});

        // The bound session takes place, distance and lap distances from
        // the course, whatever was typed.
        auto bound = loadRun(db, 1);
        QCOMPARE(bound->GetPlace(), QStringLiteral("Slingan"));
        QCOMPARE(bound->GetDistance(), QStringLiteral("3.00"));
        QCOMPARE(bound->GetCourseNr(), QStringLiteral("7"));
        QStringList times, distances;
        QCOMPARE(bound->GetLaps(&times, &distances), 2);
        QCOMPARE(distances, QStringList({QStringLiteral("1.00"), QStringLiteral("2.00")}));
        QCOMPARE(times, QStringList({QStringLiteral("5.00"), QStringLiteral("10.00")}));

        // Empty entries are stored as nulls and read back empty.
        auto free = loadRun(db, 2);
        QCOMPARE(free->GetCourseNr(), QString());
        QCOMPARE(free->GetLaps(&times, &distances), 2);
        QCOMPARE(distances, QStringList({QStringLiteral("1.00"), QString()}));
        QCOMPARE(times, QStringList({QString(), QStringLiteral("12.00")}));

        // An update rewrites marks and binding without leaving old rows.
        free->SetCourseNr(QStringLiteral("7"));
        const QStringList newTimes{QStringLiteral("6.00"), QStringLiteral("11.00")};
        const QStringList newDistances{QStringLiteral("1"), QStringLiteral("2")};
        free->SetLaps(&newTimes, &newDistances);
        free->Update();
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionLaps where SessionNr = 2")), 2);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionCourse where SessionNr = 2")), 1);
        QCOMPARE(loadRun(db, 2)->GetPlace(), QStringLiteral("Slingan"));

        // A course with another number of laps than the times is refused,
        // and the entry is left as it was.
        exec(db, QStringLiteral("insert into CourseDescriptionLaps (CourseNr, CourseLapNr, CourseDistance) values (7, 3, 2.5)"));
        auto edited = loadRun(db, 1);
        QVERIFY_THROWS_EXCEPTION(EActivityLapsError, edited->Update());
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionLaps where SessionNr = 1")), 2);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionCourse where SessionNr = 1")), 1);

        edited->Delete();
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionLaps where SessionNr = 1")), 0);
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionCourse where SessionNr = 1")), 0);
    }

    void courseChangeReachesBoundSessions_data()
    {
        QTest::addColumn<bool>("lapCountChanged");
        QTest::addColumn<QString>("newLaps");
        QTest::addColumn<QString>("expectedDistances");
        QTest::addColumn<QString>("expectedTimes");
        QTest::newRow("same count, distances moved") << false << "1.2,2.4" << "1.20,2.40" << "5.00,10.00";
        QTest::newRow("mark added, times kept") << true << "1,1.5,2" << "1.00,1.50,2.00" << "5.00,,10.00";
        QTest::newRow("distances changed, a time lost") << true << "1.2,2,3" << "1.20,2.00,3.00" << ",10.00,";
        QTest::newRow("laps removed, marks untouched") << true << "" << "1.00,2.00" << "5.00,10.00";
    }

    void courseChangeReachesBoundSessions()
    {
        QFETCH(bool, lapCountChanged);
        QFETCH(QString, newLaps);
        QFETCH(QString, expectedDistances);
        QFETCH(QString, expectedTimes);
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        addCourse(db, 7, QStringLiteral("Slingan"), QStringLiteral("3"), {QStringLiteral("1"), QStringLiteral("2")});
        for (int nr : {1, 2})
            saveRun(db, nr, QStringLiteral("2024-05-0%1").arg(nr), QString(), QStringLiteral("15.00"), QStringLiteral("7"),
                    {QStringLiteral("5.00"), QStringLiteral("10.00")}, {QString(), QString()});
        // Not bound: must keep everything.
        saveRun(db, 3, QStringLiteral("2024-05-03"), QStringLiteral("3"), QStringLiteral("15.00"), QString(),
                {QStringLiteral("5.00"), QStringLiteral("10.00")}, {QStringLiteral("1"), QStringLiteral("2")},
                QStringLiteral("Slingan"));

        auto course = running(db, 0);
        const QStringList laps = newLaps.isEmpty() ? QStringList() : newLaps.split(QLatin1Char(','));
        const int bound = lapCountChanged
            ? course->ApplyCourseLapsChange(7, QStringLiteral("Åsen"), laps, QStringLiteral("3.5"))
            : course->ApplyCourseChange(7, QStringLiteral("Åsen"), laps, QStringLiteral("3.5"));
        QCOMPARE(bound, 2);
        QVERIFY(!db.InTransaction());

        for (int nr : {1, 2}) {
            auto run = loadRun(db, nr);
            QCOMPARE(run->GetPlace(), QStringLiteral("Åsen"));
            QCOMPARE(run->GetDistance(), QStringLiteral("3.50"));
            QStringList times, distances;
            run->GetLaps(&times, &distances);
            QCOMPARE(distances.join(QLatin1Char(',')), expectedDistances);
            QCOMPARE(times.join(QLatin1Char(',')), expectedTimes);
        }
        auto other = loadRun(db, 3);
        QCOMPARE(other->GetPlace(), QStringLiteral("Slingan"));
        QCOMPARE(other->GetDistance(), QStringLiteral("3.00"));
        QStringList times, distances;
        other->GetLaps(&times, &distances);
        QCOMPARE(distances, QStringList({QStringLiteral("1.00"), QStringLiteral("2.00")}));
        QCOMPARE(times, QStringList({QStringLiteral("5.00"), QStringLiteral("10.00")}));
        QCOMPARE(scalar(db, QStringLiteral("select count(*) from TrainingSessionLaps where LapNr > 100")), 0);
    }

    void courseChangeInCallersTransaction()
    {
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        addCourse(db, 7, QStringLiteral("Slingan"), QStringLiteral("3"), {QStringLiteral("1")});
        saveRun(db, 1, QStringLiteral("2024-05-01"), QString(), QStringLiteral("15.00"), QStringLiteral("7"), {QStringLiteral("5.00")}, {QString()});
        auto course = running(db, 0);
        db.StartTransaction();
        course->ApplyCourseLapsChange(7, QStringLiteral("Åsen"), {QStringLiteral("1.5")}, QStringLiteral("4"));
        QVERIFY(db.InTransaction());
        db.Rollback();
        auto run = loadRun(db, 1);
        QCOMPARE(run->GetPlace(), QStringLiteral("Slingan"));
        QCOMPARE(run->GetDistance(), QStringLiteral("3.00"));
        QStringList times, distances;
        run->GetLaps(&times, &distances);
        QCOMPARE(distances, QStringList{QStringLiteral("1.00")});
        QCOMPARE(times, QStringList{QStringLiteral("5.00")});
    }

    // Sessions without a distance, and a course without one, are brought in
    // line with the course like every other session.
    void courseDistanceReachesEverySession_data()
    {
        QTest::addColumn<QString>("oldDistance");
        QTest::addColumn<QString>("newDistance");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none to a number") << "" << "4" << "4.00";
        QTest::newRow("a number to none") << "3" << "" << "";
        QTest::newRow("a number to another") << "3" << "4" << "4.00";
        QTest::newRow("none stays none") << "" << "" << "";
    }

    void courseDistanceReachesEverySession()
    {
        QFETCH(QString, oldDistance);
        QFETCH(QString, newDistance);
        QFETCH(QString, expected);
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        addCourse(db, 7, QStringLiteral("Slingan"), oldDistance, {});
        addCourse(db, 8, QStringLiteral("Annan"), QStringLiteral("6"), {});
        saveRun(db, 1, QStringLiteral("2024-05-01"), QString(), QStringLiteral("15.00"), QStringLiteral("7"));
        saveRun(db, 2, QStringLiteral("2024-05-01"), QString(), QStringLiteral("15.00"), QStringLiteral("8"));
        QCOMPARE(loadRun(db, 1)->GetDistance(), oldDistance.isEmpty() ? QString() : QStringLiteral("3.00"));

        auto course = running(db, 0);
        QCOMPARE(course->ApplyCourseChange(7, QStringLiteral("Slingan"), {}, newDistance), 1);
        QCOMPARE(loadRun(db, 1)->GetDistance(), expected);
        QCOMPARE(loadRun(db, 2)->GetDistance(), QStringLiteral("6.00"));
    }

    void courseStatisticsAndRecords()
    {
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        addCourse(db, 7, QStringLiteral("Slingan"), QStringLiteral("3"), {});
        addCourse(db, 8, QStringLiteral("Annan"), QStringLiteral("5"), {});
        const QStringList durations{QStringLiteral("10.00"), QStringLiteral("9.59"), QStringLiteral("12.30"),
                                    QStringLiteral("10.00"), QString(), QStringLiteral("11.00"), QStringLiteral("13.00")};
        for (int i = 0; i < durations.size(); ++i)
            saveRun(db, i + 1, QStringLiteral("2024-05-%1").arg(i + 10), QString(), durations.at(i), QStringLiteral("7"));
        saveRun(db, 20, QStringLiteral("2024-05-01"), QString(), QStringLiteral("20.00"), QStringLiteral("8"));
        saveRun(db, 21, QStringLiteral("2024-05-02"), QString(), QStringLiteral("21.00"), QStringLiteral("8"));

        auto run = running(db, 0);
        // Up to the 15th: 10.00, 9.59, 12.30, 10.00 and one without a time.
        const TCourseStats stats = run->CourseStatistics(QStringLiteral("7"), QStringLiteral("2024-05-14"));
        QCOMPARE(stats.Best, QStringLiteral("9.59"));
        QCOMPARE(stats.BestDate, QStringLiteral("2024-05-11"));
        QCOMPARE(stats.Worst, QStringLiteral("12.30"));
        QCOMPARE(stats.WorstDate, QStringLiteral("2024-05-12"));
        // (600 + 599 + 750 + 600) / 4 = 637.25 s
        QCOMPARE(stats.Average, QStringLiteral("10.37"));
        QCOMPARE(stats.Recent.size(), 4);
        QCOMPARE(stats.Recent.first().Date, QStringLiteral("2024-05-13"));
        QCOMPARE(stats.Recent.last().Duration, QStringLiteral("10.00"));

        const TCourseStats all = run->CourseStatistics(QStringLiteral("7"), QStringLiteral("2024-12-31"));
        QCOMPARE(all.Recent.size(), 5);
        QCOMPARE(all.Recent.first().Duration, QStringLiteral("13.00"));
        QCOMPARE(all.Worst, QStringLiteral("13.00"));
        QVERIFY(run->CourseStatistics(QStringLiteral("9"), QStringLiteral("2024-12-31")).Average.isEmpty());

        QCOMPARE(run->DaysSinceLastOnCourse(QStringLiteral("8"), QStringLiteral("2024-05-12")), 10);
        QCOMPARE(run->DaysSinceLastOnCourse(QStringLiteral("8"), QStringLiteral("2024-04-30")), -1);

        QList<TTDRecordItem> records;
        run->CourseRecords(records, 3);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().CourseNr, QStringLiteral("7"));
        QCOMPARE(records.first().Duration, QStringLiteral("9.59"));
        QCOMPARE(records.first().Date, QStringLiteral("2024-05-11"));
        QCOMPARE(records.first().Place, QStringLiteral("Slingan"));
        QCOMPARE(records.first().Sessions, 6);
        QCOMPARE(records.first().Speed, QStringLiteral("18.03"));
        records.clear();
        run->CourseRecords(records, 2);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.last().Duration, QStringLiteral("20.00"));
        QCOMPARE(records.last().Sessions, 2);
    }
};

QTEST_GUILESS_MAIN(tst_Laps)
#include "tst_Laps.moc"
