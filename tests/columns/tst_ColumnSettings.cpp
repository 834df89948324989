// The named column settings: in memory (names, ids, the current setting
// after a delete) and in the tables ColumnSettingNames and ColumnSettings of
// a real diary (loading order, the default setting, the one-transaction
// save and its rollback).

#include "TestDiary.h"

#include "columns/ColumnSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"

#include <QtTest>

#include <functional>

namespace
{
// "class: message" of the error the call raised, or "none".
QString raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EColumnSettingsNoId &e) {
        return QStringLiteral("NoId: ") + e.Message();
    } catch (const EColumnSettingsMultipleId &e) {
        return QStringLiteral("MultipleId: ") + e.Message();
    } catch (const EColumnSettings &e) {
        return QStringLiteral("EColumnSettings: ") + e.Message();
    } catch (const EDbMiscError &e) {
        return QStringLiteral("EDbMiscError: ") + e.Message();
    }
    return QStringLiteral("none");
}

void execute(TDbConnection &db, const QString &statement)
{
    TDbQuery query(db);
    query.Add(statement);
    query.ExecSQL();
}

// Both tables as lines "id name: kind kind ...", by id, the kinds sorted.
QStringList storedSettings(TDbConnection &db)
{
    QStringList lines;
    TDbQuery names(db);
    names.Add(QStringLiteral("select ColumnId, ColumnSettingName from ColumnSettingNames order by ColumnId"));
    names.Open();
    for (; !names.Eof(); names.Next()) {
        TDbQuery kinds(db);
        kinds.Add(QStringLiteral("select ColumnSetting from ColumnSettings where ColumnId = :ci"));
        kinds.SetInteger(QStringLiteral("ci"), names.FieldAsInteger(0));
        kinds.Open();
        QStringList texts;
        for (; !kinds.Eof(); kinds.Next())
            texts.append(kinds.FieldAsText(0).trimmed());
        texts.sort();
        lines.append(QStringLiteral("%1 %2: %3").arg(names.FieldAsInteger(0)).arg(names.FieldAsText(1).trimmed(),
                                                                                 texts.join(QLatin1Char(' '))));
    }
    // Column rows whose setting has no name row would be lost settings.
    TDbQuery orphans(db);
    orphans.Add(QStringLiteral("select count(*) from ColumnSettings s where not exists "
                               "(select 1 from ColumnSettingNames n where n.ColumnId = s.ColumnId)"));
    orphans.Open();
    if (orphans.FieldAsInteger(0) != 0)
        lines.append(QStringLiteral("%1 column rows without a name").arg(orphans.FieldAsInteger(0)));
    return lines;
}

QString names(const TColumnSettings &settings)
{
    QStringList result;
    for (const qint32 id : settings.GetIds())
        result.append(settings.Get(id).Name);
    return result.join(QLatin1Char('|'));
}

const TColumnKindSet dateActivity{TColumnKind::cDate, TColumnKind::cAct};
} // namespace

