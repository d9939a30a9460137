#include "ui/stats/trendchart.h"

#include "platform/colourpair.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int GridSteps = 4; // 0, 25, 50, 75, 100 %
const QColor LineHue(0, 90, 200);

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

} // namespace

TrendChart::TrendChart(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendChart::show(std::vector<TrendReport::Point> points, const QString &first,
                      const QString &last, const QString &description) {
    m_points = std::move(points);
    m_first = first;
    m_last = last;
    setAccessibleDescription(description);
    update();
}

QRectF TrendChart::plotArea() const {
    const QFontMetricsF metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("100 %")) + 8;
    return QRectF(left, metrics.height() / 2 + 2, width() - left - 10,
                  height() - metrics.height() * 2 - 6);
}

QPointF TrendChart::place(int session, double rate) const {
    const QRectF area = plotArea();
    const int count = int(m_points.size());
    const double x =
        count <= 1 ? area.center().x() : area.left() + area.width() * session / (count - 1);
    return {x, area.bottom() - area.height() * std::clamp(rate, 0.0, 1.0)};
}

QColor TrendChart::lineColour() const {
    return ColourPair::standingOut(LineHue, palette().color(QPalette::Base),
                                   ColourPair::LineContrast);
}

QColor TrendChart::gridColour() const {
    return ColourPair::standingOut(palette().color(QPalette::Mid), palette().color(QPalette::Base),
                                   ColourPair::LineContrast);
}

void TrendChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor base = palette().color(QPalette::Base);
    const QColor text = ColourPair::standingOut(palette().color(QPalette::Text), base);
    painter.fillRect(rect(), base);
    const QRectF area = plotArea();
    const QFontMetricsF metrics(font());

    painter.save();
    painter.setPen(QPen(gridColour(), 1));
    for (int step = 0; step <= GridSteps; ++step) {
        const double y = area.bottom() - area.height() * step / GridSteps;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        painter.drawText(QRectF(0, y - metrics.height() / 2, area.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 %").arg(100 * step / GridSteps));
        painter.setPen(QPen(gridColour(), 1));
    }
    painter.restore();

    painter.save();
    painter.setPen(text);
    const QRectF under(area.left(), area.bottom() + 4, area.width(), metrics.height());
    painter.drawText(under, Qt::AlignLeft | Qt::AlignTop, m_first);
    painter.drawText(under, Qt::AlignRight | Qt::AlignTop, m_last);
    painter.restore();

    std::vector<Column> columns;
    for (int i = 0; i < int(m_points.size()); ++i) {
        const TrendReport::Point &point = m_points[size_t(i)];
        const double x = std::round(place(i, 0).x());
        if (columns.empty() || columns.back().x != x)
            columns.push_back({x});
        Column &column = columns.back();
        if (point.trend) {
            column.trendLow = std::min(column.trendLow, *point.trend);
            column.trendHigh = std::max(column.trendHigh, *point.trend);
            column.trendLast = *point.trend;
            column.bandLow = std::min(column.bandLow, point.band.low);
            column.bandHigh = std::max(column.bandHigh, point.band.high);
        }
        if (point.own) {
            column.ownLow = std::min(column.ownLow, *point.own);
            column.ownHigh = std::max(column.ownHigh, *point.own);
        }
    }
    const auto y = [&](double rate) { return place(0, rate).y(); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor line = lineColour();
    QColor band = line;
    band.setAlphaF(0.18);
    QPainterPath bandPath, linePath;
    QList<QPointF> lower;
    for (const Column &column : columns) {
        if (!column.hasTrend())
            continue;
        const QPointF high(column.x, y(column.bandHigh));
        if (bandPath.isEmpty())
            bandPath.moveTo(high);
        else
            bandPath.lineTo(high);
        lower.prepend(QPointF(column.x, y(column.bandLow)));
        const QPointF from(column.x, y(column.trendLow)), to(column.x, y(column.trendHigh));
        if (linePath.isEmpty())
            linePath.moveTo(from);
        linePath.lineTo(from);
        linePath.lineTo(to);
        linePath.lineTo(QPointF(column.x, y(column.trendLast)));
    }
    for (const QPointF &point : lower)
        bandPath.lineTo(point);
    painter.fillPath(bandPath, band);
    painter.strokePath(linePath, QPen(line, 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(line);
    for (const Column &column : columns) {
        if (!column.hasOwn())
            continue;
        painter.drawEllipse(QPointF(column.x, y(column.ownLow)), 2.5, 2.5);
        if (column.ownHigh != column.ownLow)
            painter.drawEllipse(QPointF(column.x, y(column.ownHigh)), 2.5, 2.5);
    }
    painter.restore();
}
