// Feeds arbitrary doubles to the display patterns and arbitrary text to the leading-number reader.
// The input's first eight bytes are the double; the whole input, as UTF-8, is the text.
#include "entry/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// "-"? whole digits without leading zeros, then exactly `decimals` decimals; never "-0...".
bool isFixedText(const QString &text, int decimals) {
    qsizetype pos = text.startsWith(u'-') ? 1 : 0;
    const qsizetype wholeStart = pos;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9')
        ++pos;
    const qsizetype wholeDigits = pos - wholeStart;
    if (wholeDigits == 0 || (wholeDigits > 1 && text[wholeStart] == u'0'))
        return false;
    if (decimals > 0) {
        if (pos == text.size() || text[pos] != u'.')
            return false;
        ++pos;
        for (int i = 0; i < decimals; ++i, ++pos)
            if (pos == text.size() || text[pos] < u'0' || text[pos] > u'9')
                return false;
    }
    if (pos != text.size())
        return false;
    const bool allZero =
        std::none_of(text.begin(), text.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return !(wholeStart == 1 && allZero);
}

void checkPattern(double value, NumberText::Pattern pattern, int decimals) {
    const QString text =
        decimals == 0 ? NumberText::formatWhole(value) : NumberText::format(value, pattern);
    if (!std::isfinite(value)) {
        require(text == QString::number(value));
        return;
    }
    require(isFixedText(text, decimals));

    // Within half a unit of the last decimal, give or take the 15-digit rounding.
    const double shown = NumberText::leadingValue(text);
    const double halfUnit = 0.5 * std::pow(10.0, -decimals);
    if (std::isfinite(shown)) {
        require(std::fabs(shown - value) <= halfUnit * (1 + 1e-9) + std::fabs(value) * 1e-14);
        // Formatting what was shown shows the same text again.
        const QString again =
            decimals == 0 ? NumberText::formatWhole(shown) : NumberText::format(shown, pattern);
        require(again == text);
    }
}

void checkReader(const QString &text) {
    const double value = NumberText::leadingValue(text);
    require(!std::isnan(value));
    // A letter after the text never extends the number; leading blanks are skipped.
    require(NumberText::leadingValue(text + u'x') == value);
    require(NumberText::leadingValue(QStringLiteral(" \t") + text) == value);
    if (!text.isEmpty() && text[0].unicode() >= u'0' && text[0].unicode() <= u'9')
        require(NumberText::leadingValue(u'-' + text) == -value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkPattern(value, NumberText::Pattern::OneDecimal, 1);
        checkPattern(value, NumberText::Pattern::TwoDecimals, 2);
        checkPattern(value, NumberText::Pattern::OneDecimal, 0);
        // The reader gets every finite double back exactly from its 17-digit text.
        if (std::isfinite(value))
            require(NumberText::leadingValue(QString::number(value, 'g', 17)) == value);
    }
    checkReader(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
