#include "app/inifile.h"

#include "platform/filesystemobject.h"

#include <QRegularExpression>

#include <SimpleIni.h>

#include <cerrno>

namespace {

// Settings text is 8-bit, handed over byte for byte.
std::string bytes(const QString &text) {
    return text.toLatin1().toStdString();
}

// Line patterns as SimpleIni reads them: lines end at CR, LF or both, and blanks are spaces and
// tabs. A line with a section or key, and with it its line break.
const QRegularExpression
    entryLine(QStringLiteral(R"((*ANYCRLF)(?m)^[ \t]*[^ \t\r\n;#].*(\r\n|\r|\n)?)"));
// A section name without its closing bracket.
const QRegularExpression unclosedSection(QStringLiteral(R"((*ANYCRLF)(?m)^[ \t]*\[[^\]\r\n]*$)"));

// Of two keys of one name the first counts, as with the platform's profile reader; SimpleIni
// keeps only the last unless it holds both.
class Profile : public CSimpleIniA {
public:
    Profile()
        : CSimpleIniA(false, true) {
        SetSpaces(false); // key=value, as the platform's profile writer does
    }

    // SimpleIni would read the line after a section name that lacks its bracket into the name,
    // and write it back so, one line more each time; the line is left out like any other that
    // is neither section nor key. The line break in front keeps SimpleIni from taking a
    // byte-order mark for UTF-8: the settings are 8-bit text, read as the platform's reader
    // does, and a name written first must read back the same.
    bool load(QByteArrayView content) {
        const QByteArray text =
            '\n' + QString::fromLatin1(content).remove(unclosedSection).toLatin1();
        return LoadData(text.constData(), size_t(text.size())) >= 0;
    }

    // Replaces the first of two keys of one name, keeping its spelling, and drops the later one,
    // which never counted.
    bool replace(const std::string &section, const std::string &key, const std::string &value) {
        std::string spelling = key;
        if (const TKeyVal *keys = GetSection(section.c_str())) {
            const auto found = keys->find(Entry(key.c_str()));
            if (found != keys->end())
                spelling = found->first.pItem; // copied, as the replacement frees it
        }
        return SetValue(section.c_str(), spelling.c_str(), value.c_str(), nullptr, true) >= 0;
    }
};

// A missing file reads as an empty one where that is asked for.
bool readFile(const FileSystemObject &fileSystem, const QString &path, QByteArray &content,
              bool missingIsEmpty) {
    const FileSystemObject::Result result = fileSystem.readAll(path, content);
    return result.ok() || (missingIsEmpty && result.error() == ENOENT);
}

// Where the comments and blank lines after the last section or key begin. SimpleIni keeps a
// comment only with the entry below it, so these would be lost.
qsizetype trailingCommentsStart(QByteArrayView content) {
    QRegularExpressionMatch last;
    return QString::fromLatin1(content).lastIndexOf(entryLine, -1, &last) < 0 ? 0
                                                                              : last.capturedEnd();
}

// Writes SimpleIni's output without the blank lines it puts before sections and comments, so
// that a hand-made file keeps its shape, and with the line breaks the file already uses.
class TidyWriter : public CSimpleIniA::OutputWriter {
public:
    TidyWriter(std::string &output, const char *lineBreak)
        : m_output(output)
        , m_lineBreak(lineBreak) {}

    void Write(const char *text) override {
        if (qstrcmp(text, "\n") != 0) {
            m_output += text;
        } else if (!m_output.empty() && !m_output.ends_with('\n')) {
            m_output += m_lineBreak;
        }
    }

private:
    std::string &m_output;
    const char *m_lineBreak;
};

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
    QByteArray content;
    Profile ini;
    if (!readFile(m_fileSystem, m_path, content, false) || !ini.load(content))
        return defaultValue;
    const char *value = ini.GetValue(bytes(section).c_str(), bytes(key).c_str(), nullptr);
    if (value == nullptr)
        return defaultValue;
    return QString::fromLatin1(
        QByteArrayView(value).first(std::min<qsizetype>(qstrlen(value), MaxValueBytes)));
}

bool IniFile::write(const QString &section, const QString &key, const QString &value) const {
    QByteArray content;
    // Never replace a file that exists but cannot be read.
    if (!readFile(m_fileSystem, m_path, content, true))
        return false;
    const QByteArrayView body = QByteArrayView(content).first(trailingCommentsStart(content));
    Profile ini;
    if (!ini.load(body) || !ini.replace(bytes(section), bytes(key), bytes(value)))
        return false;
    // A new file gets CR LF, as the history files do.
    const bool lf = content.contains('\n') && !content.contains("\r\n");
    std::string output;
    TidyWriter writer(output, lf ? "\n" : "\r\n");
    if (ini.Save(writer, false) < 0)
        return false;
    output.append(content.sliced(body.size()).toStdString());
    return m_fileSystem.replaceFile(m_path, QByteArrayView(output.data(), qsizetype(output.size())))
        .ok();
}
