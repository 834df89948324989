// The window "Exportera aktiviteter" driven on the offscreen platform over
// a real diary: its choices and their store, the save dialog, the run with
// its progress bar and result, and the refusals it explains in Swedish.

#include "export/ExportDiary.h"

#include "app/CorvaleHelp.h"
#include "export/Export.h"
#include "foundation/DefReg.h"
#include "foundation/SettingsFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace
{
template <class T> T *child(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

const QString exportKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\Export");
} // namespace

class tst_ExportWindow : public QObject
{
    Q_OBJECT

private slots:
    void controls()
    {
        TExportDiary d;
        TfrmExport window(d.App());
        QCOMPARE(window.windowTitle(), QStringLiteral("Exportera aktiviteter"));
        QVERIFY(window.isModal());
        QCOMPARE(child<QGroupBox>(window, "rgSeparator")->title(), QStringLiteral("&Separator"));
        QStringList separators;
        for (int i = 0; i < 4; ++i)
            separators.append(child<QRadioButton>(window, qPrintable(QStringLiteral("rbtnSeparator%1").arg(i)))->text());
        QCOMPARE(separators, (QStringList{QStringLiteral("Tab"), QStringLiteral("Semikolon"), QStringLiteral("Kolon"),
                                          QStringLiteral("Komma")}));
        QVERIFY(child<QRadioButton>(window, "rbtnSeparator0")->isChecked());
        QCOMPARE(child<QCheckBox>(window, "chbxReplace")->text(), QStringLiteral("&Ersätt separatortecken i data med:"));
        QCOMPARE(child<QLineEdit>(window, "edtReplace")->maxLength(), 1);
        QCOMPARE(child<QLabel>(window, "lblFileName")->text(), QStringLiteral("&Filnamn"));
        QCOMPARE(child<QLabel>(window, "lblFileName")->buddy(), child<QLineEdit>(window, "edtFilename"));
        QCOMPARE(child<QPushButton>(window, "btnOK")->text(), QStringLiteral("&OK"));
        QCOMPARE(child<QPushButton>(window, "btnCancel")->text(), QStringLiteral("&Avbryt"));
        QCOMPARE(child<QPushButton>(window, "btnHelp")->text(), QStringLiteral("&Hjälp"));
        QCOMPARE(CorvaleHelp::TopicFile(TfrmExport::HelpTopic), QStringLiteral("export.htm"));

        // HTML has neither separator nor replacement.
        auto *html = child<QCheckBox>(window, "chkbxHTML");
        QCOMPARE(html->text(), QStringLiteral("Exportera som &HTML"));
        html->click();
        QVERIFY(!child<QGroupBox>(window, "rgSeparator")->isEnabled());
        QVERIFY(!child<QCheckBox>(window, "chbxReplace")->isEnabled());
        QVERIFY(!child<QLineEdit>(window, "edtReplace")->isEnabled());
        html->click();
        QVERIFY(child<QGroupBox>(window, "rgSeparator")->isEnabled());
        QVERIFY(child<QLineEdit>(window, "edtReplace")->isEnabled());

        // The save dialog's own labels in Swedish.
        QFileDialog *save = window.SaveDialog();
        QCOMPARE(save->labelText(QFileDialog::FileType), QStringLiteral("Visa filtyper:"));
        QCOMPARE(save->labelText(QFileDialog::FileName), QStringLiteral("Filnamn:"));
        QCOMPARE(save->labelText(QFileDialog::LookIn), QStringLiteral("Spara i:"));
        QCOMPARE(save->labelText(QFileDialog::Accept), QStringLiteral("&Spara"));
        QCOMPARE(save->labelText(QFileDialog::Reject), QStringLiteral("&Avbryt"));
    }

    // The browse button: the save dialog with the format's filter and
    // extension; the chosen file stands in the edit.
    void saveDialog_data()
    {
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("filter");
        QTest::newRow("text") << false << "txt" << "Text filer (*.txt)";
        QTest::newRow("html") << true << "html" << "Html filer (*.html *.htm)";
    }
    void saveDialog()
    {
        QFETCH(bool, html);
        QFETCH(QString, suffix);
        QFETCH(QString, filter);
        TExportDiary d;
        QTemporaryDir folder;
        TfrmExport window(d.App());
        window.show();
        if (html)
            child<QCheckBox>(window, "chkbxHTML")->click();
        QString seenTitle;
        QStringList seenFilters;
        QString seenSuffix;
        TDialogs dialogs;
        dialogs.actions.insert(QStringLiteral("svdlgExport"), [&](QWidget *w) {
            auto *dialog = static_cast<QFileDialog *>(w);
            seenTitle = dialog->windowTitle();
            seenFilters = dialog->nameFilters();
            seenSuffix = dialog->defaultSuffix();
            // The file name typed, as the user does.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(folder.filePath(QStringLiteral("aktiviteter.") + suffix));
            static_cast<QDialog *>(dialog)->accept();
        });
        child<QToolButton>(window, "bbtnFolder")->click();
        QCOMPARE(seenTitle, QStringLiteral("Välj fil dit aktiviteterna skall skrivas"));
        QCOMPARE(seenFilters.value(0), filter);
        QCOMPARE(seenFilters.value(1), QStringLiteral("Alla filer (*)"));
        QCOMPARE(seenSuffix, suffix);
        QCOMPARE(child<QLineEdit>(window, "edtFilename")->text(), folder.filePath(QStringLiteral("aktiviteter.") + suffix));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // OK exports the found activities to the file, tells how many, and
    // closes the window with the progress bar back at 0.
    void exportAndReport_data()
    {
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("result");
        QTest::newRow("text") << false << "Skogen" << "13  aktiviteter exporterades";
        QTest::newRow("html") << true << "Skogen" << "13  aktiviteter exporterades";
        QTest::newRow("characters outside the code page")
            << false << "Skogen → sjön"
            << "13  aktiviteter exporterades\n1 tecken som inte finns i filens teckenuppsättning (Windows-1252) skrevs som \"?\".";
    }
    void exportAndReport()
    {
        QFETCH(bool, html);
        QFETCH(QString, place);
        QFETCH(QString, result);
        TExportDiary d;
        d.AddEveryType();
        auto &run = d.New<TTimeDistanceActivity>("RUN", QStringLiteral("2024-05-01"), place);
        const QStringList none;
        run.SetLaps(&none, &none);
        d.Save();
        d.App().GetActivities().Clear();
        QCOMPARE(d.SearchAll().size(), 13);
        QCOMPARE(d.App().GetLoadedCount(), 13);

        QTemporaryDir folder;
        const QString path = folder.filePath(html ? QStringLiteral("ut.html") : QStringLiteral("ut.txt"));
        TfrmExport window(d.App());
        window.show();
        if (html)
            child<QCheckBox>(window, "chkbxHTML")->click();
        child<QLineEdit>(window, "edtFilename")->setText(path);
        int maximum = 0;
        QList<int> positions;
        connect(window.ProgressBar(), &QProgressBar::valueChanged, this, [&](int value) {
            maximum = window.ProgressBar()->maximum();
            positions.append(value);
        });
        TDialogs dialogs;
        child<QPushButton>(window, "btnOK")->click();
        QCOMPARE(dialogs.messages, QStringList{result});
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        QCOMPARE(maximum, 3 * 13 + 2);
        QVERIFY(positions.contains(3 * 13 + 2));
        QCOMPARE(window.ProgressBar()->value(), 0);
        QVERIFY(child<QPushButton>(window, "btnOK")->isEnabled());
        QVERIFY(child<QPushButton>(window, "btnCancel")->isEnabled());
        const QByteArray bytes = TExportDiary::ReadFile(path);
        QVERIFY(bytes.startsWith(html ? QByteArray("<html>\r\n") : QByteArray("Exporterat ifr\xe5n Ternvall 2.3.0\r\n")));
    }

    // A file that cannot be written: the error box names it, the window
    // stays open with the bar at 0 and the buttons enabled. An empty name
    // or a folder is refused before anything runs.
    void refusedAndFailedWrites_data()
    {
        QTest::addColumn<QString>("name"); // relative to a temporary folder; "" an empty edit
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder") << "saknas/ut.txt" << "Kunde inte exportera aktiviteter till filen: %1";
        QTest::newRow("file system without files") << "/proc/ternvall-ut.txt" << "Kunde inte exportera aktiviteter till filen: %1";
        QTest::newRow("a folder") << "mapp" << "%1 är en mapp. Ange namnet på filen som aktiviteterna ska skrivas till.";
        QTest::newRow("empty") << "" << "Ange filen som aktiviteterna ska skrivas till.";
    }
    void refusedAndFailedWrites()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        TExportDiary d;
        d.Run(QStringLiteral("2024-01-01"), QStringLiteral("Skogen"));
        d.SearchAll();
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(QStringLiteral("mapp"));
        const QString path = name.isEmpty() ? QString() : name.startsWith(QLatin1Char('/')) ? name : folder.filePath(name);
        TfrmExport window(d.App());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *edit = child<QLineEdit>(window, "edtFilename");
        edit->setText(path);
        TDialogs dialogs;
        child<QPushButton>(window, "btnOK")->click();
        QCOMPARE(dialogs.messages, QStringList{message.contains(QStringLiteral("%1")) ? message.arg(path) : message});
        QVERIFY(window.isVisible());
        QCOMPARE(window.focusWidget(), edit);
        QCOMPARE(edit->text(), path);
        QCOMPARE(window.ProgressBar()->value(), 0);
        QVERIFY(child<QPushButton>(window, "btnOK")->isEnabled());
        QVERIFY(child<QPushButton>(window, "btnCancel")->isEnabled());
    }

    // The choices are kept in the store when the window goes and come back
    // with the next one; a separator index the group does not have is not
    // applied.
    void choicesKept()
    {
        TExportDiary d;
        {
            TfrmExport window(d.App());
            child<QRadioButton>(window, "rbtnSeparator2")->setChecked(true);
            child<QCheckBox>(window, "chbxReplace")->setChecked(true);
            child<QLineEdit>(window, "edtReplace")->setText(QStringLiteral("_"));
            child<QLineEdit>(window, "edtFilename")->setText(QStringLiteral("/tmp/ut.txt"));
            child<QCheckBox>(window, "chkbxHTML")->click();
        }
        {
            TfrmExport window(d.App());
            QVERIFY(child<QRadioButton>(window, "rbtnSeparator2")->isChecked());
            QVERIFY(child<QCheckBox>(window, "chbxReplace")->isChecked());
            QCOMPARE(child<QLineEdit>(window, "edtReplace")->text(), QStringLiteral("_"));
            QCOMPARE(child<QLineEdit>(window, "edtFilename")->text(), QStringLiteral("/tmp/ut.txt"));
            QVERIFY(child<QCheckBox>(window, "chkbxHTML")->isChecked());
            QVERIFY(!child<QGroupBox>(window, "rgSeparator")->isEnabled());
        }
        {
            TDefRegistry registry(TDefRegistry::THive::User);
            QVERIFY(registry.OpenKey(exportKey, true));
            registry.WriteInteger(QStringLiteral("Separator"), 7);
            registry.WriteString(QStringLiteral("StartFolder"), QString());
            registry.CloseKey();
        }
        qputenv("TEMP", "");
        qputenv("TMP", "/var/tmp");
        TfrmExport window(d.App());
        QVERIFY(child<QRadioButton>(window, "rbtnSeparator0")->isChecked());
        QCOMPARE(child<QLineEdit>(window, "edtFilename")->text(), QStringLiteral("/var/tmp"));
    }
};

QTEST_MAIN(tst_ExportWindow)
#include "tst_ExportWindow.moc"
