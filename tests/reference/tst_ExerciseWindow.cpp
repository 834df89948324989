// The window where strength exercises and programs are kept, driven as a
// user does against a real diary opened by the application object: the
// name dialog typed into, the message boxes answered.

#include "AppDiary.h"

#include "app/CorvaleHelp.h"
#include "foundation/GenericName.h"
#include "reference/Exercise.h"
#include "reference/Exercises.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace
{
const QString deleted = QStringLiteral("< Borttagen >");
const QString askCancel = QStringLiteral("Vill du verkligen avbryta dina ändringar?");
const QString askUsed = QStringLiteral("Du har ändrat ett styrketräningsprogram som används av styrketräningsaktivteter. "
                                       "Vill du verkligen spara dina ändringar?");
const QString nameTaken = QStringLiteral("Övningsnamnet finns redan. Välj ett annat namn");
const QString askDeleteExercise = QStringLiteral("Vill du verkligen ta bort övningen?");
const QString askDeleteProgram = QStringLiteral("Vill du verkligen ta bort styrketräningsprogrammet?");
// Typed into the name dialog: answers it with "&Avbryt".
const QString cancelName = QStringLiteral("<Avbryt>");

void addExercise(TAppDiary &diary, int id, const QString &name)
{
    diary.Sql(QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (%1, '%2')").arg(id).arg(name));
}

// A program with the exercise ids in its first slots.
void addProgram(TAppDiary &diary, int id, const QString &name, const QList<int> &exercises,
                const QString &comment = QStringLiteral(" "))
{
    QString columns = QStringLiteral("ExProgId, ExProgName, ExComment");
    QString values = QStringLiteral("%1, '%2', '%3'").arg(id).arg(name, comment);
    for (int i = 0; i < exercises.size(); ++i) {
        columns += QStringLiteral(", Exercise%1").arg(i + 1);
        values += QStringLiteral(", %1").arg(exercises.at(i));
    }
    diary.Sql(QStringLiteral("insert into ExercisePrograms (%1) values (%2)").arg(columns, values));
}

// Workouts that follow the program.
void followProgram(TAppDiary &diary, int programId, int workouts = 1)
{
    static int workoutNr = 0;
    for (int i = 0; i < workouts; ++i)
        diary.Sql(QStringLiteral("insert into WorkoutExercisePrograms (WoNr, ExProgId) values (%1, %2)")
                      .arg(++workoutNr)
                      .arg(programId));
}

void loadRegisters(TAppDiary &diary)
{
    diary.App().GetExercises().LoadExercises();
    diary.App().GetExercisePrograms().LoadPrograms();
}

// Exercises 1 Bänkpress, 2 Knäböj, 3 Marklyft, 4 Rodd, 5 Chins; program 1
// "Bas" with Bänkpress and Knäböj, program 2 "Drag" with Marklyft, Rodd and
// Chins; loaded by the registers.
void strengthDiary(TAppDiary &diary)
{
    addExercise(diary, 1, QStringLiteral("Bänkpress"));
    addExercise(diary, 2, QStringLiteral("Knäböj"));
    addExercise(diary, 3, QStringLiteral("Marklyft"));
    addExercise(diary, 4, QStringLiteral("Rodd"));
    addExercise(diary, 5, QStringLiteral("Chins"));
    addProgram(diary, 1, QStringLiteral("Bas"), {1, 2}, QStringLiteral("Måndagar"));
    addProgram(diary, 2, QStringLiteral("Drag"), {3, 4, 5});
    loadRegisters(diary);
}

// The table Exercises as "id:name" in id order.
QStringList storedExercises(TAppDiary &diary)
{
    return diary.Column(QStringLiteral("select ExerciseId || ':' || ExerciseName from Exercises order by ExerciseId"));
}

// One program row as "name|ids of the filled slots|comment"; empty when
// there is none.
QString storedProgram(TAppDiary &diary, int id)
{
    TDbQuery query(diary.Db());
    query.Add(QStringLiteral("select * from ExercisePrograms where ExProgId = :id"));
    query.SetInteger(QStringLiteral("id"), id);
    query.Open();
    if (query.Eof())
        return QString();
    QStringList filled;
    for (int i = 1; i <= ProgramSlotCount; ++i) {
        const int index = query.FieldIndex(QStringLiteral("Exercise%1").arg(i));
        if (!query.FieldIsNull(index))
            filled.append(query.FieldAsText(index).trimmed());
    }
    return query.FieldAsText(QStringLiteral("ExProgName")).trimmed() + QLatin1Char('|')
           + filled.join(QLatin1Char(',')) + QLatin1Char('|') + query.FieldAsText(QStringLiteral("ExComment")).trimmed();
}

// The filled slots of a program in the register.
QStringList registerSlots(TAppDiary &diary, int id)
{
    QStringList filled;
    for (const QString &slot : diary.App().GetExercisePrograms().GetProgramExercises(id)) {
        if (!slot.isEmpty())
            filled.append(slot);
    }
    return filled;
}

QStringList registerExerciseNames(TAppDiary &diary)
{
    QList<qint32> ids;
    QStringList names;
    diary.App().GetExercises().GetExercises(ids, names);
    return names;
}

template <class T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

QListWidget *list(QWidget *window, const char *name)
{
    return child<QListWidget>(window, name);
}

QStringList lines(QWidget *window, const char *name)
{
    QListWidget *box = list(window, name);
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->item(i)->text());
    return texts;
}

bool enabled(QWidget *window, const char *name)
{
    return child<QWidget>(window, name)->isEnabled();
}

QString labelText(QWidget *window, const char *name)
{
    return child<QLabel>(window, name)->text();
}

// A click on the line, as the user picks it.
void clickLine(QListWidget *box, int row)
{
    QListWidgetItem *item = box->item(row);
    box->scrollToItem(item);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(item).center());
}

