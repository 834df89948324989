// The main window's search page and activity list, driven as a user would
// against a small real diary: searching, the counter, sorting that keeps the
// current activity, text find, the narrow key column, the column settings,
// clearing the page, the search at start and the rule that menu actions act
// only while the window is active.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "analysis/Frequency.h"
#include "analysis/FrequencyChart.h"
#include "app/CorvaleApp.h"
#include "columns/ColumnSettings.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"
#include "ui/Main.h"

#include <QAction>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
QAtomicInt connectionSerial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainSearch-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    return result;
}

// Writes diary entries through the activity classes' own storage, before
// the window opens the diary.
class TEntryWriter
{
public:
    explicit TEntryWriter(const QString &path) : m_connection(QStringLiteral("tst_MainSearch-writer"))
    {
        m_connection.SetDatabaseName(path);
        m_connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        m_connection.Open();
        m_names.SetDatabase(&m_connection);
        m_names.Open();
        QStringList codes;
        m_names.GetCodes(&codes);
        for (const QString &code : codes)
            m_factory.Register(m_names.NameOfCode(code), ActivityClassOfCode(code));
        m_pulses.SetDatabase(&m_connection);
        m_activities.SetActivityNames(&m_names);
        m_activities.SetFactory(&m_factory);
        m_activities.SetPulses(&m_pulses);
        m_activities.SetDatabase(&m_connection);
    }

    // A time-and-distance session of the type (RUN, BIK, ...); returns its key.
    int TimeDistance(const char *code, const QString &date, const QString &place, const QString &duration,
                     const QString &distance)
    {
        auto &activity = static_cast<TTimeDistanceActivity &>(Add(code, date, place));
        activity.SetDuration(duration);
        activity.SetDistance(distance);
        activity.SetCourseNr(QString());
        const QStringList none;
        activity.SetLaps(&none, &none);
        return Save(activity);
    }

    int Game(const char *code, const QString &date, const QString &place, const QString &duration, const QString &game)
    {
        auto &activity = static_cast<TGame &>(Add(code, date, place));
        activity.SetDuration(duration);
        activity.SetGame(QStringLiteral("2"), game);
        return Save(activity);
    }

    void Sql(const QString &statement)
    {
        TDbQuery query(m_connection);
        query.Add(statement);
        query.ExecSQL();
    }

private:
    TActivity &Add(const char *code, const QString &date, const QString &place)
    {
        const int nr = m_activities.NewActivity(m_names.NameOfCode(QLatin1String(code)));
        TActivity &activity = *m_activities.Find(nr);
        activity.SetSessionData(date, place, QString(), QString());
        activity.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        activity.SetSleep(QStringLiteral("-1"), QString());
        activity.SetComment(QString());
        return activity;
    }

    int Save(TActivity &activity)
    {
        const int nr = activity.GetSessionNr();
        m_activities.Save(nr);
        return nr;
    }

    TDbConnection m_connection;
    TActivityNames m_names;
    TActivityFactory m_factory;
    TPulses m_pulses;
    TActivities m_activities;
};

// Five sessions: keys 1 to 5 in this order.
void standardEntries(TEntryWriter &diary)
{
    diary.TimeDistance("RUN", QStringLiteral("2024-03-05"), QStringLiteral("Skogen"), QStringLiteral("45.00"), QStringLiteral("10"));
    diary.TimeDistance("RUN", QStringLiteral("2024-01-10"), QStringLiteral("Stan"), QStringLiteral("30.00"), QStringLiteral("5"));
    diary.TimeDistance("BIK", QStringLiteral("2024-02-01"), QStringLiteral("Skogen"), QStringLiteral("60.00"), QStringLiteral("30"));
    diary.Game("FLO", QStringLiteral("2024-02-15"), QStringLiteral("Hallen"), QStringLiteral("60"), QStringLiteral("3-2"));
    diary.TimeDistance("RUN", QStringLiteral("2023-12-31"), QStringLiteral("Stan"), QStringLiteral("20.00"), QStringLiteral("4"));
}

void noEntries(TEntryWriter &)
{
}

void setUserValue(const QString &key, const QVariant &value)
{
    SettingsFiles::OpenStore(SettingsFiles::THive::User)->setValue(key, value);
}

// Installs a diary in fresh folders, fills it and lets the real start-up
// open it in the main window.
class TSearchWindow
{
public:
    using TFill = std::function<void(TEntryWriter &)>;

