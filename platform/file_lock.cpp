#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The lock file, made when missing. Where it cannot be made (a folder we may
// not write to) an existing one still serves: flock needs no write access.
int OpenLockFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || (errno != EACCES && errno != EROFS))
        return fd;
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

// Whether fd is still the file at path: a holder that finished removed it.
bool IsCurrent(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

CFileLock::~CFileLock() {
    Unlock();
}

CStatus CFileLock::Lock(const std::string& path, std::chrono::milliseconds wait) {
    Unlock();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    // Short polls first, so that runs which take turns quickly lose little.
    std::chrono::milliseconds poll(2);
    for (;;) {
        const int fd = OpenLockFile(path);
        if (fd < 0)
            return CStatus::Failure(std::strerror(errno), errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (IsCurrent(fd, path)) {
                m_fd = fd;
                m_strPath = path;
                return {};
            }
            ::close(fd); // removed under us by the holder that just finished
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            return CStatus::Failure(std::strerror(error), error);
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return CStatus::Failure(std::strerror(EWOULDBLOCK), EWOULDBLOCK);
        std::this_thread::sleep_for(std::min<Clock::duration>(poll, deadline - now));
        poll = std::min(poll * 2, std::chrono::milliseconds(50));
    }
}

void CFileLock::Unlock() {
    if (m_fd < 0)
        return;
    // Removed while still held, so no one can take a lock on a file that is
    // about to go; a folder we may not write to keeps it.
    (void)::unlink(m_strPath.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_strPath.clear();
}
