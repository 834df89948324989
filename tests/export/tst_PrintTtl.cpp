// The print-title dialog: the titles it proposes from a grid and a list,
// the empty-columns check box, which title it gives, and the titles it
// remembers.

#include "support/ModalWatcher.h"

#include "export/PrintTtl.h"
#include "foundation/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace
{
// A grid with the given columns of data cells (one QStringList per column,
// all of one length), titled A, B, ... and a trailing key column holding the
// row number.
void fill(TStringGrid &grid, const QList<QStringList> &columns)
{
    const int rows = columns.isEmpty() ? 0 : int(columns.constFirst().size());
    grid.BeginUpdate();
    grid.SetFixedCols(0);
    grid.SetColCount(int(columns.size()) + 1);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRows(1);
    for (int col = 0; col < columns.size(); ++col) {
        grid.SetCells(col, 0, QString(QChar(u'A' + col)));
        for (int row = 0; row < rows; ++row)
            grid.SetCells(col, row + 1, columns.at(col).at(row));
    }
    grid.SetCells(int(columns.size()), 0, QStringLiteral("Id"));
    for (int row = 0; row < rows; ++row)
        grid.SetCells(int(columns.size()), row + 1, QString::number(row + 1));
    grid.EndUpdate();
}

QString repeat(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

struct TDialogParts
{
    explicit TDialogParts(TfrmPrintTitle &dialog)
        : suggestions(dialog.findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"))),
          ownText(dialog.findChild<QComboBox *>(QStringLiteral("cmbbxOwnText"))),
          printEmpty(dialog.findChild<QCheckBox *>(QStringLiteral("chkbxPrintEmpty"))),
          ok(dialog.findChild<QPushButton *>(QStringLiteral("btnOK"))),
          cancel(dialog.findChild<QPushButton *>(QStringLiteral("btnCancel")))
    {
    }
    QListWidget *suggestions;
    QComboBox *ownText;
    QCheckBox *printEmpty;
    QPushButton *ok;
    QPushButton *cancel;
};
}

class tst_PrintTtl : public QObject
{
    Q_OBJECT

private slots:
    void controls()
    {
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Utskriftstitel"));
        QVERIFY(parts.suggestions && parts.ownText && parts.printEmpty && parts.ok && parts.cancel);
        QCOMPARE(parts.printEmpty->text(), QStringLiteral("&Skriv ut tomma kolumner"));
        QCOMPARE(parts.ok->text(), QStringLiteral("OK"));
        QCOMPARE(parts.cancel->text(), QStringLiteral("&Avbryt"));
        QCOMPARE(parts.ownText->lineEdit()->maxLength(), 50);
    }

    void suggestionsFromGrid_data()
    {
        QTest::addColumn<QList<QStringList>>("columns");
        QTest::addColumn<QString>("proposal");
        QTest::addColumn<QStringList>("expected");

        const QStringList dates{QStringLiteral("2024-05-01"), QStringLiteral("2024-05-03"), QStringLiteral("2024-05-07")};
        const QStringList runs(3, QStringLiteral("Löpning"));
        const QStringList place(3, QStringLiteral("Slottskogen"));
        const QStringList empty(3, QString());
        const QStringList comments{QStringLiteral("lätt"), QStringLiteral("tung"), QStringLiteral("backar")};
        QTest::newRow("one activity at one place")
            << QList<QStringList>{dates, runs, place, empty, comments} << QStringLiteral("Aktiviteter")
            << QStringList{QStringLiteral("Aktiviteter"),
                           QStringLiteral("Löpning"),
                           QStringLiteral("Slottskogen"),
                           QStringLiteral("Aktiviteter - Löpning"),
                           QStringLiteral("Aktiviteter - Slottskogen"),
                           QStringLiteral("Löpning - Slottskogen"),
                           QStringLiteral("Aktiviteter - Löpning - Slottskogen")};
        QTest::newRow("no proposal") << QList<QStringList>{dates, runs, place} << QString()
                                     << QStringList{QStringLiteral("Löpning"), QStringLiteral("Slottskogen"),
                                                    QStringLiteral("Löpning - Slottskogen")};

        // 20 + 3 + 20 fits, 20 + 3 + 27 does not, nor do three of them but
        // with the short proposal; 49 characters fit alone, 50 do not.
        const QStringList a(2, repeat('a', 20)), b(2, repeat('b', 20)), c(2, repeat('c', 27));
        QTest::newRow("pairs and triples under 50")
            << QList<QStringList>{a, b, c} << QStringLiteral("X")
            << QStringList{QStringLiteral("X"),          repeat('a', 20), repeat('b', 20), repeat('c', 27),
                           QStringLiteral("X - ") + repeat('a', 20), QStringLiteral("X - ") + repeat('b', 20),
                           QStringLiteral("X - ") + repeat('c', 27), repeat('a', 20) + QStringLiteral(" - ") + repeat('b', 20),
                           QStringLiteral("X - ") + repeat('a', 20) + QStringLiteral(" - ") + repeat('b', 20)};
        QTest::newRow("49 characters fit, 50 do not")
            << QList<QStringList>{QStringList(2, repeat('d', 49)), QStringList(2, repeat('e', 50))} << QString()
            << QStringList{repeat('d', 49)};

        QTest::newRow("a column of two places")
            << QList<QStringList>{QStringList{QStringLiteral("Slottskogen"), QString(), QStringLiteral(" Delsjön "),
                                              QStringLiteral("Slottskogen")}}
            << QStringLiteral("Aktiviteter")
            << QStringList{QStringLiteral("Aktiviteter"), QStringLiteral("Slottskogen - Delsjön")};
        QTest::newRow("three places are no pair")
            << QList<QStringList>{QStringList{QStringLiteral("Slottskogen"), QStringLiteral("Delsjön"), QStringLiteral("Skatås")}}
            << QStringLiteral("Aktiviteter") << QStringList{QStringLiteral("Aktiviteter")};
        QTest::newRow("a common value differing only in blanks is no common value")
            << QList<QStringList>{QStringList{QStringLiteral("Golf"), QStringLiteral("Golf ")}} << QString()
            << QStringList{};
    }
    void suggestionsFromGrid()
    {
        QFETCH(QList<QStringList>, columns);
        QFETCH(QString, proposal);
        QFETCH(QStringList, expected);
        TStringGrid grid;
        fill(grid, columns);
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        // The key column (the last) is left out by the caller.
        dialog.SuggestFromGrid(&grid, grid.ColCount() - 1, proposal);
        QCOMPARE(dialog.Suggestions(), expected);
        QCOMPARE(dialog.DefaultTitle(), proposal);
        if (expected.isEmpty()) {
            QVERIFY(parts.suggestions->selectedItems().isEmpty());
            QCOMPARE(dialog.GetTitle(), proposal);
        } else {
            // The first is selected and copied into the own text.
            QCOMPARE(parts.suggestions->currentRow(), 0);
            QCOMPARE(parts.ownText->currentText(), expected.constFirst());
            QCOMPARE(dialog.GetTitle(), expected.constFirst());
        }
    }

    void theKeyColumnIsLeftOut()
    {
        TStringGrid grid;
        fill(grid, {QStringList(3, QStringLiteral("Golf"))});
        // Every row has a different key, but a one-row list has one key.
        grid.SetRowCount(2);
        TfrmPrintTitle dialog;
        dialog.SuggestFromGrid(&grid, grid.ColCount() - 1, QString());
        QCOMPARE(dialog.Suggestions(), QStringList{QStringLiteral("Golf")});
        dialog.SuggestFromGrid(&grid, grid.ColCount(), QString());
        QCOMPARE(dialog.Suggestions(), QStringList({QStringLiteral("Golf"), QStringLiteral("1"), QStringLiteral("Golf - 1")}));
    }

    void printEmptyColumnsOnlyWithAnEmptyColumn()
    {
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        TStringGrid full;
        fill(full, {QStringList{QStringLiteral("a"), QStringLiteral("b")}, QStringList{QStringLiteral("c"), QString()}});
        dialog.SuggestFromGrid(&full, full.ColCount() - 1, QStringLiteral("Aktiviteter"));
        QVERIFY(!dialog.HasEmptyColumn());
        QVERIFY(!parts.printEmpty->isEnabled());
        QVERIFY(!parts.printEmpty->isHidden());

        TStringGrid withEmpty;
        fill(withEmpty, {QStringList{QStringLiteral("a"), QStringLiteral("b")}, QStringList{QStringLiteral(" "), QString()}});
        dialog.SuggestFromGrid(&withEmpty, withEmpty.ColCount() - 1, QStringLiteral("Aktiviteter"));
        QVERIFY(dialog.HasEmptyColumn());
        QVERIFY(parts.printEmpty->isEnabled());
        QVERIFY(!dialog.PrintEmptyColumns());
        parts.printEmpty->setChecked(true);
        QVERIFY(dialog.PrintEmptyColumns());
    }

    void theTitleGiven()
    {
        TStringGrid grid;
        fill(grid, {QStringList{QStringLiteral("Löpning"), QStringLiteral("Löpning")}});
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        dialog.SuggestFromGrid(&grid, grid.ColCount() - 1, QStringLiteral("Aktiviteter"));
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), parts.suggestions);

        // Going down the list copies each suggestion into the own text.
        QTest::keyClick(parts.suggestions, Qt::Key_Down);
        QCOMPARE(parts.ownText->currentText(), QStringLiteral("Löpning"));
        QCOMPARE(dialog.GetTitle(), QStringLiteral("Löpning"));
        // A text of one's own wins over the selected suggestion.
        parts.ownText->lineEdit()->clear();
        QTest::keyClicks(parts.ownText, QStringLiteral("Egna rundor"));
        QCOMPARE(dialog.GetTitle(), QStringLiteral("Egna rundor"));
        // An empty own text with no suggestion selected gives the proposal.
        parts.ownText->lineEdit()->clear();
        parts.suggestions->clearSelection();
        QCOMPARE(dialog.GetTitle(), QStringLiteral("Aktiviteter"));
        dialog.hide();

        // Without suggestions the own text has the focus.
        TStringGrid mixed;
        fill(mixed, {QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}});
        dialog.SuggestFromGrid(&mixed, mixed.ColCount() - 1, QString());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.focusWidget(), parts.ownText);
    }

    void titlesAreRememberedAlsoWhenCancelled()
    {
        TStringGrid grid;
        fill(grid, {QStringList{QStringLiteral("Golf"), QStringLiteral("Golf")}});
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        const auto items = [&parts] {
            QStringList texts;
            for (int i = 0; i < parts.ownText->count(); ++i)
                texts.append(parts.ownText->itemText(i));
            return texts;
        };

        QString press = QStringLiteral("btnCancel");
        QString typed = QStringLiteral("Golfrundor");
        TModalWatcher watcher([&](QWidget *window) {
            auto *own = window->findChild<QComboBox *>(QStringLiteral("cmbbxOwnText"));
            own->lineEdit()->clear();
            QTest::keyClicks(own, typed);
            if (press.isEmpty())
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->findChild<QPushButton *>(press)->click();
        });
        dialog.SuggestFromGrid(&grid, grid.ColCount() - 1, QStringLiteral("Aktiviteter"));
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(items(), QStringList{QStringLiteral("Golfrundor")});

        // The same title is kept once; another case is another title.
        press = QStringLiteral("btnOK");
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        typed = QStringLiteral("golfrundor");
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(items(), QStringList({QStringLiteral("Golfrundor"), QStringLiteral("golfrundor")}));
        // The remembered titles do not change the text shown.
        QCOMPARE(parts.ownText->currentText(), QStringLiteral("golfrundor"));

        // Escape cancels and remembers as well.
        typed = QStringLiteral("Slag");
        press = QString();
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(items().contains(QStringLiteral("Slag")));
    }

    void suggestionsFromList()
    {
        TfrmPrintTitle dialog;
        TDialogParts parts(dialog);
        TStringGrid grid;
        fill(grid, {QStringList{QStringLiteral("a"), QString()}});
        dialog.SuggestFromGrid(&grid, grid.ColCount() - 1, QStringLiteral("Aktiviteter"));
        parts.printEmpty->setChecked(true);
        parts.ownText->setEditText(QStringLiteral("Mitt diagram"));

        const QStringList list{QStringLiteral("Löpning"), QStringLiteral("Cykling")};
        dialog.SuggestFromList(&list, QStringLiteral("Frekvens"));
        QCOMPARE(dialog.Suggestions(), QStringList({QStringLiteral("Frekvens"), QStringLiteral("Löpning"), QStringLiteral("Cykling")}));
        QVERIFY(parts.suggestions->selectedItems().isEmpty());
        QCOMPARE(parts.ownText->currentText(), QStringLiteral("Mitt diagram"));
        QVERIFY(parts.printEmpty->isHidden());
        QVERIFY(!dialog.PrintEmptyColumns());
        QCOMPARE(dialog.DefaultTitle(), QStringLiteral("Frekvens"));

        // Shown, nothing becomes selected behind the user's back.
        parts.ownText->setEditText(QString());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(parts.suggestions->selectedItems().isEmpty());
        QCOMPARE(parts.ownText->currentText(), QString());
        QCOMPARE(dialog.GetTitle(), QStringLiteral("Frekvens"));

        dialog.SuggestFromList(nullptr, QStringLiteral("  "));
        QVERIFY(dialog.Suggestions().isEmpty());
        QCOMPARE(dialog.GetTitle(), QString());
    }
};

QTEST_MAIN(tst_PrintTtl)
#include "tst_PrintTtl.moc"
