// The activity names against a real diary made from the project's schema.

#include "TestDiary.h"
#include "model/ActivityName.h"

#include <QtTest>

#include <functional>

namespace
{
// The built-in types in their fixed order.
const QStringList BuiltInCodes = {
    QStringLiteral("RUN"), QStringLiteral("SKI"), QStringLiteral("WOR"), QStringLiteral("FLO"), QStringLiteral("GOL"),
    QStringLiteral("SPI"), QStringLiteral("TRE"), QStringLiteral("DOW"), QStringLiteral("BIK"), QStringLiteral("SKA"),
    QStringLiteral("TEN"), QStringLiteral("AER"), QStringLiteral("DAN"), QStringLiteral("BLO"), QStringLiteral("OTH"),
    QStringLiteral("SWI"), QStringLiteral("SOC"), QStringLiteral("HOC"), QStringLiteral("CAR"), QStringLiteral("CAN"),
    QStringLiteral("CAM"), QStringLiteral("INL")};
const QStringList BuiltInNames = {
    QStringLiteral("Löpning"),   QStringLiteral("Längdåkning"), QStringLiteral("Styrketräning"),
    QStringLiteral("Innebandy"), QStringLiteral("Golf"),        QStringLiteral("Spinning"),
    QStringLiteral("Vandring"),  QStringLiteral("Utförsåkning"), QStringLiteral("Cykling"),
    QStringLiteral("Skridskor"), QStringLiteral("Tennis"),      QStringLiteral("Aerobics"),
    QStringLiteral("Dans"),      QStringLiteral("Viktmätning"), QStringLiteral("Övrig"),
    QStringLiteral("Simning"),   QStringLiteral("Fotboll"),     QStringLiteral("Ishockey"),
    QStringLiteral("Kondition"), QStringLiteral("Kanot"),       QStringLiteral("Konditionsmätning"),
    QStringLiteral("Inlines")};

// The table's rows as "CODE|name|flag", sorted by code.
QStringList tableRows(TDbConnection &db)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select ActivityShortName, ActivityName, SummarySelected from ActivityNames"));
    query.Add(QStringLiteral("order by ActivityShortName"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows.append(query.FieldAsText(0).trimmed() + QLatin1Char('|') + query.FieldAsText(1).trimmed()
                    + QLatin1Char('|') + query.FieldAsText(2));
    return rows;
}

// Writes rows given as "CODE|name|flag" straight into the table.
void insertRows(TDbConnection &db, const QStringList &rows)
{
    TDbQuery query(db);
    for (const QString &row : rows) {
        const QStringList parts = row.split(QLatin1Char('|'));
        query.Clear();
        query.Add(QStringLiteral("insert into ActivityNames (ActivityShortName, ActivityName, SummarySelected)"));
        query.Add(QStringLiteral("values(:asn, :an, :ss)"));
        query.SetText(QStringLiteral("asn"), parts.at(0));
        query.SetText(QStringLiteral("an"), parts.at(1));
        query.SetInteger(QStringLiteral("ss"), parts.at(2).toInt());
        query.ExecSQL();
    }
}

void execute(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

QStringList namesOf(const TActivityNames &names)
{
    QStringList list;
    names.GetNames(&list);
    return list;
}

QStringList codesOf(const TActivityNames &names)
{
    QStringList list;
    names.GetCodes(&list);
    return list;
}

QStringList summaryCodesOf(const TActivityNames &names)
{
    QStringList list;
    names.GetSummaryCodes(&list);
    return list;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The message of the EActivityName `call` raises, or a marker that matches no
// message when it raises nothing.
QString nameError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EActivityName &error) {
        return error.Message();
    }
    return QStringLiteral("<inget fel>");
}

// Opens a names list on `db`.
void openOn(TActivityNames &names, TDbConnection &db)
{
    names.SetDatabase(&db);
    names.Open();
}
} // namespace

class tst_ActivityNames : public QObject
{
    Q_OBJECT

private slots:
    void newListHoldsBuiltInTypesAllSelected()
    {
        TActivityNames names;
        QCOMPARE(names.Count(), 22);
        QCOMPARE(codesOf(names), BuiltInCodes);
        QCOMPARE(namesOf(names), BuiltInNames);
        QCOMPARE(summaryCodesOf(names), sorted(BuiltInCodes));
        QCOMPARE(TActivityNames::DefaultCodes(), BuiltInCodes);
        QCOMPARE(TActivityNames::DefaultNameOfCode(QStringLiteral("cam")), QStringLiteral("Konditionsmätning"));
        QCOMPARE(TActivityNames::DefaultNameOfCode(QStringLiteral("XYZ")), QString());
    }

