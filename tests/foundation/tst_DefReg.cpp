// The settings store: keys in the two hives, reads with defaults, window
// geometry and the find histories of combo boxes.

#include "foundation/DefReg.h"
#include "foundation/Exceptions.h"
#include "foundation/PGUtilsWidgets.h"
#include "support/TestDiary.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMap>
#include <QScreen>
#include <QTextStream>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
using THive = TDefRegistry::THive;

QString Key(const QString &subKey = QString())
{
    const QString root = QString::fromLatin1(SettingsFiles::KeyRoot);
    return subKey.isEmpty() ? root : root + QLatin1Char('\\') + subKey;
}

// What a store file holds, read from the file itself (not through a
// QSettings object, which would share the writer's cache): "Group/Name" for
// a value in a group, "Name" for a top-level value.
QMap<QString, QString> StoredValues(THive hive)
{
    QMap<QString, QString> values;
    QFile file(SettingsFiles::StoreFile(hive));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            if (group == QLatin1String("General"))
                group.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString name = line.left(equals).trimmed();
        values.insert(group.isEmpty() ? name : group + QLatin1Char('/') + name, line.mid(equals + 1).trimmed());
    }
    return values;
}

// "Type: message" of what `step` raised, empty when it raised nothing.
QString Raised(const std::function<void()> &step)
{
    try {
        step();
    } catch (const ERegistry &e) {
        return QStringLiteral("ERegistry: ") + e.Message();
    } catch (const EException &e) {
        return QStringLiteral("EException: ") + e.Message();
    }
    return QString();
}

// Values given as "name=text", written as strings to the open key.
void WriteTexts(TDefRegistry &registry, const QStringList &values)
{
    for (const QString &value : values) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        registry.WriteString(value.left(equals), value.mid(equals + 1));
    }
}

QStringList Items(const QComboBox &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

const QString HistoryKey = QStringLiteral("MainFind");

// The stored place of a window key as a rectangle; a missing value reads
// as -1.
QRect StoredPlace(const QString &key)
{
    TDefRegistry registry(THive::User);
    registry.OpenKey(key, true);
    const QRect place(registry.ReadIntegerDef(QStringLiteral("XPosition"), -1),
                      registry.ReadIntegerDef(QStringLiteral("YPosition"), -1),
                      registry.ReadIntegerDef(QStringLiteral("Width"), -1), registry.ReadIntegerDef(QStringLiteral("Height"), -1));
    registry.CloseKey();
    return place;
}

// The kinds of window the program keeps places of: a main window, a dialog
// over it and a tool window over it.
QWidget *MakeWindow(const QString &kind, QWidget *owner)
{
    if (kind == QLatin1String("dialog"))
        return new QDialog(owner);
    if (kind == QLatin1String("tool"))
        return new QWidget(owner, Qt::Tool);
    return new QMainWindow;
}
} // namespace

class TestDefReg : public QObject
{
    Q_OBJECT

private slots:
    void keyPaths_data();
    void keyPaths();
    void hivesAreSeparateFiles();
    void keyOpenedWithoutCreating();
    void writingNeedsAnOpenKey();
    void readIntegerDef_data();
    void readIntegerDef();
    void readBoolDef_data();
    void readBoolDef();
    void readStringDef_data();
    void readStringDef();
    void valuesSurviveTheStore();
    void writeIntegerAtLeast_data();
    void writeIntegerAtLeast();
    void readGeometry_data();
    void readGeometry();
    void windowStateRoundTrip();
    void writePositionLeavesSize();
    void placeSurvivesRestarts_data();
    void placeSurvivesRestarts();
    void offScreenPlaceIsPulledBack_data();
    void offScreenPlaceIsPulledBack();
    void unplacedWindowIsCentredOverItsOwner_data();
    void unplacedWindowIsCentredOverItsOwner();
    void pullOnScreen_data();
    void pullOnScreen();
    void missingFormOrList_data();
    void missingFormOrList();
    void readHistory_data();
    void readHistory();
    void writeHistory_data();
    void writeHistory();
    void shortenedHistoryKeepsOldValues();
};

