// The graphs behind the report window on small tables laid out like the
// list's full-catalogue grid: which quantities are offered, the gaps filled
// over the date, the points of a series, the block averages, the value
// texts and the predefined reports.

#include "analysis/Graphs.h"
#include "analysis/Reports.h"
#include "columns/ActivityColumns.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <QDateTime>
#include <QtTest>

namespace
{
int id(TColumnKind kind)
{
    return Ordinal(kind);
}

// A table of the date column and the given columns, rows as listed.
TGraphTable table(const QStringList &dates, const QList<QPair<TColumnKind, QStringList>> &columns)
{
    TGraphTable result;
    result.Ids.append(id(TColumnKind::cDate));
    result.Columns.append(dates);
    for (const auto &column : columns) {
        result.Ids.append(id(column.first));
        result.Columns.append(column.second);
    }
    return result;
}

QList<double> xs(const QList<QPointF> &points)
{
    QList<double> values;
    for (const QPointF &p : points)
        values.append(p.x());
    return values;
}

QList<double> ys(const QList<QPointF> &points)
{
    QList<double> values;
    for (const QPointF &p : points)
        values.append(p.y());
    return values;
}
}

class tst_Graphs : public QObject
{
    Q_OBJECT

    TActivityColumns m_catalogue;

private slots:
    void init() { BuildActivityCatalogue(m_catalogue); }

