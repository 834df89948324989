#include "ui/EntryController.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtilsWidgets.h"
#include "model/ClasshieWorkout.h"
#include "reference/ChooseCourse.h"
#include "reference/CurrentCourse.h"
#include "reference/PulseSelect.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QThread>

namespace
{
const QString busyId = QStringLiteral("Corvale");
const QString notSaved = QStringLiteral("Aktiviteten sparades inte: ");
const QString saveFailed = QStringLiteral("Kunde inte spara aktiviteten: ");

// Clears the status text when the operation ends, however it ends.
struct TStatusReset
{
    TEntryHost &host;
    ~TStatusReset() { host.SetStatus(QString()); }
};

QString messageOf(const std::exception &error)
{
    if (const auto *own = dynamic_cast<const EException *>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}
}

// ---------------------------------------------------------------------------
// TEntryListRows

TEntryListRows::TEntryListRows(TCorvaleApp &app, TGridActivityColumns &columns, TComplexGrid *list, TComplexGrid *allColumns)
    : m_app(app), m_columns(columns), m_list(list), m_allColumns(allColumns)
{
}

int TEntryListRows::IdColumn(TComplexGrid *grid) const
{
    return m_columns.ColumnOfKind(grid, TColumnKind::cId);
}

int TEntryListRows::CurrentKey() const
{
    const int idColumn = IdColumn(m_list);
    if (idColumn < 0 || m_list->Row() < m_list->FixedRows() || m_list->Row() >= m_list->RowCount())
        return -1;
    bool ok = false;
    const int key = m_list->Cells(idColumn, m_list->Row()).trimmed().toInt(&ok);
    return ok ? key : -1;
}

int TEntryListRows::RowOfKey(TComplexGrid *grid, int key) const
{
    const int idColumn = IdColumn(grid);
    if (idColumn < 0)
        return -1;
    const QString text = QString::number(key);
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        if (grid->Cells(idColumn, row).trimmed() == text)
            return row;
    }
    return -1;
}

void TEntryListRows::AppendActivity(int key)
{
    const int loaded = m_app.GetLoadedCount();
    for (TComplexGrid *grid : {m_list, m_allColumns}) {
        TTulloUtilGrid::SetDataRowCount(grid, loaded);
        m_columns.FillActivityRow(grid, loaded, key);
        TTulloUtilGrid::SelectDataRow(grid, loaded);
    }
}

void TEntryListRows::RefillActivity(int key)
{
    for (TComplexGrid *grid : {m_list, m_allColumns}) {
        const int row = RowOfKey(grid, key);
        if (row >= 0)
            m_columns.FillActivityRow(grid, row, key);
    }
}

void TEntryListRows::SelectActivity(int key)
{
    for (TComplexGrid *grid : {m_list, m_allColumns}) {
        const int row = RowOfKey(grid, key);
        if (row >= 0)
            grid->SetRow(row);
    }
}

void TEntryListRows::RemoveActivity(int key)
{
    const int loaded = m_app.GetLoadedCount();
    for (TComplexGrid *grid : {m_list, m_allColumns}) {
        const int row = RowOfKey(grid, key);
        if (row >= 0)
            grid->DeleteRow(row);
        TTulloUtilGrid::SetDataRowCount(grid, loaded);
    }
}

// ---------------------------------------------------------------------------
// TEntryController

TEntryController::TEntryController(TCorvaleApp &app, TCursorManagement &cursor, TActivityPage &newPage,
                                   TActivityPage &editPage, TEntryListRows &rows, TEntryHost &host, QWidget *dialogParent)
    : m_app(app), m_cursor(cursor), m_newPage(newPage), m_editPage(editPage), m_rows(rows), m_host(host),
      m_dialogParent(dialogParent)
{
    for (TActivityPage *page : {&m_newPage, &m_editPage}) {
        page->SetPulseDialog([this](QList<qint32> &ids, QList<qint32> &percentages) { return PulseDialog(ids, percentages); });
        page->SetCourseDialog([this](const QString &activity, const QString &place, const QString &distance,
                                     TChosenCourse &chosen) { return CourseDialog(activity, place, distance, chosen); });
        page->UpdateControls();
        connect(page, &TActivityPage::ControlsChanged, this, [this] { Guard([this] { m_host.UpdateControls(); }); });
        connect(page, &TActivityPage::CourseContextChanged, this,
                [this, page] { Guard([this, page] { PageCourseChanged(page); }); });
    }
}