void TestDefReg::keyPaths_data()
{
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<QString>("storedAs"); // empty: the path is refused

    QTest::newRow("window key") << Key(QStringLiteral("MainWindow")) << QStringLiteral("MainWindow/Value");
    QTest::newRow("program key itself") << Key() << QStringLiteral("Value");
    QTest::newRow("trailing backslash") << Key(QStringLiteral("Database\\")) << QStringLiteral("Database/Value");
    QTest::newRow("other letter case") << QStringLiteral("\\software\\tullo\\corvale\\settings\\Export")
                                       << QStringLiteral("Export/Value");
    QTest::newRow("without leading backslash") << QStringLiteral("Software\\Tullo\\Corvale\\Settings\\DbLogin")
                                               << QStringLiteral("DbLogin/Value");
    QTest::newRow("another program") << QStringLiteral("\\Software\\Borland\\Interbase\\CurrentVersion\\") << QString();
    QTest::newRow("parent of the program key") << QStringLiteral("\\Software\\Tullo") << QString();
    QTest::newRow("sibling sharing the prefix") << QStringLiteral("\\Software\\Tullo\\Corvale\\SettingsX") << QString();
}

void TestDefReg::keyPaths()
{
    QFETCH(QString, keyPath);
    QFETCH(QString, storedAs);
    TTestFolders folders;

    {
        TDefRegistry registry(THive::User);
        const QString error = Raised([&] {
            registry.OpenKey(keyPath, true);
            registry.WriteInteger(QStringLiteral("Value"), 7);
            registry.CloseKey();
        });
        if (storedAs.isEmpty()) {
            QVERIFY2(error.startsWith(QLatin1String("EException: ")), qPrintable(error));
            QVERIFY(!registry.KeyIsOpen());
        } else {
            QCOMPARE(error, QString());
        }
    }
    const QMap<QString, QString> stored = StoredValues(THive::User);
    if (storedAs.isEmpty()) {
        QVERIFY(stored.isEmpty());
    } else {
        QCOMPARE(stored.keys(), QStringList{storedAs});
        QCOMPARE(stored.value(storedAs), QStringLiteral("7"));
    }
}

void TestDefReg::hivesAreSeparateFiles()
{
    TTestFolders folders(TTestFolders::TStartHelp::AsInstalled);
    const QString key = Key(QStringLiteral("Database"));
    {
        TDefRegistry user(THive::User);
        TDefRegistry machine(THive::Machine);
        user.OpenKey(key, true);
        machine.OpenKey(key, true);
        user.WriteInteger(QStringLiteral("User"), 2);
        machine.WriteInteger(QStringLiteral("User"), 3);
        machine.WriteString(QStringLiteral("Location"), QStringLiteral("/srv/diaries/"));
        user.CloseKey();
        machine.CloseKey();
    }

    const QString userFile = SettingsFiles::StoreFile(THive::User);
    const QString machineFile = SettingsFiles::StoreFile(THive::Machine);
    QVERIFY(userFile != machineFile);
    QCOMPARE(QFileInfo(userFile).absolutePath(), QFileInfo(folders.SettingsFolder()).absoluteFilePath());
    QCOMPARE(QFileInfo(machineFile).absolutePath(), QFileInfo(folders.SettingsFolder()).absoluteFilePath());

    QCOMPARE(StoredValues(THive::User), (QMap<QString, QString>{{QStringLiteral("Database/User"), QStringLiteral("2")}}));
    QCOMPARE(StoredValues(THive::Machine),
             (QMap<QString, QString>{{QStringLiteral("Database/User"), QStringLiteral("3")},
                                     {QStringLiteral("Database/Location"), QStringLiteral("/srv/diaries/")}}));

    TDefRegistry user(THive::User);
    QVERIFY(user.OpenKey(key, false));
    QCOMPARE(user.ReadIntegerDef(QStringLiteral("User"), 1), 2);
    QCOMPARE(user.ReadStringDef(QStringLiteral("Location"), QStringLiteral("none")), QStringLiteral("none"));
}

void TestDefReg::keyOpenedWithoutCreating()
{
    TTestFolders folders;
    const QString key = Key(QStringLiteral("ArchiveToolbar"));

    TDefRegistry registry(THive::User);
    QVERIFY(!registry.OpenKey(key, false));
    QVERIFY(!registry.KeyIsOpen());
    QCOMPARE(Raised([&] { registry.WriteInteger(QStringLiteral("Visible"), 1); }).section(QLatin1Char(':'), 0, 0),
             QStringLiteral("ERegistry"));

    // Another key holding values does not make this one exist.
    QVERIFY(registry.OpenKey(Key(QStringLiteral("EditToolbar")), true));
    registry.WriteInteger(QStringLiteral("Visible"), 1);
    registry.CloseKey();
    QVERIFY(!registry.OpenKey(key, false));

    QVERIFY(registry.OpenKey(key, true));
    registry.WriteInteger(QStringLiteral("Visible"), 0);
    registry.CloseKey();

    TDefRegistry other(THive::User);
    QVERIFY(other.OpenKey(key, false));
    QVERIFY(other.KeyIsOpen());
    QCOMPARE(other.ReadBoolDef(QStringLiteral("Visible"), true), false);
}