class tst_ColumnSettings : public QObject
{
    Q_OBJECT

private slots:
    // Names are kept as the lists show them: no "&", tabs and line feeds
    // as blanks, no carriage returns, trimmed, "X" for nothing, 30
    // characters at most; on Add and on Update alike.
    void namesAreCleaned_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("ampersand in a word") << "Lö&pning" << "Löpning";
        QTest::newRow("tab between words, blanks around") << "  Lång\tpass  " << "Lång pass";
        QTest::newRow("line breaks") << "Två\r\nrader" << "Två rader";
        QTest::newRow("only blanks") << "    " << "X";
        QTest::newRow("only ampersands") << "&&" << "X";
        QTest::newRow("40 characters") << QString(40, u'a') << QString(30, u'a');
        QTest::newRow("cut after trimming") << (QStringLiteral("   ") + QString(35, u'b')) << QString(30, u'b');
    }
    void namesAreCleaned()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        TColumnSettings settings;
        settings.Add(1, typed, dateActivity);
        QCOMPARE(settings.Get(1).Name, kept);
        settings.Add(2, QStringLiteral("Annan"), dateActivity);
        settings.Update(2, typed, dateActivity);
        QCOMPARE(settings.Get(2).Name, kept);
    }

    void misuseIsRefused_data()
    {
        QTest::addColumn<std::function<void(TColumnSettings &)>>("call");
        QTest::addColumn<QString>("error");
        using Call = std::function<void(TColumnSettings &)>;
        QTest::newRow("no database") << Call([](TColumnSettings &s) { s.SetDatabase(nullptr); })
                                     << "EColumnSettings: ColumnSettings 01";
        QTest::newRow("get unknown") << Call([](TColumnSettings &s) { s.Get(9); }) << "NoId: ColumnSettings 03";
        QTest::newRow("add taken id") << Call([](TColumnSettings &s) { s.Add(1, QStringLiteral("B"), {}); })
                                      << "MultipleId: ColumnSettings 04";
        QTest::newRow("add id 0") << Call([](TColumnSettings &s) { s.Add(0, QStringLiteral("B"), {}); })
                                  << "EColumnSettings: ColumnSettings 05";
        QTest::newRow("delete id -1") << Call([](TColumnSettings &s) { s.Delete(-1); })
                                      << "EColumnSettings: ColumnSettings 05";
        QTest::newRow("update unknown") << Call([](TColumnSettings &s) { s.Update(9, QStringLiteral("B"), {}); })
                                        << "NoId: ColumnSettings 06";
        QTest::newRow("delete unknown") << Call([](TColumnSettings &s) { s.Delete(9); })
                                        << "EColumnSettings: ColumnSettings 09";
        QTest::newRow("delete twice") << Call([](TColumnSettings &s) { s.Delete(1); s.Delete(1); })
                                      << "EColumnSettings: ColumnSettings 09";
        QTest::newRow("current unknown") << Call([](TColumnSettings &s) { s.SetCurrent(9); })
                                         << "EColumnSettings: ColumnSettings 10";
        QTest::newRow("current deleted") << Call([](TColumnSettings &s) { s.Delete(1); s.SetCurrent(1); })
                                         << "EColumnSettings: ColumnSettings 10";
        QTest::newRow("neighbour beyond") << Call([](TColumnSettings &s) { s.SelectNeighbour(1); })
                                          << "NoId: ColumnSettings 11";
        QTest::newRow("neighbour before") << Call([](TColumnSettings &s) { s.SelectNeighbour(-1); })
                                          << "NoId: ColumnSettings 11";
        QTest::newRow("save before database") << Call([](TColumnSettings &s) { s.SaveToDb(); })
                                              << "EDbMiscError: Query är nil";
    }
    void misuseIsRefused()
    {
        QFETCH(std::function<void(TColumnSettings &)>, call);
        QFETCH(QString, error);
        TColumnSettings settings;
        settings.Add(1, QStringLiteral("A"), dateActivity);
        QCOMPARE(raised([&] { call(settings); }), error);
    }

    // Every setting holds the Id column; a new one becomes current, an
    // updated one does not.
    void addAndUpdate()
    {
        TColumnSettings settings;
        QCOMPARE(settings.GetCurrent(), -1);
        settings.Add(4, QStringLiteral("A"), dateActivity);
        settings.Add(2, QStringLiteral("B"), {TColumnKind::cDistance});
        QCOMPARE(settings.GetCurrent(), 2);
        QVERIFY(settings.Get(2).Columns.Contains(TColumnKind::cId));
        QVERIFY(settings.Get(2).Columns.Contains(TColumnKind::cDistance));
        settings.Update(4, QStringLiteral("A2"), {TColumnKind::cSpeed});
        QCOMPARE(settings.GetCurrent(), 2);
        QCOMPARE(settings.Get(4).Columns, (TColumnKindSet{TColumnKind::cSpeed, TColumnKind::cId}));
        QCOMPARE(settings.GetIds(), (QList<qint32>{4, 2}));
    }

    // 1 + the largest live id: a deleted setting's id is free again only
    // when no higher live id exists.
    void nextFreeId()
    {
        TColumnSettings settings;
        QCOMPARE(settings.NextFreeId(), 1);
        settings.Add(3, QStringLiteral("A"), {});
        settings.Add(7, QStringLiteral("B"), {});
        settings.Add(5, QStringLiteral("C"), {});
        QCOMPARE(settings.NextFreeId(), 8);
        settings.Delete(5);
        QCOMPARE(settings.NextFreeId(), 8);
        settings.Delete(7);
        QCOMPARE(settings.NextFreeId(), 4);
        settings.Delete(3);
        QCOMPARE(settings.NextFreeId(), 1);
        QCOMPARE(settings.Count(), 0);
        QCOMPARE(settings.GetIds(), QList<qint32>());
    }

    // After a delete the nearest live setting before the deleted one becomes
    // current; only when there is none, the nearest after it; else none.
    // Settings 1 to 5 in that order, some deleted first.
    void deleteChoosesANeighbour_data()
    {
        QTest::addColumn<QList<qint32>>("deletedBefore");
        QTest::addColumn<qint32>("deleted");
        QTest::addColumn<qint32>("current");
        QTest::newRow("middle: the one before") << QList<qint32>{} << 3 << 2;
        QTest::newRow("last: the one before") << QList<qint32>{} << 5 << 4;
        QTest::newRow("first: the one after") << QList<qint32>{} << 1 << 2;
        QTest::newRow("skips deleted ones before") << QList<qint32>{2, 3} << 4 << 1;
        QTest::newRow("before, though one after is next to it") << QList<qint32>{3} << 4 << 2;
        QTest::newRow("after, past deleted ones") << QList<qint32>{1, 2} << 3 << 4;
        QTest::newRow("the only live one") << QList<qint32>{1, 2, 4, 5} << 3 << -1;
    }
    void deleteChoosesANeighbour()
    {
        QFETCH(QList<qint32>, deletedBefore);
        QFETCH(qint32, deleted);
        QFETCH(qint32, current);
        TColumnSettings settings;
        for (qint32 id = 1; id <= 5; ++id)
            settings.Add(id, QStringLiteral("S%1").arg(id), {});
        for (const qint32 id : deletedBefore)
            settings.Delete(id);
        settings.SetCurrent(deleted);
        settings.Delete(deleted);
        QCOMPARE(settings.GetCurrent(), current);
        QVERIFY(!settings.Exists(deleted));
        QCOMPARE(settings.Count(), 5 - int(deletedBefore.size()) - 1);
    }

    // SelectNeighbour looks from the index given, whichever setting was
    // current: backwards first, the index itself included.
    void selectNeighbourSearchesBackwardsFirst()
    {
        TColumnSettings settings;
        for (qint32 id = 1; id <= 4; ++id)
            settings.Add(id, QStringLiteral("S%1").arg(id), {});
        settings.SelectNeighbour(2);
        QCOMPARE(settings.GetCurrent(), 3);
        settings.Delete(3); // index 2: back to 2
        QCOMPARE(settings.GetCurrent(), 2);
        settings.Delete(1);
        settings.SelectNeighbour(0); // nothing before: forwards to 2
        QCOMPARE(settings.GetCurrent(), 2);
        settings.SelectNeighbour(3);
        QCOMPARE(settings.GetCurrent(), 4);
    }

    // A diary without settings gets the default one in memory only; saving
    // writes it with its six columns.
    void theDefaultSettingIsNotSavedBeforeAsked()
    {
        TTestDiary diary;
        TColumnSettings settings;
        settings.SetDatabase(&diary.Connection());
        settings.LoadFromDb();
        QCOMPARE(settings.Count(), 0);
        QCOMPARE(settings.GetCurrent(), -1);
        settings.EnsureDefaultSetting();
        QCOMPARE(settings.GetIds(), QList<qint32>{1});
        QCOMPARE(settings.GetCurrent(), 1);
        QCOMPARE(settings.Get(1).Name, QStringLiteral("< Grundinställning >"));
        QCOMPARE(settings.Get(1).Columns, (TColumnKindSet{TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cPlace,
                                                          TColumnKind::cWeight, TColumnKind::cComment, TColumnKind::cId}));
        QCOMPARE(storedSettings(diary.Connection()), QStringList());
        // A second call adds nothing.
        settings.EnsureDefaultSetting();
        QCOMPARE(settings.Count(), 1);

        settings.SaveToDb();
        QCOMPARE(storedSettings(diary.Connection()),
                 QStringList{"1 < Grundinställning >: cAct cComment cDate cId cPlace cWeight"});
    }

    // Loading goes by name; the alphabetically last setting is current. A
    // row naming an unknown kind is ignored and every setting has Id.
    void loadingIsOrderedByName()
    {
        TTestDiary diary;
        for (const char *statement : {
                 "insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (1, 'Styrka')",
                 "insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (2, 'Alla')",
                 "insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (3, 'Löpning')",
                 "insert into ColumnSettings (ColumnId, ColumnSetting) values (3, 'cDistance')",
                 "insert into ColumnSettings (ColumnId, ColumnSetting) values (3, 'cKilometer')",
                 "insert into ColumnSettings (ColumnId, ColumnSetting) values (3, 'cDate')",
                 "insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cExercise1')",
             })
            execute(diary.Connection(), QString::fromUtf8(statement));
        TColumnSettings settings;
        settings.SetDatabase(&diary.Connection());
        settings.LoadFromDb();
        QCOMPARE(settings.GetIds(), (QList<qint32>{2, 3, 1}));
        QCOMPARE(names(settings), QStringLiteral("Alla|Löpning|Styrka"));
        QCOMPARE(settings.GetCurrent(), 1);
        QCOMPARE(settings.Get(3).Columns, (TColumnKindSet{TColumnKind::cDate, TColumnKind::cDistance, TColumnKind::cId}));
        QCOMPARE(settings.Get(2).Columns, TColumnKindSet{TColumnKind::cId});
        QCOMPARE(settings.NextFreeId(), 4);
    }

    // What is saved is what memory holds: deleted settings are gone, names
    // and columns read back the same, and a new load starts from the table.
    void savedSettingsReadBack()
    {
        TTestDiary diary;
        execute(diary.Connection(), QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (9, 'Gammal')"));
        execute(diary.Connection(), QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values (9, 'cDate')"));
        TColumnSettings settings;
        settings.SetDatabase(&diary.Connection());
        settings.LoadFromDb();
        settings.Add(settings.NextFreeId(), QStringLiteral(" Löpning "),
                     {TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cDistance, TColumnKind::cTime,
                      TColumnKind::cSpeed, TColumnKind::cDistTime});
        settings.Add(settings.NextFreeId(), QStringLiteral("Golf"), {TColumnKind::cDate, TColumnKind::cHCP});
        settings.Delete(9);
        settings.SaveToDb();
        QVERIFY(!diary.Connection().InTransaction());
        QCOMPARE(storedSettings(diary.Connection()),
                 (QStringList{"10 Löpning: cAct cDate cDistTime cDistance cId cSpeed cTime", "11 Golf: cDate cHCP cId"}));

        TColumnSettings loaded;
        loaded.SetDatabase(&diary.Connection());
        loaded.LoadFromDb();
        QCOMPARE(names(loaded), QStringLiteral("Golf|Löpning"));
        QCOMPARE(loaded.Get(10).Columns, settings.Get(10).Columns);
        QCOMPARE(loaded.Get(11).Columns, settings.Get(11).Columns);
        QCOMPARE(loaded.GetCurrent(), 10);
    }

    // A statement the diary refuses half-way through the save leaves both
    // tables as they were and memory as the user left it; the save can be
    // made again once the cause is gone.
    void aFailedSaveLeavesTheStoredSettings_data()
    {
        QTest::addColumn<QString>("constraint");
        QTest::newRow("a name row is refused")
            << "alter table ColumnSettingNames add constraint CK_Refused check (ColumnSettingName <> 'Spärrad')";
        QTest::newRow("a column row is refused")
            << "alter table ColumnSettings add constraint CK_Refused check (ColumnSetting <> 'cTemp')";
    }
    void aFailedSaveLeavesTheStoredSettings()
    {
        QFETCH(QString, constraint);
        TTestDiary diary;
        TDbConnection &db = diary.Connection();
        TColumnSettings settings;
        settings.SetDatabase(&db);
        settings.Add(1, QStringLiteral("Alla"), {TColumnKind::cDate, TColumnKind::cPlace});
        settings.Add(2, QStringLiteral("Löpning"), {TColumnKind::cDistance});
        settings.SaveToDb();
        const QStringList before = storedSettings(db);
        QCOMPARE(before.size(), 2);
        execute(db, constraint);

        // The first setting is written again before the refused one.
        settings.Update(1, QStringLiteral("Alla nya"), {TColumnKind::cComment});
        settings.Delete(2);
        settings.Add(3, QStringLiteral("Spärrad"), {TColumnKind::cTemp});
        bool failed = false;
        try {
            settings.SaveToDb();
        } catch (const EDbClientError &) {
            failed = true;
        }
        QVERIFY(failed);
        QVERIFY(!db.InTransaction());
        QCOMPARE(storedSettings(db), before);
        QCOMPARE(names(settings), QStringLiteral("Alla nya|Spärrad"));
        QCOMPARE(settings.GetCurrent(), 3);

        settings.Update(3, QStringLiteral("Väder"), {TColumnKind::cDate});
        settings.SaveToDb();
        QCOMPARE(storedSettings(db), (QStringList{"1 Alla nya: cComment cId", "3 Väder: cDate cId"}));
    }
};

QTEST_GUILESS_MAIN(tst_ColumnSettings)
#include "tst_ColumnSettings.moc"