TEntryController::~TEntryController() = default;

void TEntryController::ShowError(const QString &text) const
{
    ShowMessageBox(text, TMessageKind::Error, TMessageButton::OK);
}

// ---------------------------------------------------------------------------
// Dialogs and the current course

bool TEntryController::PulseDialog(QList<qint32> &ids, QList<qint32> &percentages)
{
    if (!m_frmPulseSelect)
        m_frmPulseSelect = new TfrmPulseSelect(m_app, m_dialogParent);
    m_frmPulseSelect->SetSelection(ids, percentages);
    if (m_frmPulseSelect->exec() != QDialog::Accepted)
        return false;
    m_frmPulseSelect->GetSelection(ids, percentages);
    return true;
}

bool TEntryController::CourseDialog(const QString &activity, const QString &place, const QString &distance,
                                    TChosenCourse &chosen)
{
    TfrmChooseCourse &dialog = CorvaleForms().ChooseCourseDialog(m_app, m_dialogParent);
    dialog.SetCriteria(activity, place, distance);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen.CourseNr = dialog.GetChosenCourse();
    chosen.Place = dialog.GetChosenPlace();
    chosen.Distance = dialog.GetChosenDistance();
    dialog.GetChosenLaps(&chosen.Laps);
    return !chosen.CourseNr.isEmpty();
}

void TEntryController::SetCurrentCourseWindow(TfrmCurrentCourse *window)
{
    m_currentCourse = window;
}

void TEntryController::UpdateCurrentCourse()
{
    if (!m_currentCourse)
        return;
    TActivityPage *page = m_host.FrontEntryPage();
    if (!page)
        page = &m_newPage;
    m_currentCourse->ShowCourse(page->CourseNr(), page->Date());
}

void TEntryController::PageCourseChanged(TActivityPage *page)
{
    if (!m_fillingPage && m_host.FrontEntryPage() == page)
        UpdateCurrentCourse();
}

// ---------------------------------------------------------------------------
// Saving

void TEntryController::Save()
{
    TActivityPage *page = m_host.FrontEntryPage();
    if (!page)
        return;
    m_host.SetStatus(QStringLiteral("Sparar..."));
    TStatusReset reset{m_host};
    TBusyPeriod busy(m_cursor, busyId);
    // A field still being typed in counts as left.
    if (auto *focused = dynamic_cast<TCommittableEdit *>(QApplication::focusWidget()))
        focused->CommitEdit();
    const bool saved = page == &m_newPage ? SaveNewActivity() : SaveEditedActivity();
    m_host.UpdateControls();
    if (!saved)
        return;
    m_host.SetStatus(QStringLiteral("Sparad"));
    QThread::msleep(500);
    UpdateCurrentCourse();
}

void TEntryController::DropNew(int key)
{
    try {
        m_app.RemoveActivity(key);
    } catch (const std::exception &) {
        // A new activity is never in the diary; it is gone from memory
        // unless the list itself failed, and then nothing more can be done.
    }
}

bool TEntryController::SaveNewActivity()
{
    TActivityPage &page = m_newPage;
    try {
        page.CheckDate();
    } catch (const EAbort &) {
        return false;
    }
    if (page.ActivityName().isEmpty()) {
        ShowError(notSaved + QStringLiteral("Välj en aktivitet"));
        page.findChild<QWidget *>(QStringLiteral("cmbbxNewActivity"))->setFocus();
        return false;
    }
    int key = -1;
    try {
        key = m_app.NewActivity(page.ActivityName());
    } catch (const std::exception &error) {
        ShowError(saveFailed + messageOf(error));
        return false;
    }
    try {
        page.ReadInto(*m_app.FindActivity(key));
    } catch (const EAbort &) {
        DropNew(key);
        return false;
    } catch (const std::exception &error) {
        // Whatever the page could not hand over: the user hears what was
        // not saved and why, and keeps what is typed.
        DropNew(key);
        ShowError(notSaved + messageOf(error));
        return false;
    }
    try {
        m_app.SaveActivity(key);
    } catch (const std::exception &error) {
        DropNew(key);
        ShowError(saveFailed + messageOf(error));
        return false;
    }
    m_rows.AppendActivity(key);
    // The page keeps its values for a further entry; the session just saved
    // is now the latest on its course.
    page.UpdateSinceLast();
    return true;
}

