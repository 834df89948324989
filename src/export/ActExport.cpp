#include "export/ActExport.h"

#include "export/ActExportLoad.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"
#include "model/Activities.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QFile>

#include <algorithm>
#include <utility>

namespace
{
using Str = TTulloUtilString;

// Written in blocks, so that a large export makes few system calls.
constexpr qsizetype flushSize = 1 << 20;

// The characters of Windows-1252 at 0x80..0x9F; 0 where the code page has
// none.
constexpr char16_t upperControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int windows1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    if (c > 0xFFFF)
        return -1;
    for (int i = 0; i < 32; ++i) {
        if (upperControls[i] != 0 && upperControls[i] == c)
            return 0x80 + i;
    }
    return -1;
}

bool hasValue(const TWorkoutExercise &slot)
{
    return !slot.Reps.isEmpty() || !slot.Load.isEmpty();
}

// A workout follows a program when its program id is given.
QString programOf(const TWorkout &workout)
{
    const QString program = workout.GetProgram().trimmed();
    return program == QLatin1String("-1") ? QString() : program;
}

const QString &freeSlotName(int slot)
{
    return TWorkout::BasicExerciseNames().at(slot);
}

const QStringList weatherTexts = {
    QStringLiteral("Soligt"),
    QStringLiteral("Mulet och regn"),
    QStringLiteral("Mulet"),
    QStringLiteral("Regnskurar"),
    QStringLiteral("Molnigt"),
    QStringLiteral("Halvklart till mulet"),
    QStringLiteral("Växlande molnighet"),
    QStringLiteral("Byar av snöblandat regn"),
    QStringLiteral("Mulet och snöblandat regn"),
    QStringLiteral("Snöbyar"),
    QStringLiteral("Mulet och snöfall"),
    QStringLiteral("Åskskurar"),
    QStringLiteral("Mulet och regn med åska"),
    QStringLiteral("Dimma"),
};

const QStringList windDirTexts = {
    QStringLiteral("Vindstilla"),      QStringLiteral("Sydlig vind"),     QStringLiteral("Sydvästlig vind"),
    QStringLiteral("Västlig vind"),    QStringLiteral("Nordvästlig vind"), QStringLiteral("Nordlig vind"),
    QStringLiteral("Nordöstlig vind"), QStringLiteral("Östlig vind"),     QStringLiteral("Sydöstlig vind"),
};

const QStringList sleepTexts = {QStringLiteral("Dålig vila"), QStringLiteral("Ok vila"), QStringLiteral("Bra vila")};

const QStringList performanceTexts = {QStringLiteral("Mycket dåligt"), QStringLiteral("Dåligt"), QStringLiteral("Medel"),
                                      QStringLiteral("Bra"), QStringLiteral("Mycket bra")};
} // namespace

TActExport::TActExport() = default;
TActExport::~TActExport() = default;

QString TActExport::PerformanceText(int performance)
{
    return performanceTexts.value(performance);
}

QString TActExport::WeatherText(int weather)
{
    return weatherTexts.value(weather);
}

QString TActExport::WindDirText(int windDir)
{
    return windDirTexts.value(windDir);
}

QString TActExport::SleepText(int quality)
{
    return sleepTexts.value(quality);
}

QString TActExport::ActivityComment(const TActivity &activity)
{
    // The types without values of their own store no comment either; their
    // object holds the initial placeholder, never anything the user wrote.
    if (activity.Family() == TActivityFamily::Simple)
        return QString();
    return activity.GetComment();
}

QByteArray TActExport::ToWindows1252(const QString &text, int &replaced)
{
    QByteArray bytes;
    AppendWindows1252(bytes, text, replaced);
    return bytes;
}

void TActExport::AppendWindows1252(QByteArray &bytes, const QString &text, int &replaced)
{
    // One byte per character at most: written in place, cut at the end.
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char *target = bytes.data() + start;
    const char16_t *source = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *end = source + text.size();
    for (; source < end; ++source) {
        const char16_t c = *source;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            *target++ = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && source + 1 < end && QChar::isLowSurrogate(source[1])) {
            ++source; // one character outside the code page
            *target++ = '?';
            ++replaced;
            continue;
        }
        const int byte = windows1252Byte(c);
        if (byte < 0) {
            *target++ = '?';
            ++replaced;
        } else {
            *target++ = char(byte);
        }
    }
    bytes.resize(target - bytes.data());
}

