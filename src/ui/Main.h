#pragma once

#include "foundation/CrsrMgt.h"
#include "foundation/IntegerList.h"
#include "ui/EntryController.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class TComplexGrid;
class TCorvaleApp;
class TDatePicker;
class TfrmCalendar;
class TfrmColumnPresets;
class TfrmExport;
class TfrmCourse;
class TfrmFrequency;
class TfrmSummary;
class TfrmReplay;
class TfrmReport;
class TfrmRecords;
class TfrmCurrentCourse;
class TfrmDbSelect;
class TfrmPulse;
class TfrmExercise;
class TfrmObjectives;
class TGridActivityColumns;
class TfrmSplash;
class TNumericalEdit;
class TSubjectObserver;
struct TObservation;
struct TSearchParams;

// The posted message that opens the user's diary once the window is up.
inline constexpr int WM_OPENDATABASE = 1578;

// The main window of the diary. Creating it checks the database engine,
// shows the splash and posts the message that opens the user's diary;
// closing it asks first and saves its place.
//
// Its pages: "Sök" with the search criteria, "Ändra" and "Ny" for one
// activity each, and "Sökresultat" with the list of found activities. The
// list grid shows the columns of the current column setting with the
// activity's key in a last, 1 pixel wide column; a second grid that is never
// shown holds every catalogue column of the same rows, for the reports and
// the saving of an activity.
//
// The "Ny" and "Ändra" pages are TActivityPage objects; saving, removing,
// copying and showing their activities is TEntryController's, which the
// window serves as its TEntryHost and whose operations its menus forward.
class TfrmMain : public QMainWindow, private TEntryHost
{
    Q_OBJECT

public:
    explicit TfrmMain(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // True once the program was asked to end (after a start-up failure); the
    // window then closes without asking.
    bool TerminationRequested() const { return m_terminating; }
    // Opens the current user's diary (also after a change of user). Every
    // failure is told to the user and ends the program.
    void OpenUserDatabase();
    // The status bar's first panel.
    QString StatusText() const;
    // The list counter of the status bar ("3/12 aktiviteter").
    QString CounterText() const;

    // Refills the search check list and the new-activity combo box with the
    // display names, sorted; renames the strength and golf pages of the
    // advanced search after their activities.
    void FillActivityLists();
    // Lists the courses that fit the checked activities, the place and the
    // distance range of the search page, keeping the chosen course when it
    // is still listed.
    void FillSearchCourses();
    // Refills the three program combo boxes, keeping the chosen programs
    // where they still exist.
    void FillWorkPrograms();
    // Refills the column setting combo box and applies the current setting.
    void FillColumnPresets();
    // Makes the setting current and shows the same activities in its
    // columns; ends on the list page.
    void ApplyColumnSetting(int id);
    // Empties both grids and the loaded activities.
    void ClearResult();
    // "row/count aktiviteter" in the counter panel, or "0 aktiviteter".
    void UpdateActivityCounter();
    // Enables the menu items, tool buttons and pages for the page in front
    // and the loaded activities.
    void UpdateControls() override;
    // Searches with the criteria of the search page and lists what is found,
    // sorted by the search order of the settings, the last row current.
    // A search date that is no date is refused first (error box, focus on
    // the date, EAbort). Errors of the search reach the caller after the
    // busy period ended and the controls were updated.
    void RunSearch();
    // This year's activities, when the settings ask for it at start.
    void SearchAtStart();
    // Shows the current row's activity on the "Ändra" page.
    void ShowSelectedActivity();

    TComplexGrid *ListGrid() const { return m_cplxgrdMain; }
    // The hidden grid with every catalogue column of the listed activities.
    TComplexGrid *AllColumnsGrid() const { return m_cplxgrdAllColumns; }
    // The key of the activity the "Ändra" page shows; -1 for none.
    int ShownActivity() const { return m_pgEdit ? m_pgEdit->ShownKey() : -1; }
    // The two entry pages and the flows between them and the list.
    TActivityPage *NewPage() const { return m_pgNew; }
    TActivityPage *EditPage() const { return m_pgEdit; }
    TEntryController *EntryController() const { return m_entry.get(); }
    // The text of the last find in the list, empty before the first.
    QString LastFindText() const { return m_findText; }

    // Cut, copy and paste follow the focused control: cut and copy when it
    // has a selection, paste when the clipboard holds text; "&Ändra i
    // tabellen" when it is a grid whose current cell can be edited. Runs on
    // every key and mouse-button release in the program.
    void UpdateEditMenu();
    // Each "&Verktygsfält" item is checked exactly when its tool bar shows.
    void UpdateToolbarMenu();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    bool ReleaseDiary();
    void FormDestroy();
    void BuildPages();
    void BuildSearchPage();
    void BuildResultPage();
    void BuildEntryPages();
    void BuildStatusBar();
    void BuildMenus();
    void BuildToolBars();
    QAction *AddMenuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut);
    void RequestTermination();
    // The "&Fönster" and "&Hjälp" menus with the program's own help items,
    // and the help window as the program's help viewer.
    void AddWindowsAndHelpMenus();
    void AddHelpMenuItems();
    void RemoveWindowsAndHelpMenus();
    void mnuiIntHelpClick();
    void mnuiAboutClick();
    void SetStatus(const QString &text) override;
    void ShowError(const QString &text);
    // The folder browser, opened at `startFolder`; true when a folder holding
    // the diary was chosen (it becomes the location).
    bool BrowseForDatabase(const QString &startFolder);
    void mnuiDbClick();
    void mnuiPulseClick();
    // The settings window, every page enabled.
    void mnuiSettingsClick();
    void mnuiShowCourseClick();
    void mnuiCalendarClick();
    // The column-settings window; on OK the list takes the current setting
    // and the exercise columns their exercises' names.
    void mnuiColumnPresetsClick();
    void mnuiExercisesClick();
    // Shows the goals window, made on first use and kept.
    void mnuiObjectivesClick();
    // Shows the personal-records window and lets it read the records as the
    // diary holds them now.
    void mnuiRecordClick();
    // Shows the frequency window and lets it count the list as it is now.
    void mnuiFrequencyClick();
    // Shows the summary window, made on first use and kept.
    void mnuiSummaryClick();
    // Shows the replay window and lets it load the list as it is now.
    void mnuiReplayClick();
    void mnuiReportClick();
    // The exercise columns of the list and of the full-catalogue grid take
    // the names of the exercises they show.
    void UpdateExerciseColumns();
    void ObserverChange(const TObservation &observation);

