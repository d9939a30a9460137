#pragma once

#include <unistd.h>

#include <utility>

// Owns an open file descriptor and closes it when it goes, however the code that opened it
// returns. Where the outcome of the close counts (a file just written), close() gives it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : m_fd(fd) {}
    UniqueFd(UniqueFd &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd &operator=(UniqueFd other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~UniqueFd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes it now: 0, or -1 with errno set, as ::close.
    int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd = -1;
};
