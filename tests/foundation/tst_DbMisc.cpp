// The SQL writers: the lines they append, the parameters they bind and the
// errors they raise, and statements built with them run against a real diary.

#include "TestDiary.h"

#include "foundation/DbMisc.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace DbMisc;

namespace
{
// The class and message of what the call raised, or "none".
QString raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EDbMiscErrorInvalidValue &e) {
        return QStringLiteral("EDbMiscErrorInvalidValue: ") + e.Message();
    } catch (const EDbMiscErrorInvalidType &e) {
        return QStringLiteral("EDbMiscErrorInvalidType: ") + e.Message();
    } catch (const EDbMiscErrorNotActive &e) {
        return QStringLiteral("EDbMiscErrorNotActive: ") + e.Message();
    } catch (const EDbMiscError &e) {
        return QStringLiteral("EDbMiscError: ") + e.Message();
    } catch (const EException &e) {
        return QStringLiteral("EException: ") + e.Message();
    }
    return QStringLiteral("none");
}

QVariant integer(qint64 value)
{
    return QVariant(value);
}

// No parameter expected.
const QVariant unbound;

// The bound value and its type, or an invalid variant when nothing is bound.
void compareBound(const TDbQuery &query, const QString &param, const QVariant &expected)
{
    if (!expected.isValid()) {
        QVERIFY2(!query.HasParam(param), qPrintable(param));
        return;
    }
    QVERIFY2(query.HasParam(param), qPrintable(param));
    const QVariant actual = query.Param(param);
    QCOMPARE(actual.typeId(), expected.typeId());
    QCOMPARE(actual, expected);
}

const QString noneRaised = QStringLiteral("none");
} // namespace

class tst_DbMisc : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TTestDiary> m_diary;

    TDbConnection &db() { return m_diary->Connection(); }

    // Session rows for the searches, written with the writers themselves.
    struct TSessionRow
    {
        int nr;
        QString date;
        QString activity;
        QString place;
        QString weight;
        QString avgPulse;
    };

    void insertSession(const TSessionRow &row)
    {
        TDbQuery query(db());
        AddLine(&query, QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity,"));
        AddLine(&query, QStringLiteral("SessionPlace, SessionWeight, SessionAvgPulse, SessionWeather, SessionComment)"));
        AddLine(&query, QStringLiteral("values("));
        AddValue(&query, QStringLiteral("snr"), vkInteger, QStringLiteral(","), false, QString::number(row.nr));
        AddValue(&query, QStringLiteral("sdate"), vkDate, QStringLiteral(","), false, row.date);
        AddValue(&query, QStringLiteral("sact"), vkText, QStringLiteral(","), false, row.activity);
        AddValue(&query, QStringLiteral("splace"), vkText, QStringLiteral(","), false, row.place);
        AddValue(&query, QStringLiteral("swei"), vkDecimal, QStringLiteral(","), true, row.weight);
        AddValue(&query, QStringLiteral("savg"), vkInteger, QStringLiteral(","), true, row.avgPulse);
        AddValue(&query, QStringLiteral("swea"), vkInteger, QStringLiteral(","), false, QStringLiteral("-1"));
        AddValue(&query, QStringLiteral("scom"), vkText, QStringLiteral(")"), false, QString());
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);
    }

    QList<int> selectedSessions(const std::function<void(TDbQuery &)> &condition)
    {
        TDbQuery query(db());
        AddLine(&query, QStringLiteral("select SessionNr from TrainingSession"));
        AddLine(&query, QStringLiteral("where 1 = 1"));
        condition(query);
        AddLine(&query, QStringLiteral("order by SessionNr"));
        query.Open();
        QList<int> numbers;
        for (; !query.Eof(); query.Next())
            numbers.append(GetColumn(&query, QStringLiteral("SessionNr"), vkInteger).toInt());
        return numbers;
    }

