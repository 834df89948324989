// Golf rounds: the round and its 18-hole card stored in a real diary, the
// checks of the values, and the playing handicap, received strokes and
// Stableford points that the entry page shows.

#include "TestDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ClasshieGolf.h"

#include <QtTest>

#include <functional>

namespace
{
using TRow = QMap<QString, QString>;

// The rows of a table for one round, in key order, each column as text.
QList<TRow> rows(TDbConnection &db, const QString &table, const QString &key, int nr, const QString &order = QString())
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select * from %1 where %2 = :nr").arg(table, key));
    if (!order.isEmpty())
        query.Add(QStringLiteral("order by ") + order);
    query.SetInteger(QStringLiteral("nr"), nr);
    query.Open();
    QList<TRow> result;
    for (; !query.Eof(); query.Next()) {
        TRow values;
        for (int i = 0; i < query.FieldCount(); ++i)
            values.insert(query.FieldName(i), query.FieldIsNull(i) ? QStringLiteral("<null>") : query.FieldAsText(i).trimmed());
        result.append(values);
    }
    query.Close();
    return result;
}

TRow golfRow(TDbConnection &db, int nr)
{
    const QList<TRow> found = rows(db, QStringLiteral("Golf"), QStringLiteral("GolfNr"), nr);
    return found.isEmpty() ? TRow() : found.first();
}

QList<TRow> holeRows(TDbConnection &db, int nr)
{
    return rows(db, QStringLiteral("GolfHole"), QStringLiteral("GolfNr"), nr, QStringLiteral("GolfHoleNr"));
}

int count(TDbConnection &db, const QString &table)
{
    TDbQuery query(db);
    query.Add(QStringLiteral("select count(*) from ") + table);
    query.Open();
    return int(query.FieldAsInteger(0));
}

// A par-72 course whose front nine carries the odd stroke indexes and the
// back nine the even ones, in no particular hole order.
const QList<int> coursePars{4, 4, 3, 5, 4, 4, 3, 5, 4, 4, 3, 5, 4, 4, 3, 5, 4, 4};
const QList<int> oddFront{7, 1, 17, 5, 11, 3, 15, 9, 13, 8, 16, 2, 12, 4, 18, 6, 14, 10};

// The same course played the other way round: the even indexes first.
QList<int> evenFront()
{
    return oddFront.mid(9) + oddFront.mid(0, 9);
}

// The pars of the holes played: all, the front nine or the back nine.
QList<int> parsOf(const QString &nine)
{
    QList<int> pars = coursePars;
    for (int i = 0; i < 18; ++i) {
        if ((nine == QLatin1String("front") && i >= 9) || (nine == QLatin1String("back") && i < 9))
            pars[i] = 0;
    }
    return pars;
}

TGolfHoleValues values(const QList<int> &list)
{
    TGolfHoleValues result{};
    for (int i = 0; i < 18; ++i)
        result[i] = list.value(i);
    return result;
}

QList<int> listOf(const TGolfHoleValues &array)
{
    return QList<int>(array.begin(), array.end());
}

// The message of the exception of class E that `call` raises.
template<class E>
QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("<no exception>");
}

QString text(int value)
{
    return QString::number(value);
}

// A card of the course with strokes and putts on the holes whose par is
// given; the other holes are empty.
TGolfHoles card(const QList<int> &pars)
{
    TGolfHoles holes;
    for (int i = 0; i < 18; ++i) {
        if (pars[i] == 0)
            continue;
        holes[i] = TGolfHole{text(pars[i]), text(300 + 10 * i), text(oddFront[i]), text(pars[i] + 1), text(1), text(2)};
    }
    return holes;
}

// The values of a round as typed, so that a test can spoil one of them.
struct TRound
{
    QString par = QStringLiteral("72"), stroke = QStringLiteral("90"), score = QStringLiteral("36"),
            bunker = QStringLiteral("2"), putt = QStringLiteral("33"), slope = QStringLiteral("130"),
            cr = QStringLiteral("71.2"), newHcp = QStringLiteral("18.3"), prevHcp = QStringLiteral("18.4");
    bool calculate = true;
    TGolfHoles holes = card(coursePars);

    void ApplyTo(TGolf &golf) const
    {
        golf.SetRound(par, stroke, calculate, holes, score, bunker, putt, slope, cr, newHcp, prevHcp);
    }
};

std::unique_ptr<TGolf> makeRound(TDbConnection &db, int nr, const QString &date = QStringLiteral("2024-05-17"))
{
    auto golf = std::make_unique<TGolf>();
    golf->SetDatabase(&db);
    golf->SetSessionNr(nr);
    golf->SetSessionData(date, QStringLiteral("Delsjö GK"), QString(), QString());
    golf->SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
    golf->SetSleep(QStringLiteral("-1"), QString());
    golf->SetComment(QString());
    return golf;
}

// Every value of a round as one list, to compare a round with another.
QStringList snapshot(const TGolf &golf)
{
    QStringList result{golf.GetPar(),  golf.GetStroke(), golf.GetPrevHcp(), golf.GetNewHcp(), golf.GetCr(),
                       golf.GetSlope(), golf.GetPutt(),   golf.GetBunker(),  golf.GetScore(),
                       golf.GetCalculate() ? QStringLiteral("1") : QStringLiteral("0")};
    for (const TGolfHole &hole : golf.GetHoles())
        result << hole.Par << hole.Distance << hole.Hcp << hole.Stroke << hole.Score << hole.Putt;
    return result;
}
}

