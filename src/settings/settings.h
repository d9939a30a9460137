#pragma once

#include "platform/filesystemobject.h"
#include "settings/apppaths.h"
#include "settings/inifile.h"
#include "settings/playmode.h"
#include "settings/settingstext.h"

// The settings file of the run, read and written through the run's file layer, and the two
// settings the main window changes while it runs: the play mode and the panel order (places from
// the top of the this-time card, the recent grid and the averages grid; 0 = hidden), both written
// back at shutdown.
class Settings {
public:
    explicit Settings(const FileSystemObject &fileSystem)
        : m_fileSystem(fileSystem) {}

    QString ReadSetting(const QString &section, const QString &key,
                        const QString &defaultValue) const {
        return IniFile(AppPaths::settingsFile(), m_fileSystem).read(section, key, defaultValue);
    }
    // A failed write leaves the file as it was.
    FileSystemObject::Result WriteSetting(const QString &section, const QString &key,
                                          const QString &value) const {
        return IniFile(AppPaths::settingsFile(), m_fileSystem).write(section, key, value);
    }

    Mode PlayMode = Mode::A;
    SettingsText::PanelOrder PanelOrder{1, 2, 3};

private:
    const FileSystemObject &m_fileSystem;
};
