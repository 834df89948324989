// The personal records of real diaries: the fastest session per course,
// the heaviest lift per exercise within the repetition limits, the counts
// of sessions, the limits themselves, and the same records as the
// statement-per-exercise loops give on a sample diary.

#include "RecordsDiary.h"
#include "SampleDiary.h"

#include "analysis/PersonalRecords.h"
#include "foundation/CorvaleExceptions.h"
#include "model/ActFactory.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace RecordsDiary;

namespace
{
// The records engine on the application object's parts.
void attach(TPersonalRecords &records, TCorvaleApp &app)
{
    records.SetDatabase(&app.GetDatabase());
    records.SetFactory(&app.GetFactory());
    records.SetNames(&app.GetActivityNameList());
    records.SetExercises(&app.GetExercises());
    records.SetPrograms(&app.GetExercisePrograms());
}

QStringList courseTexts(const QList<TTDRecordItem> &records)
{
    QStringList texts;
    for (const TTDRecordItem &r : records)
        texts.append(QStringList{r.Date, r.Activity, r.Place, r.Distance, r.Duration, r.Speed, r.KmTime,
                                 QString::number(r.Sessions)}
                         .join(QLatin1Char(' ')));
    return texts;
}

// Exercise, date, place, program, weight, reps and count of each record.
QStringList strengthTexts(const QList<TWRecordItem> &records)
{
    QStringList texts;
    for (const TWRecordItem &r : records)
        texts.append(QStringList{r.Exercise, r.Date, r.Place, r.Program, r.Weight, r.Reps, r.Count}.join(QLatin1Char('|')));
    return texts;
}

QString recordsError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EPersonalRecordsError &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

TStrengthCandidate candidate(int nr, const char *date, const char *weight)
{
    TStrengthCandidate c;
    c.SessionNr = nr;
    c.Date = QLatin1String(date);
    c.Weight = QLatin1String(weight);
    return c;
}
} // namespace

class tst_PersonalRecords : public QObject
{
    Q_OBJECT

    // The diary of the repetition filter: basic exercise k (slot k) holds
    // one lift of 100 kg with the repetitions of the k-th text below.
    std::unique_ptr<TAppDiary> m_filterDiary;
    const QStringList m_filterReps{"3x10", "2x12", "3x", "", "x", "4X8", " 3 x 8 "};

private slots:
    void initTestCase()
    {
        m_filterDiary = std::make_unique<TAppDiary>();
        QList<TLift> lifts;
        for (int k = 1; k <= m_filterReps.size(); ++k)
            lifts.append({k, QStringLiteral("100"), QStringLiteral("3x10")});
        const int nr = addWorkout(*m_filterDiary, QStringLiteral("2024-03-01"), QStringLiteral("Gym"), -1, lifts);
        // The texts as an older diary may hold them, past the entry's
        // normalising.
        for (int k = 1; k <= m_filterReps.size(); ++k)
            m_filterDiary->Sql(QStringLiteral("update Workout set WoRep%1 = '%2' where WoNr = %3").arg(k).arg(m_filterReps.at(k - 1)).arg(nr));
    }

    void cleanupTestCase() { m_filterDiary.reset(); }

    // The fastest of the sessions on a course, counted over all of them;
    // sessions without a course never take part, and two identical
    // sessions both count.
    void courseRecords_data()
    {
        QTest::addColumn<int>("recordNum");
        QTest::addColumn<QStringList>("records");
        // 10 km in 44 min 10 s: 13.58 km/h, 4 min 25 s a kilometre.
        const QString fastest = QStringLiteral("2024-02-01 Löpning Hemma 10.00 44.10 13.58 4.25 3");
        const QString twins = QStringLiteral("2024-06-01 Löpning Hemma 10.00 50.00 12.00 5.00 2");
        QTest::newRow("every course") << 0 << QStringList{fastest, twins};
        QTest::newRow("one session") << 1 << QStringList{fastest, twins};
        QTest::newRow("two sessions") << 2 << QStringList{fastest, twins};
        QTest::newRow("three sessions") << 3 << QStringList{fastest};
        QTest::newRow("four sessions") << 4 << QStringList{};
    }

