#include "reference/CourseCl.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieTypes.h"

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;

const QString defaultText = QStringLiteral("Default");

[[noreturn]] void fail(const char *id)
{
    throw ECourse(QString::fromLatin1(id));
}

void bindCourseNr(TDbQuery &query, int nr)
{
    query.SetInteger(QStringLiteral("cnr"), nr);
}
} // namespace

// ---------------------------------------------------------------------------
// Difficulty names

QString TDifficultyNames::operator[](int difficulty) const
{
    if (difficulty < 0 || difficulty > Highest)
        return QString();
    return Levels().at(difficulty);
}

QStringList TDifficultyNames::Levels()
{
    return {QStringLiteral("Mycket lätt"), QStringLiteral("Lätt"), QStringLiteral("Medel"), QStringLiteral("Jobbig"),
            QStringLiteral("Mycket jobbig")};
}

// ---------------------------------------------------------------------------
// TCourse

TCourse::TCourse() = default;
TCourse::~TCourse() = default;

void TCourse::SetCourseNr(int nr)
{
    if (nr <= 0)
        fail("CourseCl 06");
    m_courseNr = nr;
}

int TCourse::NextCourseNr()
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select max( CourseNr ) from CourseDescription"));
    TDbQueryCloser closer(query);
    query.Open();
    // An empty table has a null maximum, which reads as 0.
    const qint64 highest = query.Eof() ? 0 : query.FieldAsInteger(0);
    return int(highest) + 1;
}

void TCourse::SetDatabase(TDbConnection *database)
{
    m_query.reset();
    m_database = database;
    if (database)
        m_query = std::make_unique<TDbQuery>(*database);
}

TDbQuery &TCourse::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TCourse::SetDescription(const QStringList *lines)
{
    if (!lines)
        fail("CourseCl 17");
    // An empty memo still delivers one empty line.
    if (lines->size() == 1 && lines->first().isEmpty())
        m_description.clear();
    else
        m_description = *lines;
}

void TCourse::GetDescription(QStringList *target) const
{
    if (!target)
        fail("CourseCl 19");
    *target = m_description;
}

void TCourse::Validate() const
{
    if (m_courseNr <= 0)
        fail("CourseCl 08");
    if (m_activity == defaultText)
        fail("CourseCl 09");
    if (m_place == defaultText)
        throw ECoursePlace(QStringLiteral("CourseCl 10"));
    if (m_place.isEmpty())
        throw ECoursePlace(QStringLiteral("CourseCl 13"));
    if (m_difficulty < QLatin1String("0"))
        fail("CourseCl 11");
    if (m_difficulty > QLatin1String("4"))
        fail("CourseCl 14");
}

// ---------------------------------------------------------------------------
// TTimeDistTempCourse

TTimeDistTempCourse::TTimeDistTempCourse() = default;
TTimeDistTempCourse::~TTimeDistTempCourse() = default;

void TTimeDistTempCourse::SetValues(const QString &activity, const QString &place, int difficulty, double distance)
{
    if (difficulty < DifficultyNames.Lowest || difficulty > DifficultyNames.Highest)
        fail("CourseCl 02");
    if (place.trimmed().isEmpty())
        fail("CourseCl 04");
    if (distance < 0.01)
        fail("CourseCl 12");
    // The sessions bound to a course live in the tables of its type.
    if (m_stored && activity != m_activity)
        fail("CourseCl 16");
    const QString distanceText = Str::FormatFixed(2, distance);
    m_activity = activity;
    m_place = place;
    m_distance = distanceText;
    m_difficulty = QString::number(difficulty);
}

void TTimeDistTempCourse::GetValues(QString &activity, QString &place, QString &description, int &difficulty,
                                    QString &distance) const
{
    bool ok = false;
    const int level = m_difficulty.toInt(&ok);
    if (!ok || level < 0)
        fail("CourseCl 03");
    activity = m_activity;
    place = m_place;
    description = m_description.join(QLatin1Char('\n')).trimmed();
    difficulty = level;
    distance = m_distance;
}