bool TEntryController::SaveEditedActivity()
{
    TActivityPage &page = m_editPage;
    const int key = page.ShownKey();
    if (key < 0)
        return false;
    try {
        page.CheckDate();
    } catch (const EAbort &) {
        return false;
    }
    TActivity *activity = m_app.FindActivity(key);
    // The program of a workout is not read back with its row; it is kept
    // from before the page changed it.
    const auto *workout = dynamic_cast<const TWorkout *>(activity);
    const QString program = workout ? workout->GetProgram() : QString();
    try {
        page.ReadInto(*activity);
    } catch (const EAbort &) {
        Restore(key, program);
        return false;
    } catch (const std::exception &error) {
        Restore(key, program);
        ShowError(notSaved + messageOf(error));
        return false;
    }
    try {
        m_app.SaveActivity(key);
    } catch (const std::exception &error) {
        ShowError(saveFailed + messageOf(error));
        Restore(key, program);
        return false;
    }
    m_rows.RefillActivity(key);
    // What the page shows is what is stored now.
    page.MarkUnchanged();
    return true;
}

void TEntryController::Restore(int key, const QString &program)
{
    // The object took the page's values before the save failed; what the
    // list, the reports and the export show must be what the diary holds.
    TActivity *activity = m_app.FindActivity(key);
    try {
        activity->SetState(TActivity::TState::Listed);
        m_app.LoadActivityDetails(key);
        if (auto *workout = dynamic_cast<TWorkout *>(activity); workout && program != QLatin1String("-1"))
            workout->SetProgram(program);
        m_rows.RefillActivity(key);
        return;
    } catch (const std::exception &error) {
        ShowError(QStringLiteral("Aktiviteten kunde inte läsas in igen från databasen och tas bort ur listan. "
                                 "Sök fram den på nytt. ")
                  + messageOf(error));
    }
    // Nothing in memory may claim to be what is stored: the activity leaves
    // the list without being deleted from the diary.
    try {
        activity->SetState(TActivity::TState::New);
        m_app.RemoveActivity(key);
    } catch (const std::exception &) {
    }
    m_rows.RemoveActivity(key);
    m_editPage.ClearShown();
    m_host.UpdateControls();
}

// ---------------------------------------------------------------------------
// Removing, copying and showing

void TEntryController::Remove()
{
    if (m_app.GetLoadedCount() <= 0)
        return;
    const int key = m_rows.CurrentKey();
    if (key <= 0)
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort aktiviteten?"), TMessageKind::Question,
                       TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    m_host.SetStatus(QStringLiteral("Tar bort..."));
    TStatusReset reset{m_host};
    TBusyPeriod busy(m_cursor, busyId);
    m_app.RemoveActivity(key);
    m_rows.RemoveActivity(key);
    if (m_editPage.ShownKey() == key)
        m_editPage.ClearShown();
    m_host.UpdateControls();
    if (m_host.FrontEntryPage() == &m_editPage)
        ShowSelectedActivity();
}

void TEntryController::CopyFromEdit()
{
    if (!CopyFromEditEnabled())
        return;
    m_host.ShowEntryPage(TEntryPageKind::New);
    if (m_editPage.ShownKey() >= 0)
        m_app.LoadActivityDetails(m_editPage.ShownKey());
    {
        const QScopedValueRollback<bool> filling(m_fillingPage, true);
        m_newPage.CopyFrom(m_editPage);
    }
    UpdateCurrentCourse();
    m_host.UpdateControls();
}

