// The goals window on a real diary behind the application object: making a
// week goal of three running sessions and following it up, the amount
// types per activity, renaming, deleting and saving, a refused value, what
// the window keeps when it is hidden or minimised and shown again, the
// question before unsaved goals are given up, the follow-up after entries
// change, the printed page, and the window and help menus.

#include "reference/AppDiary.h"
#include "support/PdfText.h"

#include "analysis/Goals.h"
#include "analysis/ObjectiveChart.h"
#include "analysis/Objectives.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "foundation/DatePicker.h"
#include "foundation/PGEdit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
    }
    void Inform(const QString &text) override { shown.append(text); }
};

// The window with the diary and an answering service for its dialogs; the
// name of a new goal and its type are taken from `newName` and `newType`.
class TWindow
{
public:
    TWindow()
    {
        dialogs.actions.insert(QStringLiteral("frmNewObjective"), [this](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("edtName"))->setText(newName);
            dialog->findChild<QRadioButton *>(QStringLiteral("rgObjective%1").arg(newType))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        dialogs.actions.insert(QStringLiteral("frmGenericName"), [this](QWidget *dialog) {
            nameDialog = {dialog->windowTitle(), dialog->findChild<QLineEdit *>(QStringLiteral("edtSetName"))->text()};
            dialog->findChild<QLineEdit *>(QStringLiteral("edtSetName"))->setText(rename);
            dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        });
        window = std::make_unique<TfrmObjectives>(diary.App());
        window->show();
        window->activateWindow();
        QTest::qWaitForWindowActive(window.get());
    }

    template <class T> T *Child(const char *name) { return window->findChild<T *>(QLatin1String(name)); }
    QString Text(const char *label) { return Child<QLabel>(label)->text(); }
    QAction *Action(const char *name) { return Child<QAction>(name); }

    void NewGoal(const QString &name, int type)
    {
        newName = name;
        newType = type;
        Action("mnuiNew")->trigger();
    }

    // Chooses the activity as the user does in the drop-down list.
    void ChooseActivity(const QString &name)
    {
        auto *box = Child<QComboBox>("cmbbxObjectiveActivity");
        const int index = box->findText(name);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // Types a date and leaves the field.
    void TypeDate(const char *picker, const QString &date)
    {
        auto *field = Child<TDatePicker>(picker);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, date);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    void TypeAmount(const QString &amount)
    {
        auto *field = Child<TNumericalEdit>("numedtObjectiveAmount");
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, amount);
    }

    void ShowPage(const char *page)
    {
        auto *pages = Child<QTabWidget>("pgctrlObjective");
        pages->setCurrentWidget(Child<QWidget>(page));
    }

    QStringList AmountTexts()
    {
        QStringList texts;
        for (QAbstractButton *button : Child<QGroupBox>("rgObjectiveAmountType")->findChildren<QRadioButton *>())
            texts.append(button->text());
        return texts;
    }

    TAppDiary diary;
    TDialogs dialogs;
    std::unique_ptr<TfrmObjectives> window;
    QString newName;
    int newType = 0;
    QString rename;
    QStringList nameDialog;
};

// Running sessions on the dates, saved through the application object.
void addRuns(TAppDiary &diary, const QStringList &dates)
{
    for (const QString &date : dates)
        diary.AddSession("RUN", date, QStringLiteral("30.00"));
}
}