void TestDefReg::writingNeedsAnOpenKey()
{
    TTestFolders folders;
    QWidget form;
    QComboBox combo;
    combo.addItem(QStringLiteral("Löpning"));

    TDefRegistry registry(THive::User);
    const QList<std::pair<const char *, std::function<void()>>> writes{
        {"WriteInteger", [&] { registry.WriteInteger(QStringLiteral("A"), 1); }},
        {"WriteString", [&] { registry.WriteString(QStringLiteral("A"), QStringLiteral("a")); }},
        {"WriteBool", [&] { registry.WriteBool(QStringLiteral("A"), true); }},
        {"WriteIntegerAtLeast", [&] { registry.WriteIntegerAtLeast(QStringLiteral("A"), 5, 20); }},
        {"WriteWindow", [&] { registry.WriteWindow(&form); }},
        {"WritePosition", [&] { registry.WritePosition(&form); }},
        {"WriteComboStrings", [&] { registry.WriteComboStrings(&combo); }},
    };

    auto checkAll = [&](const char *when) {
        for (const auto &[name, write] : writes) {
            const QString error = Raised(write);
            QVERIFY2(error.startsWith(QLatin1String("ERegistry: ")),
                     qPrintable(QStringLiteral("%1 %2: '%3'").arg(QLatin1String(name), QLatin1String(when), error)));
        }
    };
    checkAll("before any key was opened");

    registry.OpenKey(Key(QStringLiteral("Settings")), true);
    registry.CloseKey();
    checkAll("after the key was closed");

    QVERIFY(StoredValues(THive::User).isEmpty());
}

void TestDefReg::readIntegerDef_data()
{
    QTest::addColumn<QString>("stored"); // a null string: no value
    QTest::addColumn<int>("defaultValue");
    QTest::addColumn<int>("expected");

    QTest::newRow("missing") << QString() << 42 << 42;
    QTest::newRow("number") << QStringLiteral("17") << 42 << 17;
    QTest::newRow("negative number") << QStringLiteral("-5") << 42 << -5;
    QTest::newRow("zero") << QStringLiteral("0") << 42 << 0;
    QTest::newRow("word") << QStringLiteral("abc") << 42 << -1;
    QTest::newRow("number followed by text") << QStringLiteral("12abc") << 42 << -1;
    QTest::newRow("decimal number") << QStringLiteral("1.5") << 42 << -1;
    QTest::newRow("empty text") << QStringLiteral("") << 42 << -1;
}

void TestDefReg::readIntegerDef()
{
    QFETCH(QString, stored);
    QFETCH(int, defaultValue);
    QFETCH(int, expected);
    TTestFolders folders;

    TDefRegistry registry(THive::User);
    registry.OpenKey(Key(QStringLiteral("Settings")), true);
    if (!stored.isNull())
        registry.WriteString(QStringLiteral("RecordNum"), stored);
    registry.CloseKey();

    TDefRegistry reader(THive::User);
    reader.OpenKey(Key(QStringLiteral("Settings")), true);
    QCOMPARE(reader.ReadIntegerDef(QStringLiteral("RecordNum"), defaultValue), expected);
}

void TestDefReg::readBoolDef_data()
{
    QTest::addColumn<QString>("stored"); // a null string: no value
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("missing, default true") << QString() << true << true;
    QTest::newRow("missing, default false") << QString() << false << false;
    QTest::newRow("1") << QStringLiteral("1") << false << true;
    QTest::newRow("0") << QStringLiteral("0") << true << false;
    QTest::newRow("other number") << QStringLiteral("2") << false << true;
    QTest::newRow("garbage") << QStringLiteral("yes") << true << false;
    QTest::newRow("the word true") << QStringLiteral("true") << true << false;
}

void TestDefReg::readBoolDef()
{
    QFETCH(QString, stored);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    TTestFolders folders;

    TDefRegistry registry(THive::User);
    registry.OpenKey(Key(QStringLiteral("Settings")), true);
    if (!stored.isNull())
        registry.WriteString(QStringLiteral("SearchAtStart"), stored);
    QCOMPARE(registry.ReadBoolDef(QStringLiteral("SearchAtStart"), defaultValue), expected);
}

