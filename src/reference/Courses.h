#pragma once

#include "foundation/DbClient.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TActivities;
class TActivityFactory;
class TActivityNames;
class TIntegerList;
class TTimeDistTempCourse;

// One course of a search result.
struct TCourseItem
{
    int CourseNr = 0;
    QString Activity;    // the activity's display name
    QString Place;
    QString Distance;    // km, two decimals
    QString Difficulty;  // "0".."4"
    QString Description; // the lines joined with "\n", trimmed
};

// What a course holds, with the activity as its display name.
struct TCourseValues
{
    QString Activity;
    QString Place;
    QString Description; // the lines joined with "\n", trimmed
    int Difficulty = -1;
    QString Distance;
};

// The course descriptions in use: the courses of the latest kept search
// (SearchCourses) and new courses not yet saved, addressed by course number,
// plus one course read on its own (ReadCourse) for the binding of sessions.
// Windows reach it through the application object.
//
// Every operation that takes a course number of the working list raises
// ECourses "Courses 01" for a number that is not there. The errors of the
// courses themselves (ECourse and its subclasses), of the activity names
// and of the database layer pass through unchanged.
class TCourses
{
public:
    TCourses();
    ~TCourses();

    TCourses(const TCourses &) = delete;
    TCourses &operator=(const TCourses &) = delete;

    // Borrows the connection; a closed one is opened and closed once as a
    // test (the database layer's error when that fails). No connection:
    // "Courses 03". Empties the working list.
    void SetDatabase(TDbConnection *database);
    // The shared lists, borrowed.
    void SetActivityNames(TActivityNames *names) { m_activityNames = names; }
    void SetActivityFactory(TActivityFactory *factory) { m_factory = factory; }
    void SetActivities(TActivities *activities) { m_activities = activities; }
    // Empties the working list and forgets the course read last (when the
    // diary closes).
    void Clear();

    // Replaces the working list by the courses of the display names whose
    // place contains `place`, whose distance lies in minDistance ..
    // maxDistance (either may be empty, "!" or "*") and whose difficulty
    // ("0".."4") is one of `difficulties`, ordered by number; `result`
    // receives one item per course. With no activity or no difficulty
    // given, the working list ends empty and `result` is left as it was.
    // Every course found is validated with its laps. No activity names:
    // "Courses 02"; no result list: "Courses 10"; a display name that is
    // not an activity's raises the names' error.
    void SearchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                       const QString &maxDistance, const QStringList &difficulties, QList<TCourseItem> *result);
    // The same search without difficulties that leaves the working list
    // alone; an empty activity list matches every activity.
    void MatchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                      const QString &maxDistance, QList<TCourseItem> *result);
    // One line "<activity> - <place> - <distance> (km)" per course whose
    // place and distance match, ordered by activity code, place and
    // distance, and its number at the same position of `numbers`. Without an
    // activity list every course is listed; with one, only the courses of
    // its display names (none for an empty list). Both targets are emptied
    // first. No activity names "Courses 15", no numbers "Courses 16", no
    // texts "Courses 17".
    void ListCourses(const QStringList *activities, const QString &place, const QString &minDistance,
                     const QString &maxDistance, QStringList *texts, TIntegerList *numbers);

    // Appends a new course and returns its number: above every number in
    // the diary and in the working list.
    int NewCourse();
    // SetValues with the display name's code. No activity names
    // "Courses 07".
    void SetCourseValues(int nr, const QString &activityName, int difficulty, double distance, const QString &place);
    void SetCourseDescription(int nr, const QStringList *lines);
    void SetCourseLaps(int nr, const QStringList &laps);
    // No activity names "Courses 09".
    TCourseValues GetCourseValues(int nr) const;
    void GetCourseDescription(int nr, QStringList *target) const;
    void GetCourseLaps(int nr, QStringList *target) const;
    // Inserts a new course (returns 0) or updates a stored one, pushing the
    // change to its bound sessions, and returns their number; when there
    // are any, the activities held in memory are dropped so that they are
    // read again. Updating needs the factory ("Courses 04"), the activity
    // names ("Courses 05") and the activities ("Courses 06"); a course
    // whose activity is not a time-and-distance type: "Courses 22".
    int SaveCourse(int nr);
    // Deletes a stored course (ECourseUsed while sessions are bound to it,
    // and the course stays), then drops it from the working list; also the
    // way to discard a new course that failed to save.
    void RemoveCourse(int nr);
    // Reads a stored course of the working list again from the diary, so
    // that values set on it that were never saved are gone; a new course
    // is left as it is.
    void ReloadCourse(int nr);
    // For a course sessions are bound to, CheckLapsChange with the new laps;
    // nothing otherwise.
    void CheckCourseLapsChange(int nr, const QStringList &newLaps);
    // The number of sessions bound to the course number; the course need
    // not be in the working list.
    int CourseUseCount(int nr);
    // The number of courses in the working list.
    int CourseCount() const { return int(m_courses.size()); }
    // The course numbers of the working list, in list order.
    QList<int> CourseNumbers() const;

    // Reads the course from the diary into the read course, leaving the
    // working list alone. No activity names "Courses 19"; no course
    // "CourseCl 01".
    TCourseValues ReadCourse(int nr);
    // The laps of the course last read; "Courses 21" unless `nr` is its
    // number.
    void GetReadCourseLaps(int nr, QStringList *target) const;

private:
    enum class TKeep { Kept, NotKept };

    void Search(TKeep keep, const QStringList &activities, const QString &place, const QString &minDistance,
                const QString &maxDistance, const QStringList *difficulties, QList<TCourseItem> *result);
    void AppendResult(TKeep keep, std::unique_ptr<TTimeDistTempCourse> course, const QStringList &lines,
                      QList<TCourseItem> *result);
    void AddPlaceAndDistanceFilters(TDbQuery &query, const QString &place, const QString &minDistance,
                                    const QString &maxDistance);
    TTimeDistTempCourse &Find(int nr) const;
    TCourseValues ValuesOf(const TTimeDistTempCourse &course) const;
    TDbQuery &Query();

    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    std::vector<std::unique_ptr<TTimeDistTempCourse>> m_courses;
    std::unique_ptr<TTimeDistTempCourse> m_readCourse;
    TActivityNames *m_activityNames = nullptr;
    TActivityFactory *m_factory = nullptr;
    TActivities *m_activities = nullptr;
};
