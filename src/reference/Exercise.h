#pragma once

#include "foundation/IntegerList.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TCorvaleApp;

// "Styrketräningsprogram": the modal window in which the user keeps the
// strength exercises and the strength programs. Every change goes at once
// into the application object's registers of exercises and programs; none
// reaches the diary before "&OK", which writes both, and "&Avbryt" (or
// Escape) drops every change by reading both registers again. A program's
// exercises are picked in order, at most fifteen, from the catalogue of the
// exercises that are not deleted.
//
// A line of either list whose item was deleted in this opening keeps its
// place and reads "< Borttagen >". The buttons keep the registers' refusals
// from arising: an exercise that a program uses, or a program that workouts
// follow, cannot be deleted, and deleted lines cannot be renamed.
//
// Created once by the main window and kept; each showing starts from the
// registers as they are. Its position is read when it is made and written
// under `ExercisesWindow` when it is destroyed.
class TfrmExercise : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmExercise(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmExercise() override;

    // True once something was changed since the window was last shown.
    bool Changed() const { return m_changed; }

    // Escape and the window's closing act as "&Avbryt".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    // The enabled states and the use texts after every action.
    void UpdateButtons();
    // The catalogue: the exercises that are not deleted, in the order of
    // the exercise list.
    void FillCatalogue();
    // The exercises of the selected program into the selection list.
    void ShowProgram();
    // The selection list into the slots of the shown program.
    void StoreProgram();

    // The name dialog with the caption, label, text and length; true and the
    // text typed when the user answered OK.
    bool AskName(const QString &caption, const QString &label, int maxLength, QString &text);

    void btnENewClick();
    void btnERenameClick();
    void btnEDeleteClick();
    void btnEPNewClick();
    void btnEPRenameClick();
    void btnEPCommentClick();
    void btnEPDeleteClick();
    void lstbxExerciseProgramsClick();
    void bbtnAddOneClick();
    void bbtnDelOneClick();
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();
    // Alt+Right and Alt+Left, each only while its button and the selection
    // area are enabled.
    void AddOneKey();
    void DelOneKey();

    // Closes the window as cancelled after reading both registers again.
    void DiscardAndClose();

    TCorvaleApp &m_app;
    TIntegerList m_exerciseIds; // line i of lstbxExercises shows m_exerciseIds[i]
    TIntegerList m_programIds;  // line i of lstbxExercisePrograms shows m_programIds[i]
    int m_shownProgram = -1;    // the line of the program lstbxSel shows
    bool m_changed = false;

    QTabWidget *m_pgctrlExercise;
    QWidget *m_tshExercises;
    QWidget *m_tshExercisePrograms;
    QListWidget *m_lstbxExercises;
    QPushButton *m_btnENew;
    QPushButton *m_btnEDelete;
    QPushButton *m_btnERename;
    QLabel *m_lblUsedByNrProg;
    QListWidget *m_lstbxExercisePrograms;
    QPushButton *m_btnEPNew;
    QPushButton *m_btnEPDelete;
    QPushButton *m_btnEPRename;
    QPushButton *m_btnEPComment;
    QWidget *m_pnlEPComment;
    QLineEdit *m_edtEPComment;
    QWidget *m_pnlExercises;
    QListWidget *m_lstbxAll;
    QListWidget *m_lstbxSel;
    QToolButton *m_bbtnAddOne;
    QToolButton *m_bbtnDelOne;
    QLabel *m_lblExercisesInUse;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
