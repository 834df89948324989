// The shared dialogs "Sortera" and "Sök efter text", shown modally and
// answered as the user answers them, with their choices and histories in the
// settings store.

#include "foundation/CompGrid.h"
#include "foundation/DefReg.h"
#include "foundation/Find.h"
#include "foundation/Sorting.h"
#include "support/ModalWatcher.h"
#include "support/TestDiary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace
{
const QString sortKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\MainSort");
const QString findKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\MainFind");

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

QComboBox *Combo(QWidget *dialog, const QString &name)
{
    auto *box = dialog->findChild<QComboBox *>(name);
    if (!box)
        qFatal("no combo box %s", qPrintable(name));
    return box;
}

void Choose(QWidget *dialog, const QString &name, const QString &text)
{
    QComboBox *box = Combo(dialog, name);
    const int index = box->findText(text);
    if (index < 0)
        qFatal("%s has no entry '%s'", qPrintable(name), qPrintable(text));
    box->setCurrentIndex(index);
}

void Click(QWidget *dialog, const QString &name)
{
    auto *button = dialog->findChild<QAbstractButton *>(name);
    if (!button)
        qFatal("no button %s", qPrintable(name));
    button->click();
}

// The nine texts stored under a key: SortCol1, SortMod1, SortDir1, SortCol2, ...
QStringList StoredSort(const QString &key)
{
    QStringList values;
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(key, false))
        return values;
    for (int k = 1; k <= 3; ++k) {
        for (const char *name : {"SortCol", "SortMod", "SortDir"})
            values.append(registry.ReadStringDef(QString::fromLatin1(name) + QString::number(k), QStringLiteral("?")));
    }
    return values;
}

void StoreSort(const QString &key, const QStringList &values)
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(key, true);
    int i = 0;
    for (int k = 1; k <= 3; ++k) {
        for (const char *name : {"SortCol", "SortMod", "SortDir"})
            registry.WriteString(QString::fromLatin1(name) + QString::number(k), values.value(i++));
    }
    registry.CloseKey();
}

// The current texts of the nine lists, in the stored order.
QStringList Shown(QWidget *dialog)
{
    QStringList texts;
    for (int k = 1; k <= 3; ++k) {
        for (const char *name : {"cmbbxSortCol", "cmbbxSortMode", "cmbbxSortDir"})
            texts.append(Combo(dialog, QString::fromLatin1(name) + QString::number(k))->currentText());
    }
    return texts;
}

// Titles "Datum", none, "Distans" CR LF "(km)", "Plats".
void FillTitles(TComplexGrid &grid)
{
    grid.SetColCount(4);
    grid.SetRowCount(3);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetCells(0, 0, QStringLiteral("Datum"));
    grid.SetCells(1, 0, QString());
    grid.SetCells(2, 0, QStringLiteral("Distans\r\n(km)"));
    grid.SetCells(3, 0, QStringLiteral("Plats"));
}
} // namespace

class tst_SortFind : public QObject
{
    Q_OBJECT

private slots:
    void sortDialogChoosesGridColumns()
    {
        TTestFolders folders;
        TComplexGrid grid;
        FillTitles(grid);
        TfrmSort dialog;
        dialog.SetGrid(&grid);
        dialog.SetRegistryKey(sortKey);
        dialog.SetDateMode(true);

        QStringList columns, columns2, modes;
        bool col3Enabled = true;
        TModalWatcher watcher([&](QWidget *w) {
            columns = Items(Combo(w, QStringLiteral("cmbbxSortCol1")));
            columns2 = Items(Combo(w, QStringLiteral("cmbbxSortCol2")));
            modes = Items(Combo(w, QStringLiteral("cmbbxSortMode1")));
            col3Enabled = Combo(w, QStringLiteral("cmbbxSortCol3"))->isEnabled();
            Choose(w, QStringLiteral("cmbbxSortCol1"), QStringLiteral("Plats"));
            Choose(w, QStringLiteral("cmbbxSortDir1"), QStringLiteral("Fallande"));
            Choose(w, QStringLiteral("cmbbxSortCol2"), QStringLiteral("Distans  (km)"));
            Choose(w, QStringLiteral("cmbbxSortMode2"), QStringLiteral("Numeriskt"));
            Choose(w, QStringLiteral("cmbbxSortCol3"), QStringLiteral("Datum"));
            Choose(w, QStringLiteral("cmbbxSortMode3"), QStringLiteral("Datum"));
            Click(w, QStringLiteral("btnOK"));
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));

        QCOMPARE(columns, QStringList({"Datum", "Distans  (km)", "Plats"}));
        QCOMPARE(columns2, QStringList({"", "Datum", "Distans  (km)", "Plats"}));
        QCOMPARE(modes, QStringList({"Alfabetiskt", "Numeriskt", "Datum"}));
        QVERIFY(!col3Enabled);

        // The untitled column is not offered, and the choices still name the
        // grid columns they were made from.
        const TSortRecord record = dialog.GetSortRecord();
        QCOMPARE(record.Cols, (std::array<int, 3>{3, 2, 0}));
        QCOMPARE(record.Styles,
                 (std::array<TSortStyle, 3>{TSortStyle::Alphabetic, TSortStyle::Numeric, TSortStyle::Date}));
        QCOMPARE(record.Directions, (std::array<TSortDirection, 3>{TSortDirection::Descending,
                                                                    TSortDirection::Ascending,
                                                                    TSortDirection::Ascending}));
        QCOMPARE(record.CaseSensitive, (std::array<bool, 3>{false, false, false}));
        QCOMPARE(StoredSort(sortKey), QStringList({"Plats", "Alfabetiskt", "Fallande", "Distans  (km)", "Numeriskt",
                                                   "Stigande", "Datum", "Datum", "Stigande"}));
        QVERIFY(!dialog.DateMode());

        grid.Sort(record);
        QCOMPARE(grid.LastSort(), record);
    }

