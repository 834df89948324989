#include "foundation/ErrorGuard.h"
#include "ui/Main.h"

int main(int argc, char *argv[])
{
    TCorvaleApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ternvall"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ternvall"));

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
