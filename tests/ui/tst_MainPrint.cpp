// Print and preview in the main window: the menu items and tool buttons
// with their enabling, the list of "Sökresultat" printed through the
// print-title dialog to a PDF file on a machine without a printer, and the
// "Ändra" page previewed with the activity's name as title.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"
#include "support/PdfText.h"

#include "app/CorvaleApp.h"
#include "export/Preview.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_MainPrint-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

// The real start-up on an empty diary. Every modal window goes to
// `answer`; message boxes are recorded and answered OK.
class TMainWindow
{
public:
    using TAnswer = std::function<void(QWidget *)>;

    TMainWindow()
        : m_installed(install(m_folders)), m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()),
          m_window(m_app)
    {
        m_window.show();
        QTimer::singleShot(500, [] { QCoreApplication::exit(1); });
        QCoreApplication::exec();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    QAction *Action(const char *name) { return Child<QAction>(name); }
    void ShowPage(const char *name) { Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>(name)); }
    bool Reactivated()
    {
        if (!m_window.isActiveWindow())
            m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

    void SaveRun(const QString &place, const QString &comment)
    {
        ShowPage("tshNew");
        m_window.NewPage()->SelectActivity(QStringLiteral("Löpning"));
        Child<QComboBox>("cmbbxNewLocation")->setEditText(place);
        Child<TNumericalEdit>("numedtNewTDTTime")->SetValue(QStringLiteral("45.30"));
        Child<TNumericalEdit>("numedtNewTDTDist")->SetValue(QStringLiteral("10"));
        Child<QPlainTextEdit>("moNewComment")->setPlainText(comment);
        QVERIFY(Reactivated());
        QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier);
    }

    // The enabling of print and preview: menu items and tool buttons.
    QString PrintState()
    {
        QString state;
        for (QAction *action : {Action("mnuiPrint"), Action("mnuiPreview")})
            state += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        for (QToolButton *button : {Child<QToolButton>("tbtnPrint"), Child<QToolButton>("tbtnPreview")})
            state += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }

    TAnswer answer;
    QStringList messages;
    QStringList shown;

private:
    void Answer(QWidget *window)
    {
        shown.append(window->objectName());
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (answer) {
            answer(window);
        }
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};
}

