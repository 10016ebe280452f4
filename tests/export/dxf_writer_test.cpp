// The DXF writer's bytes: entity texts, the whole file, layer names, reals,
// the summary, and failures that must leave the target whole.
#include "export/dxf_text.h"
#include "export/export_object.h"

#include "tests/support/exported_dxf.h"
#include "tests/support/file_contents.h"
#include "tests/support/scene_parts.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <random>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kRoofTriangle = Crlf("  0\n3DFACE\n  8\nRoof_1\n"
                                       " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
                                       " 11\n1.000000\n 21\n0.000000\n 31\n0.000000\n"
                                       " 12\n1.000000\n 22\n3.000000\n 32\n2.000000\n"
                                       " 13\n1.000000\n 23\n3.000000\n 33\n2.000000\n");

// Builds export objects directly, without a scene.
struct CObjectBuilder {
    CExportObject object;

    CExportSurface* Surface(const std::string& name) {
        return object.m_surfaces[object.m_surfaces.Add(new CExportSurface(name))];
    }
    CExportPoint* Point(double x, double y, double z) {
        return object.m_points[object.m_points.Add(new CExportPoint(x, y, z))];
    }
    CExportPolygon* Polygon(CExportSurface* surface, std::initializer_list<CExportPoint*> points) {
        auto* polygon = object.m_polygons[object.m_polygons.Add(new CExportPolygon)];
        polygon->m_pSurface = surface;
        polygon->m_points.assign(points);
        return polygon;
    }
};

std::string WriteAndRead(CExportObject& object, const fs::path& path) {
    const CStatus written = object.WriteDxf(path.string());
    EXPECT_TRUE(written) << written.GetReason();
    return ReadFile(path);
}

// printf's "%f" with a buffer sized by a first call: the reference the
// writer's reals must match byte for byte.
std::string Printf(double value) {
    int n = std::snprintf(nullptr, 0, "%f", value);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%f", value);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

} // namespace

TEST(DxfWriter, EmptyObjectWritesOnlyTheFrame) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    CExportObject object;
    EXPECT_EQ(WriteAndRead(object, dir / "empty.dxf"), kEmptyDxf);
    EXPECT_EQ(CountFiles(dir), 1); // no temporary file left beside it
}

TEST(DxfWriter, WorkedTriangleOnRoof1) {
    CObjectBuilder b;
    auto* roof = b.Surface("Roof_1");
    auto* t = b.Polygon(roof, {b.Point(0, 0, 0), b.Point(1, 0, 0), b.Point(1, 2, 3)});
    EXPECT_EQ(b.object.FormatFace(*t), kRoofTriangle);
}

TEST(DxfWriter, WorkedFivePointPolyline) {
    CObjectBuilder b;
    auto* roof = b.Surface("Roof_1");
    auto* p = b.Polygon(roof, {b.Point(0, 0, 0), b.Point(1, 0, 0), b.Point(1, 2, 3),
                               b.Point(-0.5, 0.25, 7), b.Point(0, 1, 0)});
    const std::string expected =
        Crlf("  0\nPOLYLINE\n  8\nRoof_1\n 66\n     1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n     9\n"
             "  0\nVERTEX\n  8\nRoof_1\n 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n 70\n    32\n"
             "  0\nVERTEX\n  8\nRoof_1\n 10\n1.000000\n 20\n0.000000\n 30\n0.000000\n 70\n    32\n"
             "  0\nVERTEX\n  8\nRoof_1\n 10\n1.000000\n 20\n3.000000\n 30\n2.000000\n 70\n    32\n"
             "  0\nVERTEX\n  8\nRoof_1\n 10\n-0.500000\n 20\n7.000000\n 30\n0.250000\n 70\n    32\n"
             "  0\nVERTEX\n  8\nRoof_1\n 10\n0.000000\n 20\n0.000000\n 30\n1.000000\n 70\n    32\n"
             "  0\nSEQEND\n");
    EXPECT_EQ(b.object.FormatPolyline(*p), expected);
}

