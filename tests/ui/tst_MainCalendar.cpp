// The calendar window from the main window: "Ka&lender..." and its tool
// button open one kept window and hand it the list as it is, so the window
// follows a new search each time it is opened again.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"
#include "foundation/TulloCalendar.h"
#include "model/Activities.h"
#include "model/ActFactory.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"
#include "ui/Calendar.h"
#include "ui/Main.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainCalendar-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// Running sessions on the dates, written through the activity classes'
// own storage before the window opens the diary.
void writeSessions(const QString &path, const QStringList &dates)
{
    TDbConnection connection(QStringLiteral("tst_MainCalendar-writer-%1").arg(serial.fetchAndAddRelaxed(1)));
    connection.SetDatabaseName(path);
    connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    connection.Open();
    TActivityNames names;
    names.SetDatabase(&connection);
    names.Open();
    QStringList codes;
    names.GetCodes(&codes);
    TActivityFactory factory;
    for (const QString &code : codes)
        factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
    TPulses pulses;
    pulses.SetDatabase(&connection);
    TActivities activities;
    activities.SetActivityNames(&names);
    activities.SetFactory(&factory);
    activities.SetPulses(&pulses);
    activities.SetDatabase(&connection);
    for (const QString &date : dates) {
        const int nr = activities.NewActivity(names.NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*activities.Find(nr));
        session.SetSessionData(date, QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(QStringLiteral("30.00"));
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(QString());
        const QStringList none;
        session.SetLaps(&none, &none);
        activities.Save(nr);
    }
    connection.Close();
}

// A diary with the sessions, opened by the real start-up in the main
// window; message boxes are recorded and answered.
class TMainWindow
{
public:
    explicit TMainWindow(const QStringList &dates)
        : m_installed(Install(m_folders, dates)), m_watcher([this](QWidget *window) { Answer(window); }),
          m_app(options()), m_window(m_app)
    {
        m_window.show();
        const bool opened = QTest::qWaitFor([this] { return m_window.windowTitle() != QLatin1String("Ternvall"); }, 10000);
        m_window.activateWindow();
        m_active = opened && QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    TfrmCalendar *Calendar() { return Child<TfrmCalendar>("frmCalendar"); }

    // Searches the dates from the search page, as the user does.
    void Search(const QString &from, const QString &to)
    {
        Child<TDatePicker>("wwdtpSearchDate1")->SetText(from);
        Child<TDatePicker>("wwdtpSearchDate2")->SetText(to);
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>("tshSearch"));
        Action("mnuiSearch")->trigger();
    }

    // The window becomes the active one again, as the desktop makes it.
    void Reactivate()
    {
        m_window.activateWindow();
        QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    QStringList messages;

private:
    static bool Install(const TTestFolders &folders, const QStringList &dates)
    {
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
        machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
        machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
        writeSessions(path, dates);
        return true;
    }

    void Answer(QWidget *window)
    {
        if (window->objectName() != QLatin1String("frmMessage"))
            return;
        messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
        window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};

const QStringList sessions{"2023-05-04", "2024-05-04", "2024-05-17", "2024-07-01", "2024-02-29"};
}

class tst_MainCalendar : public QObject
{
    Q_OBJECT

private slots:
    // "Ka&lender..." (Ctrl+7) stands in "&Visa" before the exercises, its
    // tool button in the Visa bar after the course button and before the
    // exercises; both are enabled only while the list holds activities.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiCalendar");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Ka&lender..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_7));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) > shown.indexOf(w.Action("mnuiNextAct")));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiExercises")));

        auto *button = w.Child<QToolButton>("tbtnCalendar");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa Kalenderdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        const auto place = [bar](const char *name) {
            QWidget *widget = bar->findChild<QWidget *>(QLatin1String(name));
            const QList<QAction *> actions = bar->actions();
            for (int i = 0; i < actions.size(); ++i) {
                if (bar->widgetForAction(actions.at(i)) == widget)
                    return i;
            }
            return -1;
        };
        QVERIFY(place("tbtnCourse") >= 0);
        QCOMPARE(place("tbtnCalendar"), place("tbtnCourse") + 1);
        // The column-settings button stands between it and the exercises'.
        QCOMPARE(place("tbtnColumnPresets"), place("tbtnCalendar") + 1);
        QCOMPARE(place("tbtnExercises"), place("tbtnCalendar") + 2);

        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // Opened, the window marks the listed days; after a new search it
    // still shows the old list until it is opened again, then the new one.
    // Menu item and tool button open the same window, which stands in the
    // window menu.
    void followsANewSearch()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
        w.Action("mnuiCalendar")->trigger();
        TfrmCalendar *calendar = w.Calendar();
        QVERIFY(calendar);
        QVERIFY(calendar->isVisible());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")), calendar);
        QCOMPARE(calendar->MonthCalendar(5)->Days().DayNumbers(), (QStringList{"04", "17"}));
        QCOMPARE(calendar->MonthCalendar(2)->Days().DayNumbers(), QStringList{"29"});
        QCOMPARE(calendar->MonthCalendar(7)->NrOfSelectedDays(), 1);
        calendar->calAllDayClick(calendar->MonthCalendar(5), 4);
        QCOMPARE(calendar->Dates(), (QStringList{"2023-05-04", "2024-05-04"}));
        QCOMPARE(calendar->findChild<QLabel *>(QStringLiteral("lblCount"))->text(), QStringLiteral("2 aktiviteter"));

        w.Search(QStringLiteral("2024-05-10"), QStringLiteral("2024-12-31"));
        QCOMPARE(calendar->MonthCalendar(5)->NrOfSelectedDays(), 2);

        w.Child<QToolButton>("tbtnCalendar")->click();
        QCOMPARE(w.Calendar(), calendar);
        QCOMPARE(calendar->MonthCalendar(5)->Days().DayNumbers(), QStringList{"17"});
        QCOMPARE(calendar->MonthCalendar(2)->NrOfSelectedDays(), 0);
        QCOMPARE(calendar->MonthCalendar(7)->NrOfSelectedDays(), 1);
        QVERIFY(calendar->findChild<QPlainTextEdit *>(QStringLiteral("moDates"))->toPlainText().isEmpty());
        calendar->calAllHeaderClick(calendar->MonthCalendar(5));
        QCOMPARE(calendar->Dates(), QStringList{"2024-05-17"});
        QVERIFY(w.messages.isEmpty());
    }

    // Ctrl+7 opens the window, the window menu of the main window lists it,
    // and it leaves the window menu with the main window.
    void shortcutAndWindowMenu()
    {
        QPointer<TfrmCalendar> calendar;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
            w.Reactivate();
            QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_7, Qt::ControlModifier);
            calendar = w.Calendar();
            QVERIFY(calendar && calendar->isVisible());
            QCOMPARE(calendar->parentWidget(), &w.Window());
            QCOMPARE(calendar->MonthCalendar(5)->NrOfSelectedDays(), 2);
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiCalendarWindow"));
            QVERIFY(entry && entry->isEnabled());
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!calendar);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")));
        QCOMPARE(CorvaleForms().WindowsMenus().Count(), 0);
    }
};

QTEST_MAIN(tst_MainCalendar)
#include "tst_MainCalendar.moc"
