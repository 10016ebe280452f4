// Helpers shared by the export tests: hand-built export objects, a scratch
// folder per test, whole-file reads, and "\n" to CR LF for golden texts.
#pragma once

#include "export_object.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

namespace exporttest {

// The whole file for a scene without parts: every section, a layer table of none.
inline const std::string kEmptyDxf =
    "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n 70\r\n0\r\n"
    "  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
    "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// An empty folder for the running test, under the build tree.
inline std::filesystem::path ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::path(QR_BINARY_DIR) / "test-work" / "export" /
               (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline int CountFiles(const std::filesystem::path& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

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

} // namespace exporttest
