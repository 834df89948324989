#include "foundation/DefReg.h"

#include <QSettings>

TDefRegistry::TDefRegistry(THive hive) : m_hive(hive), m_store(SettingsFiles::OpenStore(hive))
{
}

TDefRegistry::~TDefRegistry()
{
    m_store->sync();
}

bool TDefRegistry::OpenKey(const QString &key, bool canCreate)
{
    CloseKey();
    const QString group = SettingsFiles::Group(key);
    if (!canCreate && !KeyExists(key))
        return false;
    m_group = group;
    m_open = true;
    return true;
}

void TDefRegistry::CloseKey()
{
    if (!m_open)
        return;
    m_open = false;
    m_group.clear();
    m_store->sync();
}

bool TDefRegistry::KeyExists(const QString &key) const
{
    const QString group = SettingsFiles::Group(key);
    if (group.isEmpty())
        return !m_store->allKeys().isEmpty();
    m_store->beginGroup(group);
    const bool exists = !m_store->childKeys().isEmpty() || !m_store->childGroups().isEmpty();
    m_store->endGroup();
    return exists;
}

QString TDefRegistry::Key(const QString &name) const
{
    return m_group.isEmpty() ? name : m_group + QLatin1Char('/') + name;
}

void TDefRegistry::RequireOpenKey() const
{
    if (!m_open)
        throw ERegistry(QStringLiteral("No registry key is open"));
}

bool TDefRegistry::ValueExists(const QString &name) const
{
    return m_open && m_store->contains(Key(name));
}

int TDefRegistry::ReadIntegerDef(const QString &name, int defaultValue) const
{
    if (!ValueExists(name))
        return defaultValue;
    bool ok = false;
    const int value = m_store->value(Key(name)).toString().trimmed().toInt(&ok);
    return ok ? value : -1;
}

QString TDefRegistry::ReadStringDef(const QString &name, const QString &defaultValue) const
{
    if (!ValueExists(name))
        return defaultValue;
    return m_store->value(Key(name)).toString();
}

bool TDefRegistry::ReadBoolDef(const QString &name, bool defaultValue) const
{
    if (!ValueExists(name))
        return defaultValue;
    bool ok = false;
    const int value = m_store->value(Key(name)).toString().trimmed().toInt(&ok);
    return ok && value != 0;
}

void TDefRegistry::WriteInteger(const QString &name, int value)
{
    RequireOpenKey();
    m_store->setValue(Key(name), value);
}

void TDefRegistry::WriteString(const QString &name, const QString &value)
{
    RequireOpenKey();
    m_store->setValue(Key(name), value);
}

void TDefRegistry::WriteBool(const QString &name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TDefRegistry::WriteIntegerAtLeast(const QString &name, int value, int minimum)
{
    WriteInteger(name, qMax(value, minimum));
}

void TDefRegistry::DeleteValue(const QString &name)
{
    RequireOpenKey();
    m_store->remove(Key(name));
}

bool TDefRegistry::ReadPlace(QPoint &position, QSize *size) const
{
    if (size) {
        if (ValueExists(QStringLiteral("Width")))
            size->setWidth(ReadIntegerDef(QStringLiteral("Width"), size->width()));
        if (ValueExists(QStringLiteral("Height")))
            size->setHeight(ReadIntegerDef(QStringLiteral("Height"), size->height()));
    }
    const bool hasX = ValueExists(QStringLiteral("XPosition"));
    const bool hasY = ValueExists(QStringLiteral("YPosition"));
    if (hasX)
        position.setX(ReadIntegerDef(QStringLiteral("XPosition"), position.x()));
    if (hasY)
        position.setY(ReadIntegerDef(QStringLiteral("YPosition"), position.y()));
    return hasX || hasY;
}

void TDefRegistry::WritePlace(const QPoint &position, const QSize *size)
{
    if (size) {
        WriteInteger(QStringLiteral("Width"), size->width());
        WriteInteger(QStringLiteral("Height"), size->height());
    }
    WriteInteger(QStringLiteral("XPosition"), position.x());
    WriteInteger(QStringLiteral("YPosition"), position.y());
}

QStringList TDefRegistry::ReadHistory() const
{
    QStringList items;
    for (int i = 0; ValueExists(QString::number(i)); ++i) {
        const QString text = ReadStringDef(QString::number(i), QString()).trimmed();
        if (!text.isEmpty())
            items.append(text);
    }
    return items;
}

void TDefRegistry::WriteHistory(const QStringList &items)
{
    RequireOpenKey();
    int number = 0;
    for (const QString &item : items) {
        if (!item.trimmed().isEmpty())
            WriteString(QString::number(number++), item);
    }
}
