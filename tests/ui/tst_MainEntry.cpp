// The entry pages in the main window: its menus and tool buttons reach
// them with their enabling rules, a save from "Ny" lists the new entry, the
// "Ändra" page shows the current row, and removing goes through the list.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/DbClient.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "reference/Pulses.h"
#include "ui/DatePicker.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
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
    result.connectionName = QStringLiteral("tst_MainEntry-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

// The real start-up opens an empty diary in the main window, which is then
// the active window; message boxes are recorded and answered from
// `answers` (OK when it is empty).
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
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    TCorvaleApp &App() { return m_app; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    QTabWidget *Pages() { return Child<QTabWidget>("pgctrlMain"); }
    void ShowPage(const char *name) { Pages()->setCurrentWidget(Child<QWidget>(name)); }
    // After a box the platform may leave no window active; the user clicks
    // into the main window again.
    bool Reactivated()
    {
        if (!m_window.isActiveWindow())
            m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

    // A running session typed on "Ny" and saved with Ctrl+S.
    void SaveRun(const QString &place)
    {
        ShowPage("tshNew");
        m_window.NewPage()->SelectActivity(QStringLiteral("Löpning"));
        Child<QComboBox>("cmbbxNewLocation")->setEditText(place);
        Child<TNumericalEdit>("numedtNewTDTTime")->SetValue(QStringLiteral("45.30"));
        Child<TNumericalEdit>("numedtNewTDTDist")->SetValue(QStringLiteral("10"));
        QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier);
    }

    QStringList messages;
    QStringList answers;
    // Handles the modal windows that are no message box.
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
        const QString button = answers.isEmpty() ? QStringLiteral("btnOK") : answers.takeFirst();
        window->findChild<QPushButton *>(button)->click();
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};
}

class tst_MainEntry : public QObject
{
    Q_OBJECT

private slots:
    void enablingFollowsThePageAndTheActivity()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.ShowPage("tshNew");
        QVERIFY(w.Action("mnuiSave")->isEnabled());
        QVERIFY(w.Child<QToolButton>("tbtnSave")->isEnabled());
        QVERIFY(!w.Action("mnuiRemove")->isEnabled());
        QVERIFY(!w.Action("mnuiSort")->isEnabled());
        QVERIFY(!w.Action("mnuiFind")->isEnabled());
        QVERIFY(!w.Action("mnuiCopyFromEdit")->isEnabled());

        // The golf menu goes with the golf panel, the course choice with the
        // time-and-distance panel.
        w.Window().NewPage()->SelectActivity(QStringLiteral("Golf"));
        QVERIFY(w.Child<QMenu>("mnuiGolf")->isEnabled());
        QVERIFY(!w.Action("mnuiChooseCourse")->isEnabled());
        w.Window().NewPage()->SelectActivity(QStringLiteral("Cykling"));
        QVERIFY(!w.Child<QMenu>("mnuiGolf")->isEnabled());
        QVERIFY(w.Action("mnuiChooseCourse")->isEnabled());
        QVERIFY(!w.Action("mnuiRemoveCourse")->isEnabled());

        // A renamed golf keeps its menu.
        QStringList names;
        w.App().GetActivityNames(&names);
        names[names.indexOf(QStringLiteral("Golf"))] = QStringLiteral("Golfrunda");
        w.App().ChangeActivityNames(&names);
        w.Window().NewPage()->SelectActivity(QStringLiteral("Golfrunda"));
        QVERIFY(w.Child<QMenu>("mnuiGolf")->isEnabled());

