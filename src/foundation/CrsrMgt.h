#pragma once

#include <QString>
#include <QStringList>

// Turns the mouse pointer into a wait pointer while long operations run and
// lets such operations nest. Each busy period is known by an id; an id may
// stand in one of the two lists several times (nested periods) but never in
// both.
//
// The pointer is shown through Qt's application override cursor. The manager
// keeps at most one override of its own on the stack, pushing it when the
// first period begins, changing its shape while periods come and go and
// popping it when the last one ends; other code must not push or pop
// overrides in between.
class TCursorManagement
{
public:
    TCursorManagement() = default;
    ~TCursorManagement(); // drops its override if periods are still open

    TCursorManagement(const TCursorManagement &) = delete;
    TCursorManagement &operator=(const TCursorManagement &) = delete;

    // Begins a busy period. An id already in the other list is an internal
    // error: the internal-error box shows "ID already exist as non-modal: " +
    // id with code "CrsrMgt 01" (modal begin of a non-modal id) or
    // "ID already exists as modal: " + id with code "CrsrMgt 02" (non-modal
    // begin of a modal id), then EAbort is thrown and nothing changes.
    void AddId(const QString &id, bool nonModal);

    // Ends a busy period: removes the first occurrence of the id from the
    // non-modal list, else from the modal list. An id in neither shows
    // "ID does not exist: " + id with code "CrsrMgt 03", resets the pointer to
    // the default and throws EAbort. Returns UpdateCursor's answer.
    bool RemoveId(const QString &id);

    // Sets the pointer from the lists: the wait pointer while a non-modal
    // period is open, else the busy (arrow and hourglass) pointer while a
    // modal one is, else the default. True exactly when both lists are empty.
    bool UpdateCursor();

    const QStringList &NonModalIds() const { return m_nonModal; }
    const QStringList &ModalIds() const { return m_modal; }

private:
    void ResetPointer();

    QStringList m_nonModal;
    QStringList m_modal;
    bool m_overridePushed = false;
};

// A busy period for the length of a scope: begins in the constructor (which
// throws EAbort as AddId does) and ends in the destructor, also when an
// exception leaves the scope. The destructor never throws; a failed end has
// already been shown by the manager.
class TBusyPeriod
{
public:
    explicit TBusyPeriod(TCursorManagement &manager, const QString &id = QStringLiteral("Corvale"),
                         bool nonModal = true);
    ~TBusyPeriod();

    TBusyPeriod(const TBusyPeriod &) = delete;
    TBusyPeriod &operator=(const TBusyPeriod &) = delete;

private:
    TCursorManagement &m_manager;
    QString m_id;
};