TEST(DxfWriter, QuadrilateralHasFourCornersAndNoRepeat) {
    CObjectBuilder b;
    auto* s = b.Surface("Q");
    auto* q =
        b.Polygon(s, {b.Point(0, 0, 0), b.Point(1, 0, 0), b.Point(1, 0, 1), b.Point(0, 0, 1)});
    EXPECT_EQ(b.object.FormatFace(*q), Crlf("  0\n3DFACE\n  8\nQ\n"
                                            " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
                                            " 11\n1.000000\n 21\n0.000000\n 31\n0.000000\n"
                                            " 12\n1.000000\n 22\n1.000000\n 32\n0.000000\n"
                                            " 13\n0.000000\n 23\n1.000000\n 33\n0.000000\n"));
}

TEST(DxfWriter, DegeneratePolygonsBecomePolylines) {
    CObjectBuilder b;
    auto* s = b.Surface("L");
    auto* none = b.Polygon(s, {});
    auto* one = b.Point(1, 2, 3);
    auto* two = b.Polygon(s, {one, b.Point(4, 5, 6)});
    const std::string head =
        Crlf("  0\nPOLYLINE\n  8\nL\n 66\n     1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n     9\n");
    EXPECT_EQ(b.object.FormatPolyline(*none), head + Crlf("  0\nSEQEND\n"));
    EXPECT_EQ(
        b.object.FormatPolyline(*two),
        head +
            Crlf("  0\nVERTEX\n  8\nL\n 10\n1.000000\n 20\n3.000000\n 30\n2.000000\n 70\n    32\n"
                 "  0\nVERTEX\n  8\nL\n 10\n4.000000\n 20\n6.000000\n 30\n5.000000\n 70\n    32\n"
                 "  0\nSEQEND\n"));

    // In the file, the point count alone picks the entity.
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    std::string file = WriteAndRead(b.object, dir / "d.dxf");
    EXPECT_EQ(file,
              ExportedDxf({"L"}, b.object.FormatPolyline(*none) + b.object.FormatPolyline(*two)));
}

TEST(DxfWriter, WholeFileOfMixedPolygons) {
    CObjectBuilder b;
    auto* roof = b.Surface("Roof_1");
    auto* wall = b.Surface("Wall 2");
    auto* p0 = b.Point(0, 0, 0);
    auto* p1 = b.Point(1, 0, 0);
    auto* p2 = b.Point(1, 2, 3);
    b.Polygon(roof, {p0, p1, p2});
    auto* quad = b.Polygon(wall, {p0, p1, p2, p0});
    auto* five = b.Polygon(wall, {p0, p1, p2, p1, p0});
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    EXPECT_EQ(WriteAndRead(b.object, dir / "m.dxf"),
              ExportedDxf({"Roof_1", "Wall_2"}, kRoofTriangle + b.object.FormatFace(*quad) +
                                                    b.object.FormatPolyline(*five)));
    EXPECT_NE(b.object.FormatFace(*quad).find("  8\r\nWall_2\r\n"), std::string::npos);
}

