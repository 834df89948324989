#pragma once

#include "foundation/PGUtilsWidgets.h"

#include <QDate>
#include <QLineEdit>
#include <QString>

class QAction;
class QCalendarWidget;
class TDatePopup;

// The date field of every window: a single-line edit in which a date is
// typed as "yyyy-mm-dd", with a calendar that opens below it from its
// button or Alt+Down (weeks start on Monday). It may be empty, and empty is
// no date at all: nothing is shown and Text() is empty.
//
// What the user types is never changed into another date. Only digits and
// "-" can be typed or pasted, ten characters at most; anything else is
// refused as a whole and changes nothing. A text that is no date - an
// impossible one such as 2026-02-30, or an incomplete one such as 2025-03 -
// stays exactly as typed and is refused with a Swedish message naming it
// ("2026-02-30 är inget giltigt datum"), the focus left on the field with
// the text selected:
// - when the user leaves the field for another control of the window
//   (Tab, Shift+Tab, a click, a mnemonic), and
// - when an action that uses the date calls Check().
// A date typed without dashes (20250315) is the same date; it is shown as
// 2025-03-15 once the field is left or committed. Escape brings back the
// text the field had when it got the focus.
//
// The calendar opens on the field's date, or on today when the field holds
// none; choosing a day (click, Enter) puts it into the field, and closing the
// calendar without a choice changes nothing.
class TDatePicker : public QLineEdit, public TCommittableEdit
{
    Q_OBJECT

public:
    explicit TDatePicker(QWidget *parent = nullptr);
    TDatePicker(const QString &objectName, QWidget *parent);
    ~TDatePicker() override;

    // Nothing typed (a blank text counts as nothing).
    bool IsEmpty() const;
    // The text is a date.
    bool HasDate() const;
    // The date of the text; an invalid QDate when the text is none.
    QDate Date() const;
    // The date as "yyyy-MM-dd"; empty when the field is empty or its text is
    // no date. An action that uses the date calls Check() first, so that a
    // text that is no date is refused rather than taken for no date.
    QString Text() const;

    // Makes the field empty.
    void Clear();
    // Shows the date; an invalid date empties the field.
    void SetDate(const QDate &date);
    // Shows the date of a date text (as the program's value texts write
    // them); an empty text empties the field. Raises EConvertError
    // "'<text>' is not a valid date" for any other text and leaves the field
    // as it was.
    void SetText(const QString &text);

    // Empty when the field is empty or holds a date; otherwise the message
    // that refuses its text.
    QString Refusal() const;
    // Refuses a text that is no date: the error box with Refusal(), the focus
    // back on the field with its text selected, then EAbort. Does nothing
    // for an empty field or a date.
    void Check();
    // A date typed without dashes is shown as yyyy-mm-dd. Never raises and
    // never changes a text that is no date.
    void CommitEdit() override;

    // The calendar of the popup (made on first use).
    QCalendarWidget *Calendar();
    // Opens the calendar below the field.
    void ShowCalendar();
    bool CalendarVisible() const;

    // A date text as the user may type it: "yyyy-mm-dd", or the same eight
    // digits without dashes, of a day that exists (years 1 to 9999).
    static bool ParseTyped(const QString &text, QDate &date);

    // Wide enough for a date and the calendar button.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Text() changed: a date was completed, changed, chosen, set or cleared.
    void DateChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void TextChanged();
    void CalendarChosen(const QDate &date);
    // Shows the refusal in the error box and puts the focus back.
    void Refuse();

    QAction *m_calendarAction = nullptr;
    TDatePopup *m_popup = nullptr;
    QString m_dateText;  // Text() as last told by DateChanged
    QString m_entryText; // the text when the field got the focus
    // Set while the focus is away in the calendar, a menu or another
    // window: its return is no new entry into the field.
    bool m_focusSuspended = false;
    // Set while a refusal is shown, so that the focus going to the box and
    // back is no leaving of the field.
    bool m_refusing = false;
};