void TTimeDistTempCourse::Validate() const
{
    TCourse::Validate();
    if (!(Num::StrToFloat(m_distance) > 0.0))
        throw ECourseDist(QStringLiteral("CourseCl 12"));
    if (m_laps.isEmpty())
        return;
    double previous = 0.0;
    for (int i = 0; i < m_laps.size(); ++i) {
        const QString &text = m_laps.at(i);
        if (text.trimmed().isEmpty())
            throw ECourseLapsMissing(QStringLiteral("CourseCl 02"));
        const double lap = Num::StrToFloat(text);
        if (!(lap > 0.0))
            throw ECourseLapsOrder(QStringLiteral("CourseCl 18"));
        if (i > 0 && !(lap > previous))
            throw ECourseLapsOrder(QStringLiteral("CourseCl 04"));
        previous = lap;
    }
    // A last lap at the total distance is the normal case; the margin
    // covers distances typed with more decimals than are stored.
    if (Num::StrToFloat(m_distance) + 0.001 < previous)
        throw ECourseLapsDist(QStringLiteral("CourseCl 20"));
}

void TTimeDistTempCourse::SetLaps(const QStringList &lines)
{
    const QStringList before = m_laps;
    m_laps = lines;
    try {
        Validate();
    } catch (...) {
        m_laps = before;
        throw;
    }
}

void TTimeDistTempCourse::GetLaps(QStringList *target) const
{
    if (!target)
        fail("CourseCl 05");
    *target = m_laps;
}

void TTimeDistTempCourse::CheckLapsChange(const QStringList &newLaps) const
{
    if (!m_stored)
        return;
    // Compared with what the diary holds, which is what the split times of
    // the bound sessions belong to - not with laps set since then that may
    // never have been saved.
    const QStringList &stored = m_previousLaps;
    if (newLaps.size() < stored.size())
        throw ECourseDataLoss(QString());
    if (newLaps.size() == stored.size())
        return;
    QStringList storedTexts, newTexts;
    for (const QString &lap : stored)
        storedTexts.append(Str::StrToStrDec(lap, 2));
    for (const QString &lap : newLaps)
        newTexts.append(Str::StrToStrDec(lap, 2));
    for (const QString &lap : storedTexts) {
        if (!newTexts.contains(lap))
            throw ECourseDataDiff(QString());
    }
}

// ---------------------------------------------------------------------------
// Storage

void TTimeDistTempCourse::ExecCheckOneRow(TDbQuery &query)
{
    query.ExecSQL();
    if (query.RowsAffected() != 1)
        throw ECourse(QStringLiteral("[%1] rader lades till").arg(query.RowsAffected()));
}

void TTimeDistTempCourse::CheckDescriptionFits(TDbQuery &query) const
{
    if (m_description.isEmpty())
        return;
    // The column's declared type: a text blob (type 261) takes any line; a
    // diary of the earlier form holds the lines as a VARCHAR of a fixed
    // number of characters, where a longer line would fail with the
    // engine's own English text.
    query.Clear();
    AddLine(&query, QStringLiteral("select f.RDB$FIELD_TYPE, f.RDB$CHARACTER_LENGTH"));
    AddLine(&query, QStringLiteral("from RDB$RELATION_FIELDS r, RDB$FIELDS f"));
    AddLine(&query, QStringLiteral("where f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE and"));
    AddLine(&query, QStringLiteral("r.RDB$RELATION_NAME = 'COURSEDESCRIPTIONTEXT' and"));
    AddLine(&query, QStringLiteral("r.RDB$FIELD_NAME = 'COURSEDESCRIPTION'"));
    qint64 limit = -1;
    {
        TDbQueryCloser closer(query);
        query.Open();
        constexpr qint64 blobType = 261;
        if (!query.Eof() && query.FieldAsInteger(0) != blobType && !query.FieldIsNull(1))
            limit = query.FieldAsInteger(1);
    }
    query.Clear();
    if (limit < 0)
        return;
    for (int i = 0; i < m_description.size(); ++i) {
        // The engine counts characters, not UTF-16 units.
        const qint64 length = m_description.at(i).toUcs4().size();
        if (length > limit)
            throw ECourse(QStringLiteral("Rad %1 i beskrivningen har %2 tecken, men den här dagboken rymmer högst %3 tecken "
                                         "per rad. Dela upp raden i kortare rader.")
                              .arg(i + 1)
                              .arg(length)
                              .arg(limit));
    }
}

