#include "foundation/DbClient.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>

#include <ibase.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>
#include <unistd.h>

namespace
{
const QString driverName = QStringLiteral("QIBASE");

// Reads the names and scales of a result's columns from the statement's own
// description. QSqlQuery::record() would give the same, but the driver runs
// a query on the system tables for every decimal column to find it, which
// costs more than reading the rows of a small result.
bool DescribeColumns(const QSqlQuery &query, QStringList &names, QList<int> &scales)
{
    const QSqlResult *result = query.result();
    if (!result || !query.driver() || query.driver()->dbmsType() != QSqlDriver::Interbase)
        return false;
    const QVariant handle = result->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != int(sizeof(isc_stmt_handle)))
        return false;
    isc_stmt_handle statement = *static_cast<const isc_stmt_handle *>(handle.constData());
    if (!statement)
        return false;
    short capacity = 40;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<char> buffer(XSQLDA_LENGTH(capacity), 0);
        XSQLDA *sqlda = reinterpret_cast<XSQLDA *>(buffer.data());
        sqlda->version = SQLDA_VERSION1;
        sqlda->sqln = capacity;
        ISC_STATUS_ARRAY status = {};
        if (isc_dsql_describe(status, &statement, SQLDA_VERSION1, sqlda))
            return false;
        if (sqlda->sqld > sqlda->sqln) {
            capacity = sqlda->sqld;
            continue;
        }
        names.clear();
        scales.clear();
        for (int i = 0; i < sqlda->sqld; ++i) {
            const XSQLVAR &column = sqlda->sqlvar[i];
            names.append(QString::fromUtf8(column.aliasname, column.aliasname_length).simplified());
            scales.append(column.sqlscale < 0 ? -column.sqlscale : 0);
        }
        return true;
    }
    return false;
}

// The engine's own text of a status vector, its messages joined by the
// separator.
QString statusText(const ISC_STATUS *status, const QString &separator = QStringLiteral("\n"))
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector)) {
        if (!text.isEmpty())
            text += separator;
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

// A database parameter block with the login and, unless -1, the forced
// writes to set.
QByteArray parameterBlock(const QString &user, const QString &password, int forcedWrites)
{
    QByteArray block(1, char(isc_dpb_version1));
    auto addText = [&block](char item, const QString &text) {
        const QByteArray bytes = text.toUtf8().left(255);
        block.append(item);
        block.append(char(bytes.size()));
        block.append(bytes);
    };
    addText(char(isc_dpb_user_name), user);
    addText(char(isc_dpb_password), password);
    if (forcedWrites >= 0) {
        block.append(char(isc_dpb_force_write));
        block.append(char(1));
        block.append(char(forcedWrites));
    }
    return block;
}

// Attaches the database; 0 with the engine's answer in `status` when it
// cannot be attached.
isc_db_handle attach(const QString &path, const QByteArray &block, ISC_STATUS *status)
{
    PrepareDatabaseEngine();
    const QByteArray name = QFile::encodeName(path);
    isc_db_handle db = 0;
    if (isc_attach_database(status, short(name.size()), name.constData(), &db, short(block.size()), block.constData()))
        return 0;
    return db;
}

void detach(isc_db_handle &db)
{
    ISC_STATUS_ARRAY status{};
    isc_detach_database(status, &db);
}

bool forcedWritesOf(isc_db_handle db, const QString &path)
{
    const char items[] = {char(isc_info_forced_writes), char(isc_info_end)};
    char buffer[64] = {};
    ISC_STATUS_ARRAY status{};
    if (isc_database_info(status, &db, short(sizeof items), items, short(sizeof buffer), buffer)
        || buffer[0] != char(isc_info_forced_writes))
        throw EDbClientError(QStringLiteral("Kunde inte läsa databasens inställningar %1: %2").arg(path, statusText(status)));
    const short length = short(isc_vax_integer(buffer + 1, 2));
    return isc_vax_integer(buffer + 3, length) != 0;
}

// What the engine's answer to a failed attachment says about its cause.
TDbOpenFailure classifyOpenFailure(const ISC_STATUS *status)
{
    QList<ISC_STATUS> codes;
    QString ioOperation; // "open", "read", "lock", ... of an I/O error
    long systemError = 0;
    bool afterIoError = false;
    for (const ISC_STATUS *s = status; *s != isc_arg_end;) {
        const ISC_STATUS kind = *s++;
        if (kind == isc_arg_gds || kind == isc_arg_warning) {
            codes.append(*s);
            afterIoError = *s == isc_io_error;
            ++s;
        } else if (kind == isc_arg_unix || kind == isc_arg_win32) {
            systemError = long(*s++);
        } else if (kind == isc_arg_cstring) {
            s += 2;
        } else if (kind == isc_arg_string) {
            if (afterIoError && ioOperation.isEmpty())
                ioOperation = QString::fromLocal8Bit(reinterpret_cast<const char *>(*s));
            afterIoError = false;
            ++s;
        } else {
            ++s;
        }
    }
    auto has = [&codes](std::initializer_list<ISC_STATUS> wanted) {
        for (ISC_STATUS code : wanted) {
            if (codes.contains(code))
                return true;
        }
        return false;
    };
    if (has({isc_network_error, isc_net_connect_err, isc_net_connect_listen_err, isc_net_lookup_err, isc_net_init_error,
             isc_net_read_err, isc_net_write_err, isc_net_server_shutdown, isc_conn_lost, isc_unavailable}))
        return TDbOpenFailure::Unreachable;
    if (has({isc_login}))
        return TDbOpenFailure::LoginRefused;
    if (has({isc_already_opened}) || (has({isc_io_error}) && ioOperation == QLatin1String("lock")))
        return TDbOpenFailure::InUse;
    if (has({isc_no_priv}) || systemError == EACCES || systemError == EPERM || systemError == EROFS)
        return TDbOpenFailure::AccessDenied;
    if (has({isc_bad_db_format, isc_wrong_ods, isc_badodsver, isc_db_corrupt, isc_bad_checksum, isc_bug_check})
        || (has({isc_io_error}) && ioOperation == QLatin1String("read")))
        return TDbOpenFailure::Damaged;
    return TDbOpenFailure::Other;
}

QString errorMessage(const QSqlError &error)
{
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    if (database.isEmpty())
        return driver;
    if (driver.isEmpty())
        return database;
    return driver + QStringLiteral(": ") + database;
}
}