    explicit TSearchWindow(const TFill &fill = standardEntries, const QVariantMap &settings = {})
        : m_installed(Install(m_folders, fill, settings)),
          m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()), m_window(m_app)
    {
        m_window.show();
        // The start-up runs from the event loop, in one go; then the window
        // is made the active one, as it is for a user working in it.
        const bool opened = QTest::qWaitFor([this] { return m_window.windowTitle() != QLatin1String("Ternvall"); }, 10000);
        m_window.activateWindow();
        m_active = opened && QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    TCorvaleApp &App() { return m_app; }
    TComplexGrid &Grid() { return *m_window.ListGrid(); }

    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    QWidget *CurrentPage() { return Child<QTabWidget>("pgctrlMain")->currentWidget(); }

    // The messages shown so far; `answer` handles any other modal window.
    QStringList messages;
    std::function<void(QWidget *)> answer;

    // The window becomes the active one again after a dialog, as the
    // desktop makes it (the offscreen platform leaves that to the program).
    bool Reactivated()
    {
        m_window.activateWindow();
        return QTest::qWaitFor([this] { return m_window.isActiveWindow(); }, 2000);
    }

    // Searches from the search page, as the user does.
    void Search()
    {
        Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>("tshSearch"));
        Action("mnuiSearch")->trigger();
    }
    void CheckOnly(const QStringList &names)
    {
        Child<QPushButton>("btnDeselectAll")->click();
        auto *list = Child<QListWidget>("chklstbxSearchActivity");
        for (int i = 0; i < list->count(); ++i) {
            if (names.contains(list->item(i)->text()))
                list->item(i)->setCheckState(Qt::Checked);
        }
    }

    // The keys of the list rows, top to bottom (empty rows left out).
    QList<int> Keys()
    {
        QList<int> keys;
        const int idColumn = IdColumn();
        for (int row = 1; row < Grid().RowCount(); ++row) {
            if (!Grid().Cells(idColumn, row).isEmpty())
                keys.append(Grid().Cells(idColumn, row).toInt());
        }
        return keys;
    }
    int IdColumn() { return Grid().ColCount() - 1; }
    int CurrentKey() { return Grid().Cells(IdColumn(), Grid().Row()).toInt(); }
    int RowOfKey(int key)
    {
        for (int row = 1; row < Grid().RowCount(); ++row) {
            if (Grid().Cells(IdColumn(), row).toInt() == key)
                return row;
        }
        return -1;
    }

private:
    static bool Install(const TTestFolders &folders, const TFill &fill, const QVariantMap &settings)
    {
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        // Every test starts from a copy of one empty diary made from the schema.
        static QTemporaryDir templateFolder;
        static const QString emptyDiary = [] {
            const QString file = templateFolder.filePath(QStringLiteral("empty.gdb"));
            DiaryDatabase::Create(file, QStringLiteral(TERNVALL_SCHEMA_FILE));
            return file;
        }();
        if (!QFile::copy(emptyDiary, path) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
            return false;
        {
            auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
            machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
        }
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            setUserValue(it.key(), it.value());
        if (fill) {
            TEntryWriter writer(path);
            fill(writer);
        }
        return true;
    }

    void Answer(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            for (const char *name : {"btnOK", "btnYes"}) {
                if (auto *button = window->findChild<QPushButton *>(QLatin1String(name))) {
                    button->click();
                    return;
                }
            }
            return;
        }
        if (answer)
            answer(window);
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};
}

class tst_MainSearch : public QObject
{
    Q_OBJECT

private slots:
    void searchListsInDateOrder_data()
    {
        QTest::addColumn<QString>("dateFrom");
        QTest::addColumn<QString>("dateTo");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("distanceFrom");
        QTest::addColumn<QString>("distanceTo");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("counter");
        QTest::newRow("date range") << "2024-01-01" << "2024-02-28" << "" << "" << "" << QList<int>{2, 3, 4} << "3/3 aktiviteter";
        QTest::newRow("place") << "" << "" << "Skogen" << "" << "" << QList<int>{3, 1} << "2/2 aktiviteter";
        QTest::newRow("distance from") << "" << "" << "" << "10" << "" << QList<int>{3, 4, 1} << "3/3 aktiviteter";
        QTest::newRow("dates and distance to") << "2024-01-01" << "" << "" << "" << "5" << QList<int>{2, 4} << "2/2 aktiviteter";
        QTest::newRow("no distance (search key)") << "" << "" << "" << "!" << "" << QList<int>{4} << "1/1 aktivitet";
        QTest::newRow("nothing found") << "" << "" << "Berget" << "" << "" << QList<int>{} << "0 aktiviteter";
    }

    void searchListsInDateOrder()
    {
        QFETCH(QString, dateFrom);
        QFETCH(QString, dateTo);
        QFETCH(QString, place);
        QFETCH(QString, distanceFrom);
        QFETCH(QString, distanceTo);
        QFETCH(QList<int>, keys);
        QFETCH(QString, counter);
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Child<TDatePicker>("wwdtpSearchDate1")->SetText(dateFrom);
        w.Child<TDatePicker>("wwdtpSearchDate2")->SetText(dateTo);
        w.Child<QLineEdit>("edtSearchLocation")->setText(place);
        w.Child<TNumericalEdit>("numedtSearchTDDist1")->SetValue(distanceFrom);
        w.Child<TNumericalEdit>("numedtSearchTDDist2")->SetValue(distanceTo);
        w.Search();

        QCOMPARE(w.Keys(), keys);
        QCOMPARE(w.App().GetLoadedCount(), int(keys.size()));
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshResult"));
        // The latest activity, the last row, is current.
        if (!keys.isEmpty())
            QCOMPARE(w.Grid().Row(), int(keys.size()));
        for (int row = 2; row <= keys.size(); ++row)
            QVERIFY(w.Grid().Cells(0, row - 1) <= w.Grid().Cells(0, row));
        QCOMPARE(w.Window().CounterText(), counter);
        QCOMPARE(w.Window().StatusText(), QString());
        QCOMPARE(w.Child<QProgressBar>("pgsbrMain")->value(), 0);
        QCOMPARE(w.messages, QStringList());
    }

