// The personal-records window from the main window: "&Personbästa..."
// (Ctrl+2) and its tool button open one kept window, which reads the
// records of the diary as they are at every opening.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "analysis/Records.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "ui/Main.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainRecords-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// An empty diary opened by the real start-up in the main window; message
// boxes are recorded and answered.
class TMainWindow
{
public:
    TMainWindow()
        : m_installed(Install(m_folders)), m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()),
          m_window(m_app)
    {
        m_window.show();
        const bool opened = QTest::qWaitFor([this] { return m_window.windowTitle() != QLatin1String("Ternvall"); }, 10000);
        m_window.activateWindow();
        m_active = opened && QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TCorvaleApp &App() { return m_app; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    TfrmRecords *Records() { return Child<TfrmRecords>("frmRecords"); }

    // A run bound to the course, saved as the entry page saves one.
    void AddRun(const QString &date, const QString &duration, int course)
    {
        const int nr = m_app.NewActivity(m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        session.SetSessionData(date, QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(duration);
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(QString::number(course));
        const QStringList none;
        session.SetLaps(&none, &none);
        m_app.SaveActivity(nr);
    }

    int AddCourse()
    {
        const int nr = m_app.NewCourse();
        m_app.SetCourseValues(nr, m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")), 2, 5, QStringLiteral("Skogen"));
        const QStringList none;
        m_app.SetCourseDescription(nr, &none);
        m_app.SetCourseLaps(nr, none);
        m_app.SaveCourse(nr);
        return nr;
    }

    // The window becomes the active one again, as the desktop makes it.
    bool Reactivate()
    {
        m_window.activateWindow();
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
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

QString durationOfRecord(TfrmRecords *records)
{
    return records->TDTGrid()->Cells(4, records->TDTGrid()->FixedRows());
}
} // namespace

class tst_MainRecords : public QObject
{
    Q_OBJECT

private slots:
    // "&Personbästa..." (Ctrl+2) is the first window of "&Visa", its tool
    // button the first of the Visa bar; both are enabled with a diary open.
    void menuItemAndToolButton()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiRecord");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Personbästa..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(w.Action("mnuiNextAct")) < shown.indexOf(item));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiFrequency")));
        auto *button = w.Child<QToolButton>("tbtnRecord");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa personbästadialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QStringList order;
        for (QAction *action : bar->actions())
            if (auto *widget = bar->widgetForAction(action))
                order.append(widget->objectName());
        QCOMPARE(order.value(0), QStringLiteral("tbtnRecord"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());

        // Closing the diary: nothing to read records from.
        w.App().CloseDatabase();
        w.Window().UpdateControls();
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
    }

    // Ctrl+2 opens the window, which lists the records; a session saved
    // afterwards (which tells no window) shows at the next opening, in the
    // same window, which then stands in the main window's window menu.
    void ctrl2OpensAndRefreshes()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        const int course = w.AddCourse();
        w.AddRun(QStringLiteral("2024-04-01"), QStringLiteral("25.30"), course);
        w.AddRun(QStringLiteral("2024-05-01"), QStringLiteral("24.10"), course);
        QVERIFY(w.Reactivate());
        QTest::keyClick(&w.Window(), Qt::Key_2, Qt::ControlModifier);
        TfrmRecords *records = w.Records();
        QVERIFY(records);
        QVERIFY(records->isVisible());
        QCOMPARE(records->CourseRecords().size(), 1);
        QCOMPARE(durationOfRecord(records), QStringLiteral("24.10"));
        QCOMPARE(records->TDTGrid()->Cells(7, 1), QStringLiteral("2"));

        w.AddRun(QStringLiteral("2024-06-01"), QStringLiteral("23.50"), course);
        QCOMPARE(durationOfRecord(records), QStringLiteral("24.10"));
        QVERIFY(w.Reactivate());
        w.Child<QToolButton>("tbtnRecord")->click();
        QCOMPARE(w.Records(), records);
        QCOMPARE(durationOfRecord(records), QStringLiteral("23.50"));
        QCOMPARE(records->TDTGrid()->Cells(7, 1), QStringLiteral("3"));
        QVERIFY(w.messages.isEmpty());

        QMenu *windows = w.Window().menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow"));
        QVERIFY(windows);
        QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiRecordsWindow"));
        QVERIFY(entry);
        QVERIFY(entry->isEnabled());
    }
};

QTEST_MAIN(tst_MainRecords)
#include "tst_MainRecords.moc"
