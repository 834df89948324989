// The column-settings window from the main window: "&Kolumninställningar..."
// (Ctrl+8) and its tool button open it; on OK the list takes the setting
// defined there, and the tool bar's column-setting list switches between
// settings, keeping the listed activities and their order and forgetting
// the list's last sort.

#include "support/MainWindowDiary.h"

#include "columns/ColumnSettings.h"
#include "foundation/CompGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace
{
// The user's diary with four sessions, keys 1 to 4, opened in the main
// window; the column-settings window is handed to `presets`.
class TMainWindow : public TMainWindowDiary
{
public:
    TMainWindow()
        : TMainWindowDiary(
              [](TDiaryWriter &diary) {
                  diary.AddSession(QStringLiteral("RUN"), QStringLiteral("2024-03-05"), QStringLiteral("Skogen"),
                                   QStringLiteral("45.00"), QStringLiteral("10"));
                  diary.AddSession(QStringLiteral("RUN"), QStringLiteral("2024-01-10"), QStringLiteral("Stan"),
                                   QStringLiteral("30.00"), QStringLiteral("5"));
                  diary.AddSession(QStringLiteral("BIK"), QStringLiteral("2024-02-01"), QStringLiteral("Skogen"),
                                   QStringLiteral("60.00"), QStringLiteral("30"));
                  diary.AddSession(QStringLiteral("RUN"), QStringLiteral("2023-12-31"), QStringLiteral("Ån"),
                                   QStringLiteral("20.00"), QStringLiteral("4"));
              },
              QStringLiteral("Användare 1"))
    {
        OnModal(QStringLiteral("frmColumnPresets"), [this](QWidget *window) {
            presetWindows.append(window);
            if (presets)
                presets(window);
        });
    }

    TComplexGrid &Grid() { return *Window().ListGrid(); }

    QStringList Titles()
    {
        QStringList titles;
        for (int col = 0; col < Grid().ColCount(); ++col)
            titles.append(Grid().Cells(col, 0).section(QLatin1Char('\r'), 0, 0));
        return titles;
    }

    int Column(const QString &title) { return int(Titles().indexOf(title)); }

    // The keys of the list rows, top to bottom.
    QList<int> Keys()
    {
        QList<int> keys;
        const int idColumn = Grid().ColCount() - 1;
        for (int row = 1; row < Grid().RowCount(); ++row)
            keys.append(Grid().Cells(idColumn, row).toInt());
        return keys;
    }

    QStringList Cells(const QString &title)
    {
        QStringList cells;
        const int col = Column(title);
        for (int row = 1; row < Grid().RowCount(); ++row)
            cells.append(Grid().Cells(col, row));
        return cells;
    }

    void ClickTitle(const QString &title)
    {
        QHeaderView *header = Grid().horizontalHeader();
        const int col = Column(title);
        QVERIFY2(col >= 0, qPrintable(title));
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::function<void(QWidget *)> presets;
    QList<QWidget *> presetWindows;
};

QStringList items(QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}
} // namespace

class tst_MainColumnPresets : public QObject
{
    Q_OBJECT

private slots:
    // "&Kolumninställningar..." stands in "&Visa" after "Ka&lender...", its
    // button in the Visa tool bar after the calendar's; Ctrl+8, the item
    // and the button open the one window, kept between openings.
    void ctrl8OpensTheKeptWindow()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        auto *item = w.Child<QAction>("mnuiColumnPresets");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Kolumninställningar..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_8));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QCOMPARE(shown.indexOf(item), shown.indexOf(w.Child<QAction>("mnuiCalendar")) + 1);
        auto *button = w.Child<QToolButton>("tbtnColumnPresets");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa kolumndialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QCOMPARE(bar->layout()->indexOf(button), bar->layout()->indexOf(w.Child<QToolButton>("tbtnCalendar")) + 1);
        QVERIFY(button->isEnabled());

        QStringList captions;
        w.presets = [&](QWidget *window) {
            captions.append(window->windowTitle());
            window->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        };
        QTest::keyClick(&w.Window(), Qt::Key_8, Qt::ControlModifier);
        QVERIFY(w.Reactivate());
        button->click();
        QVERIFY(w.Reactivate());
        item->trigger();
        QCOMPARE(captions, (QStringList{"Visa kolumner", "Visa kolumner", "Visa kolumner"}));
        QCOMPARE(w.presetWindows.size(), 3);
        QCOMPARE(w.presetWindows.at(0), w.presetWindows.at(2));
        QVERIFY(w.messages.isEmpty());
    }

    // "Löpning" with distance, time, speed and kilometre time, defined in
    // the window: on OK the list shows it with the same activities in the
    // same order; the tool bar's list switches back and forth. Each change
    // of columns forgets the list's sort, so the next title click sorts by
    // its own column alone.
    void aDefinedSettingIsSwitchedToAndBack()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.Search();
        auto *combo = w.Child<QComboBox>("cmbbxColumnPreset");
        QCOMPARE(items(combo), QStringList{"< Grundinställning >"});
        const QStringList defaultTitles{"Datum", "Aktivitet", "Plats", "Vikt", "Kommentar", ""};
        QCOMPARE(w.Titles(), defaultTitles);
        // Sorted by date (the search), place, then comment: the keys name
        // columns of this layout only.
        w.ClickTitle(QStringLiteral("Plats"));
        w.ClickTitle(QStringLiteral("Kommentar"));
        QCOMPARE(w.Grid().LastSort().Cols, (std::array<int, 3>{4, 2, 0}));
        const QList<int> order = w.Keys();
        QCOMPARE(order.size(), 4);

        w.names = {QStringLiteral("Löpning")};
        w.presets = [&](QWidget *window) {
            window->findChild<QPushButton *>(QStringLiteral("btnNew"))->click();
            for (const char *name : {"chkbxDistance", "chkbxTime", "chkbxSpeed", "chkbxDistTime"})
                window->findChild<QCheckBox *>(QLatin1String(name))->click();
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        };
        w.Child<QToolButton>("tbtnColumnPresets")->click();
        QVERIFY(w.Reactivate());
        QCOMPARE(items(combo), (QStringList{"< Grundinställning >", "Löpning"}));
        QCOMPARE(combo->currentText(), QStringLiteral("Löpning"));
        QCOMPARE(w.Titles(), (QStringList{"Datum", "Aktivitet", "Distans", "Tid", "Kilometertid", "Hastighet", ""}));
        QCOMPARE(w.Keys(), order);
        QCOMPARE(w.Grid().LastSort(), TSortRecord());
        QCOMPARE(w.Child<QTabWidget>("pgctrlMain")->currentWidget(), w.Child<QWidget>("tshResult"));
        // 10 km in 45 minutes.
        const int run = int(order.indexOf(1));
        QCOMPARE(w.Cells(QStringLiteral("Hastighet")).at(run), QStringLiteral("13.33"));
        QCOMPARE(w.Cells(QStringLiteral("Kilometertid")).at(run), QStringLiteral("4.30"));
        w.ClickTitle(QStringLiteral("Tid"));
        QCOMPARE(w.Grid().LastSort().Cols, (std::array<int, 3>{3, -1, -1}));
        QCOMPARE(w.Cells(QStringLiteral("Tid")), (QStringList{"20.00", "30.00", "45.00", "60.00"}));
        const QList<int> byTime = w.Keys();

        // Back to the default setting from the tool bar, as the user picks it.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(combo->currentText(), QStringLiteral("< Grundinställning >"));
        QCOMPARE(w.Titles(), defaultTitles);
        QCOMPARE(w.Keys(), byTime);
        QCOMPARE(w.Grid().LastSort(), TSortRecord());
        QCOMPARE(w.App().GetColumnSettings().GetCurrent(), 1);
        w.ClickTitle(QStringLiteral("Datum"));
        QCOMPARE(w.Grid().LastSort().Cols, (std::array<int, 3>{0, -1, -1}));
        QCOMPARE(w.Cells(QStringLiteral("Datum")), (QStringList{"2023-12-31", "2024-01-10", "2024-02-01", "2024-03-05"}));
        QCOMPARE(w.messages, QStringList());

        // And to "Löpning" again.
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Löpning"));
        QCOMPARE(w.Titles().size(), 7);
        QCOMPARE(w.Cells(QStringLiteral("Datum")), (QStringList{"2023-12-31", "2024-01-10", "2024-02-01", "2024-03-05"}));
        QCOMPARE(w.messages, QStringList());
    }
};

QTEST_MAIN(tst_MainColumnPresets)
#include "tst_MainColumnPresets.moc"
