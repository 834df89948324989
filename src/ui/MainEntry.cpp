// The main window and its two entry pages: what the entry flows ask of the
// window, and the menu items that reach them.

#include "ui/Main.h"

#include "app/CorvaleApp.h"
#include "foundation/ErrorGuard.h"
#include "reference/CurrentCourse.h"

#include <QAction>
#include <QTabWidget>

TActivityPage *TfrmMain::FrontEntryPage() const
{
    QWidget *front = m_pgctrlMain->currentWidget();
    if (front == m_tshNew)
        return m_pgNew;
    if (front == m_tshEdit)
        return m_pgEdit;
    return nullptr;
}

void TfrmMain::ShowEntryPage(TEntryPageKind kind)
{
    ShowPage(kind == TEntryPageKind::New ? m_tshNew : m_tshEdit);
}

bool TfrmMain::EditPageEnabled() const
{
    return m_pgctrlMain->isTabEnabled(m_pgctrlMain->indexOf(m_tshEdit));
}

void TfrmMain::mnuiSaveClick()
{
    if (!IsActiveMain() || !m_entry)
        return;
    m_entry->Save();
}

void TfrmMain::mnuiRemoveClick()
{
    if (!IsActiveMain() || !m_entry)
        return;
    m_entry->Remove();
}

void TfrmMain::mnuiCopyFromEditClick()
{
    if (!m_entry)
        return;
    m_entry->CopyFromEdit();
}

void TfrmMain::mnuiCurrentCourseClick()
{
    if (!m_entry)
        return;
    if (!m_frmCurrentCourse) {
        m_frmCurrentCourse = new TfrmCurrentCourse(m_app, this);
        connect(m_frmCurrentCourse, &TfrmCurrentCourse::Closed, this, [this] { m_mnuiCurrentCourse->setChecked(false); });
        m_entry->SetCurrentCourseWindow(m_frmCurrentCourse);
    }
    // The item's own toggle has already happened; the window decides.
    if (m_frmCurrentCourse->isVisible()) {
        m_frmCurrentCourse->close();
        m_mnuiCurrentCourse->setChecked(false);
        return;
    }
    m_mnuiCurrentCourse->setChecked(true);
    m_frmCurrentCourse->show();
    m_entry->UpdateCurrentCourse();
}
