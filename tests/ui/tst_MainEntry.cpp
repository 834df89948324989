// The entry pages in the main window: its menus and tool buttons reach
// them with their enabling rules, a save from "Ny" lists the new entry, the
// "Ändra" page shows the current row, and removing goes through the list.

#include "DiaryDatabase.h"
#include "RecordReads.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ClasshieTypes.h"
#include "reference/CurrentCourse.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"
#include "ui/EntryController.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
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

// Empty diaries in the slots 1 to `diaries`, the first one the user's.
bool install(const TTestFolders &folders, int diaries)
{
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    for (int slot = 1; slot <= diaries; ++slot) {
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale%1.gdb").arg(slot),
                              QStringLiteral(TERNVALL_SCHEMA_FILE));
        machine->setValue(QStringLiteral("DbSelectNames/%1").arg(slot), QStringLiteral("Användare %1").arg(slot));
    }
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

// The real start-up opens an empty diary in the main window, which is then
// the active window; message boxes are recorded and answered from
// `answers` (OK when it is empty); the user choice picks slot `nextUser`.
class TMainWindow
{
public:
    explicit TMainWindow(int diaries = 1)
        : m_installed(install(m_folders, diaries)), m_watcher([this](QWidget *window) { Answer(window); }),
          m_app(options()), m_window(m_app)
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

    // "&Byt användare..." to the slot, as the user chooses it; true when
    // the main window is the active one again afterwards.
    bool ChangeUser(int slot)
    {
        nextUser = slot;
        Action("mnuiDb")->trigger();
        m_window.activateWindow();
        return QTest::qWaitFor([this] { return QApplication::activeWindow() == &m_window; }, 5000);
    }

