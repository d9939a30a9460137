#pragma once

#include <QColor>
#include <QString>

#include <array>

// The 22 series of the chart (targets 1 to 20, the bull and the game average), each named by
// the recent-table column it reads, and how their shown states are kept in the settings.
namespace GraphSeries {

inline constexpr int Count = 22;
inline constexpr qint16 Bull = 21;
inline constexpr qint16 Average = 23;

// Series indices in drawing order: 1 to 21, then the average.
inline constexpr std::array<qint16, Count> Indices = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, Bull, Average};

using Selection = std::array<bool, Count>; // shown states in the order of Indices

QString caption(qint16 index);
QColor colour(qint16 index);

QString defaultSettingsText();
// Series 1 to 21 from characters 1 to 21, the average from the last character; only "1" is on,
// a missing character is off.
Selection selectionFromText(const QString &text);
QString selectionToText(const Selection &selection);

} // namespace GraphSeries
