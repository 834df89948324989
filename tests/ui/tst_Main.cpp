// The start-up of the main window against real diary files: every way it can
// fail, the successful start, the change of user and the closing question.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/SettingsFiles.h"
#include "ui/Main.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace
{
QAtomicInt connectionSerial;

TCorvaleApp::TOptions options(const QString &driver = QStringLiteral("QIBASE"))
{
    TCorvaleApp::TOptions result;
    result.driverName = driver;
    result.connectionName = QStringLiteral("tst_Main-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    return result;
}

void setMachine(const QString &key, const QVariant &value)
{
    auto store = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    if (value.isValid())
        store->setValue(key, value);
    else
        store->remove(key);
}

QVariant machine(const QString &key)
{
    return SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->value(key);
}

// The files of a folder with their contents' hashes and modes.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const auto entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : entries) {
        QFile file(info.filePath());
        QByteArray hash;
        if (file.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        files.insert(info.fileName(), hash + QByteArray::number(int(info.permissions())));
    }
    return files;
}

// Runs the event loop until the program asks to end (true) or the time is
// up (false). Any termination still queued is consumed here, so that the
// next test starts with a usable event loop.
bool runUntilTermination(int milliseconds = 20000)
{
    QTimer::singleShot(milliseconds, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

// Records the text of every message box and presses a button: the dialogs
// of the start-up are answered by `answer`, which gets the window and
// returns whether it handled it.
struct TAnswers
{
    QStringList messages;
    int scrolled = 0; // boxes whose text had to be scrolled to be read
    std::function<bool(QWidget *)> other;

    void operator()(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmMessage")) {
            if (auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))) {
                messages.append(text->toPlainText());
                if (text->verticalScrollBar()->maximum() > 0)
                    ++scrolled;
            }
            for (const char *name : {"btnOK", "btnNo"}) {
                if (auto *button = window->findChild<QPushButton *>(QLatin1String(name))) {
                    button->click();
                    return;
                }
            }
            return;
        }
        if (other)
            other(window);
    }
};

QString engineMissing()
{
    return QStringLiteral("Interbase databas version 6 är inte installerad. Applikationen kommer nu att avslutas.");
}
}

class tst_Main : public QObject
{
    Q_OBJECT

private:
    // A folder with the diary of slot 1 made from the schema and the
    // settings an installation writes.
    static void installDiary(const TTestFolders &folders, int slot = 1)
    {
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale%1.gdb").arg(slot), QStringLiteral(TERNVALL_SCHEMA_FILE));
        setMachine(QStringLiteral("Version"), QStringLiteral("2.3.0"));
        setMachine(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    }

private slots:
    // Every way the start can fail ends the program with one message that
    // says what is wrong with which file, seen whole without scrolling,
    // and leaves the diary's folder as it was. %1 stands for the diary's
    // path; a message ending in "Info: " goes on with the engine's text.
    void startupFailures_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("Databasfilen %1 är skadad eller ingen dagbok. Applikationen kommer nu att avslutas. Info: ");
        QTest::newRow("no database driver") << "driver" << engineMissing();
        QTest::newRow("file missing, browse cancelled") << "missing"
                                                        << "Databasen %1 finns inte. Den måste finnas för att applikationen skall kunna användas.";
        QTest::newRow("a folder in place of the file, browse cancelled")
            << "folder" << "Databasen %1 är en mapp och ingen databasfil. Den måste finnas för att applikationen skall kunna användas.";
        QTest::newRow("read-only file") << "readonly" << "Databasfilen %1 är skrivskyddad. Applikationen kommer nu att avslutas.";
        QTest::newRow("version 2.10.0") << "2.10.0" << "Du måste uppgradera till version 2.3.0. Applikationen kommer nu att avslutas.";
        QTest::newRow("version 2.3.1") << "2.3.1" << "Endast version 2.3.0 kan köras. Applikationen kommer nu att avslutas.";
        QTest::newRow("no version") << "noversion" << "Du måste uppgradera till version 2.3.0. Applikationen kommer nu att avslutas.";
        QTest::newRow("damaged file") << "damaged" << damaged;
        QTest::newRow("zero-byte file") << "zero" << damaged;
        QTest::newRow("diary cut short") << "truncated" << damaged;
        QTest::newRow("random bytes") << "random" << damaged;
        QTest::newRow("diary open in another program")
            << "held" << "Dagboken används redan av ett annat program, till exempel en annan Ternvall: %1. Applikationen kommer nu att avslutas. Info: ";
        QTest::newRow("file this user may not read")
            << "unreadable" << "Du har inte behörighet att läsa och skriva databasfilen %1. Applikationen kommer nu att avslutas. Info: ";
        QTest::newRow("a database that is no diary")
            << "nodiary" << "Databasfilen %1 är ingen dagbok för Ternvall: dagbokens tabeller saknas. Applikationen kommer nu att avslutas.";
        QTest::newRow("no database server answers")
            << "server" << "Interbase databas är inte startad. Starta Interbase innan du kör Ternvall. I Interbase "
                           "Manager som finns i kontrollpanelen, kan du ställa in så att Interbase startas "
                           "automatiskt. Applikationen kommer nu att avslutas. Info: ";
    }

