#pragma once

#include "stats/hitrate.h"

#include <QString>

// The statistics as the windows write them: percentages with the program's "0.0" pattern.
namespace StatsText {

// 0.3333 gives "33.3".
QString percent(double fraction);
// "6.1–79.2".
QString range(const HitRate::Range &range);
// Signed points between two rates: "+4.1", "-2.3", "0.0".
QString change(double fromFraction, double toFraction);

} // namespace StatsText
