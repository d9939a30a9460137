#include "stats/statstext.h"

#include "entry/numbertext.h"

#include <cmath>

namespace StatsText {

QString percent(double fraction) {
    return NumberText::format(fraction * 100, NumberText::Pattern::OneDecimal);
}

QString range(const HitRate::Range &range) {
    return percent(range.low) + QChar(0x2013) + percent(range.high);
}

QString change(double fromFraction, double toFraction) {
    const double points = (toFraction - fromFraction) * 100;
    const QString size = NumberText::format(std::abs(points), NumberText::Pattern::OneDecimal);
    if (size == QStringLiteral("0.0"))
        return size;
    return (points > 0 ? QStringLiteral("+") : QStringLiteral("-")) + size;
}

} // namespace StatsText
