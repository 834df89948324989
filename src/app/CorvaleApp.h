#pragma once

#include "app/CorvaleHelp.h"
#include "app/CorvaleSettings.h"
#include "app/Startup.h"
#include "app/Users.h"
#include "foundation/IntegerList.h"
#include "foundation/Observer.h"
#include "model/SearchParams.h"
#include "reference/Courses.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TActivities;
class TActivity;
class TActivityColumns;
class TActivityFactory;
class TActivityNames;
class TColumnSettings;
class TDbConnection;
class TDefRegistry;
class TExerciseColumnSettings;
class TExercisePrograms;
class TExercises;
class TGoals;
class THtmlExport;
class TTextExport;
class TPulses;

// The kinds of notification the application object sends to its observers.
// Every kind but Closing is followed by Idle when its operation ends, also
// when the operation fails; Closing is followed by DatabaseChanged and then
// Idle once another diary is open.
enum class TNotifyKind : quint8 {
    Idle = 0,
    PersonalRecordsSearch = 1,
    LoadingPlaces = 2,
    SettingsChanged = 3,
    RemovingActivity = 4,
    ActivityNamesChanged = 5,
    Closing = 6,
    DatabaseChanged = 7,
    CoursesChanged = 8,
    ActivitySearch = 9,
    ProgramsChanged = 10,
};

// The one object through which the windows reach the diary. It owns the
// database connection with its single transaction, the user slots, the
// settings and the collections of the model; windows call it, it forwards
// to the collection and tells every attached observer about changes to
// shared data.
//
// States: Shell when the database engine was missing at construction (it
// then owns nothing else), Closed without an open diary, Open with one.
class TCorvaleApp : public TSubject
{
public:
    enum class TState { Shell, Closed, Open };

    struct TOptions
    {
        QString driverName = QStringLiteral("QIBASE");
        QString connectionName = QStringLiteral("Corvale");
    };

    TCorvaleApp();
    explicit TCorvaleApp(const TOptions &options);
    // Saves the settings (unless in the Shell state) and frees every part,
    // the connection last.
    ~TCorvaleApp() override;

    TState State() const { return m_state; }

    // Start-up checks (see TStartup).
    void CheckInterbase() const;
    void CheckVersion() const;

    // The connection, its transaction included.
    TDbConnection &GetDatabase();
    // Closes an open connection and opens the current user's diary with the
    // login from the per-user store. Raises EDbClientError when the engine
    // refuses.
    void ConnectDatabase();
    // The login ("SYSDBA" and "hollyfern" when none is stored).
    void ReadDbLogin(QString &userName, QString &password) const;
    // Connects and prepares everything for the open diary. Right after
    // connecting, and before anything is written, the diary's tables are
    // looked for in a read-only transaction: a database without them raises
    // ENoDiary. Then a diary whose forced writes are off has them switched
    // on (EUnsafeDiary when the engine refuses), and an index the program
    // relies on that an older diary lacks is added.
    void OpenDatabase();
    // Drops the open diary; the collections stay, empty.
    void Disconnect();
    // Tells the observers that the diary closes (Closing), then Disconnect.
    void CloseDatabase();
    // Tells the observers that another diary is open (DatabaseChanged, Idle).
    void DatabaseChanged();
    // The shared store, with no key left open.
    TDefRegistry &GetRegistry();

    // User slots.
    int GetUserNumber() const;
    void SetUserNumber(int number);
    QString GetUserName() const;
    void SetUserName(const QString &name);
    QString GetLocation() const;
    void SetLocation(const QString &folder);
    QString GetDbPath() const;
    QString GetDbPathOf(int number) const;
    QString GetDbFileName() const;
    // The folder the diary is looked for in: the location, or, while the
    // diary was not found where the store says (or, with nothing stored, in
    // the default folder), that folder. Ends with "/".
    QString GetExpectedLocation() const;
    // The folder of the program's own files (help pages, pictures).
    QString GetAppPath() const;

    // Help (see THelp): the windows open their topics here; the program's
    // help window is attached as the viewer when the main window is made.
    THelp &GetHelp() { return m_help; }
    void ShowHelp(int topic);
    // The start topic, once per installation: shown when the machine-wide
    // value ShowHelpAtStartup (default true) is true, which then becomes
    // false, also when the help could not be shown. The last step of
    // OpenDatabase.
    void ShowHelpAtStartup();

