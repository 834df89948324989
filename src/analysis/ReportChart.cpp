#include "analysis/ReportChart.h"

#include "analysis/Frequencies.h"
#include "analysis/Graphs.h"

#include <QChart>
#include <QDate>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace
{
const QColor averageRed(0xFF, 0x00, 0x00);
constexpr qreal markerSize = 4.0;
}

TReportChart::TReportChart(QWidget *parent) : TChartView(QStringLiteral("chrtReport"), parent)
{
    // Under the chart, so that the dates of the bottom axis get the width.
    chart()->legend()->setAlignment(Qt::AlignBottom);
}

TReportChart::~TReportChart() = default;

void TReportChart::Clear()
{
    QChart *c = chart();
    c->zoomReset();
    c->removeAllSeries();
    m_series.clear();
    m_computed.clear();
    for (QAbstractAxis *axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    m_bottom = nullptr;
    m_left = nullptr;
}

QAbstractAxis *TReportChart::MakeAxis(const TAxisStyle &style)
{
    QAbstractAxis *axis = nullptr;
    if (style.DateTime) {
        auto *dates = new QDateTimeAxis;
        dates->setFormat(style.DateTimeFormat);
        dates->setTickCount(6);
        axis = dates;
    } else {
        auto *values = new QValueAxis;
        values->setLabelFormat(QStringLiteral("%.") + QString::number(style.Decimals) + QStringLiteral("f"));
        axis = values;
    }
    axis->setTitleText(style.Title);
    return axis;
}

// As many dates on the bottom axis as fit whole beside each other.
void TReportChart::FitDateTicks()
{
    auto *dates = qobject_cast<QDateTimeAxis *>(m_bottom);
    if (!dates)
        return;
    const QFontMetrics metrics(dates->labelsFont());
    const int label = metrics.horizontalAdvance(QDate(2000, 12, 28).toString(dates->format())) + 16;
    const int plot = int(chart()->plotArea().width() > 0 ? chart()->plotArea().width() : width() * 0.8);
    dates->setTickCount(std::clamp(plot / std::max(1, label), 2, 6));
}

void TReportChart::resizeEvent(QResizeEvent *event)
{
    TChartView::resizeEvent(event);
    FitDateTicks();
}

void TReportChart::SetAxes(const TAxisStyle &bottom, const TAxisStyle &left)
{
    m_bottom = MakeAxis(bottom);
    m_left = MakeAxis(left);
    chart()->addAxis(m_bottom, Qt::AlignBottom);
    chart()->addAxis(m_left, Qt::AlignLeft);
    FitDateTicks();
}

int TReportChart::AddSeries(const QString &title, int paletteIndex, const QList<QPointF> &points, bool labels)
{
    auto *series = new QLineSeries;
    series->setName(title);
    series->replace(points);
    chart()->addSeries(series);
    if (paletteIndex >= 0)
        series->setColor(QColor::fromRgb(QRgb(SeriesPalette[std::size_t(paletteIndex)])));
    series->setMarkerSize(markerSize);
    series->setPointsVisible(false);
    if (m_bottom)
        series->attachAxis(m_bottom);
    if (m_left)
        series->attachAxis(m_left);
    m_series.append(series);
    m_computed.append(false);
    m_labels = labels;
    return int(m_series.size()) - 1;
}

int TReportChart::AddComputedSeries(const QString &title, const QList<QPointF> &points)
{
    auto *series = new QLineSeries;
    series->setName(title);
    series->replace(points);
    chart()->addSeries(series);
    series->setColor(averageRed);
    QPen pen = series->pen();
    pen.setWidth(2);
    series->setPen(pen);
    if (m_bottom)
        series->attachAxis(m_bottom);
    if (m_left)
        series->attachAxis(m_left);
    m_series.append(series);
    m_computed.append(true);
    return int(m_series.size()) - 1;
}

void TReportChart::Finish()
{
    ApplyMarkers();
    for (QLineSeries *series : m_series) {
        if (series->count() > 0)
            continue;
        series->setVisible(false);
        for (QLegendMarker *marker : chart()->legend()->markers(series))
            marker->setVisible(false);
    }
    viewport()->update();
}

void TReportChart::SetPointLabels(bool visible)
{
    m_labels = visible;
    ApplyMarkers();
    viewport()->update();
}

void TReportChart::ApplyMarkers()
{
    // Above the limit neither labels nor markers are drawn: the line alone
    // shows a long list at once.
    const bool markers = m_labels && PlottedPoints() <= PointLabelLimit;
    for (int i = 0; i < m_series.size(); ++i)
        if (!m_computed.at(i))
            m_series.at(i)->setPointsVisible(markers);
}

int TReportChart::PlottedPoints() const
{
    int points = 0;
    for (int i = 0; i < m_series.size(); ++i)
        if (!m_computed.at(i))
            points += m_series.at(i)->count();
    return points;
}

bool TReportChart::LabelsDrawn() const
{
    return m_labels && m_labelText && PlottedPoints() <= PointLabelLimit;
}

QList<QPointF> TReportChart::Points(int series) const
{
    return m_series.value(series) ? m_series.at(series)->points() : QList<QPointF>();
}

QString TReportChart::SeriesTitle(int series) const
{
    return m_series.value(series) ? m_series.at(series)->name() : QString();
}

QColor TReportChart::SeriesColour(int series) const
{
    return m_series.value(series) ? m_series.at(series)->color() : QColor();
}

bool TReportChart::SeriesShown(int series) const
{
    return m_series.value(series) && m_series.at(series)->isVisible();
}

bool TReportChart::MarkersVisible(int series) const
{
    return m_series.value(series) && m_series.at(series)->pointsVisible();
}

bool TReportChart::IsComputed(int series) const
{
    return m_computed.value(series);
}

QStringList TReportChart::LegendTitles() const
{
    // Finish takes the series without points out of the legend.
    QStringList titles;
    for (QLineSeries *series : m_series)
        if (series->isVisible())
            titles.append(series->name());
    return titles;
}

namespace
{
QPointF rangeOf(const QAbstractAxis *axis)
{
    if (const auto *values = qobject_cast<const QValueAxis *>(axis))
        return {values->min(), values->max()};
    if (const auto *dates = qobject_cast<const QDateTimeAxis *>(axis))
        return {double(dates->min().toMSecsSinceEpoch()), double(dates->max().toMSecsSinceEpoch())};
    return {};
}
}

QPointF TReportChart::BottomRange() const
{
    return rangeOf(m_bottom);
}

QPointF TReportChart::LeftRange() const
{
    return rangeOf(m_left);
}

QString TReportChart::BottomTitle() const
{
    return m_bottom ? m_bottom->titleText() : QString();
}

QString TReportChart::LeftTitle() const
{
    return m_left ? m_left->titleText() : QString();
}

bool TReportChart::BottomIsDateTime() const
{
    return qobject_cast<const QDateTimeAxis *>(m_bottom) != nullptr;
}

void TReportChart::ZoomTo(const QRectF &plotRectangle)
{
    chart()->zoomIn(plotRectangle);
}

bool TReportChart::ValueAt(const QPoint &position, QPointF &value) const
{
    if (m_series.isEmpty())
        return false;
    value = chart()->mapToValue(chart()->mapFromScene(mapToScene(position)), m_series.first());
    return true;
}

void TReportChart::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    emit MouseMoved(event->position().toPoint());
}

void TReportChart::drawForeground(QPainter *painter, const QRectF &rect)
{
    QChartView::drawForeground(painter, rect);
    if (!LabelsDrawn())
        return;
    // The value of each point over it, inside the plot area.
    const QRectF plot = chart()->plotArea();
    painter->save();
    painter->setPen(Qt::black);
    QFont font = painter->font();
    font.setPointSizeF(7.5);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    for (int i = 0; i < m_series.size(); ++i) {
        QLineSeries *series = m_series.at(i);
        if (m_computed.at(i) || !series->isVisible())
            continue;
        for (const QPointF &point : series->points()) {
            const QPointF at = chart()->mapToPosition(point, series);
            if (!plot.contains(at))
                continue;
            const QString text = m_labelText(point.y());
            const QPointF scene = chart()->mapToScene(at);
            painter->drawText(QPointF(scene.x() - metrics.horizontalAdvance(text) / 2, scene.y() - 4), text);
        }
    }
    painter->restore();
}
