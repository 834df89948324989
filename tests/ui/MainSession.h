#pragma once

// One run of the program in the main window for the tests of its menus and
// tool bars: a diary made from the schema in fresh folders, opened by the
// real start-up.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "ui/Main.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace MainSession
{
inline QAtomicInt serial;

inline TCorvaleApp::TOptions options(const QString &driver = QStringLiteral("QIBASE"))
{
    TCorvaleApp::TOptions result;
    result.driverName = driver;
    result.connectionName = QStringLiteral("%1-%2").arg(QCoreApplication::applicationName()).arg(serial.fetchAndAddRelaxed(1));
    return result;
}

inline bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

inline std::unique_ptr<QSettings> userStore()
{
    return SettingsFiles::OpenStore(SettingsFiles::THive::User);
}

// One run of the program on the diary of the folders: the real start-up
// opens it in the main window; messages are recorded, questions answered
// with yes.
class TMainSession
{
public:
    TMainSession() : m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()), m_window(m_app)
    {
        m_window.show();
        const bool opened = QTest::qWaitFor([this] { return m_window.windowTitle() != QLatin1String("Ternvall"); }, 10000);
        m_active = opened && Reactivated();
    }

    bool Ready() const { return m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TCorvaleApp &App() { return m_app; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const QString &name) { return m_window.findChild<T *>(name); }
    QAction *Action(const QString &name) { return Child<QAction>(name); }
    QToolBar *Bar(const char *name) { return Child<QToolBar>(QLatin1String(name)); }
    QString FrontPage()
    {
        auto *pages = Child<QTabWidget>(QStringLiteral("pgctrlMain"));
        return pages->tabText(pages->currentIndex());
    }

    bool Reactivated()
    {
        if (!m_window.isActiveWindow())
            m_window.activateWindow();
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    // A run of this year, saved as the entry page saves one.
    void AddRun(int day)
    {
        const int nr = m_app.NewActivity(m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        const QDate date(QDate::currentDate().year(), 1, day);
        session.SetSessionData(date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(QStringLiteral("25.00"));
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(QString());
        const QStringList none;
        session.SetLaps(&none, &none);
        m_app.SaveActivity(nr);
    }

    // Closes the window as the user does, saying yes to the question.
    bool Close() { return m_window.close(); }

    QStringList messages;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() != QLatin1String("frmMessage"))
            return;
        messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
        for (const char *name : {"btnYes", "btnOK"}) {
            if (auto *button = window->findChild<QPushButton *>(QLatin1String(name))) {
                button->click();
                return;
            }
        }
    }

    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};
}
