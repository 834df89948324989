// Times the course replay on sample diaries of 1,000 to 20,000 entries, each
// with 100 more running sessions on one course of four lap marks (every
// third session without its second split, which is then interpolated):
//
// - load: making the competitors of the search of that course (100
//   sessions), the engine alone (LoadReplay) and the window's whole
//   LoadFromSearch (with choosing the course and the first drawing);
// - all running: LoadReplay over the search of every running session of the
//   diary, to show how loading grows with a large list;
// - tick: one clock tick of the window at the fastest speed (437 s a tick),
//   bars and both rankings changed in place, including the chart's repaint;
//   median and slowest of every tick from 00.00 to the end, played twice.
//
// Load times are medians of 5 runs. Prints one table row per size.
//
//   bench_replay [sizes...]      (default 1000 10000 20000)

#include "SampleDiary.h"
#include "DiaryDatabase.h"
#include "TestDiary.h"

#include "analysis/CourseReplay.h"
#include "analysis/Replay.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"
#include "model/SearchParams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSlider>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int competitors = 100;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The sample diary of the size, as the diary bench keeps it; made once.
QString sampleDiary(int entries)
{
    QString folder = qEnvironmentVariable("TERNVALL_BENCH_CACHE");
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.cache/ternvall-bench");
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/diary-%2-20y-seed1-to20241231-v%3.gdb")
                             .arg(folder)
                             .arg(entries)
                             .arg(SampleDiary::ContentVersion);
    if (QFileInfo::exists(path))
        return path;
    std::fprintf(stderr, "Making the diary of %d entries (once, kept in %s)...\n", entries, qPrintable(folder));
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    DiaryDatabase::Create(partial, QStringLiteral(TERNVALL_SCHEMA_FILE));
    TSampleDiaryOptions options;
    options.Entries = entries;
    options.Years = 20;
    options.Seed = 1;
    options.End = QDate(2024, 12, 31);
    SampleDiary::FillFile(partial, QStringLiteral("SYSDBA"), QStringLiteral("hollyfern"), options);
    QFile::rename(partial, path);
    return path;
}

// The course and its 100 sessions, saved as the course window and the entry
// page save them. Returns the course number.
int addRace(TCorvaleApp &app)
{
    const QString running = app.GetActivityNameList().NameOfCode(QStringLiteral("RUN"));
    const QStringList laps{QStringLiteral("1.00"), QStringLiteral("2.00"), QStringLiteral("3.00"), QStringLiteral("4.00")};
    const int course = app.NewCourse();
    app.SetCourseValues(course, running, 2, 5.0, QStringLiteral("Benchbanan"));
    const QStringList none;
    app.SetCourseDescription(course, &none);
    app.SetCourseLaps(course, laps);
    app.SaveCourse(course);
    for (int i = 0; i < competitors; ++i) {
        const int nr = app.NewActivity(running);
        auto &session = static_cast<TTimeDistanceActivity &>(*app.FindActivity(nr));
        session.SetSessionData(QDate(2025, 1, 1).addDays(i).toString(QStringLiteral("yyyy-MM-dd")),
                               QStringLiteral("Benchbanan"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        // 20.00 to 34.51: about 4 to 7 minutes a kilometre.
        const int total = 1200 + (i * 37) % 900;
        const auto time = [](int seconds) {
            return QStringLiteral("%1.%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
        };
        session.SetDuration(time(total));
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(QString::number(course));
        QStringList splits;
        for (int lap = 1; lap <= 4; ++lap)
            splits.append(lap == 2 && i % 3 == 0 ? QString() : time(total * lap / 5 + (lap % 2 ? 7 : -5)));
        session.SetLaps(&splits, &laps);
        app.SaveActivity(nr);
    }
    return course;
}

std::vector<const TActivity *> loaded(TCorvaleApp &app)
{
    std::vector<const TActivity *> result;
    for (int i = 0; i < app.GetLoadedCount(); ++i)
        result.push_back(app.GetLoadedActivity(i));
    return result;
}

double timeLoadReplay(TCorvaleApp &app, int *made)
{
    const std::vector<const TActivity *> activities = loaded(app);
    const QList<const TActivity *> list(activities.begin(), activities.end());
    TReplay replay;
    TReplayLoad load;
    QElapsedTimer timer;
    timer.start();
    LoadReplay(replay, list, app.GetDatabase(), app.GetCourses(), load);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (made)
        *made = int(load.Items.size());
    return ms;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    std::printf("%8s %12s %14s %16s %14s %12s %12s %8s\n", "entries", "load ms", "window ms", "all running", "all load ms",
                "tick med ms", "tick max ms", "ticks");
    for (const int entries : sizes) {
        const QString sample = sampleDiary(entries);
        TTestFolders folders;
        const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        QFile::remove(path);
        if (!QFile::copy(sample, path)) {
            std::printf("cannot copy %s\n", qPrintable(sample));
            return 1;
        }
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        {
            TCorvaleApp app;
            app.OpenDatabase();
            const int course = addRace(app);
            QStringList names;
            app.GetActivityNames(&names);

            // The search of the course: its 100 sessions.
            TSearchParams params;
            params.CourseId = QString::number(course);
            QList<int> numbers;
            app.SearchActivities(names, params, numbers);
            std::vector<double> engine, window;
            int made = 0;
            for (int run = 0; run < 5; ++run)
                engine.push_back(timeLoadReplay(app, &made));
            if (made != competitors)
                std::printf("only %d competitors were made\n", made);

            TfrmReplay replay(app);
            replay.resize(1000, 800);
            replay.show();
            QApplication::processEvents();
            for (int run = 0; run < 5; ++run) {
                QElapsedTimer timer;
                timer.start();
                replay.LoadFromSearch();
                replay.Chart()->repaint();
                window.push_back(timer.nsecsElapsed() / 1e6);
            }

            // Every tick at the fastest speed, from 00.00 to the end, twice.
            replay.findChild<QSlider *>(QStringLiteral("trkbrSpeed"))->setValue(10);
            std::vector<double> ticks;
            for (int pass = 0; pass < 2; ++pass) {
                replay.bbtnStopClick();
                replay.bbtnForwClick();
                while (replay.State() == TfrmReplay::Forward) {
                    QElapsedTimer timer;
                    timer.start();
                    replay.tmrControlTimer();
                    const double logic = timer.nsecsElapsed() / 1e6;
                    replay.Chart()->repaint();
                    ticks.push_back(timer.nsecsElapsed() / 1e6);
                    // REPLAY_BENCH_SPLIT=1 tells the tick and the paint apart.
                    if (qEnvironmentVariableIsSet("REPLAY_BENCH_SPLIT"))
                        std::fprintf(stderr, "tick %.2f paint %.2f\n", logic, ticks.back() - logic);
                }
            }
            if (replay.CourseItems().size() != competitors)
                std::printf("the window races %d\n", int(replay.CourseItems().size()));

            // Every running session of the diary.
            numbers.clear();
            app.SearchActivities({app.GetActivityNameList().NameOfCode(QStringLiteral("RUN"))}, TSearchParams(), numbers);
            int allMade = 0;
            const double allMs = timeLoadReplay(app, &allMade);
            std::printf("%8d %12.1f %14.1f %9d (%4d) %14.1f %12.2f %12.2f %8d\n", entries, median(engine), median(window),
                        app.GetLoadedCount(), allMade, allMs, median(ticks),
                        ticks.empty() ? 0.0 : *std::max_element(ticks.begin(), ticks.end()), int(ticks.size()));
            std::fflush(stdout);
        }
    }
    FreeCorvaleForms();
    return 0;
}