void TestDefReg::readStringDef_data()
{
    QTest::addColumn<QString>("stored"); // a null string: no value
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing") << QString() << QStringLiteral("SYSDBA");
    QTest::newRow("text") << QStringLiteral("Eva") << QStringLiteral("Eva");
    QTest::newRow("empty text is a value") << QStringLiteral("") << QString();
    QTest::newRow("blanks kept") << QStringLiteral("  x  ") << QStringLiteral("  x  ");
    QTest::newRow("comma and equals sign") << QStringLiteral("a, b = c") << QStringLiteral("a, b = c");
}

void TestDefReg::readStringDef()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    TTestFolders folders;

    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(QStringLiteral("DbLogin")), true);
        if (!stored.isNull())
            registry.WriteString(QStringLiteral("UserName"), stored);
        registry.CloseKey();
    }
    TDefRegistry reader(THive::User);
    reader.OpenKey(Key(QStringLiteral("DbLogin")), true);
    QCOMPARE(reader.ReadStringDef(QStringLiteral("UserName"), QStringLiteral("SYSDBA")), expected);
}

void TestDefReg::valuesSurviveTheStore()
{
    TTestFolders folders;
    {
        TDefRegistry registry(THive::Machine);
        registry.OpenKey(Key(QStringLiteral("DbSelectNames")), true);
        registry.WriteString(QStringLiteral("3"), QStringLiteral("Åsa Öberg"));
        registry.WriteInteger(QStringLiteral("Count"), -120);
        registry.WriteBool(QStringLiteral("On"), true);
        registry.WriteBool(QStringLiteral("Off"), false);
        registry.CloseKey();
    }

    // Booleans are kept as the integers 1 and 0.
    const QMap<QString, QString> stored = StoredValues(THive::Machine);
    QCOMPARE(stored.value(QStringLiteral("DbSelectNames/On")), QStringLiteral("1"));
    QCOMPARE(stored.value(QStringLiteral("DbSelectNames/Off")), QStringLiteral("0"));

    TDefRegistry reader(THive::Machine);
    QVERIFY(reader.OpenKey(Key(QStringLiteral("DbSelectNames")), false));
    QCOMPARE(reader.ReadStringDef(QStringLiteral("3"), QString()), QStringLiteral("Åsa Öberg"));
    QCOMPARE(reader.ReadIntegerDef(QStringLiteral("Count"), 0), -120);
    QCOMPARE(reader.ReadBoolDef(QStringLiteral("On"), false), true);
    QCOMPARE(reader.ReadBoolDef(QStringLiteral("Off"), true), false);
    QCOMPARE(reader.ReadIntegerDef(QStringLiteral("On"), 0), 1);
}

void TestDefReg::writeIntegerAtLeast_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("narrow column") << 5 << 20;
    QTest::newRow("zero width") << 0 << 20;
    QTest::newRow("negative width") << -30 << 20;
    QTest::newRow("exactly the minimum") << 20 << 20;
    QTest::newRow("wide column") << 135 << 135;
}

void TestDefReg::writeIntegerAtLeast()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    TTestFolders folders;

    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(QStringLiteral("MainColumns")), true);
        registry.WriteIntegerAtLeast(QStringLiteral("Datum"), value, 20);
        registry.CloseKey();
    }
    QCOMPARE(StoredValues(THive::User).value(QStringLiteral("MainColumns/Datum")), QString::number(expected));
}

void TestDefReg::readGeometry_data()
{
    // The form is designed at (40, 50) with the size 300 x 200.
    QTest::addColumn<bool>("positionOnly"); // ReadPosition rather than ReadWindow
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRect>("expected"); // position and size

    const QStringList all{QStringLiteral("XPosition=123"), QStringLiteral("YPosition=77"), QStringLiteral("Width=640"),
                          QStringLiteral("Height=480")};

    QTest::newRow("window: nothing stored") << false << QStringList() << QRect(40, 50, 300, 200);
    QTest::newRow("window: only XPosition") << false << QStringList{QStringLiteral("XPosition=123")} << QRect(123, 50, 300, 200);
    QTest::newRow("window: only YPosition") << false << QStringList{QStringLiteral("YPosition=77")} << QRect(40, 77, 300, 200);
    QTest::newRow("window: only Width") << false << QStringList{QStringLiteral("Width=640")} << QRect(40, 50, 640, 200);
    QTest::newRow("window: only Height") << false << QStringList{QStringLiteral("Height=480")} << QRect(40, 50, 300, 480);
    QTest::newRow("window: all four") << false << all << QRect(123, 77, 640, 480);
    QTest::newRow("position: all four stored") << true << all << QRect(123, 77, 300, 200);
    QTest::newRow("position: only YPosition") << true << QStringList{QStringLiteral("YPosition=77")} << QRect(40, 77, 300, 200);
}

