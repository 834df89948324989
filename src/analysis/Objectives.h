#pragma once

#include "analysis/Goal.h"
#include "foundation/IntegerList.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class TCorvaleApp;
class TDatePicker;
class TNumericalEdit;
class TObjectiveChart;
class TSubjectObserver;
class TfrmNewObjective;
struct TObservation;

// "Målsättningar": the user's training goals with their follow-up. Made by
// the main window on first use and kept; not modal.
//
// The goals live in the application object's register; the window changes
// them there and "&Spara" writes them to the diary. Opening the window
// reads the goals from the diary again. Only a real opening counts: a
// window that was hidden, minimised or covered and comes back keeps what
// the user typed, and closing the window over unsaved goals asks
// "Vill du verkligen avbryta dina ändringar?" first ("Nej" keeps it open).
//
// The follow-up reads the whole diary, whatever the main list shows, each
// time the page "&Uppföljning" is shown, a goal is chosen, the window is
// activated while the page is in front, or an entry was removed.
//
// The window registers in the window menu while it exists, has the help
// topics 58 to 63, keeps its place under `ObjectivesWindow` and prints the
// page in front through the record print.
class TfrmObjectives : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmObjectives(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmObjectives() override;

    // The number of the goal shown, -1 for none.
    int SelectedGoal() const;
    QStringList GoalLines() const;
    // The amount types offered for the shown goal's activity.
    QStringList AmountOptions() const { return m_amountOptions; }
    QString StatusText() const;
    TObjectiveChart *Chart() const { return m_chrtFollowUp; }

    // "&Arkiv" (each also reachable through its menu item).
    void mnuiNewClick();
    void mnuiDeleteClick();
    void mnuiRenameClick();
    void mnuiSaveClick();
    void mnuiPreviewPrintClick(bool preview);
    // Prints the page in front to a PDF file without asking.
    void PrintToFile(const QString &fileName);

    // Asked before the diary closes (another user, the end of the program):
    // goals changed and not saved are saved, given up or kept with the diary
    // open, as the user answers "Målsättningarna har ändringar som inte är
    // sparade. Vill du spara dem?". Returns whether the diary may close.
    bool ReleaseDiary();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWindow();
    QWidget *BuildInformationPage();
    QWidget *BuildFollowUpPage();
    void BuildMenus();
    void AddHelpMenus();

    // Reads the goals from the diary and shows them; the first page in
    // front. What was not saved is gone.
    void FormShow();
    void FillActivityList();
    // Lists every goal; the row given (or the one selected before, while in
    // range, else the last) is selected and its goal shown.
    void FillGoalList(int row = -1);
    void ShowGoal();
    void ClearGoal();
    // The options of the activity's family; `index` chooses one, clamped.
    void BuildAmountTypes(const QString &activityName, int index);
    quint8 AmountTypeFromWindow() const;
    void SetAmountLabel();
    QString AmountCaption() const;
    // Gives the goal shown the values of the fields. A value the goal
    // refuses is told in Swedish with the focus on its field, then EAbort.
    void ObjectiveChange();
    void RefuseValue(const QString &error);
    void UpdateMenus();
    bool HasLiveGoal() const;

    void lstbxObjectivesClick();
    void cmbbxObjectiveActivityChange();
    void rgObjectiveAmountTypeClick();
    void pgctrlObjectiveChange();
    // The follow-up page: the values stored, then the follow-up read.
    void tsFollowUpShow();
    void DrawFollowUp();
    // The follow-up read again without touching the fields; a failure is
    // told in the status bar, not in a box, since activation calls it.
    void RefreshFollowUpQuietly();
    void chrtFollowUpMouseMove(const QPoint &position);
    void ResetValueLabels();
    void ObserverChange(const TObservation &observation);
    void SetStatus(const QString &text);

    TCorvaleApp &m_app;
    TSubjectObserver *m_observer = nullptr;
    TfrmNewObjective *m_frmNewObjective = nullptr;

    QWidget *m_pnlObjectives = nullptr;
    QListWidget *m_lstbxObjectives = nullptr;
    QTabWidget *m_pgctrlObjective = nullptr;
    QWidget *m_tsObjective = nullptr;
    QWidget *m_tsFollowUp = nullptr;
    QLineEdit *m_edtObjectiveType = nullptr;
    QLabel *m_lblObjectiveActivity = nullptr;
    QComboBox *m_cmbbxObjectiveActivity = nullptr;
    TDatePicker *m_wwdtpFromDate = nullptr;
    TDatePicker *m_wwdtpToDate = nullptr;
    QPlainTextEdit *m_moObjectiveComment = nullptr;
    QGroupBox *m_rgObjectiveAmountType = nullptr;
    QButtonGroup *m_amountGroup = nullptr;
    QLabel *m_lblObjectiveAmount = nullptr;
    TNumericalEdit *m_numedtObjectiveAmount = nullptr;
    QLabel *m_lblFollowupLength = nullptr;
    QLabel *m_lblFollowupSuccessAvg = nullptr;
    QLabel *m_lblXValue = nullptr;
    QLabel *m_lblYValue = nullptr;
    TObjectiveChart *m_chrtFollowUp = nullptr;
    QLabel *m_status = nullptr;

    QAction *m_mnuiNew = nullptr;
    QAction *m_mnuiDelete = nullptr;
    QAction *m_mnuiRename = nullptr;
    QAction *m_mnuiSave = nullptr;
    QAction *m_mnuiPrint = nullptr;
    QAction *m_mnuiPreview = nullptr;

    TIntegerList m_goalNumbers;
    QStringList m_amountOptions;
    // The goal whose values the fields show, -1 for none.
    qint32 m_shownGoal = -1;
    TGoalType m_shownType = TGoalType::Week;
    bool m_changeHandlerOn = false;
    // True until the window is opened, and again once it was closed: the
    // next showing is an opening that reads the goals again.
    bool m_closed = true;
    bool m_removing = false;
    bool m_menusAdded = false;
};
