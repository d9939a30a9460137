#include "ui/stats/trendchart.h"

#include "platform/colourpair.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int GridSteps = 4; // 0, 25, 50, 75, 100 %
const QColor LineHue(0, 90, 200);
constexpr double BandShare = 0.18;

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
    return placeIn(plotArea(), session, rate);
}

QPointF TrendChart::placeIn(const QRectF &area, int session, double rate) const {
    const int count = int(m_points.size());
    const double x =
        count <= 1 ? area.center().x() : area.left() + area.width() * session / (count - 1);
    return {x, area.bottom() - area.height() * std::clamp(rate, 0.0, 1.0)};
}

// The band is a pale wash of the line's hue over the base; the line stands out from both.
QColor TrendChart::bandColour() const {
    const QColor base = palette().color(QPalette::Base);
    const auto mix = [](int hue, int back) {
        return int(BandShare * hue + (1 - BandShare) * back);
    };
    return QColor(mix(LineHue.red(), base.red()), mix(LineHue.green(), base.green()),
                  mix(LineHue.blue(), base.blue()));
}

QColor TrendChart::lineColour() const {
    const QColor base = palette().color(QPalette::Base);
    const QColor onBand = ColourPair::standingOut(LineHue, bandColour(), ColourPair::LineContrast);
    return ColourPair::standingOut(onBand, base, ColourPair::LineContrast);
}

QColor TrendChart::gridColour() const {
    return ColourPair::standingOut(palette().color(QPalette::Mid), palette().color(QPalette::Base),
                                   ColourPair::LineContrast);
}

std::vector<TrendChart::Column> TrendChart::columns() const {
    std::vector<Column> columns;
    const QRectF area = plotArea();
    for (int i = 0; i < int(m_points.size()); ++i) {
        const TrendReport::Point &point = m_points[size_t(i)];
        const double x = std::round(placeIn(area, i, 0).x());
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
    return columns;
}

void TrendChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor base = palette().color(QPalette::Base);
    painter.fillRect(rect(), base);
    const std::vector<Column> drawn = columns();
    const auto y = [&](double rate) { return place(0, rate).y(); };

    // The band first, so that the grid lines show through it.
    QPainterPath band;
    QList<QPointF> lower;
    for (const Column &column : drawn) {
        if (!column.hasTrend())
            continue;
        const QPointF high(column.x, y(column.bandHigh));
        band.elementCount() == 0 ? band.moveTo(high) : band.lineTo(high);
        lower.prepend(QPointF(column.x, y(column.bandLow)));
    }
    for (const QPointF &point : lower)
        band.lineTo(point);
    painter.fillPath(band, bandColour());

    painter.save();
    const QRectF area = plotArea();
    const QFontMetricsF metrics(font());
    const QColor text = ColourPair::standingOut(palette().color(QPalette::Text), base);
    for (int step = 0; step <= GridSteps; ++step) {
        const double at = area.bottom() - area.height() * step / GridSteps;
        painter.setPen(QPen(gridColour(), 1));
        painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
        painter.setPen(text);
        painter.drawText(QRectF(0, at - metrics.height() / 2, area.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 %").arg(100 * step / GridSteps));
    }
    const QRectF under(area.left(), area.bottom() + 4, area.width(), metrics.height());
    painter.drawText(under, Qt::AlignLeft | Qt::AlignTop, m_first);
    painter.drawText(under, Qt::AlignRight | Qt::AlignTop, m_last);
    painter.restore();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor line = lineColour();
    QPainterPath trend;
    for (const Column &column : drawn) {
        if (!column.hasTrend())
            continue;
        const QPointF from(column.x, y(column.trendLow));
        if (trend.elementCount() == 0)
            trend.moveTo(from);
        trend.lineTo(from);
        trend.lineTo(QPointF(column.x, y(column.trendHigh)));
        trend.lineTo(QPointF(column.x, y(column.trendLast)));
    }
    painter.setPen(QPen(line, 2));
    painter.drawPath(trend);
    painter.setPen(Qt::NoPen);
    painter.setBrush(line);
    for (const Column &column : drawn) {
        if (!column.hasOwn())
            continue;
        painter.drawEllipse(QPointF(column.x, y(column.ownLow)), 2.5, 2.5);
        if (column.ownHigh != column.ownLow)
            painter.drawEllipse(QPointF(column.x, y(column.ownHigh)), 2.5, 2.5);
    }
    painter.restore();
}
