#pragma once

#include "foundation/Exceptions.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// The thin layer over the database client. A diary database is a Firebird
// database reached through QtSql's QIBASE driver: a plain file path opens it
// with the embedded engine inside this process, "host:/folder/file.gdb" goes
// through a Firebird server.
//
// Every failed call of the client (open, prepare, execute, commit, rollback)
// raises EDbClientError; nothing is silently ignored.

// Why a database could not be opened, as far as the engine's answer tells.
enum class TDbOpenFailure {
    Other,        // none of the below, or not a failure to open
    Unreachable,  // no database engine or server answered
    Damaged,      // the file is no database, or is cut short or damaged
    AccessDenied, // this user may not read or write the file
    InUse,        // another program has the database open
    LoginRefused, // the user name or password was refused
};

// The client's error: wraps the driver's error with the engine's message.
class EDbClientError : public EException
{
public:
    explicit EDbClientError(const QString &message) : EException(message) {}
    EDbClientError(const QSqlError &error, const QString &context);

    const QString &DriverText() const noexcept { return m_driverText; }
    const QString &DatabaseText() const noexcept { return m_databaseText; }
    const QString &NativeCode() const noexcept { return m_nativeCode; }
    // Set by TDbConnection::Open; Other for every other failure.
    TDbOpenFailure OpenFailure() const noexcept { return m_openFailure; }
    void SetOpenFailure(TDbOpenFailure failure) noexcept { m_openFailure = failure; }

private:
    QString m_driverText;
    QString m_databaseText;
    QString m_nativeCode;
    TDbOpenFailure m_openFailure = TDbOpenFailure::Other;
};

// One connection with its default transaction. Statements run outside an
// explicit transaction commit on their own; StartTransaction .. Commit or
// Rollback groups statements into one unit.
class TDbConnection
{
public:
    // `connectionName` must be unique in the process.
    explicit TDbConnection(const QString &connectionName = QStringLiteral("Corvale"));
    ~TDbConnection();

    TDbConnection(const TDbConnection &) = delete;
    TDbConnection &operator=(const TDbConnection &) = delete;

    // The database: a file path, or "host:path" for a server.
    void SetDatabaseName(const QString &name);
    QString DatabaseName() const { return m_databaseName; }

    // The login as parameter lines "USER_NAME=..." and "PASSWORD=...".
    QStringList &Params() { return m_params; }

    // Opens with SQL dialect 3 and character set UTF8. Raises EDbClientError
    // with the engine's message when the file is missing or damaged, the
    // server cannot be reached or the login is refused; its OpenFailure
    // tells which. Nothing is written to a file that fails to open.
    void Open();
    // Closes; an open transaction is rolled back.
    void Close();
    bool Connected() const;

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }

    QString ConnectionName() const { return m_connectionName; }
    QSqlDatabase Database() const;

    // Runs a select of one whole number in a read-only transaction of its
    // own, apart from the default transaction, and returns the number (0 for
    // no row or null). Raises EDbClientError when not connected or when the
    // engine refuses the statement.
    qint64 ReadOnlyNumber(const QString &statement);
    // The engine's forced writes of the open database: when on, every commit
    // waits until the disk holds the pages written.
    bool ForcedWrites();
    // Switches the forced writes of the open database on. Raises
    // EDbClientError with the engine's message when it refuses.
    void SwitchForcedWritesOn();

private:
    QString ParamValue(const QString &name) const;
    // The engine's handle of the open database.
    quintptr NativeHandle() const;

    QString m_connectionName;
    QString m_databaseName;
    QStringList m_params;
    bool m_inTransaction = false;
};

// Rolls the connection's transaction back when it goes out of scope before
// Commit was reached, so that an exception never leaves half an entry behind.
class TDbTransactionGuard
{
public:
    explicit TDbTransactionGuard(TDbConnection &connection);
    ~TDbTransactionGuard();

    TDbTransactionGuard(const TDbTransactionGuard &) = delete;
    TDbTransactionGuard &operator=(const TDbTransactionGuard &) = delete;

    void Commit();

private:
    TDbConnection &m_connection;
    bool m_done = false;
};