    // Settings.
    TSettingsValues GetSettings() const;
    TSettingsChanges GetSettingsChanges() const;
    // Stores new settings; unless nothing changed, observers hear
    // SettingsChanged and then Idle.
    void ApplySettings(const TSettingsValues &values);
    void LoadSettings();
    void SaveSettings();
    // The choice is read for the current slot and written only for the
    // slot it was read for, whichever slot is current by then: a diary that
    // failed to open never gets another diary's choice.
    void LoadColSettingChoice();
    void SaveColSettingChoice();
    int GetColSettingChoice() const;
    void SetColSettingChoice(int id);

    // The number of diary entries in the open diary.
    int GetRegisteredCount();

    // Diary entries in use (see TActivities); objects are addressed by
    // session number and stay owned by the collection.
    int NewActivity(const QString &displayName);
    TActivity *FindActivity(int sessionNr) const;
    TActivity *GetLoadedActivity(int index) const;
    int GetLoadedCount() const;
    void SaveActivity(int sessionNr);
    void LoadActivityDetails(int sessionNr);
    void ClearLoaded();
    // Observers hear RemovingActivity before and Idle after, also when the
    // removal fails. Returns the entry's former position.
    int RemoveActivity(int sessionNr);
    // Runs the search with ActivitySearch as the kind: observers hear it
    // with the display name as text for every type searched, then Idle with
    // an empty text, also when the search fails.
    void SearchActivities(const QStringList &displayNames, const TSearchParams &filter, QList<int> &numbers);
    TActivities &GetActivities();

    // Activity names and classes.
    int GetActivityCount() const;
    // Replaces the list's contents by the display names, in list order.
    void GetActivityNames(QStringList *list) const;
    TActivityNames &GetActivityNameList();
    TActivityFactory &GetFactory();
    // Registers every display name with the class of its code. A code
    // without a class raises ECorvaleError "The activity %s has not been
    // registered"; the names before it stay registered.
    void RegisterActivities();
    // Unregisters every display name that is registered.
    void UnregisterActivities();
    // Stores new display names (one per code, in order). Whatever the store
    // does, the caller's list is refreshed from the stored names and they
    // are registered again; a change is told as ActivityNamesChanged, Idle.
    void ChangeActivityNames(QStringList *names);
    // A new, unsaved object of the display name's class, attached to the
    // connection and the names; the caller owns it.
    std::unique_ptr<TActivity> CreateActivity(const QString &displayName);
    // The handicap after the latest golf round on or before the date, other
    // than the session given (-1 for a new round); empty when none.
    QString LastNewHcp(const QString &date, int sessionNr);
    // The waist/hip ratio the body measurement shows.
    QString WaistHipRatio(const QString &waist, const QString &hip);
    // The display names whose class is of the time-and-distance family.
    void GetTimeDistanceActivityNames(QStringList *list);

    // Places, per display name.
    // Reads the places of every activity, telling LoadingPlaces once before
    // and once per name, and Idle at the end (also after a failure).
    void LoadPlaces();
    // Fills the list with the places of the display name; a name that is not
    // an activity's leaves the list as it is. No list: "CorvaleApp 01".
    void GetPlaces(QStringList *list, const QString &displayName) const;

