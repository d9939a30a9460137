#include "ui/stats/drillsbox.h"

#include "app/mdlmain.h"
#include "stats/drillchoice.h"

#include <QCheckBox>

namespace {

const QString Section = QStringLiteral("DRILL");
const QString Key = QStringLiteral("INCLUDE");

} // namespace

namespace DrillsBox {

bool included() {
    return mdlMain::ReadSetting(Section, Key, {}).trimmed() != QStringLiteral("0");
}

QCheckBox *create(QWidget *parent, const std::function<void(bool)> &changed) {
    auto *box = new QCheckBox(QStringLiteral("INCLUDE &DRILLS"), parent);
    box->setObjectName(QStringLiteral("chkDrills"));
    box->setChecked(included());
    QObject::connect(box, &QCheckBox::toggled, parent, [changed](bool on) {
        mdlMain::WriteSetting(Section, Key, on ? QStringLiteral("1") : QStringLiteral("0"));
        changed(on);
    });
    return box;
}

PlayedGames games(const StoredGames &recent, const StoredGames *drills, bool include,
                  qint32 playMode) {
    return DrillChoice::played(recent, include ? drills : nullptr, playMode);
}

} // namespace DrillsBox
