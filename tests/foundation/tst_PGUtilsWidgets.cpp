// The helpers that work on grids, check lists and controls.

#include "foundation/Exceptions.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/StringGrid.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QtTest>

#include <functional>

namespace
{
// A 4 x 6 grid with one fixed row and one fixed column:
//        A     B     C
//   1   a1    b1    c1
//   ..
//   5   a5    b5    c5
void fill(TStringGrid &grid)
{
    grid.SetColCount(4);
    grid.SetRowCount(6);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    const QStringList titles{QString(), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    for (int col = 0; col < 4; ++col)
        grid.SetCells(col, 0, titles[col]);
    for (int row = 1; row < 6; ++row) {
        grid.SetCells(0, row, QString::number(row));
        for (int col = 1; col < 4; ++col)
            grid.SetCells(col, row, titles[col].toLower() + QString::number(row));
    }
}

class TTestEdit : public QLineEdit, public TCommittableEdit
{
public:
    using QLineEdit::QLineEdit;
    void CommitEdit() override { committed = text(); }
    QString committed;
};

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
}

class tst_PGUtilsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void findColumn()
    {
        TStringGrid grid;
        fill(grid);
        QCOMPARE(TTulloUtilGrid::FindColumn(&grid, QStringLiteral("B")), 2);
        QCOMPARE(TTulloUtilGrid::FindColumn(&grid, QStringLiteral("b")), -1);
        // The title of the fixed column is not a data column's title.
        QCOMPARE(TTulloUtilGrid::FindColumn(&grid, QString()), -1);
        QCOMPARE(messageOf<EGridError>([] { TTulloUtilGrid::FindColumn(nullptr, QStringLiteral("A")); }), QStringLiteral("Grid nil"));
        grid.SetFixedRows(0);
        QCOMPARE(messageOf<EGridError>([&] { TTulloUtilGrid::FindColumn(&grid, QStringLiteral("A")); }), QStringLiteral("Inga fasta rader"));
    }

