// CFileBytes's view of a mapped file on POSIX systems.
#include "platform/file_bytes.h"

#include <sys/mman.h>

bool CFileBytes::MapView(int fd, std::size_t size) {
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED) {
        return false;
    }
    // Two pieces of advice, given one at a time: the values are not flags to combine.
    ::madvise(mapped, size, MADV_SEQUENTIAL);
    ::madvise(mapped, size, MADV_WILLNEED);
    m_pMapped = static_cast<const char*>(mapped);
    m_nMappedSize = size;
    return true;
}

void CFileBytes::UnmapView() {
    ::munmap(const_cast<char*>(m_pMapped), m_nMappedSize);
}
