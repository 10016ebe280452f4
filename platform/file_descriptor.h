// CFileDescriptor: owns an open file descriptor and closes it however the scope ends; and
// the one way the shared code opens a file for reading.
#pragma once

#include <string>
#include <unistd.h>

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

// path opened for reading only, not handed on to programs this process starts, and on
// Windows in binary mode, so the C runtime translates no byte on its way. Get() is negative
// on failure, with the reason in errno.
CFileDescriptor OpenForReading(const std::string& path);
