// Course descriptions in a real diary: numbering, the checks of values and
// lap marks, storing, searching and listing, deleting, and a changed course
// pushed out to the sessions bound to it.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/IntegerList.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "reference/CourseCl.h"
#include "reference/Courses.h"

#include <QtTest>

namespace
{
QStringList split(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
}

// The class of the course error a call raised, most specific first, with its
// message: "" for none.
template <class F> QString courseErrorOf(F call, QString *message = nullptr)
{
    QString kind, text;
    try {
        call();
    } catch (const ECourseLapsMissing &e) {
        kind = QStringLiteral("LapsMissing"), text = e.Message();
    } catch (const ECourseLapsOrder &e) {
        kind = QStringLiteral("LapsOrder"), text = e.Message();
    } catch (const ECourseLapsDist &e) {
        kind = QStringLiteral("LapsDist"), text = e.Message();
    } catch (const ECourseDataLoss &e) {
        kind = QStringLiteral("DataLoss"), text = e.Message();
    } catch (const ECourseDataDiff &e) {
        kind = QStringLiteral("DataDiff"), text = e.Message();
    } catch (const ECourseDist &e) {
        kind = QStringLiteral("Dist"), text = e.Message();
    } catch (const ECoursePlace &e) {
        kind = QStringLiteral("Place"), text = e.Message();
    } catch (const ECourseUsed &e) {
        kind = QStringLiteral("Used"), text = e.Message();
    } catch (const ECourse &e) {
        kind = QStringLiteral("Course"), text = e.Message();
    } catch (const ECourses &e) {
        kind = QStringLiteral("Courses"), text = e.Message();
    }
    if (message)
        *message = text;
    return kind;
}

// A diary with the built-in names registered and the collections wired to
// it as the application object wires them.
struct TFixture
{
    TTestDiary diary;
    TActivityNames names;
    TActivityFactory factory;
    TActivities activities;
    TCourses courses;
    int nextSession = 1;

    TFixture()
    {
        names.SetDatabase(&db());
        names.Open();
        QStringList codes;
        names.GetCodes(&codes);
        for (const QString &code : codes)
            factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
        activities.SetActivityNames(&names);
        activities.SetFactory(&factory);
        activities.SetDatabase(&db());
        courses.SetActivityNames(&names);
        courses.SetActivityFactory(&factory);
        courses.SetActivities(&activities);
        courses.SetDatabase(&db());
    }

    TDbConnection &db() { return diary.Connection(); }
    QString name(const char *code) const { return names.NameOfCode(QString::fromLatin1(code)); }

    // A course saved the way the course window saves a new one.
    int addCourse(const char *code, const QString &place, double distance, const QString &laps = QString(),
                  int difficulty = 2, const QStringList &description = {})
    {
        const int nr = courses.NewCourse();
        courses.SetCourseValues(nr, name(code), difficulty, distance, place);
        courses.SetCourseDescription(nr, &description);
        courses.SetCourseLaps(nr, split(laps));
        courses.SaveCourse(nr);
        return nr;
    }

    // A running session bound to the course (when given), with a time at
    // each of the course's lap marks; the course gives place, distance and
    // lap distances when it is saved.
    int addRun(const QString &course, const QString &times = QString(), const QString &duration = QStringLiteral("40.00"))
    {
        TRunning run;
        run.SetDatabase(&db());
        run.SetActivityNames(&names);
        run.SetSessionNr(nextSession++);
        run.SetSessionData(QStringLiteral("2024-05-01"), QStringLiteral("Typed"), QString(), QString());
        run.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        run.SetSleep(QStringLiteral("-1"), QString());
        run.SetComment(QString());
        run.SetDuration(duration);
        run.SetDistance(QString());
        run.SetCourseNr(course);
        const QStringList lapTimes = split(times);
        QStringList blanks;
        for (int i = 0; i < lapTimes.size(); ++i)
            blanks.append(QString());
        run.SetLaps(&lapTimes, &blanks);
        run.Insert();
        return run.GetSessionNr();
    }

    void exec(const QString &sql)
    {
        TDbQuery query(db());
        query.Add(sql);
        query.ExecSQL();
    }

    QString value(const QString &sql)
    {
        TDbQuery query(db());
        query.Add(sql);
        query.Open();
        const QString text = query.Eof() ? QStringLiteral("<none>") : query.FieldAsText(0).trimmed();
        query.Close();
        return text;
    }

    int count(const QString &sql) { return value(sql).toInt(); }

    // The session's lap marks as "distance=time" pairs.
    QStringList sessionLaps(int session)
    {
        TDbQuery query(db());
        query.Add(QStringLiteral("select LapDistance, LapTime from TrainingSessionLaps where SessionNr = :s order by LapNr"));
        query.SetInteger(QStringLiteral("s"), session);
        query.Open();
        QStringList marks;
        for (; !query.Eof(); query.Next())
            marks.append(query.FieldAsText(0) + QLatin1Char('=') + query.FieldAsText(1));
        query.Close();
        return marks.isEmpty() ? QStringList() : marks;
    }

    QStringList storedLaps(int course)
    {
        TDbQuery query(db());
        query.Add(QStringLiteral("select CourseDistance from CourseDescriptionLaps where CourseNr = :c order by CourseLapNr"));
        query.SetInteger(QStringLiteral("c"), course);
        query.Open();
        QStringList laps;
        for (; !query.Eof(); query.Next())
            laps.append(query.FieldAsText(0));
        query.Close();
        return laps;
    }

