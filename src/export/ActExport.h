#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QFile;
class TActivities;
class TActivity;
class TExercisePrograms;
class TExercises;
class TPulses;
class TWorkout;

// One step of the export's progress; the window advances its bar by one.
using TExportProgress = std::function<void()>;

// Writes every activity of the activities collection to one file, one line
// (or table row) per activity and one cell per value. The columns are
// decided anew for every export: the session columns at the start and the
// common columns at the end always, and between them a section of columns
// per kind of activity, present only when some exported activity needs it;
// every activity has one cell under every header.
//
// What differs between the formats is asked of the virtual operations; the
// text and the HTML export supply them.
//
// Every text the export writes from the diary passes TransformText: the
// HTML export escapes it, the text export keeps the separator out of it
// when asked to. The file is Windows-1252 with CR LF line ends; a character
// the code page cannot hold is written as "?" and counted.
//
// Errors: "Export 01".."04" for a missing collection, exercises, programs or
// pulse intervals register, "Export 05. The activity %s is only loaded" for
// an activity still incomplete when its row is written (EExport); a file
// that cannot be written raises EExport with the file's own error text.
class TActExport
{
public:
    TActExport();
    virtual ~TActExport();

    TActExport(const TActExport &) = delete;
    TActExport &operator=(const TActExport &) = delete;

    // Borrowed; they must outlive the export.
    void SetActivities(TActivities *activities) { m_activities = activities; }
    void SetExercises(TExercises *exercises) { m_exercises = exercises; }
    void SetPrograms(TExercisePrograms *programs) { m_programs = programs; }
    void SetPulses(TPulses *pulses) { m_pulses = pulses; }
    void SetTitle(const QString &title) { m_title = title; }

    // The whole export: Analyse, CountColumns, then the file created (or
    // truncated) and written. The file is closed also when a step fails.
    // 3 x N + 2 progress steps for N activities.
    void ExportToFile(const QString &fileName, const TExportProgress &progress = {});
    // The number of columns of the last export.
    int ColumnCount() const { return m_columnCount; }
    // The characters of the last export that the code page cannot hold and
    // that were written as "?".
    int ReplacedCount() const { return m_replacedCount; }

    // Looks through the collection and decides the columns. Listed
    // activities are completed first, with one query per table for all of
    // them (see ActExportLoad). Two progress steps per activity.
    void Analyse();
    void CountColumns();

    // The text in Windows-1252: every character the code page cannot hold
    // becomes "?", counted in `replaced`.
    static QByteArray ToWindows1252(const QString &text, int &replaced);
    // The same, appended to `bytes`.
    static void AppendWindows1252(QByteArray &bytes, const QString &text, int &replaced);

    // The fixed texts of the rows.
    static QString PerformanceText(int performance);
    static QString WeatherText(int weather);
    static QString WindDirText(int windDir);
    static QString SleepText(int quality);
    // The activity's own comment as exported: the comment object of a type
    // that stores no comment of its own holds only the program's
    // placeholder, which is no text of the user's.
    static QString ActivityComment(const TActivity &activity);

protected:
    // The pieces of the formats.
    virtual void WriteIntro();
    virtual void WriteHeader();
    virtual void WriteRows();
    virtual QString HeaderSeparator() const = 0;
    virtual QString HeaderLineStart() const { return QString(); }
    virtual QString HeaderLineEnd() const { return QString(); }
    virtual QString UnitBreak() const { return QString(); }
    virtual QString RowSeparator() const = 0;
    virtual QString RowStart() const { return QString(); }
    virtual QString RowEnd() const { return QString(); }
    virtual QString TransformText(const QString &value) const = 0;
    virtual QString TransformLine(const QString &line) const { return line; }

    // Writes one line with CR LF.
    void WriteLine(const QString &line);
    void Step();

    QString m_title;
    QString m_separator = QStringLiteral("Z");

private:
    void CheckAttached() const;
    void AnalyseWorkout(const TWorkout &workout);
    void AddPulseColumns(const TActivity &activity);
    // Header cells: HS + text, with UB + unit when a unit is given.
    void AddHeaderCell(const QString &text);
    void AddHeaderCell(const QString &text, const QString &unit);
    void AddCell(const QString &value);
    void AddEmptyCells(int count);
    void AddRow(TActivity &activity);
    void AddWorkoutCells(const TWorkout &workout);
    void Flush();

    TActivities *m_activities = nullptr;
    TExercises *m_exercises = nullptr;
    TExercisePrograms *m_programs = nullptr;
    TPulses *m_pulses = nullptr;
    QString m_line;
    bool m_hasTime = false;
    bool m_hasGame = false;
    bool m_hasDistance = false;
    bool m_hasGolf = false;
    bool m_hasGolfCard = false;
    bool m_hasTimeDistance = false;
    int m_maxLaps = 0;
    QStringList m_workLapTimes, m_workLapDistances;
    bool m_hasProgramWorkout = false;
    bool m_hasFreeWorkout = false;
    QList<qint32> m_programExerciseIds;
    QStringList m_programExerciseNames;
    std::array<bool, 15> m_freeSlotUsed{};
    QStringList m_extraExerciseNames;
    bool m_hasOther = false;
    bool m_hasWorkout = false;
    bool m_hasMeasure = false;
    bool m_hasPulse = false;
    QList<qint32> m_workPulseIds, m_workPulseValues;
    QList<qint32> m_pulseColumns;
    TExportProgress m_progress;
    int m_columnCount = 0;
    int m_replacedCount = 0;
    QFile *m_outFile = nullptr;
    QByteArray m_buffer;
};
