// The settings window from the main window: "&Inställningar..." in
// "&Arkiv" and the last button of the Standard tool bar open it with every
// page; a renamed activity shows at once in the lists and pages of the main
// window and after a restart; a new lap calculation recomputes the laps.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ClasshieTypes.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainSettings-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

// An empty diary in slot 1, the user's.
bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("DbSelectNames/1"), QStringLiteral("Användare 1"));
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

// The real start-up opens the diary of `folders` in the main window; the
// settings window is handed to `settings`, message boxes are recorded and
// answered OK.
class TMainWindow
{
public:
    explicit TMainWindow(const TTestFolders &folders)
        : m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()), m_window(m_app)
    {
        Q_UNUSED(folders);
        m_window.show();
        QTimer::singleShot(500, [] { QCoreApplication::exit(1); });
        QCoreApplication::exec();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Reactivated()
    {
        if (!m_window.isActiveWindow()) {
            m_window.activateWindow();
            QApplication::setActiveWindow(&m_window);
        }
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }
    bool Ready() const { return m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    TCorvaleApp &App() { return m_app; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    void ShowPage(const char *name)
    {
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>(name));
    }
    // Opens the settings window from the menu and hands it to `action`.
    void Settings(std::function<void(QWidget *)> action)
    {
        settings = std::move(action);
        Child<QAction>("mnuiSettings")->trigger();
    }
    QStringList SearchActivities()
    {
        QStringList names;
        auto *list = Child<QListWidget>("chklstbxSearchActivity");
        for (int i = 0; i < list->count(); ++i)
            names.append(list->item(i)->text());
        return names;
    }
    QStringList NewPageActivities()
    {
        QStringList names;
        auto *combo = Child<QComboBox>("cmbbxNewActivity");
        for (int i = 0; i < combo->count(); ++i)
            names.append(combo->itemText(i));
        return names;
    }
    // The texts of the list's rows below the titles, all columns.
    QStringList ListCells()
    {
        auto *grid = Child<TComplexGrid>("cplxgrdMain");
        QStringList cells;
        for (int row = 1; row < grid->RowCount(); ++row) {
            for (int col = 0; col < grid->ColCount(); ++col)
                cells.append(grid->Cells(col, row));
        }
        return cells;
    }

    QStringList messages;
    std::function<void(QWidget *)> settings;
    QList<QWidget *> settingsWindows;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (window->objectName() == QLatin1String("frmSettings")) {
            settingsWindows.append(window);
            if (settings)
                settings(window);
        }
    }

    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};

void Rename(QWidget *window, const char *edit, const QString &name)
{
    window->findChild<QLineEdit *>(QLatin1String(edit))->setText(name);
    window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
}
}

class tst_MainSettings : public QObject
{
    Q_OBJECT

private slots:
    // "&Inställningar..." stands in "&Arkiv" right after "&Rensa"; it and
    // the last button of the Standard bar open the one settings window with
    // every page enabled and "Aktiviteter" in front.
    void menuItemAndToolButtonOpenTheWindow()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainWindow w(folders);
        QVERIFY(w.Ready());
        auto *item = w.Child<QAction>("mnuiSettings");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Inställningar..."));
        const QList<QAction *> archive = w.Child<QMenu>("mnuArchive")->actions();
        QCOMPARE(archive.indexOf(item), archive.indexOf(w.Child<QAction>("mnuiClear")) + 1);
        QVERIFY(item->isEnabled());
        auto *button = w.Child<QToolButton>("tbtnSettings");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Inställningar"));
        auto *bar = w.Child<QToolBar>("tobarArchive");
        QCOMPARE(bar->widgetForAction(bar->actions().last()), button);
        QVERIFY(button->isEnabled());

