#include "host/object_tools/temporary_host.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr std::string_view kPrefix = "qrhost-convert-";

// The process id in a folder name "qrhost-convert-PID-XXXXXX", or 0 when name is not one
// (a folder of an older qrhost, without the id, is not ours to judge).
pid_t FolderOwner(std::string_view name) {
    if (!name.starts_with(kPrefix))
        return 0;
    name.remove_prefix(kPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9)
        return 0;
    pid_t pid = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Removes the host folders of converts that died without removing them: their process
// is gone and no one holds their lock (so a live convert whose id means another process
// here, as in another PID namespace sharing the folder, keeps its own).
void RemoveAbandonedHosts(const std::filesystem::path& folder) {
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const pid_t owner = FolderOwner(it->path().filename().string());
        if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ignored;
            std::filesystem::remove_all(it->path(), ignored);
        }
        ::close(fd);
    }
}

} // namespace

CTemporaryHost::CTemporaryHost() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    RemoveAbandonedHosts(folder);
    std::string pattern =
        folder + "/" + std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        m_nError = errno;
        return;
    }
    m_path = pattern;
    // Held while this process lives: what tells the next convert the folder is in use.
    m_lockFd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_lockFd >= 0)
        (void)::flock(m_lockFd, LOCK_EX | LOCK_NB);
}

CTemporaryHost::~CTemporaryHost() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}
