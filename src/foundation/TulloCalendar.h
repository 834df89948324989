#pragma once

#include "foundation/TulloCalendarDays.h"

#include <QColor>
#include <QWidget>

// One month of the year as a grid of day numbers under a header with the
// month's name; the days on which a date of the given list falls are
// filled with SelectedColor. Day 1 is always in the top left cell,
// whatever its weekday, and February always shows 29 days (the month has
// no year). The dates and the derived lists live in a TTulloCalendarDays;
// the control adds the colours, the painting and the clicks.
//
// A mouse press on the header emits OnHeaderClicked, on a day cell
// OnDayClicked with the day; a press beyond the month's last day emits
// nothing. The pressed place stays coloured with ClickedColor until
// ClearClicked or the next press.
class TTulloCalendar : public QWidget
{
    Q_OBJECT

public:
    explicit TTulloCalendar(QWidget *parent = nullptr);

    int Month() const { return m_days.Month(); }
    // Throws ETulloCalendar "<month> is not a valid month" outside 1..12
    // (the month shown stays); repaints.
    void SetMonth(int month);
    QString MonthLabel() const { return m_days.MonthLabel(); }

    QColor TextColor() const { return m_textColor; }
    void SetTextColor(const QColor &color);
    QColor HeaderBkgColor() const { return m_headerBkgColor; }
    void SetHeaderBkgColor(const QColor &color);
    QColor NonSelectedColor() const { return m_nonSelectedColor; }
    void SetNonSelectedColor(const QColor &color);
    QColor SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(const QColor &color);
    // Used at the next painting; does not repaint.
    QColor ClickedColor() const { return m_clickedColor; }
    void SetClickedColor(const QColor &color) { m_clickedColor = color; }

    int NrOfSelectedDays() const { return m_days.NrOfSelectedDays(); }
    bool IsSelected(int day) const { return m_days.IsSelected(day); }
    // 0 = header, 1..31 = that day, -1 = nothing clicked.
    int Clicked() const { return m_clicked; }

    // As TTulloCalendarDays; each repaints.
    void SetDays(const QStringList *dates);
    void ClearDays();
    void GetCurrentDates(QStringList *target) const { m_days.GetCurrentDates(target); }
    void GetCurrentDates2(int day, QStringList *target) const { m_days.GetCurrentDates2(day, target); }
    void ClearClicked();

    const TTulloCalendarDays &Days() const { return m_days; }

signals:
    void OnHeaderClicked(TTulloCalendar *sender);
    void OnDayClicked(TTulloCalendar *sender, int day);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    TTulloCalendarDays m_days;
    int m_clicked = -1;
    QColor m_textColor;
    QColor m_headerBkgColor;
    QColor m_nonSelectedColor;
    QColor m_selectedColor;
    QColor m_clickedColor;
};
