#include "app/WindowsMenus.h"

#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

namespace
{
constexpr int maxWindows = 9;
const QString mainWindowName = QStringLiteral("frmMain");
const QString windowMenuName = QStringLiteral("mnuiWindow");

[[noreturn]] void Fault(int number)
{
    throw EWindowsMenu(QStringLiteral("WindowsMenu %1").arg(number, 2, 10, QLatin1Char('0')));
}
}

const std::array<TWindowEntry, 9> &WindowEntries()
{
    static const std::array<TWindowEntry, 9> entries = {{
        {"frmMain", "&Huvuddialogen", "mnuiMainWindow", 1},
        {"frmRecords", "&Personbästadialogen", "mnuiRecordsWindow", 2},
        {"frmSummary", "&Summeringsdialogen", "mnuiSummaryWindow", 3},
        {"frmCourse", "&Banbeskrivningsdialogen", "mnuiCourseWindow", 4},
        {"frmFrequency", "&Aktivitetsfrekvensdialogen", "mnuiFrequencyWindow", 5},
        {"frmReport", "&Rapportdialogen", "mnuiReportWindow", 6},
        {"frmCalendar", "&Kalenderdialogen", "mnuiCalendarWindow", 7},
        {"frmReplay", "&Uppspelningsdialogen", "mnuiReplayWindow", 8},
        {"frmObjectives", "&Målsättningsdialogen", "mnuiObjectivesWindow", 9},
    }};
    return entries;
}

QMenu *MenuOfMenuBar(const QMenuBar *menu, const QString &name)
{
    if (!menu)
        return nullptr;
    const auto items = menu->actions();
    for (QAction *item : items) {
        if (QMenu *sub = item->menu(); sub && sub->objectName() == name)
            return sub;
    }
    return nullptr;
}

TWindowsMenus::TWindowsMenus(std::function<bool()> terminating) : m_terminating(std::move(terminating))
{
}

TWindowsMenus::~TWindowsMenus() = default;

void TWindowsMenus::AddWindowMenu(QWidget *form, QMenuBar *menu)
{
    if (!form)
        Fault(1);
    if (!menu)
        Fault(2);
    if (m_windows.size() >= maxWindows)
        Fault(6);

    const bool isMain = form->objectName() == mainWindowName;
    auto *windowMenu = new QMenu(QStringLiteral("&Fönster"), menu);
    windowMenu->setObjectName(windowMenuName);
    windowMenu->menuAction()->setObjectName(windowMenuName);
    for (const TWindowEntry &entry : WindowEntries()) {
        const QString windowName = QString::fromLatin1(entry.windowName);
        if (windowName == form->objectName())
            continue;
        QAction *item = windowMenu->addAction(QString::fromUtf8(entry.caption));
        item->setObjectName(QString::fromLatin1(entry.entryName));
        item->setData(windowName);
        if (!isMain)
            item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + entry.digit)));
        item->setEnabled(false);
        QObject::connect(item, &QAction::triggered, windowMenu,
                         [this, windowName] { Guard([this, &windowName] { EntryClick(windowName); }); });
    }
    menu->addMenu(windowMenu);
    m_windows.append({form, menu, windowMenu});
}

void TWindowsMenus::RemoveWindowMenu(QWidget *form, QMenuBar *menu)
{
    if (!form)
        Fault(3);
    if (!menu)
        Fault(4);
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [form](const TRegistration &registration) { return registration.form == form; });
    if (found == m_windows.end())
        Fault(7);
    m_windows.erase(found);
    if (m_terminating && m_terminating())
        return;
    QMenu *windowMenu = MenuOfMenuBar(menu, windowMenuName);
    if (!windowMenu)
        Fault(5);
    menu->removeAction(windowMenu->menuAction());
    // The entries are the menu's children and go with it.
    delete windowMenu;
}

void TWindowsMenus::UpdateWindowMenus()
{
    bool anyEnabled = false;
    for (const TRegistration &registration : std::as_const(m_windows)) {
        if (!registration.windowMenu)
            continue;
        const auto entries = registration.windowMenu->actions();
        for (QAction *entry : entries) {
            const QWidget *window = RegisteredWindow(entry->data().toString());
            const bool enabled = window && window->isVisible();
            entry->setEnabled(enabled);
            anyEnabled = anyEnabled || enabled;
        }
        registration.windowMenu->menuAction()->setEnabled(anyEnabled);
    }
}

void TWindowsMenus::PostWindowListChanged() const
{
    if (QWidget *main = RegisteredWindow(mainWindowName))
        QCoreApplication::postEvent(main, new QEvent(QEvent::Type(WM_WINDOWLISTCHANGED)));
}

bool TWindowsMenus::IsRegistered(const QWidget *form) const
{
    return form && std::any_of(m_windows.cbegin(), m_windows.cend(),
                               [form](const TRegistration &registration) { return registration.form == form; });
}

QWidget *TWindowsMenus::RegisteredWindow(const QString &windowName) const
{
    for (const TRegistration &registration : m_windows) {
        if (registration.form && registration.form->objectName() == windowName)
            return registration.form;
    }
    return nullptr;
}

void TWindowsMenus::EntryClick(const QString &windowName)
{
    QWidget *window = RegisteredWindow(windowName);
    if (!window || !window->isVisible())
        Fault(8);
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}
