#pragma once

#include "analysis/Summaries.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QWidget;
class TComplexGrid;
class TCorvaleApp;
class TNumericalEdit;
class TObservation;
class TSubjectObserver;

// "Summering": per calendar year, how much the user trained in each
// activity type chosen for summaries, over a recurring part of the year
// ("Från" month and day to "Till" month and day; a season over New Year
// too). One row per year from the first year found to the last, years
// without sessions included, and a totals row "Totalt" below that keeps the
// grid's column widths and horizontal scrolling.
//
// Every search reads the whole diary, whatever the main list shows, so an
// entry saved, changed or removed counts at the next search. The columns
// are built again when the activity names or the summary settings change
// and when another diary is opened.
//
// Made by the main window on first use and kept; not modal. It registers in
// the window menu, has the help topics 39 (the window), 40 (searching), 41
// (sorting) and 42 (printing), keeps its place under `SummaryWindow`, its
// column widths under `SummaryColumns` and the sort keys under
// `SummarySort`.
class TfrmSummary : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmSummary(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmSummary() override;

    // "&Sök": the totals of the part of the year in the four fields. A part
    // that is no part of the year is refused with the reason in an error
    // box and the focus on the field; the fields keep what was typed.
    void mnuiSearchClick();
    void mnuiSortClick();
    void mnuiSettingsClick();
    void mnuiClearClick();
    // Print and preview: the year grid with an empty row and the totals row
    // under the title "Summering (01 - 01 till 06 - 30)", which the
    // print-title dialog proposes.
    void mnuiPrintClick();
    void mnuiPreviewClick();

    // The print title of the four fields, every number with two digits.
    QString PrintTitle() const;
    // The grid that is printed: a copy of the year grid, an empty row, then
    // the totals of the columns that hold a value ("Totalt" first).
    TComplexGrid *BuildPrintGrid();

    TComplexGrid *SummaryGrid() const { return m_cplxgrdSummary; }
    TComplexGrid *TotalGrid() const { return m_cplxgrdTotal; }
    int YearCount() const { return m_years; }
    QString StatusText(int panel) const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void FormShow();
    void ObserverChange(const TObservation &observation);
    void LoadNames();
    void BuildColumns();
    void SetAlignments();
    void Reset();
    void ClearResult();
    void Fill(const TSummaryResults &results, const QStringList &totals);
    void numedtMonthExit(TNumericalEdit *month, TNumericalEdit *day);
    void AdjustTotalCols();
    void ScrollTotal();
    void ReadWidths();
    void SaveWidths();
    void UpdateMenu();
    void SetStatus(int panel, const QString &text);
    void PrintOrPreview(bool preview);
    TNumericalEdit *Field(TPeriodProblem::TField field) const;

    TCorvaleApp &m_app;
    TSummaries m_summaries;
    TSubjectObserver *m_observer = nullptr;

    TNumericalEdit *m_numedtFromMonth = nullptr;
    TNumericalEdit *m_numedtFromDay = nullptr;
    TNumericalEdit *m_numedtToMonth = nullptr;
    TNumericalEdit *m_numedtToDay = nullptr;
    TComplexGrid *m_cplxgrdSummary = nullptr;
    QWidget *m_pnlTotal = nullptr;
    TComplexGrid *m_cplxgrdTotal = nullptr;
    // The hidden grid the print reads.
    TComplexGrid *m_printGrid = nullptr;
    QLabel *m_panel0 = nullptr;
    QLabel *m_panel1 = nullptr;
    QAction *m_mnuiSearch = nullptr;
    QAction *m_mnuiSort = nullptr;
    QAction *m_mnuiPrint = nullptr;
    QAction *m_mnuiPreview = nullptr;
    QAction *m_mnuiClear = nullptr;

    // The display names of the columns, in column order.
    QStringList m_columnNames;
    int m_years = 0;
    // The year of the current row while a sort runs.
    QString m_sortYear;
    bool m_menusAdded = false;
    bool m_namesLoaded = false;
    bool m_adjusting = false;
};
