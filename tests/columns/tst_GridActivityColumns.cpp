// The column catalogue on real grids: laying out the list, the captions of
// the exercise columns, column widths, and the rows filled for activities
// of every family, in memory and as found in a real diary.

#include "TestDiary.h"

#include "columns/ExerciseColumnSettings.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "model/ActFactory.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QHeaderView>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
// The message of the program error the call raised, or "none".
QString raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EException &e) {
        return e.Message();
    }
    return QStringLiteral("none");
}

// Program slot k (1..15) holds k*10 + 0.5 kg, free slot j (1..4) j*5 kg.
TWorkoutExercises fullSlots()
{
    TWorkoutExercises values;
    for (int k = 1; k <= WorkoutProgramSlots; ++k)
        values[std::size_t(k - 1)] = TWorkoutExercise{QStringLiteral("Övning %1").arg(k), QStringLiteral("3x10"),
                                                      QStringLiteral("%1.5").arg(k * 10)};
    for (int j = 1; j <= WorkoutFreeSlots; ++j)
        values[std::size_t(WorkoutProgramSlots + j - 1)] =
            TWorkoutExercise{QStringLiteral("Fri %1").arg(j), QStringLiteral("2x20"), QString::number(j * 5)};
    return values;
}

TProgramExercises programOf(const QList<int> &exerciseIds)
{
    TProgramExercises slotTexts;
    for (int i = 0; i < exerciseIds.size(); ++i)
        slotTexts[std::size_t(i)] = QString::number(exerciseIds.at(i));
    return slotTexts;
}

// The catalogue, the registers and the two grids of the main window: the
// list and the hidden grid with every column. Exercises 1 to 7 are
// "Bänkpress", "Knäböj", "Marklyft", "Rodd", "Axelpress", "Situps" and
// "Övning3"; program 1 "Styrka" holds 2, 4, 1, 5, 3 and program 2 "Bas"
// holds 7, 1, 2.
struct TColumnsFixture
{
    TActivityNames names;
    TActivityColumns catalogue;
    TExercises exercises;
    TExercisePrograms programs;
    TExerciseColumnSettings settings;
    TGridActivityColumns columns;
    TComplexGrid list;
    TComplexGrid all;

    explicit TColumnsFixture(TDbConnection *db = nullptr)
    {
        if (db) {
            exercises.SetDatabase(db);
            programs.SetDatabase(db);
            settings.SetDatabase(db);
        }
        exercises.SetExercisePrograms(&programs);
        programs.SetExercises(&exercises);
        for (const char *name : {"Bänkpress", "Knäböj", "Marklyft", "Rodd", "Axelpress", "Situps", "Övning3"})
            exercises.AddExercise(QString::fromUtf8(name));
        const qint32 strength = programs.AddProgram(QStringLiteral("Styrka"), QString());
        programs.SetProgramExercises(strength, programOf({2, 4, 1, 5, 3}));
        const qint32 basic = programs.AddProgram(QStringLiteral("Bas"), QString());
        programs.SetProgramExercises(basic, programOf({7, 1, 2}));
        if (db) {
            exercises.ApplyExercises();
            programs.ApplyPrograms();
        }
        settings.SetExercises(&exercises);

        // Neither grid of the main window has a fixed column.
        list.SetFixedCols(0);
        all.SetFixedCols(0);
        columns.SetCatalogue(&catalogue);
        columns.SetExercises(&exercises);
        columns.SetExercisePrograms(&programs);
        columns.SetExerciseColumnSettings(&settings);
        columns.SetGrid(&list);
        columns.BuildCatalogue();
        columns.FillAllCaptions(&all);
    }

    // Exercise column n shows exercise id, for each pair (n, id).
    void assign(const QList<QPair<int, qint32>> &pairs)
    {
        QList<qint32> slotIds(ExerciseColumnCount, -1);
        for (const auto &[n, id] : pairs)
            slotIds[n - 1] = id;
        settings.SetList(&slotIds);
        columns.UpdateExerciseCaptions();
    }

    // Only the kinds given are visible; then the list is laid out.
    void show(const TColumnKindSet &kinds)
    {
        const QList<TActivityColumn> entries = catalogue.Entries();
        for (const TActivityColumn &entry : entries) {
            TActivityColumn changed = entry;
            changed.Visible = kinds.Contains(entry.Kind);
            catalogue.Update(changed);
        }
        columns.ApplyToGrid();
    }

