// Memory for large tables and record blocks. A block of 2 MiB or more is aligned to 2 MiB
// and offered to the kernel for huge pages, so a table of tens of megabytes that is read at
// random (a point hash) or filled once (a part's records) costs one TLB entry and one page
// fault per 2 MiB instead of 512. Smaller blocks come from the ordinary heap.
#pragma once

#include "platform/aligned_memory.h"

#include <cstddef>
#include <new>
#ifndef _WIN32
#include <sys/mman.h> // not on Windows, whose large pages need a privilege a user lacks
#endif

constexpr std::size_t kHugePageBytes = 2 * 1024 * 1024;

// size bytes, rounded up to whole huge pages when large; throws std::bad_alloc.
inline void* AllocateLargeBlock(std::size_t size) {
    if (size < kHugePageBytes)
        return ::operator new(size);
    const std::size_t rounded = (size + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = AllocateAligned(kHugePageBytes, rounded);
    if (block == nullptr)
        throw std::bad_alloc();
#ifndef _WIN32
    // Advice only: where huge pages are off, the block is used as it is.
    (void)::madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

// size as it was given to AllocateLargeBlock.
inline void FreeLargeBlock(void* block, std::size_t size) {
    if (size < kHugePageBytes)
        ::operator delete(block);
    else
        FreeAligned(block);
}

// For std::vector of large tables.
template <class T> struct CLargeBlockAllocator {
    using value_type = T;
    CLargeBlockAllocator() = default;
    template <class U> CLargeBlockAllocator(const CLargeBlockAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateLargeBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) { FreeLargeBlock(p, n * sizeof(T)); }
    friend bool operator==(const CLargeBlockAllocator&, const CLargeBlockAllocator&) {
        return true;
    }
};
