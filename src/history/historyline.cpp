#include "history/historyline.h"

#include "entry/numbertext.h"

namespace HistoryLine {

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