    void startupFailures()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        if (situation == QLatin1String("unreadable") && ::geteuid() == 0)
            QSKIP("Run as root: file permissions do not keep root out, so the diary opens anyway.");
        TTestFolders folders;
        QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
        auto write = [&path](const QByteArray &bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        };
        auto installed = [&folders] {
            setMachine(QStringLiteral("Version"), QStringLiteral("2.3.0"));
            setMachine(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
        };
        std::unique_ptr<THeldDiary> held;
        if (situation == QLatin1String("damaged")) {
            write(QByteArray(32 * 1024, '\x5a'));
            installed();
        } else if (situation == QLatin1String("zero")) {
            write(QByteArray());
            installed();
        } else if (situation == QLatin1String("random")) {
            QByteArray bytes(128 * 1024, Qt::Uninitialized);
            QRandomGenerator generator(10);
            for (char &c : bytes)
                c = char(generator.bounded(256));
            write(bytes);
            installed();
        } else if (situation == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
            installed();
        } else if (situation == QLatin1String("nodiary")) {
            QTemporaryFile schema;
            QVERIFY(schema.open());
            schema.write("CREATE TABLE Members (MemberNr INTEGER NOT NULL, MemberName VARCHAR(40));\n");
            schema.close();
            DiaryDatabase::Create(path, schema.fileName());
            installed();
        } else if (situation == QLatin1String("server")) {
            installDiary(folders);
            // Nothing listens on this port of the loopback interface.
            setMachine(QStringLiteral("Database/Location"), QStringLiteral("127.0.0.1/1:") + folders.DataFolder() + QLatin1Char('/'));
            path = QStringLiteral("127.0.0.1/1:") + path;
        } else if (situation != QLatin1String("missing")) {
            installDiary(folders);
        }
        if (situation == QLatin1String("readonly"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        else if (situation == QLatin1String("unreadable"))
            QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        else if (situation == QLatin1String("truncated"))
            QVERIFY(QFile::resize(path, 64 * 1024));
        else if (situation == QLatin1String("held"))
            held = std::make_unique<THeldDiary>(path);
        if (situation == QLatin1String("noversion"))
            setMachine(QStringLiteral("Version"), QVariant());
        else if (situation.front().isDigit())
            setMachine(QStringLiteral("Version"), situation);
        const auto before = snapshot(folders.DataFolder());

        TAnswers answers;
        QStringList browsed;
        QStringList browsedIn;
        answers.other = [&](QWidget *window) {
            if (auto *dialog = qobject_cast<QFileDialog *>(window)) {
                browsed.append(dialog->windowTitle());
                browsedIn.append(QDir::cleanPath(dialog->directory().absolutePath()));
                dialog->reject();
                return true;
            }
            return false;
        };
        {
            TModalWatcher watcher([&](QWidget *w) { answers(w); });
            TCorvaleApp app(options(situation == QLatin1String("driver") ? QStringLiteral("QNOSUCHDRIVER") : QStringLiteral("QIBASE")));
            TfrmMain frmMain(app);
            if (!frmMain.TerminationRequested())
                frmMain.show();
            QVERIFY(runUntilTermination());
            QVERIFY(frmMain.TerminationRequested());
            QCOMPARE(answers.messages.size(), 1);
            QCOMPARE(answers.scrolled, 0);
            const QString expected = message.contains(QLatin1String("%1")) ? message.arg(path) : message;
            if (message.endsWith(QLatin1String("Info: "))) {
                QVERIFY2(answers.messages.constFirst().startsWith(expected), qPrintable(answers.messages.constFirst()));
                QVERIFY(answers.messages.constFirst().size() > expected.size() + 5);
            } else {
                QCOMPARE(answers.messages.constFirst(), expected);
            }
            if (situation == QLatin1String("missing") || situation == QLatin1String("folder")) {
                QCOMPARE(browsed, QStringList{QStringLiteral("Leta efter Corvale1.gdb")});
                // The browser opens where the diary was looked for.
                QCOMPARE(browsedIn, QStringList{QDir::cleanPath(folders.DataFolder())});
            } else {
                QVERIFY(browsed.isEmpty());
            }
            QVERIFY(app.State() != TCorvaleApp::TState::Open);
            QCOMPARE(watcher.LeftOpen(), 0);
        }
        // Opening a database at all makes the engine count the attachment
        // and its transaction in the database's header: only a file the
        // engine could not open stays byte for byte as it was. (The other
        // program's own closing of the diary is no concern here.)
        if (situation != QLatin1String("nodiary"))
            QCOMPARE(snapshot(folders.DataFolder()), before);
        else
            QCOMPARE(snapshot(folders.DataFolder()).keys(), before.keys());
        held.reset();
    }

    void startsWithNoSettingsAtAll()
    {
        // Only the diary in the default folder: no settings file exists.
        TTestFolders folders;
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
        TAnswers answers;
        TModalWatcher watcher([&](QWidget *w) { answers(w); });
        TCorvaleApp app(options());
        QCOMPARE(app.GetDbPath(), folders.DataFolder() + QStringLiteral("/Corvale1.gdb"));
        QString user, password;
        app.ReadDbLogin(user, password);
        QCOMPARE(user, QStringLiteral("SYSDBA"));
        TfrmMain frmMain(app);
        frmMain.show();
        QVERIFY(runUntilTermination());
        QCOMPARE(answers.messages, QStringList{QStringLiteral("Du måste uppgradera till version 2.3.0. Applikationen kommer nu att avslutas.")});
    }

    void opensTheDiary()
    {
        TTestFolders folders;
        installDiary(folders);
        setMachine(QStringLiteral("DbSelectNames/1"), QStringLiteral("Karin"));
        TAnswers answers;
        TModalWatcher watcher([&](QWidget *w) { answers(w); });
        TCorvaleApp app(options());
        {
            TfrmMain frmMain(app);
            frmMain.show();
            QVERIFY(!runUntilTermination(500));
            QVERIFY(answers.messages.isEmpty());
            QCOMPARE(app.State(), TCorvaleApp::TState::Open);
            QCOMPARE(frmMain.windowTitle(), QStringLiteral("Ternvall - Karin"));
            QCOMPARE(frmMain.StatusText(), QStringLiteral("0 aktiviteter är registrerade"));
            QVERIFY(frmMain.findChild<QAction *>(QStringLiteral("mnuiDb"))->isEnabled());
        }
        QCOMPARE(app.State(), TCorvaleApp::TState::Closed);
    }

    void countsTheEntries_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("searchAtStart");
        QTest::addColumn<QString>("status");
        QTest::newRow("one") << 1 << false << "1 aktivitet är registrerad";
        QTest::newRow("three") << 3 << false << "3 aktiviteter är registrerade";
        QTest::newRow("one, searched") << 1 << true << "1 aktivitet är registrerad, sökt årets aktiviteter";
    }

    void countsTheEntries()
    {
        QFETCH(int, entries);
        QFETCH(bool, searchAtStart);
        QFETCH(QString, status);
        TTestFolders folders;
        installDiary(folders);
        {
            auto store = SettingsFiles::OpenStore(SettingsFiles::THive::User);
            store->setValue(QStringLiteral("Settings/SearchAtStart"), searchAtStart ? 1 : 0);
        }
        {
            TDbConnection connection(QStringLiteral("tst_Main-fill"));
            connection.SetDatabaseName(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"));
            connection.Open();
            TDbQuery query(connection);
            for (int nr = 1; nr <= entries; ++nr) {
                query.Clear();
                query.Add(QStringLiteral("insert into TrainingSession (SessionNr, SessionActivity) values(:snr, 'RUN')"));
                query.SetInteger(QStringLiteral("snr"), nr);
                query.ExecSQL();
            }
        }
        TModalWatcher watcher;
        TCorvaleApp app(options());
        TfrmMain frmMain(app);
        frmMain.show();
        QVERIFY(!runUntilTermination(500));
        QCOMPARE(frmMain.StatusText(), status);
        QCOMPARE(watcher.Shown(), 0);
    }

    void browsingToTheFolderOpensIt()
    {
        TTestFolders folders;
        installDiary(folders);
        const QString moved = folders.Root() + QStringLiteral("/moved");
        QVERIFY(QDir().mkpath(moved));
        QVERIFY(QFile::rename(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), moved + QStringLiteral("/Corvale1.gdb")));
        const QString empty = folders.Root() + QStringLiteral("/empty");
        QVERIFY(QDir().mkpath(empty));
        // A folder holding a folder of the diary's name is no diary folder either.
        const QString withFolder = folders.Root() + QStringLiteral("/withfolder");
        QVERIFY(QDir().mkpath(withFolder + QStringLiteral("/Corvale1.gdb")));

        TAnswers answers;
        int browsed = 0;
        answers.other = [&](QWidget *window) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            if (!dialog)
                return false;
            // First a folder without the diary, then one with a folder in its
            // place, then the right one.
            ++browsed;
            const QString folder = browsed == 1 ? empty : browsed == 2 ? withFolder : moved;
            // Typed as the user would: the whole path in the name field.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!name)
                return false;
            name->setText(folder);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            return true;
        };
        {
            TModalWatcher watcher([&](QWidget *w) { answers(w); });
            TCorvaleApp app(options());
            TfrmMain frmMain(app);
            frmMain.show();
            QVERIFY(!runUntilTermination(500));
            QCOMPARE(browsed, 3);
            QCOMPARE(answers.messages.size(), 2);
            QVERIFY(answers.messages.at(0).contains(QStringLiteral("innehåller inte Corvale1.gdb")));
            QVERIFY2(answers.messages.at(1).contains(withFolder + QStringLiteral("/Corvale1.gdb är en mapp och ingen databasfil")),
                     qPrintable(answers.messages.at(1)));
            QCOMPARE(app.State(), TCorvaleApp::TState::Open);
            QCOMPARE(app.GetLocation(), moved + QLatin1Char('/'));
        }
        // The folder that worked is remembered for the next start.
        QCOMPARE(machine(QStringLiteral("Database/Location")).toString(), moved + QLatin1Char('/'));
    }

