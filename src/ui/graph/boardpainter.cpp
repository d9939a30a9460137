#include "ui/graph/boardpainter.h"

#include "platform/colourpair.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QRectF BoardBox(BoardMap::Centre.x() - BoardMap::Radius,
                      BoardMap::Centre.y() - BoardMap::Radius, 2 * BoardMap::Radius,
                      2 * BoardMap::Radius);
const QRectF BullBox(BoardMap::Centre.x() - BoardMap::BullRadius,
                     BoardMap::Centre.y() - BoardMap::BullRadius, 2 * BoardMap::BullRadius,
                     2 * BoardMap::BullRadius);

// Counter-clockwise degrees from 3 o'clock, as the painter's arcs count them.
double degreesOf(const QPoint &point) {
    const QPoint d = point - BoardMap::Centre;
    return qRadiansToDegrees(std::atan2(double(-d.y()), double(d.x())));
}

// The wedge runs exactly through the rounded end points, whatever the arc's own ends are.
QPainterPath wedge(int position) {
    const auto [start, end] = BoardMap::wedgeEndPoints(position);
    const double startDegrees = degreesOf(start);
    double span = degreesOf(end) - startDegrees;
    if (span <= 0)
        span += 360;
    QPainterPath path(BoardMap::Centre);
    path.lineTo(start);
    path.arcTo(BoardBox, startDegrees, span);
    path.lineTo(end);
    path.closeSubpath();
    return path;
}

} // namespace

namespace BoardPainter {

void DrawBoard(QImage &image, const FieldColours &colours, const QColor &background) {
    QPainter painter(&image);
    if (ColourPair::contrast(Qt::black, background) < ColourPair::LineContrast) {
        painter.setPen(QPen(ColourPair::farthest(background), 1));
        painter.drawEllipse(BoardBox.adjusted(-1, -1, 1, 1));
    }
    // Even wedges are outlined in their own colour; the odd wedges' black outlines then
    // give all twenty radii.
    for (int position = 0; position < BoardMap::Wedges; position += 2) {
        painter.setPen(QPen(colours[position], 1));
        painter.setBrush(colours[position]);
        painter.drawPath(wedge(position));
    }
    painter.setPen(QPen(Qt::black, 1));
    for (int position = 1; position < BoardMap::Wedges; position += 2) {
        painter.setBrush(colours[position]);
        painter.drawPath(wedge(position));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(BoardBox);
    painter.setBrush(colours[BoardMap::Wedges]);
    painter.drawEllipse(BullBox);
}

} // namespace BoardPainter
