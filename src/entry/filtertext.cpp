#include "entry/filtertext.h"

#include "entry/textwidth.h"

#include <QLineEdit>

namespace {

bool isAsciiLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool isMinusOrPoint(char32_t c) {
    return c == '-' || c == '.';
}

// character is the code point c as it stands in the text (one or two UTF-16 units). A lone
// surrogate is no character: kept, it could pair up with another once those between are gone.
bool keeps(int charClass, char32_t c, QStringView character, const QString &allowed) {
    switch (charClass) {
    case 0:
        return isAsciiLetter(c) || isAsciiDigit(c) || isMinusOrPoint(c) || c == ',' || c == ' ';
    case 10:
        return isAsciiLetter(c) || c == ' ';
    case 20:
        return !TextWidth::isWide(c) && !QChar::isSurrogate(c);
    case 30:
        return isAsciiDigit(c);
    case 31:
        return isAsciiDigit(c) || isMinusOrPoint(c);
    case 32:
        return isAsciiDigit(c) || isMinusOrPoint(c) || c == ',';
    case 40:
        return TextWidth::isWide(c);
    case 99:
        return !QChar::isSurrogate(c) && allowed.contains(character);
    default:
        return true;
    }
}

QString convertWidth(const QString &text, int widthMode) {
    switch (widthMode) {
    case 1:
        return TextWidth::toNarrow(text);
    case 2:
        return TextWidth::toWide(text);
    default:
        return text;
    }
}

} // namespace

FilteredText filterText(const QString &text, int caret, int charClass, int caseMode, int widthMode,
                        const QString &allowed) {
    const QString converted = convertWidth(text, widthMode);

    QString kept;
    kept.reserve(converted.size());
    for (qsizetype i = 0; i < converted.size();) {
        const QChar unit = converted[i];
        const bool pair =
            unit.isHighSurrogate() && i + 1 < converted.size() && converted[i + 1].isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(unit, converted[i + 1]) : char32_t(unit.unicode());
        const QStringView character = QStringView(converted).sliced(i, pair ? 2 : 1);
        if (keeps(charClass, c, character, allowed))
            kept += character;
        i += character.size();
    }

    if (caseMode == 1)
        kept = kept.toLower();
    else if (caseMode == 2)
        kept = kept.toUpper();

    const qsizetype newCaret = kept.size() - (converted.size() - caret);
    return {kept, newCaret >= 0 ? int(newCaret) : -1};
}

void FilterText(QLineEdit *control, int charClass, int caseMode, int widthMode,
                const QString &allowed) {
    const FilteredText filtered = filterText(control->text(), control->cursorPosition(), charClass,
                                             caseMode, widthMode, allowed);
    if (filtered.text != control->text())
        control->setText(filtered.text);
    if (filtered.caret >= 0)
        control->setCursorPosition(filtered.caret);
}