    void courseRecords()
    {
        QFETCH(int, recordNum);
        QFETCH(QStringList, records);
        TAppDiary diary;
        const int track = diary.AddCourse("RUN", QStringLiteral("Hemma"), 10);
        diary.AddSession("RUN", QStringLiteral("2024-01-01"), QStringLiteral("45.30"), track);
        diary.AddSession("RUN", QStringLiteral("2024-02-01"), QStringLiteral("44.10"), track);
        diary.AddSession("RUN", QStringLiteral("2024-03-01"), QStringLiteral("46.00"), track);
        // Faster than any, but bound to no course.
        diary.AddSession("RUN", QStringLiteral("2024-04-01"), QStringLiteral("30.00"));
        const int loop = diary.AddCourse("RUN", QStringLiteral("Hemma"), 10);
        diary.AddSession("RUN", QStringLiteral("2024-06-01"), QStringLiteral("50.00"), loop);
        diary.AddSession("RUN", QStringLiteral("2024-06-01"), QStringLiteral("50.00"), loop);

        TPersonalRecords engine;
        attach(engine, diary.App());
        engine.SetLimits(recordNum, 0, 0, 1);
        QList<TTDRecordItem> courses{TTDRecordItem{}};
        QList<TWRecordItem> strength{TWRecordItem{}};
        QStringList searched;
        engine.Search(courses, strength, [&](const QString &name) { searched.append(name); });
        QCOMPARE(courseTexts(courses), records);
        QVERIFY(strength.isEmpty());
        // Every time-and-distance activity and the strength workout are
        // told, in the names' order, nothing else.
        QStringList names;
        diary.App().GetActivityNames(&names);
        QVERIFY(searched.contains(diary.Name("RUN")));
        QVERIFY(searched.contains(diary.Name("WOR")));
        QVERIFY(!searched.contains(diary.Name("GOL")));
        QVERIFY(!searched.contains(diary.Name("TEN")));
        for (qsizetype i = 1; i < searched.size(); ++i)
            QVERIFY(names.indexOf(searched.at(i - 1)) < names.indexOf(searched.at(i)));
    }

    // A lift counts when its repetitions reach both limits; with both
    // limits 0 every lift counts, one without repetitions included.
    void repetitionFilter_data()
    {
        QTest::addColumn<int>("sets");
        QTest::addColumn<int>("reps");
        QTest::addColumn<QStringList>("qualifying"); // the reps texts of the lifts that count
        QStringList every;
        for (const QString &reps : m_filterReps)
            every.append(reps.trimmed());
        QTest::newRow("no limits") << 0 << 0 << every;
        QTest::newRow("3 sets of 8") << 3 << 8 << QStringList{"3x10", "4X8", "3 x 8"};
        QTest::newRow("3 sets of 10") << 3 << 10 << QStringList{"3x10"};
        QTest::newRow("3 sets") << 3 << 0 << QStringList{"3x10", "4X8", "3 x 8"};
        QTest::newRow("12 repetitions") << 0 << 12 << QStringList{"2x12"};
        QTest::newRow("5 sets") << 5 << 1 << QStringList{};
    }

    void repetitionFilter()
    {
        QFETCH(int, sets);
        QFETCH(int, reps);
        QFETCH(QStringList, qualifying);
        TPersonalRecords engine;
        attach(engine, m_filterDiary->App());
        engine.SetLimits(1, sets, reps, 1);
        QList<TTDRecordItem> courses;
        QList<TWRecordItem> strength;
        engine.Search(courses, strength);
        QStringList found;
        for (const TWRecordItem &record : strength) {
            const qsizetype slot = TWorkout::BasicExerciseNames().indexOf(record.Exercise);
            QVERIFY(slot >= 0);
            QCOMPARE(record.Weight, QStringLiteral("100.0"));
            QCOMPARE(record.Count, QStringLiteral("1"));
            found.append(m_filterReps.at(slot).trimmed());
        }
        QCOMPARE(found, qualifying);
    }

