#pragma once

// What the files of the main window share among themselves.

#include <QString>

namespace MainWindow
{
// The id of the main window's busy periods.
inline const QString BusyId = QStringLiteral("Corvale");
// The activity counter's text: "aktivitet" / "aktiviteter".
inline const QString ActivityPlural = QStringLiteral("aktivitet#\\er#");
}
