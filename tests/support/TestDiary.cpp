#include "TestDiary.h"

#include "DiaryDatabase.h"
#include "foundation/SettingsFiles.h"

#include <QAtomicInt>
#include <QDir>
#include <QSettings>

namespace
{
QString uniqueConnectionName()
{
    static QAtomicInt serial;
    return QStringLiteral("TestDiary-%1").arg(serial.fetchAndAddRelaxed(1));
}
}

TTestDiary::TTestDiary()
{
    if (!m_dir.isValid())
        throw EException(QStringLiteral("Kan inte skapa en tillfällig mapp"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    DiaryDatabase::Create(DatabasePath(), QStringLiteral(TERNVALL_SCHEMA_FILE));
    m_connection = std::make_unique<TDbConnection>(uniqueConnectionName());
    m_connection->SetDatabaseName(DatabasePath());
    m_connection->Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
    m_connection->Open();
}

TTestDiary::~TTestDiary() = default;

QString TTestDiary::Folder() const
{
    return m_dir.path() + QStringLiteral("/data/");
}

QString TTestDiary::DatabasePath() const
{
    return Folder() + QStringLiteral("Corvale1.gdb");
}

TTestFolders::TTestFolders(TStartHelp startHelp)
    : m_oldConfig(qgetenv(SettingsFiles::ConfigDirVariable)), m_oldData(qgetenv(SettingsFiles::DataDirVariable))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    qputenv(SettingsFiles::ConfigDirVariable, QFile::encodeName(SettingsFolder()));
    qputenv(SettingsFiles::DataDirVariable, QFile::encodeName(DataFolder()));
    // A test's diary is no first start of an installation: the start help
    // stays away unless a test asks for it.
    if (startHelp == TStartHelp::Quiet)
        SettingsFiles::OpenStore(SettingsFiles::THive::Machine)->setValue(QStringLiteral("ShowHelpAtStartup"), 0);
}

TTestFolders::~TTestFolders()
{
    auto restore = [](const char *name, const QByteArray &value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore(SettingsFiles::ConfigDirVariable, m_oldConfig);
    restore(SettingsFiles::DataDirVariable, m_oldData);
}

QString TTestFolders::SettingsFolder() const
{
    return m_dir.path() + QStringLiteral("/config");
}

QString TTestFolders::DataFolder() const
{
    return m_dir.path() + QStringLiteral("/data");
}

THeldDiary::THeldDiary(const QString &path)
{
    m_process.start(QStringLiteral(TERNVALL_HOLD_DIARY), {path});
    if (!m_process.waitForStarted(10000))
        throw EException(QStringLiteral("Kan inte starta %1").arg(QStringLiteral(TERNVALL_HOLD_DIARY)));
    QByteArray said;
    while (!said.contains("open\n") && m_process.state() == QProcess::Running && m_process.waitForReadyRead(10000))
        said += m_process.readAllStandardOutput();
    if (!said.contains("open\n"))
        throw EException(QStringLiteral("%1 kunde inte öppna %2: %3")
                             .arg(QStringLiteral(TERNVALL_HOLD_DIARY), path, QString::fromLocal8Bit(m_process.readAllStandardError())));
}

THeldDiary::~THeldDiary()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}
