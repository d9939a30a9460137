#include "settings/datafolder.h"

#include "platform/filesystemobject.h"
#include "platform/uniquefd.h"
#include "settings/inifile.h"

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
    const UniqueFd made(::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!made.isOpen())
        return errno;
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
            if (::geteuid() == 0 && ::stat(parentPath.constData(), &parent) == 0 &&
                ::chown(folder.constData(), parent.st_uid, parent.st_gid) != 0)
                return errno; // a folder left root's would shut its user out

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

// XDG: an unset or relative variable means the default under the home folder; empty when there
// is neither.
QByteArray xdgFolder(const QByteArray &variable, const QByteArray &home, const char *underHome) {
    if (variable.startsWith('/'))
        return variable;
    return home.startsWith('/') ? home + underHome : QByteArray();
}

// Copied through the file layer, byte for byte, before the old file goes: a rename cannot cross
// from one file system to another, and a copy cut short leaves the old file in place.
bool moveFile(const QByteArray &from, const QByteArray &to) {
    const FileSystemObject files;
    if (files.isFile(to) || !files.isFile(from))
        return true; // moved before, or nothing to move
    QByteArray content;
    if (!files.readAll(from, content, IniFile::MaxFileBytes).ok() ||
        !files.replaceFile(to, content).ok())
        return false;
    files.removeFile(from); // should it stay, it is never read again
    return true;
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
    const QByteArray xdg = xdgFolder(xdgDataHome, home, "/.local/share");
    chosen.m_path = (xdg.isEmpty() ? home + "/.local/share" : xdg) + "/Dartrail";
    int error = xdg.isEmpty() ? ENOENT : makeFolders(chosen.m_path);
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

QByteArray DataFolder::settingsFolder(const QByteArray &executableFolder,
                                      const QByteArray &xdgConfigHome, const QByteArray &home,
                                      const QByteArray &fileName) const {
    const QByteArray xdg = xdgFolder(xdgConfigHome, home, "/.config");
    if (m_path == executableFolder || xdg.isEmpty())
        return m_path;
    const QByteArray folder = xdg + "/dartrail";
    if (makeFolders(folder) != 0 || writeError(folder) != 0 ||
        !moveFile(m_path + '/' + fileName, folder + '/' + fileName))
        return m_path;
    return folder;
}
