#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TCorvaleApp;

// "Välj användare": the choice of user slot, with the names of the four
// slots. A slot whose diary file is missing cannot be chosen.
class TfrmDbSelect : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDbSelect(TCorvaleApp &app, QWidget *parent = nullptr);

    // The checked slot (1 when none of 2..4 is checked).
    int SelectedUser() const;
    // The name of the checked slot; empty when none is checked.
    QString SelectedName() const;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void LoadNames();
    void SaveNames(bool withNames);
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();

    TCorvaleApp &m_app;
    QRadioButton *m_rgbDb[4];
    QLineEdit *m_edtDbName[4];
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
