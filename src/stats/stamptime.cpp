#include "stats/stamptime.h"

namespace {

constexpr qint64 SecondsPerDay = 86400;

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : Days[month - 1];
}

// Days from 0001/01/01 in the proleptic Gregorian calendar (Hinnant's days_from_civil).
qint64 daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const qint64 era = year / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 306; // 0000/03/01 is day 0 of the era count
}

} // namespace

namespace StampTime {

std::optional<qint64> seconds(QByteArrayView stamp) {
    static constexpr char Form[] = "dddd/dd/dd dd:dd:dd";
    if (stamp.size() != qsizetype(sizeof Form) - 1)
        return std::nullopt;
    for (qsizetype i = 0; i < stamp.size(); ++i) {
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        if (Form[i] == 'd' ? !digit : stamp[i] != Form[i])
            return std::nullopt;
    }
    const auto number = [&](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i)
            value = value * 10 + (stamp[i] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return (daysFromCivil(year, month, day) - daysFromCivil(1, 1, 1)) * SecondsPerDay +
           hour * 3600 + minute * 60 + second;
}

QString minuteText(qint64 seconds) {
    // civil_from_days, the inverse of the count above.
    const qint64 days = seconds / SecondsPerDay + daysFromCivil(1, 1, 1) + 306;
    const qint64 inDay = seconds % SecondsPerDay;
    const qint64 era = days / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const qint64 month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return QStringLiteral("%1/%2/%3 %4:%5")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'));
}

} // namespace StampTime