// ---------------------------------------------------------------------------

void TActExport::ExportToFile(const QString &fileName, const TExportProgress &progress)
{
    m_progress = progress;
    m_replacedCount = 0;
    Analyse();
    CountColumns();

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EExport(QStringLiteral("Export 06. %1: %2").arg(fileName, file.errorString()));
    m_outFile = &file;
    m_buffer.clear();
    m_buffer.reserve(flushSize + flushSize / 2);
    try {
        WriteIntro();
        WriteHeader();
        WriteRows();
        Flush();
    } catch (...) {
        // The file keeps what was written up to the failure.
        try {
            Flush();
        } catch (...) {
        }
        m_outFile = nullptr;
        m_buffer.clear();
        throw;
    }
    m_outFile = nullptr;
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw EExport(QStringLiteral("Export 06. %1: %2").arg(fileName, file.errorString()));
}

void TActExport::Step()
{
    if (m_progress)
        m_progress();
}

void TActExport::WriteLine(const QString &line)
{
    AppendWindows1252(m_buffer, line, m_replacedCount);
    m_buffer.append("\r\n", 2);
    if (m_buffer.size() >= flushSize)
        Flush();
}

void TActExport::Flush()
{
    if (!m_outFile || m_buffer.isEmpty())
        return;
    const qint64 written = m_outFile->write(m_buffer);
    if (written != m_buffer.size()) {
        m_buffer.clear();
        throw EExport(QStringLiteral("Export 06. %1: %2").arg(m_outFile->fileName(), m_outFile->errorString()));
    }
    m_buffer.resize(0); // keeps the block for the next lines
}

void TActExport::CheckAttached() const
{
    if (!m_activities)
        throw EExport(QStringLiteral("Export 01"));
    if (!m_exercises)
        throw EExport(QStringLiteral("Export 02"));
    if (!m_programs)
        throw EExport(QStringLiteral("Export 03"));
    if (!m_pulses)
        throw EExport(QStringLiteral("Export 04"));
}

// ---------------------------------------------------------------------------
// Analyse

void TActExport::Analyse()
{
    m_hasTime = m_hasGame = m_hasDistance = m_hasGolf = m_hasGolfCard = m_hasTimeDistance = false;
    m_hasProgramWorkout = m_hasFreeWorkout = m_hasOther = m_hasWorkout = m_hasMeasure = m_hasPulse = false;
    m_maxLaps = 0;
    m_workLapTimes.clear();
    m_workLapDistances.clear();
    m_programExerciseIds.clear();
    m_programExerciseNames.clear();
    m_freeSlotUsed.fill(false);
    m_extraExerciseNames.clear();
    m_workPulseIds.clear();
    m_workPulseValues.clear();
    m_pulseColumns.clear();
    CheckAttached();

    // What a full load of each would read, in one query per table.
    ActExportLoad::CompleteListed(*m_activities);

    const int count = m_activities->Count();
    for (int i = 0; i < count; ++i) {
        Step();
        TActivity *activity = m_activities->GetActivity(i);
        if (activity->GetState() == TActivity::TState::Listed)
            m_activities->Load(activity->GetSessionNr());
        switch (activity->Family()) {
        case TActivityFamily::Time:
            m_hasTime = true;
            break;
        case TActivityFamily::Game:
            m_hasTime = m_hasGame = true;
            break;
        case TActivityFamily::TimeDistance:
            m_hasTime = m_hasDistance = m_hasTimeDistance = true;
            m_maxLaps = std::max(m_maxLaps, static_cast<TTimeDistanceActivity *>(activity)->LapCount());
            AddPulseColumns(*activity);
            break;
        case TActivityFamily::Distance:
            m_hasDistance = true;
            break;
        case TActivityFamily::Other:
            m_hasOther = true;
            break;
        case TActivityFamily::Golf:
            m_hasGolf = true;
            if (static_cast<TGolf *>(activity)->GetCalculate())
                m_hasGolfCard = true;
            break;
        case TActivityFamily::Workout:
            AnalyseWorkout(*static_cast<TWorkout *>(activity));
            break;
        case TActivityFamily::CardioMeasure:
            m_hasMeasure = true;
            break;
        case TActivityFamily::Simple:
            break;
        }
        Step();
    }
}

