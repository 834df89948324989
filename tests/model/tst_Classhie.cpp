// Diary entries of every family stored in, read from and removed from a real
// diary, with the conventions of the stored values.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieTypes.h"
#include "reference/Pulses.h"

#include <QtTest>

namespace
{
// One row of a table as texts, or an empty map when there is none.
QMap<QString, QString> row(TDbConnection &db, const QString &table, const QString &key, int nr)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select * from %1 where %2 = %3").arg(table, key).arg(nr));
    query.Open();
    QMap<QString, QString> values;
    if (query.Eof())
        return values;
    for (int i = 0; i < query.FieldCount(); ++i)
        values.insert(query.FieldName(i), query.FieldIsNull(i) ? QStringLiteral("<null>") : query.FieldAsText(i));
    return values;
}

int count(TDbConnection &db, const QString &table)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select count(*) from ") + table);
    query.Open();
    return int(query.FieldAsInteger(0));
}

template <class T> std::unique_ptr<T> make(TDbConnection &db, int nr, TPulses *pulses = nullptr)
{
    auto activity = std::make_unique<T>();
    activity->SetDatabase(&db);
    activity->SetSessionNr(nr);
    activity->SetPulseList(pulses);
    return activity;
}

void fillSession(TActivity &a, const QString &place = QString(), const QString &comment = QString())
{
    a.SetSessionData(QStringLiteral("2024-05-17"), place, comment, QString());
    a.SetPulse(QString(), QString(), QString());
    a.SetCalorie(QString());
    a.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    a.SetTemperature(QString());
    a.SetSleep(QStringLiteral("-1"), QString());
    a.SetComment(QString());
}
}

