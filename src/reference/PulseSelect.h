#pragma once

#include <QDialog>
#include <QList>

class QComboBox;
class QPushButton;
class TCorvaleApp;
class TNumericalEdit;

// "Välj pulsintervaller": the modal dialog where the pulse intervals of one
// session and the share of its time spent in each are chosen. Seven rows,
// each a drop-down of the intervals (`cmbbxPulse1`..`cmbbxPulse7`, tags
// 1..7) and a percentage (`numedtPulse1`..`numedtPulse7`, tags 11..17,
// 0..999); a row is open only when the row above it has an interval. The
// sum of the percentages shows in `numedtPulseSum`: blue below 100, green at
// 100, red above.
//
// Use: SetSelection, exec(), and when that returns QDialog::Accepted,
// GetSelection. The intervals offered are those of the application
// object's register at the time the dialog is shown.
class TfrmPulseSelect : public QDialog
{
    Q_OBJECT

public:
    static constexpr int RowCount = 7;

    explicit TfrmPulseSelect(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmPulseSelect() override;

    // The choice to show: interval ids and percentages, pair by pair (the
    // longer list's extra entries are ignored, and so are pairs beyond the
    // seventh). Shown in row order; a pair whose interval no longer exists
    // is left out and the pairs after it move up.
    void SetSelection(const QList<qint32> &pulseIds, const QList<qint32> &percentages);
    // The choice made: for every row with an interval, in row order, its id
    // and its percentage (0 when the field is empty). Emptied by "&Avbryt".
    void GetSelection(QList<qint32> &pulseIds, QList<qint32> &percentages) const;

    // The sum of the seven percentages as the dialog shows it.
    int PercentSum() const;

    // Escape and the window's close button act as "&Avbryt".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    // F1 opens the help page of the pulse intervals.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    // Opens the rows that may be used and closes (and empties) the others.
    void UpdateEnabling();
    void UpdateSum();
    void cmbbxPulseChange();
    void numedtPulseExit();
    void btnOkClick();
    void btnCancelClick();

    TCorvaleApp &m_app;
    QList<qint32> m_ids; // entry i + 1 of every drop-down is the interval m_ids[i]
    QList<qint32> m_selectedIds;
    QList<qint32> m_selectedPercentages;
    bool m_filling = false;
    QComboBox *m_cmbbxPulse[RowCount];
    TNumericalEdit *m_numedtPulse[RowCount];
    TNumericalEdit *m_numedtPulseSum;
    QPushButton *m_btnOk;
    QPushButton *m_btnCancel;
};
