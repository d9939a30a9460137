#pragma once

#include <QString>

class FileSystemObject;

// One private-profile settings file (sections in brackets, key=value lines).
// Every call reads the file anew; section and key names match case-insensitively.
class IniFile {
public:
    // Without a file-system object, the file is read and written through one of its own.
    explicit IniFile(QString path);
    IniFile(QString path, const FileSystemObject &fileSystem);

    // The value of the key, cut to 511 bytes; the default when the file, the section or the
    // key is missing; the empty text when the key is present with an empty value.
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;

    // Creates the file, section and key as needed and keeps everything else of the file.
    // The file is replaced atomically; returns false when it could not be written.
    bool write(const QString &section, const QString &key, const QString &value) const;

    static constexpr int MaxValueBytes = 511;

private:
    QString m_path;
    const FileSystemObject &m_fileSystem;
};
