#pragma once

// The main window on a diary of its own: the diary is made from the schema
// file in temporary folders, filled before the window opens it, and opened
// by the program's real start-up; message boxes are recorded and answered.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"
#include "ui/Main.h"

#include <QAction>
#include <QAtomicInt>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace MainWindowDiary
{
// A connection name not used before in this process.
inline QString UniqueName(const char *kind)
{
    static QAtomicInt serial;
    return QStringLiteral("MainWindowDiary-%1-%2").arg(QLatin1String(kind)).arg(serial.fetchAndAddRelaxed(1));
}

// Gives a running session its values as the entry page does: no weather,
// sleep or comment, `courseNr` empty for none.
inline void SetRun(TTimeDistanceActivity &session, const QString &date, const QString &place, const QString &weight,
                   const QString &duration, const QString &distance, const QString &courseNr,
                   const QStringList &splits = {}, const QStringList &laps = {})
{
    session.SetSessionData(date, place, QString(), weight);
    session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    session.SetSleep(QStringLiteral("-1"), QString());
    session.SetComment(QString());
    session.SetDuration(duration);
    session.SetDistance(distance);
    session.SetCourseNr(courseNr);
    session.SetLaps(&splits, &laps);
}

// The place of a tool button on its bar, -1 when it is not there.
inline int PlaceOn(QToolBar *bar, const char *name)
{
    QWidget *widget = bar->findChild<QWidget *>(QLatin1String(name));
    const QList<QAction *> actions = bar->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (widget && bar->widgetForAction(actions.at(i)) == widget)
            return i;
    }
    return -1;
}
} // namespace MainWindowDiary

// An open connection to the diary, before the window opens it; sessions are
// written through the activity classes' own storage.
class TDiaryWriter
{
public:
    explicit TDiaryWriter(const QString &path) : m_connection(MainWindowDiary::UniqueName("writer"))
    {
        m_connection.SetDatabaseName(path);
        m_connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        m_connection.Open();
    }
    ~TDiaryWriter() { m_connection.Close(); }

    TDbConnection &Connection() { return m_connection; }

    void Execute(const QString &statement)
    {
        TDbQuery query(m_connection);
        query.Add(statement);
        query.ExecSQL();
    }

    // A time-and-distance session of the activity with the code, saved.
    void AddSession(const QString &code, const QString &date, const QString &place, const QString &duration,
                    const QString &distance, const QString &weight = QString())
    {
        Prepare();
        const int nr = m_activities->NewActivity(m_names->NameOfCode(code));
        auto &session = static_cast<TTimeDistanceActivity &>(*m_activities->Find(nr));
        MainWindowDiary::SetRun(session, date, place, weight, duration, distance, QString());
        m_activities->Save(nr);
    }

private:
    void Prepare()
    {
        if (m_activities)
            return;
        m_names = std::make_unique<TActivityNames>();
        m_names->SetDatabase(&m_connection);
        m_names->Open();
        QStringList codes;
        m_names->GetCodes(&codes);
        m_factory = std::make_unique<TActivityFactory>();
        for (const QString &code : codes)
            m_factory->Register(m_names->NameOfCode(code), ActivityClassOfCode(code));
        m_pulses = std::make_unique<TPulses>();
        m_pulses->SetDatabase(&m_connection);
        m_activities = std::make_unique<TActivities>();
        m_activities->SetActivityNames(m_names.get());
        m_activities->SetFactory(m_factory.get());
        m_activities->SetPulses(m_pulses.get());
        m_activities->SetDatabase(&m_connection);
    }

    TDbConnection m_connection;
    std::unique_ptr<TActivityNames> m_names;
    std::unique_ptr<TActivityFactory> m_factory;
    std::unique_ptr<TPulses> m_pulses;
    std::unique_ptr<TActivities> m_activities; // last, so it goes first
};

// The main window on its own diary. Message boxes are recorded in
// `messages` and answered with the next button of `answers`, or else with
// the first of `buttons` the box has; the name dialog types the
// next text of `names`; other modal windows go to their OnModal action.
class TMainWindowDiary
{
public:
    // Writes what the diary holds.
    using TFill = std::function<void(TDiaryWriter &)>;
    // The window counts as open once its title names the diary, or after
    // half a second of events.
    enum class TOpening { UntilTitled, HalfASecond };

