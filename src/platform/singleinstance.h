#pragma once

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
    ~SingleInstance() override;

    // True when this process now holds the folder. Where no lock file can be made (a read-only
    // folder, where nothing can be written either) nobody holds it, and every start goes ahead.
    bool acquire(const QByteArray &folder);
    // Asks the process that holds the folder to show its window; false when it cannot be
    // reached (it runs as another user, say).
    bool activateHolder() const;

    static constexpr char LockFileName[] = "Dartrail.lock";

signals:
    void activationRequested();

private:
    int m_fd = -1;
    QString m_serverName; // where the holder listens, named after the lock file's identity
    QLocalServer *m_server = nullptr;
};
