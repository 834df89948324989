// The main window's "&Fönster" and "&Hjälp" menus: their place in the menu
// bar, the window menu following a tool window through the window-list
// message, F1 on each page opening its topic, a link followed in the help
// window, and the About box.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/HelpWindow.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainMenus-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    machine->setValue(QStringLiteral("AppPath"), QStringLiteral(TERNVALL_APP_DATA_DIR));
    return true;
}

TfrmHelp *helpWindow()
{
    return CorvaleForms().HelpWindow();
}

QString shownPage()
{
    if (!helpWindow())
        return QString();
    const QUrl source = helpWindow()->Source();
    const QString file = QFileInfo(source.toLocalFile()).fileName();
    return source.hasFragment() ? file + QLatin1Char('#') + source.fragment() : file;
}

// A tool window as the program's tool windows are: registered in the window
// menu while it exists, hidden (not freed) when closed, and telling the main
// window that the window list changed.
class TToolWindow : public QMainWindow
{
public:
    explicit TToolWindow(const QString &name)
    {
        setObjectName(name);
        menuBar()->addMenu(QStringLiteral("&Arkiv"));
        CorvaleForms().AddWindowMenu(this, menuBar());
    }
    ~TToolWindow() override { CorvaleForms().RemoveWindowMenu(this, menuBar()); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        QMainWindow::closeEvent(event);
        CorvaleForms().WindowListChanged();
    }
};

// The real start-up opens an empty diary in the main window, which is then
// the active window; message boxes are recorded and answered with OK.
class TMainWindow
{
public:
    TMainWindow()
        : m_installed(install(m_folders)), m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()),
          m_window(m_app)
    {
        m_window.show();
        QTimer::singleShot(500, [] { QCoreApplication::exit(1); });
        QCoreApplication::exec();
        Reactivated();
    }
    ~TMainWindow()
    {
        if (helpWindow())
            helpWindow()->hide();
    }

    bool Ready() const { return m_installed && m_window.isActiveWindow() && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    QMenu *Menu(const char *name) { return MenuOfMenuBar(m_window.menuBar(), QLatin1String(name)); }
    void ShowPage(const char *name)
    {
        auto *pages = Child<QTabWidget>("pgctrlMain");
        pages->setCurrentWidget(Child<QWidget>(name));
    }
    bool Reactivated()
    {
        if (!m_window.isActiveWindow())
            m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }
    // A run saved from "Ny", so that "Ändra" can be shown.
    void SaveRun()
    {
        ShowPage("tshNew");
        m_window.NewPage()->SelectActivity(QStringLiteral("Löpning"));
        Child<QComboBox>("cmbbxNewLocation")->setEditText(QStringLiteral("Slottsskogen"));
        Child<TNumericalEdit>("numedtNewTDTTime")->SetValue(QStringLiteral("45.30"));
        Child<TNumericalEdit>("numedtNewTDTDist")->SetValue(QStringLiteral("10"));
        QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier);
    }

    QStringList messages;
    std::function<void(QWidget *)> other;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() != QLatin1String("frmMessage")) {
            if (other)
                other(window);
            return;
        }
        messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
        window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
};
}

