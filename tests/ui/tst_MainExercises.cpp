// The exercise window from the main window: the "&Visa" menu item and its
// tool button open one kept window, and its OK gives the exercise columns
// of the list the exercises' new names.

#include "support/MainWindowDiary.h"

#include "foundation/CompGrid.h"
#include "reference/Exercise.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace
{
// The user's diary with the exercises Bänkpress (1) and Knäböj (2), the
// first shown in exercise column 1, and the column setting "Styrka" with
// date, activity, that column and the key, opened in the main window. The
// exercise window is handed to `exercises`; message boxes are answered Yes,
// or OK when they have no Yes.
class TMainWindow : public TMainWindowDiary
{
public:
    TMainWindow()
        : TMainWindowDiary(
              [](TDiaryWriter &diary) {
                  for (const char *statement : {
                           "insert into Exercises (ExerciseId, ExerciseName) values (1, 'Bänkpress')",
                           "insert into Exercises (ExerciseId, ExerciseName) values (2, 'Knäböj')",
                           "insert into ExerciseColumns (ExerciseNr, ExerciseId) values (1, 1)",
                           "insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (1, 'Styrka')",
                           "insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cDate')",
                           "insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cAct')",
                           "insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cExercise1')",
                           "insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cId')",
                       })
                      diary.Execute(QString::fromUtf8(statement));
              },
              QStringLiteral("Användare 1"), TOpening::HalfASecond, {QStringLiteral("btnYes"), QStringLiteral("btnOK")})
    {
        OnModal(QStringLiteral("frmExercise"), [this](QWidget *window) {
            exerciseWindows.append(window);
            if (exercises)
                exercises(window);
        });
    }

    // The title of the grid's column that shows an exercise ("(kg)" on its
    // second line); empty when there is none.
    QString ExerciseTitle(const char *grid, int n = 1)
    {
        auto *found = Child<TComplexGrid>(grid);
        int seen = 0;
        for (int col = 0; col < found->ColCount(); ++col) {
            const QString title = found->Cells(col, 0);
            if (title.endsWith(QLatin1String("(kg)")) && ++seen == n)
                return title.section(QLatin1Char('\r'), 0, 0);
        }
        return QString();
    }

    std::function<void(QWidget *)> exercises;
    QList<QWidget *> exerciseWindows;
};

// Renames the exercise in the window, as the user does.
void renameExercise(QWidget *window, const QString &name)
{
    auto *list = window->findChild<QListWidget *>(QStringLiteral("lstbxExercises"));
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    window->findChild<QPushButton *>(QStringLiteral("btnERename"))->click();
}
}

class tst_MainExercises : public QObject
{
    Q_OBJECT

private slots:
    // "S&tyrketräningsprogram..." stands in "&Visa" before "Pulsintervall...",
    // and it and its tool button open the one window, kept between openings.
    void menuItemAndToolButtonOpenTheKeptWindow()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        auto *item = w.Child<QAction>("mnuiExercises");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("S&tyrketräningsprogram..."));
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) >= 0);
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Child<QAction>("mnuiPulse")));
        auto *button = w.Child<QToolButton>("tbtnExercises");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa Styrketräningsprogram"));
        QVERIFY(button->parentWidget() == w.Child<QWidget>("tobarShow"));

        QStringList captions;
        w.exercises = [&](QWidget *window) {
            captions.append(window->windowTitle());
            window->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        };
        item->trigger();
        button->click();
        QCOMPARE(captions, (QStringList{"Styrketräningsprogram", "Styrketräningsprogram"}));
        QCOMPARE(w.exerciseWindows.size(), 2);
        QCOMPARE(w.exerciseWindows.at(0), w.exerciseWindows.at(1));
        QVERIFY(w.messages.isEmpty());
    }

    // A diary whose first exercise column shows an exercise opens with that
    // exercise's name over the column, in the list and in the full catalogue.
    void theOpenedDiaryNamesItsExerciseColumns()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        QCOMPARE(w.ExerciseTitle("cplxgrdMain"), QStringLiteral("Bänkpress"));
        QCOMPARE(w.ExerciseTitle("cplxgrdAllColumns"), QStringLiteral("Bänkpress"));
        QCOMPARE(w.ExerciseTitle("cplxgrdAllColumns", 2), QStringLiteral("Övning2"));
    }

    // OK after renaming an exercise that an exercise column shows gives the
    // column of the list and of the full catalogue the new name; Cancel
    // leaves the old one.
    void okRecaptionsTheExerciseColumns_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::newRow("OK") << "btnOK" << "Bänkpress smal";
        QTest::newRow("Avbryt") << "btnCancel" << "Bänkpress";
    }
    void okRecaptionsTheExerciseColumns()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        TMainWindow w;
        QVERIFY(w.Ready());
        // OK gives the column its exercise's name, changed or not.
        w.exercises = [](QWidget *window) { window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click(); };
        w.Child<QAction>("mnuiExercises")->trigger();
        QCOMPARE(w.ExerciseTitle("cplxgrdMain"), QStringLiteral("Bänkpress"));

        w.names = {QStringLiteral("Bänkpress smal")};
        w.exercises = [&](QWidget *window) {
            renameExercise(window, QStringLiteral("Bänkpress"));
            window->findChild<QPushButton *>(button)->click();
        };
        w.Child<QAction>("mnuiExercises")->trigger();
        QCOMPARE(w.ExerciseTitle("cplxgrdMain"), title);
        QCOMPARE(w.ExerciseTitle("cplxgrdAllColumns"), title);
        // The other exercise columns stay unassigned.
        QCOMPARE(w.ExerciseTitle("cplxgrdAllColumns", 2), QStringLiteral("Övning2"));
        QCOMPARE(w.messages, button == QLatin1String("btnOK") ? QStringList{}
                                                              : QStringList{"Vill du verkligen avbryta dina ändringar?"});
    }
};

QTEST_MAIN(tst_MainExercises)
#include "tst_MainExercises.moc"
