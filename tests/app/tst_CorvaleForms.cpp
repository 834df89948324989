// The services of the windows: the "&Fönster" menu with its entries,
// shortcuts and enabling walk, the "&Hjälp" menu, the faults of their
// callers, the help pages with every topic, the help window, the start help
// once per installation, F1 in the dialogs and the shared dialogs.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/About.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/DbSelect.h"
#include "app/HelpWindow.h"
#include "export/GenReport.h"
#include "export/PrintTtl.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/Exceptions.h"
#include "foundation/Find.h"
#include "foundation/GenericName.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Sorting.h"
#include "reference/ChooseCourse.h"
#include "reference/Pulse.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
const QString appDataDir = QStringLiteral(TERNVALL_APP_DATA_DIR);
const QString helpDir = appDataDir + QStringLiteral("/help");

// The nine windows in menu order with the entries that lead to them.
struct TExpectedEntry
{
    QString window;
    QString caption;
    QString entry;
};
const QList<TExpectedEntry> nineWindows = {
    {QStringLiteral("frmMain"), QStringLiteral("&Huvuddialogen"), QStringLiteral("mnuiMainWindow")},
    {QStringLiteral("frmRecords"), QStringLiteral("&Personbästadialogen"), QStringLiteral("mnuiRecordsWindow")},
    {QStringLiteral("frmSummary"), QStringLiteral("&Summeringsdialogen"), QStringLiteral("mnuiSummaryWindow")},
    {QStringLiteral("frmCourse"), QStringLiteral("&Banbeskrivningsdialogen"), QStringLiteral("mnuiCourseWindow")},
    {QStringLiteral("frmFrequency"), QStringLiteral("&Aktivitetsfrekvensdialogen"), QStringLiteral("mnuiFrequencyWindow")},
    {QStringLiteral("frmReport"), QStringLiteral("&Rapportdialogen"), QStringLiteral("mnuiReportWindow")},
    {QStringLiteral("frmCalendar"), QStringLiteral("&Kalenderdialogen"), QStringLiteral("mnuiCalendarWindow")},
    {QStringLiteral("frmReplay"), QStringLiteral("&Uppspelningsdialogen"), QStringLiteral("mnuiReplayWindow")},
    {QStringLiteral("frmObjectives"), QStringLiteral("&Målsättningsdialogen"), QStringLiteral("mnuiObjectivesWindow")},
};

// The topic table of the program's help, topic number = position.
const QStringList topicTable = {
    "introduction.htm", "activities.htm", "activities.htm#Add", "activities.htm#Search", "activities.htm#Edit",
    "activities.htm#Delete", "activities.htm#Clear", "activities.htm#Copy", "activities.htm#Couple",
    "activities.htm#Decouple", "activities.htm#View", "activities.htm#Find", "activities.htm#Sort",
    "activities.htm#Print", "activities.htm#Quit", "courses.htm", "courses.htm#Add", "courses.htm#Search",
    "courses.htm#Edit", "courses.htm#Delete", "courses.htm#Clear", "courses.htm#Find", "courses.htm#Sort",
    "courses.htm#Print", "columns.htm", "columns.htm#Add", "columns.htm#Edit", "columns.htm#Delete",
    "columns.htm#Change", "columns.htm#Workout", "columns.htm#Choose", "workoutprogram.htm",
    "workoutprogram.htm#Exercise", "workoutprogram.htm#Program", "personal.htm", "personal.htm#TDT",
    "personal.htm#Workout", "personal.htm#Sort", "personal.htm#Print", "summary.htm", "summary.htm#Search",
    "summary.htm#Sort", "summary.htm#Print", "frequency.htm", "frequency.htm#Zoom", "frequency.htm#Print",
    "chart.htm", "chart.htm#Zoom", "chart.htm#Print", "calendar.htm", "replay.htm", "replay.htm#Control",
    "replay.htm#Course", "replay.htm#Track", "replay.htm#Pause", "replay.htm#Time", "replay.htm#Zoom",
    "replay.htm#Info", "objectives.htm", "objectives.htm#Create", "objectives.htm#Edit", "objectives.htm#Rename",
    "objectives.htm#Delete", "objectives.htm#Monitor", "pulse.htm", "pulse.htm#Create", "pulse.htm#Edit",
    "pulse.htm#Delete", "export.htm", "user.htm", "settings.htm", "settings.htm#Activity", "settings.htm#Summary",
    "settings.htm#Personal", "settings.htm#Names", "about.htm",
};

// A window with a menu bar, standing in for one of the nine.
std::unique_ptr<QMainWindow> makeWindow(const QString &name)
{
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(name);
    window->menuBar()->addMenu(QStringLiteral("&Arkiv"));
    return window;
}

