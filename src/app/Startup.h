#pragma once

#include <QString>

class EDbClientError;

// The checks made before a diary is opened.
class TStartup
{
public:
    static constexpr const char *InstalledVersion = "2.3.0";

    // `driverName` is the QtSql driver the program uses.
    explicit TStartup(const QString &driverName = QStringLiteral("QIBASE"));

    // The database engine is usable: the driver loads and the client
    // library tells its version. Raises EInterbaseNotInstalled "CorvaleApp 02"
    // when the driver cannot be loaded and EInterbaseInvalidVersion
    // "CorvaleApp 03" when the client library does not answer.
    void CheckInterbase() const;
    // The installed data version recorded in the machine-wide store equals
    // "2.3.0". Below it by plain byte comparison (an absent value included):
    // EVersionNotUpgraded "CorvaleApp 04"; any other difference:
    // EVersionNotValid "CorvaleApp 05".
    void CheckVersion() const;

    // The text shown when the diary `path` could not be opened: what is
    // wrong and with which file, in Swedish, then the engine's own text.
    // Only a failure to reach the engine or server gives the text that the
    // database server is not started.
    static QString OpenFailureText(const EDbClientError &error, const QString &path);

private:
    QString m_driverName;
};
