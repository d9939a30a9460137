#include "ui/graph/boardmap.h"

#include "settings/playmode.h"
#include "ui/graph/graphdata.h"

#include <cmath>

namespace {

constexpr double WedgeAngle = 0.314159265358979;

constexpr std::array<qint16, BoardMap::Positions> Targets = {6, 13, 4, 18, 1, 20, 5, 12, 9,  14, 11,
                                                             8, 16, 7, 19, 3, 17, 2, 15, 10, 21};

// Only a history file holding negative values gives a negative rate.
constexpr QRgb NegativeColour = qRgb(2, 0, 0);

QPoint rimPoint(double angle) {
    return QPoint(int(std::lround(BoardMap::Centre.x() + BoardMap::Radius * std::cos(angle))),
                  int(std::lround(BoardMap::Centre.y() - BoardMap::Radius * std::sin(angle))));
}

} // namespace

namespace BoardMap {

double HitRate(const GraphData &data, int column, Mode playMode) {
    const int games = data.rowCount();
    if (games == 0)
        return 0;
    double sum = 0;
    for (int row = 0; row < games; ++row)
        sum += data.value(row, column);
    const double average = sum / games;
    if (playMode == Mode::A)
        return average == 0 ? 0 : 100 / average; // darts needed per hit
    return average / 3 * 100;                    // hits out of three darts
}

qint16 SegmentTarget(int position) {
    return Targets.at(position);
}

int colourStep(double rate) {
    for (int step = Steps - 1; step >= 0; --step) {
        if (rate >= step * 10)
            return step;
    }
    return -1;
}

Scale defaultScale() {
    return {QColor(255, 0, 0),     QColor(255, 100, 100), QColor(255, 150, 150),
            QColor(255, 190, 190), QColor(255, 220, 220), QColor(220, 255, 220),
            QColor(190, 255, 190), QColor(150, 255, 150), QColor(100, 255, 100),
            QColor(0, 255, 0)};
}

QColor fieldColour(double rate, const Scale &scale) {
    const int step = colourStep(rate);
    return step < 0 ? QColor(NegativeColour) : scale[step];
}

std::pair<QPoint, QPoint> wedgeEndPoints(int position) {
    const double start = -WedgeAngle / 2 + position * WedgeAngle;
    return {rimPoint(start), rimPoint(start + WedgeAngle)};
}

} // namespace BoardMap