    // Course descriptions (see TCourses), addressed by course number.
    void SearchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                       const QString &maxDistance, const QStringList &difficulties, QList<TCourseItem> *result);
    void MatchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                      const QString &maxDistance, QList<TCourseItem> *result);
    // One text and one number per matching course; `activities` nullptr
    // lists the courses of every activity.
    void ListCourses(const QStringList *activities, const QString &place, const QString &minDistance,
                     const QString &maxDistance, QStringList *texts, TIntegerList *numbers);
    int NewCourse();
    void SetCourseValues(int nr, const QString &activityName, int difficulty, double distance, const QString &place);
    void SetCourseDescription(int nr, const QStringList *lines);
    void SetCourseLaps(int nr, const QStringList &laps);
    TCourseValues GetCourseValues(int nr) const;
    void GetCourseDescription(int nr, QStringList *target) const;
    void GetCourseLaps(int nr, QStringList *target) const;
    void CheckCourseLapsChange(int nr, const QStringList &newLaps);
    int CourseUseCount(int nr);
    int CourseCount() const;
    TCourseValues ReadCourse(int nr);
    void GetReadCourseLaps(int nr, QStringList *target) const;
    // Saves the course and returns the number of sessions bound to it. The
    // settings' CurrentCourse becomes the course when its sessions were
    // rewritten, -1 when none were; then observers hear CoursesChanged and
    // Idle. A failed save tells nobody.
    int SaveCourse(int nr);
    // Removes the course (see TCourses::RemoveCourse); CurrentCourse becomes
    // -1, then observers hear CoursesChanged and Idle.
    void RemoveCourse(int nr);
    // Reads the course again from the diary (see TCourses::ReloadCourse);
    // nobody is notified, since nothing stored changes.
    void ReloadCourse(int nr);
    TCourses &GetCourses();

    // The list columns: the catalogue (built with the object), the named
    // column settings of the open diary and the exercises shown in the
    // exercise columns. The window that lays out a grid works on these.
    TActivityColumns &GetActivityColumns();
    TColumnSettings &GetColumnSettings();
    TExerciseColumnSettings &GetExerciseColumnSettings();
    // Makes the setting current and remembers it as the user's choice.
    void SetCurrentColumnSetting(int id);

    // The registers of pulse intervals, strength exercises and programs.
    TPulses &GetPulses();
    TExercises &GetExercises();
    TExercisePrograms &GetExercisePrograms();
    // Writes the exercises (TExercises::ApplyExercises) and then reads the
    // exercise columns again, since a deleted exercise leaves its column
    // unassigned. The columns are read again also when the write fails
    // part-way, as what was written stays written; the write's error is
    // passed on.
    void SaveExercises();
    // Writes the programs (TExercisePrograms::ApplyPrograms); observers hear
    // ProgramsChanged and then Idle, also when the write fails part-way.
    void SaveExercisePrograms();

    // The register of training goals (see TGoals); the goals window works on
    // it. Its follow-up reads the open diary, whatever the lists show.
    TGoals &GetGoals();

    // Writes every activity of the collection (the last search's result) to
    // the file: as an HTML page with `html`, else as text with the separator
    // of the index (see TTextExport) and, with `replace`, the separators in
    // the diary's texts replaced by `replaceText`. The progress is told one
    // step at a time, 3 x N + 2 steps for N activities. Returns N; the
    // characters the file's code page cannot hold and that were written as
    // "?" are counted in `replaced`.
    int Export(const QString &fileName, const QString &title, const std::function<void()> &progress, bool html, bool replace,
               const QString &replaceText, int separatorIndex, int *replaced = nullptr);

    // Sends one notification of the kind with the text.
    void Send(TNotifyKind kind, const QString &text = QString());

private:
    void RequireParts() const;
    // A throw-away object of the type with the fixed code, whatever its
    // display name is now.
    std::unique_ptr<TActivity> CreateActivityOfCode(const QString &code);
    // Closes the diary and empties what was loaded from it.
    void DropDiary();
    // The checks and repairs of OpenDatabase, in this order.
    void CheckDiaryTables();
    void EnsureForcedWrites();
    void EnsureSessionNrIndex();

    TState m_state = TState::Shell;
    QString m_shellReason;
    std::unique_ptr<TStartup> m_startup;
    std::unique_ptr<TUsers> m_users;
    std::unique_ptr<TCorvaleSettings> m_settings;
    std::unique_ptr<TDefRegistry> m_registry;
    std::unique_ptr<TDbConnection> m_database;
    std::unique_ptr<TActivityNames> m_activityNames;
    std::unique_ptr<TActivityFactory> m_factory;
    std::unique_ptr<TActivities> m_activities;
    std::unique_ptr<TCourses> m_courses;
    std::unique_ptr<TPulses> m_pulses;
    std::unique_ptr<TExercises> m_exercises;
    std::unique_ptr<TExercisePrograms> m_exercisePrograms;
    std::unique_ptr<TActivityColumns> m_activityColumns;
    std::unique_ptr<TColumnSettings> m_columnSettings;
    std::unique_ptr<TExerciseColumnSettings> m_exerciseColumnSettings;
    std::unique_ptr<TGoals> m_goals;
    std::unique_ptr<TTextExport> m_textExport;
    std::unique_ptr<THtmlExport> m_htmlExport;
    QList<QStringList> m_places; // one list per display name, while a diary is open
    TOptions m_options;
    int m_colSettingChoice = -1;
    int m_colSettingSlot = 0; // the slot m_colSettingChoice was read for, 0 for none
    QString m_appPath;
    THelp m_help;
    // The slot and folder last seen to work: read from the store, or of the
    // last diary that opened. Only these are written back at the end, so a
    // folder that was briefly out of reach or a slot whose diary failed to
    // open is never recorded over a working one.
    int m_workingUser = 0;
    QString m_workingLocation;
    // The folder read from the store at start, or the default one.
    QString m_readLocation;
};

// The process's application object, created on first use.
TCorvaleApp &CorvaleApp();
// Frees the process's application object (after the last window is gone).
void FreeCorvaleApp();
