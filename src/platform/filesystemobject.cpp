#include "platform/filesystemobject.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativePath(const QString &path) {
    return QFile::encodeName(path);
}

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

} // namespace

QString FileSystemObject::Result::description() const {
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

bool FileSystemObject::exists(const QString &path) const {
    struct stat info {};
    return call(Call::Stat, [&] { return ::stat(nativePath(path).constData(), &info); }) == 0;
}

FileSystemObject::Result FileSystemObject::size(const QString &path, qint64 &bytes) const {
    struct stat info {};
    if (call(Call::Stat, [&] { return ::stat(nativePath(path).constData(), &info); }) != 0)
        return Result(errno);
    bytes = info.st_size;
    return {};
}

FileSystemObject::Result FileSystemObject::readAll(const QString &path, QByteArray &content) const {
    const QByteArray name = nativePath(path);
    const int fd = call(Call::Open, [&] { return ::open(name.constData(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0)
        return Result(errno);

    struct stat info {};
    Result result;
    if (call(Call::Stat, [&] { return ::fstat(fd, &info); }) != 0)
        result = Result(errno);
    QByteArray bytes;
    // The size is a hint only: the loop reads until the end, whatever the file holds by then.
    qsizetype used = 0;
    bytes.resize(qsizetype(info.st_size) + 1);
    while (result.ok()) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
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

FileSystemObject::Result FileSystemObject::appendLine(const QString &path,
                                                      QByteArrayView line) const {
    const QByteArray name = nativePath(path);
    const bool created = !exists(path);
    const int fd = call(Call::Open, [&] {
        return ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    });
    if (fd < 0)
        return Result(errno);

    struct stat info {};
    Result result;
    char last = '\n';
    if (call(Call::Stat, [&] { return ::fstat(fd, &info); }) != 0)
        result = Result(errno);
    else if (info.st_size > 0) {
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
        if (!result.ok()) // take back a partial line, so the file stays as it was
            ::ftruncate(fd, info.st_size);
    }
    // The line is synced or taken back by now: closing can change neither.
    ::close(fd);
    if (result.ok() && created)
        syncFolder(name);
    return result;
}

FileSystemObject::Result FileSystemObject::replaceFile(const QString &path,
                                                       QByteArrayView bytes) const {
    return replace(path, false, [&](int fd) { return writeAll(fd, bytes); });
}

FileSystemObject::Result FileSystemObject::replaceLines(const QString &path,
                                                        const QByteArrayList &lines) const {
    // Written in chunks, so a large history is never held twice.
    return replace(path, true, [&](int fd) {
        QByteArray chunk;
        constexpr qsizetype ChunkSize = 1 << 20;
        for (qsizetype i = 0; i <= lines.size(); ++i) {
            if (i < lines.size())
                chunk.append(lines[i]).append("\r\n");
            if (chunk.size() >= ChunkSize || (i == lines.size() && !chunk.isEmpty())) {
                if (const Result result = writeAll(fd, chunk); !result.ok())
                    return result;
                chunk.clear();
            }
        }
        return Result();
    });
}

FileSystemObject::Result FileSystemObject::replace(const QString &path, bool mustExist,
                                                   const ContentWriter &writeContent) const {
    // A link is followed, so the rename replaces the file it names.
    const QByteArray name = nativePath(path);
    char *resolved = nullptr;
    if (call(Call::Stat,
             [&] {
                 resolved = ::realpath(name.constData(), nullptr);
                 return resolved ? 0 : -1;
             }) != 0 &&
        (mustExist || errno != ENOENT))
        return Result(errno);
    const bool existing = resolved != nullptr;
    const QByteArray target = existing ? QByteArray(resolved) : name;
    std::free(resolved);

    mode_t mode = 0;
    if (existing) {
        struct stat info {};
        if (call(Call::Stat, [&] { return ::stat(target.constData(), &info); }) != 0)
            return Result(errno);
        mode = info.st_mode & 07777;
        // Renaming would slip past a read-only file or a folder; opening it for writing does not.
        const int check =
            call(Call::Open, [&] { return ::open(target.constData(), O_WRONLY | O_CLOEXEC); });
        if (check < 0)
            return Result(errno);
        ::close(check);
    } else {
        mode = 0666 & ~currentUmask();
    }

    QByteArray temporary = target;
    const qsizetype slash = temporary.lastIndexOf('/');
    temporary.insert(slash + 1, '.').append(".XXXXXX");
    const int fd = call(Call::Open, [&] { return ::mkstemp(temporary.data()); });
    if (fd < 0)
        return Result(errno);

    Result result;
    if (call(Call::Chmod, [&] { return ::fchmod(fd, mode); }) != 0)
        result = Result(errno);
    if (result.ok())
        result = writeContent(fd);
    if (result.ok() && call(Call::Sync, [&] { return ::fsync(fd); }) != 0)
        result = Result(errno);
    if (call(Call::Close, [&] { return ::close(fd); }) != 0 && result.ok())
        result = Result(errno);
    if (result.ok() && call(Call::Rename, [&] {
                           return ::rename(temporary.constData(), target.constData());
                       }) != 0)
        result = Result(errno);

    if (result.ok())
        syncFolder(target);
    else
        ::unlink(temporary.constData());
    return result;
}
