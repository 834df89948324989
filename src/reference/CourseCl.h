#pragma once

#include "foundation/DbClient.h"

#include <QString>
#include <QStringList>

#include <memory>

class TTimeDistanceActivity;

// The names of the course difficulties, indexed -1..4: -1 is "not set" and
// has an empty name, 0..4 are the levels "Mycket lätt" .. "Mycket jobbig".
struct TDifficultyNames
{
    static constexpr int Lowest = -1;
    static constexpr int Highest = 4;

    // The name of the difficulty; empty for -1 and for any value outside
    // -1..4, so that a list never fails on an odd stored value.
    QString operator[](int difficulty) const;
    // The names of the levels 0..4, in order, for lists and drop-downs whose
    // position is the difficulty.
    static QStringList Levels();
};
inline constexpr TDifficultyNames DifficultyNames{};

// A course description ("banbeskrivning"): a registered route of an activity
// type, with its place, difficulty and a free description of any number of
// lines. Values are held as texts: the activity as its three-letter code,
// the difficulty as the integer's text.
//
// Faults raise ECourse (or a subclass) whose message is the error id
// "CourseCl nn"; errors of the database layer pass through unchanged.
class TCourse
{
public:
    TCourse();
    virtual ~TCourse();

    TCourse(const TCourse &) = delete;
    TCourse &operator=(const TCourse &) = delete;

    // -1 until set; a set value must be above 0, else "CourseCl 06".
    int CourseNr() const { return m_courseNr; }
    void SetCourseNr(int nr);

    // The highest course number in the diary plus 1; 1 for an empty table.
    // Using the database before SetDatabase raises EDbMiscError "Query är
    // nil".
    int NextCourseNr();

    // Borrows the connection (it must outlive the course); the course's
    // statements run on its one transaction.
    void SetDatabase(TDbConnection *database);
    TDbConnection *GetDatabase() const { return m_database; }

    // Replaces the description by a copy of the lines; a single empty line
    // counts as no description. No list: "CourseCl 17".
    void SetDescription(const QStringList *lines);
    // Clears the target and copies the description into it. No target:
    // "CourseCl 19".
    void GetDescription(QStringList *target) const;

    // Checks, in this order: CourseNr above 0 ("CourseCl 08"), an activity
    // set ("CourseCl 09"), a place set (ECoursePlace "CourseCl 10") and not
    // empty (ECoursePlace "CourseCl 13"), a difficulty of at least "0"
    // ("CourseCl 11") and at most "4" ("CourseCl 14").
    virtual void Validate() const;

protected:
    TDbQuery &Query();

    QString m_activity = QStringLiteral("Default");
    QString m_place = QStringLiteral("Default");
    QString m_difficulty = QStringLiteral("-1");
    QStringList m_description;

private:
    int m_courseNr = -1;
    std::unique_ptr<TDbQuery> m_query;
    TDbConnection *m_database = nullptr;
};

// The course of a time-and-distance activity: a total distance and the lap
// marks at which split times are taken (lap i, from 0, is the distance from
// the start to the end of lap i+1). The only kind of course there is.
//
// A course is new until Insert stores it (`Stored` false), stored from then
// on or when read by a search. Sessions may be bound to a stored course;
// Update pushes the course's place, distance and laps out to them in the
// same transaction.
//
// PreviousLaps are the laps as the diary holds them for this course: set
// when the course is read, inserted or updated, and left alone by SetLaps
// and by a failed Update, so that the checks that protect the split times
// of bound sessions always compare against what is stored. Empty for a new
// course.
class TTimeDistTempCourse final : public TCourse
{
public:
    TTimeDistTempCourse();
    ~TTimeDistTempCourse() override;

