#include "foundation/SettingsFiles.h"

#include "foundation/Exceptions.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace SettingsFiles
{
namespace
{
QString folderFromEnvironment(const char *variable)
{
    const QString folder = qEnvironmentVariable(variable).trimmed();
    return folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}
}

QString SettingsFolder()
{
    const QString folder = folderFromEnvironment(ConfigDirVariable);
    if (!folder.isEmpty())
        return folder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tullo");
}

QString StoreFile(THive hive)
{
    return SettingsFolder() + (hive == THive::User ? QStringLiteral("/Corvale.ini") : QStringLiteral("/Corvale-machine.ini"));
}

QString DefaultDatabaseFolder()
{
    QString folder = folderFromEnvironment(DataDirVariable);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tullo/Corvale/Databases");
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString Group(const QString &keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    if (!path.startsWith(QLatin1Char('\\')))
        path.prepend(QLatin1Char('\\'));
    const QString root = QString::fromLatin1(KeyRoot);
    if (path.compare(root, Qt::CaseInsensitive) == 0)
        return QString();
    if (!path.startsWith(root + QLatin1Char('\\'), Qt::CaseInsensitive))
        throw EException(QStringLiteral("Nyckeln %1 ligger utanför programmets inställningar").arg(keyPath));
    return path.mid(root.size() + 1).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

std::unique_ptr<QSettings> OpenStore(THive hive)
{
    return std::make_unique<QSettings>(StoreFile(hive), QSettings::IniFormat);
}
}
