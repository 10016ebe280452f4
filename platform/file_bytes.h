// The whole content of a file, for a reader that parses from memory: a regular file is
// mapped (no copy, no zero-fill), anything else is read into a buffer.
#pragma once

#include "platform/status.h"

#include <cstddef>
#include <string>
#include <string_view>

class CFileBytes {
  public:
    CFileBytes() = default;
    ~CFileBytes();
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    // Opens path for reading only. A failure's reason names the path and the system's
    // reason.
    CStatus Open(const std::string& path);

    std::string_view Text() const {
        return m_pMapped ? std::string_view(m_pMapped, m_nMappedSize) : m_strBuffer;
    }

  private:
    // The per-system halves (mapped_view.cpp): a read-only view of the first size bytes of
    // the open file fd, or false; and its release.
    bool MapView(int fd, std::size_t size);
    void UnmapView();

    const char* m_pMapped = nullptr;
    std::size_t m_nMappedSize = 0;
    std::string m_strBuffer;
};