    // Menu actions act only while this window is the active one, so that
    // its shortcuts do nothing while another window has the focus.
    bool IsActiveMain() const;
    void mnuiSearchClick();
    void mnuiSortClick();
    void mnuiFindTextClick();
    void mnuiFindTextAgainClick();
    void mnuiNextPrevActClick(bool next);
    void mnuiClearClick();
    // Print and preview (MainPrint.cpp): the record print of "Ändra", else
    // the list with a title from the print-title dialog.
    void mnuiPreviewPrintClick(bool preview);
    void UpdatePrintControls(bool onEdit, bool onResult, int loaded);
    void pgctrlMainChange();
    // Brings a page to the front without running the page-change handler.
    void ShowPage(QWidget *page);

    // Entry pages (TEntryHost).
    TActivityPage *FrontEntryPage() const override;
    void ShowEntryPage(TEntryPageKind kind) override;
    bool EditPageEnabled() const override;
    void mnuiSaveClick();
    void mnuiRemoveClick();
    // The export window over the found activities, made on first use and
    // kept; only while this window is the active one.
    void mnuiExportClick();
    void mnuiCopyFromEditClick();
    void mnuiCurrentCourseClick();

    // Search page.
    void ClearSearchPage();
    void btnSelectClick(QObject *sender);
    void btnAdvancedSearchClick();
    void chklstbxSearchActivityClickCheck(QListWidgetItem *item);
    void UpdateSearchCourses();
    void SetAllSearchActivities(bool checked);
    void ReadSearchParams(TSearchParams &params);
    void ReadSearchActivities(QStringList &names) const;

