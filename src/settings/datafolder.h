#pragma once

#include <QByteArray>
#include <QString>

// Where settings and histories live. Beside the executable when its folder can be written (a
// folder install, a copy to run from); otherwise, and always for the system install, in the user's
// own $XDG_DATA_HOME/Dartrail, so that every user of a shared install has a history of their own.
// Paths are bytes, as the kernel sees them: a folder name need not be UTF-8.
class DataFolder {
public:
    // Creates the user's folder when it is the one chosen and missing.
    static DataFolder choose(const QByteArray &executableFolder, const QByteArray &xdgDataHome,
                             const QByteArray &home);
    // Where the settings file of that name goes: beside the histories when they are beside the
    // executable, else in the user's $XDG_CONFIG_HOME/dartrail, where a settings file that an
    // earlier version kept in the data folder is moved once. The data folder serves when the
    // settings folder cannot be made or the old file not moved.
    QByteArray settingsFolder(const QByteArray &executableFolder, const QByteArray &xdgConfigHome,
                              const QByteArray &home, const QByteArray &fileName) const;

    // The folder chosen; when nothing can be written, the user's folder that failed.
    const QByteArray &path() const { return m_path; }
    // Empty when the folder can be written; else what the player is told at start-up.
    const QString &failure() const { return m_failure; }

private:
    QByteArray m_path;
    QString m_failure;
};

// The system install keeps its read-only files (the help page) here, seen from the executable's
// folder; the folder's presence is what tells the system install from a folder install.
inline constexpr char SharedFilesFolder[] = "../share/dartrail";
