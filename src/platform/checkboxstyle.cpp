#include "platform/checkboxstyle.h"

#include "platform/colourpair.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOption>

namespace {

constexpr int IndicatorSize = 11;
constexpr int LabelSpacing = 1;

} // namespace

CheckBoxStyle *CheckBoxStyle::instance() {
    static QPointer<CheckBoxStyle> style;
    if (!style) {
        style = new CheckBoxStyle;
        style->setParent(qApp);
    }
    return style;
}

int CheckBoxStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                               const QWidget *widget) const {
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return IndicatorSize;
    case PM_CheckBoxLabelSpacing:
        return LabelSpacing;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void CheckBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                  QPainter *painter, const QWidget *widget) const {
    if (element != PE_IndicatorCheckBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QPalette &palette = option->palette;
    const QColor fill = palette.color(QPalette::Base);
    const QColor frame = ColourPair::standingOut(
        palette.color(QPalette::Mid), palette.color(QPalette::Window), ColourPair::LineContrast);
    painter->save();
    painter->setPen(frame);
    painter->setBrush(fill);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    if (option->state & (State_On | State_NoChange)) {
        const QRectF inner = QRectF(option->rect).adjusted(2.5, 2.5, -2.5, -2.5);
        QPainterPath mark(QPointF(inner.left(), inner.center().y()));
        if (option->state & State_On) {
            mark.lineTo(inner.left() + inner.width() * 0.4, inner.bottom());
            mark.lineTo(inner.topRight());
        } else { // partly on: a bar
            mark.lineTo(inner.right(), inner.center().y());
        }
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(
            ColourPair::standingOut(palette.color(QPalette::Text), fill, ColourPair::LineContrast),
            1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(mark);
    }
    painter->restore();
}
