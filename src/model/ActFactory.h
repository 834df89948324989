#pragma once

#include "model/Classhie.h"

#include <QString>

#include <memory>
#include <vector>

// Makes activity objects by display name. The application object registers,
// for every display name of the open diary, the class of that name's code,
// and removes the registrations again when the diary is closed, since the
// names may differ between diaries.
//
// Names compare without regard to letter case. Every error is an EFactory
// whose message is the name followed by the reason; a refused call leaves the
// registrations as they were.
class TActivityFactory
{
public:
    TActivityFactory();
    ~TActivityFactory();

    TActivityFactory(const TActivityFactory &) = delete;
    TActivityFactory &operator=(const TActivityFactory &) = delete;

    // Adds a registration. Refused with "<name> är redan registrerad" when
    // the name is taken, "<name> har ingen aktivitet" without a class (or
    // one that cannot be made) and "<name> har ogiltig typ" for TActivity
    // itself. The class record is borrowed; records are static.
    void Register(const QString &name, const TActivityClass *activityClass);
    // "<name> är inte registrerad" when the name is unknown.
    void Unregister(const QString &name);
    // A new object of the registered class, owned by the caller.
    // "<name> är inte registrerad" when the name is unknown.
    std::unique_ptr<TActivity> CreateActivity(const QString &name) const;

    bool IsRegistered(const QString &name) const;
    // The registered class; nullptr when the name is unknown.
    const TActivityClass *ClassOf(const QString &name) const;
    int Count() const { return int(m_mappings.size()); }

private:
    // One registration: the display name and the class it makes.
    struct TActivityMapping
    {
        QString Key;
        const TActivityClass *Class;
    };

    std::vector<TActivityMapping>::const_iterator Find(const QString &name) const;

    std::vector<TActivityMapping> m_mappings; // in registration order
};
