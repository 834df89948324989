// The window "Banbeskrivningar" on a real diary through the application
// object: searching, registering, changing and removing courses, the
// checks that protect the split times of bound sessions, sorting and
// finding in the result list, printing, help and the window menu.

#include "AppDiary.h"

#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "foundation/CompGrid.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "reference/Course.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace
{
const QString lossQuestion = QStringLiteral("Det finns aktiviteter som har mellantider som kommer att förloras om du "
                                            "sparar. Vill du verkligen spara banbeskrivningen?");
const QString discardQuestion = QStringLiteral("Vill du verkligen avbryta dina ändringar?");

// The help pages a window asked for, as "page#anchor".
struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
    }
    void Inform(const QString &text) override { shown.append(text); }
};

// A diary with three running courses and the window on it, shown and
// active, its message boxes recorded and answered.
struct TCourseWindow : TAppDiary
{
    int forest = AddCourse("RUN", QStringLiteral("Skogen"), 10, {"2.5", "5", "7.5", "10"}, 1, {QStringLiteral("Grusväg")});
    int harbour = AddCourse("RUN", QStringLiteral("Hamnen"), 5, {}, 3);
    int stadium = AddCourse("RUN", QStringLiteral("Stadion"), 7.5, {"2.5", "5"}, 0);
    // The window starts as the program does, before any search: the
    // courses saved above are not in the working list.
    bool emptied = EmptyWorkingList();
    TDialogs dialogs;
    TfrmCourse window{App()};

    // What reached the general error display.
    QStringList errors;

    TCourseWindow()
    {
        dialogs.actions.insert(QString(), [this](QWidget *box) {
            if (auto *message = qobject_cast<QMessageBox *>(box)) {
                errors.append(message->text());
                message->accept();
            }
        });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    bool EmptyWorkingList()
    {
        QList<TCourseItem> none;
        App().SearchCourses({}, {}, {}, {}, {}, &none);
        return App().CourseCount() == 0;
    }

    template <class T> T *Child(const QString &name)
    {
        T *found = window.findChild<T *>(name);
        if (!found)
            qWarning("no child %s", qPrintable(name));
        return found;
    }
    QAction *Action(const char *name) { return Child<QAction>(QLatin1String(name)); }
    TNumericalEdit *Numeric(const QString &name) { return Child<TNumericalEdit>(name); }
    QTabWidget *Pages() { return Child<QTabWidget>(QStringLiteral("pgctrlCourse")); }
    void ShowPage(const char *name)
    {
        Pages()->setCurrentWidget(Child<QWidget>(QLatin1String(name)));
    }
    QString FrontPage() { return Pages()->currentWidget()->objectName(); }
    TComplexGrid *Grid() { return window.Grid(); }
    int DataRows() { return Grid()->RowCount() - Grid()->FixedRows(); }
    int CurrentCourse() { return Grid()->Cells(5, Grid()->Row()).toInt(); }
    int RowOf(int nr)
    {
        for (int row = Grid()->FixedRows(); row < Grid()->RowCount(); ++row) {
            if (Grid()->Cells(5, row) == QString::number(nr))
                return row;
        }
        return -1;
    }
    void SearchAll()
    {
        ShowPage("tshSearch");
        Action("mnuiSearch")->trigger();
    }
    // The course's row made current and brought to "Ändra" by Enter.
    void Edit(int nr)
    {
        ShowPage("tshResult");
        Grid()->SetRow(RowOf(nr));
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_Return);
    }
    void SetLaps(const char *page, const QStringList &laps)
    {
        const QString prefix = QLatin1String(page);
        Numeric(QStringLiteral("numedt%1Laps").arg(prefix))->SetValue(QString::number(laps.size()));
        for (int i = 0; i < 20; ++i)
            Numeric(QStringLiteral("numedt%1Laps%2").arg(prefix).arg(i))->SetValue(laps.value(i));
    }
    QStringList PageLaps(const char *page)
    {
        const QString prefix = QLatin1String(page);
        QStringList laps;
        const int count = Numeric(QStringLiteral("numedt%1Laps").arg(prefix))->text().toInt();
        for (int i = 0; i < count; ++i)
            laps.append(Numeric(QStringLiteral("numedt%1Laps%2").arg(prefix).arg(i))->text());
        return laps;
    }
    QStringList StoredLaps(int nr)
    {
        return Column(QStringLiteral("select CourseDistance from CourseDescriptionLaps where CourseNr = %1 order by CourseLapNr")
                          .arg(nr));
    }
    QString StoredPlace(int nr)
    {
        return Column(QStringLiteral("select CoursePlace from CourseDescription where CourseNr = %1").arg(nr)).value(0);
    }
    // A session's marks as "distance=time", read from the diary.
    QStringList SessionLaps(int session)
    {
        TDbQuery query(Db());
        query.Add(QStringLiteral("select LapDistance, LapTime from TrainingSessionLaps where SessionNr = %1 order by LapNr")
                      .arg(session));
        query.Open();
        QStringList marks;
        for (; !query.Eof(); query.Next())
            marks.append(query.FieldAsText(0).trimmed() + QLatin1Char('=') + query.FieldAsText(1).trimmed());
        return marks;
    }
    // A run bound to the forest course with the split times 12, 24, 36, 48.
    int AddTimedRun(const QString &date)
    {
        const int session = AddSession("RUN", date, QStringLiteral("50.00"), forest, 4);
        for (int lap = 1; lap <= 4; ++lap)
            Sql(QStringLiteral("update TrainingSessionLaps set LapTime = %1 where SessionNr = %2 and LapNr = %3")
                    .arg(lap * 12)
                    .arg(session)
                    .arg(lap));
        return session;
    }
};

