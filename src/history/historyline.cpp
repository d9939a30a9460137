#include "history/historyline.h"

#include "entry/numbertext.h"

namespace HistoryLine {

QList<QByteArrayView> splitLines(QByteArrayView content) {
    QList<QByteArrayView> lines;
    while (!content.isEmpty()) {
        const qsizetype end = content.indexOf('\n');
        QByteArrayView line = end < 0 ? content : content.first(end);
        content = end < 0 ? QByteArrayView() : content.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QByteArray stamp(const QDateTime &time) {
    return time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toLatin1();
}

QString storedValue(const QString &text) {
    if (text.size() == 2 && text.startsWith(u'0'))
        return NumberText::formatWhole(NumberText::leadingValue(text));
    return text;
}

QByteArray build(const QDateTime &time, const QStringList &cardTexts) {
    QByteArray line = stamp(time);
    for (int i = 0; i < Values; ++i) {
        line.append(',');
        if (i < cardTexts.size())
            line.append(storedValue(cardTexts[i]).toLatin1());
    }
    return line;
}

} // namespace HistoryLine