    void clearRowsKeepsTitlesAndOneEmptyRow()
    {
        TStringGrid grid;
        fill(grid);
        grid.SetRow(4);
        TTulloUtilGrid::ClearRows(&grid);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.Cells(2, 0), QStringLiteral("B"));
        for (int col = 0; col < 4; ++col)
            QCOMPARE(grid.Cells(col, 1), QString());
        QCOMPARE(grid.model()->rowCount(), 1);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("B"));
    }

    void setDataRowCount_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("row");
        QTest::newRow("grow keeps the row") << 3 << 8 << 9 << 3;
        QTest::newRow("shrink past the row moves it up") << 5 << 2 << 3 << 2;
        QTest::newRow("shrink above the row keeps it") << 2 << 3 << 4 << 2;
        QTest::newRow("zero clears") << 4 << 0 << 2 << 1;
        QTest::newRow("negative clears") << 4 << -3 << 2 << 1;
    }

    void setDataRowCount()
    {
        QFETCH(int, current);
        QFETCH(int, n);
        QFETCH(int, rowCount);
        QFETCH(int, row);
        TStringGrid grid;
        fill(grid);
        grid.SetRow(current);
        TTulloUtilGrid::SetDataRowCount(&grid, n);
        QCOMPARE(grid.RowCount(), rowCount);
        QCOMPARE(grid.Row(), row);
        QCOMPARE(grid.model()->rowCount(), rowCount - 1);
        if (n > 0)
            QCOMPARE(grid.Cells(1, 1), QStringLiteral("a1"));
    }

    void selectRows_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 1 << 1;
        QTest::newRow("third") << 3 << 3;
        QTest::newRow("zero is the first") << 0 << 1;
        QTest::newRow("negative is the first") << -7 << 1;
        QTest::newRow("beyond is the last") << 99 << 5;
    }

    void selectRows()
    {
        QFETCH(int, n);
        QFETCH(int, row);
        TStringGrid grid;
        fill(grid);
        TTulloUtilGrid::SelectDataRow(&grid, n);
        QCOMPARE(grid.Row(), row);
        QCOMPARE(grid.currentIndex().row(), row - 1);
    }

    void previousAndNextStopAtTheEnds()
    {
        TStringGrid grid;
        fill(grid);
        TTulloUtilGrid::SelectDataRow(&grid, 1);
        TTulloUtilGrid::SelectPreviousRow(&grid);
        QCOMPARE(grid.Row(), 1);
        for (int i = 0; i < 10; ++i)
            TTulloUtilGrid::SelectNextRow(&grid);
        QCOMPARE(grid.Row(), 5);
        TTulloUtilGrid::SelectPreviousRow(&grid);
        QCOMPARE(grid.Row(), 4);
    }

    void isColumnEmpty()
    {
        TStringGrid grid;
        fill(grid);
        QVERIFY(!TTulloUtilGrid::IsColumnEmpty(&grid, 2));
        for (int row = 1; row < 6; ++row)
            grid.SetCells(2, row, row % 2 ? QStringLiteral("  ") : QString());
        // The title "B" stays: only data cells count.
        QVERIFY(TTulloUtilGrid::IsColumnEmpty(&grid, 2));
        QCOMPARE(messageOf<EGridError>([&] { TTulloUtilGrid::IsColumnEmpty(&grid, 4); }), QStringLiteral("Utanför grid"));
        QCOMPARE(messageOf<EGridError>([&] { TTulloUtilGrid::IsColumnEmpty(&grid, -1); }), QStringLiteral("Utanför grid"));
    }

    void copyGrid()
    {
        TStringGrid source;
        fill(source);
        source.SetColWidths(2, 133);
        TStringGrid target;
        target.SetColCount(2);
        target.SetRowCount(2);
        target.SetFixedCols(0);
        TTulloUtilGrid::CopyGrid(&target, &source);
        QCOMPARE(target.ColCount(), 4);
        QCOMPARE(target.RowCount(), 6);
        QCOMPARE(target.FixedCols(), 1);
        QCOMPARE(target.FixedRows(), 1);
        QCOMPARE(target.ColWidths(2), 133);
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 4; ++col)
                QCOMPARE(target.Cells(col, row), source.Cells(col, row));
        QCOMPARE(target.model()->rowCount(), 5);
        QCOMPARE(target.model()->data(target.model()->index(4, 2)).toString(), QStringLiteral("c5"));
    }

    void missingGrids()
    {
        TStringGrid grid;
        const QList<std::function<void()>> calls{
            [] { TTulloUtilGrid::ClearRows(nullptr); },
            [] { TTulloUtilGrid::SetDataRowCount(nullptr, 2); },
            [] { TTulloUtilGrid::SelectDataRow(nullptr, 1); },
            [] { TTulloUtilGrid::IsColumnEmpty(nullptr, 0); },
            [] { TTulloUtilGrid::SelectPreviousRow(nullptr); },
            [] { TTulloUtilGrid::SelectNextRow(nullptr); },
            [&] { TTulloUtilGrid::CopyGrid(nullptr, &grid); },
            [&] { TTulloUtilGrid::CopyGrid(&grid, nullptr); },
        };
        for (const auto &call : calls)
            QCOMPARE(messageOf<EGridError>(call), QStringLiteral("Grid = nil"));
    }

    void gridIndexesAreChecked()
    {
        TStringGrid grid;
        fill(grid);
        QVERIFY_THROWS_EXCEPTION(EInvalidCol, grid.Cells(4, 1));
        QVERIFY_THROWS_EXCEPTION(EInvalidRow, grid.Cells(1, 6));
        QVERIFY_THROWS_EXCEPTION(EInvalidRow, grid.SetRow(0));
        QVERIFY_THROWS_EXCEPTION(EInvalidRow, grid.SetFixedRows(6));
    }

    void checkLists_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("items");
        const QStringList all{QStringLiteral("Löpning"), QStringLiteral("Skidor"), QStringLiteral("Golf")};
        QTest::newRow("plain list") << 0 << QList<int>{1, 3} << 2 << QStringList{QStringLiteral("Löpning"), QStringLiteral("Golf")};
        QTest::newRow("plain list, first item is data") << 0 << QList<int>{0} << 1 << QStringList{QStringLiteral("Alla")};
        QTest::newRow("all item checked") << 1 << QList<int>{0} << 3 << all;
        QTest::newRow("all item checked with others") << 1 << QList<int>{0, 2} << 3 << all;
        QTest::newRow("all item unchecked") << 1 << QList<int>{2} << 1 << QStringList{QStringLiteral("Skidor")};
        QTest::newRow("nothing checked") << 1 << QList<int>{} << 0 << QStringList{};
    }

    void checkLists()
    {
        QFETCH(int, tag);
        QFETCH(QList<int>, checked);
        QFETCH(int, count);
        QFETCH(QStringList, items);
        QListWidget box;
        TTulloUtilMisc::SetTag(&box, tag);
        for (const char *text : {"Alla", "Löpning", "Skidor", "Golf"}) {
            auto *item = new QListWidgetItem(QString::fromUtf8(text), &box);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        for (int i : checked)
            box.item(i)->setCheckState(Qt::Checked);
        QCOMPARE(TTulloUtilCheckListBox::CheckedCount(&box), count);
        QStringList list{QStringLiteral("left over")};
        TTulloUtilCheckListBox::CheckedItems(&box, &list);
        QCOMPARE(list, items);
    }

    void checkListErrors()
    {
        QListWidget box;
        QStringList list;
        QCOMPARE(messageOf<ECheckListBox>([] { TTulloUtilCheckListBox::CheckedCount(nullptr); }), QStringLiteral("ListBox = nil"));
        QCOMPARE(messageOf<ECheckListBox>([&] { TTulloUtilCheckListBox::CheckedItems(nullptr, &list); }), QStringLiteral("Parameter nil"));
        QCOMPARE(messageOf<ECheckListBox>([&] { TTulloUtilCheckListBox::CheckedItems(&box, nullptr); }), QStringLiteral("Parameter nil"));
        // An empty list with the "all" convention has nothing to count.
        TTulloUtilMisc::SetTag(&box, 1);
        QCOMPARE(TTulloUtilCheckListBox::CheckedCount(&box), 0);
    }

    void commitEditsReachesNestedEdits()
    {
        QWidget window;
        auto *panel = new QFrame(&window);
        auto *direct = new TTestEdit(&window);
        auto *nested = new TTestEdit(panel);
        auto *scroll = new QScrollArea(panel);
        auto *inner = new QWidget;
        auto *scrolled = new TTestEdit(inner);
        scroll->setWidget(inner);
        direct->setText(QStringLiteral("45.30"));
        nested->setText(QStringLiteral("10"));
        scrolled->setText(QStringLiteral("3x10"));
        TTulloUtilMisc::CommitEdits(&window);
        QCOMPARE(direct->committed, QStringLiteral("45.30"));
        QCOMPARE(nested->committed, QStringLiteral("10"));
        QCOMPARE(scrolled->committed, QStringLiteral("3x10"));
        QVERIFY_THROWS_EXCEPTION(EControlError, TTulloUtilMisc::CommitEdits(nullptr));
    }

    void findControlByTag()
    {
        QWidget parent;
        auto *first = new QLineEdit(&parent);
        auto *second = new QLineEdit(&parent);
        auto *panel = new QFrame(&parent);
        auto *grandchild = new QLineEdit(panel);
        TTulloUtilMisc::SetTag(first, 3);
        TTulloUtilMisc::SetTag(second, 3);
        TTulloUtilMisc::SetTag(grandchild, 5);
        QCOMPARE(TTulloUtilMisc::FindControlByTag(&parent, 3), first);
        // Only direct children count, and an untagged child is not tag 0.
        QCOMPARE(messageOf<EControlError>([&] { TTulloUtilMisc::FindControlByTag(&parent, 5); }), QStringLiteral("Tag 5 fanns ej"));
        QCOMPARE(messageOf<EControlError>([&] { TTulloUtilMisc::FindControlByTag(&parent, 0); }), QStringLiteral("Tag 0 fanns ej"));
        QCOMPARE(messageOf<EControlError>([] { TTulloUtilMisc::FindControlByTag(nullptr, 1); }), QStringLiteral("Nil parent"));
    }

    void selectionLength()
    {
        QLineEdit edit(QStringLiteral("Slottsskogen"));
        edit.setSelection(0, 5);
        QCOMPARE(TTulloUtilMisc::SelectionLength(&edit), 5);
        QComboBox combo;
        combo.setEditable(true);
        combo.setEditText(QStringLiteral("Delsjön"));
        combo.lineEdit()->setSelection(1, 3);
        QCOMPARE(TTulloUtilMisc::SelectionLength(&combo), 3);
        edit.deselect();
        QCOMPARE(TTulloUtilMisc::SelectionLength(&edit), 0);
        QCOMPARE(messageOf<EControlError>([] { TTulloUtilMisc::SelectionLength(nullptr); }), QStringLiteral("Parameter nil"));
    }

    void checkPrinterMatchesTheSystem()
    {
        if (QPrinterInfo::defaultPrinter().isNull())
            QCOMPARE(messageOf<EControlError>([] { TTulloUtilMisc::CheckPrinter(); }), QStringLiteral("Det finns ingen skrivare installerad"));
        else
            TTulloUtilMisc::CheckPrinter();
    }
};

QTEST_MAIN(tst_PGUtilsWidgets)
#include "tst_PGUtilsWidgets.moc"
