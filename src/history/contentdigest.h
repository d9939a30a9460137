#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

struct XXH3_state_s;

// A digest of bytes that may come a piece at a time, to tell whether a file still holds what was
// read of it. Fast enough to run beside every read and write of a history; no guard against a
// deliberate forgery.
class ContentDigest {
public:
    ContentDigest();
    ~ContentDigest();
    ContentDigest(const ContentDigest &) = delete;
    ContentDigest &operator=(const ContentDigest &) = delete;

    void add(QByteArrayView bytes);
    qint64 size() const { return m_size; }
    quint64 value() const;
    QByteArray hex() const;

    static quint64 of(QByteArrayView bytes);

private:
    struct FreeState {
        void operator()(XXH3_state_s *state) const;
    };
    std::unique_ptr<XXH3_state_s, FreeState> m_state;
    qint64 m_size = 0;
};
