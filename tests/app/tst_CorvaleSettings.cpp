// The settings record: what a store reports as changed, the checks on the
// counts, and the record's stored forms in the per-user settings key.

#include "app/CorvaleSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "support/TestDiary.h"

#include <QFile>
#include <QMap>
#include <QSettings>
#include <QTextStream>
#include <QtTest>

#include <functional>

using V = TSettingsValues;
Q_DECLARE_METATYPE(TSettingsValues)
Q_DECLARE_METATYPE(TSettingsChanges)

namespace
{
const QString SettingsKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\Settings");

V With(const std::function<void(V &)> &change)
{
    V values;
    change(values);
    return values;
}

// A record that differs from the defaults in every stored value.
V Changed()
{
    return With([](V &v) {
        v.RecordNum = 5;
        v.RecordSets = 3;
        v.RecordReps = 10;
        v.RecordWNum = 2;
        v.SummaryTDT = V::TSummaryTDT::Minutes;
        v.SummaryTime = V::TSummaryTime::Count;
        v.SummaryGame = V::TSummaryTime::Minutes;
        v.SummaryDist = V::TSummaryDist::Count;
        v.LapCalc = V::TLapCalc::Total;
        v.SearchSort = V::TSearchSort::Activity;
        v.SearchAtStart = true;
    });
}

QString ChangeText(TSettingsChanges changes)
{
    QStringList names;
    if (changes & TSettingsChange::Nothing)
        names << QStringLiteral("nothing");
    if (changes & TSettingsChange::Records)
        names << QStringLiteral("records");
    if (changes & TSettingsChange::Summary)
        names << QStringLiteral("summary");
    if (changes & TSettingsChange::LapCalculation)
        names << QStringLiteral("lap calculation");
    if (changes & TSettingsChange::Search)
        names << QStringLiteral("search");
    return names.join(QStringLiteral(", "));
}

// The values of the settings key as the store file holds them.
QMap<QString, QString> StoredSettings()
{
    QMap<QString, QString> values;
    QFile file(SettingsFiles::StoreFile(SettingsFiles::THive::User));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    bool inSettings = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSettings = line == QLatin1String("[Settings]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSettings && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}
} // namespace

class TestCorvaleSettings : public QObject
{
    Q_OBJECT

private slots:
    void changeSet_data();
    void changeSet();
    void negativeCounts_data();
    void negativeCounts();
    void readStoredTexts_data();
    void readStoredTexts();
    void writeAndReadBack_data();
    void writeAndReadBack();
};

void TestCorvaleSettings::changeSet_data()
{
    QTest::addColumn<TSettingsValues>("current");
    QTest::addColumn<TSettingsValues>("next");
    QTest::addColumn<TSettingsChanges>("expected");

    using C = TSettingsChange;
    const V defaults;

    QTest::newRow("identical defaults") << defaults << defaults << TSettingsChanges(C::Nothing);
    QTest::newRow("identical changed record") << Changed() << Changed() << TSettingsChanges(C::Nothing);
    QTest::newRow("RecordNum") << defaults << With([](V &v) { v.RecordNum = 3; }) << TSettingsChanges(C::Records);
    QTest::newRow("RecordSets") << defaults << With([](V &v) { v.RecordSets = 1; }) << TSettingsChanges(C::Records);
    QTest::newRow("RecordReps") << defaults << With([](V &v) { v.RecordReps = 8; }) << TSettingsChanges(C::Records);
    QTest::newRow("RecordWNum back to its default") << Changed() << With([](V &v) {
        v = Changed();
        v.RecordWNum = 1;
    }) << TSettingsChanges(C::Records);
    QTest::newRow("SummaryTDT") << defaults << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; })
                                << TSettingsChanges(C::Summary);
    QTest::newRow("SummaryTime") << defaults << With([](V &v) { v.SummaryTime = V::TSummaryTime::Minutes; })
                                 << TSettingsChanges(C::Summary);
    QTest::newRow("SummaryGame") << defaults << With([](V &v) { v.SummaryGame = V::TSummaryTime::Count; })
                                 << TSettingsChanges(C::Summary);
    QTest::newRow("SummaryDist") << defaults << With([](V &v) { v.SummaryDist = V::TSummaryDist::Count; })
                                 << TSettingsChanges(C::Summary);
    QTest::newRow("only the summary activities") << defaults << With([](V &v) { v.SummaryActivitiesChanged = true; })
                                                 << TSettingsChanges(C::Summary);
    QTest::newRow("summary activities flag of the stored record only")
        << With([](V &v) { v.SummaryActivitiesChanged = true; }) << defaults << TSettingsChanges(C::Nothing);
    QTest::newRow("LapCalc") << defaults << With([](V &v) { v.LapCalc = V::TLapCalc::Total; })
                             << TSettingsChanges(C::LapCalculation);
    QTest::newRow("SearchSort") << defaults << With([](V &v) { v.SearchSort = V::TSearchSort::Activity; })
                                << TSettingsChanges(C::Search);
    QTest::newRow("SearchAtStart") << defaults << With([](V &v) { v.SearchAtStart = true; }) << TSettingsChanges(C::Search);
    QTest::newRow("CurrentCourse alone") << defaults << With([](V &v) { v.CurrentCourse = 12; })
                                         << TSettingsChanges(C::Nothing);
    QTest::newRow("several at once") << defaults << With([](V &v) {
        v.RecordReps = 5;
        v.SummaryGame = V::TSummaryTime::Minutes;
        v.SearchAtStart = true;
        v.CurrentCourse = 4;
    }) << (C::Records | C::Summary | C::Search);
    QTest::newRow("everything") << defaults << Changed()
                                << (C::Records | C::Summary | C::LapCalculation | C::Search);
    QTest::newRow("everything back to the defaults") << Changed() << defaults
                                                     << (C::Records | C::Summary | C::LapCalculation | C::Search);
}

