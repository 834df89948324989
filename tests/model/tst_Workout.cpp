// Strength workouts stored in, read from and removed from a real diary, with
// their programs, list rows and strength records.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"

#include <QtTest>

#include <functional>

namespace
{
using TRow = QMap<QString, QString>;

// One row of a table as texts ("<null>" for null), or an empty map.
TRow row(TDbConnection &db, const QString &table, const QString &key, int nr)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select * from %1 where %2 = :nr").arg(table, key));
    query.SetInteger(QStringLiteral("nr"), nr);
    query.Open();
    TRow values;
    if (query.Eof())
        return values;
    for (int i = 0; i < query.FieldCount(); ++i)
        values.insert(query.FieldName(i), query.FieldIsNull(i) ? QStringLiteral("<null>") : query.FieldAsText(i));
    return values;
}

// The table WorkoutExercisePrograms as "wonr:program" lines.
QStringList programRows(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select WoNr, ExProgId from WorkoutExercisePrograms order by WoNr, ExProgId"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows.append(QStringLiteral("%1:%2").arg(query.FieldAsInteger(0)).arg(query.FieldAsInteger(1)));
    return rows;
}

int count(TDbConnection &db, const QString &table)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select count(*) from ") + table);
    query.Open();
    return int(query.FieldAsInteger(0));
}

void execute(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

TProgramExercises programSlots(int exerciseCount)
{
    TProgramExercises slotTexts;
    for (int i = 0; i < exerciseCount; ++i)
        slotTexts[std::size_t(i)] = QString::number(i % 3 + 1);
    return slotTexts;
}

// Exercises 1..3 and programs with the given numbers of exercises, ids 1,
// 2, ... in that order, all in the diary.
struct TRegisters
{
    TRegisters(TDbConnection &db, const QList<int> &programSizes)
    {
        exercises.SetDatabase(&db);
        programs.SetDatabase(&db);
        exercises.SetExercisePrograms(&programs);
        programs.SetExercises(&exercises);
        for (const char *name : {"Bänkpress", "Knäböj", "Marklyft"})
            exercises.AddExercise(QString::fromUtf8(name));
        exercises.ApplyExercises();
        int n = 0;
        for (int size : programSizes) {
            const qint32 id = programs.AddProgram(QStringLiteral("Program %1").arg(++n), QString());
            programs.SetProgramExercises(id, programSlots(size));
        }
        programs.ApplyPrograms();
    }
    TExercises exercises;
    TExercisePrograms programs;
};

std::unique_ptr<TWorkout> makeWorkout(TDbConnection &db, int nr, TExercisePrograms *programs = nullptr,
                                      const QString &date = QStringLiteral("2024-05-17"))
{
    auto workout = std::make_unique<TWorkout>();
    workout->SetDatabase(&db);
    workout->SetSessionNr(nr);
    workout->SetExercisePrograms(programs);
    workout->SetSessionData(date, QStringLiteral("Gymmet"), QString(), QString());
    workout->SetComment(QString());
    return workout;
}

// Every slot filled: program slot k (1..15) "Övning k", "kx(k+1)" and
// k*10 + 0.5 kg; free slot j (1..4) "Fri j", "2x20" and j*5 kg.
TWorkoutExercises fullSlots()
{
    TWorkoutExercises slotValues;
    for (int k = 1; k <= WorkoutProgramSlots; ++k)
        slotValues[std::size_t(k - 1)] = TWorkoutExercise{QStringLiteral("Övning %1").arg(k), QStringLiteral("%1x%2").arg(k).arg(k + 1),
                                                          QStringLiteral("%1.5").arg(k * 10)};
    for (int j = 1; j <= WorkoutFreeSlots; ++j)
        slotValues[std::size_t(WorkoutProgramSlots + j - 1)] =
            TWorkoutExercise{QStringLiteral("Fri %1").arg(j), QStringLiteral("2x20"), QString::number(j * 5)};
    return slotValues;
}

TWorkoutExercises exercisesOf(const TWorkout &workout)
{
    TWorkoutExercises slotValues;
    workout.GetExercises(slotValues);
    return slotValues;
}

// The slots as "name|reps|load" texts, for readable comparisons.
QStringList texts(const TWorkoutExercises &slotValues)
{
    QStringList lines;
    for (const TWorkoutExercise &slot : slotValues)
        lines.append(slot.Name + QLatin1Char('|') + slot.Reps + QLatin1Char('|') + slot.Load);
    return lines;
}

// The message of the EActivityError the call raised, or "none".
QString activityError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EActivityError &e) {
        return e.Message();
    }
    return QStringLiteral("none");
}
} // namespace

