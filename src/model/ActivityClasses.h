#pragma once

#include "model/Classhie.h"

#include <QString>

// The activity class that belongs to a fixed activity code ("RUN" is
// TRunning), or null for a code without a class in this program.
const TActivityClass *ActivityClassOfCode(const QString &code);