    void sortDialogRestoresStoredChoices_data()
    {
        QTest::addColumn<bool>("dateMode");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("all restored")
            << true << QStringList{"Plats", "Datum", "Fallande", "Datum", "Numeriskt", "Fallande", "", "", ""}
            << QStringList{"Plats", "Datum", "Fallande", "Datum", "Numeriskt", "Fallande", "", "Alfabetiskt",
                           "Stigande"};
        QTest::newRow("unknown column: first entries")
            << false << QStringList{"Tid", "Numeriskt", "Fallande", "", "", "", "", "", ""}
            << QStringList{"Datum", "Alfabetiskt", "Stigande", "", "Alfabetiskt", "Stigande", "", "Alfabetiskt",
                           "Stigande"};
        QTest::newRow("date style only in date mode")
            << false << QStringList{"Plats", "Datum", "Fallande", "", "", "", "", "", ""}
            << QStringList{"Plats", "Alfabetiskt", "Fallande", "", "Alfabetiskt", "Stigande", "", "Alfabetiskt",
                           "Stigande"};
        QTest::newRow("nothing stored") << false << QStringList{}
                                        << QStringList{"Datum", "Alfabetiskt", "Stigande", "", "Alfabetiskt",
                                                       "Stigande", "", "Alfabetiskt", "Stigande"};
    }