TEST(DxfWriter, LayerNamesSanitisedOnlyWhenRenameIsExactlyOne) {
    struct Case {
        int rename;
        std::string name;
        std::string layer;
    };
    const Case cases[] = {
        {1, "Roof 1.5", "Roof_1_5"},
        {0, "Roof 1.5", "Roof 1.5"},
        {2, "Roof 1.5", "Roof 1.5"},
        {-1, "Roof 1.5", "Roof 1.5"},
        {1, "", ""},
        {1, "Dach\xc3\xa4", "Dach__"}, // each byte of a UTF-8 character
        {1, "a-b(c)!z", "a_b_c__z"},
        // Control bytes would split the line: replaced whatever the switch.
        {0,
         "a\nb\rc\x01\x1f"
         "d",
         "a_b_c__d"},
        {1,
         "a\nb\rc\x01\x1f"
         "d",
         "a_b_c__d"},
        {0, "tab\there", "tab_here"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("rename " + std::to_string(c.rename) + " name [" + c.name + "]");
        CObjectBuilder b;
        b.object.SetRename(c.rename);
        auto* s = b.Surface(c.name);
        auto* t = b.Polygon(s, {b.Point(0, 0, 0), b.Point(1, 0, 0), b.Point(1, 2, 3)});
        EXPECT_EQ(b.object.FormatFace(*t).substr(0, 20 + c.layer.size()),
                  "  0\r\n3DFACE\r\n  8\r\n" + c.layer + "\r\n");
        CScratchFolder scratch;
        const fs::path& dir = scratch.Path();
        EXPECT_EQ(WriteAndRead(b.object, dir / "n.dxf"),
                  ExportedDxf({c.layer}, b.object.FormatFace(*t)));
    }
}

TEST(DxfWriter, DuplicatePartNamesGiveDuplicateLayers) {
    CObjectBuilder b;
    b.Surface("House");
    b.Surface("House");
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    EXPECT_EQ(WriteAndRead(b.object, dir / "dup.dxf"), ExportedDxf({"House", "House"}, ""));
}

TEST(DxfWriter, FileYIsSceneZAndFileZIsSceneY) {
    CObjectBuilder b;
    auto* s = b.Surface("A");
    auto* p =
        b.Polygon(s, {b.Point(0, 2, 3), b.Point(-1, -2, -3), b.Point(5, 0, 0), b.Point(0, 0, 0)});
    std::string text = b.object.FormatFace(*p);
    EXPECT_NE(text.find(" 20\r\n3.000000\r\n 30\r\n2.000000\r\n"), std::string::npos);
    EXPECT_NE(text.find(" 11\r\n-1.000000\r\n 21\r\n-3.000000\r\n 31\r\n-2.000000\r\n"),
              std::string::npos);
}

TEST(DxfWriter, RealsMatchPrintfAtEveryMagnitude) {
    std::vector<double> values = {
        0.0,       -0.0,    0.5,          -1.5, 1e-7,     -1e-7, 5e-7,
        0.0000005, 2.5e-6,  123456.789,   1e15, 1e20,     -1e20, 1.7976931348623157e308,
        -DBL_MAX,  DBL_MIN, 4294967296.0, 0.1,  2.0 / 3.0};
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<std::uint64_t> bits;
    while (values.size() < 20000) {
        std::uint64_t b = bits(random);
        double d;
        std::memcpy(&d, &b, sizeof d);
        if (std::isfinite(d))
            values.push_back(d);
    }
    for (double v : values) {
        CDxfText text;
        text.AppendReal(v);
        ASSERT_EQ(std::string(text.View()), Printf(v) + "\r\n") << v;
    }
    EXPECT_EQ(FormatFixed(-1.5), "-1.500000");
    EXPECT_EQ(FormatFixed(1e20), "100000000000000000000.000000");
    EXPECT_EQ(FormatFixed(DBL_MAX).size(), 309u + 7u);
}

TEST(DxfWriter, NonFiniteRealsAreWrittenAsZero) {
    for (double v :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN()}) {
        CDxfText text;
        text.AppendReal(v);
        EXPECT_EQ(std::string(text.View()), "0.000000\r\n");
    }
}

TEST(DxfWriter, HugeCoordinatesAreWrittenInFull) {
    CObjectBuilder b;
    auto* s = b.Surface("Big");
    auto* t = b.Polygon(s, {b.Point(DBL_MAX, -DBL_MAX, 1e300), b.Point(1, 0, 0), b.Point(1, 2, 3)});
    std::string text = b.object.FormatFace(*t);
    EXPECT_NE(text.find(" 10\r\n" + Printf(DBL_MAX) + "\r\n 20\r\n" + Printf(1e300) +
                        "\r\n 30\r\n" + Printf(-DBL_MAX) + "\r\n"),
              std::string::npos);
}

