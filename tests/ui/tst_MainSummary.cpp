// The summary window from the main window: "S&ummering..." (Ctrl+3) and the
// tool button "Visa summeringsdialogen" open one kept window, which counts
// the whole diary whatever the main list shows.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "analysis/Summary.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "model/Activities.h"
#include "model/ActFactory.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"
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
    result.connectionName = QStringLiteral("tst_MainSummary-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// Sessions ("CODE yyyy-MM-dd") of 5 km each, written through the activity
// classes' own storage before the window opens the diary.
void writeSessions(const QString &path, const QStringList &dates)
{
    TDbConnection connection(QStringLiteral("tst_MainSummary-writer-%1").arg(serial.fetchAndAddRelaxed(1)));
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
    for (const QString &entry : dates) {
        const QString date = entry.section(QLatin1Char(' '), 1);
        const int nr = activities.NewActivity(names.NameOfCode(entry.section(QLatin1Char(' '), 0, 0)));
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
    TfrmSummary *Summary() { return Child<TfrmSummary>("frmSummary"); }

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

const QStringList sessions{"RUN 2022-05-04", "SKI 2023-02-01", "RUN 2024-05-04", "RUN 2024-07-01"};
}

class tst_MainSummary : public QObject
{
    Q_OBJECT

private slots:
    // "S&ummering..." (Ctrl+3) stands in "&Visa" after the next-activity
    // item and before the frequency; its tool button in the Visa bar right
    // before the frequency button.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiSummary");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("S&ummering..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_3));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) > shown.indexOf(w.Action("mnuiNextAct")));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiFrequency")));

        auto *button = w.Child<QToolButton>("tbtnTotal");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa summeringsdialogen"));
        QVERIFY(!button->icon().isNull());
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
        QVERIFY(place("tbtnTotal") >= 0);
        QCOMPARE(place("tbtnFrequency"), place("tbtnTotal") + 1);
        QVERIFY(w.messages.isEmpty());
    }

    // Ctrl+3 opens the window, which the main window's window menu then
    // lists; it counts every running session of the diary although the main
    // list holds only this year's; the tool button shows the same window,
    // and it goes with the main window.
    void ctrl3OpensTheSummary()
    {
        QPointer<TfrmSummary> summary;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
            QCOMPARE(w.Window().ListGrid()->RowCount() - 1, 2);
            w.Reactivate();
            QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_3, Qt::ControlModifier);
            summary = w.Summary();
            QVERIFY(summary && summary->isVisible());
            QCOMPARE(summary->parentWidget(), &w.Window());
            QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmSummary")), summary.data());
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiSummaryWindow"));
            QVERIFY(entry && entry->isEnabled());

            summary->findChild<TNumericalEdit *>(QStringLiteral("numedtToMonth"))->SetValue(QStringLiteral("12"));
            summary->findChild<TNumericalEdit *>(QStringLiteral("numedtToDay"))->SetValue(QStringLiteral("31"));
            summary->mnuiSearchClick();
            TComplexGrid *grid = summary->SummaryGrid();
            const int run = TTulloUtilGrid::FindColumn(grid, QStringLiteral("Löpning\r (km)"));
            QVERIFY(run > 0);
            QCOMPARE(grid->RowCount() - 1, 3);
            QCOMPARE(grid->Cells(0, 1), QStringLiteral("2022"));
            QCOMPARE(grid->Cells(run, 1), QStringLiteral("5.00"));
            QCOMPARE(grid->Cells(run, 3), QStringLiteral("10.00"));
            QCOMPARE(summary->TotalGrid()->Cells(run, 0), QStringLiteral("15.00"));

            w.Child<QToolButton>("tbtnTotal")->click();
            QCOMPARE(w.Summary(), summary.data());
            // Shown again, the open window keeps its figures.
            QCOMPARE(summary->YearCount(), 3);
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!summary);
    }
};

QTEST_MAIN(tst_MainSummary)
#include "tst_MainSummary.moc"
