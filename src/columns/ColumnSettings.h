#pragma once

#include "columns/ActivityColumns.h"

#include <QList>
#include <QString>

#include <memory>

class TDbConnection;
class TDbQuery;

// One named column setting of the activity list: which catalogue columns
// it shows. A live setting has an id above 0.
struct TColumnSet
{
    qint32 Id = -1;
    QString Name;
    TColumnKindSet Columns;
};

// The named column settings of the activity list, kept in the tables
// ColumnSettingNames (one row per setting) and ColumnSettings (one row per
// column of a setting, holding the column kind's stored name), and the id of
// the current setting (-1 when none).
//
// Every setting added holds the Id column. Errors are EColumnSettings
// "ColumnSettings 01" to "11" (with EColumnSettingsMultipleId and
// EColumnSettingsNoId where said); using the database before SetDatabase
// raises EDbMiscError "Query är nil", failing statements the database
// layer's EDbClientError.
class TColumnSettings
{
public:
    // The name of the setting made when a diary has none.
    static const QString DefaultSettingName;
    // Names are kept to this many characters.
    static constexpr int MaxNameLength = 30;

    TColumnSettings();
    ~TColumnSettings();

    TColumnSettings(const TColumnSettings &) = delete;
    TColumnSettings &operator=(const TColumnSettings &) = delete;

    // The connection, owned by the caller. None: "01". A connection that is
    // not open is opened and closed once to test it.
    void SetDatabase(TDbConnection *database);

    // Writes every live setting in one transaction: the rows of both tables
    // are deleted, then each setting's name row and one row per column, in
    // array order. On a failure the transaction is rolled back, so the
    // stored settings stay as they were, and the error passes on; memory is
    // left as it is.
    void SaveToDb();

    // Reads every setting, ordered by name; the last one becomes current.
    // A column row naming an unknown kind is ignored. On a failure memory is
    // left empty and the error passes on.
    void LoadFromDb();
    // When no live setting exists, adds "< Grundinställning >" with the
    // columns Date, Activity, Place, Weight, Comment and Id; it becomes
    // current. It stays in memory only.
    void EnsureDefaultSetting();
    // Empties memory; the current id becomes -1.
    void Clear();

    // Appends a setting with the cleaned name and the columns plus Id; it
    // becomes current. An id <= 0: "05"; an id in use: "04"
    // (EColumnSettingsMultipleId).
    void Add(qint32 id, const QString &name, TColumnKindSet columns);
    // Replaces name (cleaned) and columns (plus Id) of a setting; the
    // current setting stays. An id <= 0: "05"; none: "06"
    // (EColumnSettingsNoId).
    void Update(qint32 id, const QString &name, TColumnKindSet columns);
    // Marks the setting deleted (its id becomes -1; it stays in memory until
    // the next load and is not saved) and makes a neighbour current
    // (SelectNeighbour). An id <= 0: "05"; none: "09".
    void Delete(qint32 id);
    // After the setting at `index` was marked deleted: the nearest live
    // setting before it becomes current, else the nearest after it, else
    // the current id becomes -1. An index outside memory: "11"
    // (EColumnSettingsNoId).
    void SelectNeighbour(int index);
    // The setting with the id. An id <= 0: "05"; none: "03"
    // (EColumnSettingsNoId).
    TColumnSet Get(qint32 id) const;
    // The ids of the live settings in load order.
    QList<qint32> GetIds() const;
    // 1 + the largest live id, at least 1.
    qint32 NextFreeId() const;
    int Count() const;
    bool Exists(qint32 id) const;
    // An id <= 0: "05"; none: "10".
    void SetCurrent(qint32 id);
    qint32 GetCurrent() const { return m_current; }

    // A name as it is kept: without "&", line feeds and tabs as blanks,
    // without carriage returns, trimmed, "X" when nothing is left, at most
    // MaxNameLength characters.
    static QString CleanSettingName(const QString &name);

private:
    int IndexOf(qint32 id) const;
    TDbQuery &Query();

    QList<TColumnSet> m_settings;
    qint32 m_current = -1;
    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
};