void TestDefReg::readGeometry()
{
    QFETCH(bool, positionOnly);
    QFETCH(QStringList, stored);
    QFETCH(QRect, expected);
    TTestFolders folders;

    QWidget form;
    form.move(40, 50);
    form.resize(300, 200);

    TDefRegistry registry(THive::User);
    registry.OpenKey(Key(QStringLiteral("SettingWindow")), true);
    WriteTexts(registry, stored);
    if (positionOnly)
        registry.ReadPosition(&form);
    else
        registry.ReadWindow(&form);

    QCOMPARE(QRect(form.pos(), form.size()), expected);
}

void TestDefReg::windowStateRoundTrip()
{
    TTestFolders folders;
    const QString key = Key(QStringLiteral("CourseWindow"));

    QWidget saved;
    saved.move(210, 95);
    saved.resize(512, 384);
    SaveWindowState(key, &saved);

    QCOMPARE(StoredValues(THive::User),
             (QMap<QString, QString>{{QStringLiteral("CourseWindow/XPosition"), QStringLiteral("210")},
                                     {QStringLiteral("CourseWindow/YPosition"), QStringLiteral("95")},
                                     {QStringLiteral("CourseWindow/Width"), QStringLiteral("512")},
                                     {QStringLiteral("CourseWindow/Height"), QStringLiteral("384")}}));

    QWidget loaded;
    loaded.move(1, 2);
    loaded.resize(100, 100);
    LoadWindowState(key, &loaded);
    QCOMPARE(loaded.pos(), QPoint(210, 95));
    QCOMPARE(loaded.size(), QSize(512, 384));

    // A window that was never saved keeps its designed place.
    QWidget fresh;
    fresh.move(7, 8);
    fresh.resize(320, 240);
    LoadWindowState(Key(QStringLiteral("PulseWindow")), &fresh);
    QCOMPARE(QRect(fresh.pos(), fresh.size()), QRect(7, 8, 320, 240));
}

void TestDefReg::writePositionLeavesSize()
{
    TTestFolders folders;
    QWidget dialog;
    dialog.move(333, 44);
    dialog.resize(250, 150);
    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(QStringLiteral("DbSelectWindow")), true);
        registry.WritePosition(&dialog);
        registry.CloseKey();
    }
    QCOMPARE(StoredValues(THive::User),
             (QMap<QString, QString>{{QStringLiteral("DbSelectWindow/XPosition"), QStringLiteral("333")},
                                     {QStringLiteral("DbSelectWindow/YPosition"), QStringLiteral("44")}}));
}

void TestDefReg::placeSurvivesRestarts_data()
{
    QTest::addColumn<QString>("kind");
    // The main window's own window exists before it is placed: the splash
    // over it is shown first.
    QTest::addColumn<bool>("madeFirst");
    QTest::newRow("main window") << QStringLiteral("main") << false;
    QTest::newRow("main window made before it is placed") << QStringLiteral("main") << true;
    QTest::newRow("dialog") << QStringLiteral("dialog") << false;
    QTest::newRow("tool window") << QStringLiteral("tool") << false;
}

