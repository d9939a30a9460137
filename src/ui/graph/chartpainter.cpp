#include "ui/graph/chartpainter.h"

#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"
#include "ui/graph/graphseries.h"
#include "ui/graph/thinnedpolyline.h"

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

ChartPainter::ChartPainter(QImage &image, const GraphData &data, const ChartScale &scale)
    : m_image(image)
    , m_data(data)
    , m_scale(scale) {
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
    const QPen line(colour, LinePenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen point(colour, PointPenWidth, Qt::SolidLine, Qt::RoundCap);
    // The values since the last empty cell form one line; a lone value is a point.
    ThinnedPolyline run;
    const auto finishRun = [&] {
        if (run.values() == 1) {
            painter.setPen(point);
            painter.drawPoint(pixelCentre(run.points().first()));
        } else if (run.values() > 1) {
            // Segment by segment: one stroke of a long zigzag is far slower to fill.
            const QPolygonF &points = run.points();
            QList<QLineF> segments;
            segments.reserve(points.size() - 1);
            for (qsizetype i = 1; i < points.size(); ++i)
                segments.append(QLineF(points[i - 1], points[i]));
            painter.setPen(line);
            painter.drawLines(segments);
        }
        run = ThinnedPolyline();
    };
    for (int row = 0; row < m_data.rowCount(); ++row) {
        if (m_data.hasValue(row, series))
            run.add(at(row, m_data.value(row, series)));
        else
            finishRun();
    }
    finishRun();
}

QPointF ChartPainter::at(double row, double value) const {
    return m_scale.toPixels(row, value, m_image.size());
}
