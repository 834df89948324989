#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/ErrorGuard.h"
#include "ui/Main.h"

#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    TCorvaleApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ternvall"));
    // No display name: the platform would add " — Ternvall" to every
    // caption, "Ternvall - Exempel — Ternvall" in the main window's.

    // Qt's own dialogs (file dialog, print dialog) in Swedish.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    int result = 0;
    {
        TCorvaleApp &corvale = CorvaleApp();
        TfrmMain frmMain(corvale);
        if (!frmMain.TerminationRequested())
            frmMain.show();
        result = QApplication::exec();
    }
    // The shared dialogs and the help window go while the application object
    // they were made for still exists.
    FreeCorvaleForms();
    FreeCorvaleApp();
    return result;
}
