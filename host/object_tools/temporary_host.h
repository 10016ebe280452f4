// CTemporaryHost: convert's host folder of its own under the system's temporary folder
// ($TMPDIR, else /tmp), removed with the scene in it when the conversion ends.
//
// Its name, "qrhost-convert-PID-XXXXXX", carries the converting process's id, and the
// process holds a lock on the folder while it lives. A convert that dies too hard to clean
// up (SIGKILL, a power cut) leaves its folder behind; the next convert removes the folders
// whose process is gone and whose lock no one holds, as the replacing writer removes dead
// writers' temporary files, and nothing else.
#pragma once

#include <string>

class CTemporaryHost {
  public:
    CTemporaryHost();
    ~CTemporaryHost();
    CTemporaryHost(const CTemporaryHost&) = delete;
    CTemporaryHost& operator=(const CTemporaryHost&) = delete;

    // The folder, or "" when it could not be made (Error() then says why).
    const std::string& Path() const { return m_path; }
    int Error() const { return m_nError; }

  private:
    std::string m_path;
    int m_nError = 0;
    int m_lockFd = -1;
};
