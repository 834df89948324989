#pragma once

#include "foundation/Exceptions.h"
#include "foundation/SettingsFiles.h"

#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QString>

#include <memory>

class QSettings;
class QWidget;

// The program's store for what it remembers outside the diary: window
// places, list widths, sort orders, find histories, preferences, the user
// slots and the database folder. Keys are addressed by their full path
// ("\Software\Tullo\Corvale\Settings\MainWindow") in one of two hives, the
// per-user one and the machine-wide one (see SettingsFiles).
//
// Reading never fails for a missing value. Values are integers, strings and
// booleans stored as 1 and 0.
class TDefRegistry
{
public:
    using THive = SettingsFiles::THive;

    explicit TDefRegistry(THive hive = THive::User);
    ~TDefRegistry();

    TDefRegistry(const TDefRegistry &) = delete;
    TDefRegistry &operator=(const TDefRegistry &) = delete;

    THive Hive() const { return m_hive; }

    // Opens a key; a missing key is created when `canCreate` is set (a key
    // exists in the store once it holds a value), otherwise the result is
    // false and no key is open. Raises EException for a path outside the
    // program's key tree.
    bool OpenKey(const QString &key, bool canCreate);
    // Closes the open key and writes what was changed to the store.
    void CloseKey();
    bool KeyIsOpen() const { return m_open; }
    bool KeyExists(const QString &key) const;
    bool ValueExists(const QString &name) const;

    // The default when the value does not exist; -1 when it exists but is no
    // integer.
    int ReadIntegerDef(const QString &name, int defaultValue) const;
    // The default when the value does not exist.
    QString ReadStringDef(const QString &name, const QString &defaultValue) const;
    // The default when the value does not exist; false when it is no integer.
    bool ReadBoolDef(const QString &name, bool defaultValue) const;

    // Writing needs an open key: without one ERegistry is raised.
    void WriteInteger(const QString &name, int value);
    void WriteString(const QString &name, const QString &value);
    void WriteBool(const QString &name, bool value);
    // Writes the larger of value and minimum.
    void WriteIntegerAtLeast(const QString &name, int value, int minimum);
    void DeleteValue(const QString &name);

    // Window geometry in the values Width, Height, XPosition, YPosition: the
    // place and size of the window's contents (QWidget::geometry), the same
    // on writing and reading, so that a window comes back exactly where it
    // was whatever frame the window system draws around it. Reading sets
    // each part whose value exists and leaves the others; a stored place
    // that lies off the screens is pulled onto the nearest one, and a window
    // with no stored place opens centred over its owner (see
    // TTulloUtilWindow). A missing form raises ERegistry "Invalid form".
    //
    // These four work on widgets and are built with the widget part of the
    // foundation (DefRegWindows.cpp).
    void WriteWindow(const QWidget *form);
    void ReadWindow(QWidget *form) const;
    void WritePosition(const QWidget *form);
    void ReadPosition(QWidget *form) const;

    // The items of a combo box as values "0", "1", ...: blank items are left
    // out without leaving gaps; higher numbers from an earlier, longer list
    // stay. Reading stops at the first missing number, skips blank values
    // and, in mode 0, adds a text only when the box does not hold it yet
    // (mode 1 adds it in any case).
    template <class Combo> void WriteComboStrings(const Combo *combo);
    template <class Combo> void ReadComboStrings(Combo *combo, int mode) const;

private:
    QString Key(const QString &name) const;
    void RequireOpenKey() const;
    // True when XPosition or YPosition exists.
    bool ReadPlace(QPoint &position, QSize *size) const;
    void WritePlace(const QPoint &position, const QSize *size);
    QStringList ReadHistory() const;
    void WriteHistory(const QStringList &items);

    THive m_hive;
    std::unique_ptr<QSettings> m_store;
    QString m_group;
    bool m_open = false;
};

// Restores a window's geometry from its key in the per-user hive, with a
// registry of its own (ReadWindow), and writes it back (WriteWindow).
// Widget part of the foundation, like ReadWindow.
void LoadWindowState(const QString &key, QWidget *form);
void SaveWindowState(const QString &key, const QWidget *form);

template <class Combo> void TDefRegistry::WriteComboStrings(const Combo *combo)
{
    if (!combo)
        throw ERegistry(QStringLiteral("Invalid list passed to WriteComboStrings"));
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    WriteHistory(items);
}

template <class Combo> void TDefRegistry::ReadComboStrings(Combo *combo, int mode) const
{
    if (!combo)
        throw ERegistry(QStringLiteral("Invalid list passed to ReadComboStrings"));
    for (const QString &text : ReadHistory()) {
        if (mode != 0 || combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            combo->addItem(text);
    }
}
