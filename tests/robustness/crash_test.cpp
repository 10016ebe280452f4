// Crash safety of the files the system replaces: the exchange file of a large
// scene, a large DXF export, the profile and Karvel.ls. crash_writer writes
// each through the real writer and is killed with SIGKILL at every write point
// in turn (after the temporary file is made, after each piece written, before
// and after the rename), then at random moments from outside. After every kill
// the target holds exactly its old bytes or exactly its new ones, and the only
// temporary file left is the killed run's own: each run removes what the runs
// killed before it left.
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kWriter = QR_BINARY_DIR "/bin/crash_writer";
constexpr int kKilledExit = 128 + SIGKILL;

// What one file's crash runs saw.
struct CrashTally {
    int writePoints = 0; // in a run that is not killed
    int kills = 0;
    int oldSeen = 0;
    int newSeen = 0;
    int runs = 0;
};

class WriterCrash : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef QR_TEST_HOOKS
        GTEST_SKIP() << "needs QR_TEST_HOOKS (the asan preset) for the write points";
#endif
        fs::create_directories(m_logs);
    }

    CProgramRun Write(const std::string& kind, const fs::path& arg, int variant,
                      const std::vector<std::string>& env) {
        CRunningProgram writer(m_logs, kind, {kWriter, kind, arg.string(), std::to_string(variant)},
                               env);
        return writer.Wait();
    }

    // Every entry of the target's folder other than the target itself must be
    // a temporary file of one of the killed runs given (none may be left when
    // there are none).
    void ExpectOnlyLeftoversOf(const fs::path& target, const std::vector<pid_t>& killed) {
        for (const auto& entry : fs::directory_iterator(target.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (entry.path() == target)
                continue;
            bool theirs = false;
            for (pid_t pid : killed)
                theirs = theirs || name.rfind(".qr-replace-" + std::to_string(pid) + "-", 0) == 0;
            EXPECT_TRUE(theirs) << name << " left in " << target.parent_path();
        }
    }

    // After a kill: old or new bytes, never anything else. A target already
    // replaced gets its old bytes back, so every run starts from the same state.
    void CheckAfterKill(const fs::path& target, const std::string& oldBytes,
                        const std::string& newBytes, const std::vector<pid_t>& killed,
                        CrashTally& tally) {
        const std::string now = ReadFile(target);
        if (now == oldBytes) {
            ++tally.oldSeen;
        } else if (now == newBytes) {
            ++tally.newSeen;
            WriteFile(target, oldBytes);
        } else {
            ADD_FAILURE() << target << " holds " << now.size() << " bytes: neither the old "
                          << oldBytes.size() << " nor the new " << newBytes.size();
            WriteFile(target, oldBytes);
        }
        ExpectOnlyLeftoversOf(target, killed);
    }

    // The whole crash run for one kind of file; target holds the old version.
    CrashTally KillEverywhere(const std::string& kind, const fs::path& arg, const fs::path& target,
                              std::size_t piece) {
        CrashTally tally;
        const std::string pieceEnv = "QR_TEST_WRITE_PIECE=" + std::to_string(piece);
        const std::string oldBytes = ReadFile(target);
        EXPECT_FALSE(oldBytes.empty());
        EXPECT_EQ(Write(kind, arg, 2, {pieceEnv}).exitCode, 0);
        const std::string newBytes = ReadFile(target);
        EXPECT_FALSE(newBytes.empty());
        EXPECT_NE(newBytes, oldBytes);
        WriteFile(target, oldBytes);

        // Killed at write point 1, 2, ... until a run gets through.
        for (int point = 1; point <= 400; ++point) {
            CRunningProgram writer(m_logs, kind, {kWriter, kind, arg.string(), "2"},
                                   {"QR_TEST_CRASH_AT=" + std::to_string(point), pieceEnv});
            const pid_t pid = writer.Pid();
            const CProgramRun run = writer.Wait();
            ++tally.runs;
            if (run.exitCode == 0) {
                tally.writePoints = point - 1;
                EXPECT_EQ(ReadFile(target), newBytes);
                ExpectOnlyLeftoversOf(target, {});
                WriteFile(target, oldBytes);
                break;
            }
            EXPECT_EQ(run.exitCode, kKilledExit) << run.err;
            ++tally.kills;
            // Killed at or after its first write point, the run had already
            // removed what the run before it left: only its own file may be there.
            CheckAfterKill(target, oldBytes, newBytes, {pid}, tally);
        }
        EXPECT_GT(tally.writePoints, 3) << "the run was never killed inside its write";

        // Killed from outside at random moments of a write slowed at every point.
        const std::string pauseEnv = "QR_TEST_WRITE_PAUSE_US=300";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Write(kind, arg, 2, {pieceEnv, pauseEnv}).exitCode, 0);
        const auto length = std::chrono::steady_clock::now() - start;
        ++tally.runs;
        WriteFile(target, oldBytes);
        std::mt19937 random(13);
        std::uniform_int_distribution<long long> moment(
            0, std::chrono::duration_cast<std::chrono::microseconds>(length).count());
        // A run killed before it reached its write may leave what earlier ones left.
        std::vector<pid_t> killed;
        for (int i = 0; i < 6; ++i) {
            CRunningProgram writer(m_logs, kind, {kWriter, kind, arg.string(), "2"},
                                   {pieceEnv, pauseEnv});
            const pid_t pid = writer.Pid();
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            writer.Kill();
            const CProgramRun run = writer.Wait();
            ++tally.runs;
            if (run.exitCode == kKilledExit) {
                ++tally.kills;
                killed.push_back(pid);
            } else {
                EXPECT_EQ(run.exitCode, 0) << run.err;
                killed.clear();
            }
            CheckAfterKill(target, oldBytes, newBytes, killed, tally);
        }

        // The next whole run replaces the file and leaves nothing else.
        EXPECT_EQ(Write(kind, arg, 2, {}).exitCode, 0);
        ++tally.runs;
        EXPECT_EQ(ReadFile(target), newBytes);
        ExpectOnlyLeftoversOf(target, {});
        std::cout << kind << ": " << tally.writePoints << " write points, " << tally.kills
                  << " kills (old bytes after " << tally.oldSeen << ", new after " << tally.newSeen
                  << "), " << tally.runs << " runs checked\n";
        return tally;
    }

    CScratchFolder m_scratch;
    fs::path m_logs = m_scratch / "logs";
};

} // namespace