void TEntryController::ShowSelectedActivity()
{
    const bool open = m_app.State() == TCorvaleApp::TState::Open;
    const int key = open && m_app.GetLoadedCount() > 0 && m_host.EditPageEnabled() ? m_rows.CurrentKey() : -1;
    if (key < 0) {
        m_editPage.ClearShown();
        return;
    }
    // The activity on the page already: it stays as it is, with whatever
    // was typed since it was shown.
    if (key == m_editPage.ShownKey()) {
        m_host.ShowEntryPage(TEntryPageKind::Edit);
        UpdateCurrentCourse();
        m_host.UpdateControls();
        return;
    }
    // Another activity would replace changes not saved: only when the user
    // says so. Otherwise the list goes back to the activity of the page. A
    // field or cell still being typed in counts as changed.
    if (m_editPage.ShownKey() >= 0)
        TTulloUtilMisc::CommitEdits(&m_editPage);
    if (m_editPage.HasChanges()
        && ShowMessageBox(QStringLiteral("Vill du verkligen avbryta dina ändringar?"), TMessageKind::Question,
                          TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
               != TMessageResult::Yes) {
        m_rows.SelectActivity(m_editPage.ShownKey());
        UpdateCurrentCourse();
        m_host.UpdateControls();
        return;
    }
    TActivity *activity = m_app.FindActivity(key);
    if (activity->GetState() == TActivity::TState::Listed) {
        m_host.SetStatus(QStringLiteral("Hämtar data..."));
        TStatusReset reset{m_host};
        TBusyPeriod busy(m_cursor, busyId);
        m_app.LoadActivityDetails(key);
    }
    m_host.ShowEntryPage(TEntryPageKind::Edit);
    {
        const QScopedValueRollback<bool> filling(m_fillingPage, true);
        m_editPage.ShowActivity(*activity);
    }
    UpdateCurrentCourse();
    m_host.UpdateControls();
}

// ---------------------------------------------------------------------------
// Menus of the page in front

void TEntryController::GetLatestHCP()
{
    if (TActivityPage *page = m_host.FrontEntryPage(); page && page->ShowsGolf())
        page->GetLatestHCP();
}

void TEntryController::CalculateScore()
{
    if (TActivityPage *page = m_host.FrontEntryPage(); page && page->ShowsGolf())
        page->CalculateScore();
}

void TEntryController::ChooseCourse()
{
    if (TActivityPage *page = m_host.FrontEntryPage(); page && page->ShowsTimeDistance())
        page->ChooseCourse();
}

void TEntryController::RemoveCourse()
{
    if (TActivityPage *page = m_host.FrontEntryPage(); page && page->HasCourse())
        page->CourseValChange();
}

bool TEntryController::GolfEnabled() const
{
    const TActivityPage *page = m_host.FrontEntryPage();
    return page && page->ShowsGolf();
}

bool TEntryController::ChooseCourseEnabled() const
{
    const TActivityPage *page = m_host.FrontEntryPage();
    return page && page->ShowsTimeDistance();
}

bool TEntryController::RemoveCourseEnabled() const
{
    const TActivityPage *page = m_host.FrontEntryPage();
    return page && page->HasCourse();
}

bool TEntryController::CopyFromEditEnabled() const
{
    return m_app.State() == TCorvaleApp::TState::Open && m_app.GetLoadedCount() >= 1 && !m_editPage.ActivityName().isEmpty();
}

void TEntryController::LapCalcChanged()
{
    m_newPage.ShowLapCalcMode(true);
    m_editPage.ShowLapCalcMode(true);
}

void TEntryController::DiaryClosing()
{
    m_newPage.ForgetDiary();
    m_editPage.ForgetDiary();
    UpdateCurrentCourse();
}

void TEntryController::CoursesChanged()
{
    const int current = m_app.GetSettings().CurrentCourse;
    if (current >= 0 && m_newPage.CourseNr() == QString::number(current))
        m_newPage.CourseValChange();
}
