// CFileDescriptor: owns an open file descriptor and closes it however the scope ends.
#pragma once

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
