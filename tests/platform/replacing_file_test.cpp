// CReplacingFile writes through symbolic links: the final target gets the new
// bytes, the temporary file lies beside it, and every link stays a link. It
// clears what writers that died left behind, and nothing else.
#include "platform/replacing_file.h"

#include "platform/ini_profile.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool Replace(const std::string& path, const std::string& content, int* error = nullptr) {
    CReplacingFile file;
    CStatus status = file.Open(path);
    if (status)
        status = file.Write(content.data(), content.size());
    if (status)
        status = file.Commit();
    if (error != nullptr)
        *error = status.GetErrorNumber();
    return status.IsOk();
}

} // namespace

TEST(ReplacingFile, WritesThroughLinksToTheFinalTarget) {
    CScratchFolder folder;
    const fs::path real = folder.Path() / "real";
    fs::create_directory(real);
    fs::create_directory(folder.Path() / "links");
    WriteFile(real / "scene.qrc", "old");
    fs::permissions(real / "scene.qrc", fs::perms(0640));

    // Absolute, relative to the link's folder, and a link to a link.
    fs::create_symlink(real / "scene.qrc", folder.Path() / "links" / "absolute");
    fs::create_symlink("../real/scene.qrc", folder.Path() / "links" / "relative");
    fs::create_symlink("relative", folder.Path() / "links" / "chain");
    for (const char* name : {"absolute", "relative", "chain"}) {
        SCOPED_TRACE(name);
        const fs::path link = folder.Path() / "links" / name;
        CReplacingFile file;
        const CStatus opened = file.Open(link.string());
        ASSERT_TRUE(opened) << opened.GetReason();
        EXPECT_EQ(fs::canonical(file.GetTargetPath()), fs::canonical(real / "scene.qrc"));
        // The temporary file lies beside the target, not beside the link.
        EXPECT_EQ(CountFiles(real), 2u);
        const std::string content = std::string("new through ") + name;
        ASSERT_TRUE(file.Write(content.data(), content.size()));
        ASSERT_TRUE(file.Commit());
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadFile(real / "scene.qrc"), content);
        EXPECT_EQ(fs::status(real / "scene.qrc").permissions(), fs::perms(0640));
        EXPECT_EQ(CountFiles(real), 1u);
    }
    EXPECT_EQ(CountFiles(folder.Path() / "links"), 3u);
}

TEST(ReplacingFile, DanglingLinkCreatesItsTarget) {
    CScratchFolder folder;
    fs::create_symlink("later.ini", folder.Path() / "Quarrion.ini");
    ASSERT_TRUE(Replace(folder / "Quarrion.ini", "[Karvel]\n"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "Quarrion.ini"));
    EXPECT_EQ(ReadFile(folder.Path() / "later.ini"), "[Karvel]\n");
    EXPECT_EQ(CountFiles(folder.Path()), 2u);
}

TEST(ReplacingFile, LinkLoopIsAnErrorAndChangesNothing) {
    CScratchFolder folder;
    fs::create_symlink("b", folder.Path() / "a");
    fs::create_symlink("a", folder.Path() / "b");
    int error = 0;
    EXPECT_FALSE(Replace(folder / "a", "x", &error));
    EXPECT_EQ(error, ELOOP);
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "a"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "b"));
    EXPECT_EQ(CountFiles(folder.Path()), 2u);
}

// The profile is written through the one replacing writer as well.
TEST(ReplacingFile, ProfileBehindALinkStaysALink) {
    CScratchFolder folder;
    fs::create_directory(folder.Path() / "dotfiles");
    WriteFile(folder.Path() / "dotfiles" / "Quarrion.ini", "; mine\n[Paths]\nApplicationPath=/h\n");
    fs::create_symlink("dotfiles/Quarrion.ini", folder.Path() / "Quarrion.ini");
    CApplication app(std::make_unique<CIniProfile>(folder / "Quarrion.ini"), nullptr, nullptr);
    ASSERT_TRUE(app.WriteProfileInt("Karvel", "flip_poly", 0));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "Quarrion.ini"));
    EXPECT_EQ(ReadFile(folder.Path() / "dotfiles" / "Quarrion.ini"),
              "; mine\n[Paths]\nApplicationPath=/h\n\n[Karvel]\nflip_poly=0\n");
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 1), 0);
}

namespace {

// The id of a process that has ended and been reaped: no process has it now
// (short of the system handing it out again within this test).
pid_t DeadProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

std::string TempName(long long pid, int n) {
    return ".qr-replace-" + std::to_string(pid) + "-" + std::to_string(n) + ".tmp";
}

} // namespace

