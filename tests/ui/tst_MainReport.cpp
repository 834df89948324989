// The report window from the main window: "&Rapport..." (Ctrl+6) and its
// tool button open one kept window once the list holds activities, and
// hand it the hidden grid of every catalogue column as it is then, so the
// graphs follow a new search each time the window is opened again.

#include "support/MainWindowDiary.h"

#include "analysis/Report.h"
#include "analysis/ReportChart.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// A running session of the diary: date, body weight, distance, duration.
struct TSession
{
    QString Date, Weight, Distance, Duration;
};

// A diary with the running sessions in "Skogen", opened in the main window.
class TMainWindow : public TMainWindowDiary
{
public:
    explicit TMainWindow(const QList<TSession> &sessions)
        : TMainWindowDiary([sessions](TDiaryWriter &diary) {
              for (const TSession &s : sessions)
                  diary.AddSession(QStringLiteral("RUN"), s.Date, QStringLiteral("Skogen"), s.Duration, s.Distance,
                                   s.Weight);
          })
    {
    }

    TfrmReport *Report() { return Child<TfrmReport>("frmReport"); }
};

const QList<TSession> sessions{
    {"2024-03-01", "70.0", "10", "50.00"},
    {"2024-03-06", "", "5", "24.30"},
    {"2024-03-11", "68.0", "7.5", "36.15"},
    {"2024-04-01", "69.0", "12", "60.00"},
};

QList<double> ys(const QList<QPointF> &points)
{
    QList<double> values;
    for (const QPointF &p : points)
        values.append(p.y());
    return values;
}

using MainWindowDiary::PlaceOn;
}

class tst_MainReport : public QObject
{
    Q_OBJECT

private slots:
    // "&Rapport..." (Ctrl+6) stands in "&Visa" right after the frequency,
    // its tool button in the Visa bar right after the frequency button;
    // both are enabled only while the list holds activities.
    void menuItemAndToolButton()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiReport");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Rapport..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_6));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QCOMPARE(shown.indexOf(item), shown.indexOf(w.Action("mnuiFrequency")) + 1);

        auto *button = w.Child<QToolButton>("tbtnReport");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa rapportdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QVERIFY(button->parentWidget() == bar);
        QVERIFY(PlaceOn(bar, "tbtnFrequency") >= 0);
        QCOMPARE(PlaceOn(bar, "tbtnReport"), PlaceOn(bar, "tbtnFrequency") + 1);

        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2030-01-01"), QStringLiteral("2030-12-31"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());
        QVERIFY(w.messages.isEmpty());
    }

    // Opened, the window draws the found sessions from the hidden grid:
    // weight over the date with the weight of 6 March interpolated, the
    // distances in date order. After a new search it is opened again by
    // Ctrl+6 and draws the new list in the same window.
    void drawsTheListAndFollowsANewSearch()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
        w.Child<QToolButton>("tbtnReport")->click();
        TfrmReport *report = w.Report();
        QVERIFY(report);
        QVERIFY(report->isVisible());
        QCOMPARE(report->parentWidget(), &w.Window());
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReport")), report);
        QCOMPARE(report->StatusText(0), QString());
        report->SetInterpolated(true);
        report->SelectReport(0);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{70, 69, 68, 69}));
        report->SelectReport(1);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{10, 5, 7.5, 12}));
        const QStringList xs = report->XItems();
        for (const char *caption : {"Datum", "Distans (km)", "Tid (min)", "Kilometertid (min/km)", "Hastighet (km/tim)", "Vikt (kg)"})
            QVERIFY2(xs.contains(QString::fromUtf8(caption)), caption);

        w.Reactivate();
        w.Search(QStringLiteral("2024-03-05"), QStringLiteral("2024-12-31"));
        QCOMPARE(w.App().GetLoadedCount(), 3);
        QTest::keyClick(w.Child<QWidget>("cplxgrdMain"), Qt::Key_6, Qt::ControlModifier);
        QCOMPARE(w.Window().findChildren<TfrmReport *>().size(), 1);
        QCOMPARE(w.Report(), report);
        report->SelectReport(0);
        // 6 March comes before the first weighing of this list.
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{68, 69}));
        report->SelectReport(1);
        QCOMPARE(ys(report->Chart()->Points(0)), (QList<double>{5, 7.5, 12}));
        QVERIFY(w.messages.isEmpty());
    }

    // The kept window leaves the window menu with the main window.
    void freedWithTheMainWindow()
    {
        QPointer<TfrmReport> report;
        {
            TMainWindow w(sessions);
            QVERIFY(w.Ready());
            w.Search(QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31"));
            w.Action("mnuiReport")->trigger();
            report = w.Report();
            QVERIFY(report);
            auto *windows = w.Child<QMenu>("mnuiWindow");
            QVERIFY(windows);
            QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiReportWindow"));
            QVERIFY(entry && entry->isEnabled());
            QVERIFY(w.messages.isEmpty());
        }
        QVERIFY(!report);
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmReport")));
    }
};

QTEST_MAIN(tst_MainReport)
#include "tst_MainReport.moc"