void TActExport::AddPulseColumns(const TActivity &activity)
{
    if (activity.GetPulseIntervals(m_workPulseIds, m_workPulseValues) > 0)
        m_hasPulse = true;
    if (!m_hasPulse)
        return;
    for (const qint32 id : std::as_const(m_workPulseIds)) {
        if (!m_pulseColumns.contains(id))
            m_pulseColumns.append(id);
    }
}

void TActExport::AnalyseWorkout(const TWorkout &workout)
{
    m_hasWorkout = true;
    TWorkoutExercises held;
    workout.GetExercises(held);
    const QString program = programOf(workout);
    if (!program.isEmpty()) {
        m_hasProgramWorkout = true;
        const TProgramExercises exercises = m_programs->GetProgramExercises(program.toInt());
        for (int k = 0; k < WorkoutProgramSlots; ++k) {
            const QString id = exercises[std::size_t(k)].trimmed();
            if (id.isEmpty() || m_programExerciseIds.contains(id.toInt()) || !hasValue(held[std::size_t(k)]))
                continue;
            m_programExerciseIds.append(id.toInt());
            m_programExerciseNames.append(m_exercises->GetExerciseName(id.toInt()));
        }
    } else {
        m_hasFreeWorkout = true;
        for (int k = 0; k < WorkoutProgramSlots; ++k) {
            if (hasValue(held[std::size_t(k)]))
                m_freeSlotUsed[std::size_t(k)] = true;
        }
    }
    for (int j = WorkoutProgramSlots; j < WorkoutProgramSlots + WorkoutFreeSlots; ++j) {
        const TWorkoutExercise &slot = held[std::size_t(j)];
        if (slot.Name.isEmpty() || !hasValue(slot) || m_extraExerciseNames.contains(slot.Name, Qt::CaseInsensitive))
            continue;
        m_extraExerciseNames.append(slot.Name);
    }
}

void TActExport::CountColumns()
{
    int count = 3;
    if (m_hasDistance)
        count += 1;
    if (m_hasTime)
        count += 1;
    if (m_hasGame)
        count += 2;
    if (m_hasTimeDistance)
        count += 2 + 4 * m_maxLaps;
    if (m_hasPulse)
        count += int(m_pulseColumns.size());
    if (m_hasMeasure)
        count += 10;
    if (m_hasGolf)
        count += 9;
    if (m_hasGolfCard)
        count += 108;
    if (m_hasWorkout) {
        if (m_hasProgramWorkout)
            count += 1 + 2 * int(m_programExerciseIds.size());
        if (m_hasFreeWorkout)
            count += 2 * int(std::count(m_freeSlotUsed.begin(), m_freeSlotUsed.end(), true));
        count += 2 * int(m_extraExerciseNames.size());
    }
    if (m_hasOther)
        count += 1;
    count += 13;
    m_columnCount = count;
}

// ---------------------------------------------------------------------------
// Writing

void TActExport::WriteIntro()
{
    Step();
}

void TActExport::AddHeaderCell(const QString &text)
{
    m_line += HeaderSeparator();
    m_line += text;
}

void TActExport::AddHeaderCell(const QString &text, const QString &unit)
{
    m_line += HeaderSeparator();
    m_line += text;
    m_line += UnitBreak();
    m_line += unit;
}