    // `userName` is the name of the first diary in the machine settings, none
    // when empty; `buttons` are the message boxes' answers in preference.
    explicit TMainWindowDiary(const TFill &fill = {}, const QString &userName = QString(),
                              TOpening opening = TOpening::UntilTitled,
                              const QStringList &buttons = {QStringLiteral("btnOK")})
        : m_buttons(buttons), m_installed(Install(m_folders, fill, userName)),
          m_watcher([this](QWidget *window) { Answer(window); }), m_app(Options()), m_window(m_app)
    {
        m_window.show();
        bool opened = true;
        if (opening == TOpening::UntilTitled) {
            opened = QTest::qWaitFor([this] { return m_window.windowTitle() != QLatin1String("Ternvall"); }, 10000);
        } else {
            QTimer::singleShot(500, [] { QCoreApplication::exit(1); });
            QCoreApplication::exec();
        }
        m_window.activateWindow();
        m_active = opened && QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    TCorvaleApp &App() { return m_app; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }

    // Searches from the search page as the user does, with the dates when
    // given.
    void Search(const QString &from = QString(), const QString &to = QString())
    {
        if (!from.isNull())
            Child<TDatePicker>("wwdtpSearchDate1")->SetText(from);
        if (!to.isNull())
            Child<TDatePicker>("wwdtpSearchDate2")->SetText(to);
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>("tshSearch"));
        Action("mnuiSearch")->trigger();
    }

    // The window becomes the active one again, as the desktop makes it.
    bool Reactivate()
    {
        m_window.activateWindow();
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    // The running activity's name in the diary.
    QString Running() { return m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")); }

    // A course of the running activity saved as the course window saves
    // one; returns its number.
    int AddCourse(const QString &place, double distance, const QStringList &laps)
    {
        const int nr = m_app.NewCourse();
        m_app.SetCourseValues(nr, Running(), 2, distance, place);
        const QStringList none;
        m_app.SetCourseDescription(nr, &none);
        m_app.SetCourseLaps(nr, laps);
        m_app.SaveCourse(nr);
        return nr;
    }

    // A 5 km run in "Skogen" saved as the entry page saves one, on the
    // course (none when negative) with the split times at its lap marks.
    void AddRun(const QString &date, const QString &duration, int course, const QStringList &splits = {},
                const QStringList &laps = {})
    {
        const int nr = m_app.NewActivity(Running());
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        MainWindowDiary::SetRun(session, date, QStringLiteral("Skogen"), QString(), duration, QStringLiteral("5"),
                                course < 0 ? QString() : QString::number(course), splits, laps);
        m_app.SaveActivity(nr);
    }

    // Hands every modal window of the name to the action.
    void OnModal(const QString &objectName, std::function<void(QWidget *)> action)
    {
        m_modal.insert(objectName, std::move(action));
    }

    QStringList messages;
    QStringList answers; // the buttons pressed in the next message boxes, in turn
    QStringList names;   // the texts typed in the next name dialogs, in turn

private:
    static TCorvaleApp::TOptions Options()
    {
        TCorvaleApp::TOptions result;
        result.connectionName = MainWindowDiary::UniqueName("app");
        return result;
    }

    static bool Install(const TTestFolders &folders, const TFill &fill, const QString &userName)
    {
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        if (fill) {
            TDiaryWriter writer(path);
            fill(writer);
        }
        auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
        if (!userName.isEmpty())
            machine->setValue(QStringLiteral("DbSelectNames/1"), userName);
        machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
        machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
        return true;
    }

    void Answer(QWidget *window)
    {
        const QString name = window->objectName();
        if (name == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            if (!answers.isEmpty()) {
                if (auto *pressed = window->findChild<QPushButton *>(answers.takeFirst()))
                    pressed->click();
                return;
            }
            for (const QString &button : m_buttons) {
                if (auto *pressed = window->findChild<QPushButton *>(button)) {
                    pressed->click();
                    return;
                }
            }
        } else if (name == QLatin1String("frmGenericName")) {
            auto *edit = window->findChild<QLineEdit *>(QStringLiteral("edtSetName"));
            edit->setText(names.isEmpty() ? edit->text() : names.takeFirst());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (const auto found = m_modal.constFind(name); found != m_modal.constEnd()) {
            found.value()(window);
        }
    }

    // Before the watcher, which may use them while the window opens.
    QStringList m_buttons;
    QHash<QString, std::function<void(QWidget *)>> m_modal;
    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};
