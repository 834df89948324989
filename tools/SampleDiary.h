#pragma once

#include "foundation/Exceptions.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <functional>

class TDbConnection;

// A sample diary: years of made-up but plausible training, written into an
// existing diary database through the program's own storage classes, so
// that what lands in the tables is exactly what the program itself writes.
//
// The content depends only on the options and on what the diary held
// before: the same options on two empty diaries give the same rows.

// What to make. The entries are spread over the `Years` years that end on
// `End`.
struct TSampleDiaryOptions
{
    int Entries = 2000;
    int Years = 10;
    quint64 Seed = 1;
    // The last day of the diary; today when not valid.
    QDate End;
    // Also add to a diary that already holds entries.
    bool Force = false;
};

// A diary that already holds entries, and no Force.
class ESampleDiaryNotEmpty final : public EException
{
public:
    using EException::EException;
};

namespace SampleDiary
{
// Raised whenever the rows made for the same options change, so that saved
// sample diaries (the benchmarks keep some) are made again.
inline constexpr int ContentVersion = 3;

// Told the number of entries stored so far and the number to store.
using TProgress = std::function<void(int stored, int total)>;

// Fills the open diary: pulse intervals, strength exercises and programs,
// and courses next to whatever the diary already has (the pulse intervals,
// exercises, programs and courses of an earlier fill are used again), then
// the entries, numbered on from the highest session number. Each entry is
// written in a transaction of its own, so a failure leaves every entry
// before it in place. The engine's settings are left as they are. Raises
// ESampleDiaryNotEmpty (and writes nothing) for a diary with entries unless
// options.Force; EException for options out of range (no entries, no
// years); the errors of the storage classes and the database layer as they
// come.
void Fill(TDbConnection &database, const TSampleDiaryOptions &options, const TProgress &progress = {});

// Fills the diary file `path` as Fill does, never in place: a copy beside
// it (FillCopyPath) is filled with the engine's forced writes off, has them
// switched on, is synced to the disk and only then takes the diary's place.
// A fill that fails or is killed leaves the diary exactly as it was; a copy
// that a killed fill leaves behind is removed by the next fill. While the
// fill runs, the diary is locked as the engine locks an attached database,
// so neither the program nor anyone else opens it meanwhile. Raises
// EException when the diary cannot be read or is in use, and the errors of
// Fill; the diary is untouched in every case.
void FillFile(const QString &path, const QString &user, const QString &password, const TSampleDiaryOptions &options,
              const TProgress &progress = {});
QString FillCopyPath(const QString &path);
}
