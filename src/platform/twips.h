#pragma once

#include <QRect>
#include <QtMath>

// Window layouts are given in twips: 15 twips are one pixel at 96 dots per inch.
// Qt's device-pixel ratio takes care of denser screens.
namespace Twips {

inline constexpr int PerPixel = 15;

constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

constexpr QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
