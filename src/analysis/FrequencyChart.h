#pragma once

// The frequency window's chart on Qt Charts: the bars of one calculation
// (one gradient series with its mean line, or one stacked series per year
// in the palette), the bottom axis labelled by point index, zoom by
// dragging and reset by double click, and the printed page of the chart
// under a title through the page engine.

#include "analysis/Frequencies.h"
#include "analysis/ChartWindow.h"

#include <QImage>
#include <QList>

class QBarSet;
class QAbstractBarSeries;
class QBarCategoryAxis;
class QLineSeries;
class QValueAxis;

class TFrequencyChart : public TChartView, public TFrequencyPlot
{
    Q_OBJECT

public:
    explicit TFrequencyChart(QWidget *parent = nullptr);
    ~TFrequencyChart() override;

    // Removes every series and axis.
    void Clear();
    // One series titled with each year from firstYear on, stacked, plain
    // bars; series i < 16 in palette colour i, later ones in the chart's
    // default colour.
    void AddYearSeries(int firstYear, int count);
    // One series "Antal aktiviteter", blue with a gradient and value marks;
    // with the mean line "Medelvärde" (red, value marks, point markers) when
    // withMean.
    void AddTotalSeries(bool withMean);

    int SeriesCount() const override;
    void AddPoint(int series, int x, double value) override;

    // After the calculation: the bottom axis with its title and the labels
    // of the kind, the left axis, the mean line over the whole range, and
    // every series without points left out of the legend.
    void Finish(int kind, int firstYear, int from, const QString &caption);

    // The labels of the bottom axis, the bars' values of a series, the mean
    // line's value (NaN without one) and the series titles in the legend.
    QStringList AxisLabels() const;
    QList<double> Values(int series) const;
    double MeanValue() const;
    QStringList LegendTitles() const;
    // The colour of a series' bars.
    QColor SeriesColour(int series) const;
    bool IsStacked() const;

    // The text of the second status panel for a mouse position in the view;
    // empty without series.
    QString PositionText(const QPoint &position) const;

signals:
    void PositionChanged(const QString &text);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QBarCategoryAxis *m_bottom = nullptr;
    QValueAxis *m_left = nullptr;
    QAbstractBarSeries *m_bars = nullptr;
    QList<QBarSet *> m_sets;
    QLineSeries *m_mean = nullptr;
    double m_meanValue = 0.0;
    int m_kind = 0;
    int m_firstYear = 0;
    int m_from = 1;
    QStringList m_legend;
};

// Formats a value as the left axis does: at most one decimal, blanks
// between the thousands.
QString FrequencyValueText(double value);
