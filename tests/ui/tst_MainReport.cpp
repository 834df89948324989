// The report window from the main window: "&Rapport..." (Ctrl+6) and its
// tool button open one kept window once the list holds activities, and
// hand it the hidden grid of every catalogue column as it is then, so the
// graphs follow a new search each time the window is opened again.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "analysis/Report.h"
#include "analysis/ReportChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
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
    result.connectionName = QStringLiteral("tst_MainReport-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// A running session of the diary: date, body weight, distance, duration.
struct TSession
{
    QString Date, Weight, Distance, Duration;
};

// Running sessions written through the activity classes' own storage
// before the window opens the diary.
void writeSessions(const QString &path, const QList<TSession> &sessions)
{
    TDbConnection connection(QStringLiteral("tst_MainReport-writer-%1").arg(serial.fetchAndAddRelaxed(1)));
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
    for (const TSession &s : sessions) {
        const int nr = activities.NewActivity(names.NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*activities.Find(nr));
        session.SetSessionData(s.Date, QStringLiteral("Skogen"), QString(), s.Weight);
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(s.Duration);
        session.SetDistance(s.Distance);
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
    explicit TMainWindow(const QList<TSession> &dates)
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
    TCorvaleApp &App() { return m_app; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    TfrmReport *Report() { return Child<TfrmReport>("frmReport"); }

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
    static bool Install(const TTestFolders &folders, const QList<TSession> &dates)
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

const QList<TSession> sessions{
    {"2024-03-01", "70.0", "10", "50.00"},
    {"2024-03-06", "", "5", "24.30"},
    {"2024-03-11", "68.0", "7.5", "36.15"},
    {"2024-04-01", "69.0", "12", "60.00"},
};

QList<double> ys(const QList<QPointF> &points)
{
    QList<double> values;
    for (const QPointF &p : points)
        values.append(p.y());
    return values;
}

int placeInBar(QToolBar *bar, const char *name)
{
    QWidget *widget = bar->findChild<QWidget *>(QLatin1String(name));
    const QList<QAction *> actions = bar->actions();
    for (int i = 0; i < actions.size(); ++i)
        if (bar->widgetForAction(actions.at(i)) == widget)
            return i;
    return -1;
}
}

class tst_MainReport : public QObject
{
    Q_OBJECT

private slots:
    // "&Rapport..." (Ctrl+6) stands in "&Visa" right after the frequency,
    // its tool button in the Visa bar right after the frequency button;
    // both are enabled only while the list holds activities.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiReport");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Rapport..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_6));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QCOMPARE(shown.indexOf(item), shown.indexOf(w.Action("mnuiFrequency")) + 1);

        auto *button = w.Child<QToolButton>("tbtnReport");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa rapportdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        QVERIFY(placeInBar(bar, "tbtnFrequency") >= 0);
        QCOMPARE(placeInBar(bar, "tbtnReport"), placeInBar(bar, "tbtnFrequency") + 1);

        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // Opened, the window draws the found sessions from the hidden grid:
    // weight over the date with the weight of 6 March interpolated, the
    // distances in date order. After a new search it is opened again by
    // Ctrl+6 and draws the new list in the same window.
    void drawsTheListAndFollowsANewSearch()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        w.Child<QToolButton>("tbtnReport")->click();
        TfrmReport *report = w.Report();
        QVERIFY(report);
        QVERIFY(report->isVisible());
        QCOMPARE(report->parentWidget(), &w.Window());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReport")), report);
        QCOMPARE(report->StatusText(0), QString());
        report->SetInterpolated(true);
        report->SelectReport(0);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{70, 69, 68, 69}));
        report->SelectReport(1);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{10, 5, 7.5, 12}));
        const QStringList xs = report->XItems();
        for (const char *caption : {"Datum", "Distans (km)", "Tid (min)", "Kilometertid (min/km)", "Hastighet (km/tim)", "Vikt (kg)"})
            QVERIFY2(xs.contains(QString::fromUtf8(caption)), caption);

        w.Reactivate();
        w.Search(QStringLiteral("2024-03-05"), QStringLiteral("2024-12-31"));
        QCOMPARE(w.App().GetLoadedCount(), 3);
        QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_6, Qt::ControlModifier);
        QCOMPARE(w.Window().findChildren<TfrmReport *>().size(), 1);
        QCOMPARE(w.Report(), report);
        report->SelectReport(0);
        // 6 March comes before the first weighing of this list.
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{68, 69}));
        report->SelectReport(1);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{5, 7.5, 12}));
        QVERIFY(w.messages.isEmpty());
    }

    // The kept window leaves the window menu with the main window.
    void freedWithTheMainWindow()
    {
        QPointer<TfrmReport> report;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
            w.Action("mnuiReport")->trigger();
            report = w.Report();
            QVERIFY(report);
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiReportWindow"));
            QVERIFY(entry && entry->isEnabled());
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!report);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReport")));
    }
};

QTEST_MAIN(tst_MainReport)
#include "tst_MainReport.moc"
