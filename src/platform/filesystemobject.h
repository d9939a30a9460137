#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Every access to the history and settings files goes through this object. Files are plain 8-bit
// bytes, never re-encoded; lines end in CR LF; a write is on disk before success is reported, and a
// rewrite replaces the old file only once the new one is complete.
class FileSystemObject {
public:
    // The outcome of an operation: success, or the system's error number and its description.
    class Result {
    public:
        Result() = default;
        explicit Result(int error)
            : m_error(error) {}
        bool ok() const { return m_error == 0; }
        int error() const { return m_error; }
        QString description() const; // empty on success

    private:
        int m_error = 0;
    };

    // The system calls the object makes, as the fault hook sees them.
    enum class Call { Stat, Open, Read, Write, Sync, Chmod, Close, Rename };
    // Consulted before each system call; a non-zero error number fails that call instead.
    // Lets tests break an operation at any step; empty in the program.
    using FaultHook = std::function<int(Call)>;
    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }

    // True for anything of that name, a folder too; a folder then fails to be read or written.
    bool exists(const QString &path) const;
    Result size(const QString &path, qint64 &bytes) const;
    Result readAll(const QString &path, QByteArray &content) const;
    // Appends the line and CR LF, creating the file when missing. A last line without its line
    // end is ended first, so the new line never merges into it.
    Result appendLine(const QString &path, QByteArrayView line) const;
    // Replaces the file's bytes, creating it when missing: written to a hidden file beside it,
    // flushed, then renamed over it. On failure the old file is untouched.
    Result replaceFile(const QString &path, QByteArrayView bytes) const;
    // Replaces the content of an existing file with the lines, each ending in CR LF, as
    // replaceFile does.
    Result replaceLines(const QString &path, const QByteArrayList &lines) const;

private:
    using ContentWriter = std::function<Result(int fd)>;

    template <typename Function> auto call(Call which, Function &&function) const;
    Result writeAll(int fd, QByteArrayView bytes) const;
    Result replace(const QString &path, bool mustExist, const ContentWriter &writeContent) const;

    FaultHook m_faultHook;
};
