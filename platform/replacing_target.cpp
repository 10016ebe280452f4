// CReplacingFile on POSIX systems: the target found through its links, abandoned temporary
// files cleared, the temporary file locked while it is written, and rename(2).
#include "platform/replacing_file.h"

#include "platform/test_hooks.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The file path finally names when its last component is followed through
// symbolic links, whether that file exists or not (a dangling link gives the
// path it points to). Links inside the folders are left to the system: the
// temporary file is made through the same folders. false with the system's
// error number for a loop or a failing call.
bool ResolveLinks(const std::string& path, std::string& target, int& error) {
    // The system's own limit on links followed in one lookup (Linux: 40).
    constexpr int kMaxLinks = 40;
    std::string current = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                error = errno;
                return false;
            }
            target = current; // not there (yet): written as a new file
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        if (links == kMaxLinks) {
            error = ELOOP;
            return false;
        }
        // st_size is the link text's length, but it may change under us: a
        // text that fills the buffer is read again with a larger one.
        std::string link(static_cast<std::size_t>(st.st_size) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
            if (n < 0) {
                error = errno;
                return false;
            }
            if (static_cast<std::size_t>(n) < link.size()) {
                link.resize(static_cast<std::size_t>(n));
                break;
            }
            link.resize(link.size() * 2);
        }
        // A relative link text is relative to the folder holding the link.
        const auto slash = current.rfind('/');
        if (link.empty() || link[0] == '/' || slash == std::string::npos)
            current = link;
        else
            current = current.substr(0, slash + 1) + link;
    }
}

// The writer's process id in one of our temporary file names
// (".qr-replace-PID-N.tmp"), or 0 when name is not one.
pid_t TempFileWriter(std::string_view name) {
    if (name.substr(0, kReplaceTempPrefix.size()) != kReplaceTempPrefix ||
        name.size() < kReplaceTempSuffix.size() ||
        name.substr(name.size() - kReplaceTempSuffix.size()) != kReplaceTempSuffix)
        return 0;
    name = name.substr(kReplaceTempPrefix.size(),
                       name.size() - kReplaceTempPrefix.size() - kReplaceTempSuffix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size())
        return 0;
    long long pid = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i == dash)
            continue;
        if (c < '0' || c > '9')
            return 0;
        if (i < dash && pid < (1LL << 31))
            pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid < (1LL << 31) ? static_cast<pid_t>(pid) : 0;
}

// Removes from folder the temporary files of writers that died before their
// rename (a crash, a kill, a power cut). A file counts as abandoned only when
// its writer's process is gone and no one holds the lock every writer keeps
// on its temporary file, so a live writer in another process (or one whose
// id means another process here) keeps its file. Nothing else is touched.
void RemoveAbandonedTempFiles(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = TempFileWriter(entry->d_name);
        if (writer == 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = folder + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// A descriptor open for writing on the device, pipe or socket at path (a socket
// is connected to, as a stream), or -1 with errno. A FIFO waits for its reader,
// as any Unix program writing to one does.
int OpenNonRegular(const std::string& path, const struct stat& st) {
    if (!S_ISSOCK(st.st_mode))
        return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

CStatus CReplacingFile::Open(const std::string& path, NonRegularTarget nonRegular) {
    Discard();
    m_strPath = path;
    mode_t mode = 0666; // narrowed by the umask, as for any new file
    struct stat st {};
    // A device, pipe or socket is found by the path as given: the kernel follows
    // links such as /dev/stdout -> /proc/self/fd/1 whose text ("pipe:[N]") names
    // no file. Only a file to replace, or one to make, needs the link's target.
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (!exists || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
        int linkError = 0;
        if (!ResolveLinks(path, m_strPath, linkError))
            return Fail(linkError);
        exists = ::stat(m_strPath.c_str(), &st) == 0;
    }
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return Fail(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            // Replacing a device or pipe with a file would change what the
            // path is; a block device (a disk) is never what a writer means.
            if (nonRegular == NonRegularTarget::Refuse || S_ISBLK(st.st_mode))
                return Refuse("not a regular file", EINVAL);
            m_fd = OpenNonRegular(m_strPath, st);
            if (m_fd < 0)
                return Fail(errno);
            m_bDirect = true;
            // A regular file put there since the stat would be written over
            // in place, untruncated: refused instead.
            struct stat opened {};
            if (::fstat(m_fd, &opened) != 0 || S_ISREG(opened.st_mode))
                return Refuse("changed while it was opened", EAGAIN);
            return {};
        }
        // The permission bits are checked as well as access(): the file's
        // read-only state is what the user set, and it must hold even for a
        // user whom the system would let write anyway.
        if ((st.st_mode & 0222) == 0 || ::access(m_strPath.c_str(), W_OK) != 0)
            return Fail(EACCES);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(errno);
    }

    const auto slash = m_strPath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : m_strPath.substr(0, slash + 1);
    RemoveAbandonedTempFiles(folder);
    if (CStatus created = CreateTempFile(folder, mode); !created)
        return created;
    // Held until the file is closed: how the removal of abandoned files above
    // tells a live writer's file from a dead one's.
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    // The umask applied at creation; an existing target's bits are kept exactly.
    if (mode != 0666)
        (void)::fchmod(m_fd, mode);
    TestHookWritePoint();
    return {};
}

int CReplacingFile::CreateNewFile(const std::string& path, unsigned mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool CReplacingFile::FlushToDisk(int fd) {
    return ::fsync(fd) == 0;
}

int CReplacingFile::ReplaceTarget() const {
    return ::rename(m_strTempPath.c_str(), m_strPath.c_str()) == 0 ? 0 : errno;
}
