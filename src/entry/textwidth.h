#pragma once

#include <QString>

// Character widths as East Asian text knows them: which characters take two cells, and the
// conversion between the narrow and wide forms of the same character.
namespace TextWidth {

// East Asian Wide and Fullwidth characters: CJK, kana, Hangul, full-width forms, ideographic space.
bool isWide(char32_t c);

// Full-width ASCII forms, the ideographic space and the full-width signs become their narrow
// forms. The full-width yen becomes "\", the code of the yen key on Japanese keyboards.
QString toNarrow(const QString &text);

// The blank, printable ASCII and the narrow signs become full width, "\" the full-width yen;
// half-width katakana and Hangul take their usual wide forms.
QString toWide(const QString &text);

} // namespace TextWidth
