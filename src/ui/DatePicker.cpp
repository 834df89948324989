#include "ui/DatePicker.h"

#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

TDatePicker::TDatePicker(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setMinimumDate(EmptyDate());
    // The empty state is the minimum shown as a blank.
    setSpecialValueText(QStringLiteral(" "));
    calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    setDate(QDate::currentDate());
}

TDatePicker::TDatePicker(const QString &objectName, QWidget *parent) : TDatePicker(parent)
{
    setObjectName(objectName);
}

QDate TDatePicker::EmptyDate()
{
    return QDate(1800, 1, 1);
}

bool TDatePicker::IsEmpty() const
{
    return date() <= EmptyDate();
}

void TDatePicker::Clear()
{
    setDate(EmptyDate());
}

QString TDatePicker::Text() const
{
    if (IsEmpty())
        return QString();
    return TTulloUtilTimeDate::DateToStr(date());
}

void TDatePicker::SetText(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        Clear();
        return;
    }
    const QDate value = TTulloUtilTimeDate::StrToDate(text.trimmed());
    if (value <= EmptyDate())
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    setDate(value);
}

void TDatePicker::mousePressEvent(QMouseEvent *event)
{
    const bool wasEmpty = IsEmpty();
    QDateEdit::mousePressEvent(event);
    // The calendar of an empty picker opens on today rather than on the
    // date that stands for empty. The popup is not told, so that closing it
    // without a choice leaves the picker empty.
    if (wasEmpty && calendarWidget() && calendarWidget()->isVisible()) {
        const QSignalBlocker blocker(calendarWidget());
        calendarWidget()->setSelectedDate(QDate::currentDate());
    }
}

void TDatePicker::keyPressEvent(QKeyEvent *event)
{
    const bool wholeTextSelected = lineEdit()->selectedText() == lineEdit()->text();
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && event->modifiers() == Qt::NoModifier
        && wholeTextSelected && !IsEmpty()) {
        Clear();
        event->accept();
        return;
    }
    // Typing into an empty picker starts from today's date, year first.
    if (IsEmpty() && !event->text().isEmpty() && event->text().at(0).isDigit()) {
        setDate(QDate::currentDate());
        setCurrentSection(QDateTimeEdit::YearSection);
        setSelectedSection(QDateTimeEdit::YearSection);
    }
    QDateEdit::keyPressEvent(event);
}
