#include "ui/graph/chartpainter.h"

#include "platform/colourpair.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/graphseries.h"
#include "ui/graph/twocores.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int GridPenWidth = 1;
constexpr int LinePenWidth = 2;
constexpr int PointPenWidth = 5;
static_assert(PointPenWidth == 2 * ChartScale::Inset, "a point on an edge must show whole");
// How far a stroke may reach beyond half its pen's width, in pixels: its round ends are curves
// only close to a circle, its corners are moved onto a grid of 1/64 pixel, and a point is a
// line 1/63 long.
constexpr double StrokeSlack = 0.05;

// A point drawn on the centre of its pixel comes out round and even.
QPointF pixelCentre(const QPointF &point) {
    return QPointF(std::floor(point.x()) + 0.5, std::floor(point.y()) + 0.5);
}

// Whether every pixel a stroke of that width along lines within `bounds` could cover already
// has the colour: then the aliased stroke would change none. In a column of a million games the
// runs between empty cells lie on top of each other, and nearly all of them need no stroke.
bool painted(const QImage &image, const QRectF &bounds, int penWidth, const QColor &colour) {
    // Pixels read as QRgb, and an opaque colour is stored as itself.
    if (colour.alpha() != 255 || (image.format() != QImage::Format_RGB32 &&
                                  image.format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    const double scale = image.devicePixelRatio();
    const QRectF box(bounds.topLeft() * scale, bounds.bottomRight() * scale);
    const double reach = (penWidth / 2.0 + StrokeSlack) * scale;
    const QRgb wanted = colour.rgb();
    const uchar *const bits = image.constBits();
    const qsizetype lineBytes = image.bytesPerLine();
    const int width = image.width();
    // The pixels whose centres lie within reach of the box, row by row: beside the box as far
    // as the pen reaches, above and below it less far.
    const auto rowPainted = [&](int y, int left, int right) {
        const auto *pixels = reinterpret_cast<const QRgb *>(bits + y * lineBytes);
        const int from = std::clamp(left, 0, width), to = std::clamp(right + 1, from, width);
        return std::all_of(pixels + from, pixels + to,
                           [wanted](QRgb pixel) { return pixel == wanted; });
    };
    const auto leftOf = [&](double across) { return int(std::ceil(box.left() - across - 0.5)); };
    const auto rightOf = [&](double across) { return int(std::floor(box.right() + across - 0.5)); };
    const int besideLeft = leftOf(reach), besideRight = rightOf(reach);
    const int top = std::max(0, int(std::ceil(box.top() - reach - 0.5)));
    const int bottom = std::min(image.height() - 1, int(std::floor(box.bottom() + reach - 0.5)));
    for (int y = top; y <= bottom; ++y) {
        const double beyond = std::max(box.top() - (y + 0.5), y + 0.5 - box.bottom());
        const double across =
            beyond > 0 ? std::sqrt(std::max(reach * reach - beyond * beyond, 0.0)) : reach;
        if (!(beyond > 0 ? rowPainted(y, leftOf(across), rightOf(across))
                         : rowPainted(y, besideLeft, besideRight)))
            return false;
    }
    return true;
}

// Lays a transparent layer with opaque drawings on it over a picture of the same size.
void layOver(QImage &picture, const QImage &layer) {
    for (int y = 0; y < picture.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
        std::transform(from, from + picture.width(), to, to,
                       [](QRgb over, QRgb under) { return qAlpha(over) != 0 ? over : under; });
    }
}
} // namespace

ChartPainter::ChartPainter(QImage &image, const GraphData &data, const ChartScale &scale,
                           const QColor &background)
    : m_image(image)
    , m_data(data)
    , m_scale(scale)
    , m_background(background)
    , m_size(image.deviceIndependentSize().toSize())
    , m_columnStarts(scale.columnStarts(data.rowCount(), m_size.width())) {
    for (size_t value = 0; value < m_wholeY.size(); ++value)
        m_wholeY[value] = scale.toPixelY(double(value), m_size.height());
}

QList<qint16> ChartPainter::drawOrder(qint16 topSeries) {
    QList<qint16> order(GraphSeries::Indices.begin(), GraphSeries::Indices.end());
    if (topSeries != NoTopSeries)
        order.append(topSeries);
    return order;
}

void ChartPainter::DrawGraph(const ShownSeries &shown, qint16 topSeries,
                             const QList<double> &gridValues, const QColor &gridColour) {
    {
        QPainter painter(&m_image);
        painter.setPen(QPen(gridColour, GridPenWidth, Qt::DotLine));
        for (double value : gridValues)
            painter.drawLine(at(0, value), at(m_scale.right(), value));
    }
    QList<std::pair<qint16, QColor>> drawn;
    for (qint16 series : drawOrder(topSeries)) {
        const auto it = shown.find(series);
        if (it != shown.end()) {
            drawn.append(*it);
            m_data.codes(series); // read now, before two threads share the data
        }
    }
    // Lines are aliased, so a pixel shows the last opaque series drawn over it, whatever lay
    // under it: the later half of the series is drawn at the same time on a layer of its own,
    // laid over the picture afterwards.
    const bool opaque =
        std::ranges::all_of(drawn, [](const auto &it) { return it.second.alpha() == 255; });
    if (!opaque || m_image.format() != QImage::Format_RGB32) {
        for (const auto &[series, colour] : drawn)
            DrawSeries(m_image, series, colour);
        return;
    }
    QImage layer(m_image.size(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(m_image.devicePixelRatio());
    layer.fill(Qt::transparent);
    onTwoCores(drawn, [&](auto first, auto last, bool second) {
        for (auto it = first; it != last; ++it)
            DrawSeries(second ? layer : m_image, it->first, it->second);
    });
    layOver(m_image, layer);
}

void ChartPainter::DrawSeries(QImage &target, qint16 series, const QColor &colour) const {
    QPainter painter(&target);
    // The edge is one pixel either side of the line, under it.
    const bool edged = ColourPair::contrast(colour, m_background) < ColourPair::LineContrast;
    const QColor edge = ColourPair::farthest(m_background);
    const auto pens = [&](int width) {
        QList<QPen> pens;
        if (edged)
            pens.append(QPen(edge, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        pens.append(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        return pens;
    };
    const QList<QPen> line = pens(LinePenWidth), point = pens(PointPenWidth);
    // The values since the last empty cell form one line; a lone value is a point. A run
    // with an edge is always drawn: its edge covers what lies around its line.
    ThinnedPolyline run;
    QPolygonF points;
    const auto finishRun = [&] {
        const std::vector<ThinnedPolyline::Point> &thinned = run.points();
        if (run.values() == 1) {
            const QPointF centre = pixelCentre(at(thinned.front()));
            if (edged || !painted(target, QRectF(centre, centre), PointPenWidth, colour)) {
                for (const QPen &pen : point) {
                    painter.setPen(pen);
                    painter.drawPoint(centre);
                }
            }
        } else if (run.values() > 1) {
            points.clear();
            for (const ThinnedPolyline::Point &thinnedPoint : thinned)
                points.append(at(thinnedPoint));
            if (edged || !painted(target, points.boundingRect(), LinePenWidth, colour)) {
                // Segment by segment: one stroke of a long zigzag is far slower to fill.
                QList<QLineF> segments;
                segments.reserve(points.size() - 1);
                for (qsizetype i = 1; i < points.size(); ++i)
                    segments.append(QLineF(points[i - 1], points[i]));
                for (const QPen &pen : line) {
                    painter.setPen(pen);
                    painter.drawLines(segments);
                }
            }
        }
        run.clear();
    };
    const std::span<const quint8> codes = m_data.codes(series);
    for (size_t column = 0; column + 1 < m_columnStarts.size() && !codes.empty(); ++column) {
        for (int row = m_columnStarts[column]; row < m_columnStarts[column + 1]; ++row) {
            const quint8 code = codes[size_t(row)];
            if (code == GraphData::Empty)
                finishRun();
            else if (code == GraphData::Other)
                run.add(row, m_scale.toPixelY(m_data.value(row, series), m_size.height()));
            else
                run.add(row, m_wholeY[code]);
        }
        run.endColumn();
    }
    finishRun();
}

QPointF ChartPainter::at(double row, double value) const {
    return m_scale.toPixels(row, value, m_size);
}

QPointF ChartPainter::at(const ThinnedPolyline::Point &point) const {
    return QPointF(m_scale.toPixelX(point.row, m_size.width()), point.y);
}
