// qrhost inspect: the reader chosen by extension, the printed records, counts, exit codes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "inspect.h"
#include "test_support.h"

namespace {

struct CInspectRun {
    int m_nExit = -1;
    std::string m_strOut;
    std::string m_strErr;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs RunInspect in a child process, so its stdout buffering and exit are its own.
CInspectRun Inspect(std::vector<std::string> args) {
    CTempFile outFile("out.txt", "");
    CTempFile errFile("err.txt", "");
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = fork();
    if (child == 0) {
        int out = ::open(outFile.Path().c_str(), O_WRONLY | O_TRUNC);
        int err = ::open(errFile.Path().c_str(), O_WRONLY | O_TRUNC);
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
    run.m_strOut = ReadAll(outFile.Path());
    run.m_strErr = ReadAll(errFile.Path());
    return run;
}

std::string QuadLwo(std::uint32_t lastIndex) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutPolygon(polygons, {0, 1, lastIndex}, 1);
    ByteVector bytes = Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})), Chunk("SRFS", SurfaceNames({"Hull"})),
                             Chunk("POLS", polygons)});
    return std::string(bytes.begin(), bytes.end());
}

TEST(Inspect, PrintsEveryRecordOfAnUpperCaseLwo) {
    CTempFile file("crate.LWO", QuadLwo(2));
    CInspectRun run = Inspect({file.Path()});
    EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut,
              "X: 0.000000 Y: 0.000000 Z: 0.000000\nX: 1.000000 Y: 0.000000 Z: 0.000000\n"
              "X: 0.000000 Y: 1.000000 Z: 0.000000\nHull\n"
              "Surf: 1  Pts: 3  (0 1 2 )\nSurf: 1  Pts: 3  (0 1 2 )\n");
    EXPECT_EQ(run.m_strErr, "");
}

TEST(Inspect, SummaryAndDroppedPolygons) {
    CTempFile file("crate.lwo", QuadLwo(7));
    CInspectRun run = Inspect({"--summary", file.Path()});
    EXPECT_EQ(run.m_nExit, 0);
    EXPECT_EQ(run.m_strOut, "Points: 3\nSurfaces: 1\nPolygons: 1\n");
    EXPECT_NE(run.m_strErr.find("1 polygons dropped"), std::string::npos) << run.m_strErr;
}

TEST(Inspect, DxfByExtension) {
    CTempFile file("site.Dxf", "0\n3DFACE\n8\nA\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n0\nEOF\n");
    CInspectRun run = Inspect({"--summary", file.Path()});
    EXPECT_EQ(run.m_nExit, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, "Points: 3\nSurfaces: 1\nPolygons: 1\n");
}

TEST(Inspect, FailuresExitNonZeroWithAReason) {
    ByteVector image = Form({}, "ILBM");
    CTempFile wrongForm("object.lwo", std::string(image.begin(), image.end()));
    CInspectRun notLoaded = Inspect({wrongForm.Path()});
    EXPECT_EQ(notLoaded.m_nExit, 1);
    EXPECT_EQ(notLoaded.m_strOut, "");
    EXPECT_NE(notLoaded.m_strErr.find("ILBM"), std::string::npos) << notLoaded.m_strErr;

    CTempFile binary("drawing.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
    EXPECT_EQ(Inspect({binary.Path()}).m_nExit, 1);
    EXPECT_EQ(Inspect({"/nonexistent/site.dxf"}).m_nExit, 1);

    CTempFile other("notes.txt", "0\nEOF\n");
    EXPECT_EQ(Inspect({other.Path()}).m_nExit, 2);
    EXPECT_EQ(Inspect({}).m_nExit, 2);
    EXPECT_EQ(Inspect({"--bogus", other.Path()}).m_nExit, 2);
}

}  // namespace
