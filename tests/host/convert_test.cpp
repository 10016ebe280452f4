// qrhost convert end to end: the real program with the real Karvel and
// Brask_Export modules, the DXF it writes read back by ezdxf.
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"

#include "import/import_object.h"
#include "import/object_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kQrhost = QR_BINARY_DIR "/bin/qrhost";
const std::string kExamples = QR_SOURCE_DIR "/examples/";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What ezdxf should find for an object: per layer (the surface's name, made
// safe as the export does by default) its triangles and quadrilaterals as
// 3DFACE and its other polygons as POLYLINE, counted from the import reader's
// view of the same file.
std::string ExpectedLayers(const std::string& object, bool rename) {
    CImportObject loaded;
    EXPECT_TRUE(LoadObjectFile(loaded, object, GetObjectExtension(object)));
    std::map<std::string, std::pair<int, int>> layers;
    for (std::size_t i = 0; i < loaded.GetPolygonCount(); ++i) {
        const CImportPolygon polygon = loaded.GetPolygon(i);
        std::string name =
            loaded.GetSurface(static_cast<std::size_t>(polygon.m_nSurface) - 1).m_strName;
        if (rename)
            std::replace_if(
                name.begin(), name.end(),
                [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        auto& [faces, polylines] = layers[name];
        (polygon.m_nCount == 3 || polygon.m_nCount == 4 ? faces : polylines) += 1;
    }
    std::string out;
    for (const auto& [name, counts] : layers)
        out += "layer " + name + " faces=" + std::to_string(counts.first) +
               " polylines=" + std::to_string(counts.second) + "\n";
    return out + "audit errors=0\n";
}

class Convert : public ::testing::Test {
  protected:
    void SetUp() override {
        // The temporary host folders go here, where the test can see them.
        const char* tmp = std::getenv("TMPDIR");
        if (tmp != nullptr)
            m_savedTmp = tmp;
        setenv("TMPDIR", m_folder.Path().c_str(), 1);
        setenv("QUARRION_PROFILE", (m_folder / "unused.ini").c_str(), 1);
    }
    void TearDown() override {
        if (m_savedTmp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_savedTmp.c_str(), 1);
    }
    CProgramRun Qr(std::vector<std::string> args) {
        args.insert(args.begin(), kQrhost);
        return RunProgram(m_folder.Path(), std::move(args));
    }
    std::string Layers(const fs::path& dxf) {
        const CProgramRun run = RunProgram(
            m_folder.Path(), {"/usr/bin/python3", QR_SOURCE_DIR "/tests/host/dxf_layers.py", dxf});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }
    bool HaveEzdxf() {
        return RunProgram(m_folder.Path(), {"/usr/bin/python3", "-c", "import ezdxf"}).exitCode ==
               0;
    }
    // The folder holds only what the runs left on purpose.
    bool NoHostFolderLeft() {
        for (const auto& entry : fs::directory_iterator(m_folder.Path()))
            if (entry.path().filename().string().starts_with("qrhost-convert-"))
                return false;
        return true;
    }

    CScratchFolder m_folder;
    std::string m_savedTmp;
};

} // namespace

TEST_F(Convert, ExamplesBecomeDxfWithALayerPerSurface) {
    if (!HaveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    for (const char* example : {"crate.lwo", "lamp.lwo", "site.dxf"}) {
        const fs::path out = m_folder / (std::string(example) + ".dxf");
        const CProgramRun run = Qr({"convert", kExamples + example, out});
        ASSERT_EQ(run.exitCode, 0) << example << run.out << run.err;
        // Both summaries, and nothing asked.
        EXPECT_TRUE(Contains(run.out, "OK - Import was successful")) << run.out;
        EXPECT_TRUE(Contains(run.out, "OK - Export was successful")) << run.out;
        EXPECT_FALSE(Contains(run.out, "buttons=yesno")) << run.out;
        EXPECT_EQ(Layers(out), ExpectedLayers(kExamples + example, true)) << example;
    }
    EXPECT_TRUE(NoHostFolderLeft());
    EXPECT_FALSE(fs::exists(m_folder / "unused.ini")) << "the default profile is never written";
}

TEST_F(Convert, ProfileSettingsApplyAndTheProfileIsLeftAlone) {
    if (!HaveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    // Its own object, file, update and dialog choices give way to the call's.
    const std::string profile = "[Karvel]\nexport_rename=0\nuse_def_lwo=0\ndef_lwo=/nowhere.lwo\n"
                                "vzdy_update=0\nexport_use_def_dxf=0\nview_info=0\n";
    WriteFile(m_folder / "mine.ini", profile);
    const fs::path out = m_folder / "crate.dxf";
    const CProgramRun run =
        Qr({"convert", kExamples + "crate.lwo", out, "--profile", m_folder / "mine.ini"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_FALSE(Contains(run.out, "Import was successful")) << "view_info=0 is the profile's";
    EXPECT_TRUE(Contains(run.out, "Export was successful")) << run.out;
    EXPECT_TRUE(Contains(Layers(out), "layer Lid Frame faces=")) << "no renaming";
    EXPECT_EQ(ReadFile(m_folder / "mine.ini"), profile);
}

TEST_F(Convert, FailuresExitNonZeroAndWriteNothing) {
    WriteFile(m_folder / "broken.lwo", "FORM\0\0\0\4LWOB");
    const fs::path out = m_folder / "out.dxf";
    const CProgramRun broken = Qr({"convert", m_folder / "broken.lwo", out});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(Contains(broken.out, "[message icon=stop buttons=ok]\nERROR - Wrong LW Object"))
        << broken.out;
    EXPECT_TRUE(Contains(broken.err, "nothing was exported")) << broken.err;
    EXPECT_FALSE(fs::exists(out));

    // An export that cannot write (its folder is missing) is a failure too.
    const CProgramRun unwritable =
        Qr({"convert", kExamples + "crate.lwo", m_folder / "no/out.dxf"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(Contains(unwritable.out, "could not be written")) << unwritable.out;
    EXPECT_TRUE(NoHostFolderLeft());

    EXPECT_EQ(Qr({"convert", kExamples + "crate.lwo"}).exitCode, 2);
    EXPECT_EQ(Qr({"convert", kExamples + "crate.lwo", out, "--bogus"}).exitCode, 2);
    EXPECT_EQ(
        Qr({"convert", kExamples + "crate.lwo", out, "--profile", m_folder / "none.ini"}).exitCode,
        1);
}

// convert and render never write over what they read: the same file by its own name, through
// a symbolic link or as a hard link is refused before anything is made, and stays as it was.
TEST_F(Convert, SameFileInAndOutIsRefused) {
    const fs::path object = m_folder / "site.dxf";
    fs::copy_file(kExamples + "site.dxf", object);
    const std::string bytes = ReadFile(object);
    fs::create_symlink("site.dxf", m_folder / "link.dxf");
    fs::create_symlink("site.dxf", m_folder / "link.svg");
    fs::create_hard_link(object, m_folder / "hard.dxf");
    const std::vector<std::vector<std::string>> calls = {
        {"convert", object, object},
        {"convert", object, m_folder / "link.dxf"},
        {"convert", m_folder / "link.dxf", m_folder / "hard.dxf"},
        {"render", object, "-o", m_folder / "link.svg"},
    };
    for (const std::vector<std::string>& call : calls) {
        const CProgramRun run = Qr(call);
        EXPECT_EQ(run.exitCode, 1) << testing::PrintToString(call);
        EXPECT_TRUE(Contains(run.err, "are the same file")) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadFile(object), bytes);
        EXPECT_TRUE(fs::is_symlink(m_folder / "link.dxf"));
    }
    EXPECT_EQ(CountFiles(m_folder.Path()), 4u + 2u) << "nothing but the four names and std.*";
}

namespace {

// The object's faces as the import reader sees them, in the form dxf_faces.py prints: the
// file's corner order in the DXF file's axes (a LightWave object's y is a DXF file's z).
std::string FacesOfObject(const std::string& object) {
    CImportObject loaded;
    EXPECT_TRUE(LoadObjectFile(loaded, object, GetObjectExtension(object)));
    const bool lwo = GetObjectExtension(object) == "lwo";
    std::vector<std::string> faces;
    for (std::size_t i = 0; i < loaded.GetPolygonCount(); ++i) {
        std::vector<std::string> corners;
        for (const std::int32_t index : loaded.GetPolygon(i).m_anIndex) {
            const CImportPoint& p = loaded.GetPoint(static_cast<std::size_t>(index));
            char text[96];
            std::snprintf(text, sizeof text, "%.4f,%.4f,%.4f", p.m_fX, lwo ? p.m_fZ : p.m_fY,
                          lwo ? p.m_fY : p.m_fZ);
            corners.push_back(text);
        }
        std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()),
                    corners.end());
        std::string face;
        for (const std::string& corner : corners)
            face += (face.empty() ? "" : " ") + corner;
        faces.push_back(face);
    }
    std::sort(faces.begin(), faces.end());
    std::string text;
    for (const std::string& face : faces)
        text += face + "\n";
    return text;
}

} // namespace

// A converted face faces the way it did: its corners come in the input's order (from any
// corner), whatever the profile says of flipping, for LightWave and DXF input alike.
TEST_F(Convert, FacesKeepTheirCornerOrder) {
    if (!HaveEzdxf())
        GTEST_SKIP() << "python3-ezdxf is not installed";
    WriteFile(m_folder / "flips.ini", "[Karvel]\nflip_poly=1\nexport_flip_poly=0\n");
    WriteFile(m_folder / "both.ini", "[Karvel]\nflip_poly=1\nexport_flip_poly=1\n");
    const struct {
        const char* example;
        const char* profile; // "" for none
    } kCases[] = {
        {"crate.lwo", ""},         {"lamp.lwo", ""},          {"site.dxf", ""},
        {"site.dxf", "flips.ini"}, {"crate.lwo", "both.ini"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.profile);
        const fs::path out = m_folder / "out.dxf";
        std::vector<std::string> args = {"convert", kExamples + c.example, out};
        if (*c.profile != '\0')
            args.insert(args.end(), {"--profile", m_folder / c.profile});
        const CProgramRun run = Qr(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const CProgramRun faces = RunProgram(
            m_folder.Path(), {"/usr/bin/python3", QR_SOURCE_DIR "/tests/host/dxf_faces.py", out});
        ASSERT_EQ(faces.exitCode, 0) << faces.err;
        EXPECT_EQ(faces.out, FacesOfObject(kExamples + c.example));
    }
}

namespace {

// A drawing of faces 3DFACEs on seven layers: about 100 bytes a face.
std::string LargeDrawing(int faces) {
    std::string text = "  0\nSECTION\n  2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        const std::string x = std::to_string(i % 1000), y = std::to_string(i / 1000);
        const std::string x1 = std::to_string(i % 1000 + 1), y1 = std::to_string(i / 1000 + 1);
        text += "  0\n3DFACE\n  8\nL" + std::to_string(i % 7) + "\n 10\n" + x + "\n 20\n" + y +
                "\n 30\n0\n 11\n" + x1 + "\n 21\n" + y + "\n 31\n0\n 12\n" + x1 + "\n 22\n" + y1 +
                "\n 32\n1\n 13\n" + x + "\n 23\n" + y1 + "\n 33\n1\n";
    }
    return text + "  0\nENDSEC\n  0\nEOF\n";
}

} // namespace

// A convert ended by a signal while it writes OUT leaves neither its host folder nor its
// unfinished OUT behind, and ends by that signal. SIGKILL leaves both, and the next convert
// clears them.
TEST_F(Convert, InterruptedRunsCleanUp) {
    // Writes are slowed where the build has test hooks, so the signal lands inside the
    // export's write; elsewhere the job is larger instead.
#ifdef QR_TEST_HOOKS
    constexpr int kFaces = 20000;
#else
    constexpr int kFaces = 300000;
#endif
    const fs::path input = m_folder / "large.dxf";
    WriteFile(input, LargeDrawing(kFaces));
    const fs::path outFolder = m_folder / "out";
    fs::create_directory(outFolder);
    const fs::path out = outFolder / "large_out.dxf";
    const std::vector<std::string> slow = {"QR_TEST_WRITE_PIECE=4096",
                                           "QR_TEST_WRITE_PAUSE_US=2000",
                                           "TMPDIR=" + m_folder.Path().string()};
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        CRunningProgram convert(m_folder.Path(), "large", {kQrhost, "convert", input, out}, slow);
        // OUT's folder is empty until the export makes its temporary file.
        const auto start = std::chrono::steady_clock::now();
        while (CountFiles(outFolder) == 0 &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(CountFiles(outFolder), 1u) << "the export never began";
        ASSERT_EQ(::kill(convert.Pid(), signal), 0);
        EXPECT_EQ(convert.Wait().exitCode, 128 + signal);
        if (signal == SIGKILL) {
            EXPECT_FALSE(NoHostFolderLeft()) << "SIGKILL leaves no room to clean up";
            const CProgramRun next =
                Qr({"convert", kExamples + "site.dxf", outFolder / "site.dxf"});
            EXPECT_EQ(next.exitCode, 0) << next.err;
            fs::remove(outFolder / "site.dxf");
        }
        EXPECT_TRUE(NoHostFolderLeft());
        EXPECT_EQ(CountFiles(outFolder), 0u);
    }
}