// A writer killed before its rename leaves its temporary file; the next writer
// in that folder removes it. Files of live writers, files a live writer
// holds, and everything that is not one of our temporary files stay.
TEST(ReplacingFile, NextWriterRemovesOnlyTheTemporaryFilesOfDeadWriters) {
    CScratchFolder folder;
    const pid_t dead = DeadProcessId();
    const std::string abandoned = TempName(dead, 0);
    const std::string abandonedToo = TempName(dead, 7);
    const std::string heldByWriter = TempName(DeadProcessId(), 1);
    const std::vector<std::string> kept = {TempName(::getppid(), 0), // a live process's
                                           TempName(::getpid(), 3),  // our own
                                           ".qr-replace-x1-0.tmp",   // not a process id
                                           ".qr-replace-" + std::to_string(dead) + "-0.tmp.bak",
                                           "qr-replace-" + std::to_string(dead) + "-0.tmp",
                                           "notes.txt"};
    for (const std::string& name : kept)
        WriteFile(folder / name, "keep");
    WriteFile(folder / abandoned, "half a scene");
    WriteFile(folder / abandonedToo, "");
    WriteFile(folder / heldByWriter, "being written");
    // A writer that is alive under an id this process cannot see (another
    // process namespace) holds its file's lock.
    const int held = ::open((folder / heldByWriter).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    fs::create_directory(folder / TempName(dead, 9)); // a folder is never ours

    ASSERT_TRUE(Replace((folder / "scene.qrc").string(), "new"));
    ::close(held);

    EXPECT_FALSE(fs::exists(folder / abandoned));
    EXPECT_FALSE(fs::exists(folder / abandonedToo));
    EXPECT_TRUE(fs::exists(folder / heldByWriter));
    EXPECT_TRUE(fs::is_directory(folder / TempName(dead, 9)));
    for (const std::string& name : kept)
        EXPECT_EQ(ReadFile(folder / name), "keep") << name;
    EXPECT_EQ(ReadFile(folder / "scene.qrc"), "new");
    EXPECT_EQ(CountFiles(folder.Path()), kept.size() + 3);
}

namespace {

enum class NodeKind { Fifo, NullDevice, FullDevice, Socket, Folder };

// Makes a node of kind at path; a socket's listening descriptor goes to listener.
bool MakeNode(NodeKind kind, const std::string& path, int& listener) {
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    switch (kind) {
    case NodeKind::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case NodeKind::NullDevice: // private nodes of Linux's 1,3 and 1,7, never /dev/null itself
    case NodeKind::FullDevice:
        return ::mknod(path.c_str(), S_IFCHR | 0666,
                       makedev(1, kind == NodeKind::NullDevice ? 3 : 7)) == 0;
    case NodeKind::Socket:
        listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
               ::listen(listener, 1) == 0;
    case NodeKind::Folder:
        return ::mkdir(path.c_str(), 0755) == 0;
    }
    return false;
}

std::size_t ReadAll(int fd) {
    char buffer[4096];
    std::size_t total = 0;
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        total += static_cast<std::size_t>(n);
    ::close(fd);
    return total;
}

mode_t NodeType(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

} // namespace

// Devices, pipes and sockets are written to in place or refused, never replaced by a
// file; a folder is always refused. The node stays what it was and nothing is left beside
// it; the bytes arrive or the failure says why.
TEST(ReplacingFile, OnlyRegularFilesAreReplaced) {
    constexpr NonRegularTarget kDirect = NonRegularTarget::WriteDirectly;
    constexpr NonRegularTarget kRefuse = NonRegularTarget::Refuse;
    const struct {
        const char* name;
        NodeKind kind;
        NonRegularTarget nonRegular;
        int error; // 0: written
    } kCases[] = {
        {"FIFO", NodeKind::Fifo, kDirect, 0},
        {"FIFO refused", NodeKind::Fifo, kRefuse, EINVAL},
        {"null device", NodeKind::NullDevice, kDirect, 0},
        {"full device", NodeKind::FullDevice, kDirect, ENOSPC},
        {"null device refused", NodeKind::NullDevice, kRefuse, EINVAL},
        {"socket", NodeKind::Socket, kDirect, 0},
        {"socket refused", NodeKind::Socket, kRefuse, EINVAL},
        {"folder", NodeKind::Folder, kDirect, EISDIR},
        {"folder refused", NodeKind::Folder, kRefuse, EISDIR},
    };
    // Larger than a pipe's buffer, so the writer must wait for its reader.
    const std::string content(200000, 'x');
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        if ((c.kind == NodeKind::NullDevice || c.kind == NodeKind::FullDevice) && ::geteuid()) {
            std::printf("[  SKIPPED ] %s: device nodes need root for mknod\n", c.name);
            continue;
        }
        CScratchFolder folder;
        const std::string path = (folder / "out").string();
        int listener = -1;
        ASSERT_TRUE(MakeNode(c.kind, path, listener)) << std::strerror(errno);
        const mode_t type = NodeType(path);
        const bool reads = c.error == 0 && (c.kind == NodeKind::Fifo || c.kind == NodeKind::Socket);
        std::future<std::size_t> received = std::async(std::launch::async, [&] {
            if (!reads)
                return std::size_t{0};
            return ReadAll(listener >= 0 ? ::accept(listener, nullptr, nullptr)
                                         : ::open(path.c_str(), O_RDONLY));
        });

        CReplacingFile file;
        CStatus status = file.Open(path, c.nonRegular);
        if (status)
            status = file.Write(content.data(), content.size());
        if (status)
            status = file.Commit();
        EXPECT_EQ(status.GetErrorNumber(), c.error) << status.GetReason();
        EXPECT_EQ(status.IsOk(), c.error == 0);
        EXPECT_EQ(received.get(), reads ? content.size() : 0u);
        EXPECT_EQ(NodeType(path), type);
        EXPECT_EQ(CountFiles(folder.Path()), 1u);
        if (listener >= 0)
            ::close(listener);
    }
}

// /dev/stdout on a pipe is a link to /proc/self/fd/1, whose text ("pipe:[N]")
// names no file: the pipe must be written, not taken for a new file to make.
TEST(ReplacingFile, PipeReachedThroughALinkWithoutAPathIsWritten) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(fds[1]);
    std::future<std::size_t> received =
        std::async(std::launch::async, [&] { return ReadAll(fds[0]); });
    const std::string content(200000, 'x');
    CReplacingFile file;
    CStatus status = file.Open(path);
    if (status)
        status = file.Write(content.data(), content.size());
    if (status)
        status = file.Commit();
    ::close(fds[1]);
    EXPECT_TRUE(status.IsOk()) << status.GetReason();
    EXPECT_EQ(received.get(), content.size());
}
