// The summary window from the main window: "S&ummering..." (Ctrl+3) and the
// tool button "Visa summeringsdialogen" open one kept window, which counts
// the whole diary whatever the main list shows.

#include "support/MainWindowDiary.h"

#include "analysis/Summary.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// A diary with sessions ("CODE yyyy-MM-dd") of 5 km each in "Skogen",
// opened in the main window.
class TMainWindow : public TMainWindowDiary
{
public:
    explicit TMainWindow(const QStringList &dates)
        : TMainWindowDiary([dates](TDiaryWriter &diary) {
              for (const QString &entry : dates)
                  diary.AddSession(entry.section(QLatin1Char(' '), 0, 0), entry.section(QLatin1Char(' '), 1),
                                   QStringLiteral("Skogen"), QStringLiteral("30.00"), QStringLiteral("5"));
          })
    {
    }

    TfrmSummary *Summary() { return Child<TfrmSummary>("frmSummary"); }
};

const QStringList sessions{"RUN 2022-05-04", "SKI 2023-02-01", "RUN 2024-05-04", "RUN 2024-07-01"};
}

class tst_MainSummary : public QObject
{
    Q_OBJECT

private slots:
    // "S&ummering..." (Ctrl+3) stands in "&Visa" after the next-activity
    // item and before the frequency; its tool button in the Visa bar right
    // before the frequency button.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiSummary");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("S&ummering..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_3));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) > shown.indexOf(w.Action("mnuiNextAct")));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiFrequency")));

        auto *button = w.Child<QToolButton>("tbtnTotal");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa summeringsdialogen"));
        QVERIFY(!button->icon().isNull());
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        const auto place = [bar](const char *name) { return MainWindowDiary::PlaceOn(bar, name); };
        QVERIFY(place("tbtnTotal") >= 0);
        QCOMPARE(place("tbtnFrequency"), place("tbtnTotal") + 1);
        QVERIFY(w.messages.isEmpty());
    }

    // Ctrl+3 opens the window, which the main window's window menu then
    // lists; it counts every running session of the diary although the main
    // list holds only this year's; the tool button shows the same window,
    // and it goes with the main window.
    void ctrl3OpensTheSummary()
    {
        QPointer<TfrmSummary> summary;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
            QCOMPARE(w.Window().ListGrid()->RowCount() - 1, 2);
            w.Reactivate();
            QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_3, Qt::ControlModifier);
            summary = w.Summary();
            QVERIFY(summary && summary->isVisible());
            QCOMPARE(summary->parentWidget(), &w.Window());
            QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmSummary")), summary.data());
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiSummaryWindow"));
            QVERIFY(entry && entry->isEnabled());

            summary->findChild<TNumericalEdit *>(QStringLiteral("numedtToMonth"))->SetValue(QStringLiteral("12"));
            summary->findChild<TNumericalEdit *>(QStringLiteral("numedtToDay"))->SetValue(QStringLiteral("31"));
            summary->mnuiSearchClick();
            TComplexGrid *grid = summary->SummaryGrid();
            const int run = TTulloUtilGrid::FindColumn(grid, QStringLiteral("Löpning\r (km)"));
            QVERIFY(run > 0);
            QCOMPARE(grid->RowCount() - 1, 3);
            QCOMPARE(grid->Cells(0, 1), QStringLiteral("2022"));
            QCOMPARE(grid->Cells(run, 1), QStringLiteral("5.00"));
            QCOMPARE(grid->Cells(run, 3), QStringLiteral("10.00"));
            QCOMPARE(summary->TotalGrid()->Cells(run, 0), QStringLiteral("15.00"));

            w.Child<QToolButton>("tbtnTotal")->click();
            QCOMPARE(w.Summary(), summary.data());
            // Shown again, the open window keeps its figures.
            QCOMPARE(summary->YearCount(), 3);
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!summary);
    }
};

QTEST_MAIN(tst_MainSummary)
#include "tst_MainSummary.moc"
