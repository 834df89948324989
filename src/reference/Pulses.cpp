#include "reference/Pulses.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

#include <algorithm>

namespace
{
const QString paramId = QStringLiteral("psid");
const QString paramLow = QStringLiteral("psl");
const QString paramHigh = QStringLiteral("psh");

constexpr int highestPulse = 999;

int columnInteger(TDbQuery &query, const QString &column)
{
    const QString text = DbMisc::GetColumn(&query, column, DbMisc::vkInteger);
    return text.isEmpty() ? 0 : TTulloUtilNumeric::StrToInt(text);
}

void bindInteger(TDbQuery &query, const QString &param, int value)
{
    DbMisc::BindParam(&query, param, DbMisc::vkInteger, false, QString::number(value));
}
} // namespace

TPulses::TPulses() = default;
TPulses::~TPulses() = default;

void TPulses::SetDatabase(TDbConnection *database)
{
    if (!database)
        throw EPulse(QStringLiteral("Pulse 02"));
    if (!database->Connected()) {
        database->Open();
        database->Close();
    }
    m_query = std::make_unique<TDbQuery>(*database);
}

TDbQuery &TPulses::Query()
{
    if (!m_query)
        throw EPulse(QStringLiteral("Pulse 02"));
    return *m_query;
}

void TPulses::LoadPulses()
{
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select PulseId, PulseLow, PulseHigh from Pulse order by PulseLow, PulseHigh"));
    query.Open();
    std::vector<TPulseItem> items;
    while (!query.Eof()) {
        TPulseItem item;
        item.PulseId = columnInteger(query, QStringLiteral("PulseId"));
        item.PulseLow = columnInteger(query, QStringLiteral("PulseLow"));
        item.PulseHigh = columnInteger(query, QStringLiteral("PulseHigh"));
        item.State = TItemState::Stored;
        items.push_back(item);
        query.Next();
    }
    query.Close();
    m_items = std::move(items);
}

void TPulses::ApplyPulses()
{
    TDbQuery &query = Query();
    // Each item's state changes only after its own statement succeeded, so
    // that memory keeps matching the table when a later statement fails.
    for (auto i = qsizetype(m_items.size()) - 1; i >= 0; --i) {
        TPulseItem &item = m_items[std::size_t(i)];
        query.Clear();
        switch (item.State) {
        case TItemState::New:
            DbMisc::AddLine(&query, QStringLiteral("insert into Pulse (PulseId, PulseLow, PulseHigh) values( :psid, :psl, :psh)"));
            bindInteger(query, paramId, item.PulseId);
            bindInteger(query, paramLow, item.PulseLow);
            bindInteger(query, paramHigh, item.PulseHigh);
            query.ExecSQL();
            item.State = TItemState::Stored;
            break;
        case TItemState::Stored:
            DbMisc::AddLine(&query, QStringLiteral("update Pulse set PulseLow = :psl, PulseHigh = :psh where PulseId = :psid"));
            bindInteger(query, paramLow, item.PulseLow);
            bindInteger(query, paramHigh, item.PulseHigh);
            bindInteger(query, paramId, item.PulseId);
            query.ExecSQL();
            break;
        case TItemState::Deleted:
            DbMisc::AddLine(&query, QStringLiteral("delete from Pulse where PulseId = :psid"));
            bindInteger(query, paramId, item.PulseId);
            query.ExecSQL();
            m_items.erase(m_items.begin() + i);
            break;
        }
    }
    query.Clear();
}

void TPulses::ClearPulses()
{
    m_items.clear();
}

qint32 TPulses::AddPulse(int low, int high)
{
    Normalise(low, high);
    qint32 id = 0;
    for (const TPulseItem &item : m_items)
        id = std::max(id, item.PulseId);
    ++id;
    m_items.push_back(TPulseItem{id, low, high, TItemState::New});
    return id;
}

void TPulses::SetPulse(qint32 id, int low, int high)
{
    TPulseItem &item = Item(id);
    Normalise(low, high);
    item.PulseLow = low;
    item.PulseHigh = high;
}

void TPulses::DeletePulse(qint32 id)
{
    TPulseItem &item = Item(id);
    if (IsPulseUsed(id))
        throw EPulse(QStringLiteral("Pulse 03"));
    item.State = TItemState::Deleted;
}

bool TPulses::IsPulseUsed(qint32 id)
{
    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select count(*) from TrainingSessionPulse where PulseId = :pid"));
    bindInteger(query, QStringLiteral("pid"), id);
    query.Open();
    const bool used = query.FieldAsInteger(0) > 0;
    query.Clear();
    return used;
}

bool TPulses::PulseExists(qint32 id) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(), [id](const TPulseItem &item) {
        return item.PulseId == id && item.State != TItemState::Deleted;
    });
}

int TPulses::PulseLow(qint32 id) const
{
    return Item(id).PulseLow;
}

int TPulses::PulseHigh(qint32 id) const
{
    return Item(id).PulseHigh;
}

QString TPulses::PulseText(qint32 id) const
{
    const TPulseItem &item = Item(id);
    return TTulloUtilString::PadLeft(QString::number(item.PulseLow), 3, u' ') + QLatin1Char('-')
           + TTulloUtilString::PadLeft(QString::number(item.PulseHigh), 3, u' ');
}

int TPulses::PulseCount() const
{
    return int(std::count_if(m_items.cbegin(), m_items.cend(),
                             [](const TPulseItem &item) { return item.State != TItemState::Deleted; }));
}

void TPulses::GetPulseIds(QList<qint32> &ids) const
{
    ids.clear();
    for (const TPulseItem &item : m_items) {
        if (item.State != TItemState::Deleted)
            ids.append(item.PulseId);
    }
}

void TPulses::Normalise(int &low, int &high)
{
    if (high < low)
        std::swap(low, high);
    // Holding both limits in range, not only the low one from below and the
    // high one from above, keeps low <= high also when both lie outside
    // (1500-1200 becomes 999-999, not 1200-999).
    low = std::clamp(low, 0, highestPulse);
    high = std::clamp(high, 0, highestPulse);
}

const TPulseItem &TPulses::Item(qint32 id) const
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(),
                                 [id](const TPulseItem &item) { return item.PulseId == id; });
    if (it == m_items.cend())
        throw EPulse(QStringLiteral("Pulse 01"));
    return *it;
}

TPulseItem &TPulses::Item(qint32 id)
{
    return const_cast<TPulseItem &>(std::as_const(*this).Item(id));
}
