#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "support/ModalWatcher.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int DefaultPointer = -1;

// The pointer the application shows now: an override shape or the default.
int Pointer()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? int(cursor->shape()) : DefaultPointer;
}

// Steps are "+id" (begin non-modal), "*id" (begin modal) and "-id" (end).
// Returns the result of an end, or of UpdateCursor for a begin.
bool Step(TCursorManagement &manager, const QString &step)
{
    const QString id = step.mid(1);
    if (step.startsWith(QLatin1Char('-')))
        return manager.RemoveId(id);
    manager.AddId(id, step.startsWith(QLatin1Char('+')));
    return manager.NonModalIds().isEmpty() && manager.ModalIds().isEmpty();
}

// What the internal-error box showed.
struct TInternalErrorBox
{
    QString caption;
    QString text;
    QString code;
    QStringList buttons;
    int pointerMeanwhile = DefaultPointer;
};

TModalWatcher::TAction RecordInternalError(TInternalErrorBox &seen)
{
    return [&seen](QWidget *box) {
        seen.caption = box->windowTitle();
        seen.pointerMeanwhile = Pointer();
        if (auto *memo = box->findChild<QPlainTextEdit *>(QStringLiteral("moText")))
            seen.text = memo->toPlainText();
        if (auto *code = box->findChild<QLabel *>(QStringLiteral("lblCode")))
            seen.code = code->text();
        for (QPushButton *button : box->findChildren<QPushButton *>())
            seen.buttons << button->objectName();
        if (auto *ok = box->findChild<QPushButton *>(QStringLiteral("btnOK")))
            QTest::mouseClick(ok, Qt::LeftButton);
    };
}

} // namespace

class TestCrsrMgt : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void pointerFollowsPeriods_data();
    void pointerFollowsPeriods();
    void errors_data();
    void errors();
    void pointerAfterUnknownEnd();
    void busyPeriodEndsWhenExceptionPasses();
    void busyPeriodWithUnknownEndDoesNotThrow();
    void managerDestroyedWhileBusy();
};

void TestCrsrMgt::cleanup()
{
    // A failed test must not leave overrides behind for the next one.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestCrsrMgt::pointerFollowsPeriods_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("pointers"); // after each step

    const int wait = Qt::WaitCursor;
    const int busy = Qt::BusyCursor;
    const int none = DefaultPointer;
    QTest::newRow("one period") << QStringList{"+Corvale", "-Corvale"} << QList<int>{wait, none};
    QTest::newRow("same id nested twice") << QStringList{"+Corvale", "+Corvale", "-Corvale", "-Corvale"}
                                          << QList<int>{wait, wait, wait, none};
    QTest::newRow("modal only") << QStringList{"*Print", "*Print", "-Print", "-Print"}
                                << QList<int>{busy, busy, busy, none};
    QTest::newRow("non-modal wins over modal") << QStringList{"*Print", "+Corvale", "-Corvale", "-Print"}
                                               << QList<int>{busy, wait, busy, none};
    QTest::newRow("modal ends first") << QStringList{"+Corvale", "*Print", "-Print", "-Corvale"}
                                      << QList<int>{wait, wait, wait, none};
    QTest::newRow("two non-modal ids") << QStringList{"+Corvale", "+Search", "-Corvale", "-Search"}
                                       << QList<int>{wait, wait, wait, none};
}

void TestCrsrMgt::pointerFollowsPeriods()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, pointers);

    TModalWatcher watcher;
    TCursorManagement manager;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const bool idle = Step(manager, steps[i]);
        QCOMPARE(Pointer(), pointers[i]);
        QCOMPARE(idle, pointers[i] == DefaultPointer);
    }
    // Every push was popped: there is no override left under ours.
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(watcher.Shown(), 0);
}

void TestCrsrMgt::errors_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("pointerAfter");

    QTest::newRow("modal begin of a non-modal id") << QStringList{"+Corvale"} << "*Corvale"
                                                   << "ID already exist as non-modal: Corvale" << "CrsrMgt 01"
                                                   << int(Qt::WaitCursor);
    QTest::newRow("non-modal begin of a modal id") << QStringList{"*Corvale"} << "+Corvale"
                                                   << "ID already exists as modal: Corvale" << "CrsrMgt 02"
                                                   << int(Qt::BusyCursor);
    QTest::newRow("end of an id never begun") << QStringList{} << "-Corvale" << "ID does not exist: Corvale"
                                              << "CrsrMgt 03" << DefaultPointer;
    QTest::newRow("one end too many") << QStringList{"+Corvale", "-Corvale"} << "-Corvale"
                                      << "ID does not exist: Corvale" << "CrsrMgt 03" << DefaultPointer;
    QTest::newRow("end of another id while busy") << QStringList{"+Corvale"} << "-Sök"
                                                  << "ID does not exist: Sök" << "CrsrMgt 03" << DefaultPointer;
}

