#pragma once

// How much of the diary an operation reads, from the engine's own account
// of the connection: the records it has read so far, by index or in table
// order. Reading the account reads no records itself, so the difference
// around an operation is what the operation read; metadata the engine loads
// on the first use of a table counts too, so measure what has run once.

#include "foundation/DbClient.h"

#include <functional>

inline qint64 RecordReads(TDbConnection &connection)
{
    TDbQuery query(connection);
    query.Add(QStringLiteral("select r.MON$RECORD_SEQ_READS + r.MON$RECORD_IDX_READS"));
    query.Add(QStringLiteral("from MON$ATTACHMENTS a, MON$RECORD_STATS r"));
    query.Add(QStringLiteral("where a.MON$ATTACHMENT_ID = current_connection and r.MON$STAT_ID = a.MON$STAT_ID"));
    query.Open();
    const qint64 reads = query.FieldAsInteger(0);
    query.Close();
    return reads;
}

// The records `operation` reads.
inline qint64 RecordReadsOf(TDbConnection &connection, const std::function<void()> &operation)
{
    const qint64 before = RecordReads(connection);
    operation();
    return RecordReads(connection) - before;
}
