// CFileLock: an exclusive advisory lock (flock) on a lock file, taken with a
// bounded wait, for processes that take turns over some other file.
//
// The lock file is made when missing and removed again on Unlock(), so a
// folder holds it only while a run is inside. Removing it is safe because a
// lock counts only while the file it is held on is still the one at the path:
// a waiter that gets the lock on a file already removed tries again. A lock
// file left by a process that died is no obstacle: the system released its
// lock, and the next holder removes the file.
//
// Locks taken through different CFileLock objects exclude each other even in
// one process (flock locks belong to the open file, not the process).
#pragma once

#include "platform/status.h"

#include <chrono>
#include <string>

class CFileLock {
  public:
    CFileLock() = default;
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    ~CFileLock();

    // Waits up to wait for the lock on path. Failure with EWOULDBLOCK when
    // another holder kept it all that time; with the system's error number
    // when the lock file can be neither made nor opened.
    CStatus Lock(const std::string& path, std::chrono::milliseconds wait);
    // Removes the lock file and releases the lock; nothing when not locked.
    void Unlock();
    bool IsLocked() const { return m_fd >= 0; }

  private:
    std::string m_strPath;
    int m_fd = -1;
};
