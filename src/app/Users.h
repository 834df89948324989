#pragma once

#include <QString>

// The four user slots. Each slot's diary is the file "Corvale<n>.gdb" in
// one shared folder. A folder written as "host:/folder/" is on a database
// server and is not looked at on this machine.
class TUsers
{
public:
    int GetNumber() const { return m_number; }
    // Raises EUsers "Users 01" below 1 and "Users 02" above 4. A new number
    // also names the user "Användare <n>".
    void SetNumber(int number);

    QString GetName() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }

    // The folder, ending with "/".
    QString GetLocation() const { return m_location; }
    // Raises EUsers "Users 04" and keeps the old folder when the folder does
    // not hold the current slot's file.
    void SetLocation(const QString &folder);

    QString GetDbFileName() const;
    QString GetDbPath() const;
    QString GetDbPathOf(int number) const;

    // True for a folder on a database server ("host:/folder/").
    static bool IsRemote(const QString &location);
    // The folder with a "/" at its end.
    static QString WithSeparator(const QString &folder);

private:
    int m_number = 1;
    QString m_name = QStringLiteral("Användare");
    QString m_location;
};