    // Progress bar.
    void ResetProgress(int step);
    void StepProgress();
    void SetProgress(int value);

    // List page.
    void SetUpListGrid();
    // Builds the list grid's columns from the catalogue and keeps the Id
    // column 1 pixel wide.
    void ApplyGridColumns();
    void FillRows(const QList<int> &numbers);
    int IdColumn() const;
    void KeepIdColumnNarrow();
    void cplxgrdMainBeforeSorted(bool &cursor);
    void cplxgrdMainAfterSorted(bool &cursor);
    void cplxgrdMainSelectCell(int col, int row, bool &canSelect);
    void cplxgrdMainFindSuccess(int col, int row);
    void cplxgrdMainFindNotSuccess();
    void cplxgrdMainMouseUp();
    void ShowFindStatus();
    void cplxgrdMainSectionResized(int section, int newSize);
    void cmbbxColumnPresetChange(int index);
    void UpdateActivityCounterAt(int row);

    // Menus, tool bars and window state (MainMenus.cpp): the items of
    // "&Redigera" and "&Visa" that act on the focused control, the pages and
    // the tool bars, the "Ändra" tool bar, and the tool bars' and the
    // current-course window's state between runs.
    enum TToolbar { tbArchive, tbEdit, tbShow, tbColSetting, tbCount };
    void BuildEditAndShowItems();
    void BuildEditToolBar();
    QToolBar *Toolbar(int index) const;
    // By the item's tag: 1 cuts, 2 copies, 3 pastes on the focused control.
    void mnuiEditClick(int tag);
    void mnuiEditGridClick();
    void mnuiShowClick(QObject *sender);
    // By the item's tag (1 Archive, 2 Edit, 3 Show, 4 ColSetting).
    void mnuToolbarClick(int tag);
    // The place of a tool bar in the top bar: top relative to the first
    // row, left from the window's edge.
    QPoint ToolbarPlace(int index) const;
    void LoadToolbarState();
    void SaveToolbarState();

    TCorvaleApp &m_app;
    // The process's busy pointer (see TCorvaleForms).
    TCursorManagement &m_cursor;
    QPointer<TfrmSplash> m_splash;
    TfrmDbSelect *m_dbSelect = nullptr;
    // The pulse-interval window, made on first use and kept.
    TfrmPulse *m_frmPulse = nullptr;
    // The course window, made on first use and kept.
    TfrmCourse *m_frmCourse = nullptr;
    // The personal-records window, made on first use and kept.
    TfrmRecords *m_frmRecords = nullptr;
    // The frequency window, made on first use and kept.
    TfrmFrequency *m_frmFrequency = nullptr;
    // The summary window, made on first use and kept.
    TfrmSummary *m_frmSummary = nullptr;
    // The replay window, made on first use and kept.
    TfrmReplay *m_frmReplay = nullptr;
    TfrmReport *m_frmReport = nullptr;
    TfrmCalendar *m_frmCalendar = nullptr;
    // The column-settings window, made on first use and kept.
    TfrmColumnPresets *m_frmColumnPresets = nullptr;
    // The exercise window, made on first use and kept.
    TfrmExercise *m_frmExercise = nullptr;
    // The goals window, made on first use and kept.
    TfrmObjectives *m_frmObjectives = nullptr;
    // The export window and its menu item, enabled as tbtnRemove.
    TfrmExport *m_frmExport = nullptr;
    QAction *m_mnuiExport = nullptr;
    TSubjectObserver *m_observer = nullptr;

    // Status bar.
    QLabel *m_status = nullptr;   // panel 0
    QProgressBar *m_pgsbrMain = nullptr;
    QLabel *m_counter = nullptr;  // panel 2
    QLabel *m_today = nullptr;    // panel 3
    int m_progressStep = 1;

