// The main window's menu items and tool bars: every item with its caption
// and shortcut, the enabling of items and buttons on each page with and
// without listed activities, the page items F4-F7, the "&Verktygsfält"
// menu, and the tool bars and the current-course window coming back as they
// were left at the last closing.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/CurrentCourse.h"
#include "ui/Main.h"
#include "MainSession.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>


using namespace MainSession;

namespace
{
// The menu items that follow the page and the list, each with its tool
// button where it has one.
const QList<QPair<QString, QString>> &followers()
{
    static const QList<QPair<QString, QString>> list{
        {QStringLiteral("mnuiSearch"), QStringLiteral("tbtnSearch")},
        {QStringLiteral("mnuiSave"), QStringLiteral("tbtnSave")},
        {QStringLiteral("mnuiRemove"), QStringLiteral("tbtnRemove")},
        {QStringLiteral("mnuiExport"), QStringLiteral("tbtnRemove")},
        {QStringLiteral("mnuiSort"), QStringLiteral("tbtnSort")},
        {QStringLiteral("mnuiPrint"), QStringLiteral("tbtnPrint")},
        {QStringLiteral("mnuiPreview"), QStringLiteral("tbtnPreview")},
        {QStringLiteral("mnuiClear"), QStringLiteral("tbtnClear")},
        {QStringLiteral("mnuiFrequency"), QStringLiteral("tbtnFrequency")},
        {QStringLiteral("mnuiReport"), QStringLiteral("tbtnReport")},
        {QStringLiteral("mnuiCalendar"), QStringLiteral("tbtnCalendar")},
        {QStringLiteral("mnuiReplay"), QStringLiteral("tbtnReplay")},
        {QStringLiteral("mnuiFind"), QString()},
        {QStringLiteral("mnuiFindAgain"), QString()},
        {QStringLiteral("mnuiNextAct"), QString()},
        {QStringLiteral("mnuiPreviousAct"), QString()},
        {QStringLiteral("mnuiEditPage"), QString()},
    };
    return list;
}

QStringList rowOfBar(TMainSession &w, const char *name)
{
    QStringList names;
    QToolBar *bar = w.Bar(name);
    for (QAction *action : bar->actions())
        if (QWidget *widget = bar->widgetForAction(action))
            names.append(widget->objectName());
    return names;
}
} // namespace

