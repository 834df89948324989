#include "columns/ColumnSettings.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DbMisc.h"

#include <algorithm>

namespace
{
QString errorId(const char *number)
{
    return QStringLiteral("ColumnSettings ") + QLatin1String(number);
}

void checkId(qint32 id)
{
    if (id <= 0)
        throw EColumnSettings(errorId("05"));
}

TColumnKindSet withId(TColumnKindSet columns)
{
    columns.Include(TColumnKind::cId);
    return columns;
}
}

const QString TColumnSettings::DefaultSettingName = QStringLiteral("< Grundinställning >");

TColumnSettings::TColumnSettings() = default;
TColumnSettings::~TColumnSettings() = default;

void TColumnSettings::SetDatabase(TDbConnection *database)
{
    if (!database)
        throw EColumnSettings(errorId("01"));
    if (!database->Connected()) {
        database->Open();
        database->Close();
    }
    m_database = database;
    m_query = std::make_unique<TDbQuery>(*database);
}

TDbQuery &TColumnSettings::Query()
{
    if (!m_query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
    return *m_query;
}

void TColumnSettings::Clear()
{
    m_settings.clear();
    m_current = -1;
}

void TColumnSettings::LoadFromDb()
{
    Clear();
    TDbQuery &query = Query();
    try {
        {
            TDbQueryCloser closer(query);
            query.Clear();
            query.Add(QStringLiteral("select ColumnId, ColumnSettingName from ColumnSettingNames order by ColumnSettingName"));
            query.Open();
            while (!query.Eof()) {
                Add(qint32(query.FieldAsInteger(0)), query.FieldAsText(1).trimmed(), TColumnKindSet());
                query.Next();
            }
        }
        for (TColumnSet &setting : m_settings) {
            TDbQueryCloser closer(query);
            query.Clear();
            query.Add(QStringLiteral("select ColumnSetting from ColumnSettings where ColumnId = :ci"));
            query.SetInteger(QStringLiteral("ci"), setting.Id);
            query.Open();
            TColumnKindSet columns;
            while (!query.Eof()) {
                TColumnKind kind;
                if (ColumnKindOfName(query.FieldAsText(0).trimmed(), kind))
                    columns.Include(kind);
                query.Next();
            }
            setting.Columns = withId(columns);
        }
    } catch (...) {
        Clear();
        throw;
    }
    m_current = m_settings.isEmpty() ? -1 : m_settings.constLast().Id;
}

void TColumnSettings::SaveToDb()
{
    TDbQuery &query = Query();
    // The deletes and the inserts are one unit: a failing insert must leave
    // the settings the diary held, not some of the new ones.
    TDbTransactionGuard transaction(*m_database);
    query.Clear();
    query.Add(QStringLiteral("delete from ColumnSettings"));
    query.ExecSQL();
    query.Clear();
    query.Add(QStringLiteral("delete from ColumnSettingNames"));
    query.ExecSQL();
    for (const TColumnSet &setting : std::as_const(m_settings)) {
        if (setting.Id <= 0)
            continue;
        query.Clear();
        query.Add(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values(:ci, :cn)"));
        query.SetInteger(QStringLiteral("ci"), setting.Id);
        query.SetText(QStringLiteral("cn"), setting.Name.left(MaxNameLength));
        query.ExecSQL();
        for (int ordinal = 0; ordinal < ColumnKindCount; ++ordinal) {
            const auto kind = TColumnKind(ordinal);
            if (!setting.Columns.Contains(kind))
                continue;
            query.Clear();
            query.Add(QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values(:ci, :cn)"));
            query.SetInteger(QStringLiteral("ci"), setting.Id);
            query.SetText(QStringLiteral("cn"), ColumnKindName(kind));
            query.ExecSQL();
        }
    }
    query.Clear();
    transaction.Commit();
}

void TColumnSettings::EnsureDefaultSetting()
{
    if (Count() > 0)
        return;
    Add(NextFreeId(), DefaultSettingName,
        {TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cPlace, TColumnKind::cWeight, TColumnKind::cComment});
}

int TColumnSettings::IndexOf(qint32 id) const
{
    if (id <= 0)
        return -1;
    for (int i = 0; i < m_settings.size(); ++i) {
        if (m_settings.at(i).Id == id)
            return i;
    }
    return -1;
}

void TColumnSettings::Add(qint32 id, const QString &name, TColumnKindSet columns)
{
    checkId(id);
    if (IndexOf(id) >= 0)
        throw EColumnSettingsMultipleId(errorId("04"));
    m_settings.append(TColumnSet{id, CleanSettingName(name), withId(columns)});
    m_current = id;
}

void TColumnSettings::Update(qint32 id, const QString &name, TColumnKindSet columns)
{
    checkId(id);
    const int index = IndexOf(id);
    if (index < 0)
        throw EColumnSettingsNoId(errorId("06"));
    m_settings[index].Name = CleanSettingName(name);
    m_settings[index].Columns = withId(columns);
}

void TColumnSettings::Delete(qint32 id)
{
    checkId(id);
    const int index = IndexOf(id);
    if (index < 0)
        throw EColumnSettings(errorId("09"));
    m_settings[index].Id = -1;
    SelectNeighbour(index);
}

void TColumnSettings::SelectNeighbour(int index)
{
    if (index < 0 || index >= m_settings.size())
        throw EColumnSettingsNoId(errorId("11"));
    for (int i = index; i >= 0; --i) {
        if (m_settings.at(i).Id > 0) {
            m_current = m_settings.at(i).Id;
            return;
        }
    }
    for (int i = index + 1; i < m_settings.size(); ++i) {
        if (m_settings.at(i).Id > 0) {
            m_current = m_settings.at(i).Id;
            return;
        }
    }
    m_current = -1;
}

TColumnSet TColumnSettings::Get(qint32 id) const
{
    checkId(id);
    const int index = IndexOf(id);
    if (index < 0)
        throw EColumnSettingsNoId(errorId("03"));
    return m_settings.at(index);
}

QList<qint32> TColumnSettings::GetIds() const
{
    QList<qint32> ids;
    for (const TColumnSet &setting : m_settings) {
        if (setting.Id > 0)
            ids.append(setting.Id);
    }
    return ids;
}

qint32 TColumnSettings::NextFreeId() const
{
    qint32 highest = 0;
    for (const TColumnSet &setting : m_settings)
        highest = std::max(highest, setting.Id);
    return highest + 1;
}

int TColumnSettings::Count() const
{
    return int(std::count_if(m_settings.cbegin(), m_settings.cend(), [](const TColumnSet &s) { return s.Id > 0; }));
}

bool TColumnSettings::Exists(qint32 id) const
{
    return IndexOf(id) >= 0;
}

void TColumnSettings::SetCurrent(qint32 id)
{
    checkId(id);
    if (IndexOf(id) < 0)
        throw EColumnSettings(errorId("10"));
    m_current = id;
}

QString TColumnSettings::CleanSettingName(const QString &name)
{
    QString cleaned;
    cleaned.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'&' || c == u'\r')
            continue;
        cleaned += (c == u'\n' || c == u'\t') ? QChar(u' ') : c;
    }
    cleaned = cleaned.trimmed();
    if (cleaned.isEmpty())
        cleaned = QStringLiteral("X");
    return cleaned.left(MaxNameLength);
}
