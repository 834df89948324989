#pragma once

#include "app/CorvaleHelp.h"
#include "app/HelpMenu.h"
#include "app/WindowsMenus.h"
#include "foundation/CrsrMgt.h"

#include <QObject>
#include <QPointer>

class QAction;
class QDialog;
class QMenuBar;
class QWidget;
class TCorvaleApp;
class TfrmChooseCourse;
class TfrmFind;
class TfrmGenericName;
class TfrmHelp;
class TfrmPrint;
class TfrmPrintTitle;
class TfrmSettings;
class TfrmSort;
class TStringGrid;

// The process-wide services of the windows: the "&Fönster" and "&Hjälp"
// menus, the busy pointer, the help window and one shared instance of each
// small dialog. Made on first use (CorvaleForms()) and freed at the end of
// the program by FreeCorvaleForms(), which the program calls after its main
// window is gone and which otherwise runs when the QApplication is
// destroyed, while widgets may still be deleted.
//
// The window services live in CorvaleForms.cpp, beside the foundation's
// widgets; the shared dialogs' accessors in CorvaleFormsDialogs.cpp, in a
// library above the windows that own those dialogs, so that those windows
// may use these services themselves.
class TCorvaleForms : public QObject, public THelpViewer
{
    Q_OBJECT

public:
    TCorvaleForms();
    ~TCorvaleForms() override;

    // Window menu (see TWindowsMenus).
    void AddWindowMenu(QWidget *form, QMenuBar *menu);
    void RemoveWindowMenu(QWidget *form, QMenuBar *menu);
    void UpdateWindowMenus();
    // A window that was closed tells the main window so (WM_WINDOWLISTCHANGED).
    void WindowListChanged();
    TWindowsMenus &WindowsMenus() { return m_windowsMenus; }

    // Help menu (see THelpMenu). AddHelpMenu returns the "H&jälp..." entry.
    QAction *AddHelpMenu(QWidget *form, QMenuBar *menu);
    void RemoveHelpMenu(QWidget *form, QMenuBar *menu);

    // Busy periods (see TCursorManagement::AddId and RemoveId).
    void BeginBusy(const QString &id, bool nonModal);
    bool EndBusy(const QString &id);
    TCursorManagement &CursorManagement() { return m_cursor; }

    // The help window as the program's help viewer: made on first use,
    // shown at the page, brought to the front. Shown from a modal dialog it
    // stands over that dialog and takes input while the dialog is open.
    void ShowPage(const QString &file, const QString &anchor) override;
    void Inform(const QString &text) override;
    // The help window; nullptr before the first page was shown.
    TfrmHelp *HelpWindow() const;

    // Whether the program is ending: the event loop was left and not entered
    // again, or the application object is being destroyed. The menus are
    // then left alone.
    bool Terminating() const;

    // The shared dialogs. Each is made on the first request as a dialog of
    // `owner` (which places it and frees it) and returned on every later
    // request as long as it exists; after its owner was destroyed the next
    // request makes a new one. The course choice is also made anew when it
    // is asked for on behalf of another application object.
    TfrmSort &SortDialog(QWidget *owner);
    TfrmFind &FindDialog(QWidget *owner);
    // The name dialog; the caller sets its caption, label, text and length
    // before every showing.
    TfrmGenericName &GenericNameDialog(QWidget *owner);
    TfrmChooseCourse &ChooseCourseDialog(TCorvaleApp &app, QWidget *owner);
    // The print title stands over the window that asks for it last; it
    // keeps the titles typed while it exists.
    TfrmPrintTitle &PrintTitleDialog(QWidget *owner);
    // The list print of every window; it has no window of its own and lives
    // until the services are freed.
    TfrmPrint &ListPrint();
    // The list print of a window's grid: the print title, proposed from the
    // first `columnCount` columns or as `proposal`, then the print or the
    // preview. False when the user cancelled the title.
    bool PrintGrid(QWidget *owner, TStringGrid *grid, int columnCount, const QString &proposal, bool preview);
    // The settings window with the pages of `pages` enabled (a mask of
    // TfrmSettings::TPage: 15 all, 2 "Summering", 4 "Personbästa"); like the
    // course choice it is made anew for another application object. The
    // caller shows it with exec().
    TfrmSettings &SettingsDialog(TCorvaleApp &app, QWidget *owner, int pages);

private:
    TCursorManagement m_cursor;
    TWindowsMenus m_windowsMenus;
    THelpMenu m_helpMenu;
    QPointer<TfrmHelp> m_help;
    bool m_loopLeft = false;

    // The shared dialogs, in the order of their accessors.
    QPointer<QDialog> m_sort;
    QPointer<QDialog> m_find;
    QPointer<QDialog> m_genericName;
    QPointer<QDialog> m_chooseCourse;
    const TCorvaleApp *m_chooseCourseApp = nullptr;
    QPointer<QDialog> m_printTitle;
    QPointer<QObject> m_listPrint;
    QPointer<QDialog> m_settings;
    const TCorvaleApp *m_settingsApp = nullptr;
};

// The process's forms services, made on first use.
TCorvaleForms &CorvaleForms();
// Frees them with the help window and the shared dialogs.
void FreeCorvaleForms();
