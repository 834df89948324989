#pragma once

// What the chart windows share: the chart view that resets its zoom on a
// double click and gives its picture under a title, the printed page of that
// picture, the "&Arkiv" menu, the help items about the chart, printing under
// a title the user chooses, and the texts of the windows' lists.

#include "export/GenReportEngine.h"
#include "export/GenReportLayout.h"

#include <QChartView>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QListWidget;
class QMainWindow;
class TCorvaleApp;

// A chart zoomed by dragging, back to the whole by a double click; light
// theme, legend on the right, no title on the screen, mouse tracked.
class TChartView : public QChartView
{
    Q_OBJECT

public:
    TChartView(const QString &objectName, QWidget *parent);

    void ResetZoom();

    // The chart as printed: with the title shown over it.
    QImage Picture(const QString &title);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// The printed chart: one landscape page, the page header with the title,
// the chart's picture below it.
class TChartPage final : public TReportDocument
{
public:
    TChartPage(QString title, QImage picture);

    bool Wide() const override { return true; }
    int PageCount() const override { return 1; }
    QString Title() const override { return m_title; }
    void PaintPage(QPainter &painter, int page) const override;

    const QImage &Picture() const { return m_picture; }

private:
    TReportGeometry m_geometry;
    QString m_title;
    QString m_printTime;
    QImage m_picture;
};

namespace ChartWindow
{
// The window's "&Arkiv" menu: the print item (Ctrl+P) runs `print` through
// the guard, the close item (Alt+F4) closes the window.
void AddArchiveMenu(QMainWindow *window, const QString &printText, const QString &closeText, std::function<void()> print);

// Adds the help menu to the window: its first item opens the window's topic,
// then the items about zooming in and printing the chart open theirs.
void AddHelpMenu(QMainWindow *window, TCorvaleApp &app, int topic, const QString &zoomText, int zoomTopic,
                 const QString &printText, int printTopic);

// Asks for the title of the print, proposing one, and prints the document
// made under it, to a PDF file when there is no printer. Nothing when the
// user cancels.
void PrintUnderTitle(QWidget *window, const QString &proposal,
                     const std::function<std::unique_ptr<TReportDocument>(const QString &title)> &document);

QStringList ItemTexts(const QListWidget *list);
QStringList ItemTexts(const QComboBox *list);
} // namespace ChartWindow
