// ternvall-sample: fills an existing diary database with a sample diary.
//
//   ternvall-sample [--slot N | --database FILE] [--entries N] [--years Y]
//                   [--seed S] [--end YYYY-MM-DD] [--force]
//
// The diary is the file given, or "Corvale<N>.gdb" of the slot (default 2)
// in the recorded database folder. It must exist: ternvall-install creates
// diaries, this tool never does. A diary that already holds entries is left
// alone (exit 3) unless --force is given. The same options on an empty diary
// always give the same content; without --end the diary ends today. The
// diary is filled through a copy beside it that takes its place only when
// complete, so an interrupted fill leaves the diary as it was.

#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace
{
void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

void complain(const QString &text)
{
    std::fprintf(stderr, "ternvall-sample: %s\n", text.toLocal8Bit().constData());
}

// Ctrl+C, a closed terminal or a plain kill while filling. The database
// engine installs handlers of its own when it starts, which shut it down
// from a thread of its own; on a busy machine that thread may come too late
// to stop a fill, which then ran to its end although the user asked to stop.
// Once the engine runs, the tool takes these signals itself and stops the
// fill at the next entry; the copy is then removed and the diary stays as
// it was.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
}

void catchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGHUP, SIGTERM})
        sigaction(signal, &action, nullptr);
}

// A whole number from low to high, or -1.
qint64 number(const QString &text, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high ? value : -1;
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ternvall-sample"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fyller en befintlig dagbok i Ternvall med en exempeldagbok."));
    parser.addHelpOption();
    const QCommandLineOption slotOption(QStringLiteral("slot"), QStringLiteral("Användarnummer 1..4 (standard 2)."), QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption databaseOption(QStringLiteral("database"), QStringLiteral("Databasfilen (i stället för användarnumret)."), QStringLiteral("FILE"));
    const QCommandLineOption entriesOption(QStringLiteral("entries"), QStringLiteral("Antal aktiviteter (standard 2000)."), QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption yearsOption(QStringLiteral("years"), QStringLiteral("Antal år som dagboken spänner över (standard 10)."), QStringLiteral("Y"), QStringLiteral("10"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Startvärde för slumptalen (standard 1)."), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption endOption(QStringLiteral("end"), QStringLiteral("Dagbokens sista dag, ÅÅÅÅ-MM-DD (standard i dag)."), QStringLiteral("DATE"));
    const QCommandLineOption forceOption(QStringLiteral("force"), QStringLiteral("Lägg till även i en dagbok som redan har aktiviteter."));
    parser.addOptions({slotOption, databaseOption, entriesOption, yearsOption, seedOption, endOption, forceOption});
    parser.process(app);

    const qint64 slot = number(parser.value(slotOption), 1, 4);
    const qint64 entries = number(parser.value(entriesOption), 1, 1000000);
    const qint64 years = number(parser.value(yearsOption), 1, 100);
    bool seedOk = false;
    const quint64 seed = parser.value(seedOption).trimmed().toULongLong(&seedOk);
    const QDate end = parser.isSet(endOption) ? QDate::fromString(parser.value(endOption).trimmed(), QStringLiteral("yyyy-MM-dd"))
                                              : QDate::currentDate();
    if (slot < 0) {
        complain(QStringLiteral("Användarnumret måste vara 1, 2, 3 eller 4 (inte \"%1\").").arg(parser.value(slotOption)));
        return 2;
    }
    if (entries < 0 || years < 0 || !seedOk || !end.isValid()) {
        complain(QStringLiteral("Antal aktiviteter 1..1000000, år 1..100, ett heltal som startvärde och ett datum ÅÅÅÅ-MM-DD behövs."));
        return 2;
    }

    try {
        const QString path = parser.isSet(databaseOption)
                                 ? parser.value(databaseOption)
                                 : DiaryDatabase::DatabaseFolder() + QStringLiteral("Corvale%1.gdb").arg(slot);
        if (!QFileInfo(path).isFile()) {
            complain(QStringLiteral("Dagboken %1 finns inte. Skapa den först med ternvall-install.").arg(path));
            return 3;
        }

        // The login the program itself uses.
        auto store = SettingsFiles::OpenStore(SettingsFiles::THive::User);
        const QString user = store->value(QStringLiteral("DbLogin/UserName"), QString::fromLatin1(DiaryDatabase::DefaultUser)).toString();
        const QString password = store->value(QStringLiteral("DbLogin/PassWd"), QString::fromLatin1(DiaryDatabase::DefaultPassword)).toString();

        TSampleDiaryOptions options;
        options.Entries = int(entries);
        options.Years = int(years);
        options.Seed = seed;
        options.End = end;
        options.Force = parser.isSet(forceOption);
        say(QStringLiteral("Fyller %1 med %2 aktiviteter över %3 år...").arg(path).arg(entries).arg(years));
        QElapsedTimer timer;
        timer.start();
        const qint64 step = std::max<qint64>(1000, entries / 10);
        bool catching = false;
        SampleDiary::FillFile(path, user, password, options, [step, &catching](int stored, int total) {
            if (!catching) {
                catchInterrupts();
                catching = true;
            }
            if (interrupted)
                throw EException(QStringLiteral("Fyllningen avbröts; dagboken är som den var."));
            if (stored % step == 0 && stored < total)
                say(QStringLiteral("  %1 av %2").arg(stored).arg(total));
        });
        say(QStringLiteral("Klart: %1 aktiviteter på %2 s.").arg(entries).arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1));
        return 0;
    } catch (const ESampleDiaryNotEmpty &e) {
        complain(e.Message());
        return 3;
    } catch (const EException &e) {
        complain(e.Message());
        return 1;
    }
}
