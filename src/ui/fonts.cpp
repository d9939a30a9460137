#include "ui/fonts.h"

#include "settings/apppaths.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

#include <utility>

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
    // A desktop without IPA Gothic uses the copies installed beside the program.
    const QStringList families = QFontDatabase::families();
    for (const auto &[family, file] :
         {std::pair{"IPAGothic", "ipag.ttf"}, std::pair{"IPAPGothic", "ipagp.ttf"}}) {
        if (!families.contains(QLatin1String(family)))
            QFontDatabase::addApplicationFont(
                QFile::decodeName(AppPaths::executableDirectory() + '/' + file));
    }
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
