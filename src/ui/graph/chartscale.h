#pragma once

#include <QList>
#include <QPointF>
#include <QSize>

#include <vector>

class GraphData;

// The chart's user coordinates: game rows across, values up. The vertical scale follows
// GraphMax when it is computed and otherwise stays as it was, so a frozen chart keeps its scale.
class ChartScale {
public:
    // More lines than this could no longer be told apart; larger maxima widen the step by tens.
    static constexpr int MaxGridLines = 100;
    // The values are drawn this far inside the picture's edges, half the thickest pen (the
    // 5-pixel point), so a value on an edge, 0 above all, shows whole.
    static constexpr double Inset = 2.5;

    // The largest value of the shown series over all games, never below 0.
    static float graphMax(const GraphData &data, const QList<qint16> &shownSeries);
    // The values that get a dotted grid line, in increasing order.
    static QList<double> gridValues(float graphMax);
    // Grid lines closer than a label's height (values in the hundreds) are labelled every 2nd,
    // 5th, 10th, 20th... time. Grid values are the multiples of their step, so these are too.
    static qsizetype labelStride(double lineSpacing, int labelHeight, qsizetype lines);

    // Bottom edge 0, top edge graphMax + 1.
    void setGraphMax(float graphMax);
    // Left edge the oldest game, right edge the newest; one game spans 0 to 1.
    void setRows(int rows);

    float graphMax() const { return m_graphMax; }
    double top() const { return m_top; }
    double right() const { return m_right; }

    QPointF toPixels(double row, double value, const QSize &picture) const;
    double toPixelX(double row, int pictureWidth) const;
    double toPixelY(double value, int pictureHeight) const;
    // Where the rows pass from one pixel column into another: the first row of each stretch of
    // rows in one column, then `rows`.
    std::vector<int> columnStarts(int rows, int pictureWidth) const;

private:
    float m_graphMax = 0;
    double m_top = 1;
    double m_right = 1;
};
