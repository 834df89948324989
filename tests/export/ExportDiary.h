#pragma once

// The fixture of the export tests: a real diary opened by the application
// object, holding the activities a test adds through the same setters the
// entry page uses, and the search that lists them as the main window does.

#include "reference/AppDiary.h"

#include "model/Activities.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QFile>

class TExportDiary : public TAppDiary
{
public:
    // A new entry of the code with the session values every entry has.
    template <class T = TActivity>
    T &New(const char *code, const QString &date, const QString &place = QStringLiteral("Hemma"),
           const QString &comment = QString(), int *number = nullptr)
    {
        const int nr = App().NewActivity(Name(code));
        if (number)
            *number = nr;
        TActivity &a = *App().FindActivity(nr);
        a.SetSessionData(date, place, comment, QStringLiteral("72.5"));
        a.SetPulse(QStringLiteral("48"), QStringLiteral("130"), QStringLiteral("171"));
        a.SetCalorie(QStringLiteral("450"));
        a.SetWeather(QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4.5"));
        a.SetTemperature(QStringLiteral("12.5"));
        a.SetSleep(QStringLiteral("1"), QStringLiteral("7.5"));
        a.SetComment(QString());
        m_last = nr;
        return static_cast<T &>(a);
    }

    void Save() { App().SaveActivity(m_last); }

    int AddPulse(int low, int high)
    {
        const qint32 id = App().GetPulses().AddPulse(low, high);
        App().GetPulses().ApplyPulses();
        return id;
    }

    // A program of the named exercises, slot after slot; returns its id.
    qint32 AddProgram(const QString &name, const QStringList &exercises)
    {
        TProgramExercises held;
        for (int i = 0; i < exercises.size(); ++i) {
            qint32 id = -1;
            try {
                id = App().GetExercises().ExerciseIdOfName(exercises.at(i));
            } catch (const EException &) {
                id = App().GetExercises().AddExercise(exercises.at(i));
            }
            held[std::size_t(i)] = QString::number(id);
        }
        App().SaveExercises();
        const qint32 program = App().GetExercisePrograms().AddProgram(name, QString());
        App().GetExercisePrograms().SetProgramExercises(program, held);
        App().SaveExercisePrograms();
        return program;
    }

    void Run(const QString &date, const QString &place, const QStringList &lapDistances = {}, const QStringList &lapTimes = {},
             const QList<qint32> &pulseIds = {}, const QList<qint32> &pulseValues = {})
    {
        auto &run = New<TTimeDistanceActivity>("RUN", date, place);
        run.SetDuration(QStringLiteral("50.30"));
        run.SetDistance(QStringLiteral("10"));
        run.SetCourseNr(QString());
        run.SetLaps(&lapTimes, &lapDistances);
        run.SetPulseIntervals(&pulseIds, &pulseValues);
        run.SetComment(QStringLiteral("Lätt löpning"));
        Save();
    }

    // A workout without a program: the free held and extra exercises as
    // given (index 0..18).
    void Workout(const QString &date, const QMap<int, TWorkoutExercise> &held, const QString &program = QString())
    {
        auto &workout = New<TWorkout>("WOR", date);
        TWorkoutExercises exercises;
        for (auto &slot : exercises)
            slot = TWorkoutExercise{QString(), QString(), QString()};
        for (auto it = held.cbegin(); it != held.cend(); ++it)
            exercises[std::size_t(it.key())] = it.value();
        workout.SetExercises(exercises);
        workout.SetProgram(program);
        Save();
    }

    // One entry of every activity type, with texts that need care: å ä ö,
    // the separators, "<", ">" and "&", and line breaks in comments.
    void AddEveryType()
    {
        const qint32 pulse = AddPulse(60, 140);
        const qint32 program = AddProgram(QStringLiteral("Överkropp <A>"), {QStringLiteral("Bänkpress"), QStringLiteral("Rodd")});

        Run(QStringLiteral("2024-03-01"), QStringLiteral("Skog;park, <Å>"), {QStringLiteral("2.5"), QStringLiteral("5")},
            {QStringLiteral("12.10"), QStringLiteral("25.00")}, {pulse}, {80});

        auto &ski = New<TTimeDistanceActivity>("SKI", QStringLiteral("2024-03-02"), QStringLiteral("Fjället"),
                                               QStringLiteral("Kallt\r\nmen fint"));
        ski.SetDuration(QStringLiteral("95.00"));
        ski.SetDistance(QStringLiteral("21.5"));
        ski.SetCourseNr(QString());
        const QStringList none;
        ski.SetLaps(&none, &none);
        ski.SetComment(QStringLiteral("Spår: dåliga & isiga"));
        Save();

        auto &tennis = New<TTimeActivity>("TEN", QStringLiteral("2024-03-03"), QStringLiteral("Hallen"));
        tennis.SetDuration(QStringLiteral("60.00"));
        tennis.SetComment(QStringLiteral("Default-passet"));
        Save();

        auto &floorball = New<TGame>("FLO", QStringLiteral("2024-03-04"), QStringLiteral("Arena\t1"));
        floorball.SetDuration(QStringLiteral("60"));
        floorball.SetGame(QStringLiteral("3"), QStringLiteral("IBK <Ö> - AIK: 5-3"));
        Save();

        auto &trek = New<TDistanceActivity>("TRE", QStringLiteral("2024-03-05"), QStringLiteral("Kungsleden"));
        trek.SetDistance(QStringLiteral("18.5"));
        Save();

        auto &other = New<TOther>("OTH", QStringLiteral("2024-03-06"), QStringLiteral("Gympasalen"));
        other.SetOtherActivity(QStringLiteral("Yoga, \"lugn\" & <stretch>"));
        Save();

        auto &golf = New<TGolf>("GOL", QStringLiteral("2024-03-07"), QStringLiteral("Bro Hof"));
        TGolfHoles holes;
        for (int i = 0; i < GolfHoleCount; ++i)
            holes[std::size_t(i)] = TGolfHole{QString::number(3 + i % 3), QString::number(300 + i), QString::number(i + 1),
                                              QString::number(4 + i % 3), QStringLiteral("2"), QStringLiteral("2")};
        golf.SetRound(QStringLiteral("72"), QStringLiteral("90"), true, holes, QStringLiteral("34"), QStringLiteral("3"),
                      QStringLiteral("36"), QStringLiteral("130"), QStringLiteral("71.5"), QStringLiteral("17.9"),
                      QStringLiteral("18.2"));
        Save();

        Workout(QStringLiteral("2024-03-08"),
                {{0, {QString(), QStringLiteral("3x10"), QStringLiteral("80")}},
                 {16, {QStringLiteral("Chins;<brett>"), QStringLiteral("3x8"), QString()}}},
                QString::number(program));
        Workout(QStringLiteral("2024-03-09"), {{2, {QString(), QStringLiteral("3x12"), QStringLiteral("20")}},
                                               {15, {QStringLiteral("Dips & co"), QStringLiteral("2x15"), QStringLiteral("10")}}});

        auto &measure = New<TCardioMeasure>("CAM", QStringLiteral("2024-03-10"), QStringLiteral("Vårdcentralen"));
        measure.SetMeasure(QStringLiteral("52"));
        measure.SetBodyMeasures(QStringLiteral("38"), QStringLiteral("120"), QStringLiteral("39"), QStringLiteral("58"),
                                QStringLiteral("100"), QStringLiteral("85"), QStringLiteral("29"), QStringLiteral("34"),
                                QStringLiteral("104"));
        Save();

        New("DOW", QStringLiteral("2024-03-11"), QStringLiteral("Åre"), QStringLiteral("Pudersnö"));
        Save();
        New("BLO", QStringLiteral("2024-03-12"), QStringLiteral("Badrummet"));
        Save();
    }

    // Lists every activity of the diary, as a search with no conditions.
    QList<int> SearchAll()
    {
        QStringList names;
        App().GetActivityNames(&names);
        QList<int> numbers;
        App().SearchActivities(names, TSearchParams(), numbers);
        return numbers;
    }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

private:
    int m_last = -1;
};
