// The collection of diary entries in use: session numbers, saving, removing
// and the search over every activity type, against a real diary.

#include "RecordReads.h"
#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"

#include <QtTest>

namespace
{
// A diary with the built-in names registered and a collection wired to it.
struct TFixture
{
    TTestDiary diary;
    TActivityNames names;
    TActivityFactory factory;
    TPulses pulses;
    TActivities activities;

    TFixture()
    {
        names.SetDatabase(&diary.Connection());
        names.Open();
        QStringList codes;
        names.GetCodes(&codes);
        for (const QString &code : codes)
            factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
        pulses.SetDatabase(&diary.Connection());
        activities.SetActivityNames(&names);
        activities.SetFactory(&factory);
        activities.SetPulses(&pulses);
        activities.SetDatabase(&diary.Connection());
    }

    QString name(const char *code) const { return names.NameOfCode(QString::fromLatin1(code)); }

    QStringList allNames() const
    {
        QStringList list;
        names.GetNames(&list);
        return list;
    }

    // A new entry of the type, filled with the session values given.
    TActivity &add(const char *code, const QString &date, const QString &place = QString(), const QString &comment = QString(),
                   const QString &weight = QString())
    {
        const int nr = activities.NewActivity(name(code));
        TActivity &activity = *activities.Find(nr);
        activity.SetSessionData(date, place, comment, weight);
        activity.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        activity.SetSleep(QStringLiteral("-1"), QString());
        activity.SetComment(QString());
        return activity;
    }

    int save(TActivity &activity)
    {
        const int nr = activity.GetSessionNr();
        activities.Save(nr);
        return nr;
    }

    int run(const QString &date, const QString &duration, const QString &distance, const QString &place = QString(),
            const QStringList &times = {}, const QStringList &laps = {}, const char *code = "RUN")
    {
        auto &run = static_cast<TTimeDistanceActivity &>(add(code, date, place));
        run.SetDuration(duration);
        run.SetDistance(distance);
        run.SetCourseNr(QString());
        run.SetLaps(&times, &laps);
        return save(run);
    }

    int rowCount(const QString &sql)
    {
        TDbQuery query(diary.Connection());
        query.Add(sql);
        query.Open();
        return int(query.FieldAsInteger(0));
    }
};

QList<int> numbersOf(const QString &text)
{
    QList<int> list;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        list.append(part.toInt());
    return list;
}
}

class tst_Activities : public QObject
{
    Q_OBJECT

private slots:
    void newEntriesGetNumbersAboveDiaryAndMemory()
    {
        TFixture f;
        QCOMPARE(f.activities.NewActivity(f.name("RUN")), 1);
        QCOMPARE(f.activities.NewActivity(f.name("GOL")), 2);
        f.activities.Clear();
        const int stored = f.run(QStringLiteral("2024-01-01"), QStringLiteral("30.00"), QStringLiteral("5"));
        QCOMPARE(stored, 1);
        const int first = f.activities.NewActivity(f.name("TEN"));
        const int second = f.activities.NewActivity(f.name("WOR"));
        QCOMPARE(first, 2);
        QCOMPARE(second, 3);
        QCOMPARE(f.activities.Count(), 3);
        QCOMPARE(f.activities.Find(second)->GetActivityCode(), QStringLiteral("WOR"));
        QCOMPARE(f.activities.GetActivity(1)->GetSessionNr(), first);
        QCOMPARE(f.activities.Find(first)->GetState(), TActivity::TState::New);
    }

