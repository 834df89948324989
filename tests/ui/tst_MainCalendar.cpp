// The calendar window from the main window: "Ka&lender..." and its tool
// button open one kept window and hand it the list as it is, so the window
// follows a new search each time it is opened again.

#include "support/MainWindowDiary.h"

#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/TulloCalendar.h"
#include "ui/Calendar.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// A diary with 5 km runs in "Skogen" on the dates, opened in the main window.
class TMainWindow : public TMainWindowDiary
{
public:
    explicit TMainWindow(const QStringList &dates)
        : TMainWindowDiary([dates](TDiaryWriter &diary) {
              for (const QString &date : dates)
                  diary.AddSession(QStringLiteral("RUN"), date, QStringLiteral("Skogen"), QStringLiteral("30.00"),
                                   QStringLiteral("5"));
          })
    {
    }

    TfrmCalendar *Calendar() { return Child<TfrmCalendar>("frmCalendar"); }
};

const QStringList sessions{"2023-05-04", "2024-05-04", "2024-05-17", "2024-07-01", "2024-02-29"};
}

class tst_MainCalendar : public QObject
{
    Q_OBJECT

private slots:
    // "Ka&lender..." (Ctrl+7) stands in "&Visa" before the exercises, its
    // tool button in the Visa bar after the course button and before the
    // exercises; both are enabled only while the list holds activities.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiCalendar");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Ka&lender..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_7));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) > shown.indexOf(w.Action("mnuiNextAct")));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiExercises")));

        auto *button = w.Child<QToolButton>("tbtnCalendar");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa Kalenderdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        const auto place = [bar](const char *name) { return MainWindowDiary::PlaceOn(bar, name); };
        QVERIFY(place("tbtnCourse") >= 0);
        QCOMPARE(place("tbtnCalendar"), place("tbtnCourse") + 1);
        // The column-settings button stands between it and the exercises'.
        QCOMPARE(place("tbtnColumnPresets"), place("tbtnCalendar") + 1);
        QCOMPARE(place("tbtnExercises"), place("tbtnCalendar") + 2);

        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // Opened, the window marks the listed days; after a new search it
    // still shows the old list until it is opened again, then the new one.
    // Menu item and tool button open the same window, which stands in the
    // window menu.
    void followsANewSearch()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
        w.Action("mnuiCalendar")->trigger();
        TfrmCalendar *calendar = w.Calendar();
        QVERIFY(calendar);
        QVERIFY(calendar->isVisible());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")), calendar);
        QCOMPARE(calendar->MonthCalendar(5)->Days().DayNumbers(), (QStringList{"04", "17"}));
        QCOMPARE(calendar->MonthCalendar(2)->Days().DayNumbers(), QStringList{"29"});
        QCOMPARE(calendar->MonthCalendar(7)->NrOfSelectedDays(), 1);
        calendar->calAllDayClick(calendar->MonthCalendar(5), 4);
        QCOMPARE(calendar->Dates(), (QStringList{"2023-05-04", "2024-05-04"}));
        QCOMPARE(calendar->findChild<QLabel *>(QStringLiteral("lblCount"))->text(), QStringLiteral("2 aktiviteter"));

        w.Search(QStringLiteral("2024-05-10"), QStringLiteral("2024-12-31"));
        QCOMPARE(calendar->MonthCalendar(5)->NrOfSelectedDays(), 2);

        w.Child<QToolButton>("tbtnCalendar")->click();
        QCOMPARE(w.Calendar(), calendar);
        QCOMPARE(calendar->MonthCalendar(5)->Days().DayNumbers(), QStringList{"17"});
        QCOMPARE(calendar->MonthCalendar(2)->NrOfSelectedDays(), 0);
        QCOMPARE(calendar->MonthCalendar(7)->NrOfSelectedDays(), 1);
        QVERIFY(calendar->findChild<QPlainTextEdit *>(QStringLiteral("moDates"))->toPlainText().isEmpty());
        calendar->calAllHeaderClick(calendar->MonthCalendar(5));
        QCOMPARE(calendar->Dates(), QStringList{"2024-05-17"});
        QVERIFY(w.messages.isEmpty());
    }

    // Ctrl+7 opens the window, the window menu of the main window lists it,
    // and it leaves the window menu with the main window.
    void shortcutAndWindowMenu()
    {
        QPointer<TfrmCalendar> calendar;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2023-01-01"), QStringLiteral("2024-12-31"));
            w.Reactivate();
            QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_7, Qt::ControlModifier);
            calendar = w.Calendar();
            QVERIFY(calendar && calendar->isVisible());
            QCOMPARE(calendar->parentWidget(), &w.Window());
            QCOMPARE(calendar->MonthCalendar(5)->NrOfSelectedDays(), 2);
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiCalendarWindow"));
            QVERIFY(entry && entry->isEnabled());
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!calendar);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCalendar")));
        QCOMPARE(CorvaleForms().WindowsMenus().Count(), 0);
    }
};

QTEST_MAIN(tst_MainCalendar)
#include "tst_MainCalendar.moc"
