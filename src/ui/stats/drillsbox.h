#pragma once

#include "settings/playmode.h"
#include "stats/playedgames.h"

#include <functional>

class StoredGames;
class QCheckBox;
class Settings;
class QWidget;

// The INCLUDE DRILLS box of the statistics windows: whether the saved focus drills count with
// the games. On unless the player turned it off; the choice is remembered in the settings file.
namespace DrillsBox {

bool included(const Settings &settings);
// The box, checked as remembered; a change is remembered and handed to `changed`.
QCheckBox *create(QWidget *parent, const Settings &settings,
                  const std::function<void(bool)> &changed);
// The games of the mode, with the drills too when they are included and given.
PlayedGames games(const StoredGames &recent, const StoredGames *drills, bool include,
                  Mode playMode);

} // namespace DrillsBox
