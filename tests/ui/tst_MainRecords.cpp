// The personal-records window from the main window: "&Personbästa..."
// (Ctrl+2) and its tool button open one kept window, which reads the
// records of the diary as they are at every opening.

#include "support/MainWindowDiary.h"

#include "analysis/Records.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// An empty diary opened in the main window; the tests save courses and
// runs through the program.
class TMainWindow : public TMainWindowDiary
{
public:
    TfrmRecords *Records() { return Child<TfrmRecords>("frmRecords"); }
};

QString durationOfRecord(TfrmRecords *records)
{
    return records->TDTGrid()->Cells(4, records->TDTGrid()->FixedRows());
}
} // namespace

class tst_MainRecords : public QObject
{
    Q_OBJECT

private slots:
    // "&Personbästa..." (Ctrl+2) is the first window of "&Visa", its tool
    // button the first of the Visa bar; both are enabled with a diary open.
    void menuItemAndToolButton()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiRecord");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Personbästa..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(w.Action("mnuiNextAct")) < shown.indexOf(item));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiFrequency")));
        auto *button = w.Child<QToolButton>("tbtnRecord");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa personbästadialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QStringList order;
        for (QAction *action : bar->actions())
            if (auto *widget = bar->widgetForAction(action))
                order.append(widget->objectName());
        QCOMPARE(order.value(0), QStringLiteral("tbtnRecord"));
        QVERIFY(item->isEnabled());
        QVERIFY(button->isEnabled());

        // Closing the diary: nothing to read records from.
        w.App().CloseDatabase();
        w.Window().UpdateControls();
        QVERIFY(!item->isEnabled());
        QVERIFY(!button->isEnabled());
    }

    // Ctrl+2 opens the window, which lists the records; a session saved
    // afterwards (which tells no window) shows at the next opening, in the
    // same window, which then stands in the main window's window menu.
    void ctrl2OpensAndRefreshes()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        const int course = w.AddCourse(QStringLiteral("Skogen"), 5, {});
        w.AddRun(QStringLiteral("2024-04-01"), QStringLiteral("25.30"), course);
        w.AddRun(QStringLiteral("2024-05-01"), QStringLiteral("24.10"), course);
        QVERIFY(w.Reactivate());
        QTest::keyClick(&w.Window(), Qt::Key_2, Qt::ControlModifier);
        TfrmRecords *records = w.Records();
        QVERIFY(records);
        QVERIFY(records->isVisible());
        QCOMPARE(records->CourseRecords().size(), 1);
        QCOMPARE(durationOfRecord(records), QStringLiteral("24.10"));
        QCOMPARE(records->TDTGrid()->Cells(7, 1), QStringLiteral("2"));

        w.AddRun(QStringLiteral("2024-06-01"), QStringLiteral("23.50"), course);
        QCOMPARE(durationOfRecord(records), QStringLiteral("24.10"));
        QVERIFY(w.Reactivate());
        w.Child<QToolButton>("tbtnRecord")->click();
        QCOMPARE(w.Records(), records);
        QCOMPARE(durationOfRecord(records), QStringLiteral("23.50"));
        QCOMPARE(records->TDTGrid()->Cells(7, 1), QStringLiteral("3"));
        QVERIFY(w.messages.isEmpty());

        QMenu *windows = w.Window().menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow"));
        QVERIFY(windows);
        QAction *entry = windows->findChild<QAction *>(QStringLiteral("mnuiRecordsWindow"));
        QVERIFY(entry);
        QVERIFY(entry->isEnabled());
    }
};

QTEST_MAIN(tst_MainRecords)
#include "tst_MainRecords.moc"
