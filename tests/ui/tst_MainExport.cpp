// The export from the main window: "&Exportera aktiviteter..." stands in
// "&Arkiv" after "Tag &bort", is enabled exactly as the remove button (a
// list with activities in front) and opens the export window, made once and
// kept, which writes the list's activities.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "export/Export.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "ui/Main.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainExport-%1").arg(serial.fetchAndAddRelaxed(1));
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
    QWidget *CurrentPage() { return Child<QTabWidget>("pgctrlMain")->currentWidget(); }
    void Search()
    {
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>("tshSearch"));
        Action("mnuiSearch")->trigger();
    }
    std::function<void(QWidget *)> onExport;

    // A run, saved as the entry page saves one.
    void AddRun(const QString &date, const QString &duration, int course = -1)
    {
        const int nr = m_app.NewActivity(m_app.GetActivityNameList().NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        session.SetSessionData(date, QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(duration);
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(course < 0 ? QString() : QString::number(course));
        const QStringList none;
        session.SetLaps(&none, &none);
        m_app.SaveActivity(nr);
    }

    // The window becomes the active one again, as the desktop makes it.
    bool Reactivate()
    {
        m_window.activateWindow();
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    QStringList messages;
    int exportShown = 0;

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
        if (window->objectName() == QLatin1String("frmExport")) {
            ++exportShown;
            if (onExport)
                onExport(window);
            return;
        }
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

} // namespace

class tst_MainExport : public QObject
{
    Q_OBJECT

private slots:
    void menuItemAfterRemove()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiExport");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Exportera aktiviteter..."));
        const QList<QAction *> archive = w.Child<QMenu>("mnuArchive")->actions();
        QCOMPARE(archive.indexOf(item), archive.indexOf(w.Action("mnuiRemove")) + 1);
    }

    // Enabled exactly when the remove button is, through every change of
    // page and list.
    void enabledAsRemoveButton()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiExport");
        auto *remove = w.Child<QToolButton>("tbtnRemove");
        auto same = [&] { return item->isEnabled() == remove->isEnabled(); };
        QVERIFY(same());
        QVERIFY(!item->isEnabled());
        w.Search(); // an empty diary: nothing found
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshResult"));
        QVERIFY(same());
        QVERIFY(!item->isEnabled());
        w.AddRun(QStringLiteral("2024-04-01"), QStringLiteral("25.30"));
        w.AddRun(QStringLiteral("2024-04-02"), QStringLiteral("24.30"));
        QVERIFY(w.Reactivate());
        w.Search();
        QCOMPARE(w.App().GetLoadedCount(), 2);
        QVERIFY(same());
        QVERIFY(item->isEnabled());
        w.Child<QTabWidget>("pgctrlMain")->setCurrentWidget(w.Child<QWidget>("tshSearch"));
        QVERIFY(same());
        QVERIFY(!item->isEnabled());
        w.Child<QTabWidget>("pgctrlMain")->setCurrentWidget(w.Child<QWidget>("tshResult"));
        QVERIFY(same());
        QVERIFY(item->isEnabled());
        w.App().CloseDatabase();
        w.Window().UpdateControls();
        QVERIFY(same());
        QVERIFY(!item->isEnabled());
    }

    // The item opens the export window, kept between openings, and its OK
    // writes the listed activities.
    void opensTheExportWindow()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.AddRun(QStringLiteral("2024-04-01"), QStringLiteral("25.30"));
        QVERIFY(w.Reactivate());
        w.Search();
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("lista.txt"));
        w.onExport = [&](QWidget *window) {
            window->findChild<QLineEdit *>(QStringLiteral("edtFilename"))->setText(path);
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        };
        QVERIFY(w.Reactivate());
        w.Action("mnuiExport")->trigger();
        QCOMPARE(w.exportShown, 1);
        QCOMPARE(w.messages, QStringList{QStringLiteral("1  aktivitet exporterades")});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.value(4).startsWith("2024-04-01\t"));
        auto *window = w.Child<TfrmExport>("frmExport");
        QVERIFY(window);
        QVERIFY(!window->isVisible());

        w.onExport = [](QWidget *window) { window->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click(); };
        QVERIFY(w.Reactivate());
        w.Action("mnuiExport")->trigger();
        QCOMPARE(w.exportShown, 2);
        QCOMPARE(w.Child<TfrmExport>("frmExport"), window);
        // The window keeps what it was given.
        QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("edtFilename"))->text(), path);
    }
};

QTEST_MAIN(tst_MainExport)
#include "tst_MainExport.moc"
