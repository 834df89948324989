// The yearly summaries without widgets, on a real diary opened by the
// application object: the year rows of a part of the year, the column
// headers of every family, seasons over New Year, 29 February and the
// refusal of a part that is no part of the year.

#include "DiaryDatabase.h"
#include "TestDiary.h"

#include "analysis/Summaries.h"
#include "app/CorvaleApp.h"
#include "foundation/CorvaleExceptions.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"

#include <QAtomicInt>
#include <QtTest>

Q_DECLARE_METATYPE(TSettingsValues)

namespace
{
using TTime = TSettingsValues::TSummaryTime;
using TTDT = TSettingsValues::TSummaryTDT;
using TDist = TSettingsValues::TSummaryDist;

// A diary of its own in fresh folders, opened as the program opens one.
class TDiary
{
public:
    TDiary() : m_created(Create(m_folders)), m_app(Options())
    {
        m_app.OpenDatabase();
        m_summaries.SetDatabase(&m_app.GetDatabase());
        m_summaries.SetFactory(&m_app.GetFactory());
        m_summaries.SetNames(&m_app.GetActivityNameList());
    }

    TCorvaleApp &App() { return m_app; }
    TSummaries &Summaries() { return m_summaries; }
    QString Name(const char *code) { return m_app.GetActivityNameList().NameOfCode(QString::fromLatin1(code)); }

    // An entry saved through the application object as the entry page saves
    // one; the duration and distance where the type has them.
    int Add(const char *code, const QString &date, const QString &duration = QString(), const QString &distance = QString())
    {
        const int nr = m_app.NewActivity(Name(code));
        TActivity *entry = m_app.FindActivity(nr);
        entry->SetSessionData(date, QStringLiteral("Hemma"), QString(), QString());
        entry->SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        entry->SetSleep(QStringLiteral("-1"), QString());
        entry->SetComment(QString());
        if (auto *timed = dynamic_cast<TTimeActivity *>(entry))
            timed->SetDuration(duration);
        if (auto *both = dynamic_cast<TTimeDistanceActivity *>(entry)) {
            both->SetDistance(distance);
            both->SetCourseNr(QString());
            const QStringList none;
            both->SetLaps(&none, &none);
        } else if (auto *far = dynamic_cast<TDistanceActivity *>(entry)) {
            far->SetDistance(distance);
        }
        m_app.SaveActivity(nr);
        return nr;
    }

    // Only these types in the summaries.
    void Choose(const QStringList &codes)
    {
        QStringList list = codes;
        m_summaries.SetSummaryActivities(&list);
    }

    // The table of a run.
    TSummaryTable Run(int fromMonth, int fromDay, int toMonth, int toDay, const TSettingsValues &settings = {})
    {
        TSummaryResults results;
        QStringList totals;
        m_summaries.Summarize(fromMonth, fromDay, settings, &totals, &results, toDay, toMonth);
        return TSummaries::BuildTable(results, totals);
    }

private:
    static bool Create(const TTestFolders &folders)
    {
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
        return true;
    }

    static TCorvaleApp::TOptions Options()
    {
        static QAtomicInt serial;
        TCorvaleApp::TOptions options;
        options.connectionName = QStringLiteral("tst_Summaries-%1").arg(serial.fetchAndAddRelaxed(1));
        return options;
    }

    TTestFolders m_folders;
    bool m_created;
    TCorvaleApp m_app;
    TSummaries m_summaries;
};

// The rows as "year: cell | cell" texts, for readable comparisons.
QStringList rowTexts(const TSummaryTable &table)
{
    QStringList rows;
    for (const QStringList &row : table.Rows)
        rows.append(row.constFirst() + QStringLiteral(": ") + row.mid(1).join(QStringLiteral(" | ")));
    return rows;
}
}