TEST(DxfWriter, GroupCodesRightAlignedInThreeCharacters) {
    CDxfText text;
    for (int code : {0, 8, 10, 33, 370})
        text.AppendCode(code);
    EXPECT_EQ(std::string(text.View()), "  0\r\n  8\r\n 10\r\n 33\r\n370\r\n");
}

TEST(DxfWriter, SummaryText) {
    CObjectBuilder b;
    auto* s = b.Surface("Box");
    std::vector<CExportPoint*> points;
    for (int i = 0; i < 8; ++i)
        points.push_back(b.Point(i, 0, 0));
    for (int i = 0; i < 6; ++i)
        b.Polygon(s, {points[0], points[1], points[2], points[3]});
    EXPECT_EQ(b.object.m_strInfo, "OK");
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    WriteAndRead(b.object, dir / "box.dxf");
    const std::string rule = "-- DXF EXPORT INFO " + std::string(67, '-');
    EXPECT_EQ(b.object.m_strInfo,
              std::string(19, ' ') + "OK - Export was successful\n\n" + rule +
                  "\n\n  Points Count: 8\n  Polygons Count: 6\n  Parts Count: 1\n");
    // The summary is never part of the file.
    EXPECT_EQ(ReadFile(dir / "box.dxf").find("Export was successful"), std::string::npos);
}

TEST(DxfWriter, StreamedFileEqualsTheEntityTextsAcrossFlushes) {
    // Well over the flush size, with a polyline large enough to span one.
    CObjectBuilder b;
    auto* s = b.Surface("Many");
    std::vector<CExportPoint*> ring;
    for (int i = 0; i < 30000; ++i)
        ring.push_back(b.Point(i * 0.25, -i, i * 1e6));
    std::string entities;
    for (int i = 0; i + 3 < 30000; i += 3) {
        auto* p = b.Polygon(s, {ring[i], ring[i + 1], ring[i + 2]});
        entities += b.object.FormatFace(*p);
    }
    auto* big = b.Polygon(s, {});
    big->m_points = ring;
    entities += b.object.FormatPolyline(*big);
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    std::string file = WriteAndRead(b.object, dir / "many.dxf");
    EXPECT_GT(file.size(), 3u << 20);
    EXPECT_TRUE(file == ExportedDxf({"Many"}, entities));
}

TEST(DxfWriter, DocumentIsWrittenStraightByTheExportRules) {
    // A missing part entry, a position, a name the renaming changes, a corner outside its
    // part and a missing polygon entry (which becomes a polyline without vertices).
    CSceneDocument doc;
    doc.m_parts.Add(nullptr);
    CScenePart* roof =
        AddPart(doc, "Roof #1", {{0, 0, 0}, {1, 0, 0}, {1, 3, 2}}, {{0, 9, 1, 2}}, {10, 0, -5});
    roof->m_polygons.Add(nullptr);
    CScratchFolder scratch;
    CExportObject object;
    const CStatus written = object.WriteDxf(doc, (scratch / "direct.dxf").string());
    ASSERT_TRUE(written) << written.GetReason();
    EXPECT_EQ(
        ReadFile(scratch / "direct.dxf"),
        ExportedDxf({"Roof__1"}, Crlf("  0\n3DFACE\n  8\nRoof__1\n"
                                      " 10\n10.000000\n 20\n-5.000000\n 30\n0.000000\n"
                                      " 11\n11.000000\n 21\n-5.000000\n 31\n0.000000\n"
                                      " 12\n11.000000\n 22\n-3.000000\n 32\n3.000000\n"
                                      " 13\n11.000000\n 23\n-3.000000\n 33\n3.000000\n"
                                      "  0\nPOLYLINE\n  8\nRoof__1\n 66\n     1\n"
                                      " 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n     9\n  0\nSEQEND\n")));
    EXPECT_NE(object.m_strInfo.find("  Points Count: 3\n  Polygons Count: 2\n  Parts Count: 1\n"),
              std::string::npos);
    // Written from the document: nothing was copied into the object.
    EXPECT_TRUE(object.m_points.IsEmpty() && object.m_polygons.IsEmpty() &&
                object.m_surfaces.IsEmpty());
}

