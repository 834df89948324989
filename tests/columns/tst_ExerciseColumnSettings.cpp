// The assignment of exercises to the twenty exercise columns, checked in
// memory and kept in the table ExerciseColumns of a real diary.

#include "TestDiary.h"

#include "columns/ExerciseColumnSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "reference/Exercises.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace
{
// The message of the EExerciseColumnSettings the call raised, or "none".
QString settingsError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EExerciseColumnSettings &e) {
        return e.Message();
    }
    return QStringLiteral("none");
}

void execute(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

// The table as "nr:id" lines in column order.
QStringList columnRows(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select ExerciseNr, ExerciseId from ExerciseColumns order by ExerciseNr"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows.append(QStringLiteral("%1:%2").arg(query.FieldAsInteger(0)).arg(query.FieldIsNull(1) ? QStringLiteral("null")
                                                                                                   : query.FieldAsText(1)));
    return rows;
}

QList<qint32> unassigned()
{
    return QList<qint32>(ExerciseColumnCount, -1);
}

// Exercises 1 "Bänkpress", 2 "Knäböj", 3 "Marklyft" and the settings wired
// to them; with a diary, stored in it and the settings bound to it. The
// checks of a list need no diary.
struct TFixture
{
    std::unique_ptr<TTestDiary> diary;
    TExercises exercises;
    TExerciseColumnSettings settings;

    explicit TFixture(bool withDiary = true)
    {
        if (withDiary) {
            diary = std::make_unique<TTestDiary>();
            exercises.SetDatabase(&diary->Connection());
        }
        for (const char *name : {"Bänkpress", "Knäböj", "Marklyft"})
            exercises.AddExercise(QString::fromUtf8(name));
        if (diary) {
            exercises.ApplyExercises();
            exercises.LoadExercises();
            settings.SetDatabase(&diary->Connection());
        }
        settings.SetExercises(&exercises);
    }

    TDbConnection &db() { return diary->Connection(); }

    QList<qint32> list() const
    {
        QList<qint32> slotIds;
        settings.GetList(&slotIds);
        return slotIds;
    }
};
} // namespace

class tst_ExerciseColumnSettings : public QObject
{
    Q_OBJECT

private slots:
    void startsUnassigned()
    {
        TExerciseColumnSettings settings;
        QList<qint32> slotIds{7};
        settings.GetList(&slotIds);
        QCOMPARE(slotIds, unassigned());
        QCOMPARE(settings.ExerciseOfColumn(1), -1);
        QCOMPARE(settings.ExerciseOfColumn(0), -1);
        QCOMPARE(settings.ExerciseOfColumn(21), -1);
    }

    void missingParts()
    {
        TExerciseColumnSettings settings;
        const QList<qint32> slotIds = unassigned();
        QCOMPARE(settingsError([&] { settings.SetDatabase(nullptr); }), QStringLiteral("ExerciseColumnSettings 01"));
        QCOMPARE(settingsError([&] { settings.GetList(nullptr); }), QStringLiteral("ExerciseColumnSettings 02"));
        QCOMPARE(settingsError([&] { settings.SetList(nullptr); }), QStringLiteral("ExerciseColumnSettings 03"));
        QCOMPARE(settingsError([&] { settings.SetExercises(nullptr); }), QStringLiteral("ExerciseColumnSettings 05"));
        QCOMPARE(settingsError([&] { settings.SetList(&slotIds); }), QStringLiteral("ExerciseColumnSettings 06"));
        QCOMPARE(settingsError([&] { settings.LoadFromDb(); }), QStringLiteral("ExerciseColumnSettings 08"));
    }

    void setListChecks_data()
    {
        QTest::addColumn<QList<int>>("assigned"); // pairs of column and exercise id
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("error");
        QTest::newRow("all unassigned") << QList<int>{} << 20 << "none";
        QTest::newRow("three exercises") << QList<int>{3, 2, 17, 1, 20, 3} << 20 << "none";
        QTest::newRow("too few values") << QList<int>{} << 19 << "ExerciseColumnSettings 04";
        QTest::newRow("too many values") << QList<int>{} << 21 << "ExerciseColumnSettings 04";
        QTest::newRow("unknown exercise") << QList<int>{1, 1, 4, 9} << 20 << "ExerciseColumnSettings 07";
        QTest::newRow("no id but not -1") << QList<int>{2, -2} << 20 << "ExerciseColumnSettings 07";
        QTest::newRow("repeated exercise") << QList<int>{3, 2, 17, 2} << 20 << "ExerciseColumnSettings 09";
    }

    void setListChecks()
    {
        QFETCH(QList<int>, assigned);
        QFETCH(int, count);
        QFETCH(QString, error);
        TFixture f(false);
        const QList<qint32> before{1, 2, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        f.settings.SetList(&before);

        QList<qint32> slotIds(count, -1);
        for (int i = 0; i + 1 < assigned.size(); i += 2)
            slotIds[assigned.at(i) - 1] = assigned.at(i + 1);
        QCOMPARE(settingsError([&] { f.settings.SetList(&slotIds); }), error);
        // A refused list changes nothing.
        QCOMPARE(f.list(), error == QLatin1String("none") ? slotIds : before);
    }

    void exerciseDeletedInTheRegisterIsRefused()
    {
        TFixture f(false);
        f.exercises.DeleteExercise(2);
        QList<qint32> slotIds = unassigned();
        slotIds[0] = 2;
        QCOMPARE(settingsError([&] { f.settings.SetList(&slotIds); }), QStringLiteral("ExerciseColumnSettings 07"));
    }

    void saveAndLoad()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[2] = 3;
        slotIds[16] = 1;
        slotIds[19] = 2;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();
        QCOMPARE(columnRows(f.db()), (QStringList{"3:3", "17:1", "20:2"}));

        TExerciseColumnSettings loaded;
        loaded.SetDatabase(&f.db());
        loaded.SetExercises(&f.exercises);
        loaded.LoadFromDb();
        QList<qint32> read;
        loaded.GetList(&read);
        QCOMPARE(read, slotIds);
        QCOMPARE(loaded.ExerciseOfColumn(3), 3);
        QCOMPARE(loaded.ExerciseOfColumn(17), 1);

        // Saving again replaces the rows: an unassigned column loses its row.
        slotIds[16] = -1;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();
        QCOMPARE(columnRows(f.db()), (QStringList{"3:3", "20:2"}));
        f.settings.Reset();
        QCOMPARE(f.list(), unassigned());
        f.settings.SaveToDb();
        QCOMPARE(columnRows(f.db()), QStringList());
    }

