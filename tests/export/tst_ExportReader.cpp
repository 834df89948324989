// An independent reader gets back what the diary holds: the application
// object exports a diary of every activity type (å ä ö, separators, "<" and
// "&" in its texts) as text and as HTML, and python3's csv module and
// html.parser read the files (read_export.py) and compare their cells with
// the values of the activities, loaded on their own.

#include "export/ExportDiary.h"

#include "reference/Pulses.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString title = QStringLiteral("Exporterat ifrån Ternvall 2.3.0");

// The cells an activity must show, by column title, as the diary holds
// them; a repeated title is "title#k" for its k-th column.
QJsonObject expectedCells(TCorvaleApp &app, const TActivity &activity)
{
    QJsonObject cells;
    cells.insert(QStringLiteral("Datum"), activity.GetDate());
    cells.insert(QStringLiteral("Aktivitet"), activity.GetActivityName());
    cells.insert(QStringLiteral("Plats"), activity.GetPlace());
    cells.insert(QStringLiteral("Kommentar"), activity.GetSessionComment());
    // A type without values of its own keeps no comment of its own.
    cells.insert(QStringLiteral("Kommentar#2"),
                 activity.Family() == TActivityFamily::Simple ? QString() : activity.GetComment());
    cells.insert(QStringLiteral("Vilopuls (puls)"), activity.GetRestPulse());
    cells.insert(QStringLiteral("Temperatur (º)"), activity.GetTemperature());
    if (auto *timed = dynamic_cast<const TTimeActivity *>(&activity))
        cells.insert(QStringLiteral("Tid (min)"), timed->GetDuration());
    if (auto *td = dynamic_cast<const TTimeDistanceActivity *>(&activity)) {
        cells.insert(QStringLiteral("Distans (km)"), td->GetDistance());
        QStringList times, distances;
        td->GetLaps(&times, &distances);
        for (int i = 0; i < times.size(); ++i) {
            cells.insert(QStringLiteral("Mellantid %1 (min)").arg(i + 1), times.at(i));
            cells.insert(QStringLiteral("Mellantidsdistans %1 (km)").arg(i + 1), distances.at(i));
        }
        QList<qint32> ids, values;
        td->GetPulseIntervals(ids, values);
        for (int i = 0; i < ids.size(); ++i)
            cells.insert(QStringLiteral("Pulsintervall %1 (puls)").arg(app.GetPulses().PulseText(ids.at(i))),
                         QString::number(values.at(i)));
    }
    if (auto *distance = dynamic_cast<const TDistanceActivity *>(&activity))
        cells.insert(QStringLiteral("Distans (km)"), distance->GetDistance());
    if (auto *game = dynamic_cast<const TGame *>(&activity))
        cells.insert(QStringLiteral("Match"), game->GetGame());
    if (auto *other = dynamic_cast<const TOther *>(&activity))
        cells.insert(QStringLiteral("Detaljerad aktivitet"), other->GetOtherActivity());
    if (auto *measure = dynamic_cast<const TCardioMeasure *>(&activity)) {
        cells.insert(QStringLiteral("Konditionsvärde"), measure->GetMeasure());
        cells.insert(QStringLiteral("Midja (cm)"), measure->GetWaist());
    }
    if (auto *golf = dynamic_cast<const TGolf *>(&activity)) {
        cells.insert(QStringLiteral("Par (slag)"), golf->GetPar());
        cells.insert(QStringLiteral("Nytt HCP"), golf->GetNewHcp());
        cells.insert(QStringLiteral("Par - Hål nr 18"), golf->GetHoles()[17].Par);
        cells.insert(QStringLiteral("Distans - Hål nr 1"), golf->GetHoles()[0].Distance);
    }
    if (auto *workout = dynamic_cast<const TWorkout *>(&activity)) {
        TWorkoutExercises held;
        workout->GetExercises(held);
        if (!workout->GetProgram().isEmpty())
            cells.insert(QStringLiteral("Program"), app.GetExercisePrograms().GetProgramName(workout->GetProgram().toInt()));
        for (int j = WorkoutProgramSlots; j < WorkoutProgramSlots + WorkoutFreeSlots; ++j)
            if (!held[std::size_t(j)].Name.isEmpty())
                cells.insert(held[std::size_t(j)].Name, held[std::size_t(j)].Reps);
    }
    return cells;
}
} // namespace

class tst_ExportReader : public QObject
{
    Q_OBJECT

private slots:
    void readBackByPython()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        QVERIFY2(!python.isEmpty(), "python3 is needed to read the exported files back");
        QTemporaryDir folder;
        TExportDiary d;
        d.AddEveryType();

        // The values as the diary holds them: every activity loaded on its
        // own.
        QJsonArray activities;
        for (const int nr : d.SearchAll()) {
            d.App().LoadActivityDetails(nr);
            activities.append(expectedCells(d.App(), *d.App().FindActivity(nr)));
        }

        d.SearchAll();
        QCOMPARE(d.App().Export(folder.filePath(QStringLiteral("export.txt")), title, {}, false, true, QStringLiteral("_"), 1),
                 int(activities.size()));
        d.SearchAll();
        QCOMPARE(d.App().Export(folder.filePath(QStringLiteral("export.html")), title, {}, true, false, QString(), 0),
                 int(activities.size()));
        // The column count, from the header of the text file.
        const QByteArray text = TExportDiary::ReadFile(folder.filePath(QStringLiteral("export.txt")));
        const int columns = int(text.split('\n').value(3).count(';')) + 1;

        QJsonObject expected;
        expected.insert(QStringLiteral("title"), title);
        expected.insert(QStringLiteral("date"), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        expected.insert(QStringLiteral("columns"), columns);
        expected.insert(QStringLiteral("activities"), activities);
        QFile json(folder.filePath(QStringLiteral("expected.json")));
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write(QJsonDocument(expected).toJson());
        json.close();

        QProcess reader;
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(python, {QStringLiteral(TERNVALL_READ_EXPORT), folder.path()});
        QVERIFY(reader.waitForFinished(60000));
        const QString output = QString::fromUtf8(reader.readAll());
        qInfo().noquote() << output.trimmed();
        QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
        QVERIFY2(reader.exitCode() == 0, qPrintable(output));
        QVERIFY(output.contains(QStringLiteral("12 activities")));
    }
};

QTEST_MAIN(tst_ExportReader)
#include "tst_ExportReader.moc"
