#include "host/object_tools/interrupt_cleanup.h"

#include "platform/replacing_file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <string_view>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What the handler removes, set before it is installed. Empty: nothing.
char g_hostFolder[PATH_MAX];
char g_outputFolder[PATH_MAX];
char g_tempPrefix[64]; // ".qr-replace-PID-"

bool Copy(char (&to)[PATH_MAX], const std::string& from) {
    if (from.size() >= sizeof to)
        return false;
    std::memcpy(to, from.c_str(), from.size() + 1);
    return true;
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsOwnTempFile(const char* name) {
    const std::size_t length = std::strlen(name);
    const std::size_t prefix = std::strlen(g_tempPrefix);
    const std::size_t suffix = kReplaceTempSuffix.size();
    return length > prefix + suffix && std::strncmp(name, g_tempPrefix, prefix) == 0 &&
           std::memcmp(name + length - suffix, kReplaceTempSuffix.data(), suffix) == 0;
}

// Removes the entries of the folder open as dirFd that keep says nothing of (all of them
// for nullptr), folders with what they hold, up to depth folders down. Entries removed
// while the folder is read may make the reading skip others, so it reads again from the
// start until a pass removes nothing.
void RemoveEntries(int dirFd, int depth, bool (*only)(const char*)) {
    alignas(dirent64) char buffer[8192];
    for (bool removed = true; removed;) {
        removed = false;
        if (::lseek(dirFd, 0, SEEK_SET) != 0)
            return;
        for (ssize_t n; (n = ::getdents64(dirFd, buffer, sizeof buffer)) > 0;) {
            for (ssize_t pos = 0; pos < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + pos);
                pos += entry->d_reclen;
                const char* name = entry->d_name;
                if (IsDotOrDotDot(name) || (only != nullptr && !only(name)))
                    continue;
                if (::unlinkat(dirFd, name, 0) == 0) {
                    removed = true;
                    continue;
                }
                if (only != nullptr || depth == 0 || (errno != EISDIR && errno != EPERM))
                    continue;
                const int sub = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
                if (sub < 0)
                    continue;
                RemoveEntries(sub, depth - 1, nullptr);
                ::close(sub);
                removed = ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0 || removed;
            }
        }
    }
}

void CleanUpAndDie(int signal) {
    const int savedErrno = errno;
    if (g_outputFolder[0] != '\0') {
        if (const int fd = ::open(g_outputFolder, O_RDONLY | O_DIRECTORY); fd >= 0) {
            RemoveEntries(fd, 0, IsOwnTempFile);
            ::close(fd);
        }
    }
    if (g_hostFolder[0] != '\0') {
        // The host folder holds PlugIns/ and the files in it; a few levels spare.
        if (const int fd = ::open(g_hostFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW); fd >= 0) {
            RemoveEntries(fd, 4, nullptr);
            ::close(fd);
        }
        (void)::rmdir(g_hostFolder);
    }
    // The same signal again, now with its default action: the process ends as it would
    // have without us, and whoever waits for it sees that signal.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    (void)::sigaction(signal, &fallback, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    errno = savedErrno;
    (void)::raise(signal);
    (void)::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
}

} // namespace

CInterruptCleanup::CInterruptCleanup(const std::string& hostFolder,
                                     const std::string& outputFolder) {
    // A path too long for the buffer is left to the next run's clearing.
    if (!Copy(g_hostFolder, hostFolder))
        g_hostFolder[0] = '\0';
    if (!Copy(g_outputFolder, outputFolder.empty() ? std::string(".") : outputFolder))
        g_outputFolder[0] = '\0';
    const std::string prefix = std::string(kReplaceTempPrefix) + std::to_string(::getpid()) + "-";
    std::memcpy(g_tempPrefix, prefix.c_str(), prefix.size() + 1);

    struct sigaction action {};
    action.sa_handler = CleanUpAndDie;
    sigemptyset(&action.sa_mask);
    // Each handler runs with all four blocked, so two signals never clean up at once.
    for (const int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        (void)::sigaction(kSignals[i], nullptr, &m_previous[i]);
        // A signal the caller ignores (nohup, a shell's background job) stays ignored.
        if (m_previous[i].sa_handler != SIG_IGN)
            (void)::sigaction(kSignals[i], &action, nullptr);
    }
}

CInterruptCleanup::~CInterruptCleanup() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        (void)::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_hostFolder[0] = '\0';
    g_outputFolder[0] = '\0';
}
