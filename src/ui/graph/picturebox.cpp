#include "ui/graph/picturebox.h"

#include <QPainter>

PictureBox::PictureBox(const QRect &geometry, const QColor &background, QWidget *parent)
    : QWidget(parent)
    , m_background(background)
    , m_image(geometry.size(), QImage::Format_RGB32) {
    setGeometry(geometry);
    clear();
}

void PictureBox::clear() {
    m_image.fill(m_background);
}

void PictureBox::paintEvent(QPaintEvent *) {
    QPainter(this).drawImage(0, 0, m_image);
}
