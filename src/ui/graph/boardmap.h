#pragma once

#include "settings/playmode.h"

#include <QColor>
#include <QPoint>

#include <array>
#include <utility>

class GraphData;

// The dartboard's arithmetic: hit rates of the targets, the board order of the targets,
// the ten-step colour scale and the wedge geometry in the board picture's pixels.
namespace BoardMap {

inline constexpr int Wedges = 20;
inline constexpr int Positions = 21; // the wedges, then the bull
inline constexpr int Steps = 10;
inline constexpr QPoint Centre{120, 120};
inline constexpr int Radius = 100;
inline constexpr int BullRadius = 15;

using Scale = std::array<QColor, Steps>;

// The percentage of hits of a target (column 1 to 21) over all games, an empty cell
// counting as a game with the value 0.
double HitRate(const GraphData &data, int column, Mode playMode);

// The recent-table column read by a board position: counter-clockwise from 3 o'clock, then the
// bull.
qint16 SegmentTarget(int position);

// 0 to 9 by tens, 9 for every rate from 90 up; -1 below zero (and for a rate that is no number).
int colourStep(double rate);
// The colours the legend swatches are painted with.
Scale defaultScale();
// A field's colour from its rate and the scale as the legend holds it.
QColor fieldColour(double rate, const Scale &scale);

// The two radial end points of a wedge, rounded to whole pixels, in counter-clockwise order.
std::pair<QPoint, QPoint> wedgeEndPoints(int position);

} // namespace BoardMap
