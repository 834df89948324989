#pragma once

// The goals window's chart on Qt Charts: the achieved values of the
// follow-up points as a yellow line with small square marks, the goal as a
// green line without marks, over a date axis; no title and no legend. Zoom
// by dragging a rectangle, back to the whole chart by a double click.

#include <QChartView>
#include <QDate>
#include <QList>
#include <QPointF>

class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class TObjectiveChart : public QChartView
{
    Q_OBJECT

public:
    explicit TObjectiveChart(QWidget *parent = nullptr);
    ~TObjectiveChart() override;

    // Empties both lines.
    void Clear();
    void ResetZoom();
    // One follow-up point: its value on the first line, the goal on the
    // second.
    void AddPoint(const QDate &date, double value, double goal);
    // The axes' ranges; a single day is widened to the days around it.
    void SetDateRange(const QDate &from, const QDate &to);
    void SetValueRange(double low, double high);

    // The date and value at a place of the view.
    QDate DateAt(const QPoint &position) const;
    double ValueAt(const QPoint &position) const;

    // What the lines hold, for the window's tests and print.
    QList<QPointF> Values() const;
    QList<QPointF> GoalLine() const;
    double ValueMin() const;
    double ValueMax() const;
    QColor ValueColour() const;
    QColor GoalColour() const;
    bool ValueMarks() const;

signals:
    // The mouse moved over the chart to this place.
    void MouseMoved(const QPoint &position);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QLineSeries *m_values = nullptr;
    QScatterSeries *m_marks = nullptr;
    QLineSeries *m_goal = nullptr;
    QDateTimeAxis *m_dates = nullptr;
    QValueAxis *m_axis = nullptr;
};
