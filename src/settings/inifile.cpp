#include "settings/inifile.h"

#include "platform/filesystemobject.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace {

// Settings text is 8-bit, handed over byte for byte.
QByteArray bytes(const QString &text) {
    return text.toLatin1();
}

QByteArrayView trimmed(QByteArrayView text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

// Where one line lies in the file: its text without the line break, and the line break's end.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// A line ends in CR LF, LF or a lone CR (old Mac editors), as the platform's profile reader has it.
Line lineAt(QByteArrayView content, qsizetype start) {
    Line line{start, start, content.size()};
    while (line.end < content.size() && content[line.end] != '\n' && content[line.end] != '\r')
        ++line.end;
    if (line.end < content.size())
        line.next = line.end + (content.sliced(line.end).startsWith("\r\n") ? 2 : 1);
    return line;
}

// The first section of a name in a file and, in it, the first line of a key.
struct Place {
    std::optional<Line> section;
    std::optional<Line> key;
    qsizetype afterLastKey = 0; // where a new key of the section goes
};

// A line "[name]" opens a section; "key=value" is a key; any other line is no concern of ours.
std::optional<QByteArrayView> sectionName(QByteArrayView text) {
    text = trimmed(text);
    const qsizetype close = text.indexOf(']');
    if (!text.startsWith('[') || close < 0)
        return std::nullopt;
    return trimmed(text.sliced(1, close - 1));
}

Place find(QByteArrayView content, QByteArrayView section, QByteArrayView key) {
    Place place;
    for (qsizetype start = 0; start < content.size();) {
        const Line line = lineAt(content, start);
        start = line.next;
        const QByteArrayView text = content.sliced(line.start, line.end - line.start);
        if (const auto name = sectionName(text)) {
            if (place.section)
                break; // only the first section of the name counts
            if (sameName(*name, section)) {
                place.section = line;
                place.afterLastKey = line.next;
            }
        } else if (place.section) {
            const qsizetype equals = text.indexOf('=');
            if (equals < 0)
                continue;
            place.afterLastKey = line.next;
            if (sameName(trimmed(text.first(equals)), key)) {
                place.key = line;
                break;
            }
        }
    }
    return place;
}

// The value of a key line: blanks and one pair of quotes around it are no part of it.
QByteArrayView valueOf(QByteArrayView keyLine) {
    QByteArrayView value = trimmed(keyLine.sliced(keyLine.indexOf('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(QByteArray path, const FileSystemObject &fileSystem)
    : m_path(std::move(path))
    , m_fileSystem(fileSystem) {
}

QString IniFile::read(const QString &section, const QString &key,
                      const QString &defaultValue) const {
    QByteArray content;
    bool complete = true;
    if (!m_fileSystem.readAll(m_path, content, MaxFileBytes, &complete).ok())
        return defaultValue;
    if (!complete) // a line cut off by the limit is no line
        content.truncate(std::max(content.lastIndexOf('\n'), content.lastIndexOf('\r')) + 1);
    const Place place = find(content, bytes(section), bytes(key));
    if (!place.key)
        return defaultValue;
    const QByteArrayView line =
        QByteArrayView(content).sliced(place.key->start, place.key->end - place.key->start);
    return QString::fromLatin1(
        valueOf(line).first(std::min<qsizetype>(valueOf(line).size(), MaxValueBytes)));
}

FileSystemObject::Result IniFile::write(const QString &section, const QString &key,
                                        const QString &value) const {
    QByteArray content;
    bool complete = true;
    const FileSystemObject::Result result =
        m_fileSystem.readAll(m_path, content, MaxFileBytes, &complete);
    // Never replace a file that exists but cannot be read whole.
    if (!result.ok() && result.error() != ENOENT)
        return result;
    if (!complete)
        return FileSystemObject::Result(EFBIG);
    // A new file gets CR LF, as the history files do; a file keeps its own line breaks.
    const QByteArray lineBreak = !content.contains('\n') && content.contains('\r')     ? "\r"
                                 : content.contains('\n') && !content.contains("\r\n") ? "\n"
                                                                                       : "\r\n";
    const Place place = find(content, bytes(section), bytes(key));
    if (place.key) {
        // The key keeps its spelling and all before "="; only the value is ours.
        const qsizetype valueStart = content.indexOf('=', place.key->start) + 1;
        content.replace(valueStart, place.key->end - valueStart, bytes(value));
    } else {
        QByteArray entry = bytes(key) + '=' + bytes(value) + lineBreak;
        if (!place.section)
            entry.prepend('[' + bytes(section) + ']' + lineBreak);
        const qsizetype at = place.section ? place.afterLastKey : content.size();
        // A last line without its line break is ended first. In a file of LF or CR LF breaks, a
        // lone CR before the new lines gets the LF that makes it CR LF, the file's other end of a
        // line.
        if (at > 0 && content[at - 1] != '\n' && (content[at - 1] != '\r' || lineBreak != "\r"))
            entry.prepend(content[at - 1] == '\r' ? QByteArray("\n") : lineBreak);
        content.insert(at, entry);
    }
    return m_fileSystem.replaceFile(m_path, content);
}
