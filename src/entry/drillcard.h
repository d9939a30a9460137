#pragma once

#include <array>
#include <cstddef>
#include <vector>

// The focus drill on the card: which fields it practises and where the focus goes among them.
// Only the chosen fields take entries; every move skips the others.
class DrillCard {
public:
    static constexpr int Fields = 21;
    static constexpr int None = -1; // past the last chosen field, or before the first

    // Starts a drill on the chosen fields (0 to 20); none chosen ends it.
    void start(const std::vector<int> &fields);
    void end() { m_chosen.fill(false); }
    bool running() const;
    bool chosen(int field) const {
        return field >= 0 && field < Fields && m_chosen[std::size_t(field)];
    }
    std::vector<int> fields() const;
    int first() const { return next(-1); }
    // The chosen field after (before) `field`, or None.
    int next(int field) const;
    int previous(int field) const;

private:
    std::array<bool, Fields> m_chosen{};
};