EDbClientError::EDbClientError(const QSqlError &error, const QString &context)
    : EException(context.isEmpty() ? errorMessage(error) : context + QStringLiteral(": ") + errorMessage(error)),
      m_driverText(error.driverText()),
      m_databaseText(error.databaseText()),
      m_nativeCode(error.nativeErrorCode())
{
}

void PrepareDatabaseEngine()
{
    // The embedded engine keeps its lock files in one folder per machine,
    // created by whoever used it first. Another user cannot write there, so
    // each user gets a folder of their own unless one was chosen.
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK") || ::geteuid() == 0)
        return;
    const QString folder = QDir::tempPath() + QStringLiteral("/ternvall-firebird-%1").arg(::geteuid());
    QDir().mkpath(folder);
    ::setenv("FIREBIRD_LOCK", QFile::encodeName(folder).constData(), 0);
}

bool DbForcedWrites(const QString &path, const QString &user, const QString &password)
{
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = attach(path, parameterBlock(user, password, -1), status);
    if (!db)
        throw EDbClientError(QStringLiteral("Kunde inte öppna databasen %1: %2").arg(path, statusText(status)));
    try {
        const bool on = forcedWritesOf(db, path);
        detach(db);
        return on;
    } catch (...) {
        detach(db);
        throw;
    }
}

void DbSetForcedWrites(const QString &path, const QString &user, const QString &password, bool on)
{
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = attach(path, parameterBlock(user, password, on ? 1 : 0), status);
    if (!db)
        throw EDbClientError(QStringLiteral("Kunde inte ändra databasens inställningar %1: %2").arg(path, statusText(status)));
    detach(db);
}

