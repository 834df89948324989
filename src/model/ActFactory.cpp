#include "model/ActFactory.h"

#include "foundation/CorvaleExceptions.h"

#include <algorithm>
#include <cstring>

TActivityFactory::TActivityFactory() = default;

TActivityFactory::~TActivityFactory() = default;

void TActivityFactory::Register(const QString &name, const TActivityClass *activityClass)
{
    if (IsRegistered(name))
        throw EFactory(name + QStringLiteral(" är redan registrerad"));
    if (!activityClass || !activityClass->Create)
        throw EFactory(name + QStringLiteral(" har ingen aktivitet"));
    // The base class describes no activity type; comparing the class name as
    // well catches a record of it that was not made by ActivityClassOf.
    if (activityClass == ActivityClassOf<TActivity>()
        || (activityClass->Name && std::strcmp(activityClass->Name, TActivity::ClassName) == 0))
        throw EFactory(name + QStringLiteral(" har ogiltig typ"));
    m_mappings.push_back({name, activityClass});
}

void TActivityFactory::Unregister(const QString &name)
{
    const auto mapping = Find(name);
    if (mapping == m_mappings.cend())
        throw EFactory(name + QStringLiteral(" är inte registrerad"));
    m_mappings.erase(mapping);
}

std::unique_ptr<TActivity> TActivityFactory::CreateActivity(const QString &name) const
{
    const auto mapping = Find(name);
    if (mapping == m_mappings.cend())
        throw EFactory(name + QStringLiteral(" är inte registrerad"));
    return mapping->Class->Create();
}

bool TActivityFactory::IsRegistered(const QString &name) const
{
    return Find(name) != m_mappings.cend();
}

const TActivityClass *TActivityFactory::ClassOf(const QString &name) const
{
    const auto mapping = Find(name);
    return mapping == m_mappings.cend() ? nullptr : mapping->Class;
}

std::vector<TActivityFactory::TActivityMapping>::const_iterator TActivityFactory::Find(const QString &name) const
{
    return std::find_if(m_mappings.cbegin(), m_mappings.cend(), [&name](const TActivityMapping &mapping) {
        return mapping.Key.compare(name, Qt::CaseInsensitive) == 0;
    });
}