void TActExport::WriteHeader()
{
    m_line = HeaderLineStart() + QStringLiteral("Datum") + HeaderSeparator() + QStringLiteral("Aktivitet") + HeaderSeparator() +
             QStringLiteral("Plats");
    if (m_hasDistance)
        AddHeaderCell(QStringLiteral("Distans"), QStringLiteral(" (km)"));
    if (m_hasTime)
        AddHeaderCell(QStringLiteral("Tid"), QStringLiteral(" (min)"));
    if (m_hasGame) {
        AddHeaderCell(QStringLiteral("Prestation"));
        AddHeaderCell(QStringLiteral("Match"));
    }
    if (m_hasTimeDistance) {
        AddHeaderCell(QStringLiteral("Hastighet"), QStringLiteral(" (km/tim)"));
        AddHeaderCell(QStringLiteral("Kilometertid"), QStringLiteral(" (min/km)"));
        for (int n = 1; n <= m_maxLaps; ++n)
            AddHeaderCell(QStringLiteral("Mellantidsdistans %1").arg(n), QStringLiteral(" (km)"));
        for (int n = 1; n <= m_maxLaps; ++n)
            AddHeaderCell(QStringLiteral("Mellantid %1").arg(n), QStringLiteral(" (min)"));
        for (int n = 1; n <= m_maxLaps; ++n)
            AddHeaderCell(QStringLiteral("Mellantidshastighet %1").arg(n), QStringLiteral(" (km/tim)"));
        for (int n = 1; n <= m_maxLaps; ++n)
            AddHeaderCell(QStringLiteral("Mellantidskilometertid %1").arg(n), QStringLiteral(" (min/km)"));
    }
    if (m_hasPulse) {
        for (const qint32 id : std::as_const(m_pulseColumns))
            AddHeaderCell(TransformText(QStringLiteral("Pulsintervall ") + m_pulses->PulseText(id)), QStringLiteral(" (puls)"));
    }
    if (m_hasMeasure) {
        AddHeaderCell(QStringLiteral("Konditionsvärde"));
        for (const char *name : {"Hals", "Axlar", "Bröst", "Överarm", "Underarm", "Midja", "Höfter", "Lår", "Vader"})
            AddHeaderCell(QString::fromUtf8(name), QStringLiteral(" (cm)"));
    }
    if (m_hasGolf) {
        AddHeaderCell(QStringLiteral("Par"), QStringLiteral(" (slag)"));
        AddHeaderCell(QStringLiteral("Slag"), QStringLiteral(" (slag)"));
        for (const char *name : {"CR", "Slope", "Puttar", "Bunker", "HCP", "Nytt HCP", "Poäng"})
            AddHeaderCell(QString::fromUtf8(name));
    }
    if (m_hasGolfCard) {
        for (const char *name : {"Par", "Distans", "HCP", "Slag", "Poäng", "Putt"}) {
            for (int n = 1; n <= GolfHoleCount; ++n)
                AddHeaderCell(QString::fromUtf8(name) + QStringLiteral(" - Hål nr %1").arg(n));
        }
    }
    if (m_hasWorkout) {
        if (m_hasProgramWorkout) {
            AddHeaderCell(QStringLiteral("Program"));
            for (const QString &name : std::as_const(m_programExerciseNames)) {
                AddHeaderCell(TransformText(name));
                AddHeaderCell(QStringLiteral("Vikt"), QStringLiteral(" (kg)"));
            }
        }
        if (m_hasFreeWorkout) {
            for (int k = 0; k < WorkoutProgramSlots; ++k) {
                if (!m_freeSlotUsed[std::size_t(k)])
                    continue;
                AddHeaderCell(TransformText(freeSlotName(k)));
                AddHeaderCell(QStringLiteral("Vikt"), QStringLiteral(" (kg)"));
            }
        }
        for (const QString &name : std::as_const(m_extraExerciseNames)) {
            AddHeaderCell(TransformText(name));
            AddHeaderCell(QStringLiteral("Vikt"), QStringLiteral(" (kg)"));
        }
    }
    if (m_hasOther)
        AddHeaderCell(QStringLiteral("Detaljerad aktivitet"));
    AddHeaderCell(QStringLiteral("Vikt"), QStringLiteral(" (kg)"));
    AddHeaderCell(QStringLiteral("Vilopuls"), QStringLiteral(" (puls)"));
    AddHeaderCell(QStringLiteral("Maxpuls"), QStringLiteral(" (puls)"));
    AddHeaderCell(QStringLiteral("Medelpuls"), QStringLiteral(" (puls)"));
    AddHeaderCell(QStringLiteral("Förbränning"), QStringLiteral(" (kcal)"));
    AddHeaderCell(QStringLiteral("Väder"), QString());
    AddHeaderCell(QStringLiteral("Temperatur"), QStringLiteral(" (º)"));
    AddHeaderCell(QStringLiteral("Vindriktning"), QString());
    AddHeaderCell(QStringLiteral("Vindstyrka"), QStringLiteral(" (m/s)"));
    AddHeaderCell(QStringLiteral("Vilokvalitet"), QString());
    AddHeaderCell(QStringLiteral("Vilotid"), QStringLiteral(" (tim)"));
    AddHeaderCell(QStringLiteral("Kommentar"), QString());
    AddHeaderCell(QStringLiteral("Kommentar"));
    m_line += HeaderLineEnd();
    WriteLine(m_line);
    Step();
}

void TActExport::AddCell(const QString &value)
{
    m_line += RowSeparator();
    m_line += value;
}

