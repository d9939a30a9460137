#include "ui/appicon.h"

#include <QPainter>

namespace AppIcon {

QImage image(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0); // drawn on a 32-unit square
    const QRectF board(1.5, 1.5, 29, 29);
    painter.setPen(Qt::NoPen);
    // Twenty wedges, alternately a missed and a hit target's colour, 20 at the top.
    for (int wedge = 0; wedge < 20; ++wedge) {
        painter.setBrush(wedge % 2 ? QColor(40, 170, 60) : QColor(225, 40, 40));
        painter.drawPie(board, (81 + 18 * wedge) * 16, 18 * 16);
    }
    painter.setBrush(QColor(250, 240, 210));
    painter.drawEllipse(QPointF(16, 16), 6.5, 6.5);
    painter.setBrush(QColor(225, 40, 40));
    painter.drawEllipse(QPointF(16, 16), 3, 3);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(board);
    return image;
}

QIcon icon() {
    QIcon icon;
    for (int size : Sizes)
        icon.addPixmap(QPixmap::fromImage(image(size)));
    return icon;
}

} // namespace AppIcon