void TestDefReg::placeSurvivesRestarts()
{
    // Each run makes the window, restores it, shows it and saves it again
    // on closing, as the program does at every start; where the user left
    // it is where it stays.
    QFETCH(QString, kind);
    QFETCH(bool, madeFirst);
    TTestFolders folders;
    const QString key = Key(QStringLiteral("MainWindow"));
    QWidget owner;
    owner.setGeometry(60, 70, 700, 500);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    const QRect left(130, 90, 420, 310);
    QRect leftFrame;
    for (int run = 0; run < 10; ++run) {
        std::unique_ptr<QWidget> window(MakeWindow(kind, &owner));
        window->resize(300, 200);
        if (madeFirst)
            window->winId();
        LoadWindowState(key, window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        if (run == 0)
            window->setGeometry(left); // the user puts it there
        QTRY_COMPARE(window->geometry(), left);
        if (run == 0)
            leftFrame = window->frameGeometry();
        QCOMPARE(window->frameGeometry(), leftFrame);
        window->close();
        SaveWindowState(key, window.get());
        QCOMPARE(StoredPlace(key), left);
    }
}

void TestDefReg::offScreenPlaceIsPulledBack_data()
{
    // The window is 400 x 300, placed on a screen that is larger.
    QTest::addColumn<QPoint>("stored");
    QTest::newRow("far right") << QPoint(5000, 100);
    QTest::newRow("far left") << QPoint(-3000, 100);
    QTest::newRow("title bar above the screen") << QPoint(-1, -20);
    QTest::newRow("below the screen") << QPoint(100, 4000);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::newRow("partly off the bottom right") << screen.bottomRight() - QPoint(100, 100);
}

void TestDefReg::offScreenPlaceIsPulledBack()
{
    QFETCH(QPoint, stored);
    TTestFolders folders;
    const QString key = Key(QStringLiteral("CurrentCourseWindow"));
    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(key, true);
        registry.WriteInteger(QStringLiteral("XPosition"), stored.x());
        registry.WriteInteger(QStringLiteral("YPosition"), stored.y());
        registry.WriteInteger(QStringLiteral("Width"), 400);
        registry.WriteInteger(QStringLiteral("Height"), 300);
        registry.CloseKey();
    }
    QWidget window;
    LoadWindowState(key, &window);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.width() > 400 + 50 && screen.height() > 300 + 50);
    const QRect place = window.geometry();
    QCOMPARE(place.size(), QSize(400, 300));
    // The whole window, its title bar too, lies on the screen.
    QVERIFY2(screen.contains(place.marginsAdded(TTulloUtilWindow::Frame(&window))),
             qPrintable(QStringLiteral("%1,%2").arg(place.x()).arg(place.y())));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(screen.contains(window.frameGeometry()));
}

void TestDefReg::unplacedWindowIsCentredOverItsOwner_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("positionOnly"); // ReadPosition, as the user selection does
    QTest::newRow("dialog") << QStringLiteral("dialog") << false;
    QTest::newRow("tool window") << QStringLiteral("tool") << false;
    QTest::newRow("dialog, position only") << QStringLiteral("dialog") << true;
}

void TestDefReg::unplacedWindowIsCentredOverItsOwner()
{
    QFETCH(QString, kind);
    QFETCH(bool, positionOnly);
    TTestFolders folders;
    QMainWindow owner;
    owner.setGeometry(150, 120, 600, 420);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    std::unique_ptr<QWidget> window(MakeWindow(kind, &owner));
    window->resize(240, 160);
    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(QStringLiteral("CourseSelectWindow")), true);
        if (positionOnly)
            registry.ReadPosition(window.get());
        else
            registry.ReadWindow(window.get());
        registry.CloseKey();
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QPoint offset = window->geometry().center() - owner.geometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(window->size(), QSize(240, 160));

    // Once the user has moved it, it comes back there, not centred.
    window->move(window->pos() + QPoint(-100, 40));
    const QRect moved = window->geometry();
    SaveWindowState(Key(QStringLiteral("CourseSelectWindow")), window.get());
    window.reset(MakeWindow(kind, &owner));
    LoadWindowState(Key(QStringLiteral("CourseSelectWindow")), window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->geometry(), moved);
}

void TestDefReg::pullOnScreen_data()
{
    // Two screens side by side: a large one with a panel at its bottom and a
    // smaller one to its right. The frame is a 20 pixel title bar and a
    // border of 1.
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("inside the first screen") << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
    QTest::newRow("inside the second screen") << QRect(2000, 300, 400, 300) << QRect(2000, 300, 400, 300);
    QTest::newRow("touching the edges") << QRect(1, 21, 1598, 948) << QRect(1, 21, 1598, 948);
    QTest::newRow("borders past the edges") << QRect(0, 21, 1600, 949) << QRect(0, 21, 1600, 949);
    QTest::newRow("bottom border off, moved with it") << QRect(100, 700, 400, 271) << QRect(100, 698, 400, 271);
    QTest::newRow("title bar above the screen") << QRect(-1, -20, 400, 300) << QRect(1, 21, 400, 300);
    QTest::newRow("across both, mostly on the first") << QRect(1400, 100, 400, 300) << QRect(1199, 100, 400, 300);
    QTest::newRow("across both, mostly on the second") << QRect(1500, 100, 400, 300) << QRect(1601, 100, 400, 300);
    QTest::newRow("far right of the second") << QRect(6000, 100, 400, 300) << QRect(2565, 100, 400, 300);
    QTest::newRow("below the second, nearer it") << QRect(2000, 900, 200, 100) << QRect(2000, 667, 200, 100);
    QTest::newRow("far above the first") << QRect(300, -5000, 400, 300) << QRect(300, 21, 400, 300);
    QTest::newRow("larger than the second") << QRect(1700, 10, 2000, 1000) << QRect(1601, 21, 1364, 746);
}

