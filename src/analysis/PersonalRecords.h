#pragma once

// The personal records of a diary: the fastest session on each course of
// the time-and-distance activities, and the heaviest load of each strength
// exercise within the repetition limits of the settings. Numbers and texts
// only; the records window shows them.

#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"

#include <QList>
#include <QString>

#include <functional>

class TActivityFactory;
class TActivityNames;
class TDbConnection;
class TExercisePrograms;
class TExercises;

// One strength lift that may be a record: the values of one slot of one
// workout. Weight is empty for a lift without a load.
struct TStrengthCandidate
{
    int SessionNr = 0;
    QString Date;
    QString Place;
    QString Program;
    QString Weight;
    QString Reps;
};

// The search of the records. The references are borrowed and set before a
// search; the limits come from the settings (SetLimits).
//
// Course records: per time-and-distance activity, one statement over its
// sessions bound to a course with a duration (TTimeDistanceActivity::
// CourseRecords): every session counts, the fastest is the record, a course
// with fewer than RecordNum sessions gives none.
//
// Strength records: every workout is read once, with its date, place,
// program and the 15 slots' loads and repetitions; the records are then
// decided in memory:
// - for each exercise that a program uses, every slot of every program that
//   holds the exercise, in the workouts of that program;
// - for each of the 15 slots of workouts without a program, the basic
//   exercise of that slot.
// A slot is a candidate when it has a load or repetitions and the
// repetitions pass the limits (TWorkout::RepsAtLeast). The record is the
// heaviest candidate, the later date of equal loads, and without any load
// the latest; its Count is the number of workouts with a candidate, every
// workout counted even when two hold the same values. A record needs a Count
// of at least RecordWNum. Program exercises come first, in the order of the
// exercise list, then the basic exercises in slot order.
class TPersonalRecords
{
public:
    // Told the display name of each activity before its records are
    // searched.
    using TProgress = std::function<void(const QString &displayName)>;

    void SetDatabase(TDbConnection *database) { m_database = database; }
    void SetFactory(TActivityFactory *factory) { m_factory = factory; }
    void SetExercises(TExercises *exercises) { m_exercises = exercises; }
    void SetPrograms(TExercisePrograms *programs) { m_programs = programs; }
    void SetNames(TActivityNames *names) { m_names = names; }

    // Each limit must be 0 or more: a negative one raises
    // EPersonalRecordsError "Personal Records 05" (RecordNum), "06"
    // (RecordSets), "07" (RecordReps) or "08" (RecordWNum), the first
    // negative one in that order, and keeps the limits as they were.
    void SetLimits(qint32 recordNum, qint32 recordSets, qint32 recordReps, qint32 recordWNum);
    qint32 RecordNum() const { return m_recordNum; }
    qint32 RecordSets() const { return m_recordSets; }
    qint32 RecordReps() const { return m_recordReps; }
    qint32 RecordWNum() const { return m_recordWNum; }

    // Empties both lists and fills them with the records of the diary.
    // EPersonalRecordsError "Personal Records 01" without the names, "02"
    // without the factory, "03" without the exercises, "04" without the
    // programs, "09" without the database; database errors and the
    // conversion error of repetitions whose parts are no whole numbers pass
    // through, and the lists are then empty.
    void Search(QList<TTDRecordItem> &courseRecords, QList<TWRecordItem> &strengthRecords,
                const TProgress &progress = {});

    // The index of the record among the candidates, walked in their order:
    // a candidate with a load wins over a lighter one and over an equal one
    // of an earlier or the same date; a candidate without a load wins only
    // while no candidate with a load has won, and over an earlier date.
    // Loads compare as numbers. -1 without candidates.
    static int BestCandidate(const QList<TStrengthCandidate> &candidates);
    // The number of different workouts among the candidates.
    static int WorkoutCount(const QList<TStrengthCandidate> &candidates);

private:
    struct TWorkoutRow;

    void CheckReferences() const;
    void CourseRecords(TTimeDistanceActivity &activity, QList<TTDRecordItem> &records) const;
    QList<TWorkoutRow> ReadWorkouts() const;
    void ProgramExerciseRecords(const QList<TWorkoutRow> &rows, QList<TWRecordItem> &records) const;
    void BasicExerciseRecords(const QList<TWorkoutRow> &rows, QList<TWRecordItem> &records) const;
    bool Qualifies(const QString &reps) const;
    // Adds the record of the candidates when there is one with a Count of
    // at least RecordWNum.
    void AddRecord(const QList<TStrengthCandidate> &candidates, const QString &exercise,
                   QList<TWRecordItem> &records) const;

    TDbConnection *m_database = nullptr;
    TActivityFactory *m_factory = nullptr;
    TExercises *m_exercises = nullptr;
    TExercisePrograms *m_programs = nullptr;
    TActivityNames *m_names = nullptr;
    qint32 m_recordNum = 1;
    qint32 m_recordSets = 0;
    qint32 m_recordReps = 0;
    qint32 m_recordWNum = 1;
};
