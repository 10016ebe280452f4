// qrhost inspect: the reader chosen by extension, the printed records, counts, exit codes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "host/object_tools/object_tools.h"
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/lwo_bytes.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"

namespace {

struct CInspectRun {
    int m_nExit = -1;
    std::string m_strOut;
    std::string m_strErr;
};

// Runs RunInspect in a child process, so its stdout buffering and exit are its own.
CInspectRun Inspect(std::vector<std::string> args) {
    CScratchFolder folder;
    const std::string outPath = folder / "out.txt";
    const std::string errPath = folder / "err.txt";
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = fork();
    if (child == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        args.insert(args.begin(), "inspect");
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int code = RunInspect(static_cast<int>(args.size()), argv.data());
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    CInspectRun run;
    int status = 0;
    waitpid(child, &status, 0);
    run.m_nExit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.m_strOut = ReadFile(outPath);
    run.m_strErr = ReadFile(errPath);
    return run;
}

ByteVector QuadLwo(std::uint32_t lastIndex) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutPolygon(polygons, {0, 1, lastIndex}, 1);
    return Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                 Chunk("SRFS", SurfaceNames({"Hull"})), Chunk("POLS", polygons)});
}

TEST(Inspect, PrintsEveryRecordOfAnUpperCaseLwo) {
    CScratchFolder folder;
    const std::string file = folder / "crate.LWO";
    WriteFile(file, QuadLwo(2));
    CInspectRun run = Inspect({file});
    EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut,
              "X: 0.000000 Y: 0.000000 Z: 0.000000\nX: 1.000000 Y: 0.000000 Z: 0.000000\n"
              "X: 0.000000 Y: 1.000000 Z: 0.000000\nHull\n"
              "Surf: 1  Pts: 3  (0 1 2 )\nSurf: 1  Pts: 3  (0 1 2 )\n");
    EXPECT_EQ(run.m_strErr, "");
}

TEST(Inspect, SummaryAndDroppedPolygons) {
    CScratchFolder folder;
    const std::string file = folder / "crate.lwo";
    WriteFile(file, QuadLwo(7));
    CInspectRun run = Inspect({"--summary", file});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "Points: 3\nSurfaces: 1\nPolygons: 1\n");
    EXPECT_NE(run.m_strErr.find("1 polygons dropped"), std::string::npos) << run.m_strErr;
}

TEST(Inspect, DxfByExtension) {
    CScratchFolder folder;
    const std::string file = folder / "site.Dxf";
    WriteFile(file, Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) + "0\nEOF\n");
    CInspectRun run = Inspect({"--summary", file});
    EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "Points: 3\nSurfaces: 1\nPolygons: 1\n");
}

TEST(Inspect, FailuresExitNonZeroWithAReason) {
    CScratchFolder folder;
    const std::string wrongForm = folder / "object.lwo";
    WriteFile(wrongForm, Form({}, "ILBM"));
    CInspectRun notLoaded = Inspect({wrongForm});
    EXPECT_EQ(notLoaded.m_nExit, 1);
    EXPECT_EQ(notLoaded.m_strOut, "");
    EXPECT_NE(notLoaded.m_strErr.find("ILBM"), std::string::npos) << notLoaded.m_strErr;

    // Binary DXF is read; one cut inside its first pair is damaged there.
    const std::string binary = folder / "drawing.dxf";
    WriteFile(binary, std::string_view("AutoCAD Binary DXF\r\n\x1a\0\0SECTION", 30));
    const CInspectRun damaged = Inspect({binary});
    EXPECT_EQ(damaged.m_nExit, 1);
    EXPECT_NE(damaged.m_strErr.find("byte offset 22"), std::string::npos) << damaged.m_strErr;
    EXPECT_EQ(Inspect({"/nonexistent/site.dxf"}).m_nExit, 1);

    const std::string other = folder / "notes.txt";
    WriteFile(other, "0\nEOF\n");
    EXPECT_EQ(Inspect({other}).m_nExit, 2);
    EXPECT_EQ(Inspect({}).m_nExit, 2);
    EXPECT_EQ(Inspect({"--bogus", other}).m_nExit, 2);
}

// The JSON form, read back by Python's parser: its counts are the text
// summary's and the dropped and skipped counts the warnings' on standard error.
class InspectJson : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("/usr/bin/python3"))
            GTEST_SKIP() << "/usr/bin/python3 is not installed";
    }
    // "points N\nsurfaces N\n..." as the parser found them.
    std::string Counts(const std::vector<std::string>& args) {
        CInspectRun run = Inspect(args);
        EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
        EXPECT_EQ(run.m_strErr, "");
        WriteFile(m_folder / "out.json", run.m_strOut);
        const CProgramRun parsed = RunProgram(
            m_folder.Path(), {"/usr/bin/python3", QR_SOURCE_DIR "/tests/host/json_counts.py",
                              m_folder / "out.json"});
        EXPECT_EQ(parsed.exitCode, 0) << parsed.err << run.m_strOut;
        return parsed.out;
    }
    // The text summary's three lines, in the JSON's words.
    static std::string TextCounts(const std::string& summary) {
        std::string out = summary;
        for (const auto& [from, to] :
             {std::pair{"Points: ", "points "}, std::pair{"Surfaces: ", "surfaces "},
              std::pair{"Polygons: ", "polygons "}})
            out.replace(out.find(from), std::strlen(from), to);
        return out;
    }
    CScratchFolder m_folder;
};

TEST_F(InspectJson, CountsMatchTheTextSummaryForTheExamples) {
    for (const char* example : {"crate.lwo", "lamp.lwo", "site.dxf"}) {
        const std::string path = std::string(QR_SOURCE_DIR "/examples/") + example;
        const CInspectRun text = Inspect({"--summary", path});
        ASSERT_EQ(text.m_nExit, 0) << text.m_strErr;
        const std::string expected =
            TextCounts(text.m_strOut) + "dropped_polygons 0\nskipped_elements 0\n";
        EXPECT_EQ(Counts({"--json", path}), expected) << example;
        EXPECT_EQ(Counts({"--json", "--summary", path}), expected) << example;
    }
}

TEST_F(InspectJson, DroppedPolygonsAreCounted) {
    const std::string file = m_folder / "crate.lwo";
    WriteFile(file, QuadLwo(7));
    const CInspectRun text = Inspect({"--summary", file});
    EXPECT_NE(text.m_strErr.find("1 polygons dropped"), std::string::npos) << text.m_strErr;
    EXPECT_EQ(Counts({"--json", file}),
              TextCounts(text.m_strOut) + "dropped_polygons 1\nskipped_elements 0\n");
}

TEST_F(InspectJson, TextsAndNumbersAreJson) {
    const std::string file = m_folder / "odd.dxf";
    // A layer name with a quote, a backslash and a byte that is not UTF-8.
    WriteFile(file, Face("A\"b\\c\xff", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) + "0\nEOF\n");
    const CInspectRun run = Inspect({"--json", file});
    ASSERT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_NE(run.m_strOut.find("\"surfaces\": [\n    \"A\\\"b\\\\c\\ufffd\""), std::string::npos)
        << run.m_strOut;
    EXPECT_NE(run.m_strOut.find("[1, 1, 0]"), std::string::npos) << run.m_strOut;
    EXPECT_NE(Counts({"--json", file}).find("polygons 1\n"), std::string::npos);
}

} // namespace