class tst_Workout : public QObject
{
    Q_OBJECT

private slots:
    void slotValuesAreNormalised_data()
    {
        QTest::addColumn<QString>("reps");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("normalReps");
        QTest::addColumn<QString>("normalLoad");
        QTest::newRow("blanks around and inside") << " 3 x 10 " << "80" << "3x10" << "80.0";
        QTest::newRow("x alone") << "x" << "0" << "" << "";
        QTest::newRow("x with blanks") << " x " << " 0.0 " << "" << "";
        QTest::newRow("sets only") << "3x" << "72.26" << "3x1" << "72.3";
        QTest::newRow("repetitions only") << "x10" << ".5" << "1x10" << "0.5";
        QTest::newRow("blanks inside the numbers") << "1 0 x 1 2" << "1 00" << "10x12" << "100.0";
        QTest::newRow("empty") << "" << "" << "" << "";
        QTest::newRow("rounds to no load") << "5x5" << "0.04" << "5x5" << "";
        QTest::newRow("lone point") << "2x8" << "." << "2x8" << "";
        QTest::newRow("already normal") << "4x12" << "22.5" << "4x12" << "22.5";
    }

    void slotValuesAreNormalised()
    {
        QFETCH(QString, reps);
        QFETCH(QString, load);
        QFETCH(QString, normalReps);
        QFETCH(QString, normalLoad);
        QCOMPARE(TWorkout::NormalizeReps(reps), normalReps);

        // Program slots and free slots alike; names are kept as typed.
        TWorkout workout;
        TWorkoutExercises given;
        for (std::size_t i = 0; i < given.size(); ++i)
            given[i] = TWorkoutExercise{QStringLiteral(" Namn %1 ").arg(i), reps, load};
        workout.SetExercises(given);
        const TWorkoutExercises got = exercisesOf(workout);
        for (std::size_t i = 0; i < got.size(); ++i) {
            QCOMPARE(got[i].Name, given[i].Name);
            QCOMPARE(got[i].Reps, normalReps);
            QCOMPARE(got[i].Load, normalLoad);
        }
    }

    void repsAtLeast_data()
    {
        QTest::addColumn<QString>("reps");
        QTest::addColumn<int>("minSets");
        QTest::addColumn<int>("minReps");
        QTest::addColumn<bool>("result");
        QTest::newRow("too few repetitions") << "3x8" << 3 << 10 << false;
        QTest::newRow("no minimums") << "3x8" << 0 << 0 << true;
        QTest::newRow("empty, no minimums") << "" << 0 << 0 << true;
        QTest::newRow("no repetitions text, no minimums") << "tungt" << 0 << 0 << true;
        QTest::newRow("enough") << "3x10" << 3 << 8 << true;
        QTest::newRow("too few sets") << "2x12" << 3 << 8 << false;
        QTest::newRow("no repetitions") << "3x" << 3 << 0 << false;
        QTest::newRow("empty") << "" << 3 << 8 << false;
        QTest::newRow("x alone") << "x" << 1 << 0 << false;
        QTest::newRow("capital X") << "3X10" << 3 << 8 << true;
        QTest::newRow("no x") << "10" << 1 << 1 << false;
        QTest::newRow("no sets") << "x10" << 0 << 1 << false;
        QTest::newRow("blanks around the parts") << " 4 x 12 " << 4 << 12 << true;
        QTest::newRow("only the sets count") << "5x1" << 5 << 0 << true;
    }

    void repsAtLeast()
    {
        QFETCH(QString, reps);
        QFETCH(int, minSets);
        QFETCH(int, minReps);
        QFETCH(bool, result);
        QCOMPARE(TWorkout::RepsAtLeast(reps, minSets, minReps), result);
    }

    void repsThatAreNoNumbers()
    {
        QVERIFY_THROWS_EXCEPTION(EConvertError, TWorkout::RepsAtLeast(QStringLiteral("tre x 10"), 1, 1));
        QVERIFY_THROWS_EXCEPTION(EConvertError, TWorkout::RepsAtLeast(QStringLiteral("3x10x2"), 1, 1));
    }

