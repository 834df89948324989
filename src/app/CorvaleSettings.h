#pragma once

#include "app/SettingsValues.h"

#include <QFlags>
#include <QtGlobal>

class TDefRegistry;

// What the last store of settings changed.
enum class TSettingsChange : quint8 { Nothing = 1, Records = 2, Summary = 4, LapCalculation = 8, Search = 16 };
Q_DECLARE_FLAGS(TSettingsChanges, TSettingsChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSettingsChanges)

// Holds the settings record and the change set of its last store.
class TCorvaleSettings
{
public:
    const TSettingsValues &GetValues() const { return m_values; }
    // Validates and stores the record. A negative count raises
    // ECorvaleSettingsError "CorvaleSettings 01".."04" (RecordNum, RecordSets,
    // RecordReps, RecordWNum, checked in that order) and stores nothing.
    // Returns true when nothing changed.
    bool SetValues(const TSettingsValues &values);
    TSettingsChanges GetChangeSet() const { return m_changes; }
    // The current course is no preference: setting it leaves the change set
    // of the last store alone.
    void SetCurrentCourse(qint32 courseNr) { m_values.CurrentCourse = courseNr; }

    // Reads the record from the open key of the per-user store (the key
    // Settings below the program's key); a count that reads as unusable keeps
    // its default.
    static TSettingsValues Read(const TDefRegistry &registry);
    // Writes the stored values in their stored forms to the open key.
    static void Write(TDefRegistry &registry, const TSettingsValues &values);

private:
    TSettingsValues m_values;
    TSettingsChanges m_changes = TSettingsChange::Nothing;
};
