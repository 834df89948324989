// Cut, copy and paste of the "&Redigera" menu and the "Ändra" tool bar on
// the focused control, their enabling after every key and mouse release,
// "&Ändra i tabellen" (F2) on the entry grids, and the menu doing nothing
// while another window is the active one.

#include "MainSession.h"

#include "foundation/CompGrid.h"
#include "ui/EntryGrid.h"
#include "ui/EntryPage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QToolButton>

using namespace MainSession;

namespace
{
struct TEditState
{
    bool cut;
    bool copy;
    bool paste;
};

// The state of the three items.
TEditState editState(TMainSession &w)
{
    return {w.Action(QStringLiteral("mnuiCut"))->isEnabled(), w.Action(QStringLiteral("mnuiCopy"))->isEnabled(),
            w.Action(QStringLiteral("mnuiPaste"))->isEnabled()};
}

bool buttonsFollow(TMainSession &w)
{
    return w.Child<QToolButton>(QStringLiteral("tbtnCut"))->isEnabled() == w.Action(QStringLiteral("mnuiCut"))->isEnabled()
           && w.Child<QToolButton>(QStringLiteral("tbtnCopy"))->isEnabled() == w.Action(QStringLiteral("mnuiCopy"))->isEnabled()
           && w.Child<QToolButton>(QStringLiteral("tbtnPaste"))->isEnabled() == w.Action(QStringLiteral("mnuiPaste"))->isEnabled();
}

// A field of the search page with the focus, as a click puts it there.
QLineEdit *focusedSearchField(TMainSession &w, const char *name)
{
    w.Child<QTabWidget>(QStringLiteral("pgctrlMain"))->setCurrentWidget(w.Child<QWidget>(QStringLiteral("tshSearch")));
    auto *edit = w.Child<QLineEdit>(QLatin1String(name));
    edit->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(edit, Qt::LeftButton);
    return edit;
}
} // namespace