    void changeOfUser()
    {
        TTestFolders folders;
        installDiary(folders);
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale2.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
        setMachine(QStringLiteral("DbSelectNames/1"), QStringLiteral("Karin"));
        setMachine(QStringLiteral("DbSelectNames/2"), QStringLiteral("Exempel"));

        int choose = 2;
        QStringList disabled;
        TAnswers answers;
        answers.other = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmDbSelect"))
                return false;
            disabled.clear();
            for (int slot = 1; slot <= 4; ++slot) {
                auto *radio = window->findChild<QRadioButton *>(QStringLiteral("rgbDb%1").arg(slot));
                if (!radio->isEnabled())
                    disabled.append(QString::number(slot));
            }
            window->findChild<QRadioButton *>(QStringLiteral("rgbDb%1").arg(choose))->click();
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            return true;
        };
        TModalWatcher watcher([&](QWidget *w) { answers(w); });
        TCorvaleApp app(options());
        QList<quint8> kinds;
        TSubjectObserver observer;
        observer.SetOnChange([&](const TObservation &o) { kinds.append(o.kind); });
        app.Attach(&observer);
        {
            TfrmMain frmMain(app);
            frmMain.show();
            QVERIFY(!runUntilTermination(300));
            QCOMPARE(frmMain.windowTitle(), QStringLiteral("Ternvall - Karin"));
            auto *mnuiDb = frmMain.findChild<QAction *>(QStringLiteral("mnuiDb"));
            kinds.clear();
            mnuiDb->trigger();
            QCOMPARE(disabled, (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
            QCOMPARE(app.GetDbPath(), folders.DataFolder() + QStringLiteral("/Corvale2.gdb"));
            QCOMPARE(app.State(), TCorvaleApp::TState::Open);
            QCOMPARE(frmMain.windowTitle(), QStringLiteral("Ternvall - Exempel"));
            // Closing, then the places of the new diary being read, then the
            // change told and done.
            QVERIFY(kinds.size() > 4);
            QCOMPARE(kinds.first(), quint8(6));
            QVERIFY(kinds.contains(2));
            QCOMPARE(kinds.mid(kinds.size() - 2), (QList<quint8>{7, 0}));
            QVERIFY(mnuiDb->isEnabled());

            choose = 1;
            mnuiDb->trigger();
            QCOMPARE(frmMain.windowTitle(), QStringLiteral("Ternvall - Karin"));
            QCOMPARE(app.GetUserNumber(), 1);
            QVERIFY(!runUntilTermination(200));
            QVERIFY(answers.messages.isEmpty());
        }
        app.Detach(&observer);
    }

    void aFailedChangeOfUserDoesNotFallBack()
    {
        TTestFolders folders;
        installDiary(folders);
        QFile damaged(folders.DataFolder() + QStringLiteral("/Corvale2.gdb"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(16 * 1024, 'x'));
        damaged.close();
        const QByteArray before = snapshot(folders.DataFolder()).value(QStringLiteral("Corvale2.gdb"));

        TAnswers answers;
        answers.other = [&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmDbSelect"))
                return false;
            window->findChild<QRadioButton *>(QStringLiteral("rgbDb2"))->click();
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            return true;
        };
        {
            TModalWatcher watcher([&](QWidget *w) { answers(w); });
            TCorvaleApp app(options());
            TfrmMain frmMain(app);
            frmMain.show();
            QVERIFY(!runUntilTermination(300));
            frmMain.findChild<QAction *>(QStringLiteral("mnuiDb"))->trigger();
            QVERIFY(runUntilTermination());
            QCOMPARE(answers.messages.size(), 1);
            QVERIFY2(answers.messages.constFirst().startsWith(
                         QStringLiteral("Databasfilen %1/Corvale2.gdb är skadad eller ingen dagbok.").arg(folders.DataFolder())),
                     qPrintable(answers.messages.constFirst()));
            QCOMPARE(app.GetUserNumber(), 2);
            QVERIFY(app.State() != TCorvaleApp::TState::Open);
            QVERIFY(!app.GetDatabase().Connected());
        }
        // The broken diary is left exactly as it was.
        QCOMPARE(snapshot(folders.DataFolder()).value(QStringLiteral("Corvale2.gdb")), before);
        // The next start opens the diary that worked, not the broken one.
        QCOMPARE(machine(QStringLiteral("Database/User")).toInt(), 1);
    }

    void theSplashClosesByItself()
    {
        TTestFolders folders;
        installDiary(folders);
        TModalWatcher watcher;
        TCorvaleApp app(options());
        TfrmMain frmMain(app);
        frmMain.show();
        auto *splash = frmMain.findChild<QWidget *>(QStringLiteral("frmSplash"));
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QTest::qWait(2000);
        QVERIFY(splash->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!splash->isVisible(), 2500);
    }

    void closingAsksFirst()
    {
        TTestFolders folders;
        installDiary(folders);
        bool answerYes = false;
        QStringList questions;
        TModalWatcher watcher([&](QWidget *window) {
            if (window->objectName() != QLatin1String("frmMessage"))
                return;
            questions.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            QCOMPARE(window->windowTitle(), QStringLiteral("Fråga"));
            window->findChild<QPushButton *>(answerYes ? QStringLiteral("btnYes") : QStringLiteral("btnNo"))->click();
        });
        TCorvaleApp app(options());
        TfrmMain frmMain(app);
        frmMain.show();
        QVERIFY(!runUntilTermination(300));
        frmMain.move(123, 77);
        QVERIFY(!frmMain.close());
        QVERIFY(frmMain.isVisible());
        answerYes = true;
        QVERIFY(frmMain.close());
        QCOMPARE(questions, (QStringList{QStringLiteral("Avsluta Ternvall?"), QStringLiteral("Avsluta Ternvall?")}));
        // Closing saved the window's place.
        auto store = SettingsFiles::OpenStore(SettingsFiles::THive::User);
        QCOMPARE(store->value(QStringLiteral("MainWindow/XPosition")).toInt(), frmMain.geometry().x());
        QCOMPARE(store->value(QStringLiteral("MainWindow/YPosition")).toInt(), frmMain.geometry().y());
        QVERIFY(store->contains(QStringLiteral("MainWindow/Width")));
    }
};

QTEST_MAIN(tst_Main)
#include "tst_Main.moc"
