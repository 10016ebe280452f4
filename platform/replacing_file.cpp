#include "replacing_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CReplacingFile::~CReplacingFile() { Discard(); }

bool CReplacingFile::Fail(int error) {
    m_nError = error;
    m_strError = std::strerror(error);
    Discard();
    return false;
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
}

bool CReplacingFile::Open(const std::string& path) {
    Discard();
    m_strPath = path;
    m_strError.clear();
    m_nError = 0;

    mode_t mode = 0666; // narrowed by the umask, as for any new file
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail(EISDIR);
        // The permission bits are checked as well as access(): the file's
        // read-only state is what the user set, and it must hold even for a
        // user whom the system would let write anyway.
        if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
            return Fail(EACCES);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(errno);
    }

    // A short name in the target's folder (a long target name plus a suffix
    // could pass the file system's name limit) that no other writer picks:
    // the process id and a counter, created exclusively.
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    for (unsigned attempt = 0;; ++attempt) {
        std::string temp = folder + ".qr-replace-" + std::to_string(::getpid()) + "-" +
                           std::to_string(attempt) + ".tmp";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            m_fd = fd;
            m_strTempPath = std::move(temp);
            break;
        }
        if (errno != EEXIST || attempt >= 100)
            return Fail(errno);
    }
    // The umask applied at creation; an existing target's bits are kept exactly.
    if (mode != 0666)
        (void)::fchmod(m_fd, mode);
    return true;
}

bool CReplacingFile::Write(const char* data, std::size_t size) {
    if (m_fd < 0)
        return false;
    while (size != 0) {
        ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CReplacingFile::Commit() {
    if (m_fd < 0)
        return false;
    if (::fsync(m_fd) != 0)
        return Fail(errno);
    // close() can be the first to report a failed write on some file systems.
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return Fail(errno);
    if (::rename(m_strTempPath.c_str(), m_strPath.c_str()) != 0)
        return Fail(errno);
    m_strTempPath.clear();
    return true;
}
