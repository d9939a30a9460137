#include "ui/graph/chartpainter.h"

#include "platform/colourpair.h"
#include "ui/graph/chartscale.h"
#include "ui/graph/graphseries.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr int GridPenWidth = 1;
constexpr int LinePenWidth = 2;
constexpr int PointPenWidth = 5;
static_assert(PointPenWidth == 2 * ChartScale::Inset, "a point on an edge must show whole");

// A point drawn on the centre of its pixel comes out round and even.
QPointF pixelCentre(const QPointF &point) {
    return QPointF(std::floor(point.x()) + 0.5, std::floor(point.y()) + 0.5);
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
    for (qint16 series : drawOrder(topSeries)) {
        const auto it = shown.find(series);
        if (it != shown.end())
            DrawSeries(series, it->second);
    }
}

void ChartPainter::DrawSeries(qint16 series, const QColor &colour) {
    QPainter painter(&m_image);
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
    // The values since the last empty cell form one line; a lone value is a point.
    ThinnedPolyline run;
    const auto finishRun = [&] {
        const std::vector<ThinnedPolyline::Point> &thinned = run.points();
        if (run.values() == 1) {
            for (const QPen &pen : point) {
                painter.setPen(pen);
                painter.drawPoint(pixelCentre(at(thinned.front())));
            }
        } else if (run.values() > 1) {
            // Segment by segment: one stroke of a long zigzag is far slower to fill.
            QList<QLineF> segments;
            segments.reserve(qsizetype(thinned.size()) - 1);
            for (size_t i = 1; i < thinned.size(); ++i)
                segments.append(QLineF(at(thinned[i - 1]), at(thinned[i])));
            for (const QPen &pen : line) {
                painter.setPen(pen);
                painter.drawLines(segments);
            }
        }
        run = ThinnedPolyline();
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
