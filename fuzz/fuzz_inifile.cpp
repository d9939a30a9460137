// Treats the input as the settings file: the program's keys must read as valid settings, a write
// must keep the other keys, read back as written and settle, and nothing may crash.
#include "settings/inifile.h"
#include "settings/playmode.h"
#include "settings/settingstext.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// A value the file can hold on one line as the program writes them: no line breaks or NULs, no
// quotes (a pair around it would not be part of it), no blanks at either end.
QString storableValue(const uint8_t *data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    bytes.removeIf(
        [](char c) { return c == '\r' || c == '\n' || c == '\0' || c == '"' || c == '\''; });
    return QString::fromLatin1(bytes).trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dartrail.ini"));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    static const FileSystemObject files;
    const IniFile ini(QFile::encodeName(path), files);

    const QString grid =
        ini.read(QStringLiteral("WINDOW"), QStringLiteral("GRID"), QStringLiteral("123"));
    const QString mode =
        ini.read(QStringLiteral("game"), QStringLiteral("mode"), QStringLiteral("A"));
    require(grid.toLatin1().size() <= IniFile::MaxValueBytes);
    require(mode.toLatin1().size() <= IniFile::MaxValueBytes);
    for (const qint16 place : SettingsText::panelOrderFromText(grid))
        require(place >= 0 && place <= 9);
    const Mode playMode = SettingsText::playModeFromText(mode);
    require(playMode == Mode::A || playMode == Mode::B);

    const QString value = storableValue(data, size);
    for (const QString &written : {value, value + QStringLiteral("!")}) {
        if (!ini.write(QStringLiteral("Fuzz"), QStringLiteral("Value"), written).ok())
            return 0;
        require(ini.read(QStringLiteral("FUZZ"), QStringLiteral("value"), QString()) ==
                written.left(IniFile::MaxValueBytes));
    }
    // A write changes no other value, however odd the rest of the file.
    require(ini.read(QStringLiteral("WINDOW"), QStringLiteral("GRID"), QStringLiteral("123")) ==
            grid);
    require(ini.read(QStringLiteral("game"), QStringLiteral("mode"), QStringLiteral("A")) == mode);
    require(ini.write(QStringLiteral("Fuzz"), QStringLiteral("Value"), value).ok());
    // Writing what the file already holds changes not a byte: no blank lines creep in.
    const auto content = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray settled = content();
    require(ini.write(QStringLiteral("Fuzz"), QStringLiteral("Value"), value).ok() &&
            content() == settled);
    return 0;
}