QStringList timedMarks()
{
    return {"2.50=12.00", "5.00=24.00", "7.50=36.00", "10.00=48.00"};
}
}

class tst_CourseWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CorvaleForms(); }

    // What the search finds, as the grid's places in their order.
    void search_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<int>("untickedDifficulty"); // -1 for none
        QTest::addColumn<bool>("noActivity");
        QTest::addColumn<QStringList>("places");
        QTest::newRow("everything, sorted by place") << "" << "" << "" << -1 << false
                                                     << QStringList{"Hamnen", "Skogen", "Stadion"};
        QTest::newRow("place part") << "ta" << "" << "" << -1 << false << QStringList{"Stadion"};
        QTest::newRow("distance range") << "" << "6" << "10" << -1 << false << QStringList{"Skogen", "Stadion"};
        QTest::newRow("a difficulty unticked") << "" << "" << "" << 1 << false << QStringList{"Hamnen", "Stadion"};
        QTest::newRow("no activity ticked") << "" << "" << "" << -1 << true << QStringList();
    }
    void search()
    {
        QFETCH(QString, place);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(int, untickedDifficulty);
        QFETCH(bool, noActivity);
        QFETCH(QStringList, places);
        TCourseWindow w;
        w.Child<QLineEdit>(QStringLiteral("edtSearchLocation"))->setText(place);
        w.Numeric(QStringLiteral("numedtSearchDistance1"))->SetValue(minimum);
        w.Numeric(QStringLiteral("numedtSearchDistance2"))->SetValue(maximum);
        if (untickedDifficulty >= 0)
            w.Child<QListWidget>(QStringLiteral("chklstbxSearchDifficulty"))->item(untickedDifficulty)->setCheckState(Qt::Unchecked);
        if (noActivity) {
            auto *activities = w.Child<QListWidget>(QStringLiteral("chklstbxSearchActivity"));
            for (int i = 0; i < activities->count(); ++i)
                activities->item(i)->setCheckState(Qt::Unchecked);
        }
        w.SearchAll();
        QStringList found;
        for (int row = 1; row < w.Grid()->RowCount(); ++row) {
            if (!w.Grid()->Cells(5, row).isEmpty())
                found.append(w.Grid()->Cells(1, row));
        }
        QCOMPARE(found, places);
        QCOMPARE(w.App().CourseCount(), int(places.size()));
        QCOMPARE(w.window.CountText(), TTulloUtilString::CountText(int(places.size()), QStringLiteral("banbeskrivning#\\ar#")));
        QCOMPARE(w.FrontPage(), QStringLiteral("tshResult"));
        // The last row is current; "Ändra" only with courses.
        QCOMPARE(w.Grid()->Row(), qMax(1, int(places.size())));
        QCOMPARE(w.Pages()->isTabEnabled(1), !places.isEmpty());
        QCOMPARE(w.dialogs.messages, QStringList());
    }

    // A refused "Ny" says why, focuses the field, keeps what was typed and
    // leaves no course behind: not in the diary, not in the working list,
    // not in the grid or the count.
    void refusedNewCourse_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QStringList>("laps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("lap missing") << "Parken" << "6" << QStringList{"2", "", "6"} << "Distans för mellantid saknas"
                                     << "numedtNewLaps0";
        QTest::newRow("laps not rising") << "Parken" << "6" << QStringList{"4", "2", "6"}
                                         << "Distanser för mellantider måste vara i stigande ordning" << "numedtNewLaps0";
        QTest::newRow("first lap zero") << "Parken" << "6" << QStringList{"0", "2", "6"}
                                        << "Distanser för mellantider måste vara i stigande ordning" << "numedtNewLaps0";
        QTest::newRow("lap beyond the distance") << "Parken" << "5" << QStringList{"2", "4", "6"}
                                                 << "Distansen måste vara längre än distanserna för mellantider"
                                                 << "numedtNewDistance";
        QTest::newRow("place empty") << "" << "6" << QStringList{} << "Plats saknas" << "edtNewLocation";
        QTest::newRow("place blank") << "   " << "6" << QStringList{"2", "6"} << "Plats saknas" << "edtNewLocation";
        QTest::newRow("distance empty") << "Parken" << "" << QStringList{} << "Distans saknas" << "numedtNewDistance";
        QTest::newRow("distance zero") << "Parken" << "0" << QStringList{"2"} << "Distans saknas" << "numedtNewDistance";
    }
    void refusedNewCourse()
    {
        QFETCH(QString, place);
        QFETCH(QString, distance);
        QFETCH(QStringList, laps);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TCourseWindow w;
        w.SearchAll();
        const QStringList storedBefore = w.Column(QStringLiteral("select CourseNr from CourseDescription order by CourseNr"));
        w.ShowPage("tshNew");
        w.Child<QLineEdit>(QStringLiteral("edtNewLocation"))->setText(place);
        w.Numeric(QStringLiteral("numedtNewDistance"))->SetValue(distance);
        w.SetLaps("New", laps);
        w.Child<QPlainTextEdit>(QStringLiteral("moNewDescription"))->setPlainText(QStringLiteral("Backe"));
        const QStringList lapsTyped = w.PageLaps("New");

        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{message});
        QVERIFY(w.window.focusWidget());
        QCOMPARE(w.window.focusWidget()->objectName(), focus);
        QCOMPARE(w.App().CourseCount(), 3);
        QCOMPARE(w.window.CountText(), QStringLiteral("3 banbeskrivningar"));
        QCOMPARE(w.DataRows(), 3);
        QCOMPARE(w.Column(QStringLiteral("select CourseNr from CourseDescription order by CourseNr")), storedBefore);
        // Every field as typed.
        QCOMPARE(w.Child<QLineEdit>(QStringLiteral("edtNewLocation"))->text(), place);
        QCOMPARE(w.PageLaps("New"), lapsTyped);
        QCOMPARE(w.Child<QPlainTextEdit>(QStringLiteral("moNewDescription"))->toPlainText(), QStringLiteral("Backe"));
        QCOMPARE(w.window.StatusText(), QString());

        // Put right, the same page saves, as the one new course.
        w.Child<QLineEdit>(QStringLiteral("edtNewLocation"))->setText(QStringLiteral("Parken"));
        w.Numeric(QStringLiteral("numedtNewDistance"))->SetValue(QStringLiteral("6"));
        w.SetLaps("New", {"2", "4", "6"});
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.App().CourseCount(), 4);
        QCOMPARE(w.window.CountText(), QStringLiteral("4 banbeskrivningar"));
        QCOMPARE(w.DataRows(), 4);
        QCOMPARE(w.Grid()->Row(), 4);
        const int nr = w.CurrentCourse();
        QCOMPARE(w.Grid()->Cells(1, 4), QStringLiteral("Parken"));
        QCOMPARE(w.StoredPlace(nr), QStringLiteral("Parken"));
        QCOMPARE(w.StoredLaps(nr), (QStringList{"2.00", "4.00", "6.00"}));
    }

    // Fewer laps on a course that sessions use asks first; confirmed, the
    // course and its sessions change together: the split times stay where
    // their distance stays. Answered no, nothing is stored.
    void shorteningBoundCourse_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void shorteningBoundCourse()
    {
        QFETCH(bool, confirm);
        TCourseWindow w;
        const int first = w.AddTimedRun(QStringLiteral("2024-05-01"));
        const int second = w.AddTimedRun(QStringLiteral("2024-05-08"));
        w.SearchAll();
        w.Edit(w.forest);
        QCOMPARE(w.FrontPage(), QStringLiteral("tshEdit"));
        QCOMPARE(w.window.ShownCourse(), w.forest);
        QCOMPARE(w.PageLaps("Edit"), (QStringList{"2.50", "5.00", "7.50", "10.00"}));
        QCOMPARE(w.Child<QLabel>(QStringLiteral("lblNrUsedByActivities"))->text(), QStringLiteral("Används av 2 aktiviteter"));

        w.SetLaps("Edit", {"2.5", "5", "10"});
        w.dialogs.answers = {confirm ? QStringLiteral("btnYes") : QStringLiteral("btnNo")};
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{lossQuestion});
        if (confirm) {
            QCOMPARE(w.StoredLaps(w.forest), (QStringList{"2.50", "5.00", "10.00"}));
            for (const int session : {first, second})
                QCOMPARE(w.SessionLaps(session), (QStringList{"2.50=12.00", "5.00=24.00", "10.00=48.00"}));
        } else {
            QCOMPARE(w.StoredLaps(w.forest), (QStringList{"2.50", "5.00", "7.50", "10.00"}));
            for (const int session : {first, second})
                QCOMPARE(w.SessionLaps(session), timedMarks());
        }
        // The page keeps what was typed either way.
        QCOMPARE(w.PageLaps("Edit"), (QStringList{"2.50", "5.00", "10.00"}));
        QCOMPARE(w.window.ShownCourse(), w.forest);
    }

    // More laps whose distances drop a stored one are refused outright.
    void moreLapsWithOtherDistances()
    {
        TCourseWindow w;
        const int session = w.AddTimedRun(QStringLiteral("2024-05-01"));
        w.SearchAll();
        w.Edit(w.forest);
        w.SetLaps("Edit", {"2", "4", "6", "8", "10"});
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{QStringLiteral("Du kan inte både förändra antalet delsträckor och distansen "
                                                                "för dem. Utför detta i två steg")});
        QCOMPARE(w.StoredLaps(w.forest), (QStringList{"2.50", "5.00", "7.50", "10.00"}));
        QCOMPARE(w.SessionLaps(session), timedMarks());
    }

    // A save that fails inside its transaction - here when the sessions'
    // marks are renumbered - changes nothing: not the course, not its
    // sessions; the list and the working list show what is stored, the page
    // what was typed, and the next attempt is asked about again.
    void failedChangeRollsBackCourseAndSessions()
    {
        TCourseWindow w;
        const int session = w.AddTimedRun(QStringLiteral("2024-05-01"));
        w.Sql(QStringLiteral("alter table TrainingSessionLaps add constraint CK_FewLaps check (LapNr < 50)"));
        w.SearchAll();
        w.Edit(w.forest);
        w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Skogen norra"));
        w.SetLaps("Edit", {"2.5", "5", "10"});
        w.dialogs.answers = {QStringLiteral("btnYes")};
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{lossQuestion});
        // The engine's refusal reaches the general error display.
        QCOMPARE(w.errors.size(), 1);
        QVERIFY2(w.errors.first().contains(QStringLiteral("CK_FEWLAPS"), Qt::CaseInsensitive), qPrintable(w.errors.first()));
        QVERIFY(!w.Db().InTransaction());
        QCOMPARE(w.StoredPlace(w.forest), QStringLiteral("Skogen"));
        QCOMPARE(w.StoredLaps(w.forest), (QStringList{"2.50", "5.00", "7.50", "10.00"}));
        QCOMPARE(w.SessionLaps(session), timedMarks());
        QCOMPARE(w.Column(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = %1").arg(session)),
                 QStringList{"Skogen"});
        QCOMPARE(w.App().GetCourseValues(w.forest).Place, QStringLiteral("Skogen"));
        QStringList laps;
        w.App().GetCourseLaps(w.forest, &laps);
        QCOMPARE(laps.size(), 4);
        QCOMPARE(w.Grid()->Cells(1, w.RowOf(w.forest)), QStringLiteral("Skogen"));
        QCOMPARE(w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(), QStringLiteral("Skogen norra"));

        // Without the obstacle the same page saves, after the same question.
        w.Sql(QStringLiteral("alter table TrainingSessionLaps drop constraint CK_FewLaps"));
        w.dialogs.answers = {QStringLiteral("btnYes")};
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.errors.size(), 1);
        QCOMPARE(w.dialogs.messages.size(), 2);
        QCOMPARE(w.dialogs.messages.last(), lossQuestion);
        QCOMPARE(w.StoredPlace(w.forest), QStringLiteral("Skogen norra"));
        QCOMPARE(w.SessionLaps(session), (QStringList{"2.50=12.00", "5.00=24.00", "10.00=48.00"}));
        QCOMPARE(w.Grid()->Cells(1, w.RowOf(w.forest)), QStringLiteral("Skogen norra"));
    }

    // A refused change on "Ändra" keeps the fields and the stored course.
    void refusedChangeKeepsFields_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QStringList>("laps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("place empty") << "" << QStringList{"3", "6"} << "Plats saknas" << "edtEditLocation";
        QTest::newRow("lap missing") << "Arenan" << QStringList{"3", ""} << "Distans för mellantid saknas" << "numedtEditLaps0";
    }
    void refusedChangeKeepsFields()
    {
        QFETCH(QString, place);
        QFETCH(QStringList, laps);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TCourseWindow w;
        w.SearchAll();
        w.Edit(w.stadium);
        w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(place);
        w.SetLaps("Edit", laps);
        w.Action("mnuiSave")->trigger();
        QCOMPARE(w.dialogs.messages, QStringList{message});
        QCOMPARE(w.window.focusWidget()->objectName(), focus);
        QCOMPARE(w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(), place);
        QCOMPARE(w.StoredPlace(w.stadium), QStringLiteral("Stadion"));
        // What the working list holds is what is stored, not what was set.
        QCOMPARE(w.App().GetCourseValues(w.stadium).Place, QStringLiteral("Stadion"));
        QCOMPARE(w.Grid()->Cells(1, w.RowOf(w.stadium)), QStringLiteral("Stadion"));
    }

    // "Sök text" on "Ändra" moves the grid's current row to the hit; saving
    // then writes the course the page shows, never the current row's.
    void findOnEditThenSaveWritesTheShownCourse()
    {
        TCourseWindow w;
        w.SearchAll();
        w.Edit(w.forest);
        w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Skogen norra"));
        w.dialogs.actions.insert(QStringLiteral("frmFind"), [](QWidget *find) {
            auto *text = find->findChild<QComboBox *>(QStringLiteral("cmbbxSearch"));
            text->setEditText(QStringLiteral("Hamnen"));
            find->findChild<QPushButton *>(QStringLiteral("btnFind"))->click();
        });
        QVERIFY(w.Action("mnuiFindText")->isEnabled());
        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w.FrontPage(), QStringLiteral("tshEdit"));
        QCOMPARE(w.CurrentCourse(), w.harbour);
        QCOMPARE(w.window.StatusText(), QStringLiteral("Sökningen lyckades 'Hamnen'"));
        // The closed dialog gives the activation back.
        w.window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w.window);

        QTest::keyClick(&w.window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.dialogs.messages, QStringList());
        QCOMPARE(w.errors, QStringList());
        QCOMPARE(w.StoredPlace(w.forest), QStringLiteral("Skogen norra"));
        QCOMPARE(w.StoredPlace(w.harbour), QStringLiteral("Hamnen"));
        QCOMPARE(w.Column(QStringLiteral("select CourseDistance from CourseDescription where CourseNr = %1").arg(w.harbour)),
                 QStringList{"5.00"});
        QCOMPARE(w.Grid()->Cells(1, w.RowOf(w.forest)), QStringLiteral("Skogen norra"));
        QCOMPARE(w.Grid()->Cells(1, w.RowOf(w.harbour)), QStringLiteral("Hamnen"));
        QCOMPARE(w.Grid()->Cells(2, w.RowOf(w.harbour)), QStringLiteral("5.00"));
    }

    // Another course brought to "Ändra" over unsaved changes asks first; no
    // keeps the page and puts the list back on its course.
    void anotherCourseOverChanges_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("unchanged: no question") << false << "" << true;
        QTest::newRow("changed, yes") << true << "btnYes" << true;
        QTest::newRow("changed, no") << true << "btnNo" << false;
    }
    void anotherCourseOverChanges()
    {
        QFETCH(bool, changed);
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        TCourseWindow w;
        w.SearchAll();
        w.Edit(w.forest);
        if (changed)
            w.Numeric(QStringLiteral("numedtEditDistance"))->SetValue(QStringLiteral("11"));
        if (!answer.isEmpty())
            w.dialogs.answers = {answer};
        w.ShowPage("tshResult");
        w.Grid()->SetRow(w.RowOf(w.harbour));
        w.Action("mnuiShowEdit")->trigger();
        QCOMPARE(w.dialogs.messages, changed ? QStringList{discardQuestion} : QStringList());
        QCOMPARE(w.window.ShownCourse(), replaced ? w.harbour : w.forest);
        QCOMPARE(w.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(),
                 replaced ? QStringLiteral("Hamnen") : QStringLiteral("Skogen"));
        if (!replaced) {
            QCOMPARE(w.Numeric(QStringLiteral("numedtEditDistance"))->text(), QStringLiteral("11.00"));
            QCOMPARE(w.CurrentCourse(), w.forest);
        }
    }

    // A sort by a title click or by the sort dialog keeps the course that
    // was current.
    void sortKeepsTheSelectedCourse_data()
    {
        QTest::addColumn<bool>("dialog");
        QTest::newRow("title click") << false;
        QTest::newRow("sort dialog") << true;
    }
    void sortKeepsTheSelectedCourse()
    {
        QFETCH(bool, dialog);
        TCourseWindow w;
        w.SearchAll();
        w.Grid()->SetRow(w.RowOf(w.stadium));
        const int rowBefore = w.Grid()->Row();
        if (dialog) {
            w.dialogs.actions.insert(QStringLiteral("frmSort"), [](QWidget *sort) {
                auto *column = sort->findChild<QComboBox *>(QStringLiteral("cmbbxSortCol1"));
                column->setCurrentIndex(column->findText(QStringLiteral("Distans"), Qt::MatchStartsWith));
                auto *direction = sort->findChild<QComboBox *>(QStringLiteral("cmbbxSortDir1"));
                direction->setCurrentIndex(1);
                sort->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            });
            w.Action("mnuiSort")->trigger();
            QCOMPARE(w.Grid()->LastSort().Cols[0], 2);
        } else {
            QHeaderView *titles = w.Grid()->horizontalHeader();
            const QPoint at(titles->sectionViewportPosition(2) + titles->sectionSize(2) / 2, 5);
            QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            QCOMPARE(w.Grid()->LastSort().Cols[0], 2);
        }
        // By distance the stadium's 7.5 km stands elsewhere than by place.
        QVERIFY(w.Grid()->Row() != rowBefore);
        QCOMPARE(w.CurrentCourse(), w.stadium);
        QCOMPARE(w.window.StatusText(), QString());
        QVERIFY(!CorvaleForms().CursorManagement().NonModalIds().contains(QStringLiteral("Course")));
    }

    // A course sessions use is never removed; an unused one leaves the
    // diary, the list and the count.
    void remove_data()
    {
        QTest::addColumn<bool>("used");
        QTest::newRow("used by a session") << true;
        QTest::newRow("unused") << false;
    }
    void remove()
    {
        QFETCH(bool, used);
        TCourseWindow w;
        if (used)
            w.AddTimedRun(QStringLiteral("2024-05-01"));
        w.SearchAll();
        w.Grid()->SetRow(w.RowOf(w.forest));
        w.dialogs.answers = {QStringLiteral("btnYes")};
        w.Action("mnuiRemove")->trigger();
        QStringList expected{QStringLiteral("Vill du verkligen ta bort banbeskrivningen?")};
        if (used)
            expected.append(QStringLiteral("Banbeskrivningen används av aktiviteter"));
        QCOMPARE(w.dialogs.messages, expected);
        QCOMPARE(w.StoredPlace(w.forest), used ? QStringLiteral("Skogen") : QString());
        QCOMPARE(w.RowOf(w.forest) >= 0, used);
        QCOMPARE(w.App().CourseCount(), used ? 3 : 2);
        QCOMPARE(w.DataRows(), used ? 3 : 2);
        QCOMPARE(w.window.CountText(), used ? QStringLiteral("3 banbeskrivningar") : QStringLiteral("2 banbeskrivningar"));
    }

    // Print and preview need courses and "Ändra" or "Sökresultat" in front.
    void printEnabling_data()
    {
        QTest::addColumn<bool>("search");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no courses, result") << false << "tshResult" << false;
        QTest::newRow("courses, Sök") << true << "tshSearch" << false;
        QTest::newRow("courses, Ny") << true << "tshNew" << false;
        QTest::newRow("courses, Ändra") << true << "tshEdit" << true;
        QTest::newRow("courses, result") << true << "tshResult" << true;
    }
    void printEnabling()
    {
        QFETCH(bool, search);
        QFETCH(QString, page);
        QFETCH(bool, enabled);
        TCourseWindow w;
        if (search)
            w.SearchAll();
        w.ShowPage(qPrintable(page));
        QCOMPARE(w.Action("mnuiPrint")->isEnabled(), enabled);
        QCOMPARE(w.Action("mnuiPreview")->isEnabled(), enabled);
    }

    // The list's preview goes through the print title with "Banbeskrivningar"
    // proposed; "Ändra" previews the page itself.
    void preview_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("windows");
        QTest::newRow("result") << "tshResult" << QStringList{"frmPrintTitle", "frmPreview"};
        QTest::newRow("Ändra") << "tshEdit" << QStringList{"frmPreview"};
    }
    void preview()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, windows);
        TCourseWindow w;
        w.SearchAll();
        w.ShowPage(qPrintable(page));
        QStringList shown;
        QString proposal;
        const auto record = [&](QWidget *window) {
            shown.append(window->objectName());
            if (window->objectName() == QLatin1String("frmPrintTitle")) {
                proposal = window->findChild<QListWidget *>(QStringLiteral("lstbxSuggestions"))->item(0)->text();
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            }
        };
        w.dialogs.actions.insert(QStringLiteral("frmPrintTitle"), record);
        w.dialogs.actions.insert(QStringLiteral("frmPreview"), record);
        w.Action("mnuiPreview")->trigger();
        QCOMPARE(shown, windows);
        if (page == QLatin1String("tshResult"))
            QCOMPARE(proposal, QStringLiteral("Banbeskrivningar"));
        QCOMPARE(w.dialogs.messages, QStringList());
    }

    void helpTopics_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("topic");
        QTest::newRow("Ny") << "tshNew" << "courses.htm#Add";
        QTest::newRow("Ändra") << "tshEdit" << "courses.htm#Edit";
        QTest::newRow("Sök") << "tshSearch" << "courses.htm#Search";
        QTest::newRow("Sökresultat") << "tshResult" << "courses.htm#Search";
    }
    void helpTopics()
    {
        QFETCH(QString, page);
        QFETCH(QString, topic);
        TCourseWindow w;
        TRecordingViewer viewer;
        w.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        w.App().GetHelp().SetViewer(&viewer);
        w.SearchAll();
        w.ShowPage(qPrintable(page));
        QTest::keyClick(&w.window, Qt::Key_F1);
        w.Action("mnuiIntHelp")->trigger();
        w.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(viewer.shown, (QStringList{topic, topic}));
    }

    // The window stands in the window menu while it exists.
    void windowMenu()
    {
        TAppDiary diary;
        QPointer<TfrmCourse> window = new TfrmCourse(diary.App());
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QVERIFY(MenuOfMenuBar(window->menuBar(), QStringLiteral("mnuiWindow")));
        QVERIFY(MenuOfMenuBar(window->menuBar(), QStringLiteral("mnuiHelp")));
        QCOMPARE(CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCourse")), window.data());
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().RegisteredWindow(QStringLiteral("frmCourse")));
        QCOMPARE(CorvaleForms().WindowsMenus().Count(), 0);
    }

    // Another diary opened: the lists are filled again and "Ändra" gives
    // up the course of the diary that was closed.
    void anotherDiaryRefills()
    {
        TCourseWindow w;
        w.SearchAll();
        w.Edit(w.forest);
        w.Child<QListWidget>(QStringLiteral("chklstbxSearchActivity"))->item(0)->setCheckState(Qt::Unchecked);
        w.App().DatabaseChanged();
        QCOMPARE(w.FrontPage(), QStringLiteral("tshSearch"));
        QCOMPARE(w.Grid()->Cells(5, 1), QString());
        QCOMPARE(w.window.ShownCourse(), -1);
        auto *activities = w.Child<QListWidget>(QStringLiteral("chklstbxSearchActivity"));
        QVERIFY(activities->count() > 0);
        for (int i = 0; i < activities->count(); ++i)
            QCOMPARE(activities->item(i)->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(tst_CourseWindow)
#include "tst_CourseWindow.moc"