    void choosingAProgramClearsTheSlotsPastIt_data()
    {
        QTest::addColumn<int>("programSize");
        QTest::newRow("no exercises") << 0;
        QTest::newRow("eight exercises") << 8;
        QTest::newRow("fifteen exercises") << 15;
    }

    void choosingAProgramClearsTheSlotsPastIt()
    {
        QFETCH(int, programSize);
        TExercisePrograms programs;
        const qint32 id = programs.AddProgram(QStringLiteral("P"), QString());
        programs.SetProgramExercises(id, programSlots(programSize));
        TWorkout workout;
        workout.SetExercisePrograms(&programs);
        workout.SetExercises(fullSlots());
        const QStringList before = texts(exercisesOf(workout));
        QCOMPARE(workout.GetProgram(), QString());

        workout.SetProgram(QString::number(id));
        QCOMPARE(workout.GetProgram(), QString::number(id));
        const QStringList after = texts(exercisesOf(workout));
        for (int i = 0; i < int(after.size()); ++i) {
            const bool cleared = i >= programSize && i < WorkoutProgramSlots;
            QCOMPARE(after.at(i), cleared ? QStringLiteral("||") : before.at(i));
        }

        // Setting the slots again drops the program.
        workout.SetExercises(fullSlots());
        QCOMPARE(workout.GetProgram(), QString());
    }

