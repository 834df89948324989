#pragma once

class TActivities;

namespace ActExportLoad
{
// Completes every Listed activity of the collection as TActivity::Load
// would, with the same values and the state Stored at the end, but with one
// query per table for all of them instead of several per activity: the
// sessions, each type table found, the pulse intervals, the course
// bindings and lap marks, the golf cards and the workouts' programs. Each
// query reads the range of session numbers of the activities it serves.
// An activity whose type row is missing raises "Classhie 01. RowsAffected:
// 0" as its own load does; activities completed before the failure stay
// complete.
void CompleteListed(TActivities &activities);
}
