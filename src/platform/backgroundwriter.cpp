#include "platform/backgroundwriter.h"

BackgroundWriter::BackgroundWriter()
    : m_thread([this] { run(); }) {
}

BackgroundWriter::~BackgroundWriter() {
    stop();
}

void BackgroundWriter::stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundWriter::post(const QByteArray &file, Write write) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        // The newer write makes the waiting one of the file pointless; one still being written
        // finishes first.
        std::erase_if(m_waiting, [&](const Waiting &waiting) { return waiting.file == file; });
        m_waiting.push_back({file, std::move(write)});
    }
    m_changed.notify_all();
}

void BackgroundWriter::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && !m_writing; });
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_waiting.empty() || m_stopping; });
        if (m_waiting.empty())
            return; // stopping, and all written
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_writing = true;
        lock.unlock();
        const QString error = next.write();
        // Only this thread touches the list of failing files.
        const bool known = m_failing.contains(next.file);
        if (error.isEmpty())
            m_failing.removeAll(next.file);
        else if (!known)
            m_failing.append(next.file);
        if (!error.isEmpty() && !known)
            Q_EMIT failed(next.file, error); // before finish() returns
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
