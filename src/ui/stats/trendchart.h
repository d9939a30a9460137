#pragma once

#include "stats/trendreport.h"

#include <QWidget>

#include <vector>

// The chart of one series session by session, oldest on the left: a light band between the
// trend's Wilson bounds, the trend's line and a dot for each session's own rate, on 0-100 %
// with grid lines; the first and last session's start under the axis. Colours stand out from
// the palette's base, whichever it is.
class TrendChart : public QWidget {
    Q_OBJECT
public:
    explicit TrendChart(QWidget *parent);

    // The points and the texts under the axis; also what a screen reader is told.
    void show(std::vector<TrendReport::Point> points, const QString &first, const QString &last,
              const QString &description);

    const std::vector<TrendReport::Point> &points() const { return m_points; }
    // Where a rate of a session lies, in the widget's pixels.
    QPointF place(int session, double rate) const;
    // The line's colour and the grid lines', as drawn.
    QColor lineColour() const;
    QColor gridColour() const;
    QColor bandColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The sessions that fall on one pixel column: a million sessions draw as a few hundred
    // columns (min/max decimation).
    struct Column {
        double x = 0;
        double trendLow = 2, trendHigh = -1, trendLast = 0;
        double bandLow = 2, bandHigh = -1;
        double ownLow = 2, ownHigh = -1;
        bool hasTrend() const { return trendHigh >= 0; }
        bool hasOwn() const { return ownHigh >= 0; }
    };

    QRectF plotArea() const;
    QPointF placeIn(const QRectF &area, int session, double rate) const;
    std::vector<Column> columns() const;

    std::vector<TrendReport::Point> m_points;
    QString m_first;
    QString m_last;
};
