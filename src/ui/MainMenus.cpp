// The main window's menus that follow the focused control and the tool
// bars: cut, copy and paste, cell editing, the page items F4-F7, the
// "&Verktygsfält" menu, the "Ändra" tool bar, and where the tool bars and
// the current-course window are between runs.

#include "ui/Main.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/SettingsFiles.h"
#include "reference/CurrentCourse.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace
{
const QString settingsKey = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString currentCourseKey = settingsKey + QStringLiteral("\\CurrentCourseWindow");
// The names of the tool bars in the store, in the order of TToolbar.
const char *const toolbarNames[] = {"Archive", "Edit", "Show", "ColSetting"};

QString toolbarKey(int index)
{
    return settingsKey + QLatin1Char('\\') + QLatin1String(toolbarNames[index]) + QStringLiteral("Toolbar");
}

QString toolbarValue(int index, const char *what)
{
    return QLatin1String(toolbarNames[index]) + QLatin1String(what);
}

// Sends the whole program's key and mouse-button releases to the edit
// menu's update and its mouse moves to the tool-bar menu's. Kept apart from
// the window's own filter, which watches the list grid.
class TApplicationWatch final : public QObject
{
public:
    TApplicationWatch(QWidget *window, std::function<void()> edit, std::function<void()> toolbars)
        : QObject(window), m_window(window), m_edit(std::move(edit)), m_toolbars(std::move(toolbars))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyRelease:
            if (watched->isWidgetType())
                m_edit();
            break;
        case QEvent::MouseButtonRelease: {
            const auto button = static_cast<QMouseEvent *>(event)->button();
            if (watched->isWidgetType() && (button == Qt::LeftButton || button == Qt::RightButton))
                m_edit();
            break;
        }
        case QEvent::MouseMove:
            if (watched->isWidgetType())
                m_toolbars();
            break;
        case QEvent::WindowActivate:
            if (watched == m_window)
                m_edit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_edit;
    std::function<void()> m_toolbars;
};

// The text field of a control: a line edit itself, or the one inside an
// editable combo box or a spin box.
QLineEdit *lineEditOf(QWidget *control)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->lineEdit();
    if (qobject_cast<QAbstractSpinBox *>(control))
        return control->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

bool hasSelection(QWidget *control)
{
    if (QLineEdit *edit = lineEditOf(control))
        return edit->hasSelectedText();
    if (auto *text = qobject_cast<QTextEdit *>(control))
        return text->textCursor().hasSelection();
    if (auto *text = qobject_cast<QPlainTextEdit *>(control))
        return text->textCursor().hasSelection();
    if (auto *view = qobject_cast<QAbstractItemView *>(control))
        return view->currentIndex().isValid();
    return false;
}

// A grid whose current cell can be edited.
QAbstractItemView *editableGrid(QWidget *control)
{
    auto *view = qobject_cast<QAbstractItemView *>(control);
    if (!view || view->editTriggers() == QAbstractItemView::NoEditTriggers || !view->model())
        return nullptr;
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || !(view->model()->flags(current) & Qt::ItemIsEditable))
        return nullptr;
    return view;
}

// Cuts, copies or pastes (tag 1, 2, 3) as the control's own keys would.
void editControl(QWidget *control, int tag)
{
    if (QLineEdit *edit = lineEditOf(control)) {
        if (tag == 1)
            edit->cut();
        else if (tag == 2)
            edit->copy();
        else
            edit->paste();
        return;
    }
    if (auto *text = qobject_cast<QTextEdit *>(control)) {
        if (tag == 1)
            text->cut();
        else if (tag == 2)
            text->copy();
        else
            text->paste();
        return;
    }
    if (auto *text = qobject_cast<QPlainTextEdit *>(control)) {
        if (tag == 1)
            text->cut();
        else if (tag == 2)
            text->copy();
        else
            text->paste();
        return;
    }
    // A grid: its current cell, as the grid's own copy key does; a cell
    // that can be edited also takes cut and paste.
    auto *view = qobject_cast<QAbstractItemView *>(control);
    if (!view || !view->model())
        return;
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    const bool editable = editableGrid(view) != nullptr;
    if (tag == 1 || tag == 2) {
        QGuiApplication::clipboard()->setText(current.data(Qt::DisplayRole).toString());
        if (tag == 1 && editable)
            view->model()->setData(current, QString(), Qt::EditRole);
    } else if (editable) {
        view->model()->setData(current, QGuiApplication::clipboard()->text(), Qt::EditRole);
    }
}

