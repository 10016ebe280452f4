// A disk that fills up during a write: the export's DXF file, the exchange
// file the import writes back, and the profile. Each failed write leaves the
// old file whole and no temporary file, and the commands say what happened.
//
// The disk is a 256 KiB tmpfs mounted in a mount namespace of a child process
// of its own (so nothing outside the test ever sees it), where the test runs
// as root with the right to mount. Elsewhere the child lowers its file-size
// limit instead, which fails the same writes with EFBIG. The checks run in
// the child; it reports to the test through a pipe.
#include "tests/support/child_process.h"
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/scene_parts.h"
#include "tests/support/test_application.h"
#include "tests/support/test_host.h"

#include "export/export_command.h"
#include "import/import_command.h"
#include "platform/ini_profile.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDiskBytes = 256 * 1024;

// The child's findings: "disk=<how>", then one line per failed check.
class CReport {
  public:
    explicit CReport(int fd) : m_fd(fd) {}
    void Line(const std::string& text) {
        const std::string line = text + "\n";
        (void)::write(m_fd, line.data(), line.size());
    }
    void Check(bool ok, const std::string& what) {
        if (!ok)
            Line("FAILED: " + what);
    }

  private:
    int m_fd;
};

// A tmpfs of kDiskBytes on folder, seen only by this process and its children.
bool MountSmallDisk(const fs::path& folder) {
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        return false;
    // Our mounts must not travel back to the namespace we came from.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    const std::string options = "size=" + std::to_string(kDiskBytes) + ",mode=0755";
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

bool LimitFileSize() {
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return false;
    limit.rlim_cur = kDiskBytes;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool OnlyFile(const fs::path& folder, const std::string& name) {
    return CountFiles(folder) == 1 && fs::exists(folder / name);
}

class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(m_disk);
        // The scene the export writes: far more DXF than the disk holds.
        CSceneDocument scene;
        for (int i = 0; i < 40; ++i) {
            AddPart(scene, "Part " + std::to_string(i), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {});
            auto& part = *scene.m_parts[i];
            for (int t = 0; t < 100; ++t) {
                auto* triangle = new CScenePolygon;
                for (int c : {0, 1, 2})
                    triangle->AddIndex(c);
                part.AddPolygon(triangle);
            }
        }
        m_bigHost.WriteScene(scene);
        // The object the import brings: far more scene than the disk holds.
        std::string faces;
        for (int f = 0; f < 3000; ++f)
            faces += Face("Site", {{f, 0, 0}, {f + 1, 0, 0}, {f, 1, 0}});
        WriteFile(m_object, Section(faces));
    }

    // In the child: the disk, the old files on it, then every write that fills it.
    void RunChecks(CReport& report, bool tryMount) {
        const bool mounted = tryMount && MountSmallDisk(m_disk);
        const fs::path plugins = m_disk / "host" / "PlugIns";
        fs::create_directories(plugins);
        CSceneDocument small;
        AddPart(small, "Old", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
        CTestApplication writer;
        writer.App().WriteProfileString("Paths", "ApplicationPath", (m_disk / "host").string());
        WriteExchangeFile(small, kExchangeFileName, writer.App());
        const std::string oldScene = ReadFile(plugins / "qrplugin.qrc");
        WriteFile(m_disk / "site.dxf", "the previous export\n");
        WriteFile(m_disk / "Quarrion.ini", "[Karvel]\nview_info=0\n");
        if (!mounted && !LimitFileSize()) {
            report.Line("skip: neither a tmpfs could be mounted nor the file size limited");
            return;
        }
        report.Line(mounted ? "disk=tmpfs" : "disk=file size limit");
        const std::string reason = mounted ? "No space left on device" : "File too large";

        {
            CTestApplication app;
            m_bigHost.NameIn(app.App());
            app.Profile().Write("Karvel", "export_use_def_dxf", "1");
            app.Profile().Write("Karvel", "export_def_dxf", (m_disk / "site.dxf").string());
            (void)RunExportCommand(app.App());
            report.Check(app.Transcript() ==
                             "[message icon=stop buttons=ok]\nThe DXF file \"" +
                                 (m_disk / "site.dxf").string() +
                                 "\" could not be written: " + reason +
                                 ".\nNothing was exported; an existing file of that name is "
                                 "unchanged.\n[end]\n",
                         "export message: " + app.Transcript());
            report.Check(ReadFile(m_disk / "site.dxf") == "the previous export\n",
                         "the old DXF file changed");
        }
        {
            CTestApplication app({}, m_object.string());
            app.App().WriteProfileString("Paths", "ApplicationPath", (m_disk / "host").string());
            app.Profile().Write("Karvel", "view_info", "0");
            (void)RunImportCommand(app.App());
            report.Check(Contains(app.Transcript(), "[message icon=stop buttons=ok]\nThe scene "
                                                    "could not be written back to the exchange "
                                                    "file:\n") &&
                             Contains(app.Transcript(), reason) &&
                             Contains(app.Transcript(), "an existing exchange file is unchanged"),
                         "import message: " + app.Transcript());
            report.Check(ReadFile(plugins / "qrplugin.qrc") == oldScene,
                         "the old exchange file changed");
            report.Check(OnlyFile(plugins, "qrplugin.qrc"),
                         "temporary or lock files left beside the exchange file");
        }
        {
            CIniProfile profile((m_disk / "Quarrion.ini").string());
            report.Check(!profile.Write("Karvel", "def_lwo", std::string(kDiskBytes, 'x')),
                         "a profile larger than the disk was written");
            report.Check(ReadFile(m_disk / "Quarrion.ini") == "[Karvel]\nview_info=0\n",
                         "the old profile changed");
        }
        // host/, site.dxf, Quarrion.ini: no temporary file left.
        report.Check(CountFiles(m_disk) == 3, "temporary files left on the disk");
    }

    // Runs the checks in a child and returns its report, "skip: ..." or "disk=...".
    std::string RunChild(bool tryMount) {
        const CChildReport child = RunInChild([&](int reportFd) {
            CReport report(reportFd);
            RunChecks(report, tryMount);
        });
        return child.m_bExited ? child.m_strText : "FAILED: the child died\n" + child.m_strText;
    }

    CTestHost m_bigHost;
    fs::path m_disk = m_bigHost.Scratch() / "disk";
    fs::path m_object = m_bigHost.Scratch() / "site.dxf";
};

} // namespace

TEST_F(FullDisk, FailedWritesKeepTheOldFilesAndSaySo) {
    const std::string text = RunChild(true);
    if (text.rfind("skip: ", 0) == 0)
        GTEST_SKIP() << text;
    ASSERT_EQ(text.rfind("disk=", 0), 0u) << text;
    std::cout << text.substr(0, text.find('\n')) << "\n";
    EXPECT_EQ(text.find("FAILED"), std::string::npos) << text;
}

// The same writes under the file-size limit, whether or not a tmpfs can be had.
TEST_F(FullDisk, FileSizeLimitFailsTheWritesTheSameWay) {
    const std::string text = RunChild(false);
    if (text.rfind("skip: ", 0) == 0)
        GTEST_SKIP() << text;
    ASSERT_EQ(text.rfind("disk=file size limit\n", 0), 0u) << text;
    EXPECT_EQ(text.find("FAILED"), std::string::npos) << text;
}