    // The empty cells between two values get the value on the straight line
    // over the dates, in date order whatever the order of the list; cells
    // before the first and after the last value stay empty. Durations are
    // interpolated in seconds and written as minutes.seconds with three
    // decimals, the seconds never reaching a whole minute.
    void interpolation_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("expected"); // in date order
        const int weight = id(TColumnKind::cWeight);
        const int time = id(TColumnKind::cTime);
        QTest::newRow("weight between two weighings")
            << QStringList{"2004-03-01", "2004-03-06", "2004-03-11"} << weight << QStringList{"70.0", "", "68.0"}
            << QStringList{"70.0", "69.00", "68.0"};
        QTest::newRow("the list newest first")
            << QStringList{"2004-03-11", "2004-03-06", "2004-03-01"} << weight << QStringList{"68.0", "", "70.0"}
            << QStringList{"70.0", "69.00", "68.0"};
        QTest::newRow("over the dates, not the rows")
            << QStringList{"2004-03-01", "2004-03-02", "2004-03-11"} << weight << QStringList{"70.0", "", "60.0"}
            << QStringList{"70.0", "69.00", "60.0"};
        QTest::newRow("the same date gives the earlier value")
            << QStringList{"2004-03-05", "2004-03-05", "2004-03-05"} << weight << QStringList{"70.0", "", "68.0"}
            << QStringList{"70.0", "70.00", "68.0"};
        QTest::newRow("nothing before the first or after the last")
            << QStringList{"2004-03-01", "2004-03-02", "2004-03-03", "2004-03-04"} << weight
            << QStringList{"", "70.0", "71.0", ""} << QStringList{"", "70.0", "71.0", ""};
        QTest::newRow("a duration in seconds")
            << QStringList{"2004-03-01", "2004-03-02", "2004-03-03"} << time << QStringList{"45.00", "", "46.01"}
            << QStringList{"45.00", "45.305", "46.01"};
        QTest::newRow("over an hour")
            << QStringList{"2004-03-01", "2004-03-02", "2004-03-03"} << time << QStringList{"59.40", "", "60.20"}
            << QStringList{"59.40", "60.000", "60.20"};
        QTest::newRow("seconds capped at 59.9")
            << QStringList{"2004-03-01", "2004-03-20", "2004-03-21"} << time << QStringList{"45.59", "", "46.00"}
            << QStringList{"45.59", "45.599", "46.00"};
        QTest::newRow("minutes per kilometre")
            << QStringList{"2004-03-01", "2004-03-02", "2004-03-03"} << id(TColumnKind::cDistTime)
            << QStringList{"4.30", "", "5.00"} << QStringList{"4.30", "4.450", "5.00"};
    }

    void interpolation()
    {
        QFETCH(QStringList, dates);
        QFETCH(int, kind);
        QFETCH(QStringList, values);
        QFETCH(QStringList, expected);
        TGraphs graphs;
        graphs.SetCatalogue(&m_catalogue);
        graphs.Load(table(dates, {{ColumnKindOf(kind), values}}));
        QStringList interpolated;
        for (int row = 0; row < graphs.RowCount(); ++row)
            interpolated.append(graphs.Cell(true, kind, row));
        QCOMPARE(interpolated, expected);
        // The plain copy keeps the list as it was.
        for (int row = 0; row < graphs.RowCount(); ++row)
            QCOMPARE(graphs.Cell(false, kind, row), values.at(row));
        // Every interpolated duration is a valid duration again.
        const TColumnValueType type = m_catalogue.GetById(kind).ValueType;
        if (type == TColumnValueType::vtTime || type == TColumnValueType::vtPace)
            for (const QString &cell : interpolated)
                QVERIFY2(TTulloUtilTimeDate::IsValidTime(cell), qPrintable(cell));
    }

    // The weights of 1 and 11 March with a session of 6 March between them:
    // three points with interpolation, the two weighings without it.
    void interpolatedAndPlainPoints()
    {
        TGraphs graphs;
        graphs.SetCatalogue(&m_catalogue);
        graphs.Load(table({"2004-03-11", "2004-03-06", "2004-03-01"},
                          {{TColumnKind::cWeight, {"68.0", "", "70.0"}}}));
        QList<QPointF> points;
        graphs.FillSeries(&points, true, id(TColumnKind::cWeight), id(TColumnKind::cDate));
        QCOMPARE(ys(points), (QList<double>{70.0, 69.0, 68.0}));
        QCOMPARE(xs(points).first(), GraphDateValue(QDate(2004, 3, 1)));
        QCOMPARE(xs(points).last(), GraphDateValue(QDate(2004, 3, 11)));
        graphs.FillSeries(&points, false, id(TColumnKind::cWeight), id(TColumnKind::cDate));
        QCOMPARE(ys(points), (QList<double>{70.0, 68.0}));
    }

    // Every series is drawn along its x values: the list stands in its own
    // order (newest first, or sorted by any column) and a line through the
    // rows in that order would go back and forth.
    void pointsAreSortedByX()
    {
        TGraphs graphs;
        graphs.SetCatalogue(&m_catalogue);
        graphs.Load(table({"2004-03-01", "2004-03-02", "2004-03-03", "2004-03-04"},
                          {{TColumnKind::cDistance, {"10", "5", "", "7.5"}},
                           {TColumnKind::cCalorie, {"700", "350", "400", "520"}},
                           {TColumnKind::cTime, {"50.00", "24.30", "30.00", "36.15"}}}));
        QList<QPointF> points;
        graphs.FillSeries(&points, false, id(TColumnKind::cCalorie), id(TColumnKind::cDistance));
        QCOMPARE(xs(points), (QList<double>{5, 7.5, 10}));
        QCOMPARE(ys(points), (QList<double>{350, 520, 700}));
        // A duration is the time of day it reaches.
        graphs.FillSeries(&points, false, id(TColumnKind::cCalorie), id(TColumnKind::cTime));
        QCOMPARE(ys(points), (QList<double>{350, 400, 520, 700}));
        QCOMPARE(xs(points).first() - GraphDurationValue(QStringLiteral("0.00")), (24 * 60 + 30) * 1000.0);
    }

    // A quantity is offered (as X, and its unit for Y) when its column holds
    // two values or more and is no text; the catalogue entry says so too.
    void offeredQuantities()
    {
        TGraphs graphs;
        graphs.SetCatalogue(&m_catalogue);
        graphs.Load(table({"2004-03-01", "2004-03-02", "2004-03-03"},
                          {{TColumnKind::cWeight, {"", "70.0", ""}},
                           {TColumnKind::cDistance, {"10", "", "12"}},
                           {TColumnKind::cComment, {"a", "b", "c"}},
                           {TColumnKind::cRestPulse, {"50", "52", ""}},
                           {TColumnKind::cMaxpulse, {"180", "", ""}}}));
        QStringList candidates, units;
        graphs.XCandidates(&candidates);
        graphs.YUnits(&units);
        QCOMPARE(candidates, (QStringList{"Datum", "Distans (km)", "Vilopuls (puls)"}));
        QCOMPARE(units, (QStringList{"Datum", "km", "puls"}));
        QCOMPARE(graphs.XCandidateIds(),
                 (QList<int>{id(TColumnKind::cDate), id(TColumnKind::cDistance), id(TColumnKind::cRestPulse)}));
        QVERIFY(!m_catalogue.FindByKind(TColumnKind::cWeight).HasData);
        QVERIFY(m_catalogue.FindByKind(TColumnKind::cDistance).HasData);
        QVERIFY(m_catalogue.FindByKind(TColumnKind::cComment).HasData);
        QVERIFY(!graphs.HasData(id(TColumnKind::cMaxpulse)));

        // The next list has no distances: the flag goes with it, also for
        // a column the table no longer shows.
        graphs.Load(table({"2004-03-01", "2004-03-02"}, {{TColumnKind::cWeight, {"70.0", "69.5"}}}));
        QVERIFY(m_catalogue.FindByKind(TColumnKind::cWeight).HasData);
        QVERIFY(!m_catalogue.FindByKind(TColumnKind::cDistance).HasData);
        QVERIFY(!m_catalogue.FindByKind(TColumnKind::cRestPulse).HasData);
    }

    void errors_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("id");
        QTest::newRow("no catalogue") << 0 << "Graph 03";
        QTest::newRow("a weight that is no number") << 1 << "Graphs 05";
        QTest::newRow("a duration with 60 seconds") << 2 << "Graphs 05";
        QTest::newRow("a date that is no date") << 3 << "Graphs 05";
        QTest::newRow("a quantity the table does not show") << 4 << "Graphs 08";
        QTest::newRow("text as X") << 5 << "Graphs 14";
        QTest::newRow("text as Y") << 6 << "Graphs 15";
        QTest::newRow("no candidate list") << 7 << "Graph 06";
        QTest::newRow("no unit list") << 8 << "Graph 07";
    }

    void errors()
    {
        QFETCH(int, step);
        QFETCH(QString, id);
        TGraphs graphs;
        if (step != 0)
            graphs.SetCatalogue(&m_catalogue);
        const QStringList dates{"2004-03-01", "2004-03-02"};
        QList<QPair<TColumnKind, QStringList>> columns{{TColumnKind::cWeight, {"70", "71"}},
                                                       {TColumnKind::cPlace, {"Skogen", "Sjön"}}};
        QStringList dateCells = dates;
        if (step == 1)
            columns[0].second[1] = QStringLiteral("sjuttio");
        if (step == 2)
            columns.append({TColumnKind::cTime, {"45.60", ""}});
        if (step == 3)
            dateCells[1] = QStringLiteral("2004-02-30");
        QString message;
        try {
            graphs.Load(table(dateCells, columns));
            QList<QPointF> points;
            if (step == 4)
                graphs.FillSeries(&points, false, ::id(TColumnKind::cCalorie), ::id(TColumnKind::cDate));
            if (step == 5)
                graphs.FillSeries(&points, false, ::id(TColumnKind::cWeight), ::id(TColumnKind::cPlace));
            if (step == 6)
                graphs.FillSeries(&points, true, ::id(TColumnKind::cPlace), ::id(TColumnKind::cDate));
            if (step == 7)
                graphs.XCandidates(nullptr);
            if (step == 8)
                graphs.YUnits(nullptr);
        } catch (const EGraphs &error) {
            message = error.Message();
        }
        QCOMPARE(message, id);
    }

    // Each block of four points gives its average at the block's mean x; a
    // last block of fewer than four gives none.
    void blockAverages()
    {
        QList<QPointF> points;
        for (int i = 1; i <= 10; ++i)
            points.append(QPointF(i, i * 10));
        const QList<QPointF> averages = BlockAverages(points);
        QCOMPARE(averages, (QList<QPointF>{QPointF(2.5, 25), QPointF(6.5, 65)}));
        QVERIFY(BlockAverages(points.mid(0, 3)).isEmpty());
    }

    void valueTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("duration") << id(TColumnKind::cTime) << GraphDurationValue(QStringLiteral("65.30")) << "1:05:30";
        QTest::newRow("interpolated duration") << id(TColumnKind::cTime) << GraphDurationValue(QStringLiteral("45.599"))
                                               << "0:45:59";
        QTest::newRow("minutes per km") << id(TColumnKind::cDistTime) << GraphDurationValue(QStringLiteral("4.33")) << "04:33";
        QTest::newRow("date") << id(TColumnKind::cDate) << GraphDateValue(QDate(2004, 3, 6)) << "2004-03-06";
        QTest::newRow("weight, two decimals") << id(TColumnKind::cWeight) << 69.5 << "69.50";
        QTest::newRow("pulse, whole") << id(TColumnKind::cRestPulse) << 51.6 << "52";
        QTest::newRow("temperature, one decimal") << id(TColumnKind::cTemp) << -3.25 << "-3.3";
    }

    void valueTexts()
    {
        QFETCH(int, kind);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(GraphValueText(m_catalogue.GetById(kind), value), text);
    }

    // A duration of a day or more is no time of day.
    void durationsOfADay()
    {
        QVERIFY_THROWS_EXCEPTION(EConvertError, GraphDurationValue(QStringLiteral("1440.00")));
        QCOMPARE(GraphDurationValue(QStringLiteral("1439.59")) - GraphDurationValue(QStringLiteral("0")),
                 (23 * 3600 + 59 * 60 + 59) * 1000.0);
    }

    // The twelve reports name their quantities by catalogue id; the names
    // are those of the quantities' captions.
    void predefinedReports()
    {
        const TReports reports;
        QCOMPARE(reports.Count(), 12);
        for (int i = 0; i < reports.Count(); ++i) {
            const TReport report = reports.Get(i);
            const TActivityColumn x = m_catalogue.GetById(report.Columns[0]);
            const int yCount = reports.YCount(i);
            QVERIFY(yCount >= 1);
            const TActivityColumn y = m_catalogue.GetById(report.Columns[1]);
            // "Vikt (kg) / Datum": the first Y's caption or the unit's
            // heading, then the X quantity's heading.
            QVERIFY2(report.Name.endsWith(QStringLiteral(" / ") + x.Heading), qPrintable(report.Name));
            QVERIFY2(report.Name.contains(QStringLiteral("(") + y.Unit + QStringLiteral(")")), qPrintable(report.Name));
            for (int slot = yCount + 1; slot < TReport::SlotCount; ++slot)
                QCOMPARE(report.Columns[std::size_t(slot)], -1);
        }
        QCOMPARE(reports.YCount(3), 5);
        QCOMPARE(reports.YCount(7), 3);
        QCOMPARE(reports.Get(7).Name, QStringLiteral("Pulsmätning (puls) / Datum"));
        QString message;
        try {
            reports.Get(12);
        } catch (const EReport &error) {
            message = error.Message();
        }
        QCOMPARE(message, QStringLiteral("Reports 02: Ogiltigt index: 12"));
        QVERIFY_THROWS_EXCEPTION(EReport, reports.YCount(-1));
    }
};

QTEST_GUILESS_MAIN(tst_Graphs)
#include "tst_Graphs.moc"
