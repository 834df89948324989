// The checks made before a diary is opened: the database engine and the
// installed data version in the machine-wide store.

#include "app/Startup.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DefReg.h"
#include "support/TestDiary.h"

#include <QtTest>

#include <functional>

namespace
{
// "Class: message" of the start-up fault `step` raised, empty for none.
QString StartupFault(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EInterbaseNotInstalled &e) {
        return QStringLiteral("EInterbaseNotInstalled: ") + e.Message();
    } catch (const EInterbaseInvalidVersion &e) {
        return QStringLiteral("EInterbaseInvalidVersion: ") + e.Message();
    } catch (const EVersionNotUpgraded &e) {
        return QStringLiteral("EVersionNotUpgraded: ") + e.Message();
    } catch (const EVersionNotValid &e) {
        return QStringLiteral("EVersionNotValid: ") + e.Message();
    } catch (const EException &e) {
        return QStringLiteral("EException: ") + e.Message();
    }
    return QString();
}

void WriteVersion(TDefRegistry::THive hive, const QString &key, const QString &version)
{
    TDefRegistry registry(hive);
    registry.OpenKey(key, true);
    registry.WriteString(QStringLiteral("Version"), version);
    registry.CloseKey();
}

const QString NotUpgraded = QStringLiteral("EVersionNotUpgraded: CorvaleApp 04");
const QString NotValid = QStringLiteral("EVersionNotValid: CorvaleApp 05");
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void checkVersion_data();
    void checkVersion();
    void checkInterbase_data();
    void checkInterbase();
    void openFailureText_data();
    void openFailureText();
};

void TestStartup::checkVersion_data()
{
    QTest::addColumn<QString>("version"); // null: no value written
    QTest::addColumn<QString>("where");   // "machine", "user" or "machine Database"
    QTest::addColumn<QString>("expected");

    const QString machine = QStringLiteral("machine");
    QTest::newRow("2.3.0") << QStringLiteral("2.3.0") << machine << QString();
    QTest::newRow("absent") << QString() << machine << NotUpgraded;
    QTest::newRow("empty") << QStringLiteral("") << machine << NotUpgraded;
    QTest::newRow("2.2.9") << QStringLiteral("2.2.9") << machine << NotUpgraded;
    QTest::newRow("2.10.0 sorts below") << QStringLiteral("2.10.0") << machine << NotUpgraded;
    QTest::newRow("1.9") << QStringLiteral("1.9") << machine << NotUpgraded;
    QTest::newRow("2.3 is a prefix") << QStringLiteral("2.3") << machine << NotUpgraded;
    QTest::newRow("2.3.1") << QStringLiteral("2.3.1") << machine << NotValid;
    QTest::newRow("trailing blank") << QStringLiteral("2.3.0 ") << machine << NotValid;
    QTest::newRow("3.0") << QStringLiteral("3.0") << machine << NotValid;
    QTest::newRow("2.3.0.1") << QStringLiteral("2.3.0.1") << machine << NotValid;
    QTest::newRow("v2.3.0") << QStringLiteral("v2.3.0") << machine << NotValid;
    QTest::newRow("only in the per-user store") << QStringLiteral("2.3.0") << QStringLiteral("user") << NotUpgraded;
    QTest::newRow("only in a key below") << QStringLiteral("2.3.0") << QStringLiteral("machine Database") << NotUpgraded;
}

void TestStartup::checkVersion()
{
    QFETCH(QString, version);
    QFETCH(QString, where);
    QFETCH(QString, expected);
    TTestFolders folders;

    const QString root = QString::fromLatin1(SettingsFiles::KeyRoot);
    if (!version.isNull()) {
        if (where == QLatin1String("user"))
            WriteVersion(TDefRegistry::THive::User, root, version);
        else if (where == QLatin1String("machine Database"))
            WriteVersion(TDefRegistry::THive::Machine, root + QStringLiteral("\\Database"), version);
        else
            WriteVersion(TDefRegistry::THive::Machine, root, version);
    }

    const TStartup startup;
    QCOMPARE(StartupFault([&] { startup.CheckVersion(); }), expected);
}

void TestStartup::checkInterbase_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the program's driver") << QStringLiteral("QIBASE") << QString();
    QTest::newRow("driver that does not exist") << QStringLiteral("QNOSUCHDRIVER")
                                                << QStringLiteral("EInterbaseNotInstalled: CorvaleApp 02");
    QTest::newRow("no driver name") << QString() << QStringLiteral("EInterbaseNotInstalled: CorvaleApp 02");
}

void TestStartup::checkInterbase()
{
    QFETCH(QString, driver);
    QFETCH(QString, expected);
    TTestFolders folders;

    const TStartup startup(driver);
    QCOMPARE(StartupFault([&] { startup.CheckInterbase(); }), expected);
}

Q_DECLARE_METATYPE(TDbOpenFailure)

// Only an engine or server that cannot be reached is told as one that is
// not started; every other cause is named with the file. The engine's own
// text always comes last.
void TestStartup::openFailureText_data()
{
    QTest::addColumn<TDbOpenFailure>("failure");
    QTest::addColumn<QString>("start");
    QTest::newRow("unreachable") << TDbOpenFailure::Unreachable << "Interbase databas är inte startad. Starta Interbase";
    QTest::newRow("damaged") << TDbOpenFailure::Damaged << "Databasfilen %1 är skadad eller ingen dagbok.";
    QTest::newRow("access denied") << TDbOpenFailure::AccessDenied
                                   << "Du har inte behörighet att läsa och skriva databasfilen %1.";
    QTest::newRow("in use") << TDbOpenFailure::InUse << "Dagboken används redan av ett annat program";
    QTest::newRow("login refused") << TDbOpenFailure::LoginRefused << "Databasen %1 godtog inte inloggningen";
    QTest::newRow("other") << TDbOpenFailure::Other << "Dagboken %1 kunde inte öppnas.";
}

void TestStartup::openFailureText()
{
    QFETCH(TDbOpenFailure, failure);
    QFETCH(QString, start);
    const QString path = QStringLiteral("/home/karin/Dagbok/Corvale1.gdb");
    EDbClientError error(QStringLiteral("engine says no"));
    error.SetOpenFailure(failure);
    const QString text = TStartup::OpenFailureText(error, path);
    QVERIFY2(text.startsWith(start.contains(QLatin1String("%1")) ? start.arg(path) : start), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral(" Applikationen kommer nu att avslutas. Info: engine says no")), qPrintable(text));
    QCOMPARE(text.contains(path), failure != TDbOpenFailure::Unreachable);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_Startup.moc"