void TestCorvaleSettings::changeSet()
{
    QFETCH(TSettingsValues, current);
    QFETCH(TSettingsValues, next);
    QFETCH(TSettingsChanges, expected);

    TCorvaleSettings settings;
    settings.SetValues(current);
    const bool nothingChanged = settings.SetValues(next);

    QCOMPARE(ChangeText(settings.GetChangeSet()), ChangeText(expected));
    QCOMPARE(nothingChanged, expected == TSettingsChanges(TSettingsChange::Nothing));
    QVERIFY(settings.GetValues() == next);
}

void TestCorvaleSettings::negativeCounts_data()
{
    QTest::addColumn<TSettingsValues>("values");
    QTest::addColumn<QString>("expected");

    QTest::newRow("RecordNum") << With([](V &v) { v.RecordNum = -1; }) << QStringLiteral("CorvaleSettings 01");
    QTest::newRow("RecordSets") << With([](V &v) { v.RecordSets = -1; }) << QStringLiteral("CorvaleSettings 02");
    QTest::newRow("RecordReps") << With([](V &v) { v.RecordReps = -7; }) << QStringLiteral("CorvaleSettings 03");
    QTest::newRow("RecordWNum") << With([](V &v) { v.RecordWNum = -1; }) << QStringLiteral("CorvaleSettings 04");
    QTest::newRow("all four: RecordNum first") << With([](V &v) {
        v.RecordNum = v.RecordSets = v.RecordReps = v.RecordWNum = -1;
    }) << QStringLiteral("CorvaleSettings 01");
    QTest::newRow("RecordSets before RecordReps") << With([](V &v) {
        v.RecordReps = -2;
        v.RecordSets = -2;
        v.RecordWNum = -2;
    }) << QStringLiteral("CorvaleSettings 02");
    QTest::newRow("RecordReps before RecordWNum") << With([](V &v) {
        v.RecordReps = -2;
        v.RecordWNum = -2;
    }) << QStringLiteral("CorvaleSettings 03");
    QTest::newRow("lowest integer") << With([](V &v) { v.RecordWNum = std::numeric_limits<qint32>::min(); })
                                    << QStringLiteral("CorvaleSettings 04");
}

