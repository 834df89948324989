#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class TComplexGrid;
class TCorvaleApp;

// "Pulsintervall": the modal window where the user edits the list of pulse
// intervals. One row per interval with its lower and upper limit in the grid
// `cplxgrdPulse`; "&Ny" appends an interval, "&Tag bort" marks the current
// one deleted (its row reads "< Borttagen >"), "&OK" writes the list to the
// diary and "&Avbryt" drops every change after asking, when there is one.
// Whichever way the window closes, the register of the application object
// is read again from the diary, so it holds exactly what is stored.
//
// Created once by the main window and kept; its geometry is restored when
// it is made and written under `PulseWindow` when it is destroyed.
class TfrmPulse : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPulse(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmPulse() override;

    // True once something was changed since the window was last shown.
    bool Changed() const { return m_changed; }

    // Every way of closing ends here: the register is read again.
    void done(int result) override;
    // Escape and the window's close button act as "&Avbryt".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void FormResize();
    // Enables the grid and "&Tag bort" (and the cell editing with it) for
    // the row given.
    void UpdateRow(int row);
    void cplxgrdPulseSelectCell(int col, int row, bool &canSelect);
    void btnNewClick();
    void btnDeleteClick();
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();

    TCorvaleApp &m_app;
    QList<qint32> m_ids; // grid row r shows the interval m_ids[r - 1]
    bool m_changed = false;
    bool m_closing = false;
    QLabel *m_lblPulse;
    TComplexGrid *m_cplxgrdPulse;
    QPushButton *m_btnNew;
    QPushButton *m_btnDelete;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
