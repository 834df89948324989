#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// "Sök efter text": the text to search a grid for, with a history, the
// direction, where to start and whether case matters. One shared instance
// serves every grid. The caller sets the registry key of the history (none:
// nothing is read or stored), shows the dialog modally and on OK calls the
// grid's Find with Text, FromCursor, MatchCase, Backwards and selectionOnly
// false.
class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget *parent = nullptr);

    // The full key path of the history, e.g.
    // "\Software\Tullo\Corvale\Settings\MainFind"; empty for none.
    void SetRegistryKey(const QString &key);
    QString RegistryKey() const { return m_registryKey; }

    QString Text() const;
    // Origin "Från markör".
    bool FromCursor() const;
    // Direction "Bakåt".
    bool Backwards() const;
    bool MatchCase() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void btnFindClick();

    QString m_registryKey;
    QComboBox *m_cmbbxSearch;
    QGroupBox *m_rgDirection;
    QRadioButton *m_rgbForward;
    QRadioButton *m_rgbBackward;
    QGroupBox *m_rgOrigin;
    QRadioButton *m_rgbFromCursor;
    QRadioButton *m_rgbEntireScope;
    QCheckBox *m_chkbxMatchCase;
    QPushButton *m_btnFind;
    QPushButton *m_btnCancel;
};
