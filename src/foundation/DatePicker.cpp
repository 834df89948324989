#include "foundation/DatePicker.h"

#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtils.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <QVBoxLayout>

namespace
{
// The longest text the field takes: yyyy-mm-dd.
constexpr int MaxLength = 10;

// Lets through only texts made of digits and dashes, at most ten
// characters. Whatever else is typed, pasted or dropped is refused as a
// whole, so the field never holds a text the user did not type.
class TDateKeys final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.size() > MaxLength)
            return Invalid;
        for (const QChar c : std::as_const(input)) {
            if (!c.isDigit() && c != QLatin1Char('-'))
                return Invalid;
        }
        // Every text made of these characters may stand in the field; what
        // is no date is refused when the date is used or the field left.
        return Acceptable;
    }
};

bool leavesForAnotherControl(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
           || reason == Qt::ShortcutFocusReason;
}
}

// The calendar below the field: a popup window that closes when a day is
// chosen, on Escape and on a click elsewhere.
class TDatePopup final : public QFrame
{
    Q_OBJECT

public:
    explicit TDatePopup(QWidget *owner) : QFrame(owner, Qt::Popup)
    {
        setObjectName(QStringLiteral("pnlDatePopup"));
        setFrameShape(QFrame::Box);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 1);
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calDatePopup"));
        m_calendar->setFirstDayOfWeek(Qt::Monday);
        layout->addWidget(m_calendar);
        // A click on a day and Enter on the current day both choose it.
        connect(m_calendar, &QCalendarWidget::clicked, this, &TDatePopup::Choose);
        connect(m_calendar, &QCalendarWidget::activated, this, &TDatePopup::Choose);
    }

    QCalendarWidget *Calendar() const { return m_calendar; }

signals:
    void Chosen(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            close();
            event->accept();
            return;
        }
        QFrame::keyPressEvent(event);
    }

private:
    void Choose(const QDate &date)
    {
        close();
        emit Chosen(date);
    }

    QCalendarWidget *m_calendar = nullptr;
};

TDatePicker::TDatePicker(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new TDateKeys(this));
    setPlaceholderText(QStringLiteral("åååå-mm-dd"));
    // A date needs no more room than its own, however wide its column.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_calendarAction = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    m_calendarAction->setObjectName(QStringLiteral("actDateCalendar"));
    m_calendarAction->setToolTip(QStringLiteral("Visa kalendern (Alt+Nedpil)"));
    connect(m_calendarAction, &QAction::triggered, this, [this] { Guard([this] { ShowCalendar(); }); });
    connect(this, &QLineEdit::textChanged, this, [this] { Guard([this] { TextChanged(); }); });
}

TDatePicker::TDatePicker(const QString &objectName, QWidget *parent) : TDatePicker(parent)
{
    setObjectName(objectName);
}

TDatePicker::~TDatePicker() = default;

bool TDatePicker::ParseTyped(const QString &text, QDate &date)
{
    static const QRegularExpression dashed(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    QRegularExpressionMatch match = dashed.match(text);
    if (!match.hasMatch())
        match = compact.match(text);
    if (!match.hasMatch())
        return false;
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (year < 1 || !QDate::isValid(year, month, day))
        return false;
    date = QDate(year, month, day);
    return true;
}

bool TDatePicker::IsEmpty() const
{
    return text().trimmed().isEmpty();
}

bool TDatePicker::HasDate() const
{
    QDate date;
    return ParseTyped(text(), date);
}

QDate TDatePicker::Date() const
{
    QDate date;
    return ParseTyped(text(), date) ? date : QDate();
}

QString TDatePicker::Text() const
{
    return TTulloUtilTimeDate::DateToStr(Date());
}

void TDatePicker::Clear()
{
    setText(QString());
}

void TDatePicker::SetDate(const QDate &date)
{
    setText(TTulloUtilTimeDate::DateToStr(date));
}

void TDatePicker::SetText(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        Clear();
        return;
    }
    SetDate(TTulloUtilTimeDate::StrToDate(text.trimmed()));
}

QString TDatePicker::Refusal() const
{
    if (IsEmpty() || HasDate())
        return QString();
    const QString typed = text();
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$|^\\d{8}$"));
    // A day that does not exist is named as such; a text of another shape
    // also shows the form to write.
    if (shape.match(typed).hasMatch())
        return typed + QStringLiteral(" är inget giltigt datum");
    return typed + QStringLiteral(" är inget giltigt datum. Skriv datumet som åååå-mm-dd.");
}

