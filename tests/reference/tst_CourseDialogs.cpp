// The course choice of the entry pages and the current-course window,
// against courses and sessions stored in a real diary through the
// application object.

#include "AppDiary.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "reference/ChooseCourse.h"
#include "reference/CurrentCourse.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

#include <memory>

namespace
{
const QString noCourse = QStringLiteral("< Ingen banbeskrivning passar >");

template <class T> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

// Four running courses and one biking course, by place.
struct TCourseDiary : TAppDiary
{
    int forestLoop = AddCourse("RUN", QStringLiteral("Skogen runt"), 10, {"2.5", "5", "7.5"}, 1,
                               {QStringLiteral("Grusväg"), QStringLiteral("två backar")});
    int forestRoad = AddCourse("RUN", QStringLiteral("Skogsvägen"), 10, {}, 3);
    int stadium = AddCourse("RUN", QStringLiteral("Stadion"), 5, {"1", "2", "3", "4"}, 0);
    int harbour = AddCourse("RUN", QStringLiteral("Hamnen"), 7.5, {}, 4);
    int forestBike = AddCourse("BIK", QStringLiteral("Skogen"), 10, {}, 2);
};

// What the dialog shows at every position of its track bar, one
// "place|distance|difficulty|description" per position.
QStringList stepThrough(QWidget *window)
{
    auto *bar = child<QSlider>(window, QStringLiteral("trkbrCourse"));
    QStringList shown;
    for (int position = bar->minimum(); position <= bar->maximum(); ++position) {
        if (bar->isVisible() && bar->isEnabled()) {
            bar->setFocus();
            if (position > bar->minimum())
                QTest::keyClick(bar, Qt::Key_Right);
        }
        if (bar->value() != position && position > bar->minimum())
            break;
        shown.append(child<QLineEdit>(window, QStringLiteral("edtLocation"))->text() + '|'
                     + child<QLineEdit>(window, QStringLiteral("edtDistance"))->text() + '|'
                     + child<QLineEdit>(window, QStringLiteral("edtDifficulty"))->text() + '|'
                     + child<QPlainTextEdit>(window, QStringLiteral("moDescription"))->toPlainText());
        if (!bar->isVisible())
            break;
    }
    return shown;
}

// The statistics fields of the current-course window in screen order:
// fastest date and time, slowest date and time, average, then the five
// recent rows as "date time".
QStringList statisticsShown(QWidget *window)
{
    auto text = [&](const QString &name) { return child<QLineEdit>(window, name)->text(); };
    QStringList fields{text(QStringLiteral("edtFastestDate")), text(QStringLiteral("numedtFastestDur")),
                       text(QStringLiteral("edtSlowestDate")), text(QStringLiteral("numedtSlowestDur")),
                       text(QStringLiteral("numedtAverageDur"))};
    for (int i = 1; i <= 5; ++i)
        fields.append((text(QStringLiteral("edtStatDur%1").arg(i)) + ' ' + text(QStringLiteral("numedtStatDate%1").arg(i))).trimmed());
    return fields;
}
}

