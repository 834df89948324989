// The replay window from the main window: "Uppsp&elning..." in "&Visa" and
// its tool button in the Visa bar, enabled while the list holds activities;
// they open one kept window that loads the list as it is each time.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "analysis/CourseReplay.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/DatePicker.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "ui/Main.h"

#include <QAction>
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
    result.connectionName = QStringLiteral("tst_MainReplay-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// A diary with the sessions, opened by the real start-up in the main
// window; message boxes are recorded and answered.
class TMainWindow
{
public:
    TMainWindow()
        : m_installed(Install(m_folders)), m_watcher([this](QWidget *window) { Answer(window); }),
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
    TfrmReplay *Replay() { return Child<TfrmReplay>("frmReplay"); }
    TCorvaleApp &App() { return m_app; }

    // A course saved as the course window saves one; returns its number.
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

    // A running session saved as the entry page saves one, on the course
    // with the split times at its lap marks.
    void AddSession(const QString &date, const QString &duration, int course, const QStringList &splits,
                    const QStringList &laps)
    {
        const int nr = m_app.NewActivity(Running());
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        session.SetSessionData(date, QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(duration);
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(course < 0 ? QString() : QString::number(course));
        session.SetLaps(&splits, &laps);
        m_app.SaveActivity(nr);
    }

    // Searches the dates from the search page, as the user does.
    void Search(const QString &from, const QString &to)
    {
        Child<TDatePicker>("wwdtpSearchDate1")->SetText(from);
        Child<TDatePicker>("wwdtpSearchDate2")->SetText(to);
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>("tshSearch"));
        Action("mnuiSearch")->trigger();
    }

    QString Running() { return m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")); }

    // The window becomes the active one again, as the desktop makes it.
    void Reactivate()
    {
        m_window.activateWindow();
        QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    QStringList messages;

private:
    static bool Install(const TTestFolders &folders)
    {
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
        auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
        machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
        machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
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
}

class tst_MainReplay : public QObject
{
    Q_OBJECT

private slots:
    // The item stands in "&Visa" after the strength programs, its button in
    // the Visa bar after theirs; both follow the list.
    void menuItemAndToolButton()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiReplay");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Uppsp&elning..."));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QCOMPARE(shown.indexOf(item), shown.indexOf(w.Action("mnuiExercises")) + 1);
        auto *button = w.Child<QToolButton>("tbtnReplay");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa uppspelningsdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        const auto place = [bar](const char *name) {
            QWidget *widget = bar->findChild<QWidget *>(QLatin1String(name));
            const QList<QAction *> actions = bar->actions();
            for (int i = 0; i < actions.size(); ++i)
                if (bar->widgetForAction(actions.at(i)) == widget)
                    return i;
            return -1;
        };
        QVERIFY(place("tbtnExercises") >= 0);
        QCOMPARE(place("tbtnReplay"), place("tbtnExercises") + 1);
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());

        w.AddSession(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), -1, {}, {});
        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // The button opens the window on the listed sessions of a course; after
    // a narrower search the item loads the new list into the same window,
    // which stands in the window menu.
    void opensAndFollowsANewSearch()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        const int course = w.AddCourse(QStringLiteral("Backen"), 5, {QStringLiteral("2.5")});
        const QStringList laps{QStringLiteral("2.5")};
        w.AddSession(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), course, {QStringLiteral("12.00")}, laps);
        w.AddSession(QStringLiteral("2024-06-01"), QStringLiteral("30.00"), course, {QString()}, laps);
        w.AddSession(QStringLiteral("2024-06-02"), QStringLiteral("20.00"), -1, {}, {});
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QCOMPARE(w.App().GetLoadedCount(), 3);

        w.Child<QToolButton>("tbtnReplay")->click();
        TfrmReplay *replay = w.Replay();
        QVERIFY(replay);
        QVERIFY(replay->isVisible());
        QCOMPARE(replay->parentWidget(), &w.Window());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReplay")), replay);
        QCOMPARE(replay->CourseCount(), 1);
        QVERIFY(replay->CourseTexts().first().contains(QStringLiteral("Backen")));
        QCOMPARE(replay->MaxText(), QStringLiteral("30.00"));
        QCOMPARE(replay->PositionLines(), (QStringList{"2024-05-01: (25.00)", "2024-06-01: (30.00)"}));

        w.Reactivate();
        w.Search(QStringLiteral("2024-06-01"), QStringLiteral("2024-12-31"));
        // The window keeps the old race until it is opened again.
        QCOMPARE(replay->PositionLines().size(), 2);
        w.Action("mnuiReplay")->trigger();
        QCOMPARE(w.Window().findChildren<TfrmReplay *>().size(), 1);
        QCOMPARE(replay->MaxText(), QStringLiteral("30.00"));
        QCOMPARE(replay->PositionLines(), QStringList{QStringLiteral("2024-06-01: (30.00)")});
        QVERIFY(w.messages.isEmpty());
    }
};

QTEST_MAIN(tst_MainReplay)
#include "tst_MainReplay.moc"
