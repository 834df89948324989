#pragma once

// Strength exercises, programs and workouts saved into the diary of a
// TAppDiary through the application object, as the program's windows save
// them, for the tests of the personal records.

#include "reference/AppDiary.h"

#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"

namespace RecordsDiary
{
// One slot of a workout: slot 1..15, load and repetitions as typed.
struct TLift
{
    int Slot;
    QString Load;
    QString Reps;
};

// A workout saved through the application object, as the entry page saves
// one; `program` -1 for none. Returns its session number.
inline int addWorkout(TAppDiary &diary, const QString &date, const QString &place, qint32 program, const QList<TLift> &lifts)
{
    TCorvaleApp &app = diary.App();
    const int nr = app.NewActivity(diary.Name("WOR"));
    auto &workout = static_cast<TWorkout &>(*app.FindActivity(nr));
    workout.SetSessionData(date, place, QString(), QString());
    workout.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    workout.SetSleep(QStringLiteral("-1"), QString());
    workout.SetComment(QString());
    TWorkoutExercises slotValues;
    for (TWorkoutExercise &slot : slotValues)
        slot = TWorkoutExercise{QString(), QString(), QString()};
    for (const TLift &lift : lifts)
        slotValues[std::size_t(lift.Slot - 1)] = TWorkoutExercise{QString(), lift.Reps, lift.Load};
    workout.SetExercises(slotValues);
    workout.SetProgram(program < 0 ? QString() : QString::number(program));
    app.SaveActivity(nr);
    return nr;
}

inline qint32 addExercise(TAppDiary &diary, const QString &name)
{
    const qint32 id = diary.App().GetExercises().AddExercise(name);
    diary.App().SaveExercises();
    return id;
}

inline qint32 addProgram(TAppDiary &diary, const QString &name, const QList<qint32> &exercises)
{
    TExercisePrograms &programs = diary.App().GetExercisePrograms();
    const qint32 id = programs.AddProgram(name, QString());
    TProgramExercises slotValues;
    for (qsizetype i = 0; i < exercises.size(); ++i)
        slotValues[std::size_t(i)] = QString::number(exercises.at(i));
    programs.SetProgramExercises(id, slotValues);
    diary.App().SaveExercisePrograms();
    return id;
}

} // namespace RecordsDiary