        QStringList seen;
        w.settings = [&](QWidget *window) {
            auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("pgctrlSettings"));
            QString text = window->windowTitle() + QLatin1Char(':');
            for (int i = 0; i < tabs->count(); ++i)
                text += QLatin1Char(' ') + tabs->tabText(i) + (tabs->isTabEnabled(i) ? QString() : QStringLiteral("(av)"));
            seen.append(text + QStringLiteral(" / ") + tabs->currentWidget()->objectName());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        };
        item->trigger();
        button->click();
        const QString all = QStringLiteral("Inställningar: Aktiviteter Summering Personbästa Aktivitetsnamn / tshMain");
        QCOMPARE(seen, (QStringList{all, all}));
        QCOMPARE(w.settingsWindows.size(), 2);
        QCOMPARE(w.settingsWindows.at(0), w.settingsWindows.at(1));
        QVERIFY(w.messages.isEmpty());
    }

    // A rename of "Löpning" shows at once in the search page's activities,
    // the choice of the "Ny" page and the list of a search, and the next
    // start of the program still shows it.
    void aRenamedActivityShowsEverywhereAndStays()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        {
            TMainWindow w(folders);
            QVERIFY(w.Ready());
            // A run in the diary, as the "Ny" page saves one.
            TCorvaleApp &app = w.App();
            const int nr = app.NewActivity(QStringLiteral("Löpning"));
            auto &run = static_cast<TTimeDistanceActivity &>(*app.FindActivity(nr));
            run.SetSessionData(today, QStringLiteral("Skogen"), QString(), QString());
            run.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
            run.SetSleep(QStringLiteral("-1"), QString());
            run.SetComment(QString());
            run.SetDuration(QStringLiteral("45.30"));
            run.SetDistance(QStringLiteral("10"));
            app.SaveActivity(nr);
            app.ClearLoaded();
            QVERIFY(w.SearchActivities().contains(QStringLiteral("Löpning")));

            w.Settings([](QWidget *window) { Rename(window, "edtTDTName1", QStringLiteral("Jogging")); });
            QVERIFY(w.messages.isEmpty());
            for (const QStringList &names : {w.SearchActivities(), w.NewPageActivities()}) {
                QVERIFY(names.contains(QStringLiteral("Jogging")));
                QVERIFY(!names.contains(QStringLiteral("Löpning")));
            }
            w.Window().NewPage()->SelectActivity(QStringLiteral("Jogging"));
            QCOMPARE(w.Window().NewPage()->ActivityName(), QStringLiteral("Jogging"));

            w.ShowPage("tshSearch");
            // The search acts only for the active main window; after a box
            // the user clicks into it again.
            QVERIFY(w.Reactivated());
            w.Child<QAction>("mnuiSearch")->trigger();
            const QStringList cells = w.ListCells();
            QVERIFY2(cells.contains(QStringLiteral("Jogging")), qPrintable(cells.join(QLatin1Char('|'))));
            QVERIFY(!cells.contains(QStringLiteral("Löpning")));
        }
        TMainWindow again(folders);
        QVERIFY(again.Ready());
        QVERIFY(again.SearchActivities().contains(QStringLiteral("Jogging")));
        QVERIFY(!again.SearchActivities().contains(QStringLiteral("Löpning")));
        QVERIFY(again.NewPageActivities().contains(QStringLiteral("Jogging")));
    }

    // The split column of the "Ny" page's laps follows the lap calculation
    // chosen in the settings window, and its label says which is used.
    void theLapsFollowTheLapCalculation()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainWindow w(folders);
        QVERIFY(w.Ready());
        w.ShowPage("tshNew");
        TActivityPage *page = w.Window().NewPage();
        page->SelectActivity(QStringLiteral("Löpning"));
        w.Child<TNumericalEdit>("numedtNewLaps")->SetValue(QStringLiteral("2"));
        page->LapEdit(0, 0)->SetValue(QStringLiteral("3"));
        page->LapEdit(0, 1)->SetValue(QStringLiteral("13.20"));
        page->LapEdit(1, 0)->SetValue(QStringLiteral("6.5"));
        page->LapEdit(1, 1)->SetValue(QStringLiteral("29.10"));
        page->LapCountExit();
        auto *label = w.Child<QLabel>("lblUsedLapCalcNew");
        QCOMPARE(label->text(), QStringLiteral("Beräkning sker från föregående mellantid"));
        QCOMPARE(page->LapEdit(1, 2)->Value(), QStringLiteral("15.50"));

        const auto choose = [&w](int index) {
            w.Settings([index](QWidget *window) {
                window->findChild<QComboBox *>(QStringLiteral("cmbbxLapCalc"))->setCurrentIndex(index);
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            });
        };
        choose(0);
        QCOMPARE(label->text(), QStringLiteral("Beräkning sker totalt till mellantiden"));
        QCOMPARE(page->LapEdit(1, 2)->Value(), QStringLiteral("29.10"));
        choose(1);
        QCOMPARE(label->text(), QStringLiteral("Beräkning sker från föregående mellantid"));
        QCOMPARE(page->LapEdit(1, 2)->Value(), QStringLiteral("15.50"));
        QVERIFY(w.messages.isEmpty());
    }
};

QTEST_MAIN(tst_MainSettings)
#include "tst_MainSettings.moc"
