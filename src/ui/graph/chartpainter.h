#pragma once

#include "ui/graph/graphdata.h"
#include "ui/graph/thinnedpolyline.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>

#include <array>
#include <map>
#include <vector>

class ChartScale;

// Draws the line chart into the chart picture's image in the scale's user coordinates:
// the dotted grid, then one polyline per shown series, a lone value as a point. A series whose
// colour does not stand out from the background gets a black or white edge.
class ChartPainter {
public:
    static constexpr qint16 NoTopSeries = -1;

    using ShownSeries = std::map<qint16, QColor>; // series index -> its colour

    ChartPainter(QImage &image, const GraphData &data, const ChartScale &scale,
                 const QColor &background);

    // Series 1 to 21, then the average, then topSeries once more so it lies above the others.
    static QList<qint16> drawOrder(qint16 topSeries);

    void DrawGraph(const ShownSeries &shown, qint16 topSeries, const QList<double> &gridValues,
                   const QColor &gridColour);

private:
    void DrawSeries(QImage &target, qint16 series, const QColor &colour) const;
    QPointF at(double row, double value) const;
    QPointF at(const ThinnedPolyline::Point &point) const;

    QImage &m_image;
    const GraphData &m_data;
    const ChartScale &m_scale;
    QColor m_background;
    QSize m_size; // of the picture, in the painter's coordinates
    // What every series needs: the y of each whole number, where the rows change pixel column.
    std::array<double, GraphData::Other> m_wholeY;
    std::vector<int> m_columnStarts;
};
