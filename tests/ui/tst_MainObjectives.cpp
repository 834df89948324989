// The goals window from the main window: "&Målsättningar..." and its tool
// button open one kept window; its follow-up counts the whole diary, not
// what the main list's search found, and shows entries saved since.

#include "support/MainWindowDiary.h"

#include "analysis/Goals.h"
#include "analysis/ObjectiveChart.h"
#include "analysis/Objectives.h"
#include "app/CorvaleForms.h"
#include "foundation/CompGrid.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace
{
// A diary with 5 km runs in "Skogen" on the dates and a stored week goal of
// one run a week over March 2021, opened in the main window.
class TMainWindow : public TMainWindowDiary
{
public:
    explicit TMainWindow(const QStringList &dates)
        : TMainWindowDiary([dates](TDiaryWriter &diary) {
              for (const QString &date : dates)
                  diary.AddSession(QStringLiteral("RUN"), date, QStringLiteral("Skogen"), QStringLiteral("30.00"),
                                   QStringLiteral("5"));
              diary.Execute(QStringLiteral(
                  "insert into Goal (GoalNr, GoalName, ActivityShortName, GoalType, GoalFromDate, GoalToDate, "
                  "GoalAmount, GoalAmountType, GoalComment) values (1, 'Löpning varje vecka', 'RUN', 0, "
                  "'2021-03-01', '2021-03-29', 1, 0, ' ')"));
          })
    {
    }

    TfrmObjectives *Objectives() { return Child<TfrmObjectives>("frmObjectives"); }
};

const QStringList sessions{"2021-03-01", "2021-03-09", "2021-03-29", "2021-04-05"};

using MainWindowDiary::PlaceOn;
}

class tst_MainObjectives : public QObject
{
    Q_OBJECT

private slots:
    // "&Målsättningar..." stands in "&Visa" after the strength programs,
    // its tool button on the Visa bar before the pulse intervals; both open
    // one window, made once and kept, that the window menu lists.
    void menuItemAndToolButtonOpenOneWindow()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        QAction *item = w.Action("mnuiObjectives");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Målsättningar..."));
        QVERIFY(item->shortcut().isEmpty());
        const QList<QAction *> shown = w.Child<QMenu>("mnuShow")->actions();
        QVERIFY(shown.indexOf(item) > shown.indexOf(w.Action("mnuiExercises")));
        QVERIFY(shown.indexOf(item) < shown.indexOf(w.Action("mnuiPulse")));
        auto *button = w.Child<QToolButton>("tbtnObjective");
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Visa målsättningsdialogen"));
        auto *bar = w.Child<QToolBar>("tobarShow");
        QCOMPARE(button->parentWidget(), bar);
        QVERIFY(PlaceOn(bar, "tbtnObjective") > PlaceOn(bar, "tbtnExercises"));
        QCOMPARE(PlaceOn(bar, "tbtnPulse"), PlaceOn(bar, "tbtnObjective") + 1);
        QVERIFY(item->isEnabled());

