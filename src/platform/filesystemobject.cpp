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
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An fsync of the folder, for its entries (a created or renamed file). Best effort: the file itself
// is already complete on disk, and not every file system can sync a folder.
void syncFolder(const QByteArray &filePath) {
    QByteArray copy = filePath;
    const UniqueFd folder(::open(::dirname(copy.data()), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.isOpen())
        ::fsync(folder.get());
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
UniqueFd FileSystemObject::openRegular(const Path &path, int flags, struct stat &info,
                                       Result &result) const {
    if (call(Call::Stat, [&] { return ::stat(path.constData(), &info); }) == 0) {
        if (!S_ISREG(info.st_mode)) {
            result = Result(notRegular(info.st_mode));
            return {};
        }
    } else if (errno != ENOENT || !(flags & O_CREAT)) {
        result = Result(errno);
        return {};
    }
    UniqueFd file(call(Call::Open, [&] {
        return ::open(path.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    }));
    if (!file.isOpen())
        result = Result(errno);
    else if (call(Call::Stat, [&] { return ::fstat(file.get(), &info); }) != 0)
        result = Result(errno);
    else if (!S_ISREG(info.st_mode))
        result = Result(notRegular(info.st_mode));
    return result.ok() ? std::move(file) : UniqueFd();
}

FileSystemObject::Result FileSystemObject::readAll(const Path &path, QByteArray &content,
                                                   qint64 maxBytes, bool *complete) const {
    struct stat info {};
    Result result;
    // Read only: nothing is lost if closing fails.
    const UniqueFd file = openRegular(path, O_RDONLY, info, result);
    if (!file.isOpen())
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
                return ::read(file.get(), bytes.data() + used, size_t(bytes.size() - used));
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
    if (result.ok()) {
        bytes.truncate(used);
        content = std::move(bytes);
    }
    return result;
}

FileSystemObject::Result FileSystemObject::readChunks(
    const Path &path, qint64 maxBytes,
    const std::function<void(QByteArrayView bytes, qint64 fileSize)> &take) const {
    struct stat info {};
    Result result;
    const UniqueFd file = openRegular(path, O_RDONLY, info, result);
    if (!file.isOpen())
        return result;
    if (info.st_size > maxBytes)
        return Result(EFBIG);
    qint64 read = 0;
    return withoutThrowing([&] {
        return readEach(file.get(), [&](QByteArrayView bytes, bool) {
            if ((read += bytes.size()) > maxBytes) // grown since it was opened
                return Result(EFBIG);
            take(bytes, info.st_size);
            return Result();
        });
    });
}

FileSystemObject::Result FileSystemObject::readEach(
    int fd, const std::function<Result(QByteArrayView bytes, bool last)> &take) const {
    QByteArray in(ChunkBytes, Qt::Uninitialized);
    for (bool last = false; !last;) {
        const ssize_t got =
            call(Call::Read, [&] { return ::read(fd, in.data(), size_t(in.size())); });
        if (got < 0)
            return Result(errno);
        last = got == 0;
        if (const Result result = take(QByteArrayView(in.constData(), got), last); !result.ok())
            return result;
    }
    return Result();
}

FileSystemObject::Result FileSystemObject::readTail(const Path &path, QByteArray &content,
                                                    qint64 maxBytes, bool &whole) const {
    struct stat info {};
    Result result;
    const UniqueFd file = openRegular(path, O_RDONLY, info, result);
    if (!file.isOpen())
        return result;
    const qint64 size = std::min<qint64>(info.st_size, maxBytes);
    return withoutThrowing([&] {
        QByteArray bytes(qsizetype(size), Qt::Uninitialized);
        qsizetype used = 0;
        while (used < bytes.size()) {
            const ssize_t got = call(Call::Read, [&] {
                return ::pread(file.get(), bytes.data() + used, size_t(bytes.size() - used),
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
    // Not through a symbolic link, and never creating a file that must be ours already. Its
    // close is not checked: the line is synced or taken back before it.
    const UniqueFd file =
        openRegular(path, O_RDWR | O_APPEND | (own ? O_NOFOLLOW : O_CREAT), info, result);
    if (!file.isOpen())
        return own && result.error() == ELOOP ? Result(Result::NotOwnFile) : result;

    char tail[OwnTailBytes];
    const qsizetype tailSize = qsizetype(std::min<qint64>(info.st_size, own ? OwnTailBytes : 1));
    if (tailSize > 0) {
        const ssize_t got = call(Call::Read, [&] {
            return ::pread(file.get(), tail, size_t(tailSize), info.st_size - tailSize);
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
        result = writeAll(file.get(), bytes);
        if (result.ok() && call(Call::Sync, [&] { return ::fsync(file.get()); }) != 0)
            result = Result(errno);
        // Take back a partial line, so the file stays as it was.
        if (!result.ok() && ::ftruncate(file.get(), info.st_size) != 0) {
            // nothing more to do: the failure is reported already
        }
    }
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
        if (!rewriting.prefixFrom.isEmpty()) {
            struct stat info {};
            Result result;
            const UniqueFd prefix = openRegular(rewriting.prefixFrom, O_RDONLY, info, result);
            if (prefix.isOpen())
                result =
                    copyBytes(prefix.get(), newFd, rewriting.prefixBytes, rewriting.prefixCopied);
            if (!result.ok())
                return result;
        }
        // Written a few chunks at a time: each write costs a call into the kernel.
        constexpr qsizetype WriteBytes = 8 * ChunkBytes;
        QByteArray out;
        out.reserve(WriteBytes + ChunkBytes + ChunkBytes / 4);
        return readEach(oldFd, [&](QByteArrayView bytes, bool last) {
            rewriting.filter(bytes, last, out);
            if (out.size() < WriteBytes && !last)
                return Result();
            const Result written = writeAll(newFd, out);
            out.resize(0); // keeps the room
            return written;
        });
    };
    return replace(path, true, streamThrough, rewriting.beforeReplace);
}

FileSystemObject::Result
FileSystemObject::replace(const Path &path, bool rewrite, const ContentWriter &writeContent,
                          const std::function<Result()> &beforeReplace) const {
    // A symbolic link is followed, so the rename replaces the file it names; a link loop fails
    // here.
    char *resolved = nullptr;
    if (call(Call::Stat,
             [&] {
                 resolved = ::realpath(path.constData(), nullptr);
                 return resolved ? 0 : -1;
             }) != 0 &&
        (rewrite || errno != ENOENT))
        return Result(errno);
    const bool existing = resolved != nullptr;
    const QByteArray target = existing ? QByteArray(resolved) : path;
    std::free(resolved);

    struct stat info {};
    UniqueFd old; // not written through: its close needs no check
    if (existing) {
        // Renaming would slip past a read-only file, and replace a folder's or a device's name
        // with a file; opening it for writing does neither.
        Result refused;
        old = openRegular(target, rewrite ? O_RDWR : O_WRONLY, info, refused);
        if (!old.isOpen())
            return refused;
    } else {
        info.st_mode = 0666 & ~currentUmask();
        info.st_uid = ::geteuid();
        info.st_gid = ::getegid();
    }

    Path hidden;
    Result result = writeHidden(
        target, info, [&](int fd) { return writeContent(old.get(), fd); }, hidden);
    if (result.ok() && beforeReplace)
        result = withoutThrowing(beforeReplace);
    if (result.ok())
        result = rename(hidden, target);
    if (!result.ok() && !hidden.isEmpty())
        ::unlink(hidden.constData());
    return result;
}

// The one writer of new files: a fresh hidden file (mkstemp) given the permissions and owner of
// `like`, its content written, flushed (fsync) and closed, each step's failure reported. Its
// name is given only once it is complete; a failure leaves nothing behind.
FileSystemObject::Result
FileSystemObject::writeHidden(const Path &beside, const struct stat &like,
                              const std::function<Result(int fd)> &writeContent,
                              Path &hidden) const {
    Path name = hiddenTemplate(beside);
    UniqueFd file(call(Call::Open, [&] { return ::mkstemp(name.data()); }));
    if (!file.isOpen())
        return Result(errno);
    Result result;
    if (call(Call::Chmod, [&] { return ::fchmod(file.get(), like.st_mode & 07777); }) != 0)
        result = Result(errno);
    // The owner's file stays the owner's, also when root rewrites it. Only root can give a
    // file away: anyone else's rewrite is theirs, as with any editor.
    if ((like.st_uid != ::geteuid() || like.st_gid != ::getegid()) &&
        ::fchown(file.get(), like.st_uid, like.st_gid) != 0) {
        // not root: the rewrite is the writer's, as with any editor
    }
    if (result.ok())
        result = withoutThrowing([&] { return writeContent(file.get()); });
    if (result.ok() && call(Call::Sync, [&] { return ::fsync(file.get()); }) != 0)
        result = Result(errno);
    // Checked: a write that never reached the disk may only be told here.
    if (call(Call::Close, [&] { return file.close(); }) != 0 && result.ok())
        result = Result(errno);
    if (result.ok())
        hidden = std::move(name);
    else
        ::unlink(name.constData());
    return result;
}

// The hard link is made to the very file opened, through its descriptor (/proc/self/fd), so that
// another file renamed to the name meanwhile is never what is kept.
FileSystemObject::Result FileSystemObject::keepAside(const Path &path, const Path &beside,
                                                     Path &hidden) const {
    static constexpr char Unique[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    struct stat info {};
    Result result;
    const UniqueFd old = openRegular(path, O_RDONLY, info, result);
    if (!old.isOpen())
        return result;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(old.get());
    Path name = hiddenTemplate(beside);
    while (info.st_nlink == 1) {
        for (qsizetype i = name.size() - UniqueChars; i < name.size(); ++i)
            name[i] = Unique[QRandomGenerator::global()->bounded(int(sizeof Unique) - 1)];
        if (call(Call::Link, [&] {
                return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                                AT_SYMLINK_FOLLOW);
            }) == 0) {
            hidden = std::move(name);
            return {};
        }
        if (errno != EEXIST)
            break;
    }
    return writeHidden(
        beside, info,
        [&](int fd) { return copyBytes(old.get(), fd, std::numeric_limits<qint64>::max()); },
        hidden);
}

FileSystemObject::Result FileSystemObject::rename(const Path &from, const Path &to) const {
    if (call(Call::Rename, [&] { return ::rename(from.constData(), to.constData()); }) != 0)
        return Result(errno);
    syncFolder(to);
    return {};
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

FileSystemObject::Result FileSystemObject::removeRegularFile(const Path &path) const {
    return isFile(path) ? removeFile(path) : Result();
}

void FileSystemObject::removeLeftovers(const Path &folder, const QByteArrayList &fileNames) const {
    const std::unique_ptr<DIR, int (*)(DIR *)> entries(::opendir(folder.constData()), ::closedir);
    if (!entries)
        return;
    while (const dirent *entry = ::readdir(entries.get())) {
        const QByteArrayView name(entry->d_name);
        if (std::none_of(fileNames.cbegin(), fileNames.cend(),
                         [&](const QByteArray &file) { return isLeftoverOf(name, file); }))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(entries.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(entries.get()), entry->d_name, 0);
    }
}