void TestDefReg::pullOnScreen()
{
    QFETCH(QRect, place);
    QFETCH(QRect, expected);
    const QList<QRect> screens{QRect(0, 0, 1600, 970), QRect(1600, 0, 1366, 768)};
    const QMargins frame(1, 21, 1, 1);
    QCOMPARE(TTulloUtilWindow::PullOnScreen(place, frame, screens), expected);
    QCOMPARE(TTulloUtilWindow::PullOnScreen(place, frame, {}), place);
}

void TestDefReg::missingFormOrList_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expected");

    const QString invalidForm = QStringLiteral("ERegistry: Invalid form");
    QTest::newRow("ReadWindow") << QStringLiteral("ReadWindow") << invalidForm;
    QTest::newRow("WriteWindow") << QStringLiteral("WriteWindow") << invalidForm;
    QTest::newRow("ReadPosition") << QStringLiteral("ReadPosition") << invalidForm;
    QTest::newRow("WritePosition") << QStringLiteral("WritePosition") << invalidForm;
    QTest::newRow("LoadWindowState") << QStringLiteral("LoadWindowState") << invalidForm;
    QTest::newRow("SaveWindowState") << QStringLiteral("SaveWindowState") << invalidForm;
    QTest::newRow("WriteComboStrings") << QStringLiteral("WriteComboStrings")
                                       << QStringLiteral("ERegistry: Invalid list passed to WriteComboStrings");
    QTest::newRow("ReadComboStrings") << QStringLiteral("ReadComboStrings")
                                      << QStringLiteral("ERegistry: Invalid list passed to ReadComboStrings");
}

void TestDefReg::missingFormOrList()
{
    QFETCH(QString, operation);
    QFETCH(QString, expected);
    TTestFolders folders;

    const QString key = Key(QStringLiteral("MainWindow"));
    TDefRegistry registry(THive::User);
    registry.OpenKey(key, true);
    QWidget *noForm = nullptr;
    QComboBox *noCombo = nullptr;
    const QMap<QString, std::function<void()>> operations{
        {QStringLiteral("ReadWindow"), [&] { registry.ReadWindow(noForm); }},
        {QStringLiteral("WriteWindow"), [&] { registry.WriteWindow(noForm); }},
        {QStringLiteral("ReadPosition"), [&] { registry.ReadPosition(noForm); }},
        {QStringLiteral("WritePosition"), [&] { registry.WritePosition(noForm); }},
        {QStringLiteral("LoadWindowState"), [&] { LoadWindowState(key, noForm); }},
        {QStringLiteral("SaveWindowState"), [&] { SaveWindowState(key, noForm); }},
        {QStringLiteral("WriteComboStrings"), [&] { registry.WriteComboStrings(noCombo); }},
        {QStringLiteral("ReadComboStrings"), [&] { registry.ReadComboStrings(noCombo, 0); }},
    };
    QVERIFY(operations.contains(operation));
    QCOMPARE(Raised(operations.value(operation)), expected);
}

