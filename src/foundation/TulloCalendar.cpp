#include "foundation/TulloCalendar.h"

#include "foundation/ErrorGuard.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

TTulloCalendar::TTulloCalendar(QWidget *parent)
    : QWidget(parent),
      m_textColor(Qt::black),
      m_headerBkgColor(palette().color(QPalette::Button)),
      m_nonSelectedColor(Qt::white),
      m_selectedColor(palette().color(QPalette::Button)),
      m_clickedColor(Qt::red)
{
    resize(140, 120);
}

void TTulloCalendar::SetMonth(int month)
{
    m_days.SetMonth(month);
    update();
}

void TTulloCalendar::SetTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void TTulloCalendar::SetHeaderBkgColor(const QColor &color)
{
    m_headerBkgColor = color;
    update();
}

void TTulloCalendar::SetNonSelectedColor(const QColor &color)
{
    m_nonSelectedColor = color;
    update();
}

void TTulloCalendar::SetSelectedColor(const QColor &color)
{
    m_selectedColor = color;
    update();
}

void TTulloCalendar::SetDays(const QStringList *dates)
{
    m_days.SetDays(dates);
    update();
}

void TTulloCalendar::ClearDays()
{
    m_days.ClearDays();
    update();
}

void TTulloCalendar::ClearClicked()
{
    if (m_clicked == -1)
        return;
    m_clicked = -1;
    update();
}

void TTulloCalendar::mousePressEvent(QMouseEvent *event)
{
    Guard([this, event] {
        const QPoint place = event->position().toPoint();
        m_clicked = m_days.HitTest(place.x(), place.y());
        if (m_clicked > 0)
            emit OnDayClicked(this, m_clicked);
        else if (m_clicked == 0)
            emit OnHeaderClicked(this);
    });
    QWidget::mousePressEvent(event);
    update();
}

void TTulloCalendar::paintEvent(QPaintEvent *)
{
    constexpr int header = TTulloCalendarDays::HeaderHeight;
    constexpr int cell = TTulloCalendarDays::CellSize;
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    qDrawShadeRect(&painter, rect(), palette(), true, 1);

    const QRect strip(0, 0, width(), header);
    painter.fillRect(strip, m_clicked == 0 ? m_clickedColor : m_headerBkgColor);
    painter.setPen(m_textColor);
    const QString label = MonthLabel();
    painter.save();
    painter.setClipRect(strip);
    painter.drawText((width() - metrics.horizontalAdvance(label)) / 2, 3 + metrics.ascent(), label);
    painter.restore();
    qDrawShadeRect(&painter, strip, palette(), true, 1);

    const int length = TTulloCalendarDays::MonthLength(Month());
    for (int day = 1; day <= TTulloCalendarDays::Columns * TTulloCalendarDays::Rows; ++day) {
        const int row = (day - 1) / TTulloCalendarDays::Columns;
        const int col = (day - 1) % TTulloCalendarDays::Columns;
        const QRect box(col * cell, header + row * cell, cell, cell);
        if (day > length) {
            painter.fillRect(box, m_nonSelectedColor);
            continue;
        }
        const QColor fill = day == m_clicked            ? m_clickedColor
                            : m_days.IsSelected(day) ? m_selectedColor
                                                     : m_nonSelectedColor;
        painter.fillRect(box, fill);
        const QString number = QString::number(day);
        painter.save();
        painter.setClipRect(box);
        painter.setPen(m_textColor);
        painter.drawText(box.left() + (cell - metrics.horizontalAdvance(number)) / 2, box.top() + 3 + metrics.ascent(),
                         number);
        painter.restore();
    }
}
