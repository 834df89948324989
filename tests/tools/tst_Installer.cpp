// The installer that creates diary databases, and the schema script reader
// it shares with the tests.

#include "DiaryDatabase.h"
#include "TestDiary.h"

#include "foundation/SettingsFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QtTest>

namespace
{
struct TRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

TRun install(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TERNVALL_INSTALLER), arguments);
    TRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray fingerprint(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) + QByteArray::number(QFileInfo(path).lastModified().toMSecsSinceEpoch());
}

QVariant machineValue(const QString &key)
{
    return SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->value(key);
}

QStringList tablesOf(const QString &path)
{
    TDbConnection connection(QStringLiteral("installer-check"));
    connection.SetDatabaseName(path);
    connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    connection.Open();
    TDbQuery query(connection);
    query.Add(QStringLiteral("select rdb$relation_name from rdb$relations where rdb$system_flag = 0"));
    query.Open();
    QStringList tables;
    for (; !query.Eof(); query.Next())
        tables.append(query.FieldAsText(0).trimmed());
    return tables;
}
}

class tst_Installer : public QObject
{
    Q_OBJECT

private slots:
    void createsTheDiaryAndRecordsTheInstallation()
    {
        TTestFolders folders;
        const TRun run = install({QStringLiteral("--slot"), QStringLiteral("1")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(run.out.contains(path));

        QStringList tables = tablesOf(path);
        tables.sort();
        QStringList expected{
            QStringLiteral("TrainingSession"), QStringLiteral("TrainingSessionPulse"), QStringLiteral("TrainingSessionLaps"),
            QStringLiteral("TrainingSessionCourse"), QStringLiteral("Running"), QStringLiteral("Biking"),
            QStringLiteral("Skiing"), QStringLiteral("Swimming"), QStringLiteral("Inlines"), QStringLiteral("Tennis"),
            QStringLiteral("Skating"), QStringLiteral("Spinning"), QStringLiteral("Aerobics"), QStringLiteral("Dance"),
            QStringLiteral("Cardio"), QStringLiteral("Floorball"), QStringLiteral("Soccer"), QStringLiteral("IceHockey"),
            QStringLiteral("Trekking"), QStringLiteral("Canoeing"), QStringLiteral("Other"), QStringLiteral("CardioMeasure"),
            QStringLiteral("Golf"), QStringLiteral("GolfHole"), QStringLiteral("Workout"),
            QStringLiteral("WorkoutExercisePrograms"), QStringLiteral("ActivityNames"), QStringLiteral("CourseDescription"),
            QStringLiteral("CourseDescriptionText"), QStringLiteral("CourseDescriptionLaps"), QStringLiteral("Exercises"),
            QStringLiteral("ExercisePrograms"), QStringLiteral("Pulse"), QStringLiteral("Goal"),
            QStringLiteral("ColumnSettingNames"), QStringLiteral("ColumnSettings"), QStringLiteral("ExerciseColumns")};
        for (QString &table : expected)
            table = table.toUpper();
        expected.sort();
        QCOMPARE(tables, expected);

        QCOMPARE(machineValue(QStringLiteral("Version")).toString(), QStringLiteral("2.3.0"));
        QVERIFY(!machineValue(QStringLiteral("AppPath")).toString().isEmpty());
        QCOMPARE(machineValue(QStringLiteral("Database/Location")).toString(), folders.DataFolder() + QLatin1Char('/'));
        QCOMPARE(machineValue(QStringLiteral("Database/User")).toInt(), 1);
    }

    void neverTouchesAnExistingDiary()
    {
        TTestFolders folders;
        QCOMPARE(install({}).exitCode, 0);
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        const QByteArray before = fingerprint(path);
        QVERIFY(!before.isEmpty());

        const TRun again = install({QStringLiteral("--slot"), QStringLiteral("1")});
        QCOMPARE(again.exitCode, 3);
        QVERIFY2(again.err.contains(QStringLiteral("finns redan")), qPrintable(again.err));
        QCOMPARE(fingerprint(path), before);

        const TRun ifMissing = install({QStringLiteral("--if-missing")});
        QCOMPARE(ifMissing.exitCode, 0);
        QCOMPARE(fingerprint(path), before);

        // The same holds for any file in the diary's place, even one that is
        // no database at all.
        const QString other = folders.DataFolder() + QStringLiteral("/Corvale2.gdb");
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a diary");
        file.close();
        QCOMPARE(install({QStringLiteral("--slot"), QStringLiteral("2")}).exitCode, 3);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a diary"));
    }

    // Where a slot's diary is or would be, without making or recording
    // anything: the run command asks before it makes the sample diary.
    void printsThePathOnly()
    {
        TTestFolders folders(TTestFolders::TStartHelp::AsInstalled);
        const TRun run = install({QStringLiteral("--slot"), QStringLiteral("3"), QStringLiteral("--print-path")});
        QCOMPARE(run.exitCode, 0);
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale3.gdb");
        QCOMPARE(run.out.trimmed(), path);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(SettingsFiles::StoreFile(SettingsFiles::THive::Machine)));

        SettingsFiles::OpenStore(SettingsFiles::THive::Machine)
            ->setValue(QStringLiteral("Database/Location"), folders.Root() + QStringLiteral("/elsewhere/"));
        const TRun recorded = install({QStringLiteral("--slot"), QStringLiteral("2"), QStringLiteral("--print-path")});
        QCOMPARE(recorded.exitCode, 0);
        QCOMPARE(recorded.out.trimmed(), folders.Root() + QStringLiteral("/elsewhere/Corvale2.gdb"));
        QVERIFY(!QFileInfo::exists(folders.Root() + QStringLiteral("/elsewhere")));
    }

    void keepsTheUsersChoices()
    {
        TTestFolders folders;
        {
            auto store = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
            store->setValue(QStringLiteral("Database/Location"), QStringLiteral("/media/usb/Dagbok/"));
            store->setValue(QStringLiteral("Database/User"), 3);
            store->setValue(QStringLiteral("Version"), QStringLiteral("2.2.0"));
        }
        const QString folder = folders.Root() + QStringLiteral("/second");
        const TRun run = install({QStringLiteral("--slot"), QStringLiteral("2"), QStringLiteral("--folder"), folder,
                                  QStringLiteral("--name"), QStringLiteral("Exempel")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/Corvale2.gdb")));
        QCOMPARE(machineValue(QStringLiteral("Database/Location")).toString(), QStringLiteral("/media/usb/Dagbok/"));
        QCOMPARE(machineValue(QStringLiteral("Database/User")).toInt(), 3);
        QCOMPARE(machineValue(QStringLiteral("Version")).toString(), QStringLiteral("2.3.0"));
        QCOMPARE(machineValue(QStringLiteral("DbSelectNames/2")).toString(), QStringLiteral("Exempel"));
    }

    // A program folder other than the installer's own gets the help pages,
    // so that the help shown from the recorded AppPath is there; pages of an
    // older installation are replaced.
    void copiesTheHelpIntoAnotherProgramFolder()
    {
        TTestFolders folders;
        const QString program = folders.Root() + QStringLiteral("/program");
        QVERIFY(QDir().mkpath(program + QStringLiteral("/help")));
        QFile old(program + QStringLiteral("/help/introduction.htm"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old page");
        old.close();

        const TRun run = install({QStringLiteral("--slot"), QStringLiteral("1"), QStringLiteral("--app-path"), program});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(QDir::cleanPath(machineValue(QStringLiteral("AppPath")).toString()), QDir::cleanPath(program));
        for (const char *page : {"introduction.htm", "activities.htm", "user.htm", "pulse.htm", "about.htm",
                                 "courses.htm", "ternvall.css"}) {
            QFile copy(program + QStringLiteral("/help/") + QLatin1String(page));
            QVERIFY2(copy.open(QIODevice::ReadOnly), page);
            QVERIFY2(copy.size() > 100, page);
        }
        QFile intro(program + QStringLiteral("/help/introduction.htm"));
        QVERIFY(intro.open(QIODevice::ReadOnly));
        QVERIFY(intro.readAll().contains("Ternvall"));
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("slot 0") << QStringList{QStringLiteral("--slot"), QStringLiteral("0")} << 2;
        QTest::newRow("slot 5") << QStringList{QStringLiteral("--slot"), QStringLiteral("5")} << 2;
        QTest::newRow("slot text") << QStringList{QStringLiteral("--slot"), QStringLiteral("ett")} << 2;
        QTest::newRow("no schema") << QStringList{QStringLiteral("--schema"), QStringLiteral("/nonexistent/diary.sql")} << 1;
    }

    void refusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        TTestFolders folders(TTestFolders::TStartHelp::AsInstalled);
        const TRun run = install(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(QDir(folders.DataFolder()).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFileInfo::exists(SettingsFiles::StoreFile(SettingsFiles::THive::Machine)));
    }

    void aFailingSchemaLeavesNoFile()
    {
        TTestFolders folders;
        const QString schema = folders.Root() + QStringLiteral("/broken.sql");
        QFile file(schema);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("CREATE TABLE A (X INTEGER);\nCREATE TABLE A (Y INTEGER);\n");
        file.close();
        const TRun run = install({QStringLiteral("--schema"), schema});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("CREATE TABLE A (Y INTEGER)")), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(folders.DataFolder() + QStringLiteral("/Corvale1.gdb")));
    }

    void splitStatements_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("plain") << "create table a (x integer);\ncreate index i on a (x);"
                               << QStringList{QStringLiteral("create table a (x integer)"), QStringLiteral("create index i on a (x)")};
        QTest::newRow("semicolon in text") << "insert into a values('x;y');" << QStringList{QStringLiteral("insert into a values('x;y')")};
        QTest::newRow("doubled quote") << "insert into a values('it''s; fine');"
                                       << QStringList{QStringLiteral("insert into a values('it''s; fine')")};
        QTest::newRow("comments") << "-- a; comment\nselect 1 /* and; another */ from a;\n-- trailing;"
                                  << QStringList{QStringLiteral("select 1   from a")};
        QTest::newRow("no final semicolon") << "select 1 from a" << QStringList{QStringLiteral("select 1 from a")};
        QTest::newRow("empty statements") << " ; ;\n;" << QStringList{};
    }

    void splitStatements()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, statements);
        QCOMPARE(DiaryDatabase::SplitStatements(script), statements);
    }
};

QTEST_GUILESS_MAIN(tst_Installer)
#include "tst_Installer.moc"
