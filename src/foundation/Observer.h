#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// The notification record. A subject owns exactly one and reuses it for every
// notification; observers read it only while their handler runs.
struct TObservation
{
    quint8 kind = 0;
    QString text;
};

class TSubject;

// The observing side, owned by the window that observes (usually as a child
// of it). The owner attaches it to the subject after creating it and detaches
// it before freeing it; should it be destroyed while still attached, it takes
// itself off the subject's list so the subject never calls a dead observer.
class TSubjectObserver : public QObject
{
    Q_OBJECT

public:
    using THandler = std::function<void(const TObservation &)>;

    explicit TSubjectObserver(QObject *owner = nullptr);
    ~TSubjectObserver() override;

    // A disabled observer is skipped by Notify; nothing missed is replayed
    // when it is enabled again. Observers start enabled.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

    // The handler Notify calls; an observer without one is skipped.
    const THandler &OnChange() const { return m_onChange; }
    void SetOnChange(THandler handler) { m_onChange = std::move(handler); }

private:
    friend class TSubject;

    bool m_enabled = true;
    THandler m_onChange;
    QList<TSubject *> m_subjects;
};

// The subject side: a list of attached observers (not owned, in attach order)
// and the one observation handed to them. The application object derives
// from it.
class TSubject
{
public:
    TSubject() = default;
    virtual ~TSubject();

    TSubject(const TSubject &) = delete;
    TSubject &operator=(const TSubject &) = delete;

    // Appends an observer. Throws EObserver "Observer 03" for a null observer
    // and "Observer 04" for one that is already attached.
    void Attach(TSubjectObserver *observer);

    // Removes an observer. Throws EObserver "Observer 02" for a null observer
    // and "Observer 01" for one that is not attached.
    void Detach(TSubjectObserver *observer);

    bool IsAttached(const TSubjectObserver *observer) const;

    // The observation the next Notify hands out.
    const TObservation &Observation() const { return m_observation; }
    void SetKind(quint8 kind) { m_observation.kind = kind; }
    void SetText(const QString &text) { m_observation.text = text; }

    // Calls, in attach order, the handler of every attached observer that is
    // enabled and has one, and returns after the last of them returned.
    // Observers attached during the walk are first called by the next
    // Notify; observers detached (or destroyed) during the walk are not
    // called any more. A handler that throws ends the walk and the exception
    // reaches the caller.
    void Notify();

private:
    friend class TSubjectObserver;

    QList<TSubjectObserver *> m_observers;
    TObservation m_observation;
};
