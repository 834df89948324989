// The registers of strength exercises and programs against a real diary.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "reference/Exercises.h"

#include <QtTest>

#include <functional>

namespace
{
// The message of the EExercises the call raised, or "none".
QString exerciseError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EExercises &e) {
        return e.Message();
    }
    return QStringLiteral("none");
}

// The message of the EExerciseProgram the call raised, or "none".
QString programError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EExerciseProgram &e) {
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

// The table Exercises as "id:name" in id order, names as stored.
QStringList exerciseRows(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select ExerciseId, ExerciseName from Exercises order by ExerciseId"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows.append(QStringLiteral("%1:%2").arg(query.FieldAsInteger(0)).arg(query.FieldAsText(1)));
    return rows;
}

// One program row as "name|slot1,..,slot15|comment" with nulls shown as
// "-", texts as stored; empty when there is no row.
QString programRow(TDbConnection &db, int id)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select * from ExercisePrograms where ExProgId = :id"));
    query.SetInteger(QStringLiteral("id"), id);
    query.Open();
    if (query.Eof())
        return QString();
    QStringList slotTexts;
    for (int i = 1; i <= ProgramSlotCount; ++i) {
        const int index = query.FieldIndex(QStringLiteral("Exercise%1").arg(i));
        slotTexts.append(query.FieldIsNull(index) ? QStringLiteral("-") : query.FieldAsText(index));
    }
    return query.FieldAsText(QStringLiteral("ExProgName")) + QLatin1Char('|') + slotTexts.join(QLatin1Char(','))
           + QLatin1Char('|') + query.FieldAsText(QStringLiteral("ExComment"));
}

int programCount(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select count(*) from ExercisePrograms"));
    query.Open();
    return int(query.FieldAsInteger(0));
}

TProgramExercises slotsOf(const QStringList &texts)
{
    TProgramExercises exercises;
    for (int i = 0; i < texts.size() && i < ProgramSlotCount; ++i)
        exercises[std::size_t(i)] = texts.at(i);
    return exercises;
}

QStringList textsOf(const TProgramExercises &exercises)
{
    QStringList texts;
    for (const QString &slot : exercises)
        texts.append(slot);
    while (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast();
    return texts;
}

void followProgram(TDbConnection &db, int workoutNr, int programId)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("insert into WorkoutExercisePrograms (WoNr, ExProgId) values (:nr, :id)"));
    query.SetInteger(QStringLiteral("nr"), workoutNr);
    query.SetInteger(QStringLiteral("id"), programId);
    query.ExecSQL();
}

// Both registers on one diary, linked as the application links them.
struct TRegisters
{
    explicit TRegisters(TDbConnection &db)
    {
        exercises.SetDatabase(&db);
        programs.SetDatabase(&db);
        exercises.SetExercisePrograms(&programs);
        programs.SetExercises(&exercises);
    }
    TExercises exercises;
    TExercisePrograms programs;
};
} // namespace

