#include "app/apppaths.h"

#include "app/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString overriddenDirectory;
QString overriddenExecutableName;
} // namespace

QString AppPaths::directory() {
    if (!overriddenDirectory.isEmpty())
        return overriddenDirectory;
    return QFile::decodeName(DataFolder::ofThisRun().path());
}

QString AppPaths::settingsFile() {
    const QString executable = !overriddenDirectory.isEmpty()
                                   ? filePath(overriddenExecutableName)
                                   : QCoreApplication::applicationFilePath();
    // The whole file name: "Dart.v2" has no extension to drop, and a renamed copy such as
    // "Dartrail.old" must not share the settings of "Dartrail".
    return filePath(QFileInfo(executable).fileName() + QStringLiteral(".ini"));
}

QString AppPaths::filePath(const QString &fileName) {
    return QDir(directory()).filePath(fileName);
}

void AppPaths::overrideForTests(const QString &directory, const QString &executableName) {
    overriddenDirectory = directory;
    overriddenExecutableName = executableName;
}
