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
#include <limits>
#include <new>
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

// Marks the program's own hidden files: a player's backup beside a history (".Recent_A.csv.2024q1",
// ".Recent_A.csv.backup") never carries it, so the clean-up at start-up can never take one.
constexpr QByteArrayView HiddenMarker = ".dartrail-tmp-";
constexpr qsizetype UniqueChars = 6; // what mkstemp fills in

// A rewrite's hidden file: "." + the file's name + the marker + six characters of mkstemp, here
// "X"s to fill in.
QByteArray hiddenTemplate(const QByteArray &path) {
    QByteArray hidden = path;
    return hidden.insert(path.lastIndexOf('/') + 1, '.')
        .append(HiddenMarker)
        .append(QByteArray(UniqueChars, 'X'));
}

// Whether a folder's entry is, exactly, a hidden file of a rewrite of that file.
bool isLeftoverOf(QByteArrayView entry, QByteArrayView fileName) {
    const QByteArray stem = '.' + fileName.toByteArray() + HiddenMarker.toByteArray();
    if (entry.size() != stem.size() + UniqueChars || !entry.startsWith(stem))
        return false;
    const QByteArrayView unique = entry.last(UniqueChars);
    return std::all_of(unique.begin(), unique.end(), [](char c) { return std::isalnum(uchar(c)); });
}

// Owns an open file descriptor, closed however the function that opened it returns.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// Runs one step of a rewrite, memory running out being its failure: the caller's clean-up still
// runs, and the program never aborts over a file too large for the memory left.
template <typename Step> FileSystemObject::Result withoutThrowing(Step &&step) {
    try {
        return step();
    } catch (const std::bad_alloc &) {
        return FileSystemObject::Result(ENOMEM);
    }
}

} // namespace

QString FileSystemObject::Result::description() const {
    if (m_error == NotRegularFile)
        return QStringLiteral("Not a regular file");
    if (m_error == NotOwnFile)
        return QStringLiteral("Not a file of this program alone (another name, a link, or "
                              "changed by another program)");
    return ok() ? QString() : QString::fromLocal8Bit(std::strerror(m_error));
}

void FileSystemObject::setFaultHook(FaultHook hook) {
    const std::lock_guard lock(m_faultHookMutex);
    m_faultHook = std::move(hook);
}

