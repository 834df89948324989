#include "ui/Main.h"

#include <QStatusBar>

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ternvall"));
    resize(900, 600);
    statusBar()->setObjectName(QStringLiteral("sbrMain"));
}
