#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The stored date-time text "yyyy/MM/dd HH:mm:ss" read as a plain local time, counted in
// seconds from the start of year 1 with no time-zone shift, so that gaps are exact and the
// statistics never change with the clock or the zone.
namespace StampTime {

// The seconds of a valid stamp; nothing for any other text, including impossible dates.
std::optional<qint64> seconds(QByteArrayView stamp);
// "yyyy/MM/dd HH:mm" of a time in those seconds.
QString minuteText(qint64 seconds);

} // namespace StampTime
