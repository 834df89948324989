// The list print's layout without widgets: the choice between the narrow
// and the wide page, the further lines of a row indented by 30, two-line
// titles, columns left out, the pages and what each of them holds.

#include "export/GenReportLayout.h"

#include <QtTest>

namespace
{
TListColumn column(const QString &title, int width, TReportAlign align = TReportAlign::Left, bool empty = false)
{
    TListColumn result;
    result.Title = title;
    result.Width = width;
    result.Align = align;
    result.Empty = empty;
    return result;
}

QVector<TListColumn> columnsOfWidths(const QList<int> &widths)
{
    QVector<TListColumn> columns;
    for (int i = 0; i < widths.size(); ++i)
        columns.append(column(QStringLiteral("K%1").arg(i), widths.at(i)));
    return columns;
}

QStringList texts(const QVector<TReportElement> &elements)
{
    QStringList result;
    for (const TReportElement &element : elements) {
        if (element.Kind == TReportElement::TKind::Text)
            result.append(element.Text);
    }
    return result;
}
}

class tst_GenReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void narrowOrWide_data()
    {
        QTest::addColumn<QVector<TListColumn>>("columns");
        QTest::addColumn<bool>("includeEmpty");
        QTest::addColumn<bool>("wide");
        // 60 + width + 15 per column against 650.
        QTest::newRow("one column ends at 650") << columnsOfWidths({575}) << false << false;
        QTest::newRow("one unit more") << columnsOfWidths({576}) << false << true;
        QTest::newRow("five columns fit") << columnsOfWidths({100, 100, 100, 100, 100}) << false << false;
        QTest::newRow("a sixth passes 650") << columnsOfWidths({100, 100, 100, 100, 100, 100}) << false << true;
        QVector<TListColumn> withEmpty = columnsOfWidths({575});
        withEmpty.append(column(QStringLiteral("Tom"), 50, TReportAlign::Left, true));
        QTest::newRow("an empty column left out") << withEmpty << false << false;
        QTest::newRow("an empty column printed") << withEmpty << true << true;
        QVector<TListColumn> withKey = columnsOfWidths({575});
        withKey.append(column(QString(), 1));
        QTest::newRow("an untitled key column takes no room") << withKey << true << false;
    }
    void narrowOrWide()
    {
        QFETCH(QVector<TListColumn>, columns);
        QFETCH(bool, includeEmpty);
        QFETCH(bool, wide);
        TListLayout layout;
        QCOMPARE(layout.Layout(columns, includeEmpty, 8.0), TListLayout::TResult::Ok);
        QCOMPARE(layout.Geometry().Wide, wide);
        QCOMPARE(layout.Geometry().Left, wide ? 15.0 : 60.0);
        QCOMPARE(layout.Geometry().Right, wide ? 1000.0 : 650.0);
        QCOMPARE(layout.Geometry().HeaderHeight, wide ? 150.0 : 105.0);
        // The whole row stays on one line in both cases here.
        QCOMPARE(layout.LineCount(), 1);
        QCOMPARE(layout.Columns().constFirst().Title.Rect.left(), layout.Geometry().Left);
    }

    void columnsThatDoNotFitContinueIndented()
    {
        // Ten columns of 100 on the wide page: eight fit before 1000, the
        // ninth starts a second line at 15 + 30.
        TListLayout layout;
        QCOMPARE(layout.Layout(columnsOfWidths(QList<int>(10, 100)), false, 8.0), TListLayout::TResult::Ok);
        QVERIFY(layout.Geometry().Wide);
        QCOMPARE(layout.LineCount(), 2);
        const QVector<TListColumnElement> &columns = layout.Columns();
        QCOMPARE(columns.size(), 10);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(columns.at(i).Title.Rect.left(), 15.0 + i * 115.0);
            QCOMPARE(columns.at(i).Title.Rect.top(), 0.0);
            QCOMPARE(columns.at(i).Data.Rect.top(), 0.0);
        }
        QCOMPARE(columns.at(8).Title.Rect.left(), 45.0);
        QCOMPARE(columns.at(9).Title.Rect.left(), 160.0);
        QCOMPARE(columns.at(8).Title.Rect.top(), 25.0);
        QCOMPARE(columns.at(8).Data.Rect.top(), 18.0);
        QCOMPARE(columns.at(8).Data.Rect.left(), 45.0);
        QCOMPARE(layout.TitleBandHeight(), 50.0);
        QCOMPARE(layout.DataBandHeight(), 36.0);
        QCOMPARE(layout.TitleLine().Rect.top(), 42.0);
    }

    void twoLineTitles()
    {
        // Heading and unit on two lines make the element and the band
        // taller; the next line starts 50 lower. A blank second line is one
        // line.
        QVector<TListColumn> columns = columnsOfWidths(QList<int>(10, 100));
        columns[0].Title = QStringLiteral("Tid\r\n(min)");
        columns[1].Title = QStringLiteral("Distans\r(km)");
        columns[2].Title = QStringLiteral("Plats\r ");
        TListLayout layout;
        QCOMPARE(layout.Layout(columns, false, 8.0), TListLayout::TResult::Ok);
        const QVector<TListColumnElement> &elements = layout.Columns();
        QCOMPARE(elements.at(0).Title.Text, QStringLiteral("Tid\n(min)"));
        QCOMPARE(elements.at(0).Title.Rect.height(), 34.0);
        QCOMPARE(elements.at(1).Title.Text, QStringLiteral("Distans\n(km)"));
        QCOMPARE(elements.at(2).Title.Text, QStringLiteral("Plats"));
        QCOMPARE(elements.at(2).Title.Rect.height(), 17.0);
        // Grown once for the two-line titles of line 1, once for line 2.
        QCOMPARE(layout.TitleBandHeight(), 75.0);
        QCOMPARE(elements.at(8).Title.Rect.top(), 50.0);
        QCOMPARE(layout.TitleLine().Rect.top(), 67.0);
        QCOMPARE(layout.DataBandHeight(), 36.0);
        // Titles are bold italic, centred, in the grid's font size.
        QVERIFY(elements.at(0).Title.Font.Bold && elements.at(0).Title.Font.Italic);
        QCOMPARE(elements.at(0).Title.Align, TReportAlign::Centre);
        QCOMPARE(elements.at(0).Title.Font.PointSize, 8.0);
    }

    void untitledAndEmptyColumnsAreSkipped()
    {
        const QVector<TListColumn> columns{column(QStringLiteral("Datum"), 75), column(QString(), 40),
                                           column(QStringLiteral("Puls"), 50, TReportAlign::Right, true),
                                           column(QStringLiteral("Vikt"), 35, TReportAlign::Right),
                                           column(QStringLiteral("Kommentar"), 63, TReportAlign::Centre)};
        TListLayout layout;
        QCOMPARE(layout.Layout(columns, false, 8.0), TListLayout::TResult::Ok);
        QList<int> printed;
        for (const TListColumnElement &element : layout.Columns())
            printed.append(element.Column);
        QCOMPARE(printed, QList<int>({0, 3, 4}));
        // The untitled column takes no room; the columns keep the grid's
        // alignment.
        QCOMPARE(layout.Columns().at(1).Title.Rect.left(), 60.0 + 75 + 15);
        QCOMPARE(layout.Columns().at(1).Data.Align, TReportAlign::Right);
        QCOMPARE(layout.Columns().at(2).Data.Align, TReportAlign::Centre);

        QCOMPARE(layout.Layout(columns, true, 8.0), TListLayout::TResult::Ok);
        printed.clear();
        for (const TListColumnElement &element : layout.Columns())
            printed.append(element.Column);
        QCOMPARE(printed, QList<int>({0, 2, 3, 4}));
    }

    // The last printed column takes the room left to the right edge when it
    // is a left-aligned text, so the comments are not cut at the width the
    // list stored for them; right-aligned numbers and the other columns keep
    // their widths.
    void theLastTextColumnReachesTheRightEdge_data()
    {
        QTest::addColumn<TReportAlign>("align");
        QTest::addColumn<bool>("emptyLast");
        QTest::addColumn<double>("lastWidth");
        QTest::addRow("left text") << TReportAlign::Left << false << 650.0 - (60 + 75 + 15 + 35 + 15);
        QTest::addRow("right-aligned number") << TReportAlign::Right << false << 63.0;
        QTest::addRow("an empty column after it is left out") << TReportAlign::Left << true
                                                              << 650.0 - (60 + 75 + 15 + 35 + 15);
    }

    void theLastTextColumnReachesTheRightEdge()
    {
        QFETCH(TReportAlign, align);
        QFETCH(bool, emptyLast);
        QFETCH(double, lastWidth);
        QVector<TListColumn> columns{column(QStringLiteral("Datum"), 75),
                                    column(QStringLiteral("Vikt"), 35, TReportAlign::Right),
                                    column(QStringLiteral("Kommentar"), 63, align)};
        if (emptyLast)
            columns.append(column(QStringLiteral("Puls"), 50, TReportAlign::Right, true));
        TListLayout layout;
        QCOMPARE(layout.Layout(columns, false, 8.0), TListLayout::TResult::Ok);
        QVERIFY(!layout.Geometry().Wide);
        QCOMPARE(layout.Columns().size(), 3);
        QCOMPARE(layout.Columns().at(0).Data.Rect.width(), 75.0);
        QCOMPARE(layout.Columns().at(1).Data.Rect.width(), 35.0);
        QCOMPARE(layout.Columns().at(2).Data.Rect.left(), 60.0 + 75 + 15 + 35 + 15);
        QCOMPARE(layout.Columns().at(2).Data.Rect.width(), lastWidth);
        QCOMPARE(layout.Columns().at(2).Title.Rect.width(), lastWidth);
    }

    void aColumnWiderThanTheLineStaysOnTheFirstLine()
    {
        TListLayout layout;
        QCOMPARE(layout.Layout(columnsOfWidths({1200, 100}), false, 8.0), TListLayout::TResult::Ok);
        QCOMPARE(layout.Columns().at(0).Title.Rect.topLeft(), QPointF(15.0, 0.0));
        QCOMPARE(layout.Columns().at(1).Title.Rect.topLeft(), QPointF(45.0, 25.0));
        QCOMPARE(layout.LineCount(), 2);
    }

    void columnLimit()
    {
        TListLayout layout;
        QCOMPARE(layout.Layout(columnsOfWidths(QList<int>(60, 10)), false, 8.0), TListLayout::TResult::Ok);
        QCOMPARE(layout.Columns().size(), 60);
        QCOMPARE(layout.Layout(columnsOfWidths(QList<int>(61, 10)), false, 8.0), TListLayout::TResult::TooManyColumns);
        QVERIFY(layout.Columns().isEmpty());
        // Empty columns that are left out do not count.
        QVector<TListColumn> columns = columnsOfWidths(QList<int>(61, 10));
        columns[5].Empty = true;
        QCOMPARE(layout.Layout(columns, false, 8.0), TListLayout::TResult::Ok);
        QCOMPARE(layout.Layout(columns, true, 8.0), TListLayout::TResult::TooManyColumns);
    }

    void pages_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("pages");
        // Portrait: (277 mm - 105 - 25) / 18; landscape: (190 mm - 150 - 25) / 18.
        QTest::newRow("portrait") << QList<int>{75, 100, 120, 35, 63} << 20000 << 50 << 400;
        QTest::newRow("portrait, one row more") << QList<int>{75, 100, 120, 35, 63} << 20001 << 50 << 401;
        QTest::newRow("landscape") << QList<int>{300, 300} << 100 << 30 << 4;
        QTest::newRow("landscape, two lines") << QList<int>(10, 100) << 100 << 14 << 8;
        QTest::newRow("no rows still prints the header") << QList<int>{100} << 0 << 50 << 1;
    }
    void pages()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, rows);
        QFETCH(int, perPage);
        QFETCH(int, pages);
        TListLayout layout;
        QCOMPARE(layout.Layout(columnsOfWidths(widths), false, 8.0), TListLayout::TResult::Ok);
        QCOMPARE(layout.RowsPerPage(), perPage);
        QCOMPARE(layout.PageCount(rows), pages);
    }

    void everyPageHasItsHeaderAndRows()
    {
        const QVector<TListColumn> columns{column(QStringLiteral("Datum"), 75), column(QString(), 1),
                                           column(QStringLiteral("Vikt\r(kg)"), 35, TReportAlign::Right)};
        TListLayout layout;
        QCOMPARE(layout.Layout(columns, true, 8.0), TListLayout::TResult::Ok);
        const auto cell = [](int col, int row) { return QStringLiteral("c%1r%2").arg(col).arg(row); };
        const int rows = 120;
        QStringList seen;
        for (int page = 0; page < layout.PageCount(rows); ++page) {
            const QVector<TReportElement> elements = layout.PageElements(page, rows, QStringLiteral("Aktiviteter"),
                                                                         QStringLiteral("2024-05-14 9:05:00"), cell);
            const QStringList pageTexts = texts(elements);
            QCOMPARE(pageTexts.mid(0, 5), QStringList({QStringLiteral("Aktiviteter"), QStringLiteral("Tid: 2024-05-14 9:05:00"),
                                                        QStringLiteral("Sida: %1").arg(page + 1), QStringLiteral("Datum"),
                                                        QStringLiteral("Vikt\n(kg)")}));
            seen += pageTexts.mid(5);
            // The header's places: the title's top 75, the time's and page's
            // 30 above the header's bottom; the page number ends at the edge.
            QCOMPARE(elements.at(0).Rect.top(), 30.0);
            QCOMPARE(elements.at(0).Font.PointSize, 14.0);
            QVERIFY(elements.at(0).Font.Bold);
            QCOMPARE(elements.at(1).Rect.top(), 75.0);
            QCOMPARE(elements.at(2).Rect.right(), 650.0);
            QCOMPARE(elements.at(2).Align, TReportAlign::Right);
            // The first row of the page sits under the title band.
            const TReportElement &firstData = elements.at(6);
            QCOMPARE(firstData.Rect.top(), 105.0 + layout.TitleBandHeight());
        }
        QStringList expected;
        for (int row = 0; row < rows; ++row)
            expected << QStringLiteral("c0r%1").arg(row) << QStringLiteral("c2r%1").arg(row);
        QCOMPARE(seen, expected);
    }
};

QTEST_GUILESS_MAIN(tst_GenReportLayout)
#include "tst_GenReportLayout.moc"
