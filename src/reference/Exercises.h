#pragma once

#include "foundation/DbClient.h"
#include "model/CorvaleTypeDefs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class TExercisePrograms;

// The number of exercises a strength program holds.
inline constexpr int ProgramSlotCount = 15;

// The exercises of a program, slot 1 to 15: each the decimal text of an
// ExerciseId or empty. Filled slots come first.
using TProgramExercises = std::array<QString, ProgramSlotCount>;

// One strength exercise ("övning").
struct TExerciseItem
{
    qint32 ExerciseId = 0;
    QString Name;
    TItemState State = TItemState::New;
};

// One strength program: a named, ordered selection of exercises.
struct TExerciseProgramItem
{
    qint32 ExProgId = 0;
    QString Name;
    TProgramExercises Exercises;
    TItemState State = TItemState::New;
    QString Comment;
};

// The names of exercises and programs as they are kept: every "&", carriage
// return removed, line feeds and tabs made blanks, a name of only white
// space "X", and at most 60 characters. Surrounding blanks are kept.
QString CleanExerciseName(const QString &name);

// The register of strength exercises, kept in memory and written to the
// table Exercises by ApplyExercises. Windows change it freely; loading
// discards memory and reads the table again.
//
// An id that is not in memory raises EExercises "Exercises 01"; an item
// marked Deleted is still found until the register is applied or loaded.
// Using the database before SetDatabase raises EDbMiscError "Query är nil";
// failing statements raise the database layer's EDbClientError. A refused
// operation leaves memory as it was.
class TExercises
{
public:
    TExercises();
    ~TExercises();

    TExercises(const TExercises &) = delete;
    TExercises &operator=(const TExercises &) = delete;

    // The connection to use (owned by the caller, it must outlive the
    // register); empties memory.
    void SetDatabase(TDbConnection *database);
    // The programs register that DeleteExercise and ProgramCountOfExercise
    // consult; borrowed.
    void SetExercisePrograms(TExercisePrograms *programs) { m_programs = programs; }

    // Discards memory and reads every exercise, by name, as a Stored item.
    // On failure memory is left as it was.
    void LoadExercises();
    // Writes memory to the table from the last item to the first: New items
    // are inserted and become Stored, Stored items are updated (changed or
    // not), Deleted items are deleted and dropped. A Deleted item's rows in
    // ExerciseColumns go with it, in one transaction with its own delete, so
    // that its column is unassigned and an exercise that is later given the
    // same id does not take it over. Each item's statements commit on their
    // own unless the connection has a transaction. When a statement fails,
    // the items after it stay written and keep their new state, the failing
    // item and those before it are unchanged, and the error is raised.
    void ApplyExercises();

    // Appends a New exercise with the cleaned name and returns its id: the
    // highest id in memory (Deleted items included) plus 1, or 1. A name
    // taken by another exercise that is not Deleted raises "Exercises 03",
    // the reserved name "Vikt" "Exercises 06". Names that differ only in
    // surrounding blanks count as equal, since the table gives them back
    // trimmed.
    qint32 AddExercise(const QString &name);
    // Gives the exercise the cleaned name, with the checks of AddExercise
    // against the other exercises.
    void RenameExercise(qint32 id, const QString &name);
    // Marks the exercise Deleted; "Exercises 02" when a program that is not
    // Deleted uses it.
    void DeleteExercise(qint32 id);

    QString GetExerciseName(qint32 id) const;
    // The ids and names of the exercises that are not Deleted, in list
    // order; both lists are emptied first.
    void GetExercises(QList<qint32> &ids, QStringList &names) const;
    // The names of all exercises, Deleted ones included; emptied first.
    void GetAllExerciseNames(QStringList &names) const;
    // -1 for an empty name; else the id of the first exercise with exactly
    // that name, Deleted ones included; "Exercises 04" when there is none.
    qint32 ExerciseIdOfName(const QString &name) const;
    bool IsExerciseDeleted(qint32 id) const;
    // True for an id in memory, Deleted or not; never raises.
    bool ExerciseExists(qint32 id) const;
    // The number of programs, not Deleted, that use the exercise;
    // "Exercises 05" without the programs register.
    int ProgramCountOfExercise(qint32 id) const;

private:
    const TExerciseItem &Item(qint32 id) const;
    TExerciseItem &Item(qint32 id);
    void CheckName(const QString &name, qint32 id) const;
    TDbQuery &Query();

    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    std::vector<TExerciseItem> m_items;
    TExercisePrograms *m_programs = nullptr;
};

