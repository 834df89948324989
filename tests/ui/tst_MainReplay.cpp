// The replay window from the main window: "Uppsp&elning..." in "&Visa" and
// its tool button in the Visa bar, enabled while the list holds activities;
// they open one kept window that loads the list as it is each time.

#include "support/MainWindowDiary.h"

#include "analysis/CourseReplay.h"
#include "app/CorvaleForms.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// An empty diary opened in the main window; the tests save courses and
// sessions through the program.
class TMainWindow : public TMainWindowDiary
{
public:
    TfrmReplay *Replay() { return Child<TfrmReplay>("frmReplay"); }
};
}

class tst_MainReplay : public QObject
{
    Q_OBJECT

private slots:
    // The item stands in "&Visa" after the strength programs, its button in
    // the Visa bar after theirs; both follow the list.
    void menuItemAndToolButton()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiReplay");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Uppsp&elning..."));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QCOMPARE(shown.indexOf(item), shown.indexOf(w.Action("mnuiExercises")) + 1);
        auto *button = w.Child<QToolButton>("tbtnReplay");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa uppspelningsdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        const auto place = [bar](const char *name) { return MainWindowDiary::PlaceOn(bar, name); };
        QVERIFY(place("tbtnExercises") >= 0);
        QCOMPARE(place("tbtnReplay"), place("tbtnExercises") + 1);
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());

        w.AddRun(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), -1, {}, {});
        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // The button opens the window on the listed sessions of a course; after
    // a narrower search the item loads the new list into the same window,
    // which stands in the window menu.
    void opensAndFollowsANewSearch()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        const int course = w.AddCourse(QStringLiteral("Backen"), 5, {QStringLiteral("2.5")});
        const QStringList laps{QStringLiteral("2.5")};
        w.AddRun(QStringLiteral("2024-05-01"), QStringLiteral("25.00"), course, {QStringLiteral("12.00")}, laps);
        w.AddRun(QStringLiteral("2024-06-01"), QStringLiteral("30.00"), course, {QString()}, laps);
        w.AddRun(QStringLiteral("2024-06-02"), QStringLiteral("20.00"), -1, {}, {});
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QCOMPARE(w.App().GetLoadedCount(), 3);

        w.Child<QToolButton>("tbtnReplay")->click();
        TfrmReplay *replay = w.Replay();
        QVERIFY(replay);
        QVERIFY(replay->isVisible());
        QCOMPARE(replay->parentWidget(), &w.Window());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReplay")), replay);
        QCOMPARE(replay->CourseCount(), 1);
        QVERIFY(replay->CourseTexts().first().contains(QStringLiteral("Backen")));
        QCOMPARE(replay->MaxText(), QStringLiteral("30.00"));
        QCOMPARE(replay->PositionLines(), (QStringList{"2024-05-01: (25.00)", "2024-06-01: (30.00)"}));

        w.Reactivate();
        w.Search(QStringLiteral("2024-06-01"), QStringLiteral("2024-12-31"));
        // The window keeps the old race until it is opened again.
        QCOMPARE(replay->PositionLines().size(), 2);
        w.Action("mnuiReplay")->trigger();
        QCOMPARE(w.Window().findChildren<TfrmReplay *>().size(), 1);
        QCOMPARE(replay->MaxText(), QStringLiteral("30.00"));
        QCOMPARE(replay->PositionLines(), QStringList{QStringLiteral("2024-06-01: (30.00)")});
        QVERIFY(w.messages.isEmpty());
    }
};

QTEST_MAIN(tst_MainReplay)
#include "tst_MainReplay.moc"
