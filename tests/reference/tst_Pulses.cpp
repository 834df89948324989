// The register of pulse intervals against a real diary.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "reference/Pulses.h"

#include <QtTest>

#include <functional>

namespace
{
// The message of the EPulse the call raised, or "none".
QString pulseError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EPulse &e) {
        return e.Message();
    }
    return QStringLiteral("none");
}

// The table as "id:low-high" in id order.
QStringList pulseRows(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select PulseId, PulseLow, PulseHigh from Pulse order by PulseId"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows.append(QStringLiteral("%1:%2-%3").arg(query.FieldAsInteger(0)).arg(query.FieldAsInteger(1)).arg(query.FieldAsInteger(2)));
    return rows;
}

void insertPulseRow(TDbConnection &db, int id, int low, int high)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("insert into Pulse (PulseId, PulseLow, PulseHigh) values (:id, :low, :high)"));
    query.SetInteger(QStringLiteral("id"), id);
    query.SetInteger(QStringLiteral("low"), low);
    query.SetInteger(QStringLiteral("high"), high);
    query.ExecSQL();
}

void execute(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

QList<qint32> pulseIds(const TPulses &pulses)
{
    QList<qint32> ids{-7}; // emptied by GetPulseIds
    pulses.GetPulseIds(ids);
    return ids;
}
} // namespace

class tst_Pulses : public QObject
{
    Q_OBJECT

private slots:
    void normalise_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("normalLow");
        QTest::addColumn<int>("normalHigh");

