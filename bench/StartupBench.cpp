// Times the stages of a start with a fresh, empty diary: creating the
// application object, building the main window, opening the diary when the
// posted message arrives, a change of user, and the shutdown. Runs on the
// offscreen platform in temporary folders; prints one table row per stage
// with the median and the worst of the runs.
//
//   bench_startup [runs]

#include "DiaryDatabase.h"

#include "app/CorvaleApp.h"
#include "foundation/SettingsFiles.h"
#include "ui/Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace
{
double ms(QElapsedTimer &timer)
{
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return elapsed;
}
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    qputenv(SettingsFiles::ConfigDirVariable, QFile::encodeName(dir.path() + QStringLiteral("/config")));
    qputenv(SettingsFiles::DataDirVariable, QFile::encodeName(dir.path() + QStringLiteral("/data")));
    const QString folder = SettingsFiles::DefaultDatabaseFolder();
    QDir().mkpath(folder);
    QElapsedTimer timer;
    timer.start();
    DiaryDatabase::Create(folder + QStringLiteral("Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    const double created = ms(timer);
    DiaryDatabase::Create(folder + QStringLiteral("Corvale2.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    {
        auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
        machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
        machine->setValue(QStringLiteral("ShowHelpAtStartup"), 0);
        machine->setValue(QStringLiteral("Database/Location"), folder);
    }

    std::map<std::string, std::vector<double>> stages;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        auto app = std::make_unique<TCorvaleApp>();
        stages["A  application object"].push_back(ms(timer));
        auto frmMain = std::make_unique<TfrmMain>(*app);
        frmMain->show();
        stages["B  main window"].push_back(ms(timer));
        QCoreApplication::sendPostedEvents(frmMain.get(), WM_OPENDATABASE);
        stages["C  open diary, count entries"].push_back(ms(timer));
        if (app->State() != TCorvaleApp::TState::Open) {
            std::fprintf(stderr, "the diary did not open\n");
            return 1;
        }
        app->CloseDatabase();
        app->SetUserNumber(2);
        frmMain->OpenUserDatabase();
        app->DatabaseChanged();
        stages["D  change of user"].push_back(ms(timer));
        app->SetUserNumber(1);
        frmMain.reset();
        app.reset();
        stages["E  shutdown"].push_back(ms(timer));
    }

    std::printf("Start with an empty diary, %d runs (creating one diary from the schema: %.1f ms)\n\n", runs, created);
    std::printf("| stage | median ms | worst ms |\n|---|---:|---:|\n");
    for (auto &[name, times] : stages) {
        std::sort(times.begin(), times.end());
        std::printf("| %s | %.1f | %.1f |\n", name.c_str(), times[times.size() / 2], times.back());
    }
    return 0;
}
