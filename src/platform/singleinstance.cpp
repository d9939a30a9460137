#include "platform/singleinstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd); // drops the lock
}

bool SingleInstance::acquire(const QByteArray &folder) {
    const QByteArray path = folder + '/' + LockFileName;
    // Never follows a link and never blocks: the lock file is ours, whatever else is there.
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return true;
    }
    // The same folder reached by two paths (a link, a bind mount) is the same lock file.
    m_serverName = QStringLiteral("Dartrail-%1-%2-%3")
                       .arg(::geteuid())
                       .arg(quint64(info.st_dev))
                       .arg(quint64(info.st_ino));
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
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
