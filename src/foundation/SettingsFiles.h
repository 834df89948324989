#pragma once

#include <QString>

#include <memory>

class QSettings;

// Where the program keeps what lives outside the diary databases.
//
// The two settings stores (the per-user one and the machine-wide one) are INI
// files in the settings folder: by default ~/.config/Tullo, or the folder
// named by the environment variable TERNVALL_CONFIG_DIR. Keys are addressed by
// their full path below "\Software\Tullo\Corvale\Settings"; the part after
// that prefix becomes the group in the INI file ("...\Settings\Database" is the
// group "Database", the key itself is the top level).
//
// The diary databases live by default in ~/.local/share/Tullo/Corvale/Databases/,
// or in the folder named by TERNVALL_DATA_DIR.
namespace SettingsFiles
{
enum class THive { User, Machine };

inline constexpr const char *KeyRoot = "\\Software\\Tullo\\Corvale\\Settings";
inline constexpr const char *ConfigDirVariable = "TERNVALL_CONFIG_DIR";
inline constexpr const char *DataDirVariable = "TERNVALL_DATA_DIR";

QString SettingsFolder();
QString StoreFile(THive hive);

// The default folder of the diary databases, ending with "/".
QString DefaultDatabaseFolder();

// The INI group of a key path. Raises EException for a path outside the
// program's key tree.
QString Group(const QString &keyPath);

// Opens a store on its file; the caller owns the result.
std::unique_ptr<QSettings> OpenStore(THive hive);
}