QPixmap emptyPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    return picture;
}

// Two sheets, one over the other.
QIcon copyIcon()
{
    QPixmap picture = emptyPicture();
    QPainter painter(&picture);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 1, 8, 10);
    painter.drawRect(6, 4, 8, 10);
    return QIcon(picture);
}

// A pair of scissors.
QIcon cutIcon()
{
    QPixmap picture = emptyPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 70), 1.5));
    painter.drawLine(QPointF(4, 1), QPointF(10, 10));
    painter.drawLine(QPointF(12, 1), QPointF(6, 10));
    painter.setPen(QPen(QColor(0, 0, 160), 1.5));
    painter.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
    painter.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
    return QIcon(picture);
}

// A clipboard with a sheet on it.
QIcon pasteIcon()
{
    QPixmap picture = emptyPicture();
    QPainter painter(&picture);
    painter.setPen(QColor(90, 60, 20));
    painter.setBrush(QColor(200, 150, 80));
    painter.drawRect(1, 2, 10, 13);
    painter.setBrush(QColor(160, 160, 160));
    painter.drawRect(4, 1, 4, 2);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(Qt::white);
    painter.drawRect(6, 6, 8, 9);
    return QIcon(picture);
}
}

void TfrmMain::BuildEditAndShowItems()
{
    // "&Redigera": cut, copy and paste first, cell editing after the copy
    // from "Ändra".
    const auto insertItem = [this](QMenu *menu, QAction *before, const char *name, const QString &caption,
                                   const QKeySequence &shortcut) {
        auto *item = new QAction(caption, menu);
        item->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            item->setShortcut(shortcut);
        menu->insertAction(before, item);
        return item;
    };
    QAction *find = m_mnuiFind;
    m_mnuiCut = insertItem(m_mnuEdit, find, "mnuiCut", QStringLiteral("&Klipp"), QKeySequence(Qt::CTRL | Qt::Key_X));
    m_mnuiCopy = insertItem(m_mnuEdit, find, "mnuiCopy", QStringLiteral("K&opiera"), QKeySequence(Qt::CTRL | Qt::Key_C));
    m_mnuiPaste = insertItem(m_mnuEdit, find, "mnuiPaste", QStringLiteral("K&listra"), QKeySequence(Qt::CTRL | Qt::Key_V));
    m_mnuEdit->insertSeparator(find);
    int tag = 1;
    for (QAction *item : {m_mnuiCut, m_mnuiCopy, m_mnuiPaste}) {
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { Guard([this, tag] { mnuiEditClick(tag); }); });
        ++tag;
    }
    m_mnuiEditGrid = insertItem(m_mnuEdit, m_mnuiGolf->menuAction(), "mnuiEditGrid", QStringLiteral("&Ändra i tabellen"),
                                QKeySequence(Qt::Key_F2));
    connect(m_mnuiEditGrid, &QAction::triggered, this, [this] { Guard([this] { mnuiEditGridClick(); }); });

    // "&Visa": the four pages first, the tool bars last.
    QAction *previous = m_mnuiPreviousAct;
    m_mnuiSearchPage = insertItem(m_mnuShow, previous, "mnuiSearchPage", QStringLiteral("&Sök registrerade aktiviteter"),
                                  QKeySequence(Qt::Key_F4));
    m_mnuiEditPage = insertItem(m_mnuShow, previous, "mnuiEditPage", QStringLiteral("&Ändra registrerad aktivitet"),
                                QKeySequence(Qt::Key_F5));
    m_mnuiNewPage = insertItem(m_mnuShow, previous, "mnuiNewPage", QStringLiteral("Registrera &ny aktivitet"),
                               QKeySequence(Qt::Key_F6));
    m_mnuiResultPage = insertItem(m_mnuShow, previous, "mnuiResultPage", QStringLiteral("S&ökresultat"),
                                  QKeySequence(Qt::Key_F7));
    m_mnuShow->insertSeparator(previous);
    for (QAction *item : {m_mnuiSearchPage, m_mnuiEditPage, m_mnuiNewPage, m_mnuiResultPage})
        connect(item, &QAction::triggered, this, [this, item] { Guard([this, item] { mnuiShowClick(item); }); });

    m_mnuShow->addSeparator();
    m_mnuiToolbars = m_mnuShow->addMenu(QStringLiteral("&Verktygsfält"));
    m_mnuiToolbars->setObjectName(QStringLiteral("mnuiToolbars"));
    const char *const names[] = {"mnuiToolArchive", "mnuiToolEdit", "mnuiToolShow", "mnuiToolColSetting"};
    const QString captions[] = {QStringLiteral("&Arkiv"), QStringLiteral("&Ändra"), QStringLiteral("&Visa"),
                                QStringLiteral("&Kolumninställningar")};
    for (int i = 0; i < tbCount; ++i) {
        QAction *item = AddMenuItem(m_mnuiToolbars, names[i], captions[i], QKeySequence());
        item->setCheckable(true);
        item->setChecked(true);
        item->setData(i + 1);
        connect(item, &QAction::triggered, this, [this, i] { Guard([this, i] { mnuToolbarClick(i + 1); }); });
        m_mnuiToolbar[i] = item;
    }

    // The clipboard is asked once here and then only when it changes.
    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto readClipboard = [this, clipboard] {
        const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
        m_clipboardHasText = data && data->hasText();
    };
    readClipboard();
    connect(clipboard, &QClipboard::dataChanged, this, [readClipboard] { readClipboard(); });

    m_applicationWatch = new TApplicationWatch(
        this, [this] { Guard([this] { UpdateEditMenu(); }); }, [this] { Guard([this] { UpdateToolbarMenu(); }); });
    qApp->installEventFilter(m_applicationWatch);
}

