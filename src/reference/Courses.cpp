#include "reference/Courses.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/IntegerList.h"
#include "foundation/PGUtils.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/CourseCl.h"

#include <algorithm>

using namespace DbMisc;

namespace
{
using Num = TTulloUtilNumeric;

[[noreturn]] void fail(const char *id)
{
    throw ECourses(QString::fromLatin1(id));
}

// An integer column; -1 for null.
int integerColumn(TDbQuery &query, const QString &column)
{
    const QString text = GetColumn(&query, column, vkInteger);
    return text.isEmpty() ? -1 : Num::StrToInt(text);
}
} // namespace

TCourses::TCourses() : m_readCourse(std::make_unique<TTimeDistTempCourse>())
{
}

TCourses::~TCourses() = default;

void TCourses::SetDatabase(TDbConnection *database)
{
    if (!database)
        fail("Courses 03");
    if (!database->Connected()) {
        database->Open();
        database->Close();
    }
    m_database = database;
    m_query = std::make_unique<TDbQuery>(*database);
    m_courses.clear();
    m_readCourse->SetDatabase(database);
}

void TCourses::Clear()
{
    m_courses.clear();
    // Nor may a course read from a diary that is closed be asked for.
    m_readCourse = std::make_unique<TTimeDistTempCourse>();
    m_readCourse->SetDatabase(m_database);
}

TDbQuery &TCourses::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

TTimeDistTempCourse &TCourses::Find(int nr) const
{
    for (const auto &course : m_courses) {
        if (course->CourseNr() == nr)
            return *course;
    }
    fail("Courses 01");
}

QList<int> TCourses::CourseNumbers() const
{
    QList<int> numbers;
    for (const auto &course : m_courses)
        numbers.append(course->CourseNr());
    return numbers;
}

TCourseValues TCourses::ValuesOf(const TTimeDistTempCourse &course) const
{
    TCourseValues values;
    QString code;
    course.GetValues(code, values.Place, values.Description, values.Difficulty, values.Distance);
    values.Activity = m_activityNames->NameOfCode(code);
    return values;
}

// ---------------------------------------------------------------------------
// Searching

void TCourses::AddPlaceAndDistanceFilters(TDbQuery &query, const QString &place, const QString &minDistance,
                                          const QString &maxDistance)
{
    AddFilter(&query, QStringLiteral("CoursePlace"), foContains, false, place, vkText, QStringLiteral("cplace"));
    AddFilter(&query, QStringLiteral("CourseDistance"), foAtLeast, true, minDistance, vkDecimal, QStringLiteral("cdist1"));
    AddFilter(&query, QStringLiteral("CourseDistance"), foAtMost, true, maxDistance, vkDecimal, QStringLiteral("cdist2"));
}

void TCourses::SearchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                             const QString &maxDistance, const QStringList &difficulties, QList<TCourseItem> *result)
{
    Search(TKeep::Kept, activities, place, minDistance, maxDistance, &difficulties, result);
}

void TCourses::MatchCourses(const QStringList &activities, const QString &place, const QString &minDistance,
                            const QString &maxDistance, QList<TCourseItem> *result)
{
    Search(TKeep::NotKept, activities, place, minDistance, maxDistance, nullptr, result);
}

