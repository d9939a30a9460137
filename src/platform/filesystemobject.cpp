#include "platform/filesystemobject.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Flushes a folder's entries (a created or renamed file). Best effort: the file itself is
// already complete on disk, and not every file system can sync a folder.
void syncFolder(const QByteArray &filePath) {
    QByteArray copy = filePath;
    const int fd = ::open(::dirname(copy.data()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The process's file-creation mask; reading it means setting it, so it is set straight back.
mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// What to report for a name that is there but is no regular file.
int notRegular(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : FileSystemObject::Result::NotRegularFile;
}

// A rewrite's hidden file: "." + the file's name + "." + six characters of mkstemp, here "X"s
// to fill in.
QByteArray hiddenTemplate(const QByteArray &path) {
    QByteArray hidden = path;
    return hidden.insert(path.lastIndexOf('/') + 1, '.').append(".XXXXXX");
}

// Whether a folder's entry is a hidden file of a rewrite of that file.
bool isLeftoverOf(QByteArrayView entry, QByteArrayView fileName) {
    constexpr qsizetype Unique = 6;
    if (entry.size() != fileName.size() + 2 + Unique || !entry.startsWith('.') ||
        entry.sliced(1, fileName.size()) != fileName || entry[fileName.size() + 1] != '.')
        return false;
    const QByteArrayView unique = entry.last(Unique);
    return std::all_of(unique.begin(), unique.end(), [](char c) { return std::isalnum(uchar(c)); });
}

} // namespace

QString FileSystemObject::Result::description() const {
    if (m_error == NotRegularFile)
        return QStringLiteral("Not a regular file");
    return ok() ? QString() : QString::fromLocal8Bit(std::strerror(m_error));
}

// Every system call goes through here: the fault hook first, then the call, repeated when
// a signal interrupted it.
template <typename Function> auto FileSystemObject::call(Call which, Function &&function) const {
    using Return = decltype(function());
    if (m_faultHook) {
        if (const int error = m_faultHook(which)) {
            errno = error;
            return Return(-1);
        }
    }
    Return result;
    do {
        result = function();
    } while (result == Return(-1) && errno == EINTR);
    return result;
}

// The name is looked at before it is opened, so a pipe or a device is never opened at all;
// what was opened is looked at again, as the name may have changed in between. Non-blocking,
// so that not even a pipe put there in that moment can stop the program.
int FileSystemObject::openRegular(const Path &path, int flags, struct stat &info,
                                  Result &result) const {
    if (call(Call::Stat, [&] { return ::stat(path.constData(), &info); }) == 0) {
        if (!S_ISREG(info.st_mode)) {
            result = Result(notRegular(info.st_mode));
            return -1;
        }
    } else if (errno != ENOENT || !(flags & O_CREAT)) {
        result = Result(errno);
        return -1;
    }
    const int fd = call(Call::Open, [&] {
        return ::open(path.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    });
    if (fd < 0) {
        result = Result(errno);
        return -1;
    }
    if (call(Call::Stat, [&] { return ::fstat(fd, &info); }) != 0)
        result = Result(errno);
    else if (!S_ISREG(info.st_mode))
        result = Result(notRegular(info.st_mode));
    if (result.ok())
        return fd;
    ::close(fd);
    return -1;
}

FileSystemObject::Result FileSystemObject::readAll(const Path &path, QByteArray &content,
                                                   qint64 maxBytes, bool *complete) const {
    struct stat info {};
    Result result;
    const int fd = openRegular(path, O_RDONLY, info, result);
    if (fd < 0)
        return result;
    if (complete)
        *complete = true;
    else if (info.st_size > maxBytes)
        result = Result(EFBIG);

    QByteArray bytes;
    qsizetype used = 0;
    try {
        // The size is a hint only: the loop reads until the end, whatever the file holds by
        // then, but never more than the limit and one byte to tell that it was passed.
        const qint64 limit = maxBytes + 1;
        bytes.resize(qsizetype(std::min<qint64>(std::max<qint64>(info.st_size + 1, 4096), limit)));
        while (result.ok()) {
            if (used == bytes.size()) {
                if (used >= limit) {
                    if (complete) {
                        *complete = false;
                        used = qsizetype(maxBytes);
                    } else {
                        result = Result(EFBIG);
                    }
                    break;
                }
                bytes.resize(qsizetype(std::min<qint64>(qint64(bytes.size()) * 2, limit)));
            }
            const ssize_t got = call(Call::Read, [&] {
                return ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
            });
            if (got < 0)
                result = Result(errno);
            else if (got == 0)
                break;
            else
                used += got;
        }
    } catch (const std::bad_alloc &) {
        result = Result(ENOMEM);
    }
    ::close(fd); // read only: nothing is lost if closing fails
    if (result.ok()) {
        bytes.truncate(used);
        content = std::move(bytes);
    }
    return result;
}

FileSystemObject::Result FileSystemObject::writeAll(int fd, QByteArrayView bytes) const {
    while (!bytes.isEmpty()) {
        const ssize_t written =
            call(Call::Write, [&] { return ::write(fd, bytes.data(), size_t(bytes.size())); });
        if (written < 0)
            return Result(errno);
        bytes = bytes.sliced(written);
    }
    return {};
}

FileSystemObject::Result FileSystemObject::appendLine(const Path &path, QByteArrayView line) const {
    struct stat info {};
    Result result;
    const int fd = openRegular(path, O_RDWR | O_APPEND | O_CREAT, info, result);
    if (fd < 0)
        return result;

    char last = '\n';
    if (info.st_size > 0) {
        const ssize_t got =
            call(Call::Read, [&] { return ::pread(fd, &last, 1, info.st_size - 1); });
        if (got != 1)
            result = Result(got < 0 ? errno : EIO);
    }

    if (result.ok()) {
        // A file that does not end in a line end gets its last line ended first.
        QByteArray bytes(last == '\n' ? "" : last == '\r' ? "\n" : "\r\n");
        bytes.append(line).append("\r\n");
        result = writeAll(fd, bytes);
        if (result.ok() && call(Call::Sync, [&] { return ::fsync(fd); }) != 0)
            result = Result(errno);
        // Take back a partial line, so the file stays as it was.
        if (!result.ok() && ::ftruncate(fd, info.st_size) != 0) {
            // nothing more to do: the failure is reported already
        }
    }
    // The line is synced or taken back by now: closing can change neither.
    ::close(fd);
    if (result.ok() && info.st_size == 0) // perhaps created just now
        syncFolder(path);
    return result;
}

FileSystemObject::Result FileSystemObject::replaceFile(const Path &path,
                                                       QByteArrayView bytes) const {
    return replace(path, false, [&](int, int fd) { return writeAll(fd, bytes); });
}

FileSystemObject::Result FileSystemObject::rewriteFile(const Path &path,
                                                       const Rewriting &rewriting) const {
    const ContentWriter streamThrough = [&](int oldFd, int newFd) {
        QByteArray in(ChunkBytes, Qt::Uninitialized);
        QByteArray out;
        out.reserve(ChunkBytes + ChunkBytes / 4);
        for (bool last = false; !last;) {
            const ssize_t got =
                call(Call::Read, [&] { return ::read(oldFd, in.data(), size_t(in.size())); });
            if (got < 0)
                return Result(errno);
            last = got == 0;
            out.resize(0); // keeps the room
            rewriting.filter(QByteArrayView(in.constData(), got), last, out);
            if (const Result result = writeAll(newFd, out); !result.ok())
                return result;
        }
        return Result();
    };
    return replace(path, true, streamThrough, &rewriting);
}

FileSystemObject::Result FileSystemObject::replace(const Path &path, bool mustExist,
                                                   const ContentWriter &writeContent,
                                                   const Rewriting *rewriting) const {
    // A link is followed, so the rename replaces the file it names; a link loop fails here.
    char *resolved = nullptr;
    if (call(Call::Stat,
             [&] {
                 resolved = ::realpath(path.constData(), nullptr);
                 return resolved ? 0 : -1;
             }) != 0 &&
        (mustExist || errno != ENOENT))
        return Result(errno);
    const bool existing = resolved != nullptr;
    const QByteArray target = existing ? QByteArray(resolved) : path;
    std::free(resolved);

    struct stat info {};
    int old = -1;
    if (existing) {
        // Renaming would slip past a read-only file, and replace a folder's or a device's name
        // with a file; opening it for writing does neither.
        Result refused;
        old = openRegular(target, rewriting ? O_RDWR : O_WRONLY, info, refused);
        if (old < 0)
            return refused;
    } else {
        info.st_mode = 0666 & ~currentUmask();
        info.st_uid = ::geteuid();
        info.st_gid = ::getegid();
    }

    QByteArray temporary = hiddenTemplate(target);
    const int fd = call(Call::Open, [&] { return ::mkstemp(temporary.data()); });
    if (fd < 0) {
        const Result failed(errno);
        if (old >= 0)
            ::close(old);
        return failed;
    }

    Result result;
    if (call(Call::Chmod, [&] { return ::fchmod(fd, info.st_mode & 07777); }) != 0)
        result = Result(errno);
    // The owner's file stays the owner's, also when root rewrites it. Only root can give a
    // file away: anyone else's rewrite is theirs, as with any editor.
    if ((info.st_uid != ::geteuid() || info.st_gid != ::getegid()) &&
        ::fchown(fd, info.st_uid, info.st_gid) != 0) {
        // not root: the rewrite is the writer's, as with any editor
    }
    if (result.ok())
        result = writeContent(old, fd);
    if (result.ok() && call(Call::Sync, [&] { return ::fsync(fd); }) != 0)
        result = Result(errno);
    if (call(Call::Close, [&] { return ::close(fd); }) != 0 && result.ok())
        result = Result(errno);
    QByteArray kept;
    if (result.ok() && rewriting && !rewriting->keepOldAs.isEmpty())
        result = keepOld(old, info.st_mode, rewriting->keepOldAs, kept);
    if (result.ok() && rewriting && rewriting->beforeReplace)
        result = rewriting->beforeReplace();
    if (old >= 0)
        ::close(old); // not written through
    if (result.ok() && call(Call::Rename, [&] {
                           return ::rename(temporary.constData(), target.constData());
                       }) != 0)
        result = Result(errno);

    if (!result.ok()) {
        ::unlink(temporary.constData());
        if (!kept.isEmpty())
            ::unlink(kept.constData());
        return result;
    }
    syncFolder(target);
    if (!kept.isEmpty()) {
        // Named only once complete; the rewrite stands whatever becomes of it.
        const Path &keepAs = rewriting->keepOldAs;
        if (appendLine(kept, rewriting->keptLine()).ok() &&
            call(Call::Rename, [&] { return ::rename(kept.constData(), keepAs.constData()); }) ==
                0) {
            syncFolder(keepAs);
        } else {
            ::unlink(kept.constData());
            removeFile(keepAs);
        }
    }
    return result;
}

// The old file under a hidden name beside `keepAs`: a second name for the very file that was
// read, or a copy of it where the file system has no second names.
FileSystemObject::Result FileSystemObject::keepOld(int oldFd, unsigned mode, const Path &keepAs,
                                                   QByteArray &hidden) const {
    static constexpr char Unique[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(oldFd);
    hidden = hiddenTemplate(keepAs);
    int linked = -1;
    do {
        for (qsizetype i = hidden.size() - 6; i < hidden.size(); ++i)
            hidden[i] = Unique[QRandomGenerator::global()->bounded(int(sizeof Unique) - 1)];
        linked = call(Call::Link, [&] {
            return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, hidden.constData(),
                            AT_SYMLINK_FOLLOW);
        });
    } while (linked != 0 && errno == EEXIST);
    if (linked == 0)
        return {};

    hidden = hiddenTemplate(keepAs);
    const int fd = call(Call::Open, [&] { return ::mkstemp(hidden.data()); });
    if (fd < 0) {
        hidden.clear();
        return Result(errno);
    }
    Result result;
    if (call(Call::Chmod, [&] { return ::fchmod(fd, mode & 07777); }) != 0)
        result = Result(errno);
    QByteArray chunk(ChunkBytes, Qt::Uninitialized);
    for (off_t at = 0; result.ok();) {
        const ssize_t got = call(
            Call::Read, [&] { return ::pread(oldFd, chunk.data(), size_t(chunk.size()), at); });
        if (got <= 0) {
            if (got < 0)
                result = Result(errno);
            break;
        }
        result = writeAll(fd, QByteArrayView(chunk.constData(), got));
        at += got;
    }
    if (result.ok() && call(Call::Sync, [&] { return ::fsync(fd); }) != 0)
        result = Result(errno);
    if (call(Call::Close, [&] { return ::close(fd); }) != 0 && result.ok())
        result = Result(errno);
    if (!result.ok()) {
        ::unlink(hidden.constData());
        hidden.clear();
    }
    return result;
}

bool FileSystemObject::isFile(const Path &path) const {
    struct stat info {};
    return call(Call::Stat, [&] { return ::stat(path.constData(), &info); }) == 0 &&
           S_ISREG(info.st_mode);
}

FileSystemObject::Result FileSystemObject::removeFile(const Path &path) const {
    if (call(Call::Unlink, [&] { return ::unlink(path.constData()); }) != 0)
        return errno == ENOENT ? Result() : Result(errno);
    syncFolder(path);
    return {};
}

void FileSystemObject::removeLeftovers(const Path &folder, const QByteArrayList &fileNames) const {
    DIR *entries = ::opendir(folder.constData());
    if (!entries)
        return;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArrayView name(entry->d_name);
        if (std::none_of(fileNames.cbegin(), fileNames.cend(),
                         [&](const QByteArray &file) { return isLeftoverOf(name, file); }))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}
