#pragma once

#include "settings/playmode.h"

#include <QString>
#include <QStringList>

// The rules of the this-time card that depend on the play mode, and its total and average.
class ThisTimeCard {
public:
    struct Totals {
        QString total;
        QString average; // empty while no field is filled
    };

    // The maximum length of an entry field: 2 in mode A, 1 in mode B.
    static int maxLength(Mode playMode);
    // A keypad value brought into the range of the mode: 0 to 99 in mode A, 0 to 9 in mode B.
    static int clamp(Mode playMode, int value);
    // Mode B accepts exactly one of "0", "1", "2", "3".
    static bool isModeBValue(const QString &text);
    // Sum of the fields' values and its average over the filled (non-empty) fields.
    static Totals totals(const QStringList &fieldTexts, Mode playMode);
    // The step a keypad button stands for, read from its caption ("+3", "-10").
    static int stepValue(const QString &caption);
    // A field's value moved by a step; saturates instead of overflowing, the mode's clamp follows.
    static int steppedValue(const QString &fieldText, int step);
};
