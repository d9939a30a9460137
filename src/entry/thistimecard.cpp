#include "entry/thistimecard.h"

#include "entry/numbertext.h"
#include "settings/playmode.h"

#include <algorithm>
#include <limits>

namespace {

int saturated(double value) {
    return int(std::clamp(value, double(std::numeric_limits<int>::min()),
                          double(std::numeric_limits<int>::max())));
}

} // namespace

int ThisTimeCard::maxLength(Mode playMode) {
    return playMode == Mode::A ? 2 : 1;
}

int ThisTimeCard::clamp(Mode playMode, int value) {
    return std::clamp(value, 0, playMode == Mode::A ? 99 : 9);
}

bool ThisTimeCard::isModeBValue(const QString &text) {
    return text.size() == 1 && text[0] >= u'0' && text[0] <= u'3';
}

ThisTimeCard::Totals ThisTimeCard::totals(const QStringList &fieldTexts, Mode playMode) {
    // Summed as a double so that no field text can overflow the total.
    double sum = 0;
    int filled = 0;
    for (const QString &text : fieldTexts) {
        sum += NumberText::leadingValue(text);
        if (!text.isEmpty())
            ++filled;
    }
    const QString average =
        filled == 0 ? QString()
                    : NumberText::format(sum / filled, NumberText::averagePattern(playMode));
    return {NumberText::formatWhole(sum), average};
}

int ThisTimeCard::stepValue(const QString &caption) {
    return saturated(NumberText::leadingValue(caption));
}

int ThisTimeCard::steppedValue(const QString &fieldText, int step) {
    return saturated(NumberText::leadingValue(fieldText) + step);
}
