#include "model/ActivityName.h"

#include "foundation/DbMisc.h"

#include <iterator>
#include <utility>

namespace
{
struct TDefaultActivity
{
    const char *Code;
    const char *Name;
};

// The built-in activity types in the order of the default list.
constexpr TDefaultActivity DefaultActivities[] = {
    {"RUN", "Löpning"},      {"SKI", "Längdåkning"}, {"WOR", "Styrketräning"},     {"FLO", "Innebandy"},
    {"GOL", "Golf"},         {"SPI", "Spinning"},    {"TRE", "Vandring"},          {"DOW", "Utförsåkning"},
    {"BIK", "Cykling"},      {"SKA", "Skridskor"},   {"TEN", "Tennis"},            {"AER", "Aerobics"},
    {"DAN", "Dans"},         {"BLO", "Viktmätning"}, {"OTH", "Övrig"},             {"SWI", "Simning"},
    {"SOC", "Fotboll"},      {"HOC", "Ishockey"},    {"CAR", "Kondition"},         {"CAN", "Kanot"},
    {"CAM", "Konditionsmätning"}, {"INL", "Inlines"},
};

const TDefaultActivity *findDefault(const QString &code)
{
    for (const auto &activity : DefaultActivities) {
        if (code.compare(QLatin1String(activity.Code), Qt::CaseInsensitive) == 0)
            return &activity;
    }
    return nullptr;
}

[[noreturn]] void raiseUnknownActivity(const QString &what)
{
    throw EActivityName(QStringLiteral("Aktiviteten %1 finns ej").arg(what));
}
} // namespace

TActivityNames::TActivityNames()
{
    AddDefaults();
}

TActivityNames::~TActivityNames() = default;

QStringList TActivityNames::DefaultCodes()
{
    QStringList codes;
    codes.reserve(int(std::size(DefaultActivities)));
    for (const auto &activity : DefaultActivities)
        codes.append(QString::fromLatin1(activity.Code));
    return codes;
}

QString TActivityNames::DefaultNameOfCode(const QString &code)
{
    const TDefaultActivity *activity = findDefault(code);
    return activity ? QString::fromUtf8(activity->Name) : QString();
}

void TActivityNames::AddDefaults()
{
    for (const auto &activity : DefaultActivities) {
        const QString code = QString::fromLatin1(activity.Code);
        if (IndexOfCode(code) >= 0)
            continue;
        m_codes.append(code);
        m_names.append(UniqueName(QString::fromUtf8(activity.Name)));
        AddSummaryCode(code);
    }
}

QString TActivityNames::UniqueName(const QString &name) const
{
    if (IndexOfName(name) < 0)
        return name;
    // Names has n entries, so among name and the n numbered variants at
    // least one is free.
    const int tries = int(m_names.size());
    for (int number = 2; number < tries + 2; ++number) {
        const QString candidate = name + QString::number(number);
        if (IndexOfName(candidate) < 0)
            return candidate;
    }
    return name;
}

void TActivityNames::Open()
{
    if (m_database) {
        if (m_open)
            throw EActivityName(QStringLiteral("ActivityName 01"));
        m_query = std::make_unique<TDbQuery>(*m_database);
        m_open = true;
    }
    try {
        Load();
    } catch (...) {
        // Not opened after all, so that opening may be tried again.
        m_open = false;
        m_query.reset();
        throw;
    }
}

void TActivityNames::Close()
{
    m_database = nullptr;
    m_query.reset();
    m_open = false;
    ClearLists();
}

void TActivityNames::SetDatabase(TDbConnection *database)
{
    m_database = database;
    // A query belongs to one connection; the next statement makes a new one.
    m_query.reset();
}

TDbQuery &TActivityNames::Query()
{
    if (!m_query)
        m_query = std::make_unique<TDbQuery>(*m_database);
    return *m_query;
}

