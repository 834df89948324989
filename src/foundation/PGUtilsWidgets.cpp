#include "foundation/PGUtilsWidgets.h"

#include "foundation/Exceptions.h"
#include "foundation/StringGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QWidget>

namespace
{
const char *const tagProperty = "tag";

template<class Grid>
Grid *needGrid(Grid *grid)
{
    if (!grid)
        throw EGridError(QStringLiteral("Grid = nil"));
    return grid;
}

const char *const placerName = "TTulloUtilWindowPlacer";

// Centres its window over the owner when the window is first shown, then
// goes away. The show event comes before the window system maps the window,
// so the window appears where it belongs.
class TFirstShowPlacer final : public QObject
{
public:
    explicit TFirstShowPlacer(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1String(placerName));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            m_window->removeEventFilter(this);
            TTulloUtilWindow::CentreOverOwner(m_window);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
};

// The squared distance from the point to the nearest point of the rectangle.
qint64 distanceSquared(const QPoint &point, const QRect &rect)
{
    const qint64 dx = qMax(0, qMax(rect.left() - point.x(), point.x() - rect.right()));
    const qint64 dy = qMax(0, qMax(rect.top() - point.y(), point.y() - rect.bottom()));
    return dx * dx + dy * dy;
}

void clearRow(TStringGrid *grid, int row)
{
    for (int col = 0; col < grid->ColCount(); ++col)
        grid->SetCells(col, row, QString());
}
}

// ---------------------------------------------------------------------------
// TTulloUtilGrid

int TTulloUtilGrid::FindColumn(const TStringGrid *grid, const QString &title)
{
    if (!grid)
        throw EGridError(QStringLiteral("Grid nil"));
    if (grid->FixedRows() < 1)
        throw EGridError(QStringLiteral("Inga fasta rader"));
    for (int col = grid->FixedCols(); col < grid->ColCount(); ++col) {
        if (grid->Cells(col, 0) == title)
            return col;
    }
    return -1;
}

void TTulloUtilGrid::ClearRows(TStringGrid *grid)
{
    needGrid(grid);
    grid->BeginUpdate();
    grid->SetRowCount(grid->FixedRows() + 1);
    clearRow(grid, grid->FixedRows());
    grid->EndUpdate();
}

void TTulloUtilGrid::SetDataRowCount(TStringGrid *grid, int n)
{
    needGrid(grid);
    if (n <= 0) {
        ClearRows(grid);
        return;
    }
    grid->SetRowCount(grid->FixedRows() + n);
}

void TTulloUtilGrid::SelectDataRow(TStringGrid *grid, int n)
{
    needGrid(grid);
    const int first = grid->FixedRows();
    const int last = grid->RowCount() - 1;
    if (last < first)
        return;
    grid->SetRow(qBound(first, first + n - 1, last));
}

bool TTulloUtilGrid::IsColumnEmpty(const TStringGrid *grid, int column)
{
    needGrid(grid);
    if (column < 0 || column >= grid->ColCount())
        throw EGridError(QStringLiteral("Utanför grid"));
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        if (!grid->Cells(column, row).trimmed().isEmpty())
            return false;
    }
    return true;
}

void TTulloUtilGrid::SelectPreviousRow(TStringGrid *grid)
{
    needGrid(grid);
    if (grid->Row() > grid->FixedRows())
        grid->SetRow(grid->Row() - 1);
}

void TTulloUtilGrid::SelectNextRow(TStringGrid *grid)
{
    needGrid(grid);
    if (grid->Row() < grid->RowCount() - 1)
        grid->SetRow(grid->Row() + 1);
}

void TTulloUtilGrid::CopyGrid(TStringGrid *target, const TStringGrid *source)
{
    needGrid(target);
    needGrid(source);
    if (target == source)
        return;
    target->BeginUpdate();
    // Counts first, fixed counts after, so that a fixed count never meets a
    // smaller total on the way.
    target->SetFixedRows(0);
    target->SetFixedCols(0);
    target->SetColCount(source->ColCount());
    target->SetRowCount(source->RowCount());
    target->SetFixedRows(source->FixedRows());
    target->SetFixedCols(source->FixedCols());
    for (int col = 0; col < source->ColCount(); ++col)
        target->SetColWidths(col, source->ColWidths(col));
    target->AssignColumnProperties(*source);
    for (int row = 0; row < source->RowCount(); ++row) {
        for (int col = 0; col < source->ColCount(); ++col)
            target->SetCells(col, row, source->Cells(col, row));
    }
    target->EndUpdate();
}

// ---------------------------------------------------------------------------
// TTulloUtilCheckListBox

int TTulloUtilCheckListBox::CheckedCount(const QListWidget *box)
{
    if (!box)
        throw ECheckListBox(QStringLiteral("ListBox = nil"));
    const bool hasAll = TTulloUtilMisc::Tag(box) == 1 && box->count() > 0;
    if (hasAll && box->item(0)->checkState() == Qt::Checked)
        return box->count() - 1;
    int count = 0;
    for (int i = hasAll ? 1 : 0; i < box->count(); ++i) {
        if (box->item(i)->checkState() == Qt::Checked)
            ++count;
    }
    return count;
}

