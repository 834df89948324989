#include "app/Startup.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DefReg.h"

#include <QSqlDatabase>

TStartup::TStartup(const QString &driverName) : m_driverName(driverName)
{
}

void TStartup::CheckInterbase() const
{
    if (!QSqlDatabase::isDriverAvailable(m_driverName))
        throw EInterbaseNotInstalled(QStringLiteral("CorvaleApp 02"));
    if (ClientLibraryVersion().isEmpty())
        throw EInterbaseInvalidVersion(QStringLiteral("CorvaleApp 03"));
}

void TStartup::CheckVersion() const
{
    TDefRegistry registry(TDefRegistry::THive::Machine);
    registry.OpenKey(QString::fromLatin1(SettingsFiles::KeyRoot), true);
    const QByteArray version = registry.ReadStringDef(QStringLiteral("Version"), QString()).toUtf8();
    registry.CloseKey();
    const QByteArray installed(InstalledVersion);
    if (version < installed)
        throw EVersionNotUpgraded(QStringLiteral("CorvaleApp 04"));
    if (version != installed)
        throw EVersionNotValid(QStringLiteral("CorvaleApp 05"));
}

QString TStartup::OpenFailureText(const EDbClientError &error, const QString &path)
{
    const QString info = QStringLiteral(" Applikationen kommer nu att avslutas. Info: ") + error.Message();
    switch (error.OpenFailure()) {
    case TDbOpenFailure::Unreachable:
        break;
    case TDbOpenFailure::Damaged:
        return QStringLiteral("Databasfilen %1 är skadad eller ingen dagbok.").arg(path) + info;
    case TDbOpenFailure::AccessDenied:
        return QStringLiteral("Du har inte behörighet att läsa och skriva databasfilen %1.").arg(path) + info;
    case TDbOpenFailure::InUse:
        return QStringLiteral("Dagboken används redan av ett annat program, till exempel en annan Ternvall: %1.").arg(path)
               + info;
    case TDbOpenFailure::LoginRefused:
        return QStringLiteral("Databasen %1 godtog inte inloggningen (användarnamn och lösenord).").arg(path) + info;
    case TDbOpenFailure::Other:
        return QStringLiteral("Dagboken %1 kunde inte öppnas.").arg(path) + info;
    }
    return QStringLiteral("Interbase databas är inte startad. Starta Interbase innan du kör Ternvall. I Interbase Manager "
                          "som finns i kontrollpanelen, kan du ställa in så att Interbase startas automatiskt. "
                          "Applikationen kommer nu att avslutas. Info: ")
           + error.Message();
}
