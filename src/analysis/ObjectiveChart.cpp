#include "analysis/ObjectiveChart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace
{
const QColor valueYellow(0xFF, 0xFF, 0x00);
const QColor goalGreen(0x00, 0x80, 0x00);
// Yellow needs a darker ground to be seen.
const QColor plotGround(0x40, 0x40, 0x48);

qreal msecsOf(const QDate &date)
{
    return qreal(QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch());
}
}

TObjectiveChart::TObjectiveChart(QWidget *parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("chrtFollowUp"));
    QChart *c = chart();
    c->setTitle(QString());
    c->legend()->setVisible(false);
    c->setPlotAreaBackgroundBrush(plotGround);
    c->setPlotAreaBackgroundVisible(true);
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);

    m_dates = new QDateTimeAxis(this);
    m_dates->setFormat(QStringLiteral("yyyy-MM-dd"));
    m_dates->setTickCount(6);
    m_axis = new QValueAxis(this);
    m_axis->setLabelFormat(QStringLiteral("%.1f"));
    c->addAxis(m_dates, Qt::AlignBottom);
    c->addAxis(m_axis, Qt::AlignLeft);

    m_values = new QLineSeries(this);
    m_values->setObjectName(QStringLiteral("serValues"));
    m_values->setPen(QPen(valueYellow, 2));
    m_marks = new QScatterSeries(this);
    m_marks->setObjectName(QStringLiteral("serValueMarks"));
    m_marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_marks->setMarkerSize(6);
    m_marks->setColor(valueYellow);
    m_marks->setBorderColor(valueYellow);
    m_goal = new QLineSeries(this);
    m_goal->setObjectName(QStringLiteral("serGoal"));
    m_goal->setPen(QPen(goalGreen, 2));
    for (QXYSeries *series : {static_cast<QXYSeries *>(m_goal), static_cast<QXYSeries *>(m_values),
                              static_cast<QXYSeries *>(m_marks)}) {
        c->addSeries(series);
        series->attachAxis(m_dates);
        series->attachAxis(m_axis);
    }
    Clear();
}

TObjectiveChart::~TObjectiveChart() = default;

void TObjectiveChart::Clear()
{
    m_values->clear();
    m_marks->clear();
    m_goal->clear();
    const QDate today = QDate::currentDate();
    SetDateRange(today, today);
    SetValueRange(0.0, 1.0);
}

void TObjectiveChart::ResetZoom()
{
    chart()->zoomReset();
}

void TObjectiveChart::AddPoint(const QDate &date, double value, double goal)
{
    const qreal x = msecsOf(date);
    m_values->append(x, value);
    m_marks->append(x, value);
    m_goal->append(x, goal);
}

void TObjectiveChart::SetDateRange(const QDate &from, const QDate &to)
{
    QDate first = from, last = to;
    if (first >= last) {
        first = from.addDays(-1);
        last = from.addDays(1);
    }
    m_dates->setRange(QDateTime(first, QTime(0, 0)), QDateTime(last, QTime(23, 59)));
}

void TObjectiveChart::SetValueRange(double low, double high)
{
    if (!(high > low))
        high = low + 1.0;
    m_axis->setRange(low, high);
}

QDate TObjectiveChart::DateAt(const QPoint &position) const
{
    const QPointF value = chart()->mapToValue(mapToScene(position), m_values);
    return QDateTime::fromMSecsSinceEpoch(qint64(value.x())).date();
}

double TObjectiveChart::ValueAt(const QPoint &position) const
{
    return chart()->mapToValue(mapToScene(position), m_values).y();
}

QList<QPointF> TObjectiveChart::Values() const
{
    return m_values->points();
}

QList<QPointF> TObjectiveChart::GoalLine() const
{
    return m_goal->points();
}

double TObjectiveChart::ValueMin() const
{
    return m_axis->min();
}

double TObjectiveChart::ValueMax() const
{
    return m_axis->max();
}

QColor TObjectiveChart::ValueColour() const
{
    return m_values->pen().color();
}

QColor TObjectiveChart::GoalColour() const
{
    return m_goal->pen().color();
}

bool TObjectiveChart::ValueMarks() const
{
    return m_marks->count() == m_values->count() && m_marks->markerShape() == QScatterSeries::MarkerShapeRectangle;
}

void TObjectiveChart::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    emit MouseMoved(event->position().toPoint());
}

void TObjectiveChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    ResetZoom();
    event->accept();
}
