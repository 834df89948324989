// The four user slots: slot numbers and names, the database folder and the
// paths of the slots' files.

#include "app/Users.h"
#include "foundation/CorvaleExceptions.h"
#include "support/TestDiary.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>

namespace
{
QString UsersError(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EUsers &e) {
        return e.Message();
    }
    return QString();
}

// An empty file is enough: only its existence is looked at.
void CreateFile(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}
} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private slots:
    void setNumber_data();
    void setNumber();
    void sameNumberKeepsAGivenName();
    void location();
    void locationWithoutTheSlotsFile_data();
    void locationWithoutTheSlotsFile();
    void remoteFolders_data();
    void remoteFolders();
    void databasePaths();
};

void TestUsers::setNumber_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("expectedNumber");
    QTest::addColumn<QString>("expectedName");

    // A fresh object is slot 1 named "Användare".
    QTest::newRow("0") << 0 << QStringLiteral("Users 01") << 1 << QStringLiteral("Användare");
    QTest::newRow("negative") << -3 << QStringLiteral("Users 01") << 1 << QStringLiteral("Användare");
    QTest::newRow("5") << 5 << QStringLiteral("Users 02") << 1 << QStringLiteral("Användare");
    QTest::newRow("large") << 1000 << QStringLiteral("Users 02") << 1 << QStringLiteral("Användare");
    QTest::newRow("same slot keeps the name") << 1 << QString() << 1 << QStringLiteral("Användare");
    QTest::newRow("2") << 2 << QString() << 2 << QStringLiteral("Användare 2");
    QTest::newRow("3") << 3 << QString() << 3 << QStringLiteral("Användare 3");
    QTest::newRow("4") << 4 << QString() << 4 << QStringLiteral("Användare 4");
}

void TestUsers::setNumber()
{
    QFETCH(int, number);
    QFETCH(QString, error);
    QFETCH(int, expectedNumber);
    QFETCH(QString, expectedName);

    TUsers users;
    QCOMPARE(UsersError([&] { users.SetNumber(number); }), error);
    QCOMPARE(users.GetNumber(), expectedNumber);
    QCOMPARE(users.GetName(), expectedName);
    QCOMPARE(users.GetDbFileName(), QStringLiteral("Corvale%1.gdb").arg(expectedNumber));
}

void TestUsers::sameNumberKeepsAGivenName()
{
    // As when a user is chosen in the selection dialog: the number first,
    // then the name typed there.
    TUsers users;
    users.SetNumber(3);
    users.SetName(QStringLiteral("Eva"));
    users.SetNumber(3);
    QCOMPARE(users.GetName(), QStringLiteral("Eva"));

    users.SetNumber(1);
    QCOMPARE(users.GetName(), QStringLiteral("Användare 1"));

    users.SetName(QStringLiteral("Per"));
    QCOMPARE(UsersError([&] { users.SetNumber(5); }), QStringLiteral("Users 02"));
    QCOMPARE(users.GetNumber(), 1);
    QCOMPARE(users.GetName(), QStringLiteral("Per"));
}

void TestUsers::location()
{
    TTestFolders folders;
    const QString first = folders.DataFolder() + QStringLiteral("/first");
    const QString second = folders.DataFolder() + QStringLiteral("/second");
    QVERIFY(QDir().mkpath(first));
    QVERIFY(QDir().mkpath(second));
    CreateFile(first + QStringLiteral("/Corvale1.gdb"));
    CreateFile(second + QStringLiteral("/Corvale2.gdb"));

    TUsers users;
    QCOMPARE(UsersError([&] { users.SetLocation(first); }), QString());
    QCOMPARE(users.GetLocation(), first + QLatin1Char('/'));
    QCOMPARE(users.GetDbPath(), first + QStringLiteral("/Corvale1.gdb"));

    // The second folder holds only slot 2's file: slot 1 keeps the first.
    QCOMPARE(UsersError([&] { users.SetLocation(second + QLatin1Char('/')); }), QStringLiteral("Users 04"));
    QCOMPARE(users.GetLocation(), first + QLatin1Char('/'));

    users.SetNumber(2);
    QCOMPARE(UsersError([&] { users.SetLocation(second + QLatin1Char('/')); }), QString());
    QCOMPARE(users.GetLocation(), second + QLatin1Char('/'));
    QCOMPARE(users.GetDbPath(), second + QStringLiteral("/Corvale2.gdb"));
}

