// Blocks placed by INSERT, MESH entities, M x N meshes and layer names in code pages, in
// drawings that ezdxf writes, read back against ezdxf's own placement and decoding of the same
// drawing (ezdxf_polygons.py): every polygon's layer and corners, in order, and the count of
// what was skipped; a drawing saved as binary DXF too imports as its text form does.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "import/import_object.h"
#include "tests/support/loaded_object.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(QR_SOURCE_DIR) / "tests" / "import_reader";

struct CPolygonText {
    std::string m_strLayer;
    std::vector<std::array<double, 3>> m_corners;
};

struct CPlaced {
    std::vector<CPolygonText> m_polygons;
    std::size_t m_nSkipped = 0;
};

CPlaced PlacedByEzdxf(const CScratchFolder& folder, const fs::path& file) {
    const CProgramRun run =
        RunProgram(folder.Path(), {"/usr/bin/python3", (kScripts / "ezdxf_polygons.py").string(),
                                   "polygons", file.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    CPlaced placed;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string kind;
        std::getline(fields, kind, '\t');
        if (kind == "skipped") {
            fields >> placed.m_nSkipped;
            continue;
        }
        CPolygonText polygon;
        std::getline(fields, polygon.m_strLayer, '\t');
        std::string corner;
        while (std::getline(fields, corner, ';')) {
            std::istringstream xyz(corner);
            auto& c = polygon.m_corners.emplace_back();
            xyz >> c[0] >> c[1] >> c[2];
        }
        placed.m_polygons.push_back(polygon);
    }
    return placed;
}

CPlaced PlacedByUs(const CImportObject& object) {
    CPlaced placed;
    placed.m_nSkipped = object.m_nSkippedElements;
    for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
        const CImportPolygon polygon = object.GetPolygon(i);
        CPolygonText text;
        text.m_strLayer =
            object.GetSurface(static_cast<std::size_t>(polygon.m_nSurface - 1)).m_strName;
        for (std::int32_t index : polygon.m_anIndex) {
            const CImportPoint& p = object.GetPoint(static_cast<std::size_t>(index));
            text.m_corners.push_back({p.m_fX, p.m_fY, p.m_fZ});
        }
        placed.m_polygons.push_back(text);
    }
    return placed;
}

// Single precision, transformed in another order: a few units in the last place.
bool Near(double ours, double theirs) {
    return std::fabs(ours - theirs) <= 1e-5 * std::max(1.0, std::fabs(theirs));
}

bool EzdxfAvailable() {
    return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
}

TEST(DxfBlocks, DrawingsReadAsEzdxfPlacesThem) {
    if (!EzdxfAvailable()) {
        GTEST_SKIP() << "Debian's python3-ezdxf is not installed";
    }
    CScratchFolder folder;
    const CProgramRun made =
        RunProgram(folder.Path(), {"/usr/bin/python3", (kScripts / "ezdxf_drawings.py").string(),
                                   folder.Path().string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::vector<std::string> cases = {"move",
                                            "rotations",
                                            "base_and_scale",
                                            "mirror",
                                            "nested",
                                            "minsert",
                                            "extrusion",
                                            "layer_zero",
                                            "polyface_in_block",
                                            "unplaced_block",
                                            "definitions_only",
                                            "mesh",
                                            "polygon_meshes",
                                            "skipped",
                                            "r12_blocks",
                                            "r12_polygon_meshes",
                                            "names_1251",
                                            "names_1252",
                                            "names_utf8"};
    for (const std::string& name : cases) {
        SCOPED_TRACE(name);
        const fs::path file = folder.Path() / (name + ".dxf");
        CImportObject object;
        ASSERT_EQ(object.LoadDxf(file.string()), 5) << object.m_strError;
        const CPlaced theirs = PlacedByEzdxf(folder, file);
        const CPlaced ours = PlacedByUs(object);
        // Saved as binary DXF as well: the same object, to the byte.
        if (const fs::path binary = folder.Path() / (name + ".bin.dxf"); fs::exists(binary)) {
            CImportObject fromBinary;
            ASSERT_EQ(fromBinary.LoadDxf(binary.string()), 5) << fromBinary.m_strError;
            EXPECT_EQ(Printed(fromBinary), Printed(object));
        }
        ASSERT_FALSE(theirs.m_polygons.empty());
        EXPECT_EQ(ours.m_nSkipped, theirs.m_nSkipped);
        ASSERT_EQ(ours.m_polygons.size(), theirs.m_polygons.size());
        for (std::size_t i = 0; i < ours.m_polygons.size(); ++i) {
            SCOPED_TRACE("polygon " + std::to_string(i));
            EXPECT_EQ(ours.m_polygons[i].m_strLayer, theirs.m_polygons[i].m_strLayer);
            ASSERT_EQ(ours.m_polygons[i].m_corners.size(), theirs.m_polygons[i].m_corners.size());
            for (std::size_t c = 0; c < ours.m_polygons[i].m_corners.size(); ++c) {
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    EXPECT_PRED2(Near, ours.m_polygons[i].m_corners[c][axis],
                                 theirs.m_polygons[i].m_corners[c][axis])
                        << "corner " << c << " axis " << axis;
                }
            }
        }
    }
}

} // namespace