    // The walk over the candidates: loads as numbers, the later date of
    // equal loads, a lift without a load only until one with a load won.
    void bestCandidate_data()
    {
        QTest::addColumn<QList<TStrengthCandidate>>("candidates");
        QTest::addColumn<int>("best");
        QTest::newRow("none") << QList<TStrengthCandidate>{} << -1;
        QTest::newRow("numbers, not texts")
            << QList<TStrengthCandidate>{candidate(1, "2024-01-01", "95.5"), candidate(2, "2024-01-02", "100.0"),
                                         candidate(3, "2024-01-03", "9.0")}
            << 1;
        QTest::newRow("equal loads: the later date")
            << QList<TStrengthCandidate>{candidate(1, "2024-03-01", "80.0"), candidate(2, "2024-01-01", "80.0"),
                                         candidate(3, "2024-05-01", "80.0"), candidate(4, "2024-04-01", "80.0")}
            << 2;
        QTest::newRow("equal loads and dates: the first")
            << QList<TStrengthCandidate>{candidate(1, "2024-03-01", "80.0"), candidate(2, "2024-03-01", "80.0")} << 0;
        QTest::newRow("a load wins over a later lift without one")
            << QList<TStrengthCandidate>{candidate(1, "2024-01-01", ""), candidate(2, "2024-02-01", "20.0"),
                                         candidate(3, "2024-09-01", "")}
            << 1;
        QTest::newRow("without loads: the latest")
            << QList<TStrengthCandidate>{candidate(1, "2024-02-01", ""), candidate(2, "2024-06-01", ""),
                                         candidate(3, "2024-04-01", "")}
            << 1;
        QTest::newRow("a load of 0 is a load")
            << QList<TStrengthCandidate>{candidate(1, "2024-06-01", ""), candidate(2, "2024-01-01", "0.0")} << 1;
    }

    void bestCandidate()
    {
        QFETCH(QList<TStrengthCandidate>, candidates);
        QFETCH(int, best);
        QCOMPARE(TPersonalRecords::BestCandidate(candidates), best);
    }

    // Program exercises over every program that holds them, in every slot
    // that holds them, and the basic exercises of workouts without a
    // program; identical workouts count each.
    void strengthRecords_data()
    {
        QTest::addColumn<int>("recordWNum");
        QTest::addColumn<QStringList>("records");
        const QString bench = QStringLiteral("Bänkpress|2024-05-01|Gym|Tung|100.0|5x5|4");
        const QString squat = QStringLiteral("Knäböj|2024-02-01|Gym|Lätt|90.0|3x8|2");
        const QString row = QStringLiteral("Rodd|2024-07-01|Hemma|Tung||3x12|2");
        const QString chest = QStringLiteral("Bröst1|2024-08-01|Ute||60.0|3x10|2");
        const QString situps = QStringLiteral("Situps|2024-08-02|Ute|||3x30|1");
        QTest::newRow("once") << 1 << QStringList{bench, squat, row, chest, situps};
        QTest::newRow("twice") << 2 << QStringList{bench, squat, row, chest};
        QTest::newRow("five times") << 5 << QStringList{};
    }

