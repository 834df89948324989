// Times the yearly summaries of every activity type on sample diaries of
// 1,000 to 20,000 entries over 20 years: the run of TSummaries for the whole
// year and for a winter season over New Year, and the summary window's
// search with the filling of its grid. Every type is chosen for the
// summaries. The diaries are the ones bench_diary keeps in its cache folder
// ($TERNVALL_BENCH_CACHE, else ~/.cache/ternvall-bench), made there when
// missing; each size runs on a fresh copy.
//
// Prints one table row per size with the median and the slowest of the
// timed runs in ms, and checks that the counts of the sessions add up to
// the diary's entries.
//
//   bench_summary [--runs 5] [sizes...]      (default 1000 10000 20000)

#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "analysis/Summaries.h"
#include "analysis/Summary.h"
#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"

#include <QApplication>
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

TTimes measure(int runs, const std::function<void()> &run)
{
    run(); // warm: the first run prepares the statements
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// Every count of a run that counts sessions, added up.
int countedSessions(TSummaries &summaries)
{
    TSettingsValues counts;
    counts.SummaryTDT = TSettingsValues::TSummaryTDT::Count;
    counts.SummaryTime = TSettingsValues::TSummaryTime::Count;
    counts.SummaryGame = TSettingsValues::TSummaryTime::Count;
    counts.SummaryDist = TSettingsValues::TSummaryDist::Count;
    TSummaryResults results;
    QStringList totals;
    summaries.Summarize(1, 1, counts, &totals, &results, 31, 12);
    int sum = 0;
    for (const QString &total : totals)
        sum += total.toInt();
    return sum;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
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

    std::printf("%8s %6s %22s %22s %22s %8s\n", "entries", "types", "year ms (median/worst)", "season ms", "window ms",
                "counted");
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
        QStringList codes;
        app.GetActivityNameList().GetCodes(&codes);
        app.GetActivityNameList().SetSummaryCodes(&codes);

        TSummaries summaries;
        summaries.SetDatabase(&app.GetDatabase());
        summaries.SetFactory(&app.GetFactory());
        summaries.SetNames(&app.GetActivityNameList());
        const TSettingsValues settings = app.GetSettings();
        TSummaryResults results;
        QStringList totals;
        const TTimes year = measure(runs, [&] { summaries.Summarize(1, 1, settings, &totals, &results, 31, 12); });
        const int yearRows = TSummaries::BuildTable(results, totals).YearCount();
        const TTimes season = measure(runs, [&] { summaries.Summarize(10, 1, settings, &totals, &results, 31, 3); });

        TfrmSummary window(app);
        window.show();
        QApplication::processEvents();
        window.findChild<TNumericalEdit *>(QStringLiteral("numedtToMonth"))->SetValue(QStringLiteral("12"));
        window.findChild<TNumericalEdit *>(QStringLiteral("numedtToDay"))->SetValue(QStringLiteral("31"));
        const TTimes shown = measure(runs, [&] {
            window.mnuiSearchClick();
            window.SummaryGrid()->viewport()->repaint();
        });

        const int counted = countedSessions(summaries);
        std::printf("%8d %6d %10.1f / %-9.1f %10.1f / %-9.1f %10.1f / %-9.1f %8d\n", entries, int(results.size()), year.Median,
                    year.Worst, season.Median, season.Worst, shown.Median, shown.Worst, counted);
        if (counted != entries || yearRows != years || window.YearCount() != years) {
            std::printf("  the summary missed entries or years (%d of %d entries, %d and %d of %d years)\n", counted, entries,
                        yearRows, window.YearCount(), years);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
