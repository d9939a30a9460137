#pragma once

#include <QtGlobal>

// The two games the program keeps apart: each has a history, averages and a keypad of its own.
inline constexpr qint32 ModeA = 1; // darts needed per target
inline constexpr qint32 ModeB = 2; // hits of three darts
