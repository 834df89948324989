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
