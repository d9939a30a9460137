#include "settings/settings.h"

#include "settings/apppaths.h"
#include "settings/inifile.h"

QString Settings::ReadSetting(const QString &section, const QString &key,
                              const QString &defaultValue) const {
    return IniFile(AppPaths::settingsFile(), m_fileSystem).read(section, key, defaultValue);
}

FileSystemObject::Result Settings::WriteSetting(const QString &section, const QString &key,
                                                const QString &value) const {
    return IniFile(AppPaths::settingsFile(), m_fileSystem).write(section, key, value);
}
