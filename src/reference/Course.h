#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;
class TComplexGrid;
class TCorvaleApp;
class TNumericalEdit;
class TSubjectObserver;
struct TObservation;

// "Banbeskrivningar": the window in which the user searches, registers,
// changes and removes course descriptions. One instance, made by the main
// window on first use and kept (the main window owns it); non-modal.
//
// Pages: "Sök" (criteria), "Ändra" (the course last brought there from the
// result list), "Ny" (a course to register) and "Sökresultat" (the grid of
// the courses found; its last, 1 pixel wide column holds the course
// number). Everything goes through the application object's course
// operations; the window holds course numbers only.
//
// "Ändra" remembers the number of the course it shows: saving writes that
// course whatever grid row is current (a find may have moved it), and
// bringing another course there over unsaved changes asks first. A refused
// save leaves every field as typed and says why in Swedish with the focus
// on the field; a new course that could not be saved is taken back out, and
// a changed course that could not be saved is read again from the diary, so
// that the working list and the grid always show what is stored.
//
// The window registers in the window menu while it exists, has the help
// topics 16 ("Ny"), 18 ("Ändra") and 17 (otherwise), keeps its geometry
// under `CourseWindow` and the grid's column widths under `CourseColumns`,
// and refills its lists when another diary was opened.
class TfrmCourse : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmCourse(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmCourse() override;

    // The first panel of the status bar and the count panel.
    QString StatusText() const;
    QString CountText() const;
    // The course number "Ändra" shows; -1 for none.
    int ShownCourse() const { return m_shownCourse; }
    TComplexGrid *Grid() const { return m_cplxgrdCourse; }
    // The help topic of the page in front.
    int HelpTopic() const;

    // The handlers of the menus, for the main window and the tests.
    void mnuiSearchClick();
    void mnuiSaveClick();
    void mnuiRemoveClick();
    void mnuiSortClick();
    void mnuiFindTextClick();
    void mnuiFindTextAgainClick();
    void mnuiClearClick();
    void mnuiPreviewPrintClick(bool preview);
    // Fills the lists from the open diary (also on a change of diary).
    void FillLists();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One set of fields of "Ändra" or "Ny".
    struct TCoursePage
    {
        QWidget *page = nullptr;
        QLineEdit *edtLocation = nullptr;
        TNumericalEdit *numedtDistance = nullptr;
        QComboBox *cmbbxDifficulty = nullptr;
        QPlainTextEdit *moDescription = nullptr;
        TNumericalEdit *numedtLaps = nullptr;
        QScrollArea *scrbxLaps = nullptr;
        QWidget *pnlLaps = nullptr;
        QList<TNumericalEdit *> laps;
        QList<QLabel *> lapLabels;
    };

    void BuildSearchPage();
    void BuildCoursePage(TCoursePage &page, bool isNew);
    void BuildResultPage();
    void BuildMenus();
    void BuildStatusBar();
    void ReadSettings();
    void WriteSettings();

    void ObserverChange(const TObservation &observation);
    void pgctrlCourseChange();
    void mnuiShowClick(QWidget *page);
    void mnuiEditClick(int tag);
    void mnuiHelpClick();
    void ShowPage(QWidget *page);
    void SetStatus(const QString &text);
    void UpdateCount();
    void UpdateMenus();
    void UpdateEditMenu();

    // Brings the course of the current grid row to "Ändra".
    void ShowSelectedCourse();
    void FillEditPage(int nr);
    void ClearEditPage();
    void numedtLapsExit(TCoursePage &page);
    // What the page's fields hold, to tell whether "Ändra" was changed
    // since it was filled or saved.
    QStringList PageTexts(const TCoursePage &page) const;
    bool EditPageChanged();

    void SaveNew();
    void SaveEdit();
    // The fields of the page passed to the course.
    void SetCourse(int nr, const TCoursePage &page, const QString &activity);
    QStringList PageLaps(const TCoursePage &page) const;
    // Tells the user why the course was refused and focuses the field;
    // false for an error that is not about the input.
    bool ShowCourseError(const std::exception_ptr &error, const TCoursePage &page);
    void WriteRow(int row, int nr, const QString &activity, const TCoursePage &page);

    int CurrentCourseNr() const;
    int RowOfCourse(int nr) const;
    void cplxgrdCourseBeforeSorted(bool &cursor);
    void cplxgrdCourseAfterSorted(bool &cursor);
    void cplxgrdCourseSelectCell(int col, int row, bool &canSelect);
    void cplxgrdCourseFindSuccess(int col, int row);
    void cplxgrdCourseFindNotSuccess();
    void cplxgrdCourseSectionResized(int section, int newSize);
    void KeepNumberColumnNarrow();

    TCorvaleApp &m_app;
    TSubjectObserver *m_observer = nullptr;

    QTabWidget *m_pgctrlCourse = nullptr;
    QWidget *m_tshSearch = nullptr;
    QWidget *m_tshEdit = nullptr;
    QWidget *m_tshNew = nullptr;
    QWidget *m_tshResult = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_count = nullptr;

    QListWidget *m_chklstbxSearchActivity = nullptr;
    QLineEdit *m_edtSearchLocation = nullptr;
    TNumericalEdit *m_numedtSearchDistance1 = nullptr;
    TNumericalEdit *m_numedtSearchDistance2 = nullptr;
    QListWidget *m_chklstbxSearchDifficulty = nullptr;

    TCoursePage m_edit;
    QLineEdit *m_edtEditActivity = nullptr;
    QLabel *m_lblNrUsedByActivities = nullptr;
    TCoursePage m_new;
    QComboBox *m_cmbbxNewActivity = nullptr;

    TComplexGrid *m_cplxgrdCourse = nullptr;

    QAction *m_mnuiSearch = nullptr;
    QAction *m_mnuiSave = nullptr;
    QAction *m_mnuiRemove = nullptr;
    QAction *m_mnuiSort = nullptr;
    QAction *m_mnuiPrint = nullptr;
    QAction *m_mnuiPreview = nullptr;
    QAction *m_mnuiClear = nullptr;
    QAction *m_mnuiCut = nullptr;
    QAction *m_mnuiCopy = nullptr;
    QAction *m_mnuiPaste = nullptr;
    QAction *m_mnuiFindText = nullptr;
    QAction *m_mnuiFindTextAgain = nullptr;

    // The course "Ändra" shows and what its fields held when it was filled
    // or last saved.
    int m_shownCourse = -1;
    QStringList m_editTexts;
    int m_courseBeforeSort = -1;
    QString m_findText;
    bool m_fixingWidth = false;
    bool m_filling = false;
    bool m_windowMenuAdded = false;
};
