#include "app/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString overriddenDirectory;
QString overriddenBaseName;
} // namespace

QString AppPaths::directory() {
    if (!overriddenDirectory.isEmpty())
        return overriddenDirectory;
    return QCoreApplication::applicationDirPath();
}

QString AppPaths::settingsFile() {
    const QString baseName =
        !overriddenDirectory.isEmpty()
            ? overriddenBaseName
            : QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return filePath(baseName + QStringLiteral(".ini"));
}

QString AppPaths::filePath(const QString &fileName) {
    return QDir(directory()).filePath(fileName);
}

void AppPaths::overrideForTests(const QString &directory, const QString &baseName) {
    overriddenDirectory = directory;
    overriddenBaseName = baseName;
}
