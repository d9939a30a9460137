#include "platform/fontfit.h"

#include <QFontMetrics>
#include <QRect>

#include <algorithm>

namespace FontFit {

int textWidth(const QFont &font, const QString &text) {
    return QFontMetrics(font).boundingRect(QRect(), Qt::TextSingleLine, text).width();
}

QFont narrowedToFit(QFont font, const QString &text, int width) {
    const int natural = textWidth(font, text);
    if (natural <= width)
        return font;
    for (int stretch = std::max(1, 100 * width / natural); stretch >= 1; --stretch) {
        font.setStretch(stretch);
        if (textWidth(font, text) <= width)
            break;
    }
    return font;
}

} // namespace FontFit
