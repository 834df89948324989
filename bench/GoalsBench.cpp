// Times the follow-up of a goal over ten years on sample diaries of 1,000,
// 10,000 and 20,000 entries (20 years each, made once by the sample diary
// generator and kept in the cache folder that bench_diary uses): a week
// goal of running counted in sessions, in distance and in time (522
// weekly points), a month goal (120 points) and a weight goal (every
// weighing of the ten years). Each follow-up reads the diary anew, as the
// goals window does. Prints one row per size: the first run and the median
// of the runs in ms, and the sessions the count goal found as a check.
//
//   bench_goals [--runs 5] [sizes...]      (default 1000 10000 20000)
//
// The cache folder is $TERNVALL_BENCH_CACHE, else ~/.cache/ternvall-bench.

#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "analysis/Goals.h"
#include "foundation/DbClient.h"
#include "model/ActFactory.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"

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
constexpr int diaryYears = 20;
constexpr quint64 diarySeed = 1;
const QString goalFrom = QStringLiteral("2015-01-01");
const QString goalTo = QStringLiteral("2024-12-31");

QString cacheFolder()
{
    const QString given = qEnvironmentVariable("TERNVALL_BENCH_CACHE");
    return given.isEmpty() ? QDir::homePath() + QStringLiteral("/.cache/ternvall-bench") : given;
}

// The sample diary of the size, named as bench_diary names it, made when it
// is not in the cache yet.
QString cachedDiary(int entries)
{
    const QString folder = cacheFolder();
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/diary-%2-%3y-seed%4-to%5-v%6.gdb")
                             .arg(folder)
                             .arg(entries)
                             .arg(diaryYears)
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
    options.Years = diaryYears;
    options.Seed = diarySeed;
    options.End = diaryEnd;
    SampleDiary::FillFile(partial, QStringLiteral("SYSDBA"), QStringLiteral("hollyfern"), options);
    if (!QFile::rename(partial, path))
        throw EException(QStringLiteral("Kan inte döpa om %1").arg(partial));
    return path;
}

struct TTiming
{
    double FirstMs = 0;
    double MedianMs = 0;
    int Points = 0;
    double Total = 0;
};

TTiming timeFollowUp(TGoals &goals, qint32 number, int runs)
{
    TTiming timing;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const TGoalFollowUpItem item = goals.GetFollowUp(number);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (run == 0) {
            timing.FirstMs = ms;
            timing.Points = item.Count;
            for (double value : item.Values)
                timing.Total += value;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    timing.MedianMs = times[times.size() / 2];
    return timing;
}
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    int runs = 5;
    const qsizetype runsAt = arguments.indexOf(QStringLiteral("--runs"));
    if (runsAt >= 0 && runsAt + 1 < arguments.size()) {
        runs = std::max(1, arguments.at(runsAt + 1).toInt());
        arguments.remove(runsAt, 2);
    }
    QList<int> sizes;
    for (const QString &argument : arguments)
        sizes.append(argument.toInt());
    if (sizes.isEmpty())
        sizes = {1000, 10000, 20000};

    std::printf("Follow-up of a goal from %s to %s on sample diaries of %d years; first run and median of %d, ms\n",
                qPrintable(goalFrom), qPrintable(goalTo), diaryYears, runs);
    std::printf("| entries | week, sessions | week, distance | week, time | month, sessions | weight | sessions counted |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
    try {
        for (int size : sizes) {
            QTemporaryDir folder;
            const QString path = folder.filePath(QStringLiteral("Corvale1.gdb"));
            if (!QFile::copy(cachedDiary(size), path))
                throw EException(QStringLiteral("Kan inte kopiera dagboken"));
            QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            TDbConnection connection(QStringLiteral("bench_goals-%1").arg(size));
            connection.SetDatabaseName(path);
            connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
            connection.Open();
            {
                TActivityNames names;
                names.SetDatabase(&connection);
                names.Open();
                QStringList codes;
                names.GetCodes(&codes);
                TActivityFactory factory;
                for (const QString &code : codes)
                    factory.Register(names.NameOfCode(code), ActivityClassOfCode(code));
                TGoals goals;
                goals.SetDatabase(&connection);
                goals.SetActivityNames(&names);
                goals.SetActivityFactory(&factory);
                const QString running = names.NameOfCode(QStringLiteral("RUN"));
                const auto goal = [&](int type, const QString &activity, quint8 amountType, const QString &amount) {
                    const qint32 nr = goals.AddGoal(QStringLiteral("Mål"), type);
                    goals.SetGoalValues(nr, activity, QString(), amountType, amount, goalTo, goalFrom);
                    return nr;
                };
                const TTiming count = timeFollowUp(goals, goal(0, running, 0, QStringLiteral("2")), runs);
                const TTiming distance = timeFollowUp(goals, goal(0, running, 1, QStringLiteral("20")), runs);
                const TTiming time = timeFollowUp(goals, goal(0, running, 2, QStringLiteral("120")), runs);
                const TTiming month = timeFollowUp(goals, goal(1, running, 0, QStringLiteral("8")), runs);
                const TTiming weight =
                    timeFollowUp(goals, goal(2, names.NameOfCode(QStringLiteral("BLO")), 0, QStringLiteral("75")), runs);
                const auto cell = [](const TTiming &t) { return QStringLiteral("%1 (%2)").arg(t.MedianMs, 0, 'f', 1).arg(t.FirstMs, 0, 'f', 1); };
                std::printf("| %d | %s | %s | %s | %s | %s | %.0f in %d weeks |\n", size, qPrintable(cell(count)),
                            qPrintable(cell(distance)), qPrintable(cell(time)), qPrintable(cell(month)),
                            qPrintable(cell(weight)), count.Total, count.Points);
                std::fflush(stdout);
            }
            connection.Close();
        }
    } catch (const EException &e) {
        std::fprintf(stderr, "bench_goals: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