    // The next number is the diary's highest plus 1: the engine reads it
    // from the descending index of the session numbers instead of reading
    // every session.
    void theNextNumberReadsNoWholeDiary()
    {
        TFixture f;
        {
            TDbTransactionGuard transaction(f.diary.Connection());
            TDbQuery insert(f.diary.Connection());
            insert.Add(QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity, SessionPlace,"));
            insert.Add(QStringLiteral(" SessionWeather, SessionWindDir, SessionSleepQuality, SessionComment)"));
            insert.Add(QStringLiteral("values (:nr, '2024-01-01', 'DOW', ' ', -1, -1, -1, ' ')"));
            for (int nr = 1; nr <= 500; ++nr) {
                insert.SetInteger(QStringLiteral("nr"), nr * 2);
                insert.ExecSQL();
            }
            transaction.Commit();
        }
        QCOMPARE(f.activities.NewActivity(f.name("RUN")), 1001);
        f.activities.Clear();
        const qint64 reads = RecordReadsOf(f.diary.Connection(), [&] { QCOMPARE(f.activities.NewActivity(f.name("RUN")), 1001); });
        QVERIFY2(reads < 10, qPrintable(QStringLiteral("%1 records read").arg(reads)));
    }

    void lookUpErrors()
    {
        TFixture f;
        f.activities.NewActivity(f.name("RUN"));
        auto messageOf = [](auto call) {
            try {
                call();
            } catch (const EActivities &e) {
                return e.Message();
            }
            return QString();
        };
        QCOMPARE(messageOf([&] { f.activities.Find(7); }), QStringLiteral("Activities 01"));
        QCOMPARE(messageOf([&] { f.activities.GetActivity(-1); }), QStringLiteral("Activities 06"));
        QCOMPARE(messageOf([&] { f.activities.GetActivity(1); }), QStringLiteral("Activities 07"));
        TActivities bare;
        QCOMPARE(messageOf([&] { bare.NewActivity(QStringLiteral("Löpning")); }), QStringLiteral("Activities 03"));
        QList<int> numbers;
        QCOMPARE(messageOf([&] { bare.Search({}, {}, nullptr, numbers); }), QStringLiteral("Activities 04"));
    }

    void listedEntryMustBeLoadedBeforeSaving()
    {
        TFixture f;
        const int nr = f.run(QStringLiteral("2024-01-01"), QStringLiteral("30.00"), QStringLiteral("5"), QStringLiteral("Ån"));
        QList<int> numbers;
        f.activities.Search({f.name("RUN")}, {}, nullptr, numbers);
        QCOMPARE(numbers, QList<int>{nr});
        QCOMPARE(f.activities.Find(nr)->GetState(), TActivity::TState::Listed);
        QVERIFY_THROWS_EXCEPTION(EActivities, f.activities.Save(nr));

        f.activities.Load(nr);
        auto *run = static_cast<TTimeDistanceActivity *>(f.activities.Find(nr));
        QCOMPARE(run->GetState(), TActivity::TState::Stored);
        QCOMPARE(run->GetPulseList(), &f.pulses);
        run->SetDuration(QStringLiteral("29.00"));
        f.activities.Save(nr);
        f.activities.Clear();
        f.activities.Search({f.name("RUN")}, {}, nullptr, numbers);
        QCOMPARE(static_cast<TTimeDistanceActivity *>(f.activities.Find(nr))->GetDuration(), QStringLiteral("29.00"));
    }

    void removingNewEntryTouchesNoRow()
    {
        TFixture f;
        const int nr = f.activities.NewActivity(f.name("TEN"));
        // Another writer stores a session under the same number meanwhile.
        TRunning other;
        other.SetDatabase(&f.diary.Connection());
        other.SetSessionNr(nr);
        other.SetSessionData(QStringLiteral("2024-01-01"), QString(), QString(), QString());
        other.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        other.SetSleep(QStringLiteral("-1"), QString());
        other.SetComment(QString());
        other.SetDuration(QString());
        other.SetDistance(QString());
        other.SetCourseNr(QString());
        other.Insert();

        QCOMPARE(f.activities.Remove(nr), 0);
        QCOMPARE(f.activities.Count(), 0);
        QCOMPARE(f.rowCount(QStringLiteral("select count(*) from TrainingSession")), 1);
        QCOMPARE(f.rowCount(QStringLiteral("select count(*) from Running")), 1);

        // A stored entry is deleted with its rows.
        QList<int> numbers;
        f.activities.Search({f.name("RUN")}, {}, nullptr, numbers);
        QCOMPARE(f.activities.Remove(nr), 0);
        QCOMPARE(f.rowCount(QStringLiteral("select count(*) from TrainingSession")), 0);
        QVERIFY_THROWS_EXCEPTION(EActivities, f.activities.Find(nr));
    }

    void searchFilters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        // The diary: 1 running 2024-03-01 "Slottsskogen" 70 kg 45.30/10 km
        // course 5, 2 running 2024-03-05 "Delsjön" 72.5 kg 30.00 no distance,
        // 3 tennis 2024-03-02 no duration, 4 tennis 2024-03-03 60.00,
        // 5 trekking 2024-03-04 "Slottsskogen" 12 km, 6 other 2024-02-28
        // comment "ont i knät", 7 biking 2024-03-06 90.00/40 km.
        // Running comes first, then biking, tennis, trekking, other; by
        // date within a type.
        QTest::newRow("all") << "" << "" << "1,2,7,3,4,5,6";
        QTest::newRow("date from") << "DateFrom" << "2024-03-03" << "2,7,4,5";
        QTest::newRow("date to") << "DateTo" << "2024-03-02" << "1,3,6";
        QTest::newRow("place") << "Place" << "skogen" << "1,5";
        QTest::newRow("comment") << "Comment" << "knä" << "6";
        QTest::newRow("weight from") << "WeightFrom" << "71" << "2";
        QTest::newRow("weight to") << "WeightTo" << "71" << "1";
        QTest::newRow("no weight") << "WeightFrom" << "!" << "7,3,4,5,6";
        QTest::newRow("time of time types") << "TimeFrom" << "50" << "1,2,7,4,5,6";
        QTest::newRow("time missing") << "TimeFrom" << "!" << "1,2,7,3,5,6";
        QTest::newRow("time present") << "TimeFrom" << "*" << "1,2,7,4,5,6";
        QTest::newRow("td time to") << "TDTimeTo" << "45.00" << "2,3,4,5,6";
        QTest::newRow("td time from") << "TDTimeFrom" << "45.30" << "1,7,3,4,5,6";
        QTest::newRow("td distance from") << "TDDistFrom" << "20" << "7,3,4,5,6";
        QTest::newRow("td distance missing") << "TDDistFrom" << "!" << "2,3,4,5,6";
        QTest::newRow("td distance to") << "TDDistTo" << "10" << "1,3,4,5,6";
        QTest::newRow("distance types") << "DistTo" << "11" << "1,2,7,3,4,6";
        QTest::newRow("course") << "CourseId" << "5" << "1,3,4,5,6";
        QTest::newRow("nothing found") << "Place" << "Mars" << "";
    }

