// The replay window on a real diary searched by the application object:
// loading the courses and competitors, playing through the states tick by
// tick, the pause at splits, scrubbing and the selected competitor, the
// detail dialog, a session left out, the printed standings, the speed
// table, the stored choices, the window menu and the help topics.

#include "reference/AppDiary.h"
#include "support/PdfText.h"

#include "analysis/CourseReplay.h"
#include "analysis/CourseReplayInfo.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
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

// A diary with a 5 km course with a lap mark at 2.5 km: the 25.00 with the
// split 12.00 and the 30.00 without a split; a 3 km course with one session;
// a session without a course. The search of all of them is loaded.
struct TRace
{
    TAppDiary diary;
    int hill = 0;
    int flat = 0;

    explicit TRace(bool withBadSession = false)
    {
        hill = diary.AddCourse("RUN", QStringLiteral("Backen"), 5, {QStringLiteral("2.5")});
        flat = diary.AddCourse("RUN", QStringLiteral("Slätten"), 3);
        const int fast = diary.AddSession("RUN", QStringLiteral("2024-05-01"), QStringLiteral("25.00"), hill, 1);
        diary.AddSession("RUN", QStringLiteral("2024-05-02"), QStringLiteral("30.00"), hill, 1);
        diary.AddSession("RUN", QStringLiteral("2024-05-03"), QStringLiteral("14.00"), flat);
        diary.AddSession("RUN", QStringLiteral("2024-05-04"), QStringLiteral("20.00"));
        diary.Sql(QStringLiteral("update TrainingSessionLaps set LapTime = 12.00 where SessionNr = %1").arg(fast));
        if (withBadSession) {
            const int bad = diary.AddSession("RUN", QStringLiteral("2024-05-05"), QStringLiteral("20.00"), hill, 1);
            // Stored behind the entry page's back: a split after the total.
            diary.Sql(QStringLiteral("update TrainingSessionLaps set LapTime = 22.00 where SessionNr = %1").arg(bad));
        }
        QStringList names;
        diary.App().GetActivityNames(&names);
        QList<int> numbers;
        diary.App().SearchActivities(names, TSearchParams(), numbers);
    }
};

QPushButton *button(const TfrmReplay &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

// Which of Back, Pause, Stop and Forward are enabled, as "BPSF" with "-"
// for a disabled one.
QString enabled(const TfrmReplay &window)
{
    QString result;
    const char *names[] = {"bbtnBack", "bbtnPause", "bbtnStop", "bbtnForw"};
    const char letters[] = "BPSF";
    for (int i = 0; i < 4; ++i)
        result += button(window, names[i])->isEnabled() ? QLatin1Char(letters[i]) : QLatin1Char('-');
    return result;
}

void setSpeed(TfrmReplay &window, int position)
{
    window.findChild<QSlider *>(QStringLiteral("trkbrSpeed"))->setValue(position);
}

// Ticks until the state changes or the limit is reached; returns the ticks.
int tickWhile(TfrmReplay &window, TfrmReplay::TState state, int limit)
{
    int ticks = 0;
    while (window.State() == state && ticks < limit) {
        window.tmrControlTimer();
        ++ticks;
    }
    return ticks;
}
}