void TfrmMain::BuildEditToolBar()
{
    m_tobarEdit = new QToolBar(QStringLiteral("Ändra"), this);
    m_tobarEdit->setObjectName(QStringLiteral("tobarEdit"));
    // Between the standard bar and the Visa bar.
    insertToolBar(m_tobarShow, m_tobarEdit);
    const auto addButton = [this](const char *name, const QString &hint, QAction *menuItem, const QIcon &icon) {
        auto *button = new QToolButton(m_tobarEdit);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(hint);
        button->setIcon(icon);
        // Clicking a button takes no focus from the control it acts on.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, menuItem, &QAction::trigger);
        m_tobarEdit->addWidget(button);
        return button;
    };
    m_tbtnCopy = addButton("tbtnCopy", QStringLiteral("Kopiera"), m_mnuiCopy, copyIcon());
    m_tbtnCut = addButton("tbtnCut", QStringLiteral("Klipp"), m_mnuiCut, cutIcon());
    m_tbtnPaste = addButton("tbtnPaste", QStringLiteral("Klistra"), m_mnuiPaste, pasteIcon());

    // The tool bars stay in the bar at the top, in rows the user arranges.
    for (int i = 0; i < tbCount; ++i) {
        QToolBar *bar = Toolbar(i);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setFloatable(false);
        bar->setMovable(true);
        // Where a bar was is known only while it shows; keep it for the
        // closing, which may find it hidden.
        connect(bar, &QToolBar::visibilityChanged, this, [this, i](bool visible) {
            if (!visible)
                m_toolbarPlace[i] = ToolbarPlace(i);
            Guard([this] { UpdateToolbarMenu(); });
        });
    }
    // The designed places: one row in the order above.
    int left = 0;
    for (int i = 0; i < tbCount; ++i) {
        m_toolbarPlace[i] = QPoint(left, 0);
        left += Toolbar(i)->sizeHint().width();
    }
    UpdateEditMenu();
}