class tst_MainToolbars : public QObject
{
    Q_OBJECT

private slots:
    // Every item of the menu bar with its menu, caption and shortcut; the
    // order within "&Redigera" and "&Visa": the edit commands and the pages
    // first, "&Verktygsfält" last. No two items share a shortcut, so that
    // each key reaches its own item (Ctrl+2 the records).
    void menuItems()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        const auto row = [&w](const char *menu, const char *name, const char *caption, const QKeySequence &shortcut) {
            QAction *item = w.Action(QLatin1String(name));
            QVERIFY2(item, name);
            QCOMPARE(item->text(), QString::fromUtf8(caption));
            QCOMPARE(item->shortcut(), shortcut);
            auto *owner = w.Child<QMenu>(QLatin1String(menu));
            QVERIFY2(owner && owner->actions().contains(item), name);
        };
        const QKeySequence none;
        row("mnuArchive", "mnuiSearch", "&Sök", QKeySequence(Qt::CTRL | Qt::Key_O));
        row("mnuArchive", "mnuiSave", "S&para", QKeySequence(Qt::CTRL | Qt::Key_S));
        row("mnuArchive", "mnuiRemove", "Tag &bort", QKeySequence(Qt::CTRL | Qt::Key_Delete));
        row("mnuArchive", "mnuiSort", "S&ortera...", QKeySequence(Qt::CTRL | Qt::Key_R));
        row("mnuArchive", "mnuiPrint", "Skriv &ut...", QKeySequence(Qt::CTRL | Qt::Key_P));
        row("mnuArchive", "mnuiPreview", "&Förhandsgranska...", none);
        row("mnuArchive", "mnuiClear", "&Rensa", none);
        row("mnuArchive", "mnuiSettings", "&Inställningar...", none);
        row("mnuArchive", "mnuiDb", "&Byt användare...", none);
        row("mnuArchive", "mnuiClose", "&Avsluta", QKeySequence(Qt::ALT | Qt::Key_F4));
        row("mnuEdit", "mnuiCut", "&Klipp", QKeySequence(Qt::CTRL | Qt::Key_X));
        row("mnuEdit", "mnuiCopy", "K&opiera", QKeySequence(Qt::CTRL | Qt::Key_C));
        row("mnuEdit", "mnuiPaste", "K&listra", QKeySequence(Qt::CTRL | Qt::Key_V));
        row("mnuEdit", "mnuiFind", "&Sök text...", QKeySequence(Qt::CTRL | Qt::Key_F));
        row("mnuEdit", "mnuiFindAgain", "Sök &igen", QKeySequence(Qt::Key_F3));
        row("mnuEdit", "mnuiCopyFromEdit", "&Kopiera från Ändra till Ny", none);
        row("mnuEdit", "mnuiEditGrid", "&Ändra i tabellen", QKeySequence(Qt::Key_F2));
        row("mnuiGolf", "mnuiGetLatestHCP", "&Hämta senaste HCP", none);
        row("mnuiGolf", "mnuiCalculateScore", "&Beräkna golfpoäng", none);
        row("mnuShow", "mnuiSearchPage", "&Sök registrerade aktiviteter", QKeySequence(Qt::Key_F4));
        row("mnuShow", "mnuiEditPage", "&Ändra registrerad aktivitet", QKeySequence(Qt::Key_F5));
        row("mnuShow", "mnuiNewPage", "Registrera &ny aktivitet", QKeySequence(Qt::Key_F6));
        row("mnuShow", "mnuiResultPage", "S&ökresultat", QKeySequence(Qt::Key_F7));
        row("mnuShow", "mnuiPreviousAct", "&Föregående aktivitet", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
        row("mnuShow", "mnuiNextAct", "Näs&ta aktivitet", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
        row("mnuShow", "mnuiRecord", "&Personbästa...", QKeySequence(Qt::CTRL | Qt::Key_2));
        row("mnuShow", "mnuiSummary", "S&ummering...", QKeySequence(Qt::CTRL | Qt::Key_3));
        row("mnuShow", "mnuiFrequency", "&Aktivitetsfrekvens...", QKeySequence(Qt::CTRL | Qt::Key_5));
        row("mnuShow", "mnuiReport", "&Rapport...", QKeySequence(Qt::CTRL | Qt::Key_6));
        row("mnuShow", "mnuiCalendar", "Ka&lender...", QKeySequence(Qt::CTRL | Qt::Key_7));
        row("mnuShow", "mnuiColumnPresets", "&Kolumninställningar...", QKeySequence(Qt::CTRL | Qt::Key_8));
        row("mnuShow", "mnuiExercises", "S&tyrketräningsprogram...", none);
        row("mnuShow", "mnuiReplay", "Uppsp&elning...", none);
        row("mnuShow", "mnuiObjectives", "&Målsättningar...", none);
        row("mnuShow", "mnuiPulse", "Pulsintervall...", none);
        row("mnuiToolbars", "mnuiToolArchive", "&Arkiv", none);
        row("mnuiToolbars", "mnuiToolEdit", "&Ändra", none);
        row("mnuiToolbars", "mnuiToolShow", "&Visa", none);
        row("mnuiToolbars", "mnuiToolColSetting", "&Kolumninställningar", none);
        row("mnuCourses", "mnuiCoursesEdit", "&Banbeskrivningar...", QKeySequence(Qt::CTRL | Qt::Key_4));
        row("mnuCourses", "mnuiCurrentCourse", "Ak&tuell banbeskrivning...", none);
        row("mnuCourses", "mnuiChooseCourse", "&Välj banbeskrivning...", QKeySequence(Qt::CTRL | Qt::Key_9));
        row("mnuCourses", "mnuiRemoveCourse", "&Frikoppla banbeskrivning", none);
        if (QTest::currentTestFailed())
            return;

        const auto order = [&w](const char *menu) {
            QStringList names;
            for (QAction *action : w.Child<QMenu>(QLatin1String(menu))->actions())
                names.append(action->menu() ? action->menu()->objectName() : action->objectName());
            names.removeAll(QString());
            return names;
        };
        const QStringList edit = order("mnuEdit");
        QCOMPARE(edit.mid(0, 5), (QStringList{QStringLiteral("mnuiCut"), QStringLiteral("mnuiCopy"),
                                              QStringLiteral("mnuiPaste"), QStringLiteral("mnuiFind"),
                                              QStringLiteral("mnuiFindAgain")}));
        QVERIFY(edit.indexOf(QStringLiteral("mnuiCopyFromEdit")) < edit.indexOf(QStringLiteral("mnuiEditGrid")));
        QVERIFY(edit.indexOf(QStringLiteral("mnuiEditGrid")) < edit.indexOf(QStringLiteral("mnuiGolf")));
        const QStringList show = order("mnuShow");
        QCOMPARE(show.mid(0, 7), (QStringList{QStringLiteral("mnuiSearchPage"), QStringLiteral("mnuiEditPage"),
                                              QStringLiteral("mnuiNewPage"), QStringLiteral("mnuiResultPage"),
                                              QStringLiteral("mnuiPreviousAct"), QStringLiteral("mnuiNextAct"),
                                              QStringLiteral("mnuiRecord")}));
        QCOMPARE(show.constLast(), QStringLiteral("mnuiToolbars"));

        QHash<QKeySequence, QString> owners;
        for (QAction *action : w.Window().findChildren<QAction *>()) {
            if (action->shortcut().isEmpty())
                continue;
            QVERIFY2(!owners.contains(action->shortcut()),
                     qPrintable(action->objectName() + QStringLiteral(" and ") + owners.value(action->shortcut())
                                + QStringLiteral(" share ") + action->shortcut().toString()));
            owners.insert(action->shortcut(), action->objectName());
        }
    }

    // The four bars in their designed order, each button with its hint.
    void toolBars()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        const QList<QToolBar *> bars = w.Window().findChildren<QToolBar *>(Qt::FindDirectChildrenOnly);
        QStringList names;
        for (QToolBar *bar : bars)
            if (w.Window().toolBarArea(bar) == Qt::TopToolBarArea)
                names.append(bar->objectName());
        QVERIFY(names.contains(QStringLiteral("tobarEdit")));
        QCOMPARE(w.Bar("tobarArchive")->windowTitle(), QStringLiteral("Standard"));
        QCOMPARE(w.Bar("tobarEdit")->windowTitle(), QStringLiteral("Ändra"));
        QCOMPARE(w.Bar("tobarShow")->windowTitle(), QStringLiteral("Visa"));
        QCOMPARE(w.Bar("tobarColSetting")->windowTitle(), QStringLiteral("Kolumninställning"));
        // One row, as designed: Standard, Ändra, Visa, Kolumninställning.
        const int top = w.Bar("tobarArchive")->y();
        int left = -1;
        for (const char *name : {"tobarArchive", "tobarEdit", "tobarShow", "tobarColSetting"}) {
            QToolBar *bar = w.Bar(name);
            QCOMPARE(bar->y(), top);
            QVERIFY2(bar->x() > left, name);
            left = bar->x();
            QVERIFY(!bar->isFloatable());
            QCOMPARE(bar->allowedAreas(), Qt::TopToolBarArea);
        }
        QCOMPARE(rowOfBar(w, "tobarEdit"),
                 (QStringList{QStringLiteral("tbtnCopy"), QStringLiteral("tbtnCut"), QStringLiteral("tbtnPaste")}));
        const QStringList hints{QStringLiteral("Kopiera"), QStringLiteral("Klipp"), QStringLiteral("Klistra")};
        const QStringList buttons = rowOfBar(w, "tobarEdit");
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(w.Child<QToolButton>(buttons.at(i))->toolTip(), hints.at(i));
    }