    // Menus and tool bars.
    QMenu *m_mnuArchive = nullptr;
    QMenu *m_mnuEdit = nullptr;
    QMenu *m_mnuShow = nullptr;
    QAction *m_mnuiSearch = nullptr;
    QAction *m_mnuiSave = nullptr;
    QAction *m_mnuiRemove = nullptr;
    QAction *m_mnuiCopyFromEdit = nullptr;
    QMenu *m_mnuiGolf = nullptr;
    QAction *m_mnuiGetLatestHCP = nullptr;
    QAction *m_mnuiCalculateScore = nullptr;
    QMenu *m_mnuCourses = nullptr;
    QAction *m_mnuiCoursesEdit = nullptr;
    QAction *m_mnuiCurrentCourse = nullptr;
    QAction *m_mnuiChooseCourse = nullptr;
    QAction *m_mnuiRemoveCourse = nullptr;
    QAction *m_mnuiSort = nullptr;
    QAction *m_mnuiPrint = nullptr;
    QAction *m_mnuiPreview = nullptr;
    QAction *m_mnuiClear = nullptr;
    QAction *m_mnuiDb = nullptr;
    QAction *m_mnuiClose = nullptr;
    QAction *m_mnuiFind = nullptr;
    QAction *m_mnuiFindAgain = nullptr;
    QAction *m_mnuiPreviousAct = nullptr;
    QAction *m_mnuiNextAct = nullptr;
    QAction *m_mnuiSummary = nullptr;
    QAction *m_mnuiRecord = nullptr;
    QAction *m_mnuiFrequency = nullptr;
    QAction *m_mnuiReplay = nullptr;
    QAction *m_mnuiReport = nullptr;
    QAction *m_mnuiCalendar = nullptr;
    QAction *m_mnuiColumnPresets = nullptr;
    QAction *m_mnuiExercises = nullptr;
    QAction *m_mnuiObjectives = nullptr;
    QAction *m_mnuiPulse = nullptr;
    QAction *m_mnuiSettings = nullptr;
    QToolBar *m_tobarArchive = nullptr;
    QToolBar *m_tobarShow = nullptr;
    QToolBar *m_tobarColSetting = nullptr;
    QToolButton *m_tbtnSearch = nullptr;
    QToolButton *m_tbtnSave = nullptr;
    QToolButton *m_tbtnRemove = nullptr;
    QToolButton *m_tbtnSort = nullptr;
    QToolButton *m_tbtnPrint = nullptr;
    QToolButton *m_tbtnPreview = nullptr;
    QToolButton *m_tbtnClear = nullptr;
    QToolButton *m_tbtnTotal = nullptr;
    QToolButton *m_tbtnSettings = nullptr;
    QToolButton *m_tbtnRecord = nullptr;
    QToolButton *m_tbtnFrequency = nullptr;
    QToolButton *m_tbtnReplay = nullptr;
    QToolButton *m_tbtnReport = nullptr;
    QToolButton *m_tbtnCalendar = nullptr;
    QToolButton *m_tbtnColumnPresets = nullptr;
    QToolButton *m_tbtnExercises = nullptr;
    QToolButton *m_tbtnObjective = nullptr;
    QToolButton *m_tbtnPulse = nullptr;
    QToolButton *m_tbtnCourse = nullptr;
    QComboBox *m_cmbbxColumnPreset = nullptr;
    TIntegerList m_columnPresetIds;

    // Pages.
    QTabWidget *m_pgctrlMain = nullptr;
    QWidget *m_tshSearch = nullptr;
    QWidget *m_tshEdit = nullptr;
    QWidget *m_tshNew = nullptr;
    QWidget *m_tshResult = nullptr;

