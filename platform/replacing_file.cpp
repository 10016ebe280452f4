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
    return Refuse(std::strerror(error), error);
}

CStatus CReplacingFile::Refuse(const char* reason, int error) {
    Discard();
    return CStatus::Failure(reason, error);
}

CStatus CReplacingFile::CreateTempFile(const std::string& folder, unsigned mode) {
    // A short name in the target's folder (a long target name plus a suffix
    // could pass the file system's name limit) that no other writer picks:
    // the process id and a counter, created exclusively.
    for (unsigned attempt = 0;; ++attempt) {
        std::string temp = folder + std::string(kReplaceTempPrefix) + std::to_string(::getpid()) +
                           "-" + std::to_string(attempt) + std::string(kReplaceTempSuffix);
        if (const int fd = CreateNewFile(temp, mode); fd >= 0) {
            m_fd = fd;
            m_strTempPath = std::move(temp);
            return {};
        }
        if (errno != EEXIST || attempt >= 100)
            return Fail(errno);
    }
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
    m_bDirect = false;
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
    if (m_bDirect) {
        // A device or pipe has nothing to flush to a disk or rename; what it
        // could not take was reported by Write.
        const int closed = ::close(std::exchange(m_fd, -1));
        const int error = errno;
        m_bDirect = false;
        return closed == 0 || error == EINTR ? CStatus() : Fail(error);
    }
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