// A click on the line with exactly the text; false when there is none.
bool clickText(QWidget *window, const char *name, const QString &text)
{
    QListWidget *box = list(window, name);
    for (int row = 0; row < box->count(); ++row) {
        if (box->item(row)->text() == text) {
            clickLine(box, row);
            return box->currentRow() == row && box->item(row)->isSelected();
        }
    }
    return false;
}

void showPrograms(QWidget *window)
{
    auto *pages = child<QTabWidget>(window, "pgctrlExercise");
    pages->setCurrentWidget(child<QWidget>(window, "tshExercisePrograms"));
}

void click(QWidget *window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    QVERIFY2(button->isEnabled(), name);
    button->click();
}

// Types the text key by key; letters outside ASCII come as the text of a
// key the keyboard has no code for, as from a Swedish layout.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The name dialog as the user meets it: what it showed each time it opened
// and what was typed into it. Each opening takes the next text of `typed`
// (typed over the initial text, then "&OK"); cancelName, or nothing left,
// answers "&Avbryt".
struct TNameDialog
{
    QStringList typed;
    QStringList shown;    // the initial text of each opening
    QStringList captions; // caption, then label
    bool focusOnEdit = true;
    int maxLength = -1;

    void Answer(QWidget *window)
    {
        auto *edit = child<QLineEdit>(window, "edtSetName");
        shown.append(edit->text());
        captions.append(window->windowTitle() + QLatin1Char('/') + child<QLabel>(window, "lblSetName")->text());
        // The platform hands the focus over once it has activated the dialog.
        focusOnEdit = focusOnEdit && QTest::qWaitFor([edit] { return edit->hasFocus(); }, 2000);
        maxLength = edit->maxLength();
        const QString text = typed.isEmpty() ? cancelName : typed.takeFirst();
        if (text == cancelName) {
            child<QPushButton>(window, "btnCancel")->click();
            return;
        }
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
        child<QPushButton>(window, "btnOK")->click();
    }
};

// The window shown modally with the action run inside it, the name dialog
// answered by `names`; returns the window's result.
int runWindow(TAppDiary &diary, TDialogs &dialogs, TNameDialog &names, const std::function<void(QWidget *)> &action)
{
    dialogs.actions.insert(QStringLiteral("frmExercise"), action);
    dialogs.actions.insert(QStringLiteral("frmGenericName"), [&names](QWidget *window) { names.Answer(window); });
    TfrmExercise window(diary.App());
    return window.exec();
}

// Picks the program line and then each catalogue line in turn, adding it.
void addToProgram(QWidget *window, const QString &program, const QStringList &exercises)
{
    showPrograms(window);
    QVERIFY(clickText(window, "lstbxExercisePrograms", program));
    for (const QString &exercise : exercises) {
        QVERIFY2(clickText(window, "lstbxAll", exercise), qPrintable(exercise));
        click(window, "bbtnAddOne");
    }
}

// Records the help pages asked for.
class THelpRecorder : public THelpViewer
{
public:
    void ShowPage(const QString &file, const QString &anchor) override
    {
        pages.append(QFileInfo(file).fileName() + QLatin1Char('#') + anchor);
    }
    void Inform(const QString &text) override { pages.append(text); }
    QStringList pages;
};
}

