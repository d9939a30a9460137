#pragma once

#include "platform/filesystemobject.h"

#include <QByteArray>
#include <QString>

// One private-profile settings file (sections in brackets, key=value lines), read and written
// as the platform's profile functions do: names match case-insensitively, a key counts only in
// the first section of its name and only its first line counts, and one pair of quotes around a
// value is not part of it. Every call reads the file anew.
class IniFile {
public:
    IniFile(QByteArray path, const FileSystemObject &fileSystem);

    // The value of the key, cut to 511 bytes; the default when the file, the section or the
    // key is missing; the empty text when the key is present with an empty value. Only the
    // file's first MaxFileBytes are looked at, as a huge file can hold no settings of ours.
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;

    // Creates the file, section and key as needed and changes nothing else: every other byte of
    // the file stays. The file is replaced atomically; fails, leaving it as it was, when it
    // cannot be written, or is larger than MaxFileBytes (EFBIG) and so was not read whole.
    FileSystemObject::Result write(const QString &section, const QString &key,
                                   const QString &value) const;

    static constexpr int MaxValueBytes = 511;
    static constexpr qint64 MaxFileBytes = 64 * 1024;

private:
    QByteArray m_path;
    const FileSystemObject &m_fileSystem;
};
