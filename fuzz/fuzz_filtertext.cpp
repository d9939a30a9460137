// Feeds arbitrary text, caret and modes to the text filter. Input: class, case mode, width mode
// and caret bytes, then UTF-16 text (lone surrogates included); a NUL unit starts the allowed list.
#include "entry/filtertext.h"
#include "entry/textwidth.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

constexpr std::array Classes{0, 10, 20, 30, 31, 32, 40, 99, 7};

bool asciiIn(char32_t c, const char *set) {
    return c < 128 && c != 0 && std::strchr(set, int(c)) != nullptr;
}

// Whether a character of the result belongs to the class, as the filter's description has it.
bool inClass(int charClass, char32_t c, QStringView character, const QString &allowed) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    static const char digits[] = "0123456789";
    switch (charClass) {
    case 0:
        return asciiIn(c, letters) || asciiIn(c, digits) || asciiIn(c, ",-. ");
    case 10:
        return asciiIn(c, letters) || c == ' ';
    case 20:
        return !TextWidth::isWide(c);
    case 30:
        return asciiIn(c, digits);
    case 31:
        return asciiIn(c, digits) || asciiIn(c, "-.");
    case 32:
        return asciiIn(c, digits) || asciiIn(c, ",-.");
    case 40:
        return TextWidth::isWide(c);
    case 99:
        return allowed.contains(character);
    default:
        return true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4)
        return 0;
    const int charClass = Classes[data[0] % Classes.size()];
    const int caseMode = data[1] % 4;
    const int widthMode = data[2] % 4;
    QString input((size - 4) / 2, Qt::Uninitialized);
    std::memcpy(input.data(), data + 4, size_t(input.size()) * 2);
    const qsizetype nul = input.indexOf(QChar(0));
    const QString text = nul < 0 ? input : input.first(nul);
    const QString allowed = nul < 0 ? QString() : input.sliced(nul + 1);
    const int caret = data[3] % (text.size() + 1);

    const FilteredText result = filterText(text, caret, charClass, caseMode, widthMode, allowed);
    require(result.caret == -1 || (result.caret >= 0 && result.caret <= result.text.size()));
    // Changing the case may turn a kept character into one the class would not keep; the ASCII
    // classes are closed under it.
    const bool ascii = charClass != 20 && charClass != 40 && charClass != 99;
    if ((caseMode != 1 && caseMode != 2) || ascii) {
        for (qsizetype i = 0; i < result.text.size();) {
            const QChar unit = result.text[i];
            const bool pair = unit.isHighSurrogate() && i + 1 < result.text.size() &&
                              result.text[i + 1].isLowSurrogate();
            const char32_t c =
                pair ? QChar::surrogateToUcs4(unit, result.text[i + 1]) : char32_t(unit.unicode());
            const QStringView character = QStringView(result.text).sliced(i, pair ? 2 : 1);
            require(inClass(charClass, c, character, allowed));
            i += character.size();
        }
    }
    // A clean text stays as it is, and so does its caret.
    if (widthMode == 0 && caseMode == 0) {
        const FilteredText again =
            filterText(result.text, int(result.text.size()), charClass, 0, 0, allowed);
        require(again.text == result.text && again.caret == result.text.size());
    }
    return 0;
}
