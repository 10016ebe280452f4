#include "import/file_bytes.h"

#include "platform/file_descriptor.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

CFileBytes::~CFileBytes() {
    if (m_pMapped != nullptr) {
        ::munmap(const_cast<char*>(m_pMapped), m_nMappedSize);
    }
}

CStatus CFileBytes::Open(const std::string& path) {
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        return CStatus::Failure("cannot open \"" + path + "\": " + std::strerror(errno), errno);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        std::size_t size = static_cast<std::size_t>(info.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.Get(), 0);
        if (mapped != MAP_FAILED) {
            // Two pieces of advice, given one at a time: the values are not flags to combine.
            ::madvise(mapped, size, MADV_SEQUENTIAL);
            ::madvise(mapped, size, MADV_WILLNEED);
            m_pMapped = static_cast<const char*>(mapped);
            m_nMappedSize = size;
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
