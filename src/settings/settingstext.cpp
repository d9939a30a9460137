#include "settings/settingstext.h"

#include "settings/playmode.h"

namespace SettingsText {

PanelOrder panelOrderFromText(const QString &text) {
    PanelOrder order{0, 0, 0};
    for (int i = 0; i < 3 && i < text.size(); ++i) {
        const QChar c = text.at(i);
        order[i] = (c >= u'0' && c <= u'9') ? qint16(c.unicode() - u'0') : qint16(0);
    }
    return order;
}

QString panelOrderToText(const PanelOrder &order) {
    return QString::number(order[0]) + QString::number(order[1]) + QString::number(order[2]);
}

Mode playModeFromText(const QString &text) {
    return text == QStringLiteral("A") ? Mode::A : Mode::B;
}

QString playModeToText(Mode playMode) {
    return playMode == Mode::A ? QStringLiteral("A") : QStringLiteral("B");
}

} // namespace SettingsText
