#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class TCorvaleApp;

// "Ny målsättning": the name of a new goal and its type. The goals window
// makes it on first use, keeps it and shows it modally for each new goal;
// every showing starts with an empty name that has the focus.
class TfrmNewObjective : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmNewObjective(TCorvaleApp &app, QWidget *parent = nullptr);

    QString Name() const;
    // 0 week, 1 month, 2 weight goal.
    int GoalType() const;
    void SetGoalType(int type);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TCorvaleApp &m_app;
    QLineEdit *m_edtName = nullptr;
    QButtonGroup *m_rgObjective = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnHelp = nullptr;
};
