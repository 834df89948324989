#include "analysis/FrequencyChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <cmath>
#include <limits>

namespace
{
const QColor barBlue(0x00, 0x00, 0xFF);
const QColor meanRed(0xFF, 0x00, 0x00);

// Significant digits for bar values so that one decimal shows.
int labelPrecision(double largest)
{
    int digits = 1;
    for (double v = std::abs(largest); v >= 10.0; v /= 10.0)
        ++digits;
    return digits + 1;
}
}

QString FrequencyValueText(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    QString text = QString::number(std::abs(rounded), 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(2);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    for (qsizetype i = (point < 0 ? text.size() : point) - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(' '));
    return rounded < 0 ? QLatin1Char('-') + text : text;
}

TFrequencyChart::TFrequencyChart(QWidget *parent) : TChartView(QStringLiteral("chrtFrequency"), parent)
{
    // One pair of axes for the life of the chart: each drawing gives them
    // new labels and a new range.
    m_bottom = new QBarCategoryAxis(this);
    m_left = new QValueAxis(this);
    m_left->setLabelFormat(QStringLiteral("%g"));
    chart()->addAxis(m_bottom, Qt::AlignBottom);
    chart()->addAxis(m_left, Qt::AlignLeft);
}

TFrequencyChart::~TFrequencyChart() = default;

void TFrequencyChart::Clear()
{
    QChart *c = chart();
    c->zoomReset();
    c->removeAllSeries();
    m_bottom->clear();
    m_bottom->setTitleText(QString());
    m_left->setRange(0.0, 1.0);
    m_bars = nullptr;
    m_sets.clear();
    m_mean = nullptr;
    m_meanValue = 0.0;
    m_legend.clear();
}

void TFrequencyChart::AddYearSeries(int firstYear, int count)
{
    auto *series = new QStackedBarSeries;
    series->setLabelsVisible(false);
    for (int i = 0; i < count; ++i) {
        auto *set = new QBarSet(QString::number(firstYear + i));
        const int colour = SeriesPaletteIndex(i);
        if (colour >= 0) {
            set->setColor(QColor::fromRgb(QRgb(SeriesPalette[std::size_t(colour)])));
            set->setBorderColor(Qt::black);
        }
        series->append(set);
        m_sets.append(set);
    }
    m_bars = series;
    chart()->addSeries(series);
    // The years' legend stands beside the chart, one line a year.
    chart()->legend()->setAlignment(Qt::AlignRight);
    // Many years need smaller legend lines to fit beside the chart.
    QFont font = chart()->legend()->font();
    font.setPointSizeF(count > 8 ? 7.0 : QFont().pointSizeF());
    chart()->legend()->setFont(font);
}

void TFrequencyChart::AddTotalSeries(bool withMean)
{
    auto *series = new QBarSeries;
    auto *set = new QBarSet(QStringLiteral("Antal aktiviteter"));
    QLinearGradient gradient(0.0, 0.0, 1.0, 0.0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.0, barBlue.lighter(190));
    gradient.setColorAt(0.5, barBlue);
    gradient.setColorAt(1.0, barBlue.darker(160));
    set->setBrush(QBrush(gradient));
    set->setColor(barBlue);
    set->setLabelColor(Qt::black);
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    m_sets.append(set);
    m_bars = series;
    chart()->addSeries(series);
    chart()->legend()->setFont(QFont());
    // Two legend lines fit under the chart, which then has the whole width
    // for its bars and their labels.
    chart()->legend()->setAlignment(Qt::AlignBottom);
    if (withMean) {
        m_mean = new QLineSeries;
        m_mean->setName(QStringLiteral("Medelvärde"));
        m_mean->setColor(meanRed);
        m_mean->setPointsVisible(true);
        // The value is named once, in the legend, not at every bar.
        chart()->addSeries(m_mean);
    }
}

int TFrequencyChart::SeriesCount() const
{
    return int(m_sets.size());
}

void TFrequencyChart::AddPoint(int series, int x, double value)
{
    Q_UNUSED(x);
    // Points come in order x = 1, 2, ...; the bar's place is its index.
    if (series >= 0 && series < m_sets.size())
        m_sets.at(series)->append(value);
}

void TFrequencyChart::Finish(int kind, int firstYear, int from, const QString &caption)
{
    m_kind = kind;
    m_firstYear = firstYear;
    m_from = from;
    QChart *c = chart();
    if (!m_bars)
        return;

    int points = 0;
    double largest = 0.0;
    double sum = 0.0;
    for (const QBarSet *set : std::as_const(m_sets))
        points = std::max(points, int(set->count()));
    // The highest bar: stacked bars reach the sum of their years.
    const bool stacked = IsStacked();
    for (int i = 0; i < points; ++i) {
        double height = 0.0;
        for (const QBarSet *set : std::as_const(m_sets)) {
            const double value = i < set->count() ? set->at(i) : 0.0;
            height = stacked ? height + value : std::max(height, value);
        }
        largest = std::max(largest, height);
    }
    if (!m_sets.isEmpty())
        for (int i = 0; i < m_sets.first()->count(); ++i)
            sum += m_sets.first()->at(i);

    QBarCategoryAxis *bottom = m_bottom;
    QStringList labels;
    for (int k = 0; k < points; ++k)
        labels.append(FrequencyAxisLabel(kind, firstYear, from, k));
    // Categories must differ; an empty label is a blank of its own width.
    for (int k = 0; k < labels.size(); ++k)
        if (labels.at(k).isEmpty())
            labels[k] = QString(k + 1, QLatin1Char(' '));
    bottom->append(labels);
    bottom->setTitleText(caption);
    m_bars->attachAxis(bottom);
    QValueAxis *left = m_left;
    m_bars->attachAxis(left);
    m_bars->setLabelsPrecision(labelPrecision(largest));

    if (m_mean) {
        m_meanValue = points > 0 ? sum / points : 0.0;
        QList<QPointF> line;
        line.reserve(points);
        for (int k = 0; k < points; ++k)
            line.append(QPointF(k, m_meanValue));
        m_mean->replace(line);
        for (QLegendMarker *marker : c->legend()->markers(m_mean))
            marker->setLabel(m_mean->name() + QStringLiteral(" ") + FrequencyValueText(m_meanValue));
        m_mean->attachAxis(bottom);
        m_mean->attachAxis(left);
    }
    left->setRange(0.0, std::max(1.0, largest * 1.1));
    left->applyNiceNumbers();

    // Series without points stay out of the legend.
    const auto markers = c->legend()->markers(m_bars);
    for (qsizetype i = 0; i < markers.size() && i < m_sets.size(); ++i) {
        bool any = false;
        for (int p = 0; p < m_sets.at(i)->count() && !any; ++p)
            any = m_sets.at(i)->at(p) != 0.0;
        markers.at(i)->setVisible(any);
        if (any)
            m_legend.append(m_sets.at(i)->label());
    }
    if (m_mean) {
        const bool any = points > 0;
        m_mean->setVisible(any);
        for (QLegendMarker *marker : c->legend()->markers(m_mean))
            marker->setVisible(any);
        if (any)
            m_legend.append(m_mean->name());
    }
}

QStringList TFrequencyChart::AxisLabels() const
{
    QStringList labels = m_bottom->categories();
    for (QString &label : labels)
        if (label.trimmed().isEmpty())
            label.clear();
    return labels;
}

QList<double> TFrequencyChart::Values(int series) const
{
    QList<double> values;
    if (series < 0 || series >= m_sets.size())
        return values;
    for (int i = 0; i < m_sets.at(series)->count(); ++i)
        values.append(m_sets.at(series)->at(i));
    return values;
}

double TFrequencyChart::MeanValue() const
{
    return m_mean ? m_meanValue : std::numeric_limits<double>::quiet_NaN();
}

QStringList TFrequencyChart::LegendTitles() const
{
    return m_legend;
}

QColor TFrequencyChart::SeriesColour(int series) const
{
    return series >= 0 && series < m_sets.size() ? m_sets.at(series)->color() : QColor();
}

bool TFrequencyChart::IsStacked() const
{
    return qobject_cast<QStackedBarSeries *>(m_bars) != nullptr;
}

QString TFrequencyChart::PositionText(const QPoint &position) const
{
    if (!m_bars || m_sets.isEmpty() || m_sets.first()->count() == 0)
        return QString();
    const QPointF value = chart()->mapToValue(mapToScene(position), m_bars);
    // The bars stand at their index.
    const int k = int(std::lround(value.x()));
    QString label;
    if (k >= 0 && k < m_sets.first()->count())
        label = FrequencyAxisLabel(m_kind, m_firstYear, m_from, k);
    return QStringLiteral("X: ") + label.rightJustified(7, QLatin1Char(' ')) + QStringLiteral("     Y: ")
           + FrequencyValueText(value.y());
}

void TFrequencyChart::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    emit PositionChanged(PositionText(event->position().toPoint()));
}
