#pragma once

#include "foundation/DbClient.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The activity types' fixed three-letter codes and the display names the
// user gives them, kept in the table ActivityNames, together with the codes
// chosen for the summaries.
//
// Names and Codes are index-aligned, one entry per activity type; every
// look-up in them ignores letter case. SummaryCodes is kept sorted and
// without duplicates. A new object already holds the 22 built-in types with
// their default names; it is later opened on a user's diary.
//
// Every fault raises EActivityName: the program's ids "ActivityName 01" ..
// "ActivityName 11", or a Swedish message naming the activity.
class TActivityNames
{
public:
    // Display names are stored with at most this many characters.
    static constexpr int MaxNameLength = 19;

    TActivityNames();
    ~TActivityNames();

    TActivityNames(const TActivityNames &) = delete;
    TActivityNames &operator=(const TActivityNames &) = delete;

    // The built-in list: the 22 codes in their fixed order, and the default
    // display name of a code (empty for a code that is not one of them; the
    // code compares without regard to case).
    static QStringList DefaultCodes();
    static QString DefaultNameOfCode(const QString &code);

    // Appends every built-in code that is not yet listed, with its default
    // name made unique, and selects it for the summaries.
    void AddDefaults();
    // `name` when no display name equals it, otherwise the first free one of
    // name + "2", name + "3", ...
    QString UniqueName(const QString &name) const;

    // With a database set: creates the query ("ActivityName 01" when already
    // open). Then Load, which raises "ActivityName 02" without a database;
    // when Load fails the list stays unopened.
    void Open();
    // Forgets the database and the query and empties all three lists.
    void Close();
    // Borrows the connection; an open list moves its query to it.
    void SetDatabase(TDbConnection *database);
    TDbConnection *GetDatabase() const { return m_database; }
    bool IsOpen() const { return m_open; }

    // Reads the table again and completes it with AddDefaults. A row whose
    // code is not a built-in code is not listed but kept aside and written
    // back unchanged by Save; a second row of the same code is ignored; a row
    // without a name gets the code's default name, and a name already taken
    // by an earlier row is made unique, so that every display name stands for
    // exactly one type. A failing read raises the database layer's error and
    // leaves the lists as they were. No database: "ActivityName 02".
    void Load();
    // Replaces the table's rows by the lists, and the rows of unknown types
    // Load kept aside, in one transaction; on any
    // failure the transaction is rolled back, the table keeps its previous
    // rows and the database layer's error is raised. No database:
    // "ActivityName 03".
    void Save();

    // "Aktiviteten <code> finns ej" / "Aktiviteten <name> finns ej" when not
    // listed.
    QString NameOfCode(const QString &code) const;
    QString CodeOfName(const QString &name) const;
    bool HasCode(const QString &code) const;
    bool HasName(const QString &name) const;

    // Clear `list` and copy into it. No list: "ActivityName 06", "07", "09".
    void GetCodes(QStringList *list) const;
    void GetNames(QStringList *list) const;
    void GetSummaryCodes(QStringList *list) const;
    bool IsSummaryCode(const QString &code) const;

    int Count() const { return int(m_codes.size()); }

    // Takes the edited display names, one per code in list order, and saves.
    // The names are trimmed and those of more than MaxNameLength characters
    // cut, in `list` itself.
    // No list "ActivityName 08", another count than Count "ActivityName 11",
    // a name that occurs twice (ignoring case) "Två aktiviteter med samma
    // namn är ej tillåtet. <name>"; on these the names stay as they were.
    // Returns whether some current name is no longer in the list. A failing
    // Save leaves the new names in memory and raises its error.
    bool SetNames(QStringList *list);
    // Takes the codes chosen for the summaries and saves. No list
    // "ActivityName 10", a code that is not listed "Aktiviteten <code> finns
    // ej"; on these the selection stays as it was. Returns whether the
    // selection changed.
    bool SetSummaryCodes(QStringList *list);

private:
    // A row of a type this program does not know, as read.
    struct TOtherRow
    {
        QString Code;
        QString Name;
        QString Selected;
    };

    int IndexOfCode(const QString &code) const;
    int IndexOfName(const QString &name) const;
    void AddSummaryCode(const QString &code);
    void ClearLists();
    TDbQuery &Query();

    QStringList m_names;
    QStringList m_codes;
    QStringList m_summaryCodes;
    QList<TOtherRow> m_otherRows;
    TDbConnection *m_database = nullptr;
    std::unique_ptr<TDbQuery> m_query;
    bool m_open = false;
};