    void loadSkipsRowsItCannotShow()
    {
        TFixture f;
        TDbConnection &db = f.db();
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (1, 2)"));
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (2, 77)"));   // no such exercise
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (4, null)"));
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (5, 2)"));    // shown already
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (7, 3)"));
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (0, 1)"));    // no such column
        execute(db, QStringLiteral("insert into ExerciseColumns (ExerciseNr, ExerciseId) values (21, 1)"));   // no such column
        const QList<qint32> before{1, 2, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        f.settings.SetList(&before);

        f.settings.LoadFromDb();
        QList<qint32> expected = unassigned();
        expected[0] = 2;
        expected[6] = 3;
        QCOMPARE(f.list(), expected);
        // What is loaded can be saved as it is.
        const QList<qint32> loaded = f.list();
        QCOMPARE(settingsError([&] { f.settings.SetList(&loaded); }), QStringLiteral("none"));
    }

    void exerciseDeletedFromTheDiaryBecomesUnassigned()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[0] = 1;
        slotIds[1] = 2;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();

        f.exercises.DeleteExercise(1);
        f.exercises.ApplyExercises();
        f.settings.LoadFromDb();
        QCOMPARE(f.settings.ExerciseOfColumn(1), -1);
        QCOMPARE(f.settings.ExerciseOfColumn(2), 2);
    }

    // Applying the register takes a deleted exercise's column along: ids
    // are given again, and the exercise that gets the id next must not
    // inherit the column, also when the diary is read again at the next
    // start.
    void deletedExerciseTakesItsColumnAlong()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[2] = 3; // "Marklyft", the highest id
        slotIds[5] = 1;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();

        f.exercises.DeleteExercise(3);
        f.exercises.ApplyExercises();
        QCOMPARE(columnRows(f.db()), QStringList{"6:1"});

        TExercises exercises;
        exercises.SetDatabase(&f.db());
        exercises.LoadExercises();
        QCOMPARE(exercises.AddExercise(QStringLiteral("Rodd")), 3);
        exercises.ApplyExercises();
        TExerciseColumnSettings loaded;
        loaded.SetDatabase(&f.db());
        loaded.SetExercises(&exercises);
        loaded.LoadFromDb();
        QCOMPARE(loaded.ExerciseOfColumn(3), -1);
        QCOMPARE(loaded.ExerciseOfColumn(6), 1);
    }

    // The column rows and the exercise go in one step: when the exercise
    // cannot be deleted, its column stays, and so does the Deleted item.
    void failedDeleteKeepsTheColumn()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[2] = 3;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();
        execute(f.db(), QStringLiteral("create exception E_Kept 'kept'"));
        execute(f.db(), QStringLiteral("create trigger TR_Kept for Exercises before delete as begin exception E_Kept; end"));

        f.exercises.DeleteExercise(3);
        QVERIFY_THROWS_EXCEPTION(EDbClientError, f.exercises.ApplyExercises());
        QVERIFY(!f.db().InTransaction());
        QCOMPARE(columnRows(f.db()), QStringList{"3:3"});
        QVERIFY(f.exercises.IsExerciseDeleted(3));

        // Inside the caller's transaction the deletes join it.
        execute(f.db(), QStringLiteral("drop trigger TR_Kept"));
        f.db().StartTransaction();
        f.exercises.ApplyExercises();
        QVERIFY(f.db().InTransaction());
        f.db().Rollback();
        QCOMPARE(columnRows(f.db()), QStringList{"3:3"});
    }

    void failedSaveKeepsTheStoredColumns()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[0] = 1;
        slotIds[1] = 2;
        f.settings.SetList(&slotIds);
        f.settings.SaveToDb();

        // A table that refuses the new rows half-way: column 3's insert
        // fails after the delete and the inserts before it have run.
        execute(f.db(), QStringLiteral("alter table ExerciseColumns add constraint CK_Test check (ExerciseNr <> 3)"));
        slotIds = unassigned();
        slotIds[0] = 3;
        slotIds[2] = 1;
        f.settings.SetList(&slotIds);
        QVERIFY_THROWS_EXCEPTION(EDbClientError, f.settings.SaveToDb());
        QCOMPARE(columnRows(f.db()), (QStringList{"1:1", "2:2"}));
        QVERIFY(!f.db().InTransaction());
    }

    void saveJoinsTheCallersTransaction()
    {
        TFixture f;
        QList<qint32> slotIds = unassigned();
        slotIds[4] = 2;
        f.settings.SetList(&slotIds);
        TDbConnection &db = f.db();
        db.StartTransaction();
        f.settings.SaveToDb();
        QVERIFY(db.InTransaction());
        db.Rollback();
        QCOMPARE(columnRows(db), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_ExerciseColumnSettings)
#include "tst_ExerciseColumnSettings.moc"