    void searchFilters()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        TFixture f;
        {
            TDbQuery query(f.diary.Connection());
            query.Add(QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, CourseDistance, CourseDifficulty)"));
            query.Add(QStringLiteral("values (5, 'RUN', 'Slottsskogen', 10, 0)"));
            query.ExecSQL();
        }
        auto &run1 = static_cast<TTimeDistanceActivity &>(
            f.add("RUN", QStringLiteral("2024-03-01"), QStringLiteral("Slottsskogen"), QString(), QStringLiteral("70")));
        run1.SetDuration(QStringLiteral("45.30"));
        run1.SetDistance(QStringLiteral("10"));
        run1.SetCourseNr(QStringLiteral("5"));
        f.save(run1);
        auto &run2 = static_cast<TTimeDistanceActivity &>(
            f.add("RUN", QStringLiteral("2024-03-05"), QStringLiteral("Delsjön"), QString(), QStringLiteral("72.5")));
        run2.SetDuration(QStringLiteral("30.00"));
        run2.SetDistance(QString());
        run2.SetCourseNr(QString());
        f.save(run2);
        auto &tennis3 = static_cast<TTimeActivity &>(f.add("TEN", QStringLiteral("2024-03-02")));
        tennis3.SetDuration(QString());
        f.save(tennis3);
        auto &tennis4 = static_cast<TTimeActivity &>(f.add("TEN", QStringLiteral("2024-03-03")));
        tennis4.SetDuration(QStringLiteral("60.00"));
        f.save(tennis4);
        auto &trek5 = static_cast<TDistanceActivity &>(f.add("TRE", QStringLiteral("2024-03-04"), QStringLiteral("Slottsskogen")));
        trek5.SetDistance(QStringLiteral("12"));
        f.save(trek5);
        auto &other6 = static_cast<TOther &>(f.add("OTH", QStringLiteral("2024-02-28"), QString(), QStringLiteral("ont i knät")));
        other6.SetOtherActivity(QStringLiteral("Yoga"));
        f.save(other6);
        f.run(QStringLiteral("2024-03-06"), QStringLiteral("90.00"), QStringLiteral("40"), QString(), {}, {}, "BIK");

