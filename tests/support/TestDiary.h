#pragma once

#include "foundation/DbClient.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// A fresh diary database made from the project's own schema file in a
// temporary folder, with its own settings folder, so that a test never
// touches the real user's files. The connection is open when the
// constructor returns.
class TTestDiary
{
public:
    TTestDiary();
    ~TTestDiary();

    TDbConnection &Connection() { return *m_connection; }
    QString Folder() const;      // ends with "/"
    QString DatabasePath() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDbConnection> m_connection;
};

// Points the settings and data folders of this process at fresh temporary
// folders for the lifetime of the object.
class TTestFolders
{
public:
    // Quiet: the folders' machine-wide store says the start help was shown
    // already, so that opening a diary brings up no help window. AsInstalled
    // writes nothing, for the tests that check what a program wrote there.
    enum class TStartHelp { Quiet, AsInstalled };

    explicit TTestFolders(TStartHelp startHelp = TStartHelp::Quiet);
    ~TTestFolders();

    QString Root() const { return m_dir.path(); }
    QString SettingsFolder() const;
    QString DataFolder() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};

// A diary kept open by another process for the lifetime of the object, as
// by a second running program. Raises EException when that process could
// not open it.
class THeldDiary
{
public:
    explicit THeldDiary(const QString &path);
    ~THeldDiary();

private:
    QProcess m_process;
};