TEST(DxfWriterFailure, DirectWriteOfADocumentLeavesTheSummaryAndNoFile) {
    CScratchFolder scratch;
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
    CExportObject object;
    const CStatus written = object.WriteDxf(doc, (scratch / "missing" / "out.dxf").string());
    EXPECT_FALSE(written);
    EXPECT_FALSE(written.GetReason().empty());
    EXPECT_EQ(object.m_strInfo, "OK");
    EXPECT_EQ(CountFiles(scratch.Path()), 0u);
}

TEST(DxfWriterFailure, MissingFolderIsReportedAndNothingIsWritten) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    CObjectBuilder b;
    b.Surface("A");
    const CStatus written = b.object.WriteDxf((dir / "no" / "such" / "x.dxf").string());
    EXPECT_FALSE(written);
    EXPECT_EQ(written.GetReason(), "No such file or directory");
    EXPECT_EQ(b.object.m_strInfo, "OK");
    EXPECT_EQ(CountFiles(dir), 0);
}

TEST(DxfWriterFailure, ReadOnlyFileIsLeftWhole) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    auto path = dir / "old.dxf";
    WriteFile(path, "old contents\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    CObjectBuilder b;
    b.Surface("A");
    const CStatus written = b.object.WriteDxf(path.string());
    EXPECT_FALSE(written);
    EXPECT_EQ(written.GetReason(), "Permission denied");
    EXPECT_EQ(ReadFile(path), "old contents\n");
    EXPECT_EQ(CountFiles(dir), 1);
    EXPECT_EQ(b.object.m_strInfo, "OK");
}

TEST(DxfWriterFailure, FolderAsTargetIsRefused) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    fs::create_directory(dir / "sub.dxf");
    CExportObject object;
    const CStatus written = object.WriteDxf((dir / "sub.dxf").string());
    EXPECT_FALSE(written);
    EXPECT_EQ(written.GetReason(), "Is a directory");
    EXPECT_TRUE(fs::is_directory(dir / "sub.dxf"));
    EXPECT_EQ(CountFiles(dir), 1);
}

TEST(DxfWriterFailure, ReadOnlyFolderIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: a read-only folder does not stop root";
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    auto locked = dir / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    CExportObject object;
    const CStatus written = object.WriteDxf((locked / "x.dxf").string());
    EXPECT_FALSE(written);
    EXPECT_EQ(written.GetReason(), "Permission denied");
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(CountFiles(locked), 0);
}

TEST(DxfWriterFailure, WriteFailingMidwayLeavesTheOldFileAndNoTemporary) {
    // A file-size limit makes write() fail part way, as a full disk would.
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    auto path = dir / "site.dxf";
    WriteFile(path, "the previous export\n");
    CObjectBuilder b;
    auto* s = b.Surface("Site");
    auto* p = b.Point(1, 2, 3);
    for (int i = 0; i < 20000; ++i)
        b.Polygon(s, {p, p, p});

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CStatus written = b.object.WriteDxf(path.string());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(written.GetReason(), "File too large");
    EXPECT_EQ(ReadFile(path), "the previous export\n");
    EXPECT_EQ(CountFiles(dir), 1);
    EXPECT_EQ(b.object.m_strInfo, "OK");
}

TEST(DxfWriter, ReplacesAnExistingFileKeepingItsPermissions) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    auto path = dir / "keep.dxf";
    WriteFile(path, std::string(100000, 'x'));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CExportObject object;
    EXPECT_EQ(WriteAndRead(object, path), kEmptyDxf);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(CountFiles(dir), 1);
}

TEST(DxfWriter, TargetNameAtTheFileSystemsLimitIsWritten) {
    // The temporary file's name must not grow with the target's.
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    auto path = dir / (std::string(251, 'n') + ".dxf");
    CExportObject object;
    EXPECT_EQ(WriteAndRead(object, path), kEmptyDxf);
    EXPECT_EQ(CountFiles(dir), 1);
}