void TActivityNames::Load()
{
    if (!m_database)
        throw EActivityName(QStringLiteral("ActivityName 02"));

    TDbQuery &query = Query();
    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("select ActivityShortName, ActivityName, SummarySelected"));
    DbMisc::AddLine(&query, QStringLiteral("from ActivityNames"));
    query.Open();

    // Read into fresh lists so that a failing read leaves the old ones.
    QStringList codes, names, summaryCodes;
    QList<TOtherRow> otherRows;
    std::swap(codes, m_codes);
    std::swap(names, m_names);
    std::swap(summaryCodes, m_summaryCodes);
    std::swap(otherRows, m_otherRows);
    try {
        for (; !query.Eof(); query.Next()) {
            const TDefaultActivity *activity =
                findDefault(DbMisc::GetColumn(&query, QStringLiteral("ActivityShortName"), DbMisc::vkText));
            // A type this program does not know (written by a later version)
            // has no class to make its entries with: it is not listed, but
            // its row is kept and written back by Save. A code listed twice
            // would give one type two names; the first row counts.
            if (!activity) {
                m_otherRows.append({DbMisc::GetColumn(&query, QStringLiteral("ActivityShortName"), DbMisc::vkText),
                                    DbMisc::GetColumn(&query, QStringLiteral("ActivityName"), DbMisc::vkText),
                                    DbMisc::GetColumn(&query, QStringLiteral("SummarySelected"), DbMisc::vkInteger)});
                continue;
            }
            const QString code = QString::fromLatin1(activity->Code);
            if (IndexOfCode(code) >= 0)
                continue;
            QString name = DbMisc::GetColumn(&query, QStringLiteral("ActivityName"), DbMisc::vkText);
            if (name.isEmpty())
                name = QString::fromUtf8(activity->Name);
            // The factory finds types by display name, so no two may share
            // one.
            m_codes.append(code);
            m_names.append(UniqueName(name));
            if (DbMisc::GetColumn(&query, QStringLiteral("SummarySelected"), DbMisc::vkInteger) == QLatin1String("1"))
                AddSummaryCode(code);
        }
    } catch (...) {
        query.Close();
        m_codes = std::move(codes);
        m_names = std::move(names);
        m_summaryCodes = std::move(summaryCodes);
        m_otherRows = std::move(otherRows);
        throw;
    }
    query.Close();
    AddDefaults();
}

void TActivityNames::Save()
{
    if (!m_database)
        throw EActivityName(QStringLiteral("ActivityName 03"));

    TDbQuery &query = Query();
    TDbTransactionGuard transaction(*m_database);

    query.Clear();
    DbMisc::AddLine(&query, QStringLiteral("delete from ActivityNames"));
    query.ExecSQL();

    auto insertRow = [&query](const QString &code, const QString &name, const QString &selected, bool nullable) {
        query.Clear();
        DbMisc::AddLine(&query, QStringLiteral("insert into ActivityNames"));
        DbMisc::AddLine(&query, QStringLiteral("(ActivityShortName, ActivityName, SummarySelected )"));
        DbMisc::AddLine(&query, QStringLiteral("values("));
        DbMisc::AddValue(&query, QStringLiteral("asn"), DbMisc::vkText, QStringLiteral(","), false, code);
        DbMisc::AddValue(&query, QStringLiteral("an"), DbMisc::vkText, QStringLiteral(","), nullable, name);
        DbMisc::AddValue(&query, QStringLiteral("ss"), DbMisc::vkInteger, QStringLiteral(")"), nullable, selected);
        query.ExecSQL();
    };
    for (int i = 0; i < Count(); ++i)
        insertRow(m_codes.at(i), m_names.at(i),
                  IsSummaryCode(m_codes.at(i)) ? QStringLiteral("1") : QStringLiteral("0"), false);
    for (const TOtherRow &row : std::as_const(m_otherRows))
        insertRow(row.Code, row.Name, row.Selected, true);
    query.Clear();
    transaction.Commit();
}

