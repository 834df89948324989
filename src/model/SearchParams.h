#pragma once

#include <QString>

// The conditions of a search for diary entries, as typed on the search page.
// Every field is optional: an empty text sets no condition. The "from"
// fields of the numeric conditions also take "!" (no value) and "*" (any
// value).
struct TSearchParams
{
    QString DateFrom, DateTo;         // all types
    QString Place, Comment;           // all types, text contained
    QString WeightFrom, WeightTo;     // all types
    QString TimeFrom, TimeTo;         // time and game types: duration
    QString Game;                     // game types: text contained
    QString TDTimeFrom, TDTimeTo;     // time-and-distance types: duration
    QString TDDistFrom, TDDistTo;     // time-and-distance types: distance
    QString CourseId;                 // time-and-distance types: bound course
    QString DistFrom, DistTo;         // distance types
    QString HcpFrom, HcpTo;           // golf: handicap before the round
    QString StrokesFrom, StrokesTo;   // golf: strokes
    QString ProgramId;                // strength: the program followed
};
