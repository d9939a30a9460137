#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// A borderless picture surface whose drawing persists in an image of its own size at the
// screen's pixel density, so a drawing survives every repaint until it is cleared and stays sharp
// on dense screens. Drawing uses the widget's own pixels as coordinates.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QRect &geometry, const QColor &background, QWidget *parent);

    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

    const QColor &background() const { return m_background; }
    void clear();
    // Shows what has been drawn into the image.
    void refresh() { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background;
    QImage m_image;
};
