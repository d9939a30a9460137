#pragma once

#include "platform/uniquefd.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;

// One running program per data folder, so that two windows never rewrite each other's games.
// The first start locks a file in the folder for as long as it runs (the system drops the lock
// when the process ends, however it ends, so a killed program never blocks the next start) and
// listens for later starts; a later start on the same folder asks it to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // True when this process now holds the folder and alone may write there. Otherwise it must
    // not write at all: another program holds it, or the lock cannot be taken (refusal() says
    // why), and a start that went ahead then could be a second writer.
    bool acquire(const QByteArray &folder);
    // Whether acquire() failed because another Dartrail holds the folder.
    bool heldElsewhere() const { return m_heldElsewhere; }
    // Why acquire() failed, naming the lock file, for the player.
    const QString &refusal() const { return m_refusal; }
    // Asks the process that holds the folder to show its window; false when it cannot be
    // reached (it runs as another user, say).
    bool activateHolder() const;

    static constexpr char LockFileName[] = "Dartrail.lock";

signals:
    void activationRequested();

private:
    bool refuse(const QByteArray &folder, const QString &reason);

    UniqueFd m_lock; // open from acquire() to the end: closing it drops the lock
    bool m_heldElsewhere = false;
    QString m_refusal;
    QString m_serverName; // where the holder listens, named after the lock file's identity
    QLocalServer *m_server = nullptr;
};
