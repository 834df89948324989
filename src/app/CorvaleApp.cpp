#include "app/CorvaleApp.h"

#include "analysis/Goals.h"
#include "columns/ActivityColumns.h"
#include "columns/ColumnSettings.h"
#include "columns/ExerciseColumnSettings.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DefReg.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/Classhie.h"
#include "reference/CourseCl.h"
#include "reference/Courses.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QDebug>
#include <QSqlQuery>

#include <iterator>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString settingsKey = settingsRoot + QStringLiteral("\\Settings");
const QString databaseKey = settingsRoot + QStringLiteral("\\Database");
const QString namesKey = settingsRoot + QStringLiteral("\\DbSelectNames");
const QString loginKey = settingsRoot + QStringLiteral("\\DbLogin");

const QString defaultUserName = QStringLiteral("SYSDBA");
const QString defaultPassword = QStringLiteral("hollyfern");

// The tables every diary has; a database without them is no diary.
const char *const diaryTables[] = {
    "TRAININGSESSION", "TRAININGSESSIONPULSE", "TRAININGSESSIONLAPS", "TRAININGSESSIONCOURSE", "RUNNING", "BIKING",
    "SKIING", "SWIMMING", "INLINES", "TENNIS", "SKATING", "SPINNING", "AEROBICS", "DANCE", "CARDIO", "FLOORBALL",
    "SOCCER", "ICEHOCKEY", "TREKKING", "CANOEING", "OTHER", "CARDIOMEASURE", "GOLF", "GOLFHOLE", "WORKOUT",
    "WORKOUTEXERCISEPROGRAMS", "ACTIVITYNAMES", "COURSEDESCRIPTION", "COURSEDESCRIPTIONTEXT", "COURSEDESCRIPTIONLAPS",
    "EXERCISES", "EXERCISEPROGRAMS", "PULSE", "GOAL", "COLUMNSETTINGNAMES", "COLUMNSETTINGS", "EXERCISECOLUMNS"};

// Sends Idle when an operation ends, however it ends.
class TIdleAtEnd
{
public:
    explicit TIdleAtEnd(TCorvaleApp &app) : m_app(app) {}
    ~TIdleAtEnd()
    {
        try {
            m_app.Send(TNotifyKind::Idle);
        } catch (const std::exception &e) {
            // Already unwinding, or the operation is over: an observer's
            // fault must not end the program here.
            qWarning() << "Observer failed on idle notification:" << e.what();
        }
    }

private:
    TCorvaleApp &m_app;
};

std::unique_ptr<TCorvaleApp> &processApp()
{
    static std::unique_ptr<TCorvaleApp> app;
    return app;
}
}

TCorvaleApp::TCorvaleApp() : TCorvaleApp(TOptions())
{
}

TCorvaleApp::TCorvaleApp(const TOptions &options) : m_options(options)
{
    m_startup = std::make_unique<TStartup>(options.driverName);
    try {
        m_startup->CheckInterbase();
    } catch (const ECorvaleError &e) {
        m_shellReason = e.Message();
        return;
    }
    m_users = std::make_unique<TUsers>();
    m_settings = std::make_unique<TCorvaleSettings>();
    m_registry = std::make_unique<TDefRegistry>(TDefRegistry::THive::User);
    LoadSettings();
    m_database = std::make_unique<TDbConnection>(options.connectionName);
    m_courses = std::make_unique<TCourses>();
    m_activityNames = std::make_unique<TActivityNames>();
    m_factory = std::make_unique<TActivityFactory>();
    m_activities = std::make_unique<TActivities>();
    m_exercises = std::make_unique<TExercises>();
    m_exercisePrograms = std::make_unique<TExercisePrograms>();
    m_pulses = std::make_unique<TPulses>();
    m_activityColumns = std::make_unique<TActivityColumns>();
    BuildActivityCatalogue(*m_activityColumns);
    m_columnSettings = std::make_unique<TColumnSettings>();
    m_exerciseColumnSettings = std::make_unique<TExerciseColumnSettings>();
    m_exerciseColumnSettings->SetExercises(m_exercises.get());
    m_goals = std::make_unique<TGoals>();
    m_goals->SetActivityNames(m_activityNames.get());
    m_goals->SetActivityFactory(m_factory.get());
    m_courses->SetActivityNames(m_activityNames.get());
    m_courses->SetActivityFactory(m_factory.get());
    m_courses->SetActivities(m_activities.get());
    m_activities->SetActivityNames(m_activityNames.get());
    m_activities->SetFactory(m_factory.get());
    m_activities->SetExercisePrograms(m_exercisePrograms.get());
    m_activities->SetPulses(m_pulses.get());
    m_exercises->SetExercisePrograms(m_exercisePrograms.get());
    m_exercisePrograms->SetExercises(m_exercises.get());
    // One exporter of each kind, over the collection and the registers.
    m_textExport = std::make_unique<TTextExport>();
    m_htmlExport = std::make_unique<THtmlExport>();
    for (TActExport *exporter : {static_cast<TActExport *>(m_textExport.get()), static_cast<TActExport *>(m_htmlExport.get())}) {
        exporter->SetActivities(m_activities.get());
        exporter->SetExercises(m_exercises.get());
        exporter->SetPrograms(m_exercisePrograms.get());
        exporter->SetPulses(m_pulses.get());
    }
    m_state = TState::Closed;
}

