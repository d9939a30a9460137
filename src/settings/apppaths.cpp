#include "settings/apppaths.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {

QByteArray overriddenDirectory;
QByteArray overriddenExecutableName;
QByteArray overriddenExecutable;

} // namespace

// Qt's own answer is decoded text, which loses every byte that is not UTF-8; the link in /proc
// keeps them.
QByteArray AppPaths::executable() {
    if (!overriddenExecutable.isEmpty())
        return overriddenExecutable;
    QByteArray path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), size_t(path.size()));
    if (length <= 0 || length >= path.size())
        return QFile::encodeName(QCoreApplication::applicationFilePath());
    path.truncate(length);
    // A program replaced while it runs (a new build copied over it) is still the same program.
    constexpr QByteArrayView Deleted = " (deleted)";
    if (path.endsWith(Deleted) && ::access(path.constData(), F_OK) != 0)
        path.chop(Deleted.size());
    return path;
}

QByteArray AppPaths::executableDirectory() {
    const QByteArray path = executable();
    return path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1));
}

const DataFolder &AppPaths::dataFolder() {
    static const DataFolder chosen =
        DataFolder::choose(executableDirectory(), qgetenv("XDG_DATA_HOME"), qgetenv("HOME"));
    return chosen;
}

QByteArray AppPaths::directory() {
    if (!overriddenDirectory.isEmpty())
        return overriddenDirectory;
    return dataFolder().path();
}

QByteArray AppPaths::settingsFileName() {
    const QByteArray program =
        !overriddenDirectory.isEmpty() ? overriddenExecutableName : executable();
    // The whole file name: "Dart.v2" has no extension to drop, and a renamed copy such as
    // "Dartrail.old" must not share the settings of "Dartrail".
    return program.mid(program.lastIndexOf('/') + 1) + ".ini";
}

QByteArray AppPaths::settingsDirectory() {
    if (!overriddenDirectory.isEmpty())
        return overriddenDirectory;
    // Chosen once: the first choice may move the settings file.
    static const QByteArray chosen = dataFolder().settingsFolder(
        executableDirectory(), qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME"), settingsFileName());
    return chosen;
}

QByteArray AppPaths::settingsFile() {
    return settingsDirectory() + '/' + settingsFileName();
}

QByteArray AppPaths::filePath(QByteArrayView fileName) {
    QByteArray path = directory();
    if (!path.endsWith('/'))
        path += '/';
    return path.append(fileName);
}

void AppPaths::overrideForTests(const QString &directory, const QString &executableName) {
    overriddenDirectory = QFile::encodeName(directory);
    overriddenExecutableName = QFile::encodeName(executableName);
}

void AppPaths::overrideExecutableForTests(const QString &executable) {
    overriddenExecutable = QFile::encodeName(executable);
}