QToolBar *TfrmMain::Toolbar(int index) const
{
    switch (index) {
    case tbArchive:
        return m_tobarArchive;
    case tbEdit:
        return m_tobarEdit;
    case tbShow:
        return m_tobarShow;
    case tbColSetting:
        return m_tobarColSetting;
    default:
        return nullptr;
    }
}

void TfrmMain::UpdateEditMenu()
{
    if (!m_mnuiCut)
        return;
    QWidget *control = QApplication::focusWidget();
    if (!control)
        return;
    const bool selection = hasSelection(control);
    // A list cannot lose its cells.
    const bool readOnlyGrid = qobject_cast<QAbstractItemView *>(control) && !editableGrid(control);
    m_mnuiCut->setEnabled(selection && !readOnlyGrid);
    m_mnuiCopy->setEnabled(selection);
    m_mnuiPaste->setEnabled(m_clipboardHasText);
    if (m_tbtnCut) {
        m_tbtnCut->setEnabled(m_mnuiCut->isEnabled());
        m_tbtnCopy->setEnabled(m_mnuiCopy->isEnabled());
        m_tbtnPaste->setEnabled(m_mnuiPaste->isEnabled());
    }
    m_mnuiEditGrid->setEnabled(editableGrid(control) != nullptr);
}

void TfrmMain::UpdateToolbarMenu()
{
    for (int i = 0; i < tbCount; ++i) {
        if (m_mnuiToolbar[i] && Toolbar(i))
            m_mnuiToolbar[i]->setChecked(!Toolbar(i)->isHidden());
    }
}

void TfrmMain::mnuiEditClick(int tag)
{
    if (!IsActiveMain())
        return;
    QWidget *control = QApplication::focusWidget();
    if (!control)
        return;
    if ((tag == 1 || tag == 2) && !hasSelection(control))
        return;
    if (tag == 1 && qobject_cast<QAbstractItemView *>(control) && !editableGrid(control))
        return;
    if (tag == 3 && !m_clipboardHasText)
        return;
    editControl(control, tag);
    UpdateEditMenu();
}

void TfrmMain::mnuiEditGridClick()
{
    if (!IsActiveMain())
        return;
    if (QAbstractItemView *grid = editableGrid(QApplication::focusWidget()))
        grid->edit(grid->currentIndex());
}

void TfrmMain::mnuiShowClick(QObject *sender)
{
    if (!IsActiveMain())
        return;
    QWidget *page = nullptr;
    if (sender == m_mnuiSearchPage)
        page = m_tshSearch;
    else if (sender == m_mnuiEditPage)
        page = m_tshEdit;
    else if (sender == m_mnuiNewPage)
        page = m_tshNew;
    else if (sender == m_mnuiResultPage)
        page = m_tshResult;
    else
        throw EUIError(QStringLiteral("Invalid menu item. Main 04"));
    // "Ändra" without loaded activities has nothing to show.
    if (!m_pgctrlMain->isTabEnabled(m_pgctrlMain->indexOf(page)))
        return;
    ShowPage(page);
    pgctrlMainChange();
}

void TfrmMain::mnuToolbarClick(int tag)
{
    QToolBar *bar = Toolbar(tag - 1);
    if (!bar)
        throw EUIError(QStringLiteral("Invalid toolbar menu. Main 06"));
    bar->setVisible(bar->isHidden());
    UpdateToolbarMenu();
}

