#include "app/CorvaleForms.h"

#include "app/HelpWindow.h"
#include "foundation/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace
{
std::unique_ptr<TCorvaleForms> &processForms()
{
    static std::unique_ptr<TCorvaleForms> forms;
    return forms;
}
}

TCorvaleForms &CorvaleForms()
{
    std::unique_ptr<TCorvaleForms> &forms = processForms();
    if (!forms) {
        forms = std::make_unique<TCorvaleForms>();
        // Widgets must go before the QApplication does.
        qAddPostRoutine(FreeCorvaleForms);
    }
    return *forms;
}

void FreeCorvaleForms()
{
    if (processForms()) {
        qRemovePostRoutine(FreeCorvaleForms);
        processForms().reset();
    }
}

TCorvaleForms::TCorvaleForms()
    : m_windowsMenus([this] { return Terminating(); }), m_helpMenu([this] { return Terminating(); })
{
    if (QCoreApplication *application = QCoreApplication::instance()) {
        connect(application, &QCoreApplication::aboutToQuit, this, [this] {
            m_loopLeft = true;
            // Runs only when an event loop runs again: in the program never,
            // since leaving the loop ends it; in a test that runs one more.
            QTimer::singleShot(0, this, [this] { m_loopLeft = false; });
        });
    }
}

TCorvaleForms::~TCorvaleForms()
{
    for (QPointer<QDialog> *dialog : {&m_sort, &m_find, &m_genericName, &m_chooseCourse, &m_printTitle, &m_settings})
        delete dialog->data();
    delete m_listPrint.data();
    delete m_help.data();
}

void TCorvaleForms::AddWindowMenu(QWidget *form, QMenuBar *menu)
{
    m_windowsMenus.AddWindowMenu(form, menu);
}

void TCorvaleForms::RemoveWindowMenu(QWidget *form, QMenuBar *menu)
{
    m_windowsMenus.RemoveWindowMenu(form, menu);
}

void TCorvaleForms::UpdateWindowMenus()
{
    m_windowsMenus.UpdateWindowMenus();
}

void TCorvaleForms::WindowListChanged()
{
    m_windowsMenus.PostWindowListChanged();
}

QAction *TCorvaleForms::AddHelpMenu(QWidget *form, QMenuBar *menu)
{
    return m_helpMenu.AddHelpMenu(form, menu);
}

void TCorvaleForms::RemoveHelpMenu(QWidget *form, QMenuBar *menu)
{
    m_helpMenu.RemoveHelpMenu(form, menu);
}

void TCorvaleForms::BeginBusy(const QString &id, bool nonModal)
{
    m_cursor.AddId(id, nonModal);
}

bool TCorvaleForms::EndBusy(const QString &id)
{
    return m_cursor.RemoveId(id);
}

void TCorvaleForms::ShowPage(const QString &file, const QString &anchor)
{
    if (!m_help)
        m_help = new TfrmHelp;
    // A window opened beside an application-modal dialog takes no input
    // unless it belongs to that dialog; help asked for from a dialog is read
    // while the dialog waits.
    m_help->winId();
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == m_help)
        modal = nullptr;
    m_help->windowHandle()->setTransientParent(modal ? modal->window()->windowHandle() : nullptr);
    m_help->ShowPage(file, anchor);
    if (m_help->isMinimized())
        m_help->setWindowState(m_help->windowState() & ~Qt::WindowMinimized);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void TCorvaleForms::Inform(const QString &text)
{
    ShowMessageBox(text, TMessageKind::Information, TMessageButton::OK);
}

TfrmHelp *TCorvaleForms::HelpWindow() const
{
    return m_help;
}

bool TCorvaleForms::Terminating() const
{
    return m_loopLeft || QCoreApplication::closingDown();
}