void TTimeDistTempCourse::InsertDescriptionAndLaps(TDbQuery &query)
{
    for (int i = 0; i < m_description.size(); ++i) {
        query.Clear();
        AddLine(&query, QStringLiteral("insert into CourseDescriptionText ( CourseNr, CourseRowNr, CourseDescription) "
                                       "values( :cnr, :crow, :cdesc)"));
        bindCourseNr(query, CourseNr());
        query.SetInteger(QStringLiteral("crow"), i + 1);
        // An empty line is kept as a blank so that the lines keep their
        // places.
        BindParam(&query, QStringLiteral("cdesc"), vkText, false, m_description.at(i));
        ExecCheckOneRow(query);
    }
    for (int i = 0; i < m_laps.size(); ++i) {
        query.Clear();
        AddLine(&query, QStringLiteral("insert into CourseDescriptionLaps ( CourseNr, CourseLapNr, CourseDistance) "
                                       "values( :cnr, :clap, :cdist)"));
        bindCourseNr(query, CourseNr());
        query.SetInteger(QStringLiteral("clap"), i + 1);
        query.SetFloat(QStringLiteral("cdist"), Num::StrToFloat(m_laps.at(i)));
        ExecCheckOneRow(query);
    }
}

void TTimeDistTempCourse::Insert()
{
    if (!GetDatabase())
        fail("CourseCl 07");
    Validate();
    if (m_stored)
        fail("CourseCl 21");
    TDbQuery &query = Query();
    CheckDescriptionFits(query);
    {
        TDbTransactionGuard transaction(*GetDatabase());
        query.Clear();
        AddLine(&query, QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, "
                                       "CourseDistance, CourseDifficulty) values(:cnr, :cact, :cplace, :cdist, :cdiff)"));
        bindCourseNr(query, CourseNr());
        BindParam(&query, QStringLiteral("cact"), vkText, false, m_activity);
        BindParam(&query, QStringLiteral("cplace"), vkText, false, m_place);
        query.SetFloat(QStringLiteral("cdist"), Num::StrToFloat(m_distance));
        query.SetInteger(QStringLiteral("cdiff"), Num::StrToInt(m_difficulty));
        ExecCheckOneRow(query);
        InsertDescriptionAndLaps(query);
        query.Clear();
        transaction.Commit();
    }
    m_stored = true;
    m_previousLaps = m_laps;
}

int TTimeDistTempCourse::Update(TTimeDistanceActivity &activity)
{
    if (!GetDatabase())
        fail("CourseCl 07");
    Validate();
    if (!m_stored)
        fail("CourseCl 15");
    TDbQuery &query = Query();
    CheckDescriptionFits(query);
    int bound = 0;
    {
        TDbTransactionGuard transaction(*GetDatabase());
        query.Clear();
        AddLine(&query, QStringLiteral("update CourseDescription set CourseActivity = :cact, CoursePlace = :cplace, "
                                       "CourseDistance = :cdist, CourseDifficulty = :cdiff where CourseNr = :cnr"));
        BindParam(&query, QStringLiteral("cact"), vkText, false, m_activity);
        BindParam(&query, QStringLiteral("cplace"), vkText, false, m_place);
        query.SetFloat(QStringLiteral("cdist"), Num::StrToFloat(m_distance));
        query.SetInteger(QStringLiteral("cdiff"), Num::StrToInt(m_difficulty));
        bindCourseNr(query, CourseNr());
        ExecCheckOneRow(query);

        query.Clear();
        AddLine(&query, QStringLiteral("delete from CourseDescriptionText where CourseNr = :cnr"));
        bindCourseNr(query, CourseNr());
        query.ExecSQL();
        query.Clear();
        AddLine(&query, QStringLiteral("delete from CourseDescriptionLaps where CourseNr = :cnr"));
        bindCourseNr(query, CourseNr());
        query.ExecSQL();
        InsertDescriptionAndLaps(query);
        query.Clear();

        // The sessions take part in this transaction: the activity's
        // statements run on the same connection and leave ending it to us.
        activity.SetDatabase(GetDatabase());
        if (m_previousLaps.size() == m_laps.size())
            bound = activity.ApplyCourseChange(CourseNr(), m_place, m_laps, m_distance);
        else
            bound = activity.ApplyCourseLapsChange(CourseNr(), m_place, m_laps, m_distance);
        transaction.Commit();
    }
    // Only now does the diary hold these laps; after a failure the stored
    // ones stay what the next change is checked against.
    m_previousLaps = m_laps;
    return bound;
}