    // Checks, in this order: difficulty -1..4 ("CourseCl 02"), a place that
    // is not blank ("CourseCl 04"), a distance of at least 0.01
    // ("CourseCl 12"), and for a stored course the same activity code as
    // before ("CourseCl 16"). Then keeps activity and place as given, the
    // distance with two decimals and the difficulty as text. A refused call
    // changes nothing.
    void SetValues(const QString &activity, const QString &place, int difficulty, double distance);
    // The activity code, place, the description lines joined with "\n" and
    // trimmed, the difficulty and the distance text. A difficulty below 0
    // (never set) raises "CourseCl 03".
    void GetValues(QString &activity, QString &place, QString &description, int &difficulty, QString &distance) const;
    QString GetActivity() const { return m_activity; }
    QString GetDistance() const { return m_distance; }

    // Replaces the laps and validates the whole course; when that fails the
    // laps are as before and the error is passed on.
    void SetLaps(const QStringList &lines);
    // Clears the target and copies the laps into it. No target:
    // "CourseCl 05".
    void GetLaps(QStringList *target) const;
    int LapCount() const { return int(m_laps.size()); }
    const QStringList &PreviousLaps() const { return m_previousLaps; }

    // Whether the new laps may replace the stored ones of a course that
    // sessions are bound to (nothing is checked for a new course): fewer
    // laps raise ECourseDataLoss (split times would be lost); more laps
    // must keep every stored lap distance, else ECourseDataDiff (the number
    // of laps and their distances may not both change in one step); as many
    // laps may have other distances. Both messages are empty. A lap text
    // that is no number raises its conversion error. Changes nothing.
    void CheckLapsChange(const QStringList &newLaps) const;

    // Reads the course with the number from the diary; "CourseCl 01" when
    // there is none. Does not change `Stored`; a failure leaves the course
    // as it was.
    void Load(int nr);
    // Reads this course's laps from the diary through SetLaps (so the whole
    // course is validated) and takes them as the stored laps.
    void LoadLaps();
    // Writes a new course in one transaction: the course row, its
    // description lines and its laps. No database "CourseCl 07"; the
    // Validate errors; already stored "CourseCl 21"; a statement touching
    // another number of rows than one ECourse "[n] rader lades till". Any
    // failure rolls back and leaves `Stored` false.
    //
    // A description line may be of any length. Diaries made before the
    // line became a text blob limit it to the length of their column; there
    // a longer line is refused before anything is written, with an ECourse
    // that says so in Swedish (the same for Update).
    void Insert();
    // Rewrites a stored course in one transaction and, through the activity
    // (of the course's type), its bound sessions: their place, distance and
    // lap distances, keeping split times where a lap distance stays when
    // the number of laps changes. Returns the number of bound sessions. No
    // database "CourseCl 07"; the Validate errors; not stored
    // "CourseCl 15"; "[n] rader lades till" as for Insert. Any failure rolls
    // back; the course keeps the values set on it.
    int Update(TTimeDistanceActivity &activity);
    // Deletes a stored course that no session is bound to, in one
    // transaction. CourseNr not above 0 "CourseCl 08"; not stored
    // "CourseCl 22"; bound sessions ECourseUsed (empty message), and
    // nothing is deleted. Afterwards the course is no longer `Stored`.
    void Delete();

    bool Stored() const { return m_stored; }
    void SetStored(bool stored) { m_stored = stored; }

    // Distance not above 0 (ECourseDist "CourseCl 12"); then, when there
    // are laps: an empty lap (ECourseLapsMissing "CourseCl 02"), a lap not
    // above 0 (ECourseLapsOrder "CourseCl 18"), a lap not above the one
    // before (ECourseLapsOrder "CourseCl 04"), a last lap beyond the
    // distance + 0.001 (ECourseLapsDist "CourseCl 20"). A text that is no
    // number raises its conversion error.
    void Validate() const override;

private:
    // The statements shared by Insert and Update.
    void ExecCheckOneRow(TDbQuery &query);
    void InsertDescriptionAndLaps(TDbQuery &query);
    // Refuses a description line longer than the diary's column takes.
    void CheckDescriptionFits(TDbQuery &query) const;
    QStringList ReadLaps(TDbQuery &query, int nr);

    bool m_stored = false;
    QString m_distance = QStringLiteral("-1");
    QStringList m_laps;
    QStringList m_previousLaps;
};
