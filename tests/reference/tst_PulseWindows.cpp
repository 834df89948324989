// The window where the pulse intervals are edited and the dialog where the
// intervals of a session are chosen, driven as a user does against a real
// diary opened by the application object.

#include "AppDiary.h"

#include "foundation/CompGrid.h"
#include "foundation/DefReg.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "reference/Pulse.h"
#include "reference/PulseSelect.h"
#include "reference/Pulses.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{
const QString deleted = QStringLiteral("< Borttagen >");
const QString askCancel = QStringLiteral("Vill du verkligen avbryta dina ändringar?");
const QString inUse = QStringLiteral("Pulsintervallet används av aktiviter och kan inte tas bort");

// The Pulse table as "id:low-high" in id order.
QStringList storedPulses(TAppDiary &diary)
{
    return diary.Column(QStringLiteral("select PulseId || ':' || PulseLow || '-' || PulseHigh from Pulse order by PulseId"));
}

// The register of the application object as "id:low-high" in list order.
QStringList registerPulses(TCorvaleApp &app)
{
    QList<qint32> ids;
    app.GetPulses().GetPulseIds(ids);
    QStringList rows;
    for (const qint32 id : std::as_const(ids))
        rows.append(QStringLiteral("%1:%2-%3").arg(id).arg(app.GetPulses().PulseLow(id)).arg(app.GetPulses().PulseHigh(id)));
    return rows;
}

void addPulse(TAppDiary &diary, int id, int low, int high)
{
    diary.Sql(QStringLiteral("insert into Pulse (PulseId, PulseLow, PulseHigh) values (%1, %2, %3)").arg(id).arg(low).arg(high));
}

// The intervals 1: 60-120, 2: 120-150, 3: 150-190, loaded by the register.
void threePulses(TAppDiary &diary)
{
    addPulse(diary, 1, 60, 120);
    addPulse(diary, 2, 120, 150);
    addPulse(diary, 3, 150, 190);
    diary.App().GetPulses().LoadPulses();
}

template <class T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

// The grid's rows below the title as "low|high".
QStringList gridRows(QWidget *window)
{
    auto *grid = child<TComplexGrid>(window, "cplxgrdPulse");
    QStringList rows;
    for (int row = 1; row < grid->RowCount(); ++row)
        rows.append(grid->Cells(0, row) + QLatin1Char('|') + grid->Cells(1, row));
    return rows;
}

