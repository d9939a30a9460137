#include "ui/stats/drillsbox.h"

#include "settings/settings.h"
#include "stats/drillchoice.h"

#include <QCheckBox>

namespace {

const QString Section = QStringLiteral("DRILL");
const QString Key = QStringLiteral("INCLUDE");

} // namespace

namespace DrillsBox {

bool included(const Settings &settings) {
    return settings.ReadSetting(Section, Key, {}).trimmed() != QStringLiteral("0");
}

QCheckBox *create(QWidget *parent, const Settings &settings,
                  const std::function<void(bool)> &changed) {
    auto *box = new QCheckBox(QStringLiteral("INCLUDE &DRILLS"), parent);
    box->setObjectName(QStringLiteral("chkDrills"));
    box->setChecked(included(settings));
    QObject::connect(box, &QCheckBox::toggled, parent, [&settings, changed](bool on) {
        settings.WriteSetting(Section, Key, on ? QStringLiteral("1") : QStringLiteral("0"));
        changed(on);
    });
    return box;
}

PlayedGames games(const StoredGames &recent, const StoredGames *drills, bool include,
                  Mode playMode) {
    return DrillChoice::played(recent, include ? drills : nullptr, playMode);
}

} // namespace DrillsBox
