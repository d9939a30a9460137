#include "history/contentdigest.h"

#include <xxhash.h>

#include <new>

ContentDigest::ContentDigest()
    : m_state(XXH3_createState()) {
    if (!m_state || XXH3_64bits_reset(m_state.get()) != XXH_OK)
        throw std::bad_alloc();
}

ContentDigest::~ContentDigest() = default;

void ContentDigest::FreeState::operator()(XXH3_state_s *state) const {
    XXH3_freeState(state);
}

void ContentDigest::add(QByteArrayView bytes) {
    XXH3_64bits_update(m_state.get(), bytes.data(), size_t(bytes.size()));
    m_size += bytes.size();
}

quint64 ContentDigest::value() const {
    return XXH3_64bits_digest(m_state.get());
}

QByteArray ContentDigest::hex() const {
    return QByteArray::number(value(), 16).rightJustified(16, '0');
}

quint64 ContentDigest::of(QByteArrayView bytes) {
    return XXH3_64bits(bytes.data(), size_t(bytes.size()));
}
