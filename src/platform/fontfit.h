#pragma once

#include <QFont>
#include <QString>

// Texts made to fit their boxes whatever face the machine substitutes for the designed one.
namespace FontFit {

// The width a label takes for the text.
int textWidth(const QFont &font, const QString &text);

// The font narrowed just enough that the text fits the width; its height, and so its
// readability, stays. Texts that fit keep the font as it is.
QFont narrowedToFit(QFont font, const QString &text, int width);

} // namespace FontFit