TCorvaleApp::~TCorvaleApp()
{
    if (m_state == TState::Shell)
        return;
    try {
        if (m_state == TState::Open)
            Disconnect();
        SaveSettings();
    } catch (const std::exception &e) {
        qWarning() << "Could not save the settings:" << e.what();
    }
    // The entries, courses and column settings hold queries on the
    // connection and borrow the registers.
    m_htmlExport.reset();
    m_textExport.reset();
    m_goals.reset();
    m_exerciseColumnSettings.reset();
    m_columnSettings.reset();
    m_courses.reset();
    m_activities.reset();
    m_pulses.reset();
    m_exercisePrograms.reset();
    m_exercises.reset();
    m_factory.reset();
    m_activityNames.reset();
    m_registry.reset();
    m_settings.reset();
    m_users.reset();
    m_database.reset();
}

void TCorvaleApp::RequireParts() const
{
    if (m_state == TState::Shell)
        throw EInterbaseNotInstalled(m_shellReason);
}

void TCorvaleApp::CheckInterbase() const
{
    m_startup->CheckInterbase();
}

void TCorvaleApp::CheckVersion() const
{
    m_startup->CheckVersion();
}

// ---------------------------------------------------------------------------
// Database

TDbConnection &TCorvaleApp::GetDatabase()
{
    RequireParts();
    return *m_database;
}

void TCorvaleApp::ReadDbLogin(QString &userName, QString &password) const
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(loginKey, true);
    userName = registry.ReadStringDef(QStringLiteral("UserName"), defaultUserName);
    password = registry.ReadStringDef(QStringLiteral("PassWd"), defaultPassword);
    registry.CloseKey();
}

void TCorvaleApp::ConnectDatabase()
{
    RequireParts();
    m_database->Close();
    m_database->SetDatabaseName(GetDbPath());
    m_database->Params().clear();
    QString userName = defaultUserName;
    QString password = defaultPassword;
    try {
        ReadDbLogin(userName, password);
    } catch (const std::exception &) {
        userName = defaultUserName;
        password = defaultPassword;
    }
    m_database->Params() << QStringLiteral("USER_NAME=") + userName << QStringLiteral("PASSWORD=") + password;
    m_database->Open();
}

