#pragma once

#include "columns/ActivityColumns.h"

#include <QList>
#include <QtGlobal>

#include <array>
#include <memory>

class TDbConnection;
class TDbQuery;
class TExercises;

// Which strength exercise each of the twenty exercise columns shows: one
// exercise id per column (Exercise1 to Exercise20), -1 for none. No id
// occurs twice. Kept in the table ExerciseColumns, one row per assigned
// column.
//
// Errors are EExerciseColumnSettings "ExerciseColumnSettings 01" to "09";
// using the database before SetDatabase raises EDbMiscError "Query är nil",
// and failing statements the database layer's EDbClientError.
class TExerciseColumnSettings
{
public:
    static constexpr qint32 NoExercise = -1;

    TExerciseColumnSettings();
    ~TExerciseColumnSettings();

    TExerciseColumnSettings(const TExerciseColumnSettings &) = delete;
    TExerciseColumnSettings &operator=(const TExerciseColumnSettings &) = delete;

    // Every column becomes unassigned.
    void Reset();
    // The connection to use, owned by the caller. None: "01". A connection
    // that is not open is opened and closed once to test it.
    void SetDatabase(TDbConnection *database);
    // The exercise register that ids are checked against; borrowed. None:
    // "05".
    void SetExercises(TExercises *exercises);

    // A copy of the twenty ids. No list: "02".
    void GetList(QList<qint32> *list) const;
    // Takes the twenty ids after checking them: no list "03", not exactly
    // twenty values "04", no exercise register "06", an id other than -1
    // that is no exercise of the register (or one deleted in it) "07", an
    // id given twice "09". A refused list changes nothing.
    void SetList(const QList<qint32> *list);
    // The id shown in exercise column n (1..20); -1 for none or for a
    // column outside the range.
    qint32 ExerciseOfColumn(int n) const;

    // Reads the table. A column whose exercise the register does not know
    // becomes unassigned, as do rows for a column outside 1..20 and a
    // second column of an exercise already shown. No register: "08". On a
    // failing read the columns are left as they were.
    void LoadFromDb();
    // Replaces the table's rows by the assigned columns, in one transaction
    // (the caller's, when the connection already has one); a failure rolls
    // back so that the table keeps its previous rows.
    void SaveToDb();

private:
    TDbQuery &Query();

    std::array<qint32, ExerciseColumnCount> m_slots{};
    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    TExercises *m_exercises = nullptr;
};
