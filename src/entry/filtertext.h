#pragma once

#include <QString>

class QLineEdit;

// A text cleaned by the filter and where its caret goes. caret is -1 when the caret keeps the
// place that writing the text gives it (the cleaned text is shorter than the distance to its end).
struct FilteredText {
    QString text;
    int caret;
};

// Cleans a text as it is typed or pasted, keeping the caret's distance from the end of the text.
// charClass says which characters stay:
//   0  ASCII letters, digits, ",", "-", "." and the blank      10  ASCII letters and the blank
//   20 narrow characters (so also "\")                          30  digits "0" to "9"
//   31 digits, "-" and "."                                      32  digits, ",", "-" and "."
//   40 wide characters only                                     99  the characters of allowed
//   any other value keeps everything.
// caseMode 1 lowers, 2 raises the result. widthMode 1 first turns the text narrow, 2 wide (with
// "\" becoming "￥"). caret is a position in text, 0 to text.size().
FilteredText filterText(const QString &text, int caret, int charClass, int caseMode, int widthMode,
                        const QString &allowed = {});

// The filter applied to a line edit. The text is written back only when it changed, so the edit's
// textChanged fires again, nested, for the cleaned text; a clean text ends the nesting.
void FilterText(QLineEdit *control, int charClass, int caseMode, int widthMode,
                const QString &allowed = {});