// A window registered in the window menu for the length of a scope.
class TRegistered
{
public:
    explicit TRegistered(const QString &name) : m_window(makeWindow(name))
    {
        CorvaleForms().AddWindowMenu(m_window.get(), m_window->menuBar());
    }
    ~TRegistered()
    {
        TCorvaleForms &forms = CorvaleForms();
        if (!forms.WindowsMenus().IsRegistered(m_window.get()))
            return;
        try {
            forms.RemoveWindowMenu(m_window.get(), m_window->menuBar());
        } catch (const EException &) {
            // A test that took the menu away; the window is unregistered.
        }
    }
    QMainWindow &operator*() const { return *m_window; }
    QMainWindow *operator->() const { return m_window.get(); }
    QMainWindow *get() const { return m_window.get(); }

private:
    std::unique_ptr<QMainWindow> m_window;
};

QMenu *windowMenu(QMainWindow &window)
{
    return MenuOfMenuBar(window.menuBar(), QStringLiteral("mnuiWindow"));
}

QAction *entryOf(QMainWindow &window, const QString &entryName)
{
    QMenu *menu = windowMenu(window);
    return menu ? menu->findChild<QAction *>(entryName) : nullptr;
}

// The message of the program fault a step raises; empty when none.
QString faultOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EException &e) {
        return e.Message();
    }
    return QString();
}

// The page as the help window sees it.
std::unique_ptr<QTextDocument> loadPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(QString::fromUtf8(file.readAll()));
    return document;
}

QStringList anchorsOf(const QTextDocument &document)
{
    QStringList anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            anchors += it.fragment().charFormat().anchorNames();
    }
    return anchors;
}

QStringList linksOf(const QTextDocument &document)
{
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !links.contains(href))
                links.append(href);
        }
    }
    return links;
}

// The page file and anchor of the address the help window shows.
QString shownPage(const TfrmHelp *help)
{
    if (!help)
        return QString();
    const QUrl source = help->Source();
    const QString file = QFileInfo(source.toLocalFile()).fileName();
    return source.hasFragment() ? file + QLatin1Char('#') + source.fragment() : file;
}

TfrmHelp *helpWindow()
{
    return CorvaleForms().HelpWindow();
}

void hideHelp()
{
    if (TfrmHelp *help = helpWindow())
        help->hide();
}

QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_CorvaleForms-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// An installation with user 1's diary whose program folder is `appPath`.
bool install(const TTestFolders &folders, const QString &appPath)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    machine->setValue(QStringLiteral("AppPath"), appPath);
    return true;
}

QVariant machineValue(const QString &key)
{
    return SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->value(key);
}

// Records the texts of the message boxes and answers them with OK; hands
// every other modal window to `other`.
struct TBoxes
{
    QStringList messages;
    std::function<void(QWidget *)> other;
    TModalWatcher watcher{[this](QWidget *window) {
        if (auto *box = qobject_cast<QMessageBox *>(window)) {
            // The guard's box for a program fault.
            messages.append(box->text());
            box->accept();
        } else if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (other) {
            other(window);
        }
    }};
};

// The application object with user 1's diary open and the help window as
// its viewer.
class TOpenDiary
{
public:
    explicit TOpenDiary(const QString &appPath = appDataDir)
        : m_installed(install(m_folders, appPath)), m_app(options())
    {
        m_app.GetHelp().SetViewer(&CorvaleForms());
        m_app.OpenDatabase();
    }
    ~TOpenDiary() { hideHelp(); }

    bool Ready() const { return m_installed && m_app.State() == TCorvaleApp::TState::Open; }
    TCorvaleApp &App() { return m_app; }
    const TTestFolders &Folders() const { return m_folders; }

private:
    TTestFolders m_folders;
    bool m_installed = false;
    TCorvaleApp m_app;
};
}