    void strengthRecords()
    {
        QFETCH(int, recordWNum);
        QFETCH(QStringList, records);
        TAppDiary diary;
        // The list's order is the names' order: Bänkpress, Knäböj, Marklyft,
        // Rodd.
        const qint32 bench = addExercise(diary, QStringLiteral("Bänkpress"));
        const qint32 squat = addExercise(diary, QStringLiteral("Knäböj"));
        addExercise(diary, QStringLiteral("Marklyft")); // in no program
        const qint32 row = addExercise(diary, QStringLiteral("Rodd"));
        // "Lätt" holds the squat in slotValues 1 and 3; "Tung" holds the bench
        // press in slot 1.
        const qint32 light = addProgram(diary, QStringLiteral("Lätt"), {squat, bench, squat});
        const qint32 heavy = addProgram(diary, QStringLiteral("Tung"), {bench, row});
        const QString gym = QStringLiteral("Gym");

        // Bench press: 100 kg twice, the later in "Tung"; lighter in "Lätt".
        addWorkout(diary, QStringLiteral("2024-01-01"), gym, light, {{1, "70", "3x8"}, {2, "95", "3x8"}, {3, "80", "3x8"}});
        // The later slot of the squat is the heavier one.
        addWorkout(diary, QStringLiteral("2024-02-01"), gym, light, {{1, "60", "3x8"}, {2, "100", "3x5"}, {3, "90", "3x8"}});
        addWorkout(diary, QStringLiteral("2024-05-01"), gym, heavy, {{1, "100", "5x5"}});
        addWorkout(diary, QStringLiteral("2024-04-01"), gym, heavy, {{1, "97.5", "5x5"}});
        // Rowing without a load in two identical workouts: both count.
        addWorkout(diary, QStringLiteral("2024-07-01"), QStringLiteral("Hemma"), heavy, {{2, "", "3x12"}});
        addWorkout(diary, QStringLiteral("2024-07-01"), QStringLiteral("Hemma"), heavy, {{2, "", "3x12"}});
        // Without a program: two identical workouts and sit-ups once.
        addWorkout(diary, QStringLiteral("2024-08-01"), QStringLiteral("Ute"), -1, {{1, "60", "3x10"}});
        addWorkout(diary, QStringLiteral("2024-08-01"), QStringLiteral("Ute"), -1, {{1, "60", "3x10"}});
        addWorkout(diary, QStringLiteral("2024-08-02"), QStringLiteral("Ute"), -1, {{15, "", "3x30"}});

        TPersonalRecords engine;
        attach(engine, diary.App());
        engine.SetLimits(1, 0, 0, recordWNum);
        QList<TTDRecordItem> courses;
        QList<TWRecordItem> strength;
        engine.Search(courses, strength);
        QCOMPARE(strengthTexts(strength), records);
        QVERIFY(courses.isEmpty());
    }

    // A negative limit is refused with the id of the first one, and the
    // limits stay as they were.
    void limits_data()
    {
        QTest::addColumn<QList<int>>("limits");
        QTest::addColumn<QString>("error");
        QTest::newRow("all zero") << QList<int>{0, 0, 0, 0} << QString();
        QTest::newRow("record count") << QList<int>{-1, 0, 0, 0} << QStringLiteral("Personal Records 05");
        QTest::newRow("sets") << QList<int>{0, -1, 0, 0} << QStringLiteral("Personal Records 06");
        QTest::newRow("repetitions") << QList<int>{0, 0, -2, 0} << QStringLiteral("Personal Records 07");
        QTest::newRow("workout count") << QList<int>{0, 0, 0, -1} << QStringLiteral("Personal Records 08");
        QTest::newRow("the first of two") << QList<int>{5, -1, -1, 7} << QStringLiteral("Personal Records 06");
    }

    void limits()
    {
        QFETCH(QList<int>, limits);
        QFETCH(QString, error);
        TPersonalRecords engine;
        engine.SetLimits(2, 3, 8, 4);
        QCOMPARE(recordsError([&] { engine.SetLimits(limits[0], limits[1], limits[2], limits[3]); }), error);
        const QList<int> kept{engine.RecordNum(), engine.RecordSets(), engine.RecordReps(), engine.RecordWNum()};
        QCOMPARE(kept, error.isEmpty() ? limits : (QList<int>{2, 3, 8, 4}));
    }

    // A search needs every part; the lists are emptied.
    void missingParts()
    {
        TAppDiary diary;
        TCorvaleApp &app = diary.App();
        const QList<std::pair<QString, std::function<void(TPersonalRecords &)>>> drops{
            {QStringLiteral("Personal Records 01"), [](TPersonalRecords &r) { r.SetNames(nullptr); }},
            {QStringLiteral("Personal Records 02"), [](TPersonalRecords &r) { r.SetFactory(nullptr); }},
            {QStringLiteral("Personal Records 03"), [](TPersonalRecords &r) { r.SetExercises(nullptr); }},
            {QStringLiteral("Personal Records 04"), [](TPersonalRecords &r) { r.SetPrograms(nullptr); }},
            {QStringLiteral("Personal Records 09"), [](TPersonalRecords &r) { r.SetDatabase(nullptr); }},
        };
        for (const auto &[error, drop] : drops) {
            TPersonalRecords engine;
            attach(engine, app);
            drop(engine);
            QList<TTDRecordItem> courses;
            QList<TWRecordItem> strength;
            QCOMPARE(recordsError([&] { engine.Search(courses, strength); }), error);
        }
        // Repetitions whose parts are no numbers stop the search; nothing
        // half found is left in the lists.
        const int nr = addWorkout(diary, QStringLiteral("2024-03-01"), QStringLiteral("Gym"), -1, {{2, "50", "3x10"}});
        diary.Sql(QStringLiteral("update Workout set WoRep2 = 'tre x tio' where WoNr = %1").arg(nr));
        diary.AddSession("RUN", QStringLiteral("2024-01-01"), QStringLiteral("45.30"), diary.AddCourse("RUN", QStringLiteral("Hemma"), 10));
        TPersonalRecords engine;
        attach(engine, app);
        engine.SetLimits(1, 3, 8, 1);
        QList<TTDRecordItem> courses{TTDRecordItem{}};
        QList<TWRecordItem> strength{TWRecordItem{}};
        QVERIFY_THROWS_EXCEPTION(EConvertError, engine.Search(courses, strength));
        QVERIFY(courses.isEmpty());
        QVERIFY(strength.isEmpty());
    }