        TSearchParams filter;
        const QHash<QString, QString *> fields{
            {QStringLiteral("DateFrom"), &filter.DateFrom},     {QStringLiteral("DateTo"), &filter.DateTo},
            {QStringLiteral("Place"), &filter.Place},           {QStringLiteral("Comment"), &filter.Comment},
            {QStringLiteral("WeightFrom"), &filter.WeightFrom}, {QStringLiteral("WeightTo"), &filter.WeightTo},
            {QStringLiteral("TimeFrom"), &filter.TimeFrom},     {QStringLiteral("TDTimeFrom"), &filter.TDTimeFrom},
            {QStringLiteral("TDTimeTo"), &filter.TDTimeTo},     {QStringLiteral("TDDistFrom"), &filter.TDDistFrom},
            {QStringLiteral("TDDistTo"), &filter.TDDistTo},     {QStringLiteral("DistTo"), &filter.DistTo},
            {QStringLiteral("CourseId"), &filter.CourseId}};
        if (!field.isEmpty())
            *fields.value(field) = value;

        const QStringList searched{f.name("RUN"), f.name("BIK"), f.name("TEN"), f.name("TRE"), f.name("OTH")};
        QStringList told;
        QList<int> numbers{99};
        f.activities.Search(searched, filter, [&](const QString &name) { told << name; }, numbers);
        QCOMPARE(told, searched);
        QCOMPARE(numbers, numbersOf(expected));
        QCOMPARE(f.activities.Count(), int(numbers.size()));
        for (int i = 0; i < numbers.size(); ++i) {
            TActivity *found = f.activities.GetActivity(i);
            QCOMPARE(found->GetSessionNr(), numbers.at(i));
            QCOMPARE(found->GetState(), TActivity::TState::Listed);
            QCOMPARE(f.activities.Find(numbers.at(i)), found);
        }
    }

    void listedCommentsKeepTheirText_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("listed");
        const QString thousand = QString(999, QLatin1Char('a')) + QStringLiteral("ö");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("short") << QStringLiteral("Lugnt, ont i knät") << QStringLiteral("Lugnt, ont i knät");
        QTest::newRow("two lines") << QStringLiteral("Rad ett\r\nRad två") << QStringLiteral("Rad ett  Rad två");
        QTest::newRow("1000 characters") << thousand << thousand;
        QTest::newRow("1001 characters") << thousand + QStringLiteral("b") << thousand + QStringLiteral("b");
        QTest::newRow("5000 characters over lines")
            << QString(2500, QChar(0x00e5)) + QStringLiteral("\n") + QString(2499, QLatin1Char('z'))
            << QString(2500, QChar(0x00e5)) + QStringLiteral(" ") + QString(2499, QLatin1Char('z'));
    }

    // The list shows a session's comment on one line, however long it is.
    void listedCommentsKeepTheirText()
    {
        QFETCH(QString, comment);
        QFETCH(QString, listed);
        TFixture f;
        TActivity &tennis = f.add("TEN", QStringLiteral("2024-03-02"), QString(), comment);
        static_cast<TTimeActivity &>(tennis).SetDuration(QStringLiteral("60.00"));
        const int nr = f.save(tennis);
        f.activities.Clear();
        QList<int> numbers;
        f.activities.Search({f.name("TEN")}, {}, nullptr, numbers);
        QCOMPARE(numbers, QList<int>{nr});
        QCOMPARE(f.activities.Find(nr)->GetSessionComment(), listed);
    }

    void searchOverNoNamesFindsNothing()
    {
        TFixture f;
        f.run(QStringLiteral("2024-01-01"), QStringLiteral("30.00"), QStringLiteral("5"));
        QList<int> numbers{1};
        f.activities.Search({}, {}, nullptr, numbers);
        QVERIFY(numbers.isEmpty());
        QCOMPARE(f.activities.Count(), 0);
    }

    void searchRefusesBadFilterBeforeQuerying_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("date from") << "DateFrom" << "2024-02-30";
        QTest::newRow("date to") << "DateTo" << "igår";
        QTest::newRow("time from") << "TimeFrom" << "10.75";
        QTest::newRow("time to special") << "TimeTo" << "!";
        QTest::newRow("td time from") << "TDTimeFrom" << "abc";
        QTest::newRow("td time to") << "TDTimeTo" << "5.61";
        QTest::newRow("td distance from") << "TDDistFrom" << "tio";
        QTest::newRow("td distance to special") << "TDDistTo" << "*";
        QTest::newRow("strokes from") << "StrokesFrom" << "x";
        QTest::newRow("strokes to") << "StrokesTo" << "7o";
        QTest::newRow("course") << "CourseId" << "5.5";
    }

    void searchRefusesBadFilterBeforeQuerying()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        TFixture f;
        f.activities.NewActivity(f.name("RUN"));
        TSearchParams filter;
        const QHash<QString, QString *> fields{
            {QStringLiteral("DateFrom"), &filter.DateFrom},       {QStringLiteral("DateTo"), &filter.DateTo},
            {QStringLiteral("TimeFrom"), &filter.TimeFrom},       {QStringLiteral("TimeTo"), &filter.TimeTo},
            {QStringLiteral("TDTimeFrom"), &filter.TDTimeFrom},   {QStringLiteral("TDTimeTo"), &filter.TDTimeTo},
            {QStringLiteral("TDDistFrom"), &filter.TDDistFrom},   {QStringLiteral("TDDistTo"), &filter.TDDistTo},
            {QStringLiteral("StrokesFrom"), &filter.StrokesFrom}, {QStringLiteral("StrokesTo"), &filter.StrokesTo},
            {QStringLiteral("CourseId"), &filter.CourseId}};
        *fields.value(field) = value;
        int told = 0;
        QList<int> numbers;
        bool refused = false;
        try {
            f.activities.Search(f.allNames(), filter, [&](const QString &) { ++told; }, numbers);
        } catch (const EConvertError &) {
            refused = true;
        } catch (const ETimeError &) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(told, 0);
        QCOMPARE(f.activities.Count(), 0);
    }

    void marksAfterSearchEqualMarksLoadedOneByOne()
    {
        TFixture f;
        f.run(QStringLiteral("2024-01-01"), QStringLiteral("50.00"), QStringLiteral("10"), QString(),
              {QStringLiteral("4.00"), QString(), QStringLiteral("14.10")}, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
        f.run(QStringLiteral("2024-01-02"), QStringLiteral("50.00"), QStringLiteral("10"));
        f.run(QStringLiteral("2024-01-03"), QStringLiteral("60.00"), QStringLiteral("30"), QString(),
              {QStringLiteral("10.00"), QStringLiteral("20.00")}, {QStringLiteral("5"), QStringLiteral("10")}, "BIK");
        auto &tennis = static_cast<TTimeActivity &>(f.add("TEN", QStringLiteral("2024-01-04")));
        tennis.SetDuration(QStringLiteral("60.00"));
        f.save(tennis);
        f.run(QStringLiteral("2024-01-05"), QStringLiteral("50.00"), QStringLiteral("10"), QString(),
              {QStringLiteral("5.00"), QStringLiteral("9.59")}, {QString(), QStringLiteral("2.5")});
        f.run(QStringLiteral("2024-01-06"), QStringLiteral("50.00"), QStringLiteral("10"), QString(),
              {QStringLiteral("6.00")}, {QStringLiteral("1")});

        for (const QString &dateFrom : {QString(), QStringLiteral("2024-01-03")}) {
            TSearchParams filter;
            filter.DateFrom = dateFrom;
            QList<int> numbers;
            f.activities.Search(f.allNames(), filter, nullptr, numbers);
            int compared = 0;
            for (int nr : numbers) {
                auto *found = dynamic_cast<TTimeDistanceActivity *>(f.activities.Find(nr));
                if (!found)
                    continue;
                TRunning single;
                single.SetDatabase(&f.diary.Connection());
                single.SetSessionNr(nr);
                single.LoadLaps();
                QStringList times, distances, singleTimes, singleDistances;
                found->GetLaps(&times, &distances);
                single.GetLaps(&singleTimes, &singleDistances);
                QCOMPARE(times, singleTimes);
                QCOMPARE(distances, singleDistances);
                ++compared;
            }
            QCOMPARE(compared, dateFrom.isEmpty() ? 5 : 3);
        }
        QStringList times, distances;
        static_cast<TTimeDistanceActivity *>(f.activities.Find(5))->GetLaps(&times, &distances);
        QCOMPARE(distances, QStringList({QString(), QStringLiteral("2.50")}));
        QCOMPARE(times, QStringList({QStringLiteral("5.00"), QStringLiteral("9.59")}));
    }
};

QTEST_GUILESS_MAIN(tst_Activities)
#include "tst_Activities.moc"