void TestCorvaleSettings::negativeCounts()
{
    QFETCH(TSettingsValues, values);
    QFETCH(QString, expected);

    // Other values of the refused record differ from the stored ones, so a
    // partial store would show.
    values.SearchAtStart = true;
    values.LapCalc = V::TLapCalc::Total;

    TCorvaleSettings settings;
    const V before = With([](V &v) { v.RecordNum = 4; });
    settings.SetValues(before);
    QCOMPARE(ChangeText(settings.GetChangeSet()), QStringLiteral("records"));

    QString raised;
    try {
        settings.SetValues(values);
    } catch (const ECorvaleSettingsError &e) {
        raised = e.Message();
    }
    QCOMPARE(raised, expected);
    QVERIFY(settings.GetValues() == before);
    QCOMPARE(ChangeText(settings.GetChangeSet()), QStringLiteral("records"));
}

void TestCorvaleSettings::readStoredTexts_data()
{
    QTest::addColumn<QStringList>("stored"); // "name=text"
    QTest::addColumn<TSettingsValues>("expected");

    QTest::newRow("nothing stored: defaults") << QStringList() << V();

    QTest::newRow("SummaryTDT Hour") << QStringList{QStringLiteral("SummaryTDT=Hour")}
                                     << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Hours; });
    QTest::newRow("SummaryTDT Minute") << QStringList{QStringLiteral("SummaryTDT=Minute")}
                                       << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Minutes; });
    QTest::newRow("SummaryTDT Number") << QStringList{QStringLiteral("SummaryTDT=Number")}
                                       << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; });
    QTest::newRow("SummaryTDT unknown") << QStringList{QStringLiteral("SummaryTDT=Mile")}
                                        << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; });
    QTest::newRow("SummaryTDT empty") << QStringList{QStringLiteral("SummaryTDT=")}
                                      << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; });
    QTest::newRow("SummaryTDT distance in lower case") << QStringList{QStringLiteral("SummaryTDT=distance")}
                                                       << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; });
    QTest::newRow("SummaryTime Minute") << QStringList{QStringLiteral("SummaryTime=Minute")}
                                        << With([](V &v) { v.SummaryTime = V::TSummaryTime::Minutes; });
    QTest::newRow("SummaryTime Distance") << QStringList{QStringLiteral("SummaryTime=Distance")}
                                          << With([](V &v) { v.SummaryTime = V::TSummaryTime::Count; });
    QTest::newRow("SummaryGame unknown") << QStringList{QStringLiteral("SummaryGame=hour")}
                                         << With([](V &v) { v.SummaryGame = V::TSummaryTime::Count; });
    QTest::newRow("SummaryGame Minute") << QStringList{QStringLiteral("SummaryGame=Minute")}
                                        << With([](V &v) { v.SummaryGame = V::TSummaryTime::Minutes; });
    QTest::newRow("SummaryDist Number") << QStringList{QStringLiteral("SummaryDist=Number")}
                                        << With([](V &v) { v.SummaryDist = V::TSummaryDist::Count; });
    QTest::newRow("SummaryDist Hour") << QStringList{QStringLiteral("SummaryDist=Hour")}
                                      << With([](V &v) { v.SummaryDist = V::TSummaryDist::Count; });
    QTest::newRow("LapCalc LapTotal") << QStringList{QStringLiteral("LapCalc=LapTotal")}
                                      << With([](V &v) { v.LapCalc = V::TLapCalc::Total; });
    QTest::newRow("LapCalc lapbylap") << QStringList{QStringLiteral("LapCalc=lapbylap")}
                                      << With([](V &v) { v.LapCalc = V::TLapCalc::Total; });
    QTest::newRow("SearchSort Activity") << QStringList{QStringLiteral("SearchSort=Activity")}
                                         << With([](V &v) { v.SearchSort = V::TSearchSort::Activity; });
    QTest::newRow("SearchSort garbage") << QStringList{QStringLiteral("SearchSort=xyz")}
                                        << With([](V &v) { v.SearchSort = V::TSearchSort::Activity; });
    QTest::newRow("SearchAtStart 1") << QStringList{QStringLiteral("SearchAtStart=1")} << With([](V &v) { v.SearchAtStart = true; });
    QTest::newRow("SearchAtStart garbage") << QStringList{QStringLiteral("SearchAtStart=ja")} << V();

    QTest::newRow("counts") << QStringList{QStringLiteral("RecordNum=7"), QStringLiteral("RecordSets=4"),
                                           QStringLiteral("RecordReps=12"), QStringLiteral("RecordWNum=0")}
                            << With([](V &v) {
                                   v.RecordNum = 7;
                                   v.RecordSets = 4;
                                   v.RecordReps = 12;
                                   v.RecordWNum = 0;
                               });
    QTest::newRow("counts stored as garbage keep their defaults")
        << QStringList{QStringLiteral("RecordNum=many"), QStringLiteral("RecordSets=x"), QStringLiteral("RecordReps=2.5"),
                       QStringLiteral("RecordWNum=")}
        << V();
    QTest::newRow("garbage count beside good ones")
        << QStringList{QStringLiteral("RecordNum=3"), QStringLiteral("RecordSets=three"), QStringLiteral("RecordReps=6")}
        << With([](V &v) {
               v.RecordNum = 3;
               v.RecordReps = 6;
           });
    QTest::newRow("values not kept in the store stay at their defaults")
        << QStringList{QStringLiteral("CurrentCourse=9"), QStringLiteral("SummaryActivitiesChanged=1")} << V();
}

