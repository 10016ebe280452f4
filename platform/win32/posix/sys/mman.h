// The few memory-mapping calls the readers use, over the Windows API, for the
// MinGW build only (this folder is on its include path; MinGW has no
// <sys/mman.h>). Read-only private mappings of a whole file, and advice,
// which Windows does without.
#pragma once

#include <cstddef>
#include <io.h>
#include <sys/types.h>
#include <windows.h>

#define PROT_READ 0x1
#define MAP_PRIVATE 0x02
#define MAP_FAILED (reinterpret_cast<void*>(-1))
#define MADV_SEQUENTIAL 2
#define MADV_WILLNEED 3
#define MADV_HUGEPAGE 14

// Maps length bytes of the file fd from its start; only PROT_READ with
// MAP_PRIVATE and offset 0 is offered.
inline void* mmap(void* /*addr*/, std::size_t length, int prot, int flags, int fd, off_t offset) {
    if (prot != PROT_READ || flags != MAP_PRIVATE || offset != 0 || length == 0)
        return MAP_FAILED;
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE)
        return MAP_FAILED;
    const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr)
        return MAP_FAILED;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, length);
    // The view keeps the mapping alive on its own.
    CloseHandle(mapping);
    return view == nullptr ? MAP_FAILED : view;
}

inline int munmap(void* addr, std::size_t /*length*/) {
    return UnmapViewOfFile(addr) ? 0 : -1;
}

inline int madvise(void* /*addr*/, std::size_t /*length*/, int /*advice*/) {
    return 0;
}
