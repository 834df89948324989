#pragma once

#include "columns/ActivityColumns.h"
#include "foundation/IntegerList.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class QWidget;
class TCorvaleApp;

// "Visa kolumner": the modal window in which the user keeps the named column
// settings of the activity list and chooses the exercises of the twenty
// exercise columns.
//
// The page "Kolumn&inställningar" lists the settings; one check box per
// column kind (tag = ordinal + 1) shows the columns of the chosen one. Date,
// Activity and the hidden key column are always part of a setting. Every
// change goes at once into the application object's column settings; none
// reaches the diary before "&OK", which writes the settings in one
// transaction and then the exercise columns. A failed write keeps the
// window open with everything as the user left it and says so; the diary
// keeps what it held. "&Avbryt" (or Escape) reads the settings again and
// makes the setting current that was current when the window was shown.
//
// The page "&Styrketräningskolumner" has one list per exercise column; an
// exercise chosen in one list is offered in no other.
//
// The first setting of the list can be neither deleted nor renamed. The
// window's position is read when it is made and written under
// `VisColWindow` when it is destroyed.
class TfrmColumnPresets : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmColumnPresets(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmColumnPresets() override;

    // True once something was changed since the window was last shown.
    bool Modified() const { return m_modified; }

    // Escape and the window's closing act as "&Avbryt".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildColumnsPage();
    void BuildExercisesPage();

    void FormShow();
    // The settings' names with the current one chosen, its columns shown,
    // the buttons updated. The exercise lists are not touched, so what the
    // user chose there stays.
    void Fill();
    // The exercise lists from the exercise column settings, then
    // cross-filtered.
    void FillExercises();
    // The current setting's columns into the check boxes.
    void Show();
    // The checked boxes into the current setting.
    void Store();
    TColumnKindSet CheckedColumns() const;
    void UpdateButtons();
    // The exercise id chosen in list n (0..19), -1 for the empty item.
    qint32 ChosenExercise(int n) const;
    // Asks for a setting's name; true and the text typed on OK.
    bool AskName(QString &text);

    void cmbbxColumnSettingChange(int index);
    void chkbxClick();
    void btnCheckClick();
    void btnUnCheckClick();
    void btnNewClick();
    void btnDeleteClick();
    void btnRenameClick();
    void cmbbxExChange(int changed);
    void pgctrlColumnPresetsChange();
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();

    TCorvaleApp &m_app;
    TIntegerList m_settingIds; // item i of cmbbxColumnSetting shows m_settingIds[i]
    qint32 m_shownId = -1;     // the current setting when the window was shown
    bool m_modified = false;
    bool m_filling = false;

    QTabWidget *m_pgctrlColumnPresets;
    QWidget *m_tshColumns;
    QWidget *m_tshExercises;
    QComboBox *m_cmbbxColumnSetting;
    QPushButton *m_btnNew;
    QPushButton *m_btnDelete;
    QPushButton *m_btnRename;
    QPushButton *m_btnCheck;
    QPushButton *m_btnUnCheck;
    QWidget *m_pnlColumns;
    std::array<QCheckBox *, ColumnKindCount> m_chkbx{};
    std::array<QComboBox *, ExerciseColumnCount> m_cmbbxEx{};
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