private slots:
    void initTestCase()
    {
        m_diary = std::make_unique<TTestDiary>();
        const QList<TSessionRow> rows = {
            {1, QStringLiteral("2024-01-10"), QStringLiteral("RUN"), QStringLiteral("Slottsskogen"), QStringLiteral("80"),
             QStringLiteral("140")},
            {2, QStringLiteral("2024-02-20"), QStringLiteral("BIK"), QString(), QString(), QString()},
            {3, QStringLiteral("2024-03-05"), QStringLiteral("SKI"), QStringLiteral("Delsjön"), QStringLiteral("72.5"),
             QStringLiteral("120")},
            {4, QStringLiteral("2024-03-05"), QStringLiteral("RUN"), QStringLiteral("O'Learys 100% bana"), QString(),
             QStringLiteral("160")},
            {5, QStringLiteral("2024-04-01"), QStringLiteral("SWI"), QStringLiteral("Skatås"), QStringLiteral("81.25"),
             QStringLiteral("150")},
        };
        for (const TSessionRow &row : rows) {
            insertSession(row);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void cleanupTestCase() { m_diary.reset(); }

    void everyWriterRefusesAMissingQuery()
    {
        const QStringList list{QStringLiteral("RUN")};
        const QList<std::pair<const char *, std::function<void()>>> calls = {
            {"AddLine", [] { AddLine(nullptr, QStringLiteral("select 1 from rdb$database")); }},
            {"BindParam", [] { BindParam(nullptr, QStringLiteral("p"), vkText, false, QStringLiteral("x")); }},
            {"AddValue",
             [] { AddValue(nullptr, QStringLiteral("p"), vkText, QStringLiteral(","), false, QStringLiteral("x")); }},
            {"AddSetClause",
             [] {
                 AddSetClause(nullptr, QStringLiteral("c"), QStringLiteral("p"), QStringLiteral(","), false,
                              QStringLiteral("x"), vkText);
             }},
            {"AddFilter",
             [] { AddFilter(nullptr, QStringLiteral("c"), foEquals, false, QStringLiteral("x"), vkText, QStringLiteral("p")); }},
            {"AddInList", [&list] { AddInList(nullptr, QStringLiteral("c"), QStringLiteral("p"), &list); }},
            {"GetColumn", [] { GetColumn(nullptr, QStringLiteral("c"), vkText); }},
        };
        for (const auto &[name, call] : calls)
            QVERIFY2(raised(call) == QStringLiteral("EDbMiscError: Query är nil"), name);
    }

    void bindParam_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QVariant>("bound");
        QTest::addColumn<QString>("error");

        const QString refused = QStringLiteral("EDbMiscErrorInvalidValue: Parameter p tillåter ej detta värde (%1)");

        QTest::newRow("text") << int(vkText) << false << QStringLiteral("Delsjön") << QVariant(QStringLiteral("Delsjön")) << noneRaised;
        QTest::newRow("text kept untrimmed") << int(vkText) << true << QStringLiteral("  ") << QVariant(QStringLiteral("  ")) << noneRaised;
        QTest::newRow("empty text becomes a blank") << int(vkText) << false << QString() << QVariant(QStringLiteral(" ")) << noneRaised;
        QTest::newRow("decimal") << int(vkDecimal) << false << QStringLiteral("12.5") << QVariant(12.5) << noneRaised;
        QTest::newRow("negative decimal") << int(vkDecimal) << true << QStringLiteral("-0.25") << QVariant(-0.25) << noneRaised;
        QTest::newRow("integer") << int(vkInteger) << false << QStringLiteral("42") << integer(42) << noneRaised;
        QTest::newRow("integer -1") << int(vkInteger) << false << QStringLiteral("-1") << integer(-1) << noneRaised;
        QTest::newRow("date") << int(vkDate) << true << QStringLiteral("2024-02-29") << QVariant(QDate(2024, 2, 29)) << noneRaised;
        QTest::newRow("flag 1") << int(vkFlag) << false << QStringLiteral("1") << integer(1) << noneRaised;
        QTest::newRow("flag 0") << int(vkFlag) << false << QStringLiteral("0") << integer(0) << noneRaised;

        QTest::newRow("empty nullable is the caller's error") << int(vkText) << true << QString() << unbound
                                                              << QStringLiteral("EDbMiscError: Ogiltigt internt funktionsanrop");
        QTest::newRow("empty decimal") << int(vkDecimal) << false << QString() << unbound << refused.arg(QStringLiteral("<Empty>"));
        QTest::newRow("empty integer") << int(vkInteger) << false << QString() << unbound << refused.arg(QStringLiteral("<Empty>"));
        QTest::newRow("empty date") << int(vkDate) << false << QString() << unbound << refused.arg(QStringLiteral("<Empty>"));
        QTest::newRow("decimal comma") << int(vkDecimal) << false << QStringLiteral("12,5") << unbound << refused.arg(QStringLiteral("12,5"));
        QTest::newRow("blanks as decimal") << int(vkDecimal) << true << QStringLiteral("  ") << unbound << refused.arg(QStringLiteral("  "));
        QTest::newRow("integer with decimals") << int(vkInteger) << false << QStringLiteral("1.5") << unbound << refused.arg(QStringLiteral("1.5"));
        QTest::newRow("integer beyond 32 bits") << int(vkInteger) << false << QStringLiteral("3000000000") << unbound
                                                << refused.arg(QStringLiteral("3000000000"));
        QTest::newRow("no such day") << int(vkDate) << false << QStringLiteral("2023-02-29") << unbound << refused.arg(QStringLiteral("2023-02-29"));
        QTest::newRow("empty date mask") << int(vkDate) << false << EmptyDateMask << unbound << refused.arg(EmptyDateMask);
        QTest::newRow("flag 2") << int(vkFlag) << false << QStringLiteral("2") << unbound << refused.arg(QStringLiteral("2"));
        QTest::newRow("unknown kind") << 5 << false << QStringLiteral("1") << unbound
                                      << QStringLiteral("EDbMiscErrorInvalidType: Ogiltig parameter typ för parameter p");
        QTest::newRow("unknown kind, empty") << -1 << false << QString() << unbound << refused.arg(QStringLiteral("<Empty>"));
    }

    void bindParam()
    {
        QFETCH(int, kind);
        QFETCH(bool, nullable);
        QFETCH(QString, value);
        QFETCH(QVariant, bound);
        QFETCH(QString, error);

        TDbQuery query(db());
        QCOMPARE(raised([&] { BindParam(&query, QStringLiteral("p"), kind, nullable, value); }), error);
        compareBound(query, QStringLiteral("p"), bound);
        QVERIFY(query.SQL().isEmpty());
    }

    void addValue_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QVariant>("bound");
        QTest::addColumn<QString>("error");

        QTest::newRow("integer") << int(vkInteger) << false << QStringLiteral(",") << QStringLiteral("7") << QStringLiteral(":p,")
                                 << integer(7) << noneRaised;
        QTest::newRow("last value") << int(vkText) << false << QStringLiteral(")") << QStringLiteral("Skatås") << QStringLiteral(":p)")
                                    << QVariant(QStringLiteral("Skatås")) << noneRaised;
        QTest::newRow("empty nullable decimal is null") << int(vkDecimal) << true << QStringLiteral(",") << QString()
                                                        << QStringLiteral("null,") << unbound << noneRaised;
        QTest::newRow("empty nullable, last") << int(vkDate) << true << QStringLiteral(")") << QString() << QStringLiteral("null)")
                                              << unbound << noneRaised;
        QTest::newRow("empty text is a blank") << int(vkText) << false << QStringLiteral(",") << QString() << QStringLiteral(":p,")
                                               << QVariant(QStringLiteral(" ")) << noneRaised;
        QTest::newRow("blanks are bound, not null") << int(vkText) << true << QStringLiteral(",") << QStringLiteral("   ")
                                                    << QStringLiteral(":p,") << QVariant(QStringLiteral("   ")) << noneRaised;
        QTest::newRow("empty decimal not nullable") << int(vkDecimal) << false << QStringLiteral(",") << QString()
                                                    << QStringLiteral(":p,") << unbound
                                                    << QStringLiteral("EDbMiscErrorInvalidValue: Parameter p tillåter ej detta värde (<Empty>)");
        QTest::newRow("blank decimal refused on insert") << int(vkDecimal) << true << QStringLiteral(",") << QStringLiteral(" ")
                                                         << QStringLiteral(":p,") << unbound
                                                         << QStringLiteral("EDbMiscErrorInvalidValue: Parameter p tillåter ej detta värde ( )");
    }

    void addValue()
    {
        QFETCH(int, kind);
        QFETCH(bool, nullable);
        QFETCH(QString, separator);
        QFETCH(QString, value);
        QFETCH(QString, line);
        QFETCH(QVariant, bound);
        QFETCH(QString, error);

        TDbQuery query(db());
        AddLine(&query, QStringLiteral("values("));
        QCOMPARE(raised([&] { AddValue(&query, QStringLiteral("p"), kind, separator, nullable, value); }), error);
        QCOMPARE(query.SQL(), QStringList({QStringLiteral("values("), line}));
        compareBound(query, QStringLiteral("p"), bound);
    }

    void addSetClause_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QVariant>("bound");
        QTest::addColumn<QString>("error");

        QTest::newRow("decimal") << int(vkDecimal) << true << QStringLiteral(",") << QStringLiteral("80.5")
                                 << QStringLiteral("SessionWeight = :swei,") << QVariant(80.5) << noneRaised;
        QTest::newRow("last column") << int(vkDecimal) << true << QStringLiteral(" ") << QStringLiteral("80")
                                     << QStringLiteral("SessionWeight = :swei ") << QVariant(80.0) << noneRaised;
        QTest::newRow("empty nullable is null") << int(vkDecimal) << true << QStringLiteral(",") << QString()
                                                << QStringLiteral("SessionWeight = null,") << unbound << noneRaised;
        QTest::newRow("blanks nullable are null") << int(vkText) << true << QStringLiteral(",") << QStringLiteral("   ")
                                                  << QStringLiteral("SessionWeight = null,") << unbound << noneRaised;
        QTest::newRow("untrimmed text is bound") << int(vkText) << false << QStringLiteral(",") << QStringLiteral(" Delsjön ")
                                                 << QStringLiteral("SessionWeight = :swei,") << QVariant(QStringLiteral(" Delsjön "))
                                                 << noneRaised;
        QTest::newRow("empty text is a blank") << int(vkText) << false << QStringLiteral(" ") << QString()
                                               << QStringLiteral("SessionWeight = :swei ") << QVariant(QStringLiteral(" ")) << noneRaised;
        QTest::newRow("refused value names the column")
            << int(vkDecimal) << true << QStringLiteral(",") << QStringLiteral("abc") << QStringLiteral("SessionWeight = :swei,")
            << unbound << QStringLiteral("EDbMiscErrorInvalidValue: Parameter swei tillåter ej detta värde (abc). Kolumn: SessionWeight");
        QTest::newRow("refused empty names the column")
            << int(vkInteger) << false << QStringLiteral(",") << QString() << QStringLiteral("SessionWeight = :swei,") << unbound
            << QStringLiteral("EDbMiscErrorInvalidValue: Parameter swei tillåter ej detta värde (<Empty>). Kolumn: SessionWeight");
        QTest::newRow("unknown kind names the column")
            << 9 << false << QStringLiteral(",") << QStringLiteral("1") << QStringLiteral("SessionWeight = :swei,") << unbound
            << QStringLiteral("EDbMiscErrorInvalidType: Ogiltig parameter typ för parameter swei. Kolumn: SessionWeight");
    }

    void addSetClause()
    {
        QFETCH(int, kind);
        QFETCH(bool, nullable);
        QFETCH(QString, separator);
        QFETCH(QString, value);
        QFETCH(QString, line);
        QFETCH(QVariant, bound);
        QFETCH(QString, error);

        TDbQuery query(db());
        QCOMPARE(raised([&] {
                     AddSetClause(&query, QStringLiteral("SessionWeight"), QStringLiteral("swei"), separator, nullable, value, kind);
                 }),
                 error);
        QCOMPARE(query.SQL(), QStringList{line});
        compareBound(query, QStringLiteral("swei"), bound);
    }

    void addFilter_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QVariant>("bound");

        const QString column = QStringLiteral("and Col");
        QTest::newRow("contains") << int(foContains) << int(vkText) << false << QStringLiteral("sjö")
                                  << QStringList{column + QStringLiteral(" like :p")} << QVariant(QStringLiteral("%sjö%"));
        QTest::newRow("ends with") << int(foEndsWith) << int(vkText) << false << QStringLiteral("sjö")
                                   << QStringList{column + QStringLiteral(" like :p")} << QVariant(QStringLiteral("%sjö"));
        QTest::newRow("starts with") << int(foStartsWith) << int(vkText) << true << QStringLiteral("sjö")
                                     << QStringList{column + QStringLiteral(" like :p")} << QVariant(QStringLiteral("sjö%"));
        QTest::newRow("text equals") << int(foEquals) << int(vkText) << false << QStringLiteral("sjö")
                                     << QStringList{column + QStringLiteral(" = :p")} << QVariant(QStringLiteral("sjö"));
        QTest::newRow("typed wildcard kept") << int(foContains) << int(vkText) << false << QStringLiteral("100%")
                                             << QStringList{column + QStringLiteral(" like :p")} << QVariant(QStringLiteral("%100%%"));
        QTest::newRow("integer equals") << int(foEquals) << int(vkInteger) << true << QStringLiteral("140")
                                        << QStringList{column + QStringLiteral(" = :p")} << integer(140);
        QTest::newRow("at least") << int(foAtLeast) << int(vkInteger) << true << QStringLiteral("140")
                                  << QStringList{column + QStringLiteral(" >= :p")} << integer(140);
        QTest::newRow("greater") << int(foGreater) << int(vkDecimal) << true << QStringLiteral("80.5")
                                 << QStringList{column + QStringLiteral(" > :p")} << QVariant(80.5);
        QTest::newRow("at most") << int(foAtMost) << int(vkDecimal) << false << QStringLiteral("80")
                                 << QStringList{column + QStringLiteral(" <= :p")} << QVariant(80.0);
        QTest::newRow("less") << int(foLess) << int(vkDate) << false << QStringLiteral("2024-03-05")
                              << QStringList{column + QStringLiteral(" < :p")} << QVariant(QDate(2024, 3, 5));
        QTest::newRow("empty asks for nothing") << int(foContains) << int(vkText) << false << QString() << QStringList() << unbound;
        QTest::newRow("empty date mask asks for nothing") << int(foEquals) << int(vkDate) << false << EmptyDateMask << QStringList()
                                                          << unbound;
        QTest::newRow("! nullable") << int(foEquals) << int(vkInteger) << true << QStringLiteral("!")
                                    << QStringList{column + QStringLiteral(" is null")} << unbound;
        QTest::newRow("! nullable text") << int(foContains) << int(vkText) << true << QStringLiteral("!")
                                         << QStringList{column + QStringLiteral(" is null")} << unbound;
        QTest::newRow("! text not nullable") << int(foContains) << int(vkText) << false << QStringLiteral("!")
                                             << QStringList{column + QStringLiteral(" = ' '")} << unbound;
        QTest::newRow("* nullable") << int(foAtLeast) << int(vkDate) << true << QStringLiteral("*")
                                    << QStringList{column + QStringLiteral(" is not null")} << unbound;
        QTest::newRow("* text not nullable") << int(foEquals) << int(vkText) << false << QStringLiteral("*")
                                             << QStringList{column + QStringLiteral(" <> ' '")} << unbound;
        QTest::newRow("! of a nullable flag") << int(foEquals) << int(vkFlag) << true << QStringLiteral("!")
                                              << QStringList{column + QStringLiteral(" is null")} << unbound;
    }

    void addFilter()
    {
        QFETCH(int, op);
        QFETCH(int, kind);
        QFETCH(bool, nullable);
        QFETCH(QString, value);
        QFETCH(QStringList, lines);
        QFETCH(QVariant, bound);

        TDbQuery query(db());
        AddFilter(&query, QStringLiteral("Col"), op, nullable, value, kind, QStringLiteral("p"));
        QCOMPARE(query.SQL(), lines);
        compareBound(query, QStringLiteral("p"), bound);
    }

    void addFilterRefused_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("error");

        const QString badOperator = QStringLiteral("EDbMiscError: Ogiltig operator. Kolumn: Col");
        QTest::newRow("contains on an integer") << int(foContains) << int(vkInteger) << true << QStringLiteral("3") << badOperator;
        QTest::newRow("contains on an integer, empty") << int(foContains) << int(vkInteger) << true << QString() << badOperator;
        QTest::newRow("ends with on a date") << int(foEndsWith) << int(vkDate) << true << QStringLiteral("2024-01-01") << badOperator;
        QTest::newRow("at least on a text") << int(foAtLeast) << int(vkText) << false << QStringLiteral("a") << badOperator;
        QTest::newRow("operator beyond less") << 8 << int(vkInteger) << false << QStringLiteral("1") << badOperator;
        QTest::newRow("negative operator") << -1 << int(vkText) << false << QStringLiteral("a") << badOperator;
        QTest::newRow("decimal equals") << int(foEquals) << int(vkDecimal) << true << QStringLiteral("80")
                                        << QStringLiteral("EDbMiscError: Jämförelser med flyttal är osäkra. Kolumn: Col");
        QTest::newRow("decimal equals, empty") << int(foEquals) << int(vkDecimal) << true << QString()
                                               << QStringLiteral("EDbMiscError: Jämförelser med flyttal är osäkra. Kolumn: Col");
        QTest::newRow("! of an integer not nullable") << int(foEquals) << int(vkInteger) << false << QStringLiteral("!")
                                                      << QStringLiteral("EDbMiscError: Varken null eller tom kan sökas. Kolumn: Col");
        QTest::newRow("* of a date not nullable") << int(foAtLeast) << int(vkDate) << false << QStringLiteral("*")
                                                  << QStringLiteral("EDbMiscError: Varken icke-null eller icke-tom kan sökas. Kolumn: Col");
        QTest::newRow("flag compared with a value") << int(foEquals) << int(vkFlag) << false << QStringLiteral("1")
                                                    << QStringLiteral("EDbMiscError: Ogiltig parametertyp. Kolumn: Col");
        QTest::newRow("unknown kind") << int(foEquals) << 12 << false << QStringLiteral("1")
                                      << QStringLiteral("EDbMiscError: Ogiltig parametertyp. Kolumn: Col");
        QTest::newRow("no number") << int(foAtLeast) << int(vkInteger) << true << QStringLiteral("12a")
                                   << QStringLiteral("EDbMiscErrorInvalidValue: Parameter p tillåter ej detta värde (12a). Kolumn: Col");
        QTest::newRow("no date") << int(foLess) << int(vkDate) << true << QStringLiteral("2024-13-01")
                                 << QStringLiteral("EDbMiscErrorInvalidValue: Parameter p tillåter ej detta värde (2024-13-01). Kolumn: Col");
    }

    void addFilterRefused()
    {
        QFETCH(int, op);
        QFETCH(int, kind);
        QFETCH(bool, nullable);
        QFETCH(QString, value);
        QFETCH(QString, error);

        TDbQuery query(db());
        AddLine(&query, QStringLiteral("where 1 = 1"));
        QCOMPARE(raised([&] { AddFilter(&query, QStringLiteral("Col"), op, nullable, value, kind, QStringLiteral("p")); }), error);
        QCOMPARE(query.SQL(), QStringList{QStringLiteral("where 1 = 1")});
        QVERIFY(!query.HasParam(QStringLiteral("p")));
    }

    void addInList_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("params");

        QTest::newRow("none") << QStringList() << QStringList() << QStringList();
        QTest::newRow("one") << QStringList{QStringLiteral("RUN")} << QStringList{QStringLiteral("and SessionActivity = :cact")}
                             << QStringList{QStringLiteral("cact")};
        QTest::newRow("two") << QStringList{QStringLiteral("RUN"), QStringLiteral("SKI")}
                             << QStringList{QStringLiteral("and (SessionActivity = :cact0"), QStringLiteral("or SessionActivity = :cact1)")}
                             << QStringList{QStringLiteral("cact0"), QStringLiteral("cact1")};
        QTest::newRow("three") << QStringList{QStringLiteral("RUN"), QStringLiteral("SKI"), QStringLiteral("BIK")}
                               << QStringList{QStringLiteral("and (SessionActivity = :cact0"), QStringLiteral("or SessionActivity = :cact1"),
                                              QStringLiteral("or SessionActivity = :cact2)")}
                               << QStringList{QStringLiteral("cact0"), QStringLiteral("cact1"), QStringLiteral("cact2")};
    }

    void addInList()
    {
        QFETCH(QStringList, values);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, params);

        TDbQuery query(db());
        AddInList(&query, QStringLiteral("SessionActivity"), QStringLiteral("cact"), &values);
        QCOMPARE(query.SQL(), lines);
        for (qsizetype i = 0; i < params.size(); ++i)
            compareBound(query, params.at(i), QVariant(values.at(i)));
        const QString unexpected = values.size() == 1 ? QStringLiteral("cact0") : QStringLiteral("cact");
        QVERIFY(!query.HasParam(unexpected));
    }

    void addInListRefused()
    {
        TDbQuery query(db());
        const QStringList values{QStringLiteral("RUN")};
        QCOMPARE(raised([&] { AddInList(&query, QStringLiteral("SessionActivity"), QStringLiteral("cact"), nullptr); }),
                 QStringLiteral("EDbMiscErrorInvalidValue: Parameter är nil"));
        QCOMPARE(raised([&] { AddInList(&query, QString(), QStringLiteral("cact"), &values); }),
                 QStringLiteral("EDbMiscErrorInvalidValue: Ogiltigt kolumnnams ()"));
        QVERIFY(query.SQL().isEmpty());
    }

    void getColumnNeedsAnOpenQuery()
    {
        TDbQuery query(db());
        AddLine(&query, QStringLiteral("select SessionNr from TrainingSession"));
        QCOMPARE(raised([&] { GetColumn(&query, QStringLiteral("SessionNr"), vkInteger); }),
                 QStringLiteral("EDbMiscErrorNotActive: SQL-frågan ej aktiv"));
        query.Open();
        query.Close();
        QCOMPARE(raised([&] { GetColumn(&query, QStringLiteral("SessionNr"), vkInteger); }),
                 QStringLiteral("EDbMiscErrorNotActive: SQL-frågan ej aktiv"));
    }

    void insertedValuesReadBack()
    {
        // Every kind, nulls and a blank for an empty text, through a real
        // insert and select.
        TTestDiary diary;
        TDbQuery query(diary.Connection());
        AddLine(&query, QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity, SessionPlace,"));
        AddLine(&query, QStringLiteral("SessionWeight, SessionRestPulse, SessionAvgPulse, SessionWeather, SessionTemperature,"));
        AddLine(&query, QStringLiteral("SessionWind, SessionSleepDuration, SessionComment)"));
        AddLine(&query, QStringLiteral("values("));
        AddValue(&query, QStringLiteral("snr"), vkInteger, QStringLiteral(","), false, QStringLiteral("3"));
        AddValue(&query, QStringLiteral("sdate"), vkDate, QStringLiteral(","), false, QStringLiteral("2024-05-17"));
        AddValue(&query, QStringLiteral("sact"), vkText, QStringLiteral(","), false, QStringLiteral("RUN"));
        AddValue(&query, QStringLiteral("splace"), vkText, QStringLiteral(","), false, QString());
        AddValue(&query, QStringLiteral("swei"), vkDecimal, QStringLiteral(","), true, QStringLiteral("3"));
        AddValue(&query, QStringLiteral("srest"), vkInteger, QStringLiteral(","), true, QString());
        AddValue(&query, QStringLiteral("savg"), vkInteger, QStringLiteral(","), true, QStringLiteral("3"));
        AddValue(&query, QStringLiteral("swea"), vkInteger, QStringLiteral(","), false, QStringLiteral("-1"));
        AddValue(&query, QStringLiteral("stemp"), vkDecimal, QStringLiteral(","), true, QStringLiteral("-3.5"));
        AddValue(&query, QStringLiteral("swind"), vkDecimal, QStringLiteral(","), true, QString());
        AddValue(&query, QStringLiteral("ssleep"), vkDecimal, QStringLiteral(","), true, QStringLiteral("7.25"));
        AddValue(&query, QStringLiteral("scom"), vkText, QStringLiteral(")"), false, QStringLiteral("  Lugn  runda  "));
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);

        query.Clear();
        AddLine(&query, QStringLiteral("insert into ActivityNames (ActivityShortName, ActivityName, SummarySelected)"));
        AddLine(&query, QStringLiteral("values("));
        AddValue(&query, QStringLiteral("ashort"), vkText, QStringLiteral(","), false, QStringLiteral("RUN"));
        AddValue(&query, QStringLiteral("aname"), vkText, QStringLiteral(","), false, QStringLiteral("Löpning"));
        AddValue(&query, QStringLiteral("asel"), vkFlag, QStringLiteral(")"), true, QStringLiteral("1"));
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);

        query.Clear();
        AddLine(&query, QStringLiteral("select * from TrainingSession, ActivityNames"));
        AddLine(&query, QStringLiteral("where SessionActivity = ActivityShortName and SessionPlace = ' '"));
        query.Open();
        QVERIFY(!query.Eof());
        const QList<std::tuple<const char *, int, QString>> expected = {
            {"SessionNr", vkInteger, QStringLiteral("3")},
            {"SessionDate", vkDate, QStringLiteral("2024-05-17")},
            {"SessionActivity", vkText, QStringLiteral("RUN")},
            {"SessionPlace", vkText, QString()},
            {"SessionWeight", vkDecimal, QStringLiteral("3.00")},
            {"SessionRestPulse", vkInteger, QString()},
            {"SessionAvgPulse", vkInteger, QStringLiteral("3")},
            {"SessionWeather", vkInteger, QStringLiteral("-1")},
            {"SessionTemperature", vkDecimal, QStringLiteral("-3.50")},
            {"SessionWind", vkDecimal, QString()},
            {"SessionSleepDuration", vkDecimal, QStringLiteral("7.25")},
            {"SessionComment", vkText, QStringLiteral("Lugn  runda")},
            {"ActivityName", vkText, QStringLiteral("Löpning")},
            {"SummarySelected", vkFlag, QStringLiteral("1")},
        };
        for (const auto &[column, kind, text] : expected)
            QCOMPARE(GetColumn(&query, QString::fromLatin1(column), kind), text);
        QVERIFY(query.FieldIsNull(QStringLiteral("SessionRestPulse")));
        QVERIFY(query.FieldIsNull(QStringLiteral("SessionWind")));
        query.Next();
        QVERIFY(query.Eof());

        // An update built with the set writers: blanks clear a nullable
        // column, an empty text becomes a blank again.
        query.Clear();
        AddLine(&query, QStringLiteral("update TrainingSession set"));
        AddSetClause(&query, QStringLiteral("SessionWeight"), QStringLiteral("swei"), QStringLiteral(","), true, QStringLiteral("  "), vkDecimal);
        AddSetClause(&query, QStringLiteral("SessionRestPulse"), QStringLiteral("srest"), QStringLiteral(","), true, QStringLiteral("48"), vkInteger);
        AddSetClause(&query, QStringLiteral("SessionComment"), QStringLiteral("scom"), QStringLiteral(" "), false, QString(), vkText);
        AddLine(&query, QStringLiteral("where SessionNr = :snr"));
        BindParam(&query, QStringLiteral("snr"), vkInteger, false, QStringLiteral("3"));
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);

        query.Clear();
        AddLine(&query, QStringLiteral("select SessionWeight, SessionRestPulse, SessionComment from TrainingSession"));
        AddLine(&query, QStringLiteral("where SessionComment = ' '"));
        query.Open();
        QVERIFY(!query.Eof());
        QVERIFY(query.FieldIsNull(QStringLiteral("SessionWeight")));
        QCOMPARE(GetColumn(&query, QStringLiteral("SessionWeight"), vkDecimal), QString());
        QCOMPARE(GetColumn(&query, QStringLiteral("SessionRestPulse"), vkInteger), QStringLiteral("48"));
        QCOMPARE(GetColumn(&query, QStringLiteral("SessionComment"), vkText), QString());
    }

    void filtersSelectRows_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("nullable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("sessions");

        const QString place = QStringLiteral("SessionPlace");
        const QString weight = QStringLiteral("SessionWeight");
        const QString pulse = QStringLiteral("SessionAvgPulse");
        const QString date = QStringLiteral("SessionDate");

        QTest::newRow("no place") << place << int(foContains) << false << QStringLiteral("!") << int(vkText) << QList<int>{2};
        QTest::newRow("some place") << place << int(foContains) << false << QStringLiteral("*") << int(vkText) << QList<int>{1, 3, 4, 5};
        QTest::newRow("no weight") << weight << int(foAtLeast) << true << QStringLiteral("!") << int(vkDecimal) << QList<int>{2, 4};
        QTest::newRow("some weight") << weight << int(foAtLeast) << true << QStringLiteral("*") << int(vkDecimal) << QList<int>{1, 3, 5};
        QTest::newRow("weight at most 80") << weight << int(foAtMost) << true << QStringLiteral("80") << int(vkDecimal) << QList<int>{1, 3};
        QTest::newRow("weight above 80") << weight << int(foGreater) << true << QStringLiteral("80") << int(vkDecimal) << QList<int>{5};
        QTest::newRow("pulse 140") << pulse << int(foEquals) << true << QStringLiteral("140") << int(vkInteger) << QList<int>{1};
        QTest::newRow("pulse at least 140") << pulse << int(foAtLeast) << true << QStringLiteral("140") << int(vkInteger) << QList<int>{1, 4, 5};
        QTest::newRow("pulse below 140") << pulse << int(foLess) << true << QStringLiteral("140") << int(vkInteger) << QList<int>{3};
        QTest::newRow("on a day") << date << int(foEquals) << false << QStringLiteral("2024-03-05") << int(vkDate) << QList<int>{3, 4};
        QTest::newRow("from a day") << date << int(foAtLeast) << false << QStringLiteral("2024-03-05") << int(vkDate) << QList<int>{3, 4, 5};
        QTest::newRow("after a day") << date << int(foGreater) << false << QStringLiteral("2024-03-05") << int(vkDate) << QList<int>{5};
        QTest::newRow("empty date mask") << date << int(foAtMost) << false << EmptyDateMask << int(vkDate) << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("place contains") << place << int(foContains) << false << QStringLiteral("sjö") << int(vkText) << QList<int>{3};
        QTest::newRow("place starts with") << place << int(foStartsWith) << false << QStringLiteral("Sk") << int(vkText) << QList<int>{5};
        QTest::newRow("place ends with") << place << int(foEndsWith) << false << QStringLiteral("gen") << int(vkText) << QList<int>{1};
        QTest::newRow("place equals") << place << int(foEquals) << false << QStringLiteral("Delsjön") << int(vkText) << QList<int>{3};
        QTest::newRow("a quote is only a value") << place << int(foContains) << false << QStringLiteral("O'L") << int(vkText) << QList<int>{4};
        QTest::newRow("a typed _ is a wildcard") << place << int(foStartsWith) << false << QStringLiteral("O_Learys") << int(vkText)
                                                 << QList<int>{4};
    }

    void filtersSelectRows()
    {
        QFETCH(QString, column);
        QFETCH(int, op);
        QFETCH(bool, nullable);
        QFETCH(QString, value);
        QFETCH(int, kind);
        QFETCH(QList<int>, sessions);

        QCOMPARE(selectedSessions([&](TDbQuery &query) {
                     AddFilter(&query, column, op, nullable, value, kind, QStringLiteral("p"));
                 }),
                 sessions);
    }

    void filtersCombine()
    {
        QCOMPARE(selectedSessions([](TDbQuery &query) {
                     AddFilter(&query, QStringLiteral("SessionDate"), foAtLeast, false, QStringLiteral("2024-02-01"), vkDate,
                               QStringLiteral("dfrom"));
                     AddFilter(&query, QStringLiteral("SessionDate"), foLess, false, QStringLiteral("2024-04-01"), vkDate,
                               QStringLiteral("dto"));
                     AddFilter(&query, QStringLiteral("SessionWeight"), foAtLeast, true, QStringLiteral("*"), vkDecimal,
                               QStringLiteral("swei"));
                 }),
                 QList<int>{3});
    }

    void inListSelectsRows_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QList<int>>("sessions");

        QTest::newRow("none") << QStringList() << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("one") << QStringList{QStringLiteral("BIK")} << QList<int>{2};
        QTest::newRow("two") << QStringList{QStringLiteral("RUN"), QStringLiteral("SKI")} << QList<int>{1, 3, 4};
        QTest::newRow("three") << QStringList{QStringLiteral("RUN"), QStringLiteral("BIK"), QStringLiteral("SWI")}
                               << QList<int>{1, 2, 4, 5};
    }

    void inListSelectsRows()
    {
        QFETCH(QStringList, codes);
        QFETCH(QList<int>, sessions);

        QCOMPARE(selectedSessions([&](TDbQuery &query) {
                     AddInList(&query, QStringLiteral("SessionActivity"), QStringLiteral("cact"), &codes);
                     AddFilter(&query, QStringLiteral("SessionNr"), foAtLeast, false, QStringLiteral("1"), vkInteger,
                               QStringLiteral("snr"));
                 }),
                 sessions);
    }
};

QTEST_GUILESS_MAIN(tst_DbMisc)
#include "tst_DbMisc.moc"