    void searchByActivityOrder()
    {
        TSearchWindow w(standardEntries, {{QStringLiteral("Settings/SearchSort"), QStringLiteral("Activity")}});
        QVERIFY(w.Ready());
        QCOMPARE(w.App().GetSettings().SearchSort, TSettingsValues::TSearchSort::Activity);
        w.Search();
        QStringList activities;
        for (int row = 1; row < w.Grid().RowCount(); ++row)
            activities.append(w.Grid().Cells(1, row));
        QCOMPARE(activities, (QStringList{QStringLiteral("Cykling"), QStringLiteral("Innebandy"), QStringLiteral("Löpning"),
                                          QStringLiteral("Löpning"), QStringLiteral("Löpning")}));
    }

    void withNoActivityCheckedNothingIsFound()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        QCOMPARE(w.Keys().size(), 5);
        w.Child<QPushButton>("btnDeselectAll")->click();
        w.Search();
        QCOMPARE(w.Keys(), QList<int>());
        QCOMPARE(w.Grid().RowCount(), 2);
        QCOMPARE(w.App().GetLoadedCount(), 0);
        QCOMPARE(w.Window().CounterText(), QStringLiteral("0 aktiviteter"));
        // An empty result enables nothing that works on the list.
        QVERIFY(!w.Action("mnuiSort")->isEnabled());
        QVERIFY(!w.Action("mnuiFind")->isEnabled());
        QVERIFY(!w.Action("mnuiNextAct")->isEnabled());
        QVERIFY(!w.Child<QTabWidget>("pgctrlMain")->isTabEnabled(1));
    }

    void theCounterFollowsTheCurrentRow()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        QCOMPARE(w.Window().CounterText(), QStringLiteral("5/5 aktiviteter"));
        w.Grid().SetRow(3);
        QCOMPARE(w.Window().CounterText(), QStringLiteral("3/5 aktiviteter"));
        w.Action("mnuiPreviousAct")->trigger();
        QCOMPARE(w.Grid().Row(), 2);
        QCOMPARE(w.Window().CounterText(), QStringLiteral("2/5 aktiviteter"));
        // Stepping shows the row on the "Ändra" page.
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshEdit"));
        QCOMPARE(w.Window().ShownActivity(), w.CurrentKey());
        w.Action("mnuiNextAct")->trigger();
        QCOMPARE(w.Grid().Row(), 3);
        QCOMPARE(w.Window().ShownActivity(), w.CurrentKey());
    }

    void aTitleClickKeepsTheCurrentActivity()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        // Date order: 5, 2, 3, 4, 1. The bike ride (3) is made current.
        QCOMPARE(w.Keys(), (QList<int>{5, 2, 3, 4, 1}));
        w.Grid().SetRow(w.RowOfKey(3));
        QHeaderView *header = w.Grid().horizontalHeader();
        const auto clickTitle = [&](int col) {
            const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        };
        // The place column, ascending: Hallen, Skogen, Skogen, Stan, Stan.
        clickTitle(2);
        QCOMPARE(w.Grid().Cells(2, 1), QStringLiteral("Hallen"));
        QCOMPARE(w.Grid().Cells(2, 5), QStringLiteral("Stan"));
        QCOMPARE(w.CurrentKey(), 3);
        QCOMPARE(w.Window().StatusText(), QString());
        // Again, descending: the bike ride moves and stays current.
        const int before = w.Grid().Row();
        clickTitle(2);
        QCOMPARE(w.Grid().Cells(2, 1), QStringLiteral("Stan"));
        QCOMPARE(w.CurrentKey(), 3);
        QVERIFY(w.Grid().Row() != before);
        QCOMPARE(w.Window().CounterText(), QStringLiteral("%1/5 aktiviteter").arg(w.Grid().Row()));
        // No busy pointer is left behind.
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void theSortDialogKeepsTheCurrentActivity()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        w.Grid().SetRow(w.RowOfKey(4));
        QStringList offered;
        w.answer = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmSort"))
                return;
            auto *column = window->findChild<QComboBox *>(QStringLiteral("cmbbxSortCol1"));
            auto *mode = window->findChild<QComboBox *>(QStringLiteral("cmbbxSortMode1"));
            auto *direction = window->findChild<QComboBox *>(QStringLiteral("cmbbxSortDir1"));
            for (int i = 0; i < mode->count(); ++i)
                offered.append(mode->itemText(i));
            column->setCurrentIndex(column->findText(QStringLiteral("Datum")));
            mode->setCurrentIndex(mode->findText(QStringLiteral("Datum")));
            direction->setCurrentIndex(direction->findText(QStringLiteral("Fallande")));
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        };
        w.Action("mnuiSort")->trigger();
        QVERIFY(offered.contains(QStringLiteral("Datum")));
        QCOMPARE(w.Keys(), (QList<int>{1, 4, 3, 2, 5}));
        QCOMPARE(w.CurrentKey(), 4);
        QCOMPARE(w.Grid().Row(), 2);
        QVERIFY(SettingsFiles::OpenStore(SettingsFiles::THive::User)->contains(QStringLiteral("MainSort/SortCol1")));
    }

    void findText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("foundKey");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("found") << "hallen" << 4 << "Sökningen lyckades (hallen)" << QStringList();
        QTest::newRow("not found") << "Berget" << -1 << ""
                                   << QStringList{QStringLiteral("Sökningen misslyckades (Berget)")};
    }

    void findText()
    {
        QFETCH(QString, text);
        QFETCH(int, foundKey);
        QFETCH(QString, status);
        QFETCH(QStringList, messages);
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        w.Grid().SetRow(1);
        w.answer = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmFind"))
                return;
            window->findChild<QComboBox *>(QStringLiteral("cmbbxSearch"))->setEditText(text);
            window->findChild<QPushButton *>(QStringLiteral("btnFind"))->click();
        };
        QVERIFY(!w.Action("mnuiFindAgain")->isEnabled());
        w.Action("mnuiFind")->trigger();
        QCOMPARE(w.messages, messages);
        QCOMPARE(w.Window().StatusText(), status);
        QCOMPARE(w.Window().LastFindText(), text);
        QCOMPARE(w.CurrentKey(), foundKey > 0 ? foundKey : w.Keys().first());
        QVERIFY(w.Action("mnuiFindAgain")->isEnabled());
    }

    void findAgainGoesOnBelowTheLastHit()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        w.answer = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmFind"))
                return;
            window->findChild<QComboBox *>(QStringLiteral("cmbbxSearch"))->setEditText(QStringLiteral("Skogen"));
            window->findChild<QPushButton *>(QStringLiteral("btnFind"))->click();
        };
        // Date order 5, 2, 3, 4, 1: Skogen is in rows 3 and 5.
        w.Action("mnuiFind")->trigger();
        QCOMPARE(w.CurrentKey(), 3);
        // F3 once the window is active again after the dialog.
        QVERIFY(w.Reactivated());
        w.Action("mnuiFindAgain")->trigger();
        QCOMPARE(w.CurrentKey(), 1);
        QCOMPARE(w.Window().StatusText(), QStringLiteral("Sökningen lyckades (Skogen)"));
        QVERIFY(w.Reactivated());
        w.Action("mnuiFindAgain")->trigger();
        QCOMPARE(w.CurrentKey(), 1);
        QCOMPARE(w.messages, QStringList{QStringLiteral("Sökningen misslyckades (Skogen)")});
        QCOMPARE(w.Window().StatusText(), QString());
    }

    void columnWidths()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        const int idColumn = w.IdColumn();
        QCOMPARE(w.Grid().Cells(idColumn, 0), QString());
        QCOMPARE(w.Grid().horizontalHeader()->sectionSize(idColumn), 1);
        // Dragged wider, it springs back.
        w.Grid().horizontalHeader()->resizeSection(idColumn, 80);
        QCOMPARE(w.Grid().horizontalHeader()->sectionSize(idColumn), 1);
        QCOMPARE(w.Grid().ColWidths(idColumn), 1);
        // The arrow keys never make it current.
        w.Grid().setFocus();
        w.Grid().SetCol(idColumn - 1);
        QTest::keyClick(&w.Grid(), Qt::Key_Right);
        QCOMPARE(w.Grid().Col(), idColumn - 1);
        QTest::keyClick(&w.Grid(), Qt::Key_End);
        QVERIFY(w.Grid().Col() < idColumn);

        // A column the user makes wider keeps its width to the next run.
        w.Grid().horizontalHeader()->resizeSection(2, 150);
        QTest::mouseRelease(w.Grid().horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                            QPoint(w.Grid().horizontalHeader()->sectionViewportPosition(3) - 1, 5));
        QVERIFY(w.Window().close());
        auto store = SettingsFiles::OpenStore(SettingsFiles::THive::User);
        QCOMPARE(store->value(QStringLiteral("MainColumns/Place")).toInt(), 150);
        QCOMPARE(store->value(QStringLiteral("MainColumns/Id")).toInt(), 20);
        QCOMPARE(w.messages, QStringList{QStringLiteral("Avsluta Ternvall?")});
    }

    void enterOpensTheRow_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Enter") << int(Qt::NoModifier) << true;
        QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier) << false;
    }

    void enterOpensTheRow()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, opened);
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Search();
        w.Grid().SetRow(2);
        w.Grid().setFocus();
        QTest::keyClick(&w.Grid(), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.CurrentPage() == w.Child<QWidget>("tshEdit"), opened);
        QCOMPARE(w.Window().ShownActivity(), opened ? w.CurrentKey() : -1);
        if (opened) {
            // The activity is read completely for the page.
            QCOMPARE(w.App().FindActivity(w.CurrentKey())->GetState(), TActivity::TState::Stored);
        }
    }

    void checkingAnActivityShowsItsAdvancedPage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("page");
        QTest::newRow("time and distance") << "RUN" << "tshTimeDistance";
        QTest::newRow("game") << "FLO" << "tshGame";
        QTest::newRow("simple time") << "AER" << "tshTime";
        QTest::newRow("distance") << "TRE" << "tshDistance";
        QTest::newRow("golf") << "GOL" << "tshGolf";
        QTest::newRow("strength") << "WOR" << "tshWorkout";
        QTest::newRow("simple: no change") << "DOW" << "tshGame";
        QTest::newRow("other: no change") << "OTH" << "tshGame";
        QTest::newRow("measurement: no change") << "CAM" << "tshGame";
    }

    void checkingAnActivityShowsItsAdvancedPage()
    {
        QFETCH(QString, code);
        QFETCH(QString, page);
        TSearchWindow w(noEntries);
        QVERIFY(w.Ready());
        auto *pages = w.Child<QTabWidget>("pgctrlSearch");
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tshTime"));
        pages->setCurrentWidget(w.Child<QWidget>("tshGame"));
        w.CheckOnly({w.App().GetActivityNameList().NameOfCode(code)});
        QCOMPARE(pages->currentWidget()->objectName(), page);
        QCOMPARE(w.messages, QStringList());
    }

    void theAdvancedPanelToggles()
    {
        TSearchWindow w(noEntries);
        QVERIFY(w.Ready());
        auto *panel = w.Child<QWidget>("pnlAdvancedSearch");
        auto *button = w.Child<QPushButton>("btnAdvancedSearch");
        QVERIFY(panel->isHidden());
        QCOMPARE(button->text(), QStringLiteral("Visa avan&cerad sökning >>"));
        button->click();
        QVERIFY(!panel->isHidden());
        QCOMPARE(button->text(), QStringLiteral("Göm avan&cerad sökning <<"));
        button->click();
        QVERIFY(panel->isHidden());
        QCOMPARE(button->text(), QStringLiteral("Visa avan&cerad sökning >>"));
        // The strength and golf pages carry their activities' names.
        auto *pages = w.Child<QTabWidget>("pgctrlSearch");
        QCOMPARE(pages->tabText(pages->indexOf(w.Child<QWidget>("tshWorkout"))), QStringLiteral("Styrketräning"));
        QCOMPARE(pages->tabText(pages->indexOf(w.Child<QWidget>("tshGolf"))), QStringLiteral("Golf"));
    }

    void theSearchListsAreFilled()
    {
        TSearchWindow w([](TEntryWriter &diary) {
            diary.Sql(QStringLiteral("insert into ExercisePrograms (ExProgId, ExProgName) values(4, 'Bas')"));
            diary.Sql(QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, CourseDifficulty, CourseDistance) "
                                     "values(7, 'RUN', 'Skogen', 1, 10)"));
        });
        QVERIFY(w.Ready());
        auto *list = w.Child<QListWidget>("chklstbxSearchActivity");
        QCOMPARE(list->count(), 22);
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names.append(list->item(i)->text());
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        }
        // Swedish order: Å, Ä and Ö come after Z.
        QCOMPARE(names.first(), QStringLiteral("Aerobics"));
        QCOMPARE(names.last(), QStringLiteral("Övrig"));
        QVERIFY(names.indexOf(QStringLiteral("Utförsåkning")) < names.indexOf(QStringLiteral("Viktmätning")));
        auto *programs = w.Child<QComboBox>("cmbbxSearchWorkProgram");
        QCOMPARE(programs->count(), 2);
        QCOMPARE(programs->itemText(0), QString());
        QCOMPARE(programs->itemText(1), QStringLiteral("Bas"));
        auto *courses = w.Child<QComboBox>("cmbbxSearchCourse");
        QCOMPARE(courses->count(), 2);
        QCOMPARE(courses->itemText(1), QStringLiteral("Löpning - Skogen - 10.00 (km)"));
        // Only the checked activities' courses are listed.
        w.CheckOnly({QStringLiteral("Cykling")});
        QCOMPARE(courses->count(), 1);
    }

    void notificationsRefillTheLists()
    {
        TSearchWindow w([](TEntryWriter &diary) {
            standardEntries(diary);
            diary.Sql(QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, CourseDifficulty, CourseDistance) "
                                     "values(7, 'RUN', 'Skogen', 1, 10)"));
        });
        QVERIFY(w.Ready());
        w.Search();
        QCOMPARE(w.App().GetLoadedCount(), 5);
        auto *list = w.Child<QListWidget>("chklstbxSearchActivity");
        auto *courses = w.Child<QComboBox>("cmbbxSearchCourse");
        QCOMPARE(courses->count(), 2);

        // Renamed activities: the lists show the new names, all checked,
        // and the list of found activities is emptied.
        QStringList names;
        w.App().GetActivityNames(&names);
        names[names.indexOf(QStringLiteral("Golf"))] = QStringLiteral("Bangolf");
        w.App().ChangeActivityNames(&names);
        QCOMPARE(list->findItems(QStringLiteral("Bangolf"), Qt::MatchExactly).size(), 1);
        QCOMPARE(list->findItems(QStringLiteral("Golf"), Qt::MatchExactly).size(), 0);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        auto *pages = w.Child<QTabWidget>("pgctrlSearch");
        QCOMPARE(pages->tabText(pages->indexOf(w.Child<QWidget>("tshGolf"))), QStringLiteral("Bangolf"));
        QCOMPARE(w.App().GetLoadedCount(), 0);
        QCOMPARE(w.Keys(), QList<int>());
        QCOMPARE(w.Window().CounterText(), QStringLiteral("0 aktiviteter"));

        // A removed course leaves the course list.
        QList<TCourseItem> found;
        w.App().SearchCourses({QStringLiteral("Löpning")}, QString(), QString(), QString(), {QStringLiteral("1")}, &found);
        QCOMPARE(found.size(), 1);
        w.App().RemoveCourse(7);
        QCOMPARE(courses->count(), 1);
        QVERIFY(w.Action("mnuiDb")->isEnabled());
        QCOMPARE(w.messages, QStringList());
    }

    // Dates typed with the keyboard into the empty date fields find the
    // sessions of exactly those dates.
    void typedDatesFindTheirSessions_data()
    {
        QTest::addColumn<QString>("dateFrom");
        QTest::addColumn<QString>("dateTo");
        QTest::addColumn<QList<int>>("keys");
        QTest::newRow("january to february") << "2024-01-01" << "2024-02-28" << QList<int>{2, 3, 4};
        QTest::newRow("one day") << "2024-02-15" << "2024-02-15" << QList<int>{4};
        QTest::newRow("from only") << "2024-02-01" << "" << QList<int>{3, 4, 1};
        QTest::newRow("to only") << "" << "2024-01-10" << QList<int>{5, 2};
        QTest::newRow("without dashes") << "20231231" << "20240110" << QList<int>{5, 2};
    }

    void typedDatesFindTheirSessions()
    {
        QFETCH(QString, dateFrom);
        QFETCH(QString, dateTo);
        QFETCH(QList<int>, keys);
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Child<QTabWidget>("pgctrlMain")->setCurrentWidget(w.Child<QWidget>("tshSearch"));
        auto *from = w.Child<TDatePicker>("wwdtpSearchDate1");
        auto *to = w.Child<TDatePicker>("wwdtpSearchDate2");
        QVERIFY(from->IsEmpty());
        QVERIFY(to->IsEmpty());
        QTest::mouseClick(from, Qt::LeftButton);
        QTest::keyClicks(from, dateFrom);
        QTest::keyClick(from, Qt::Key_Tab);
        QTest::mouseClick(to, Qt::LeftButton);
        QTest::keyClicks(to, dateTo);
        QTest::keyClick(to, Qt::Key_Tab);
        w.Search();

        QCOMPARE(w.messages, QStringList());
        QCOMPARE(w.Keys(), keys);
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshResult"));
        // The criteria stay as they were typed.
        QCOMPARE(from->text().remove(QLatin1Char('-')), dateFrom.remove(QLatin1Char('-')));
        QCOMPARE(to->text().remove(QLatin1Char('-')), dateTo.remove(QLatin1Char('-')));
    }

    // A search date that is no date is refused before anything is searched,
    // and stays as typed with the focus on it.
    void aSearchDateThatIsNoDateIsRefused()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        w.Child<QTabWidget>("pgctrlMain")->setCurrentWidget(w.Child<QWidget>("tshSearch"));
        auto *to = w.Child<TDatePicker>("wwdtpSearchDate2");
        QTest::mouseClick(to, Qt::LeftButton);
        QTest::keyClicks(to, QStringLiteral("2024-02-30"));
        w.Search();
        QCOMPARE(w.messages, QStringList{QStringLiteral("2024-02-30 är inget giltigt datum")});
        QCOMPARE(w.App().GetLoadedCount(), 0);
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshSearch"));
        QCOMPARE(to->text(), QStringLiteral("2024-02-30"));
        QCOMPARE(w.Window().focusWidget(), to);
        QCOMPARE(w.Window().StatusText(), QString());
    }

    void clearingTheSearchPageLeavesTheClipboard()
    {
        TSearchWindow w(noEntries);
        QVERIFY(w.Ready());
        QGuiApplication::clipboard()->setText(QStringLiteral("behåll mig"));
        w.Child<TDatePicker>("wwdtpSearchDate1")->SetText(QStringLiteral("2024-01-01"));
        w.Child<TDatePicker>("wwdtpSearchDate2")->SetText(QStringLiteral("2024-12-31"));
        w.Child<QLineEdit>("edtSearchLocation")->setText(QStringLiteral("Skogen"));
        w.Child<QLineEdit>("edtSearchComment")->setText(QStringLiteral("tung"));
        w.Child<QLineEdit>("edtSearchGameGame")->setText(QStringLiteral("3-2"));
        const char *numeric[] = {"numedtSearchWeight1", "numedtSearchWeight2", "numedtSearchTTime1", "numedtSearchTTime2",
                                 "numedtSearchTDTime1", "numedtSearchTDTime2", "numedtSearchTDDist1", "numedtSearchTDDist2",
                                 "numedtSearchDDist1", "numedtSearchDDist2", "numedtSearchGolfHCP1", "numedtSearchGolfHCP2",
                                 "numedtSearchGolfStroke1", "numedtSearchGolfStroke2"};
        for (const char *name : numeric)
            w.Child<TNumericalEdit>(name)->SetValue(QStringLiteral("5"));
        w.Child<QPushButton>("btnDeselectAll")->click();
        w.Child<QTabWidget>("pgctrlMain")->setCurrentWidget(w.Child<QWidget>("tshSearch"));
        QVERIFY(w.Action("mnuiClear")->isEnabled());
        w.Action("mnuiClear")->trigger();

        QVERIFY(w.Child<TDatePicker>("wwdtpSearchDate1")->IsEmpty());
        QCOMPARE(w.Child<TDatePicker>("wwdtpSearchDate2")->Text(), QString());
        QCOMPARE(w.Child<QLineEdit>("edtSearchLocation")->text(), QString());
        QCOMPARE(w.Child<QLineEdit>("edtSearchComment")->text(), QString());
        QCOMPARE(w.Child<QLineEdit>("edtSearchGameGame")->text(), QString());
        for (const char *name : numeric)
            QCOMPARE(w.Child<TNumericalEdit>(name)->text(), QString());
        auto *list = w.Child<QListWidget>("chklstbxSearchActivity");
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("behåll mig"));
        QCOMPARE(QApplication::focusWidget(), w.Child<TDatePicker>("wwdtpSearchDate1"));
    }

    void theSearchKeysAreTakenOnlyByTheFromFields()
    {
        TSearchWindow w(noEntries);
        QVERIFY(w.Ready());
        auto *from = w.Child<TNumericalEdit>("numedtSearchGolfHCP1");
        auto *to = w.Child<TNumericalEdit>("numedtSearchGolfHCP2");
        from->SetValue(QStringLiteral("*"));
        to->SetValue(QStringLiteral("*"));
        QCOMPARE(from->Value(), QStringLiteral("*"));
        QCOMPARE(to->Value(), QString());
        // The handicap takes negative values, the strokes whole numbers.
        to->SetValue(QStringLiteral("-20"));
        QCOMPARE(to->Value(), QStringLiteral("-15.0"));
        auto *strokes = w.Child<TNumericalEdit>("numedtSearchGolfStroke2");
        strokes->SetValue(QStringLiteral("12345"));
        QCOMPARE(strokes->Value(), QStringLiteral("9999"));
    }

    void menuActionsWaitForTheActiveWindow()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        QWidget other;
        other.setWindowTitle(QStringLiteral("annat fönster"));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.Action("mnuiSearch")->trigger();
        QCOMPARE(w.App().GetLoadedCount(), 0);
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshNew"));
        other.close();
        w.Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.Window()));
        w.Search();
        QCOMPARE(w.App().GetLoadedCount(), 5);
    }

    void theDefaultColumnSetting()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        auto *presets = w.Child<QComboBox>("cmbbxColumnPreset");
        QCOMPARE(presets->count(), 1);
        QCOMPARE(presets->currentText(), QStringLiteral("< Grundinställning >"));
        QStringList titles;
        for (int col = 0; col < w.Grid().ColCount(); ++col)
            titles.append(w.Grid().Cells(col, 0));
        QCOMPARE(titles, (QStringList{QStringLiteral("Datum"), QStringLiteral("Aktivitet"), QStringLiteral("Plats"),
                                      QStringLiteral("Vikt\r (kg)"), QStringLiteral("Kommentar"), QString()}));
        // The hidden grid has every catalogue column of the same rows.
        w.Search();
        TComplexGrid *all = w.Window().AllColumnsGrid();
        QCOMPARE(all->ColCount(), 57);
        QCOMPARE(all->RowCount(), 6);
        QCOMPARE(all->Cells(3, 0), QStringLiteral("Distans\r (km)"));
    }

    void choosingAColumnSettingKeepsTheActivities()
    {
        TSearchWindow w([](TEntryWriter &diary) {
            standardEntries(diary);
            diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values(1, 'Löpning')"));
            diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values(2, 'Allt')"));
            for (const char *kind : {"cDate", "cAct", "cDistance", "cSpeed", "cNoSuchColumn"})
                diary.Sql(QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values(1, '%1')").arg(QLatin1String(kind)));
            for (const char *kind : {"cDate", "cAct", "cPlace"})
                diary.Sql(QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values(2, '%1')").arg(QLatin1String(kind)));
        });
        QVERIFY(w.Ready());
        auto *presets = w.Child<QComboBox>("cmbbxColumnPreset");
        // In name order; the last one is current.
        QCOMPARE(presets->count(), 2);
        QCOMPARE(presets->itemText(0), QStringLiteral("Allt"));
        QCOMPARE(presets->currentText(), QStringLiteral("Löpning"));
        QCOMPARE(w.Grid().ColCount(), 5);
        w.Search();
        w.Grid().SetRow(2);
        const QList<int> keys = w.Keys();
        QCOMPARE(w.Grid().Cells(2, w.RowOfKey(1)), QStringLiteral("10.00"));
        QCOMPARE(w.Grid().Cells(3, w.RowOfKey(1)), QStringLiteral("13.33"));

        presets->setCurrentIndex(0);
        emit presets->activated(0);
        QCOMPARE(w.Grid().ColCount(), 4);
        QCOMPARE(w.Grid().Cells(2, 0), QStringLiteral("Plats"));
        QCOMPARE(w.Keys(), keys);
        QCOMPARE(w.Grid().Cells(2, w.RowOfKey(1)), QStringLiteral("Skogen"));
        QCOMPARE(w.Grid().Row(), 2);
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshResult"));
        QCOMPARE(w.Window().StatusText(), QString());
        QCOMPARE(w.App().GetColumnSettings().GetCurrent(), 2);
        QCOMPARE(w.App().GetColSettingChoice(), 2);
    }

    void searchAtStartListsThisYear()
    {
        const int year = QDate::currentDate().year();
        TSearchWindow w(
            [year](TEntryWriter &diary) {
                diary.TimeDistance("RUN", QStringLiteral("%1-01-01").arg(year), QStringLiteral("Stan"), QStringLiteral("30"), QStringLiteral("5"));
                diary.TimeDistance("RUN", QStringLiteral("%1-12-31").arg(year - 1), QStringLiteral("Stan"), QStringLiteral("30"), QStringLiteral("5"));
                diary.Game("FLO", QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("Hallen"),
                           QStringLiteral("60"), QStringLiteral("1-1"));
            },
            {{QStringLiteral("Settings/SearchAtStart"), 1}});
        QVERIFY(w.Ready());
        QCOMPARE(w.CurrentPage(), w.Child<QWidget>("tshNew"));
        QCOMPARE(w.Keys(), (QList<int>{1, 3}));
        QCOMPARE(w.Grid().Row(), 2);
        QVERIFY(w.Child<TDatePicker>("wwdtpSearchDate1")->IsEmpty());
        QCOMPARE(w.Window().StatusText(), QStringLiteral("3 aktiviteter är registrerade, sökt årets aktiviteter"));
        QCOMPARE(w.Window().CounterText(), QStringLiteral("2/2 aktiviteter"));
        QCOMPARE(w.messages, QStringList());
    }

    void theStatusBar()
    {
        TSearchWindow w(noEntries);
        QVERIFY(w.Ready());
        QCOMPARE(w.Child<QLabel>("sbrMainPanel3")->text(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(w.Window().CounterText(), QStringLiteral("0 aktiviteter"));
        // The date pickers show the fixed date format and start weeks on Monday.
        auto *picker = w.Child<TDatePicker>("wwdtpSearchDate2");
        picker->SetText(QStringLiteral("2024-02-29"));
        QCOMPARE(picker->text(), QStringLiteral("2024-02-29"));
        QCOMPARE(picker->Calendar()->firstDayOfWeek(), Qt::Monday);
    }

    // "&Aktivitetsfrekvens..." and its tool button open the frequency window
    // once there is a list; the window counts the list, and after a new
    // search the command counts the new list in the same window.
    void frequencyFollowsANewSearch()
    {
        TSearchWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiFrequency");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Aktivitetsfrekvens..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_5));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(w.Action("mnuiNextAct")) < shown.indexOf(item));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiCalendar")));
        QVERIFY(shown.indexOf(w.Action("mnuiCalendar")) < shown.indexOf(w.Action("mnuiExercises")));
        auto *button = w.Child<QToolButton>("tbtnFrequency");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa frekvensdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QStringList order;
        for (QAction *action : bar->actions())
            if (auto *widget = bar->widgetForAction(action))
                order.append(widget->objectName());
        QVERIFY(order.indexOf(QStringLiteral("tbtnFrequency")) >= 0);
        QVERIFY(order.indexOf(QStringLiteral("tbtnFrequency")) < order.indexOf(QStringLiteral("tbtnCourse")));
        QVERIFY(order.indexOf(QStringLiteral("tbtnCourse")) < order.indexOf(QStringLiteral("tbtnCalendar")));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());

        w.Search();
        QCOMPARE(w.App().GetLoadedCount(), 5);
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        button->click();
        auto *window = w.Window().findChild<TfrmFrequency *>(QStringLiteral("frmFrequency"));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        window->SetCalcType(1);
        // 2023-12-31 to 2024-03-05: every month of the year is drawn.
        QCOMPARE(window->Chart()->Values(0), (QList<double>{1, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
        QCOMPARE(window->FirstDateText(), QStringLiteral("2023-12-31"));
        QCOMPARE(window->LastDateText(), QStringLiteral("2024-03-05"));
        QCOMPARE(window->MaxText(), QStringLiteral("2024-02"));

        QVERIFY(w.Reactivated());
        w.Child<TDatePicker>("wwdtpSearchDate1")->SetText(QStringLiteral("2024-02-01"));
        w.Search();
        QCOMPARE(w.App().GetLoadedCount(), 3);
        item->trigger();
        QCOMPARE(w.Window().findChildren<TfrmFrequency *>().size(), 1);
        QCOMPARE(window->Chart()->Values(0), (QList<double>{2, 1}));
        QCOMPARE(window->Chart()->AxisLabels(), (QStringList{"Feb", "Mar"}));
        QCOMPARE(window->FirstDateText(), QStringLiteral("2024-02-01"));
        QVERIFY(w.messages.isEmpty());
    }
};

QTEST_MAIN(tst_MainSearch)
#include "tst_MainSearch.moc"
