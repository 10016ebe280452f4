#include "file_bytes.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_nFd(fd) {}
    ~CFileDescriptor() {
        if (m_nFd >= 0) {
            ::close(m_nFd);
        }
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_nFd; }

private:
    int m_nFd;
};

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    bytes.clear();
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        error = "cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size) + (1 << 20));
    }
    constexpr std::size_t kBlock = 1 << 20;
    for (;;) {
        std::size_t used = bytes.size();
        // Grow by whole blocks; a regular file's reserve makes this one allocation.
        bytes.resize(used + kBlock);
        ssize_t got = ::read(file.Get(), bytes.data() + used, kBlock);
        if (got < 0) {
            if (errno == EINTR) {
                bytes.resize(used);
                continue;
            }
            error = "cannot read \"" + path + "\": " + std::strerror(errno);
            bytes.clear();
            return false;
        }
        bytes.resize(used + static_cast<std::size_t>(got));
        if (got == 0) {
            return true;
        }
    }
}
