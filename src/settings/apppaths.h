#pragma once

#include "settings/datafolder.h"

#include <QByteArray>
#include <QString>

// Where the program keeps its files: the data folder of the run and the settings folder; the
// settings file is named after the executable. Paths are the bytes the system names files by, so a
// folder whose name is no valid UTF-8 is still the folder the program lies in. Tests point it at a
// folder of their own.
class AppPaths {
public:
    // The choice of this run, made on the first call from the running executable and the
    // environment, and kept for the rest of the run.
    static const DataFolder &dataFolder();
    static QByteArray directory();
    // The running executable as the system names it, and its folder.
    static QByteArray executable();
    static QByteArray executableDirectory();
    // The settings file's folder: the data folder, or the user's configuration folder.
    static QByteArray settingsDirectory();
    static QByteArray settingsFile();
    static QByteArray filePath(QByteArrayView fileName);
    // The settings file's name without its folder.
    static QByteArray settingsFileName();

    // Replaces the data folder and the executable's name; an empty directory restores them.
    static void overrideForTests(const QString &directory, const QString &executableName);
    // Replaces the running executable's path; an empty one restores it.
    static void overrideExecutableForTests(const QString &executable);
};
