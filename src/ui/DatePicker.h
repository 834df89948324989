#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

// The date picker of the main window's pages: a date edit with a calendar
// popup whose weeks start on Monday, showing "yyyy-MM-dd", that can also be
// empty. An empty picker shows nothing and its Text() is empty; choosing a
// date in the calendar or typing one fills it again.
//
// Emptying is a state of the picker itself: the clipboard is never used, so
// clearing a date leaves whatever the user had copied where it was.
class TDatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit TDatePicker(QWidget *parent = nullptr);
    TDatePicker(const QString &objectName, QWidget *parent);

    bool IsEmpty() const;
    // Makes the picker empty.
    void Clear();
    // The date as "yyyy-MM-dd", empty when the picker is empty.
    QString Text() const;
    // Shows the date of a "yyyy-MM-dd" text; an empty text empties the
    // picker. Raises EConvertError "'<text>' is not a valid date" for any
    // other text and leaves the picker as it was.
    void SetText(const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The date that stands for "empty"; it is the lowest the picker takes,
    // far below any diary date.
    static QDate EmptyDate();
};
