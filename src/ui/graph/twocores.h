#pragma once

#include <future>

// Runs `work(first, last, second)` over the first half of the items here and, at the same
// time, over the later half on another core (`second` true). For halves that write nothing
// the other reads.
template <typename Items, typename Work> void onTwoCores(const Items &items, const Work &work) {
    const auto middle = items.cbegin() + items.size() / 2;
    auto later = std::async(std::launch::async, [&] { work(middle, items.cend(), true); });
    work(items.cbegin(), middle, false);
    later.get();
}
