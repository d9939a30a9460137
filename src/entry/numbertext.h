#pragma once

#include "settings/playmode.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Numbers as the program shows and reads them: the two display patterns and the
// lenient reading of the number a text begins with.
namespace NumberText {

enum class Pattern {
    OneDecimal, // "0.0"
    TwoDecimals // "0.#0": our rule for the open point is two decimals always (3 gives 3.00)
};

// Rounds half away from zero on the decimal value written with 15 significant digits,
// as a desktop number formatter does (2.25 gives 2.3, 1.005 gives 1.01).
QString format(double value, Pattern pattern);

// The average pattern of a play mode: "0.0" in mode A, "0.#0" in mode B.
Pattern averagePattern(Mode playMode);

// Whole numbers (totals) without exponent, whatever their size.
QString formatWhole(double value);

// The number a text begins with (after leading blanks): sign, digits, fraction, exponent.
// 0 when the text does not begin with a number.
double leadingValue(QStringView text);
// The same for 8-bit text; plain decimals, nearly every cell, are read without a conversion.
double leadingValue(QByteArrayView text);

} // namespace NumberText