void TCorvaleApp::OpenDatabase()
{
    RequireParts();
    ConnectDatabase();
    try {
        // Nothing may write to a file that is refused: the look for the
        // tables comes first and only reads.
        CheckDiaryTables();
        EnsureForcedWrites();
        EnsureSessionNrIndex();
        m_activityNames->SetDatabase(m_database.get());
        m_activityNames->Open();
        m_places.clear();
        for (int i = 0; i < m_activityNames->Count(); ++i)
            m_places.append(QStringList());
        RegisterActivities();
        m_courses->SetDatabase(m_database.get());
        m_activities->SetDatabase(m_database.get());
        m_exercises->SetDatabase(m_database.get());
        m_exercisePrograms->SetDatabase(m_database.get());
        m_pulses->SetDatabase(m_database.get());
        m_columnSettings->SetDatabase(m_database.get());
        m_exerciseColumnSettings->SetDatabase(m_database.get());
        m_goals->SetDatabase(m_database.get());
        m_columnSettings->LoadFromDb();
        m_columnSettings->EnsureDefaultSetting();
        LoadColSettingChoice();
        if (m_columnSettings->Exists(m_colSettingChoice))
            m_columnSettings->SetCurrent(m_colSettingChoice);
        m_exercises->LoadExercises();
        m_exercisePrograms->LoadPrograms();
        m_exerciseColumnSettings->LoadFromDb();
        m_pulses->LoadPulses();
    } catch (...) {
        // Half an open diary is no open diary: take back what was done.
        DropDiary();
        throw;
    }
    m_state = TState::Open;
    m_workingUser = m_users->GetNumber();
    m_workingLocation = m_users->GetLocation();
    ShowHelpAtStartup();
}

void TCorvaleApp::CheckDiaryTables()
{
    QStringList names;
    for (const char *table : diaryTables)
        names.append(QStringLiteral("'%1'").arg(QLatin1String(table)));
    const qint64 found = m_database->ReadOnlyNumber(
        QStringLiteral("select count(*) from rdb$relations where rdb$relation_name in (%1)").arg(names.join(QLatin1Char(','))));
    if (found != qint64(std::size(diaryTables)))
        throw ENoDiary(QStringLiteral("Databasfilen %1 är ingen dagbok för Ternvall: dagbokens tabeller saknas. "
                                      "Applikationen kommer nu att avslutas.")
                           .arg(GetDbPath()));
}

void TCorvaleApp::EnsureForcedWrites()
{
    // Without forced writes the engine leaves it to the operating system
    // when pages reach the disk, and a power cut can leave the diary
    // unreadable. A diary is never used that way.
    if (m_database->ForcedWrites())
        return;
    QString info;
    try {
        m_database->SwitchForcedWritesOn();
        if (m_database->ForcedWrites())
            return;
    } catch (const EDbClientError &e) {
        info = e.Message();
    }
    QString text = QStringLiteral("Dagboken %1 skrivs inte säkert till disken (databasens tvingade skrivning är "
                                  "avstängd) och det gick inte att slå på den. Kommandot gfix -write sync slår på "
                                  "den. Applikationen kommer nu att avslutas.")
                       .arg(GetDbPath());
    if (!info.isEmpty())
        text += QStringLiteral(" Info: ") + info;
    throw EUnsafeDiary(text);
}

void TCorvaleApp::EnsureSessionNrIndex()
{
    // The highest session number is asked for at every new entry and every
    // step of the current-course window; the engine finds it at once only
    // through a descending index. Diaries made before it was part of the
    // schema get it here.
    if (m_database->ReadOnlyNumber(QStringLiteral("select count(*) from rdb$indices "
                                                  "where rdb$index_name = 'IX_TRAININGSESSION_NRDESC'"))
        > 0)
        return;
    try {
        TDbTransactionGuard transaction(*m_database);
        // Data definition goes straight to the driver: it touches no rows
        // to count.
        QSqlQuery query(m_database->Database());
        if (!query.exec(QStringLiteral("CREATE DESCENDING INDEX IX_TrainingSession_NrDesc ON TrainingSession (SessionNr)")))
            throw EDbClientError(query.lastError(), QString());
        query.finish();
        transaction.Commit();
    } catch (const EDbClientError &e) {
        // A login that may not change the tables still uses the diary, only
        // more slowly.
        qWarning() << "Could not add the index IX_TrainingSession_NrDesc:" << e.what();
    }
}

