// CReplacingFile on Windows: the temporary file beside the target, then
// MoveFileEx with MOVEFILE_REPLACE_EXISTING, which replaces the target in one
// step on the same volume. Windows has no symbolic links in the paths the
// plug-ins are given (a shortcut is a file of its own), so the path is taken
// as it is.
#include "platform/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

int ErrnoFromLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

} // namespace

CStatus CReplacingFile::Open(const std::string& path) {
    Discard();
    m_strPath = path;
    const DWORD attributes = GetFileAttributesA(m_strPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Fail(EISDIR);
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return Fail(EACCES);
    } else if (const int error = ErrnoFromLastError(); error != ENOENT) {
        return Fail(error);
    }

    const auto slash = m_strPath.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : m_strPath.substr(0, slash + 1);
    for (unsigned attempt = 0;; ++attempt) {
        std::string temp = folder + ".qr-replace-" + std::to_string(::_getpid()) + "-" +
                           std::to_string(attempt) + ".tmp";
        // Binary: the bytes must reach the file as they are, line ends too.
        const int fd =
            ::_open(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            m_fd = fd;
            m_strTempPath = std::move(temp);
            break;
        }
        if (errno != EEXIST || attempt >= 100)
            return Fail(errno);
    }
    return {};
}

bool CReplacingFile::FlushToDisk(int fd) {
    return ::_commit(fd) == 0;
}

int CReplacingFile::ReplaceTarget() const {
    return MoveFileExA(m_strTempPath.c_str(), m_strPath.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : ErrnoFromLastError();
}