void TCourses::Search(TKeep keep, const QStringList &activities, const QString &place, const QString &minDistance,
                      const QString &maxDistance, const QStringList *difficulties, QList<TCourseItem> *result)
{
    if (!m_activityNames)
        fail("Courses 02");
    if (keep == TKeep::Kept) {
        m_courses.clear();
        if (activities.isEmpty() || !difficulties || difficulties->isEmpty())
            return;
    }
    if (!result)
        fail("Courses 10");
    result->clear();
    QStringList codes;
    for (const QString &name : activities)
        codes.append(m_activityNames->CodeOfName(name));

    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select a.CourseNr, a.CourseActivity, a.CoursePlace, a.CourseDistance, "
                                   "a.CourseDifficulty, b.CourseDescription from CourseDescription a left join "
                                   "CourseDescriptionText b on a.CourseNr = b.CourseNr where 1 = 1"));
    AddInList(&query, QStringLiteral("CourseActivity"), QStringLiteral("cact"), &codes);
    AddPlaceAndDistanceFilters(query, place, minDistance, maxDistance);
    if (difficulties)
        AddInList(&query, QStringLiteral("CourseDifficulty"), QStringLiteral("cdiff"), difficulties);
    AddLine(&query, QStringLiteral("order by a.CourseNr, b.CourseRowNr"));

    // One row per description line, the lines of a course together.
    std::unique_ptr<TTimeDistTempCourse> course;
    QStringList lines;
    {
        TDbQueryCloser closer(query);
        query.Open();
        for (; !query.Eof(); query.Next()) {
            const int nr = integerColumn(query, QStringLiteral("CourseNr"));
            const QString line = GetColumn(&query, QStringLiteral("CourseDescription"), vkText);
            if (course && course->CourseNr() == nr) {
                lines.append(line);
                continue;
            }
            if (course)
                AppendResult(keep, std::move(course), lines, result);
            course = std::make_unique<TTimeDistTempCourse>();
            course->SetDatabase(m_database);
            course->SetCourseNr(nr);
            course->SetValues(GetColumn(&query, QStringLiteral("CourseActivity"), vkText),
                              GetColumn(&query, QStringLiteral("CoursePlace"), vkText),
                              integerColumn(query, QStringLiteral("CourseDifficulty")),
                              query.FieldAsFloat(QStringLiteral("CourseDistance")));
            course->SetStored(true);
            lines = QStringList{line};
        }
    }
    query.Clear();
    if (course)
        AppendResult(keep, std::move(course), lines, result);

    if (keep == TKeep::Kept) {
        for (const auto &kept : m_courses)
            kept->LoadLaps();
    }
}

void TCourses::AppendResult(TKeep keep, std::unique_ptr<TTimeDistTempCourse> course, const QStringList &lines,
                            QList<TCourseItem> *result)
{
    if (!result)
        fail("Courses 10");
    if (!course)
        fail("Courses 12");
    if (!m_activityNames)
        fail("Courses 13");
    course->SetDescription(&lines);
    const TCourseValues values = ValuesOf(*course);
    TCourseItem item;
    item.CourseNr = course->CourseNr();
    item.Activity = values.Activity;
    item.Place = values.Place;
    item.Distance = values.Distance;
    item.Difficulty = QString::number(values.Difficulty);
    item.Description = values.Description;
    result->append(item);
    if (keep == TKeep::Kept)
        m_courses.push_back(std::move(course));
}

void TCourses::ListCourses(const QStringList *activities, const QString &place, const QString &minDistance,
                           const QString &maxDistance, QStringList *texts, TIntegerList *numbers)
{
    if (!m_activityNames)
        fail("Courses 15");
    if (!numbers)
        fail("Courses 16");
    if (!texts)
        fail("Courses 17");
    texts->clear();
    numbers->Clear();

    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select CourseNr, CourseActivity, CoursePlace, CourseDistance from CourseDescription "
                                   "where 1 = 1"));
    AddPlaceAndDistanceFilters(query, place, minDistance, maxDistance);
    AddLine(&query, QStringLiteral("order by CourseActivity, CoursePlace, CourseDistance"));

    // Filled only when every row was read, so that a failure leaves both
    // targets empty and in step.
    QStringList foundTexts;
    QList<int> foundNumbers;
    {
        TDbQueryCloser closer(query);
        query.Open();
        for (; !query.Eof(); query.Next()) {
            const QString name = m_activityNames->NameOfCode(GetColumn(&query, QStringLiteral("CourseActivity"), vkText));
            if (activities && !activities->contains(name, Qt::CaseInsensitive))
                continue;
            foundNumbers.append(integerColumn(query, QStringLiteral("CourseNr")));
            foundTexts.append(name + QStringLiteral(" - ") + GetColumn(&query, QStringLiteral("CoursePlace"), vkText)
                              + QStringLiteral(" - ") + GetColumn(&query, QStringLiteral("CourseDistance"), vkDecimal)
                              + QStringLiteral(" (km)"));
        }
    }
    query.Clear();
    *texts = foundTexts;
    for (int nr : foundNumbers)
        numbers->Add(nr);
}

// ---------------------------------------------------------------------------
// Working on one course