    void badValuesChangeNothing()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {2});
        auto owned = makeWorkout(db, 3);
        TWorkout *workout = owned.get();
        workout->SetExercises(fullSlots());
        const QStringList before = texts(exercisesOf(*workout));

        // No programs register.
        QCOMPARE(activityError([&] { workout->SetProgram(QStringLiteral("1")); }), QStringLiteral("Classhie 07"));
        // A blank text names no program and needs none.
        workout->SetProgram(QStringLiteral("  "));
        workout->SetExercisePrograms(&registers.programs);
        QCOMPARE(activityError([&] { workout->SetProgram(QStringLiteral("2")); }), QStringLiteral("Classhie 06"));
        QCOMPARE(activityError([&] { workout->SetProgram(QStringLiteral("ett")); }), QStringLiteral("Classhie 06"));
        TWorkoutExercises bad = fullSlots();
        bad[2].Load = QStringLiteral("8o");
        QVERIFY_THROWS_EXCEPTION(EConvertError, workout->SetExercises(bad));
        QCOMPARE(texts(exercisesOf(*workout)), before);
        QCOMPARE(workout->GetProgram(), QStringLiteral("  "));

        // What is stored is what was set before the refusals.
        workout->Insert();
        const TRow stored = row(db, QStringLiteral("Workout"), QStringLiteral("WoNr"), 3);
        QCOMPARE(stored.value(QStringLiteral("WOEX3")), QStringLiteral("30.50"));
        QCOMPARE(stored.value(QStringLiteral("WOEX15")), QStringLiteral("150.50"));
        QCOMPARE(programRows(db), QStringList());
    }

    void everyColumnRoundTrips()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {8});
        auto workout = makeWorkout(db, 4, &registers.programs);
        workout->SetExercises(fullSlots());
        workout->SetComment(QStringLiteral("Tungt pass"));
        workout->Insert();
        QCOMPARE(workout->GetState(), TActivity::TState::Stored);

        TRow stored = row(db, QStringLiteral("Workout"), QStringLiteral("WoNr"), 4);
        for (int k = 1; k <= WorkoutProgramSlots; ++k) {
            QCOMPARE(stored.value(QStringLiteral("WOEX%1").arg(k)), QStringLiteral("%1.50").arg(k * 10));
            QCOMPARE(stored.value(QStringLiteral("WOREP%1").arg(k)), QStringLiteral("%1x%2").arg(k).arg(k + 1));
        }
        for (int k = 16; k <= 22; ++k) {
            QCOMPARE(stored.value(QStringLiteral("WOEX%1").arg(k)), QStringLiteral("<null>"));
            QCOMPARE(stored.value(QStringLiteral("WOREP%1").arg(k)), QStringLiteral(" "));
        }
        for (int j = 1; j <= WorkoutFreeSlots; ++j) {
            QCOMPARE(stored.value(QStringLiteral("WOXTEXT%1").arg(j)), QStringLiteral("Fri %1").arg(j));
            QCOMPARE(stored.value(QStringLiteral("WOXEX%1").arg(j)), QStringLiteral("%1.00").arg(j * 5));
            QCOMPARE(stored.value(QStringLiteral("WOXREP%1").arg(j)), QStringLiteral("2x20"));
        }
        QCOMPARE(stored.value(QStringLiteral("WOCOMMENT")), QStringLiteral("Tungt pass"));
        QCOMPARE(programRows(db), QStringList());
        QCOMPARE(row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 4).value(QStringLiteral("SESSIONACTIVITY")),
                 QStringLiteral("WOR"));

        // Loading by number alone: the program names are not stored.
        auto loaded = makeWorkout(db, 4);
        loaded->Load();
        TWorkoutExercises expected = fullSlots();
        for (int k = 0; k < WorkoutProgramSlots; ++k)
            expected[std::size_t(k)].Name.clear();
        for (TWorkoutExercise &slot : expected)
            slot.Load = TActivity::NormalizeDecimal(slot.Load);
        QCOMPARE(texts(exercisesOf(*loaded)), texts(expected));
        QCOMPARE(loaded->GetComment(), QStringLiteral("Tungt pass"));
        QCOMPARE(loaded->GetProgram(), QString());

        // Following a program of 8 exercises clears program slots 9..15,
        // also in the table, and stores the program row.
        loaded->SetExercisePrograms(&registers.programs);
        loaded->SetProgram(QStringLiteral("1"));
        loaded->SetComment(QString());
        loaded->Update();
        stored = row(db, QStringLiteral("Workout"), QStringLiteral("WoNr"), 4);
        QCOMPARE(stored.value(QStringLiteral("WOEX8")), QStringLiteral("80.50"));
        for (int k = 9; k <= 22; ++k) {
            QCOMPARE(stored.value(QStringLiteral("WOEX%1").arg(k)), QStringLiteral("<null>"));
            QCOMPARE(stored.value(QStringLiteral("WOREP%1").arg(k)), QStringLiteral(" "));
        }
        QCOMPARE(stored.value(QStringLiteral("WOXTEXT4")), QStringLiteral("Fri 4"));
        QCOMPARE(stored.value(QStringLiteral("WOCOMMENT")), QStringLiteral(" "));
        QCOMPARE(programRows(db), QStringList{"4:1"});

        // A workout loaded by number keeps its program through an update.
        auto again = makeWorkout(db, 4);
        again->Load();
        QCOMPARE(again->GetProgram(), QStringLiteral("1"));
        QCOMPARE(again->GetComment(), QString());
        again->Update();
        QCOMPARE(programRows(db), QStringList{"4:1"});

        // Setting the slots without choosing a program again drops it.
        again->SetExercises(exercisesOf(*again));
        again->Update();
        QCOMPARE(programRows(db), QStringList());

        again->SetExercisePrograms(&registers.programs);
        again->SetProgram(QStringLiteral("1"));
        again->Update();
        again->Delete();
        for (const char *table : {"TrainingSession", "Workout", "WorkoutExercisePrograms"})
            QCOMPARE(count(db, QLatin1String(table)), 0);
    }

    void aFailingStatementLeavesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("failing");
        QTest::newRow("insert, workout row") << "insert" << "workout";
        QTest::newRow("insert, program row") << "insert" << "program";
        QTest::newRow("update, workout row") << "update" << "workout";
        QTest::newRow("update, program row") << "update" << "program";
        QTest::newRow("delete, workout row") << "delete" << "workout";
    }

    void aFailingStatementLeavesNothing()
    {
        QFETCH(QString, operation);
        QFETCH(QString, failing);
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {3, 2});
        // The diary refuses to let a workout follow program 2.
        execute(db, QStringLiteral("create exception refused 'program 2 refused'"));
        execute(db, QStringLiteral("create trigger refuse_program2 for WorkoutExercisePrograms before insert as "
                                   "begin if (new.ExProgId = 2) then exception refused; end"));

        auto workout = makeWorkout(db, 5, &registers.programs);
        workout->SetSessionData(QStringLiteral("2024-05-17"), QStringLiteral("Före"), QString(), QString());
        workout->SetExercises(fullSlots());
        if (operation == QLatin1String("insert")) {
            if (failing == QLatin1String("workout"))
                execute(db, QStringLiteral("insert into Workout (WoNr, WoComment) values (5, 'stray')"));
            workout->SetProgram(failing == QLatin1String("program") ? QStringLiteral("2") : QStringLiteral("1"));
        } else {
            workout->SetProgram(QStringLiteral("1"));
            workout->Insert();
            if (failing == QLatin1String("workout"))
                execute(db, QStringLiteral("delete from Workout where WoNr = 5"));
            TWorkoutExercises changed = fullSlots();
            changed[0].Load = QStringLiteral("999");
            workout->SetExercises(changed);
            workout->SetProgram(failing == QLatin1String("program") ? QStringLiteral("2") : QStringLiteral("1"));
        }
        const TRow session = row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5);
        const TRow stored = row(db, QStringLiteral("Workout"), QStringLiteral("WoNr"), 5);
        const QStringList programs = programRows(db);
        const TActivity::TState state = workout->GetState();
        workout->SetSessionData(QStringLiteral("2024-06-01"), QStringLiteral("Efter"), QString(), QString());

        try {
            if (operation == QLatin1String("insert"))
                workout->Insert();
            else if (operation == QLatin1String("update"))
                workout->Update();
            else
                workout->Delete();
            QFAIL("the operation should have failed");
        } catch (const EException &) {
        }
        QVERIFY(!db.InTransaction());
        QCOMPARE(workout->GetState(), state);
        QCOMPARE(row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5), session);
        QCOMPARE(row(db, QStringLiteral("Workout"), QStringLiteral("WoNr"), 5), stored);
        QCOMPARE(programRows(db), programs);
        if (operation != QLatin1String("insert"))
            QCOMPARE(programs, QStringList{"5:1"});
    }

    void searchListsLoadsAndProgram()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {2, 3});
        TWorkoutExercises loads;
        for (int k = 1; k <= WorkoutProgramSlots; ++k)
            loads[std::size_t(k - 1)] = TWorkoutExercise{QString(), QStringLiteral("3x10"), QString::number(k)};
        for (int j = 0; j < WorkoutFreeSlots; ++j)
            loads[std::size_t(WorkoutProgramSlots + j)] = TWorkoutExercise{QStringLiteral("Fri"), QStringLiteral("1x1"), QStringLiteral("7")};
        const QList<std::pair<const char *, const char *>> workouts{{"2024-01-10", "1"}, {"2024-02-10", "2"}, {"2024-03-10", ""}};
        int nr = 0;
        for (const auto &[date, program] : workouts) {
            auto workout = makeWorkout(db, ++nr, &registers.programs, QLatin1String(date));
            workout->SetExercises(loads);
            workout->SetProgram(QLatin1String(program));
            workout->Insert();
        }

        struct TCase
        {
            QString programId, dateFrom;
            QList<int> numbers;
        };
        const QList<TCase> cases{{QString(), QString(), {1, 2, 3}},
                                 {QStringLiteral("1"), QString(), {1}},
                                 {QStringLiteral("2"), QStringLiteral("2024-02-01"), {2}},
                                 {QStringLiteral("2"), QStringLiteral("2024-02-11"), {}}};
        for (const TCase &c : cases) {
            // With the programs register and without it (the activities
            // collection gives the searching object only the connection).
            for (TExercisePrograms *programs : {&registers.programs, static_cast<TExercisePrograms *>(nullptr)}) {
                TWorkout searcher;
                searcher.SetDatabase(&db);
                searcher.SetExercisePrograms(programs);
                std::vector<std::unique_ptr<TActivity>> found;
                searcher.SetRowFoundEvent([&](std::unique_ptr<TActivity> &object) { found.push_back(std::move(object)); });
                TSearchParams filter;
                filter.ProgramId = c.programId;
                filter.DateFrom = c.dateFrom;
                QList<int> numbers;
                searcher.Search(filter, numbers);
                QCOMPARE(numbers, c.numbers);
                QCOMPARE(int(found.size()), int(c.numbers.size()));
                for (const auto &object : found) {
                    QCOMPARE(object->GetState(), TActivity::TState::Listed);
                    auto *listed = dynamic_cast<TWorkout *>(object.get());
                    QVERIFY(listed);
                    const QString program = QLatin1String(workouts.at(listed->GetSessionNr() - 1).second);
                    QCOMPARE(listed->GetProgram(), program);
                    // The loads of the program slots, as far as the program
                    // goes (all 15 without one); nothing else.
                    const int used = program == QLatin1String("1") ? 2 : program == QLatin1String("2") ? 3 : WorkoutProgramSlots;
                    const TWorkoutExercises got = exercisesOf(*listed);
                    for (int k = 1; k <= WorkoutProgramSlots; ++k)
                        QCOMPARE(got[std::size_t(k - 1)].Load, k <= used ? QStringLiteral("%1.0").arg(k) : QString());
                    QCOMPARE(got[0].Reps, QString());
                    QCOMPARE(got[WorkoutProgramSlots].Load, QString());
                }
            }
        }

        // Completing a listed workout reads the rest and keeps its program.
        TWorkout searcher;
        searcher.SetDatabase(&db);
        searcher.SetExercisePrograms(&registers.programs);
        std::unique_ptr<TActivity> listed;
        searcher.SetRowFoundEvent([&](std::unique_ptr<TActivity> &object) { listed = std::move(object); });
        TSearchParams onlySecond;
        onlySecond.ProgramId = QStringLiteral("2");
        QList<int> numbers;
        searcher.Search(onlySecond, numbers);
        QVERIFY(listed);
        listed->SetDatabase(&db);
        listed->Load();
        auto *workout = static_cast<TWorkout *>(listed.get());
        QCOMPARE(workout->GetProgram(), QStringLiteral("2"));
        QCOMPARE(exercisesOf(*workout)[2].Reps, QStringLiteral("3x10"));
        QCOMPARE(exercisesOf(*workout)[WorkoutProgramSlots].Name, QStringLiteral("Fri"));

        // A yearly summary counts the workouts.
        TSettingsValues settings;
        QList<TSummary> years;
        QString total;
        searcher.GetYearSummaries(1, 1, settings, &years, total, 12, 31);
        QCOMPARE(total, QStringLiteral("3"));
    }

    void strengthRecords()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {});
        // Bänkpress (1) is the second exercise of "Styrka" and the first of
        // "Annat".
        const qint32 strength = registers.programs.AddProgram(QStringLiteral("Styrka"), QString());
        registers.programs.SetProgramExercises(strength, {QStringLiteral("2"), QStringLiteral("1")});
        const qint32 other = registers.programs.AddProgram(QStringLiteral("Annat"), QString());
        registers.programs.SetProgramExercises(other, {QStringLiteral("1")});
        registers.programs.ApplyPrograms();

        struct TEntry
        {
            const char *date, *place, *program;
            int slot;
            const char *load, *reps;
        };
        const QList<TEntry> entries{
            {"2024-01-01", "Gym", "Styrka", 2, "80", "3x10"},   {"2024-02-01", "Gym", "Styrka", 2, "90", "2x12"},
            {"2024-03-01", "Hemma", "Styrka", 2, "", ""},       {"2024-04-01", "Hemma", "Styrka", 2, "", "3x8"},
            {"2024-05-01", "Gym", "Annat", 1, "200", "5x5"},    {"2024-06-01", "Gym", "", 1, "100", "3x5"},
            {"2024-07-01", "Ute", "", 1, "100", "3x5"},         {"2024-08-01", "Gym", "", 1, "120", "1x1"},
            {"2024-08-02", "Gym", "", 15, "", "3x30"},
        };
        int nr = 0;
        for (const TEntry &entry : entries) {
            auto workout = makeWorkout(db, ++nr, &registers.programs, QLatin1String(entry.date));
            workout->SetSessionData(QLatin1String(entry.date), QLatin1String(entry.place), QString(), QString());
            TWorkoutExercises slotValues;
            for (TWorkoutExercise &slot : slotValues)
                slot = TWorkoutExercise{QString(), QString(), QString()};
            slotValues[std::size_t(entry.slot - 1)] = TWorkoutExercise{QString(), QLatin1String(entry.reps), QLatin1String(entry.load)};
            workout->SetExercises(slotValues);
            const QString program = QLatin1String(entry.program);
            workout->SetProgram(program.isEmpty() ? QString() : QString::number(program == QLatin1String("Styrka") ? strength : other));
            workout->Insert();
        }
        TWorkout records;
        records.SetDatabase(&db);

        // One item per qualifying workout of the program, by date.
        struct TProgramCase
        {
            int minSets, minReps;
            QStringList items; // date weight reps
        };
        const QList<TProgramCase> programCases{
            {0, 0, {"2024-01-01 80.0 3x10", "2024-02-01 90.0 2x12", "2024-04-01  3x8"}},
            {3, 8, {"2024-01-01 80.0 3x10", "2024-04-01  3x8"}},
            {3, 10, {"2024-01-01 80.0 3x10"}},
        };
        for (const TProgramCase &c : programCases) {
            TWRecordItem earlier;
            earlier.Date = QStringLiteral("kept");
            QList<TWRecordItem> list{earlier};
            records.ProgramRecords(list, QStringLiteral("Bänkpress"), c.minReps, c.minSets, strength, QStringLiteral("2"));
            QCOMPARE(list.first().Date, QStringLiteral("kept"));
            QStringList items;
            for (qsizetype i = 1; i < list.size(); ++i) {
                const TWRecordItem &item = list.at(i);
                items.append(item.Date + QLatin1Char(' ') + item.Weight + QLatin1Char(' ') + item.Reps);
                QCOMPARE(item.Program, QStringLiteral("Styrka"));
                QCOMPARE(item.Exercise, QStringLiteral("Bänkpress"));
                QCOMPARE(item.Place, item.Date < QLatin1String("2024-03") ? QStringLiteral("Gym") : QStringLiteral("Hemma"));
            }
            QCOMPARE(items, c.items);
        }
        // The slot becomes part of column names: only 1..15 pass.
        for (const char *slot : {"0", "16", "2 or 1 = 1", ""}) {
            QList<TWRecordItem> list;
            QVERIFY_THROWS_EXCEPTION(EConvertError, records.ProgramRecords(list, QStringLiteral("X"), 0, 0, strength, QLatin1String(slot)));
            QVERIFY(list.isEmpty());
        }

        // Workouts without a program: the heaviest qualifying lift per slot,
        // the later one of equal loads, with the number of qualifying ones.
        struct TFreeCase
        {
            int minSets, minCount, minReps;
            QStringList items; // exercise date place weight reps count
        };
        const QList<TFreeCase> freeCases{
            {3, 1, 5, {"Bröst1 2024-07-01 Ute 100.0 3x5 2", "Situps 2024-08-02 Gym  3x30 1"}},
            {3, 2, 5, {"Bröst1 2024-07-01 Ute 100.0 3x5 2"}},
            {0, 0, 0, {"Bröst1 2024-08-01 Gym 120.0 1x1 3", "Situps 2024-08-02 Gym  3x30 1"}},
            {4, 0, 0, {}},
        };
        for (const TFreeCase &c : freeCases) {
            QList<TWRecordItem> list;
            records.FreeRecords(list, c.minSets, c.minCount, c.minReps);
            QStringList items;
            for (const TWRecordItem &item : list) {
                items.append(QStringList{item.Exercise, item.Date, item.Place, item.Weight, item.Reps, item.Count}.join(QLatin1Char(' ')));
                QCOMPARE(item.Program, QString());
            }
            QCOMPARE(items, c.items);
        }
    }

    // Two workouts with the same date, place and values are two sessions:
    // both are listed and counted.
    void identicalWorkoutsCountEach()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TRegisters registers(db, {2});
        int nr = 0;
        for (const char *program : {"1", "1", "", ""}) {
            auto workout = makeWorkout(db, ++nr, &registers.programs, QStringLiteral("2024-03-01"));
            TWorkoutExercises slotValues;
            for (TWorkoutExercise &slot : slotValues)
                slot = TWorkoutExercise{QString(), QString(), QString()};
            slotValues[1] = TWorkoutExercise{QString(), QStringLiteral("3x10"), QStringLiteral("80")};
            workout->SetExercises(slotValues);
            workout->SetProgram(QLatin1String(program));
            workout->Insert();
        }
        TWorkout records;
        records.SetDatabase(&db);
        QList<TWRecordItem> program;
        records.ProgramRecords(program, QStringLiteral("Knäböj"), 0, 0, 1, QStringLiteral("2"));
        QCOMPARE(program.size(), 2);
        QList<TWRecordItem> free;
        records.FreeRecords(free, 0, 1, 0);
        QCOMPARE(free.size(), 1);
        QCOMPARE(free.first().Exercise, QStringLiteral("Bröst2"));
        QCOMPARE(free.first().Count, QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(tst_Workout)
#include "tst_Workout.moc"
