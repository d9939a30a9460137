#pragma once

#include <QColor>

class QWidget;

// A text, line or mark and what lies behind it are chosen together, so that no desktop palette
// can make them run together: where one half is fixed, the other keeps its hue and is darkened
// or lightened just enough to stand out.
namespace ColourPair {

inline constexpr double TextContrast = 4.5;
// Small, thin text loses some of its contrast to anti-aliasing: it aims at the stricter ratio.
inline constexpr double SmallTextContrast = 7.0;
inline constexpr double LineContrast = 3.0;

// The contrast ratio of two colours: 1 for equal colours up to 21 for black and white.
double contrast(const QColor &a, const QColor &b);
// Black or white, whichever stands out more from the background.
QColor farthest(const QColor &background);
// The colour itself if it stands out from the background by the ratio, or else the nearest
// shade of it towards black or white that does.
QColor standingOut(const QColor &colour, const QColor &background, double minimum = TextContrast);

// Gives the widget, and the children that inherit from it, a background (also behind fields)
// and a text colour made to read on it.
void set(QWidget *widget, const QColor &background, const QColor &text);

} // namespace ColourPair