void TestCrsrMgt::errors()
{
    QFETCH(QStringList, before);
    QFETCH(QString, failing);
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(int, pointerAfter);

    TInternalErrorBox seen;
    TModalWatcher watcher(RecordInternalError(seen));
    TCursorManagement manager;
    for (const QString &step : std::as_const(before))
        Step(manager, step);
    const QStringList nonModal = manager.NonModalIds();
    const QStringList modal = manager.ModalIds();

    bool aborted = false;
    try {
        Step(manager, failing);
    } catch (const EAbort &) {
        aborted = true;
    }

    QVERIFY(aborted);
    QCOMPARE(watcher.Shown(), 1);
    QCOMPARE(watcher.LeftOpen(), 0);
    QCOMPARE(seen.caption, QStringLiteral("Internt fel"));
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.code, code);
    QCOMPARE(seen.buttons, QStringList{"btnOK"});
    QCOMPARE(Pointer(), pointerAfter);
    QCOMPARE(manager.NonModalIds(), nonModal);
    QCOMPARE(manager.ModalIds(), modal);
}

void TestCrsrMgt::pointerAfterUnknownEnd()
{
    TModalWatcher watcher([](QWidget *box) { box->findChild<QPushButton *>(QStringLiteral("btnOK"))->click(); });
    TCursorManagement manager;
    manager.AddId(QStringLiteral("Corvale"), true);
    manager.AddId(QStringLiteral("Corvale"), true);
    QVERIFY_THROWS_EXCEPTION(EAbort, manager.RemoveId(QStringLiteral("Annan")));
    QCOMPARE(Pointer(), DefaultPointer);

    // The open periods still count; the next change brings the pointer back
    // and the last end leaves no override behind.
    QCOMPARE(manager.RemoveId(QStringLiteral("Corvale")), false);
    QCOMPARE(Pointer(), int(Qt::WaitCursor));
    QCOMPARE(manager.RemoveId(QStringLiteral("Corvale")), true);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(watcher.Shown(), 1);
}

void TestCrsrMgt::busyPeriodEndsWhenExceptionPasses()
{
    TModalWatcher watcher;
    TCursorManagement manager;
    int pointerInside = DefaultPointer;
    int pointerNested = DefaultPointer;
    int pointerAfterNested = DefaultPointer;
    try {
        TBusyPeriod outer(manager);
        pointerInside = Pointer();
        {
            TBusyPeriod nested(manager);
            pointerNested = Pointer();
        }
        pointerAfterNested = Pointer();
        throw ECourses(QStringLiteral("Courses 05"));
    } catch (const ECourses &) {
    }

    QCOMPARE(pointerInside, int(Qt::WaitCursor));
    QCOMPARE(pointerNested, int(Qt::WaitCursor));
    QCOMPARE(pointerAfterNested, int(Qt::WaitCursor));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(manager.NonModalIds().isEmpty());
    QCOMPARE(watcher.Shown(), 0);
}

void TestCrsrMgt::busyPeriodWithUnknownEndDoesNotThrow()
{
    // Someone ended the period behind the guard's back: the guard's own end
    // is refused with the box, but nothing leaves the destructor.
    TInternalErrorBox seen;
    TModalWatcher watcher(RecordInternalError(seen));
    TCursorManagement manager;
    {
        TBusyPeriod period(manager, QStringLiteral("Export"), false);
        QCOMPARE(Pointer(), int(Qt::BusyCursor));
        manager.RemoveId(QStringLiteral("Export"));
    }

    QCOMPARE(watcher.Shown(), 1);
    QCOMPARE(seen.code, QStringLiteral("CrsrMgt 03"));
    QCOMPARE(Pointer(), DefaultPointer);
}

void TestCrsrMgt::managerDestroyedWhileBusy()
{
    {
        TCursorManagement manager;
        manager.AddId(QStringLiteral("Corvale"), true);
        manager.AddId(QStringLiteral("Print"), false);
        QCOMPARE(Pointer(), int(Qt::WaitCursor));
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestCrsrMgt)

#include "tst_CrsrMgt.moc"