class tst_MainEditMenu : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QGuiApplication::clipboard()->clear();
    }

    // On a line edit: nothing selected, nothing to cut or copy; a
    // selection made by keys enables both; the program's own copy enables
    // paste; cut, paste and copy through the menu and the buttons act on the
    // field that has the focus.
    void cutCopyPasteOnLineEdit()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QLineEdit *place = focusedSearchField(w, "edtSearchLocation");
        QVERIFY(place->hasFocus());
        QTest::keyClicks(place, QStringLiteral("Skogen"));
        TEditState state = editState(w);
        QVERIFY(!state.cut && !state.copy && !state.paste);

        QTest::keyClick(place, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(place->selectedText(), QStringLiteral("Skogen"));
        state = editState(w);
        QVERIFY(state.cut && state.copy);
        QVERIFY(!state.paste);
        QVERIFY(buttonsFollow(w));

        w.Action(QStringLiteral("mnuiCut"))->trigger();
        QCOMPARE(place->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Skogen"));
        state = editState(w);
        QVERIFY(!state.cut && !state.copy);
        QVERIFY(state.paste);
        QVERIFY(buttonsFollow(w));

        // The button leaves the focus where it was and pastes there.
        w.Child<QToolButton>(QStringLiteral("tbtnPaste"))->click();
        QVERIFY(place->hasFocus());
        QCOMPARE(place->text(), QStringLiteral("Skogen"));

        // Copy from one field, paste into another.
        QTest::keyClick(place, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(place->selectedText(), QStringLiteral("n"));
        w.Child<QToolButton>(QStringLiteral("tbtnCopy"))->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("n"));
        QCOMPARE(place->text(), QStringLiteral("Skogen"));
        QLineEdit *comment = focusedSearchField(w, "edtSearchComment");
        QVERIFY(!editState(w).copy);
        w.Action(QStringLiteral("mnuiPaste"))->trigger();
        QCOMPARE(comment->text(), QStringLiteral("n"));
        QVERIFY(w.messages.isEmpty());
    }

    // The clipboard's state reaches paste when it changes, from anywhere,
    // at the next key or mouse release; an emptied clipboard disables it.
    void pasteFollowsClipboard()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QLineEdit *place = focusedSearchField(w, "edtSearchLocation");
        QVERIFY(!editState(w).paste);
        QGuiApplication::clipboard()->setText(QStringLiteral("Stan"));
        QTest::mouseClick(place, Qt::RightButton);
        QVERIFY(editState(w).paste);
        // Paste with nothing to paste does nothing.
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(place, Qt::Key_End);
        QVERIFY(!editState(w).paste);
        w.Action(QStringLiteral("mnuiPaste"))->trigger();
        QCOMPARE(place->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("Stan"));
        QTest::keyClick(place, Qt::Key_End);
        w.Action(QStringLiteral("mnuiPaste"))->trigger();
        QCOMPARE(place->text(), QStringLiteral("Stan"));
    }

    // "&Ändra i tabellen" is enabled on an entry grid and opens the current
    // cell's editor; on the list (which is not edited) it stays disabled.
    void editGrid()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QAction *item = w.Action(QStringLiteral("mnuiEditGrid"));
        w.Window().NewPage()->SelectActivity(QStringLiteral("Golf"));
        auto *card = w.Child<TEntryGrid>(QStringLiteral("strgrdNewGolf"));
        QVERIFY(card);
        QTRY_VERIFY(card->isVisible());
        card->SetCurrentCell(3, 1);
        card->setFocus(Qt::MouseFocusReason);
        QVERIFY(card->hasFocus());
        QTest::keyClick(card, Qt::Key_Shift);
        QVERIFY(item->isEnabled());
        QVERIFY(w.Reactivated());
        QTest::keyClick(&w.Window(), Qt::Key_F2);
        // The cell's editor has the focus.
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != card && card->isAncestorOf(editor));
        QTest::keyClicks(editor, QStringLiteral("5"));
        card->CommitEdit();
        QCOMPARE(card->Cells(3, 1), QStringLiteral("5"));

        // The title column is no cell to edit.
        card->setFocus();
        card->SetCurrentCell(0, 1);
        QTest::keyClick(card, Qt::Key_Shift);
        QVERIFY(!item->isEnabled());

        w.AddRun(1);
        w.Window().RunSearch();
        QVERIFY(w.Reactivated());
        TComplexGrid *list = w.Window().ListGrid();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Shift);
        QVERIFY(!item->isEnabled());
        // The list copies its current cell, as its own keys do, and keeps it.
        QVERIFY(editState(w).copy);
        QVERIFY(!editState(w).cut);
        QVERIFY(!editState(w).paste);
        w.Action(QStringLiteral("mnuiCopy"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), list->currentIndex().data().toString());
        QVERIFY(!QGuiApplication::clipboard()->text().isEmpty());
        QVERIFY(w.messages.isEmpty());
    }

    // While another window is active, the main window's edit items leave
    // that window's field alone, and its own field as well.
    void ignoredWhileAnotherWindowIsActive()
    {
        TTestFolders folders;
        QVERIFY(install(folders));
        TMainSession w;
        QVERIFY(w.Ready());
        QLineEdit *place = focusedSearchField(w, "edtSearchLocation");
        QTest::keyClicks(place, QStringLiteral("Skogen"));
        place->selectAll();

        QWidget other;
        auto *field = new QLineEdit(QStringLiteral("annat"), &other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        field->setFocus();
        field->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("klipp"));
        QTest::keyClick(field, Qt::Key_Shift);
        for (const char *name : {"mnuiCut", "mnuiCopy", "mnuiPaste", "mnuiEditGrid"}) {
            QAction *action = w.Action(QLatin1String(name));
            action->setEnabled(true);
            action->trigger();
        }
        QCOMPARE(field->text(), QStringLiteral("annat"));
        QCOMPARE(place->text(), QStringLiteral("Skogen"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("klipp"));
    }
};

QTEST_MAIN(tst_MainEditMenu)
#include "tst_MainEditMenu.moc"
