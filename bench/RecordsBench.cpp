// Times the personal records on sample diaries of 1,000 to 20,000 entries
// over 20 years whose strength register is widened to 40 exercises in 10
// programs, with the workouts spread over all ten programs. "records" is
// the search of the records window (the median of five runs): one
// statement per time-and-distance activity and one read of every workout,
// decided in memory. "loops" is the same search with one statement per
// exercise, program and slot and one per basic slot, for comparison; "same"
// tells whether both found the same records.
//
//   bench_records [sizes...]      (default 1000 10000 20000)
//
// The diaries are those of bench_diary, made once and kept in
// $TERNVALL_BENCH_CACHE, else ~/.cache/ternvall-bench.

#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "analysis/PersonalRecords.h"
#include "foundation/DbClient.h"
#include "model/ActFactory.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "reference/Exercises.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
const QDate diaryEnd(2024, 12, 31);
constexpr int years = 20;
constexpr quint64 diarySeed = 1;
constexpr int exerciseCount = 40;
constexpr int programCount = 10;

QString cacheFolder()
{
    const QString given = qEnvironmentVariable("TERNVALL_BENCH_CACHE");
    return given.isEmpty() ? QDir::homePath() + QStringLiteral("/.cache/ternvall-bench") : given;
}

// The sample diary of the size, made when the cache does not hold it yet
// (under the name bench_diary gives it).
QString cachedDiary(int entries)
{
    const QString folder = cacheFolder();
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/diary-%2-%3y-seed%4-to%5-v%6.gdb")
                             .arg(folder)
                             .arg(entries)
                             .arg(years)
                             .arg(diarySeed)
                             .arg(diaryEnd.toString(QStringLiteral("yyyyMMdd")))
                             .arg(SampleDiary::ContentVersion);
    if (QFileInfo::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    std::fprintf(stderr, "Making the diary of %d entries (once, kept in %s)...\n", entries, qPrintable(folder));
    DiaryDatabase::Create(partial, QStringLiteral(TERNVALL_SCHEMA_FILE));
    TSampleDiaryOptions options;
    options.Entries = entries;
    options.Years = years;
    options.Seed = diarySeed;
    options.End = diaryEnd;
    SampleDiary::FillFile(partial, QStringLiteral("SYSDBA"), QStringLiteral("hollyfern"), options);
    if (!QFile::rename(partial, path))
        throw EException(QStringLiteral("Kan inte döpa om %1").arg(partial));
    return path;
}

void exec(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

qint64 number(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.Open();
    return query.Eof() ? 0 : query.FieldAsInteger(0);
}

// The parts the records read, on one diary.
struct TDiary
{
    TDbConnection db;
    TActivityNames names;
    TActivityFactory factory;
    TExercises exercises;
    TExercisePrograms programs;

    explicit TDiary(const QString &path) : db(QStringLiteral("bench_records"))
    {
        db.SetDatabaseName(path);
        db.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        db.Open();
        names.SetDatabase(&db);
        names.Open();
        QStringList codes;
        names.GetCodes(&codes);
        for (const QString &code : codes)
            factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
        exercises.SetDatabase(&db);
        programs.SetDatabase(&db);
        exercises.SetExercisePrograms(&programs);
        programs.SetExercises(&exercises);
        exercises.LoadExercises();
        programs.LoadPrograms();
    }

    // 40 exercises in 10 programs; the program workouts are spread over all
    // ten, keeping the loads and repetitions of their slots.
    void Widen()
    {
        QList<qint32> ids;
        QStringList exerciseNames;
        exercises.GetExercises(ids, exerciseNames);
        for (int i = int(ids.size()); i < exerciseCount; ++i)
            ids.append(exercises.AddExercise(QStringLiteral("Övning %1").arg(i + 1)));
        exercises.ApplyExercises();
        QList<qint32> programIds;
        QStringList programNames;
        programs.GetPrograms(programIds, programNames);
        for (int p = int(programIds.size()); p < programCount; ++p) {
            const qint32 id = programs.AddProgram(QStringLiteral("Program %1").arg(p + 1), QString());
            TProgramExercises slotIds;
            for (int k = 0; k < ProgramSlotCount; ++k)
                slotIds[std::size_t(k)] = QString::number(ids.at((p * 7 + k * 3) % exerciseCount));
            programs.SetProgramExercises(id, slotIds);
            programIds.append(id);
        }
        programs.ApplyPrograms();
        for (int p = 0; p < programCount; ++p)
            exec(db, QStringLiteral("update WorkoutExercisePrograms set ExProgId = %1 where mod(WoNr, %2) = %3")
                         .arg(programIds.at(p))
                         .arg(programCount)
                         .arg(p));
    }

    void Attach(TPersonalRecords &records)
    {
        records.SetDatabase(&db);
        records.SetFactory(&factory);
        records.SetNames(&names);
        records.SetExercises(&exercises);
        records.SetPrograms(&programs);
    }
};

// The records with one statement per exercise, program and slot.
void loopRecords(TDiary &diary, QList<TTDRecordItem> &courses, QList<TWRecordItem> &strength)
{
    QStringList names;
    diary.names.GetNames(&names);
    for (const QString &name : names) {
        std::unique_ptr<TActivity> activity = diary.factory.CreateActivity(name);
        activity->SetDatabase(&diary.db);
        activity->SetActivityNames(&diary.names);
        if (activity->Family() == TActivityFamily::TimeDistance)
            static_cast<TTimeDistanceActivity &>(*activity).CourseRecords(courses, 1);
    }
    TWorkout workout;
    workout.SetDatabase(&diary.db);
    QList<qint32> exerciseIds, programIds;
    QStringList exerciseNames;
    diary.exercises.GetExercises(exerciseIds, exerciseNames);
    diary.programs.GetAllProgramIds(programIds);
    for (qsizetype i = 0; i < exerciseIds.size(); ++i) {
        QList<TWRecordItem> found;
        for (const qint32 program : programIds) {
            const TProgramExercises slotIds = diary.programs.GetProgramExercises(program);
            for (int k = 0; k < ProgramSlotCount; ++k) {
                if (slotIds[std::size_t(k)].trimmed() == QString::number(exerciseIds.at(i)))
                    workout.ProgramRecords(found, exerciseNames.at(i), 0, 0, program, QString::number(k + 1));
            }
        }
        QList<TStrengthCandidate> candidates;
        for (const TWRecordItem &item : found)
            candidates.append({int(candidates.size()), item.Date, item.Place, item.Program, item.Weight, item.Reps});
        const int best = TPersonalRecords::BestCandidate(candidates);
        if (best >= 0) {
            TWRecordItem record = found.at(best);
            record.Count = QString::number(found.size());
            strength.append(record);
        }
    }
    workout.FreeRecords(strength, 0, 1, 0);
}

QStringList texts(const QList<TTDRecordItem> &courses, const QList<TWRecordItem> &strength)
{
    QStringList all;
    for (const TTDRecordItem &r : courses)
        all.append(QStringList{r.Date, r.Activity, r.Place, r.Duration, QString::number(r.Sessions)}.join(QLatin1Char('|')));
    for (const TWRecordItem &r : strength)
        all.append(QStringList{r.Exercise, r.Date, r.Program, r.Weight, r.Count}.join(QLatin1Char('|')));
    return all;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    std::printf("%7s %8s %9s %8s %10s %10s %8s %5s\n", "entries", "workouts", "exercises", "programs", "records ms",
                "loops ms", "records", "same");
    for (const int entries : sizes) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Corvale1.gdb"));
        if (!QFile::copy(cachedDiary(entries), path)) {
            std::printf("cannot copy the diary of %d entries\n", entries);
            return 1;
        }
        TDiary diary(path);
        diary.Widen();
        const qint64 workouts = number(diary.db, QStringLiteral("select count(*) from Workout"));

        TPersonalRecords engine;
        diary.Attach(engine);
        engine.SetLimits(1, 0, 0, 1);
        QList<TTDRecordItem> courses;
        QList<TWRecordItem> strength;
        engine.Search(courses, strength); // the engine's caches warm
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            engine.Search(courses, strength);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());

        QList<TTDRecordItem> loopCourses;
        QList<TWRecordItem> loopStrength;
        QElapsedTimer timer;
        timer.start();
        loopRecords(diary, loopCourses, loopStrength);
        const double loopMs = timer.nsecsElapsed() / 1e6;
        const bool same = texts(courses, strength) == texts(loopCourses, loopStrength);
        std::printf("%7d %8lld %9d %8d %10.1f %10.1f %8lld %5s\n", entries, static_cast<long long>(workouts),
                    exerciseCount, programCount, times[times.size() / 2], loopMs,
                    static_cast<long long>(courses.size() + strength.size()), same ? "yes" : "NO");
        std::fflush(stdout);
        diary.db.Close();
    }
    return 0;
}
