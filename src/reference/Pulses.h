#pragma once

#include "foundation/DbClient.h"
#include "model/CorvaleTypeDefs.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

// One pulse interval: a heart-rate band in beats per minute.
struct TPulseItem
{
    qint32 PulseId = 0;
    int PulseLow = 0;
    int PulseHigh = 0;
    TItemState State = TItemState::New;
};

// The register of pulse intervals, kept in memory and written to the table
// Pulse by ApplyPulses. Windows change it freely; LoadPulses discards memory
// and reads the table again.
//
// An id that is not in memory raises EPulse "Pulse 01"; an item marked
// Deleted is still found until the register is applied or loaded. Using the
// database before SetDatabase raises EPulse "Pulse 02". Failing statements
// raise the database layer's EDbClientError.
class TPulses
{
public:
    TPulses();
    ~TPulses();

    TPulses(const TPulses &) = delete;
    TPulses &operator=(const TPulses &) = delete;

    // The connection to use; it stays owned by the caller and must outlive
    // the register. Null raises EPulse "Pulse 02". A connection that is not
    // open is opened and closed once to test it (EDbClientError when that
    // fails).
    void SetDatabase(TDbConnection *database);

    // Discards memory and reads every interval, ordered by its limits, as a
    // Stored item. On failure memory is left as it was.
    void LoadPulses();

    // Writes memory to the table, from the last item to the first: New items
    // are inserted and become Stored, Stored items are updated (changed or
    // not), Deleted items are deleted and dropped. Runs in whatever
    // transaction the connection has; without one each statement commits on
    // its own. When a statement fails, the items after it have been written
    // and are marked so, the failing item and those before it are unchanged,
    // and the error is raised.
    void ApplyPulses();

    // Empties memory.
    void ClearPulses();

    // Appends a New interval with the limits normalised and returns its id:
    // the highest id in memory (Deleted items included) plus 1, or 1.
    qint32 AddPulse(int low, int high);
    // Sets both limits, normalised.
    void SetPulse(qint32 id, int low, int high);
    // Marks the interval Deleted; EPulse "Pulse 03" when a training session
    // refers to it, and then the interval is left as it was.
    void DeletePulse(qint32 id);

    // True when a training session refers to the id in the database.
    bool IsPulseUsed(qint32 id);
    // True for an id in memory that is not Deleted.
    bool PulseExists(qint32 id) const;

    int PulseLow(qint32 id) const;
    int PulseHigh(qint32 id) const;
    // "low-high", each limit padded on the left with blanks to 3 characters:
    // " 60-140".
    QString PulseText(qint32 id) const;

    // Intervals that are not Deleted, and their ids in list order (`ids` is
    // emptied first).
    int PulseCount() const;
    void GetPulseIds(QList<qint32> &ids) const;

    // Makes 0 <= low <= high <= 999: swaps the limits when high is below low,
    // then holds each within 0..999.
    static void Normalise(int &low, int &high);

private:
    const TPulseItem &Item(qint32 id) const;
    TPulseItem &Item(qint32 id);
    TDbQuery &Query();

    std::unique_ptr<TDbQuery> m_query;
    std::vector<TPulseItem> m_items;
};
