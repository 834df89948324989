#pragma once

#include "model/ClasshieTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class TExercisePrograms;

// One exercise of a workout: its name, sets and repetitions ("3x10") and
// load in kg with one decimal.
struct TWorkoutExercise
{
    QString Name = QStringLiteral("-");
    QString Reps = QStringLiteral("0x0");
    QString Load = QStringLiteral("-1");
};

// The exercises of a workout: slots 1..15 (indexes 0..14) follow the
// program, slots 16..19 (indexes 15..18) are the four free exercises.
inline constexpr int WorkoutProgramSlots = 15;
inline constexpr int WorkoutFreeSlots = 4;
using TWorkoutExercises = std::array<TWorkoutExercise, WorkoutProgramSlots + WorkoutFreeSlots>;

// One strength record: the heaviest qualifying load of an exercise. Program
// is empty for a workout without a program; Count is the number of
// qualifying sessions where the caller counts them.
struct TWRecordItem
{
    QString Date;
    QString Place;
    QString Program;
    QString Exercise;
    QString Weight;
    QString Reps;
    QString Count;
};

// A strength workout (WOR): up to 15 exercises of the program it follows
// and four free exercises, each with sets x repetitions and a load. It
// stores one Workout row and, when it follows a program, one
// WorkoutExercisePrograms row. The names of the program exercises are not
// stored: they come from the program.
class TWorkout final : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TWorkout)
public:
    TWorkout();
    TActivityFamily Family() const override { return TActivityFamily::Workout; }

    // The programs register; borrowed.
    void SetExercisePrograms(TExercisePrograms *programs) { m_programs = programs; }
    TExercisePrograms *GetExercisePrograms() const { return m_programs; }

    // Sets all slots: names as given, repetitions through NormalizeReps,
    // loads through NormalizeDecimal with 0 as no value. A load that is no
    // number raises EConvertError and changes nothing. Clears the program,
    // so SetProgram must follow for a workout that has one.
    void SetExercises(const TWorkoutExercises &exercises);
    void GetExercises(TWorkoutExercises &exercises) const { exercises = m_exercises; }
    // The program followed, as the text of its id; empty (or blank) for
    // none. For a program, the program slots past the program's exercises
    // are cleared. Without a programs register "Classhie 07", a program the
    // register does not know "Classhie 06" (EActivityError); then nothing
    // changes.
    void SetProgram(const QString &text);
    // "-1" until set; empty when the workout follows no program.
    QString GetProgram() const { return m_program; }
    // Takes the program id as read from the diary (empty for none),
    // unchecked and without touching the slots; for loading the programs of
    // many workouts in one query.
    void SetStoredProgram(const QString &text) { m_program = text; }

    // Every blank removed; "x" alone is no value, "x10" is "1x10" and "3x"
    // is "3x1".
    static QString NormalizeReps(const QString &text);
    // True when both minimums are 0. Otherwise the text must hold sets, an
    // "x" (or "X") and repetitions, with sets >= minSets and repetitions
    // >= minReps; parts that are no whole numbers raise EConvertError.
    static bool RepsAtLeast(const QString &reps, int minSets, int minReps);
    // The names of the 15 slots of a workout without a program.
    static const QStringList &BasicExerciseNames();

    // Workouts with their session filters and, when filter.ProgramId is
    // given, only those that follow that program. The list rows carry the
    // loads of the 15 program slots and the program.
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

    // Appends a record item for every workout of the program with a load or
    // repetitions in `slot` ("1".."15"; anything else raises EConvertError)
    // whose repetitions pass RepsAtLeast, by date.
    void ProgramRecords(QList<TWRecordItem> &list, const QString &exerciseName, int minReps, int minSets, qint32 programId,
                        const QString &slot);
    // For each of the 15 slots of workouts without a program: the heaviest
    // (on equal loads the latest) session whose repetitions pass
    // RepsAtLeast, appended with Count = the number of such sessions when
    // that is at least 1 and at least minCount.
    void FreeRecords(QList<TWRecordItem> &list, int minSets, int minCount, int minReps);

protected:
    void AddInsertTypeRow() override;
    void AddInsertProgram() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddUpdateProgram() override;
    void AddDeleteTypeRow() override;
    void AddDeleteProgram() override;
    void LoadListRow() override;

private:
    TWorkoutExercises m_exercises;
    QString m_program = QStringLiteral("-1");
    TExercisePrograms *m_programs = nullptr;
};
