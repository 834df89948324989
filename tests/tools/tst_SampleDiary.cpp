// The sample diary generator against real diaries: every entry it writes
// loads back through the activities collection, the rows follow the diary's
// storage conventions, the same seed gives the same diary, and a diary that
// already holds entries is left alone.

#include "DiaryDatabase.h"
#include "SampleDiary.h"
#include "TestDiary.h"

#include "foundation/SettingsFiles.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/types.h>

namespace
{
const QDate sampleEnd(2023, 12, 31);

TSampleDiaryOptions options(int entries, int years, quint64 seed)
{
    TSampleDiaryOptions result;
    result.Entries = entries;
    result.Years = years;
    result.Seed = seed;
    result.End = sampleEnd;
    return result;
}

int scalar(TDbConnection &database, const QString &statement)
{
    TDbQuery query(database);
    query.Add(statement);
    query.Open();
    TDbQueryCloser closer(query);
    return query.Eof() ? -1 : int(query.FieldAsInteger(0));
}

// Every row of every table of the diary as text, the rows of a table sorted,
// so that two diaries compare whatever order the engine returns rows in.
QStringList dump(TDbConnection &database)
{
    QStringList tables;
    {
        TDbQuery query(database);
        query.Add(QStringLiteral("select rdb$relation_name from rdb$relations where rdb$system_flag = 0 order by 1"));
        query.Open();
        for (; !query.Eof(); query.Next())
            tables.append(query.FieldAsText(0).trimmed());
        query.Close();
    }
    QStringList lines;
    for (const QString &table : tables) {
        TDbQuery query(database);
        query.Add(QStringLiteral("select * from ") + table);
        query.Open();
        QStringList rows;
        for (; !query.Eof(); query.Next()) {
            QStringList fields;
            for (int i = 0; i < query.FieldCount(); ++i)
                fields.append(query.FieldIsNull(i) ? QStringLiteral("<null>") : query.FieldAsText(i));
            rows.append(fields.join(QLatin1Char('|')));
        }
        query.Close();
        rows.sort();
        lines.append(QStringLiteral("== %1 (%2)").arg(table).arg(rows.size()));
        lines.append(rows);
    }
    return lines;
}

// The program's view of a diary: names and classes registered, the
// registers loaded, a collection wired to it as the application object does.
struct TProgramView
{
    TActivityNames names;
    TActivityFactory factory;
    TPulses pulses;
    TExercises exercises;
    TExercisePrograms programs;
    TActivities activities;
    QStringList displayNames;

    explicit TProgramView(TDbConnection &database)
    {
        names.SetDatabase(&database);
        names.Open();
        QStringList codes;
        names.GetCodes(&codes);
        for (const QString &code : codes)
            factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
        names.GetNames(&displayNames);
        pulses.SetDatabase(&database);
        pulses.LoadPulses();
        exercises.SetExercisePrograms(&programs);
        programs.SetExercises(&exercises);
        exercises.SetDatabase(&database);
        programs.SetDatabase(&database);
        exercises.LoadExercises();
        programs.LoadPrograms();
        activities.SetActivityNames(&names);
        activities.SetFactory(&factory);
        activities.SetPulses(&pulses);
        activities.SetExercisePrograms(&programs);
        activities.SetDatabase(&database);
    }
};

struct TToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

QString user()
{
    return QString::fromLatin1(DiaryDatabase::DefaultUser);
}

QString password()
{
    return QString::fromLatin1(DiaryDatabase::DefaultPassword);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A number read through a connection of its own, closed again.
int scalarIn(const QString &path, const QString &statement)
{
    static int serial = 0;
    TDbConnection database(QStringLiteral("sample-check-%1").arg(++serial));
    database.SetDatabaseName(path);
    database.Params() = {QStringLiteral("USER_NAME=") + user(), QStringLiteral("PASSWORD=") + password()};
    database.Open();
    return scalar(database, statement);
}

TToolRun runTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TERNVALL_SAMPLE_TOOL), arguments);
    TToolRun run;
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
}

class tst_SampleDiary : public QObject
{
    Q_OBJECT

private:
    // 300 entries over three years, made once and only read by the tests.
    std::unique_ptr<TTestDiary> m_diary;

private slots:
    void initTestCase()
    {
        m_diary = std::make_unique<TTestDiary>();
        int reported = 0;
        SampleDiary::Fill(m_diary->Connection(), options(300, 3, 5), [&reported](int stored, int total) {
            QCOMPARE(total, 300);
            reported = stored;
        });
        QCOMPARE(reported, 300);
    }

