// ternvall-install: creates the diary database of one user slot and records
// the installation in the machine-wide settings.
//
//   ternvall-install [--slot N] [--folder DIR] [--name NAME] [--if-missing]
//                    [--schema FILE] [--app-path DIR] [--print-path]
//
// The database is "Corvale<N>.gdb" in DIR (by default the folder already
// recorded in the settings, else the default database folder). An existing
// database is never overwritten, truncated or altered: the installer says so
// and exits with 3, or with 0 under --if-missing (the run command's "create
// it when there is none"). --print-path only prints where the slot's
// database is or would be, and changes nothing.

#include "DiaryDatabase.h"

#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace
{
constexpr const char *InstalledVersion = "2.3.0";

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

void complain(const QString &text)
{
    std::fprintf(stderr, "ternvall-install: %s\n", text.toLocal8Bit().constData());
}

QString withSlash(QString folder)
{
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The data folder beside the program: share/ternvall next to bin/.
QString ownDataFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/ternvall"));
}

// Makes sure the program folder holds the help pages: copies the pages of
// the installer's own data folder into it when it is another folder. Help
// that cannot be installed is told, but the diary is still made.
void installHelp(const QString &appPath)
{
    const QDir source(ownDataFolder() + QStringLiteral("/help"));
    const QDir target(QDir::cleanPath(appPath) + QStringLiteral("/help"));
    const QStringList pages = source.entryList({QStringLiteral("*.htm"), QStringLiteral("*.css")}, QDir::Files);
    if (pages.isEmpty()) {
        complain(QStringLiteral("Hjälpsidorna finns inte i %1; hjälpen kan inte visas.").arg(source.path()));
        return;
    }
    if (QFileInfo(source.path()).canonicalFilePath() == QFileInfo(target.path()).canonicalFilePath())
        return;
    if (!QDir().mkpath(target.path())) {
        complain(QStringLiteral("Kunde inte skapa mappen %1 för hjälpen.").arg(target.path()));
        return;
    }
    for (const QString &page : pages) {
        const QString copy = target.filePath(page);
        QFile::remove(copy);
        if (!QFile::copy(source.filePath(page), copy))
            complain(QStringLiteral("Kunde inte kopiera hjälpsidan %1 till %2.").arg(page, target.path()));
    }
}

// Records the installation. Version and AppPath describe this installation
// and are always written; the database folder and the user slot are the
// user's choices and are written only when nothing is recorded yet.
void recordInstallation(const QString &folder, int slot, const QString &appPath, const QString &name)
{
    auto store = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    store->setValue(QStringLiteral("Version"), QString::fromLatin1(InstalledVersion));
    store->setValue(QStringLiteral("AppPath"), appPath);
    store->beginGroup(QStringLiteral("Database"));
    if (store->value(QStringLiteral("Location")).toString().trimmed().isEmpty())
        store->setValue(QStringLiteral("Location"), folder);
    if (!store->contains(QStringLiteral("User")))
        store->setValue(QStringLiteral("User"), slot);
    store->endGroup();
    if (!name.isEmpty()) {
        store->beginGroup(QStringLiteral("DbSelectNames"));
        store->setValue(QString::number(slot), name);
        store->endGroup();
    }
    store->sync();
    if (store->status() != QSettings::NoError)
        throw EException(QStringLiteral("Kunde inte skriva inställningsfilen %1").arg(store->fileName()));
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ternvall-install"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Skapar en dagboksdatabas för en användare i Ternvall."));
    parser.addHelpOption();
    const QCommandLineOption slotOption(QStringLiteral("slot"), QStringLiteral("Användarnummer 1..4 (standard 1)."), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption folderOption(QStringLiteral("folder"), QStringLiteral("Mappen för databasfilerna."), QStringLiteral("DIR"));
    const QCommandLineOption nameOption(QStringLiteral("name"), QStringLiteral("Användarens namn i användarlistan."), QStringLiteral("NAME"));
    const QCommandLineOption missingOption(QStringLiteral("if-missing"), QStringLiteral("Gör ingenting (och lyckas) om databasen redan finns."));
    const QCommandLineOption schemaOption(QStringLiteral("schema"), QStringLiteral("Schemafilen."), QStringLiteral("FILE"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    const QCommandLineOption appPathOption(QStringLiteral("app-path"), QStringLiteral("Programmets datamapp (hjälp, bilder)."), QStringLiteral("DIR"), ownDataFolder());
    const QCommandLineOption printPathOption(QStringLiteral("print-path"), QStringLiteral("Skriv bara ut sökvägen till användarens databas."));
    parser.addOptions({slotOption, folderOption, nameOption, missingOption, schemaOption, appPathOption, printPathOption});
    parser.process(app);

    bool ok = false;
    const int slot = parser.value(slotOption).toInt(&ok);
    if (!ok || slot < 1 || slot > 4) {
        complain(QStringLiteral("Användarnumret måste vara 1, 2, 3 eller 4 (inte \"%1\").").arg(parser.value(slotOption)));
        return 2;
    }

    try {
        const QString folder = DiaryDatabase::DatabaseFolder(parser.value(folderOption));
        const QString path = folder + QStringLiteral("Corvale%1.gdb").arg(slot);
        if (parser.isSet(printPathOption)) {
            say(path);
            return 0;
        }

        if (QFileInfo::exists(path)) {
            if (parser.isSet(missingOption)) {
                installHelp(parser.value(appPathOption));
                recordInstallation(folder, slot, withSlash(parser.value(appPathOption)), QString());
                say(QStringLiteral("Dagboken för användare %1 finns redan: %2").arg(slot).arg(path));
                return 0;
            }
            complain(QStringLiteral("Databasen %1 finns redan. Den har inte ändrats.").arg(path));
            return 3;
        }
        if (!QDir().mkpath(folder)) {
            complain(QStringLiteral("Kunde inte skapa mappen %1.").arg(folder));
            return 1;
        }
        DiaryDatabase::Create(path, parser.value(schemaOption));
        installHelp(parser.value(appPathOption));
        recordInstallation(folder, slot, withSlash(parser.value(appPathOption)), parser.value(nameOption).trimmed());
        say(QStringLiteral("Dagboken för användare %1 är skapad: %2").arg(slot).arg(path));
        return 0;
    } catch (const EException &e) {
        complain(e.Message());
        return 1;
    }
}
