#include "scene/file_exception.h"

#include <cstring>

CFileException::CFileException(const std::string& fileName, const std::string& action,
                               int errorNumber)
    : std::runtime_error("cannot " + action + " \"" + fileName +
                         "\": " + std::strerror(errorNumber)),
      m_strFileName(fileName), m_nErrno(errorNumber) {}