    void everyTypeIsThere()
    {
        QCOMPARE(scalar(m_diary->Connection(), QStringLiteral("select count(*) from TrainingSession")), 300);
        QStringList codes;
        TDbQuery query(m_diary->Connection());
        query.Add(QStringLiteral("select distinct SessionActivity from TrainingSession order by 1"));
        query.Open();
        for (; !query.Eof(); query.Next())
            codes.append(query.FieldAsText(0).trimmed());
        query.Close();
        QStringList expected = TActivityNames::DefaultCodes();
        expected.sort();
        QCOMPARE(codes, expected);
    }

    // What the program does with a diary: search every type, then complete
    // each entry found from the diary. The lap marks read back must pass the
    // checks of a new entry again.
    void everyEntryLoadsBack()
    {
        TProgramView view(m_diary->Connection());
        QList<int> numbers;
        view.activities.Search(view.displayNames, TSearchParams(), {}, numbers);
        QCOMPARE(numbers.size(), 300);
        QStringList failures;
        int withLaps = 0, bound = 0;
        for (int number : std::as_const(numbers)) {
            try {
                view.activities.Load(number);
                TActivity *activity = view.activities.Find(number);
                QCOMPARE(activity->GetState(), TActivity::TState::Stored);
                if (auto *timed = dynamic_cast<TTimeDistanceActivity *>(activity)) {
                    QStringList times, distances;
                    if (timed->GetLaps(&times, &distances) > 0) {
                        timed->SetLaps(&times, &distances);
                        ++withLaps;
                    }
                    if (!timed->GetCourseNr().isEmpty())
                        ++bound;
                }
            } catch (const std::exception &e) {
                failures.append(QStringLiteral("%1: %2").arg(number).arg(QString::fromUtf8(e.what())));
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QVERIFY(withLaps > 0);
        QVERIFY(bound > 0);
    }

    // Statements that count rows breaking a rule of the diary; each must find
    // none.
    void followsTheDiarysRules_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("texts are a blank, never null")
            << "select count(*) from TrainingSession where SessionPlace is null or SessionComment is null";
        QTest::newRow("unset enumerations are -1")
            << "select count(*) from TrainingSession where SessionWeather is null or SessionWindDir is null"
               " or SessionSleepQuality is null or SessionWeather not between -1 and 13"
               " or SessionWindDir not between -1 and 8 or SessionSleepQuality not between -1 and 2";
        QTest::newRow("game performance -1..4")
            << "select (select count(*) from Floorball where Performance is null or Performance not between -1 and 4)"
               " + (select count(*) from Soccer where Performance is null or Performance not between -1 and 4)"
               " + (select count(*) from IceHockey where Performance is null or Performance not between -1 and 4)"
               " from rdb$database";
        const struct
        {
            const char *code, *table, *key;
        } types[] = {{"RUN", "Running", "Nr"},       {"BIK", "Biking", "Nr"},        {"SKI", "Skiing", "Nr"},
                     {"SWI", "Swimming", "Nr"},      {"INL", "Inlines", "Nr"},       {"TEN", "Tennis", "Nr"},
                     {"SKA", "Skating", "Nr"},       {"SPI", "Spinning", "Nr"},      {"AER", "Aerobics", "Nr"},
                     {"DAN", "Dance", "Nr"},         {"CAR", "Cardio", "Nr"},        {"FLO", "Floorball", "Nr"},
                     {"SOC", "Soccer", "Nr"},        {"HOC", "IceHockey", "Nr"},     {"TRE", "Trekking", "Nr"},
                     {"CAN", "Canoeing", "Nr"},      {"OTH", "Other", "OtherNr"},    {"CAM", "CardioMeasure", "Nr"},
                     {"GOL", "Golf", "GolfNr"},      {"WOR", "Workout", "WoNr"}};
        for (const auto &type : types) {
            QTest::addRow("%s has its row in %s", type.code, type.table)
                << QStringLiteral("select count(*) from TrainingSession s where SessionActivity = '%1' and not exists"
                                  " (select 1 from %2 t where t.%3 = s.SessionNr)")
                       .arg(QLatin1String(type.code), QLatin1String(type.table), QLatin1String(type.key));
        }
        for (const char *table : {"Running", "Biking", "Skiing", "Swimming", "Inlines"}) {
            QTest::addRow("marks within the %s session", table)
                << QStringLiteral("select count(*) from TrainingSessionLaps l join %1 t on t.Nr = l.SessionNr"
                                  " where l.LapDistance > t.Distance or l.LapTime > t.Duration")
                       .arg(QLatin1String(table));
        }
        QTest::newRow("marks rise")
            << "select count(*) from TrainingSessionLaps a join TrainingSessionLaps b"
               " on b.SessionNr = a.SessionNr and b.LapNr = a.LapNr + 1"
               " where b.LapDistance <= a.LapDistance or b.LapTime <= a.LapTime";
        QTest::newRow("2 to 20 marks a session")
            << "select count(*) from (select count(*) as marks from TrainingSessionLaps group by SessionNr) x"
               " where x.marks < 2 or x.marks > 20";
        QTest::newRow("bound sessions are at their course")
            << "select count(*) from TrainingSessionCourse b join TrainingSession s on s.SessionNr = b.SessionNr"
               " join CourseDescription c on c.CourseNr = b.CourseNr"
               " where s.SessionPlace <> c.CoursePlace or s.SessionActivity <> c.CourseActivity";
        QTest::newRow("bound sessions have the course's marks")
            << "select count(*) from TrainingSessionCourse b where"
               " (select count(*) from TrainingSessionLaps l where l.SessionNr = b.SessionNr)"
               " <> (select count(*) from CourseDescriptionLaps c where c.CourseNr = b.CourseNr)";
        QTest::newRow("golf cards have 18 holes")
            << "select count(*) from Golf g where (select count(*) from GolfHole h where h.GolfNr = g.GolfNr) <> 18";
        QTest::newRow("pulse rows name an interval")
            << "select count(*) from TrainingSessionPulse p where not exists (select 1 from Pulse q where q.PulseId = p.PulseId)";
        QTest::newRow("pulse intervals only on time-and-distance sessions")
            << "select count(*) from TrainingSessionPulse p join TrainingSession s on s.SessionNr = p.SessionNr"
               " where s.SessionActivity not in ('RUN', 'BIK', 'SKI', 'SWI', 'INL')";
        QTest::newRow("pulse shares add up to 100")
            << "select count(*) from (select sum(PulseValue) as total from TrainingSessionPulse group by SessionNr) x"
               " where x.total <> 100";
        QTest::newRow("workouts follow stored programs")
            << "select count(*) from WorkoutExercisePrograms w where not exists"
               " (select 1 from ExercisePrograms p where p.ExProgId = w.ExProgId)";
        QTest::newRow("golf only in the golf season")
            << "select count(*) from TrainingSession where SessionActivity = 'GOL'"
               " and extract(month from SessionDate) not between 4 and 10";
        QTest::newRow("snow sports only in winter")
            << "select count(*) from TrainingSession where SessionActivity in ('SKI', 'DOW', 'SKA')"
               " and extract(month from SessionDate) between 5 and 10";
        QTest::newRow("dates within the three years")
            << "select count(*) from TrainingSession where SessionDate < '2021-01-01' or SessionDate > '2023-12-31'";
        QTest::newRow("weighings carry the weight")
            << "select count(*) from TrainingSession where SessionActivity = 'BLO' and SessionWeight is null";
    }

    void followsTheDiarysRules()
    {
        QFETCH(QString, statement);
        QCOMPARE(scalar(m_diary->Connection(), statement), 0);
    }

    // What a real diary has somewhere: each statement must find some rows.
    void looksLikeARealDiary_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("empty places") << "select count(*) from TrainingSession where SessionPlace = ' '";
        QTest::newRow("places reused") << "select count(*) from (select SessionPlace from TrainingSession"
                                          " where SessionActivity = 'RUN' group by SessionPlace having count(*) > 5) x";
        QTest::newRow("no weight") << "select count(*) from TrainingSession where SessionWeight is null";
        QTest::newRow("no weather") << "select count(*) from TrainingSession where SessionWeather = -1";
        QTest::newRow("weather") << "select count(*) from TrainingSession where SessionWeather >= 0 and SessionTemperature is not null";
        QTest::newRow("comments") << "select count(*) from TrainingSession where SessionComment <> ' '";
        QTest::newRow("pulse intervals") << "select count(*) from TrainingSessionPulse";
        QTest::newRow("sessions on courses") << "select count(*) from TrainingSessionCourse";
        QTest::newRow("courses described") << "select count(*) from CourseDescriptionText";
        QTest::newRow("long lap series") << "select count(*) from TrainingSessionLaps where LapNr >= 10";
        QTest::newRow("golf cards") << "select count(*) from GolfHole where GolfHoleStroke is not null";
        QTest::newRow("workouts on a program") << "select count(*) from WorkoutExercisePrograms";
        QTest::newRow("workouts without one")
            << "select count(*) from Workout w where not exists (select 1 from WorkoutExercisePrograms p where p.WoNr = w.WoNr)";
        QTest::newRow("loads") << "select count(*) from Workout where WoEx1 is not null";
        QTest::newRow("body measures") << "select count(*) from CardioMeasure where Waist is not null";
    }