void TCorvaleApp::DropDiary()
{
    try {
        UnregisterActivities();
    } catch (const std::exception &e) {
        qWarning() << "Could not unregister the activities:" << e.what();
    }
    m_courses->Clear();
    m_activities->Clear();
    m_activityNames->Close();
    m_places.clear();
    m_pulses->ClearPulses();
    m_columnSettings->Clear();
    m_exerciseColumnSettings->Reset();
    // The goals' activity objects hold queries on the connection.
    m_goals->SetDatabase(nullptr);
    m_database->Close();
    m_state = TState::Closed;
}

void TCorvaleApp::Disconnect()
{
    RequireParts();
    DropDiary();
    SaveColSettingChoice();
}

void TCorvaleApp::CloseDatabase()
{
    Send(TNotifyKind::Closing);
    Disconnect();
}

void TCorvaleApp::DatabaseChanged()
{
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::DatabaseChanged);
}

TDefRegistry &TCorvaleApp::GetRegistry()
{
    RequireParts();
    m_registry->CloseKey();
    return *m_registry;
}

// ---------------------------------------------------------------------------
// Users

int TCorvaleApp::GetUserNumber() const
{
    RequireParts();
    return m_users->GetNumber();
}

void TCorvaleApp::SetUserNumber(int number)
{
    RequireParts();
    m_users->SetNumber(number);
}

QString TCorvaleApp::GetUserName() const
{
    RequireParts();
    return m_users->GetName();
}

void TCorvaleApp::SetUserName(const QString &name)
{
    RequireParts();
    m_users->SetName(name);
}

QString TCorvaleApp::GetLocation() const
{
    RequireParts();
    return m_users->GetLocation();
}

void TCorvaleApp::SetLocation(const QString &folder)
{
    RequireParts();
    m_users->SetLocation(folder);
}

QString TCorvaleApp::GetDbPath() const
{
    RequireParts();
    return m_users->GetDbPath();
}

QString TCorvaleApp::GetDbPathOf(int number) const
{
    RequireParts();
    return m_users->GetDbPathOf(number);
}

QString TCorvaleApp::GetDbFileName() const
{
    RequireParts();
    return m_users->GetDbFileName();
}

QString TCorvaleApp::GetExpectedLocation() const
{
    RequireParts();
    const QString location = m_users->GetLocation();
    return location.isEmpty() ? m_readLocation : location;
}

QString TCorvaleApp::GetAppPath() const
{
    return m_appPath;
}

void TCorvaleApp::ShowHelp(int topic)
{
    m_help.ShowHelp(topic);
}

void TCorvaleApp::ShowHelpAtStartup()
{
    TDefRegistry machine(TDefRegistry::THive::Machine);
    machine.OpenKey(settingsRoot, true);
    if (machine.ReadBoolDef(QStringLiteral("ShowHelpAtStartup"), true))
        m_help.ShowStartTopic();
    if (m_help.TakeStartTopicShown())
        machine.WriteBool(QStringLiteral("ShowHelpAtStartup"), false);
    machine.CloseKey();
}

// ---------------------------------------------------------------------------
// Settings

TSettingsValues TCorvaleApp::GetSettings() const
{
    RequireParts();
    return m_settings->GetValues();
}

TSettingsChanges TCorvaleApp::GetSettingsChanges() const
{
    RequireParts();
    return m_settings->GetChangeSet();
}

void TCorvaleApp::ApplySettings(const TSettingsValues &values)
{
    RequireParts();
    if (m_settings->SetValues(values))
        return;
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::SettingsChanged);
}