// Every system call goes through here: the fault hook first, then the call, repeated when
// a signal interrupted it.
template <typename Function> auto FileSystemObject::call(Call which, Function &&function) const {
    using Return = decltype(function());
    int error = 0;
    {
        const std::lock_guard lock(m_faultHookMutex);
        if (m_faultHook)
            error = m_faultHook(which);
    }
    if (error) {
        errno = error;
        return Return(-1);
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

FileSystemObject::Result FileSystemObject::readTail(const Path &path, QByteArray &content,
                                                    qint64 maxBytes, bool &whole) const {
    struct stat info {};
    Result result;
    const Descriptor file(openRegular(path, O_RDONLY, info, result));
    if (file.fd() < 0)
        return result;
    const qint64 size = std::min<qint64>(info.st_size, maxBytes);
    return withoutThrowing([&] {
        QByteArray bytes(qsizetype(size), Qt::Uninitialized);
        qsizetype used = 0;
        while (used < bytes.size()) {
            const ssize_t got = call(Call::Read, [&] {
                return ::pread(file.fd(), bytes.data() + used, size_t(bytes.size() - used),
                               info.st_size - size + used);
            });
            if (got < 0)
                return Result(errno);
            if (got == 0) // shortened meanwhile
                break;
            used += got;
        }
        bytes.truncate(used);
        content = std::move(bytes);
        whole = size == info.st_size;
        return Result();
    });
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
    return append(path, line, false, {});
}

FileSystemObject::Result
FileSystemObject::appendToOwnFile(const Path &path, QByteArrayView line,
                                  const std::function<bool(QByteArrayView)> &isOwn) const {
    return append(path, line, true, isOwn);
}

FileSystemObject::Result
FileSystemObject::append(const Path &path, QByteArrayView line, bool own,
                         const std::function<bool(QByteArrayView)> &isOwn) const {
    struct stat info {};
    Result result;
    // Not through a symbolic link, and never creating a file that must be ours already.
    const int fd =
        openRegular(path, O_RDWR | O_APPEND | (own ? O_NOFOLLOW : O_CREAT), info, result);
    if (fd < 0)
        return own && result.error() == ELOOP ? Result(Result::NotOwnFile) : result;

    char tail[OwnTailBytes];
    const qsizetype tailSize = qsizetype(std::min<qint64>(info.st_size, own ? OwnTailBytes : 1));
    if (tailSize > 0) {
        const ssize_t got = call(Call::Read, [&] {
            return ::pread(fd, tail, size_t(tailSize), info.st_size - tailSize);
        });
        if (got != tailSize)
            result = Result(got < 0 ? errno : EIO);
    }
    // A file with another name (a hard link) would gain the line under that name too.
    if (result.ok() && own &&
        (info.st_nlink != 1 || (isOwn && !isOwn(QByteArrayView(tail, tailSize)))))
        result = Result(Result::NotOwnFile);

    if (result.ok()) {
        // A file that does not end in a line end gets its last line ended first.
        const char last = tailSize > 0 ? tail[tailSize - 1] : '\n';
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
                                                       Rewriting &rewriting) const {
    const ContentWriter streamThrough = [&](int oldFd, int newFd) {
        if (!rewriting.prefixFrom.isEmpty()) {
            struct stat info {};
            Result result;
            const Descriptor prefix(openRegular(rewriting.prefixFrom, O_RDONLY, info, result));
            if (prefix.fd() >= 0)
                result =
                    copyBytes(prefix.fd(), newFd, rewriting.prefixBytes, rewriting.prefixCopied);
            if (!result.ok())
                return result;
        }
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
                                                   Rewriting *rewriting) const {
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
        result = withoutThrowing([&] { return writeContent(old, fd); });
    if (result.ok() && call(Call::Sync, [&] { return ::fsync(fd); }) != 0)
        result = Result(errno);
    if (call(Call::Close, [&] { return ::close(fd); }) != 0 && result.ok())
        result = Result(errno);
    QByteArray kept;
    if (result.ok() && rewriting && !rewriting->keepOldAs.isEmpty()) {
        result = withoutThrowing([&] { return keepOld(old, info, rewriting->keepOldAs, kept); });
        rewriting->keeping = result;
    }
    if (result.ok() && rewriting && rewriting->beforeReplace)
        result = withoutThrowing(rewriting->beforeReplace);
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
        // Named only once complete; the rewrite stands whatever becomes of it. The old file's
        // one other name, the file's own, has just gone to the new file.
        const Path &keepAs = rewriting->keepOldAs;
        Result &keeping = rewriting->keeping;
        keeping = withoutThrowing([&] { return appendToOwnFile(kept, rewriting->keptLine()); });
        if (keeping.ok() &&
            call(Call::Rename, [&] { return ::rename(kept.constData(), keepAs.constData()); }) != 0)
            keeping = Result(errno);
        if (keeping.ok()) {
            syncFolder(keepAs);
        } else {
            ::unlink(kept.constData());
            removeFile(keepAs); // an older one no longer fits the file
        }
    }
    return result;
}

// The old file under a hidden name beside `keepAs`: a second name for the very file that was
// read, or a copy of it where the file system has no second names or the file has another name
// already (a backup made with hard links), which would gain whatever is added to it.
FileSystemObject::Result FileSystemObject::keepOld(int oldFd, const struct stat &old,
                                                   const Path &keepAs, QByteArray &hidden) const {
    static constexpr char Unique[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(oldFd);
    hidden = hiddenTemplate(keepAs);
    int linked = -1;
    while (old.st_nlink == 1) {
        for (qsizetype i = hidden.size() - UniqueChars; i < hidden.size(); ++i)
            hidden[i] = Unique[QRandomGenerator::global()->bounded(int(sizeof Unique) - 1)];
        linked = call(Call::Link, [&] {
            return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, hidden.constData(),
                            AT_SYMLINK_FOLLOW);
        });
        if (linked == 0)
            return {};
        if (errno != EEXIST)
            break;
    }

    hidden = hiddenTemplate(keepAs);
    const int fd = call(Call::Open, [&] { return ::mkstemp(hidden.data()); });
    if (fd < 0) {
        hidden.clear();
        return Result(errno);
    }
    Result result;
    if (call(Call::Chmod, [&] { return ::fchmod(fd, old.st_mode & 07777); }) != 0)
        result = Result(errno);
    if (result.ok())
        result = copyBytes(oldFd, fd, std::numeric_limits<qint64>::max());
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

// Copies the first maxBytes bytes of a file (all of a shorter one), from its start whatever
// has been read of it.
FileSystemObject::Result
FileSystemObject::copyBytes(int from, int to, qint64 maxBytes,
                            const std::function<void(QByteArrayView)> &copied) const {
    QByteArray chunk(ChunkBytes, Qt::Uninitialized);
    for (qint64 at = 0; at < maxBytes;) {
        const ssize_t got = call(Call::Read, [&] {
            return ::pread(from, chunk.data(),
                           size_t(std::min<qint64>(chunk.size(), maxBytes - at)), at);
        });
        if (got < 0)
            return Result(errno);
        if (got == 0)
            break;
        const QByteArrayView bytes(chunk.constData(), got);
        if (copied)
            copied(bytes);
        if (const Result result = writeAll(to, bytes); !result.ok())
            return result;
        at += got;
    }
    return {};
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
