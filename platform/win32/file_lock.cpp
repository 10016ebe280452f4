// CFileLock on Windows: LockFileEx on the lock file, polled until the wait is over. The lock
// belongs to the open handle, as flock's belongs to the open file, and the system releases
// it when a holder dies. The lock file stays in the folder after Unlock: a file another run
// has open cannot be removed here, and an idle lock file is no obstacle.
#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <thread>
#include <windows.h>

namespace {

bool TryLock(HANDLE file) {
    OVERLAPPED whole{};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole) != 0;
}

} // namespace

CFileLock::~CFileLock() {
    Unlock();
}

CStatus CFileLock::Lock(const std::string& path, std::chrono::milliseconds wait) {
    Unlock();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return CStatus::Failure(std::strerror(EACCES), EACCES);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds poll(2);
    while (!TryLock(file)) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            CloseHandle(file);
            return CStatus::Failure(std::strerror(EWOULDBLOCK), EWOULDBLOCK);
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(poll, deadline - now));
        poll = std::min(poll * 2, std::chrono::milliseconds(50));
    }
    // The handle is kept as a C runtime descriptor, the member the class holds.
    m_fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (m_fd < 0) {
        CloseHandle(file);
        return CStatus::Failure(std::strerror(EMFILE), EMFILE);
    }
    m_strPath = path;
    return {};
}

void CFileLock::Unlock() {
    if (m_fd < 0)
        return;
    // Closing the handle releases the lock.
    _close(m_fd);
    m_fd = -1;
    m_strPath.clear();
}