TEST_F(WriterCrash, ExchangeFileOfALargeScene) {
    const fs::path host = m_scratch / "host";
    fs::create_directories(host / "PlugIns");
    ASSERT_EQ(Write("scene", host, 1, {}).exitCode, 0);
    const CrashTally tally = KillEverywhere("scene", host, host / "PlugIns" / "qrplugin.qrc", 0);
    EXPECT_GT(tally.newSeen, 0) << "no kill fell after the rename";
}

TEST_F(WriterCrash, LargeDxfExport) {
    const fs::path out = m_scratch / "out" / "scene.dxf";
    fs::create_directories(out.parent_path());
    ASSERT_EQ(Write("dxf", out, 1, {}).exitCode, 0);
    KillEverywhere("dxf", out, out, 64 * 1024);
}

TEST_F(WriterCrash, Profile) {
    const fs::path profile = m_scratch / "config" / "Quarrion.ini";
    fs::create_directories(profile.parent_path());
    std::string text = "; the user's own notes stay\n[Karvel]\n";
    for (int i = 0; i < 100; ++i)
        text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\n";
    WriteFile(profile, text + "[Paths]\nApplicationPath=/hosts/first\n");
    KillEverywhere("profile", profile, profile, 256);
}

TEST_F(WriterCrash, LScript) {
    if (Write("lscript", m_scratch.Path(), 1, {}).exitCode == 2)
        GTEST_SKIP() << "crash_writer was built without the preferences library";
    const fs::path plugins = m_scratch / "PlugIns";
    fs::create_directories(plugins);
    ASSERT_EQ(Write("lscript", plugins, 1, {}).exitCode, 0);
    KillEverywhere("lscript", plugins, plugins / "Karvel.ls", 16);
}
