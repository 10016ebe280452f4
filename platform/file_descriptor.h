// CFileDescriptor: owns an open file descriptor and closes it however the scope ends; and
// the one way the shared code opens a file for reading.
#pragma once

#include <fcntl.h>
#include <string>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

class CFileDescriptor {
  public:
    // fd may be negative (a failed open): then there is nothing to close.
    explicit CFileDescriptor(int fd) : m_nFd(fd) {}
    ~CFileDescriptor() {
        if (m_nFd >= 0)
            ::close(m_nFd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_nFd; }

  private:
    int m_nFd;
};

// path opened for reading only and not handed on to programs this process starts; on
// Windows in binary mode too, or the C runtime would read CR LF as LF and stop at a ^Z.
// Get() is negative on failure, with the reason in errno.
inline CFileDescriptor OpenForReading(const std::string& path) {
#ifdef _WIN32
    return CFileDescriptor(::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
#else
    return CFileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
#endif
}