QString ClientLibraryVersion()
{
    // Looked up at run time: the program must start, and say what is
    // missing, also where the client library is not installed.
    QLibrary library(QStringLiteral("fbclient"), 2);
    using TGetVersion = void (*)(char *);
    const auto getVersion = reinterpret_cast<TGetVersion>(library.resolve("isc_get_client_version"));
    if (!getVersion)
        return QString();
    char buffer[256] = {};
    getVersion(buffer);
    buffer[sizeof buffer - 1] = 0;
    return QString::fromLatin1(buffer).trimmed();
}

// ---------------------------------------------------------------------------
// TDbConnection

TDbConnection::TDbConnection(const QString &connectionName) : m_connectionName(connectionName)
{
    PrepareDatabaseEngine();
    if (!QSqlDatabase::isDriverAvailable(driverName))
        throw EDbClientError(QStringLiteral("Databasdrivrutinen %1 finns inte installerad").arg(driverName));
    QSqlDatabase::addDatabase(driverName, m_connectionName);
}

TDbConnection::~TDbConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_inTransaction)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase TDbConnection::Database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TDbConnection::SetDatabaseName(const QString &name)
{
    m_databaseName = name;
}

QString TDbConnection::ParamValue(const QString &name) const
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString &line : m_params) {
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    }
    return QString();
}

void TDbConnection::Open()
{
    if (Connected())
        return;
    QSqlDatabase db = Database();
    db.setDatabaseName(m_databaseName);
    db.setHostName(QString());
    db.setUserName(ParamValue(QStringLiteral("USER_NAME")));
    db.setPassword(ParamValue(QStringLiteral("PASSWORD")));
    // The engine is asked on its own first: the driver passes on its text
    // but not its codes, and only the codes tell why a database does not
    // open. A failed attachment writes nothing; a successful one is kept
    // until the driver has its own, so that the engine keeps the database
    // open in between.
    ISC_STATUS_ARRAY status{};
    isc_db_handle probe = attach(m_databaseName, parameterBlock(db.userName(), db.password(), -1), status);
    if (!probe) {
        EDbClientError error(QSqlError(QStringLiteral("Error opening database"), statusText(status, QStringLiteral(" - ")),
                                       QSqlError::ConnectionError, QString::number(isc_sqlcode(status))),
                             QString());
        error.SetOpenFailure(classifyOpenFailure(status));
        throw error;
    }
    const bool opened = db.open();
    detach(probe);
    if (!opened)
        throw EDbClientError(db.lastError(), QString());
    m_inTransaction = false;
}

quintptr TDbConnection::NativeHandle() const
{
    const QSqlDatabase db = Database();
    if (!db.isOpen() || !db.driver())
        return 0;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != int(sizeof(isc_db_handle)))
        return 0;
    return quintptr(*static_cast<const isc_db_handle *>(handle.constData()));
}

