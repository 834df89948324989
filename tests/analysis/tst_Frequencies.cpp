// The counting of the frequency window without a display: the five kinds,
// their ranges, averages, the busiest month or week, the palette and the
// refusals.

#include "analysis/Frequencies.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"

#include <QtTest>

#include <cmath>

namespace
{
// What a chart receives: the points of each series.
class TPoints : public TFrequencyPlot
{
public:
    int SeriesCount() const override { return int(m_series.size()); }
    void AddPoint(int series, int x, double value) override
    {
        QList<double> &points = m_series[series];
        // Points come as x = 1, 2, ... without gaps.
        QCOMPARE(x, int(points.size()) + 1);
        points.append(value);
    }
    QList<double> Values(int series = 0) const { return m_series.value(series); }

private:
    QList<QList<double>> m_series{QList<QList<double>>(1)};

public:
    void Resize(int count) { m_series = QList<QList<double>>(count); }
};

QList<TFrequencyItem> itemsOf(const QStringList &dates)
{
    QList<TFrequencyItem> items;
    for (const QString &date : dates)
        items.append({TTulloUtilTimeDate::YearOf(date), TTulloUtilTimeDate::MonthOf(date), TTulloUtilTimeDate::DayOf(date)});
    return items;
}

// A list of values as "2 0 1", averages with up to two decimals.
QString valuesText(const QList<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts.append(QString::number(value, 'g', 3));
    return texts.join(QLatin1Char(' '));
}

// "0 x n" as n zeros.
QString zeros(int n)
{
    return QStringList(n, QStringLiteral("0")).join(QLatin1Char(' '));
}
}

