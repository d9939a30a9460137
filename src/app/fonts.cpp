#include "app/fonts.h"

#include <QStringList>

namespace {

const QString FixedFace = QStringLiteral(u"ＭＳ ゴシック");
const QString ProportionalFace = QStringLiteral(u"ＭＳ Ｐゴシック");

QFont face(const QString &family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

namespace Fonts {

void installSubstitutes() {
    QFont::insertSubstitutions(FixedFace, QStringList{QStringLiteral("IPAGothic"),
                                                      QStringLiteral("DejaVu Sans Mono"),
                                                      QStringLiteral("Monospace")});
    QFont::insertSubstitutions(ProportionalFace, QStringList{QStringLiteral("IPAPGothic"),
                                                             QStringLiteral("DejaVu Sans"),
                                                             QStringLiteral("Sans Serif")});
}

QFont gothic(double pointSize, bool bold) {
    QFont font = face(FixedFace, pointSize, bold);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QFont proportionalGothic(double pointSize, bool bold) {
    QFont font = face(ProportionalFace, pointSize, bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace Fonts
