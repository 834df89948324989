#pragma once

#include "ui/EntryPage.h"

#include <QObject>
#include <QPointer>
#include <QString>

class TComplexGrid;
class TCorvaleApp;
class TCursorManagement;
class TGridActivityColumns;
class TfrmChooseCourse;
class TfrmCurrentCourse;
class TfrmPulseSelect;

// What the entry flows need of the window that embeds the two pages: which
// page is in front, bringing one to the front, the status text and the
// enabling of its menus.
class TEntryHost
{
public:
    virtual ~TEntryHost() = default;

    // The entry page in front; null when another page is.
    virtual TActivityPage *FrontEntryPage() const = 0;
    // Brings the page to the front without running the page change.
    virtual void ShowEntryPage(TEntryPageKind kind) = 0;
    // Whether the "Ändra" page may be shown (activities are loaded).
    virtual bool EditPageEnabled() const = 0;
    // Panel 0 of the status bar, repainted at once.
    virtual void SetStatus(const QString &text) = 0;
    virtual void UpdateControls() = 0;
};

// The rows of the activity list and of the hidden grid with every catalogue
// column: a row per loaded activity, the activity's key in the Id column.
// The entry flows add, refill and remove rows through it.
class TEntryListRows
{
public:
    TEntryListRows(TCorvaleApp &app, TGridActivityColumns &columns, TComplexGrid *list, TComplexGrid *allColumns);

    // The key in the Id column of the list's current row; -1 when the row
    // holds none.
    int CurrentKey() const;
    // The row of the grid whose Id cell holds the key; -1 when none.
    int RowOfKey(TComplexGrid *grid, int key) const;
    // The new last row (the row of the loaded count) of both grids shows
    // the activity; both get as many data rows as are loaded; the row
    // becomes current.
    void AppendActivity(int key);
    // The activity's row in both grids shows it again.
    void RefillActivity(int key);
    // The activity's row leaves both grids; both keep as many data rows as
    // remain loaded.
    void RemoveActivity(int key);
    // The activity's row becomes current in both grids (nothing happens
    // where it has none).
    void SelectActivity(int key);

private:
    int IdColumn(TComplexGrid *grid) const;

    TCorvaleApp &m_app;
    TGridActivityColumns &m_columns;
    TComplexGrid *m_list;
    TComplexGrid *m_allColumns;
};

// The main window's operations on the entry pages: saving a new or an edited
// activity, removing the current one, copying "Ändra" to "Ny", showing the
// current list row on "Ändra", the golf and course menus, and the dialogs
// of the pages (pulse intervals and course choice, made on first use and
// kept).
//
// Every refused or failed save tells the user why in a Swedish error box and
// keeps what is on the page. A new activity whose save failed never stays
// among the loaded ones; an edited activity whose save failed is read again
// from the diary, so that it and its list row show what is stored.
class TEntryController : public QObject
{
    Q_OBJECT

public:
    TEntryController(TCorvaleApp &app, TCursorManagement &cursor, TActivityPage &newPage, TActivityPage &editPage,
                     TEntryListRows &rows, TEntryHost &host, QWidget *dialogParent);
    ~TEntryController() override;

    TActivityPage &NewPage() const { return m_newPage; }
    TActivityPage &EditPage() const { return m_editPage; }

    // The current-course window, owned by the main window; may be null.
    void SetCurrentCourseWindow(TfrmCurrentCourse *window);
    // Shows the course of the page in front (or of "Ny") in that window.
    void UpdateCurrentCourse();

    // "S&para": "Sparar...", the focused field takes over its text, the
    // page in front is saved; "Sparad" for half a second only after a save
    // that succeeded.
    void Save();
    // Each returns true when the activity was saved.
    bool SaveNewActivity();
    bool SaveEditedActivity();
    // "Tag &bort": asks "Vill du verkligen ta bort aktiviteten?" and removes
    // the current row's activity from the diary and both grids.
    void Remove();
    // "&Kopiera från Ändra till Ny".
    void CopyFromEdit();
    // Shows the current list row's activity on "Ändra" (loading its details
    // first when it is only listed); without one, "Ändra" is emptied. When
    // that activity is on the page already, the page stays as it is, with
    // what was typed there. When another activity would replace changes not
    // saved, the user is asked "Vill du verkligen avbryta dina ändringar?"
    // first; on no the page stays and the list's current row goes back to
    // its activity.
    void ShowSelectedActivity();

    // Menus of the page in front.
    void GetLatestHCP();
    void CalculateScore();
    void ChooseCourse();
    void RemoveCourse();
    bool GolfEnabled() const;
    bool ChooseCourseEnabled() const;
    bool RemoveCourseEnabled() const;
    bool CopyFromEditEnabled() const;

    // The lap calculation of the settings changed: both pages show the new
    // mode and recompute their tables.
    void LapCalcChanged();
    // A course was saved: the new page's binding to the settings' current
    // course is dropped.
    void CoursesChanged();
    // The diary is being closed for another one: both pages forget what
    // came from it or was typed for it (ForgetDiary).
    void DiaryClosing();

private:
    void ShowError(const QString &text) const;
    // Drops a new activity that could not be saved.
    void DropNew(int key);
    // Reads the activity again from the diary after a failed save; when even
    // that fails it leaves the loaded list and both grids.
    void Restore(int key, const QString &program);
    bool PulseDialog(QList<qint32> &ids, QList<qint32> &percentages);
    bool CourseDialog(const QString &activity, const QString &place, const QString &distance, TChosenCourse &chosen);
    // Updates the current-course window for a change on the page, unless a
    // page is being filled as a whole (m_fillingPage).
    void PageCourseChanged(TActivityPage *page);

    TCorvaleApp &m_app;
    TCursorManagement &m_cursor;
    TActivityPage &m_newPage;
    TActivityPage &m_editPage;
    TEntryListRows &m_rows;
    TEntryHost &m_host;
    QWidget *m_dialogParent;
    TfrmPulseSelect *m_frmPulseSelect = nullptr;
    QPointer<TfrmCurrentCourse> m_currentCourse;
    // While a page is filled with another activity, each field it sets
    // reports a change of date or course; the window is updated once, when
    // the page is complete, rather than for every step on the way.
    bool m_fillingPage = false;
};
