#include "entry/numbertext.h"

#include "settings/playmode.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// value rounded half away from zero to `decimals` places, from its 15-significant-digit form.
QString fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return QString::number(value);

    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value)); // d.dddddddddddddde+XX
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 14);
    const int exponent = std::atoi(buffer + 17);

    // digits[0 .. pointPos) stand before the decimal point.
    int pointPos = exponent + 1;
    if (pointPos < 1) {
        digits.insert(0, std::string(size_t(1 - pointPos), '0'));
        pointPos = 1;
    }
    const size_t keep = size_t(pointPos + decimals);
    if (digits.size() <= keep)
        digits.append(keep + 1 - digits.size(), '0');

    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        int i = int(keep) - 1;
        for (; i >= 0 && digits[size_t(i)] == '9'; --i)
            digits[size_t(i)] = '0';
        if (i >= 0) {
            ++digits[size_t(i)];
        } else {
            digits = "1" + digits;
            ++pointPos;
        }
    }

    size_t firstNonZero = 0;
    while (firstNonZero + 1 < size_t(pointPos) && digits[firstNonZero] == '0')
        ++firstNonZero;

    std::string text;
    if (value < 0 && digits.find_first_not_of('0') != std::string::npos)
        text += '-';
    text.append(digits, firstNonZero, size_t(pointPos) - firstNonZero);
    if (decimals > 0) {
        text += '.';
        text.append(digits, size_t(pointPos), size_t(decimals));
    }
    return QString::fromLatin1(text);
}

} // namespace

namespace NumberText {

QString format(double value, Pattern pattern) {
    return fixed(value, pattern == Pattern::OneDecimal ? 1 : 2);
}

Pattern averagePattern(Mode playMode) {
    return playMode == Mode::A ? Pattern::OneDecimal : Pattern::TwoDecimals;
}

QString formatWhole(double value) {
    return fixed(value, 0);
}

double leadingValue(QStringView text) {
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
        ++pos;

    // Collect the longest prefix that reads as a number; from_chars does the conversion.
    std::string number;
    auto digitsAt = [&](qsizetype &p) {
        const qsizetype start = p;
        while (p < text.size() && text[p].isDigit() && text[p].unicode() < 128)
            number += char(text[p++].unicode());
        return p > start;
    };
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        if (text[pos] == u'-')
            number += '-';
        ++pos;
    }
    bool any = digitsAt(pos);
    if (pos < text.size() && text[pos] == u'.') {
        number += '.';
        ++pos;
        any = digitsAt(pos) || any;
    }
    if (!any)
        return 0;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        std::string mantissa = number;
        qsizetype p = pos + 1;
        number += 'e';
        if (p < text.size() && (text[p] == u'-' || text[p] == u'+'))
            number += char(text[p++].unicode());
        if (!digitsAt(p))
            number = mantissa;
    }

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return number.find("e-") != std::string::npos ? 0.0
               : number[0] == '-'                     ? -HUGE_VAL
                                                      : HUGE_VAL;
    return value;
}

double leadingValue(QByteArrayView text) {
    // Digits with up to 15 in all, perhaps one point among them: the whole number over a power
    // of ten, both exact, divides to the double nearest the text, as from_chars gives it.
    static constexpr double PowersOfTen[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (text.size() <= 16) {
        qint64 whole = 0;
        int digits = 0;
        qsizetype point = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const unsigned digit = unsigned(text[i]) - '0';
            if (digit <= 9) {
                whole = whole * 10 + digit;
                ++digits;
            } else if (text[i] == '.' && point < 0 && i > 0) {
                point = i;
            } else {
                digits = -1;
                break;
            }
        }
        if (digits > 0 && digits <= 15 && point != text.size() - 1)
            return double(whole) / PowersOfTen[point < 0 ? 0 : text.size() - 1 - point];
    }
    return text.isEmpty() ? 0.0 : leadingValue(QString::fromLatin1(text));
}

} // namespace NumberText
