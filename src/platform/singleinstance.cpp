#include "platform/singleinstance.h"

#include "platform/filesystemobject.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool SingleInstance::refuse(const QByteArray &folder, const QString &reason) {
    m_refusal = QStringLiteral("The games in %1 are not opened: %2.")
                    .arg(QFile::decodeName(folder), reason);
    return false;
}

bool SingleInstance::acquire(const QByteArray &folder) {
    const QByteArray path = folder + '/' + LockFileName;
    struct stat info {};
    // Files that root makes in another user's folder could not be replaced by that user, whose
    // deletes would then fail for good: root keeps to folders of its own.
    if (::geteuid() == 0 && ::stat(folder.constData(), &info) == 0 && info.st_uid != 0)
        return refuse(folder, QStringLiteral("the folder belongs to user %1, who could not "
                                             "replace files made there by root; start Dartrail "
                                             "as that user")
                                  .arg(info.st_uid));
    // A pipe or a device of the name is never opened at all, a link is never followed, and
    // opening never blocks. Read only: a lock needs no more, so a lock file of another user, or
    // one that cannot be written, locks all the same.
    constexpr int NotRegular = FileSystemObject::Result::NotRegularFile;
    int error = 0;
    if (::lstat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        error = NotRegular;
    else if (m_lock = UniqueFd(::open(
                 path.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
             !m_lock.isOpen())
        error = errno == ELOOP ? NotRegular : errno; // ELOOP: a link, put there meanwhile
    else if (::fstat(m_lock.get(), &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = NotRegular;
    if (error == 0) {
        // The same folder reached by two paths (a link, a bind mount) is the same lock file.
        m_serverName = QStringLiteral("Dartrail-%1-%2-%3")
                           .arg(::geteuid())
                           .arg(quint64(info.st_dev))
                           .arg(quint64(info.st_ino));
        if (::flock(m_lock.get(), LOCK_EX | LOCK_NB) != 0) {
            error = errno;
            m_heldElsewhere = error == EWOULDBLOCK;
        }
    }
    if (m_heldElsewhere)
        return refuse(folder, QStringLiteral("another Dartrail, perhaps another user's, holds "
                                             "its lock file %1")
                                  .arg(QFile::decodeName(path)));
    // Without the lock a second program might be writing the same games.
    if (error != 0)
        return refuse(folder, QStringLiteral("its lock file %1 cannot be taken (%2)")
                                  .arg(QFile::decodeName(path),
                                       FileSystemObject::Result(error).description()));
    m_server = new QLocalServer(this);
    // An abstract name leaves no socket file behind when the process is killed.
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            socket->deleteLater();
        emit activationRequested();
    });
    m_server->listen(m_serverName);
    return true;
}

bool SingleInstance::activateHolder() const {
    // The holder may have taken the lock a moment ago and not be listening yet.
    const QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}
