#pragma once

#include <QString>

// Where the program keeps its files: the data folder of the run; the settings file is named after
// the executable.
// Tests point it at a folder of their own.
class AppPaths {
public:
    static QString directory();
    static QString settingsFile();
    static QString filePath(const QString &fileName);

    // Replaces the executable's folder and name; an empty directory restores them.
    static void overrideForTests(const QString &directory, const QString &executableName);
};
