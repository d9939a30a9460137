#include "entry/textwidth.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr char16_t Backslash = u'\\';
constexpr char16_t FullWidthYen = u'\uFFE5';

// East Asian Width W and F blocks, sorted, inclusive.
constexpr std::array<std::pair<char32_t, char32_t>, 17> WideRanges{{
    {0x1100, 0x115F},   // Hangul initial jamo
    {0x2E80, 0x303E},   // CJK radicals, CJK symbols and punctuation, ideographic space
    {0x3041, 0x33FF},   // kana, Bopomofo, Hangul compatibility jamo, CJK compatibility
    {0x3400, 0x4DBF},   // CJK extension A
    {0x4E00, 0x9FFF},   // CJK unified ideographs
    {0xA000, 0xA4CF},   // Yi
    {0xA960, 0xA97F},   // Hangul jamo extended A
    {0xAC00, 0xD7A3},   // Hangul syllables
    {0xF900, 0xFAFF},   // CJK compatibility ideographs
    {0xFE10, 0xFE19},   // vertical forms
    {0xFE30, 0xFE6F},   // CJK compatibility and small forms
    {0xFF00, 0xFF60},   // full-width forms
    {0xFFE0, 0xFFE6},   // full-width signs
    {0x1B000, 0x1B2FF}, // kana supplement and extensions
    {0x1F300, 0x1F64F}, // pictographs and emoticons
    {0x1F900, 0x1F9FF}, // supplemental pictographs
    {0x20000, 0x3FFFD}, // CJK extensions B and later
}};

// The single character a compatibility decomposition of the given kind gives, or 0.
char16_t decomposed(char16_t c, QChar::Decomposition kind) {
    if (QChar::decompositionTag(c) != kind)
        return 0;
    const QString parts = QChar::decomposition(c);
    return parts.size() == 1 ? parts[0].unicode() : 0;
}

// Narrow character -> its full-width form, derived from the Unicode data of the full-width block.
const QHash<char16_t, char16_t> &wideForms() {
    static const QHash<char16_t, char16_t> forms = [] {
        QHash<char16_t, char16_t> result;
        auto add = [&result](char16_t wide) {
            if (const char16_t narrow = decomposed(wide, QChar::Wide))
                result.insert(narrow, wide);
        };
        add(u'\u3000');
        for (char16_t wide = 0xFF01; wide <= 0xFFEE; ++wide)
            add(wide);
        result.insert(Backslash, FullWidthYen);
        return result;
    }();
    return forms;
}

} // namespace

namespace TextWidth {

bool isWide(char32_t c) {
    const auto it =
        std::ranges::upper_bound(WideRanges, c, {}, &std::pair<char32_t, char32_t>::first);
    return it != WideRanges.begin() && c <= std::prev(it)->second;
}

QString toNarrow(const QString &text) {
    QString result = text;
    for (QChar &c : result) {
        if (c == FullWidthYen)
            c = Backslash;
        else if (const char16_t narrow = decomposed(c.unicode(), QChar::Wide))
            c = narrow;
    }
    return result;
}

QString toWide(const QString &text) {
    const auto &forms = wideForms();
    QString result = text;
    for (QChar &c : result) {
        if (const auto it = forms.constFind(c.unicode()); it != forms.cend())
            c = *it;
        else if (const char16_t wide = decomposed(c.unicode(), QChar::Narrow))
            c = wide;
    }
    return result;
}

} // namespace TextWidth