int TCourses::NewCourse()
{
    auto course = std::make_unique<TTimeDistTempCourse>();
    course->SetDatabase(m_database);
    // New courses not yet saved are not in the diary: step past them.
    int nr = course->NextCourseNr();
    for (const auto &other : m_courses) {
        if (other->CourseNr() >= nr)
            nr = other->CourseNr() + 1;
    }
    course->SetCourseNr(nr);
    m_courses.push_back(std::move(course));
    return nr;
}

void TCourses::SetCourseValues(int nr, const QString &activityName, int difficulty, double distance,
                               const QString &place)
{
    TTimeDistTempCourse &course = Find(nr);
    if (!m_activityNames)
        fail("Courses 07");
    course.SetValues(m_activityNames->CodeOfName(activityName), place, difficulty, distance);
}

void TCourses::SetCourseDescription(int nr, const QStringList *lines)
{
    Find(nr).SetDescription(lines);
}

void TCourses::SetCourseLaps(int nr, const QStringList &laps)
{
    Find(nr).SetLaps(laps);
}

TCourseValues TCourses::GetCourseValues(int nr) const
{
    const TTimeDistTempCourse &course = Find(nr);
    if (!m_activityNames)
        fail("Courses 09");
    return ValuesOf(course);
}

void TCourses::GetCourseDescription(int nr, QStringList *target) const
{
    Find(nr).GetDescription(target);
}

void TCourses::GetCourseLaps(int nr, QStringList *target) const
{
    Find(nr).GetLaps(target);
}

int TCourses::SaveCourse(int nr)
{
    TTimeDistTempCourse &course = Find(nr);
    if (!course.Stored()) {
        course.Insert();
        return 0;
    }
    if (!m_factory)
        fail("Courses 04");
    if (!m_activityNames)
        fail("Courses 05");
    if (!m_activities)
        fail("Courses 06");
    // The bound sessions are rewritten through an activity of the course's
    // type, which knows that type's table.
    const QString name = m_activityNames->NameOfCode(course.GetActivity());
    std::unique_ptr<TActivity> activity = m_factory->CreateActivity(name);
    activity->SetDatabase(m_database);
    activity->SetActivityNames(m_activityNames);
    auto *timeDistance = dynamic_cast<TTimeDistanceActivity *>(activity.get());
    if (!timeDistance)
        throw ECourses(QStringLiteral("Courses 22. %1 has no distance and time").arg(name));
    const int bound = course.Update(*timeDistance);
    if (bound > 0)
        m_activities->Clear();
    return bound;
}

void TCourses::ReloadCourse(int nr)
{
    TTimeDistTempCourse &course = Find(nr);
    if (course.Stored())
        course.Load(nr);
}

void TCourses::RemoveCourse(int nr)
{
    TTimeDistTempCourse &course = Find(nr);
    if (course.Stored())
        course.Delete();
    const auto found = std::find_if(m_courses.begin(), m_courses.end(),
                                    [&course](const auto &held) { return held.get() == &course; });
    if (found == m_courses.end())
        fail("Courses 08");
    m_courses.erase(found);
}

void TCourses::CheckCourseLapsChange(int nr, const QStringList &newLaps)
{
    const TTimeDistTempCourse &course = Find(nr);
    if (CourseUseCount(nr) > 0)
        course.CheckLapsChange(newLaps);
}

int TCourses::CourseUseCount(int nr)
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select count(*) from TrainingsessionCourse where CourseNr = :cnr"));
    query.SetInteger(QStringLiteral("cnr"), nr);
    TDbQueryCloser closer(query);
    query.Open();
    return query.Eof() ? 0 : int(query.FieldAsInteger(0));
}

// ---------------------------------------------------------------------------
// The course read on its own

TCourseValues TCourses::ReadCourse(int nr)
{
    if (!m_readCourse)
        fail("Courses 18");
    if (!m_activityNames)
        fail("Courses 19");
    m_readCourse->Load(nr);
    return ValuesOf(*m_readCourse);
}

void TCourses::GetReadCourseLaps(int nr, QStringList *target) const
{
    if (!m_readCourse)
        fail("Courses 20");
    if (nr <= 0 || nr != m_readCourse->CourseNr())
        fail("Courses 21");
    m_readCourse->GetLaps(target);
}