void TestUsers::locationWithoutTheSlotsFile_data()
{
    QTest::addColumn<QString>("folder"); // below the test's data folder; "~" stands for it

    QTest::newRow("empty folder") << QStringLiteral("~/empty/");
    QTest::newRow("missing folder") << QStringLiteral("~/nowhere/");
    QTest::newRow("file of another slot") << QStringLiteral("~/other/");
    QTest::newRow("folder named like the file") << QStringLiteral("~/named/");
}

void TestUsers::locationWithoutTheSlotsFile()
{
    QFETCH(QString, folder);
    TTestFolders folders;
    const QString data = folders.DataFolder();
    QVERIFY(QDir().mkpath(data + QStringLiteral("/empty")));
    QVERIFY(QDir().mkpath(data + QStringLiteral("/other")));
    QVERIFY(QDir().mkpath(data + QStringLiteral("/named/Corvale1.gdb")));
    QVERIFY(QDir().mkpath(data + QStringLiteral("/good")));
    CreateFile(data + QStringLiteral("/other/Corvale2.gdb"));
    CreateFile(data + QStringLiteral("/good/Corvale1.gdb"));
    folder.replace(QLatin1Char('~'), data);

    TUsers users;
    users.SetLocation(data + QStringLiteral("/good/"));
    QCOMPARE(UsersError([&] { users.SetLocation(folder); }), QStringLiteral("Users 04"));
    QCOMPARE(users.GetLocation(), data + QStringLiteral("/good/"));
    QCOMPARE(users.GetDbPath(), data + QStringLiteral("/good/Corvale1.gdb"));
}

void TestUsers::remoteFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<QString>("location"); // after SetLocation; empty when refused

    QTest::newRow("host") << QStringLiteral("server:/data/") << true << QStringLiteral("server:/data/");
    QTest::newRow("host and port") << QStringLiteral("server/3051:/data/") << true << QStringLiteral("server/3051:/data/");
    QTest::newRow("address") << QStringLiteral("127.0.0.1:/x/") << true << QStringLiteral("127.0.0.1:/x/");
    QTest::newRow("host, no trailing slash") << QStringLiteral("server:/data") << true << QStringLiteral("server:/data/");
    QTest::newRow("absolute path") << QStringLiteral("/home/u/") << false << QString();
    QTest::newRow("relative path") << QStringLiteral("relative/dir") << false << QString();
    QTest::newRow("colon further down the path") << QStringLiteral("/srv/a:b/") << false << QString();
    QTest::newRow("relative path with a colon") << QStringLiteral("dir/sub:x/") << false << QString();
    QTest::newRow("port that is no number") << QStringLiteral("server/abc:/data/") << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
}

void TestUsers::remoteFolders()
{
    QFETCH(QString, folder);
    QFETCH(bool, remote);
    QFETCH(QString, location);
    TTestFolders folders;

    QCOMPARE(TUsers::IsRemote(folder), remote);

    TUsers users;
    const QString error = UsersError([&] { users.SetLocation(folder); });
    QCOMPARE(error, location.isEmpty() ? QStringLiteral("Users 04") : QString());
    QCOMPARE(users.GetLocation(), location);
    if (remote)
        QCOMPARE(users.GetDbPath(), location + QStringLiteral("Corvale1.gdb"));
}

void TestUsers::databasePaths()
{
    TTestFolders folders;
    const QString folder = folders.DataFolder() + QLatin1Char('/');
    CreateFile(folder + QStringLiteral("Corvale3.gdb"));

    TUsers users;
    users.SetNumber(3);
    users.SetLocation(folders.DataFolder());
    QCOMPARE(users.GetDbFileName(), QStringLiteral("Corvale3.gdb"));
    QCOMPARE(users.GetDbPath(), folder + QStringLiteral("Corvale3.gdb"));
    // Any slot's file, whether it exists or not, in the one folder.
    for (int number = 1; number <= 4; ++number)
        QCOMPARE(users.GetDbPathOf(number), folder + QStringLiteral("Corvale%1.gdb").arg(number));

    // A later slot change moves the current path but not the folder.
    users.SetNumber(4);
    QCOMPARE(users.GetLocation(), folder);
    QCOMPARE(users.GetDbPath(), folder + QStringLiteral("Corvale4.gdb"));
}

QTEST_GUILESS_MAIN(TestUsers)
#include "tst_Users.moc"
