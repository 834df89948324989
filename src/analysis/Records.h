#pragma once

#include "analysis/PersonalRecords.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QTabWidget;
class TComplexGrid;
class TCorvaleApp;
class TSubjectObserver;
struct TObservation;

// "Personbästa": the personal records of the open diary on two pages, the
// fastest session on each course ("Tid- och distansaktiviteter") and the
// heaviest lift of each strength exercise ("Styrketräning"). Made by the
// main window on first use and kept; not modal.
//
// "Sök" (which the main window runs at every opening) reads the records
// with the limits of the settings and lists them by date. A change of the
// diary that may change the records (an activity removed, courses,
// programs, activity names or the record settings changed, another diary
// opened) empties both lists at once; while the window is shown the records
// are then read again once the change is over, and a window shown again
// from the window menu reads them again when they were emptied meanwhile.
//
// Each page sorts (title click or "Sortera..."), finds text and prints its
// own list through the list print with the titles "Personbästa
// tidsaktiviteter" and "Personbästa styrketräning". The window registers in
// the window menu while it exists, has the help topics 35 and 36 (the
// pages), 34 (the window), 37 (sorting) and 38 (printing), and keeps its
// place under `RecordWindow` and the column widths under `RecordColumns`.
class TfrmRecords : public QMainWindow
{
    Q_OBJECT

public:
    enum TPage { TDTPage = 0, WorkoutPage = 1 };

    explicit TfrmRecords(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmRecords() override;

    TComplexGrid *TDTGrid() const { return m_cplxgrdRecordsTDT; }
    TComplexGrid *WorkoutGrid() const { return m_cplxgrdRecordsW; }
    const QList<TTDRecordItem> &CourseRecords() const { return m_courseRecords; }
    const QList<TWRecordItem> &StrengthRecords() const { return m_strengthRecords; }
    QString StatusText() const;
    int CurrentPage() const;
    void ShowPage(int page);
    // The help topic of the page in front.
    int HelpTopic() const;

    // The handlers of the menus, for the main window and the tests.
    void mnuiSearchClick();
    void mnuiSortClick();
    void mnuiSettingsClick();
    void mnuiFindClick();
    void mnuiFindAgainClick();
    void mnuiPreviewPrintClick(bool preview);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    TComplexGrid *BuildGrid(QWidget *page, int index, const char *name, int columnCount);
    void BuildMenus();
    void BuildHelpMenu();
    void SetColumnProperties();
    void ReadSettings();
    void WriteSettings();

    void ObserverChange(const TObservation &observation);
    // Empties both lists; the records are read again when the window is
    // shown and the change is over.
    void Outdated();
    void QueueSearch();
    void ClearResults();
    void FillGrids();
    void UpdateMenus();
    void SetStatus(const QString &text);

    TComplexGrid *Grid(int page) const;
    int RecordCount(int page) const;
    void BeforeSorted(int page, bool &cursor);
    void AfterSorted(int page, bool &cursor);
    void FindSuccess(int page, int col, int row);
    void FindNotSuccess(int page);

    TCorvaleApp &m_app;
    TPersonalRecords m_records;
    TSubjectObserver *m_observer = nullptr;

    QTabWidget *m_pgctrlRecords = nullptr;
    QWidget *m_tshTDT = nullptr;
    QWidget *m_tshWorkout = nullptr;
    TComplexGrid *m_cplxgrdRecordsTDT = nullptr;
    TComplexGrid *m_cplxgrdRecordsW = nullptr;
    QLabel *m_status = nullptr;

    QAction *m_mnuiSearch = nullptr;
    QAction *m_mnuiSort = nullptr;
    QAction *m_mnuiPrint = nullptr;
    QAction *m_mnuiPreview = nullptr;
    QAction *m_mnuiFind = nullptr;
    QAction *m_mnuiFindAgain = nullptr;

    QList<TTDRecordItem> m_courseRecords;
    QList<TWRecordItem> m_strengthRecords;
    // Per page: the last find text, and the two cells that name the current
    // row before a sort.
    std::array<QString, 2> m_findText;
    std::array<QString, 2> m_keyBeforeSort;
    bool m_searching = false;
    bool m_outdated = false;
    bool m_searchQueued = false;
    bool m_menusAdded = false;
};
