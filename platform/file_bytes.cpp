#include "platform/file_bytes.h"

#include "platform/file_descriptor.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

CFileBytes::~CFileBytes() {
    if (m_pMapped != nullptr) {
        UnmapView();
    }
}

CStatus CFileBytes::Open(const std::string& path) {
    const CFileDescriptor file = OpenForReading(path);
    if (file.Get() < 0) {
        return CStatus::Failure("cannot open \"" + path + "\": " + std::strerror(errno), errno);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        if (MapView(file.Get(), static_cast<std::size_t>(info.st_size))) {
            return {};
        }
    }
    // Not a regular file, or it cannot be mapped: read it block by block.
    constexpr std::size_t kBlock = 1 << 20;
    for (;;) {
        std::size_t used = m_strBuffer.size();
        m_strBuffer.resize(used + kBlock);
        ssize_t got = ::read(file.Get(), m_strBuffer.data() + used, kBlock);
        if (got < 0 && errno == EINTR) {
            m_strBuffer.resize(used);
            continue;
        }
        if (got < 0) {
            const int error = errno;
            m_strBuffer.clear();
            return CStatus::Failure("cannot read \"" + path + "\": " + std::strerror(error), error);
        }
        m_strBuffer.resize(used + static_cast<std::size_t>(got));
        if (got == 0) {
            return {};
        }
    }
}