    void loadOfEmptyTableGivesBuiltInTypes()
    {
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());
        QCOMPARE(codesOf(names), BuiltInCodes);
        QCOMPARE(namesOf(names), BuiltInNames);
        QCOMPARE(summaryCodesOf(names), sorted(BuiltInCodes));
        // Loading writes nothing.
        QCOMPARE(tableRows(diary.Connection()), QStringList());
    }

    void loadCompletesTheTable_data()
    {
        QTest::addColumn<QStringList>("rows");       // "CODE|name|flag" in the table
        QTest::addColumn<QStringList>("expected");   // "CODE=name" after loading
        QTest::addColumn<QStringList>("unselected"); // codes not selected for summaries

        QTest::newRow("some codes, missing ones gain defaults")
            << QStringList{QStringLiteral("RUN|Jogging|1"), QStringLiteral("GOL|Golf|0"), QStringLiteral("SWI|Crawl|0")}
            << QStringList{QStringLiteral("RUN=Jogging"), QStringLiteral("GOL=Golf"), QStringLiteral("SWI=Crawl"),
                           QStringLiteral("SKI=Längdåkning"), QStringLiteral("INL=Inlines")}
            << QStringList{QStringLiteral("GOL"), QStringLiteral("SWI")};
        QTest::newRow("default name taken by another code")
            << QStringList{QStringLiteral("RUN|Golf|1")}
            << QStringList{QStringLiteral("RUN=Golf"), QStringLiteral("GOL=Golf2")} << QStringList{};
        QTest::newRow("numbered name taken too, in other case")
            << QStringList{QStringLiteral("RUN|golf|1"), QStringLiteral("SKI|GOLF2|1")}
            << QStringList{QStringLiteral("RUN=golf"), QStringLiteral("SKI=GOLF2"), QStringLiteral("GOL=Golf3")}
            << QStringList{};
        QTest::newRow("two rows with one name")
            << QStringList{QStringLiteral("RUN|Motion|1"), QStringLiteral("SKI|motion|1")}
            << QStringList{QStringLiteral("RUN=Motion"), QStringLiteral("SKI=motion2")} << QStringList{};
        QTest::newRow("unknown code ignored")
            << QStringList{QStringLiteral("XYZ|Curling|1"), QStringLiteral("RUN|Jogging|0")}
            << QStringList{QStringLiteral("RUN=Jogging"), QStringLiteral("SKI=Längdåkning")}
            << QStringList{QStringLiteral("RUN")};
        QTest::newRow("code in lower case")
            << QStringList{QStringLiteral("run|Jogging|0")} << QStringList{QStringLiteral("RUN=Jogging")}
            << QStringList{QStringLiteral("RUN")};
        QTest::newRow("blank name gets the default")
            << QStringList{QStringLiteral("RUN| |1")} << QStringList{QStringLiteral("RUN=Löpning")} << QStringList{};
    }
    void loadCompletesTheTable()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, unselected);
        TTestDiary diary;
        insertRows(diary.Connection(), rows);

        TActivityNames names;
        openOn(names, diary.Connection());

        // Every built-in type exactly once, nothing else.
        QCOMPARE(sorted(codesOf(names)), sorted(BuiltInCodes));
        for (const QString &pair : expected) {
            const QString code = pair.section(QLatin1Char('='), 0, 0);
            const QString name = pair.section(QLatin1Char('='), 1);
            QCOMPARE(names.NameOfCode(code), name);
            QCOMPARE(names.CodeOfName(name), code);
        }
        QStringList lowerNames = namesOf(names);
        for (QString &name : lowerNames)
            name = name.toLower();
        lowerNames.removeDuplicates();
        QCOMPARE(lowerNames.size(), 22);
        QStringList selected = BuiltInCodes;
        for (const QString &code : unselected)
            selected.removeOne(code);
        QCOMPARE(summaryCodesOf(names), sorted(selected));
        QVERIFY(!names.HasName(QStringLiteral("Curling")));
    }

    void rowsOfUnknownTypesSurviveSave()
    {
        TTestDiary diary;
        insertRows(diary.Connection(), {QStringLiteral("XYZ|Curling|1"), QStringLiteral("SKI|Skidor|0"),
                                        QStringLiteral("QQQ|Löpning|0")});
        TActivityNames names;
        openOn(names, diary.Connection());
        QCOMPARE(codesOf(names).size(), 22);
        // The unknown type's name takes no name from the listed ones.
        QCOMPARE(names.CodeOfName(QStringLiteral("Löpning")), QStringLiteral("RUN"));

        QStringList list = namesOf(names);
        QVERIFY(!names.SetNames(&list));
        const QStringList rows = tableRows(diary.Connection());
        QCOMPARE(rows.size(), 24);
        QVERIFY(rows.contains(QStringLiteral("XYZ|Curling|1")));
        QVERIFY(rows.contains(QStringLiteral("QQQ|Löpning|0")));
        QVERIFY(rows.contains(QStringLiteral("SKI|Skidor|0")));
        QVERIFY(rows.contains(QStringLiteral("RUN|Löpning|1")));

        names.Close();
        openOn(names, diary.Connection());
        names.Save();
        QCOMPARE(tableRows(diary.Connection()), rows);
    }

    void namesAreStoredTrimmedAndCut()
    {
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());

        QStringList list = BuiltInNames;
        list[0] = QStringLiteral("Backintervaller i terräng");   // 25 characters
        list[1] = QStringLiteral("Terrängintervaller i skog");   // 25, a blank at the cut
        list[15] = QStringLiteral("  Simning");                  // blanks around
        QVERIFY(names.SetNames(&list));
        QCOMPARE(list.at(0), QStringLiteral("Backintervaller i t"));
        QCOMPARE(list.at(1), QStringLiteral("Terrängintervaller"));
        QCOMPARE(list.at(15), QStringLiteral("Simning"));
        QCOMPARE(namesOf(names), list);
        QCOMPARE(names.CodeOfName(QStringLiteral("Terrängintervaller")), QStringLiteral("SKI"));

        TActivityNames reloaded;
        openOn(reloaded, diary.Connection());
        QCOMPARE(namesOf(reloaded), list);
        QVERIFY(tableRows(diary.Connection()).contains(QStringLiteral("RUN|Backintervaller i t|1")));
    }

    void duplicateNamesAreRefused_data()
    {
        QTest::addColumn<int>("index1");
        QTest::addColumn<QString>("name1");
        QTest::addColumn<int>("index2");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<QString>("reported"); // the later of the two, as cut
        QTest::newRow("running renamed to golf")
            << 0 << QStringLiteral("golf") << 0 << QStringLiteral("golf") << QStringLiteral("Golf");
        QTest::newRow("golf renamed to the name of a later type")
            << 4 << QStringLiteral("TENNIS") << 4 << QStringLiteral("TENNIS") << QStringLiteral("Tennis");
        QTest::newRow("alike but for blanks")
            << 0 << QStringLiteral("Golf ") << 0 << QStringLiteral("Golf ") << QStringLiteral("Golf");
        QTest::newRow("two new names alike")
            << 0 << QStringLiteral("Motion") << 1 << QStringLiteral("MOTION") << QStringLiteral("MOTION");
        QTest::newRow("alike after the cut")
            << 0 << QStringLiteral("Långa distanser i skogen") << 1 << QStringLiteral("Långa distanser i skogsmark")
            << QStringLiteral("Långa distanser i s");
    }
    void duplicateNamesAreRefused()
    {
        QFETCH(int, index1);
        QFETCH(QString, name1);
        QFETCH(int, index2);
        QFETCH(QString, name2);
        QFETCH(QString, reported);
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());

        QStringList list = BuiltInNames;
        list[index1] = name1;
        list[index2] = name2;
        QCOMPARE(nameError([&] { names.SetNames(&list); }),
                 QStringLiteral("Två aktiviteter med samma namn är ej tillåtet. ") + reported);
        QCOMPARE(namesOf(names), BuiltInNames);
        QCOMPARE(tableRows(diary.Connection()), QStringList());
    }

    void setNamesReportsChangeAndAlwaysSaves_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changed");
        QTest::newRow("same names") << -1 << QString() << false;
        QTest::newRow("one renamed") << 4 << QStringLiteral("Bangolf") << true;
        QTest::newRow("letter case only") << 4 << QStringLiteral("GOLF") << true;
    }
    void setNamesReportsChangeAndAlwaysSaves()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(bool, changed);
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());

        QStringList list = BuiltInNames;
        if (index >= 0)
            list[index] = name;
        QCOMPARE(names.SetNames(&list), changed);
        QCOMPARE(namesOf(names), list);

        const QStringList rows = tableRows(diary.Connection());
        QCOMPARE(rows.size(), 22);
        for (int i = 0; i < BuiltInCodes.size(); ++i)
            QVERIFY2(rows.contains(BuiltInCodes.at(i) + QLatin1Char('|') + list.at(i) + QStringLiteral("|1")),
                     qPrintable(BuiltInCodes.at(i)));
    }

    void failedSaveKeepsThePreviousRows()
    {
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        TActivityNames names;
        openOn(names, db);
        QStringList list = BuiltInNames;
        list[0] = QStringLiteral("Jogging");
        names.SetNames(&list);
        const QStringList before = tableRows(db);
        QCOMPARE(before.size(), 22);

        // A name the table refuses, written after the delete and ten inserts.
        execute(db, QStringLiteral("alter table ActivityNames"
                                   " add constraint CHK_TestName check (ActivityName <> 'Avvisad')"));
        list[10] = QStringLiteral("Avvisad");
        QVERIFY_THROWS_EXCEPTION(EDbClientError, names.SetNames(&list));

        QVERIFY(!db.InTransaction());
        QCOMPARE(tableRows(db), before);
        // The list in memory already holds the new names.
        QCOMPARE(names.NameOfCode(QStringLiteral("TEN")), QStringLiteral("Avvisad"));

        // The connection and the list are usable again.
        list[10] = QStringLiteral("Padel");
        QVERIFY(names.SetNames(&list));
        QVERIFY(tableRows(db).contains(QStringLiteral("TEN|Padel|1")));
    }

    void failedSaveOrLoadOfMissingTableKeepsTheLists()
    {
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        execute(db, QStringLiteral("drop table ActivityNames"));
        TActivityNames names;
        names.SetDatabase(&db);

        QStringList codes{QStringLiteral("RUN")};
        QVERIFY_THROWS_EXCEPTION(EDbClientError, names.SetSummaryCodes(&codes));
        QVERIFY(!db.InTransaction());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, names.Open());
        QVERIFY(!names.IsOpen());
        QCOMPARE(codesOf(names), BuiltInCodes);
        QCOMPARE(namesOf(names), BuiltInNames);
        QCOMPARE(summaryCodesOf(names), codes);
    }

    void summaryCodesRoundTripThroughFlagColumn()
    {
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());

        QStringList chosen{QStringLiteral("swi"), QStringLiteral("RUN"), QStringLiteral("Gol")};
        QVERIFY(names.SetSummaryCodes(&chosen));
        const QStringList expected{QStringLiteral("GOL"), QStringLiteral("RUN"), QStringLiteral("SWI")};
        QCOMPARE(summaryCodesOf(names), expected);

        QStringList flagged;
        for (const QString &row : tableRows(diary.Connection())) {
            const QStringList parts = row.split(QLatin1Char('|'));
            QVERIFY2(parts.at(2) == QLatin1String("1") || parts.at(2) == QLatin1String("0"), qPrintable(row));
            if (parts.at(2) == QLatin1String("1"))
                flagged.append(parts.at(0));
        }
        QCOMPARE(flagged, expected);

        TActivityNames reloaded;
        openOn(reloaded, diary.Connection());
        QCOMPARE(summaryCodesOf(reloaded), expected);
        QVERIFY(reloaded.IsSummaryCode(QStringLiteral("run")));
        QVERIFY(!reloaded.IsSummaryCode(QStringLiteral("SKI")));
    }

    void setSummaryCodesReportsChange_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QStringList>("result");
        const QStringList start{QStringLiteral("GOL"), QStringLiteral("RUN"), QStringLiteral("SWI")};
        QTest::newRow("same codes, other order and case")
            << QStringList{QStringLiteral("swi"), QStringLiteral("GOL"), QStringLiteral("run")} << false << start;
        QTest::newRow("a code twice")
            << QStringList{QStringLiteral("RUN"), QStringLiteral("GOL"), QStringLiteral("run"), QStringLiteral("SWI")}
            << false << start;
        QTest::newRow("one removed") << QStringList{QStringLiteral("RUN"), QStringLiteral("SWI")} << true
                                     << QStringList{QStringLiteral("RUN"), QStringLiteral("SWI")};
        QTest::newRow("one added")
            << QStringList{QStringLiteral("RUN"), QStringLiteral("SWI"), QStringLiteral("GOL"), QStringLiteral("BIK")}
            << true
            << QStringList{QStringLiteral("BIK"), QStringLiteral("GOL"), QStringLiteral("RUN"), QStringLiteral("SWI")};
        QTest::newRow("one exchanged")
            << QStringList{QStringLiteral("RUN"), QStringLiteral("SWI"), QStringLiteral("BIK")} << true
            << QStringList{QStringLiteral("BIK"), QStringLiteral("RUN"), QStringLiteral("SWI")};
        QTest::newRow("none") << QStringList{} << true << QStringList{};
    }
    void setSummaryCodesReportsChange()
    {
        QFETCH(QStringList, codes);
        QFETCH(bool, changed);
        QFETCH(QStringList, result);
        TTestDiary diary;
        TActivityNames names;
        openOn(names, diary.Connection());
        QStringList start{QStringLiteral("RUN"), QStringLiteral("GOL"), QStringLiteral("SWI")};
        names.SetSummaryCodes(&start);

        QCOMPARE(names.SetSummaryCodes(&codes), changed);
        QCOMPARE(summaryCodesOf(names), result);
        TActivityNames reloaded;
        openOn(reloaded, diary.Connection());
        QCOMPARE(summaryCodesOf(reloaded), result);
    }

    void lookupsIgnoreCase_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("storedName");
        QTest::newRow("lower case")
            << QStringLiteral("run") << QStringLiteral("löpning") << QStringLiteral("Löpning");
        QTest::newRow("upper case") << QStringLiteral("OTH") << QStringLiteral("ÖVRIG") << QStringLiteral("Övrig");
        QTest::newRow("mixed") << QStringLiteral("Cam") << QStringLiteral("konditionsMÄTNING")
                               << QStringLiteral("Konditionsmätning");
    }
    void lookupsIgnoreCase()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, storedName);
        TActivityNames names;
        QCOMPARE(names.NameOfCode(code), storedName);
        QCOMPARE(names.CodeOfName(name), code.toUpper());
        QVERIFY(names.HasCode(code));
        QVERIFY(names.HasName(name));
    }

    void errors_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<QString>("message");
        QTest::newRow("open twice") << 0 << QStringLiteral("ActivityName 01");
        QTest::newRow("load without database") << 1 << QStringLiteral("ActivityName 02");
        QTest::newRow("save without database") << 2 << QStringLiteral("ActivityName 03");
        QTest::newRow("codes without list") << 3 << QStringLiteral("ActivityName 06");
        QTest::newRow("names without list") << 4 << QStringLiteral("ActivityName 07");
        QTest::newRow("set names without list") << 5 << QStringLiteral("ActivityName 08");
        QTest::newRow("summary codes without list") << 6 << QStringLiteral("ActivityName 09");
        QTest::newRow("set summary codes without list") << 7 << QStringLiteral("ActivityName 10");
        QTest::newRow("set names, one name short") << 8 << QStringLiteral("ActivityName 11");
        QTest::newRow("name of unknown code") << 9 << QStringLiteral("Aktiviteten XYZ finns ej");
        QTest::newRow("code of unknown name") << 10 << QStringLiteral("Aktiviteten Curling finns ej");
        QTest::newRow("unknown summary code") << 11 << QStringLiteral("Aktiviteten XYZ finns ej");
        QTest::newRow("open without database") << 12 << QStringLiteral("ActivityName 02");
    }
    void errors()
    {
        QFETCH(int, call);
        QFETCH(QString, message);
        TTestDiary diary;
        TActivityNames opened;
        openOn(opened, diary.Connection());
        TActivityNames unopened;
        QStringList shortList = BuiltInNames.mid(1);
        QStringList codes{QStringLiteral("RUN"), QStringLiteral("XYZ")};

        const std::function<void()> calls[] = {
            [&] { opened.Open(); },
            [&] { unopened.Load(); },
            [&] { unopened.Save(); },
            [&] { opened.GetCodes(nullptr); },
            [&] { opened.GetNames(nullptr); },
            [&] { opened.SetNames(nullptr); },
            [&] { opened.GetSummaryCodes(nullptr); },
            [&] { opened.SetSummaryCodes(nullptr); },
            [&] { opened.SetNames(&shortList); },
            [&] { opened.NameOfCode(QStringLiteral("XYZ")); },
            [&] { opened.CodeOfName(QStringLiteral("Curling")); },
            [&] { opened.SetSummaryCodes(&codes); },
            [&] { unopened.Open(); },
        };
        QCOMPARE(nameError(calls[call]), message);
        // No refused call changes the lists or the table.
        QCOMPARE(namesOf(opened), BuiltInNames);
        QCOMPARE(summaryCodesOf(opened), sorted(BuiltInCodes));
        QCOMPARE(tableRows(diary.Connection()), QStringList());
    }

    void closeEmptiesTheListAndAllowsReopening()
    {
        TTestDiary diary;
        insertRows(diary.Connection(), {QStringLiteral("RUN|Jogging|1")});
        TActivityNames names;
        openOn(names, diary.Connection());
        names.Close();

        QCOMPARE(names.Count(), 0);
        QCOMPARE(namesOf(names), QStringList());
        QCOMPARE(summaryCodesOf(names), QStringList());
        QCOMPARE(names.GetDatabase(), nullptr);
        QCOMPARE(nameError([&] { names.Load(); }), QStringLiteral("ActivityName 02"));

        openOn(names, diary.Connection());
        QCOMPARE(names.NameOfCode(QStringLiteral("RUN")), QStringLiteral("Jogging"));
        QCOMPARE(names.Count(), 22);
    }
};

QTEST_GUILESS_MAIN(tst_ActivityNames)
#include "tst_ActivityNames.moc"
