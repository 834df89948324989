#pragma once

#include <QtGlobal>

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
