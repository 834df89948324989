#include "ui/Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ternvall"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ternvall"));

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
