// Times the search over all activity types in diaries of growing size. Each
// diary is filled through the activity classes' own storage: about half
// time-and-distance sessions with eight lap marks each, the rest spread over
// the other types. Prints one table row per diary size.
//
//   bench_search [sizes...]      (default 1000 10000 20000)

#include "BenchProcess.h"
#include "DiaryDatabase.h"

#include "foundation/DbClient.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <memory>

namespace
{
void fillSession(TActivity &activity, int i)
{
    const QDate date = QDate(2000, 1, 1).addDays(i / 3);
    activity.SetSessionData(date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("Plats %1").arg(i % 40), QString(),
                            QStringLiteral("7%1").arg(i % 10));
    activity.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    activity.SetSleep(QStringLiteral("-1"), QString());
    // Every third session has a comment, some of them over two lines.
    activity.SetComment(i % 3 != 0 ? QString()
                        : i % 2 ? QStringLiteral("Lugnt tempo, kändes bra i benen.")
                                : QStringLiteral("Intervaller 5 x 1000 m.\r\nBlåsigt på sista varvet."));
}

// The values a type needs beyond the session; time-and-distance sessions
// get eight marks.
void fillType(TActivity &activity, int i)
{
    if (auto *td = dynamic_cast<TTimeDistanceActivity *>(&activity)) {
        td->SetDistance(QStringLiteral("10"));
        td->SetDuration(QStringLiteral("50.00"));
        td->SetCourseNr(QString());
        QStringList times, distances;
        for (int lap = 1; lap <= 8; ++lap) {
            distances << QString::number(lap);
            times << QStringLiteral("%1.%2").arg(lap * 5).arg((i + lap) % 60, 2, 10, QLatin1Char('0'));
        }
        td->SetLaps(&times, &distances);
    } else if (auto *game = dynamic_cast<TGame *>(&activity)) {
        game->SetDuration(QStringLiteral("60"));
        game->SetGame(QStringLiteral("2"), QStringLiteral("3-2"));
    } else if (auto *timed = dynamic_cast<TTimeActivity *>(&activity)) {
        timed->SetDuration(QStringLiteral("45.00"));
    } else if (auto *distance = dynamic_cast<TDistanceActivity *>(&activity)) {
        distance->SetDistance(QStringLiteral("12"));
    } else if (auto *other = dynamic_cast<TOther *>(&activity)) {
        other->SetOtherActivity(QStringLiteral("Yoga"));
    } else if (auto *golf = dynamic_cast<TGolf *>(&activity)) {
        golf->SetRound(QStringLiteral("72"), QStringLiteral("90"), false, TGolfHoles(), QStringLiteral("30"), QStringLiteral("2"),
                       QStringLiteral("34"), QStringLiteral("120"), QStringLiteral("71.5"), QStringLiteral("18.2"),
                       QStringLiteral("18.4"));
    }
}

struct TRow
{
    int Size = 0;
    int Types = 0;
    double FillSeconds = 0.0;
    double SearchMs = 0.0;
    double SearchCpuMs = 0.0;
    int Found = 0;
    double MemoryMb = 0.0;
};

TRow measure(int size, const QString &folder)
{
    const QString path = folder + QStringLiteral("/bench%1.gdb").arg(size);
    DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
    TDbConnection db(QStringLiteral("bench%1").arg(size));
    db.SetDatabaseName(path);
    db.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    db.Open();
    TActivityNames names;
    names.SetDatabase(&db);
    names.Open();
    TActivityFactory factory;
    QStringList codes, displayNames, timeDistance, others;
    names.GetCodes(&codes);
    for (const QString &code : codes) {
        const QString name = names.NameOfCode(code);
        factory.Register(name, ActivityClassOfCode(code));
        displayNames << name;
        (factory.CreateActivity(name)->Family() == TActivityFamily::TimeDistance ? timeDistance : others) << name;
    }
    TPulses pulses;
    pulses.SetDatabase(&db);
    TExercises exercises;
    TExercisePrograms programs;
    exercises.SetExercisePrograms(&programs);
    programs.SetExercises(&exercises);
    programs.SetDatabase(&db);

    TRow row;
    row.Size = size;
    row.Types = int(displayNames.size());
    QElapsedTimer timer;
    timer.start();
    int skipped = 0;
    for (int i = 0; i < size; ++i) {
        const QString name = i % 2 == 0 ? timeDistance.at((i / 2) % timeDistance.size()) : others.at((i / 2) % others.size());
        std::unique_ptr<TActivity> activity = factory.CreateActivity(name);
        activity->SetDatabase(&db);
        activity->SetActivityNames(&names);
        activity->SetSessionNr(i + 1);
        try {
            fillSession(*activity, i);
            fillType(*activity, i);
            activity->Insert();
        } catch (const std::exception &e) {
            // A type whose defaults the storage refuses is left out.
            if (skipped++ == 0)
                std::fprintf(stderr, "%s not stored: %s\n", qPrintable(name), e.what());
        }
    }
    row.FillSeconds = double(timer.nsecsElapsed()) / 1e9;

    TActivities activities;
    activities.SetActivityNames(&names);
    activities.SetFactory(&factory);
    activities.SetPulses(&pulses);
    activities.SetExercisePrograms(&programs);
    activities.SetDatabase(&db);
    const double before = Bench::ResidentMb();
    QList<int> numbers;
    // BENCH_SEARCH_REPEAT=n searches n times before the measured search, so
    // that a profiler sees mostly the search.
    for (int repeat = qEnvironmentVariableIntValue("BENCH_SEARCH_REPEAT"); repeat > 0; --repeat)
        activities.Search(displayNames, TSearchParams(), {}, numbers);
    // BENCH_SEARCH_TIMES=n runs the measured search n times and reports the
    // fastest, which is steadier on a machine that does other work.
    const int times = qMax(1, qEnvironmentVariableIntValue("BENCH_SEARCH_TIMES"));
    double fastest = 0.0;
    for (int time = 0; time < times; ++time) {
        const double cpuBefore = Bench::CpuMs();
        timer.restart();
        QString reached;
        try {
            QElapsedTimer step;
            step.start();
            activities.Search(displayNames, TSearchParams(), [&](const QString &name) {
                // BENCH_SEARCH_STEPS=1 prints the time of each type's search.
                if (qEnvironmentVariableIsSet("BENCH_SEARCH_STEPS"))
                    std::fprintf(stderr, "%-20s %8.1f ms %6d\n", qPrintable(reached), double(step.nsecsElapsed()) / 1e6, activities.Count());
                step.restart();
                reached = name;
            }, numbers);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "search failed at %s: %s\n", qPrintable(reached), e.what());
            throw;
        }
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        const double cpu = Bench::CpuMs() - cpuBefore;
        if (time == 0 || elapsed < fastest)
            row.SearchCpuMs = cpu;
        fastest = time == 0 ? elapsed : qMin(fastest, elapsed);
    }
    row.SearchMs = fastest;
    row.Found = int(numbers.size());
    row.MemoryMb = Bench::ResidentMb() - before;
    return row;
}
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    PrepareDatabaseEngine();
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {1000, 10000, 20000};
    QTemporaryDir dir;

    std::printf("%8s %6s %10s %10s %10s %8s %10s %10s\n", "sessions", "types", "fill s", "search ms", "cpu ms", "found", "us/found",
                "memory MB");
    for (int size : sizes) {
        const TRow row = measure(size, dir.path());
        std::printf("%8d %6d %10.1f %10.1f %10.1f %8d %10.1f %10.1f\n", row.Size, row.Types, row.FillSeconds, row.SearchMs,
                    row.SearchCpuMs, row.Found,
                    row.Found ? row.SearchMs * 1000.0 / row.Found : 0.0, row.MemoryMb);
        std::fflush(stdout);
    }
    return 0;
}