class tst_ExerciseWindow : public QObject
{
    Q_OBJECT

private slots:
    // A catalogue line goes after the selected line of the selection list:
    // with no line or the last one selected it is appended and selected;
    // otherwise the selection stays, so several additions stand after it
    // in the reverse order of adding. OK stores the order.
    void addsAfterTheSelectedLine_data()
    {
        QTest::addColumn<int>("selected"); // line of "Drag" (Marklyft, Rodd, Chins) clicked first; -1 none
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<QString>("stored");
        QTest::newRow("none selected") << -1 << QStringList{"Bänkpress", "Knäböj"}
                                       << QStringList{"Marklyft", "Rodd", "Chins", "Bänkpress", "Knäböj"} << 4
                                       << "Drag|3,4,5,1,2|";
        QTest::newRow("last selected") << 2 << QStringList{"Bänkpress", "Knäböj"}
                                       << QStringList{"Marklyft", "Rodd", "Chins", "Bänkpress", "Knäböj"} << 4
                                       << "Drag|3,4,5,1,2|";
        QTest::newRow("first selected") << 0 << QStringList{"Bänkpress", "Knäböj"}
                                        << QStringList{"Marklyft", "Knäböj", "Bänkpress", "Rodd", "Chins"} << 0
                                        << "Drag|3,2,1,4,5|";
        QTest::newRow("middle selected, same one twice")
            << 1 << QStringList{"Rodd", "Bänkpress", "Rodd"}
            << QStringList{"Marklyft", "Rodd", "Rodd", "Bänkpress", "Rodd", "Chins"} << 1 << "Drag|3,4,4,1,4,5|";
    }
    void addsAfterTheSelectedLine()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, added);
        QFETCH(QStringList, expected);
        QFETCH(int, selectedAfter);
        QFETCH(QString, stored);
        TAppDiary diary;
        strengthDiary(diary);
        TDialogs dialogs;
        TNameDialog names;
        QStringList shown;
        int current = -2;
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            showPrograms(window);
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Drag")));
            QCOMPARE(lines(window, "lstbxSel"), (QStringList{"Marklyft", "Rodd", "Chins"}));
            if (selected >= 0)
                clickLine(list(window, "lstbxSel"), selected);
            for (const QString &exercise : std::as_const(added)) {
                QVERIFY(clickText(window, "lstbxAll", exercise));
                click(window, "bbtnAddOne");
            }
            shown = lines(window, "lstbxSel");
            current = list(window, "lstbxSel")->currentRow();
            click(window, "btnOK");
        });
        QCOMPARE(shown, expected);
        QCOMPARE(current, selectedAfter);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(storedProgram(diary, 2), stored);
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Bas|1,2|Måndagar"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Removing a line moves the selection to the line that took its place,
    // or to the new last line; removing the only line stores a program
    // without exercises.
    void removeMovesTheSelection()
    {
        TAppDiary diary;
        strengthDiary(diary);
        TDialogs dialogs;
        TNameDialog names;
        QList<QPair<QStringList, int>> steps;
        bool removeEnabledWhenEmpty = true;
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            showPrograms(window);
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Drag")));
            QListWidget *selection = list(window, "lstbxSel");
            clickLine(selection, 1);
            for (int i = 0; i < 3; ++i) {
                click(window, "bbtnDelOne");
                steps.append({lines(window, "lstbxSel"), selection->currentRow()});
            }
            removeEnabledWhenEmpty = enabled(window, "bbtnDelOne");
            click(window, "btnOK");
        });
        QCOMPARE(steps.size(), 3);
        QCOMPARE(steps.at(0), (QPair<QStringList, int>{{"Marklyft", "Chins"}, 1}));
        QCOMPARE(steps.at(1), (QPair<QStringList, int>{{"Marklyft"}, 0}));
        QCOMPARE(steps.at(2), (QPair<QStringList, int>{{}, -1}));
        QVERIFY(!removeEnabledWhenEmpty);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(storedProgram(diary, 2), QStringLiteral("Drag||"));
    }

    // A program holds fifteen exercises at most: at fifteen the add button
    // is disabled and Alt+Right, which adds below that, adds nothing.
    void fifteenExercisesAtMost()
    {
        TAppDiary diary;
        addExercise(diary, 1, QStringLiteral("Bänkpress"));
        addExercise(diary, 2, QStringLiteral("Knäböj"));
        addProgram(diary, 1, QStringLiteral("Långt"), QList<int>(14, 1));
        loadRegisters(diary);
        TDialogs dialogs;
        TNameDialog names;
        int byKey = 0, afterLimit = 0, afterRemove = 0;
        bool addEnabledAtLimit = true, addEnabledAfterRemove = false;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            showPrograms(window);
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Långt")));
            QCOMPARE(list(window, "lstbxSel")->count(), 14);
            QVERIFY(clickText(window, "lstbxAll", QStringLiteral("Knäböj")));
            QTest::keyClick(list(window, "lstbxAll"), Qt::Key_Right, Qt::AltModifier);
            byKey = list(window, "lstbxSel")->count();
            addEnabledAtLimit = enabled(window, "bbtnAddOne");
            QTest::keyClick(list(window, "lstbxAll"), Qt::Key_Right, Qt::AltModifier);
            child<QToolButton>(window, "bbtnAddOne")->click();
            afterLimit = list(window, "lstbxSel")->count();
            clickLine(list(window, "lstbxSel"), 0);
            QTest::keyClick(list(window, "lstbxSel"), Qt::Key_Left, Qt::AltModifier);
            afterRemove = list(window, "lstbxSel")->count();
            addEnabledAfterRemove = enabled(window, "bbtnAddOne");
            click(window, "btnOK");
        });
        QCOMPARE(byKey, 15);
        QVERIFY(!addEnabledAtLimit);
        QCOMPARE(afterLimit, 15);
        QCOMPARE(afterRemove, 14);
        QVERIFY(addEnabledAfterRemove);
        QStringList expected(13, QStringLiteral("1"));
        expected.append(QStringLiteral("2"));
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Långt|") + expected.join(QLatin1Char(',')) + QLatin1Char('|'));
    }

    // Two exercises whose names differ only in letter case are two
    // exercises: each selection line stands for the one with its text.
    void namesDifferingInCaseAreToldApart()
    {
        TAppDiary diary;
        addExercise(diary, 1, QStringLiteral("bänkpress"));
        addProgram(diary, 1, QStringLiteral("Bas"), {});
        loadRegisters(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {QStringLiteral("Bänkpress")};
        QStringList catalogue, selection;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnENew");
            catalogue = lines(window, "lstbxAll");
            addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Bänkpress"), QStringLiteral("bänkpress"),
                                                         QStringLiteral("Bänkpress")});
            selection = lines(window, "lstbxSel");
            click(window, "btnOK");
        });
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(catalogue, (QStringList{"bänkpress", "Bänkpress"}));
        QCOMPARE(selection, (QStringList{"Bänkpress", "bänkpress", "Bänkpress"}));
        QCOMPARE(storedExercises(diary), (QStringList{"1:bänkpress", "2:Bänkpress"}));
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Bas|2,1,2|"));
    }

    // OK asks once before it writes a program that workouts follow and
    // whose exercises changed; a new name or comment of such a program, or
    // any change of a program no workout follows, is written without the
    // question.
    void okAsksOnlyForChangedExercisesOfUsedPrograms_data()
    {
        QTest::addColumn<bool>("basUsed");
        QTest::addColumn<bool>("dragUsed");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("storedBas");
        QTest::addColumn<QString>("storedDrag");
        QTest::newRow("used, exercise added") << true << false << "add" << true << "Bas|1,2,3|Måndagar" << "Drag|3,4,5|";
        QTest::newRow("used, exercise removed") << true << false << "remove" << true << "Bas|1|Måndagar"
                                                << "Drag|3,4,5|";
        QTest::newRow("both used and changed, asked once")
            << true << true << "add both" << true << "Bas|1,2,3|Måndagar" << "Drag|3,4,5,3|";
        QTest::newRow("used, renamed") << true << false << "rename" << false << "Styrka|1,2|Måndagar" << "Drag|3,4,5|";
        QTest::newRow("used, new comment") << true << false << "comment" << false << "Bas|1,2|Tisdagar"
                                           << "Drag|3,4,5|";
        QTest::newRow("unused, exercise added") << false << true << "add" << false << "Bas|1,2,3|Måndagar"
                                                << "Drag|3,4,5|";
        QTest::newRow("used, removed and added back") << true << false << "remove and add back" << false
                                                      << "Bas|1,2|Måndagar" << "Drag|3,4,5|";
    }
    void okAsksOnlyForChangedExercisesOfUsedPrograms()
    {
        QFETCH(bool, basUsed);
        QFETCH(bool, dragUsed);
        QFETCH(QString, change);
        QFETCH(bool, asked);
        QFETCH(QString, storedBas);
        QFETCH(QString, storedDrag);
        TAppDiary diary;
        strengthDiary(diary);
        if (basUsed)
            followProgram(diary, 1, 2);
        if (dragUsed)
            followProgram(diary, 2);
        TDialogs dialogs;
        dialogs.answers = {QStringLiteral("btnYes")};
        TNameDialog names;
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            showPrograms(window);
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Bas")));
            if (change == QLatin1String("add") || change == QLatin1String("add both")) {
                addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Marklyft")});
                if (change == QLatin1String("add both"))
                    addToProgram(window, QStringLiteral("Drag"), {QStringLiteral("Marklyft")});
            } else if (change.startsWith(QLatin1String("remove"))) {
                clickLine(list(window, "lstbxSel"), 1);
                click(window, "bbtnDelOne");
                if (change == QLatin1String("remove and add back"))
                    addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Knäböj")});
            } else if (change == QLatin1String("rename")) {
                names.typed = {QStringLiteral("Styrka")};
                click(window, "btnEPRename");
            } else {
                names.typed = {QStringLiteral("Tisdagar")};
                click(window, "btnEPComment");
            }
            click(window, "btnOK");
        });
        QCOMPARE(dialogs.messages, asked ? QStringList{askUsed} : QStringList{});
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(storedProgram(diary, 1), storedBas);
        QCOMPARE(storedProgram(diary, 2), storedDrag);
    }

    // The question's No drops every change of this opening and leaves the
    // diary as it was; its Cancel, or closing the box, keeps the window open
    // with every change, and a second OK answered Yes writes them.
    void answersToTheQuestionOnOK_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("no") << "btnNo";
        QTest::newRow("cancel") << "btnCancel";
    }
    void answersToTheQuestionOnOK()
    {
        QFETCH(QString, answer);
        TAppDiary diary;
        strengthDiary(diary);
        followProgram(diary, 1);
        const QStringList exercisesBefore = storedExercises(diary);
        const QString basBefore = storedProgram(diary, 1);
        TDialogs dialogs;
        dialogs.answers = {answer, QStringLiteral("btnYes")};
        TNameDialog names;
        names.typed = {QStringLiteral("Utfall"), QStringLiteral("Styrka")};
        bool openAfterAnswer = false;
        QStringList selectionAfterAnswer;
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnENew");
            addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Utfall")});
            click(window, "btnEPRename");
            click(window, "btnOK");
            openAfterAnswer = window->isVisible();
            if (!openAfterAnswer)
                return;
            selectionAfterAnswer = lines(window, "lstbxSel");
            click(window, "btnOK");
        });
        QCOMPARE(dialogs.messages.size(), answer == QLatin1String("btnNo") ? 1 : 2);
        QCOMPARE(dialogs.messages.first(), askUsed);
        if (answer == QLatin1String("btnNo")) {
            QVERIFY(!openAfterAnswer);
            QCOMPARE(result, int(QDialog::Rejected));
            QCOMPARE(storedExercises(diary), exercisesBefore);
            QCOMPARE(storedProgram(diary, 1), basBefore);
            // The registers hold what is stored, not the dropped changes.
            QCOMPARE(registerExerciseNames(diary), (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd"}));
            QCOMPARE(registerSlots(diary, 1), (QStringList{"1", "2"}));
            QCOMPARE(diary.App().GetExercisePrograms().GetProgramName(1), QStringLiteral("Bas"));
        } else {
            QVERIFY(openAfterAnswer);
            QCOMPARE(selectionAfterAnswer, (QStringList{"Bänkpress", "Knäböj", "Utfall"}));
            QCOMPARE(result, int(QDialog::Accepted));
            QCOMPARE(storedExercises(diary).last(), QStringLiteral("6:Utfall"));
            QCOMPARE(storedProgram(diary, 1), QStringLiteral("Styrka|1,2,6|Måndagar"));
        }
    }

    // "&Avbryt" (or Escape) after a change asks first; No keeps the window
    // open with the change, Yes drops every change. Without a change it
    // asks nothing. Either way the registers are read again.
    void cancelDropsTheChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("escape");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("nothing, Escape") << "" << true;
        QTest::newRow("new exercise") << "new exercise" << false;
        QTest::newRow("renamed exercise, Escape") << "rename exercise" << true;
        QTest::newRow("deleted exercise") << "delete exercise" << false;
        QTest::newRow("new program") << "new program" << false;
        QTest::newRow("comment") << "comment" << false;
        QTest::newRow("deleted program") << "delete program" << false;
        QTest::newRow("exercise added to a program") << "add" << false;
    }
    void cancelDropsTheChanges()
    {
        QFETCH(QString, change);
        QFETCH(bool, escape);
        TAppDiary diary;
        strengthDiary(diary);
        addExercise(diary, 6, QStringLiteral("Utfall"));
        loadRegisters(diary);
        const QStringList exercisesBefore = storedExercises(diary);
        TDialogs dialogs;
        TNameDialog names;
        bool openAfterNo = false;
        const bool changes = !change.isEmpty();
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (change == QLatin1String("new exercise")) {
                names.typed = {QStringLiteral("Armhävning")};
                click(window, "btnENew");
            } else if (change == QLatin1String("rename exercise")) {
                QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Rodd")));
                names.typed = {QStringLiteral("Sittande rodd")};
                click(window, "btnERename");
            } else if (change == QLatin1String("delete exercise")) {
                QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Utfall")));
                dialogs.answers = {QStringLiteral("btnYes")};
                click(window, "btnEDelete");
            } else if (change == QLatin1String("new program")) {
                showPrograms(window);
                names.typed = {QStringLiteral("Ben")};
                click(window, "btnEPNew");
            } else if (change == QLatin1String("comment")) {
                showPrograms(window);
                names.typed = {QStringLiteral("Ny kommentar")};
                click(window, "btnEPComment");
            } else if (change == QLatin1String("delete program")) {
                showPrograms(window);
                QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Drag")));
                dialogs.answers = {QStringLiteral("btnYes")};
                click(window, "btnEPDelete");
            } else if (change == QLatin1String("add")) {
                addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Utfall")});
            }
            // The first question is answered No, the second Yes.
            dialogs.answers = {QStringLiteral("btnNo"), QStringLiteral("btnYes")};
            const auto cancel = [&] {
                if (escape)
                    QTest::keyClick(window, Qt::Key_Escape);
                else
                    click(window, "btnCancel");
            };
            if (changes) {
                cancel();
                openAfterNo = window->isVisible();
            }
            cancel();
        });
        QStringList expected;
        if (change.startsWith(QLatin1String("delete")))
            expected.append(change == QLatin1String("delete exercise") ? askDeleteExercise : askDeleteProgram);
        if (changes)
            expected << askCancel << askCancel;
        QCOMPARE(dialogs.messages, expected);
        QCOMPARE(openAfterNo, changes);
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(storedExercises(diary), exercisesBefore);
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Bas|1,2|Måndagar"));
        QCOMPARE(storedProgram(diary, 2), QStringLiteral("Drag|3,4,5|"));
        QCOMPARE(registerExerciseNames(diary),
                 (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd", "Utfall"}));
        QList<qint32> ids;
        QStringList programs;
        diary.App().GetExercisePrograms().GetPrograms(ids, programs);
        QCOMPARE(programs, (QStringList{"Bas", "Drag"}));
        QCOMPARE(diary.App().GetExercisePrograms().GetProgramComment(1), QStringLiteral("Måndagar"));
        QCOMPARE(registerSlots(diary, 1), (QStringList{"1", "2"}));
    }

    // A name that another exercise has (after cleaning), or the reserved
    // "Vikt", is refused with the error box, and the name dialog opens again
    // with the text as the user left it; another name is then taken.
    void takenNameOpensTheDialogAgain_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("typed");
        QTest::newRow("new, taken") << false << "Knäböj";
        QTest::newRow("new, taken once cleaned") << false << "Knä&böj";
        QTest::newRow("new, reserved") << false << "Vikt";
        QTest::newRow("new, blank gives a taken default") << false << "   ";
        QTest::newRow("rename, taken") << true << "Knäböj";
        QTest::newRow("rename, reserved") << true << "Vikt";
    }
    void takenNameOpensTheDialogAgain()
    {
        QFETCH(bool, rename);
        QFETCH(QString, typed);
        TAppDiary diary;
        addExercise(diary, 1, QStringLiteral("Knäböj"));
        addExercise(diary, 2, QStringLiteral("Ny övning"));
        addExercise(diary, 3, QStringLiteral("Rodd"));
        loadRegisters(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {typed, QStringLiteral("Utfall")};
        QStringList shownLines;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (rename) {
                QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Rodd")));
                click(window, "btnERename");
            } else {
                click(window, "btnENew");
            }
            shownLines = lines(window, "lstbxExercises");
            click(window, "btnOK");
        });
        QCOMPARE(dialogs.messages, QStringList{nameTaken});
        QCOMPARE(names.shown, (QStringList{rename ? QStringLiteral("Rodd") : QStringLiteral("Ny övning"), typed}));
        QVERIFY(names.focusOnEdit);
        if (rename) {
            QCOMPARE(shownLines, (QStringList{"Knäböj", "Ny övning", "Utfall"}));
            QCOMPARE(storedExercises(diary), (QStringList{"1:Knäböj", "2:Ny övning", "3:Utfall"}));
        } else {
            QCOMPARE(shownLines, (QStringList{"Knäböj", "Ny övning", "Rodd", "Utfall"}));
            QCOMPARE(storedExercises(diary), (QStringList{"1:Knäböj", "2:Ny övning", "3:Rodd", "4:Utfall"}));
        }
    }

    // The name dialog of each button with its caption, label, initial text
    // and length; what it gives becomes the line and the register's name,
    // an empty or blank text the default or, renaming, the old name.
    void nameDialogsGiveTheNames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("line");   // the line of the exercise or program list afterwards
        QTest::addColumn<QString>("stored"); // the table's row afterwards
        const QString sixty = QString(60, QLatin1Char('x'));
        QTest::newRow("new exercise") << "btnENew" << "Utfall" << "Styrketräningsövning/&Övning" << "Ny övning" << 60
                                      << "Utfall" << "3:Utfall";
        QTest::newRow("new exercise, blank") << "btnENew" << "   " << "Styrketräningsövning/&Övning" << "Ny övning"
                                             << 60 << "Ny övning" << "3:Ny övning";
        QTest::newRow("new exercise, empty") << "btnENew" << "" << "Styrketräningsövning/&Övning" << "Ny övning" << 60
                                             << "Ny övning" << "3:Ny övning";
        QTest::newRow("new exercise, 70 characters") << "btnENew" << QString(70, QLatin1Char('x'))
                                                     << "Styrketräningsövning/&Övning" << "Ny övning" << 60 << sixty
                                                     << "3:" + sixty;
        QTest::newRow("new exercise, ampersand") << "btnENew" << "Arm&hävning" << "Styrketräningsövning/&Övning"
                                                 << "Ny övning" << 60 << "Arm&hävning" << "3:Armhävning";
        QTest::newRow("renamed exercise") << "btnERename" << "Frontböj" << "Styrketräningsövning/&Övning" << "Knäböj"
                                          << 60 << "Frontböj" << "2:Frontböj";
        QTest::newRow("renamed exercise, blank") << "btnERename" << "  " << "Styrketräningsövning/&Övning" << "Knäböj"
                                                 << 60 << "Knäböj" << "2:Knäböj";
        QTest::newRow("new program") << "btnEPNew" << "Ben" << "Styrketräningsprogram/Styrketräningsprogram"
                                     << "Nytt styrketräningsprogram" << 60 << "Ben" << "Ben||";
        QTest::newRow("new program, blank") << "btnEPNew" << " " << "Styrketräningsprogram/Styrketräningsprogram"
                                            << "Nytt styrketräningsprogram" << 60 << "Nytt styrketräningsprogram"
                                            << "Nytt styrketräningsprogram||";
        QTest::newRow("renamed program") << "btnEPRename" << "Överkropp" << "Styrketräningsprogram/Styrketräningsprogram"
                                         << "Bas" << 60 << "Överkropp" << "Överkropp|1,2|Måndagar";
        QTest::newRow("renamed program, blank") << "btnEPRename" << "" << "Styrketräningsprogram/Styrketräningsprogram"
                                                << "Bas" << 60 << "Bas" << "Bas|1,2|Måndagar";
        QTest::newRow("comment") << "btnEPComment" << "  Lätt vecka" << "Kommentar/Kommentar" << "Måndagar" << 250
                                 << "Bas" << "Bas|1,2|Lätt vecka";
    }
    void nameDialogsGiveTheNames()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        QFETCH(QString, initial);
        QFETCH(int, maxLength);
        QFETCH(QString, line);
        QFETCH(QString, stored);
        TAppDiary diary;
        addExercise(diary, 1, QStringLiteral("Bänkpress"));
        addExercise(diary, 2, QStringLiteral("Knäböj"));
        addProgram(diary, 1, QStringLiteral("Bas"), {1, 2}, QStringLiteral("Måndagar"));
        loadRegisters(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {typed};
        const bool programs = button.startsWith(QLatin1String("btnEP"));
        QString selectedLine, comment;
        bool changed = false;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (programs)
                showPrograms(window);
            else if (button == QLatin1String("btnERename"))
                QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Knäböj")));
            click(window, qPrintable(button));
            changed = static_cast<TfrmExercise *>(window)->Changed();
            QListWidget *box = list(window, programs ? "lstbxExercisePrograms" : "lstbxExercises");
            selectedLine = box->currentItem() ? box->currentItem()->text() : QString();
            comment = child<QLineEdit>(window, "edtEPComment")->text();
            click(window, "btnOK");
        });
        QCOMPARE(names.captions, QStringList{caption});
        QCOMPARE(names.shown, QStringList{initial});
        QCOMPARE(names.maxLength, maxLength);
        QVERIFY(names.focusOnEdit);
        QVERIFY(changed);
        QCOMPARE(selectedLine, line);
        if (button == QLatin1String("btnEPComment"))
            QCOMPARE(comment, typed);
        if (programs) {
            const int id = button == QLatin1String("btnEPNew") ? 2 : 1;
            QCOMPARE(storedProgram(diary, id), stored);
        } else {
            const int id = stored.section(QLatin1Char(':'), 0, 0).toInt();
            QCOMPARE(storedExercises(diary).value(id - 1), stored);
        }
    }

    // The name dialog answered "&Avbryt" changes nothing.
    void cancelledNameDialogChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("new exercise") << "btnENew";
        QTest::newRow("renamed exercise") << "btnERename";
        QTest::newRow("new program") << "btnEPNew";
        QTest::newRow("renamed program") << "btnEPRename";
        QTest::newRow("comment") << "btnEPComment";
    }
    void cancelledNameDialogChangesNothing()
    {
        QFETCH(QString, button);
        TAppDiary diary;
        strengthDiary(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {cancelName};
        bool changed = true;
        QStringList exercises, programs;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (button.startsWith(QLatin1String("btnEP")))
                showPrograms(window);
            click(window, qPrintable(button));
            changed = static_cast<TfrmExercise *>(window)->Changed();
            exercises = lines(window, "lstbxExercises");
            programs = lines(window, "lstbxExercisePrograms");
            click(window, "btnCancel");
        });
        QCOMPARE(names.shown.size(), 1);
        QVERIFY(!changed);
        QCOMPARE(exercises, (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd"}));
        QCOMPARE(programs, (QStringList{"Bas", "Drag"}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Deleting an exercise turns its line into "< Borttagen >", takes it
    // out of the catalogue and disables renaming and deleting it; an
    // exercise that a program uses cannot be deleted, and the page says how
    // many programs use the selected exercise.
    void deletingAnExercise()
    {
        TAppDiary diary;
        strengthDiary(diary);
        addProgram(diary, 3, QStringLiteral("Press"), {1});
        addExercise(diary, 6, QStringLiteral("Utfall"));
        loadRegisters(diary);
        TDialogs dialogs;
        dialogs.answers = {QStringLiteral("btnNo"), QStringLiteral("btnYes")};
        TNameDialog names;
        QStringList usedState, unusedState, afterNo, afterDelete, catalogue;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            const auto state = [&] {
                return QStringList{enabled(window, "btnERename") ? "rename" : "-", enabled(window, "btnEDelete") ? "delete" : "-",
                                   labelText(window, "lblUsedByNrProg")};
            };
            QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Bänkpress")));
            usedState = state();
            QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Utfall")));
            unusedState = state();
            click(window, "btnEDelete");
            afterNo = lines(window, "lstbxExercises");
            click(window, "btnEDelete");
            afterDelete = lines(window, "lstbxExercises") + state();
            catalogue = lines(window, "lstbxAll");
            click(window, "btnOK");
        });
        QCOMPARE(usedState, (QStringList{"rename", "-", "Övningen används i 2 program"}));
        QCOMPARE(unusedState, (QStringList{"rename", "delete", "Övningen används ej i något program"}));
        QCOMPARE(afterNo, (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd", "Utfall"}));
        QCOMPARE(afterDelete, (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd", deleted, "-", "-",
                                           "Övningen används ej i något program"}));
        QCOMPARE(catalogue, (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd"}));
        QCOMPARE(dialogs.messages, (QStringList{askDeleteExercise, askDeleteExercise}));
        QCOMPARE(storedExercises(diary), (QStringList{"1:Bänkpress", "2:Knäböj", "3:Marklyft", "4:Rodd", "5:Chins"}));
    }

    // A program that workouts follow cannot be deleted, and the page says
    // by how many; a deleted program's line reads "< Borttagen >" and its
    // name, comment and exercises can no longer be changed.
    void deletingAProgram()
    {
        TAppDiary diary;
        strengthDiary(diary);
        followProgram(diary, 1, 3);
        TDialogs dialogs;
        dialogs.answers = {QStringLiteral("btnYes")};
        TNameDialog names;
        QStringList usedState, unusedState, afterDelete;
        bool exerciseDeletable = false;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            const auto state = [&] {
                QStringList result;
                for (const char *name : {"btnEPRename", "btnEPDelete", "btnEPComment", "pnlExercises"})
                    result.append(enabled(window, name) ? QString::fromLatin1(name) : QStringLiteral("-"));
                result.append(labelText(window, "lblExercisesInUse"));
                return result;
            };
            showPrograms(window);
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Bas")));
            usedState = state();
            QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Drag")));
            unusedState = state();
            click(window, "btnEPDelete");
            afterDelete = lines(window, "lstbxExercisePrograms") + state();
            // Its exercises are free to go now.
            auto *pages = child<QTabWidget>(window, "pgctrlExercise");
            pages->setCurrentWidget(child<QWidget>(window, "tshExercises"));
            QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Chins")));
            exerciseDeletable = enabled(window, "btnEDelete");
            click(window, "btnOK");
        });
        QCOMPARE(usedState, (QStringList{"btnEPRename", "-", "btnEPComment", "pnlExercises",
                                         "Programmet används av 3 styrketräningsaktiviteter"}));
        QCOMPARE(unusedState, (QStringList{"btnEPRename", "btnEPDelete", "btnEPComment", "pnlExercises",
                                           "Programmet används ej av några styrketräningsaktiviteter"}));
        QCOMPARE(afterDelete, (QStringList{"Bas", deleted, "-", "-", "-", "-",
                                           "Programmet används ej av några styrketräningsaktiviteter"}));
        QVERIFY(exerciseDeletable);
        QCOMPARE(dialogs.messages, QStringList{askDeleteProgram});
        QCOMPARE(storedProgram(diary, 2), QString());
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Bas|1,2|Måndagar"));
    }

    // Every showing starts from the registers as they are: what the last
    // OK wrote, with the names as the register keeps them.
    void aSecondShowingStartsFromTheRegisters()
    {
        TAppDiary diary;
        strengthDiary(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {QStringLiteral("Bänk&press 2")};
        TfrmExercise window(diary.App());
        QStringList firstLines;
        dialogs.actions.insert(QStringLiteral("frmGenericName"), [&names](QWidget *dialog) { names.Answer(dialog); });
        dialogs.actions.insert(QStringLiteral("frmExercise"), [&](QWidget *shown) {
            click(shown, "btnENew");
            firstLines = lines(shown, "lstbxExercises");
            click(shown, "btnOK");
        });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QStringList secondLines, secondPrograms;
        bool changedAtShow = true;
        dialogs.actions.insert(QStringLiteral("frmExercise"), [&](QWidget *shown) {
            changedAtShow = window.Changed();
            secondLines = lines(shown, "lstbxExercises");
            secondPrograms = lines(shown, "lstbxExercisePrograms");
            click(shown, "btnCancel");
        });
        QCOMPARE(window.exec(), int(QDialog::Rejected));
        QCOMPARE(firstLines.last(), QStringLiteral("Bänk&press 2"));
        QCOMPARE(secondLines, (QStringList{"Bänkpress", "Chins", "Knäböj", "Marklyft", "Rodd", "Bänkpress 2"}));
        QCOMPARE(secondPrograms, (QStringList{"Bas", "Drag"}));
        QVERIFY(!changedAtShow);
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A database error while writing reaches the program's error box; the
    // window has its OK result all the same, and what was not written yet
    // stays unwritten.
    void aFailedWriteIsShown()
    {
        TAppDiary diary;
        strengthDiary(diary);
        TDialogs dialogs;
        QStringList errors;
        dialogs.actions.insert(QString(), [&](QWidget *window) {
            if (auto *box = qobject_cast<QMessageBox *>(window)) {
                errors.append(box->windowTitle());
                box->accept();
            }
        });
        TNameDialog names;
        names.typed = {QStringLiteral("Utfall")};
        const int result = runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnENew");
            addToProgram(window, QStringLiteral("Bas"), {QStringLiteral("Rodd")});
            // Another program took the new exercise's id meanwhile.
            diary.Sql(QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (6, 'Annan')"));
            click(window, "btnOK");
        });
        QCOMPARE(errors, QStringList{QStringLiteral("Ternvall")});
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(storedExercises(diary).last(), QStringLiteral("6:Annan"));
        QCOMPARE(storedProgram(diary, 1), QStringLiteral("Bas|1,2|Måndagar"));
    }

    // "&Hjälp" and F1 open the help of the page in front.
    void helpFollowsThePage_data()
    {
        QTest::addColumn<bool>("programs");
        QTest::addColumn<bool>("key");
        QTest::addColumn<QString>("page");
        QTest::newRow("exercises, button") << false << false << "workoutprogram.htm#Exercise";
        QTest::newRow("exercises, F1") << false << true << "workoutprogram.htm#Exercise";
        QTest::newRow("programs, button") << true << false << "workoutprogram.htm#Program";
        QTest::newRow("programs, F1") << true << true << "workoutprogram.htm#Program";
    }
    void helpFollowsThePage()
    {
        QFETCH(bool, programs);
        QFETCH(bool, key);
        QFETCH(QString, page);
        TAppDiary diary;
        strengthDiary(diary);
        QTemporaryDir appFolder;
        QVERIFY(QDir(appFolder.path()).mkpath(QStringLiteral("help")));
        QFile file(appFolder.path() + QStringLiteral("/help/workoutprogram.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        THelpRecorder recorder;
        diary.App().GetHelp().SetAppPath(appFolder.path());
        diary.App().GetHelp().SetViewer(&recorder);
        TDialogs dialogs;
        TNameDialog names;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (programs) {
                showPrograms(window);
                QVERIFY(clickText(window, "lstbxExercisePrograms", QStringLiteral("Drag")));
            } else {
                QVERIFY(clickText(window, "lstbxExercises", QStringLiteral("Rodd")));
            }
            if (key)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            else
                click(window, "btnHelp");
            click(window, "btnCancel");
        });
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(recorder.pages, QStringList{page});
    }
};

QTEST_MAIN(tst_ExerciseWindow)
#include "tst_ExerciseWindow.moc"
