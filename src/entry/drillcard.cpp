#include "entry/drillcard.h"

#include <algorithm>

void DrillCard::start(const std::vector<int> &fields) {
    end();
    for (int field : fields)
        if (field >= 0 && field < Fields)
            m_chosen[size_t(field)] = true;
}

bool DrillCard::running() const {
    return std::find(m_chosen.cbegin(), m_chosen.cend(), true) != m_chosen.cend();
}

std::vector<int> DrillCard::fields() const {
    std::vector<int> fields;
    for (int field = 0; field < Fields; ++field)
        if (m_chosen[size_t(field)])
            fields.push_back(field);
    return fields;
}

int DrillCard::next(int field) const {
    for (int i = std::max(field + 1, 0); i < Fields; ++i)
        if (m_chosen[size_t(i)])
            return i;
    return None;
}

int DrillCard::previous(int field) const {
    for (int i = std::min(field - 1, Fields - 1); i >= 0; --i)
        if (m_chosen[size_t(i)])
            return i;
    return None;
}