void TCorvaleApp::LoadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(settingsKey, true);
    const TSettingsValues values = TCorvaleSettings::Read(registry);
    registry.CloseKey();
    m_settings->SetValues(values);
    LoadColSettingChoice();

    TDefRegistry machine(TDefRegistry::THive::Machine);
    machine.OpenKey(settingsRoot, true);
    m_appPath = machine.ReadStringDef(QStringLiteral("AppPath"), QString());
    m_help.SetAppPath(m_appPath);
    machine.OpenKey(databaseKey, true);
    const int user = machine.ReadIntegerDef(QStringLiteral("User"), 1);
    const QString location = machine.ReadStringDef(QStringLiteral("Location"), SettingsFiles::DefaultDatabaseFolder());
    const bool userStored = machine.ValueExists(QStringLiteral("User"));
    const bool locationStored = machine.ValueExists(QStringLiteral("Location"));
    try {
        m_users->SetNumber(user);
        if (userStored)
            m_workingUser = user;
    } catch (const EUsers &) {
        // A slot number outside 1..4 in the store: start with slot 1.
    }
    machine.OpenKey(namesKey, true);
    m_users->SetName(machine.ReadStringDef(QString::number(m_users->GetNumber()), QStringLiteral("Användare1")));
    machine.CloseKey();
    if (locationStored && !location.trimmed().isEmpty())
        m_workingLocation = TUsers::WithSeparator(location);
    m_readLocation = TUsers::WithSeparator(location.trimmed().isEmpty() ? SettingsFiles::DefaultDatabaseFolder() : location);
    try {
        m_users->SetLocation(location);
    } catch (const EUsers &) {
        // The diary is not there (yet): the start-up asks for its folder.
    }
}

void TCorvaleApp::SaveSettings()
{
    RequireParts();
    {
        TDefRegistry registry(TDefRegistry::THive::User);
        registry.OpenKey(settingsKey, true);
        TCorvaleSettings::Write(registry, m_settings->GetValues());
        registry.CloseKey();
    }
    SaveColSettingChoice();

    TDefRegistry machine(TDefRegistry::THive::Machine);
    machine.OpenKey(databaseKey, true);
    if (m_workingUser >= 1)
        machine.WriteInteger(QStringLiteral("User"), m_workingUser);
    if (!m_workingLocation.isEmpty())
        machine.WriteString(QStringLiteral("Location"), m_workingLocation);
    machine.CloseKey();
}

void TCorvaleApp::LoadColSettingChoice()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(settingsKey, true);
    m_colSettingSlot = m_users->GetNumber();
    m_colSettingChoice = registry.ReadIntegerDef(QStringLiteral("ColSetting%1").arg(m_colSettingSlot), -1);
    registry.CloseKey();
}

void TCorvaleApp::SaveColSettingChoice()
{
    // After a change of user whose diary failed to open, the choice held is
    // still the previous diary's.
    if (m_colSettingSlot < 1)
        return;
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(settingsKey, true);
    registry.WriteInteger(QStringLiteral("ColSetting%1").arg(m_colSettingSlot), m_colSettingChoice);
    registry.CloseKey();
}

int TCorvaleApp::GetColSettingChoice() const
{
    return m_colSettingChoice;
}

void TCorvaleApp::SetColSettingChoice(int id)
{
    m_colSettingChoice = id;
}

// ---------------------------------------------------------------------------
// Activities

int TCorvaleApp::GetRegisteredCount()
{
    RequireParts();
    return m_activities->CountSessions();
}

int TCorvaleApp::NewActivity(const QString &displayName)
{
    RequireParts();
    return m_activities->NewActivity(displayName);
}

TActivity *TCorvaleApp::FindActivity(int sessionNr) const
{
    RequireParts();
    return m_activities->Find(sessionNr);
}

TActivity *TCorvaleApp::GetLoadedActivity(int index) const
{
    RequireParts();
    return m_activities->GetActivity(index);
}

int TCorvaleApp::GetLoadedCount() const
{
    RequireParts();
    return m_activities->Count();
}

void TCorvaleApp::SaveActivity(int sessionNr)
{
    RequireParts();
    m_activities->Save(sessionNr);
}

void TCorvaleApp::LoadActivityDetails(int sessionNr)
{
    RequireParts();
    m_activities->Load(sessionNr);
}

void TCorvaleApp::ClearLoaded()
{
    RequireParts();
    m_activities->Clear();
}

int TCorvaleApp::RemoveActivity(int sessionNr)
{
    RequireParts();
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::RemovingActivity);
    return m_activities->Remove(sessionNr);
}

void TCorvaleApp::SearchActivities(const QStringList &displayNames, const TSearchParams &filter, QList<int> &numbers)
{
    RequireParts();
    TIdleAtEnd idle(*this);
    SetKind(quint8(TNotifyKind::ActivitySearch));
    m_activities->Search(displayNames, filter,
                         [this](const QString &displayName) {
                             SetText(displayName);
                             Notify();
                         },
                         numbers);
}

