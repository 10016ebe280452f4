// CFileBytes's view of a mapped file on Windows: a read-only file mapping of the whole file.
// Windows takes no advice on how a view will be read.
#include "platform/file_bytes.h"

#include <io.h>
#include <windows.h>

bool CFileBytes::MapView(int fd, std::size_t size) {
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        return false;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    // The view keeps the mapping alive on its own.
    CloseHandle(mapping);
    if (view == nullptr) {
        return false;
    }
    m_pMapped = static_cast<const char*>(view);
    m_nMappedSize = size;
    return true;
}

void CFileBytes::UnmapView() {
    UnmapViewOfFile(m_pMapped);
}
