#pragma once

#include <QtGlobal>

// The play mode: the two games the program keeps apart, each with a history, averages and a
// keypad of its own. Stored as "A" or "B" in the settings.
enum class Mode : qint32 {
    A = 1, // darts needed per target, 0 to 99
    B = 2, // hits of three darts, 0 to 3
};
