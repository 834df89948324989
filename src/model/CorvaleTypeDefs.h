#pragma once

#include <QtGlobal>

// The state of an item of a reference register (exercises, programs, pulse
// intervals, goals). Changes stay in memory until the register is applied:
// a New item is then inserted, a Stored one updated and a Deleted one
// deleted and dropped from memory.
enum class TItemState : quint8 { New = 0, Stored = 1, Deleted = 2 };
