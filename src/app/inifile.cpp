#include "app/inifile.h"

#include "platform/filesystemobject.h"

#include <SimpleIni.h>

#include <cerrno>

namespace {

// Settings text is 8-bit, handed over byte for byte.
std::string bytes(const QString &text) {
    return text.toLatin1().toStdString();
}

// A missing file loads as an empty one.
bool load(const FileSystemObject &fileSystem, const QString &path, CSimpleIniA &ini,
          bool missingIsEmpty) {
    QByteArray content;
    const FileSystemObject::Result result = fileSystem.readAll(path, content);
    if (!result.ok())
        return missingIsEmpty && result.error() == ENOENT;
    return ini.LoadData(content.constData(), size_t(content.size())) >= 0;
}

const FileSystemObject ownFileSystem;

} // namespace

IniFile::IniFile(QString path)
    : IniFile(std::move(path), ownFileSystem) {
}

IniFile::IniFile(QString path, const FileSystemObject &fileSystem)
    : m_path(std::move(path))
    , m_fileSystem(fileSystem) {
}

QString IniFile::read(const QString &section, const QString &key,
                      const QString &defaultValue) const {
    CSimpleIniA ini;
    if (!load(m_fileSystem, m_path, ini, false))
        return defaultValue;
    const char *value = ini.GetValue(bytes(section).c_str(), bytes(key).c_str(), nullptr);
    if (value == nullptr)
        return defaultValue;
    return QString::fromLatin1(
        QByteArrayView(value).first(std::min<qsizetype>(qstrlen(value), MaxValueBytes)));
}

bool IniFile::write(const QString &section, const QString &key, const QString &value) const {
    CSimpleIniA ini;
    ini.SetSpaces(false); // key=value, as the platform's profile writer does
    // Never replace a file that exists but cannot be read.
    if (!load(m_fileSystem, m_path, ini, true))
        return false;
    if (ini.SetValue(bytes(section).c_str(), bytes(key).c_str(), bytes(value).c_str()) < 0)
        return false;
    std::string content;
    if (ini.Save(content) < 0)
        return false;
    return m_fileSystem
        .replaceFile(m_path, QByteArrayView(content.data(), qsizetype(content.size())))
        .ok();
}