void TestCorvaleSettings::readStoredTexts()
{
    QFETCH(QStringList, stored);
    QFETCH(TSettingsValues, expected);
    TTestFolders folders;

    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(SettingsKey, true);
    for (const QString &value : stored) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        registry.WriteString(value.left(equals), value.mid(equals + 1));
    }

    const V read = TCorvaleSettings::Read(registry);
    QCOMPARE(read.RecordNum, expected.RecordNum);
    QCOMPARE(read.RecordSets, expected.RecordSets);
    QCOMPARE(read.RecordReps, expected.RecordReps);
    QCOMPARE(read.RecordWNum, expected.RecordWNum);
    QCOMPARE(int(read.SummaryTDT), int(expected.SummaryTDT));
    QCOMPARE(int(read.SummaryTime), int(expected.SummaryTime));
    QCOMPARE(int(read.SummaryGame), int(expected.SummaryGame));
    QCOMPARE(int(read.SummaryDist), int(expected.SummaryDist));
    QCOMPARE(int(read.LapCalc), int(expected.LapCalc));
    QCOMPARE(int(read.SearchSort), int(expected.SearchSort));
    QCOMPARE(read.SearchAtStart, expected.SearchAtStart);
    QCOMPARE(read.CurrentCourse, expected.CurrentCourse);
    QCOMPARE(read.SummaryActivitiesChanged, expected.SummaryActivitiesChanged);

    // What was read is a record the settings accept.
    TCorvaleSettings settings;
    settings.SetValues(read);
}