class tst_Classhie : public QObject
{
    Q_OBJECT

private slots:
    void normalizeDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalized");
        QTest::newRow("whole") << "80" << "80.0";
        QTest::newRow("rounded") << "72.26" << "72.3";
        QTest::newRow("blanks inside") << " 7 2.26 " << "72.3";
        QTest::newRow("lone point") << "." << "";
        QTest::newRow("empty") << "   " << "";
        QTest::newRow("leading point") << ".5" << "0.5";
        QTest::newRow("trailing point") << "12." << "12.0";
        QTest::newRow("negative") << "-3.25" << "-3.3";
    }

    void normalizeDecimal()
    {
        QFETCH(QString, text);
        QFETCH(QString, normalized);
        QCOMPARE(TActivity::NormalizeDecimal(text), normalized);
    }

    void settersRefuseBadValues()
    {
        TRunning run;
        QVERIFY_THROWS_EXCEPTION(EConvertError, run.SetSessionData(QStringLiteral("2024-02-30"), {}, {}, {}));
        QVERIFY_THROWS_EXCEPTION(EConvertError, run.SetSessionData(QStringLiteral("2024-05-17"), {}, {}, QStringLiteral("8o")));
        QVERIFY_THROWS_EXCEPTION(EConvertError, run.SetCalorie(QStringLiteral("12.5")));
        QVERIFY_THROWS_EXCEPTION(EConvertError, run.SetTemperature(QStringLiteral("varmt")));
        const QList<std::pair<std::function<void()>, QString>> ids{
            {[&] { run.SetWeather(QStringLiteral("14"), QStringLiteral("0"), {}); }, QStringLiteral("Classhie 17")},
            {[&] { run.SetWeather(QStringLiteral("0"), QStringLiteral("9"), {}); }, QStringLiteral("Classhie 18")},
            {[&] { run.SetSleep(QStringLiteral("3"), {}); }, QStringLiteral("Classhie 19")},
            {[&] { run.SetPulseIntervals(nullptr, nullptr); }, QStringLiteral("Classhie 21")},
        };
        for (const auto &[call, id] : ids) {
            try {
                call();
                QFAIL(qPrintable(id + QStringLiteral(" expected")));
            } catch (const EActivityError &e) {
                QCOMPARE(e.Message(), id);
            }
        }
        QVERIFY_THROWS_EXCEPTION(ETimeError, run.SetDuration(QStringLiteral("45.60")));
        TSoccer soccer;
        QVERIFY_THROWS_EXCEPTION(EActivityError, soccer.SetGame(QStringLiteral("5"), {}));
        // A failed setter leaves the earlier values.
        run.SetSessionData(QStringLiteral("2024-05-17"), QStringLiteral("Skogen"), {}, QStringLiteral("70"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, run.SetSessionData(QStringLiteral("17/5"), QStringLiteral("Ån"), {}, {}));
        QCOMPARE(run.GetPlace(), QStringLiteral("Skogen"));
        QCOMPARE(run.GetWeight(), QStringLiteral("70.0"));
    }

    void emptyValuesFollowTheStoredConventions()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        auto run = make<TRunning>(db, 1);
        fillSession(*run);
        run->SetDuration(QStringLiteral("0"));
        run->SetDistance(QStringLiteral("0.00"));
        run->Insert();
        QCOMPARE(run->GetState(), TActivity::TState::Stored);

        const auto session = row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 1);
        QCOMPARE(session.value(QStringLiteral("SESSIONPLACE")), QStringLiteral(" "));
        QCOMPARE(session.value(QStringLiteral("SESSIONCOMMENT")), QStringLiteral(" "));
        QCOMPARE(session.value(QStringLiteral("SESSIONACTIVITY")), QStringLiteral("RUN"));
        for (const char *column : {"SESSIONWEATHER", "SESSIONWINDDIR", "SESSIONSLEEPQUALITY"})
            QCOMPARE(session.value(QLatin1String(column)), QStringLiteral("-1"));
        for (const char *column : {"SESSIONWEIGHT", "SESSIONRESTPULSE", "SESSIONCALORIE", "SESSIONTEMPERATURE", "SESSIONWIND",
                                   "SESSIONSLEEPDURATION"})
            QCOMPARE(session.value(QLatin1String(column)), QStringLiteral("<null>"));
        const auto running = row(db, QStringLiteral("Running"), QStringLiteral("Nr"), 1);
        QCOMPARE(running.value(QStringLiteral("DURATION")), QStringLiteral("<null>"));
        QCOMPARE(running.value(QStringLiteral("DISTANCE")), QStringLiteral("<null>"));
        QCOMPARE(running.value(QStringLiteral("COMMENT")), QStringLiteral(" "));

        auto loaded = make<TRunning>(db, 1);
        loaded->Load();
        QCOMPARE(loaded->GetPlace(), QString());
        QCOMPARE(loaded->GetSessionComment(), QString());
        QCOMPARE(loaded->GetComment(), QString());
        QCOMPARE(loaded->GetWeather(), -1);
        QCOMPARE(loaded->GetDuration(), QString());
    }

    void timeAndDistanceRoundTrip()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        TPulses pulses;
        pulses.SetDatabase(&db);
        const qint32 easy = pulses.AddPulse(120, 140);
        const qint32 hard = pulses.AddPulse(160, 180);
        const qint32 gone = pulses.AddPulse(180, 200);
        pulses.ApplyPulses();

        auto run = make<TRunning>(db, 7, &pulses);
        run->SetSessionData(QStringLiteral("2024-05-17"), QStringLiteral("Slottsskogen"), QStringLiteral("Bra pass\r\nmed backar"),
                            QStringLiteral("7 2.26"));
        run->SetPulse(QStringLiteral("48"), QStringLiteral("151"), QStringLiteral("182"));
        run->SetCalorie(QStringLiteral("640"));
        run->SetWeather(QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("4"));
        run->SetTemperature(QStringLiteral("-2.25"));
        run->SetSleep(QStringLiteral("1"), QStringLiteral("7.5"));
        run->SetComment(QString(300, QLatin1Char('x')));
        run->SetDuration(QStringLiteral("45.30"));
        run->SetDistance(QStringLiteral("12.34"));
        const QList<qint32> ids{easy, gone, hard}, values{30, 10, 60};
        run->SetPulseIntervals(&ids, &values);
        // The interval deleted in between is not written; the others keep
        // their places in the list.
        pulses.DeletePulse(gone);
        run->Insert();

        auto loaded = make<TRunning>(db, 7, &pulses);
        loaded->Load();
        QCOMPARE(loaded->GetDate(), QStringLiteral("2024-05-17"));
        QCOMPARE(loaded->GetPlace(), QStringLiteral("Slottsskogen"));
        QCOMPARE(loaded->GetSessionComment(), QStringLiteral("Bra pass\r\nmed backar"));
        QCOMPARE(loaded->GetWeight(), QStringLiteral("72.3"));
        QCOMPARE(loaded->GetAvgPulse(), QStringLiteral("151"));
        QCOMPARE(loaded->GetCalorie(), QStringLiteral("640"));
        QCOMPARE(loaded->GetWeather(), 3);
        QCOMPARE(loaded->GetWindDir(), 5);
        QCOMPARE(loaded->GetWind(), QStringLiteral("4.0"));
        QCOMPARE(loaded->GetTemperature(), QStringLiteral("-2.3"));
        QCOMPARE(loaded->GetSleepQuality(), 1);
        QCOMPARE(loaded->GetSleepDuration(), QStringLiteral("7.50"));
        QCOMPARE(loaded->GetComment(), QString(250, QLatin1Char('x')));
        QCOMPARE(loaded->GetDuration(), QStringLiteral("45.30"));
        QCOMPARE(loaded->GetDistance(), QStringLiteral("12.34"));
        QCOMPARE(loaded->GetSpeed(), QStringLiteral("16.27"));
        QList<qint32> loadedIds, loadedValues;
        QCOMPARE(loaded->GetPulseIntervals(loadedIds, loadedValues), 2);
        QCOMPARE(loadedIds, (QList<qint32>{easy, hard}));
        QCOMPARE(loadedValues, (QList<qint32>{30, 60}));
        TDbQuery pnr(db);
        pnr.Add(QStringLiteral("select PulseNr from TrainingSessionPulse where SessionNr = 7 order by PulseNr"));
        pnr.Open();
        QCOMPARE(pnr.FieldAsInteger(0), 1);
        pnr.Next();
        QCOMPARE(pnr.FieldAsInteger(0), 3);
        pnr.Close();

        loaded->SetSessionData(QStringLiteral("2024-05-18"), QString(), QString(), QString());
        loaded->SetDistance(QStringLiteral("10"));
        loaded->SetDuration(QString());
        loaded->Update();
        const auto session = row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 7);
        QCOMPARE(session.value(QStringLiteral("SESSIONDATE")), QStringLiteral("2024-05-18"));
        QCOMPARE(session.value(QStringLiteral("SESSIONPLACE")), QStringLiteral(" "));
        QCOMPARE(session.value(QStringLiteral("SESSIONWEIGHT")), QStringLiteral("<null>"));
        QCOMPARE(session.value(QStringLiteral("SESSIONACTIVITY")), QStringLiteral("RUN"));
        const auto running = row(db, QStringLiteral("Running"), QStringLiteral("Nr"), 7);
        QCOMPARE(running.value(QStringLiteral("DISTANCE")), QStringLiteral("10.00"));
        QCOMPARE(running.value(QStringLiteral("DURATION")), QStringLiteral("<null>"));
        QCOMPARE(count(db, QStringLiteral("TrainingSessionPulse")), 2);

        loaded->Delete();
        for (const char *table : {"TrainingSession", "Running", "TrainingSessionPulse"})
            QCOMPARE(count(db, QLatin1String(table)), 0);
    }

    void everyFamilyRoundTrips_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("simple") << "simple";
        QTest::newRow("time") << "time";
        QTest::newRow("game") << "game";
        QTest::newRow("distance") << "distance";
        QTest::newRow("other") << "other";
        QTest::newRow("body measurement") << "cardio";
    }

    void everyFamilyRoundTrips()
    {
        QFETCH(QString, family);
        TTestDiary diary;
        auto &db = diary.Connection();
        std::unique_ptr<TActivity> entry;
        QString table, key = QStringLiteral("Nr");
        if (family == QLatin1String("simple")) {
            entry = make<TDownhill>(db, 3);
        } else if (family == QLatin1String("time")) {
            auto tennis = make<TTennis>(db, 3);
            tennis->SetDuration(QStringLiteral("90"));
            entry = std::move(tennis);
            table = QStringLiteral("Tennis");
        } else if (family == QLatin1String("game")) {
            auto soccer = make<TSoccer>(db, 3);
            soccer->SetDuration(QStringLiteral("45.55"));
            soccer->SetGame(QStringLiteral("3"), QStringLiteral("IFK - AIK"));
            entry = std::move(soccer);
            table = QStringLiteral("Soccer");
        } else if (family == QLatin1String("distance")) {
            auto trek = make<TTrekking>(db, 3);
            trek->SetDistance(QStringLiteral("12.34"));
            entry = std::move(trek);
            table = QStringLiteral("Trekking");
        } else if (family == QLatin1String("cardio")) {
            auto measure = make<TCardioMeasure>(db, 3);
            measure->SetMeasure(QStringLiteral("41.25"));
            measure->SetBodyMeasures({}, {}, {}, {}, QStringLiteral("100"), QStringLiteral("80"), {}, {}, {});
            entry = std::move(measure);
            table = QStringLiteral("CardioMeasure");
        } else {
            auto other = make<TOther>(db, 3);
            other->SetOtherActivity(QStringLiteral("Stavgång"));
            entry = std::move(other);
            table = QStringLiteral("Other");
            key = QStringLiteral("OtherNr");
        }
        fillSession(*entry, QStringLiteral("Hemma"));
        entry->SetComment(QStringLiteral("Egen kommentar"));
        entry->Insert();
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 1);
        if (!table.isEmpty())
            QCOMPARE(count(db, table), 1);

        std::unique_ptr<TActivity> loaded = entry->Class()->Create();
        loaded->SetDatabase(&db);
        loaded->SetSessionNr(3);
        loaded->Load();
        QCOMPARE(loaded->GetPlace(), QStringLiteral("Hemma"));
        if (!table.isEmpty())
            QCOMPARE(loaded->GetComment(), QStringLiteral("Egen kommentar"));
        if (family == QLatin1String("time"))
            QCOMPARE(static_cast<TTennis *>(loaded.get())->GetDuration(), QStringLiteral("90.00"));
        if (family == QLatin1String("game")) {
            // A match is read back in whole minutes.
            QCOMPARE(static_cast<TSoccer *>(loaded.get())->GetDuration(), QStringLiteral("46"));
            QCOMPARE(static_cast<TSoccer *>(loaded.get())->GetGame(), QStringLiteral("IFK - AIK"));
            QCOMPARE(static_cast<TSoccer *>(loaded.get())->GetPerformance(), 3);
        }
        if (family == QLatin1String("distance"))
            QCOMPARE(static_cast<TTrekking *>(loaded.get())->GetDistance(), QStringLiteral("12.3"));
        if (family == QLatin1String("other"))
            QCOMPARE(static_cast<TOther *>(loaded.get())->GetOtherActivity(), QStringLiteral("Stavgång"));
        if (family == QLatin1String("cardio")) {
            auto *measure = static_cast<TCardioMeasure *>(loaded.get());
            QCOMPARE(measure->GetMeasure(), QStringLiteral("41.3"));
            QCOMPARE(measure->GetWaist(), QStringLiteral("80.0"));
            QCOMPARE(measure->GetNeck(), QString());
            const auto stored = row(db, table, key, 3);
            for (const char *column : {"NECK", "SHOULDER", "CHEST", "BICEPS", "ARM", "THIGH", "CALF"})
                QCOMPARE(stored.value(QLatin1String(column)), QStringLiteral("<null>"));
            QCOMPARE(stored.value(QStringLiteral("HIP")), QStringLiteral("100.00"));
        }

        loaded->SetComment(QStringLiteral("Ändrad"));
        loaded->Update();
        if (!table.isEmpty()) {
            const auto stored = row(db, table, key, 3);
            QCOMPARE(stored.value(key == QLatin1String("Nr") ? QStringLiteral("COMMENT") : QStringLiteral("OTHERCOMMENT")),
                     QStringLiteral("Ändrad"));
        }
        loaded->Delete();
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 0);
        if (!table.isEmpty())
            QCOMPARE(count(db, table), 0);
    }

    void aFailingStatementLeavesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("insert") << "insert";
        QTest::newRow("update") << "update";
        QTest::newRow("delete") << "delete";
    }

    void aFailingStatementLeavesNothing()
    {
        QFETCH(QString, operation);
        TTestDiary diary;
        auto &db = diary.Connection();
        auto run = make<TRunning>(db, 5);
        fillSession(*run, QStringLiteral("Före"));
        run->SetDuration(QStringLiteral("30"));
        run->SetDistance(QStringLiteral("6"));
        TDbQuery sabotage(db);
        if (operation == QLatin1String("insert")) {
            // A per-type row with the same key is already there: the second
            // statement of the entry fails.
            sabotage.Add(QStringLiteral("insert into Running (Nr, Comment) values(5, 'stray')"));
            sabotage.ExecSQL();
        } else {
            run->Insert();
            // The per-type row is gone, so the entry's own row check fails.
            sabotage.Add(QStringLiteral("delete from Running where Nr = 5"));
            sabotage.ExecSQL();
        }
        const auto before = row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5);
        const TActivity::TState state = run->GetState();
        run->SetSessionData(QStringLiteral("2024-06-01"), QStringLiteral("Efter"), {}, {});
        try {
            if (operation == QLatin1String("insert"))
                run->Insert();
            else if (operation == QLatin1String("update"))
                run->Update();
            else
                run->Delete();
            QFAIL("the operation should have failed");
        } catch (const EException &) {
        }
        QVERIFY(!db.InTransaction());
        QCOMPARE(run->GetState(), state);
        QCOMPARE(row(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5), before);
        if (operation == QLatin1String("insert"))
            QCOMPARE(row(db, QStringLiteral("Running"), QStringLiteral("Nr"), 5).value(QStringLiteral("COMMENT")), QStringLiteral("stray"));
    }

    void searchFindsRowsAsListedObjects()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        const QList<std::pair<QString, QString>> runs{{"2024-01-10", "30"}, {"2024-02-10", "50"}, {"2024-03-10", ""}};
        int nr = 0;
        for (const auto &[date, duration] : runs) {
            auto run = make<TRunning>(db, ++nr);
            fillSession(*run, QStringLiteral("Delsjön"), QStringLiteral("rad 1\r\nrad 2"));
            run->SetSessionData(date, QStringLiteral("Delsjön"), QStringLiteral("rad 1\r\nrad 2"), {});
            run->SetDuration(duration);
            run->SetDistance(QStringLiteral("8"));
            run->Insert();
        }
        auto other = make<TBiking>(db, ++nr);
        fillSession(*other);
        other->Insert();

        struct TCase
        {
            TSearchParams filter;
            QList<int> numbers;
        };
        TSearchParams longer;
        longer.TDTimeFrom = QStringLiteral("40");
        TSearchParams noTime;
        noTime.TDTimeFrom = QStringLiteral("!");
        TSearchParams winter;
        winter.DateTo = QStringLiteral("2024-02-28");
        winter.Place = QStringLiteral("sjön");
        const QList<TCase> cases{{TSearchParams(), {1, 2, 3}}, {longer, {2}}, {noTime, {3}}, {winter, {1, 2}}};
        for (const TCase &c : cases) {
            TRunning searcher;
            searcher.SetDatabase(&db);
            std::vector<std::unique_ptr<TActivity>> found;
            searcher.SetRowFoundEvent([&](std::unique_ptr<TActivity> &object) { found.push_back(std::move(object)); });
            QList<int> numbers;
            searcher.Search(c.filter, numbers);
            QCOMPARE(numbers, c.numbers);
            QCOMPARE(int(found.size()), int(c.numbers.size()));
            for (const auto &object : found) {
                QCOMPARE(object->GetState(), TActivity::TState::Listed);
                QCOMPARE(QString::fromLatin1(object->Class()->Name), QStringLiteral("TRunning"));
                QCOMPARE(object->GetSessionComment(), QStringLiteral("rad 1  rad 2"));
            }
        }
    }

    void searchByCommentPresence()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        const QStringList comments{QStringLiteral("Tung dag\r\nmed knäet"), QString(), QStringLiteral("Lätt")};
        for (int nr = 1; nr <= comments.size(); ++nr) {
            auto tennis = make<TTennis>(db, nr);
            fillSession(*tennis);
            tennis->SetSessionData(QStringLiteral("2024-04-0%1").arg(nr), {}, comments.at(nr - 1), {});
            tennis->Insert();
        }
        const QList<std::pair<QString, QList<int>>> cases{
            {QStringLiteral("!"), {2}}, {QStringLiteral("*"), {1, 3}}, {QStringLiteral("knä"), {1}}, {QStringLiteral("LÄTT"), {}}};
        for (const auto &[comment, expected] : cases) {
            TTennis searcher;
            searcher.SetDatabase(&db);
            TSearchParams filter;
            filter.Comment = comment;
            QList<int> numbers;
            searcher.Search(filter, numbers);
            QCOMPARE(numbers, expected);
        }
    }

    void yearlySummaries_data()
    {
        QTest::addColumn<QList<int>>("period"); // from month, day, to month, day
        QTest::addColumn<QStringList>("years");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("total");
        // Sessions, each 90 minutes: 2022-10-05, 2023-03-10, 2023-03-20,
        // 2023-06-01, 2023-12-24, 2024-03-12.
        QTest::newRow("whole year") << QList<int>{1, 1, 12, 31} << QStringList{"2022", "2023", "2024"}
                                    << QStringList{"1.30", "6.00", "1.30"} << "9.00";
        QTest::newRow("season over New Year") << QList<int>{10, 1, 3, 31} << QStringList{"2022", "2023", "2024"}
                                              << QStringList{"1.30", "4.30", "1.30"} << "7.30";
        // From 15 March round the year to 10 March: only 11..14 March are out.
        QTest::newRow("wrap inside one month") << QList<int>{3, 15, 3, 10} << QStringList{"2022", "2023"}
                                               << QStringList{"1.30", "6.00"} << "7.30";
    }

    void yearlySummaries()
    {
        QFETCH(QList<int>, period);
        QFETCH(QStringList, years);
        QFETCH(QStringList, values);
        QFETCH(QString, total);
        TTestDiary diary;
        auto &db = diary.Connection();
        int nr = 0;
        for (const char *date : {"2022-10-05", "2023-03-10", "2023-03-20", "2023-06-01", "2023-12-24", "2024-03-12"}) {
            auto tennis = make<TTennis>(db, ++nr);
            fillSession(*tennis);
            tennis->SetSessionData(QLatin1String(date), {}, {}, {});
            tennis->SetDuration(QStringLiteral("90"));
            tennis->Insert();
        }
        TTennis summary;
        summary.SetDatabase(&db);
        TSettingsValues settings;
        settings.SummaryTime = TSettingsValues::TSummaryTime::Hours;
        QList<TSummary> list;
        QString sum;
        summary.GetYearSummaries(period[0], period[1], settings, &list, sum, period[2], period[3]);
        QStringList gotYears, gotValues;
        for (const TSummary &item : list) {
            gotYears.append(item.Year);
            gotValues.append(item.Value);
        }
        QCOMPARE(gotYears, years);
        QCOMPARE(gotValues, values);
        QCOMPARE(sum, total);
    }

    void yearlySummaryUnitsAndErrors()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        const QList<std::pair<const char *, const char *>> entries{{"2023-01-05", "12.34"}, {"2023-02-05", "0.5"}};
        int nr = 0;
        for (const auto &[date, distance] : entries) {
            auto trek = make<TTrekking>(db, ++nr);
            fillSession(*trek);
            trek->SetSessionData(QLatin1String(date), {}, {}, {});
            trek->SetDistance(QLatin1String(distance));
            trek->Insert();
        }
        TTrekking summary;
        summary.SetDatabase(&db);
        TSettingsValues settings;
        QList<TSummary> list;
        QString total;
        summary.GetYearSummaries(1, 1, settings, &list, total, 12, 31);
        QCOMPARE(total, QStringLiteral("12.8"));
        settings.SummaryDist = TSettingsValues::TSummaryDist::Count;
        summary.GetYearSummaries(1, 1, settings, &list, total, 12, 31);
        QCOMPARE(total, QStringLiteral("2"));
        QVERIFY_THROWS_EXCEPTION(EActivityError, summary.GetYearSummaries(1, 1, settings, nullptr, total, 12, 31));
        try {
            summary.GetYearSummaries(2, 30, settings, &list, total, 12, 31);
            QFAIL("30 February is no day");
        } catch (const EActivityError &e) {
            QCOMPARE(e.Message(), QStringLiteral("Classhie 04. Invalid date: 2-30"));
        }
        // 29 February is a day of the leap year the period is checked against.
        summary.GetYearSummaries(2, 29, settings, &list, total, 12, 31);
    }

    void placesAndTotals()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        const QList<std::tuple<const char *, const char *, const char *, const char *>> runs{
            {"2024-01-01", "Skogen", "30", "70"}, {"2024-01-05", "", "45.30", ""}, {"2024-01-09", "Skogen", "10", "71.5"}};
        int nr = 0;
        for (const auto &[date, place, duration, weight] : runs) {
            auto run = make<TRunning>(db, ++nr);
            fillSession(*run);
            run->SetSessionData(QLatin1String(date), QLatin1String(place), {}, QLatin1String(weight));
            run->SetDuration(QLatin1String(duration));
            run->SetDistance(QStringLiteral("5"));
            run->Insert();
        }
        TRunning run;
        run.SetDatabase(&db);
        QStringList places{QStringLiteral("gammal")};
        run.GetPlaces(&places);
        QCOMPARE(places, QStringList{QStringLiteral("Skogen")});

        const TPeriod period{QStringLiteral("2024-01-01"), QStringLiteral("2024-01-31")};
        TSeries buckets{{QStringLiteral("2024-01-01"), 0}, {QStringLiteral("2024-01-08"), 0}};
        run.AddCountTotals(period, buckets);
        QCOMPARE(buckets[0].Value, 2.0);
        QCOMPARE(buckets[1].Value, 1.0);
        TSeries seconds{{QStringLiteral("2024-01-01"), 0}, {QStringLiteral("2024-01-08"), 0}};
        run.AddDurationTotals(period, seconds);
        QCOMPARE(seconds[0].Value, 30.0 * 60 + 45 * 60 + 30);
        QCOMPARE(seconds[1].Value, 600.0);
        TSeries weights;
        run.GetWeightSeries(period, weights);
        QCOMPARE(weights.size(), 2);
        QCOMPARE(weights[1].Date, QStringLiteral("2024-01-09"));
        QCOMPARE(weights[1].Value, 71.5);
    }

    void waistHipRatio_data()
    {
        QTest::addColumn<QString>("waist");
        QTest::addColumn<QString>("hip");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("plain") << "80" << "100" << "0.80";
        QTest::newRow("rounded") << "85.5" << "97" << "0.88";
        QTest::newRow("tiny hip") << "80" << "0.05" << "";
        QTest::newRow("no hip") << "80" << "" << "";
        QTest::newRow("no waist") << " " << "100" << "";
        QTest::newRow("text") << "åttio" << "100" << "";
    }

    void waistHipRatio()
    {
        QFETCH(QString, waist);
        QFETCH(QString, hip);
        QFETCH(QString, ratio);
        QCOMPARE(TCardioMeasure::WaistHipRatio(waist, hip), ratio);
    }

    void caloriesPerHour_data()
    {
        QTest::addColumn<QString>("calories");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("perHour");
        QTest::newRow("hour and a half") << "900" << "90" << "600";
        QTest::newRow("minutes.seconds count as decimals") << "500" << "45.30" << "662";
        QTest::newRow("zero duration") << "500" << "0" << "";
        QTest::newRow("no calories") << "" << "60" << "";
        QTest::newRow("text") << "mycket" << "60" << "";
    }

    void caloriesPerHour()
    {
        QFETCH(QString, calories);
        QFETCH(QString, duration);
        QFETCH(QString, perHour);
        QCOMPARE(TTimeActivity::CaloriesPerHour(calories, duration), perHour);
    }
};

QTEST_GUILESS_MAIN(tst_Classhie)
#include "tst_Classhie.moc"