    // The choices come back from the key, and closing with Avbryt stores
    // what was shown.
    void sortDialogRestoresStoredChoices()
    {
        QFETCH(bool, dateMode);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, shown);
        TTestFolders folders;
        if (!stored.isEmpty())
            StoreSort(sortKey, stored);
        TComplexGrid grid;
        FillTitles(grid);
        TfrmSort dialog;
        dialog.SetGrid(&grid);
        dialog.SetRegistryKey(sortKey);
        dialog.SetDateMode(dateMode);
        QStringList seen;
        TModalWatcher watcher([&](QWidget *w) {
            seen = Shown(w);
            Click(w, QStringLiteral("btnCancel"));
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(seen, shown);
        QCOMPARE(StoredSort(sortKey), shown);
    }

    void sortDialogEnablesWhatCanBeChosen()
    {
        TTestFolders folders;
        TComplexGrid grid;
        FillTitles(grid);
        TfrmSort dialog;
        dialog.SetGrid(&grid);
        QList<bool> before, afterSecond, afterThird;
        const auto states = [](QWidget *w) {
            return QList<bool>{Combo(w, QStringLiteral("cmbbxSortMode2"))->isEnabled(),
                               Combo(w, QStringLiteral("cmbbxSortDir2"))->isEnabled(),
                               Combo(w, QStringLiteral("cmbbxSortCol3"))->isEnabled(),
                               Combo(w, QStringLiteral("cmbbxSortMode3"))->isEnabled()};
        };
        {
            TModalWatcher watcher([&](QWidget *w) {
                before = states(w);
                Choose(w, QStringLiteral("cmbbxSortCol2"), QStringLiteral("Plats"));
                afterSecond = states(w);
                Choose(w, QStringLiteral("cmbbxSortCol3"), QStringLiteral("Datum"));
                afterThird = states(w);
                Click(w, QStringLiteral("btnCancel"));
            });
            dialog.exec();
        }
        QCOMPARE(before, (QList<bool>{false, false, false, false}));
        QCOMPARE(afterSecond, (QList<bool>{true, true, true, false}));
        QCOMPARE(afterThird, (QList<bool>{true, true, true, true}));

        // A grid without titles offers nothing to sort by.
        TComplexGrid empty;
        empty.SetFixedCols(0);
        dialog.SetGrid(&empty);
        bool okEnabled = true, panelEnabled = true;
        TModalWatcher second([&](QWidget *w) {
            okEnabled = w->findChild<QPushButton *>(QStringLiteral("btnOK"))->isEnabled();
            panelEnabled = w->findChild<QFrame *>(QStringLiteral("pnl1"))->isEnabled();
            Click(w, QStringLiteral("btnCancel"));
        });
        dialog.exec();
        QVERIFY(!okEnabled);
        QVERIFY(!panelEnabled);
    }

    void findDialogKeepsItsHistory()
    {
        TTestFolders folders;
        const auto search = [](const QString &text, const std::function<void(QWidget *)> &options = {}) {
            TfrmFind dialog;
            dialog.SetRegistryKey(findKey);
            QStringList history;
            TModalWatcher watcher([&](QWidget *w) {
                QLineEdit *edit = Combo(w, QStringLiteral("cmbbxSearch"))->lineEdit();
                // Typed as one piece: the key simulator knows no å.
                edit->selectAll();
                edit->insert(text);
                if (options)
                    options(w);
                Click(w, QStringLiteral("btnFind"));
                history = Items(Combo(w, QStringLiteral("cmbbxSearch")));
            });
            const int result = dialog.exec();
            return std::make_tuple(result, dialog.Text(), history, dialog.FromCursor(), dialog.Backwards(),
                                   dialog.MatchCase());
        };

        auto [result, text, history, fromCursor, backwards, matchCase] = search(QStringLiteral("Umeå"));
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(text, QStringLiteral("Umeå"));
        QCOMPARE(history, QStringList({"Umeå"}));
        QVERIFY(!fromCursor);
        QVERIFY(!backwards);
        QVERIFY(!matchCase);

        std::tie(result, text, history, fromCursor, backwards, matchCase) =
            search(QStringLiteral("Sävar"), [](QWidget *w) {
                Click(w, QStringLiteral("rgbBackward"));
                Click(w, QStringLiteral("rgbFromCursor"));
                Click(w, QStringLiteral("chkbxMatchCase"));
            });
        QCOMPARE(history, QStringList({"Sävar", "Umeå"}));
        QVERIFY(fromCursor);
        QVERIFY(backwards);
        QVERIFY(matchCase);

        // A text already in the history in another case is not added again.
        std::tie(result, text, history, fromCursor, backwards, matchCase) = search(QStringLiteral("UMEÅ"));
        QCOMPARE(text, QStringLiteral("UMEÅ"));
        QCOMPARE(history, QStringList({"Sävar", "Umeå"}));

        TDefRegistry registry(TDefRegistry::THive::User);
        QVERIFY(registry.OpenKey(findKey, false));
        QCOMPARE(registry.ReadStringDef(QStringLiteral("0"), QString()), QStringLiteral("Sävar"));
        QCOMPARE(registry.ReadStringDef(QStringLiteral("1"), QString()), QStringLiteral("Umeå"));
        QVERIFY(!registry.ValueExists(QStringLiteral("2")));
    }

    // Without a key nothing is read or written.
    void findDialogWithoutKey()
    {
        TTestFolders folders;
        {
            TDefRegistry registry(TDefRegistry::THive::User);
            registry.OpenKey(findKey, true);
            registry.WriteString(QStringLiteral("0"), QStringLiteral("Holmsund"));
            registry.CloseKey();
        }
        TfrmFind dialog;
        QStringList history;
        TModalWatcher watcher([&](QWidget *w) {
            QTest::keyClicks(Combo(w, QStringLiteral("cmbbxSearch"))->lineEdit(), QStringLiteral("Obbola"));
            Click(w, QStringLiteral("btnFind"));
            history = Items(Combo(w, QStringLiteral("cmbbxSearch")));
        });
        dialog.exec();
        QCOMPARE(history, QStringList({"Obbola"}));
        TDefRegistry registry(TDefRegistry::THive::User);
        QVERIFY(registry.OpenKey(findKey, false));
        QCOMPARE(registry.ReadStringDef(QStringLiteral("0"), QString()), QStringLiteral("Holmsund"));
    }
};

QTEST_MAIN(tst_SortFind)
#include "tst_SortFind.moc"