class tst_MainMenus : public QObject
{
    Q_OBJECT

private slots:
    void windowAndHelpMenusCloseTheMenuBar()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        const auto items = w.Window().menuBar()->actions();
        QVERIFY(items.size() >= 3);
        QCOMPARE(items.at(items.size() - 2)->text(), QStringLiteral("&Fönster"));
        QCOMPARE(items.last()->text(), QStringLiteral("&Hjälp"));
        QStringList help;
        for (QAction *entry : w.Menu("mnuiHelp")->actions()) {
            if (!entry->isSeparator())
                help.append(entry->objectName() + QLatin1Char('=') + entry->text());
        }
        QCOMPARE(help, (QStringList{QStringLiteral("mnuiIntHelp=H&jälp..."), QStringLiteral("mnuiAbout=&Om...")}));
        // Registered as the main window: eight entries without shortcuts.
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(&w.Window()));
        const auto entries = w.Menu("mnuiWindow")->actions();
        QCOMPARE(entries.size(), 8);
        for (QAction *entry : entries)
            QVERIFY2(entry->shortcut().isEmpty(), qPrintable(entry->objectName()));
    }

    void windowMenuFollowsAToolWindowThroughTheMessage()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QMenu *menu = w.Menu("mnuiWindow");
        QAction *summaryEntry = w.Action("mnuiSummaryWindow");
        // Only the main window is open.
        QVERIFY(!menu->menuAction()->isEnabled());
        QVERIFY(!summaryEntry->isEnabled());

        TToolWindow summary(QStringLiteral("frmSummary"));
        summary.show();
        // What the main window does after it opened a tool window.
        CorvaleForms().UpdateWindowMenus();
        QVERIFY(menu->menuAction()->isEnabled());
        QVERIFY(summaryEntry->isEnabled());
        QAction *mainEntry = summary.findChild<QAction *>(QStringLiteral("mnuiMainWindow"));
        QVERIFY(mainEntry && mainEntry->isEnabled());
        QCOMPARE(mainEntry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));

        // In the summary window Ctrl+1 brings the main window to the front,
        // and the main window's entry brings the summary back.
        QVERIFY(QTest::qWaitForWindowActive(&summary));
        QTest::keyClick(&summary, Qt::Key_1, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowActive(&w.Window()));
        summaryEntry->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&summary));

        // Closing posts the window-list message; the entry goes off once the
        // main window has handled it.
        summary.close();
        QVERIFY(!summary.isVisible());
        QVERIFY(summaryEntry->isEnabled());
        QCoreApplication::sendPostedEvents(&w.Window(), WM_WINDOWLISTCHANGED);
        QVERIFY(!summaryEntry->isEnabled());
        QVERIFY(!menu->menuAction()->isEnabled());
        QCOMPARE(w.messages, QStringList());
    }

    void f1OpensTheTopicOfThePageInFront_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("topic");
        QTest::newRow("Ny") << "tshNew" << "activities.htm#Add";
        QTest::newRow("Ändra") << "tshEdit" << "activities.htm#Edit";
        QTest::newRow("Sök") << "tshSearch" << "activities.htm#Search";
        QTest::newRow("Sökresultat") << "tshResult" << "activities.htm#Search";
    }
    void f1OpensTheTopicOfThePageInFront()
    {
        QFETCH(QString, page);
        QFETCH(QString, topic);
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun();
        QTRY_COMPARE(w.Window().StatusText(), QString());
        QCOMPARE(w.messages, QStringList());
        w.ShowPage(qPrintable(page));
        QVERIFY(w.Reactivated());
        QTest::keyClick(&w.Window(), Qt::Key_F1);
        QVERIFY(helpWindow() && helpWindow()->isVisible());
        QCOMPARE(shownPage(), topic);
        QCOMPARE(w.messages, QStringList());
    }

    void helpFromNyFollowsALinkAndGoesBack()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.ShowPage("tshNew");
        w.Action("mnuiIntHelp")->trigger();
        QCOMPARE(shownPage(), QStringLiteral("activities.htm#Add"));
        QVERIFY(QTest::qWaitForWindowActive(helpWindow()));

        // The link to the pulse intervals in the part about new activities.
        QTextBrowser *browser = helpWindow()->Browser();
        QTextCursor link = browser->document()->find(QStringLiteral("se Pulsintervall"));
        QVERIFY(!link.isNull());
        QCOMPARE(link.charFormat().anchorHref(), QStringLiteral("pulse.htm#Select"));
        QTextCursor inside(browser->document());
        inside.setPosition(link.selectionStart() + 3);
        browser->setTextCursor(inside);
        browser->ensureCursorVisible();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(inside).center() + QPoint(2, 0));
        QTRY_COMPARE(shownPage(), QStringLiteral("pulse.htm#Select"));

        auto *tobar = helpWindow()->findChild<QToolBar *>(QStringLiteral("tobarHelp"));
        QTest::mouseClick(tobar->widgetForAction(helpWindow()->findChild<QAction *>(QStringLiteral("tbtnBack"))), Qt::LeftButton);
        QCOMPARE(shownPage(), QStringLiteral("activities.htm#Add"));
        QTest::mouseClick(tobar->widgetForAction(helpWindow()->findChild<QAction *>(QStringLiteral("tbtnForward"))),
                          Qt::LeftButton);
        QCOMPARE(shownPage(), QStringLiteral("pulse.htm#Select"));
    }

    void aboutBoxFromTheHelpMenu()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QString caption, name, version;
        w.other = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmAbout"))
                return;
            caption = window->windowTitle();
            name = window->findChild<QLabel *>(QStringLiteral("lblAppName"))->text();
            version = window->findChild<QLabel *>(QStringLiteral("lblAppVersion"))->text();
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
        };
        w.Action("mnuiAbout")->trigger();
        QCOMPARE(caption, QStringLiteral("Om Ternvall"));
        QCOMPARE(name, QStringLiteral("Ternvall"));
        QCOMPARE(version, QStringLiteral("Version 2.3.0"));
    }

    // "&Banbeskrivningar..." (Ctrl+4, first in its menu, and the tool
    // button) makes the course window once, keeps it and shows it; the
    // window leaves the window menu with the main window.
    void courseWindowFromTheMenuAndTheToolBar()
    {
        QPointer<QWidget> course;
        {
            TMainWindow w;
            QVERIFY(w.Ready());
            QMenu *courses = w.Menu("mnuCourses");
            QVERIFY(courses);
            QCOMPARE(courses->actions().first()->objectName(), QStringLiteral("mnuiCoursesEdit"));
            QCOMPARE(courses->actions().first()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_4));
            QTest::keyClick(&w.Window(), Qt::Key_4, Qt::ControlModifier);
            course = CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCourse"));
            QVERIFY(course && course->isVisible());
            QCOMPARE(course->parentWidget(), &w.Window());
            QVERIFY(w.Menu("mnuiWindow")->findChild<QAction *>(QStringLiteral("mnuiCourseWindow"))->isEnabled());
            course->close();
            auto *button = w.Child<QToolButton>("tbtnCourse");
            QCOMPARE(button->toolTip(), QStringLiteral("Lägg till, ändra och ta bort banbeskrivningar"));
            QCOMPARE(button->parentWidget(), w.Child<QToolBar>("tobarShow"));
            button->click();
            QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCourse")), course.data());
            QVERIFY(course->isVisible());
            QCOMPARE(w.messages, QStringList());
        }
        QVERIFY(!course);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCourse")));
    }

    void mainWindowLeavesTheWindowMenuWhenDestroyed()
    {
        QPointer<TfrmMain> window;
        {
            TMainWindow w;
            QVERIFY(w.Ready());
            window = &w.Window();
            QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        }
        QCOMPARE(CorvaleForms().WindowsMenus().Count(), 0);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmMain")));
    }
};

QTEST_MAIN(tst_MainMenus)
#include "tst_MainMenus.moc"