TActivities &TCorvaleApp::GetActivities()
{
    RequireParts();
    return *m_activities;
}

// ---------------------------------------------------------------------------
// Activity names, classes and places

int TCorvaleApp::GetActivityCount() const
{
    RequireParts();
    return m_activityNames->Count();
}

void TCorvaleApp::GetActivityNames(QStringList *list) const
{
    RequireParts();
    m_activityNames->GetNames(list);
}

TActivityNames &TCorvaleApp::GetActivityNameList()
{
    RequireParts();
    return *m_activityNames;
}

TActivityFactory &TCorvaleApp::GetFactory()
{
    RequireParts();
    return *m_factory;
}

void TCorvaleApp::RegisterActivities()
{
    RequireParts();
    QStringList names;
    m_activityNames->GetNames(&names);
    for (const QString &name : names) {
        const QString code = m_activityNames->CodeOfName(name);
        const TActivityClass *activityClass = ActivityClassOfCode(code);
        if (!activityClass)
            throw ECorvaleError(QStringLiteral("The activity %1 has not been registered").arg(code));
        m_factory->Register(name, activityClass);
    }
}

void TCorvaleApp::UnregisterActivities()
{
    RequireParts();
    QStringList names;
    m_activityNames->GetNames(&names);
    for (const QString &name : names) {
        // Registration may have stopped part-way; what was never registered
        // is left alone, so that everything that was is taken away.
        if (m_factory->IsRegistered(name))
            m_factory->Unregister(name);
    }
}

void TCorvaleApp::ChangeActivityNames(QStringList *names)
{
    RequireParts();
    UnregisterActivities();
    bool changed = false;
    try {
        changed = m_activityNames->SetNames(names);
    } catch (...) {
        if (names)
            m_activityNames->GetNames(names);
        RegisterActivities();
        throw;
    }
    m_activityNames->GetNames(names);
    RegisterActivities();
    if (changed) {
        TIdleAtEnd idle(*this);
        Send(TNotifyKind::ActivityNamesChanged);
    }
}

std::unique_ptr<TActivity> TCorvaleApp::CreateActivity(const QString &displayName)
{
    RequireParts();
    std::unique_ptr<TActivity> activity = m_factory->CreateActivity(displayName);
    activity->SetDatabase(m_database.get());
    activity->SetActivityNames(m_activityNames.get());
    return activity;
}

std::unique_ptr<TActivity> TCorvaleApp::CreateActivityOfCode(const QString &code)
{
    // The user may rename every type; the code stays.
    return CreateActivity(m_activityNames->NameOfCode(code));
}

QString TCorvaleApp::LastNewHcp(const QString &date, int sessionNr)
{
    RequireParts();
    std::unique_ptr<TActivity> activity = CreateActivityOfCode(QStringLiteral("GOL"));
    auto *golf = dynamic_cast<TGolf *>(activity.get());
    if (!golf)
        throw ECorvaleError(QStringLiteral("The activity %1 has not been registered").arg(QStringLiteral("GOL")));
    return golf->LastNewHcp(date, sessionNr);
}

QString TCorvaleApp::WaistHipRatio(const QString &waist, const QString &hip)
{
    RequireParts();
    std::unique_ptr<TActivity> activity = CreateActivityOfCode(QStringLiteral("CAM"));
    if (!dynamic_cast<TCardioMeasure *>(activity.get()))
        throw ECorvaleError(QStringLiteral("The activity %1 has not been registered").arg(QStringLiteral("CAM")));
    return TCardioMeasure::WaistHipRatio(waist, hip);
}

void TCorvaleApp::GetTimeDistanceActivityNames(QStringList *list)
{
    RequireParts();
    if (!list)
        throw ECorvaleError(QStringLiteral("CorvaleApp 01"));
    list->clear();
    QStringList names;
    m_activityNames->GetNames(&names);
    for (const QString &name : names) {
        const TActivityClass *activityClass = m_factory->ClassOf(name);
        if (activityClass && activityClass->Create()->Family() == TActivityFamily::TimeDistance)
            list->append(name);
    }
}