class tst_Golf : public QObject
{
    Q_OBJECT

private slots:
    // --- storage -------------------------------------------------------------

    void roundTripsThroughTheDiary_data()
    {
        QTest::addColumn<QString>("nine");
        QTest::newRow("eighteen holes") << "all";
        QTest::newRow("front nine") << "front";
        QTest::newRow("back nine") << "back";
    }

    void roundTripsThroughTheDiary()
    {
        QFETCH(QString, nine);
        TTestDiary diary;
        auto &db = diary.Connection();
        const TGolfHoles holes = card(parsOf(nine));

        auto golf = makeRound(db, 4);
        golf->SetComment(QStringLiteral("Blåsigt på baksidan"));
        golf->SetRound(QStringLiteral(" 72 "), QStringLiteral("91"), true, holes, QStringLiteral("34"), QString(), QStringLiteral("35"),
                       QStringLiteral("130"), QStringLiteral("71.2"), QString(), QStringLiteral("18.44"));
        golf->Insert();
        QCOMPARE(golf->GetState(), TActivity::TState::Stored);

        TRow stored = golfRow(db, 4);
        QCOMPARE(stored.value(QStringLiteral("GOLFPAR")), QStringLiteral("72"));
        QCOMPARE(stored.value(QStringLiteral("GOLFSTROKE")), QStringLiteral("91"));
        QCOMPARE(stored.value(QStringLiteral("GOLFPUTT")), QStringLiteral("35"));
        QCOMPARE(stored.value(QStringLiteral("GOLFPREVHCP")), QStringLiteral("18.40"));
        QCOMPARE(stored.value(QStringLiteral("GOLFNEWHCP")), QStringLiteral("<null>"));
        QCOMPARE(stored.value(QStringLiteral("GOLFBUNKER")), QStringLiteral("<null>"));
        QCOMPARE(stored.value(QStringLiteral("GOLFCR")), QStringLiteral("71.20"));
        QCOMPARE(stored.value(QStringLiteral("GOLFSLOPE")), QStringLiteral("130"));
        QCOMPARE(stored.value(QStringLiteral("GOLFCALCULATE")), QStringLiteral("1"));
        QCOMPARE(stored.value(QStringLiteral("GOLFSCORE")), QStringLiteral("34.00"));
        QCOMPARE(stored.value(QStringLiteral("GOLFCOMMENT")), QStringLiteral("Blåsigt på baksidan"));

        // Eighteen hole rows whatever was played; the holes not played hold
        // nulls only.
        QList<TRow> storedHoles = holeRows(db, 4);
        QCOMPARE(storedHoles.size(), 18);
        for (int i = 0; i < 18; ++i) {
            const TRow &hole = storedHoles[i];
            QCOMPARE(hole.value(QStringLiteral("GOLFHOLENR")), text(i + 1));
            const QStringList expected = holes[i].Par.isEmpty()
                                             ? QStringList(6, QStringLiteral("<null>"))
                                             : QStringList{holes[i].Par, holes[i].Distance, holes[i].Hcp, holes[i].Stroke,
                                                           holes[i].Score, holes[i].Putt};
            const QStringList got{hole.value(QStringLiteral("GOLFHOLEPAR")),    hole.value(QStringLiteral("GOLFHOLEDISTANCE")),
                                  hole.value(QStringLiteral("GOLFHOLEHCP")),    hole.value(QStringLiteral("GOLFHOLESTROKE")),
                                  hole.value(QStringLiteral("GOLFHOLESCORE")), hole.value(QStringLiteral("GOLFHOLEPUTT"))};
            QCOMPARE(got, expected);
        }

        TGolf loaded;
        loaded.SetDatabase(&db);
        loaded.SetSessionNr(4);
        loaded.Load();
        QCOMPARE(loaded.GetPar(), QStringLiteral("72"));
        QCOMPARE(loaded.GetStroke(), QStringLiteral("91"));
        QCOMPARE(loaded.GetScore(), QStringLiteral("34"));
        QCOMPARE(loaded.GetBunker(), QString());
        QCOMPARE(loaded.GetPutt(), QStringLiteral("35"));
        QCOMPARE(loaded.GetSlope(), QStringLiteral("130"));
        QCOMPARE(loaded.GetCr(), QStringLiteral("71.2"));
        QCOMPARE(loaded.GetPrevHcp(), QStringLiteral("18.4"));
        QCOMPARE(loaded.GetNewHcp(), QString());
        QVERIFY(loaded.GetCalculate());
        QCOMPARE(loaded.GetComment(), QStringLiteral("Blåsigt på baksidan"));
        QCOMPARE(loaded.GetPlace(), QStringLiteral("Delsjö GK"));
        QVERIFY(loaded.GetHoles() == holes);

        // Change the totals, clear some, and correct one hole of the card.
        TGolfHoles changed = loaded.GetHoles();
        const int played = nine == QLatin1String("back") ? 11 : 2;
        changed[played].Stroke = QStringLiteral("7");
        changed[played].Putt = QString();
        loaded.SetComment(QString());
        loaded.SetRound(QStringLiteral("72"), QStringLiteral("95"), false, changed, QString(), QStringLiteral("3"), QString(), QString(),
                        QString(), QStringLiteral("18.6"), QString());
        loaded.Update();
        stored = golfRow(db, 4);
        QCOMPARE(stored.value(QStringLiteral("GOLFSTROKE")), QStringLiteral("95"));
        QCOMPARE(stored.value(QStringLiteral("GOLFNEWHCP")), QStringLiteral("18.60"));
        QCOMPARE(stored.value(QStringLiteral("GOLFBUNKER")), QStringLiteral("3"));
        QCOMPARE(stored.value(QStringLiteral("GOLFCALCULATE")), QStringLiteral("0"));
        for (const char *column : {"GOLFPREVHCP", "GOLFCR", "GOLFSLOPE", "GOLFSCORE", "GOLFPUTT"})
            QCOMPARE(stored.value(QLatin1String(column)), QStringLiteral("<null>"));
        QCOMPARE(stored.value(QStringLiteral("GOLFCOMMENT")), QString());
        storedHoles = holeRows(db, 4);
        QCOMPARE(storedHoles.size(), 18);
        QCOMPARE(storedHoles[played].value(QStringLiteral("GOLFHOLESTROKE")), QStringLiteral("7"));
        QCOMPARE(storedHoles[played].value(QStringLiteral("GOLFHOLEPUTT")), QStringLiteral("<null>"));

        TGolf reloaded;
        reloaded.SetDatabase(&db);
        reloaded.SetSessionNr(4);
        reloaded.Load();
        QCOMPARE(snapshot(reloaded), snapshot(loaded));

        reloaded.Delete();
        for (const char *table : {"TrainingSession", "Golf", "GolfHole"})
            QCOMPARE(count(db, QLatin1String(table)), 0);
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
        auto golf = makeRound(db, 5);
        TRound().ApplyTo(*golf);
        TDbQuery sabotage(db);
        if (operation == QLatin1String("insert")) {
            // A stray row for hole 10: the tenth hole's insert fails after
            // the session, the round and nine holes were written.
            sabotage.Add(QStringLiteral("insert into GolfHole (GolfNr, GolfHoleNr, GolfHolePar) values(5, 10, 9)"));
            sabotage.ExecSQL();
        } else {
            golf->Insert();
            if (operation == QLatin1String("update")) {
                // The last hole row is gone: its update touches no row.
                sabotage.Add(QStringLiteral("delete from GolfHole where GolfNr = 5 and GolfHoleNr = 18"));
            } else {
                // The round's row is gone: its delete touches no row after
                // the hole rows were deleted.
                sabotage.Add(QStringLiteral("delete from Golf where GolfNr = 5"));
            }
            sabotage.ExecSQL();
        }
        const auto sessionBefore = rows(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5);
        const TRow golfBefore = golfRow(db, 5);
        const QList<TRow> holesBefore = holeRows(db, 5);
        const TActivity::TState state = golf->GetState();

        TRound changed;
        changed.stroke = QStringLiteral("99");
        changed.holes[0].Stroke = QStringLiteral("9");
        changed.ApplyTo(*golf);
        try {
            if (operation == QLatin1String("insert"))
                golf->Insert();
            else if (operation == QLatin1String("update"))
                golf->Update();
            else
                golf->Delete();
            QFAIL("the operation should have failed");
        } catch (const EException &) {
        }
        QVERIFY(!db.InTransaction());
        QCOMPARE(golf->GetState(), state);
        QCOMPARE(golf->GetStroke(), QStringLiteral("99"));
        QCOMPARE(rows(db, QStringLiteral("TrainingSession"), QStringLiteral("SessionNr"), 5), sessionBefore);
        QCOMPARE(golfRow(db, 5), golfBefore);
        QCOMPARE(holeRows(db, 5), holesBefore);
        if (operation == QLatin1String("insert")) {
            QVERIFY(sessionBefore.isEmpty());
            QVERIFY(golfBefore.isEmpty());
            QCOMPARE(holesBefore.size(), 1);
        } else {
            QCOMPARE(holesBefore.size(), 17 + (operation == QLatin1String("delete") ? 1 : 0));
        }
    }

