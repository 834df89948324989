#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The posted message that tells the main window that a window was opened
// or closed: its handler answers it with UpdateWindowMenus.
inline constexpr int WM_WINDOWLISTCHANGED = 1579;

// One of the windows that may stand beside each other, and the entry of the
// "&Fönster" menu that leads to it.
struct TWindowEntry
{
    const char *windowName; // the window's object name
    const char *caption;
    const char *entryName;  // the entry's object name
    int digit;              // its shortcut is Ctrl + this digit
};

// The nine windows in menu order, the main window first.
const std::array<TWindowEntry, 9> &WindowEntries();

// The "&Fönster" menu of every registered window. Each of the nine windows
// registers when it is made and unregisters when it is destroyed; its menu
// bar then carries "&Fönster" (object name "mnuiWindow") with one entry for
// each of the other eight windows, in table order. The main window's
// entries have no shortcuts (its own menus use Ctrl+digit); everybody
// else's have Ctrl+digit of the table. Choosing an entry brings its window
// to the front.
//
// The windows are not owned. Programming faults of the callers raise
// EWindowsMenu with the ids below.
class TWindowsMenus
{
public:
    // `terminating` answers whether the program is ending; the menus are
    // then left alone.
    explicit TWindowsMenus(std::function<bool()> terminating);
    ~TWindowsMenus();

    TWindowsMenus(const TWindowsMenus &) = delete;
    TWindowsMenus &operator=(const TWindowsMenus &) = delete;

    // Registers the window and appends "&Fönster" with its entries to the
    // menu bar. "WindowsMenu 01" for no form, "WindowsMenu 02" for no menu
    // bar, "WindowsMenu 06" when nine windows are registered already.
    void AddWindowMenu(QWidget *form, QMenuBar *menu);
    // Unregisters the window and, unless the program is ending, deletes its
    // "&Fönster" with the entries. "WindowsMenu 03" for no form,
    // "WindowsMenu 04" for no menu bar, "WindowsMenu 07" for a window that
    // is not registered, "WindowsMenu 05" when the menu bar has no
    // "&Fönster".
    void RemoveWindowMenu(QWidget *form, QMenuBar *menu);
    // Walks the registered windows in registration order: each entry is
    // enabled exactly when its window is registered and visible, and a
    // window's "&Fönster" is enabled when any entry seen so far in the walk,
    // in its own or an earlier window's menu, is enabled.
    void UpdateWindowMenus();
    // Posts WM_WINDOWLISTCHANGED to the registered main window ("frmMain");
    // nothing when none is registered. A window that closes calls this.
    void PostWindowListChanged() const;

    int Count() const { return int(m_windows.size()); }
    bool IsRegistered(const QWidget *form) const;
    // The registered window of the object name; nullptr when none is.
    QWidget *RegisteredWindow(const QString &windowName) const;

private:
    struct TRegistration
    {
        QPointer<QWidget> form;
        QPointer<QMenuBar> menu;
        QPointer<QMenu> windowMenu;
    };

    // Brings the entry's window to the front: "WindowsMenu 08" when it is
    // not registered or not visible.
    void EntryClick(const QString &windowName);

    std::function<bool()> m_terminating;
    QList<TRegistration> m_windows;
};

// The menu of the menu bar whose object name is `name`; nullptr when it has
// none. No menu bar gives nullptr.
QMenu *MenuOfMenuBar(const QMenuBar *menu, const QString &name);
