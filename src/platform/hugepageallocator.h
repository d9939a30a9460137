#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include <sys/mman.h>

// An allocator for tables of many megabytes that are filled once, front to back: it asks the
// kernel for huge pages, so that filling a 44 MB table takes a few dozen page faults instead of
// eleven thousand, which on a virtual machine cost more than the filling itself. Where the kernel
// gives no huge pages the advice is ignored and the memory is ordinary.
template <class T> struct HugePageAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = HugePageAllocator<U>; };
    HugePageAllocator() = default;
    template <class U> HugePageAllocator(const HugePageAllocator<U> &) noexcept {}

    T *allocate(std::size_t count) {
        T *const table = std::allocator<T>::allocate(count);
        // Only whole, aligned huge pages can be huge; a table smaller than two may hold none.
        constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;
        const auto start =
            (reinterpret_cast<std::uintptr_t>(table) + HugePage - 1) & ~(HugePage - 1);
        const auto end = reinterpret_cast<std::uintptr_t>(table + count) & ~(HugePage - 1);
        if (end > start)
            ::madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
        return table;
    }
};