    // The session values every test activity gets.
    void fillSession(TActivity &activity, int sessionNr)
    {
        activity.SetActivityNames(&names);
        activity.SetSessionNr(sessionNr);
        activity.SetSessionData(QStringLiteral("2024-05-17"), QStringLiteral("Slottsskogen"), QStringLiteral("Lätt pass"),
                                QStringLiteral("72.46"));
        activity.SetPulse(QStringLiteral("48"), QStringLiteral("142"), QStringLiteral("171"));
        activity.SetCalorie(QStringLiteral("650"));
        activity.SetTemperature(QStringLiteral("12.5"));
        activity.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        activity.SetSleep(QStringLiteral("-1"), QString());
        activity.SetComment(QString());
    }

    // A full-catalogue row as "Name=text" for every cell that is not empty.
    QStringList filledCells(int row) const
    {
        QStringList cells;
        for (int c = 0; c < all.ColCount(); ++c) {
            if (!all.Cells(c, row).isEmpty())
                cells << catalogue.At(c).Name + QLatin1Char('=') + all.Cells(c, row);
        }
        return cells;
    }
};

// An activity of the code with the values the family tests expect.
std::unique_ptr<TActivity> makeActivity(const QString &code, TColumnsFixture &f)
{
    std::unique_ptr<TActivity> activity = ActivityClassOfCode(code.left(3))->Create();
    f.fillSession(*activity, 41);
    if (auto *td = dynamic_cast<TTimeDistanceActivity *>(activity.get())) {
        td->SetDuration(QStringLiteral("45.30"));
        td->SetDistance(QStringLiteral("10"));
        td->SetCourseNr(QString());
        const QStringList times{QStringLiteral("9.00"), QStringLiteral("20.00"), QStringLiteral("33.00")};
        const QStringList distances{QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6")};
        td->SetLaps(&times, &distances);
    } else if (auto *game = dynamic_cast<TGame *>(activity.get())) {
        game->SetDuration(QStringLiteral("60"));
        game->SetGame(QStringLiteral("3"), QStringLiteral("IFK - AIK 3-2"));
    } else if (auto *timed = dynamic_cast<TTimeActivity *>(activity.get())) {
        timed->SetDuration(QStringLiteral("60.00"));
    } else if (auto *distance = dynamic_cast<TDistanceActivity *>(activity.get())) {
        distance->SetDistance(QStringLiteral("12.5"));
    } else if (auto *other = dynamic_cast<TOther *>(activity.get())) {
        other->SetOtherActivity(QStringLiteral("Yoga"));
    } else if (auto *golf = dynamic_cast<TGolf *>(activity.get())) {
        golf->SetRound(QStringLiteral("72"), QStringLiteral("90"), false, TGolfHoles(), QStringLiteral("30"), QStringLiteral("2"),
                       QStringLiteral("34"), QStringLiteral("120"), QStringLiteral("71.5"), QStringLiteral("18.2"),
                       QStringLiteral("18.4"));
    } else if (auto *workout = dynamic_cast<TWorkout *>(activity.get())) {
        workout->SetExercisePrograms(&f.programs);
        workout->SetExercises(fullSlots());
        if (code == QLatin1String("WOR"))
            workout->SetProgram(QStringLiteral("1"));
    } else if (auto *measure = dynamic_cast<TCardioMeasure *>(activity.get())) {
        measure->SetMeasure(QStringLiteral("52.46"));
    }
    return activity;
}

// A diary with the built-in names registered and a collection wired to it.
struct TDiaryFixture
{
    TTestDiary diary;
    TPulses pulses;
    TActivityFactory factory;
    TActivities activities;
    TColumnsFixture f{&diary.Connection()};

    TDiaryFixture()
    {
        f.names.SetDatabase(&diary.Connection());
        f.names.Open();
        QStringList codes;
        f.names.GetCodes(&codes);
        for (const QString &code : codes)
            factory.Register(f.names.NameOfCode(code), ActivityClassOfCode(code));
        pulses.SetDatabase(&diary.Connection());
        activities.SetActivityNames(&f.names);
        activities.SetFactory(&factory);
        activities.SetPulses(&pulses);
        activities.SetExercisePrograms(&f.programs);
        activities.SetDatabase(&diary.Connection());
        f.columns.SetActivities(&activities);
    }

    QString name(const char *code) const { return f.names.NameOfCode(QString::fromLatin1(code)); }

    TActivity &add(const char *code)
    {
        const int nr = activities.NewActivity(name(code));
        TActivity &activity = *activities.Find(nr);
        f.fillSession(activity, nr);
        return activity;
    }
};
} // namespace

