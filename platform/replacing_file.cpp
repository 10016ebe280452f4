// The steps of CReplacingFile that are the same on every system. Where the temporary file
// is made, how it reaches the disk and how it replaces the target are each system's own
// (replacing_target.cpp and win32/replacing_target.cpp).
#include "platform/replacing_file.h"

#include "platform/test_hooks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

CReplacingFile::~CReplacingFile() {
    Discard();
}

CStatus CReplacingFile::Fail(int error) {
    Discard();
    return CStatus::Failure(std::strerror(error), error);
}

void CReplacingFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_strTempPath.empty()) {
        ::unlink(m_strTempPath.c_str());
        m_strTempPath.clear();
    }
}

CStatus CReplacingFile::Write(const char* data, std::size_t size) {
    if (m_fd < 0)
        return CStatus::Failure(std::strerror(EBADF), EBADF);
    while (size != 0) {
        // At most 1 GiB a call: Windows' write takes an unsigned int count.
        const std::size_t piece = TestHookWritePiece(std::min<std::size_t>(size, 1u << 30));
        const auto written = ::write(m_fd, data, static_cast<unsigned>(piece));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        TestHookWritePoint();
    }
    return {};
}

CStatus CReplacingFile::Commit() {
    if (m_fd < 0)
        return CStatus::Failure(std::strerror(EBADF), EBADF);
    if (!FlushToDisk(m_fd))
        return Fail(errno);
    // close() can be the first to report a failed write on some file systems.
    if (::close(std::exchange(m_fd, -1)) != 0)
        return Fail(errno);
    TestHookWritePoint();
    if (const int error = ReplaceTarget(); error != 0)
        return Fail(error);
    m_strTempPath.clear();
    TestHookWritePoint();
    return {};
}
