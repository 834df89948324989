// The application object: its lifecycle against a real diary, the settings
// it loads and saves, and the order of its notifications.

#include "DiaryDatabase.h"
#include "TestDiary.h"

#include "app/CorvaleApp.h"
#include "columns/ExerciseColumnSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"
#include "model/ActFactory.h"
#include "model/ClasshieTypes.h"
#include "reference/Exercises.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtTest>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options(const QString &driver = QStringLiteral("QIBASE"))
{
    TCorvaleApp::TOptions result;
    result.driverName = driver;
    result.connectionName = QStringLiteral("tst_CorvaleApp-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

std::unique_ptr<QSettings> store(SettingsFiles::THive hive)
{
    return SettingsFiles::OpenStore(hive);
}

QString createDiary(const TTestFolders &folders, int slot = 1)
{
    const QString path = folders.DataFolder() + QStringLiteral("/Corvale%1.gdb").arg(slot);
    DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
    return path;
}

// Records the kinds the application object sends.
struct TRecorder
{
    explicit TRecorder(TCorvaleApp &app) : m_app(app)
    {
        observer.SetOnChange([this](const TObservation &o) {
            kinds.append(o.kind);
            texts.append(o.text);
            if (throwOn >= 0 && o.kind == throwOn)
                throw EException(QStringLiteral("observer failed"));
        });
        m_app.Attach(&observer);
    }
    ~TRecorder() { m_app.Detach(&observer); }

    TCorvaleApp &m_app;
    TSubjectObserver observer;
    QList<quint8> kinds;
    QStringList texts;
    int throwOn = -1;
};

// A number read through a connection of its own.
qint64 numberIn(const QString &path, const QString &statement)
{
    TDbConnection connection(QStringLiteral("tst_CorvaleApp-check-%1").arg(serial.fetchAndAddRelaxed(1)));
    connection.SetDatabaseName(path);
    connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    connection.Open();
    return connection.ReadOnlyNumber(statement);
}

const QString indexCount = QStringLiteral("select count(*) from rdb$indices where rdb$index_name = 'IX_TRAININGSESSION_NRDESC'"
                                          " and rdb$relation_name = 'TRAININGSESSION' and rdb$index_type = 1"
                                          " and (select count(*) from rdb$index_segments s where s.rdb$index_name = 'IX_TRAININGSESSION_NRDESC'"
                                          " and s.rdb$field_name = 'SESSIONNR') = 1");

// Takes the descending session number index out of a diary, as it was
// before the index was part of the schema.
void dropSessionNrIndex(const QString &path)
{
    TDbConnection connection(QStringLiteral("tst_CorvaleApp-drop-%1").arg(serial.fetchAndAddRelaxed(1)));
    connection.SetDatabaseName(path);
    connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    connection.Open();
    if (connection.ReadOnlyNumber(QStringLiteral("select count(*) from rdb$indices where rdb$index_name = 'IX_TRAININGSESSION_NRDESC'")) > 0) {
        QSqlQuery query(connection.Database());
        QVERIFY(query.exec(QStringLiteral("DROP INDEX IX_TrainingSession_NrDesc")));
    }
}
}

class tst_CorvaleApp : public QObject
{
    Q_OBJECT

private slots:
    void withoutTheEngineItOwnsNothing()
    {
        TTestFolders folders(TTestFolders::TStartHelp::AsInstalled);
        {
            TCorvaleApp app(options(QStringLiteral("QNOSUCHDRIVER")));
            QCOMPARE(app.State(), TCorvaleApp::TState::Shell);
            QVERIFY_THROWS_EXCEPTION(EInterbaseNotInstalled, app.CheckInterbase());
            QVERIFY_THROWS_EXCEPTION(EInterbaseNotInstalled, app.GetUserName());
            QVERIFY_THROWS_EXCEPTION(EInterbaseNotInstalled, app.OpenDatabase());
        }
        // Nothing was read or written on its behalf.
        QVERIFY(QDir(folders.SettingsFolder()).entryList(QDir::Files).isEmpty());
    }

    void noSettingsAtAll()
    {
        TTestFolders folders;
        const QString path = createDiary(folders);
        TCorvaleApp app(options());
        QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
        QCOMPARE(app.GetUserNumber(), 1);
        QCOMPARE(app.GetUserName(), QStringLiteral("Användare1"));
        QCOMPARE(app.GetDbPath(), path);
        QString user, password;
        app.ReadDbLogin(user, password);
        QCOMPARE(user, QStringLiteral("SYSDBA"));
        QCOMPARE(password, QStringLiteral("hollyfern"));
        QCOMPARE(app.GetColSettingChoice(), -1);
        QVERIFY_THROWS_EXCEPTION(EVersionNotUpgraded, app.CheckVersion());
    }

    void opensCountsAndDisconnects()
    {
        TTestFolders folders;
        createDiary(folders, 2);
        {
            auto machine = store(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Database/User"), 2);
            machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder());
            machine->setValue(QStringLiteral("DbSelectNames/2"), QStringLiteral("Exempel"));
            auto user = store(SettingsFiles::THive::User);
            user->setValue(QStringLiteral("DbLogin/UserName"), QStringLiteral("ANNA"));
            user->setValue(QStringLiteral("Settings/ColSetting2"), 7);
        }
        TCorvaleApp app(options());
        QCOMPARE(app.GetUserName(), QStringLiteral("Exempel"));
        QCOMPARE(app.GetLocation(), folders.DataFolder() + QLatin1Char('/'));
        app.OpenDatabase();
        QCOMPARE(app.State(), TCorvaleApp::TState::Open);
        QVERIFY(app.GetDatabase().Connected());
        QVERIFY(app.GetDatabase().Params().contains(QStringLiteral("USER_NAME=ANNA")));
        QCOMPARE(app.GetColSettingChoice(), 7);
        QCOMPARE(app.GetRegisteredCount(), 0);

        TDbQuery query(app.GetDatabase());
        query.Add(QStringLiteral("insert into TrainingSession (SessionNr) values(1)"));
        query.ExecSQL();
        QCOMPARE(app.GetRegisteredCount(), 1);

        app.SetColSettingChoice(9);
        app.Disconnect();
        QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
        QVERIFY(!app.GetDatabase().Connected());
        QCOMPARE(store(SettingsFiles::THive::User)->value(QStringLiteral("Settings/ColSetting2")).toInt(), 9);
    }

    void aFailedOpenLeavesItClosed()
    {
        TTestFolders folders;
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("no diary in here");
        file.close();
        TCorvaleApp app(options());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, app.OpenDatabase());
        QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
    }

    void settingsAreSavedAtTheEnd()
    {
        TTestFolders folders;
        createDiary(folders);
        {
            TCorvaleApp app(options());
            TSettingsValues values = app.GetSettings();
            values.RecordNum = 5;
            values.LapCalc = TSettingsValues::TLapCalc::Total;
            values.CurrentCourse = 12;
            app.ApplySettings(values);
            app.OpenDatabase();
        }
        auto user = store(SettingsFiles::THive::User);
        QCOMPARE(user->value(QStringLiteral("Settings/RecordNum")).toInt(), 5);
        QCOMPARE(user->value(QStringLiteral("Settings/LapCalc")).toString(), QStringLiteral("LapTotal"));
        QVERIFY(!user->contains(QStringLiteral("Settings/CurrentCourse")));
        auto machine = store(SettingsFiles::THive::Machine);
        QCOMPARE(machine->value(QStringLiteral("Database/User")).toInt(), 1);
        QCOMPARE(machine->value(QStringLiteral("Database/Location")).toString(), folders.DataFolder() + QLatin1Char('/'));

        TCorvaleApp again(options());
        QCOMPARE(again.GetSettings().RecordNum, 5);
        QCOMPARE(again.GetSettings().CurrentCourse, -1);
    }

    void anUnreachableFolderIsNotForgotten()
    {
        // The diary's disk is not mounted at this start: the folder cannot be
        // used, but it must still be there for the next start.
        TTestFolders folders;
        const QString usb = QStringLiteral("/media/ternvall-test-usb/Dagbok/");
        store(SettingsFiles::THive::Machine)->setValue(QStringLiteral("Database/Location"), usb);
        {
            TCorvaleApp app(options());
            QCOMPARE(app.GetLocation(), QString());
        }
        QCOMPARE(store(SettingsFiles::THive::Machine)->value(QStringLiteral("Database/Location")).toString(), usb);
    }

    void aSlotThatNeverOpenedIsNotRecorded()
    {
        TTestFolders folders;
        createDiary(folders, 1);
        {
            auto machine = store(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Database/User"), 1);
            machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
        }
        {
            TCorvaleApp app(options());
            app.OpenDatabase();
            app.CloseDatabase();
            app.SetUserNumber(3);
            QVERIFY_THROWS_EXCEPTION(EDbClientError, app.OpenDatabase());
        }
        QCOMPARE(store(SettingsFiles::THive::Machine)->value(QStringLiteral("Database/User")).toInt(), 1);
    }

    void openingRegistersEveryActivity()
    {
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        QCOMPARE(app.GetActivityCount(), 22);
        QCOMPARE(app.GetFactory().Count(), 22);
        std::unique_ptr<TActivity> run = app.CreateActivity(QStringLiteral("löpning"));
        QVERIFY(dynamic_cast<TRunning *>(run.get()));
        QCOMPARE(run->GetDatabase(), &app.GetDatabase());
        QCOMPARE(run->GetActivityName(), QStringLiteral("Löpning"));
        QStringList timeDistance{QStringLiteral("gammalt")};
        app.GetTimeDistanceActivityNames(&timeDistance);
        QCOMPARE(timeDistance, (QStringList{QStringLiteral("Löpning"), QStringLiteral("Längdåkning"), QStringLiteral("Cykling"),
                                            QStringLiteral("Simning"), QStringLiteral("Inlines")}));
        app.Disconnect();
        QCOMPARE(app.GetFactory().Count(), 0);
        QVERIFY_THROWS_EXCEPTION(EFactory, app.CreateActivity(QStringLiteral("Löpning")));
    }

    void placesPerActivity()
    {
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        {
            // Nothing to load while no diary is open.
            TRecorder recorder(app);
            app.LoadPlaces();
            QCOMPARE(recorder.kinds, (QList<quint8>{2, 0}));
        }
        app.OpenDatabase();
        for (int nr = 1; nr <= 3; ++nr) {
            std::unique_ptr<TActivity> run = app.CreateActivity(QStringLiteral("Löpning"));
            run->SetSessionNr(nr);
            run->SetSessionData(QStringLiteral("2024-05-0%1").arg(nr), nr == 2 ? QString() : QStringLiteral("Skatås"), {}, {});
            run->Insert();
        }
        TRecorder recorder(app);
        app.LoadPlaces();
        QList<quint8> expected(23, 2);
        expected.append(0);
        QCOMPARE(recorder.kinds, expected);

        QStringList places{QStringLiteral("kvar")};
        app.GetPlaces(&places, QStringLiteral("Löpning"));
        QCOMPARE(places, QStringList{QStringLiteral("Skatås")});
        app.GetPlaces(&places, QStringLiteral("Curling"));
        QCOMPARE(places, QStringList{QStringLiteral("Skatås")});
        app.GetPlaces(&places, QStringLiteral("Cykling"));
        QVERIFY(places.isEmpty());
        try {
            app.GetPlaces(nullptr, QStringLiteral("Löpning"));
            QFAIL("a missing list is refused");
        } catch (const ECorvaleError &e) {
            QCOMPARE(e.Message(), QStringLiteral("CorvaleApp 01"));
        }
    }

    void renamingActivities()
    {
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        QStringList names;
        app.GetActivityNames(&names);
        const int golf = names.indexOf(QStringLiteral("Golf"));
        QVERIFY(golf >= 0);
        {
            TRecorder recorder(app);
            names[golf] = QStringLiteral("Golfrunda");
            app.ChangeActivityNames(&names);
            QCOMPARE(recorder.kinds, (QList<quint8>{5, 0}));
        }
        QVERIFY(app.GetFactory().IsRegistered(QStringLiteral("Golfrunda")));
        QVERIFY(!app.GetFactory().IsRegistered(QStringLiteral("Golf")));
        QCOMPARE(app.GetFactory().Count(), 22);

        // The golf and body-measurement look-ups find their types by code,
        // so they still work under the new names.
        const int measure = names.indexOf(QStringLiteral("Konditionsmätning"));
        names[measure] = QStringLiteral("Kroppsmått");
        app.ChangeActivityNames(&names);
        QCOMPARE(app.WaistHipRatio(QStringLiteral("80"), QStringLiteral("100")), QStringLiteral("0.80"));
        QCOMPARE(app.LastNewHcp(QStringLiteral("2024-06-01"), -1), QString());
        TDbQuery query(app.GetDatabase());
        query.Add(QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity) values(4, '2024-05-20', 'GOL')"));
        query.ExecSQL();
        query.Clear();
        query.Add(QStringLiteral("insert into Golf (GolfNr, GolfNewHCP) values(4, 17.3)"));
        query.ExecSQL();
        QCOMPARE(app.LastNewHcp(QStringLiteral("2024-06-01"), -1), QStringLiteral("17.3"));
        QCOMPARE(app.LastNewHcp(QStringLiteral("2024-05-19"), -1), QString());

        // A name used twice is refused; the caller's list shows what is
        // stored and every activity stays registered.
        TRecorder recorder(app);
        names[0] = QStringLiteral("golfrunda");
        QVERIFY_THROWS_EXCEPTION(EActivityName, app.ChangeActivityNames(&names));
        QCOMPARE(names[0], QStringLiteral("Löpning"));
        QCOMPARE(app.GetFactory().Count(), 22);
        QVERIFY(recorder.kinds.isEmpty());
    }

    void entriesThroughTheApplicationObject()
    {
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        const int first = app.NewActivity(QStringLiteral("Löpning"));
        const int second = app.NewActivity(QStringLiteral("Tennis"));
        QCOMPARE(second, first + 1);
        for (int nr : {first, second}) {
            app.FindActivity(nr)->SetSessionData(QStringLiteral("2024-03-0%1").arg(nr), QStringLiteral("Hallen"), {}, {});
            app.SaveActivity(nr);
        }
        QCOMPARE(app.GetRegisteredCount(), 2);

        TRecorder recorder(app);
        QList<int> numbers;
        app.SearchActivities({QStringLiteral("Löpning"), QStringLiteral("Tennis"), QStringLiteral("Golf")}, TSearchParams(), numbers);
        QCOMPARE(numbers, (QList<int>{first, second}));
        QCOMPARE(recorder.kinds, (QList<quint8>{9, 9, 9, 0}));
        QCOMPARE(recorder.texts.mid(0, 3), (QStringList{QStringLiteral("Löpning"), QStringLiteral("Tennis"), QStringLiteral("Golf")}));
        QCOMPARE(recorder.texts.last(), QString());
        QCOMPARE(app.GetLoadedCount(), 2);

        // A search refused for its conditions still ends with Idle.
        recorder.kinds.clear();
        recorder.texts.clear();
        TSearchParams bad;
        bad.DateFrom = QStringLiteral("2024-13-01");
        QVERIFY_THROWS_EXCEPTION(EException, app.SearchActivities({QStringLiteral("Löpning")}, bad, numbers));
        QCOMPARE(recorder.kinds.last(), quint8(0));
        QCOMPARE(recorder.texts.last(), QString());

        // Removing tells before and after, and the row is gone.
        app.SearchActivities({QStringLiteral("Löpning")}, TSearchParams(), numbers);
        recorder.kinds.clear();
        app.RemoveActivity(first);
        QCOMPARE(recorder.kinds, (QList<quint8>{4, 0}));
        QCOMPARE(app.GetRegisteredCount(), 1);
        QVERIFY_THROWS_EXCEPTION(EActivities, app.FindActivity(first));
    }

    void coursesThroughTheApplicationObject()
    {
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        TRecorder recorder(app);

        // A new course: saved, told, and no session was rewritten.
        const int nr = app.NewCourse();
        QCOMPARE(nr, 1);
        app.SetCourseValues(nr, QStringLiteral("Löpning"), 2, 5.0, QStringLiteral("Skogen"));
        app.SetCourseLaps(nr, {QStringLiteral("2.5"), QStringLiteral("5")});
        QCOMPARE(app.SaveCourse(nr), 0);
        QCOMPARE(recorder.kinds, (QList<quint8>{8, 0}));
        QCOMPARE(app.GetSettings().CurrentCourse, -1);

        QStringList texts;
        TIntegerList numbers;
        app.ListCourses(nullptr, QString(), QString(), QString(), &texts, &numbers);
        QCOMPARE(texts, QStringList{QStringLiteral("Löpning - Skogen - 5.00 (km)")});
        QCOMPARE(numbers.Values(), QList<qint32>{nr});

        // A session on the course, then the course changed: the session
        // follows and the course becomes the current one.
        const int session = app.NewActivity(QStringLiteral("Löpning"));
        auto *run = static_cast<TTimeDistanceActivity *>(app.FindActivity(session));
        run->SetSessionData(QStringLiteral("2024-03-01"), QStringLiteral("Hemma"), {}, {});
        run->SetCourseNr(QString::number(nr));
        const QStringList times{QStringLiteral("10.00"), QStringLiteral("20.00")}, blanks{QString(), QString()};
        run->SetLaps(&times, &blanks);
        app.SaveActivity(session);
        QCOMPARE(app.CourseUseCount(nr), 1);

        QList<TCourseItem> items;
        app.SearchCourses({QStringLiteral("Löpning")}, QString(), QString(), QString(), {QStringLiteral("2")}, &items);
        QCOMPARE(app.CourseCount(), 1);
        recorder.kinds.clear();
        app.SetCourseValues(nr, QStringLiteral("Löpning"), 2, 5.0, QStringLiteral("Skogsslingan"));
        QCOMPARE(app.SaveCourse(nr), 1);
        QCOMPARE(recorder.kinds, (QList<quint8>{8, 0}));
        QCOMPARE(app.GetSettings().CurrentCourse, nr);
        QCOMPARE(app.GetLoadedCount(), 0);
        QCOMPARE(app.ReadCourse(nr).Place, QStringLiteral("Skogsslingan"));

        // Refused: nobody is told, and the current course stays.
        recorder.kinds.clear();
        QVERIFY_THROWS_EXCEPTION(ECourseUsed, app.RemoveCourse(nr));
        app.SetCourseValues(nr, QStringLiteral("Löpning"), 2, 5.0, QString(150, QLatin1Char('x')));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, app.SaveCourse(nr));
        QVERIFY(recorder.kinds.isEmpty());
        QCOMPARE(app.GetSettings().CurrentCourse, nr);

        // Removing an unsaved course clears the current one.
        app.RemoveCourse(app.NewCourse());
        QCOMPARE(recorder.kinds, (QList<quint8>{8, 0}));
        QCOMPARE(app.GetSettings().CurrentCourse, -1);

        // A closed diary holds no courses, not even the one read last.
        app.Disconnect();
        QCOMPARE(app.CourseCount(), 0);
        QStringList laps;
        QVERIFY_THROWS_EXCEPTION(ECourses, app.GetReadCourseLaps(nr, &laps));
    }

    // Saving the exercises reads the exercise columns again, so that the
    // column of a deleted exercise is not taken over by a new exercise that
    // gets its id; saving the programs is told, also when it fails.
    void strengthThroughTheApplicationObject()
    {
        TTestFolders folders;
        const QString path = createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        TRecorder recorder(app);
        TExercises &exercises = app.GetExercises();
        const qint32 press = exercises.AddExercise(QStringLiteral("Bänkpress"));
        const qint32 squat = exercises.AddExercise(QStringLiteral("Knäböj"));
        app.SaveExercises();
        QList<qint32> columns(ExerciseColumnCount, TExerciseColumnSettings::NoExercise);
        columns[0] = squat;
        app.GetExerciseColumnSettings().SetList(&columns);
        app.GetExerciseColumnSettings().SaveToDb();

        exercises.DeleteExercise(squat);
        app.SaveExercises();
        QCOMPARE(app.GetExerciseColumnSettings().ExerciseOfColumn(1), TExerciseColumnSettings::NoExercise);
        QCOMPARE(exercises.AddExercise(QStringLiteral("Marklyft")), squat);
        app.SaveExercises();
        QCOMPARE(app.GetExerciseColumnSettings().ExerciseOfColumn(1), TExerciseColumnSettings::NoExercise);
        QVERIFY(recorder.kinds.isEmpty());

        TExercisePrograms &programs = app.GetExercisePrograms();
        const qint32 program = programs.AddProgram(QStringLiteral("Bas"), QString());
        TProgramExercises programSlots;
        programSlots[0] = QString::number(press);
        programs.SetProgramExercises(program, programSlots);
        app.SaveExercisePrograms();
        QCOMPARE(recorder.kinds, (QList<quint8>{10, 0}));
        QCOMPARE(numberIn(path, QStringLiteral("select Exercise1 from ExercisePrograms where ExProgId = 1")), qint64(press));

        // A program whose id another program took in the meantime.
        recorder.kinds.clear();
        programs.AddProgram(QStringLiteral("Drag"), QString());
        {
            QSqlQuery query(app.GetDatabase().Database());
            QVERIFY(query.exec(QStringLiteral("insert into ExercisePrograms (ExProgId, ExProgName) values (2, 'Annat')")));
        }
        QVERIFY_THROWS_EXCEPTION(EDbClientError, app.SaveExercisePrograms());
        QCOMPARE(recorder.kinds, (QList<quint8>{10, 0}));
    }

    // The column-setting choice is written only for the diary it was read
    // from: a diary that fails to open, at start or after a change of user,
    // keeps its own.
    void colSettingChoiceStaysWithItsDiary_data()
    {
        QTest::addColumn<int>("startSlot");
        QTest::addColumn<int>("changeTo"); // 0: no change of user
        QTest::addColumn<QList<int>>("expected"); // ColSetting1..3 at the end
        QTest::newRow("change of user to a slot that fails") << 1 << 3 << QList<int>{6, 9, 4};
        QTest::newRow("start in a slot that fails") << 2 << 0 << QList<int>{5, 9, 4};
        QTest::newRow("change of user that works") << 1 << 2 << QList<int>{6, 9, 4};
    }

    void colSettingChoiceStaysWithItsDiary()
    {
        QFETCH(int, startSlot);
        QFETCH(int, changeTo);
        QFETCH(QList<int>, expected);
        TTestFolders folders;
        createDiary(folders, 1);
        createDiary(folders, 2);
        // Slot 2's diary is damaged when the start is in slot 2.
        if (startSlot == 2) {
            QFile::remove(folders.DataFolder() + QStringLiteral("/Corvale2.gdb"));
            QFile file(folders.DataFolder() + QStringLiteral("/Corvale2.gdb"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(16 * 1024, 'x'));
        }
        {
            auto machine = store(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Database/User"), startSlot);
            machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder());
            auto user = store(SettingsFiles::THive::User);
            user->setValue(QStringLiteral("Settings/ColSetting1"), 5);
            user->setValue(QStringLiteral("Settings/ColSetting2"), 9);
            user->setValue(QStringLiteral("Settings/ColSetting3"), 4);
        }
        {
            TCorvaleApp app(options());
            if (startSlot == 2) {
                QVERIFY_THROWS_EXCEPTION(EDbClientError, app.OpenDatabase());
            } else {
                app.OpenDatabase();
                QCOMPARE(app.GetColSettingChoice(), 5);
                app.SetColSettingChoice(6);
                app.CloseDatabase();
                app.SetUserNumber(changeTo);
                if (changeTo == 3) {
                    QVERIFY_THROWS_EXCEPTION(EDbClientError, app.OpenDatabase());
                } else {
                    app.OpenDatabase();
                    QCOMPARE(app.GetColSettingChoice(), 9);
                }
            }
        }
        auto user = store(SettingsFiles::THive::User);
        const QList<int> stored{user->value(QStringLiteral("Settings/ColSetting1")).toInt(),
                                user->value(QStringLiteral("Settings/ColSetting2")).toInt(),
                                user->value(QStringLiteral("Settings/ColSetting3")).toInt()};
        QCOMPARE(stored, expected);
    }

    // A diary whose forced writes are off (as an interrupted fill of the
    // sample diary used to leave it) is switched on when it is opened; a
    // login the engine does not let switch them on is refused with a
    // message and the diary is not used.
    void forcedWritesAreSwitchedOnWhenOpened_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<bool>("opens");
        QTest::newRow("the owner's login") << "SYSDBA" << true;
        QTest::newRow("a login that may not change them") << "ANNA" << false;
    }

    void forcedWritesAreSwitchedOnWhenOpened()
    {
        QFETCH(QString, login);
        QFETCH(bool, opens);
        TTestFolders folders;
        const QString path = createDiary(folders);
        const QString user = QString::fromLatin1(DiaryDatabase::DefaultUser);
        const QString password = QString::fromLatin1(DiaryDatabase::DefaultPassword);
        DiaryDatabase::SetForcedWrites(path, user, password, false);
        QVERIFY(!DiaryDatabase::ForcedWrites(path, user, password));
        store(SettingsFiles::THive::User)->setValue(QStringLiteral("DbLogin/UserName"), login);
        {
            TCorvaleApp app(options());
            if (opens) {
                app.OpenDatabase();
                QCOMPARE(app.State(), TCorvaleApp::TState::Open);
                QVERIFY(app.GetDatabase().ForcedWrites());
            } else {
                try {
                    app.OpenDatabase();
                    QFAIL("a diary without forced writes was used");
                } catch (const EUnsafeDiary &e) {
                    QVERIFY2(e.Message().startsWith(QStringLiteral("Dagboken %1 skrivs inte säkert till disken").arg(path)),
                             qPrintable(e.Message()));
                    QVERIFY2(e.Message().contains(QStringLiteral("Info: ")), qPrintable(e.Message()));
                } catch (const EException &e) {
                    QFAIL(qPrintable(QStringLiteral("refused with another error: ") + e.Message()));
                }
                QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
                QVERIFY(!app.GetDatabase().Connected());
            }
        }
        QCOMPARE(DiaryDatabase::ForcedWrites(path, user, password), opens);
    }

    // A Firebird database without the diary's tables is refused before
    // anything writes to it: its tables and rows stay as they were and no
    // diary table is added.
    void aDatabaseThatIsNoDiaryIsRefused()
    {
        TTestFolders folders;
        QTemporaryFile schema;
        QVERIFY(schema.open());
        schema.write("CREATE TABLE Members (MemberNr INTEGER NOT NULL, MemberName VARCHAR(40));\n"
                     "INSERT INTO Members VALUES (1, 'Karin');\n"
                     "INSERT INTO Members VALUES (2, 'Olle');\n");
        schema.close();
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        DiaryDatabase::Create(path, schema.fileName());
        const qint64 size = QFileInfo(path).size();
        {
            TCorvaleApp app(options());
            try {
                app.OpenDatabase();
                QFAIL("a database without the diary's tables was opened");
            } catch (const ENoDiary &e) {
                QCOMPARE(e.Message(), QStringLiteral("Databasfilen %1 är ingen dagbok för Ternvall: dagbokens tabeller saknas. "
                                                     "Applikationen kommer nu att avslutas.")
                                          .arg(path));
            } catch (const EException &e) {
                QFAIL(qPrintable(QStringLiteral("refused with another error: ") + e.Message()));
            }
            QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
            QVERIFY(!app.GetDatabase().Connected());
        }
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(numberIn(path, QStringLiteral("select count(*) from rdb$relations where coalesce(rdb$system_flag, 0) = 0")), 1);
        QCOMPARE(numberIn(path, QStringLiteral("select count(*) from rdb$indices where coalesce(rdb$system_flag, 0) = 0")), 0);
        QCOMPARE(numberIn(path, QStringLiteral("select sum(MemberNr) from Members")), 3);
    }

    // An older diary gets the descending index of the session numbers when
    // it is opened, once; a diary that has it opens as well.
    void anOlderDiaryGetsTheSessionNrIndex()
    {
        TTestFolders folders;
        const QString path = createDiary(folders);
        dropSessionNrIndex(path);
        QCOMPARE(numberIn(path, indexCount), 0);
        for (int round = 0; round < 2; ++round) {
            TCorvaleApp app(options());
            app.OpenDatabase();
            QCOMPARE(app.State(), TCorvaleApp::TState::Open);
            QVERIFY(!app.GetDatabase().InTransaction());
            QCOMPARE(app.GetDatabase().ReadOnlyNumber(indexCount), 1);
        }
        QCOMPARE(numberIn(path, indexCount), 1);
    }

    void notifications_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<quint8>>("kinds");
        QTest::addColumn<bool>("fails");
        QTest::newRow("identical settings") << "same settings" << QList<quint8>{} << false;
        QTest::newRow("changed settings") << "new settings" << QList<quint8>{3, 0} << false;
        QTest::newRow("refused settings") << "bad settings" << QList<quint8>{} << true;
        QTest::newRow("closing") << "close" << QList<quint8>{6} << false;
        QTest::newRow("another diary") << "changed" << QList<quint8>{7, 0} << false;
        QTest::newRow("observer fails on another diary") << "changed, observer fails" << QList<quint8>{7, 0} << true;
        QTest::newRow("observer fails on settings") << "new settings, observer fails" << QList<quint8>{3, 0} << true;
    }

    void notifications()
    {
        QFETCH(QString, operation);
        QFETCH(QList<quint8>, kinds);
        QFETCH(bool, fails);
        TTestFolders folders;
        createDiary(folders);
        TCorvaleApp app(options());
        app.OpenDatabase();
        TRecorder recorder(app);
        if (operation.contains(QLatin1String("observer fails")))
            recorder.throwOn = kinds.constFirst();
        bool failed = false;
        try {
            TSettingsValues values = app.GetSettings();
            if (operation.startsWith(QLatin1String("same settings"))) {
                app.ApplySettings(values);
            } else if (operation.startsWith(QLatin1String("new settings"))) {
                values.SearchAtStart = !values.SearchAtStart;
                app.ApplySettings(values);
            } else if (operation == QLatin1String("bad settings")) {
                values.RecordWNum = -1;
                app.ApplySettings(values);
            } else if (operation == QLatin1String("close")) {
                app.CloseDatabase();
                QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
            } else {
                app.DatabaseChanged();
            }
        } catch (const EException &) {
            failed = true;
        }
        QCOMPARE(failed, fails);
        QCOMPARE(recorder.kinds, kinds);
        if (!recorder.texts.isEmpty())
            QCOMPARE(recorder.texts.constLast(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_CorvaleApp)
#include "tst_CorvaleApp.moc"
