#pragma once

#include <QFont>

// The Japanese Gothic faces the windows are designed for, mapped to the IPA faces (from the
// machine, else from beside the program) or any fixed and proportional sans face present.
namespace Fonts {

// Call once, before any window is created.
void installSubstitutes();

QFont gothic(double pointSize, bool bold = false);             // fixed pitch
QFont proportionalGothic(double pointSize, bool bold = false); // proportional

} // namespace Fonts
