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
        constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;
        constexpr std::uintptr_t Page = 4096;
        const auto start = (reinterpret_cast<std::uintptr_t>(table) + Page - 1) & ~(Page - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(table + count)) & ~(Page - 1);
        if (end > start && end - start >= HugePage) // smaller tables gain nothing
            ::madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
        return table;
    }
};
