#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <functional>

struct stat;

// Every access to the history and settings files goes through this object. Paths are the bytes
// the system names files by, whatever their encoding; files are plain 8-bit bytes, never
// re-encoded; lines end in CR LF. Only regular files are read or written, and opening never
// blocks: a folder, a pipe, a device or a socket of that name is refused. A write is on disk
// before success is reported, and a rewrite replaces the old file only once the new one is
// complete, keeping its owner and permissions.
class FileSystemObject {
public:
    using Path = QByteArray;

    // The outcome of an operation: success, or the system's error number and its description.
    class Result {
    public:
        // Not a system error number: the name is a pipe, a device or a socket.
        static constexpr int NotRegularFile = -1;

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
    enum class Call { Stat, Open, Read, Write, Sync, Chmod, Close, Rename, Unlink };
    // Consulted before each system call; a non-zero error number fails that call instead.
    // Lets tests break an operation at any step; empty in the program.
    using FaultHook = std::function<int(Call)>;
    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }

    // The whole file; one larger than maxBytes fails with EFBIG before anything is read. With
    // `complete`, a larger file gives its first maxBytes bytes instead and clears the flag.
    Result readAll(const Path &path, QByteArray &content, qint64 maxBytes,
                   bool *complete = nullptr) const;
    // Appends the line and CR LF, creating the file when missing. A last line without its line
    // end is ended first, so the new line never merges into it.
    Result appendLine(const Path &path, QByteArrayView line) const;
    // Replaces the file's bytes, creating it when missing: written to a hidden file beside it,
    // flushed, then renamed over it. On failure the old file is untouched.
    Result replaceFile(const Path &path, QByteArrayView bytes) const;
    // Whether the name is a regular file (a link to one counts).
    bool isFile(const Path &path) const;
    // Removes the file; a missing one is no failure.
    Result removeFile(const Path &path) const;
    // Appends the next lines to `chunk`, each ending in CR LF, until it holds ChunkBytes or
    // more; false once every line is in.
    using LineWriter = std::function<bool(QByteArray &chunk)>;
    static constexpr qsizetype ChunkBytes = 1 << 20;
    // Replaces the content of an existing file with the lines, as replaceFile does, written a
    // chunk at a time, so that a large history is never held twice.
    Result replaceLines(const Path &path, const LineWriter &nextLines) const;
    // Removes the hidden files that a rewrite of one of these files, killed midway, left in
    // the folder. Only safe while no other process may be rewriting them.
    void removeLeftovers(const Path &folder, const QByteArrayList &fileNames) const;

private:
    using ContentWriter = std::function<Result(int fd)>;

    template <typename Function> auto call(Call which, Function &&function) const;
    int openRegular(const Path &path, int flags, struct stat &info, Result &result) const;
    Result writeAll(int fd, QByteArrayView bytes) const;
    Result replace(const Path &path, bool mustExist, const ContentWriter &writeContent) const;

    FaultHook m_faultHook;
};
