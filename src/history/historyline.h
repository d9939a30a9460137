#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QStringList>

// The history line: one stored game, "yyyy/MM/dd HH:mm:ss" and the 21 values, each after a ",",
// as 8-bit text; lines end in CR LF, oldest game first.
namespace HistoryLine {

inline constexpr int Values = 21;

// The stored date-time text of a moment, "yyyy/MM/dd HH:mm:ss".
QByteArray stamp(const QDateTime &time);

// A card value as it is stored: a two-character text beginning with "0" becomes its number.
QString storedValue(const QString &text);

// The line for a card saved at a moment: always 21 commas, missing values are empty.
QByteArray build(const QDateTime &time, const QStringList &cardTexts);

} // namespace HistoryLine