    void searchFindsRoundsAndSummaryCountsThem()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        const QList<std::tuple<const char *, const char *, const char *>> rounds{
            {"2023-08-01", "24.0", "101"}, {"2024-05-01", "20.5", "95"}, {"2024-06-01", "", "88"}};
        int nr = 0;
        for (const auto &[date, hcp, strokes] : rounds) {
            auto golf = makeRound(db, ++nr, QLatin1String(date));
            TRound round;
            round.prevHcp = QLatin1String(hcp);
            round.stroke = QLatin1String(strokes);
            round.score = QStringLiteral("31");
            round.ApplyTo(*golf);
            golf->Insert();
        }

        struct TCase
        {
            const char *name;
            TSearchParams filter;
            QList<int> numbers;
        };
        TSearchParams hcpRange;
        hcpRange.HcpFrom = QStringLiteral("20");
        hcpRange.HcpTo = QStringLiteral("22");
        TSearchParams noHcp;
        noHcp.HcpFrom = QStringLiteral("!");
        TSearchParams fewStrokes;
        fewStrokes.StrokesTo = QStringLiteral("95");
        TSearchParams manyStrokes;
        manyStrokes.StrokesFrom = QStringLiteral("96");
        const QList<TCase> cases{{"all", TSearchParams(), {1, 2, 3}},
                                 {"handicap range", hcpRange, {2}},
                                 {"no handicap", noHcp, {3}},
                                 {"at most 95 strokes", fewStrokes, {2, 3}},
                                 {"at least 96 strokes", manyStrokes, {1}}};
        for (const TCase &c : cases) {
            TGolf searcher;
            searcher.SetDatabase(&db);
            std::vector<std::unique_ptr<TActivity>> found;
            searcher.SetRowFoundEvent([&](std::unique_ptr<TActivity> &object) { found.push_back(std::move(object)); });
            QList<int> numbers;
            searcher.Search(c.filter, numbers);
            QVERIFY2(numbers == c.numbers, c.name);
            QCOMPARE(int(found.size()), int(c.numbers.size()));
            for (const auto &object : found) {
                const auto *listed = dynamic_cast<const TGolf *>(object.get());
                QVERIFY(listed);
                QCOMPARE(listed->GetState(), TActivity::TState::Listed);
                QCOMPARE(listed->GetPar(), QStringLiteral("72"));
                QCOMPARE(listed->GetScore(), QStringLiteral("31"));
                QCOMPARE(listed->GetNewHcp(), QStringLiteral("18.3"));
                const int i = listed->GetSessionNr() - 1;
                QCOMPARE(listed->GetStroke(), QLatin1String(std::get<2>(rounds[i])));
                QCOMPARE(listed->GetPrevHcp(), QLatin1String(std::get<1>(rounds[i])));
            }
        }