    // Brings the stored courses into the working list, as the course
    // window's search does.
    QList<TCourseItem> searchAll()
    {
        QStringList all;
        names.GetNames(&all);
        QList<TCourseItem> items;
        courses.SearchCourses(all, QString(), QString(), QString(), QStringList{"0", "1", "2", "3", "4"}, &items);
        return items;
    }

    QStringList lapsOf(int course)
    {
        QStringList laps;
        courses.GetCourseLaps(course, &laps);
        return laps;
    }

    // Changes a course of the working list the way the course window does.
    int change(int course, const QString &place, double distance, const QString &laps, const QStringList &description = {})
    {
        const TCourseValues values = courses.GetCourseValues(course);
        courses.SetCourseValues(course, values.Activity, values.Difficulty, distance, place);
        courses.SetCourseDescription(course, &description);
        courses.SetCourseLaps(course, split(laps));
        return courses.SaveCourse(course);
    }
};

QStringList numbersOf(const QList<TCourseItem> &items)
{
    QStringList numbers;
    for (const TCourseItem &item : items)
        numbers.append(QString::number(item.CourseNr));
    return numbers;
}
} // namespace

class tst_Courses : public QObject
{
    Q_OBJECT

    // One diary with four courses for the searches, which only read it:
    //   1 RUN "Runt sjön" 7.5 km, laps 2.5 and 7.5, difficulty 2
    //   2 RUN "Skogen" 10 km, difficulty 0
    //   3 BIK "Sjövägen" 42 km, difficulty 2
    //   4 RUN "Parken" 3 km, difficulty 4
    std::unique_ptr<TFixture> m_courseSet;

    TFixture &courseSet()
    {
        if (!m_courseSet) {
            m_courseSet = std::make_unique<TFixture>();
            m_courseSet->addCourse("RUN", QStringLiteral("Runt sjön"), 7.5, QStringLiteral("2.5,7.5"), 2);
            m_courseSet->addCourse("RUN", QStringLiteral("Skogen"), 10.0, QString(), 0);
            m_courseSet->addCourse("BIK", QStringLiteral("Sjövägen"), 42.0, QString(), 2);
            m_courseSet->addCourse("RUN", QStringLiteral("Parken"), 3.0, QString(), 4);
        }
        return *m_courseSet;
    }

private slots:
    void cleanupTestCase() { m_courseSet.reset(); }

    void difficultyNames()
    {
        QCOMPARE(DifficultyNames[-1], QString());
        QCOMPARE(DifficultyNames[0], QStringLiteral("Mycket lätt"));
        QCOMPARE(DifficultyNames[2], QStringLiteral("Medel"));
        QCOMPARE(DifficultyNames[4], QStringLiteral("Mycket jobbig"));
        QCOMPARE(DifficultyNames[5], QString());
        QCOMPARE(TDifficultyNames::Levels().size(), 5);
    }

