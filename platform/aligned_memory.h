// Aligned heap blocks: std::aligned_alloc where the C runtime has it; the
// Windows runtime has not, and its aligned blocks need their own free.
#pragma once

#include <cstddef>
#include <cstdlib>
#ifdef _WIN32
#include <malloc.h>
#endif

// align a power of two, size a multiple of it; nullptr when out of memory.
inline void* AllocateAligned(std::size_t align, std::size_t size) {
#ifdef _WIN32
    return _aligned_malloc(size, align);
#else
    return std::aligned_alloc(align, size);
#endif
}

inline void FreeAligned(void* block) {
#ifdef _WIN32
    _aligned_free(block);
#else
    std::free(block);
#endif
}