void TTulloUtilCheckListBox::CheckedItems(const QListWidget *box, QStringList *list)
{
    if (!box || !list)
        throw ECheckListBox(QStringLiteral("Parameter nil"));
    list->clear();
    const bool hasAll = TTulloUtilMisc::Tag(box) == 1 && box->count() > 0;
    const bool all = hasAll && box->item(0)->checkState() == Qt::Checked;
    for (int i = hasAll ? 1 : 0; i < box->count(); ++i) {
        if (all || box->item(i)->checkState() == Qt::Checked)
            list->append(box->item(i)->text());
    }
}

// ---------------------------------------------------------------------------
// TTulloUtilMisc

int TTulloUtilMisc::Tag(const QObject *control)
{
    return control ? control->property(tagProperty).toInt() : 0;
}

void TTulloUtilMisc::SetTag(QObject *control, int tag)
{
    if (!control)
        throw EControlError(QStringLiteral("Parameter nil"));
    control->setProperty(tagProperty, tag);
}

void TTulloUtilMisc::CommitEdits(QWidget *container)
{
    if (!container)
        throw EControlError(QStringLiteral("Nil parent"));
    const QList<QWidget *> controls = container->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (auto *edit = dynamic_cast<TCommittableEdit *>(control))
            edit->CommitEdit();
    }
}

void TTulloUtilMisc::CheckPrinter()
{
    if (QPrinterInfo::defaultPrinter().isNull())
        throw EControlError(QStringLiteral("Det finns ingen skrivare installerad"));
}

QWidget *TTulloUtilMisc::FindControlByTag(QWidget *parent, int tag)
{
    if (!parent)
        throw EControlError(QStringLiteral("Nil parent"));
    const QList<QWidget *> children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->property(tagProperty).isValid() && Tag(child) == tag)
            return child;
    }
    throw EControlError(QStringLiteral("Tag %1 fanns ej").arg(tag));
}

int TTulloUtilMisc::SelectionLength(const QWidget *control)
{
    if (!control)
        throw EControlError(QStringLiteral("Parameter nil"));
    int length = 0;
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        length = edit->selectedText().size();
    else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        length = memo->textCursor().selectedText().size();
    else if (const auto *text = qobject_cast<const QTextEdit *>(control))
        length = text->textCursor().selectedText().size();
    if (length == 0) {
        if (const auto *combo = qobject_cast<const QComboBox *>(control); combo && combo->lineEdit())
            length = combo->lineEdit()->selectedText().size();
    }
    return length;
}

// ---------------------------------------------------------------------------
// TTulloUtilWindow

QRect TTulloUtilWindow::Place(const QWidget *window)
{
    return window->geometry();
}

void TTulloUtilWindow::SetPlace(QWidget *window, const QRect &place, bool positioned)
{
    if (!positioned) {
        window->resize(place.size());
        if (window->parentWidget() && !window->findChild<QObject *>(QLatin1String(placerName), Qt::FindDirectChildrenOnly))
            new TFirstShowPlacer(window);
        return;
    }
    // A window placed here is no longer one to centre.
    delete window->findChild<QObject *>(QLatin1String(placerName), Qt::FindDirectChildrenOnly);
    window->setGeometry(PullOnScreen(place, Frame(window), ScreenAreas()));
}

void TTulloUtilWindow::CentreOverOwner(QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!owner)
        return;
    QRect place(QPoint(), window->size());
    place.moveCenter(owner->geometry().center());
    window->setGeometry(PullOnScreen(place, Frame(window), ScreenAreas()));
}

QRect TTulloUtilWindow::PullOnScreen(const QRect &place, const QMargins &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return place;
    // A window whose title bar and contents are on a screen stays where it
    // is, even when its side and bottom borders reach past the edges.
    const QRect reachable = place.marginsAdded(QMargins(0, frame.top(), 0, 0));
    for (const QRect &screen : screens) {
        if (screen.contains(reachable))
            return place;
    }
    const QRect outer = place.marginsAdded(frame);
    const QPoint centre = outer.center();
    QRect target = screens.constFirst();
    qint64 nearest = distanceSquared(centre, target);
    for (const QRect &screen : screens) {
        const qint64 distance = distanceSquared(centre, screen);
        if (distance < nearest) {
            nearest = distance;
            target = screen;
        }
    }
    // The room the contents may take on that screen, the frame around them.
    const QRect room = target.marginsRemoved(frame);
    QRect result(place.topLeft(), place.size().boundedTo(room.size().expandedTo(QSize(1, 1))));
    result.moveLeft(qBound(room.left(), result.left(), qMax(room.left(), room.right() + 1 - result.width())));
    result.moveTop(qBound(room.top(), result.top(), qMax(room.top(), room.bottom() + 1 - result.height())));
    return result;
}

QMargins TTulloUtilWindow::Frame(const QWidget *window)
{
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    if (window->isVisible() && outer != inner)
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    // Before the window system has framed the window its frame is unknown:
    // a title bar of the style's height and a narrow border are assumed.
    const QStyle *style = window->style() ? window->style() : QApplication::style();
    const int border = 8;
    const int titleBar = qMax(0, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    return QMargins(border, titleBar + border, border, border);
}

QList<QRect> TTulloUtilWindow::ScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}