QPoint TfrmMain::ToolbarPlace(int index) const
{
    const QToolBar *bar = Toolbar(index);
    // The rows begin below the menu bar.
    const QWidget *menu = menuWidget();
    const int top = menu && menu->isVisible() ? menu->geometry().bottom() + 1 : 0;
    return QPoint(bar->x(), qMax(0, bar->y() - top));
}

void TfrmMain::LoadToolbarState()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (registry.OpenKey(currentCourseKey, true)) {
        const bool visible = registry.ReadBoolDef(QStringLiteral("Visible"), true);
        registry.CloseKey();
        if (visible && !m_mnuiCurrentCourse->isChecked())
            mnuiCurrentCourseClick();
    }

    // Only the tool bars with a key move; the others keep their designed
    // place.
    bool visible[tbCount];
    bool stored = false;
    for (int i = 0; i < tbCount; ++i) {
        visible[i] = !Toolbar(i)->isHidden();
        if (!registry.OpenKey(toolbarKey(i), false))
            continue;
        stored = true;
        visible[i] = registry.ReadBoolDef(toolbarValue(i, "Visible"), true);
        m_toolbarPlace[i] = QPoint(registry.ReadIntegerDef(toolbarValue(i, "Left"), 100),
                                   registry.ReadIntegerDef(toolbarValue(i, "Top"), 100));
        registry.CloseKey();
    }
    if (!stored)
        return;

    // Rows from the tops: a bar at least half a bar's height below the row
    // above starts a new row; within a row the bars go by their left edge.
    int rowHeight = 0;
    for (int i = 0; i < tbCount; ++i)
        rowHeight = rowHeight == 0 ? Toolbar(i)->sizeHint().height() : qMin(rowHeight, Toolbar(i)->sizeHint().height());
    const int newRow = qMax(1, rowHeight / 2);
    int order[tbCount] = {tbArchive, tbEdit, tbShow, tbColSetting};
    std::stable_sort(std::begin(order), std::end(order), [this](int a, int b) {
        return qMax(0, m_toolbarPlace[a].y()) < qMax(0, m_toolbarPlace[b].y());
    });
    int row[tbCount];
    int rowTop = qMax(0, m_toolbarPlace[order[0]].y());
    int rowNumber = 0;
    for (const int i : order) {
        const int top = qMax(0, m_toolbarPlace[i].y());
        if (top >= rowTop + newRow) {
            ++rowNumber;
            rowTop = top;
        }
        row[i] = rowNumber;
    }
    std::stable_sort(std::begin(order), std::end(order), [this, &row](int a, int b) {
        if (row[a] != row[b])
            return row[a] < row[b];
        return m_toolbarPlace[a].x() < m_toolbarPlace[b].x();
    });

    for (int i = 0; i < tbCount; ++i)
        removeToolBar(Toolbar(i));
    int lastRow = 0;
    for (const int i : order) {
        if (row[i] != lastRow)
            addToolBarBreak(Qt::TopToolBarArea);
        lastRow = row[i];
        addToolBar(Qt::TopToolBarArea, Toolbar(i));
    }
    for (int i = 0; i < tbCount; ++i)
        Toolbar(i)->setVisible(visible[i]);
    UpdateToolbarMenu();
}

void TfrmMain::SaveToolbarState()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(currentCourseKey, true);
    registry.WriteBool(QStringLiteral("Visible"), m_mnuiCurrentCourse->isChecked());
    registry.CloseKey();
    for (int i = 0; i < tbCount; ++i) {
        QToolBar *bar = Toolbar(i);
        const QPoint place = bar->isVisible() ? ToolbarPlace(i) : m_toolbarPlace[i];
        registry.OpenKey(toolbarKey(i), true);
        registry.WriteBool(toolbarValue(i, "Visible"), !bar->isHidden());
        registry.WriteInteger(toolbarValue(i, "Top"), place.y());
        registry.WriteInteger(toolbarValue(i, "Left"), place.x());
        registry.CloseKey();
    }
}
