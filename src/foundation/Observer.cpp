#include "foundation/Observer.h"

#include "foundation/Exceptions.h"

TSubjectObserver::TSubjectObserver(QObject *owner) : QObject(owner) {}

TSubjectObserver::~TSubjectObserver()
{
    for (TSubject *subject : std::as_const(m_subjects))
        subject->m_observers.removeAll(this);
}

TSubject::~TSubject()
{
    for (TSubjectObserver *observer : std::as_const(m_observers))
        observer->m_subjects.removeAll(this);
}

void TSubject::Attach(TSubjectObserver *observer)
{
    if (!observer)
        throw EObserver(QStringLiteral("Observer 03"));
    if (m_observers.contains(observer))
        throw EObserver(QStringLiteral("Observer 04"));
    m_observers.append(observer);
    observer->m_subjects.append(this);
}

void TSubject::Detach(TSubjectObserver *observer)
{
    if (!observer)
        throw EObserver(QStringLiteral("Observer 02"));
    if (!m_observers.removeOne(observer))
        throw EObserver(QStringLiteral("Observer 01"));
    observer->m_subjects.removeOne(this);
}

bool TSubject::IsAttached(const TSubjectObserver *observer) const
{
    return m_observers.contains(observer);
}

void TSubject::Notify()
{
    // Handlers may detach observers, attach new ones or close their window
    // (destroying the observer) while the walk is under way, so walk a copy
    // and ask the live list before each call.
    const QList<TSubjectObserver *> walk = m_observers;
    for (TSubjectObserver *observer : walk) {
        if (!m_observers.contains(observer))
            continue;
        if (!observer->m_enabled || !observer->m_onChange)
            continue;
        // The handler may destroy its own observer; call a copy so the
        // function object outlives the call.
        const TSubjectObserver::THandler handler = observer->m_onChange;
        handler(m_observation);
    }
}