    // Search page.
    TDatePicker *m_wwdtpSearchDate1 = nullptr;
    TDatePicker *m_wwdtpSearchDate2 = nullptr;
    QListWidget *m_chklstbxSearchActivity = nullptr;
    QPushButton *m_btnSelectAll = nullptr;
    QPushButton *m_btnDeselectAll = nullptr;
    QPushButton *m_btnAdvancedSearch = nullptr;
    QWidget *m_pnlAdvancedSearch = nullptr;
    QLineEdit *m_edtSearchLocation = nullptr;
    QLineEdit *m_edtSearchComment = nullptr;
    TNumericalEdit *m_numedtSearchWeight1 = nullptr;
    TNumericalEdit *m_numedtSearchWeight2 = nullptr;
    QTabWidget *m_pgctrlSearch = nullptr;
    QWidget *m_tshTime = nullptr;
    QWidget *m_tshDistance = nullptr;
    QWidget *m_tshTimeDistance = nullptr;
    QWidget *m_tshWorkout = nullptr;
    QWidget *m_tshGolf = nullptr;
    QWidget *m_tshGame = nullptr;
    TNumericalEdit *m_numedtSearchTTime1 = nullptr;
    TNumericalEdit *m_numedtSearchTTime2 = nullptr;
    TNumericalEdit *m_numedtSearchDDist1 = nullptr;
    TNumericalEdit *m_numedtSearchDDist2 = nullptr;
    TNumericalEdit *m_numedtSearchTDDist1 = nullptr;
    TNumericalEdit *m_numedtSearchTDDist2 = nullptr;
    TNumericalEdit *m_numedtSearchTDTime1 = nullptr;
    TNumericalEdit *m_numedtSearchTDTime2 = nullptr;
    QComboBox *m_cmbbxSearchCourse = nullptr;
    QComboBox *m_cmbbxSearchWorkProgram = nullptr;
    TNumericalEdit *m_numedtSearchGolfHCP1 = nullptr;
    TNumericalEdit *m_numedtSearchGolfHCP2 = nullptr;
    TNumericalEdit *m_numedtSearchGolfStroke1 = nullptr;
    TNumericalEdit *m_numedtSearchGolfStroke2 = nullptr;
    QLineEdit *m_edtSearchGameGame = nullptr;
    TIntegerList m_searchCourseNrs;
    TIntegerList m_searchProgramIds;
    // Set while the program itself changes the checks of the activity list.
    bool m_settingChecks = false;

    // Entry pages, each on its tab page.
    TActivityPage *m_pgNew = nullptr;
    TActivityPage *m_pgEdit = nullptr;
    // The current-course window, made on first use.
    TfrmCurrentCourse *m_frmCurrentCourse = nullptr;

    // List page.
    TComplexGrid *m_cplxgrdMain = nullptr;
    TComplexGrid *m_cplxgrdAllColumns = nullptr;
    // Lays the grids out from the column catalogue and fills their rows.
    std::unique_ptr<TGridActivityColumns> m_gridColumns;
    // The rows the entry flows add, refill and remove, and the flows; they
    // go before the grid columns they use.
    std::unique_ptr<TEntryListRows> m_entryRows;
    std::unique_ptr<TEntryController> m_entry;
    QString m_keyBeforeSort;
    QString m_findText;
    bool m_fixingWidth = false;

    bool m_windowMenusAdded = false;
    bool m_shell = false;
    bool m_terminating = false;
    bool m_windowStateRead = false;

    // Menus and tool bars of MainMenus.cpp.
    QAction *m_mnuiCut = nullptr;
    QAction *m_mnuiCopy = nullptr;
    QAction *m_mnuiPaste = nullptr;
    QAction *m_mnuiEditGrid = nullptr;
    QAction *m_mnuiSearchPage = nullptr;
    QAction *m_mnuiEditPage = nullptr;
    QAction *m_mnuiNewPage = nullptr;
    QAction *m_mnuiResultPage = nullptr;
    QMenu *m_mnuiToolbars = nullptr;
    QAction *m_mnuiToolbar[tbCount] = {};
    QToolBar *m_tobarEdit = nullptr;
    QToolButton *m_tbtnCopy = nullptr;
    QToolButton *m_tbtnCut = nullptr;
    QToolButton *m_tbtnPaste = nullptr;
    // Kept by the clipboard's change signal: asking the clipboard itself is
    // a round trip to the display server on every key.
    bool m_clipboardHasText = false;
    // Watches the whole program's keys and mouse for the two menus above.
    QObject *m_applicationWatch = nullptr;
    // Where each tool bar was when it last showed (or as stored, or as
    // designed), for the tool bars that are hidden at closing.
    QPoint m_toolbarPlace[tbCount];
};
