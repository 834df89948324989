#pragma once

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

// The "&Hjälp" menu of every window that has a menu bar: "&Hjälp" (object
// name "mnuiHelp") with the entry "H&jälp..." (object name "mnuiIntHelp",
// shortcut F1). Each window connects the entry to its own topic and may add
// entries of its own below it.
//
// Programming faults of the callers raise EHelpMenu with the ids below.
class THelpMenu
{
public:
    // `terminating` answers whether the program is ending; the menus are
    // then left alone.
    explicit THelpMenu(std::function<bool()> terminating);

    // Appends "&Hjälp" to the menu bar and returns its "H&jälp..." entry.
    // "HelpMenu 01" for no form, "HelpMenu 02" for no menu bar.
    QAction *AddHelpMenu(QWidget *form, QMenuBar *menu);
    // Deletes the menu bar's "&Hjälp" with its entries, unless the program is
    // ending. "HelpMenu 03" when the menu bar (or no menu bar) has none.
    void RemoveHelpMenu(QWidget *form, QMenuBar *menu);

private:
    std::function<bool()> m_terminating;
};