class tst_Summaries : public QObject
{
    Q_OBJECT

private slots:
    // From 1 January to 31 December every year from the oldest to the
    // newest session of a chosen type gets its row, the years between
    // without any session too, with empty cells; the columns are the chosen
    // types in Swedish order and the totals row sums each column.
    void everyYearOfTheRangeGetsARow()
    {
        TDiary d;
        d.Add("RUN", QStringLiteral("2001-05-01"), QStringLiteral("50"), QStringLiteral("10"));
        d.Add("RUN", QStringLiteral("2004-03-01"), QStringLiteral("30"), QStringLiteral("5.5"));
        d.Add("SKI", QStringLiteral("2003-02-01"), QStringLiteral("120"), QStringLiteral("20"));
        // Biking is not chosen: its older session widens nothing.
        d.Add("BIK", QStringLiteral("1999-06-01"), QStringLiteral("60"), QStringLiteral("30"));
        d.Choose({QStringLiteral("SKI"), QStringLiteral("RUN")});

        QCOMPARE(d.Summaries().ColumnNames(), QStringList({d.Name("SKI"), d.Name("RUN")}));
        const TSummaryTable table = d.Run(1, 1, 12, 31);
        QCOMPARE(table.FirstYear, 2001);
        QCOMPARE(table.LastYear, 2004);
        QCOMPARE(rowTexts(table), QStringList({QStringLiteral("2001:  | 10.00"), QStringLiteral("2002:  | "),
                                               QStringLiteral("2003: 20.00 | "), QStringLiteral("2004:  | 5.50")}));
        QCOMPARE(table.Totals, QStringList({QStringLiteral("Totalt"), QStringLiteral("20.00"), QStringLiteral("15.50")}));
    }

    // Nothing chosen: no column and nothing found. A chosen type without
    // sessions: its column, but no row.
    void withoutChosenTypesOrSessionsNothingIsShown()
    {
        TDiary d;
        d.Add("RUN", QStringLiteral("2004-03-01"), QStringLiteral("30"), QStringLiteral("5"));
        d.Choose({});
        QVERIFY(d.Summaries().ColumnNames().isEmpty());
        QCOMPARE(d.Run(1, 1, 12, 31).YearCount(), 0);

        d.Choose({QStringLiteral("SKI")});
        TSummaryResults results;
        QStringList totals;
        d.Summaries().Summarize(1, 1, TSettingsValues(), &totals, &results, 31, 12);
        QCOMPARE(results.size(), 1);
        QVERIFY(results.constFirst()->isEmpty());
        QVERIFY(TSummaries::FirstYear(&results).isEmpty());
        QCOMPARE(TSummaries::BuildTable(results, totals).YearCount(), 0);
    }

    // The header and the year's value of each family under each setting:
    // 90 minutes of a year show as 1.30 hours.
    void headersAndValuesPerFamily_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("duration");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<TSettingsValues>("settings");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("value");