        QVERIFY(!w.Objectives());
        item->trigger();
        QPointer<TfrmObjectives> window = w.Objectives();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->GoalLines(), QStringList{"Löpning varje vecka"});
        QAction *entry = w.Child<QMenu>("mnuiWindow")->findChild<QAction *>(QStringLiteral("mnuiObjectivesWindow"));
        QVERIFY(entry && entry->isEnabled());

        window->close();
        button->click();
        QCOMPARE(w.Objectives(), window.data());
        QVERIFY(window->isVisible());
        QVERIFY(w.messages.isEmpty());
    }

    // The main list shows one session after a narrow search; the follow-up
    // still counts every session of the goal's weeks, and a session saved
    // afterwards counts when the follow-up is shown again.
    void followUpCountsTheWholeDiary()
    {
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Search(QStringLiteral("2021-03-09"), QStringLiteral("2021-03-09"));
        QCOMPARE(w.Window().ListGrid()->RowCount() - w.Window().ListGrid()->FixedRows(), 1);

        w.Action("mnuiObjectives")->trigger();
        TfrmObjectives *window = w.Objectives();
        QVERIFY(window);
        auto *pages = window->findChild<QTabWidget *>(QStringLiteral("pgctrlObjective"));
        pages->setCurrentWidget(window->findChild<QWidget *>(QStringLiteral("tsFollowUp")));
        const auto success = [window] {
            return window->findChild<QLabel *>(QStringLiteral("lblFollowupSuccessAvg"))->text();
        };
        QList<double> values;
        for (const QPointF &point : window->Chart()->Values())
            values.append(point.y());
        // The run on the to date counts in the last week.
        QCOMPARE(values, (QList<double>{1, 1, 0, 1}));
        QCOMPARE(success(), QStringLiteral("% av dessa som uppfyller målet: 75"));

        // A run saved in the third week while the window stands open.
        const int nr = w.App().NewActivity(w.App().GetActivityNameList().NameOfCode(QStringLiteral("RUN")));
        auto &session = static_cast<TTimeDistanceActivity &>(*w.App().FindActivity(nr));
        session.SetSessionData(QStringLiteral("2021-03-20"), QStringLiteral("Skogen"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(QStringLiteral("30.00"));
        session.SetDistance(QStringLiteral("5"));
        session.SetCourseNr(QString());
        const QStringList none;
        session.SetLaps(&none, &none);
        w.App().SaveActivity(nr);
        QCOMPARE(success(), QStringLiteral("% av dessa som uppfyller målet: 75"));
        pages->setCurrentWidget(window->findChild<QWidget *>(QStringLiteral("tsObjective")));
        pages->setCurrentWidget(window->findChild<QWidget *>(QStringLiteral("tsFollowUp")));
        QCOMPARE(success(), QStringLiteral("% av dessa som uppfyller målet: 100"));
        QVERIFY(w.messages.isEmpty());
    }

    // Ending the program over a goal whose comment was typed and not saved
    // asks whether to save it: "Ja" saves and ends, "Nej" gives the change
    // up and ends, "Avbryt" keeps the program running with the comment as
    // typed. Without changes only "Avsluta Ternvall?" is asked.
    void endingAsksAboutUnsavedGoals_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<QString>("stored");
        QTest::newRow("saved") << true << "btnYes" << true << "Tre pass i veckan";
        QTest::newRow("given up") << true << "btnNo" << true << "";
        QTest::newRow("cancelled") << true << "btnCancel" << false << "";
        QTest::newRow("nothing changed") << false << "" << true << "";
    }
    void endingAsksAboutUnsavedGoals()
    {
        QFETCH(bool, typed);
        QFETCH(QString, answer);
        QFETCH(bool, ended);
        QFETCH(QString, stored);
        TMainWindow w(sessions);
        QVERIFY(w.Ready());
        w.Action("mnuiObjectives")->trigger();
        TfrmObjectives *window = w.Objectives();
        QVERIFY(window);
        QCOMPARE(window->SelectedGoal(), 1);
        auto *comment = window->findChild<QPlainTextEdit *>(QStringLiteral("moObjectiveComment"));
        if (typed)
            comment->setPlainText(QStringLiteral("Tre pass i veckan"));
        // Minimised, as a user leaves a window before ending the program.
        window->showMinimized();

        w.answers = QStringList{QStringLiteral("btnYes")};
        if (typed)
            w.answers.append(answer);
        w.Window().close();
        QStringList asked{QStringLiteral("Avsluta Ternvall?")};
        if (typed)
            asked.append(QStringLiteral("Målsättningarna har ändringar som inte är sparade. Vill du spara dem?"));
        QCOMPARE(w.messages, asked);
        QCOMPARE(w.Window().isVisible(), !ended);
        if (!ended) {
            QCOMPARE(comment->toPlainText(), QStringLiteral("Tre pass i veckan"));
            QVERIFY(w.App().GetGoals().HasChanges());
        }
        // What the diary holds now.
        w.App().GetGoals().LoadGoals();
        QCOMPARE(w.App().GetGoals().GetGoalItem(1).Comment.trimmed(), stored);
    }
};

QTEST_MAIN(tst_MainObjectives)
#include "tst_MainObjectives.moc"
