#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TCorvaleApp;

// "Om Ternvall": the product's name and version with one button "OK" that
// closes it (Escape does the same). F1 without Shift opens the
// introduction. Modal; made for each showing.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(TCorvaleApp &app, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    TCorvaleApp &m_app;
    QLabel *m_lblAppName;
    QLabel *m_lblAppVersion;
    QPushButton *m_btnOK;
};