void TCorvaleApp::LoadPlaces()
{
    RequireParts();
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::LoadingPlaces);
    QStringList names;
    m_activityNames->GetNames(&names);
    for (int i = 0; i < names.size() && i < m_places.size(); ++i) {
        std::unique_ptr<TActivity> activity = CreateActivity(names.at(i));
        Send(TNotifyKind::LoadingPlaces);
        m_places[i].clear();
        activity->GetPlaces(&m_places[i]);
    }
}

void TCorvaleApp::GetPlaces(QStringList *list, const QString &displayName) const
{
    RequireParts();
    if (!list)
        throw ECorvaleError(QStringLiteral("CorvaleApp 01"));
    QStringList names;
    m_activityNames->GetNames(&names);
    int index = -1;
    for (int i = 0; i < names.size() && index < 0; ++i) {
        if (names.at(i).compare(displayName, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index < 0)
        return;
    list->clear();
    if (index < m_places.size())
        *list = m_places.at(index);
}

// ---------------------------------------------------------------------------
// Courses

void TCorvaleApp::SearchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                                const QString &maxDistance, const QStringList &difficulties, QList<TCourseItem> *result)
{
    RequireParts();
    m_courses->SearchCourses(activities, place, minDistance, maxDistance, difficulties, result);
}

void TCorvaleApp::MatchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                               const QString &maxDistance, QList<TCourseItem> *result)
{
    RequireParts();
    m_courses->MatchCourses(activities, place, minDistance, maxDistance, result);
}

void TCorvaleApp::ListCourses(const QStringList *activities, const QString &place, const QString &minDistance,
                              const QString &maxDistance, QStringList *texts, TIntegerList *numbers)
{
    RequireParts();
    m_courses->ListCourses(activities, place, minDistance, maxDistance, texts, numbers);
}

int TCorvaleApp::NewCourse()
{
    RequireParts();
    return m_courses->NewCourse();
}

void TCorvaleApp::SetCourseValues(int nr, const QString &activityName, int difficulty, double distance,
                                  const QString &place)
{
    RequireParts();
    m_courses->SetCourseValues(nr, activityName, difficulty, distance, place);
}

void TCorvaleApp::SetCourseDescription(int nr, const QStringList *lines)
{
    RequireParts();
    m_courses->SetCourseDescription(nr, lines);
}

void TCorvaleApp::SetCourseLaps(int nr, const QStringList &laps)
{
    RequireParts();
    m_courses->SetCourseLaps(nr, laps);
}

TCourseValues TCorvaleApp::GetCourseValues(int nr) const
{
    RequireParts();
    return m_courses->GetCourseValues(nr);
}

void TCorvaleApp::GetCourseDescription(int nr, QStringList *target) const
{
    RequireParts();
    m_courses->GetCourseDescription(nr, target);
}

void TCorvaleApp::GetCourseLaps(int nr, QStringList *target) const
{
    RequireParts();
    m_courses->GetCourseLaps(nr, target);
}

void TCorvaleApp::CheckCourseLapsChange(int nr, const QStringList &newLaps)
{
    RequireParts();
    m_courses->CheckCourseLapsChange(nr, newLaps);
}

int TCorvaleApp::CourseUseCount(int nr)
{
    RequireParts();
    return m_courses->CourseUseCount(nr);
}

int TCorvaleApp::CourseCount() const
{
    RequireParts();
    return m_courses->CourseCount();
}

TCourseValues TCorvaleApp::ReadCourse(int nr)
{
    RequireParts();
    return m_courses->ReadCourse(nr);
}

void TCorvaleApp::GetReadCourseLaps(int nr, QStringList *target) const
{
    RequireParts();
    m_courses->GetReadCourseLaps(nr, target);
}

int TCorvaleApp::SaveCourse(int nr)
{
    RequireParts();
    const int bound = m_courses->SaveCourse(nr);
    // The main window drops what it shows of the sessions of the current
    // course; a save that rewrote no session must not leave an earlier
    // course standing there.
    m_settings->SetCurrentCourse(bound > 0 ? nr : -1);
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::CoursesChanged);
    return bound;
}

