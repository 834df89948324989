#pragma once

#include <QFlags>
#include <QtGlobal>

class TDefRegistry;

// The user's preferences for personal records, summaries, lap calculation
// and searching: one value record, copied in and out as a whole.
struct TSettingsValues
{
    enum class TSummaryTDT : quint8 { Distance = 0, Hours = 1, Minutes = 2, Count = 3 };
    enum class TSummaryTime : quint8 { Hours = 0, Minutes = 1, Count = 2 };
    enum class TSummaryDist : quint8 { Distance = 0, Count = 1 };
    enum class TLapCalc : quint8 { Total = 0, LapByLap = 1 };
    enum class TSearchSort : quint8 { Date = 0, Activity = 1 };

    qint32 RecordNum = 1;   // time-and-distance results in the personal records
    qint32 RecordSets = 0;  // sets for strength records, 0 = not used
    qint32 RecordReps = 0;  // repetitions for strength records, 0 = not used
    qint32 RecordWNum = 1;  // strength workouts in the personal records
    TSummaryTDT SummaryTDT = TSummaryTDT::Distance;
    TSummaryTime SummaryTime = TSummaryTime::Hours;
    TSummaryTime SummaryGame = TSummaryTime::Hours;
    TSummaryDist SummaryDist = TSummaryDist::Distance;
    bool SummaryActivitiesChanged = false; // set by the settings window; never stored
    qint32 CurrentCourse = -1;             // the current course; not stored
    TLapCalc LapCalc = TLapCalc::LapByLap;
    TSearchSort SearchSort = TSearchSort::Date;
    bool SearchAtStart = false;

    bool operator==(const TSettingsValues &) const = default;
};

// What the last store of settings changed.
enum class TSettingsChange : quint8 { Nothing = 1, Records = 2, Summary = 4, LapCalculation = 8, Search = 16 };
Q_DECLARE_FLAGS(TSettingsChanges, TSettingsChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSettingsChanges)

// Holds the settings record and the change set of its last store.
class TCorvaleSettings
{
public:
    const TSettingsValues &GetValues() const { return m_values; }
    // Validates and stores the record. A negative count raises
    // ECorvaleSettingsError "CorvaleSettings 01".."04" (RecordNum, RecordSets,
    // RecordReps, RecordWNum, checked in that order) and stores nothing.
    // Returns true when nothing changed.
    bool SetValues(const TSettingsValues &values);
    TSettingsChanges GetChangeSet() const { return m_changes; }

    // Reads the record from the open key of the per-user store (the key
    // Settings below the program's key); a count that reads as unusable keeps
    // its default.
    static TSettingsValues Read(const TDefRegistry &registry);
    // Writes the stored values in their stored forms to the open key.
    static void Write(TDefRegistry &registry, const TSettingsValues &values);

private:
    TSettingsValues m_values;
    TSettingsChanges m_changes = TSettingsChange::Nothing;
};