class tst_Exercises : public QObject
{
    Q_OBJECT

private slots:
    void namesAreCleaned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cleaned");
        QTest::newRow("ampersand") << "Bänk&press" << "Bänkpress";
        QTest::newRow("line feed") << "Bänk\npress" << "Bänk press";
        QTest::newRow("carriage return and line feed") << "Bänk\r\npress" << "Bänk press";
        QTest::newRow("tab") << "Bänk\tpress" << "Bänk press";
        QTest::newRow("blanks only") << "   " << "X";
        QTest::newRow("empty") << "" << "X";
        QTest::newRow("only removed characters") << "&&\r" << "X";
        QTest::newRow("white space only after cleaning") << "\n\t" << "X";
        QTest::newRow("surrounding blanks kept") << "  Knäböj " << "  Knäböj ";
        QTest::newRow("70 characters") << QString(70, QLatin1Char('a')) << QString(60, QLatin1Char('a'));
        QTest::newRow("cut after cleaning") << QString(10, QLatin1Char('&')) + QString(65, QLatin1Char('b'))
                                            << QString(60, QLatin1Char('b'));
    }

    void namesAreCleaned()
    {
        QFETCH(QString, name);
        QFETCH(QString, cleaned);
        QCOMPARE(CleanExerciseName(name), cleaned);

        // Exercises and programs alike, on adding and on renaming.
        TExercises exercises;
        const qint32 added = exercises.AddExercise(name);
        QCOMPARE(exercises.GetExerciseName(added), cleaned);
        const qint32 renamed = exercises.AddExercise(QStringLiteral("Tillfälligt"));
        exercises.RenameExercise(renamed, QStringLiteral("2") + name);
        QCOMPARE(exercises.GetExerciseName(renamed), CleanExerciseName(QStringLiteral("2") + name));
        TExercisePrograms programs;
        const qint32 program = programs.AddProgram(name, QString());
        QCOMPARE(programs.GetProgramName(program), cleaned);
        programs.RenameProgram(program, QStringLiteral("&") + name);
        QCOMPARE(programs.GetProgramName(program), cleaned);
    }

    void exerciseNameChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        // In the register: "Bänkpress" and "Marklyft", the latter Deleted.
        QTest::newRow("free name") << "Knäböj" << "none";
        QTest::newRow("taken") << "Bänkpress" << "Exercises 03";
        QTest::newRow("taken after cleaning") << "Bänk&press" << "Exercises 03";
        QTest::newRow("taken but for surrounding blanks") << " Bänkpress " << "Exercises 03";
        QTest::newRow("differs in case") << "bänkpress" << "none";
        QTest::newRow("name of a deleted exercise") << "Marklyft" << "none";
        QTest::newRow("reserved") << "Vikt" << "Exercises 06";
        QTest::newRow("reserved but for a blank") << "Vikt " << "Exercises 06";
        QTest::newRow("reserved after cleaning") << "Vi&kt" << "Exercises 06";
        QTest::newRow("reserved name in other case") << "vikt" << "none";
    }

    void exerciseNameChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        TExercises exercises;
        const qint32 bench = exercises.AddExercise(QStringLiteral("Bänkpress"));
        exercises.DeleteExercise(exercises.AddExercise(QStringLiteral("Marklyft")));
        const qint32 curl = exercises.AddExercise(QStringLiteral("Curl"));
        QStringList before;
        exercises.GetAllExerciseNames(before);

        QCOMPARE(exerciseError([&] { exercises.RenameExercise(curl, name); }), error);
        if (error != QLatin1String("none"))
            QCOMPARE(exercises.GetExerciseName(curl), QStringLiteral("Curl"));
        exercises.RenameExercise(curl, QStringLiteral("Curl"));
        QCOMPARE(exerciseError([&] { exercises.AddExercise(name); }), error);
        if (error != QLatin1String("none")) {
            QStringList after;
            exercises.GetAllExerciseNames(after);
            QCOMPARE(after, before);
        }
        // An exercise may keep its own name.
        exercises.RenameExercise(bench, QStringLiteral("Bänkpress"));
    }

    void newIdsAndLoading()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters r(db);
        r.exercises.LoadExercises();
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Bänkpress")), 1);
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Knäböj")), 2);
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Axelpress")), 3);
        r.exercises.ApplyExercises();
        QCOMPARE(exerciseRows(db), QStringList({"1:Bänkpress", "2:Knäböj", "3:Axelpress"}));

        // A Deleted item keeps its id taken until the register is applied;
        // then the id is given again.
        r.exercises.DeleteExercise(3);
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Rodd")), 4);
        r.exercises.DeleteExercise(4);
        r.exercises.ApplyExercises();
        QCOMPARE(exerciseRows(db), QStringList({"1:Bänkpress", "2:Knäböj"}));
        QVERIFY(!r.exercises.ExerciseExists(3));
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Rodd")), 3);

        // Programs are numbered the same way among programs.
        r.programs.LoadPrograms();
        QCOMPARE(r.programs.AddProgram(QStringLiteral("Bas"), QString()), 1);
        QCOMPARE(r.programs.AddProgram(QStringLiteral("Ben"), QString()), 2);
        r.programs.DeleteProgram(2);
        QCOMPARE(r.programs.AddProgram(QStringLiteral("Armar"), QString()), 3);

        // Loading discards memory, reads by name and trims the names.
        execute(db, QStringLiteral("delete from Exercises"));
        execute(db, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (7, 'Ö-press  ')"));
        execute(db, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (2, 'Armhävning')"));
        r.exercises.LoadExercises();
        QList<qint32> ids{99};
        QStringList names{QStringLiteral("gammal")};
        r.exercises.GetExercises(ids, names);
        QCOMPARE(ids, QList<qint32>({2, 7}));
        QCOMPARE(names, QStringList({"Armhävning", "Ö-press"}));
        QCOMPARE(r.exercises.AddExercise(QStringLiteral("Dips")), 8);
    }

    void applyWritesEveryState()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        execute(db, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (1, 'Bänkpress')"));
        execute(db, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (2, 'Knäböj')"));
        TExercises exercises;
        exercises.SetDatabase(&db);
        exercises.LoadExercises();
        exercises.RenameExercise(1, QStringLiteral("Hantelpress"));
        exercises.DeleteExercise(2);
        exercises.AddExercise(QStringLiteral("Knäböj")); // the name of a Deleted item is free
        QCOMPARE(exercises.IsExerciseDeleted(2), true);
        QCOMPARE(exerciseRows(db), QStringList({"1:Bänkpress", "2:Knäböj"}));

        exercises.ApplyExercises();
        QCOMPARE(exerciseRows(db), QStringList({"1:Hantelpress", "3:Knäböj"}));
        QCOMPARE(exerciseError([&] { exercises.IsExerciseDeleted(2); }), QStringLiteral("Exercises 01"));
        // New items became Stored: applying again updates instead of
        // inserting a second time.
        exercises.RenameExercise(3, QStringLiteral("Frontböj"));
        exercises.ApplyExercises();
        QCOMPARE(exerciseRows(db), QStringList({"1:Hantelpress", "3:Frontböj"}));
    }

    void applyFailingHalfwayKeepsMemoryWithTheTable()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters r(db);
        r.exercises.AddExercise(QStringLiteral("A")); // 1: its insert will collide
        r.exercises.AddExercise(QStringLiteral("B")); // 2
        r.exercises.AddExercise(QStringLiteral("C")); // 3
        execute(db, QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (1, 'stray')"));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, r.exercises.ApplyExercises());
        QCOMPARE(exerciseRows(db), QStringList({"1:stray", "2:B", "3:C"}));
        execute(db, QStringLiteral("delete from Exercises where ExerciseId = 1"));
        r.exercises.RenameExercise(3, QStringLiteral("C2"));
        r.exercises.ApplyExercises();
        QCOMPARE(exerciseRows(db), QStringList({"1:A", "2:B", "3:C2"}));

        // Programs: the items written before the failure count as stored,
        // also for the check of programs that workouts follow.
        r.programs.AddProgram(QStringLiteral("P1"), QString()); // 1: collides
        const qint32 p2 = r.programs.AddProgram(QStringLiteral("P2"), QString());
        r.programs.SetProgramExercises(p2, slotsOf({"1"}));
        execute(db, QStringLiteral("insert into ExercisePrograms (ExProgId, ExProgName) values (1, 'stray')"));
        followProgram(db, 10, p2);
        QVERIFY_THROWS_EXCEPTION(EDbClientError, r.programs.ApplyPrograms());
        QCOMPARE(programRow(db, p2), QStringLiteral("P2|1,-,-,-,-,-,-,-,-,-,-,-,-,-,-| "));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(p2));
        r.programs.SetProgramExercises(p2, slotsOf({"2"}));
        QVERIFY(r.programs.ExercisesChangedWhileUsed(p2));
        execute(db, QStringLiteral("delete from ExercisePrograms where ExProgId = 1"));
        r.programs.ApplyPrograms();
        QCOMPARE(programCount(db), 2);
        QCOMPARE(programRow(db, p2), QStringLiteral("P2|2,-,-,-,-,-,-,-,-,-,-,-,-,-,-| "));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(p2));
    }

    void programsRoundTrip()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters r(db);
        for (const char *name : {"Bänkpress", "Knäböj", "Marklyft", "Chins", "Dips"})
            r.exercises.AddExercise(QString::fromUtf8(name));
        r.exercises.ApplyExercises();

        const qint32 base = r.programs.AddProgram(QStringLiteral("Bas"), QString(300, QLatin1Char('k')));
        QCOMPARE(r.programs.GetProgramComment(base).size(), 250);
        r.programs.SetProgramComment(base, QString());
        r.programs.SetProgramExercises(base, slotsOf({"3", "1", "3", "5"}));
        const qint32 full = r.programs.AddProgram(QStringLiteral("Allt"), QStringLiteral("Tungt"));
        QStringList fifteen;
        for (int i = 0; i < ProgramSlotCount; ++i)
            fifteen.append(QString::number(i % 5 + 1));
        r.programs.SetProgramExercises(full, slotsOf(fifteen));
        const qint32 gone = r.programs.AddProgram(QStringLiteral("Aldrig"), QString());
        r.programs.DeleteProgram(gone);
        r.programs.ApplyPrograms();

        QCOMPARE(programCount(db), 2);
        // Empty slots are null, an empty comment one blank.
        QCOMPARE(programRow(db, base), QStringLiteral("Bas|3,1,3,5,-,-,-,-,-,-,-,-,-,-,-| "));
        QCOMPARE(programRow(db, full), QStringLiteral("Allt|") + fifteen.join(QLatin1Char(',')) + QStringLiteral("|Tungt"));

        // Stored programs are updated, with empty slots written null again.
        r.programs.SetProgramExercises(base, slotsOf({"2"}));
        r.programs.RenameProgram(base, QStringLiteral("Bas 2"));
        r.programs.SetProgramComment(base, QStringLiteral("Lätt"));
        r.programs.ApplyPrograms();
        QCOMPARE(programRow(db, base), QStringLiteral("Bas 2|2,-,-,-,-,-,-,-,-,-,-,-,-,-,-|Lätt"));

        // Loading reads them back by name.
        r.programs.SetProgramComment(full, QString());
        r.programs.ApplyPrograms();
        TExercisePrograms loaded;
        loaded.SetDatabase(&db);
        loaded.LoadPrograms();
        QList<qint32> ids;
        QStringList names;
        loaded.GetPrograms(ids, names);
        QCOMPARE(ids, QList<qint32>({full, base}));
        QCOMPARE(names, QStringList({"Allt", "Bas 2"}));
        QCOMPARE(loaded.GetProgramComment(full), QString());
        QCOMPARE(textsOf(loaded.GetProgramExercises(full)), fifteen);
        QCOMPARE(textsOf(loaded.GetProgramExercises(base)), QStringList{"2"});
        QCOMPARE(loaded.ExerciseCountOfProgram(base), 1);
        QCOMPARE(loaded.ExerciseCountOfProgram(full), 15);

        loaded.DeleteProgram(base);
        loaded.ApplyPrograms();
        QCOMPARE(programRow(db, base), QString());
        QCOMPARE(programCount(db), 1);
    }

    void programSlotChecks_data()
    {
        QTest::addColumn<QStringList>("slotTexts");
        QTest::addColumn<QString>("error");
        // Exercises 1..4 exist, 4 is Deleted.
        QTest::newRow("gap") << QStringList{"3", "", "2"} << "ExerciseProgram 02";
        QTest::newRow("gap of blanks") << QStringList{"3", "  ", "2"} << "ExerciseProgram 02";
        QTest::newRow("gap in front") << QStringList{"", "1"} << "ExerciseProgram 02";
        QTest::newRow("same exercise twice") << QStringList{"3", "3"} << "none";
        QTest::newRow("none") << QStringList{} << "none";
        QTest::newRow("all fifteen") << QStringList{"1", "2", "3", "1", "2", "3", "1", "2", "3", "1", "2", "3", "1", "2", "3"} << "none";
        QTest::newRow("missing exercise") << QStringList{"1", "9"} << "ExerciseProgram 03";
        QTest::newRow("deleted exercise") << QStringList{"4"} << "ExerciseProgram 03";
        QTest::newRow("gap before a missing exercise") << QStringList{"1", "", "9"} << "ExerciseProgram 02";
    }

    void programSlotChecks()
    {
        QFETCH(QStringList, slotTexts);
        QFETCH(QString, error);
        // One diary serves every row: a diary takes seconds to make.
        if (!m_slotDiary)
            m_slotDiary = std::make_unique<TTestDiary>();
        auto &db = m_slotDiary->Connection();
        execute(db, QStringLiteral("delete from Exercises"));
        execute(db, QStringLiteral("delete from ExercisePrograms"));
        TRegisters r(db);
        for (const char *name : {"A", "B", "C", "D"})
            r.exercises.AddExercise(QLatin1String(name));
        r.exercises.DeleteExercise(4);
        r.exercises.ApplyExercises();
        const qint32 id = r.programs.AddProgram(QStringLiteral("P"), QString());
        r.programs.SetProgramExercises(id, slotsOf({"2", "1"}));
        r.programs.ApplyPrograms();

        QCOMPARE(programError([&] { r.programs.SetProgramExercises(id, slotsOf(slotTexts)); }), error);
        const QStringList expected = error == QLatin1String("none") ? slotTexts : QStringList{"2", "1"};
        QCOMPARE(textsOf(r.programs.GetProgramExercises(id)), expected);
        // A refused change never reaches the table.
        r.programs.ApplyPrograms();
        TExercisePrograms loaded;
        loaded.SetDatabase(&db);
        loaded.LoadPrograms();
        QCOMPARE(textsOf(loaded.GetProgramExercises(id)), expected);

        // Without the exercises register only the order is checked.
        TExercisePrograms alone;
        const qint32 free = alone.AddProgram(QStringLiteral("P"), QString());
        const QString orderError = error == QLatin1String("ExerciseProgram 02") ? error : QStringLiteral("none");
        QCOMPARE(programError([&] { alone.SetProgramExercises(free, slotsOf(slotTexts)); }), orderError);
    }

    void exerciseUseByPrograms()
    {
        TTestDiary diary;
        TExercises exercises;
        TExercisePrograms programs;
        programs.SetDatabase(&diary.Connection());
        for (const char *name : {"A", "B", "C", "D"})
            exercises.AddExercise(QLatin1String(name));
        programs.SetExercises(&exercises);
        const qint32 p1 = programs.AddProgram(QStringLiteral("P1"), QString());
        const qint32 p2 = programs.AddProgram(QStringLiteral("P2"), QString());
        const qint32 p3 = programs.AddProgram(QStringLiteral("P3"), QString());
        programs.SetProgramExercises(p1, slotsOf({"1", "2", "1"}));
        programs.SetProgramExercises(p2, slotsOf({"2"}));
        programs.SetProgramExercises(p3, slotsOf({"3", "2"}));

        QCOMPARE(programs.ExerciseSlot(p1, 1), 0);
        QCOMPARE(programs.ExerciseSlot(p1, 2), 1);
        QCOMPARE(programs.ExerciseSlot(p3, 2), 1);
        QCOMPARE(programs.ExerciseSlot(p2, 1), -1);
        QVERIFY(programs.ProgramContains(p3, 3));
        QVERIFY(!programs.ProgramContains(p2, 3));
        QCOMPARE(programs.ExerciseCountOfProgram(p1), 3);

        // Without the programs register nothing holds an exercise back.
        QCOMPARE(exerciseError([&] { exercises.ProgramCountOfExercise(2); }), QStringLiteral("Exercises 05"));
        exercises.SetExercisePrograms(&programs);
        QCOMPARE(exercises.ProgramCountOfExercise(2), 3);
        QCOMPARE(exercises.ProgramCountOfExercise(1), 1);
        QCOMPARE(exercises.ProgramCountOfExercise(4), 0);

        QCOMPARE(exerciseError([&] { exercises.DeleteExercise(3); }), QStringLiteral("Exercises 02"));
        QVERIFY(!exercises.IsExerciseDeleted(3));
        // A Deleted program no longer uses its exercises.
        programs.DeleteProgram(p3);
        QVERIFY(!programs.ExerciseInPrograms(3));
        QCOMPARE(exercises.ProgramCountOfExercise(2), 2);
        exercises.DeleteExercise(3);
        QVERIFY(exercises.IsExerciseDeleted(3));
        // ... and a Deleted exercise cannot be chosen again.
        QCOMPARE(programError([&] { programs.SetProgramExercises(p2, slotsOf({"3"})); }), QStringLiteral("ExerciseProgram 03"));
        exercises.DeleteExercise(4);
        QStringList all;
        exercises.GetAllExerciseNames(all);
        QCOMPARE(all, QStringList({"A", "B", "C", "D"}));
        QList<qint32> ids;
        QStringList names;
        exercises.GetExercises(ids, names);
        QCOMPARE(ids, QList<qint32>({1, 2}));
        QList<qint32> programIds;
        programs.GetAllProgramIds(programIds);
        QCOMPARE(programIds, QList<qint32>({p1, p2, p3}));
        programs.GetPrograms(programIds, names);
        QCOMPARE(programIds, QList<qint32>({p1, p2}));
    }

    void exerciseIdOfName()
    {
        TExercises exercises;
        exercises.AddExercise(QStringLiteral("Bänkpress"));
        const qint32 deleted = exercises.AddExercise(QStringLiteral("Dips"));
        exercises.DeleteExercise(deleted);
        const qint32 again = exercises.AddExercise(QStringLiteral("Dips"));
        QCOMPARE(exercises.ExerciseIdOfName(QString()), -1);
        QCOMPARE(exercises.ExerciseIdOfName(QStringLiteral("Bänkpress")), 1);
        // The first item of that name, a Deleted one included.
        QCOMPARE(exercises.ExerciseIdOfName(QStringLiteral("Dips")), deleted);
        QVERIFY(again != deleted);
        QCOMPARE(exerciseError([&] { exercises.ExerciseIdOfName(QStringLiteral("bänkpress")); }), QStringLiteral("Exercises 04"));
        QCOMPARE(exerciseError([&] { exercises.ExerciseIdOfName(QStringLiteral("Bänkpress ")); }), QStringLiteral("Exercises 04"));
    }

    void unknownIds()
    {
        TTestDiary diary;
        TRegisters r(diary.Connection());
        r.exercises.AddExercise(QStringLiteral("A"));
        r.programs.AddProgram(QStringLiteral("P"), QString());
        const QList<std::pair<const char *, std::function<void()>>> exerciseCalls = {
            {"RenameExercise", [&] { r.exercises.RenameExercise(2, QStringLiteral("B")); }},
            {"DeleteExercise", [&] { r.exercises.DeleteExercise(2); }},
            {"GetExerciseName", [&] { r.exercises.GetExerciseName(0); }},
            {"IsExerciseDeleted", [&] { r.exercises.IsExerciseDeleted(-1); }},
            {"ProgramCountOfExercise", [&] { r.exercises.ProgramCountOfExercise(2); }},
        };
        for (const auto &[name, call] : exerciseCalls)
            QVERIFY2(exerciseError(call) == QStringLiteral("Exercises 01"), name);
        QVERIFY(!r.exercises.ExerciseExists(2));

        const QList<std::pair<const char *, std::function<void()>>> programCalls = {
            {"RenameProgram", [&] { r.programs.RenameProgram(2, QStringLiteral("Q")); }},
            {"GetProgramName", [&] { r.programs.GetProgramName(2); }},
            {"GetProgramComment", [&] { r.programs.GetProgramComment(2); }},
            {"SetProgramComment", [&] { r.programs.SetProgramComment(2, QString()); }},
            {"GetProgramExercises", [&] { r.programs.GetProgramExercises(2); }},
            {"SetProgramExercises", [&] { r.programs.SetProgramExercises(2, TProgramExercises()); }},
            {"DeleteProgram", [&] { r.programs.DeleteProgram(2); }},
            {"IsProgramDeleted", [&] { r.programs.IsProgramDeleted(2); }},
            {"ExerciseSlot", [&] { r.programs.ExerciseSlot(2, 1); }},
            {"ExerciseCountOfProgram", [&] { r.programs.ExerciseCountOfProgram(0); }},
            {"WorkoutUseCount", [&] { r.programs.WorkoutUseCount(2); }},
            {"ExercisesChangedWhileUsed", [&] { r.programs.ExercisesChangedWhileUsed(2); }},
        };
        for (const auto &[name, call] : programCalls)
            QVERIFY2(programError(call) == QStringLiteral("ExerciseProgram 01"), name);
    }

    void programsUsedByWorkouts()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters r(db);
        for (const char *name : {"A", "B", "C"})
            r.exercises.AddExercise(QLatin1String(name));
        r.exercises.ApplyExercises();
        const qint32 used = r.programs.AddProgram(QStringLiteral("Används"), QString());
        r.programs.SetProgramExercises(used, slotsOf({"1", "2"}));
        const qint32 unused = r.programs.AddProgram(QStringLiteral("Oanvänt"), QString());
        r.programs.SetProgramExercises(unused, slotsOf({"1"}));
        r.programs.ApplyPrograms();
        followProgram(db, 1, used);
        followProgram(db, 2, used);

        QCOMPARE(r.programs.WorkoutUseCount(used), 2);
        QCOMPARE(r.programs.WorkoutUseCount(unused), 0);
        QCOMPARE(programError([&] { r.programs.DeleteProgram(used); }), QStringLiteral("ExerciseProgram 04"));
        QVERIFY(!r.programs.IsProgramDeleted(used));

        // Only a change of the exercises of a used program counts.
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(used));
        r.programs.RenameProgram(used, QStringLiteral("Nytt namn"));
        r.programs.SetProgramComment(used, QStringLiteral("Ny kommentar"));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(used));
        r.programs.SetProgramExercises(used, slotsOf({"1", "2", "3"}));
        QVERIFY(r.programs.ExercisesChangedWhileUsed(used));
        r.programs.SetProgramExercises(unused, slotsOf({"3"}));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(unused));
        // Setting the old slots back is no change.
        r.programs.SetProgramExercises(used, slotsOf({"1", "2"}));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(used));

        // Programs appended since the last load are compared with nothing:
        // one whose id workouts already name counts as changed.
        const qint32 fresh = r.programs.AddProgram(QStringLiteral("Ny"), QString());
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(fresh));
        followProgram(db, 3, fresh);
        QVERIFY(r.programs.ExercisesChangedWhileUsed(fresh));

        // After an apply or a load the table is the reference again.
        r.programs.SetProgramExercises(used, slotsOf({"3"}));
        r.programs.ApplyPrograms();
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(used));
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(fresh));
        r.programs.SetProgramExercises(used, slotsOf({"2"}));
        r.programs.LoadPrograms();
        QVERIFY(!r.programs.ExercisesChangedWhileUsed(used));
        QCOMPARE(textsOf(r.programs.GetProgramExercises(used)), QStringList{"3"});

        r.programs.DeleteProgram(unused);
        r.programs.ApplyPrograms();
        QCOMPARE(programRow(db, unused), QString());
    }

    void cleanupTestCase() { m_slotDiary.reset(); }

    void setDatabaseTestsTheConnection()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        db.Close();
        TExercisePrograms programs;
        programs.AddProgram(QStringLiteral("P"), QString());
        programs.SetDatabase(&db);
        QVERIFY(!db.Connected());
        QCOMPARE(programError([&] { programs.GetProgramName(1); }), QStringLiteral("ExerciseProgram 01"));

        TDbConnection missing(QStringLiteral("tst_Exercises-missing"));
        missing.SetDatabaseName(diary.Folder() + QStringLiteral("Corvale4.gdb"));
        missing.Params() = db.Params();
        QVERIFY_THROWS_EXCEPTION(EDbClientError, programs.SetDatabase(&missing));

        TExercises exercises;
        exercises.AddExercise(QStringLiteral("A"));
        exercises.SetDatabase(nullptr);
        QVERIFY(!exercises.ExerciseExists(1));
        QVERIFY_THROWS_EXCEPTION(EDbMiscError, exercises.LoadExercises());
    }

private:
    std::unique_ptr<TTestDiary> m_slotDiary;
};

QTEST_GUILESS_MAIN(tst_Exercises)
#include "tst_Exercises.moc"
