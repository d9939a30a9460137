#include "platform/colourpair.h"

#include <QPalette>
#include <QWidget>

#include <cmath>

namespace {

double channel(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour) {
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

} // namespace

namespace ColourPair {

double contrast(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor farthest(const QColor &background) {
    const QColor black(Qt::black), white(Qt::white);
    return contrast(black, background) >= contrast(white, background) ? black : white;
}

QColor standingOut(const QColor &colour, const QColor &background, double minimum) {
    const QColor target = farthest(background);
    const auto towards = [](int from, int to, int step) { return from + (to - from) * step / 255; };
    QColor shade = colour.toRgb();
    // Steps of one in 255 along the way to black or white: the first shade that reads wins.
    for (int step = 1; step <= 255 && contrast(shade, background) < minimum; ++step)
        shade = QColor(towards(colour.red(), target.red(), step),
                       towards(colour.green(), target.green(), step),
                       towards(colour.blue(), target.blue(), step));
    return shade;
}

void set(QWidget *widget, const QColor &background, const QColor &text) {
    // A coloured text keeps its hue; a grey one that does not read becomes black or white.
    const QColor readable = text.hsvSaturation() > 0 ? standingOut(text, background)
                            : contrast(text, background) >= TextContrast ? text
                                                                         : farthest(background);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, readable);
    palette.setColor(QPalette::Text, readable);
    widget->setPalette(palette);
}

} // namespace ColourPair