    // On a sample diary of years of training the records are those of one
    // statement per exercise, program and slot, and per basic slot.
    void agreesWithStatementLoops()
    {
        TAppDiary diary;
        TSampleDiaryOptions options;
        options.Entries = 900;
        options.Years = 4;
        options.End = QDate(2024, 12, 31);
        SampleDiary::Fill(diary.Db(), options);
        TCorvaleApp &app = diary.App();
        app.GetExercises().LoadExercises();
        app.GetExercisePrograms().LoadPrograms();

        for (const QList<int> &limits : {QList<int>{1, 0, 0, 1}, QList<int>{3, 3, 8, 5}}) {
            TPersonalRecords engine;
            attach(engine, app);
            engine.SetLimits(limits[0], limits[1], limits[2], limits[3]);
            QList<TTDRecordItem> courses;
            QList<TWRecordItem> strength;
            engine.Search(courses, strength);

            // The loops, one statement each.
            QList<TTDRecordItem> loopCourses;
            QStringList names;
            app.GetActivityNames(&names);
            for (const QString &name : names) {
                std::unique_ptr<TActivity> activity = app.CreateActivity(name);
                if (activity->Family() == TActivityFamily::TimeDistance)
                    static_cast<TTimeDistanceActivity &>(*activity).CourseRecords(loopCourses, limits[0]);
            }
            QList<TWRecordItem> loopStrength;
            TWorkout workout;
            workout.SetDatabase(&app.GetDatabase());
            QList<qint32> exerciseIds, programIds;
            QStringList exerciseNames;
            app.GetExercises().GetExercises(exerciseIds, exerciseNames);
            app.GetExercisePrograms().GetAllProgramIds(programIds);
            for (qsizetype i = 0; i < exerciseIds.size(); ++i) {
                QList<TWRecordItem> found;
                for (const qint32 program : programIds) {
                    const TProgramExercises slotValues = app.GetExercisePrograms().GetProgramExercises(program);
                    for (int k = 0; k < ProgramSlotCount; ++k) {
                        if (slotValues[std::size_t(k)].trimmed() == QString::number(exerciseIds.at(i)))
                            workout.ProgramRecords(found, exerciseNames.at(i), limits[2], limits[1], program, QString::number(k + 1));
                    }
                }
                QList<TStrengthCandidate> candidates;
                for (const TWRecordItem &item : found)
                    candidates.append({int(candidates.size()), item.Date, item.Place, item.Program, item.Weight, item.Reps});
                const int best = TPersonalRecords::BestCandidate(candidates);
                if (best >= 0 && found.size() >= limits[3]) {
                    TWRecordItem record = found.at(best);
                    record.Count = QString::number(found.size());
                    loopStrength.append(record);
                }
            }
            workout.FreeRecords(loopStrength, limits[1], limits[3], limits[2]);

            QVERIFY(courses.size() > 3);
            QVERIFY(strength.size() > 3);
            QCOMPARE(courseTexts(courses), courseTexts(loopCourses));
            QCOMPARE(strengthTexts(strength), strengthTexts(loopStrength));
        }
    }
};

QTEST_MAIN(tst_PersonalRecords)
#include "tst_PersonalRecords.moc"