class tst_CorvaleForms : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        hideHelp();
        QCoreApplication::processEvents();
    }

    // ---------------------------------------------------------------------
    // The window menu

    void windowMenuHasTheOtherEightWindows_data()
    {
        QTest::addColumn<int>("window");
        for (int i = 0; i < nineWindows.size(); ++i)
            QTest::newRow(qPrintable(nineWindows.at(i).window)) << i;
    }
    void windowMenuHasTheOtherEightWindows()
    {
        QFETCH(int, window);
        const QString name = nineWindows.at(window).window;
        auto form = makeWindow(name);
        TCorvaleForms &forms = CorvaleForms();
        forms.AddWindowMenu(form.get(), form->menuBar());

        // "&Fönster" is appended to the menu bar.
        const auto items = form->menuBar()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.last()->text(), QStringLiteral("&Fönster"));
        QCOMPARE(items.last()->menu(), windowMenu(*form));

        QStringList captions, names, shortcuts;
        for (QAction *entry : windowMenu(*form)->actions()) {
            captions.append(entry->text());
            names.append(entry->objectName());
            shortcuts.append(entry->shortcut().toString(QKeySequence::PortableText));
        }
        QStringList expectedCaptions, expectedNames, expectedShortcuts;
        for (int i = 0; i < nineWindows.size(); ++i) {
            if (i == window)
                continue;
            expectedCaptions.append(nineWindows.at(i).caption);
            expectedNames.append(nineWindows.at(i).entry);
            // The main window's own menus use Ctrl+digit.
            expectedShortcuts.append(name == QLatin1String("frmMain") ? QString() : QStringLiteral("Ctrl+%1").arg(i + 1));
        }
        QCOMPARE(captions, expectedCaptions);
        QCOMPARE(names, expectedNames);
        QCOMPARE(shortcuts, expectedShortcuts);

        forms.RemoveWindowMenu(form.get(), form->menuBar());
        QVERIFY(!windowMenu(*form));
        QCOMPARE(form->menuBar()->actions().size(), 1);
        QCOMPARE(forms.WindowsMenus().Count(), 0);
    }

    // The walk of UpdateWindowMenus: an entry is enabled when its window is
    // registered and visible; a window's "&Fönster" when any entry seen so
    // far in the walk is, also in an earlier window's menu.
    void updateWalksInRegistrationOrder_data()
    {
        QTest::addColumn<QStringList>("order");    // registration order
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QStringList>("enabledEntries"); // window/entry
        QTest::addColumn<QStringList>("enabledMenus");

        QTest::newRow("only the main window")
            << QStringList{"frmMain"} << QStringList{"frmMain"} << QStringList{} << QStringList{};
        QTest::newRow("main and summary open")
            << QStringList{"frmMain", "frmSummary"} << QStringList{"frmMain", "frmSummary"}
            << QStringList{"frmMain/mnuiSummaryWindow", "frmSummary/mnuiMainWindow"}
            << QStringList{"frmMain", "frmSummary"};
        QTest::newRow("summary hidden")
            << QStringList{"frmMain", "frmSummary"} << QStringList{"frmMain"}
            << QStringList{"frmSummary/mnuiMainWindow"} << QStringList{"frmSummary"};
        // The hidden courses window's menu comes first and sees the summary:
        // from then on every later menu is enabled, even one whose own
        // entries are all disabled.
        QTest::newRow("an earlier menu enables the later ones")
            << QStringList{"frmCourse", "frmSummary"} << QStringList{"frmSummary"}
            << QStringList{"frmCourse/mnuiSummaryWindow"} << QStringList{"frmCourse", "frmSummary"};
        QTest::newRow("a later menu does not enable the earlier ones")
            << QStringList{"frmSummary", "frmCourse"} << QStringList{"frmSummary"}
            << QStringList{"frmCourse/mnuiSummaryWindow"} << QStringList{"frmCourse"};
    }
    void updateWalksInRegistrationOrder()
    {
        QFETCH(QStringList, order);
        QFETCH(QStringList, visible);
        QFETCH(QStringList, enabledEntries);
        QFETCH(QStringList, enabledMenus);
        TCorvaleForms &forms = CorvaleForms();
        std::vector<std::unique_ptr<TRegistered>> windows;
        for (const QString &name : order) {
            windows.push_back(std::make_unique<TRegistered>(name));
            if (visible.contains(name))
                (*windows.back())->show();
        }
        forms.UpdateWindowMenus();

        QStringList entries, menus;
        for (auto &window : windows) {
            QMenu *menu = windowMenu(**window);
            if (menu->menuAction()->isEnabled())
                menus.append((*window)->objectName());
            for (QAction *entry : menu->actions()) {
                if (entry->isEnabled())
                    entries.append((*window)->objectName() + QLatin1Char('/') + entry->objectName());
            }
        }
        QCOMPARE(entries, enabledEntries);
        QCOMPARE(menus, enabledMenus);
    }

    void entryBringsItsWindowToTheFront()
    {
        TCorvaleForms &forms = CorvaleForms();
        TRegistered main(QStringLiteral("frmMain"));
        TRegistered summary(QStringLiteral("frmSummary"));
        main->show();
        summary->show();
        forms.UpdateWindowMenus();
        QVERIFY(QTest::qWaitForWindowActive(summary.get()));

        // Ctrl+1 in the summary window: the main window comes to the front.
        QTest::keyClick(summary.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        // The main window's entries carry no shortcut: Ctrl+3 does nothing.
        QTest::keyClick(main.get(), Qt::Key_3, Qt::ControlModifier);
        QTest::qWait(50);
        QVERIFY(main->isActiveWindow());
        entryOf(*main, QStringLiteral("mnuiSummaryWindow"))->trigger();
        QVERIFY(QTest::qWaitForWindowActive(summary.get()));

        // An entry whose window is hidden is a fault of the enabling; the
        // guard shows it.
        summary->hide();
        TBoxes boxes;
        entryOf(*main, QStringLiteral("mnuiSummaryWindow"))->trigger();
        QCOMPARE(boxes.messages, QStringList{QStringLiteral("WindowsMenu 08.")});
        // An entry of a window that is not registered stays disabled.
        QVERIFY(!entryOf(*main, QStringLiteral("mnuiCourseWindow"))->isEnabled());
    }

    // Every fault of a caller raises its id.
    void callerFaultsRaiseTheirIds_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("add without form") << 1 << "WindowsMenu 01";
        QTest::newRow("add without menu") << 2 << "WindowsMenu 02";
        QTest::newRow("remove without form") << 3 << "WindowsMenu 03";
        QTest::newRow("remove without menu") << 4 << "WindowsMenu 04";
        QTest::newRow("remove without window menu") << 5 << "WindowsMenu 05";
        QTest::newRow("tenth window") << 6 << "WindowsMenu 06";
        QTest::newRow("remove unregistered") << 7 << "WindowsMenu 07";
        QTest::newRow("help without form") << 11 << "HelpMenu 01";
        QTest::newRow("help without menu") << 12 << "HelpMenu 02";
        QTest::newRow("remove missing help") << 13 << "HelpMenu 03";
        QTest::newRow("topic below the table") << 21 << "CorvaleHelp 01. Invalid help topic: -1";
        QTest::newRow("topic beyond the table") << 22 << "CorvaleHelp 01. Invalid help topic: 76";
    }
    void callerFaultsRaiseTheirIds()
    {
        QFETCH(int, fault);
        QFETCH(QString, message);
        TCorvaleForms &forms = CorvaleForms();
        auto form = makeWindow(QStringLiteral("frmMain"));
        QMenuBar *menu = form->menuBar();
        std::vector<std::unique_ptr<TRegistered>> others;
        THelp help;
        std::function<void()> step;
        switch (fault) {
        case 1: step = [&] { forms.AddWindowMenu(nullptr, menu); }; break;
        case 2: step = [&] { forms.AddWindowMenu(form.get(), nullptr); }; break;
        case 3: step = [&] { forms.RemoveWindowMenu(nullptr, menu); }; break;
        case 4: step = [&] { forms.RemoveWindowMenu(form.get(), nullptr); }; break;
        case 5:
            forms.AddWindowMenu(form.get(), menu);
            delete windowMenu(*form);
            step = [&] { forms.RemoveWindowMenu(form.get(), menu); };
            break;
        case 6:
            for (int i = 0; i < 9; ++i)
                others.push_back(std::make_unique<TRegistered>(nineWindows.at(i).window));
            step = [&] { forms.AddWindowMenu(form.get(), menu); };
            break;
        case 7: step = [&] { forms.RemoveWindowMenu(form.get(), menu); }; break;
        case 11: step = [&] { forms.AddHelpMenu(nullptr, menu); }; break;
        case 12: step = [&] { forms.AddHelpMenu(form.get(), nullptr); }; break;
        case 13: step = [&] { forms.RemoveHelpMenu(form.get(), menu); }; break;
        case 21: step = [&] { help.ShowHelp(-1); }; break;
        case 22: step = [&] { help.ShowHelp(76); }; break;
        }
        QCOMPARE(faultOf(step), message);
        // A refused registration registers nothing.
        QCOMPARE(forms.WindowsMenus().Count(), int(others.size()));
        QCOMPARE(forms.WindowsMenus().IsRegistered(form.get()), false);
    }

    void helpMenuHasTheHelpEntry()
    {
        TCorvaleForms &forms = CorvaleForms();
        auto form = makeWindow(QStringLiteral("frmSummary"));
        QAction *entry = forms.AddHelpMenu(form.get(), form->menuBar());
        QMenu *help = MenuOfMenuBar(form->menuBar(), QStringLiteral("mnuiHelp"));
        QVERIFY(help);
        QCOMPARE(form->menuBar()->actions().last()->text(), QStringLiteral("&Hjälp"));
        QCOMPARE(help->actions(), QList<QAction *>{entry});
        QCOMPARE(entry->objectName(), QStringLiteral("mnuiIntHelp"));
        QCOMPARE(entry->text(), QStringLiteral("H&jälp..."));
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F1));
        forms.RemoveHelpMenu(form.get(), form->menuBar());
        QVERIFY(!MenuOfMenuBar(form->menuBar(), QStringLiteral("mnuiHelp")));
    }

    // Windows destroyed while the program ends leave the menus alone and
    // raise nothing; once the event loop runs again, the menus are kept up.
    void menusAreLeftAloneWhileTheProgramEnds()
    {
        TCorvaleForms &forms = CorvaleForms();
        auto form = makeWindow(QStringLiteral("frmSummary"));
        forms.AddWindowMenu(form.get(), form->menuBar());
        QPointer<QMenu> menu = windowMenu(*form);

        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        QVERIFY(forms.Terminating());
        // Neither a missing "&Hjälp" nor the "&Fönster" that is not touched
        // raises anything.
        QCOMPARE(faultOf([&] { forms.RemoveHelpMenu(form.get(), form->menuBar()); }), QString());
        QCOMPARE(faultOf([&] { forms.RemoveWindowMenu(form.get(), form->menuBar()); }), QString());
        QVERIFY(menu);
        QCOMPARE(forms.WindowsMenus().Count(), 0);

        QTRY_VERIFY(!forms.Terminating());
        QCOMPARE(faultOf([&] { forms.RemoveHelpMenu(form.get(), form->menuBar()); }), QStringLiteral("HelpMenu 03"));
    }

    // ---------------------------------------------------------------------
    // Help pages

    void everyTopicHasItsPageAndAnchor_data()
    {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        for (int topic = 0; topic < topicTable.size(); ++topic)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(topic).arg(topicTable.at(topic)))) << topic
                                                                                                     << topicTable.at(topic);
    }
    void everyTopicHasItsPageAndAnchor()
    {
        QFETCH(int, topic);
        QFETCH(QString, page);
        QCOMPARE(CorvaleHelp::TopicPage(topic), page);

        // The build has installed the page where the program looks for it.
        THelp help;
        help.SetAppPath(appDataDir);
        const QString path = help.PagePath(topic);
        QCOMPARE(path, helpDir + QLatin1Char('/') + page.section(QLatin1Char('#'), 0, 0));
        const auto document = loadPage(path);
        QVERIFY2(document, qPrintable(path));
        QVERIFY(!document->metaInformation(QTextDocument::DocumentTitle).isEmpty());
        const QString anchor = page.section(QLatin1Char('#'), 1);
        if (!anchor.isEmpty())
            QVERIFY2(anchorsOf(*document).contains(anchor), qPrintable(page));
    }

    // A link that leads nowhere is a fault of the page.
    void everyLinkOfThePagesLeadsToAPageAndAnchor()
    {
        const QStringList pages = CorvaleHelp::PageFiles();
        QCOMPARE(pages.size(), 17);
        QStringList broken;
        for (const QString &page : pages) {
            const auto document = loadPage(helpDir + QLatin1Char('/') + page);
            QVERIFY2(document, qPrintable(page));
            for (const QString &link : linksOf(*document)) {
                const QString file = link.section(QLatin1Char('#'), 0, 0);
                const QString anchor = link.section(QLatin1Char('#'), 1);
                const auto target = file.isEmpty() ? loadPage(helpDir + QLatin1Char('/') + page)
                                                   : loadPage(helpDir + QLatin1Char('/') + file);
                if (!target || (!anchor.isEmpty() && !anchorsOf(*target).contains(anchor)))
                    broken.append(page + QStringLiteral(" -> ") + link);
            }
        }
        QCOMPARE(broken, QStringList());
    }

    void missingPageIsTold()
    {
        QTemporaryDir empty;
        THelp help;
        help.SetAppPath(empty.path() + QLatin1Char('/'));
        help.SetViewer(&CorvaleForms());
        TBoxes boxes;
        help.ShowHelp(2);
        QCOMPARE(boxes.messages,
                 QStringList{QStringLiteral("Hjälpfilen finns inte på denna plats: ") + empty.path() + QStringLiteral("/help/activities.htm")});
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());

        // An empty program folder looks at the root.
        help.SetAppPath(QString());
        QCOMPARE(help.PagePath(69), QStringLiteral("/help/user.htm"));
    }

    void withoutViewerTheHelpIsOnlyLogged()
    {
        THelp help;
        help.SetAppPath(appDataDir);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(CorvaleHelp::ViewerMissingText));
        TBoxes boxes;
        help.ShowHelp(0);
        QCOMPARE(boxes.watcher.Shown(), 0);
    }

    // ---------------------------------------------------------------------
    // The help window

    void helpWindowShowsTheTopicAndFollowsLinks()
    {
        THelp help;
        help.SetAppPath(appDataDir);
        help.SetViewer(&CorvaleForms());
        help.ShowHelp(14);
        TfrmHelp *window = helpWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(shownPage(window), QStringLiteral("activities.htm#Quit"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Ternvall hjälp - Aktiviteter"));
        // The last section of a long page: scrolled down to its heading.
        QTextBrowser *browser = window->Browser();
        QVERIFY(browser->verticalScrollBar()->value() > 0);

        // A click on the link to "Registrera en ny aktivitet".
        help.ShowHelp(64);
        QTextCursor link = browser->document()->find(QStringLiteral("Registrera en ny aktivitet"));
        QVERIFY(!link.isNull());
        QCOMPARE(link.charFormat().anchorHref(), QStringLiteral("activities.htm#Add"));
        QTextCursor inside(browser->document());
        inside.setPosition(link.selectionStart() + 3);
        browser->setTextCursor(inside);
        browser->ensureCursorVisible();
        const QPoint point = browser->cursorRect(inside).center() + QPoint(2, 0);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, point);
        QTRY_COMPARE(shownPage(window), QStringLiteral("activities.htm#Add"));

        // Back and forward through the tool bar.
        auto *tobar = window->findChild<QToolBar *>(QStringLiteral("tobarHelp"));
        QAction *back = window->findChild<QAction *>(QStringLiteral("tbtnBack"));
        QAction *forward = window->findChild<QAction *>(QStringLiteral("tbtnForward"));
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());
        QTest::mouseClick(tobar->widgetForAction(back), Qt::LeftButton);
        QCOMPARE(shownPage(window), QStringLiteral("pulse.htm"));
        QVERIFY(forward->isEnabled());
        QTest::mouseClick(tobar->widgetForAction(forward), Qt::LeftButton);
        QCOMPARE(shownPage(window), QStringLiteral("activities.htm#Add"));
        QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shownPage(window), QStringLiteral("pulse.htm"));
        QTest::mouseClick(tobar->widgetForAction(window->findChild<QAction *>(QStringLiteral("tbtnContents"))), Qt::LeftButton);
        QCOMPARE(shownPage(window), QStringLiteral("introduction.htm"));
    }

    void contentsListEveryPageWithItsSections()
    {
        THelp help;
        help.SetAppPath(appDataDir);
        help.SetViewer(&CorvaleForms());
        help.ShowHelp(0);
        QTreeWidget *contents = helpWindow()->Contents();
        QCOMPARE(contents->topLevelItemCount(), 17);
        QCOMPARE(contents->topLevelItem(0)->text(0), QStringLiteral("Välkommen till Ternvall"));
        QCOMPARE(contents->topLevelItem(1)->text(0), QStringLiteral("Aktiviteter"));
        QCOMPARE(contents->topLevelItem(16)->text(0), QStringLiteral("Om Ternvall"));
        // The activities page lists its sections, each leading to its anchor.
        QTreeWidgetItem *activities = contents->topLevelItem(1);
        QVERIFY(activities->childCount() >= 13);
        QTreeWidgetItem *sort = nullptr;
        for (int i = 0; i < activities->childCount(); ++i) {
            if (activities->child(i)->text(0) == QLatin1String("Sortera listan"))
                sort = activities->child(i);
        }
        QVERIFY(sort);
        contents->expandItem(activities);
        contents->scrollToItem(sort);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(sort).center());
        QCOMPARE(shownPage(helpWindow()), QStringLiteral("activities.htm#Sort"));
        // The contents follow a page shown otherwise.
        help.ShowHelp(66);
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Ändra ett pulsintervall"));
    }

    // ---------------------------------------------------------------------
    // The start help

    void startHelpIsShownOncePerInstallation_data()
    {
        QTest::addColumn<bool>("pages");
        QTest::newRow("help installed") << true;
        QTest::newRow("help missing") << false;
    }
    void startHelpIsShownOncePerInstallation()
    {
        QFETCH(bool, pages);
        QTemporaryDir empty;
        const QString appPath = pages ? appDataDir : empty.path();
        TTestFolders folders;
        install(folders, appPath);
        SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->remove(QStringLiteral("ShowHelpAtStartup"));
        hideHelp();
        {
            TBoxes boxes;
            TCorvaleApp app(options());
            app.GetHelp().SetViewer(&CorvaleForms());
            app.OpenDatabase();
            QCOMPARE(app.State(), TCorvaleApp::TState::Open);
            if (pages) {
                QCOMPARE(boxes.messages, QStringList());
                QVERIFY(helpWindow()->isVisible());
                QCOMPARE(shownPage(helpWindow()), QStringLiteral("introduction.htm"));
            } else {
                QCOMPARE(boxes.messages, QStringList{QStringLiteral("Hjälpfilen finns inte på denna plats: ") + empty.path()
                                                     + QStringLiteral("/help/introduction.htm")});
            }
            QCOMPARE(machineValue(QStringLiteral("ShowHelpAtStartup")).toString(), QStringLiteral("0"));
            // Another diary opened in the same run shows nothing.
            hideHelp();
            app.Disconnect();
            app.OpenDatabase();
            QCOMPARE(boxes.messages.size(), pages ? 0 : 1);
            QVERIFY(!helpWindow() || !helpWindow()->isVisible());
        }
        // Nor does the next start.
        TBoxes boxes;
        TCorvaleApp app(options());
        app.GetHelp().SetViewer(&CorvaleForms());
        app.OpenDatabase();
        QCOMPARE(boxes.watcher.Shown(), 0);
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());
        QCOMPARE(machineValue(QStringLiteral("ShowHelpAtStartup")).toString(), QStringLiteral("0"));
    }

    // ---------------------------------------------------------------------
    // F1 and the help buttons of the dialogs

    void dialogsOpenTheirTopics_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("button"); // the "&Hjälp" button, else F1
        QTest::addColumn<QString>("page");
        QTest::newRow("user choice, F1") << "frmDbSelect" << false << "user.htm";
        QTest::newRow("user choice, button") << "frmDbSelect" << true << "user.htm";
        QTest::newRow("pulse intervals, F1") << "frmPulse" << false << "pulse.htm";
        QTest::newRow("pulse intervals, button") << "frmPulse" << true << "pulse.htm";
        QTest::newRow("course choice, F1") << "frmChooseCourse" << false << "activities.htm#Couple";
        QTest::newRow("course choice, button") << "frmChooseCourse" << true << "activities.htm#Couple";
        QTest::newRow("about, F1") << "frmAbout" << false << "introduction.htm";
    }
    void dialogsOpenTheirTopics()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, button);
        QFETCH(QString, page);
        TOpenDiary diary;
        QVERIFY(diary.Ready());
        QWidget owner;
        std::unique_ptr<QDialog> window;
        if (dialog == QLatin1String("frmDbSelect"))
            window = std::make_unique<TfrmDbSelect>(diary.App(), &owner);
        else if (dialog == QLatin1String("frmPulse"))
            window = std::make_unique<TfrmPulse>(diary.App(), &owner);
        else if (dialog == QLatin1String("frmChooseCourse")) {
            auto choice = std::make_unique<TfrmChooseCourse>(diary.App(), &owner);
            choice->SetCriteria(QStringLiteral("Löpning"), QString(), QString());
            window = std::move(choice);
        }
        else
            window = std::make_unique<TfrmAbout>(diary.App(), &owner);

        QString shown;
        bool dialogStillOpen = false;
        QString afterClick;
        TBoxes boxes;
        boxes.other = [&](QWidget *modal) {
            if (modal->objectName() != dialog)
                return;
            if (button)
                QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnHelp")), Qt::LeftButton);
            else
                QTest::keyClick(modal, Qt::Key_F1);
            shown = shownPage(helpWindow());
            dialogStillOpen = modal->isVisible();
            // The help takes input while the dialog waits for its answer: a
            // click that comes through the window system, as the user's
            // does, and is dropped for a window the dialog blocks.
            if (TfrmHelp *help = helpWindow()) {
                auto *tobar = help->findChild<QToolBar *>(QStringLiteral("tobarHelp"));
                QWidget *button = tobar->widgetForAction(help->findChild<QAction *>(QStringLiteral("tbtnContents")));
                const QPoint point = button->mapTo(help, button->rect().center());
                QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, point);
                afterClick = shownPage(help);
            }
        };
        window->exec();
        QCOMPARE(boxes.messages, QStringList());
        QCOMPARE(shown, page);
        QVERIFY(dialogStillOpen);
        QCOMPARE(afterClick, QStringLiteral("introduction.htm"));
    }

    void aboutBoxShowsNameAndVersion()
    {
        TOpenDiary diary;
        TfrmAbout about(diary.App());
        QCOMPARE(about.windowTitle(), QStringLiteral("Om Ternvall"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblAppName"))->text(), QStringLiteral("Ternvall"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblAppVersion"))->text(), QStringLiteral("Version 2.3.0"));
        bool closedByOK = false, closedByEscape = false;
        TBoxes boxes;
        boxes.other = [&](QWidget *modal) {
            // Shift+F1 is no help key here.
            QTest::keyClick(modal, Qt::Key_F1, Qt::ShiftModifier);
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
            closedByOK = !modal->isVisible();
        };
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(closedByOK);
        QVERIFY(!helpWindow() || !helpWindow()->isVisible());
        boxes.other = [&](QWidget *modal) {
            QTest::keyClick(modal, Qt::Key_Escape);
            closedByEscape = !modal->isVisible();
        };
        QCOMPARE(about.exec(), int(QDialog::Rejected));
        QVERIFY(closedByEscape);
    }

    // ---------------------------------------------------------------------
    // Shared dialogs

    void sharedDialogsLiveAsLongAsTheirOwners()
    {
        TCorvaleForms &forms = CorvaleForms();
        auto owner = std::make_unique<QWidget>();
        TfrmSort *sort = &forms.SortDialog(owner.get());
        TfrmFind *find = &forms.FindDialog(owner.get());
        TfrmGenericName *name = &forms.GenericNameDialog(owner.get());
        QCOMPARE(&forms.SortDialog(nullptr), sort);
        QCOMPARE(&forms.FindDialog(nullptr), find);
        QCOMPARE(&forms.GenericNameDialog(nullptr), name);
        QCOMPARE(sort->parentWidget(), owner.get());
        QCOMPARE(name->parentWidget(), owner.get());
        QPointer<TfrmSort> oldSort = sort;
        QPointer<TfrmGenericName> oldName = name;
        owner.reset();
        QVERIFY(!oldSort);
        QVERIFY(!oldName);
        QVERIFY(forms.SortDialog(nullptr).parentWidget() == nullptr);
        QVERIFY(forms.GenericNameDialog(nullptr).parentWidget() == nullptr);

        // The course choice belongs to the application object it was made for.
        TOpenDiary first;
        QWidget window;
        QPointer<TfrmChooseCourse> choice = &forms.ChooseCourseDialog(first.App(), &window);
        QCOMPARE(&forms.ChooseCourseDialog(first.App(), &window), choice.data());
        {
            TOpenDiary second;
            TfrmChooseCourse &other = forms.ChooseCourseDialog(second.App(), &window);
            QVERIFY(!choice);
            choice = &other;
        }
        QVERIFY(choice);
        delete choice.data();
    }

    // The name dialog opens with the caller's caption, label and text, the
    // edit focused and its text selected, so that typing replaces it; it
    // takes no more than the length given, and OK gives what was typed,
    // blanks included, while Escape cancels. A later caller's settings
    // replace the earlier ones.
    void nameDialogTakesWhatIsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("typed over the initial text") << "Marklyft" << 60 << false << int(QDialog::Accepted) << "Marklyft";
        QTest::newRow("blanks kept") << "  two  " << 60 << false << int(QDialog::Accepted) << "  two  ";
        QTest::newRow("cut at the length") << "abcdefghij" << 4 << false << int(QDialog::Accepted) << "abcd";
        QTest::newRow("Escape") << "Marklyft" << 60 << true << int(QDialog::Rejected) << "Marklyft";
    }
    void nameDialogTakesWhatIsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, maxLength);
        QFETCH(bool, escape);
        QFETCH(int, result);
        QFETCH(QString, text);
        QWidget owner;
        TfrmGenericName &dialog = CorvaleForms().GenericNameDialog(&owner);
        // What an earlier caller set is replaced.
        dialog.setWindowTitle(QStringLiteral("Kolumninställningsnamn"));
        dialog.SetMaxLength(30);
        dialog.SetText(QStringLiteral("Ny kolumninställning"));

        dialog.setWindowTitle(QStringLiteral("Styrketräningsövning"));
        dialog.SetLabel(QStringLiteral("&Övning"));
        dialog.SetMaxLength(maxLength);
        dialog.SetText(QStringLiteral("Ny"));
        bool focused = false, selected = false;
        QString caption, label;
        TModalWatcher watcher([&](QWidget *modal) {
            auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("edtSetName"));
            focused = QTest::qWaitFor([edit] { return edit->hasFocus(); }, 2000);
            selected = edit->selectedText() == QLatin1String("Ny");
            caption = modal->windowTitle();
            label = modal->findChild<QLabel *>(QStringLiteral("lblSetName"))->text();
            QTest::keyClicks(edit, typed);
            if (escape)
                QTest::keyClick(modal, Qt::Key_Escape);
            else
                modal->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        QCOMPARE(dialog.exec(), result);
        QVERIFY(focused);
        QVERIFY(selected);
        QCOMPARE(caption, QStringLiteral("Styrketräningsövning"));
        QCOMPARE(label, QStringLiteral("&Övning"));
        QCOMPARE(dialog.Text(), text);
        QCOMPARE(watcher.LeftOpen(), 0);
        delete &dialog;
    }

    // The print title is one dialog for every window: it stands over the
    // window that asked last, keeps the titles typed in any of them and
    // outlives the windows that used it.
    void printTitleServesEveryWindow()
    {
        TCorvaleForms &forms = CorvaleForms();
        QCOMPARE(&forms.ListPrint(), &forms.ListPrint());
        auto first = std::make_unique<QWidget>();
        QPointer<TfrmPrintTitle> title = &forms.PrintTitleDialog(first.get());
        QCOMPARE(title->parentWidget(), first.get());
        title->SuggestFromList(nullptr, QStringLiteral("Banor"));
        auto *own = title->findChild<QComboBox *>(QStringLiteral("cmbbxOwnText"));
        QVERIFY(own);
        own->setEditText(QStringLiteral("Mina banor 2026"));
        QTimer::singleShot(0, title, [&] { title->btnOKClick(title->findChild<QPushButton *>(QStringLiteral("btnOK"))); });
        QCOMPARE(title->exec(), int(QDialog::Accepted));
        QCOMPARE(title->GetTitle(), QStringLiteral("Mina banor 2026"));
        first.reset();
        QVERIFY2(title, "closing the window that used it took the dialog along");

        QWidget second;
        QCOMPARE(&forms.PrintTitleDialog(&second), title.data());
        QCOMPARE(title->parentWidget(), &second);
        QVERIFY(title->isWindow());
        QVERIFY(own->findText(QStringLiteral("Mina banor 2026")) >= 0);
    }
};

QTEST_MAIN(tst_CorvaleForms)
#include "tst_CorvaleForms.moc"