    QStringList messages;
    QStringList answers;
    int nextUser = 2;
    // Handles the modal windows that are no message box.
    std::function<void(QWidget *)> other;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmDbSelect")) {
            window->findChild<QRadioButton *>(QStringLiteral("rgbDb%1").arg(nextUser))->click();
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            return;
        }
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


    // At the size the window takes on its first start on a 1366×768 screen
    // the "Ny" page of a run, laps included, needs no scrolling.
    void theNewPageOfARunFitsA768Screen()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.Window().resize(1280, 728);
        w.ShowPage("tshNew");
        w.Window().NewPage()->SelectActivity(QStringLiteral("Löpning"));
        w.Child<TNumericalEdit>("numedtNewLaps")->SetValue(QStringLiteral("5"));
        QCoreApplication::processEvents();
        auto *scroll = w.Child<QScrollArea>("scrbxNewEntry");
        QVERIFY(scroll);
        QTRY_VERIFY(scroll->widget()->isVisible());
        QCOMPARE(scroll->verticalScrollBar()->maximum(), 0);
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

    // After "&Byt användare..." nothing of the first diary is left on the
    // entry pages to be saved into the second: no pulse intervals, course,
    // program, place list or typed values; the second diary's lists show.
    void aChangeOfUserEmptiesTheEntryPages()
    {
        TMainWindow w(2);
        QVERIFY(w.Ready());
        TPulses &pulses = w.App().GetPulses();
        const qint32 band = pulses.AddPulse(120, 140);
        pulses.ApplyPulses();
        TExercisePrograms &programs = w.App().GetExercisePrograms();
        programs.AddProgram(QStringLiteral("Bas"), QString());
        programs.ApplyPrograms();
        w.Window().FillWorkPrograms();
        w.SaveRun(QStringLiteral("Skogen"));
        QCOMPARE(w.messages, QStringList());
        w.App().LoadPlaces();

        TActivityPage *page = w.Window().NewPage();
        auto *location = w.Child<QComboBox>("cmbbxNewLocation");
        page->SelectActivity(QStringLiteral("Cykling"));
        page->SelectActivity(QStringLiteral("Löpning"));
        QCOMPARE(location->count(), 1);
        page->SetPulseIntervals({band}, {60});
        const int course = w.App().NewCourse();
        w.App().SetCourseValues(course, QStringLiteral("Löpning"), 2, 5.0, QStringLiteral("Skogen"));
        w.App().SaveCourse(course);
        page->BindCourse(TChosenCourse{QString::number(course), QStringLiteral("Skogen"), QStringLiteral("5"), {}});
        auto *program = w.Child<QComboBox>("cmbbxNewWorkEP");
        QCOMPARE(program->count(), 2);
        program->setCurrentIndex(1);
        w.Child<TNumericalEdit>("numedtNewWeight")->SetValue(QStringLiteral("72.5"));
        QVERIFY(page->HasCourse());

        QVERIFY(w.ChangeUser(2));
        QCOMPARE(w.Window().windowTitle(), QStringLiteral("Ternvall - Användare 2"));
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(page->PulseIds(), QList<qint32>());
        QCOMPARE(page->PulsePercentages(), QList<qint32>());
        QCOMPARE(w.Child<TComplexGrid>("cplxgrdNewTDTPulse")->RowCount(), 0);
        QVERIFY(!page->HasCourse());
        QCOMPARE(program->count(), 1);
        QCOMPARE(program->currentIndex(), 0);
        QCOMPARE(page->ActivityName(), QString());
        QCOMPARE(page->CurrentPanel(), TEntryPanel::None);
        QCOMPARE(location->count(), 0);
        QCOMPARE(location->currentText(), QString());
        QCOMPARE(w.Child<TNumericalEdit>("numedtNewWeight")->text(), QString());
        QCOMPARE(w.Window().EditPage()->ShownKey(), -1);

        // A run saved in the second diary carries nothing of the first.
        w.SaveRun(QStringLiteral("Stan"));
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(w.App().GetLoadedCount(), 1);
        auto *run = dynamic_cast<TTimeDistanceActivity *>(w.App().FindActivity(1));
        QVERIFY(run);
        QList<qint32> ids, percentages;
        run->GetPulseIntervals(ids, percentages);
        QCOMPARE(ids, QList<qint32>());
        const QString courseNr = run->GetCourseNr().trimmed();
        QVERIFY2(courseNr.isEmpty() || courseNr == QLatin1String("-1"), qPrintable(courseNr));
    }

    // "Ändra" brought to the front again, by a page change or by
    // Ctrl+Alt+N on the last row, keeps what was typed there.
    void theEditPageKeepsWhatWasTyped()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Skogen"));
        w.SaveRun(QStringLiteral("Stan"));
        w.ShowPage("tshEdit");
        QCOMPARE(w.Window().ShownActivity(), 2);
        auto *place = w.Child<QLineEdit>("edtEditLocation");
        auto *weight = w.Child<TNumericalEdit>("numedtEditWeight");
        QTest::mouseClick(place, Qt::LeftButton);
        QTest::keyClick(place, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(place, QStringLiteral("Berget"));
        weight->setFocus();
        QTest::keyClicks(weight, QStringLiteral("71"));

        w.ShowPage("tshResult");
        w.ShowPage("tshEdit");
        QCOMPARE(place->text(), QStringLiteral("Berget"));
        QCOMPARE(weight->Value(), QStringLiteral("71.0"));
        QTest::keyClick(&w.Window(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.Window().ShownActivity(), 2);
        QCOMPARE(place->text(), QStringLiteral("Berget"));
        QCOMPARE(weight->Value(), QStringLiteral("71.0"));
        QCOMPARE(w.messages, QStringList());
        // Saved, the changes are the activity's and nothing is asked.
        QTest::keyClick(&w.Window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.Window().ListGrid()->Cells(2, 2), QStringLiteral("Berget"));
        QVERIFY(w.Reactivated());
        QTest::keyClick(&w.Window(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.Window().ShownActivity(), 1);
        QCOMPARE(w.messages, QStringList());
    }

    // Another activity replacing changes not saved asks first; no keeps
    // the page and the list's row, yes shows the other activity.
    void anotherActivityAsksBeforeReplacingChanges_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("fromTheList");
        QTest::newRow("no, Ctrl+Alt+P") << "btnNo" << false;
        QTest::newRow("yes, Ctrl+Alt+P") << "btnYes" << false;
        QTest::newRow("no, list row and page change") << "btnNo" << true;
        QTest::newRow("yes, list row and page change") << "btnYes" << true;
    }

    void anotherActivityAsksBeforeReplacingChanges()
    {
        QFETCH(QString, answer);
        QFETCH(bool, fromTheList);
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Skogen"));
        w.SaveRun(QStringLiteral("Stan"));
        w.ShowPage("tshEdit");
        auto *place = w.Child<QLineEdit>("edtEditLocation");
        QTest::mouseClick(place, Qt::LeftButton);
        QTest::keyClick(place, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(place, QStringLiteral("Berget"));

        w.answers = {answer};
        if (fromTheList) {
            w.ShowPage("tshResult");
            w.Window().ListGrid()->SetRow(1);
            w.ShowPage("tshEdit");
        } else {
            QTest::keyClick(&w.Window(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
        }
        QCOMPARE(w.messages, QStringList{QStringLiteral("Vill du verkligen avbryta dina ändringar?")});
        QCOMPARE(w.Pages()->currentWidget(), w.Child<QWidget>("tshEdit"));
        if (answer == QLatin1String("btnNo")) {
            QCOMPARE(w.Window().ShownActivity(), 2);
            QCOMPARE(place->text(), QStringLiteral("Berget"));
            QCOMPARE(w.Window().ListGrid()->Row(), 2);
            QCOMPARE(w.Window().CounterText(), QStringLiteral("2/2 aktiviteter"));
        } else {
            QCOMPARE(w.Window().ShownActivity(), 1);
            QCOMPARE(place->text(), QStringLiteral("Skogen"));
            QCOMPARE(w.Window().ListGrid()->Row(), 1);
        }
        // Nothing was saved either way.
        QCOMPARE(w.Window().ListGrid()->Cells(2, 2), QStringLiteral("Stan"));
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

    // "Aktuell banbeskrivning" is brought up to date once per change: a
    // Ctrl+Alt+N step onto a bound session costs the diary what one update
    // of the window costs, and an update reads what it shows, never the
    // whole diary.
    void currentCourseOncePerStep()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        TCorvaleApp &app = w.App();
        TDbConnection &db = app.GetDatabase();
        const int course = app.NewCourse();
        app.SetCourseValues(course, QStringLiteral("Löpning"), 2, 5.0, QStringLiteral("Skogen"));
        const QStringList description{QStringLiteral("Stig runt sjön")};
        app.SetCourseDescription(course, &description);
        app.SetCourseLaps(course, {});
        app.SaveCourse(course);
        // Three hundred sessions that the search does not list fill the diary.
        const int filling = 300;
        {
            TDbTransactionGuard transaction(db);
            TDbQuery insert(db);
            insert.Add(QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity, SessionPlace,"));
            insert.Add(QStringLiteral(" SessionWeather, SessionWindDir, SessionSleepQuality, SessionComment)"));
            insert.Add(QStringLiteral("values (:nr, '2023-06-01', 'RUN', ' ', -1, -1, -1, ' ')"));
            for (int nr = 1; nr <= filling; ++nr) {
                insert.SetInteger(QStringLiteral("nr"), nr);
                insert.ExecSQL();
            }
            transaction.Commit();
        }
        QList<int> bound;
        for (const auto &[date, duration] : {std::pair{"2024-03-01", "25.10"}, {"2024-03-08", "24.40"}, {"2024-03-15", "26.00"}}) {
            const int nr = app.NewActivity(QStringLiteral("Löpning"));
            auto &run = static_cast<TTimeDistanceActivity &>(*app.FindActivity(nr));
            run.SetSessionData(QString::fromLatin1(date), QStringLiteral("Skogen"), QString(), QString());
            run.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
            run.SetSleep(QStringLiteral("-1"), QString());
            run.SetComment(QString());
            run.SetDuration(QString::fromLatin1(duration));
            run.SetDistance(QStringLiteral("5"));
            run.SetCourseNr(QString::number(course));
            const QStringList none;
            run.SetLaps(&none, &none);
            app.SaveActivity(nr);
            bound.append(nr);
        }
        w.Window().RunSearch();
        TComplexGrid *list = w.Window().ListGrid();
        QCOMPARE(list->RowCount() - list->FixedRows(), 3);
        const auto rowOf = [list](int key) {
            for (int row = list->FixedRows(); row < list->RowCount(); ++row) {
                if (list->Cells(list->ColCount() - 1, row).trimmed() == QString::number(key))
                    return row;
            }
            return -1;
        };
        const auto step = [&w](const char *action) {
            if (w.Reactivated())
                w.Action(action)->trigger();
        };

        // The window is open from the start, as it is until the user closes it.
        auto *current = w.Window().findChild<TfrmCurrentCourse *>();
        QVERIFY(current && current->isVisible());
        QVERIFY(w.Action("mnuiCurrentCourse")->isChecked());
        // Every session read once, as the user would have seen them.
        list->SetRow(rowOf(bound[0]));
        w.Window().ShowSelectedActivity();
        step("mnuiNextAct");
        step("mnuiNextAct");
        step("mnuiPreviousAct");
        step("mnuiPreviousAct");
        QCOMPARE(w.Window().ShownActivity(), bound[0]);

        // The step alone, with the window closed.
        w.Action("mnuiCurrentCourse")->trigger();
        QVERIFY(!current->isVisible());
        QVERIFY(w.Reactivated());
        const qint64 plainStep = RecordReadsOf(db, [&] { w.Action("mnuiNextAct")->trigger(); });
        QCOMPARE(w.Window().ShownActivity(), bound[1]);
        step("mnuiPreviousAct");
        QCOMPARE(w.Window().ShownActivity(), bound[0]);

        w.Action("mnuiCurrentCourse")->trigger();
        QVERIFY(current->isVisible());
        QVERIFY(w.Reactivated());
        const qint64 stepWithCourse = RecordReadsOf(db, [&] { w.Action("mnuiNextAct")->trigger(); });
        QCOMPARE(w.Window().ShownActivity(), bound[1]);
        QCOMPARE(current->findChild<QLabel *>(QStringLiteral("lblNrUsedByActivities"))->text(),
                 QStringLiteral("Används av 3 aktiviteter"));
        QCOMPARE(current->findChild<QLineEdit *>(QStringLiteral("edtFastestDate"))->text(), QStringLiteral("2024-03-08"));
        QCOMPARE(current->findChild<QLineEdit *>(QStringLiteral("edtSlowestDate"))->text(), QStringLiteral("2024-03-01"));

        const qint64 update = RecordReadsOf(db, [&] { w.Window().EntryController()->UpdateCurrentCourse(); });
        QVERIFY(update > 0);
        QVERIFY2(update < filling, qPrintable(QStringLiteral("an update read %1 records").arg(update)));
        QCOMPARE(stepWithCourse - plainStep, update);
    }
};

QTEST_MAIN(tst_MainEntry)
#include "tst_MainEntry.moc"
