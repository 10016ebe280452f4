// CReplacingFile on Windows: the temporary file beside the target, then
// MoveFileEx with MOVEFILE_REPLACE_EXISTING, which replaces the target in one
// step on the same volume. Windows has no symbolic links in the paths the
// plug-ins are given (a shortcut is a file of its own), so the path is taken
// as it is. A device (NUL, CON, a COM port) or a named pipe is written to
// directly, as on POSIX systems.
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

CStatus CReplacingFile::Open(const std::string& path, NonRegularTarget nonRegular) {
    Discard();
    m_strPath = path;
    // Opening an existing file for writing without creating or truncating it
    // changes nothing, and tells a device or pipe from a file on a disk. A
    // folder does not open this way and is refused below.
    const HANDLE existing =
        CreateFileA(m_strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        if (GetFileType(existing) == FILE_TYPE_DISK) {
            CloseHandle(existing);
        } else if (nonRegular == NonRegularTarget::Refuse) {
            CloseHandle(existing);
            return Refuse("not a regular file", EINVAL);
        } else {
            m_fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(existing), _O_WRONLY | _O_BINARY);
            if (m_fd < 0) {
                CloseHandle(existing);
                return Fail(EIO);
            }
            m_bDirect = true;
            return {};
        }
    }
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
    return CreateTempFile(slash == std::string::npos ? std::string()
                                                     : m_strPath.substr(0, slash + 1),
                          _S_IREAD | _S_IWRITE);
}

int CReplacingFile::CreateNewFile(const std::string& path, unsigned mode) {
    // Binary: the bytes must reach the file as they are, line ends too.
    return ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                   static_cast<int>(mode));
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
