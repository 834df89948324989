// Times the export of every found activity to a text file and to an HTML
// page on sample diaries of 1,000 to 20,000 entries over 20 years: a search
// with no conditions lists every entry, as the main window's search does,
// and each timed run exports that fresh list, so that every run completes
// the listed activities from the diary as the user's export does. The
// diaries are the ones bench_diary keeps in its cache folder
// ($TERNVALL_BENCH_CACHE, else ~/.cache/ternvall-bench), made there when
// missing; each size runs on a fresh copy.
//
// Prints one row per size with the median and the slowest of the timed
// runs in ms, the columns and the file sizes, and checks that every found
// activity has its line with one cell under every header.
//
//   bench_export [--runs 5] [sizes...]      (default 1000 10000 20000)

#include "BenchProcess.h"
#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "app/CorvaleApp.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
const QDate diaryEnd(2024, 12, 31);
constexpr quint64 diarySeed = 1;
constexpr int years = 20;

QString cacheFolder()
{
    const QString given = qEnvironmentVariable("TERNVALL_BENCH_CACHE");
    if (!given.isEmpty())
        return given;
    return QDir::homePath() + QStringLiteral("/.cache/ternvall-bench");
}

// The cached diary of bench_diary, made when it is not there yet.
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

struct TTimes
{
    double Median = 0;
    double Worst = 0;
};

// `prepare` runs untimed before each run.
TTimes measure(int runs, const std::function<void()> &prepare, const std::function<void()> &run)
{
    prepare();
    run(); // warm: the first run prepares the statements
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// Lines after the intro whose cell count is not the header's; -1 when the
// file has no header.
int badTextLines(const QString &path, int &rows, int &columns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 4)
        return -1;
    columns = int(lines.at(3).count(';')) + 1;
    rows = 0;
    int bad = 0;
    for (qsizetype i = 4; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty())
            continue;
        ++rows;
        if (int(lines.at(i).count(';')) + 1 != columns)
            ++bad;
    }
    return bad;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    int runs = 5;
    std::vector<int> sizes;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--runs") && i + 1 < arguments.size())
            runs = std::max(1, arguments.at(++i).toInt());
        else
            sizes.push_back(arguments.at(i).toInt());
    }
    if (sizes.empty())
        sizes = {1000, 10000, 20000};

    std::printf("%8s %8s %8s %22s %22s %10s %10s %8s\n", "entries", "found", "columns", "text ms (median/worst)",
                "html ms (median/worst)", "text MB", "html MB", "RSS MB");
    int failures = 0;
    for (const int entries : sizes) {
        const QString source = cachedDiary(entries);
        QTemporaryDir folder;
        qputenv(SettingsFiles::ConfigDirVariable, QFile::encodeName(folder.path() + QStringLiteral("/config")));
        qputenv(SettingsFiles::DataDirVariable, QFile::encodeName(folder.path() + QStringLiteral("/data")));
        const QString data = SettingsFiles::DefaultDatabaseFolder();
        QDir().mkpath(data);
        if (!QFile::copy(source, data + QStringLiteral("Corvale1.gdb"))) {
            std::printf("cannot copy %s\n", qPrintable(source));
            return 1;
        }
        {
            auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
            machine->setValue(QStringLiteral("ShowHelpAtStartup"), 0);
            machine->setValue(QStringLiteral("Database/Location"), data);
            machine->setValue(QStringLiteral("Database/User"), 1);
        }
        TCorvaleApp app;
        app.OpenDatabase();
        QStringList names;
        app.GetActivityNames(&names);
        QList<int> numbers;
        auto search = [&] { app.SearchActivities(names, TSearchParams(), numbers); };
        const QString textPath = folder.filePath(QStringLiteral("export.txt"));
        const QString htmlPath = folder.filePath(QStringLiteral("export.html"));
        const QString title = QStringLiteral("Exporterat ifrån Ternvall 2.3.0");
        int steps = 0;
        auto step = [&] { ++steps; };

        const TTimes text = measure(runs, search, [&] {
            steps = 0;
            app.Export(textPath, title, step, false, true, QStringLiteral("_"), 1);
        });
        const int textSteps = steps;
        const TTimes html = measure(runs, search, [&] {
            steps = 0;
            app.Export(htmlPath, title, step, true, false, QString(), 0);
        });
        const int found = app.GetLoadedCount();
        int rows = 0, columns = 0;
        const int bad = badTextLines(textPath, rows, columns);
        std::printf("%8d %8d %8d %10.1f / %-9.1f %10.1f / %-9.1f %10.2f %10.2f %8.0f\n", entries, found, columns, text.Median,
                    text.Worst, html.Median, html.Worst, double(QFileInfo(textPath).size()) / 1e6,
                    double(QFileInfo(htmlPath).size()) / 1e6, Bench::ResidentMb());
        if (found != entries || rows != found || bad != 0 || textSteps != 3 * found + 2 || steps != 3 * found + 2) {
            std::printf("  the export missed activities or cells (%d found of %d, %d lines, %d with a wrong cell count, "
                        "%d and %d progress steps)\n",
                        found, entries, rows, bad, textSteps, steps);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