QString TActivityNames::NameOfCode(const QString &code) const
{
    const int index = IndexOfCode(code);
    if (index < 0)
        raiseUnknownActivity(code);
    return m_names.at(index);
}

QString TActivityNames::CodeOfName(const QString &name) const
{
    const int index = IndexOfName(name);
    if (index < 0)
        raiseUnknownActivity(name);
    return m_codes.at(index);
}

bool TActivityNames::HasCode(const QString &code) const
{
    return IndexOfCode(code) >= 0;
}

bool TActivityNames::HasName(const QString &name) const
{
    return IndexOfName(name) >= 0;
}

void TActivityNames::GetCodes(QStringList *list) const
{
    if (!list)
        throw EActivityName(QStringLiteral("ActivityName 06"));
    *list = m_codes;
}

void TActivityNames::GetNames(QStringList *list) const
{
    if (!list)
        throw EActivityName(QStringLiteral("ActivityName 07"));
    *list = m_names;
}

void TActivityNames::GetSummaryCodes(QStringList *list) const
{
    if (!list)
        throw EActivityName(QStringLiteral("ActivityName 09"));
    *list = m_summaryCodes;
}

bool TActivityNames::IsSummaryCode(const QString &code) const
{
    return m_summaryCodes.contains(code, Qt::CaseInsensitive);
}

bool TActivityNames::SetNames(QStringList *list)
{
    if (!list)
        throw EActivityName(QStringLiteral("ActivityName 08"));
    if (list->size() != m_names.size())
        throw EActivityName(QStringLiteral("ActivityName 11"));

    // Names are read back trimmed, so they are held trimmed as well; a cut
    // may leave a blank at the end.
    for (QString &name : *list) {
        name = name.trimmed();
        if (name.size() > MaxNameLength)
            name = name.left(MaxNameLength).trimmed();
    }
    for (int i = 1; i < list->size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (list->at(i).compare(list->at(j), Qt::CaseInsensitive) == 0)
                throw EActivityName(
                    QStringLiteral("Två aktiviteter med samma namn är ej tillåtet. %1").arg(list->at(i)));
        }
    }

    // A name whose letter case alone was changed counts as a change: every
    // list that shows the names must show the new spelling.
    bool changed = false;
    for (const QString &name : std::as_const(m_names)) {
        if (!list->contains(name, Qt::CaseSensitive)) {
            changed = true;
            break;
        }
    }
    m_names = *list;
    Save();
    return changed;
}

bool TActivityNames::SetSummaryCodes(QStringList *list)
{
    if (!list)
        throw EActivityName(QStringLiteral("ActivityName 10"));
    for (const QString &code : std::as_const(*list)) {
        if (IndexOfCode(code) < 0)
            raiseUnknownActivity(code);
    }

    QStringList previous;
    std::swap(previous, m_summaryCodes);
    for (const QString &code : std::as_const(*list))
        AddSummaryCode(m_codes.at(IndexOfCode(code)));

    bool changed = previous.size() != m_summaryCodes.size();
    for (const QString &code : std::as_const(previous)) {
        if (!IsSummaryCode(code)) {
            changed = true;
            break;
        }
    }
    Save();
    return changed;
}

int TActivityNames::IndexOfCode(const QString &code) const
{
    for (int i = 0; i < m_codes.size(); ++i) {
        if (m_codes.at(i).compare(code, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TActivityNames::IndexOfName(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TActivityNames::AddSummaryCode(const QString &code)
{
    // Sorted without regard to case; a code already selected is ignored.
    auto position = m_summaryCodes.begin();
    for (; position != m_summaryCodes.end(); ++position) {
        const int order = position->compare(code, Qt::CaseInsensitive);
        if (order == 0)
            return;
        if (order > 0)
            break;
    }
    m_summaryCodes.insert(position, code);
}

void TActivityNames::ClearLists()
{
    m_names.clear();
    m_codes.clear();
    m_summaryCodes.clear();
    m_otherRows.clear();
}
