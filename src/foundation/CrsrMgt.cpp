#include "foundation/CrsrMgt.h"

#include "foundation/Exceptions.h"
#include "foundation/MessageBox.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

[[noreturn]] void InternalError(const QString &text, const QString &code)
{
    ShowMessageBox(text, TMessageKind::InternalError, TMessageButton::OK, code);
    Abort();
}

} // namespace

TCursorManagement::~TCursorManagement()
{
    ResetPointer();
}

void TCursorManagement::AddId(const QString &id, bool nonModal)
{
    if (!nonModal && m_nonModal.contains(id))
        InternalError(QStringLiteral("ID already exist as non-modal: ") + id, QStringLiteral("CrsrMgt 01"));
    if (nonModal && m_modal.contains(id))
        InternalError(QStringLiteral("ID already exists as modal: ") + id, QStringLiteral("CrsrMgt 02"));

    (nonModal ? m_nonModal : m_modal).append(id);
    UpdateCursor();
}

bool TCursorManagement::RemoveId(const QString &id)
{
    if (!m_nonModal.removeOne(id) && !m_modal.removeOne(id)) {
        ShowMessageBox(QStringLiteral("ID does not exist: ") + id, TMessageKind::InternalError, TMessageButton::OK,
                       QStringLiteral("CrsrMgt 03"));
        ResetPointer();
        Abort();
    }
    return UpdateCursor();
}

bool TCursorManagement::UpdateCursor()
{
    if (m_nonModal.isEmpty() && m_modal.isEmpty()) {
        ResetPointer();
        return true;
    }
    const Qt::CursorShape shape = m_nonModal.isEmpty() ? Qt::BusyCursor : Qt::WaitCursor;
    if (m_overridePushed) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        m_overridePushed = true;
    }
    return false;
}

void TCursorManagement::ResetPointer()
{
    if (m_overridePushed) {
        QGuiApplication::restoreOverrideCursor();
        m_overridePushed = false;
    }
}

TBusyPeriod::TBusyPeriod(TCursorManagement &manager, const QString &id, bool nonModal)
    : m_manager(manager), m_id(id)
{
    m_manager.AddId(m_id, nonModal);
}

TBusyPeriod::~TBusyPeriod()
{
    try {
        m_manager.RemoveId(m_id);
    } catch (...) {
        // RemoveId has shown what went wrong; a destructor must not throw,
        // least of all while an exception is already passing.
    }
}
