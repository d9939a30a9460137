#pragma once

#include "settings/playmode.h"

#include <QString>

#include <array>

// The panel order and the play mode as they are stored in the settings file.
namespace SettingsText {

using PanelOrder = std::array<qint16, 3>;

// First three characters, one place each; anything but a digit, or a missing character, is 0.
PanelOrder panelOrderFromText(const QString &text);
QString panelOrderToText(const PanelOrder &order);

// Only "A", exactly, is mode A; every other text is mode B.
Mode playModeFromText(const QString &text);
QString playModeToText(Mode playMode);

} // namespace SettingsText