    void looksLikeARealDiary()
    {
        QFETCH(QString, statement);
        QVERIFY(scalar(m_diary->Connection(), statement) > 0);
    }

    void sameSeedSameDiary()
    {
        TTestDiary first, second, other;
        SampleDiary::Fill(first.Connection(), options(120, 2, 11));
        SampleDiary::Fill(second.Connection(), options(120, 2, 11));
        SampleDiary::Fill(other.Connection(), options(120, 2, 12));
        const QStringList content = dump(first.Connection());
        QCOMPARE(dump(second.Connection()), content);
        QVERIFY(dump(other.Connection()) != content);
    }

    // Asked again, the generator refuses and writes nothing; with Force it
    // adds entries numbered on and reuses the registers and the sample
    // courses it finds.
    void leavesADiaryWithEntriesAlone()
    {
        TTestDiary diary;
        TDbConnection &database = diary.Connection();
        SampleDiary::Fill(database, options(40, 1, 3));
        const QStringList before = dump(database);
        QVERIFY_THROWS_EXCEPTION(ESampleDiaryNotEmpty, SampleDiary::Fill(database, options(40, 1, 4)));
        QCOMPARE(dump(database), before);

        TSampleDiaryOptions more = options(25, 1, 4);
        more.Force = true;
        SampleDiary::Fill(database, more);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from TrainingSession")), 65);
        QCOMPARE(scalar(database, QStringLiteral("select max(SessionNr) from TrainingSession")), 65);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from Pulse")), 5);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from Exercises")), 18);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from ExercisePrograms")), 5);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from CourseDescription")), 12);
        QVERIFY(scalar(database, QStringLiteral("select max(CourseNr) from TrainingSessionCourse")) <= 12);
        QVERIFY(scalar(database, QStringLiteral("select count(*) from TrainingSessionCourse where SessionNr > 40")) > 0);
        TProgramView view(database);
        QList<int> numbers;
        view.activities.Search(view.displayNames, TSearchParams(), {}, numbers);
        QCOMPARE(numbers.size(), 65);
    }

    // A diary file is filled through a copy beside it: while the fill runs,
    // the diary itself is untouched and locked against the program, the copy
    // has its forced writes off; a fill that fails leaves the diary byte for
    // byte as it was, and a complete one puts the copy in its place with
    // forced writes on.
    void fillsThroughACopy()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Corvale2.gdb");
        const QString copy = SampleDiary::FillCopyPath(path);
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        const QByteArray before = contents(path);
        QVERIFY(!before.isEmpty());

        bool checked = false;
        const auto stopAtFive = [&](int stored, int) {
            if (stored == 1) {
                QVERIFY(contents(path) == before);
                QVERIFY(!DiaryDatabase::ForcedWrites(copy, user(), password()));
                TDbConnection program(QStringLiteral("sample-fill-program"));
                program.SetDatabaseName(path);
                program.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
                try {
                    program.Open();
                } catch (const EDbClientError &e) {
                    checked = e.OpenFailure() == TDbOpenFailure::InUse;
                }
            }
            if (stored == 5)
                throw EException(QStringLiteral("stopped"));
        };
        QVERIFY_THROWS_EXCEPTION(EException, SampleDiary::FillFile(path, user(), password(), options(20, 1, 9), stopAtFive));
        QVERIFY(checked);
        QVERIFY(contents(path) == before);
        QVERIFY(!QFileInfo::exists(copy));

        SampleDiary::FillFile(path, user(), password(), options(20, 1, 9));
        QVERIFY(!QFileInfo::exists(copy));
        QVERIFY(DiaryDatabase::ForcedWrites(path, user(), password()));
        QCOMPARE(scalarIn(path, QStringLiteral("select count(*) from TrainingSession")), 20);

        // Asked again, it refuses and the diary stays as it is.
        const QByteArray filled = contents(path);
        QVERIFY_THROWS_EXCEPTION(ESampleDiaryNotEmpty, SampleDiary::FillFile(path, user(), password(), options(20, 1, 9)));
        QVERIFY(contents(path) == filled);
        QVERIFY(!QFileInfo::exists(copy));
    }

    // The command killed in the middle of a fill leaves the diary byte for
    // byte as it was, forced writes on; the next fill clears what the killed
    // one left beside it and fills the diary.
    void aKilledFillLeavesTheDiaryAsItWas_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGKILL") << int(SIGKILL);
        QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGTERM (kill)") << int(SIGTERM);
    }

    void aKilledFillLeavesTheDiaryAsItWas()
    {
        QFETCH(int, signal);
        TTestFolders folders;
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale2.gdb");
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        const QByteArray before = contents(path);

        QProcess process;
        process.start(QStringLiteral(TERNVALL_SAMPLE_TOOL),
                      {QStringLiteral("--database"), path, QStringLiteral("--entries"), QStringLiteral("5000"),
                       QStringLiteral("--end"), QStringLiteral("2022-06-30")});
        QVERIFY(process.waitForStarted());
        QByteArray said;
        while (!said.contains("1000 av 5000") && process.state() == QProcess::Running && process.waitForReadyRead(120000))
            said += process.readAllStandardOutput();
        QVERIFY2(said.contains("1000 av 5000"), said.constData());
        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        QVERIFY(process.waitForFinished(30000));
        // Killed, or stopped at the next entry after Ctrl+C, a hang-up or a
        // plain kill: the fill did not complete.
        QVERIFY(process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0);

        QVERIFY(contents(path) == before);
        if (signal == SIGKILL)
            QVERIFY(QFileInfo::exists(SampleDiary::FillCopyPath(path)));
        QVERIFY(DiaryDatabase::ForcedWrites(path, user(), password()));
        QCOMPARE(scalarIn(path, QStringLiteral("select count(*) from TrainingSession")), 0);

        const TToolRun again = runTool({QStringLiteral("--database"), path, QStringLiteral("--entries"), QStringLiteral("30")});
        QVERIFY2(again.exitCode == 0, qPrintable(again.err));
        QVERIFY(!QFileInfo::exists(SampleDiary::FillCopyPath(path)));
        QVERIFY(DiaryDatabase::ForcedWrites(path, user(), password()));
        QCOMPARE(scalarIn(path, QStringLiteral("select count(*) from TrainingSession")), 30);
    }

    void refusesOptionsOutOfRange_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("years");
        QTest::newRow("no entries") << 0 << 3;
        QTest::newRow("no years") << 10 << 0;
    }

    void refusesOptionsOutOfRange()
    {
        QFETCH(int, entries);
        QFETCH(int, years);
        TTestDiary diary;
        QVERIFY_THROWS_EXCEPTION(EException, SampleDiary::Fill(diary.Connection(), options(entries, years, 1)));
        QCOMPARE(scalar(diary.Connection(), QStringLiteral("select count(*) from Pulse")), 0);
        QCOMPARE(scalar(diary.Connection(), QStringLiteral("select count(*) from CourseDescription")), 0);
    }

    // The command fills the slot's diary in the recorded folder, but never
    // makes a diary and never fills one twice.
    void toolFillsOnlyAnExistingEmptyDiary()
    {
        TTestFolders folders;
        const QString missing = folders.DataFolder() + QStringLiteral("/Corvale3.gdb");
        const TToolRun none = runTool({QStringLiteral("--database"), missing, QStringLiteral("--entries"), QStringLiteral("10")});
        QCOMPARE(none.exitCode, 3);
        QVERIFY2(none.err.contains(QStringLiteral("finns inte")), qPrintable(none.err));
        QVERIFY(!QFileInfo::exists(missing));

        const QString path = folders.DataFolder() + QStringLiteral("/Corvale2.gdb");
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        const QStringList arguments{QStringLiteral("--slot"), QStringLiteral("2"), QStringLiteral("--entries"),
                                    QStringLiteral("30"), QStringLiteral("--years"), QStringLiteral("2"),
                                    QStringLiteral("--end"), QStringLiteral("2022-06-30")};
        const TToolRun filled = runTool(arguments);
        QVERIFY2(filled.exitCode == 0, qPrintable(filled.err));
        const TToolRun again = runTool(arguments);
        QCOMPARE(again.exitCode, 3);
        QVERIFY2(again.err.contains(QStringLiteral("lämnas orörd")), qPrintable(again.err));

        TDbConnection database(QStringLiteral("sample-tool-check"));
        database.SetDatabaseName(path);
        database.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        database.Open();
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from TrainingSession")), 30);
        QCOMPARE(scalar(database, QStringLiteral("select count(*) from TrainingSession where SessionDate > '2022-06-30'")), 0);
    }
};

QTEST_GUILESS_MAIN(tst_SampleDiary)
#include "tst_SampleDiary.moc"