        const auto with = [](auto change) {
            TSettingsValues settings;
            change(settings);
            return settings;
        };
        QTest::newRow("time in hours") << "AER" << "90" << "" << with([](auto &s) { s.SummaryTime = TTime::Hours; })
                                       << " (tim)" << "1.30";
        QTest::newRow("time in minutes") << "AER" << "90" << "" << with([](auto &s) { s.SummaryTime = TTime::Minutes; })
                                         << " (min)" << "90";
        QTest::newRow("time as sessions") << "AER" << "90" << "" << with([](auto &s) { s.SummaryTime = TTime::Count; })
                                          << "" << "1";
        // The game setting, not the time setting, rules the games.
        QTest::newRow("game in hours") << "FLO" << "90" << ""
                                       << with([](auto &s) {
                                              s.SummaryGame = TTime::Hours;
                                              s.SummaryTime = TTime::Minutes;
                                          })
                                       << " (tim)" << "1.30";
        QTest::newRow("game as sessions") << "FLO" << "90" << "" << with([](auto &s) { s.SummaryGame = TTime::Count; })
                                          << "" << "1";
        QTest::newRow("time and distance in km") << "RUN" << "90" << "12.5"
                                                 << with([](auto &s) { s.SummaryTDT = TTDT::Distance; }) << " (km)"
                                                 << "12.50";
        QTest::newRow("time and distance in hours") << "RUN" << "90" << "12.5"
                                                    << with([](auto &s) { s.SummaryTDT = TTDT::Hours; }) << " (tim)"
                                                    << "1.30";
        QTest::newRow("time and distance in minutes") << "RUN" << "90" << "12.5"
                                                      << with([](auto &s) { s.SummaryTDT = TTDT::Minutes; }) << " (min)"
                                                      << "90";
        QTest::newRow("time and distance as sessions") << "RUN" << "90" << "12.5"
                                                       << with([](auto &s) { s.SummaryTDT = TTDT::Count; }) << "" << "1";
        QTest::newRow("distance in km") << "TRE" << "" << "7.5" << with([](auto &s) { s.SummaryDist = TDist::Distance; })
                                        << " (km)" << "7.5";
        QTest::newRow("distance as sessions") << "TRE" << "" << "7.5"
                                              << with([](auto &s) { s.SummaryDist = TDist::Count; }) << "" << "1";
        QTest::newRow("simple type") << "DOW" << "" << "" << TSettingsValues() << "" << "1";
        QTest::newRow("other") << "OTH" << "" << "" << TSettingsValues() << "" << "1";
    }

    void headersAndValuesPerFamily()
    {
        QFETCH(QString, code);
        QFETCH(QString, duration);
        QFETCH(QString, distance);
        QFETCH(TSettingsValues, settings);
        QFETCH(QString, unit);
        QFETCH(QString, value);

        TDiary d;
        d.Add(code.toLatin1().constData(), QStringLiteral("2005-06-01"), duration, distance);
        d.Choose({code});
        const QString name = d.Name(code.toLatin1().constData());
        const QString header = unit.isEmpty() ? name : name + QLatin1Char('\r') + unit;
        QCOMPARE(d.Summaries().ColumnHeaders(settings), QStringList{header});
        const TSummaryTable table = d.Run(1, 1, 12, 31, settings);
        QCOMPARE(rowTexts(table), QStringList{QStringLiteral("2005: ") + value});
        QCOMPARE(table.Totals.value(1), value);
    }

    // A part of the year whose start lies after its end runs over New Year;
    // what falls in autumn and what falls in spring count in their own
    // calendar years, and the summer between counts nowhere.
    void aSeasonOverNewYear_data()
    {
        QTest::addColumn<QList<int>>("period");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("total");

        QTest::newRow("October to March") << QList<int>{10, 1, 3, 31}
                                          << QStringList{"2003: 10.00", "2004: 3.00", "2005: 1.00"} << "14.00";
        QTest::newRow("the whole year") << QList<int>{1, 1, 12, 31}
                                        << QStringList{"2003: 10.00", "2004: 103.00", "2005: 1.00"} << "114.00";
        QTest::newRow("summer only") << QList<int>{4, 1, 9, 30} << QStringList{"2004: 100.00"} << "100.00";
        // Within one month, round the year: only the days between are out.
        QTest::newRow("from 15 March round to 14 March") << QList<int>{3, 15, 3, 14}
                                                         << QStringList{"2003: 10.00", "2004: 103.00", "2005: 1.00"}
                                                         << "114.00";
        QTest::newRow("from 20 October round to 10 October") << QList<int>{10, 20, 10, 10}
                                                             << QStringList{"2003: 10.00", "2004: 102.00", "2005: 1.00"}
                                                             << "113.00";
    }

    void aSeasonOverNewYear()
    {
        QFETCH(QList<int>, period);
        QFETCH(QStringList, rows);
        QFETCH(QString, total);

        TDiary d;
        d.Add("SKI", QStringLiteral("2003-12-15"), QStringLiteral("60"), QStringLiteral("10"));
        d.Add("SKI", QStringLiteral("2004-01-10"), QStringLiteral("60"), QStringLiteral("2"));
        d.Add("SKI", QStringLiteral("2004-06-01"), QStringLiteral("60"), QStringLiteral("100"));
        d.Add("SKI", QStringLiteral("2004-10-15"), QStringLiteral("60"), QStringLiteral("1"));
        d.Add("SKI", QStringLiteral("2005-03-31"), QStringLiteral("60"), QStringLiteral("1"));
        d.Choose({QStringLiteral("SKI")});
        const TSummaryTable table = d.Run(period[0], period[1], period[2], period[3]);
        QCOMPARE(rowTexts(table), rows);
        QCOMPARE(table.Totals.value(1), total);
    }

    // 29 February is a day of every part of the year that holds it, and it
    // only occurs in a leap year: 1996 counts it, 1997 has none.
    void theTwentyNinthOfFebruary_data()
    {
        QTest::addColumn<QList<int>>("period");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("29 February alone") << QList<int>{2, 29, 2, 29} << QStringList{"1996: 5.00"};
        QTest::newRow("up to 28 February") << QList<int>{1, 1, 2, 28} << QStringList{"1997: 3.00"};
        QTest::newRow("from 29 February") << QList<int>{2, 29, 12, 31} << QStringList{"1996: 5.00", "1997: 4.00"};
        QTest::newRow("from 1 March") << QList<int>{3, 1, 12, 31} << QStringList{"1997: 4.00"};
    }

    void theTwentyNinthOfFebruary()
    {
        QFETCH(QList<int>, period);
        QFETCH(QStringList, rows);

        TDiary d;
        d.Add("RUN", QStringLiteral("1996-02-29"), QStringLiteral("30"), QStringLiteral("5"));
        d.Add("RUN", QStringLiteral("1997-02-28"), QStringLiteral("30"), QStringLiteral("3"));
        d.Add("RUN", QStringLiteral("1997-03-01"), QStringLiteral("30"), QStringLiteral("4"));
        d.Choose({QStringLiteral("RUN")});
        QCOMPARE(rowTexts(d.Run(period[0], period[1], period[2], period[3])), rows);
    }

    // The part of the year the window asks for: months 1..12 and days of
    // their month in a leap year. The reason names the day and the month.
    void thePartOfTheYearIsChecked_data()
    {
        QTest::addColumn<QList<int>>("period");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");

        QTest::newRow("1 January to 31 December") << QList<int>{1, 1, 12, 31} << 0 << "";
        QTest::newRow("29 February") << QList<int>{2, 29, 2, 29} << 0 << "";
        QTest::newRow("30 February") << QList<int>{2, 30, 3, 1} << int(TPeriodProblem::FromDay)
                                     << "Det finns ingen dag 30 i februari. Ange en dag från 1 till 29.";
        QTest::newRow("31 April") << QList<int>{1, 1, 4, 31} << int(TPeriodProblem::ToDay)
                                  << "Det finns ingen dag 31 i april. Ange en dag från 1 till 30.";
        QTest::newRow("day 0") << QList<int>{1, 0, 4, 3} << int(TPeriodProblem::FromDay)
                               << "Det finns ingen dag 0 i januari. Ange en dag från 1 till 31.";
        QTest::newRow("month 13") << QList<int>{1, 1, 13, 1} << int(TPeriodProblem::ToMonth)
                                  << "Månaden måste vara ett tal från 1 till 12.";
        // The first fault is told first.
        QTest::newRow("both ends") << QList<int>{0, 1, 2, 30} << int(TPeriodProblem::FromMonth)
                                   << "Månaden måste vara ett tal från 1 till 12.";
    }

    void thePartOfTheYearIsChecked()
    {
        QFETCH(QList<int>, period);
        QFETCH(int, field);
        QFETCH(QString, message);
        const TPeriodProblem problem = TSummaries::CheckPeriod(period[0], period[1], period[2], period[3]);
        QCOMPARE(int(problem.Field), field);
        QCOMPARE(problem.Message, message);
    }

    // The faults of a run reach the caller as the program's errors: a day
    // no year has, a run without names or lists.
    void faultsOfARun()
    {
        TDiary d;
        d.Choose({QStringLiteral("RUN")});
        TSummaryResults results;
        QStringList totals;
        const auto messageOf = [&](auto call) -> QString {
            try {
                call();
            } catch (const EException &e) {
                return e.Message();
            }
            return QString();
        };
        QCOMPARE(messageOf([&] { d.Summaries().Summarize(2, 30, TSettingsValues(), &totals, &results, 31, 12); }),
                 QStringLiteral("Classhie 04. Invalid date: 2-30"));
        QCOMPARE(messageOf([&] { d.Summaries().Summarize(1, 1, TSettingsValues(), &totals, &results, 31, 4); }),
                 QStringLiteral("Classhie 05. Invalid date: 4-31"));
        QCOMPARE(messageOf([&] { d.Summaries().Summarize(1, 1, TSettingsValues(), &totals, nullptr, 31, 12); }),
                 QStringLiteral("Summaries 04"));
        QCOMPARE(messageOf([&] { d.Summaries().Summarize(1, 1, TSettingsValues(), nullptr, &results, 31, 12); }),
                 QStringLiteral("Summaries 14"));
        QStringList unknown{QStringLiteral("XYZ")};
        QCOMPARE(messageOf([&] { d.Summaries().SetSummaryActivities(&unknown); }), QStringLiteral("Summaries 11"));
        // The refused choice leaves the stored one.
        QStringList chosen;
        d.Summaries().GetSummaryActivities(&chosen);
        QCOMPARE(chosen, QStringList{QStringLiteral("RUN")});
        TSummaries empty;
        QCOMPARE(messageOf([&] { empty.Summarize(1, 1, TSettingsValues(), &totals, &results, 31, 12); }),
                 QStringLiteral("Summaries 01"));
    }

    // The choice of types is stored in the diary: a new names object read
    // from it sees it.
    void theChoiceIsStored()
    {
        TDiary d;
        QStringList codes{QStringLiteral("SKI"), QStringLiteral("RUN")};
        QVERIFY(d.Summaries().SetSummaryActivities(&codes));
        QVERIFY(!d.Summaries().SetSummaryActivities(&codes));
        TActivityNames reread;
        reread.SetDatabase(&d.App().GetDatabase());
        reread.Open();
        QStringList stored;
        reread.GetSummaryCodes(&stored);
        QCOMPARE(stored, QStringList({QStringLiteral("RUN"), QStringLiteral("SKI")}));
    }
};

QTEST_GUILESS_MAIN(tst_Summaries)
#include "tst_Summaries.moc"