        TGolf summary;
        summary.SetDatabase(&db);
        QList<TSummary> years;
        QString total;
        summary.GetYearSummaries(1, 1, TSettingsValues(), &years, total, 12, 31);
        QCOMPARE(years.size(), 2);
        QCOMPARE(years[0].Year, QStringLiteral("2023"));
        QCOMPARE(years[0].Value, QStringLiteral("1"));
        QCOMPARE(years[1].Value, QStringLiteral("2"));
        QCOMPARE(total, QStringLiteral("3"));
    }

    void lastNewHcp_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("sessionNr");
        QTest::addColumn<QString>("hcp");
        // Rounds: 1 on 2024-05-01 (20.1), 2 and 3 both on 2024-05-10 (19.5,
        // then 19.2), 4 on 2024-05-20 without a new handicap, 5 on
        // 2024-06-01 (18.0); and a run on 2024-05-25.
        QTest::newRow("latest before the date") << "2024-05-25" << -1 << "19.2";
        QTest::newRow("a round on the date counts") << "2024-06-01" << -1 << "18.0";
        QTest::newRow("the round itself is left out") << "2024-06-01" << 5 << "19.2";
        QTest::newRow("the later of one day") << "2024-05-10" << -1 << "19.2";
        QTest::newRow("the earlier of one day, editing the later") << "2024-05-10" << 3 << "19.5";
        QTest::newRow("first round") << "2024-05-01" << 1 << "";
        QTest::newRow("before every round") << "2024-04-30" << -1 << "";
        QTest::newRow("no date") << "" << -1 << "";
    }

    void lastNewHcp()
    {
        QFETCH(QString, date);
        QFETCH(int, sessionNr);
        QFETCH(QString, hcp);
        TTestDiary diary;
        auto &db = diary.Connection();
        // Round 3 is written before round 2, so that the order of the
        // stored rows cannot stand in for the order of entry.
        const QList<std::tuple<int, const char *, const char *>> rounds{{1, "2024-05-01", "20.1"},
                                                                        {3, "2024-05-10", "19.2"},
                                                                        {2, "2024-05-10", "19.5"},
                                                                        {4, "2024-05-20", ""},
                                                                        {5, "2024-06-01", "18"}};
        for (const auto &[nr, roundDate, newHcp] : rounds) {
            auto golf = makeRound(db, nr, QLatin1String(roundDate));
            TRound round;
            round.newHcp = QLatin1String(newHcp);
            round.ApplyTo(*golf);
            golf->Insert();
        }
        TGolf lookup;
        lookup.SetDatabase(&db);
        QCOMPARE(lookup.LastNewHcp(date, sessionNr), hcp);
    }

    // --- values of a round ---------------------------------------------------

    void setRoundRefusesBadValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("golfMessage"); // empty: a conversion error
        QTest::newRow("negative par") << "par" << "-1" << "";
        QTest::newRow("strokes no number") << "stroke" << "nittio" << "";
        QTest::newRow("points with decimals") << "score" << "31.5" << "";
        QTest::newRow("negative putts") << "putt" << "-2" << "";
        QTest::newRow("handicap above 54") << "prevHcp" << "54.1" << "";
        QTest::newRow("negative new handicap") << "newHcp" << "-0.5" << "";
        QTest::newRow("rating no number") << "cr" << "71,2" << "";
        QTest::newRow("slope too low") << "slope" << "54" << "Slope 54 är ej giltig";
        QTest::newRow("slope too high") << "slope" << "156" << "Slope 156 är ej giltig";
        QTest::newRow("slope with decimals") << "slope" << "130.5" << "";
        QTest::newRow("hole par negative") << "Par" << "-4" << "";
        QTest::newRow("hole longer than 999 m") << "Distance" << "1000" << "";
        QTest::newRow("stroke index above 54") << "Hcp" << "55" << "";
        QTest::newRow("hole strokes no number") << "Stroke" << "x" << "";
        QTest::newRow("hole points negative") << "Score" << "-1" << "";
        QTest::newRow("hole putts negative") << "Putt" << "-1" << "";
    }

    void setRoundRefusesBadValues()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, golfMessage);
        TGolf golf;
        TRound().ApplyTo(golf);
        const QStringList before = snapshot(golf);

        TRound bad;
        bad.calculate = false;
        bad.holes[0].Stroke = QStringLiteral("8");
        QMap<QString, QString *> totals{{"par", &bad.par},       {"stroke", &bad.stroke}, {"score", &bad.score},
                                        {"putt", &bad.putt},     {"slope", &bad.slope},   {"cr", &bad.cr},
                                        {"newHcp", &bad.newHcp}, {"prevHcp", &bad.prevHcp}};
        QMap<QString, QString TGolfHole::*> holeValues{{"Par", &TGolfHole::Par},       {"Distance", &TGolfHole::Distance},
                                                        {"Hcp", &TGolfHole::Hcp},       {"Stroke", &TGolfHole::Stroke},
                                                        {"Score", &TGolfHole::Score},   {"Putt", &TGolfHole::Putt}};
        if (totals.contains(field))
            *totals[field] = value;
        else
            bad.holes[17].*holeValues[field] = value;

        if (golfMessage.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(EConvertError, bad.ApplyTo(golf));
        } else {
            try {
                bad.ApplyTo(golf);
                QFAIL("the slope should be refused");
            } catch (const EGolfError &e) {
                QCOMPARE(e.Message(), golfMessage);
            }
        }
        QCOMPARE(snapshot(golf), before);
    }

    void setRoundNormalizes()
    {
        TGolf golf;
        TRound round;
        round.prevHcp = QStringLiteral(" 18.44");
        round.newHcp = QStringLiteral("  ");
        round.cr = QStringLiteral("71");
        round.par = QStringLiteral(" 72 ");
        round.slope = QString();
        round.holes[3].Hcp = QStringLiteral(" 5 ");
        round.ApplyTo(golf);
        QCOMPARE(golf.GetPrevHcp(), QStringLiteral("18.4"));
        QCOMPARE(golf.GetNewHcp(), QString());
        QCOMPARE(golf.GetCr(), QStringLiteral("71.0"));
        QCOMPARE(golf.GetPar(), QStringLiteral("72"));
        QCOMPARE(golf.GetSlope(), QString());
        QCOMPARE(golf.GetHoles()[3].Hcp, QStringLiteral("5"));
    }

    // --- playing handicap ----------------------------------------------------

    void allowedStrokes_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("hcp");
        QTest::addColumn<QString>("par");
        QTest::addColumn<QString>("strokes");
        QTest::newRow("18.4 x 130 / 113 + 71.2 - 72 = 20.37") << "71.2" << "130" << "18.4" << "72" << "20";
        QTest::newRow("rounds up") << "72.0" << "113" << "10.6" << "72" << "11";
        QTest::newRow("tie down to even") << "72.0" << "113" << "10.5" << "72" << "10";
        QTest::newRow("tie up to even") << "72.0" << "113" << "11.5" << "72" << "12";
        QTest::newRow("negative tie") << "69.0" << "113" << "0.5" << "72" << "-2";
        QTest::newRow("scratch on a hard course") << "74.3" << "140" << "0" << "72" << "2";
        QTest::newRow("rating below par") << "69.6" << "125" << "1.0" << "72" << "-1";
        QTest::newRow("nine holes, eighteen-hole rating") << "71.2" << "130" << "18.4" << "36" << "20";
        QTest::newRow("nine holes, nine-hole rating") << "35.5" << "113" << "18.0" << "36" << "17";
        QTest::newRow("nine-hole par-3 course") << "26.1" << "90" << "30.0" << "27" << "22";
        QTest::newRow("handicap 36") << "72.0" << "113" << "36.0" << "72" << "36";
        QTest::newRow("handicap 36.5") << "71.2" << "130" << "36.5" << "72" << "";
        QTest::newRow("handicap 54") << "72.0" << "113" << "54" << "72" << "";
        QTest::newRow("handicap above 54") << "72.0" << "113" << "54.1" << "72" << "";
        QTest::newRow("no rating") << "" << "130" << "18.4" << "72" << "";
        QTest::newRow("no slope") << "71.2" << " " << "18.4" << "72" << "";
        QTest::newRow("no handicap") << "71.2" << "130" << "" << "72" << "";
        QTest::newRow("no par") << "71.2" << "130" << "18.4" << "" << "";
        QTest::newRow("largest 32-bit result") << "2147483719" << "113" << "0" << "72" << "2147483647";
        QTest::newRow("smallest 32-bit result") << "-2147483576" << "113" << "0" << "72" << "-2147483648";
    }

    void allowedStrokes()
    {
        QFETCH(QString, cr);
        QFETCH(QString, slope);
        QFETCH(QString, hcp);
        QFETCH(QString, par);
        QFETCH(QString, strokes);
        QCOMPARE(TGolf::AllowedStrokes(cr, slope, hcp, par), strokes);
    }

    // The fields of the entry page keep these values out, but the
    // computation does not rely on it.
    void allowedStrokesRefusesWhatARoundCannotHold_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::addColumn<QString>("hcp");
        QTest::addColumn<QString>("par");
        QTest::addColumn<QString>("message");
        QTest::newRow("rating 2147483720.5") << "2147483720.5" << "0" << "72" << "CR 2147483720.5 är ej giltigt";
        QTest::newRow("rating 3000000000.5") << "3000000000.5" << "0" << "72" << "CR 3000000000.5 är ej giltigt";
        QTest::newRow("rating far below par") << " -2147483577 " << "0" << "72" << "CR -2147483577 är ej giltigt";
        QTest::newRow("rating of 301 digits") << "1" + QString(300, u'0') << "0" << "72"
                                                     << "CR 1" + QString(300, u'0') + " är ej giltigt";
        QTest::newRow("negative handicap") << "71.2" << "-0.1" << "72" << "HCP -0.1 är ej giltigt";
        QTest::newRow("negative par") << "71.2" << "18.4" << "-72" << "Par -72 är ej giltigt";
        QTest::newRow("par above 32 bits") << "71.2" << "18.4" << "3000000000" << "Par 3000000000 är ej giltigt";
    }

    void allowedStrokesRefusesWhatARoundCannotHold()
    {
        QFETCH(QString, cr);
        QFETCH(QString, hcp);
        QFETCH(QString, par);
        QFETCH(QString, message);
        QCOMPARE(messageOf<EGolfError>([&] { TGolf::AllowedStrokes(cr, QStringLiteral("113"), hcp, par); }), message);
    }

    void allowedStrokesRefusesBadSlope()
    {
        for (const char *slope : {"54", "156"}) {
            try {
                TGolf::AllowedStrokes(QStringLiteral("71.2"), QLatin1String(slope), QStringLiteral("18.4"), QStringLiteral("72"));
                QFAIL("the slope should be refused");
            } catch (const EGolfError &e) {
                QCOMPARE(e.Message(), QStringLiteral("Slope %1 är ej giltig").arg(QLatin1String(slope)));
            }
        }
        for (int slope : {55, 155})
            TGolf::CheckSlope(slope);
        QVERIFY_THROWS_EXCEPTION(EConvertError, TGolf::AllowedStrokes(QStringLiteral("71.2"), QStringLiteral("130"),
                                                                      QStringLiteral("18,4"), QStringLiteral("72")));
    }

    // --- strokes per hole ----------------------------------------------------

    void receivedStrokes_data()
    {
        QTest::addColumn<QList<int>>("indexes");
        QTest::addColumn<QString>("nine");
        QTest::addColumn<QString>("allowed");
        QTest::addColumn<QList<int>>("byIndex"); // strokes received on stroke index 1..18
        const QList<int> none(18, 0);
        auto with = [](QList<int> list, std::initializer_list<std::pair<int, int>> changes) {
            for (const auto &[index, strokes] : changes)
                list[index - 1] = strokes;
            return list;
        };
        const QList<int> ones(18, 1);
        QTest::newRow("18 holes, no strokes") << oddFront << "all" << "0" << none;
        QTest::newRow("18 holes, 20 strokes") << oddFront << "all" << "20" << with(ones, {{1, 2}, {2, 2}});
        QTest::newRow("18 holes, 40 strokes") << oddFront << "all" << "40" << with(QList<int>(18, 2), {{1, 3}, {2, 3}, {3, 3}, {4, 3}});
        QTest::newRow("18 holes, 5 strokes") << evenFront() << "all" << "5" << with(none, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
        // A plus handicap gives strokes back from the easiest hole, index 18.
        QTest::newRow("18 holes, plus 2") << oddFront << "all" << "-2" << with(none, {{18, -1}, {17, -1}});
        QTest::newRow("18 holes, plus 19") << oddFront << "all" << "-19" << with(QList<int>(18, -1), {{18, -2}});
        QTest::newRow("odd nine, 15 strokes give 8") << oddFront << "front" << "15"
                                                      << with(none, {{1, 1}, {3, 1}, {5, 1}, {7, 1}, {9, 1}, {11, 1}, {13, 1}, {15, 1}});
        QTest::newRow("even nine, 15 strokes give 7") << evenFront() << "front" << "15"
                                                       << with(none, {{2, 1}, {4, 1}, {6, 1}, {8, 1}, {10, 1}, {12, 1}, {14, 1}});
        QTest::newRow("odd nine, 20 strokes give 10") << oddFront << "front" << "20"
                                                       << with(none, {{1, 2}, {3, 1}, {5, 1}, {7, 1}, {9, 1}, {11, 1}, {13, 1}, {15, 1}, {17, 1}});
        QTest::newRow("odd nine, plus 3 gives back 1") << oddFront << "front" << "-3" << with(none, {{17, -1}});
        QTest::newRow("even nine, plus 3 gives back 2") << evenFront() << "front" << "-3" << with(none, {{18, -1}, {16, -1}});
        QTest::newRow("back nine, 15 strokes") << oddFront << "back" << "15"
                                               << with(none, {{2, 1}, {4, 1}, {6, 1}, {8, 1}, {10, 1}, {12, 1}, {14, 1}});
        QTest::newRow("back nine, odd indexes, 9 strokes") << evenFront() << "back" << "9"
                                                           << with(none, {{1, 1}, {3, 1}, {5, 1}, {7, 1}, {9, 1}});
        // Only the back nine's indexes typed: the front nine's cells are 0.
        QList<int> backTyped = oddFront;
        for (int i = 0; i < 9; ++i)
            backTyped[i] = 0;
        QTest::newRow("back nine, front cells empty") << backTyped << "back" << "4" << with(none, {{2, 1}, {4, 1}});

        // The ends of the 32-bit range: the strokes are shared out evenly,
        // the remainder going to the first indexes of the walk.
        // 2147483647 = 18 x 119304647 + 1; the nine's half 1073741824 =
        // 9 x 119304647 + 1; 2147483648 = 18 x 119304647 + 2.
        constexpr int share = 119304647;
        auto onParity = [](int parity, int value) {
            QList<int> list(18, 0);
            for (int index = 1; index <= 18; ++index)
                if (index % 2 == parity)
                    list[index - 1] = value;
            return list;
        };
        QTest::newRow("18 holes, 2147483647 strokes") << oddFront << "all" << "2147483647"
                                                      << with(QList<int>(18, share), {{1, share + 1}});
        QTest::newRow("odd nine, 2147483647 strokes") << oddFront << "front" << "2147483647"
                                                      << with(onParity(1, share), {{1, share + 1}});
        QTest::newRow("18 holes, plus 2147483648") << oddFront << "all" << "-2147483648"
                                                   << with(QList<int>(18, -share), {{18, -share - 1}, {17, -share - 1}});
        QTest::newRow("even nine, plus 2147483648") << evenFront() << "front" << "-2147483648"
                                                    << with(onParity(0, -share), {{18, -share - 1}});
    }

    void receivedStrokes()
    {
        QFETCH(QList<int>, indexes);
        QFETCH(QString, nine);
        QFETCH(QString, allowed);
        QFETCH(QList<int>, byIndex);
        const QList<int> pars = parsOf(nine);
        QList<int> expected = pars;
        for (int hole = 0; hole < 18; ++hole) {
            if (pars[hole] > 0)
                expected[hole] += byIndex[indexes[hole] - 1];
        }
        QCOMPARE(listOf(TGolf::ReceivedStrokes(values(indexes), values(pars), allowed)), expected);
    }

    void receivedStrokesRefusesBadCards_data()
    {
        QTest::addColumn<QList<int>>("indexes");
        QTest::addColumn<QList<int>>("pars");
        QTest::addColumn<QString>("message");
        QList<int> parSix = coursePars;
        parSix[3] = 6;
        QTest::newRow("par 6") << oddFront << parSix << "Par är alltid mellan 3 and 5 (hål 4)";
        QList<int> parTwo = parsOf(QStringLiteral("front"));
        parTwo[12] = 2;
        QTest::newRow("par 2 on a hole not in the nine") << oddFront << parTwo << "Par är alltid mellan 3 and 5 (hål 13)";
        QList<int> tenHoles = parsOf(QStringLiteral("front"));
        tenHoles[9] = 4;
        QTest::newRow("ten holes") << oddFront << tenHoles << "Man kan inte spela 10 hål";
        QTest::newRow("no holes") << oddFront << QList<int>(18, 0) << "Man kan inte spela 0 hål";
        QList<int> noStart = oddFront;
        noStart[0] = 0;
        QTest::newRow("nine holes, first index empty") << noStart << parsOf(QStringLiteral("front")) << "Hittar ingen start HCP (0)";
        QList<int> startTooHigh = oddFront;
        startTooHigh[9] = 19;
        QTest::newRow("back nine, first index 19") << startTooHigh << parsOf(QStringLiteral("back")) << "Hittar ingen start HCP (19)";
        QList<int> mixed = oddFront;
        std::swap(mixed[8], mixed[9]);
        QTest::newRow("mixed front nine, 18 holes") << mixed << coursePars << "Mixade jämna och ojämna HCP på 9 hål";
        QList<int> mixedBack = oddFront;
        std::swap(mixedBack[0], mixedBack[9]);
        QTest::newRow("mixed back nine, played") << mixedBack << parsOf(QStringLiteral("back"))
                                                 << "Mixade jämna och ojämna HCP på 9 hål";
        QList<int> twice = oddFront;
        twice[17] = 2;
        QTest::newRow("index used twice") << twice << coursePars << "Hittade inte HCP 10";
        QList<int> twiceInNine = oddFront;
        twiceInNine[4] = 1;
        QTest::newRow("index used twice in a nine") << twiceInNine << parsOf(QStringLiteral("front")) << "Hittade inte HCP 11";
        // Index 17 is only on hole 10, which was not played.
        QList<int> onUnplayed = oddFront;
        onUnplayed[2] = 19;
        onUnplayed[9] = 17;
        QTest::newRow("index only on a hole not played") << onUnplayed << parsOf(QStringLiteral("front")) << "Hittade inte HCP 17";
    }

    void receivedStrokesRefusesBadCards()
    {
        QFETCH(QList<int>, indexes);
        QFETCH(QList<int>, pars);
        QFETCH(QString, message);
        try {
            TGolf::ReceivedStrokes(values(indexes), values(pars), QStringLiteral("12"));
            QFAIL("the card should be refused");
        } catch (const EGolfError &e) {
            QCOMPARE(e.Message(), message);
        }
    }

    void receivedStrokesNeedAWholeNumber()
    {
        QVERIFY_THROWS_EXCEPTION(EConvertError, TGolf::ReceivedStrokes(values(oddFront), values(coursePars), QString()));
        QVERIFY_THROWS_EXCEPTION(EConvertError, TGolf::ReceivedStrokes(values(oddFront), values(coursePars), QStringLiteral("1.5")));
    }

    void findHole()
    {
        for (int hole = 1; hole <= 18; ++hole)
            QCOMPARE(TGolf::FindHole(oddFront[hole - 1], values(oddFront)), hole);
        try {
            TGolf::FindHole(19, values(oddFront));
            QFAIL("there is no index 19");
        } catch (const EGolfError &e) {
            QCOMPARE(e.Message(), QStringLiteral("Hittade inte HCP 19"));
        }
    }

    // --- points --------------------------------------------------------------

    void points_data()
    {
        QTest::addColumn<QList<int>>("allowed");
        QTest::addColumn<QList<int>>("played");
        QTest::addColumn<QList<int>>("points");
        QTest::addColumn<QString>("total");
        const QList<int> pad(13, 0);
        QTest::newRow("two over, one over, net par, one and two under")
            << QList<int>{5, 5, 5, 5, 5} + pad << QList<int>{7, 6, 5, 4, 3} + pad << QList<int>{0, 1, 2, 3, 4} + pad << "10";
        QTest::newRow("far over still 0") << QList<int>{4, 6} + QList<int>(16, 0) << QList<int>{12, 6} + QList<int>(16, 0)
                                          << QList<int>{0, 2} + QList<int>(16, 0) << "2";
        QTest::newRow("holes not played give nothing")
            << QList<int>{0, 0, 4} + QList<int>(15, 0) << QList<int>{5, 0, 4} + QList<int>(15, 0) << QList<int>{0, 0, 2} + QList<int>(15, 0)
            << "2";
        QTest::newRow("net par everywhere") << QList<int>(18, 5) << QList<int>(18, 5) << QList<int>(18, 2) << "36";
        QTest::newRow("largest total a round counts")
            << QList<int>{2147483645} + QList<int>(17, 0) << QList<int>(18, 1) << QList<int>{2147483646} + QList<int>(17, 0)
            << "2147483646";
        QTest::newRow("far more strokes than allowed") << QList<int>{5} + QList<int>(17, 0)
                                                       << QList<int>{2147483647} + QList<int>(17, 0) << QList<int>(18, 0) << "0";
    }

    void points()
    {
        QFETCH(QList<int>, allowed);
        QFETCH(QList<int>, played);
        QFETCH(QList<int>, points);
        QFETCH(QString, total);
        TGolfHoleValues perHole{};
        perHole.fill(-7);
        QCOMPARE(TGolf::Points(values(allowed), values(played), perHole), total);
        QCOMPARE(listOf(perHole), points);
    }

    void pointsRefuseWhatARoundCannotCount_data()
    {
        QTest::addColumn<QList<int>>("allowed");
        QTest::addColumn<QList<int>>("played");
        QTest::addColumn<QString>("message");
        QTest::newRow("1073741825 allowed on every hole") << QList<int>(18, 1073741825) << QList<int>(18, 1)
                                                          << "Poängsumman 19327352868 är ej giltig";
        QTest::newRow("1073741825 allowed on two holes") << QList<int>{1073741825, 1073741825} + QList<int>(16, 0)
                                                         << QList<int>(18, 1) << "Poängsumman 2147483652 är ej giltig";
        QTest::newRow("one hole past 32 bits") << QList<int>{2147483647} + QList<int>(17, 0) << QList<int>(18, 1)
                                               << "Poängsumman 2147483648 är ej giltig";
    }

    void pointsRefuseWhatARoundCannotCount()
    {
        QFETCH(QList<int>, allowed);
        QFETCH(QList<int>, played);
        QFETCH(QString, message);
        TGolfHoleValues perHole{};
        perHole.fill(-7);
        QCOMPARE(messageOf<EGolfError>([&] { TGolf::Points(values(allowed), values(played), perHole); }), message);
        QCOMPARE(listOf(perHole), QList<int>(18, -7));
    }

    void pointsNeedAStrokeOnEveryPlayedHole()
    {
        QList<int> played(18, 5);
        played[6] = 0;
        TGolfHoleValues perHole{};
        perHole.fill(-7);
        try {
            TGolf::Points(values(QList<int>(18, 5)), values(played), perHole);
            QFAIL("hole 7 has no strokes");
        } catch (const EGolfError &e) {
            QCOMPARE(e.Message(), QStringLiteral("Färre än 1 slag på hål 7"));
        }
        QCOMPARE(listOf(perHole), QList<int>(18, -7));
    }

    // From the course's values to the points of a round played in par on
    // every hole: each stroke received is one point above 2 per hole.
    void parRoundScoresTwoPerHolePlusReceivedStrokes_data()
    {
        QTest::addColumn<QString>("nine");
        QTest::addColumn<QString>("cr");
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("hcp");
        QTest::addColumn<QString>("total");
        QTest::newRow("18 holes, 20 strokes") << "all" << "71.2" << "130" << "18.4" << "56";
        QTest::newRow("front nine, nine-hole rating: 10 of 20") << "front" << "35.6" << "130" << "18.4" << "28";
        QTest::newRow("back nine, eighteen-hole rating: 10 of 20") << "back" << "71.2" << "130" << "18.4" << "28";
        QTest::newRow("18 holes, handicap 36: 36 strokes") << "all" << "72.0" << "113" << "36.0" << "72";
        QTest::newRow("18 holes, 2 strokes back") << "all" << "70.0" << "113" << "0.0" << "34";
    }

    void parRoundScoresTwoPerHolePlusReceivedStrokes()
    {
        QFETCH(QString, nine);
        QFETCH(QString, cr);
        QFETCH(QString, slope);
        QFETCH(QString, hcp);
        QFETCH(QString, total);
        TGolf golf;
        TRound round;
        round.holes = card(parsOf(nine));
        round.ApplyTo(golf);
        const TGolfHoles holes = golf.GetHoles();
        const TGolfHoleValues pars = TGolf::CardRow(holes, &TGolfHole::Par);
        int par = 0;
        for (int value : pars)
            par += value;
        const QString allowed = TGolf::AllowedStrokes(cr, slope, hcp, QString::number(par));
        QVERIFY(!allowed.isEmpty());
        const TGolfHoleValues perHole = TGolf::ReceivedStrokes(TGolf::CardRow(holes, &TGolfHole::Hcp), pars, allowed);
        TGolfHoleValues points{};
        QCOMPARE(TGolf::Points(perHole, pars, points), total);
    }
};

QTEST_GUILESS_MAIN(tst_Golf)
#include "tst_Golf.moc"