qint64 TDbConnection::ReadOnlyNumber(const QString &statement)
{
    isc_db_handle db = isc_db_handle(NativeHandle());
    if (!db)
        throw EDbClientError(QStringLiteral("Databasen är inte ansluten"));
    ISC_STATUS_ARRAY status{};
    isc_tr_handle transaction = 0;
    static const char readOnly[] = {char(isc_tpb_version3), char(isc_tpb_read), char(isc_tpb_read_committed),
                                    char(isc_tpb_rec_version), char(isc_tpb_nowait)};
    if (isc_start_transaction(status, &transaction, 1, &db, short(sizeof readOnly), readOnly))
        throw EDbClientError(statusText(status));
    isc_stmt_handle query = 0;
    // Whatever happens below, the statement is freed and the transaction,
    // which changed nothing, is rolled back.
    struct TCleanup
    {
        isc_tr_handle &transaction;
        isc_stmt_handle &query;
        ~TCleanup()
        {
            ISC_STATUS_ARRAY ignored{};
            if (query)
                isc_dsql_free_statement(ignored, &query, DSQL_drop);
            if (transaction)
                isc_rollback_transaction(ignored, &transaction);
        }
    } cleanup{transaction, query};

    if (isc_dsql_allocate_statement(status, &db, &query))
        throw EDbClientError(statusText(status));
    std::vector<char> buffer(XSQLDA_LENGTH(1), 0);
    XSQLDA *row = reinterpret_cast<XSQLDA *>(buffer.data());
    row->version = SQLDA_VERSION1;
    row->sqln = 1;
    const QByteArray text = statement.toUtf8();
    // A damaged file often shows only when its pages are read: say so.
    auto fail = [&] {
        EDbClientError error(QStringLiteral("%1: %2").arg(statement, statusText(status)));
        if (classifyOpenFailure(status) == TDbOpenFailure::Damaged)
            error.SetOpenFailure(TDbOpenFailure::Damaged);
        throw error;
    };
    if (isc_dsql_prepare(status, &transaction, &query, 0, text.constData(), SQL_DIALECT_V6, row))
        fail();
    if (row->sqld != 1)
        throw EDbClientError(QStringLiteral("Satsen ger inte ett tal: %1").arg(statement));
    ISC_INT64 value = 0;
    short indicator = 0;
    XSQLVAR &column = row->sqlvar[0];
    column.sqltype = SQL_INT64 | 1;
    column.sqlscale = 0;
    column.sqllen = sizeof value;
    column.sqldata = reinterpret_cast<char *>(&value);
    column.sqlind = &indicator;
    if (isc_dsql_execute(status, &transaction, &query, SQL_DIALECT_V6, nullptr))
        fail();
    const ISC_STATUS fetched = isc_dsql_fetch(status, &query, SQL_DIALECT_V6, row);
    if (fetched != 0 && fetched != 100)
        fail();
    return fetched == 0 && indicator >= 0 ? qint64(value) : 0;
}

bool TDbConnection::ForcedWrites()
{
    const isc_db_handle db = isc_db_handle(NativeHandle());
    if (!db)
        throw EDbClientError(QStringLiteral("Databasen är inte ansluten"));
    return forcedWritesOf(db, m_databaseName);
}

void TDbConnection::SwitchForcedWritesOn()
{
    DbSetForcedWrites(m_databaseName, ParamValue(QStringLiteral("USER_NAME")), ParamValue(QStringLiteral("PASSWORD")), true);
}

void TDbConnection::Close()
{
    QSqlDatabase db = Database();
    if (!db.isOpen())
        return;
    if (m_inTransaction) {
        db.rollback();
        m_inTransaction = false;
    }
    db.close();
}

bool TDbConnection::Connected() const
{
    return Database().isOpen();
}

void TDbConnection::StartTransaction()
{
    if (m_inTransaction)
        throw EDbClientError(QStringLiteral("En transaktion är redan startad"));
    QSqlDatabase db = Database();
    if (!db.isOpen())
        throw EDbClientError(QStringLiteral("Databasen är inte ansluten"));
    if (!db.transaction())
        throw EDbClientError(db.lastError(), QString());
    m_inTransaction = true;
}

void TDbConnection::Commit()
{
    if (!m_inTransaction)
        throw EDbClientError(QStringLiteral("Ingen transaktion att bekräfta"));
    QSqlDatabase db = Database();
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        // The engine keeps the transaction after a failed commit; give it up
        // so that the connection is usable again and nothing half-written
        // stays behind.
        db.rollback();
        m_inTransaction = false;
        throw EDbClientError(error, QString());
    }
    m_inTransaction = false;
}

void TDbConnection::Rollback()
{
    if (!m_inTransaction)
        throw EDbClientError(QStringLiteral("Ingen transaktion att återställa"));
    QSqlDatabase db = Database();
    m_inTransaction = false;
    if (!db.rollback())
        throw EDbClientError(db.lastError(), QString());
}

// ---------------------------------------------------------------------------
// TDbTransactionGuard

TDbTransactionGuard::TDbTransactionGuard(TDbConnection &connection) : m_connection(connection)
{
    m_connection.StartTransaction();
}

TDbTransactionGuard::~TDbTransactionGuard()
{
    if (m_done || !m_connection.InTransaction())
        return;
    try {
        m_connection.Rollback();
    } catch (const EException &) {
        // Already unwinding or past the point of telling anyone: the engine
        // discards the transaction when the connection closes.
    }
}

void TDbTransactionGuard::Commit()
{
    m_connection.Commit();
    m_done = true;
}