    // "&Verktygsfält" shows and hides its bar; a bar hidden otherwise (the
    // bars' own context menu) loses its check mark too.
    void toolbarMenu()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QVERIFY(w.Reactivated());
        const struct
        {
            const char *item;
            const char *bar;
        } pairs[] = {{"mnuiToolArchive", "tobarArchive"},
                     {"mnuiToolEdit", "tobarEdit"},
                     {"mnuiToolShow", "tobarShow"},
                     {"mnuiToolColSetting", "tobarColSetting"}};
        for (const auto &pair : pairs) {
            QAction *item = w.Action(QLatin1String(pair.item));
            QToolBar *bar = w.Bar(pair.bar);
            QVERIFY(item->isCheckable());
            QVERIFY2(item->isChecked(), pair.item);
            item->trigger();
            QVERIFY2(bar->isHidden(), pair.bar);
            QVERIFY(!item->isChecked());
            item->trigger();
            QVERIFY(bar->isVisible());
            QVERIFY(item->isChecked());
            bar->hide();
            QTest::mouseMove(w.Window().centralWidget());
            QVERIFY(!item->isChecked());
            bar->show();
            QTest::mouseMove(w.Window().centralWidget(), QPoint(5, 5));
            QVERIFY(item->isChecked());
        }
    }

    // Items and buttons on each page, with an empty result and with two
    // listed runs. The export item, when the program has it, follows the
    // remove button.
    void enabling_data()
    {
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("enabled");
        const QStringList anyPage{QStringLiteral("mnuiFrequency"), QStringLiteral("mnuiReport"),
                                  QStringLiteral("mnuiCalendar"), QStringLiteral("mnuiReplay"),
                                  QStringLiteral("mnuiEditPage")};
        QTest::newRow("Ny, empty diary") << 0 << int(Qt::Key_F6) << "Ny"
                                         << QStringList{QStringLiteral("mnuiSave"), QStringLiteral("mnuiClear")};
        QTest::newRow("Sök, empty diary") << 0 << int(Qt::Key_F4) << "Sök"
                                          << QStringList{QStringLiteral("mnuiSearch"), QStringLiteral("mnuiClear")};
        QTest::newRow("Sökresultat, empty result") << 0 << int(Qt::Key_F7) << "Sökresultat" << QStringList();
        QTest::newRow("Sökresultat, two runs")
            << 2 << int(Qt::Key_F7) << "Sökresultat"
            << (QStringList{QStringLiteral("mnuiRemove"), QStringLiteral("mnuiExport"), QStringLiteral("mnuiSort"),
                            QStringLiteral("mnuiPrint"), QStringLiteral("mnuiPreview"), QStringLiteral("mnuiFind"),
                            QStringLiteral("mnuiNextAct"), QStringLiteral("mnuiPreviousAct")}
                + anyPage);
        QTest::newRow("Ändra, two runs")
            << 2 << int(Qt::Key_F5) << "Ändra"
            << (QStringList{QStringLiteral("mnuiSave"), QStringLiteral("mnuiPrint"), QStringLiteral("mnuiPreview"),
                            QStringLiteral("mnuiClear"), QStringLiteral("mnuiNextAct"), QStringLiteral("mnuiPreviousAct")}
                + anyPage);
        QTest::newRow("Ny, two runs") << 2 << int(Qt::Key_F6) << "Ny"
                                      << (QStringList{QStringLiteral("mnuiSave"), QStringLiteral("mnuiClear")} + anyPage);
        QTest::newRow("Sök, two runs") << 2 << int(Qt::Key_F4) << "Sök"
                                       << (QStringList{QStringLiteral("mnuiSearch"), QStringLiteral("mnuiClear")} + anyPage);
    }

    void enabling()
    {
        QFETCH(int, runs);
        QFETCH(int, key);
        QFETCH(QString, page);
        QFETCH(QStringList, enabled);
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        for (int day = 1; day <= runs; ++day)
            w.AddRun(day);
        w.Window().RunSearch();
        QCOMPARE(w.App().GetLoadedCount(), runs);
        QVERIFY(w.Reactivated());
        QTest::keyClick(&w.Window(), Qt::Key(key));
        QCOMPARE(w.FrontPage(), page);
        for (const auto &[item, button] : followers()) {
            QAction *action = w.Action(item);
            if (!action && item == QLatin1String("mnuiExport"))
                continue;
            QVERIFY2(action, qPrintable(item));
            QVERIFY2(action->isEnabled() == enabled.contains(item),
                     qPrintable(item + (action->isEnabled() ? QStringLiteral(" is on") : QStringLiteral(" is off"))));
            // Each button as its item (the export item as the remove button).
            if (!button.isEmpty())
                QVERIFY2(w.Child<QToolButton>(button)->isEnabled() == action->isEnabled(), qPrintable(button));
        }
        QVERIFY(w.messages.isEmpty());
    }

    // F4-F7 bring their page to the front and run its change: "Ny" starts a
    // new activity, "Ändra" shows the current row's. "Ändra" without listed
    // activities stays away, and no key acts while another window is active.
    void pageKeys()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QCOMPARE(w.FrontPage(), QStringLiteral("Ny"));
        QTest::keyClick(&w.Window(), Qt::Key_F5);
        QCOMPARE(w.FrontPage(), QStringLiteral("Ny"));
        QTest::keyClick(&w.Window(), Qt::Key_F4);
        QCOMPARE(w.FrontPage(), QStringLiteral("Sök"));

        w.AddRun(1);
        w.AddRun(2);
        w.Window().RunSearch();
        QCOMPARE(w.FrontPage(), QStringLiteral("Sökresultat"));
        QVERIFY(w.Reactivated());
        QTest::keyClick(&w.Window(), Qt::Key_F4);
        QCOMPARE(w.FrontPage(), QStringLiteral("Sök"));
        QTest::keyClick(&w.Window(), Qt::Key_F7);
        QCOMPARE(w.FrontPage(), QStringLiteral("Sökresultat"));
        QTest::keyClick(&w.Window(), Qt::Key_F5);
        QCOMPARE(w.FrontPage(), QStringLiteral("Ändra"));
        QVERIFY(w.Window().ShownActivity() > 0);
        // The status panel is cleared on every page change.
        QTest::keyClick(&w.Window(), Qt::Key_F6);
        QCOMPARE(w.FrontPage(), QStringLiteral("Ny"));
        QCOMPARE(w.Window().StatusText(), QString());

        QWidget other;
        other.setWindowTitle(QStringLiteral("Annat fönster"));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!w.Window().isActiveWindow());
        for (const char *item : {"mnuiSearchPage", "mnuiResultPage", "mnuiEditPage"}) {
            w.Action(QLatin1String(item))->trigger();
            QCOMPARE(w.FrontPage(), QStringLiteral("Ny"));
        }
        QVERIFY(w.messages.isEmpty());
    }

    // Nothing stored yet: the bars stand as designed, and the closing
    // writes each bar's visibility and place and the current-course
    // window's visibility.
    void firstClosingWritesState()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        {
            TMainSession w;
            QVERIFY(w.Ready());
            QVERIFY(!userStore()->childGroups().contains(QStringLiteral("ArchiveToolbar")));
            // The current-course window opens unless it was closed last time.
            auto *current = w.Window().findChild<TfrmCurrentCourse *>();
            QVERIFY(current && current->isVisible());
            QVERIFY(w.Action(QStringLiteral("mnuiCurrentCourse"))->isChecked());
            QVERIFY(w.Close());
        }
        auto store = userStore();
        int left = -1;
        const int top = store->value(QStringLiteral("ArchiveToolbar/ArchiveTop")).toInt();
        for (const char *name : {"Archive", "Edit", "Show", "ColSetting"}) {
            const QString group = QLatin1String(name) + QStringLiteral("Toolbar/") + QLatin1String(name);
            QCOMPARE(store->value(group + QStringLiteral("Visible")).toInt(), 1);
            QCOMPARE(store->value(group + QStringLiteral("Top")).toInt(), top);
            QVERIFY2(store->value(group + QStringLiteral("Left")).toInt() > left, name);
            left = store->value(group + QStringLiteral("Left")).toInt();
        }
        QCOMPARE(store->value(QStringLiteral("CurrentCourseWindow/Visible")).toInt(), 1);
    }

    // Hide two bars, move one to a row of its own, close the current-course
    // window, close and start again: everything comes back as it was left,
    // and a bar hidden at closing returns to its own place when shown.
    void stateAcrossRuns()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        {
            TMainSession w;
            QVERIFY(w.Ready());
            w.Action(QStringLiteral("mnuiToolEdit"))->trigger();
            w.Action(QStringLiteral("mnuiToolShow"))->trigger();
            // As a drag of the bar to a new row below does.
            QToolBar *colSetting = w.Bar("tobarColSetting");
            w.Window().removeToolBar(colSetting);
            w.Window().addToolBarBreak(Qt::TopToolBarArea);
            w.Window().addToolBar(Qt::TopToolBarArea, colSetting);
            colSetting->show();
            QTRY_VERIFY(colSetting->y() > w.Bar("tobarArchive")->y());
            w.Action(QStringLiteral("mnuiCurrentCourse"))->trigger();
            QVERIFY(!w.Window().findChild<TfrmCurrentCourse *>()->isVisible());
            QVERIFY(w.Close());
        }
        {
            auto store = userStore();
            QCOMPARE(store->value(QStringLiteral("EditToolbar/EditVisible")).toInt(), 0);
            QCOMPARE(store->value(QStringLiteral("ShowToolbar/ShowVisible")).toInt(), 0);
            QCOMPARE(store->value(QStringLiteral("ArchiveToolbar/ArchiveVisible")).toInt(), 1);
            QVERIFY(store->value(QStringLiteral("ColSettingToolbar/ColSettingTop")).toInt()
                    > store->value(QStringLiteral("ArchiveToolbar/ArchiveTop")).toInt());
            QCOMPARE(store->value(QStringLiteral("CurrentCourseWindow/Visible")).toInt(), 0);
        }
        TMainSession w;
        QVERIFY(w.Ready());
        QVERIFY(w.Bar("tobarEdit")->isHidden());
        QVERIFY(w.Bar("tobarShow")->isHidden());
        QVERIFY(!w.Action(QStringLiteral("mnuiToolEdit"))->isChecked());
        QVERIFY(!w.Action(QStringLiteral("mnuiToolShow"))->isChecked());
        QVERIFY(w.Action(QStringLiteral("mnuiToolArchive"))->isChecked());
        QVERIFY(w.Bar("tobarArchive")->isVisible());
        QVERIFY(w.Bar("tobarColSetting")->isVisible());
        QVERIFY(w.Bar("tobarColSetting")->y() > w.Bar("tobarArchive")->y());
        QVERIFY(!w.Action(QStringLiteral("mnuiCurrentCourse"))->isChecked());
        auto *current = w.Window().findChild<TfrmCurrentCourse *>();
        QVERIFY(!current || !current->isVisible());

        w.Action(QStringLiteral("mnuiToolEdit"))->trigger();
        QTRY_VERIFY(w.Bar("tobarEdit")->isVisible());
        QTRY_COMPARE(w.Bar("tobarEdit")->y(), w.Bar("tobarArchive")->y());
        QVERIFY(w.Bar("tobarEdit")->x() > w.Bar("tobarArchive")->x());
        QVERIFY(w.messages.isEmpty());
    }

    // Only the bar with a key moves: the standard bar stored on a second
    // row goes there, the other three keep their designed row and order.
    void barWithoutKeyKeepsDesignedPlace()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        {
            auto store = userStore();
            store->setValue(QStringLiteral("ArchiveToolbar/ArchiveVisible"), 1);
            store->setValue(QStringLiteral("ArchiveToolbar/ArchiveTop"), 100);
            store->setValue(QStringLiteral("ArchiveToolbar/ArchiveLeft"), 0);
        }
        TMainSession w;
        QVERIFY(w.Ready());
        QToolBar *archive = w.Bar("tobarArchive");
        QToolBar *edit = w.Bar("tobarEdit");
        QToolBar *show = w.Bar("tobarShow");
        QToolBar *colSetting = w.Bar("tobarColSetting");
        QVERIFY(archive->isVisible() && edit->isVisible() && show->isVisible() && colSetting->isVisible());
        QCOMPARE(show->y(), edit->y());
        QCOMPARE(colSetting->y(), edit->y());
        QVERIFY(edit->x() < show->x());
        QVERIFY(show->x() < colSetting->x());
        QVERIFY(archive->y() > edit->y());
    }

    // A start that ends before the window read its state (no database
    // engine) writes none back, and what was stored stays.
    void stateNotReadNotWritten()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        userStore()->setValue(QStringLiteral("ArchiveToolbar/ArchiveVisible"), 0);
        QStringList messages;
        TModalWatcher watcher([&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmMessage"))
                return;
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            for (const char *name : {"btnOK", "btnYes"})
                if (auto *button = window->findChild<QPushButton *>(QLatin1String(name))) {
                    button->click();
                    return;
                }
        });
        {
            TCorvaleApp app(options(QStringLiteral("QNOSUCHDRIVER")));
            TfrmMain window(app);
            QVERIFY(window.TerminationRequested());
            QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
            QCOMPARE(QCoreApplication::exec(), 0);
            window.close();
        }
        QCOMPARE(messages.size(), 1);
        auto store = userStore();
        QCOMPARE(store->value(QStringLiteral("ArchiveToolbar/ArchiveVisible")).toInt(), 0);
        QVERIFY(!store->contains(QStringLiteral("ArchiveToolbar/ArchiveTop")));
        for (const char *group : {"EditToolbar", "ShowToolbar", "ColSettingToolbar", "CurrentCourseWindow"})
            QVERIFY2(!store->childGroups().contains(QLatin1String(group)), group);
    }
};

QTEST_MAIN(tst_MainToolbars)
#include "tst_MainToolbars.moc"