class tst_GridActivityColumns : public QObject
{
    Q_OBJECT

private slots:
    void missingParts()
    {
        TGridActivityColumns columns;
        TComplexGrid grid;
        QCOMPARE(raised([&] { columns.BuildCatalogue(); }), QStringLiteral("GridActivityColumns 01"));
        QCOMPARE(raised([&] { columns.ApplyToGrid(); }), QStringLiteral("GridActivityColumns 02"));
        QCOMPARE(raised([&] { columns.ReadWidthsFromGrid(); }), QStringLiteral("GridActivityColumns 04"));
        QCOMPARE(raised([&] { columns.UpdateExerciseCaptions(); }), QStringLiteral("GridActivityColumns 06"));
        QCOMPARE(raised([&] { columns.FillAllCaptions(&grid); }), QStringLiteral("GridActivityColumns 09"));
        QCOMPARE(raised([&] { columns.FillActivityRow(&grid, 1, 1); }), QStringLiteral("GridActivityColumns 10"));
        QCOMPARE(raised([&] { columns.FillActivityRow(nullptr, 1, 1); }), QStringLiteral("GridActivityColumns 11"));
        columns.SetGrid(&grid);
        QCOMPARE(raised([&] { columns.ApplyToGrid(); }), QStringLiteral("GridActivityColumns 03"));
        QCOMPARE(raised([&] { columns.ReadWidthsFromGrid(); }), QStringLiteral("GridActivityColumns 05"));
        TActivityColumns catalogue;
        columns.SetCatalogue(&catalogue);
        QCOMPARE(raised([&] { columns.UpdateExerciseCaptions(); }), QStringLiteral("GridActivityColumns 07"));
        TExercises exercises;
        columns.SetExercises(&exercises);
        QCOMPARE(raised([&] { columns.UpdateExerciseCaptions(); }), QStringLiteral("GridActivityColumns 08"));
    }

