#pragma once

#include <QString>
#include <QStringList>

// Creating a new, empty diary database from the schema file. Used by the
// installer, the sample diary generator and the tests; the program itself
// never creates or alters a database.
namespace DiaryDatabase
{
inline constexpr const char *DefaultUser = "SYSDBA";
inline constexpr const char *DefaultPassword = "hollyfern";

// The folder of the diary databases, absolute and ending with "/": `folder`
// when given, else the folder recorded in the machine-wide settings, else the
// default database folder.
QString DatabaseFolder(const QString &folder = QString());

// The statements of a script, split at semicolons that stand outside quotes
// and comments; comments are dropped, empty statements skipped.
QStringList SplitStatements(const QString &script);

// Creates the database file `path` (dialect 3, character set UTF8) and runs
// every statement of `schemaFile` in it. Never touches an existing file: if
// `path` exists, raises EException and leaves it as it is. On any failure
// after the file was created, the new file is removed again. Raises
// EException for an unreadable schema and EDbClientError for the engine's
// complaints.
void Create(const QString &path, const QString &schemaFile,
            const QString &user = QString::fromLatin1(DefaultUser),
            const QString &password = QString::fromLatin1(DefaultPassword));

// The engine's forced writes of a database: when on, every commit waits
// until the disk holds the pages written. Both raise EDbClientError with the
// engine's message when the database cannot be attached.
bool ForcedWrites(const QString &path, const QString &user, const QString &password);
void SetForcedWrites(const QString &path, const QString &user, const QString &password, bool on);
}
