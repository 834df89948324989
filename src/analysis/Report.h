#pragma once

#include "analysis/Graphs.h"
#include "analysis/Reports.h"
#include "columns/ActivityColumns.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QTabWidget;
class TCorvaleApp;
class TReportChart;
class TChartPage;
class TStringGrid;

// The cells of a grid whose columns show the kinds, in column order, as the
// graphs take them: each column named by the catalogue id of its kind.
// "Graphs 01" without a grid, "Graph 02" for a grid without a title row,
// "Graphs 09" when the kinds do not match the grid's columns.
TGraphTable GraphTableOfGrid(const TStringGrid *grid, const QList<TColumnKind> &kinds);

// "Rapport": line graphs of the activities the main window lists, from its
// hidden grid of every catalogue column. Made by the main window on first
// use and kept; not modal.
//
// LoadGraphData copies the grid into the graphs (nothing of the grid is
// read later) and Load fills the lists and draws the chosen report. The
// predefined page draws one of twelve fixed reports, the own page one X
// quantity against the checked Y quantities of one unit. Every quantity is
// held by its catalogue id, so two columns with the same caption are two
// quantities.
//
// Value labels and point markers are drawn while "Visa punktvärden" is
// checked and the graph has at most PointLabelLimit points.
//
// The window registers in the window menu while it exists, has the help
// topics 46 (the window), 47 (zooming) and 48 (printing), keeps its place
// under `ReportWindow` and its three check boxes under `ReportStyle`.
class TfrmReport : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmReport(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmReport() override;

    // Copies the grid, whose columns show the kinds, into the graphs.
    void LoadGraphData(const TStringGrid *grid, const QList<TColumnKind> &kinds);
    // Fills the X quantities, the units and the report names, selects the
    // first of each and draws.
    void Load();

    // The own page, then the predefined page: each draws only when its page
    // is the active one.
    void PlotAGraph();
    void ShowPredefinedPage();
    void ShowOwnPage();
    // Chooses a predefined report, an X quantity or a unit by its text.
    void SelectReport(int index);
    bool SelectX(const QString &caption);
    bool SelectUnit(const QString &unit);
    // Checks exactly the Y quantities at the rows of the check list.
    void CheckY(const QList<int> &rows);
    QStringList YItems() const;
    QStringList XItems() const;
    QStringList UnitItems() const;
    QStringList ReportNames() const;

    void SetInterpolated(bool on);
    void SetAverage(bool on);
    void SetPointLabels(bool on);
    bool AverageEnabled() const;

    TReportChart *Chart() const { return m_chrtReport; }
    const TGraphs &Graphs() const { return m_graphs; }
    QString PointsInGraphText() const;
    QString XValueText() const;
    QString YValueText() const;
    QString StatusText(int panel) const;
    // Shows the axis values of a position of the chart in the X and Y labels.
    void ShowPosition(const QPoint &position);

    // "Skriv ut graf...": the print-title dialog, then the chart with the
    // title.
    void mnuiPrintClick();
    // The printed page of the chart under the title.
    std::unique_ptr<TChartPage> ChartPage(const QString &title);
    // What the title dialog proposes: left axis title "/" bottom axis title.
    QString TitleProposal() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void ReadSettings();
    void WriteSettings();
    void cmbbxDataY1Change();
    void chklstbxY1ClickCheck();
    void lstbxChartClick();
    void PlotOwn();
    void PlotPredefined();
    void Plot(int xId, const QString &yUnit, const QList<int> &yIds);
    // The entry the labels of a Y value go by: the first of the unit shown.
    TActivityColumn LabelEntry() const;
    void SetStatus(int panel, const QString &text);

    TCorvaleApp &m_app;
    TReports m_reports;
    TGraphs m_graphs;

    QTabWidget *m_pgctrlReport = nullptr;
    QWidget *m_tshPreDefined = nullptr;
    QWidget *m_tshOwn = nullptr;
    QListWidget *m_lstbxChart = nullptr;
    QComboBox *m_cmbbxDataX = nullptr;
    QComboBox *m_cmbbxDataY1 = nullptr;
    QListWidget *m_chklstbxY1 = nullptr;
    QCheckBox *m_chkbxInterpolatedValues = nullptr;
    QCheckBox *m_chkbxAverage = nullptr;
    QCheckBox *m_chkbxPointLabels = nullptr;
    QLabel *m_lblPointsInGraphValue = nullptr;
    QLabel *m_lblXValue = nullptr;
    QLabel *m_lblYValue = nullptr;
    TReportChart *m_chrtReport = nullptr;
    QLabel *m_panel0 = nullptr;
    QLabel *m_panel1 = nullptr;

    // The X and left-axis entries of the graph drawn last.
    TActivityColumn m_xEntry;
    TActivityColumn m_yEntry;
    bool m_filling = false;
    bool m_menusAdded = false;
};