class tst_ReplayWindow : public QObject
{
    Q_OBJECT

private slots:
    // Stopped after loading with the final standings; playing forward tick
    // by tick to 6.00; paused; on to the end; back to 00.00 and stopped.
    void playsThroughItsStates()
    {
        TRace race;
        TfrmReplay window(race.diary.App());
        window.show();
        window.LoadFromSearch();
        QCOMPARE(window.CourseCount(), 2);
        QVERIFY(window.CourseTexts().at(0).contains(QStringLiteral("Backen")));
        QVERIFY(window.CourseTexts().at(1).contains(QStringLiteral("Slätten")));
        QCOMPARE(window.State(), TfrmReplay::Stopped);
        QCOMPARE(window.ClockText(), QStringLiteral("00.00"));
        QCOMPARE(window.MaxText(), QStringLiteral("30.00"));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("tlblMax"))->text(), QStringLiteral("30.00"));
        QCOMPARE(window.PositionLines(), (QStringList{"2024-05-01: (25.00)", "2024-05-02: (30.00)"}));
        QCOMPARE(window.Chart()->BarCount(), 2);
        QCOMPARE(window.Chart()->Bar(0).Mark, QStringLiteral("2024-05-01: 25.00 (min)"));
        QCOMPARE(window.Chart()->Bar(0).Length, 0.0);
        QCOMPARE(window.Chart()->AxisMaximum(), 5.0);
        QCOMPARE(enabled(window), QStringLiteral("---F"));
        QCOMPARE(window.StatusText(), QString());

        // Position 4: a tick every 50 ms moving the clock 6 seconds.
        setSpeed(window, 4);
        QCOMPARE(window.Step(), 6);
        button(window, "bbtnForw")->click();
        QCOMPARE(window.State(), TfrmReplay::Forward);
        QVERIFY(window.findChild<QTimer *>(QStringLiteral("tmrControl"))->isActive());
        QCOMPARE(enabled(window), QStringLiteral("-PS-"));
        for (int i = 0; i < 60; ++i)
            window.tmrControlTimer();
        QCOMPARE(window.ClockText(), QStringLiteral("06.00"));
        QCOMPARE(window.PositionLines(), (QStringList{"2024-05-01: 1.250, 0", "2024-05-02: 1.000, 250"}));
        QCOMPARE(window.SpeedLines(), (QStringList{"2024-05-01: 12.50, 4.48", "2024-05-02: 10.00, 6.00"}));
        QCOMPARE(window.Chart()->Bar(0).Mark, QStringLiteral("2024-05-01: 1.250 (km)"));
        QCOMPARE(window.Chart()->Bar(0).Length, 1.25);
        QCOMPARE(window.Chart()->Bar(0).Colour, QColor(0, 0, 255));
        QCOMPARE(window.findChild<QProgressBar *>(QStringLiteral("pgsbrReplay"))->value(), 360);

        button(window, "bbtnPause")->click();
        QCOMPARE(window.State(), TfrmReplay::Paused);
        QVERIFY(!window.findChild<QTimer *>(QStringLiteral("tmrControl"))->isActive());
        QCOMPARE(enabled(window), QStringLiteral("B-SF"));
        window.tmrControlTimer();
        QCOMPARE(window.ClockText(), QStringLiteral("06.00"));

        // On past the first competitor's split: a lap passed is sky blue.
        button(window, "bbtnForw")->click();
        for (int i = 0; i < 30; ++i)
            window.tmrControlTimer();
        QCOMPARE(window.ClockText(), QStringLiteral("09.00"));
        for (int i = 0; i < 40; ++i)
            window.tmrControlTimer();
        QCOMPARE(window.ClockText(), QStringLiteral("13.00"));
        QCOMPARE(window.Chart()->Bar(0).Colour, QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(window.Chart()->Bar(1).Colour, QColor(0, 0, 255));

        // To the end: the clock stops at the longest time, all have finished.
        const int ticks = tickWhile(window, TfrmReplay::Forward, 1000);
        QCOMPARE(ticks, 170);
        QCOMPARE(window.State(), TfrmReplay::AtEnd);
        QCOMPARE(window.ClockText(), QStringLiteral("30.00"));
        QCOMPARE(enabled(window), QStringLiteral("B-S-"));
        QVERIFY(!window.findChild<QTimer *>(QStringLiteral("tmrControl"))->isActive());
        QCOMPARE(window.Chart()->Bar(1).Colour, QColor(0, 128, 0));
        QCOMPARE(window.Chart()->Bar(1).Length, 5.0);
        QCOMPARE(window.PositionLines(), (QStringList{"2024-05-01: (25.00)", "2024-05-02: (30.00)"}));

        // Backward from the end stops at 00.00.
        button(window, "bbtnBack")->click();
        QCOMPARE(window.State(), TfrmReplay::Backward);
        QCOMPARE(tickWhile(window, TfrmReplay::Backward, 1000), 300);
        QCOMPARE(window.State(), TfrmReplay::Stopped);
        QCOMPARE(window.ClockText(), QStringLiteral("00.00"));
        QCOMPARE(enabled(window), QStringLiteral("---F"));
        QCOMPARE(window.Chart()->Bar(0).Mark, QStringLiteral("2024-05-01: 25.00 (min)"));

        // Stop from a pause sets the clock back to 00.00.
        button(window, "bbtnForw")->click();
        window.tmrControlTimer();
        button(window, "bbtnStop")->click();
        QCOMPARE(window.State(), TfrmReplay::Stopped);
        QCOMPARE(window.ClockText(), QStringLiteral("00.00"));
    }

    // With "Paus vid mellantider" the replay pauses on the tick at which a
    // competitor passed a split, and that competitor is yellow.
    void pausesAtSplits()
    {
        TRace race;
        TfrmReplay window(race.diary.App());
        window.show();
        window.LoadFromSearch();
        window.findChild<QCheckBox *>(QStringLiteral("chkbxPause"))->setChecked(true);
        setSpeed(window, 7);
        QCOMPARE(window.Step(), 79);
        button(window, "bbtnForw")->click();
        // 12.00 is passed on the tenth tick (790 s), the interpolated 15.00
        // of the other on the twelfth (948 s).
        QCOMPARE(tickWhile(window, TfrmReplay::Forward, 100), 10);
        QCOMPARE(window.State(), TfrmReplay::Paused);
        QCOMPARE(window.ClockText(), QStringLiteral("13.10"));
        QCOMPARE(window.Chart()->Bar(0).Colour, QColor(255, 255, 0));
        QCOMPARE(window.Chart()->Bar(1).Colour, QColor(0, 0, 255));
        button(window, "bbtnForw")->click();
        QCOMPARE(tickWhile(window, TfrmReplay::Forward, 100), 2);
        QCOMPARE(window.ClockText(), QStringLiteral("15.48"));
        QCOMPARE(window.Chart()->Bar(1).Colour, QColor(255, 255, 0));
        // The finish pauses too.
        button(window, "bbtnForw")->click();
        QCOMPARE(tickWhile(window, TfrmReplay::Forward, 100), 7);
        QCOMPARE(window.ClockText(), QStringLiteral("25.01"));
    }

    // A press on the time line sets the clock and pauses; a selected
    // competitor is red and its details are shown in the modal dialog.
    void scrubbingAndDetails()
    {
        TRace race;
        TDialogs dialogs;
        TfrmReplay window(race.diary.App());
        window.resize(800, 600);
        window.show();
        window.LoadFromSearch();
        auto *bar = window.findChild<QProgressBar *>(QStringLiteral("pgsbrReplay"));
        bar->setFixedWidth(600);
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(300, bar->height() / 2));
        QCOMPARE(window.State(), TfrmReplay::Paused);
        QCOMPARE(window.ClockText(), QStringLiteral("15.00"));
        QCOMPARE(window.ProgressHint(bar->width() / 4), QStringLiteral("07.30"));
        QCOMPARE(window.ProgressHint(bar->width()), QStringLiteral("30.00"));
        QCOMPARE(window.PositionLines().at(1), QStringLiteral("2024-05-02: 2.500, 577"));

        auto *information = window.findChild<QAction *>(QStringLiteral("mnuiInformation"));
        QVERIFY(!information->isEnabled());
        auto *positions = window.findChild<QListWidget *>(QStringLiteral("lstbxPosition"));
        const QRect row = positions->visualItemRect(positions->item(1));
        QTest::mouseClick(positions->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(information->isEnabled());
        QCOMPARE(window.SelectedItem()->Date, QStringLiteral("2024-05-02"));
        QCOMPARE(window.Chart()->Bar(1).Colour, QColor(255, 0, 0));
        // The selection follows its competitor when the ranking changes.
        window.ScrubTo(bar->width());
        QCOMPARE(window.SelectedItem()->Date, QStringLiteral("2024-05-02"));
        window.ScrubTo(bar->width() / 2);

        QString dateTime, behind;
        QStringList splits;
        QList<bool> computed;
        bool none = true;
        dialogs.actions.insert(QStringLiteral("frmReplayInfo"), [&](QWidget *dialog) {
            auto *info = static_cast<TfrmReplayInfo *>(dialog);
            QCOMPARE(info->windowTitle(), QStringLiteral("Uppspelningsinformation"));
            dateTime = info->DateTimeText();
            behind = info->BehindText();
            splits = info->SplitTexts();
            computed = info->Computed();
            none = info->NoSplitsShown();
            info->accept();
        });
        button(window, "bbtnForw")->click();
        information->trigger();
        QCOMPARE(dateTime, QStringLiteral("2024-05-02   -   30.00"));
        QCOMPARE(behind, QStringLiteral("577"));
        QCOMPARE(splits, QStringList{QStringLiteral("15.000")});
        QCOMPARE(computed, QList<bool>{true});
        QVERIFY(!none);
        // The replay goes on as it was.
        QCOMPARE(window.State(), TfrmReplay::Forward);
    }

    // The flat course's session has no splits.
    void detailsWithoutSplits()
    {
        TReplayItem item;
        item.Date = QStringLiteral("2024-05-03");
        item.TotalTime = QStringLiteral("14.00");
        TfrmReplayInfo info(item);
        QVERIFY(info.NoSplitsShown());
        QVERIFY(info.SplitTexts().isEmpty());
        QCOMPARE(info.BehindText(), QStringLiteral("0"));
    }

    // A session whose splits do not fit is left out and named; the others
    // race. Another course shows only its own sessions.
    void badSessionIsLeftOut()
    {
        TRace race(true);
        TfrmReplay window(race.diary.App());
        window.show();
        window.LoadFromSearch();
        QVERIFY2(window.StatusText().contains(QStringLiteral("2024-05-05")), qPrintable(window.StatusText()));
        QCOMPARE(window.CourseItems().size(), 2);
        auto *course = window.findChild<QComboBox *>(QStringLiteral("cmbbxCourse"));
        course->setCurrentIndex(1);
        window.cmbbxCourseChange();
        QCOMPARE(window.MaxText(), QStringLiteral("14.00"));
        QCOMPARE(window.PositionLines(), QStringList{QStringLiteral("2024-05-03: (14.00)")});
        QCOMPARE(window.Chart()->AxisMaximum(), 3.0);
    }

    // The printed page holds the title, the clock and both standings.
    void printedStandings()
    {
        TRace race;
        TfrmReplay window(race.diary.App());
        window.show();
        window.LoadFromSearch();
        window.findChild<QProgressBar *>(QStringLiteral("pgsbrReplay"))->setFixedWidth(600);
        window.ScrubTo(120);
        const std::unique_ptr<TReportDocument> report = window.Report(QStringLiteral("Uppspelning - Backen"));
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("uppspelning.pdf"));
        WriteReportPdf(*report, file, &window);
        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 1);
        const QString page = pages.first();
        QVERIFY(page.contains(QStringLiteral("Uppspelning - Backen")));
        QVERIFY(page.contains(QStringLiteral("Uppspelningstid 06.00 av 30.00")));
        for (const QString &line : window.PositionLines() + window.SpeedLines())
            QVERIFY2(page.contains(line), qPrintable(line));
        QVERIFY(page.contains(QStringLiteral("2024-05-01: 1.250, 0")));
    }

    // The speed positions: timer interval, step and the label's factor.
    void speedTable_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << 1000 << 1 << "1";
        QTest::newRow("1") << 1 << 250 << 1 << "4";
        QTest::newRow("2") << 2 << 100 << 1 << "10";
        QTest::newRow("3") << 3 << 50 << 2 << "40";
        QTest::newRow("4") << 4 << 50 << 6 << "100";
        QTest::newRow("5") << 5 << 50 << 11 << "200";
        QTest::newRow("6") << 6 << 50 << 23 << "400";
        QTest::newRow("7") << 7 << 50 << 79 << "1000";
        QTest::newRow("8") << 8 << 50 << 111 << "2000";
        QTest::newRow("9") << 9 << 50 << 213 << "4000";
        QTest::newRow("10") << 10 << 50 << 437 << "8000";
    }
    void speedTable()
    {
        QFETCH(int, position);
        QFETCH(int, interval);
        QFETCH(int, step);
        QFETCH(QString, label);
        TAppDiary diary;
        TfrmReplay window(diary.App());
        setSpeed(window, position);
        QCOMPARE(window.Interval(), interval);
        QCOMPARE(window.Step(), step);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblSpeed"))->text(),
                 QStringLiteral("Uppspelnings&hastighet: ") + label + QStringLiteral(" ggr"));
        auto *faster = window.findChild<QAction *>(QStringLiteral("mnuiFaster"));
        auto *slower = window.findChild<QAction *>(QStringLiteral("mnuiSlower"));
        QCOMPARE(faster->isEnabled(), position < 10);
        QCOMPARE(slower->isEnabled(), position > 0);
        if (position < 10) {
            faster->trigger();
            QCOMPARE(window.findChild<QSlider *>(QStringLiteral("trkbrSpeed"))->value(), position + 1);
        }
    }

    // Speed and pause come back in the next window; without a course the
    // controls are disabled.
    void choicesAreKept()
    {
        TAppDiary diary;
        {
            TfrmReplay window(diary.App());
            QCOMPARE(window.findChild<QSlider *>(QStringLiteral("trkbrSpeed"))->value(), 5);
            setSpeed(window, 8);
            window.findChild<QCheckBox *>(QStringLiteral("chkbxPause"))->setChecked(true);
        }
        TfrmReplay window(diary.App());
        window.show();
        window.LoadFromSearch();
        QCOMPARE(window.findChild<QSlider *>(QStringLiteral("trkbrSpeed"))->value(), 8);
        QCOMPARE(window.Step(), 111);
        QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("chkbxPause"))->isChecked());
        QCOMPARE(window.CourseCount(), 0);
        QCOMPARE(enabled(window), QStringLiteral("----"));
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("pnlControl"))->isEnabled());
    }

    // The window stands in the window menu while it exists; its help menu
    // opens the topics 50 to 57.
    void windowAndHelp()
    {
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        auto *window = new TfrmReplay(diary.App());
        QCOMPARE(window->objectName(), QStringLiteral("frmReplay"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Uppspelning"));
        QVERIFY(CorvaleForms().WindowsMenus().IsRegistered(window));
        QMenu *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuiHelp"));
        QVERIFY(help);
        for (QAction *item : help->actions())
            if (!item->isSeparator() && !item->menu())
                item->trigger();
        diary.App().GetHelp().SetViewer(nullptr);
        QStringList expected;
        for (int topic = 50; topic <= 57; ++topic)
            expected.append(CorvaleHelp::TopicPage(topic));
        QCOMPARE(viewer.shown, expected);
        QCOMPARE(expected.first(), QStringLiteral("replay.htm"));
        QCOMPARE(expected.last(), QStringLiteral("replay.htm#Info"));
        const QStringList shortcuts{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_B).toString(),
                                    QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P).toString(),
                                    QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S).toString(),
                                    QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F).toString()};
        QStringList actual;
        for (const char *name : {"mnuiBack", "mnuiPause", "mnuiStop", "mnuiForw"})
            actual.append(window->findChild<QAction *>(QLatin1String(name))->shortcut().toString());
        QCOMPARE(actual, shortcuts);
        delete window;
        QVERIFY(!CorvaleForms().WindowsMenus().IsRegistered(window));
    }
};

QTEST_MAIN(tst_ReplayWindow)
#include "tst_ReplayWindow.moc"