class tst_MainPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void menuItemsAndButtons()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QCOMPARE(w.Action("mnuiPrint")->text(), QStringLiteral("Skriv &ut..."));
        QCOMPARE(w.Action("mnuiPrint")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(w.Action("mnuiPreview")->text(), QStringLiteral("&Förhandsgranska..."));
        QCOMPARE(w.Child<QToolButton>("tbtnPrint")->toolTip(), QStringLiteral("Skriv ut aktiviteter"));
        QCOMPARE(w.Child<QToolButton>("tbtnPreview")->toolTip(), QStringLiteral("Förhandsgranska utskrift"));

        // Nothing loaded: nothing to print on any page.
        for (const char *page : {"tshSearch", "tshNew", "tshResult"}) {
            w.ShowPage(page);
            QCOMPARE(w.PrintState(), QStringLiteral("0000"));
        }
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("första"));
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        w.ShowPage("tshResult");
        QCOMPARE(w.PrintState(), QStringLiteral("1111"));
        w.ShowPage("tshEdit");
        QCOMPARE(w.PrintState(), QStringLiteral("1111"));
        w.ShowPage("tshNew");
        QCOMPARE(w.PrintState(), QStringLiteral("0000"));
        w.ShowPage("tshSearch");
        QCOMPARE(w.PrintState(), QStringLiteral("0000"));
    }

    void listPrintsThroughTheTitleDialogToAPdfFile()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("pass1"));
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("pass2"));
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("pass3"));
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        w.ShowPage("tshResult");
        QVERIFY(w.Reactivated());

        const QString file = m_dir.filePath(QStringLiteral("aktiviteter.pdf"));
        QStringList suggestions;
        QString statusDuringPrint;
        w.answer = [&](QWidget *window) {
            if (window->objectName() == QLatin1String("frmPrintTitle")) {
                auto *list = window->findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"));
                for (int i = 0; i < list->count(); ++i)
                    suggestions.append(list->item(i)->text());
                const QList<QListWidgetItem *> found = list->findItems(QStringLiteral("Löpning - Slottskogen"), Qt::MatchExactly);
                if (!found.isEmpty())
                    list->setCurrentItem(found.constFirst());
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            } else if (window->objectName() == QLatin1String("frmPrintTarget")) {
                auto *printers = window->findChild<QListWidget *>(QStringLiteral("lstbxPrinters"));
                printers->setCurrentRow(printers->count() - 1);
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            } else if (auto *save = qobject_cast<QFileDialog *>(window)) {
                statusDuringPrint = w.Window().StatusText();
                save->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
                static_cast<QDialog *>(save)->accept();
            }
        };
        QTest::keyClick(&w.Window(), Qt::Key_P, Qt::ControlModifier);

        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        if (QPrinterInfo::availablePrinters().isEmpty())
            QCOMPARE(w.shown, QStringList({QStringLiteral("frmPrintTitle"), QStringLiteral("dlgSavePdf")}));
        // The title dialog proposes "Aktiviteter" and what every row shares:
        // the day (all saved today), the activity and the place.
        QCOMPARE(suggestions.mid(0, 4), QStringList({QStringLiteral("Aktiviteter"),
                                                      QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
                                                      QStringLiteral("Löpning"), QStringLiteral("Slottskogen")}));
        QVERIFY(suggestions.contains(QStringLiteral("Löpning - Slottskogen")));
        QCOMPARE(statusDuringPrint, QStringLiteral("Skriver ut..."));
        QCOMPARE(w.Window().StatusText(), QString());

        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QCOMPARE(pages.size(), 1);
        const QString &text = pages.constFirst();
        QVERIFY(text.contains(QStringLiteral("Löpning - Slottskogen")));
        QVERIFY(text.contains(QStringLiteral("Sida: 1")));
        // The rows in the list's order, each once.
        QList<qsizetype> places;
        for (const QString &pass : {QStringLiteral("pass1"), QStringLiteral("pass2"), QStringLiteral("pass3")}) {
            QCOMPARE(text.count(pass), 1);
            places.append(text.indexOf(pass));
        }
        QVERIFY(places.at(0) < places.at(1) && places.at(1) < places.at(2));
    }

    void aCancelledTitleEndsThePrintQuietly()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("pass1"));
        w.ShowPage("tshResult");
        QVERIFY(w.Reactivated());
        w.answer = [](QWidget *window) {
            if (auto *cancel = window->findChild<QPushButton *>(QStringLiteral("btnCancel")))
                cancel->click();
        };
        QTest::mouseClick(w.Child<QToolButton>("tbtnPrint"), Qt::LeftButton);
        QCOMPARE(w.shown, QStringList{QStringLiteral("frmPrintTitle")});
        QVERIFY(w.messages.isEmpty());
        QCOMPARE(w.Window().StatusText(), QString());
    }

    void editPagePreviewsWithoutAPrinter()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.SaveRun(QStringLiteral("Slottskogen"), QStringLiteral("pass1"));
        w.ShowPage("tshEdit");
        QVERIFY(w.Reactivated());
        QString status;
        bool closeEnabled = false;
        w.answer = [&](QWidget *window) {
            if (auto *preview = qobject_cast<TfrmPreview *>(window)) {
                status = preview->StatusText();
                closeEnabled = preview->findChild<QPushButton *>(QStringLiteral("btnClose"))->isEnabled();
                QTest::keyClick(window, Qt::Key_Escape);
            }
        };
        w.Action("mnuiPreview")->trigger();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        QCOMPARE(w.shown, QStringList{QStringLiteral("frmPreview")});
        QCOMPARE(status, QStringLiteral("Sida 1 av 1"));
        QVERIFY(closeEnabled);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_MainPrint)
#include "tst_MainPrint.moc"
