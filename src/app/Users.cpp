#include "app/Users.h"

#include "foundation/CorvaleExceptions.h"

#include <QFileInfo>
#include <QRegularExpression>

void TUsers::SetNumber(int number)
{
    if (number < 1)
        throw EUsers(QStringLiteral("Users 01"));
    if (number > 4)
        throw EUsers(QStringLiteral("Users 02"));
    if (number != m_number) {
        m_number = number;
        m_name = QStringLiteral("Användare %1").arg(number);
    }
}

void TUsers::SetLocation(const QString &folder)
{
    const QString location = WithSeparator(folder);
    // A folder that merely carries the file's name holds no diary.
    if (!IsRemote(location) && !QFileInfo(location + GetDbFileName()).isFile())
        throw EUsers(QStringLiteral("Users 04"));
    m_location = location;
}

QString TUsers::GetDbFileName() const
{
    return QStringLiteral("Corvale%1.gdb").arg(m_number);
}

QString TUsers::GetDbPath() const
{
    return m_location + GetDbFileName();
}

QString TUsers::GetDbPathOf(int number) const
{
    return m_location + QStringLiteral("Corvale%1.gdb").arg(number);
}

bool TUsers::IsRemote(const QString &location)
{
    // "server:/data/", "server/3051:/data/", "192.168.1.2:/data/"
    static const QRegularExpression remote(QStringLiteral("^[^/:]+(/[0-9]+)?:"));
    return remote.match(location).hasMatch();
}

QString TUsers::WithSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}