class tst_CourseDialogs : public QObject
{
    Q_OBJECT

private slots:
    // The courses offered: the activity's, whose place contains the place
    // typed and whose distance is the distance typed; the track bar steps
    // through two or more, one is shown alone, none shows the placeholder
    // with OK disabled.
    void matching_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("barVisible");
        QTest::addColumn<bool>("okEnabled");
        QTest::newRow("place and distance") << "RUN" << "Skog" << "10"
                                            << QStringList{"Skogen runt|10.00|Lätt|Grusväg\ntvå backar",
                                                           "Skogsvägen|10.00|Jobbig|"}
                                            << true << true;
        QTest::newRow("distance only, decimals typed") << "RUN" << "" << "5.0"
                                                       << QStringList{"Stadion|5.00|Mycket lätt|"} << false << true;
        QTest::newRow("place only") << "RUN" << "amn" << ""
                                    << QStringList{"Hamnen|7.50|Mycket jobbig|"} << false << true;
        QTest::newRow("another activity") << "BIK" << "Skog" << "10"
                                          << QStringList{"Skogen|10.00|Medel|"} << false << true;
        QTest::newRow("no distance matches") << "RUN" << "Skog" << "7"
                                             << QStringList{"|||" + noCourse} << false << false;
        QTest::newRow("no course of the activity") << "SKI" << "" << ""
                                                   << QStringList{"|||" + noCourse} << false << false;
    }
    void matching()
    {
        QFETCH(QString, code);
        QFETCH(QString, place);
        QFETCH(QString, distance);
        QFETCH(QStringList, shown);
        QFETCH(bool, barVisible);
        QFETCH(bool, okEnabled);
        TCourseDiary diary;
        TDialogs dialogs;
        TfrmChooseCourse dialog(diary.App());
        QStringList seen;
        bool visible = !barVisible, enabled = !okEnabled;
        dialogs.actions.insert(QStringLiteral("frmChooseCourse"), [&](QWidget *window) {
            visible = child<QSlider>(window, QStringLiteral("trkbrCourse"))->isVisible();
            enabled = child<QPushButton>(window, QStringLiteral("btnOK"))->isEnabled();
            seen = stepThrough(window);
            QTest::keyClick(window, Qt::Key_Escape);
        });
        dialog.SetCriteria(diary.Name(code.toLatin1().constData()), place, distance);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(seen, shown);
        QCOMPARE(visible, barVisible);
        QCOMPARE(enabled, okEnabled);
        // Nothing is chosen by a cancelled dialog; the typed values stand.
        QCOMPARE(dialog.GetChosenCourse(), QString());
        QCOMPARE(dialog.GetChosenPlace(), place);
        QCOMPARE(dialog.GetChosenDistance(), distance);
        QStringList laps{QStringLiteral("x")};
        dialog.GetChosenLaps(&laps);
        QVERIFY(laps.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
    }

    // The course at the track bar's position is the one chosen: its number,
    // its place and distance in place of the typed ones, its lap distances.
    void choosing_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("which");
        QTest::addColumn<QStringList>("laps");
        QTest::newRow("first of two") << "Skog" << "10" << 0 << "forestLoop" << QStringList{"2.50", "5.00", "7.50"};
        QTest::newRow("second of two") << "Skog" << "10" << 1 << "forestRoad" << QStringList{};
        QTest::newRow("the only one") << "" << "5" << 0 << "stadium" << QStringList{"1.00", "2.00", "3.00", "4.00"};
    }
    void choosing()
    {
        QFETCH(QString, place);
        QFETCH(QString, distance);
        QFETCH(int, steps);
        QFETCH(QString, which);
        QFETCH(QStringList, laps);
        TCourseDiary diary;
        const QHash<QString, int> numbers{{QStringLiteral("forestLoop"), diary.forestLoop},
                                          {QStringLiteral("forestRoad"), diary.forestRoad},
                                          {QStringLiteral("stadium"), diary.stadium}};
        const TCourseValues course = diary.App().ReadCourse(numbers.value(which));
        TDialogs dialogs;
        TfrmChooseCourse dialog(diary.App());
        dialogs.actions.insert(QStringLiteral("frmChooseCourse"), [&](QWidget *window) {
            auto *bar = child<QSlider>(window, QStringLiteral("trkbrCourse"));
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(bar, Qt::Key_Right);
            QCOMPARE(child<QLineEdit>(window, QStringLiteral("edtLocation"))->text(), course.Place);
            // OK is the default button.
            QTest::keyClick(window, Qt::Key_Return);
        });
        dialog.SetCriteria(diary.Name("RUN"), place, distance);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetChosenCourse(), QString::number(numbers.value(which)));
        QCOMPARE(dialog.GetChosenPlace(), course.Place);
        QCOMPARE(dialog.GetChosenDistance(), course.Distance);
        QStringList chosenLaps{QStringLiteral("old")};
        dialog.GetChosenLaps(&chosenLaps);
        QCOMPARE(chosenLaps, laps);

        // A second showing starts afresh.
        dialogs.actions.insert(QStringLiteral("frmChooseCourse"),
                               [&](QWidget *window) { child<QPushButton>(window, QStringLiteral("btnCancel"))->click(); });
        dialog.SetCriteria(diary.Name("RUN"), QStringLiteral("Ingenstans"), QString());
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.GetChosenCourse(), QString());
        QCOMPARE(dialog.GetChosenPlace(), QStringLiteral("Ingenstans"));
        QCOMPARE(dialog.MatchCount(), 0);
    }

    void chosenLapsNeedAList()
    {
        TAppDiary diary;
        TfrmChooseCourse dialog(diary.App());
        QString message;
        try {
            dialog.GetChosenLaps(nullptr);
        } catch (const EUIError &e) {
            message = e.Message();
        }
        QCOMPARE(message, QStringLiteral("ChooseCourse 01"));
    }

    // The statistics of the course's sessions up to the session's date:
    // fastest and slowest (the newest of equal times), the average in whole
    // seconds, the five most recent, newest first. The count of sessions is
    // of every session on the course.
    void statistics_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("up to a date")
            << "2024-04-30"
            << QStringList{"2024-03-20", "44.10", "2024-03-05", "47.00", "45.22",
                           "2024-04-02 46.00", "2024-03-20 44.10", "2024-03-05 47.00", "2024-02-01 44.10",
                           "2024-01-10 45.30"};
        QTest::newRow("every session")
            << ""
            << QStringList{"2024-05-01", "43.59", "2024-03-05", "47.00", "45.08",
                           "2024-05-01 43.59", "2024-04-02 46.00", "2024-03-20 44.10", "2024-03-05 47.00",
                           "2024-02-01 44.10"};
        QTest::newRow("the first session only")
            << "2024-01-10"
            << QStringList{"2024-01-10", "45.30", "2024-01-10", "45.30", "45.30", "2024-01-10 45.30", "", "", "", ""};
        QTest::newRow("before every session")
            << "2023-12-31" << QStringList{"", "", "", "", "", "", "", "", "", ""};
    }
    void statistics()
    {
        QFETCH(QString, date);
        QFETCH(QStringList, fields);
        TCourseDiary diary;
        const int course = diary.forestLoop;
        diary.AddSession("RUN", QStringLiteral("2024-01-10"), QStringLiteral("45.30"), course, 3);
        diary.AddSession("RUN", QStringLiteral("2024-02-01"), QStringLiteral("44.10"), course, 3);
        diary.AddSession("RUN", QStringLiteral("2024-03-05"), QStringLiteral("47.00"), course, 3);
        diary.AddSession("RUN", QStringLiteral("2024-03-20"), QStringLiteral("44.10"), course, 3);
        diary.AddSession("RUN", QStringLiteral("2024-04-02"), QStringLiteral("46.00"), course, 3);
        diary.AddSession("RUN", QStringLiteral("2024-05-01"), QStringLiteral("43.59"), course, 3);
        // Sessions elsewhere do not count.
        diary.AddSession("RUN", QStringLiteral("2024-03-01"), QStringLiteral("30.00"), diary.forestRoad);
        diary.AddSession("RUN", QStringLiteral("2024-03-02"), QStringLiteral("30.00"));
        const int loaded = diary.App().GetLoadedCount();

        TfrmCurrentCourse window(diary.App());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowCourse(QString::number(course), date);
        QCOMPARE(statisticsShown(&window), fields);
        QCOMPARE(child<QLineEdit>(&window, QStringLiteral("edtDifficulty"))->text(), QStringLiteral("Lätt"));
        QCOMPARE(child<QPlainTextEdit>(&window, QStringLiteral("moDescription"))->toPlainText(),
                 QStringLiteral("Grusväg\ntvå backar"));
        QVERIFY(child<QLineEdit>(&window, QStringLiteral("edtDifficulty"))->isEnabled());
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lblNrUsedByActivities"))->text(),
                 QStringLiteral("Används av 6 aktiviteter"));
        // The entry made to ask the diary is gone again.
        QCOMPARE(diary.App().GetLoadedCount(), loaded);
    }

    // Without a course the window says so and shows no statistics, also
    // right after it showed a course; a course of one session reads in the
    // singular; a hidden window is left alone.
    void withoutACourse_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("-1") << "-1";
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << " ";
    }
    void withoutACourse()
    {
        QFETCH(QString, number);
        TCourseDiary diary;
        diary.AddSession("RUN", QStringLiteral("2024-01-10"), QStringLiteral("45.30"), diary.stadium, 4);
        TfrmCurrentCourse window(diary.App());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *label = child<QLabel>(&window, QStringLiteral("lblNrUsedByActivities"));
        window.ShowCourse(QString::number(diary.stadium), QStringLiteral("2024-12-31"));
        QCOMPARE(label->text(), QStringLiteral("Används av 1 aktivitet"));
        QCOMPARE(statisticsShown(&window).at(0), QStringLiteral("2024-01-10"));

        window.ShowCourse(number, QStringLiteral("2024-12-31"));
        QCOMPARE(child<QLineEdit>(&window, QStringLiteral("edtDifficulty"))->text(), noCourse);
        QCOMPARE(child<QPlainTextEdit>(&window, QStringLiteral("moDescription"))->toPlainText(), noCourse);
        QVERIFY(!child<QLineEdit>(&window, QStringLiteral("edtDifficulty"))->isEnabled());
        QVERIFY(!child<QPlainTextEdit>(&window, QStringLiteral("moDescription"))->isEnabled());
        QCOMPARE(statisticsShown(&window), QStringList(10, QString()));
        QCOMPARE(label->text(), QStringLiteral("Används inte av någon aktivitet"));

        window.hide();
        window.ShowCourse(QString::number(diary.stadium), QStringLiteral("2024-12-31"));
        QCOMPARE(label->text(), QStringLiteral("Används inte av någon aktivitet"));
    }

    // The description shown is the whole paragraph stored, in a diary of
    // today's form (a text blob per line) and in one made before (a
    // VARCHAR(1000) per line), which opens and takes courses as before.
    void descriptionOfEitherForm_data()
    {
        QTest::addColumn<bool>("earlierForm");
        QTest::addColumn<int>("length");
        QTest::newRow("text blob") << false << 5000;
        QTest::newRow("earlier VARCHAR(1000)") << true << 1000;
    }
    void descriptionOfEitherForm()
    {
        QFETCH(bool, earlierForm);
        QFETCH(int, length);
        TAppDiary diary;
        if (earlierForm) {
            diary.Sql(QStringLiteral("drop table CourseDescriptionText"));
            diary.Sql(QStringLiteral("create table CourseDescriptionText (CourseNr INTEGER NOT NULL, CourseRowNr INTEGER, "
                                     "CourseDescription D_COMMENT)"));
            diary.Sql(QStringLiteral("create index IX_CourseDescriptionText_Nr on CourseDescriptionText (CourseNr)"));
            diary.Sql(QStringLiteral("grant all on CourseDescriptionText to public"));
            diary.App().Disconnect();
            diary.App().OpenDatabase();
            QCOMPARE(diary.App().State(), TCorvaleApp::TState::Open);
        }
        QString paragraph;
        while (paragraph.size() < length)
            paragraph += QStringLiteral("Längs ån till bron, ");
        paragraph.truncate(length - 1);
        paragraph += QLatin1Char('.');
        const int course = diary.AddCourse("RUN", QStringLiteral("Ån"), 6, {}, 2, {QStringLiteral("Platt"), paragraph});
        diary.AddSession("RUN", QStringLiteral("2024-04-01"), QStringLiteral("30.00"), course);

        TfrmCurrentCourse window(diary.App());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowCourse(QString::number(course), QStringLiteral("2024-12-31"));
        QCOMPARE(child<QPlainTextEdit>(&window, QStringLiteral("moDescription"))->toPlainText(),
                 QStringLiteral("Platt\n") + paragraph);
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lblNrUsedByActivities"))->text(),
                 QStringLiteral("Används av 1 aktivitet"));
    }

    // A course no session uses.
    void unusedCourse()
    {
        TCourseDiary diary;
        TfrmCurrentCourse window(diary.App());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowCourse(QString::number(diary.harbour), QString());
        QCOMPARE(child<QLineEdit>(&window, QStringLiteral("edtDifficulty"))->text(), QStringLiteral("Mycket jobbig"));
        QCOMPARE(statisticsShown(&window), QStringList(10, QString()));
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lblNrUsedByActivities"))->text(),
                 QStringLiteral("Används inte av någon aktivitet"));
    }

    // Closing the window tells the main window, so that its menu check
    // mark follows.
    void closingIsTold()
    {
        TAppDiary diary;
        TfrmCurrentCourse window(diary.App());
        QSignalSpy closed(&window, &TfrmCurrentCourse::Closed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
    }

    // Each window keeps its size and place under its own key.
    void geometryIsKept_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("key");
        QTest::newRow("choice") << "ChooseCourse" << "CourseSelectWindow";
        QTest::newRow("current course") << "CurrentCourse" << "CurrentCourseWindow";
    }
    void geometryIsKept()
    {
        QFETCH(QString, window);
        QFETCH(QString, key);
        TAppDiary diary;
        auto make = [&]() -> std::unique_ptr<QWidget> {
            if (window == QLatin1String("ChooseCourse"))
                return std::make_unique<TfrmChooseCourse>(diary.App());
            return std::make_unique<TfrmCurrentCourse>(diary.App());
        };
        {
            auto first = make();
            first->resize(345, 289);
            first->move(23, 34);
        }
        TDefRegistry registry;
        QVERIFY(registry.OpenKey(QString::fromLatin1(SettingsFiles::KeyRoot) + '\\' + key, false));
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Width"), -1), 345);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Height"), -1), 289);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("XPosition"), -1), 23);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("YPosition"), -1), 34);
        registry.CloseKey();
        auto second = make();
        QCOMPARE(second->size(), QSize(345, 289));
        QCOMPARE(second->pos(), QPoint(23, 34));
    }
};

QTEST_MAIN(tst_CourseDialogs)
#include "tst_CourseDialogs.moc"
