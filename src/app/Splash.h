#pragma once

#include <QWidget>

class QTimer;

// The picture shown while the program starts. It closes itself three
// seconds after it was created, or when the main window closes it.
class TfrmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTimer *m_tmrClose;
};
