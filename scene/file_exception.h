// CFileException: a file could not be created, written, flushed, renamed or
// read. what() names the file and the system's reason (strerror).
#pragma once

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
  public:
    CFileException(const std::string& fileName, const std::string& action, int errorNumber);
    const std::string& GetFileName() const { return m_strFileName; }
    int GetErrorNumber() const { return m_nErrno; }

  private:
    std::string m_strFileName;
    int m_nErrno;
};
