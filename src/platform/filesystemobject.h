#pragma once

#include "platform/uniquefd.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <mutex>

struct stat;

// Every access to the history and settings files goes through this object. Paths are the bytes
// the system names files by, whatever their encoding; files are plain 8-bit bytes, never
// re-encoded; lines end in CR LF. Only regular files are read or written, and opening never
// blocks: a folder, a pipe, a device or a socket of that name is refused. A write is on disk
// (fsync) before success is reported, and a rewrite replaces the old file (rename) only once the
// new one is complete, keeping its owner and permissions.
class FileSystemObject {
public:
    using Path = QByteArray;

    // The outcome of an operation: success, or the system's error number and its description.
    class Result {
    public:
        // Not system error numbers: the name is a pipe, a device or a socket; the file is not
        // this program's alone (see appendToOwnFile).
        static constexpr int NotRegularFile = -1;
        static constexpr int NotOwnFile = -2;

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
    enum class Call { Stat, Open, Read, Write, Sync, Chmod, Close, Rename, Unlink, Link };
    // Consulted before each system call; a non-zero error number fails that call instead.
    // Lets tests break an operation at any step; empty in the program. Calls from several
    // threads reach it one at a time, so a hook may keep state (but must not call the object).
    using FaultHook = std::function<int(Call)>;
    void setFaultHook(FaultHook hook);

    // The whole file; one larger than maxBytes fails with EFBIG before anything is read. With
    // `complete`, a larger file gives its first maxBytes bytes instead and clears the flag.
    Result readAll(const Path &path, QByteArray &content, qint64 maxBytes,
                   bool *complete = nullptr) const;
    // The whole file as readAll reads it, but a chunk of ChunkBytes at a time into one buffer,
    // each chunk given to `take` with the size the file had when opened: a large file is never
    // held whole.
    Result readChunks(const Path &path, qint64 maxBytes,
                      const std::function<void(QByteArrayView bytes, qint64 fileSize)> &take) const;
    // The file's last maxBytes bytes, or all of a smaller one, which sets `whole`.
    Result readTail(const Path &path, QByteArray &content, qint64 maxBytes, bool &whole) const;
    // Appends the line and CR LF, creating the file when missing. A last line without its line
    // end is ended first, so the new line never merges into it.
    Result appendLine(const Path &path, QByteArrayView line) const;
    // Appends as appendLine does, but only to an existing file of this name alone: no symbolic
    // link, no hard link (link count 1), and, when `isOwn` is given, one whose last bytes (at
    // most OwnTailBytes) it accepts. Anything else is refused with NotOwnFile: no other file
    // ever gains the line.
    static constexpr qsizetype OwnTailBytes = 64;
    Result appendToOwnFile(const Path &path, QByteArrayView line,
                           const std::function<bool(QByteArrayView lastBytes)> &isOwn = {}) const;
    // Replaces the file's bytes, creating it when missing: written to a hidden file beside it,
    // flushed (fsync), then renamed over it. On failure the old file is untouched.
    Result replaceFile(const Path &path, QByteArrayView bytes) const;
    // Whether the name is a regular file (a link to one counts).
    bool isFile(const Path &path) const;
    // Removes the file; a missing one is no failure.
    Result removeFile(const Path &path) const;
    // Removes the file if it is a regular one: what else has taken its name is left alone.
    Result removeRegularFile(const Path &path) const;
    // Renames the file, replacing any file of the new name at once.
    Result rename(const Path &from, const Path &to) const;
    // Keeps the file as it is now under a fresh hidden name beside `beside`, of the form the
    // clean-up of leftovers removes, given in `hidden` for the caller to rename or remove: a
    // hard link where the file has no other name, a copy otherwise (and where the file system
    // has no hard links), as a file with other names may change through them.
    Result keepAside(const Path &path, const Path &beside, Path &hidden) const;
    // How rewriteFile streams a file into its replacement, so that a large history is never
    // held whole.
    struct Rewriting {
        // When set, the replacement begins with the first prefixBytes bytes of this other file
        // (all of a shorter one), each chunk also shown to prefixCopied.
        Path prefixFrom;
        qint64 prefixBytes = 0;
        std::function<void(QByteArrayView bytes)> prefixCopied;
        // Gets the file's bytes a chunk at a time, `last` with the final one (perhaps empty),
        // and appends the bytes that replace them to `out`.
        std::function<void(QByteArrayView bytes, bool last, QByteArray &out)> filter;
        // Asked once the replacement is complete, before it replaces the file: a failure
        // leaves the file as it was and is returned.
        std::function<Result()> beforeReplace;
    };
    // Small enough that a chunk is still in the cache when it is parsed after its read.
    static constexpr qsizetype ChunkBytes = 1 << 17;
    // Replaces the content of an existing file as replaceFile does, through the rewriting. Memory
    // running out fails it with ENOMEM, like any other failure.
    Result rewriteFile(const Path &path, const Rewriting &rewriting) const;
    // Removes the hidden files that a rewrite of one of these files, killed midway, left in
    // the folder: regular files of exactly the form of name such a rewrite gives, and nothing
    // else. Only safe while no other process may be rewriting them.
    void removeLeftovers(const Path &folder, const QByteArrayList &fileNames) const;

private:
    // Writes the new file, given the old one (-1 when there is none).
    using ContentWriter = std::function<Result(int oldFd, int newFd)>;

    template <typename Function> auto call(Call which, Function &&function) const;
    UniqueFd openRegular(const Path &path, int flags, struct stat &info, Result &result) const;
    Result writeAll(int fd, QByteArrayView bytes) const;
    // Reads from fd to its end a chunk at a time, `last` with the final one (empty).
    Result readEach(int fd,
                    const std::function<Result(QByteArrayView bytes, bool last)> &take) const;
    Result copyBytes(int from, int to, qint64 maxBytes,
                     const std::function<void(QByteArrayView)> &copied = {}) const;
    Result append(const Path &path, QByteArrayView line, bool own,
                  const std::function<bool(QByteArrayView)> &isOwn) const;
    Result replace(const Path &path, bool rewrite, const ContentWriter &writeContent,
                   const std::function<Result()> &beforeReplace = {}) const;
    Result writeHidden(const Path &beside, const struct stat &like,
                       const std::function<Result(int fd)> &writeContent, Path &hidden) const;

    mutable std::mutex m_faultHookMutex;
    FaultHook m_faultHook;
};