    void applyToGridShowsVisibleColumnsInCatalogueOrder()
    {
        TColumnsFixture f;
        TActivityColumn distance = f.catalogue.FindByKind(TColumnKind::cDistance);
        distance.Width = 61;
        f.catalogue.Update(distance);
        f.list.SetRowCount(3);
        f.show({TColumnKind::cId, TColumnKind::cSpeed, TColumnKind::cDate, TColumnKind::cDistance, TColumnKind::cPlace});

        QCOMPARE(f.list.ColCount(), 5);
        const QStringList captions{"Datum", "Plats", "Distans\r (km)", "Hastighet\r (km/tim)", ""};
        const QList<TSortStyle> styles{TSortStyle::Date, TSortStyle::Alphabetic, TSortStyle::Numeric, TSortStyle::Numeric,
                                       TSortStyle::Numeric};
        const QList<TColAlignment> alignments{TColAlignment::Left, TColAlignment::Left, TColAlignment::Right, TColAlignment::Right,
                                              TColAlignment::Right};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(f.list.Cells(c, 0), captions.at(c));
            QCOMPARE(f.list.GetColSortStyle(c), styles.at(c));
            QCOMPARE(f.list.GetColAlignment(c), alignments.at(c));
            // Directions reset: the first title click sorts ascending.
            QVERIFY(f.list.GetColDirection(c));
        }
        QCOMPARE(f.list.ColWidths(2), 61);
        QCOMPARE(f.list.ColWidths(0), 25);
        // The Id column is always the last.
        QCOMPARE(f.columns.ColumnOfKind(&f.list, TColumnKind::cId), 4);
        QCOMPARE(f.columns.ColumnOfKind(&f.list, TColumnKind::cAct), -1);
    }

    // A list sorted by three keys and then laid out with other columns
    // forgets that sort: the old keys would name other columns, or columns
    // beyond the new count ("Can't sort on second column."). The rows keep
    // their order, and the next title click sorts by its column alone.
    void anotherLayoutForgetsTheLastSort_data()
    {
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<int>("clicked");
        // Date, Place, Id: the old keys 3 and 4 are beyond the columns.
        QTest::newRow("fewer columns") << QList<int>{int(TColumnKind::cDate), int(TColumnKind::cPlace), int(TColumnKind::cId)} << 1;
        // Date, Activity, Place, Distance, Duration, Speed, Id: the old keys
        // now stand for Place and Distance.
        QTest::newRow("more columns") << QList<int>{int(TColumnKind::cDate), int(TColumnKind::cAct), int(TColumnKind::cPlace),
                                                    int(TColumnKind::cDistance), int(TColumnKind::cTime),
                                                    int(TColumnKind::cSpeed), int(TColumnKind::cId)}
                                      << 2;
    }
    void anotherLayoutForgetsTheLastSort()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(int, clicked);
        TColumnsFixture f;
        f.show({TColumnKind::cDate, TColumnKind::cPlace, TColumnKind::cDistance, TColumnKind::cSpeed, TColumnKind::cId});
        const QList<QStringList> rows{{"2024-01-03", "Stan", "5.00", "10.00", "1"},
                                      {"2024-01-01", "Skogen", "10.00", "12.00", "2"},
                                      {"2024-01-02", "Stan", "10.00", "11.00", "3"},
                                      {"2024-01-04", "Hallen", "5.00", "9.00", "4"}};
        f.list.SetRowCount(1 + int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < 5; ++c)
                f.list.SetCells(c, r + 1, rows.at(r).at(c));
        }
        TSortRecord record;
        record.Cols = {4, 3, 2};
        record.Styles = {TSortStyle::Numeric, TSortStyle::Numeric, TSortStyle::Numeric};
        f.list.Sort(record);
        QCOMPARE(f.list.LastSort(), record);
        QStringList dates;
        for (int r = 1; r < f.list.RowCount(); ++r)
            dates.append(f.list.Cells(0, r));

        TColumnKindSet shown;
        for (const int kind : kinds)
            shown.Include(TColumnKind(kind));
        f.show(shown);
        QCOMPARE(f.list.ColCount(), int(kinds.size()));
        QCOMPARE(f.list.LastSort(), TSortRecord());
        QStringList after;
        for (int r = 1; r < f.list.RowCount(); ++r)
            after.append(f.list.Cells(0, r));
        QCOMPARE(after, dates);

        // A real title click on the shown list.
        f.list.resize(900, 300);
        f.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QHeaderView *header = f.list.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(clicked) + header->sectionSize(clicked) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(f.list.LastSort().Cols, (std::array<int, 3>{clicked, -1, -1}));
        QCOMPARE(f.list.LastSort().Directions[0], TSortDirection::Ascending);
    }

    void fillAllCaptionsGivesEveryColumn()
    {
        TColumnsFixture f;
        QCOMPARE(f.all.ColCount(), ColumnKindCount);
        for (int c = 0; c < ColumnKindCount; ++c)
            QCOMPARE(f.all.Cells(c, 0), f.catalogue.At(c).Caption);
        QCOMPARE(f.columns.ColumnOfKind(&f.all, TColumnKind::cId), ColumnKindCount - 1);
    }

    void rowsOfEveryFamily_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("typeCells");
        QTest::newRow("running") << "RUN"
                                 << QStringList{"Distance=10",       "Duration=45.30",    "KmTime=4.33",       "Speed=13.19",
                                                "LapTime1=9.00",     "LapTime2=20.00",    "LapTime3=33.00",    "KmLapTime1=4.30",
                                                "KmLapTime2=5.00",   "KmLapTime3=5.30",   "LapAverage1=13.33", "LapAverage2=12.00",
                                                "LapAverage3=10.91"};
        QTest::newRow("tennis") << "TEN" << QStringList{"Duration=60.00"};
        QTest::newRow("floorball") << "FLO" << QStringList{"Duration=60", "Performance=Bra", "Game=IFK - AIK 3-2"};
        QTest::newRow("trekking") << "TRE" << QStringList{"Distance=12.5"};
        QTest::newRow("other") << "OTH" << QStringList{"Other=Yoga"};
        QTest::newRow("golf") << "GOL" << QStringList{"Par=72", "Stroke=90", "Score=30", "HCP=18.4", "NewHCP=18.2"};
        // Columns 1, 3 and 5 show exercises 1, 3 and 6; "Styrka" holds 2, 4,
        // 1, 5, 3, so exercise 1 is its third entry and exercise 3 its
        // fifth, while exercise 6 is not in it. Unassigned columns show the
        // entry of their number; the program has cleared entries 6 to 15,
        // column 16 shows the first free exercise and 17 to 20 nothing.
        QTest::newRow("strength workout") << "WOR"
                                          << QStringList{"ExerciseProgram=Styrka", "Exercise1=30.5", "Exercise2=20.5",
                                                         "Exercise3=50.5", "Exercise4=40.5", "Exercise16=5.0"};
        QStringList noProgram{"Exercise2=20.5", "Exercise4=40.5"};
        for (int n = 6; n <= 15; ++n)
            noProgram << QStringLiteral("Exercise%1=%2.5").arg(n).arg(n * 10);
        noProgram << QStringLiteral("Exercise16=5.0");
        QTest::newRow("strength workout without program") << "WOR-" << noProgram;
        QTest::newRow("body measurement") << "CAM" << QStringList{"CardioMeasure=52.5"};
        QTest::newRow("weighing") << "BLO" << QStringList{};
    }

    void rowsOfEveryFamily()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, typeCells);
        TColumnsFixture f;
        f.assign({{1, 1}, {3, 3}, {5, 6}});
        f.show(TColumnKindSet::All());
        f.list.SetRowCount(3);
        f.all.SetRowCount(3);
        const std::unique_ptr<TActivity> activity = makeActivity(code, f);

        f.columns.FillActivityRow(&f.all, 2, *activity);
        QStringList expected{"Date=2024-05-17",
                             "Activity=" + TActivityNames::DefaultNameOfCode(code.left(3)),
                             "Place=Slottsskogen",
                             "Temp=12.5",
                             "Weight=72.5",
                             "Calorie=650",
                             "RestPulse=48",
                             "MaxPulse=171",
                             "AveragePulse=142",
                             "Comment=Lätt pass",
                             "Id=41"};
        expected += typeCells;
        QStringList got = f.filledCells(2);
        expected.sort();
        got.sort();
        QCOMPARE(got, expected);
        QVERIFY(f.filledCells(1).isEmpty());

        // The list, laid out with every column, holds the same row.
        f.columns.FillActivityRow(&f.list, 1, *activity);
        for (int c = 0; c < ColumnKindCount; ++c)
            QCOMPARE(f.list.Cells(c, 1), f.all.Cells(c, 2));
    }

    void performanceTexts_data()
    {
        QTest::addColumn<int>("performance");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << -1 << "";
        QTest::newRow("0") << 0 << "Mycket dåligt";
        QTest::newRow("1") << 1 << "Dåligt";
        QTest::newRow("2") << 2 << "Medel";
        QTest::newRow("3") << 3 << "Bra";
        QTest::newRow("4") << 4 << "Mycket bra";
        QTest::newRow("beyond") << 5 << "";
    }

    void performanceTexts()
    {
        QFETCH(int, performance);
        QFETCH(QString, text);
        TFloorball game;
        game.SetGame(QString::number(qMin(performance, 4)), QStringLiteral("x"));
        const TActivityCellTexts cells;
        if (performance <= 4)
            QCOMPARE(cells.CellText(TColumnKind::cPerf, game), text);
        QCOMPARE(TActivityCellTexts::PerformanceText(performance), text);
    }

    void valueThatCannotBeComputedLeavesOnlyItsCellsEmpty()
    {
        TColumnsFixture f;
        f.all.SetRowCount(2);
        TRunning run;
        f.fillSession(run, 7);
        run.SetDuration(QStringLiteral("45.30"));
        // The distance is kept as typed: a comma makes it no number.
        run.SetDistance(QStringLiteral("10,5"));
        f.columns.FillActivityRow(&f.all, 1, run);
        const QStringList cells = f.filledCells(1);
        QVERIFY(cells.contains(QStringLiteral("Distance=10,5")));
        QVERIFY(cells.contains(QStringLiteral("Duration=45.30")));
        QVERIFY(cells.contains(QStringLiteral("Id=7")));
        QVERIFY(!cells.join(QLatin1Char(' ')).contains(QStringLiteral("Speed=")));
        QVERIFY(!cells.join(QLatin1Char(' ')).contains(QStringLiteral("KmTime=")));
    }

    void workoutWhoseProgramIsUnknownShowsNoLoads()
    {
        TColumnsFixture f;
        f.assign({{1, 1}});
        f.all.SetRowCount(2);
        TExercisePrograms otherPrograms;
        const qint32 id = otherPrograms.AddProgram(QStringLiteral("Annat"), QString());
        otherPrograms.AddProgram(QStringLiteral("Annat 2"), QString());
        otherPrograms.AddProgram(QStringLiteral("Tredje"), QString());
        otherPrograms.SetProgramExercises(id + 2, programOf({1, 2, 3, 4, 5}));
        TWorkout workout;
        f.fillSession(workout, 9);
        workout.SetExercisePrograms(&otherPrograms);
        workout.SetExercises(fullSlots());
        workout.SetProgram(QString::number(id + 2)); // program 3: not in the registers of the list
        f.columns.FillActivityRow(&f.all, 1, workout);
        const QString cells = f.filledCells(1).join(QLatin1Char(' '));
        QVERIFY(!cells.contains(QStringLiteral("ExerciseProgram=")));
        QVERIFY(!cells.contains(QStringLiteral("Exercise1=")));
        QVERIFY(cells.contains(QStringLiteral("Exercise2=20.5")));
    }

    void exerciseCaptions()
    {
        TColumnsFixture f;
        f.show(TColumnKindSet::All());
        f.assign({{2, 3}, {20, 5}});
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(2)).Caption, QStringLiteral("Marklyft\r (kg)"));
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(2)).Heading, QStringLiteral("Marklyft"));
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(2)).Unit, QStringLiteral("kg"));
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(20)).Caption, QStringLiteral("Axelpress\r (kg)"));
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(1)).Caption, QStringLiteral("Övning1\r (kg)"));
        // The list is laid out again with the new captions.
        QCOMPARE(f.list.Cells(f.columns.ColumnOfKind(&f.list, ExerciseColumnKind(2)), 0), QStringLiteral("Marklyft\r (kg)"));

        // Unassigning gives the column its number back.
        f.assign({{20, 5}});
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(2)).Caption, QStringLiteral("Övning2\r (kg)"));
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(2)).Heading, QStringLiteral("Övning2"));
    }

    // An exercise named "Övning3" shown in column 5 gives columns 3 and 5
    // the same caption. Rows, widths and a new layout must still find each
    // column by what it is.
    void exerciseNamedLikeAnotherColumn()
    {
        TColumnsFixture f;
        f.show({TColumnKind::cDate, TColumnKind::cAct, ExerciseColumnKind(3), ExerciseColumnKind(5), TColumnKind::cId});
        f.assign({{5, 7}});
        QCOMPARE(f.list.Cells(2, 0), QStringLiteral("Övning3\r (kg)"));
        QCOMPARE(f.list.Cells(3, 0), QStringLiteral("Övning3\r (kg)"));
        f.columns.FillAllCaptions(&f.all);

        TWorkout workout;
        f.fillSession(workout, 12);
        workout.SetExercisePrograms(&f.programs);
        workout.SetExercises(fullSlots());
        workout.SetProgram(QStringLiteral("2")); // "Bas": 7, 1, 2
        f.list.SetRowCount(2);
        f.all.SetRowCount(2);
        f.columns.FillActivityRow(&f.list, 1, workout);
        f.columns.FillActivityRow(&f.all, 1, workout);
        // Column 3 is unassigned: the third entry. Column 5 shows exercise
        // 7, the program's first.
        QCOMPARE(f.list.Cells(2, 1), QStringLiteral("30.5"));
        QCOMPARE(f.list.Cells(3, 1), QStringLiteral("10.5"));
        QCOMPARE(f.list.Cells(4, 1), QStringLiteral("12"));
        QCOMPARE(f.all.Cells(Ordinal(ExerciseColumnKind(3)), 1), QStringLiteral("30.5"));
        QCOMPARE(f.all.Cells(Ordinal(ExerciseColumnKind(5)), 1), QStringLiteral("10.5"));

        // The widths go to their own entries.
        f.list.SetColWidths(2, 33);
        f.list.SetColWidths(3, 55);
        f.columns.ReadWidthsFromGrid();
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(3)).Width, 33);
        QCOMPARE(f.catalogue.FindByKind(ExerciseColumnKind(5)).Width, 55);

        // Another setting applied, and the rows filled again.
        f.show({TColumnKind::cDate, ExerciseColumnKind(5), ExerciseColumnKind(3), TColumnKind::cPlace, TColumnKind::cId});
        f.columns.FillActivityRow(&f.list, 1, workout);
        QCOMPARE(f.list.Cells(1, 1), QStringLiteral("Slottsskogen"));
        QCOMPARE(f.list.Cells(2, 1), QStringLiteral("30.5"));
        QCOMPARE(f.list.Cells(3, 1), QStringLiteral("10.5"));
        QCOMPARE(f.list.ColWidths(3), 55);
    }

    void gridLaidOutElsewhereIsReadByItsTitles()
    {
        TColumnsFixture f;
        TComplexGrid grid;
        grid.SetColCount(3);
        grid.SetRowCount(2);
        grid.SetCells(0, 0, QStringLiteral("Speed"));
        grid.SetCells(1, 0, QStringLiteral("Datum"));
        grid.SetCells(2, 0, QString());
        QCOMPARE(f.columns.GridKinds(&grid), (QList<TColumnKind>{TColumnKind::cSpeed, TColumnKind::cDate, TColumnKind::cId}));
        TRunning run;
        f.fillSession(run, 3);
        run.SetDuration(QStringLiteral("45.30"));
        run.SetDistance(QStringLiteral("10"));
        f.columns.FillActivityRow(&grid, 1, run);
        QCOMPARE(grid.Cells(0, 1), QStringLiteral("13.19"));
        QCOMPARE(grid.Cells(1, 1), QStringLiteral("2024-05-17"));
        QCOMPARE(grid.Cells(2, 1), QStringLiteral("3"));

        // A column more than laid out: the titles are read again.
        grid.SetColCount(4);
        grid.SetCells(3, 0, QStringLiteral("Tid\r (min)"));
        QCOMPARE(f.columns.ColumnOfKind(&grid, TColumnKind::cTime), 3);
        grid.SetCells(3, 0, QStringLiteral("Okänd"));
        grid.SetColCount(5);
        QCOMPARE(raised([&] { f.columns.GridKinds(&grid); }), QStringLiteral("ActivityColumns 05"));
    }

    void readWidthsFromGrid()
    {
        TColumnsFixture f;
        f.show({TColumnKind::cDate, TColumnKind::cPlace, TColumnKind::cComment, TColumnKind::cId});
        f.list.SetColWidths(0, 80);
        f.list.SetColWidths(1, 140);
        f.list.SetColWidths(3, 1);
        f.columns.ReadWidthsFromGrid();
        QCOMPARE(f.catalogue.FindByKind(TColumnKind::cDate).Width, 80);
        QCOMPARE(f.catalogue.FindByKind(TColumnKind::cPlace).Width, 140);
        QCOMPARE(f.catalogue.FindByKind(TColumnKind::cComment).Width, 25);
        QCOMPARE(f.catalogue.FindByKind(TColumnKind::cId).Width, 1);
        QCOMPARE(f.catalogue.FindByKind(TColumnKind::cAct).Width, 25);
    }

    // The road of an entry: a run of 45.30 over 10 km and a workout stored
    // in the diary, found by the search and filled into the list by their
    // session numbers.
    void foundSessionsFillTheListByKey()
    {
        TDiaryFixture d;
        TColumnsFixture &f = d.f;
        f.assign({{3, 3}, {17, 1}});
        f.show({TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cDistance, TColumnKind::cTime, TColumnKind::cDistTime,
                TColumnKind::cSpeed, TColumnKind::cLapTime2, TColumnKind::cExerciseProg, ExerciseColumnKind(3),
                ExerciseColumnKind(17), TColumnKind::cId});

        auto &run = static_cast<TTimeDistanceActivity &>(d.add("RUN"));
        run.SetDuration(QStringLiteral("45.30"));
        run.SetDistance(QStringLiteral("10"));
        run.SetCourseNr(QString());
        const QStringList times{QStringLiteral("22.10"), QStringLiteral("45.30")};
        const QStringList distances{QStringLiteral("5"), QStringLiteral("10")};
        run.SetLaps(&times, &distances);
        d.activities.Save(run.GetSessionNr());
        auto &workout = static_cast<TWorkout &>(d.add("WOR"));
        workout.SetExercises(fullSlots());
        workout.SetProgram(QStringLiteral("1"));
        d.activities.Save(workout.GetSessionNr());

        QList<int> numbers;
        d.activities.Search({d.name("RUN"), d.name("WOR")}, TSearchParams(), nullptr, numbers);
        QCOMPARE(numbers.size(), 2);
        f.list.SetRowCount(numbers.size() + 1);
        f.list.BeginUpdate();
        for (int i = 0; i < numbers.size(); ++i)
            f.columns.FillActivityRow(&f.list, i + 1, numbers.at(i));
        f.list.EndUpdate();

        const int idColumn = f.columns.ColumnOfKind(&f.list, TColumnKind::cId);
        QCOMPARE(idColumn, f.list.ColCount() - 1);
        const QStringList runRow{"2024-05-17", "Löpning", "10.00", "45.30", "4.33", "13.19", "45.30", "", "", "",
                                 QString::number(numbers.at(0))};
        const QStringList workoutRow{"2024-05-17", "Styrketräning", "", "", "", "", "", "Styrka", "50.5", "30.5",
                                     QString::number(numbers.at(1))};
        for (int c = 0; c < f.list.ColCount(); ++c) {
            QCOMPARE(f.list.Cells(c, 1), runRow.at(c));
            QCOMPARE(f.list.Cells(c, 2), workoutRow.at(c));
        }
        QCOMPARE(raised([&] { f.columns.FillActivityRow(&f.list, 1, 999); }), QStringLiteral("Activities 01"));

        // Both grids of the main list filled together give the same cells as
        // each filled alone.
        f.columns.FillAllCaptions(&f.all);
        f.all.SetRowCount(numbers.size() + 1);
        for (int i = 0; i < numbers.size(); ++i)
            f.columns.FillActivityRow(&f.all, i + 1, numbers.at(i));
        QList<QStringList> alone;
        for (int r = 1; r <= numbers.size(); ++r) {
            QStringList cells;
            for (int c = 0; c < f.all.ColCount(); ++c)
                cells << f.all.Cells(c, r);
            alone << cells;
        }
        f.list.ClearCells();
        f.all.ClearCells();
        f.columns.FillAllCaptions(&f.all);
        f.show({TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cDistance, TColumnKind::cTime, TColumnKind::cDistTime,
                TColumnKind::cSpeed, TColumnKind::cLapTime2, TColumnKind::cExerciseProg, ExerciseColumnKind(3),
                ExerciseColumnKind(17), TColumnKind::cId});
        for (int i = 0; i < numbers.size(); ++i)
            f.columns.FillActivityRows(&f.all, i + 1, &f.list, i + 1, numbers.at(i));
        for (int c = 0; c < f.list.ColCount(); ++c) {
            QCOMPARE(f.list.Cells(c, 1), runRow.at(c));
            QCOMPARE(f.list.Cells(c, 2), workoutRow.at(c));
        }
        for (int r = 1; r <= numbers.size(); ++r) {
            for (int c = 0; c < f.all.ColCount(); ++c)
                QCOMPARE(f.all.Cells(c, r), alone.at(r - 1).at(c));
        }
        QCOMPARE(raised([&] { f.columns.FillActivityRows(&f.all, 1, nullptr, 1, numbers.at(0)); }),
                 QStringLiteral("GridActivityColumns 11"));
    }

    void layoutIsForgottenWithItsGrid()
    {
        TColumnsFixture f;
        auto grid = std::make_unique<TComplexGrid>();
        f.columns.FillAllCaptions(grid.get());
        QCOMPARE(f.columns.GridKinds(grid.get()).size(), ColumnKindCount);
        grid.reset();
        // A new grid of as many columns, most likely at the same address,
        // is read by its own titles.
        auto fresh = std::make_unique<TComplexGrid>();
        fresh->SetColCount(ColumnKindCount);
        for (int c = 0; c < ColumnKindCount; ++c)
            fresh->SetCells(c, 0, QStringLiteral("Plats"));
        QCOMPARE(f.columns.GridKinds(fresh.get()), QList<TColumnKind>(ColumnKindCount, TColumnKind::cPlace));
    }
};

QTEST_MAIN(tst_GridActivityColumns)
#include "tst_GridActivityColumns.moc"