void TActExport::AddEmptyCells(int count)
{
    const QString separator = RowSeparator();
    for (int i = 0; i < count; ++i)
        m_line += separator;
}

void TActExport::WriteRows()
{
    const int count = m_activities->Count();
    for (int i = 0; i < count; ++i) {
        AddRow(*m_activities->GetActivity(i));
        WriteLine(m_line);
        Step();
    }
}

void TActExport::AddRow(TActivity &activity)
{
    if (activity.GetState() == TActivity::TState::Listed)
        throw EExport(QStringLiteral("Export 05. The activity %1 is only loaded").arg(activity.GetDate()));
    const TActivityFamily family = activity.Family();
    m_line = RowStart() + activity.GetDate();
    AddCell(TransformText(activity.GetActivityName()));
    AddCell(TransformText(activity.GetPlace()));

    const auto *timeDistance = family == TActivityFamily::TimeDistance ? static_cast<TTimeDistanceActivity *>(&activity) : nullptr;
    if (m_hasDistance) {
        if (timeDistance)
            AddCell(timeDistance->GetDistance());
        else if (family == TActivityFamily::Distance)
            AddCell(static_cast<TDistanceActivity &>(activity).GetDistance());
        else
            AddEmptyCells(1);
    }
    if (m_hasTime) {
        if (auto *timed = dynamic_cast<TTimeActivity *>(&activity))
            AddCell(timed->GetDuration());
        else
            AddEmptyCells(1);
    }
    if (m_hasGame) {
        if (family == TActivityFamily::Game) {
            const auto &game = static_cast<TGame &>(activity);
            AddCell(PerformanceText(game.GetPerformance()));
            AddCell(TransformText(game.GetGame()));
        } else {
            AddEmptyCells(2);
        }
    }
    if (m_hasTimeDistance) {
        if (timeDistance) {
            AddCell(timeDistance->GetSpeed());
            AddCell(timeDistance->GetKmTime());
            const int laps = timeDistance->GetLaps(&m_workLapTimes, &m_workLapDistances);
            for (int n = 0; n < laps; ++n)
                AddCell(m_workLapDistances.at(n));
            AddEmptyCells(m_maxLaps - laps);
            for (int n = 0; n < laps; ++n)
                AddCell(m_workLapTimes.at(n));
            AddEmptyCells(m_maxLaps - laps);
            for (int n = 0; n < laps; ++n)
                AddCell(timeDistance->GetLapSpeed(n));
            AddEmptyCells(m_maxLaps - laps);
            for (int n = 0; n < laps; ++n)
                AddCell(timeDistance->GetLapKmTime(n));
            AddEmptyCells(m_maxLaps - laps);
        } else {
            AddEmptyCells(2 + 4 * m_maxLaps);
        }
    }
    if (m_hasPulse) {
        if (timeDistance) {
            activity.GetPulseIntervals(m_workPulseIds, m_workPulseValues);
            for (const qint32 id : std::as_const(m_pulseColumns)) {
                const qsizetype at = m_workPulseIds.indexOf(id);
                if (at < 0)
                    AddEmptyCells(1);
                else
                    AddCell(QString::number(m_workPulseValues.at(at)));
            }
        } else {
            AddEmptyCells(int(m_pulseColumns.size()));
        }
    }
    if (m_hasMeasure) {
        if (family == TActivityFamily::CardioMeasure) {
            const auto &m = static_cast<TCardioMeasure &>(activity);
            for (const QString &value : {m.GetMeasure(), m.GetNeck(), m.GetShoulder(), m.GetChest(), m.GetBiceps(), m.GetArm(),
                                         m.GetWaist(), m.GetHip(), m.GetThigh(), m.GetCalf()})
                AddCell(value);
        } else {
            AddEmptyCells(10);
        }
    }
    const auto *golf = family == TActivityFamily::Golf ? static_cast<TGolf *>(&activity) : nullptr;
    if (m_hasGolf) {
        if (golf) {
            for (const QString &value : {golf->GetPar(), golf->GetStroke(), golf->GetCr(), golf->GetSlope(), golf->GetPutt(),
                                         golf->GetBunker(), golf->GetPrevHcp(), golf->GetNewHcp(), golf->GetScore()})
                AddCell(value);
        } else {
            AddEmptyCells(9);
        }
    }
    if (m_hasGolfCard) {
        if (golf) {
            const TGolfHoles holes = golf->GetHoles();
            for (QString TGolfHole::*value : {&TGolfHole::Par, &TGolfHole::Distance, &TGolfHole::Hcp, &TGolfHole::Stroke,
                                              &TGolfHole::Score, &TGolfHole::Putt}) {
                for (const TGolfHole &hole : holes)
                    AddCell(hole.*value);
            }
        } else {
            AddEmptyCells(6 * GolfHoleCount);
        }
    }
    if (m_hasWorkout) {
        if (family == TActivityFamily::Workout) {
            AddWorkoutCells(static_cast<TWorkout &>(activity));
        } else {
            const int freeUsed = int(std::count(m_freeSlotUsed.begin(), m_freeSlotUsed.end(), true));
            if (m_hasProgramWorkout)
                AddEmptyCells(1 + 2 * int(m_programExerciseIds.size()));
            if (m_hasFreeWorkout)
                AddEmptyCells(2 * freeUsed);
            AddEmptyCells(2 * int(m_extraExerciseNames.size()));
        }
    }
    if (m_hasOther) {
        if (family == TActivityFamily::Other)
            AddCell(TransformText(static_cast<TOther &>(activity).GetOtherActivity()));
        else
            AddEmptyCells(1);
    }
    AddCell(activity.GetWeight());
    AddCell(activity.GetRestPulse());
    AddCell(activity.GetMaxPulse());
    AddCell(activity.GetAvgPulse());
    AddCell(activity.GetCalorie());
    AddCell(WeatherText(activity.GetWeather()));
    AddCell(activity.GetTemperature());
    AddCell(WindDirText(activity.GetWindDir()));
    AddCell(activity.GetWind());
    AddCell(SleepText(activity.GetSleepQuality()));
    AddCell(activity.GetSleepDuration());
    const QString lineBreaks = QStringLiteral("\r\n");
    AddCell(TransformText(Str::RemoveChars(activity.GetSessionComment(), lineBreaks, true)));
    AddCell(TransformText(Str::RemoveChars(ActivityComment(activity), lineBreaks, true)));
    m_line = TransformLine(m_line + RowEnd());
}