        QTest::newRow("in order") << 60 << 140 << 60 << 140;
        QTest::newRow("swapped") << 180 << 140 << 140 << 180;
        QTest::newRow("both out of range") << -5 << 1200 << 0 << 999;
        QTest::newRow("edges") << 0 << 999 << 0 << 999;
        QTest::newRow("high just too high") << 999 << 1000 << 999 << 999;
        QTest::newRow("both too high, swapped") << 1500 << 1200 << 999 << 999;
        QTest::newRow("both negative, swapped") << -5 << -10 << 0 << 0;
        QTest::newRow("equal") << 0 << 0 << 0 << 0;
    }

    void normalise()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, normalLow);
        QFETCH(int, normalHigh);

        int l = low;
        int h = high;
        TPulses::Normalise(l, h);
        QCOMPARE(l, normalLow);
        QCOMPARE(h, normalHigh);

        // Adding and setting normalise alike.
        TPulses pulses;
        const qint32 added = pulses.AddPulse(low, high);
        const qint32 set = pulses.AddPulse(50, 60);
        pulses.SetPulse(set, low, high);
        for (const qint32 id : {added, set}) {
            QCOMPARE(pulses.PulseLow(id), normalLow);
            QCOMPARE(pulses.PulseHigh(id), normalHigh);
        }
    }

    void pulseText_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("text");

        QTest::newRow("one digit") << 0 << 120 << QStringLiteral("  0-120");
        QTest::newRow("two digits") << 60 << 140 << QStringLiteral(" 60-140");
        QTest::newRow("three digits") << 140 << 180 << QStringLiteral("140-180");
        QTest::newRow("both short") << 5 << 95 << QStringLiteral("  5- 95");
    }

    void pulseText()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QString, text);

        TPulses pulses;
        const qint32 id = pulses.AddPulse(low, high);
        QCOMPARE(pulses.PulseText(id), text);
    }

    void newIds()
    {
        TTestDiary diary;
        TPulses pulses;
        pulses.SetDatabase(&diary.Connection());
        pulses.LoadPulses();
        QCOMPARE(pulses.AddPulse(100, 120), 1);
        QCOMPARE(pulses.AddPulse(120, 140), 2);
        QCOMPARE(pulses.AddPulse(140, 160), 3);
        pulses.ApplyPulses();

        // A deleted item keeps its id taken until the register is applied.
        pulses.DeletePulse(3);
        QCOMPARE(pulses.AddPulse(0, 0), 4);
        pulses.DeletePulse(4);
        pulses.ApplyPulses();
        QCOMPARE(pulses.AddPulse(160, 180), 3);

        // After loading, the ids in the table count.
        execute(diary.Connection(), QStringLiteral("delete from Pulse"));
        insertPulseRow(diary.Connection(), 2, 60, 80);
        insertPulseRow(diary.Connection(), 9, 80, 100);
        pulses.LoadPulses();
        QCOMPARE(pulses.AddPulse(0, 0), 10);
    }

    void loadReadsTheTableInOrderOfLimits()
    {
        TTestDiary diary;
        insertPulseRow(diary.Connection(), 1, 140, 180);
        insertPulseRow(diary.Connection(), 2, 60, 140);
        insertPulseRow(diary.Connection(), 3, 140, 160);
        insertPulseRow(diary.Connection(), 4, 0, 60);

        TPulses pulses;
        pulses.SetDatabase(&diary.Connection());
        pulses.AddPulse(1, 2); // discarded by loading
        pulses.LoadPulses();
        QCOMPARE(pulseIds(pulses), QList<qint32>({4, 2, 3, 1}));
        QCOMPARE(pulses.PulseCount(), 4);
        QCOMPARE(pulses.PulseText(3), QStringLiteral("140-160"));

        pulses.ClearPulses();
        QCOMPARE(pulses.PulseCount(), 0);
        QCOMPARE(pulseIds(pulses), QList<qint32>());
        QVERIFY(!pulses.PulseExists(4));
    }

    void applyWritesInsertsUpdatesAndDeletes()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TPulses pulses;
        pulses.SetDatabase(&db);
        pulses.LoadPulses();
        pulses.AddPulse(0, 120);
        pulses.AddPulse(120, 140);
        pulses.AddPulse(140, 160);
        pulses.ApplyPulses();
        QCOMPARE(pulseRows(db), QStringList({"1:0-120", "2:120-140", "3:140-160"}));

        // New items became Stored: a second apply updates, it does not insert
        // them again.
        pulses.SetPulse(1, 100, 0);
        pulses.DeletePulse(2);
        const qint32 added = pulses.AddPulse(160, 185);
        QCOMPARE(added, 4);
        QVERIFY(pulses.PulseExists(1));
        QVERIFY(!pulses.PulseExists(2));
        QCOMPARE(pulses.PulseLow(2), 120); // still found until applied
        QCOMPARE(pulses.PulseCount(), 3);
        QCOMPARE(pulseIds(pulses), QList<qint32>({1, 3, 4}));
        QCOMPARE(pulseRows(db), QStringList({"1:0-120", "2:120-140", "3:140-160"}));

        pulses.ApplyPulses();
        QCOMPARE(pulseRows(db), QStringList({"1:0-100", "3:140-160", "4:160-185"}));
        QCOMPARE(pulseError([&] { pulses.PulseLow(2); }), QStringLiteral("Pulse 01"));
        QCOMPARE(pulses.PulseCount(), 3);

        // Applying unchanged memory changes nothing, and loading gives
        // back what was applied.
        pulses.ApplyPulses();
        QCOMPARE(pulseRows(db), QStringList({"1:0-100", "3:140-160", "4:160-185"}));
        pulses.LoadPulses();
        QCOMPARE(pulseIds(pulses), QList<qint32>({1, 3, 4}));
        QCOMPARE(pulses.PulseText(1), QStringLiteral("  0-100"));
    }

    void deletingANewItemNeverReachesTheTable()
    {
        TTestDiary diary;
        TPulses pulses;
        pulses.SetDatabase(&diary.Connection());
        const qint32 id = pulses.AddPulse(60, 80);
        pulses.DeletePulse(id);
        pulses.ApplyPulses();
        QCOMPARE(pulseRows(diary.Connection()), QStringList());
        QCOMPARE(pulseError([&] { pulses.PulseHigh(id); }), QStringLiteral("Pulse 01"));
    }

    void usedIntervalIsNotDeleted()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        insertPulseRow(db, 1, 60, 120);
        insertPulseRow(db, 2, 120, 160);
        execute(db, QStringLiteral("insert into TrainingSessionPulse (SessionNr, PulseNr, PulseId, PulseValue) values (7, 1, 2, 40)"));

        TPulses pulses;
        pulses.SetDatabase(&db);
        pulses.LoadPulses();
        QVERIFY(pulses.IsPulseUsed(2));
        QVERIFY(!pulses.IsPulseUsed(1));
        QCOMPARE(pulseError([&] { pulses.DeletePulse(2); }), QStringLiteral("Pulse 03"));
        QVERIFY(pulses.PulseExists(2));
        QCOMPARE(pulses.PulseCount(), 2);

        pulses.DeletePulse(1);
        pulses.ApplyPulses();
        QCOMPARE(pulseRows(db), QStringList{"2:120-160"});
    }

    void unknownIds()
    {
        TTestDiary diary;
        TPulses pulses;
        pulses.SetDatabase(&diary.Connection());
        pulses.AddPulse(60, 80);
        const QList<std::pair<const char *, std::function<void()>>> calls = {
            {"PulseLow", [&] { pulses.PulseLow(2); }},
            {"PulseHigh", [&] { pulses.PulseHigh(2); }},
            {"PulseText", [&] { pulses.PulseText(0); }},
            {"SetPulse", [&] { pulses.SetPulse(2, 1, 2); }},
            {"DeletePulse", [&] { pulses.DeletePulse(-1); }},
        };
        for (const auto &[name, call] : calls)
            QVERIFY2(pulseError(call) == QStringLiteral("Pulse 01"), name);
        QVERIFY(!pulses.PulseExists(2));
        QCOMPARE(pulses.PulseCount(), 1);
    }

    void withoutDatabase()
    {
        TPulses pulses;
        QCOMPARE(pulseError([&] { pulses.SetDatabase(nullptr); }), QStringLiteral("Pulse 02"));
        QCOMPARE(pulseError([&] { pulses.LoadPulses(); }), QStringLiteral("Pulse 02"));
        const qint32 id = pulses.AddPulse(60, 80);
        QCOMPARE(pulseError([&] { pulses.ApplyPulses(); }), QStringLiteral("Pulse 02"));
        QCOMPARE(pulseError([&] { pulses.IsPulseUsed(id); }), QStringLiteral("Pulse 02"));
        QCOMPARE(pulseError([&] { pulses.DeletePulse(id); }), QStringLiteral("Pulse 02"));
        QVERIFY(pulses.PulseExists(id));
    }

    void setDatabaseTestsTheConnection()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        db.Close();
        TPulses pulses;
        pulses.SetDatabase(&db);
        QVERIFY(!db.Connected());

        TDbConnection missing(QStringLiteral("tst_Pulses-missing"));
        missing.SetDatabaseName(diary.Folder() + QStringLiteral("Corvale4.gdb"));
        missing.Params() = db.Params();
        bool refused = false;
        try {
            pulses.SetDatabase(&missing);
        } catch (const EDbClientError &) {
            refused = true;
        }
        QVERIFY(refused);
        QVERIFY(!missing.Connected());
    }

    void applyFailingHalfwayKeepsMemoryWithTheTable()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TPulses pulses;
        pulses.SetDatabase(&db);
        pulses.LoadPulses();
        pulses.AddPulse(60, 80);   // 1: its insert will collide
        pulses.AddPulse(80, 100);  // 2
        pulses.AddPulse(100, 120); // 3: deleted before it was stored
        pulses.AddPulse(120, 140); // 4
        pulses.DeletePulse(3);
        insertPulseRow(db, 1, 10, 20);

        bool failed = false;
        try {
            pulses.ApplyPulses();
        } catch (const EDbClientError &) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(pulseRows(db), QStringList({"1:10-20", "2:80-100", "4:120-140"}));
        // The items written before the failure are Stored or gone.
        QCOMPARE(pulseError([&] { pulses.PulseLow(3); }), QStringLiteral("Pulse 01"));
        QCOMPARE(pulseIds(pulses), QList<qint32>({1, 2, 4}));

        // Once the collision is gone, applying again inserts only what was
        // never written and updates the rest.
        execute(db, QStringLiteral("delete from Pulse where PulseId = 1"));
        pulses.SetPulse(4, 130, 150);
        pulses.ApplyPulses();
        QCOMPARE(pulseRows(db), QStringList({"1:60-80", "2:80-100", "4:130-150"}));
    }
};

QTEST_GUILESS_MAIN(tst_Pulses)
#include "tst_Pulses.moc"
