#include "app/inifile.h"

#include <QFile>
#include <QSaveFile>

#include <SimpleIni.h>

namespace {

// Settings text is 8-bit, handed over byte for byte.
std::string bytes(const QString &text) {
    return text.toLatin1().toStdString();
}

bool load(const QString &path, CSimpleIniA &ini) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    return ini.LoadData(content.constData(), size_t(content.size())) >= 0;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path)) {
}

QString IniFile::read(const QString &section, const QString &key,
                      const QString &defaultValue) const {
    CSimpleIniA ini;
    if (!load(m_path, ini))
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
    if (QFile::exists(m_path) && !load(m_path, ini))
        return false; // never replace a file that exists but cannot be read
    if (ini.SetValue(bytes(section).c_str(), bytes(key).c_str(), bytes(value).c_str()) < 0)
        return false;
    std::string content;
    if (ini.Save(content) < 0)
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content.data(), qint64(content.size()));
    return file.commit();
}