void TActExport::AddWorkoutCells(const TWorkout &workout)
{
    TWorkoutExercises held;
    workout.GetExercises(held);
    const QString program = programOf(workout);
    if (m_hasProgramWorkout) {
        if (program.isEmpty()) {
            AddEmptyCells(1 + 2 * int(m_programExerciseIds.size()));
        } else {
            AddCell(TransformText(m_programs->GetProgramName(program.toInt())));
            const TProgramExercises exercises = m_programs->GetProgramExercises(program.toInt());
            for (const qint32 id : std::as_const(m_programExerciseIds)) {
                // The program may hold an exercise in several held: the
                // first of them with a value gives the two cells.
                const TWorkoutExercise *found = nullptr;
                for (int k = 0; k < WorkoutProgramSlots; ++k) {
                    const QString slotId = exercises[std::size_t(k)].trimmed();
                    if (slotId.isEmpty() || slotId.toInt() != id)
                        continue;
                    if (!found || (!hasValue(*found) && hasValue(held[std::size_t(k)])))
                        found = &held[std::size_t(k)];
                }
                if (found) {
                    AddCell(found->Reps);
                    AddCell(found->Load);
                } else {
                    AddEmptyCells(2);
                }
            }
        }
    }
    if (m_hasFreeWorkout) {
        for (int k = 0; k < WorkoutProgramSlots; ++k) {
            if (!m_freeSlotUsed[std::size_t(k)])
                continue;
            if (program.isEmpty()) {
                AddCell(held[std::size_t(k)].Reps);
                AddCell(held[std::size_t(k)].Load);
            } else {
                AddEmptyCells(2);
            }
        }
    }
    for (const QString &name : std::as_const(m_extraExerciseNames)) {
        // Matched the way the columns were made, without regard to case, so
        // that the values of "chins" stand under a column "Chins".
        const TWorkoutExercise *found = nullptr;
        for (int j = WorkoutProgramSlots; j < WorkoutProgramSlots + WorkoutFreeSlots && !found; ++j) {
            const TWorkoutExercise &slot = held[std::size_t(j)];
            if (hasValue(slot) && slot.Name.compare(name, Qt::CaseInsensitive) == 0)
                found = &slot;
        }
        if (found) {
            AddCell(found->Reps);
            AddCell(found->Load);
        } else {
            AddEmptyCells(2);
        }
    }
}