// ---------------------------------------------------------------------------
// TDbQuery

TDbQuery::TDbQuery(TDbConnection &connection) : m_connection(connection)
{
}

TDbQuery::~TDbQuery()
{
    Close();
}

void TDbQuery::Clear()
{
    Close();
    m_lines.clear();
    m_params.clear();
}

void TDbQuery::Add(const QString &line)
{
    m_lines.append(line);
}

QString TDbQuery::Text() const
{
    return m_lines.join(QLatin1Char('\n'));
}

void TDbQuery::SetInteger(const QString &name, qint64 value)
{
    m_params.insert(name, QVariant::fromValue(value));
}

void TDbQuery::SetText(const QString &name, const QString &value)
{
    m_params.insert(name, QVariant(value));
}

void TDbQuery::SetFloat(const QString &name, double value)
{
    m_params.insert(name, QVariant(value));
}

void TDbQuery::SetDate(const QString &name, const QDate &value)
{
    if (!value.isValid())
        throw EDbClientError(QStringLiteral("Ogiltigt datum för parameter %1").arg(name));
    m_params.insert(name, QVariant(value));
}

bool TDbQuery::HasParam(const QString &name) const
{
    return m_params.contains(name);
}

QVariant TDbQuery::Param(const QString &name) const
{
    return m_params.value(name);
}

void TDbQuery::Prepare()
{
    Close();
    if (!m_connection.Connected())
        throw EDbClientError(QStringLiteral("Databasen är inte ansluten"));
    m_query = QSqlQuery(m_connection.Database());
    m_query.setForwardOnly(true);
    if (!m_query.prepare(Text()))
        throw EDbClientError(m_query.lastError(), QString());
    for (auto it = m_params.cbegin(); it != m_params.cend(); ++it)
        m_query.bindValue(QLatin1Char(':') + it.key(), it.value());
}

void TDbQuery::Open()
{
    Prepare();
    if (!m_query.exec()) {
        const QSqlError error = m_query.lastError();
        m_query.finish();
        throw EDbClientError(error, QString());
    }
    if (!m_query.isSelect()) {
        m_query.finish();
        throw EDbClientError(QStringLiteral("Satsen ger inga rader: %1").arg(Text()));
    }
    m_fieldIndexes.clear();
    if (!DescribeColumns(m_query, m_fieldNames, m_fieldScales)) {
        const QSqlRecord record = m_query.record();
        m_fieldNames.clear();
        m_fieldScales.clear();
        for (int i = 0; i < record.count(); ++i) {
            m_fieldNames.append(record.fieldName(i));
            m_fieldScales.append(record.field(i).precision());
        }
    }
    for (int i = 0; i < m_fieldNames.size(); ++i)
        m_fieldIndexes.insert(m_fieldNames.at(i).toUpper(), i);
    m_active = true;
    m_eof = !m_query.next();
    if (m_eof && m_query.lastError().isValid()) {
        const QSqlError error = m_query.lastError();
        Close();
        throw EDbClientError(error, QString());
    }
}

void TDbQuery::ExecSQL()
{
    Prepare();
    m_rowsAffected = -1;
    if (!m_query.exec()) {
        const QSqlError error = m_query.lastError();
        m_query.finish();
        throw EDbClientError(error, QString());
    }
    m_rowsAffected = m_query.numRowsAffected();
    m_query.finish();
}

void TDbQuery::Next()
{
    if (!m_active || m_eof)
        return;
    m_eof = !m_query.next();
    if (m_eof && m_query.lastError().isValid())
        throw EDbClientError(m_query.lastError(), QString());
}

void TDbQuery::Close()
{
    if (m_query.isActive())
        m_query.finish();
    m_fieldNames.clear();
    m_fieldScales.clear();
    m_fieldIndexes.clear();
    m_active = false;
    m_eof = true;
}

int TDbQuery::FieldCount() const
{
    return m_active ? int(m_fieldNames.size()) : 0;
}