class tst_ObjectivesWindow : public QObject
{
    Q_OBJECT

private slots:
    // A week goal of three running sessions a week over four weeks: two
    // weeks reach it. The follow-up counts the whole diary; the goal is
    // saved, renamed and deleted.
    void weekGoalOfThreeRuns()
    {
        TWindow w;
        addRuns(w.diary, {"2021-03-01", "2021-03-03", "2021-03-05", "2021-03-09", "2021-03-22", "2021-03-24",
                          "2021-03-29", "2021-04-02"});
        QCOMPARE(w.window->GoalLines(), QStringList());
        QVERIFY(!w.Action("mnuiSave")->isEnabled());
        QVERIFY(!w.Action("mnuiRename")->isEnabled());

        w.NewGoal(QStringLiteral("Tre löppass i veckan"), 0);
        QCOMPARE(w.window->GoalLines(), QStringList{"Tre löppass i veckan"});
        QCOMPARE(w.Child<QLineEdit>("edtObjectiveType")->text(), QStringLiteral("Vecka"));
        QCOMPARE(w.Child<QComboBox>("cmbbxObjectiveActivity")->currentText(), QStringLiteral("Viktmätning"));
        QVERIFY(w.Action("mnuiSave")->isEnabled());
        QVERIFY(w.Action("mnuiRename")->isEnabled());

        w.ChooseActivity(QStringLiteral("Löpning"));
        QCOMPARE(w.AmountTexts(), (QStringList{"Antal", "Distans", "Tid"}));
        QCOMPARE(w.Text("lblObjectiveAmount"), QStringLiteral("A&ntal"));
        w.TypeDate("wwdtpFromDate", QStringLiteral("2021-03-01"));
        w.TypeDate("wwdtpToDate", QStringLiteral("2021-03-29"));
        w.TypeAmount(QStringLiteral("3"));
        w.Child<QPlainTextEdit>("moObjectiveComment")->setPlainText(QStringLiteral("Även i regn."));

        w.ShowPage("tsFollowUp");
        QCOMPARE(w.Text("lblFollowupLength"), QStringLiteral("Antal uppföljningspunkter: 4"));
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 50"));
        TObjectiveChart *chart = w.window->Chart();
        QList<double> values, goal;
        for (const QPointF &point : chart->Values())
            values.append(point.y());
        for (const QPointF &point : chart->GoalLine())
            goal.append(point.y());
        // The session on the to date counts in the last week.
        QCOMPARE(values, (QList<double>{3, 1, 0, 3}));
        QCOMPARE(goal, (QList<double>{3, 3, 3, 3}));
        QCOMPARE(chart->ValueMin(), 0.0);
        QCOMPARE(chart->ValueMax(), 1.02 * 3);
        QCOMPARE(chart->ValueColour(), QColor(Qt::yellow));
        QVERIFY(chart->ValueMarks());
        QCOMPARE(w.Text("lblYValue"), QStringLiteral("Antal: "));

        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.window->StatusText(), QStringLiteral("Sparad"));
        QTRY_COMPARE_WITH_TIMEOUT(w.window->StatusText(), QString(), 3000);
        QCOMPARE(w.diary.Column(QStringLiteral("select GoalName || '|' || ActivityShortName || '|' || GoalFromDate || '|' || "
                                               "GoalToDate || '|' || GoalAmount || '|' || GoalComment from Goal")),
                 QStringList{"Tre löppass i veckan|RUN|2021-03-01|2021-03-29|3.00|Även i regn."});

