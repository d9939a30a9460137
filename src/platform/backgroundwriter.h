#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Writes files on a thread of its own, so that a slow disk never holds up the window that asks.
// Writes are coalesced: one posted for a file replaces the one of that file still waiting, so
// the newest content is always the next written. They run one at a time, and those of one file
// in the order posted, so a later one (a removal) is never overtaken by an earlier one.
class BackgroundWriter : public QObject {
    Q_OBJECT
public:
    // Writes one file; the system's description of a failure, or the empty text.
    using Write = std::function<QString()>;

    BackgroundWriter();
    ~BackgroundWriter() override; // stops

    // Ignored once stopped.
    void post(const QByteArray &file, Write write);
    // Waits until every write posted so far is done.
    void finish();
    // Finishes every write posted and takes no more: what they write may be going away.
    void stop();

Q_SIGNALS:
    // A write of the file failed after the last one of it that succeeded; further failures of
    // the file are not signalled. Emitted on the writer's thread.
    void failed(const QByteArray &file, const QString &reason);

private:
    struct Waiting {
        QByteArray file;
        Write write;
    };

    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Waiting> m_waiting;
    bool m_writing = false;
    bool m_stopping = false;
    QByteArrayList m_failing; // files whose last write failed; the writer's thread's own
    std::thread m_thread;
};