    void numbering()
    {
        TFixture f;
        // An empty table starts at 1; courses not yet saved count too.
        const int first = f.courses.NewCourse();
        const int second = f.courses.NewCourse();
        QCOMPARE(first, 1);
        QCOMPARE(second, 2);
        QCOMPARE(f.courses.CourseCount(), 2);

        // Saving the second leaves the first unsaved: the next is above both.
        f.courses.SetCourseValues(second, f.name("RUN"), 1, 5.0, QStringLiteral("Parken"));
        QCOMPARE(f.courses.SaveCourse(second), 0);
        QCOMPARE(f.courses.NewCourse(), 3);

        // A higher number in the diary wins over the working list.
        f.exec(QStringLiteral("insert into CourseDescription (CourseNr, CourseActivity, CoursePlace, CourseDistance, "
                              "CourseDifficulty) values (40, 'RUN', 'Berget', 3, 1)"));
        QCOMPARE(f.courses.NewCourse(), 41);

        // Discarding an unsaved course leaves the diary alone.
        f.courses.RemoveCourse(first);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 2);
        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.RemoveCourse(first); }, &message), QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 01"));

        TTimeDistTempCourse course;
        QCOMPARE(courseErrorOf([&] { course.SetCourseNr(0); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 06"));
        QCOMPARE(course.CourseNr(), -1);
    }

    void setValues_data()
    {
        QTest::addColumn<int>("difficulty");
        QTest::addColumn<QString>("place");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedDistance");
        QTest::newRow("plain") << 2 << "Skogen" << 7.5 << "" << "7.50";
        QTest::newRow("rounded to two decimals") << 0 << " Skogen " << 7.456 << "" << "7.46";
        QTest::newRow("smallest distance") << 4 << "Skogen" << 0.01 << "" << "0.01";
        QTest::newRow("difficulty not set") << -1 << "Skogen" << 5.0 << "" << "5.00";
        QTest::newRow("difficulty too low") << -2 << "Skogen" << 5.0 << "CourseCl 02" << "";
        QTest::newRow("difficulty too high") << 5 << "Skogen" << 5.0 << "CourseCl 02" << "";
        QTest::newRow("blank place") << 2 << "   " << 5.0 << "CourseCl 04" << "";
        QTest::newRow("distance too short") << 2 << "Skogen" << 0.005 << "CourseCl 12" << "";
        QTest::newRow("no distance") << 2 << "Skogen" << 0.0 << "CourseCl 12" << "";
    }

    void setValues()
    {
        QFETCH(int, difficulty);
        QFETCH(QString, place);
        QFETCH(double, distance);
        QFETCH(QString, message);
        QFETCH(QString, storedDistance);
        TTimeDistTempCourse course;
        course.SetValues(QStringLiteral("BIK"), QStringLiteral("Före"), 3, 9.0);
        QString raised;
        QCOMPARE(courseErrorOf([&] { course.SetValues(QStringLiteral("RUN"), place, difficulty, distance); }, &raised),
                 message.isEmpty() ? QString() : QStringLiteral("Course"));
        QCOMPARE(raised, message);
        // A refused call changes nothing.
        QCOMPARE(course.GetActivity(), message.isEmpty() ? QStringLiteral("RUN") : QStringLiteral("BIK"));
        QCOMPARE(course.GetDistance(), message.isEmpty() ? storedDistance : QStringLiteral("9.00"));
        if (message.isEmpty() && difficulty >= 0) {
            QString activity, gotPlace, description, gotDistance;
            int gotDifficulty = -5;
            course.GetValues(activity, gotPlace, description, gotDifficulty, gotDistance);
            QCOMPARE(gotPlace, place);
            QCOMPARE(gotDifficulty, difficulty);
        }
    }

    void valuesWithoutDifficulty()
    {
        TTimeDistTempCourse course;
        course.SetCourseNr(3);
        course.SetValues(QStringLiteral("RUN"), QStringLiteral("Skogen"), -1, 5.0);
        QString message;
        QString activity, place, description, distance;
        int difficulty = 0;
        QCOMPARE(courseErrorOf([&] { course.GetValues(activity, place, description, difficulty, distance); }, &message),
                 QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 03"));
        QCOMPARE(courseErrorOf([&] { course.Validate(); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 11"));
    }

    void validate_data()
    {
        QTest::addColumn<int>("nr");
        QTest::addColumn<QString>("place");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QString>("laps");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("no laps") << 1 << "Skogen" << 7.5 << "" << "" << "";
        QTest::newRow("laps up to the distance") << 1 << "Skogen" << 7.5 << "2.5,5,7.5" << "" << "";
        QTest::newRow("within the margin") << 1 << "Skogen" << 7.5 << "2.5,5,7.5005" << "" << "";
        QTest::newRow("last lap beyond") << 1 << "Skogen" << 7.49 << "2.5,5,7.5" << "LapsDist" << "CourseCl 20";
        QTest::newRow("equal laps") << 1 << "Skogen" << 7.5 << "2,2" << "LapsOrder" << "CourseCl 04";
        QTest::newRow("falling laps") << 1 << "Skogen" << 7.5 << "3,2" << "LapsOrder" << "CourseCl 04";
        QTest::newRow("first lap zero") << 1 << "Skogen" << 7.5 << "0,2" << "LapsOrder" << "CourseCl 18";
        QTest::newRow("lap missing") << 1 << "Skogen" << 7.5 << "2,,5" << "LapsMissing" << "CourseCl 02";
        QTest::newRow("no number") << -1 << "Skogen" << 7.5 << "2" << "Course" << "CourseCl 08";
        QTest::newRow("default place") << 1 << "Default" << 7.5 << "2" << "Place" << "CourseCl 10";
    }

    void validate()
    {
        QFETCH(int, nr);
        QFETCH(QString, place);
        QFETCH(double, distance);
        QFETCH(QString, laps);
        QFETCH(QString, error);
        QFETCH(QString, message);
        TTimeDistTempCourse course;
        if (nr > 0)
            course.SetCourseNr(nr);
        course.SetValues(QStringLiteral("RUN"), place, 2, distance);
        QString raised;
        QCOMPARE(courseErrorOf([&] { course.SetLaps(split(laps)); }, &raised), error);
        QCOMPARE(raised, message);
        // A refused change leaves the laps as they were.
        QStringList got;
        course.GetLaps(&got);
        QCOMPARE(got, error.isEmpty() ? split(laps) : QStringList());
    }

    void validateNeedsActivity()
    {
        TTimeDistTempCourse course;
        course.SetCourseNr(1);
        QString message;
        QCOMPARE(courseErrorOf([&] { course.Validate(); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 09"));
        QCOMPARE(courseErrorOf([&] { course.SetDescription(nullptr); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 17"));
        QCOMPARE(courseErrorOf([&] { course.GetDescription(nullptr); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 19"));
        QCOMPARE(courseErrorOf([&] { course.GetLaps(nullptr); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 05"));
    }

    void storedAndFoundAgain()
    {
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 7.5, QStringLiteral("2.5,5,7.5"), 3,
                                   {QStringLiteral("Start vid "), QString(), QStringLiteral("  mål vid sjön")});
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionText")), 3);
        QCOMPARE(f.value(QStringLiteral("select CourseActivity from CourseDescription")), QStringLiteral("RUN"));
        QCOMPARE(f.storedLaps(nr), (QStringList{"2.50", "5.00", "7.50"}));

        const QList<TCourseItem> items = f.searchAll();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].CourseNr, nr);
        QCOMPARE(items[0].Activity, f.name("RUN"));
        QCOMPARE(items[0].Place, QStringLiteral("Skogen"));
        QCOMPARE(items[0].Distance, QStringLiteral("7.50"));
        QCOMPARE(items[0].Difficulty, QStringLiteral("3"));
        // Lines are read back trimmed; the empty line keeps its place.
        QCOMPARE(items[0].Description, QStringLiteral("Start vid\n\nmål vid sjön"));
        QCOMPARE(f.lapsOf(nr), (QStringList{"2.50", "5.00", "7.50"}));
        QStringList lines;
        f.courses.GetCourseDescription(nr, &lines);
        QCOMPARE(lines.size(), 3);

        // A memo's single empty line is no description at all.
        const int bare = f.addCourse("RUN", QStringLiteral("Parken"), 3.0, QString(), 1, {QString()});
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionText where CourseNr = %1").arg(bare)), 0);
        f.searchAll();
        f.courses.GetCourseDescription(bare, &lines);
        QVERIFY(lines.isEmpty());
        QCOMPARE(f.courses.GetCourseValues(bare).Description, QString());

        // Saved twice: the second save is an update of the stored course.
        QCOMPARE(f.change(bare, QStringLiteral("Parken runt"), 3.5, QStringLiteral("1,3.5")), 0);
        QCOMPARE(f.value(QStringLiteral("select CoursePlace from CourseDescription where CourseNr = %1").arg(bare)),
                 QStringLiteral("Parken runt"));
        QCOMPARE(f.storedLaps(bare), (QStringList{"1.00", "3.50"}));
    }

    // A description line is a paragraph of any length, in the diary's text
    // blob, and comes back whole from every way of reading a course.
    void longDescriptionLines()
    {
        TFixture f;
        QString paragraph;
        while (paragraph.size() < 5000)
            paragraph += QStringLiteral("Stigen går över myren och upp på åsen, förbi tjärnen. ");
        paragraph.truncate(5000);
        paragraph = paragraph.trimmed();
        const QStringList lines{QStringLiteral("Start vid stugan"), paragraph};
        const int nr = f.addCourse("RUN", QStringLiteral("Åsen"), 8.0, QStringLiteral("4,8"), 3, lines);
        QCOMPARE(f.value(QStringLiteral("select char_length(CourseDescription) from CourseDescriptionText "
                                        "where CourseNr = %1 and CourseRowNr = 2").arg(nr)),
                 QString::number(paragraph.size()));

        const QString joined = lines.join(QLatin1Char('\n'));
        const QList<TCourseItem> items = f.searchAll();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].Description, joined);
        QStringList read;
        f.courses.GetCourseDescription(nr, &read);
        QCOMPARE(read, lines);
        QCOMPARE(f.courses.ReadCourse(nr).Description, joined);
        QList<TCourseItem> matched;
        f.courses.MatchCourses({f.name("RUN")}, QString(), QString(), QString(), &matched);
        QCOMPARE(matched.size(), 1);
        QCOMPARE(matched[0].Description, joined);

        // Changed to a longer paragraph still: the update writes it whole.
        const QStringList longer{paragraph + QLatin1Char(' ') + paragraph};
        QCOMPARE(f.change(nr, QStringLiteral("Åsen"), 8.0, QStringLiteral("4,8"), longer), 0);
        QCOMPARE(f.courses.ReadCourse(nr).Description, longer.first());
    }

    // A diary made before description lines were text blobs holds them as
    // VARCHAR(1000): it is read and written as before, and a longer line is
    // refused in Swedish before anything is written.
    void earlierFormOfTheDescription()
    {
        TFixture f;
        f.exec(QStringLiteral("drop table CourseDescriptionText"));
        f.exec(QStringLiteral("create table CourseDescriptionText (CourseNr INTEGER NOT NULL, CourseRowNr INTEGER, "
                              "CourseDescription D_COMMENT)"));
        f.exec(QStringLiteral("create index IX_CourseDescriptionText_Nr on CourseDescriptionText (CourseNr)"));
        f.exec(QStringLiteral("grant all on CourseDescriptionText to public"));
        QCOMPARE(f.value(QStringLiteral("select f.RDB$FIELD_TYPE from RDB$RELATION_FIELDS r, RDB$FIELDS f "
                                        "where f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE and "
                                        "r.RDB$RELATION_NAME = 'COURSEDESCRIPTIONTEXT' and r.RDB$FIELD_NAME = 'COURSEDESCRIPTION'")),
                 QStringLiteral("37")); // VARCHAR

        const QString full(1000, QChar(u'å'));
        const QStringList lines{QStringLiteral("Grusväg"), QString(), full};
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"), 2, lines);
        const QList<TCourseItem> items = f.searchAll();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].Description, lines.join(QLatin1Char('\n')));
        QCOMPARE(f.courses.ReadCourse(nr).Description, lines.join(QLatin1Char('\n')));
        const int session = f.addRun(QString::number(nr), QStringLiteral("8.00,16.00,24.00"));
        QCOMPARE(f.change(nr, QStringLiteral("Skogen runt"), 6.0, QStringLiteral("2,4,6"), {QStringLiteral("Brant")}), 1);
        QCOMPARE(f.courses.ReadCourse(nr).Description, QStringLiteral("Brant"));

        // One character more than the column takes.
        QString message;
        const QStringList tooLong{QStringLiteral("Brant"), full + QLatin1Char('x')};
        QCOMPARE(courseErrorOf([&] { f.change(nr, QStringLiteral("Skogen"), 6.5, QStringLiteral("2,4,6.5"), tooLong); }, &message),
                 QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("Rad 2 i beskrivningen har 1001 tecken, men den här dagboken rymmer högst 1000 tecken "
                                         "per rad. Dela upp raden i kortare rader."));
        QVERIFY(!f.db().InTransaction());
        QCOMPARE(f.value(QStringLiteral("select CoursePlace from CourseDescription where CourseNr = %1").arg(nr)),
                 QStringLiteral("Skogen runt"));
        QCOMPARE(f.value(QStringLiteral("select Distance from Running where Nr = %1").arg(session)), QStringLiteral("6.00"));
        QCOMPARE(f.courses.ReadCourse(nr).Description, QStringLiteral("Brant"));
        // A new course with such a line is not written at all.
        const int fresh = f.courses.NewCourse();
        f.courses.SetCourseValues(fresh, f.name("RUN"), 1, 3.0, QStringLiteral("Parken"));
        f.courses.SetCourseDescription(fresh, &tooLong);
        QCOMPARE(courseErrorOf([&] { f.courses.SaveCourse(fresh); }, &message), QStringLiteral("Course"));
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 1);
    }

    void aFailedInsertLeavesNothing()
    {
        TFixture f;
        const int nr = f.courses.NewCourse();
        f.courses.SetCourseValues(nr, f.name("RUN"), 2, 5.0, QStringLiteral("Skogen"));
        // A table that takes one line only: the insert of the second fails
        // after the course row was written.
        f.exec(QStringLiteral("alter table CourseDescriptionText add constraint CK_OneLine check (CourseRowNr < 2)"));
        const QStringList lines{QStringLiteral("ok"), QStringLiteral("en rad för mycket")};
        f.courses.SetCourseDescription(nr, &lines);
        QVERIFY_THROWS_EXCEPTION(EDbClientError, f.courses.SaveCourse(nr));
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionText")), 0);
        QVERIFY(!f.db().InTransaction());

        // Mended, the same course saves as new.
        const QStringList fixed{QStringLiteral("ok")};
        f.courses.SetCourseDescription(nr, &fixed);
        QCOMPARE(f.courses.SaveCourse(nr), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 1);
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QStringList>("difficulties");
        QTest::addColumn<QString>("found");
        const QStringList all{"0", "1", "2", "3", "4"};
        QTest::newRow("everything") << QStringList{"RUN", "BIK"} << "" << "" << "" << all << "1,2,3,4";
        QTest::newRow("one activity") << QStringList{"BIK"} << "" << "" << "" << all << "3";
        QTest::newRow("place inside the text") << QStringList{"RUN", "BIK"} << "sjö" << "" << "" << all << "1";
        QTest::newRow("distance range") << QStringList{"RUN", "BIK"} << "" << "5" << "10" << all << "1,2";
        QTest::newRow("one distance") << QStringList{"RUN", "BIK"} << "" << "7.5" << "7.5" << all << "1";
        QTest::newRow("difficulties") << QStringList{"RUN", "BIK"} << "" << "" << "" << QStringList{"0", "4"} << "2,4";
        QTest::newRow("nothing matches") << QStringList{"RUN"} << "Berget" << "" << "" << all << "";
    }

    void search()
    {
        QFETCH(QStringList, codes);
        QFETCH(QString, place);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QStringList, difficulties);
        QFETCH(QString, found);
        TFixture &f = courseSet();
        QStringList displayNames;
        for (const QString &code : codes)
            displayNames.append(f.names.NameOfCode(code));

        QList<TCourseItem> items;
        f.courses.SearchCourses(displayNames, place, minimum, maximum, difficulties, &items);
        QCOMPARE(numbersOf(items).join(QLatin1Char(',')), found);
        // What was found is the working list, laps and all.
        QCOMPARE(f.courses.CourseCount(), int(items.size()));
        for (const TCourseItem &item : items)
            QCOMPARE(f.courses.GetCourseValues(item.CourseNr).Place, item.Place);
        if (found.startsWith(QLatin1String("1")))
            QCOMPARE(f.lapsOf(1), (QStringList{"2.50", "7.50"}));

        // Matching leaves the working list alone and ignores difficulties.
        QList<TCourseItem> matches;
        f.courses.MatchCourses(displayNames, place, minimum, maximum, &matches);
        QCOMPARE(f.courses.CourseCount(), int(items.size()));
        if (difficulties.size() == 5)
            QCOMPARE(numbersOf(matches), numbersOf(items));
    }

    void searchWithoutChoices()
    {
        TFixture f;
        f.addCourse("RUN", QStringLiteral("Skogen"), 7.5);
        f.addCourse("BIK", QStringLiteral("Vägen"), 30.0);
        f.searchAll();
        QCOMPARE(f.courses.CourseCount(), 2);

        // No activity, or no difficulty: nothing is searched, the working
        // list ends empty and the result is left as it was.
        QList<TCourseItem> items{TCourseItem()};
        f.courses.SearchCourses({}, QString(), QString(), QString(), {"0", "1", "2"}, &items);
        QCOMPARE(items.size(), 1);
        QCOMPARE(f.courses.CourseCount(), 0);
        f.searchAll();
        f.courses.SearchCourses({f.name("RUN")}, QString(), QString(), QString(), {}, &items);
        QCOMPARE(items.size(), 1);
        QCOMPARE(f.courses.CourseCount(), 0);

        // Matching without activities matches every activity.
        f.courses.MatchCourses({}, QString(), QString(), QString(), &items);
        QCOMPARE(numbersOf(items), (QStringList{"1", "2"}));
        QCOMPARE(f.courses.CourseCount(), 0);

        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.MatchCourses({}, QString(), QString(), QString(), nullptr); }, &message),
                 QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 10"));
        QVERIFY_THROWS_EXCEPTION(EActivityName, f.courses.MatchCourses({QStringLiteral("Okänd")}, QString(), QString(),
                                                                       QString(), &items));
    }

    void listCourses_data()
    {
        QTest::addColumn<bool>("withList");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("numbers");
        // Ordered by activity code (BIK before RUN), place, distance.
        QTest::newRow("no list") << false << QStringList() << "" << "" << "" << "3,4,1,2";
        QTest::newRow("empty list") << true << QStringList() << "" << "" << "" << "";
        QTest::newRow("one activity") << true << QStringList{"RUN"} << "" << "" << "" << "4,1,2";
        QTest::newRow("place") << true << QStringList{"RUN"} << "en" << "" << "" << "4,2";
        QTest::newRow("distance range") << false << QStringList() << "" << "5" << "10" << "1,2";
        QTest::newRow("no distance asked") << false << QStringList() << "" << "!" << "" << "";
    }

    void listCourses()
    {
        QFETCH(bool, withList);
        QFETCH(QStringList, codes);
        QFETCH(QString, place);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QString, numbers);
        TFixture &f = courseSet();
        QStringList displayNames;
        for (const QString &code : codes)
            displayNames.append(f.names.NameOfCode(code));

        const int held = f.courses.CourseCount();
        QStringList texts{QStringLiteral("old")};
        TIntegerList found;
        found.Add(99);
        f.courses.ListCourses(withList ? &displayNames : nullptr, place, minimum, maximum, &texts, &found);
        QStringList got;
        for (int i = 0; i < found.Count(); ++i)
            got.append(QString::number(found[i]));
        QCOMPARE(got.join(QLatin1Char(',')), numbers);
        QCOMPARE(texts.size(), found.Count());
        const int skogen = int(got.indexOf(QStringLiteral("2")));
        if (skogen >= 0)
            QCOMPARE(texts.at(skogen), f.name("RUN") + QStringLiteral(" - Skogen - 10.00 (km)"));
        const int road = int(got.indexOf(QStringLiteral("3")));
        if (road >= 0)
            QCOMPARE(texts.at(road), f.name("BIK") + QStringLiteral(" - Sjövägen - 42.00 (km)"));
        // Listing never touches the working list.
        QCOMPARE(f.courses.CourseCount(), held);
    }

    void listCoursesNeedsTargets()
    {
        TFixture f;
        TIntegerList numbers;
        QStringList texts;
        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.ListCourses(nullptr, {}, {}, {}, &texts, nullptr); }, &message),
                 QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 16"));
        QCOMPARE(courseErrorOf([&] { f.courses.ListCourses(nullptr, {}, {}, {}, nullptr, &numbers); }, &message),
                 QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 17"));
        TCourses bare;
        QCOMPARE(courseErrorOf([&] { bare.SetDatabase(nullptr); }, &message), QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 03"));
        bare.SetDatabase(&f.db());
        QCOMPARE(courseErrorOf([&] { bare.ListCourses(nullptr, {}, {}, {}, &texts, &numbers); }, &message),
                 QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 15"));
        QList<TCourseItem> items;
        QCOMPARE(courseErrorOf([&] { bare.SearchCourses({}, {}, {}, {}, {}, &items); }, &message), QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 02"));
    }

    void deleteRefusedWhileInUse()
    {
        TFixture f;
        const int used = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"), 2, {QStringLiteral("Brant")});
        const int free = f.addCourse("RUN", QStringLiteral("Parken"), 3.0, QStringLiteral("1,2"), 2, {QStringLiteral("Platt")});
        f.addRun(QString::number(used), QStringLiteral("8.00,16.00,24.00"));
        f.searchAll();
        QCOMPARE(f.courses.CourseUseCount(used), 1);
        QCOMPARE(f.courses.CourseUseCount(free), 0);

        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.RemoveCourse(used); }, &message), QStringLiteral("Used"));
        QCOMPARE(message, QString());
        QCOMPARE(f.courses.CourseCount(), 2);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 2);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionText")), 2);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionLaps")), 5);

        f.courses.RemoveCourse(free);
        QCOMPARE(f.courses.CourseCount(), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescription")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionText")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionLaps")), 3);

        // A course deleted behind the working list's back is not there to
        // delete: nothing else goes with it.
        f.exec(QStringLiteral("delete from TrainingSessionCourse"));
        f.exec(QStringLiteral("delete from CourseDescription"));
        QCOMPARE(courseErrorOf([&] { f.courses.RemoveCourse(used); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("[0] rader lades till"));
        QCOMPARE(f.count(QStringLiteral("select count(*) from CourseDescriptionLaps")), 3);
        QVERIFY(!f.db().InTransaction());
    }

    void lapsChangeChecks_data()
    {
        QTest::addColumn<bool>("inUse");
        QTest::addColumn<QString>("laps");
        QTest::addColumn<QString>("error");
        QTest::newRow("fewer laps") << true << "2,4" << "DataLoss";
        QTest::newRow("a lap added") << true << "2,4,5,6" << "";
        QTest::newRow("added with other texts") << true << "2.0,4.00,5,6" << "";
        QTest::newRow("added and moved") << true << "2,3,5,6" << "DataDiff";
        QTest::newRow("same count, other distances") << true << "1,3,5" << "";
        QTest::newRow("no laps left") << true << "" << "DataLoss";
        QTest::newRow("fewer but unused") << false << "2" << "";
    }

    void lapsChangeChecks()
    {
        QFETCH(bool, inUse);
        QFETCH(QString, laps);
        QFETCH(QString, error);
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"));
        if (inUse)
            f.addRun(QString::number(nr), QStringLiteral("8.00,16.00,24.00"));
        f.searchAll();
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, split(laps)); }), error);
        // Checking changes nothing.
        QCOMPARE(f.lapsOf(nr), (QStringList{"2.00", "4.00", "6.00"}));
    }

    void aStoredCourseKeepsItsActivity()
    {
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0);
        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.SetCourseValues(nr, f.name("BIK"), 2, 6.0, QStringLiteral("Skogen")); },
                               &message),
                 QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 16"));
        QCOMPARE(f.courses.GetCourseValues(nr).Activity, f.name("RUN"));
    }

    void updatePushesToBoundSessions()
    {
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"));
        const int timed = f.addRun(QString::number(nr), QStringLiteral("8.00,16.00,24.00"));
        const int noDistance = f.addRun(QString::number(nr), QStringLiteral("8.30,17.00,25.30"));
        const int unbound = f.addRun(QString(), QString());
        QCOMPARE(f.value(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = %1").arg(timed)),
                 QStringLiteral("Skogen"));
        // A session that lost its distance still gets the course's.
        f.exec(QStringLiteral("update Running set Distance = null where Nr = %1").arg(noDistance));
        const int pending = f.activities.NewActivity(f.name("RUN"));
        QVERIFY(pending > 0);

        f.searchAll();
        QCOMPARE(f.change(nr, QStringLiteral("Skogen runt"), 6.5, QStringLiteral("2,4.2,6.5")), 2);
        for (int session : {timed, noDistance}) {
            QCOMPARE(f.value(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = %1").arg(session)),
                     QStringLiteral("Skogen runt"));
            QCOMPARE(f.value(QStringLiteral("select Distance from Running where Nr = %1").arg(session)), QStringLiteral("6.50"));
        }
        QCOMPARE(f.sessionLaps(timed), (QStringList{"2.00=8.00", "4.20=16.00", "6.50=24.00"}));
        QCOMPARE(f.value(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = %1").arg(unbound)),
                 QStringLiteral("Typed"));
        // The sessions held in memory are stale now: they are dropped.
        QCOMPARE(f.activities.Count(), 0);
        QCOMPARE(f.courses.CourseUseCount(nr), 2);

        // One lap more: the times stay at the distances that stay.
        QCOMPARE(f.change(nr, QStringLiteral("Skogen runt"), 6.5, QStringLiteral("2,3,4.2,6.5")), 2);
        QCOMPARE(f.sessionLaps(timed), (QStringList{"2.00=8.00", "3.00=", "4.20=16.00", "6.50=24.00"}));
        QCOMPARE(f.storedLaps(nr), (QStringList{"2.00", "3.00", "4.20", "6.50"}));

        // A course nobody runs rewrites nothing and keeps what is in memory.
        const int other = f.addCourse("RUN", QStringLiteral("Parken"), 3.0, QStringLiteral("1,3"));
        f.activities.NewActivity(f.name("RUN"));
        f.searchAll();
        QCOMPARE(f.change(other, QStringLiteral("Parken"), 3.0, QStringLiteral("1,2,3")), 0);
        QCOMPARE(f.activities.Count(), 1);
    }

    // A course whose laps were all removed leaves its sessions' marks as
    // they were, and so does every later save of such a session: the
    // course has no lap distances to give it.
    void marksOutliveTheCoursesLaps()
    {
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Slingan"), 2.0, QStringLiteral("1,2"));
        const int session = f.addRun(QString::number(nr), QStringLiteral("5.00,10.00"), QStringLiteral("10.00"));
        const QStringList marks{"1.00=5.00", "2.00=10.00"};
        QCOMPARE(f.sessionLaps(session), marks);

        // Removing every lap loses split times: the course window asks, and
        // the user answers yes.
        f.searchAll();
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, {}); }), QStringLiteral("DataLoss"));
        QCOMPARE(f.change(nr, QStringLiteral("Slingan"), 2.0, QString()), 1);
        QCOMPARE(f.storedLaps(nr), QStringList());
        QCOMPARE(f.sessionLaps(session), marks);

        // Only the comment changes, once the session's and once the run's
        // own, as "Ändra" saves it: with the marks it shows.
        for (const bool ownComment : {false, true}) {
            TRunning run;
            run.SetDatabase(&f.db());
            run.SetActivityNames(&f.names);
            run.SetSessionNr(session);
            run.Load();
            if (ownComment)
                run.SetComment(QStringLiteral("Tunga ben"));
            else
                run.SetSessionData(run.GetDate(), run.GetPlace(), QStringLiteral("Blåsigt"), run.GetWeight());
            QStringList times, distances;
            QCOMPARE(run.GetLaps(&times, &distances), 2);
            run.SetLaps(&times, &distances);
            run.Update();
            QCOMPARE(f.sessionLaps(session), marks);
            QCOMPARE(f.count(QStringLiteral("select count(*) from TrainingSessionCourse where SessionNr = %1").arg(session)), 1);
        }
        QCOMPARE(f.value(QStringLiteral("select SessionComment from TrainingSession where SessionNr = %1").arg(session)),
                 QStringLiteral("Blåsigt"));
        QCOMPARE(f.value(QStringLiteral("select Comment from Running where Nr = %1").arg(session)), QStringLiteral("Tunga ben"));
        // The place and the distance still come from the course.
        QCOMPARE(f.value(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = %1").arg(session)),
                 QStringLiteral("Slingan"));
        QCOMPARE(f.value(QStringLiteral("select Distance from Running where Nr = %1").arg(session)), QStringLiteral("2.00"));
    }

    // A change that fails is rolled back as a whole; the next attempt is
    // still checked, and still pushed out, against the laps the diary holds.
    void aFailedUpdateKeepsTheStoredLaps_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("place too long for the course row") << "place";
        QTest::newRow("description row refused") << "description";
    }

    void aFailedUpdateKeepsTheStoredLaps()
    {
        QFETCH(QString, failure);
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"), 2, {QStringLiteral("Brant")});
        const int session = f.addRun(QString::number(nr), QStringLiteral("8.00,16.00,24.00"));
        const QStringList sessionBefore{"2.00=8.00", "4.00=16.00", "6.00=24.00"};
        f.searchAll();

        const QString badPlace = failure == QLatin1String("place") ? QString(150, QLatin1Char('p')) : QStringLiteral("Skogen");
        // A description line has no length limit; a table that refuses a
        // second line makes the description fail instead.
        QStringList badLines{QStringLiteral("Brant")};
        if (failure == QLatin1String("description")) {
            f.exec(QStringLiteral("alter table CourseDescriptionText add constraint CK_OneLine check (CourseRowNr < 2)"));
            badLines.append(QStringLiteral("Lerigt"));
        }
        f.courses.CheckCourseLapsChange(nr, split(QStringLiteral("2,4,5,6")));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, f.change(nr, badPlace, 6.0, QStringLiteral("2,4,5,6"), badLines));
        QVERIFY(!f.db().InTransaction());
        QCOMPARE(f.storedLaps(nr), (QStringList{"2.00", "4.00", "6.00"}));
        QCOMPARE(f.value(QStringLiteral("select CourseDescription from CourseDescriptionText where CourseNr = %1").arg(nr)),
                 QStringLiteral("Brant"));
        QCOMPARE(f.sessionLaps(session), sessionBefore);
        // The course keeps what was set on it; the diary's laps stay what
        // the next change is measured against.
        QCOMPARE(f.lapsOf(nr), (QStringList{"2", "4", "5", "6"}));
        QCOMPARE(f.courses.GetCourseValues(nr).Place, badPlace);

        // Fewer laps than the diary holds would still lose split times.
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, split(QStringLiteral("2,4,5"))); }),
                 QString());
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, split(QStringLiteral("2,4"))); }),
                 QStringLiteral("DataLoss"));

        // The second attempt adds a lap: the old times stay where their
        // distances stay, the new mark has none.
        QCOMPARE(f.change(nr, QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,5,6"), {QStringLiteral("Brant")}), 1);
        QCOMPARE(f.sessionLaps(session), (QStringList{"2.00=8.00", "4.00=16.00", "5.00=", "6.00=24.00"}));
        QCOMPARE(f.storedLaps(nr), (QStringList{"2.00", "4.00", "5.00", "6.00"}));
    }

    void aFailedShorteningIsAskedAgain()
    {
        TFixture f;
        const int nr = f.addCourse("RUN", QStringLiteral("Skogen"), 6.0, QStringLiteral("2,4,6"));
        const int session = f.addRun(QString::number(nr), QStringLiteral("8.00,16.00,24.00"));
        f.searchAll();
        // The user agreed to lose a split time, but the save failed.
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, split(QStringLiteral("2,6"))); }),
                 QStringLiteral("DataLoss"));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, f.change(nr, QString(150, QLatin1Char('p')), 6.0, QStringLiteral("2,6")));
        QCOMPARE(f.sessionLaps(session).size(), 3);
        // Trying again with the same laps must ask again.
        QCOMPARE(courseErrorOf([&] { f.courses.CheckCourseLapsChange(nr, split(QStringLiteral("2,6"))); }),
                 QStringLiteral("DataLoss"));
        QCOMPARE(f.change(nr, QStringLiteral("Skogen"), 6.0, QStringLiteral("2,6")), 1);
        QCOMPARE(f.sessionLaps(session), (QStringList{"2.00=8.00", "6.00=24.00"}));
    }

    void readCourse()
    {
        TFixture f;
        const int nr = f.addCourse("BIK", QStringLiteral("Vägen"), 30.0, QStringLiteral("10,20,30"), 4,
                                   {QStringLiteral("Backe"), QStringLiteral("Platt")});
        f.searchAll();
        f.courses.SearchCourses({}, {}, {}, {}, {}, nullptr);
        QCOMPARE(f.courses.CourseCount(), 0);

        // Read past the working list.
        const TCourseValues values = f.courses.ReadCourse(nr);
        QCOMPARE(values.Activity, f.name("BIK"));
        QCOMPARE(values.Place, QStringLiteral("Vägen"));
        QCOMPARE(values.Distance, QStringLiteral("30.00"));
        QCOMPARE(values.Difficulty, 4);
        QCOMPARE(values.Description, QStringLiteral("Backe\nPlatt"));
        QStringList laps;
        f.courses.GetReadCourseLaps(nr, &laps);
        QCOMPARE(laps, (QStringList{"10.00", "20.00", "30.00"}));
        QCOMPARE(f.courses.CourseCount(), 0);

        QString message;
        QCOMPARE(courseErrorOf([&] { f.courses.GetReadCourseLaps(nr + 1, &laps); }, &message), QStringLiteral("Courses"));
        QCOMPARE(message, QStringLiteral("Courses 21"));
        // A course that is not there leaves the one read before.
        QCOMPARE(courseErrorOf([&] { f.courses.ReadCourse(nr + 5); }, &message), QStringLiteral("Course"));
        QCOMPARE(message, QStringLiteral("CourseCl 01"));
        f.courses.GetReadCourseLaps(nr, &laps);
        QCOMPARE(laps.size(), 3);
    }
};

QTEST_GUILESS_MAIN(tst_Courses)
#include "tst_Courses.moc"