        w.ShowPage("tshSearch");
        QVERIFY(!w.Action("mnuiSave")->isEnabled());
        QVERIFY(!w.Child<QMenu>("mnuiGolf")->isEnabled());
    }

    // "Pulsintervall..." of "&Visa" and its tool button open the window of
    // the pulse intervals; a band made there is offered on "Ny" and saved
    // with the session.
    void pulseIntervalsFromTheMenu()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiPulse");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Pulsintervall..."));
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(item->isEnabled());
        QVERIFY(w.Child<QMenu>("mnuShow")->actions().contains(item));
        auto *button = w.Child<QToolButton>("tbtnPulse");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa pulsintervalldialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(bar);
        QCOMPARE(bar->windowTitle(), QStringLiteral("Visa"));
        QVERIFY(bar->isAncestorOf(button));

        QStringList opened, offered;
        w.other = [&](QWidget *window) {
            opened.append(window->objectName());
            if (window->objectName() == QLatin1String("frmPulse") && opened.size() == 1) {
                auto *grid = window->findChild<TComplexGrid *>(QStringLiteral("cplxgrdPulse"));
                window->findChild<QPushButton *>(QStringLiteral("btnNew"))->click();
                for (const auto &[col, text] : {std::pair{0, "140"}, std::pair{1, "155"}}) {
                    grid->SetCol(col);
                    QTest::keyClick(grid, Qt::Key_F2);
                    QLineEdit *editor = nullptr;
                    for (QLineEdit *open : grid->viewport()->findChildren<QLineEdit *>())
                        editor = open->isVisible() ? open : editor;
                    QVERIFY(editor);
                    editor->selectAll();
                    QTest::keyClicks(editor, QLatin1String(text));
                    QTest::keyClick(editor, Qt::Key_Return);
                    QCoreApplication::processEvents();
                }
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            } else if (window->objectName() == QLatin1String("frmPulseSelect")) {
                auto *combo = window->findChild<QComboBox *>(QStringLiteral("cmbbxPulse1"));
                for (int i = 0; i < combo->count(); ++i)
                    offered.append(combo->itemText(i));
                combo->setCurrentIndex(1);
                auto *share = window->findChild<TNumericalEdit *>(QStringLiteral("numedtPulse1"));
                share->setFocus();
                QTest::keyClicks(share, QStringLiteral("100"));
                window->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
            } else if (auto *cancel = window->findChild<QPushButton *>(QStringLiteral("btnCancel"))) {
                cancel->click();
            }
        };
        item->trigger();
        QCOMPARE(opened, QStringList{QStringLiteral("frmPulse")});
        QCOMPARE(w.App().GetPulses().PulseCount(), 1);
        QCOMPARE(w.App().GetPulses().PulseText(1), QStringLiteral("140-155"));
        QVERIFY(w.Reactivated());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(opened, (QStringList{QStringLiteral("frmPulse"), QStringLiteral("frmPulse")}));
        QCOMPARE(w.messages, QStringList());

        QVERIFY(w.Reactivated());
        w.ShowPage("tshNew");
        w.Window().NewPage()->SelectActivity(QStringLiteral("Löpning"));
        QTest::mouseClick(w.Child<QPushButton>("btnNewTDTPulse"), Qt::LeftButton);
        QCOMPARE(opened.size(), 3);
        QCOMPARE(offered, (QStringList{QString(), QStringLiteral("140-155")}));
        QCOMPARE(w.Child<TComplexGrid>("cplxgrdNewTDTPulse")->Cells(0, 0), QStringLiteral("140-155 (puls)"));
        QCOMPARE(w.Child<TComplexGrid>("cplxgrdNewTDTPulse")->Cells(1, 0), QStringLiteral("100 (%)"));

        // The dialog's window may still count as the active one.
        w.Window().activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w.Window(); }));
        w.Child<QComboBox>("cmbbxNewLocation")->setEditText(QStringLiteral("Skogen"));
        w.Child<TNumericalEdit>("numedtNewTDTTime")->SetValue(QStringLiteral("45.30"));
        w.Child<TNumericalEdit>("numedtNewTDTDist")->SetValue(QStringLiteral("10"));
        QTest::keyClick(&w.Window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.messages, QStringList());
        TDbQuery query(w.App().GetDatabase());
        query.Add(QStringLiteral("select PulseId || ':' || PulseValue from TrainingSessionPulse"));
        query.Open();
        QVERIFY(!query.Eof());
        QCOMPARE(query.FieldAsText(0).trimmed(), QStringLiteral("1:100"));
    }

    void ctrlSSavesAndListsTheEntry()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Skogen"));
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(w.App().GetLoadedCount(), 1);
        QCOMPARE(w.Window().CounterText(), QStringLiteral("1/1 aktivitet"));
        QCOMPARE(w.Window().StatusText(), QString());
        TComplexGrid *list = w.Window().ListGrid();
        QCOMPARE(list->Cells(2, 1), QStringLiteral("Skogen"));
        // "Ändra" is open now and shows the row when it comes to the front.
        QVERIFY(w.Pages()->isTabEnabled(w.Pages()->indexOf(w.Child<QWidget>("tshEdit"))));
        QVERIFY(!w.Action("mnuiCopyFromEdit")->isEnabled());
        w.ShowPage("tshEdit");
        QCOMPARE(w.Window().ShownActivity(), 1);
        QCOMPARE(w.Child<QLineEdit>("edtEditLocation")->text(), QStringLiteral("Skogen"));
        QVERIFY(w.Action("mnuiCopyFromEdit")->isEnabled());

        // Saved from "Ändra" as well.
        w.Child<QLineEdit>("edtEditLocation")->setText(QStringLiteral("Stan"));
        QTest::keyClick(&w.Window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(list->Cells(2, 1), QStringLiteral("Stan"));
    }

    void removingGoesThroughTheList()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Skogen"));
        w.SaveRun(QStringLiteral("Stan"));
        QCOMPARE(w.App().GetLoadedCount(), 2);
        w.ShowPage("tshResult");
        QVERIFY(w.Action("mnuiRemove")->isEnabled());
        w.answers = {QStringLiteral("btnYes")};
        w.Action("mnuiRemove")->trigger();
        QCOMPARE(w.messages, QStringList{QStringLiteral("Vill du verkligen ta bort aktiviteten?")});
        QCOMPARE(w.App().GetLoadedCount(), 1);
        QCOMPARE(w.App().GetRegisteredCount(), 1);
        QCOMPARE(w.Window().ListGrid()->Cells(2, 1), QStringLiteral("Skogen"));
        QVERIFY(w.Reactivated());
        w.answers = {QStringLiteral("btnYes")};
        w.Action("mnuiRemove")->trigger();
        QCOMPARE(w.App().GetRegisteredCount(), 0);
        // Nothing left: "Ändra" closes and removing is over.
        QVERIFY(!w.Pages()->isTabEnabled(w.Pages()->indexOf(w.Child<QWidget>("tshEdit"))));
        QVERIFY(!w.Action("mnuiRemove")->isEnabled());
    }
};

QTEST_MAIN(tst_MainEntry)
#include "tst_MainEntry.moc"
