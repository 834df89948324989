// Times the filling of the activity list: the found activities are held by
// the activities collection, the list grid shows all 57 catalogue columns and
// the hidden full-catalogue grid is filled in step, as the main window does
// after a search. About half the activities are time-and-distance sessions
// with eight lap marks; strength workouts follow a program and four
// exercise columns are assigned. Prints one table row per list size.
//
//   bench_columns [sizes...]      (default 1000 10000 20000)

#include "BenchProcess.h"

#include "columns/ExerciseColumnSettings.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <memory>

namespace
{
// The codes in the proportions of the benchmark: every other activity a
// time-and-distance session.
const char *codeOf(int i)
{
    static const char *const others[] = {"WOR", "FLO", "GOL", "TEN", "TRE", "OTH", "CAM", "BLO"};
    if (i % 2 == 0)
        return i % 4 == 0 ? "RUN" : "BIK";
    return others[(i / 2) % 8];
}

std::unique_ptr<TActivity> makeActivity(int i, TExercisePrograms &programs)
{
    std::unique_ptr<TActivity> activity = ActivityClassOfCode(QString::fromLatin1(codeOf(i)))->Create();
    activity->SetSessionNr(i + 1);
    const QDate date = QDate(2000, 1, 1).addDays(i / 3);
    activity->SetSessionData(date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("Plats %1").arg(i % 40),
                             QStringLiteral("Kommentar %1").arg(i % 7), QStringLiteral("7%1.5").arg(i % 10));
    activity->SetPulse(QStringLiteral("50"), QStringLiteral("140"), QStringLiteral("175"));
    activity->SetCalorie(QString::number(400 + i % 300));
    activity->SetTemperature(QString::number(i % 25));
    if (auto *td = dynamic_cast<TTimeDistanceActivity *>(activity.get())) {
        td->SetDistance(QStringLiteral("10"));
        td->SetDuration(QStringLiteral("%1.%2").arg(45 + i % 10).arg(i % 60, 2, 10, QLatin1Char('0')));
        td->SetCourseNr(QString());
        QStringList times, distances;
        for (int lap = 1; lap <= 8; ++lap) {
            distances << QString::number(lap);
            times << QStringLiteral("%1.%2").arg(lap * 5).arg((i + lap) % 60, 2, 10, QLatin1Char('0'));
        }
        td->SetLaps(&times, &distances);
    } else if (auto *game = dynamic_cast<TGame *>(activity.get())) {
        game->SetDuration(QStringLiteral("60"));
        game->SetGame(QString::number(i % 5), QStringLiteral("3-2"));
    } else if (auto *timed = dynamic_cast<TTimeActivity *>(activity.get())) {
        timed->SetDuration(QStringLiteral("45.00"));
    } else if (auto *distance = dynamic_cast<TDistanceActivity *>(activity.get())) {
        distance->SetDistance(QStringLiteral("12"));
    } else if (auto *other = dynamic_cast<TOther *>(activity.get())) {
        other->SetOtherActivity(QStringLiteral("Yoga"));
    } else if (auto *golf = dynamic_cast<TGolf *>(activity.get())) {
        golf->SetRound(QStringLiteral("72"), QStringLiteral("90"), false, TGolfHoles(), QStringLiteral("30"), QStringLiteral("2"),
                       QStringLiteral("34"), QStringLiteral("120"), QStringLiteral("71.5"), QStringLiteral("18.2"),
                       QStringLiteral("18.4"));
    } else if (auto *workout = dynamic_cast<TWorkout *>(activity.get())) {
        TWorkoutExercises exercises;
        for (std::size_t k = 0; k < exercises.size(); ++k)
            exercises[k] = TWorkoutExercise{QString(), QStringLiteral("3x10"), QString::number(20 + int(k) * 5)};
        workout->SetExercisePrograms(&programs);
        workout->SetExercises(exercises);
        workout->SetProgram(QStringLiteral("1"));
    } else if (auto *measure = dynamic_cast<TCardioMeasure *>(activity.get())) {
        measure->SetMeasure(QStringLiteral("52.5"));
    }
    return activity;
}

struct TTimes
{
    double layoutMs = 0.0;
    double textsMs = 0.0; // the cell texts of one grid's rows, without a grid
    double fillMs = 0.0;  // both grids filled
};

TTimes run(int size)
{
    TActivityNames names;
    TExercises exercises;
    TExercisePrograms programs;
    exercises.SetExercisePrograms(&programs);
    programs.SetExercises(&exercises);
    for (int n = 1; n <= 8; ++n)
        exercises.AddExercise(QStringLiteral("Övning nummer %1").arg(n));
    const qint32 program = programs.AddProgram(QStringLiteral("Styrka"), QString());
    TProgramExercises slotTexts;
    for (int n = 0; n < 8; ++n)
        slotTexts[std::size_t(n)] = QString::number(8 - n);
    programs.SetProgramExercises(program, slotTexts);
    TExerciseColumnSettings settings;
    settings.SetExercises(&exercises);
    QList<qint32> assigned(ExerciseColumnCount, -1);
    assigned[0] = 1;
    assigned[2] = 3;
    assigned[6] = 5;
    assigned[9] = 8;
    settings.SetList(&assigned);

    TActivities activities;
    activities.SetActivityNames(&names);
    activities.SetExercisePrograms(&programs);
    QList<int> numbers;
    for (int i = 0; i < size; ++i) {
        std::unique_ptr<TActivity> activity = makeActivity(i, programs);
        numbers.append(activity->GetSessionNr());
        activities.Adopt(activity);
    }

    TActivityColumns catalogue;
    TGridActivityColumns columns;
    TComplexGrid list;
    TComplexGrid all;
    list.SetFixedCols(0);
    all.SetFixedCols(0);
    columns.SetCatalogue(&catalogue);
    columns.SetExercises(&exercises);
    columns.SetExercisePrograms(&programs);
    columns.SetExerciseColumnSettings(&settings);
    columns.SetActivities(&activities);
    columns.SetGrid(&list);

    QElapsedTimer timer;
    timer.start();
    columns.BuildCatalogue();
    const QList<TActivityColumn> entries = catalogue.Entries();
    for (TActivityColumn entry : entries) {
        entry.Visible = true;
        catalogue.Update(entry);
    }
    columns.UpdateExerciseCaptions();
    columns.FillAllCaptions(&all);
    TTimes times;
    times.layoutMs = double(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    const QList<TColumnKind> kinds = columns.GridKinds(&list);
    QStringList texts;
    for (int i = 0; i < size; ++i)
        columns.CellTexts().RowTexts(*activities.Find(numbers.at(i)), kinds, texts);
    times.textsMs = double(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    list.BeginUpdate();
    all.BeginUpdate();
    list.SetRowCount(size + 1);
    all.SetRowCount(size + 1);
    for (int i = 0; i < size; ++i) {
        columns.FillActivityRow(&list, i + 1, numbers.at(i));
        columns.FillActivityRow(&all, i + 1, numbers.at(i));
    }
    all.EndUpdate();
    list.EndUpdate();
    times.fillMs = double(timer.nsecsElapsed()) / 1e6;
    return times;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {1000, 10000, 20000};

    std::printf("%8s %10s %10s %14s %14s %10s\n", "rows", "layout ms", "texts ms", "fill both ms", "per row us", "RSS MB");
    for (int size : sizes) {
        const TTimes times = run(size);
        std::printf("%8d %10.1f %10.1f %14.1f %14.2f %10.1f\n", size, times.layoutMs, times.textsMs, times.fillMs,
                    times.fillMs * 1000.0 / size, Bench::ResidentMb());
    }
    return 0;
}