        w.rename = QStringLiteral("Löpning tre gånger");
        w.Action("mnuiRename")->trigger();
        QCOMPARE(w.nameDialog, (QStringList{"Målsättning", "Tre löppass i veckan"}));
        QCOMPARE(w.window->GoalLines(), QStringList{"Löpning tre gånger"});
        // A name of blanks keeps the old one.
        w.rename = QStringLiteral("   ");
        w.Action("mnuiRename")->trigger();
        QCOMPARE(w.window->GoalLines(), QStringList{"Löpning tre gånger"});
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.diary.Column(QStringLiteral("select GoalName from Goal")), QStringList{"Löpning tre gånger"});

        w.dialogs.answers = QStringList{QStringLiteral("btnNo")};
        w.Action("mnuiDelete")->trigger();
        QCOMPARE(w.window->GoalLines(), QStringList{"Löpning tre gånger"});
        w.dialogs.answers = QStringList{QStringLiteral("btnYes")};
        w.Action("mnuiDelete")->trigger();
        QCOMPARE(w.dialogs.messages,
                 (QStringList{"Vill du verkligen ta bort målsättningen?", "Vill du verkligen ta bort målsättningen?"}));
        QCOMPARE(w.window->GoalLines(), QStringList{"< Borttagen >"});
        QVERIFY(!w.Action("mnuiRename")->isEnabled());
        QVERIFY(!w.Action("mnuiDelete")->isEnabled());
        QVERIFY(!w.Child<QTabWidget>("pgctrlObjective")->isEnabled());
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.window->GoalLines(), QStringList());
        QCOMPARE(w.diary.Column(QStringLiteral("select count(*) from Goal")), QStringList{"0"});
    }

    void amountTypes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("label");
        QTest::addColumn<quint8>("stored");
        // The goal counts time (type 2); an activity without time offers
        // its second option in its place.
        QTest::newRow("run") << "RUN" << QStringList{"Antal", "Distans", "Tid"} << "T&id (min)" << quint8(2);
        QTest::newRow("trekking") << "TRE" << QStringList{"Antal", "Distans"} << "D&istans (km)" << quint8(1);
        QTest::newRow("tennis") << "TEN" << QStringList{"Antal", "Tid"} << "T&id (min)" << quint8(2);
        QTest::newRow("soccer") << "SOC" << QStringList{"Antal", "Tid"} << "T&id (min)" << quint8(2);
        QTest::newRow("strength") << "WOR" << QStringList{"Antal"} << "A&ntal" << quint8(0);
    }

    // The options follow the activity's family; the radio group shows only
    // when there is a choice.
    void amountTypes()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, options);
        QFETCH(QString, label);
        QFETCH(quint8, stored);
        TWindow w;
        TGoals &goals = w.diary.App().GetGoals();
        const qint32 nr = goals.AddGoal(QStringLiteral("Tid"), 1);
        goals.SetGoalValues(nr, w.diary.Name("RUN"), QString(), 2, QStringLiteral("60"), QStringLiteral("2021-12-31"),
                            QStringLiteral("2021-01-01"));
        goals.ApplyGoals();
        w.window->close();
        w.window->show();
        QCOMPARE(w.window->GoalLines(), QStringList{"Tid"});
        QCOMPARE(w.Text("lblObjectiveAmount"), QStringLiteral("T&id (min)"));

        w.ChooseActivity(w.diary.Name(code.toLatin1().constData()));
        QCOMPARE(w.AmountTexts(), options);
        QCOMPARE(w.Child<QGroupBox>("rgObjectiveAmountType")->isVisibleTo(w.window.get()), options.size() > 1);
        QCOMPARE(w.Text("lblObjectiveAmount"), label);
        QCOMPARE(goals.GetGoalItem(nr).AmountType, stored);
    }

    // A weight goal weighs: the activity is not asked for and the amount
    // is in kg with one decimal.
    void weightGoal()
    {
        TWindow w;
        w.diary.Sql(QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionActivity, SessionPlace, "
                                   "SessionWeight, SessionComment) values (1, '2021-03-02', 'BLO', ' ', 82, ' ')"));
        w.NewGoal(QStringLiteral("Ner i vikt"), 2);
        QCOMPARE(w.Child<QLineEdit>("edtObjectiveType")->text(), QStringLiteral("Vikt"));
        QVERIFY(!w.Child<QComboBox>("cmbbxObjectiveActivity")->isVisibleTo(w.window.get()));
        QCOMPARE(w.Text("lblObjectiveAmount"), QStringLiteral("&Vikt (kg)"));
        QCOMPARE(w.Child<TNumericalEdit>("numedtObjectiveAmount")->NumDecimals(), 1);
        w.TypeDate("wwdtpFromDate", QStringLiteral("2021-03-01"));
        w.TypeDate("wwdtpToDate", QStringLiteral("2021-04-01"));
        w.TypeAmount(QStringLiteral("80"));
        w.ShowPage("tsFollowUp");
        QCOMPARE(w.Text("lblFollowupLength"), QStringLiteral("Antal uppföljningspunkter: 1"));
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 0"));
        QCOMPARE(w.window->Chart()->ValueMin(), 0.98 * 80);
        QCOMPARE(w.window->Chart()->ValueMax(), 1.02 * 82);
    }

    // A from date taken away is refused in Swedish with the focus on the
    // field; nothing else typed is lost and the goal keeps its values.
    void refusedFromDate()
    {
        TWindow w;
        w.NewGoal(QStringLiteral("Mål"), 1);
        w.ChooseActivity(QStringLiteral("Löpning"));
        w.TypeAmount(QStringLiteral("12"));
        const QString from = w.diary.App().GetGoals().GetGoalItem(1).FromDate;
        w.Child<TDatePicker>("wwdtpFromDate")->Clear();
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{"Från-datum saknas eller är inget giltigt datum."});
        QCOMPARE(w.window->focusWidget(), w.Child<TDatePicker>("wwdtpFromDate"));
        QCOMPARE(w.Child<TNumericalEdit>("numedtObjectiveAmount")->text(), QStringLiteral("12"));
        QCOMPARE(w.diary.App().GetGoals().GetGoalItem(1).FromDate, from);
        QCOMPARE(w.diary.Column(QStringLiteral("select count(*) from Goal")), QStringList{"0"});
    }

    void hiddenAndShownAgain_data()
    {
        QTest::addColumn<bool>("minimise");
        QTest::newRow("hidden") << false;
        QTest::newRow("minimised") << true;
    }

    // A window shown again without being closed keeps the unsaved goals
    // and what was typed.
    void hiddenAndShownAgain()
    {
        QFETCH(bool, minimise);
        TWindow w;
        w.NewGoal(QStringLiteral("Sparas inte"), 0);
        w.ChooseActivity(QStringLiteral("Cykling"));
        w.TypeAmount(QStringLiteral("7"));
        w.Child<QPlainTextEdit>("moObjectiveComment")->setPlainText(QStringLiteral("Skrivet men inte sparat"));
        if (minimise) {
            w.window->showMinimized();
            QCoreApplication::processEvents();
            // Restored from the task bar, a window gets a show event from
            // the platform, as it does when it is uncovered.
            QShowEvent shown;
            QCoreApplication::sendEvent(w.window.get(), &shown);
            w.window->showNormal();
        } else {
            w.window->hide();
            QCoreApplication::processEvents();
            w.window->show();
        }
        QCoreApplication::processEvents();
        QCOMPARE(w.window->GoalLines(), QStringList{"Sparas inte"});
        QCOMPARE(w.Child<QComboBox>("cmbbxObjectiveActivity")->currentText(), QStringLiteral("Cykling"));
        QCOMPARE(w.Child<TNumericalEdit>("numedtObjectiveAmount")->text(), QStringLiteral("7"));
        QCOMPARE(w.Child<QPlainTextEdit>("moObjectiveComment")->toPlainText(), QStringLiteral("Skrivet men inte sparat"));
        QVERIFY(w.diary.App().GetGoals().HasChanges());
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    // Closing over unsaved goals asks first: "Nej" keeps the window and the
    // goals, "Ja" gives them up and the next opening shows the stored ones.
    void closingAsksBeforeGivingUpGoals()
    {
        TWindow w;
        w.NewGoal(QStringLiteral("Sparat"), 1);
        w.Action("mnuiSave")->trigger();
        w.window->close();
        QVERIFY(w.dialogs.messages.isEmpty());
        w.window->show();
        QCOMPARE(w.window->GoalLines(), QStringList{"Sparat"});

        w.NewGoal(QStringLiteral("Osparat"), 0);
        w.dialogs.answers = QStringList{QStringLiteral("btnNo")};
        QVERIFY(!w.window->close());
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->GoalLines(), (QStringList{"Sparat", "Osparat"}));

        w.dialogs.answers = QStringList{QStringLiteral("btnYes")};
        QVERIFY(w.window->close());
        QCOMPARE(w.dialogs.messages,
                 (QStringList{"Vill du verkligen avbryta dina ändringar?", "Vill du verkligen avbryta dina ändringar?"}));
        QVERIFY(!w.diary.App().GetGoals().HasChanges());
        w.window->show();
        QCOMPARE(w.window->GoalLines(), QStringList{"Sparat"});
        QCOMPARE(w.Child<QTabWidget>("pgctrlObjective")->currentWidget(), w.Child<QWidget>("tsObjective"));
    }

    // An entry saved after the follow-up was drawn is counted at the next
    // refresh (back in the window, or the page shown again); a removed one
    // is gone at once.
    void followUpAfterEntriesChange()
    {
        TWindow w;
        TGoals &goals = w.diary.App().GetGoals();
        const qint32 nr = goals.AddGoal(QStringLiteral("Löpning"), 0);
        goals.SetGoalValues(nr, w.diary.Name("RUN"), QString(), 0, QStringLiteral("1"), QStringLiteral("2021-03-15"),
                            QStringLiteral("2021-03-01"));
        goals.ApplyGoals();
        w.window->close();
        w.window->show();
        w.ShowPage("tsFollowUp");
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 0"));

        const int first = w.diary.AddSession("RUN", QStringLiteral("2021-03-02"), QStringLiteral("30.00"));
        w.ShowPage("tsObjective");
        w.ShowPage("tsFollowUp");
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 50"));

        w.diary.AddSession("RUN", QStringLiteral("2021-03-10"), QStringLiteral("30.00"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 100"));

        w.diary.App().RemoveActivity(first);
        QCOMPARE(w.Text("lblFollowupSuccessAvg"), QStringLiteral("% av dessa som uppfyller målet: 50"));
    }

    // The page in front prints under the goal's name: the follow-up with
    // its figures and the chart.
    void printsThePageInFront()
    {
        TWindow w;
        addRuns(w.diary, {"2021-03-01", "2021-03-02", "2021-03-03"});
        w.NewGoal(QStringLiteral("Tre pass"), 0);
        w.ChooseActivity(QStringLiteral("Löpning"));
        w.TypeDate("wwdtpFromDate", QStringLiteral("2021-03-01"));
        w.TypeDate("wwdtpToDate", QStringLiteral("2021-03-15"));
        w.TypeAmount(QStringLiteral("3"));
        w.ShowPage("tsFollowUp");
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("mal.pdf"));
        w.window->PrintToFile(file);
        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains(QStringLiteral("Målsättning - Tre pass")));
        QVERIFY(pages.first().contains(QStringLiteral("Antal uppföljningspunkter: 2")));
        QVERIFY(pages.first().contains(QStringLiteral("% av dessa som uppfyller målet: 50")));
        QVERIFY(pages.first().contains(QStringLiteral("Sida: 1")));

        w.ShowPage("tsObjective");
        w.window->PrintToFile(file);
        const QString information = PdfText::Pages(file).value(0);
        QVERIFY(information.contains(QStringLiteral("Löpning")));
        QVERIFY(information.contains(QStringLiteral("2021-03-15")));
    }

    // The window stands in the window menu while it exists; its help menu
    // opens the page and its five sections.
    void windowAndHelpMenus()
    {
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        auto *window = new TfrmObjectives(diary.App());
        QCOMPARE(window->windowTitle(), QStringLiteral("Målsättningar"));
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QMenu *windows = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiWindow"));
        QVERIFY(windows);
        QVERIFY(!windows->findChild<QAction *>(QStringLiteral("mnuiObjectivesWindow")));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        for (const char *name : {"mnuiCreateHelp", "mnuiEditHelp", "mnuiRenameHelp", "mnuiDeleteHelp", "mnuiMonitorHelp"})
            window->findChild<QAction *>(QLatin1String(name))->trigger();
        QCOMPARE(viewer.shown, (QStringList{"objectives.htm", "objectives.htm#Create", "objectives.htm#Edit",
                                            "objectives.htm#Rename", "objectives.htm#Delete", "objectives.htm#Monitor"}));
        diary.App().GetHelp().SetViewer(nullptr);
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().IsRegistered(window));
    }
};

QTEST_MAIN(tst_ObjectivesWindow)
#include "tst_ObjectivesWindow.moc"