int TDbQuery::FieldIndex(const QString &name) const
{
    if (!m_active)
        throw EDbClientError(QStringLiteral("Frågan är inte öppen (fält %1)").arg(name));
    // Rows are read field by field by name: the names are looked up in a
    // table made once per result rather than by walking the columns.
    auto found = m_fieldIndexes.constFind(name);
    if (found != m_fieldIndexes.constEnd())
        return found.value();
    int index = m_fieldIndexes.value(name.toUpper(), -1);
    if (index < 0)
        throw EDbClientError(QStringLiteral("Fältet %1 finns inte i resultatet").arg(name));
    m_fieldIndexes.insert(name, index);
    return index;
}

int TDbQuery::FieldScale(int index) const
{
    if (!m_active || index < 0 || index >= m_fieldScales.size())
        throw EDbClientError(QStringLiteral("Fält %1 finns inte i resultatet").arg(index));
    return m_fieldScales.at(index);
}

QString TDbQuery::FieldName(int index) const
{
    if (!m_active || index < 0 || index >= m_fieldNames.size())
        throw EDbClientError(QStringLiteral("Fält %1 finns inte i resultatet").arg(index));
    return m_fieldNames.at(index);
}

QVariant TDbQuery::CurrentValue(int index) const
{
    if (!m_active || m_eof)
        throw EDbClientError(QStringLiteral("Ingen aktuell rad"));
    if (index < 0 || index >= m_fieldNames.size())
        throw EDbClientError(QStringLiteral("Fält %1 finns inte i resultatet").arg(index));
    return m_query.value(index);
}

bool TDbQuery::FieldIsNull(int index) const
{
    const QVariant value = CurrentValue(index);
    return value.isNull();
}

QString TDbQuery::FieldAsText(int index) const
{
    const QVariant value = CurrentValue(index);
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const int scale = m_fieldScales.at(index);
        const double number = value.toDouble();
        if (scale > 0 && scale <= 18) {
            // std::to_chars rounds as QLocale does, at a fraction of the cost.
            char buffer[64];
            const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, scale);
            if (error == std::errc())
                return QString::fromLatin1(buffer, int(end - buffer));
            return QLocale::c().toString(number, 'f', scale);
        }
        QString text = QLocale::c().toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
        return text;
    }
    case QMetaType::QDate: {
        // Written by hand: QDate::toString goes through the calendar and a
        // format parser, which shows when thousands of rows are read.
        const QDate date = value.toDate();
        int year = date.year();
        if (!date.isValid() || year < 1 || year > 9999)
            return date.toString(QStringLiteral("yyyy-MM-dd"));
        const int month = date.month(), day = date.day();
        const char16_t text[10] = {char16_t(u'0' + year / 1000),       char16_t(u'0' + year / 100 % 10),
                                   char16_t(u'0' + year / 10 % 10),   char16_t(u'0' + year % 10),
                                   u'-',                               char16_t(u'0' + month / 10),
                                   char16_t(u'0' + month % 10),        u'-',
                                   char16_t(u'0' + day / 10),          char16_t(u'0' + day % 10)};
        return QString(reinterpret_cast<const QChar *>(text), 10);
    }
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

double TDbQuery::FieldAsFloat(int index) const
{
    const QVariant value = CurrentValue(index);
    if (value.isNull())
        return 0.0;
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString ? QLocale::c().toDouble(value.toString().trimmed(), &ok)
                                                                : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        throw EDbClientError(QStringLiteral("Fältet %1 är inte ett tal: %2").arg(index).arg(value.toString()));
    return number;
}

qint64 TDbQuery::FieldAsInteger(int index) const
{
    const QVariant value = CurrentValue(index);
    if (value.isNull())
        return 0;
    bool ok = false;
    qint64 number = 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        ok = std::isfinite(d) && std::fabs(d) < 9.2e18;
        number = ok ? qint64(std::llround(d)) : 0;
        break;
    }
    case QMetaType::QString:
        number = QLocale::c().toLongLong(value.toString().trimmed(), &ok);
        break;
    default:
        number = value.toLongLong(&ok);
    }
    if (!ok)
        throw EDbClientError(QStringLiteral("Fältet %1 är inte ett heltal: %2").arg(index).arg(value.toString()));
    return number;
}
