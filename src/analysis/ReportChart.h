#pragma once

// The report window's chart on Qt Charts: line series with point markers,
// value labels whose texts the window supplies, a red block-average series
// computed from the first series, numeric or date-time axes with titles and
// formats, a legend, zoom by dragging and reset by double click, the mouse
// position in axis values, and the printed page of the chart under a title
// through the page engine.

#include "analysis/ChartWindow.h"

#include <QImage>
#include <QList>
#include <QPointF>

#include <functional>

class QAbstractAxis;
class QLineSeries;

class TReportChart : public TChartView
{
    Q_OBJECT

public:
    // How an axis shows its values: numbers with a number of decimals, or
    // date-times with a Qt date-time format ("yyyy-MM-dd", "h:mm:ss").
    struct TAxisStyle
    {
        QString Title;
        bool DateTime = false;
        int Decimals = 0;
        QString DateTimeFormat;
    };

    explicit TReportChart(QWidget *parent = nullptr);
    ~TReportChart() override;

    // Removes every series and both axes and resets the zoom.
    void Clear();
    void SetAxes(const TAxisStyle &bottom, const TAxisStyle &left);
    // A line series with markers and, while switched on, value labels; the
    // colour is a palette index or -1 for the chart's own. Returns its index.
    int AddSeries(const QString &title, int paletteIndex, const QList<QPointF> &points, bool labels);
    // A red line through the points, computed from another series: never
    // labelled.
    int AddComputedSeries(const QString &title, const QList<QPointF> &points);
    // After the series: every series without points leaves the legend and
    // is not drawn.
    void Finish();

    // Value labels and markers of every series that is not computed, drawn
    // while the graph has at most PointLabelLimit points.
    void SetPointLabels(bool visible);
    bool PointLabels() const { return m_labels; }
    // True when labels are asked for and the graph has at most
    // PointLabelLimit points, so that they are drawn.
    bool LabelsDrawn() const;
    // The text of a label for a Y value.
    void SetLabelText(std::function<QString(double)> text) { m_labelText = std::move(text); }

    int SeriesCount() const { return int(m_series.size()); }
    QList<QPointF> Points(int series) const;
    QString SeriesTitle(int series) const;
    QColor SeriesColour(int series) const;
    bool SeriesShown(int series) const;
    bool MarkersVisible(int series) const;
    bool IsComputed(int series) const;
    QStringList LegendTitles() const;
    // Every point of the series that are not computed.
    int PlottedPoints() const;

    // The visible range of the bottom and left axes as chart numbers.
    QPointF BottomRange() const;
    QPointF LeftRange() const;
    QString BottomTitle() const;
    QString LeftTitle() const;
    bool BottomIsDateTime() const;

    // Zooms to a rectangle of the plot area (as dragging does) and back.
    void ZoomTo(const QRectF &plotRectangle);
    // The axis values of a position in the view, by the first series.
    bool ValueAt(const QPoint &position, QPointF &value) const;

signals:
    void MouseMoved(const QPoint &position);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QAbstractAxis *MakeAxis(const TAxisStyle &style);
    void FitDateTicks();
    void ApplyMarkers();

    QList<QLineSeries *> m_series;
    QList<bool> m_computed;
    QAbstractAxis *m_bottom = nullptr;
    QAbstractAxis *m_left = nullptr;
    bool m_labels = false;
    std::function<QString(double)> m_labelText;
};
