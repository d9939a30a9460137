#include "app/datafolder.h"

#include "app/apppaths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 0 when a file can be made in the folder, else the error that stops it.
int writeError(const QByteArray &folder) {
    if (::access(folder.constData(), W_OK) != 0)
        return errno;
    // access() answers from the permission bits, which root passes everywhere and which a
    // read-only mount or a network share may contradict: only a file made proves it.
    const QByteArray probe = folder + "/.dartrail-probe-" + QByteArray::number(::getpid());
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(probe.constData());
    return 0;
}

// Makes each missing folder of an absolute path, private to the user as XDG asks. One that root
// makes goes to the owner of the folder it is made in: in a user's home (a sudo that kept $HOME)
// it stays that user's, and a later run as root refuses it rather than leave files they cannot
// replace.
int makeFolders(const QByteArray &path) {
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray folder = slash < 0 ? path : path.left(slash);
        struct stat parent {};
        if (::mkdir(folder.constData(), 0700) == 0) {
            const QByteArray parentPath =
                folder.left(std::max<qsizetype>(folder.lastIndexOf('/'), 1));
            if (::geteuid() == 0 && ::stat(parentPath.constData(), &parent) == 0)
                (void)::chown(folder.constData(), parent.st_uid, parent.st_gid);
        } else if (errno != EEXIST) {
            return errno;
        }
        if (slash < 0)
            return 0;
    }
}

bool isFolder(const QByteArray &path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

DataFolder DataFolder::choose(const QByteArray &executableFolder, const QByteArray &xdgDataHome,
                              const QByteArray &home) {
    DataFolder chosen;
    if (!isFolder(executableFolder + '/' + SharedFilesFolder) &&
        writeError(executableFolder) == 0) {
        chosen.m_path = executableFolder;
        return chosen;
    }
    // XDG: an unset or relative $XDG_DATA_HOME means ~/.local/share.
    const bool xdgApplies = xdgDataHome.startsWith('/');
    chosen.m_path = (xdgApplies ? xdgDataHome : home + "/.local/share") + "/Dartrail";
    int error = xdgApplies || home.startsWith('/') ? makeFolders(chosen.m_path) : ENOENT;
    if (error == 0)
        error = writeError(chosen.m_path);
    if (error != 0)
        chosen.m_failure =
            QStringLiteral("Games and settings cannot be saved: %1 cannot be written (%2), "
                           "nor can the program's folder %3.")
                .arg(QFile::decodeName(chosen.m_path), QString::fromLocal8Bit(std::strerror(error)),
                     QFile::decodeName(executableFolder));
    return chosen;
}

const DataFolder &DataFolder::ofThisRun() {
    const QByteArray executable = AppPaths::executable();
    static const DataFolder chosen =
        choose(executable.left(std::max<qsizetype>(executable.lastIndexOf('/'), 1)),
               qgetenv("XDG_DATA_HOME"), qgetenv("HOME"));
    return chosen;
}
