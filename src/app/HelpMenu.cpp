#include "app/HelpMenu.h"

#include "app/WindowsMenus.h"
#include "foundation/Exceptions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace
{
const QString helpMenuName = QStringLiteral("mnuiHelp");
}

THelpMenu::THelpMenu(std::function<bool()> terminating) : m_terminating(std::move(terminating))
{
}

QAction *THelpMenu::AddHelpMenu(QWidget *form, QMenuBar *menu)
{
    if (!form)
        throw EHelpMenu(QStringLiteral("HelpMenu 01"));
    if (!menu)
        throw EHelpMenu(QStringLiteral("HelpMenu 02"));
    auto *helpMenu = new QMenu(QStringLiteral("&Hjälp"), menu);
    helpMenu->setObjectName(helpMenuName);
    helpMenu->menuAction()->setObjectName(helpMenuName);
    QAction *entry = helpMenu->addAction(QStringLiteral("H&jälp..."));
    entry->setObjectName(QStringLiteral("mnuiIntHelp"));
    entry->setShortcut(QKeySequence(Qt::Key_F1));
    menu->addMenu(helpMenu);
    return entry;
}

void THelpMenu::RemoveHelpMenu(QWidget *form, QMenuBar *menu)
{
    if (m_terminating && m_terminating())
        return;
    QMenu *helpMenu = MenuOfMenuBar(menu, helpMenuName);
    if (!helpMenu)
        throw EHelpMenu(QStringLiteral("HelpMenu 03"));
    menu->removeAction(helpMenu->menuAction());
    delete helpMenu;
}