// A forward-only query whose statement is a buffer of lines with named
// parameters (":snr"). The buffer and the parameters stay until Clear.
class TDbQuery
{
public:
    explicit TDbQuery(TDbConnection &connection);
    ~TDbQuery();

    TDbQuery(const TDbQuery &) = delete;
    TDbQuery &operator=(const TDbQuery &) = delete;

    // Statement buffer. Clear also forgets the bound parameters and closes
    // an open result.
    QStringList &SQL() { return m_lines; }
    const QStringList &SQL() const { return m_lines; }
    void Clear();
    void Add(const QString &line);
    QString Text() const;

    // Parameters by name, without the colon.
    void SetInteger(const QString &name, qint64 value);
    void SetText(const QString &name, const QString &value);
    void SetFloat(const QString &name, double value);
    void SetDate(const QString &name, const QDate &value);
    bool HasParam(const QString &name) const;
    QVariant Param(const QString &name) const;

    // Runs a select and stands on its first row (Eof when there is none).
    void Open();
    // Runs any other statement.
    void ExecSQL();
    // Rows touched by the last ExecSQL.
    int RowsAffected() const { return m_rowsAffected; }

    bool Active() const { return m_active; }
    bool Eof() const { return m_eof; }
    void Next();
    void Close();

    // Fields of the current row. A name or position that is not in the
    // result, or reading when no row is current, raises EDbClientError.
    int FieldCount() const;
    int FieldIndex(const QString &name) const;
    // The name of a result column as the engine reports it (upper case for
    // unquoted names).
    QString FieldName(int index) const;
    // The number of decimals of a result column (0 for all but decimals).
    int FieldScale(int index) const;
    bool FieldIsNull(int index) const;
    bool FieldIsNull(const QString &name) const { return FieldIsNull(FieldIndex(name)); }
    // The value as text: empty for null, decimals with the column's scale
    // and "." ("80.00" for a numeric(18,2) holding 80), dates "yyyy-MM-dd".
    // Character columns are returned as stored; the callers trim.
    QString FieldAsText(int index) const;
    QString FieldAsText(const QString &name) const { return FieldAsText(FieldIndex(name)); }
    // The value as a number; 0 for null. A text that is no number raises
    // EDbClientError.
    double FieldAsFloat(int index) const;
    double FieldAsFloat(const QString &name) const { return FieldAsFloat(FieldIndex(name)); }
    qint64 FieldAsInteger(int index) const;
    qint64 FieldAsInteger(const QString &name) const { return FieldAsInteger(FieldIndex(name)); }

private:
    void Prepare();
    QVariant CurrentValue(int index) const;

    TDbConnection &m_connection;
    QStringList m_lines;
    QMap<QString, QVariant> m_params;
    QSqlQuery m_query;
    QStringList m_fieldNames;
    QList<int> m_fieldScales;
    mutable QHash<QString, int> m_fieldIndexes; // by name as asked and in upper case
    bool m_active = false;
    bool m_eof = true;
    int m_rowsAffected = -1;
};

// Closes a query when it goes out of scope, so that a failure while reading
// rows never leaves the result open.
class TDbQueryCloser
{
public:
    explicit TDbQueryCloser(TDbQuery &query) : m_query(query) {}
    ~TDbQueryCloser() { m_query.Close(); }

    TDbQueryCloser(const TDbQueryCloser &) = delete;
    TDbQueryCloser &operator=(const TDbQueryCloser &) = delete;

private:
    TDbQuery &m_query;
};

// Makes the embedded engine usable for the current user; called before the
// first connection. Safe to call repeatedly.
void PrepareDatabaseEngine();

// The forced writes of the database `path`, read and set through an
// attachment of their own. Both raise EDbClientError with the engine's
// message when the database cannot be attached or refuses the setting.
bool DbForcedWrites(const QString &path, const QString &user, const QString &password);
void DbSetForcedWrites(const QString &path, const QString &user, const QString &password, bool on);

// The version text of the database client library ("LI-V3.0.11..."), or
// empty when the library cannot be loaded or does not answer.
QString ClientLibraryVersion();