void TDatePicker::Check()
{
    CommitEdit();
    if (Refusal().isEmpty())
        return;
    Refuse();
    throw EAbort();
}

void TDatePicker::Refuse()
{
    m_refusing = true;
    struct TDone
    {
        TDatePicker *picker;
        ~TDone() { picker->m_refusing = false; }
    } done{this};
    ShowMessageBox(Refusal(), TMessageKind::Error, TMessageButton::OK);
    // The focus may come back only when the window is active again; that
    // return is no new entry either.
    m_focusSuspended = true;
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void TDatePicker::CommitEdit()
{
    const QString date = Text();
    if (!date.isEmpty() && text() != date)
        setText(date);
}

void TDatePicker::TextChanged()
{
    const QString date = Text();
    if (date == m_dateText)
        return;
    m_dateText = date;
    emit DateChanged();
}

QCalendarWidget *TDatePicker::Calendar()
{
    if (!m_popup) {
        m_popup = new TDatePopup(this);
        connect(m_popup, &TDatePopup::Chosen, this,
                [this](const QDate &date) { Guard([this, date] { CalendarChosen(date); }); });
    }
    return m_popup->Calendar();
}

bool TDatePicker::CalendarVisible() const
{
    return m_popup && m_popup->isVisible();
}

void TDatePicker::ShowCalendar()
{
    if (isReadOnly() || !isEnabled())
        return;
    QCalendarWidget *calendar = Calendar();
    const QDate shown = HasDate() ? Date() : QDate::currentDate();
    {
        const QSignalBlocker blocker(calendar);
        calendar->setSelectedDate(shown);
        calendar->setCurrentPage(shown.year(), shown.month());
    }
    m_popup->adjustSize();
    // Below the field, kept on its screen.
    QPoint position = mapToGlobal(QPoint(0, height()));
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const QSize size = m_popup->sizeHint();
        if (position.y() + size.height() > available.bottom())
            position.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
        position.setX(qBound(available.left(), position.x(), qMax(available.left(), available.right() - size.width())));
        position.setY(qMax(available.top(), position.y()));
    }
    m_popup->move(position);
    m_popup->show();
    calendar->setFocus(Qt::PopupFocusReason);
}

void TDatePicker::CalendarChosen(const QDate &date)
{
    // The user's choice, as if typed: it replaces the text.
    SetDate(date);
    setFocus(Qt::PopupFocusReason);
    selectAll();
}

QSize TDatePicker::sizeHint() const
{
    // Room for a date and the calendar button, not the platform's wide
    // default of a line edit.
    const QSize base = QLineEdit::sizeHint();
    QStyleOptionFrame option;
    initStyleOption(&option);
    // The empty field's hint "åååå-mm-dd" is wider than a date in most fonts.
    const int textWidth = std::max(fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")),
                                   fontMetrics().horizontalAdvance(placeholderText())) +
                          2 * fontMetrics().averageCharWidth();
    const int buttonWidth = base.height();
    const QSize wanted = style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                   QSize(textWidth + buttonWidth, base.height()), this);
    return QSize(wanted.width(), base.height());
}

QSize TDatePicker::minimumSizeHint() const
{
    return QSize(sizeHint().width(), QLineEdit::minimumSizeHint().height());
}

void TDatePicker::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier) {
            ShowCalendar();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && !isReadOnly()) {
            // Unchanged, the key goes on to the dialog (its cancel).
            const bool restores = text() != m_entryText;
            if (restores)
                setText(m_entryText);
            selectAll();
            event->setAccepted(restores);
            return;
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TDatePicker::focusInEvent(QFocusEvent *event)
{
    Guard([&] {
        if (!m_focusSuspended && !m_refusing)
            m_entryText = text();
        m_focusSuspended = false;
        QLineEdit::focusInEvent(event);
    });
}

void TDatePicker::focusOutEvent(QFocusEvent *event)
{
    Guard([&] {
        QLineEdit::focusOutEvent(event);
        const Qt::FocusReason reason = event->reason();
        // The calendar, a menu or another window taking the focus for a
        // while is no leaving of the field.
        m_focusSuspended = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
        if (m_focusSuspended || m_refusing)
            return;
        CommitEdit();
        // Only the user going to another control of the window hears about
        // the text at once; focus moved by the program (a page changing, a
        // window closing) leaves it to the action that uses the date.
        if (leavesForAnotherControl(reason) && isVisible() && !Refusal().isEmpty())
            Refuse();
    });
}

#include "DatePicker.moc"
