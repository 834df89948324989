#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;
class TCorvaleApp;
class TNumericalEdit;

// "Inställningar": the modal window where the user edits the preferences of
// the settings record, the display names of the activity types and the set
// of activities that summaries include. Four pages:
//   bit 0  tshMain        "Aktiviteter"     lap calculation, search sort, search at start
//   bit 1  tshSummary     "Summering"       summary activities and units
//   bit 2  tshRecords     "Personbästa"     what the personal records count
//   bit 3  tshActivities  "Aktivitetsnamn"  one name edit per activity type
// Before showing it the caller enables a set of pages (SetPages): the main
// window all four (15), the summary window "Summering" (2), the personal
// records window "Personbästa" (4). A disabled page cannot be chosen, shows
// nothing and has the "not allowed" pointer.
//
// "&OK" checks every field (a count must be a whole number 1..1000, a name
// must be given and have at most 19 characters; a refusal says why and puts
// the focus on the field, its text as typed), hands the names to
// ChangeActivityNames, the summary set to the activity names and the record
// to ApplySettings. "&Avbryt" asks first and closes only on "Ja".
//
// One shared instance (TCorvaleForms::SettingsDialog); its position is
// restored when it is made and written under `SettingWindow` when it is
// destroyed.
class TfrmSettings : public QDialog
{
    Q_OBJECT

public:
    enum TPage : int { pgMain = 1, pgSummary = 2, pgRecords = 4, pgActivities = 8, pgAll = 15 };

    explicit TfrmSettings(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmSettings() override;

    // The pages the next showing enables, a mask of TPage bits.
    void SetPages(int pages) { m_pages = pages & pgAll; }
    int Pages() const { return m_pages; }

    // Escape and the window's close button act as "&Avbryt".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct TNameEdit
    {
        const char *code; // the activity type whose class the edit is for
        QLineEdit *edit;
        int tag; // the position of the name it shows + 1; 0 before showing
    };

    QWidget *BuildMainPage();
    QWidget *BuildSummaryPage();
    QWidget *BuildRecordsPage();
    QWidget *BuildActivitiesPage();
    QLineEdit *NameEdit(QWidget *page, const char *name, bool spare = false);

    void FormShow();
    void pgctrlSettingsChange(int index);
    void chkbxWorkSetClick();
    void chkbxWorkRepsClick();
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();

    // The name edit whose tag (the position of its name + 1) is `tag`, or
    // nullptr.
    QLineEdit *EditOfTag(int tag) const;
    // Every summary item takes the current text of its name edit; a tag
    // without an edit raises `id`.
    void RenameSummaryItems(const char *id);
    // Why the fields cannot be stored, with the focus put on the first that
    // cannot; false when they can.
    bool Refused();
    void Refuse(const QString &text, QWidget *field);

    TCorvaleApp &m_app;
    int m_pages = pgAll;
    QList<TNameEdit> m_nameEdits;
    // Summary item i stands for the pair at i: (code, tag of its name edit).
    QList<QPair<QString, int>> m_summaryItems;

    QTabWidget *m_pgctrlSettings;
    QWidget *m_tshMain;
    QWidget *m_tshSummary;
    QWidget *m_tshRecords;
    QWidget *m_tshActivities;
    QComboBox *m_cmbbxLapCalc;
    QComboBox *m_cmbbxSearchSort;
    QCheckBox *m_chkbxSearchAtStart;
    QListWidget *m_chklstbxSummaryActivity;
    QComboBox *m_cmbbxTDTSummary;
    QComboBox *m_cmbbxTSummary;
    QComboBox *m_cmbbxGameSummary;
    QComboBox *m_cmbbxDistSummary;
    TNumericalEdit *m_numedtRecordTDTNum;
    TNumericalEdit *m_numedtRecordWorkNum;
    QCheckBox *m_chkbxWorkSet;
    QLabel *m_lblRecordWorkSet;
    TNumericalEdit *m_numedtRecordWorkSet;
    QCheckBox *m_chkbxWorkReps;
    QLabel *m_lblRecordWorkReps;
    TNumericalEdit *m_numedtRecordWorkReps;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
