#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The program's icon, a small dartboard drawn at each size a desktop asks for, so it stays
// sharp from a 16-pixel task bar to a 256-pixel launcher.
namespace AppIcon {

inline const QList<int> Sizes{16, 24, 32, 48, 64, 128, 256};

QImage image(int size);
QIcon icon();

} // namespace AppIcon
