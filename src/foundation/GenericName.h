#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog in which the user names something: a label, one edit
// and "&OK" / "&Avbryt". The caller sets the caption (setWindowTitle), the
// label, the initial text and the maximum length, shows it modally and on
// OK reads Text(), which is the edit's text exactly as typed. The edit has
// the focus, its text selected, when the dialog opens. One shared instance
// serves every window (TCorvaleForms::GenericNameDialog).
class TfrmGenericName : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmGenericName(QWidget *parent = nullptr);

    // The label's text, with its mnemonic leading to the edit.
    void SetLabel(const QString &text);
    QString Label() const;
    void SetText(const QString &text);
    QString Text() const;
    // The most characters the edit takes; a longer initial text is cut.
    void SetMaxLength(int length);
    int MaxLength() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_lblSetName;
    QLineEdit *m_edtSetName;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
};
