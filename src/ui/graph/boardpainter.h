#pragma once

#include "ui/graph/boardmap.h"

#include <QColor>
#include <QImage>

#include <array>

// Draws the flat dartboard into the board picture's image: the twenty wedges, the rim and the
// bull, each field in the colour of its rate. Where the black rim would not stand out from the
// picture's background, a white ring around it does.
namespace BoardPainter {

using FieldColours = std::array<QColor, BoardMap::Positions>; // by board position

void DrawBoard(QImage &image, const FieldColours &colours, const QColor &background);

} // namespace BoardPainter
