// Writes the program's icon as dartrail-N.png for every size into the folder given, and the
// largest also as dartrail.png, the file the desktop entry names.
#include "ui/appicon.h"

#include <QDir>

int main(int argc, char *argv[]) {
    const QDir folder(QString::fromLocal8Bit(argc > 1 ? argv[1] : "."));
    for (int size : AppIcon::Sizes) {
        if (!AppIcon::image(size).save(
                folder.filePath(QStringLiteral("dartrail-%1.png").arg(size))))
            return 1;
    }
    return AppIcon::image(AppIcon::Sizes.last())
                   .save(folder.filePath(QStringLiteral("dartrail.png")))
               ? 0
               : 1;
}