void TCorvaleApp::RemoveCourse(int nr)
{
    RequireParts();
    m_courses->RemoveCourse(nr);
    // A course that sessions are bound to is never removed.
    m_settings->SetCurrentCourse(-1);
    TIdleAtEnd idle(*this);
    Send(TNotifyKind::CoursesChanged);
}

void TCorvaleApp::ReloadCourse(int nr)
{
    RequireParts();
    m_courses->ReloadCourse(nr);
}

TCourses &TCorvaleApp::GetCourses()
{
    RequireParts();
    return *m_courses;
}

// ---------------------------------------------------------------------------
// List columns

TActivityColumns &TCorvaleApp::GetActivityColumns()
{
    RequireParts();
    return *m_activityColumns;
}

TColumnSettings &TCorvaleApp::GetColumnSettings()
{
    RequireParts();
    return *m_columnSettings;
}

TExerciseColumnSettings &TCorvaleApp::GetExerciseColumnSettings()
{
    RequireParts();
    return *m_exerciseColumnSettings;
}

void TCorvaleApp::SetCurrentColumnSetting(int id)
{
    RequireParts();
    m_columnSettings->SetCurrent(id);
    m_colSettingChoice = id;
}

TPulses &TCorvaleApp::GetPulses()
{
    RequireParts();
    return *m_pulses;
}

TGoals &TCorvaleApp::GetGoals()
{
    RequireParts();
    return *m_goals;
}

int TCorvaleApp::Export(const QString &fileName, const QString &title, const std::function<void()> &progress, bool html,
                        bool replace, const QString &replaceText, int separatorIndex, int *replaced)
{
    RequireParts();
    TActExport *exporter = nullptr;
    if (html) {
        exporter = m_htmlExport.get();
    } else {
        m_textExport->SetSeparator(separatorIndex);
        m_textExport->SetReplace(replace, replaceText);
        exporter = m_textExport.get();
    }
    exporter->SetTitle(title);
    exporter->ExportToFile(fileName, progress);
    if (replaced)
        *replaced = exporter->ReplacedCount();
    return m_activities->Count();
}

TExercises &TCorvaleApp::GetExercises()
{
    RequireParts();
    return *m_exercises;
}

TExercisePrograms &TCorvaleApp::GetExercisePrograms()
{
    RequireParts();
    return *m_exercisePrograms;
}

void TCorvaleApp::SaveExercises()
{
    RequireParts();
    try {
        m_exercises->ApplyExercises();
    } catch (...) {
        // The exercises written before the failure are in the table, the
        // columns of those deleted among them are gone with them. A failing
        // read leaves the columns as they were, and the write's error is the
        // one to tell.
        try {
            m_exerciseColumnSettings->LoadFromDb();
        } catch (const std::exception &e) {
            qWarning() << "Exercise columns not read again:" << e.what();
        }
        throw;
    }
    m_exerciseColumnSettings->LoadFromDb();
}

void TCorvaleApp::SaveExercisePrograms()
{
    RequireParts();
    TIdleAtEnd idle(*this);
    try {
        m_exercisePrograms->ApplyPrograms();
    } catch (...) {
        // Programs written before the failure are in the table, so the
        // observers hear of the change; the write's error is the one to tell.
        try {
            Send(TNotifyKind::ProgramsChanged);
        } catch (const std::exception &e) {
            qWarning() << "Observer failed on programs notification:" << e.what();
        }
        throw;
    }
    Send(TNotifyKind::ProgramsChanged);
}

// ---------------------------------------------------------------------------
// Notifications

void TCorvaleApp::Send(TNotifyKind kind, const QString &text)
{
    SetKind(quint8(kind));
    SetText(text);
    Notify();
}

TCorvaleApp &CorvaleApp()
{
    auto &app = processApp();
    if (!app)
        app = std::make_unique<TCorvaleApp>();
    return *app;
}

void FreeCorvaleApp()
{
    processApp().reset();
}
