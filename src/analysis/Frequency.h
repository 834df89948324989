#pragma once

#include "analysis/Frequencies.h"

#include <QList>
#include <QMainWindow>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class TComplexGrid;
class TCorvaleApp;
class TFrequencyChart;

// "Frekvens": how often the user trained, for the activities the main
// window lists. Made by the main window on first use and kept; not modal.
//
// Load takes the dates of the list grid it is handed (the window never reads
// the diary) and keeps them; a change of kind, of sum or average, or of
// totals or individual years draws the chart again from the kept dates
// without reading the grid. Each use of the main window's command loads the
// list as it is then.
//
// The window registers in the window menu while it exists, has the help
// topics 43 (the window), 44 (zooming) and 45 (printing), keeps its place
// under `FrequencyWindow` and its three choices under `ActivityStyle`.
class TfrmFrequency : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmFrequency(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmFrequency() override;

    // Reads the dates of the grid's "Datum" column, in date order, and
    // draws the chart. A date that is no date leaves the window without a
    // new chart and raises the calendar error.
    void Load(const TComplexGrid *grid);
    // Draws the chart of the kept dates for the radio groups' choices (only
    // while the window is visible).
    void PlotFrequency();

    // The choices as radio indexes.
    int CalcType() const;
    int ShowType() const;
    int IndYears() const;
    void SetCalcType(int index);
    void SetShowType(int index);
    void SetIndYears(int index);

    const QList<TFrequencyItem> &Items() const { return m_items; }
    TFrequencyChart *Chart() const { return m_chrtFrequency; }
    QString StatusText(int panel) const;
    QString MaxText() const;
    QString MaxValueText() const;
    QString FirstDateText() const;
    QString LastDateText() const;
    bool MaxVisible() const;

    // "Skriv ut...": the print-title dialog, then the chart with the title.
    void mnuiPrintClick();
    // The printed page of the chart under the title.
    std::unique_ptr<class TChartPage> ChartReport(const QString &title);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildWindow();
    void BuildMenus();
    QGroupBox *RadioGroup(const char *name, const QString &title, const QStringList &items, QButtonGroup *&group);
    void ReadSettings();
    void WriteSettings();
    void ApplyEnabling();
    void rgCalcTypeClick();
    void SetStatus(int panel, const QString &text);
    void ClearValueLabels();

    TCorvaleApp &m_app;
    QButtonGroup *m_rgCalcType = nullptr;
    QButtonGroup *m_rgShow = nullptr;
    QButtonGroup *m_rgIndYears = nullptr;
    QGroupBox *m_grbxCalcType = nullptr;
    QGroupBox *m_grbxShow = nullptr;
    QGroupBox *m_grbxIndYears = nullptr;
    QLabel *m_lblMaxLabel = nullptr;
    QLabel *m_lblMax = nullptr;
    QLabel *m_lblMaxValue = nullptr;
    QLabel *m_lblFirstLabel = nullptr;
    QLabel *m_lblFirstDate = nullptr;
    QLabel *m_lblLastLabel = nullptr;
    QLabel *m_lblLastDate = nullptr;
    TFrequencyChart *m_chrtFrequency = nullptr;
    QLabel *m_panel0 = nullptr;
    QLabel *m_panel1 = nullptr;

    QList<TFrequencyItem> m_items;
    bool m_menusAdded = false;
};