void TTimeDistTempCourse::Delete()
{
    if (CourseNr() <= 0)
        fail("CourseCl 08");
    if (!m_stored)
        fail("CourseCl 22");
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select 1 from TrainingsessionCourse where CourseNr = :cnr"));
    bindCourseNr(query, CourseNr());
    {
        TDbQueryCloser closer(query);
        query.Open();
        if (!query.Eof())
            throw ECourseUsed(QString());
    }
    {
        TDbTransactionGuard transaction(*GetDatabase());
        query.Clear();
        AddLine(&query, QStringLiteral("delete from CourseDescriptionLaps where CourseNr = :cnr"));
        bindCourseNr(query, CourseNr());
        query.ExecSQL();
        query.Clear();
        AddLine(&query, QStringLiteral("delete from CourseDescriptionText where CourseNr = :cnr"));
        bindCourseNr(query, CourseNr());
        query.ExecSQL();
        query.Clear();
        AddLine(&query, QStringLiteral("delete from CourseDescription where CourseNr = :cnr"));
        bindCourseNr(query, CourseNr());
        ExecCheckOneRow(query);
        query.Clear();
        transaction.Commit();
    }
    m_previousLaps.clear();
    m_stored = false;
}

QStringList TTimeDistTempCourse::ReadLaps(TDbQuery &query, int nr)
{
    query.Clear();
    AddLine(&query, QStringLiteral("select CourseNr, CourseLapNr, CourseDistance from CourseDescriptionLaps "
                                   "where CourseNr = :cnr order by CourseLapNr"));
    bindCourseNr(query, nr);
    QStringList laps;
    TDbQueryCloser closer(query);
    query.Open();
    for (; !query.Eof(); query.Next())
        laps.append(GetColumn(&query, QStringLiteral("CourseDistance"), vkDecimal));
    return laps;
}

void TTimeDistTempCourse::Load(int nr)
{
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select CourseNr, CourseActivity, CoursePlace, CourseDistance, CourseDifficulty "
                                   "from CourseDescription where CourseNr = :cnr order by CourseNr"));
    bindCourseNr(query, nr);
    int courseNr = 0;
    QString activity, place, distance, difficulty;
    {
        TDbQueryCloser closer(query);
        query.Open();
        if (query.Eof())
            fail("CourseCl 01");
        courseNr = int(query.FieldAsInteger(QStringLiteral("CourseNr")));
        activity = GetColumn(&query, QStringLiteral("CourseActivity"), vkText);
        place = GetColumn(&query, QStringLiteral("CoursePlace"), vkText);
        distance = GetColumn(&query, QStringLiteral("CourseDistance"), vkDecimal);
        difficulty = GetColumn(&query, QStringLiteral("CourseDifficulty"), vkInteger);
    }
    if (courseNr <= 0)
        fail("CourseCl 06");

    query.Clear();
    AddLine(&query, QStringLiteral("select CourseDescription from CourseDescriptionText b where CourseNr = :cnr "
                                   "order by CourseRowNr"));
    bindCourseNr(query, nr);
    QStringList description;
    {
        TDbQueryCloser closer(query);
        query.Open();
        for (; !query.Eof(); query.Next())
            description.append(GetColumn(&query, QStringLiteral("CourseDescription"), vkText));
    }

    const QStringList laps = ReadLaps(query, nr);
    query.Clear();
    SetCourseNr(courseNr);
    m_activity = activity;
    m_place = place;
    m_distance = distance;
    m_difficulty = difficulty.isEmpty() ? QStringLiteral("-1") : difficulty;
    m_description = description;
    m_laps = laps;
    m_previousLaps = laps;
}

void TTimeDistTempCourse::LoadLaps()
{
    TDbQuery &query = Query();
    const QStringList laps = ReadLaps(query, CourseNr());
    query.Clear();
    SetLaps(laps);
    m_previousLaps = m_laps;
}
