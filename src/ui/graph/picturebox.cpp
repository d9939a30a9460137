#include "ui/graph/picturebox.h"

#include <QAccessibleWidget>
#include <QPainter>

#include <cmath>

namespace {

// A screen reader meets the picture as a graphic, named and described by the window.
QAccessibleInterface *accessiblePicture(const QString &className, QObject *object) {
    if (className != QLatin1String("PictureBox") || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
}

} // namespace

PictureBox::PictureBox(const QRect &geometry, const QColor &background, QWidget *parent)
    : QWidget(parent)
    , m_background(background) {
    static const bool accessible = (QAccessible::installFactory(accessiblePicture), true);
    Q_UNUSED(accessible);
    setGeometry(geometry);
    const double ratio = devicePixelRatioF();
    m_image = QImage(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)),
                     QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    clear();
}

void PictureBox::clear() {
    m_image.fill(m_background);
}

void PictureBox::paintEvent(QPaintEvent *) {
    QPainter(this).drawImage(QPointF(0, 0), m_image);
}