void clickCell(TComplexGrid *grid, int col, int row)
{
    const QRect rect = grid->visualRect(grid->model()->index(row - grid->FixedRows(), col - grid->FixedCols()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

// Types the text into the cell as a user does: a click on the cell, F2,
// the text over what the editor shows and, to finish, Return. False when no
// editor opened.
bool typeIntoCell(TComplexGrid *grid, int col, int row, const QString &text, bool finish = true)
{
    clickCell(grid, col, row);
    QTest::keyClick(grid, Qt::Key_F2);
    // A closed editor stays hidden until it is deleted.
    QLineEdit *editor = nullptr;
    for (QLineEdit *open : grid->viewport()->findChildren<QLineEdit *>()) {
        if (open->isVisible())
            editor = open;
    }
    if (!editor)
        return false;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    if (!finish)
        return true;
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over from the event loop.
    QCoreApplication::processEvents();
    return true;
}

// Opens the pulse window modally with the action run inside it; returns
// the dialog's result.
int runPulseWindow(TAppDiary &diary, TDialogs &dialogs, const std::function<void(QWidget *)> &action)
{
    dialogs.actions.insert(QStringLiteral("frmPulse"), action);
    TfrmPulse window(diary.App());
    return window.exec();
}

QStringList comboTexts(QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}
}

class tst_PulseWindows : public QObject
{
    Q_OBJECT

private slots:
    // What the user types into a new row is what OK stores: the cells take
    // whole numbers 0..999 only, and the limits of a row are put in order.
    void typedLimitsAreStored_data()
    {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QStringList>("shown"); // the cells after typing
        QTest::addColumn<QString>("stored");
        QTest::newRow("in order") << "140" << "180" << QStringList{"140", "180"} << "1:140-180";
        QTest::newRow("swapped") << "180" << "140" << QStringList{"180", "140"} << "1:140-180";
        QTest::newRow("no minus, at most 999") << "-5" << "1200" << QStringList{"5", "999"} << "1:5-999";
        QTest::newRow("letters are not taken") << "14O" << "1a5b0" << QStringList{"14", "150"} << "1:14-150";
        QTest::newRow("no decimal separator") << "14.5" << "15,5" << QStringList{"145", "155"} << "1:145-155";
        QTest::newRow("only letters") << "abc" << "150" << QStringList{"0", "150"} << "1:0-150";
        QTest::newRow("left at 0-0") << "0" << "0" << QStringList{"0", "0"} << "1:0-0";
    }
    void typedLimitsAreStored()
    {
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QStringList, shown);
        QFETCH(QString, stored);
        TAppDiary diary;
        TDialogs dialogs;
        bool typed = false;
        QStringList cells;
        const int result = runPulseWindow(diary, dialogs, [&](QWidget *window) {
            auto *grid = child<TComplexGrid>(window, "cplxgrdPulse");
            QVERIFY(!grid->isEnabled()); // nothing to edit in an empty list
            child<QPushButton>(window, "btnNew")->click();
            QVERIFY(grid->isEnabled());
            QCOMPARE(gridRows(window), QStringList{"0|0"});
            typed = typeIntoCell(grid, 0, 1, low) && typeIntoCell(grid, 1, 1, high);
            cells = QStringList{grid->Cells(0, 1), grid->Cells(1, 1)};
            child<QPushButton>(window, "btnOK")->click();
        });
        QVERIFY(typed);
        QCOMPARE(cells, shown);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(storedPulses(diary), QStringList{stored});
        QCOMPARE(registerPulses(diary.App()), QStringList{stored});
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A limit left empty, or a cell holding no whole number, is not stored
    // as 0: OK says why and puts the user on that cell, the text as it
    // was, and nothing is written until the limit is given.
    void unusableLimitIsRefused_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text"); // what the cell is left with
        QTest::addColumn<QString>("message");
        QTest::newRow("low emptied") << 0 << "" << "Nedre gräns saknas. Ange ett heltal mellan 0 och 999.";
        QTest::newRow("high emptied") << 1 << "" << "Övre gräns saknas. Ange ett heltal mellan 0 och 999.";
        QTest::newRow("blanks only") << 1 << "   " << "Övre gräns saknas. Ange ett heltal mellan 0 och 999.";
        QTest::newRow("no whole number") << 0 << "14O"
                                         << "Nedre gräns \"14O\" är inget heltal. Ange ett heltal mellan 0 och 999.";
        QTest::newRow("a decimal") << 1 << "140.5"
                                   << "Övre gräns \"140.5\" är inget heltal. Ange ett heltal mellan 0 och 999.";
    }
    void unusableLimitIsRefused()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TAppDiary diary;
        threePulses(diary);
        TDialogs dialogs;
        bool openAfterOK = false, focusOnGrid = false;
        QPoint current;
        QString cellAfterOK;
        const int result = runPulseWindow(diary, dialogs, [&](QWidget *window) {
            auto *grid = child<TComplexGrid>(window, "cplxgrdPulse");
            typeIntoCell(grid, 0, 3, QStringLiteral("155"));
            if (text.isEmpty()) {
                // The user clears the cell with the keyboard.
                clickCell(grid, col, 2);
                QTest::keyClick(grid, Qt::Key_F2);
                QLineEdit *editor = nullptr;
                for (QLineEdit *open : grid->viewport()->findChildren<QLineEdit *>())
                    editor = open->isVisible() ? open : editor;
                QVERIFY(editor);
                editor->selectAll();
                QTest::keyClick(editor, Qt::Key_Backspace);
                QTest::keyClick(editor, Qt::Key_Return);
                QCoreApplication::processEvents();
            } else {
                // What a cell can hold that no typing gives it.
                grid->SetCells(col, 2, text);
            }
            clickCell(grid, 1 - col, 1);
            // OK is clicked with the mouse, which takes the focus.
            child<QPushButton>(window, "btnOK")->setFocus();
            child<QPushButton>(window, "btnOK")->click();
            openAfterOK = window->isVisible();
            window->activateWindow();
            focusOnGrid = QTest::qWaitFor([&] { return grid->hasFocus(); }, 2000);
            current = QPoint(grid->Col(), grid->Row());
            cellAfterOK = grid->Cells(col, 2);
            // Given a limit, OK stores the list.
            typeIntoCell(grid, col, 2, QStringLiteral("130"));
            child<QPushButton>(window, "btnOK")->click();
        });
        QCOMPARE(dialogs.messages, QStringList{message});
        QVERIFY(openAfterOK);
        QVERIFY(focusOnGrid);
        QCOMPARE(current, QPoint(col, 2));
        QCOMPARE(cellAfterOK, text);
        QCOMPARE(result, int(QDialog::Accepted));
        const QString second = col == 0 ? QStringLiteral("2:130-150") : QStringLiteral("2:120-130");
        QCOMPARE(storedPulses(diary), (QStringList{"1:60-120", second, "3:155-190"}));
    }

    // The window shows the stored intervals ordered by their limits, edits
    // and deletes them in memory, and OK writes it all at once. A second
    // showing starts from what is stored.
    void editDeleteAndApply()
    {
        TAppDiary diary;
        addPulse(diary, 1, 150, 190);
        addPulse(diary, 2, 60, 120);
        addPulse(diary, 3, 120, 150);
        TDialogs dialogs;
        QStringList shown, titleClicked, afterDelete;
        bool deleteEnabled = true, editorOnDeleted = true;
        runPulseWindow(diary, dialogs, [&](QWidget *window) {
            auto *grid = child<TComplexGrid>(window, "cplxgrdPulse");
            shown = gridRows(window);
            // A row stands for its interval: a title click must not move it.
            auto *header = grid->horizontalHeader();
            for (int click = 0; click < 2; ++click) {
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                  QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
                titleClicked.append(gridRows(window));
            }
            typeIntoCell(grid, 1, 1, QStringLiteral("110"));
            clickCell(grid, 0, 2);
            child<QPushButton>(window, "btnDelete")->click();
            afterDelete = gridRows(window);
            deleteEnabled = child<QPushButton>(window, "btnDelete")->isEnabled();
            // A deleted row takes no input any more.
            editorOnDeleted = typeIntoCell(grid, 0, 2, QStringLiteral("99"));
            child<QPushButton>(window, "btnNew")->click();
            typeIntoCell(grid, 0, 4, QStringLiteral("190"));
            // OK takes over what is still being typed.
            typeIntoCell(grid, 1, 4, QStringLiteral("210"), false);
            child<QPushButton>(window, "btnOK")->click();
        });
        QCOMPARE(shown, (QStringList{"60|120", "120|150", "150|190"}));
        QCOMPARE(titleClicked, shown + shown);
        QCOMPARE(afterDelete, (QStringList{"60|110", deleted + '|' + deleted, "150|190"}));
        QVERIFY(!deleteEnabled);
        QVERIFY(!editorOnDeleted);
        // The new interval gets the highest id plus one.
        QCOMPARE(storedPulses(diary), (QStringList{"1:150-190", "2:60-110", "4:190-210"}));
        QVERIFY(dialogs.messages.isEmpty());

        QStringList again;
        runPulseWindow(diary, dialogs, [&](QWidget *window) {
            again = gridRows(window);
            child<QPushButton>(window, "btnCancel")->click();
        });
        QCOMPARE(again, (QStringList{"60|110", "150|190", "190|210"}));
        QVERIFY(dialogs.messages.isEmpty()); // nothing changed, nothing asked
    }

    // An interval that a session uses cannot be deleted: the user is told
    // and the row stays as it was.
    void anIntervalInUseStays()
    {
        TAppDiary diary;
        threePulses(diary);
        diary.Sql(QStringLiteral("insert into TrainingSessionPulse (SessionNr, PulseNr, PulseId, PulseValue) values (1, 1, 2, 100)"));
        TDialogs dialogs;
        QStringList rows;
        bool deleteEnabled = false;
        runPulseWindow(diary, dialogs, [&](QWidget *window) {
            clickCell(child<TComplexGrid>(window, "cplxgrdPulse"), 1, 2);
            child<QPushButton>(window, "btnDelete")->click();
            rows = gridRows(window);
            deleteEnabled = child<QPushButton>(window, "btnDelete")->isEnabled();
            child<QPushButton>(window, "btnOK")->click();
        });
        QCOMPARE(dialogs.messages, QStringList{inUse});
        QCOMPARE(rows, (QStringList{"60|120", "120|150", "150|190"}));
        QVERIFY(deleteEnabled);
        QCOMPARE(storedPulses(diary), (QStringList{"1:60-120", "2:120-150", "3:150-190"}));
    }

    // Cancel after a change asks first; "Nej" keeps the window open with the
    // changes, "Ja" drops them. Escape is the same as Cancel. Without a
    // change nothing is asked. The register ends as the diary holds it.
    void cancel_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<bool>("asks");
        QTest::newRow("nothing changed") << "none" << false << false;
        QTest::newRow("nothing changed, Escape") << "none" << true << false;
        QTest::newRow("cell edited") << "edit" << false << true;
        QTest::newRow("cell edited, Escape") << "edit" << true << true;
        QTest::newRow("row added") << "new" << false << true;
        QTest::newRow("row deleted") << "delete" << false << true;
    }
    void cancel()
    {
        QFETCH(QString, change);
        QFETCH(bool, escape);
        QFETCH(bool, asks);
        TAppDiary diary;
        threePulses(diary);
        const QStringList before = storedPulses(diary);
        TDialogs dialogs;
        dialogs.answers = QStringList{QStringLiteral("btnNo"), QStringLiteral("btnYes")};
        bool openAfterNo = false;
        QStringList rowsAfterNo;
        const int result = runPulseWindow(diary, dialogs, [&](QWidget *window) {
            auto *grid = child<TComplexGrid>(window, "cplxgrdPulse");
            if (change == QLatin1String("edit"))
                typeIntoCell(grid, 0, 1, QStringLiteral("70"));
            else if (change == QLatin1String("new"))
                child<QPushButton>(window, "btnNew")->click();
            else if (change == QLatin1String("delete"))
                child<QPushButton>(window, "btnDelete")->click();
            const QStringList rows = gridRows(window);
            auto cancel = [&] {
                if (escape)
                    QTest::keyClick(window, Qt::Key_Escape);
                else
                    child<QPushButton>(window, "btnCancel")->click();
            };
            cancel();
            if (window->isVisible()) {
                openAfterNo = true;
                rowsAfterNo = gridRows(window);
                QCOMPARE(rowsAfterNo, rows);
                cancel();
            }
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(dialogs.messages, asks ? (QStringList{askCancel, askCancel}) : QStringList());
        QCOMPARE(openAfterNo, asks);
        QCOMPARE(storedPulses(diary), before);
        QCOMPARE(registerPulses(diary.App()), before);
    }

    // The bands of a session: each row opens when the row above has an
    // interval; emptying a row closes and empties every row below it.
    void choosingOpensTheNextRow()
    {
        TAppDiary diary;
        threePulses(diary);
        TDialogs dialogs;
        TfrmPulseSelect dialog(diary.App());
        dialogs.actions.insert(QStringLiteral("frmPulseSelect"), [&](QWidget *window) {
            auto combo = [&](int i) { return child<QComboBox>(window, qPrintable(QStringLiteral("cmbbxPulse%1").arg(i))); };
            auto percent = [&](int i) { return child<TNumericalEdit>(window, qPrintable(QStringLiteral("numedtPulse%1").arg(i))); };
            QCOMPARE(comboTexts(combo(1)), (QStringList{"", " 60-120", "120-150", "150-190"}));
            QVERIFY(combo(1)->isEnabled());
            QVERIFY(!percent(1)->isEnabled());
            for (int i = 2; i <= TfrmPulseSelect::RowCount; ++i)
                QVERIFY(!combo(i)->isEnabled());

            QTest::keyClick(combo(1), Qt::Key_Down);
            QCOMPARE(combo(1)->currentText(), QStringLiteral(" 60-120"));
            QVERIFY(percent(1)->isEnabled());
            QVERIFY(combo(2)->isEnabled());
            QVERIFY(!combo(3)->isEnabled());
            combo(2)->setCurrentIndex(3);
            combo(3)->setCurrentIndex(2);
            QTest::keyClicks(percent(1), QStringLiteral("20"));
            QTest::keyClicks(percent(2), QStringLiteral("30"));
            QTest::keyClicks(percent(3), QStringLiteral("50"));
            QVERIFY(combo(4)->isEnabled());

            combo(1)->setCurrentIndex(0);
            for (int i = 2; i <= TfrmPulseSelect::RowCount; ++i) {
                QVERIFY(!combo(i)->isEnabled());
                QCOMPARE(combo(i)->currentIndex(), 0);
                QVERIFY(percent(i)->text().isEmpty());
            }
            // The sum holds only what OK would take.
            QCOMPARE(child<TNumericalEdit>(window, "numedtPulseSum")->text(), QString());
            QCOMPARE(dialog.PercentSum(), 0);
            child<QPushButton>(window, "btnOk")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QList<qint32> ids{9}, percentages{9};
        dialog.GetSelection(ids, percentages);
        QVERIFY(ids.isEmpty());
        QVERIFY(percentages.isEmpty());
    }

    // The sum of the percentages and its colour.
    void sum_data()
    {
        QTest::addColumn<QStringList>("percentages");
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("100") << QStringList{"60", "40"} << "100" << QColor(Qt::darkGreen);
        QTest::newRow("below") << QStringList{"60", "30"} << "90" << QColor(Qt::blue);
        QTest::newRow("above") << QStringList{"60", "30", "20"} << "110" << QColor(Qt::red);
        QTest::newRow("single 100") << QStringList{"100"} << "100" << QColor(Qt::darkGreen);
        QTest::newRow("nothing") << QStringList{"0"} << "" << QColor();
    }
    void sum()
    {
        QFETCH(QStringList, percentages);
        QFETCH(QString, sum);
        QFETCH(QColor, colour);
        TAppDiary diary;
        threePulses(diary);
        TDialogs dialogs;
        TfrmPulseSelect dialog(diary.App());
        QString shown;
        QColor shownColour;
        dialogs.actions.insert(QStringLiteral("frmPulseSelect"), [&](QWidget *window) {
            for (int i = 0; i < percentages.size(); ++i) {
                // The row is found by its tags, as the dialog finds it.
                auto *panel = child<QWidget>(window, "pnlSelect");
                auto *combo = static_cast<QComboBox *>(TTulloUtilMisc::FindControlByTag(panel, i + 1));
                auto *edit = static_cast<TNumericalEdit *>(TTulloUtilMisc::FindControlByTag(panel, i + 11));
                combo->setCurrentIndex(1 + i % 3);
                edit->setFocus();
                QTest::keyClicks(edit, percentages[i]);
            }
            // Leaving the last field updates the sum.
            child<QPushButton>(window, "btnOk")->setFocus();
            auto *field = child<TNumericalEdit>(window, "numedtPulseSum");
            shown = field->text();
            shownColour = field->palette().color(QPalette::Text);
            child<QPushButton>(window, "btnCancel")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(shown, sum);
        if (colour.isValid())
            QCOMPARE(shownColour, colour);
        else
            QCOMPARE(shownColour, QPalette().color(QPalette::Text));
    }

    // The caller's choice is shown row by row and comes back as chosen on
    // OK; an interval deleted since the choice was made is left out without
    // losing the choices after it; Cancel empties the choice.
    void selectionRoundTrip_data()
    {
        QTest::addColumn<QList<qint32>>("ids");
        QTest::addColumn<QList<qint32>>("percentages");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint32>>("chosenIds");
        QTest::addColumn<QList<qint32>>("chosenPercentages");
        QTest::newRow("two") << QList<qint32>{3, 1} << QList<qint32>{70, 30}
                             << QStringList{"150-190|70", " 60-120|30"} << QList<qint32>{3, 1} << QList<qint32>{70, 30};
        QTest::newRow("one interval gone") << QList<qint32>{9, 2, 1} << QList<qint32>{10, 50, 40}
                                           << QStringList{"120-150|50", " 60-120|40"} << QList<qint32>{2, 1}
                                           << QList<qint32>{50, 40};
        QTest::newRow("none") << QList<qint32>{} << QList<qint32>{} << QStringList{} << QList<qint32>{} << QList<qint32>{};
        QTest::newRow("twice the same") << QList<qint32>{2, 2} << QList<qint32>{50, 50}
                                        << QStringList{"120-150|50", "120-150|50"} << QList<qint32>{2, 2}
                                        << QList<qint32>{50, 50};
    }
    void selectionRoundTrip()
    {
        QFETCH(QList<qint32>, ids);
        QFETCH(QList<qint32>, percentages);
        QFETCH(QStringList, rows);
        QFETCH(QList<qint32>, chosenIds);
        QFETCH(QList<qint32>, chosenPercentages);
        TAppDiary diary;
        threePulses(diary);
        TDialogs dialogs;
        TfrmPulseSelect dialog(diary.App());
        QStringList shown;
        bool okPressed = true;
        dialogs.actions.insert(QStringLiteral("frmPulseSelect"), [&](QWidget *window) {
            for (int i = 1; i <= TfrmPulseSelect::RowCount; ++i) {
                auto *combo = child<QComboBox>(window, qPrintable(QStringLiteral("cmbbxPulse%1").arg(i)));
                if (combo->currentIndex() > 0)
                    shown.append(combo->currentText() + '|'
                                 + child<TNumericalEdit>(window, qPrintable(QStringLiteral("numedtPulse%1").arg(i)))->text());
            }
            child<QPushButton>(window, okPressed ? "btnOk" : "btnCancel")->click();
        });

        dialog.SetSelection(ids, percentages);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(shown, rows);
        QList<qint32> gotIds, gotPercentages;
        dialog.GetSelection(gotIds, gotPercentages);
        QCOMPARE(gotIds, chosenIds);
        QCOMPARE(gotPercentages, chosenPercentages);

        shown.clear();
        okPressed = false;
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(shown, rows); // the same choice is shown again
        dialog.GetSelection(gotIds, gotPercentages);
        QVERIFY(gotIds.isEmpty());
        QVERIFY(gotPercentages.isEmpty());
    }

    // Without any interval there is nothing to choose.
    void noIntervals()
    {
        TAppDiary diary;
        TDialogs dialogs;
        TfrmPulseSelect dialog(diary.App());
        bool anyEnabled = true;
        dialogs.actions.insert(QStringLiteral("frmPulseSelect"), [&](QWidget *window) {
            anyEnabled = false;
            for (QComboBox *combo : window->findChildren<QComboBox *>())
                anyEnabled = anyEnabled || combo->isEnabled();
            child<QPushButton>(window, "btnOk")->click();
        });
        dialog.SetSelection({1}, {100});
        dialog.exec();
        QVERIFY(!anyEnabled);
        QList<qint32> ids{5}, percentages{5};
        dialog.GetSelection(ids, percentages);
        QVERIFY(ids.isEmpty());
    }

    // The window's size and place are kept under its own key.
    void geometryIsKept()
    {
        TAppDiary diary;
        const QString key = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\PulseWindow");
        {
            TfrmPulse window(diary.App());
            window.resize(333, 277);
            window.move(41, 52);
        }
        TDefRegistry registry;
        QVERIFY(registry.OpenKey(key, false));
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Width"), -1), 333);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Height"), -1), 277);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("XPosition"), -1), 41);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("YPosition"), -1), 52);
        registry.CloseKey();
        TfrmPulse again(diary.App());
        QCOMPARE(again.size(), QSize(333, 277));
        QCOMPARE(again.pos(), QPoint(41, 52));
    }
};

QTEST_MAIN(tst_PulseWindows)
#include "tst_PulseWindows.moc"