class tst_Frequencies : public QObject
{
    Q_OBJECT

private slots:
    void adjustedWeek_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("diaryWeek");
        QTest::addColumn<int>("adjusted");
        // 2004 is a leap year that starts on a Thursday: 1 and 2 January 2005
        // carry the diary's week 52.
        QTest::newRow("1 January after a Thursday leap year") << "2005-01-01" << 52 << 1;
        QTest::newRow("2 January after a Thursday leap year") << "2005-01-02" << 52 << 1;
        QTest::newRow("first Monday of 2005") << "2005-01-03" << 1 << 1;
        QTest::newRow("3 January 2010 in week 53") << "2010-01-03" << 53 << 1;
        QTest::newRow("30 December 2008 in week 1") << "2008-12-30" << 1 << 53;
        QTest::newRow("31 December 2007 in week 1") << "2007-12-31" << 1 << 53;
        QTest::newRow("31 December 2004 in week 53") << "2004-12-31" << 53 << 53;
        QTest::newRow("midsummer") << "2005-06-15" << 24 << 24;
        QTest::newRow("January in week 1") << "2008-01-01" << 1 << 1;
    }

    void adjustedWeek()
    {
        QFETCH(QString, date);
        QFETCH(int, diaryWeek);
        QFETCH(int, adjusted);
        const int y = TTulloUtilTimeDate::YearOf(date), m = TTulloUtilTimeDate::MonthOf(date), d = TTulloUtilTimeDate::DayOf(date);
        QCOMPARE(TTulloUtilTimeDate::WeekNumber(y, m, d), diaryWeek);
        QCOMPARE(AdjustedWeekNumber(y, m, d), adjusted);
    }

    void calculate_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<bool>("sum");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("busiest");
        QTest::addColumn<QString>("maxCount");

        const QStringList spring = {"2004-03-01", "2004-03-15", "2004-05-02"};
        QTest::newRow("months of one year, sum") << 1 << spring << true << 3 << "2 0 1" << "2004-03" << "2";
        QTest::newRow("months of one year, average") << 1 << spring << false << 3 << "2 0 1" << "2004-03" << "2";
        // January and February occur once, November and December once,
        // March to October not at all: their divisor is raised to 1.
        QTest::newRow("average over a new year")
            << 1 << QStringList{"2003-11-10", "2003-11-20", "2003-12-05", "2004-01-10", "2004-02-05"} << false << 1
            << "1 1 " + zeros(8) + " 2 1" << "2003-11" << "2";
        // June lies inside every one of the three years.
        QTest::newRow("average over three Junes")
            << 1 << QStringList{"2002-06-01", "2003-06-01", "2004-06-01", "2004-06-02"} << false << 1
            << zeros(5) + " 1.33 " + zeros(6) << "2004-06" << "2";
        QTest::newRow("ties go to the later month")
            << 1 << QStringList{"2004-01-05", "2004-01-06", "2004-03-01", "2004-03-02"} << true << 1 << "2 0 2" << "2004-03" << "2";
        QTest::newRow("one activity, month") << 1 << QStringList{"2004-07-14"} << true << 7 << "1" << "2004-07" << "1";
        QTest::newRow("one activity, week") << 2 << QStringList{"2004-07-14"} << true << 29 << "1" << "2004-29" << "1";
        QTest::newRow("years") << 0 << QStringList{"2001-05-01", "2001-06-01", "2003-01-01"} << true << 2001 << "2 0 1" << ""
                               << "";
        // 1 and 2 January 2005 count in week 1 with the first Monday's week.
        QTest::newRow("busiest week named as its bar")
            << 2 << QStringList{"2005-01-01", "2005-01-02", "2005-01-10"} << true << 1 << "2 1" << "2005-01" << "2";
        // The first and the last week of 2008 both carry the diary's week 1
        // but lie 51 weeks apart: two weeks of one activity each.
        QTest::newRow("weeks 51 weeks apart")
            << 2 << QStringList{"2008-01-01", "2008-12-30"} << true << 1 << "1 " + zeros(51) + " 1" << "2008-53" << "1";
        QTest::newRow("weeks of two years")
            << 2 << QStringList{"2007-12-31", "2008-01-02"} << true << 1 << "1 " + zeros(51) + " 1" << "2008-01" << "1";
        QTest::newRow("days of one month") << 3 << QStringList{"2004-03-05", "2004-03-05", "2004-03-08"} << true << 5 << "2 0 0 1"
                                           << "" << "";
        QTest::newRow("days of two months") << 3 << QStringList{"2004-03-05", "2004-04-30"}
                                            << true << 1 << "0 0 0 0 1 " + zeros(24) + " 1 0" << "" << "";
        // 2004-03-03 is a Wednesday, 2004-03-06 a Saturday of the same week.
        QTest::newRow("weekdays of one week") << 4 << QStringList{"2004-03-03", "2004-03-06"} << true << 3 << "1 0 0 1" << "" << "";
        QTest::newRow("weekdays of two weeks") << 4 << QStringList{"2004-03-03", "2004-03-08"} << true << 1 << "1 0 1 0 0 0 0" << ""
                                               << "";
    }

    void calculate()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, dates);
        QFETCH(bool, sum);
        QFETCH(int, from);
        QFETCH(QString, values);
        QFETCH(QString, busiest);
        QFETCH(QString, maxCount);

        const QList<TFrequencyItem> items = itemsOf(dates);
        const std::unique_ptr<TFrequency> frequency = CreateFrequency(kind);
        TPoints chart;
        frequency->Calculate(&chart, &items, false, sum);
        QCOMPARE(valuesText(chart.Values()), values);
        QCOMPARE(frequency->FirstPlotted(), from);
        QCOMPARE(frequency->BusiestPeriodText(), busiest);
        QCOMPARE(frequency->MaxCountText(), maxCount);
        QCOMPARE(frequency->FirstDateText(), dates.first());
        QCOMPARE(frequency->LastDateText(), dates.last());
        for (double value : chart.Values())
            QVERIFY(std::isfinite(value));
    }

    void captions()
    {
        const QStringList expected = {"År", "Månad", "Vecka", "Dag", "Veckodag"};
        for (int kind = 0; kind < 5; ++kind) {
            QCOMPARE(CreateFrequency(kind)->Caption(), expected.at(kind));
            QCOMPARE(int(CreateFrequency(kind)->Kind()), kind);
        }
    }

    void noItems()
    {
        const QList<TFrequencyItem> items;
        const std::unique_ptr<TFrequency> frequency = CreateFrequency(1);
        TPoints chart;
        frequency->Calculate(&chart, &items, false, true);
        QVERIFY(chart.Values().isEmpty());
        QCOMPARE(frequency->FirstDateText(), QString());
        QCOMPARE(frequency->BusiestPeriodText(), QString());
        QCOMPARE(frequency->MaxCountText(), QString());
    }

    // The stacked bars of a period add up to its average; a year without
    // activities has its column of zeros.
    void individualYears()
    {
        const QList<TFrequencyItem> items = itemsOf({"2000-03-01", "2000-03-05", "2002-03-07", "2002-04-01"});
        const std::unique_ptr<TFrequency> frequency = CreateFrequency(1);
        TPoints chart;
        chart.Resize(3);
        frequency->Calculate(&chart, &items, true, false);
        QCOMPARE(chart.Values(0).size(), 12);
        QCOMPARE(chart.Values(0).at(2), 2.0 / 3.0);
        QCOMPARE(chart.Values(1), QList<double>(12, 0.0));
        QCOMPARE(chart.Values(2).at(2), 1.0 / 3.0);
        QCOMPARE(chart.Values(2).at(3), 1.0 / 3.0);
        QCOMPARE(chart.Values(0).at(2) + chart.Values(1).at(2) + chart.Values(2).at(2), 1.0);

        TPoints wrong;
        wrong.Resize(2);
        QVERIFY_THROWS_EXCEPTION(EFrequency, frequency->Calculate(&wrong, &items, true, true));
        try {
            frequency->Calculate(&wrong, &items, true, true);
        } catch (const EFrequency &error) {
            QCOMPARE(error.Message(), QStringLiteral("Frequencies 05"));
        }
    }

    void palette_data()
    {
        QTest::addColumn<int>("series");
        QTest::addColumn<int>("index");
        QTest::newRow("first year") << 0 << 0;
        QTest::newRow("16th year") << 15 << 15;
        QTest::newRow("17th year") << 16 << -1;
        QTest::newRow("30th year") << 29 << -1;
    }

    void palette()
    {
        QFETCH(int, series);
        QFETCH(int, index);
        QCOMPARE(SeriesPaletteIndex(series), index);
        QCOMPARE(SeriesPalette[0], 0x0000FFu);
        QCOMPARE(SeriesPalette[15], 0xFF00FFu);
    }

    void errors_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<bool>("chart");
        QTest::addColumn<QString>("message");
        QTest::newRow("year below") << 1 << QStringList{"2004-03-01", "2003-03-01"} << true << "Frequencies 01";
        QTest::newRow("month below") << 1 << QStringList{"2004-03-01", "2004-02-01"} << true << "Frequencies 02";
        QTest::newRow("day below") << 1 << QStringList{"2004-03-02", "2004-03-01"} << true << "Frequencies 03";
        QTest::newRow("no chart") << 1 << QStringList{"2004-03-01"} << false << "Frequencies 04";
        const QString wide = QStringLiteral("Aktiviteterna spänner över åren 1026–2026; frekvensen kan visas för högst 101 år.");
        QTest::newRow("102 years, months") << 1 << QStringList{"1925-01-01", "2026-01-01"} << true
                                           << "Aktiviteterna spänner över åren 1925–2026; frekvensen kan visas för högst 101 år.";
        QTest::newRow("1001 years, years") << 0 << QStringList{"1026-05-01", "2026-01-01"} << true << wide;
        QTest::newRow("1001 years, weekdays") << 4 << QStringList{"1026-05-01", "2026-01-01"} << true << wide;
    }

    void errors()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, dates);
        QFETCH(bool, chart);
        QFETCH(QString, message);
        const QList<TFrequencyItem> items = itemsOf(dates);
        const std::unique_ptr<TFrequency> frequency = CreateFrequency(kind);
        TPoints points;
        QString caught;
        try {
            frequency->Calculate(chart ? &points : nullptr, &items, false, true);
        } catch (const EFrequency &error) {
            caught = error.Message();
        }
        QCOMPARE(caught, message);
        QVERIFY(points.Values().isEmpty());
    }

    void otherErrors()
    {
        TPoints points;
        QString caught;
        try {
            CreateFrequency(1)->Calculate(&points, nullptr, false, true);
        } catch (const EFrequency &error) {
            caught = error.Message();
        }
        QCOMPARE(caught, QStringLiteral("Frequencies 06"));
        for (int kind : {-1, 5}) {
            caught.clear();
            try {
                CreateFrequency(kind);
            } catch (const EFrequency &error) {
                caught = error.Message();
            }
            QCOMPARE(caught, QStringLiteral("Frequencies 07"));
        }
        caught.clear();
        try {
            FrequencyAxisLabel(5, 2000, 1, 0);
        } catch (const EUIError &error) {
            caught = error.Message();
        }
        QCOMPARE(caught, QStringLiteral("Frequency 01"));
    }

    // 101 years fit: one bar per year, the last year in the last bar.
    void hundredAndOneYears()
    {
        const QList<TFrequencyItem> items = itemsOf({"1926-01-01", "1926-02-01", "2026-12-31"});
        const std::unique_ptr<TFrequency> years = CreateFrequency(0);
        TPoints chart;
        years->Calculate(&chart, &items, false, true);
        QCOMPARE(chart.Values().size(), 101);
        QCOMPARE(chart.Values().first(), 2.0);
        QCOMPARE(chart.Values().last(), 1.0);

        const std::unique_ptr<TFrequency> months = CreateFrequency(1);
        TPoints stacked;
        stacked.Resize(101);
        months->Calculate(&stacked, &items, true, true);
        QCOMPARE(stacked.Values(100).at(11), 1.0);
        QCOMPARE(stacked.Values(0).at(0), 1.0);
    }

    void axisLabels_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("label");
        QTest::newRow("year") << 0 << 2001 << 2 << "2003";
        QTest::newRow("May") << 1 << 3 << 2 << "Maj";
        QTest::newRow("October") << 1 << 1 << 9 << "Okt";
        QTest::newRow("past December") << 1 << 1 << 12 << "";
        QTest::newRow("week 53") << 2 << 1 << 52 << "53";
        QTest::newRow("past week 53") << 2 << 1 << 53 << "";
        QTest::newRow("day 31") << 3 << 1 << 30 << "31";
        QTest::newRow("Saturday") << 4 << 3 << 3 << "Lördag";
        QTest::newRow("past Sunday") << 4 << 1 << 7 << "";
    }

    void axisLabels()
    {
        QFETCH(int, kind);
        QFETCH(int, from);
        QFETCH(int, k);
        QFETCH(QString, label);
        QCOMPARE(FrequencyAxisLabel(kind, 2001, from, k), label);
    }
};

QTEST_APPLESS_MAIN(tst_Frequencies)
#include "tst_Frequencies.moc"
