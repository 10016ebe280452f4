// Readers that share no code with the writer agree with what it writes:
// ezdxf (its audit included), assimp, and our own DXF import reader (the
// round trip scene -> DXF -> import object).
#include "export/export_object.h"
#include "import/import_object.h"

#include "tests/support/scene_parts.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Runs a command and returns its standard output; exit status in status.
std::string Capture(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return out;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    status = ::pclose(pipe);
    return out;
}

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

// Three parts: a triangle with a position, a quadrilateral, and a closed
// five-point polyline, with names that renaming changes.
void BuildScene(CSceneDocument& doc) {
    AddPart(doc, "Roof 1", {{0, 0, 0}, {1, 0, 0}, {1, 2, 3}}, {{0, 1, 2}}, {10, 0.5, -5});
    AddPart(doc, "Wall", {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}}, {{0, 1, 2, 3}, {3, 2, 1}});
    AddPart(doc, "Ring.B", {{0, 0, 0}, {2, 0, 0}, {3, 0, 2}, {1, 0, 3}, {-1, 0, 2}},
            {{0, 1, 2, 3, 4}});
}

fs::path WriteScene(const fs::path& dir, CExportObject& object) {
    CSceneDocument doc;
    BuildScene(doc);
    object.ConvertScene(doc);
    auto path = dir / "scene.dxf";
    const CStatus written = object.WriteDxf(path.string());
    EXPECT_TRUE(written) << written.GetReason();
    return path;
}

std::string Fixed(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

// A point in file axes: x, scene z, scene y.
std::string FilePoint(const CExportPoint& p) {
    return Fixed(p.m_x) + "," + Fixed(p.m_z) + "," + Fixed(p.m_y);
}

} // namespace

TEST(IndependentReaders, EzdxfReadsLayersEntitiesAndCoordinatesAndItsAuditFindsNoError) {
    if (!fs::exists("/usr/bin/python3"))
        GTEST_SKIP() << "/usr/bin/python3 is not installed";
    int status = 0;
    Capture("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null", status);
    if (status != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";

    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    CExportObject object;
    auto path = WriteScene(dir, object);

    std::string expected = "layer Roof_1\nlayer Wall\nlayer Ring_B\n";
    for (const auto& polygon : object.m_polygons) {
        const std::string layer = polygon->m_pSurface->GetLayerName();
        const auto& pts = polygon->m_points;
        if (pts.size() == 3 || pts.size() == 4) {
            expected += "3DFACE " + layer;
            for (std::size_t k = 0; k < 4; ++k)
                expected += " " + FilePoint(*pts[k < pts.size() ? k : 2]);
        } else {
            expected += "POLYLINE " + layer + " closed=1 3d=1";
            for (const CExportPoint* p : pts)
                expected += " " + FilePoint(*p);
        }
        expected += "\n";
    }
    expected += "audit errors=0\n";
    const std::string found =
        Capture("/usr/bin/python3 " + Quote(QR_EZDXF_CHECK) + " " + Quote(path.string()), status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(found, expected);
}

TEST(IndependentReaders, AssimpReadsTheSameFaces) {
    if (!fs::exists("/usr/bin/assimp"))
        GTEST_SKIP() << "assimp-utils is not installed";
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    CExportObject object;
    auto path = WriteScene(dir, object);
    int status = 0;
    // --raw: no post-processing, so a quadrilateral stays one face.
    const std::string info =
        Capture("/usr/bin/assimp info " + Quote(path.string()) + " --raw 2>&1", status);
    ASSERT_EQ(status, 0) << info;
    // The mesh table: "    0 (Roof_1): [3 / 0 / 1 | triangle]", one mesh per
    // layer. A 3DFACE whose last corner repeats becomes a triangle, a
    // quadrilateral one polygon; 3-D polylines are split into line segments,
    // so only the faces of the 3DFACE layers are compared.
    std::map<std::string, std::string> meshes;
    std::istringstream lines(info);
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Meshes:  (name)", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        if (line.empty())
            break;
        const auto open = line.find(" (");
        const auto close = line.find("): [");
        if (open == std::string::npos || close == std::string::npos || close < open)
            continue;
        meshes[line.substr(open + 2, close - open - 2)] = line.substr(close + 3);
    }
    ASSERT_EQ(meshes.size(), 3u) << info;
    EXPECT_EQ(meshes.count("Ring_B"), 1u) << info;
    // Roof_1: one triangle, its repeated corner dropped.
    EXPECT_EQ(meshes["Roof_1"], "[3 / 0 / 1 | triangle]") << info;
    // Wall: a quadrilateral and a triangle, corners not shared.
    EXPECT_EQ(meshes["Wall"], "[7 / 0 / 2 | triangle polygon]") << info;
}

TEST(RoundTrip, ExportedSceneImportsWithTheSameLayersPointsAndPolygons) {
    CScratchFolder scratch;
    const fs::path& dir = scratch.Path();
    CExportObject object;
    auto path = WriteScene(dir, object);
    CImportObject imported;
    ASSERT_EQ(imported.LoadDxf(path.string()), 5) << imported.m_strError;

    ASSERT_EQ(imported.GetSurfaceCount(), 3u);
    EXPECT_EQ(imported.GetSurface(0).m_strName, "Roof_1");
    EXPECT_EQ(imported.GetSurface(1).m_strName, "Wall");
    EXPECT_EQ(imported.GetSurface(2).m_strName, "Ring_B");

    ASSERT_EQ(imported.GetPolygonCount(), static_cast<std::size_t>(object.m_polygons.GetSize()));
    for (std::size_t i = 0; i < imported.GetPolygonCount(); ++i) {
        SCOPED_TRACE(i);
        const CExportPolygon& written = *object.m_polygons[static_cast<int>(i)];
        const CImportPolygon read = imported.GetPolygon(i);
        ASSERT_GE(read.m_nSurface, 1);
        EXPECT_EQ(imported.GetSurface(static_cast<std::size_t>(read.m_nSurface - 1)).m_strName,
                  written.m_pSurface->GetLayerName());
        // A triangle's 3DFACE repeats its third corner; it comes back as a triangle.
        std::vector<const CExportPoint*> corners(written.m_points.begin(), written.m_points.end());
        ASSERT_EQ(static_cast<std::size_t>(read.m_nCount), corners.size());
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const CImportPoint& p = imported.GetPoint(static_cast<std::size_t>(read.m_anIndex[k]));
            // File order: x, scene z, scene y; "%f" keeps six decimals.
            EXPECT_NEAR(p.m_fX, corners[k]->m_x, 5e-6);
            EXPECT_NEAR(p.m_fY, corners[k]->m_z, 5e-6);
            EXPECT_NEAR(p.m_fZ, corners[k]->m_y, 5e-6);
        }
    }
}