// The register of strength programs, kept in memory and written to the
// table ExercisePrograms by ApplyPrograms. Beside the items it keeps a
// snapshot of the programs as they are in the table (after the latest load
// or apply), so that a change of a program that workouts follow can be
// noticed before it is written.
//
// An id that is not in memory raises EExerciseProgram "ExerciseProgram 01";
// Deleted items are still found. Using the database before SetDatabase
// raises EDbMiscError "Query är nil"; failing statements raise the database
// layer's EDbClientError. A refused operation leaves memory as it was.
class TExercisePrograms
{
public:
    TExercisePrograms();
    ~TExercisePrograms();

    TExercisePrograms(const TExercisePrograms &) = delete;
    TExercisePrograms &operator=(const TExercisePrograms &) = delete;

    // The connection to use (owned by the caller, it must outlive the
    // register). A connection that is not open is opened and closed once to
    // test it (EDbClientError when that fails). Empties memory.
    void SetDatabase(TDbConnection *database);
    // The exercises register that SetProgramExercises checks slots against;
    // borrowed.
    void SetExercises(TExercises *exercises) { m_exercises = exercises; }

    // Discards memory and reads every program, by name, as a Stored item;
    // then takes the snapshot. On failure memory is left as it was.
    void LoadPrograms();
    // Writes memory to the table from the last item to the first, like
    // TExercises::ApplyExercises; empty slots are written as null, an empty
    // comment as one blank. The snapshot follows every statement that
    // succeeded, so that it always shows what the table holds.
    void ApplyPrograms();

    // Appends a New program with the cleaned name, the first 250 characters
    // of the comment and no exercises; returns its id, numbered like
    // exercises. Program names need not be unique.
    qint32 AddProgram(const QString &name, const QString &comment);
    void RenameProgram(qint32 id, const QString &name);
    QString GetProgramName(qint32 id) const;
    QString GetProgramComment(qint32 id) const;
    // Keeps the first 250 characters.
    void SetProgramComment(qint32 id, const QString &comment);
    TProgramExercises GetProgramExercises(qint32 id) const;
    // Checks the slots, then copies them into the program: a filled slot
    // after an empty one raises "ExerciseProgram 02"; with the exercises
    // register set, a slot naming an exercise that is missing or Deleted
    // raises "ExerciseProgram 03" (a slot that is no whole number raises
    // EConvertError). The same exercise may stand in several slots.
    void SetProgramExercises(qint32 id, const TProgramExercises &exercises);

    // The ids and names of the programs that are not Deleted, in list order;
    // both lists are emptied first.
    void GetPrograms(QList<qint32> &ids, QStringList &names) const;
    // The ids of all programs, Deleted ones included; emptied first.
    void GetAllProgramIds(QList<qint32> &ids) const;
    // Marks the program Deleted; "ExerciseProgram 04" when workouts follow
    // it.
    void DeleteProgram(qint32 id);
    bool IsProgramDeleted(qint32 id) const;

    // True when a program that is not Deleted has the exercise in a slot.
    bool ExerciseInPrograms(qint32 exerciseId) const;
    // The first slot (0 to 14) holding the exercise, or -1.
    int ExerciseSlot(qint32 programId, qint32 exerciseId) const;
    bool ProgramContains(qint32 programId, qint32 exerciseId) const;
    // The number of filled slots.
    int ExerciseCountOfProgram(qint32 id) const;
    // The number of workouts in the database that follow the program.
    int WorkoutUseCount(qint32 id);
    // True when workouts follow the program and its slots differ from those
    // in the table. A program not yet in the table counts as changed when
    // workouts already refer to its id.
    bool ExercisesChangedWhileUsed(qint32 id);

private:
    struct TSnapshotItem
    {
        qint32 ExProgId = 0;
        QString Name;
        TItemState State = TItemState::New;
        TProgramExercises Exercises;
    };

    const TExerciseProgramItem &Item(qint32 id) const;
    TExerciseProgramItem &Item(qint32 id);
    void TakeSnapshot();
    void SetSnapshotOf(const TExerciseProgramItem &item);
    void DropSnapshotOf(qint32 id);
    TDbQuery &Query();

    std::unique_ptr<TDbQuery> m_query;
    std::vector<TExerciseProgramItem> m_items;
    std::vector<TSnapshotItem> m_snapshot;
    TExercises *m_exercises = nullptr;
};