void TestCorvaleSettings::writeAndReadBack_data()
{
    QTest::addColumn<TSettingsValues>("values");
    QTest::addColumn<QStringList>("storedTexts"); // SummaryTDT, SummaryTime, SummaryGame, SummaryDist, LapCalc, SearchSort

    QTest::newRow("defaults") << V()
                              << QStringList{QStringLiteral("Distance"), QStringLiteral("Hour"), QStringLiteral("Hour"),
                                             QStringLiteral("Distance"), QStringLiteral("LapByLap"), QStringLiteral("Date")};
    QTest::newRow("every stored value changed")
        << Changed()
        << QStringList{QStringLiteral("Minute"), QStringLiteral("Number"), QStringLiteral("Minute"), QStringLiteral("Number"),
                       QStringLiteral("LapTotal"), QStringLiteral("Activity")};
    QTest::newRow("hours and counts") << With([](V &v) {
        v = Changed();
        v.SummaryTDT = V::TSummaryTDT::Hours;
        v.SummaryTime = V::TSummaryTime::Minutes;
        v.SummaryGame = V::TSummaryTime::Count;
        v.RecordNum = 0;
        v.RecordWNum = 250;
    }) << QStringList{QStringLiteral("Hour"), QStringLiteral("Minute"), QStringLiteral("Number"), QStringLiteral("Number"),
                      QStringLiteral("LapTotal"), QStringLiteral("Activity")};
    QTest::newRow("count for time-and-distance") << With([](V &v) { v.SummaryTDT = V::TSummaryTDT::Count; })
                                                 << QStringList{QStringLiteral("Number"), QStringLiteral("Hour"),
                                                                QStringLiteral("Hour"), QStringLiteral("Distance"),
                                                                QStringLiteral("LapByLap"), QStringLiteral("Date")};
}

void TestCorvaleSettings::writeAndReadBack()
{
    QFETCH(TSettingsValues, values);
    QFETCH(QStringList, storedTexts);
    TTestFolders folders;

    // The values never stored are set too: they must not reach the store.
    V written = values;
    written.CurrentCourse = 17;
    written.SummaryActivitiesChanged = true;
    {
        TDefRegistry registry(TDefRegistry::THive::User);
        registry.OpenKey(SettingsKey, true);
        TCorvaleSettings::Write(registry, written);
        registry.CloseKey();
    }

    const QMap<QString, QString> stored = StoredSettings();
    QCOMPARE(stored.keys(),
             (QStringList{QStringLiteral("LapCalc"), QStringLiteral("RecordNum"), QStringLiteral("RecordReps"),
                          QStringLiteral("RecordSets"), QStringLiteral("RecordWNum"), QStringLiteral("SearchAtStart"),
                          QStringLiteral("SearchSort"), QStringLiteral("SummaryDist"), QStringLiteral("SummaryGame"),
                          QStringLiteral("SummaryTDT"), QStringLiteral("SummaryTime")}));
    QCOMPARE(stored.value(QStringLiteral("RecordNum")), QString::number(values.RecordNum));
    QCOMPARE(stored.value(QStringLiteral("RecordSets")), QString::number(values.RecordSets));
    QCOMPARE(stored.value(QStringLiteral("RecordReps")), QString::number(values.RecordReps));
    QCOMPARE(stored.value(QStringLiteral("RecordWNum")), QString::number(values.RecordWNum));
    QCOMPARE((QStringList{stored.value(QStringLiteral("SummaryTDT")), stored.value(QStringLiteral("SummaryTime")),
                          stored.value(QStringLiteral("SummaryGame")), stored.value(QStringLiteral("SummaryDist")),
                          stored.value(QStringLiteral("LapCalc")), stored.value(QStringLiteral("SearchSort"))}),
             storedTexts);
    QCOMPARE(stored.value(QStringLiteral("SearchAtStart")), values.SearchAtStart ? QStringLiteral("1") : QStringLiteral("0"));

    TDefRegistry reader(TDefRegistry::THive::User);
    QVERIFY(reader.OpenKey(SettingsKey, false));
    QVERIFY(TCorvaleSettings::Read(reader) == values);
}

QTEST_GUILESS_MAIN(TestCorvaleSettings)
#include "tst_CorvaleSettings.moc"