void TestDefReg::readHistory_data()
{
    QTest::addColumn<QStringList>("stored");   // "name=text"
    QTest::addColumn<QStringList>("existing"); // items in the box before reading
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("expected");

    const QString a = QStringLiteral("Slingan");
    const QString b = QStringLiteral("Vallen");
    const QString d = QStringLiteral("Kusten");

    QTest::newRow("consecutive values")
        << QStringList{QStringLiteral("0=Slingan"), QStringLiteral("1=Vallen"), QStringLiteral("2=Kusten")} << QStringList() << 0
        << QStringList{a, b, d};
    QTest::newRow("gap at 2 ends the reading")
        << QStringList{QStringLiteral("0=Slingan"), QStringLiteral("1=Vallen"), QStringLiteral("3=Kusten")} << QStringList() << 0
        << QStringList{a, b};
    QTest::newRow("no value 0") << QStringList{QStringLiteral("1=Slingan")} << QStringList() << 1 << QStringList();
    QTest::newRow("blank entry skipped, reading goes on")
        << QStringList{QStringLiteral("0=Slingan"), QStringLiteral("1=   "), QStringLiteral("2=Vallen")} << QStringList() << 1
        << QStringList{a, b};
    QTest::newRow("empty entry skipped, reading goes on")
        << QStringList{QStringLiteral("0="), QStringLiteral("1=Vallen")} << QStringList() << 0 << QStringList{b};
    QTest::newRow("entries trimmed") << QStringList{QStringLiteral("0=  Slingan "), QStringLiteral("1=Vallen")} << QStringList()
                                     << 1 << QStringList{a, b};
    QTest::newRow("mode 0 leaves out what the box holds")
        << QStringList{QStringLiteral("0=Slingan"), QStringLiteral("1=Vallen"), QStringLiteral("2= Slingan")}
        << QStringList{b} << 0 << QStringList{b, a};
    QTest::newRow("mode 1 adds duplicates")
        << QStringList{QStringLiteral("0=Slingan"), QStringLiteral("1=Vallen"), QStringLiteral("2= Slingan")}
        << QStringList{b} << 1 << QStringList{b, a, b, a};
}

void TestDefReg::readHistory()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, existing);
    QFETCH(int, mode);
    QFETCH(QStringList, expected);
    TTestFolders folders;

    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(HistoryKey), true);
        WriteTexts(registry, stored);
        registry.CloseKey();
    }

    QComboBox combo;
    combo.addItems(existing);
    TDefRegistry registry(THive::User);
    registry.OpenKey(Key(HistoryKey), true);
    registry.ReadComboStrings(&combo, mode);
    QCOMPARE(Items(combo), expected);
}

void TestDefReg::writeHistory_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected"); // the values "0", "1", ... in the store

    QTest::newRow("plain items") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
                                 << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("blank items leave no gaps")
        << QStringList{QStringLiteral(""), QStringLiteral("a"), QStringLiteral("   "), QStringLiteral("b")}
        << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("items written untrimmed") << QStringList{QStringLiteral(" Åsen ")} << QStringList{QStringLiteral(" Åsen ")};
    QTest::newRow("only blank items") << QStringList{QStringLiteral(" "), QStringLiteral("")} << QStringList();
    QTest::newRow("empty box") << QStringList() << QStringList();
}

void TestDefReg::writeHistory()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);
    TTestFolders folders;

    QComboBox combo;
    combo.addItems(items);
    {
        TDefRegistry registry(THive::User);
        registry.OpenKey(Key(HistoryKey), true);
        registry.WriteComboStrings(&combo);
        registry.CloseKey();
    }

    TDefRegistry reader(THive::User);
    reader.OpenKey(Key(HistoryKey), true);
    QStringList written;
    for (int i = 0; i <= items.size(); ++i) {
        if (reader.ValueExists(QString::number(i)))
            written << reader.ReadStringDef(QString::number(i), QString());
        else
            written << QStringLiteral("<none>");
    }
    while (!written.isEmpty() && written.last() == QLatin1String("<none>"))
        written.removeLast();
    QCOMPARE(written, expected);
}

void TestDefReg::shortenedHistoryKeepsOldValues()
{
    TTestFolders folders;
    const QString key = Key(QStringLiteral("CourseFind"));

    auto write = [&](const QStringList &items) {
        QComboBox combo;
        combo.addItems(items);
        TDefRegistry registry(THive::User);
        registry.OpenKey(key, true);
        registry.WriteComboStrings(&combo);
        registry.CloseKey();
    };
    auto read = [&] {
        QComboBox combo;
        TDefRegistry registry(THive::User);
        registry.OpenKey(key, true);
        registry.ReadComboStrings(&combo, 0);
        return Items(combo);
    };

    write({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    write({QStringLiteral("x"), QStringLiteral("y")});
    QCOMPARE(read(), (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("c"), QStringLiteral("d")}));

    // What comes back is written again with the next store and stays.
    write({QStringLiteral("x"), QStringLiteral("c")});
    QCOMPARE(read(), (QStringList{QStringLiteral("x"), QStringLiteral("c"), QStringLiteral("d")}));
}

QTEST_MAIN(TestDefReg)
#include "tst_DefReg.moc"
