#include "ui/graph/chartpainter.h"

#include "ui/graph/chartscale.h"
#include "ui/graph/graphdata.h"
#include "ui/graph/graphseries.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr int GridPenWidth = 1;
constexpr int LinePenWidth = 2;
constexpr int PointPenWidth = 5;

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
    const int rows = m_data.rowCount();
    for (int row = 0; row < rows; ++row) {
        if (!m_data.hasValue(row, series))
            continue;
        const double value = m_data.value(row, series);
        if (row > 0 && m_data.hasValue(row - 1, series)) {
            painter.setPen(line);
            painter.drawLine(at(row - 1, m_data.value(row - 1, series)), at(row, value));
        } else if (!m_data.hasValue(row + 1, series)) {
            painter.setPen(point);
            painter.drawPoint(pixelCentre(at(row, value)));
        }
    }
}

QPointF ChartPainter::at(double row, double value) const {
    return m_scale.toPixels(row, value, m_image.size());
}
