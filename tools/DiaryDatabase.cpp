#include "DiaryDatabase.h"

#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>

#include <ibase.h>

namespace DiaryDatabase
{
QString DatabaseFolder(const QString &folder)
{
    QString chosen = folder.trimmed();
    if (chosen.isEmpty())
        chosen = SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->value(QStringLiteral("Database/Location")).toString().trimmed();
    if (chosen.isEmpty())
        chosen = SettingsFiles::DefaultDatabaseFolder();
    chosen = QDir::cleanPath(QDir(chosen).absolutePath());
    return chosen.endsWith(QLatin1Char('/')) ? chosen : chosen + QLatin1Char('/');
}

QStringList SplitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < n ? script.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = script.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text runs to the closing quote; a doubled quote stays inside.
            current += c;
            for (++i; i < n; ++i) {
                current += script.at(i);
                if (script.at(i) == c) {
                    if (i + 1 < n && script.at(i + 1) == c)
                        current += script.at(++i);
                    else
                        break;
                }
            }
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

namespace
{
QString quoted(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + result + QLatin1Char('\'');
}

QString statusText(const ISC_STATUS *status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector)) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

void createEmptyDatabase(const QString &path, const QString &user, const QString &password)
{
    const QByteArray statement = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8")
                                     .arg(quoted(path), quoted(user), quoted(password))
                                     .toUtf8();
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, statement.constData(), SQL_DIALECT_V6, nullptr))
        throw EDbClientError(QStringLiteral("Kunde inte skapa databasen %1: %2").arg(path, statusText(status)));
    if (isc_detach_database(status, &db))
        throw EDbClientError(QStringLiteral("Kunde inte stänga databasen %1: %2").arg(path, statusText(status)));
}
}

bool ForcedWrites(const QString &path, const QString &user, const QString &password)
{
    return DbForcedWrites(path, user, password);
}

void SetForcedWrites(const QString &path, const QString &user, const QString &password, bool on)
{
    DbSetForcedWrites(path, user, password, on);
}

void Create(const QString &path, const QString &schemaFile, const QString &user, const QString &password)
{
    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EException(QStringLiteral("Kan inte läsa schemafilen %1: %2").arg(schemaFile, schema.errorString()));
    const QStringList statements = SplitStatements(QString::fromUtf8(schema.readAll()));
    if (statements.isEmpty())
        throw EException(QStringLiteral("Schemafilen %1 innehåller inga satser").arg(schemaFile));

    if (QFileInfo::exists(path))
        throw EException(QStringLiteral("Databasen %1 finns redan och lämnas orörd").arg(path));

    PrepareDatabaseEngine();
    createEmptyDatabase(path, user, password);

    // From here on the file is ours: remove it again if the schema cannot be
    // completed, so that no half-made diary is left for the program to open.
    try {
        static QAtomicInt serial;
        TDbConnection connection(QStringLiteral("DiaryDatabase-create-%1").arg(serial.fetchAndAddRelaxed(1)));
        connection.SetDatabaseName(path);
        connection.Params() = {QStringLiteral("USER_NAME=") + user, QStringLiteral("PASSWORD=") + password};
        connection.Open();
        {
            // Data definition goes straight to the driver: it affects no rows,
            // and each statement commits on its own.
            QSqlQuery query(connection.Database());
            for (const QString &statement : statements) {
                if (!query.exec(statement))
                    throw EDbClientError(query.lastError(), QStringLiteral("I satsen \"%1\"").arg(statement.left(200)));
            }
        }
        connection.Close();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}
}
