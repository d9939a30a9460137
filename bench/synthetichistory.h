#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QString>

#include <cstdio>

// A mode-A history of `games` lines with values 1..12 and now and then an empty bull; games a
// second apart, or `gapSeconds` apart from 2024/01/01 (a gap of 46 minutes makes every game a
// session of its own).
inline void writeHistory(const QString &path, int games, qint64 gapSeconds = 1) {
    QRandomGenerator random(games);
    QByteArray content;
    content.reserve(qsizetype(games) * 72);
    for (int game = 0; game < games; ++game) {
        const int second = game % 86400;
        char stamp[32];
        if (gapSeconds == 1) {
            std::snprintf(stamp, sizeof stamp, "2024/%02d/%02d %02d:%02d:%02d",
                          1 + game / 2419200 % 12, 1 + game / 86400 % 28, second / 3600,
                          second / 60 % 60, second % 60);
        } else {
            const qint64 at = game * gapSeconds;
            const QDate day = QDate(2024, 1, 1).addDays(at / 86400);
            const int inDay = int(at % 86400);
            std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d", day.year(),
                          day.month(), day.day(), inDay / 3600, inDay / 60 % 60, inDay % 60);
        }
        content.append(stamp);
        for (int target = 0; target < 21; ++target) {
            content.append(',');
            if (target < 20 || game % 7 != 0)
                content.append(QByteArray::number(1 + random.bounded(12)));
        }
        content.append("\r\n");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}
