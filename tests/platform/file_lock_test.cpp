// CFileLock: one holder at a time, a bounded wait, and no lock file left
// behind by a holder that finished or died.
#include "platform/file_lock.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(FileLock, SecondHolderWaitsBoundedAndGetsItAfterTheFirst) {
    CScratchFolder folder;
    const std::string path = (folder / "scene.qrc.lock").string();
    CFileLock first;
    ASSERT_TRUE(first.Lock(path, 0ms));
    EXPECT_TRUE(fs::exists(path));

    CFileLock second;
    const CStatus busy = second.Lock(path, 30ms);
    EXPECT_FALSE(busy);
    EXPECT_EQ(busy.GetErrorNumber(), EWOULDBLOCK);
    EXPECT_FALSE(second.IsLocked());

    // Released by another thread while the second one waits.
    std::thread releaser([&first] {
        std::this_thread::sleep_for(50ms);
        first.Unlock();
    });
    const CStatus got = second.Lock(path, 10s);
    releaser.join();
    EXPECT_TRUE(got) << got.GetReason();
    EXPECT_TRUE(second.IsLocked());
    second.Unlock();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(CountFiles(folder.Path()), 0u);
}

TEST(FileLock, LockFileLeftByADeadHolderIsTakenAndRemoved) {
    CScratchFolder folder;
    const fs::path path = folder / "scene.qrc.lock";
    WriteFile(path, ""); // a run that was killed: its lock is gone, its file is not
    CFileLock lock;
    ASSERT_TRUE(lock.Lock(path.string(), 0ms));
    lock.Unlock();
    EXPECT_FALSE(fs::exists(path));
}

TEST(FileLock, FolderThatIsMissingIsAnErrorNotAWait) {
    CScratchFolder folder;
    CFileLock lock;
    const auto start = std::chrono::steady_clock::now();
    const CStatus status = lock.Lock((folder / "none" / "x.lock").string(), 10s);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.GetErrorNumber(), ENOENT);
    // Not the wait: the error comes back at once (a generous bound, not a timing).
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}
