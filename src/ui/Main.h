#pragma once

#include <QMainWindow>

// The main window of the diary.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *parent = nullptr);
};
