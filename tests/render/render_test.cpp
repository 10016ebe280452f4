// qrhost render: pictures of a known scene checked at fixed places, the SVG
// read back by an XML parser, damaged input, and the raster's own rules.
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scene_parts.h"
#include "tests/support/test_host.h"

#include "render/raster_image.h"
#include "render/render_legend.h"
#include "render/render_scene.h"
#include "render/render_view.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

const std::string kQrhost = QR_BINARY_DIR "/bin/qrhost";
const std::string kSvgCheck = QR_SOURCE_DIR "/tests/render/svg_facts.py";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The six faces of the unit cube [0, 1]^3, each its own part in a pure colour
// (stored as the scene stores colours, 0x00BBGGRR) and named by its outward side.
struct CubeFace {
    const char* name;
    std::int32_t colorRef;
    std::uint32_t rgb;
    std::vector<PointXyz> corners;
};
const std::vector<CubeFace> kCube = {
    {"Right +x", 0x0000FF, 0xFF0000, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}},
    {"Left -x", 0xFFFF00, 0x00FFFF, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}},
    {"Top +y", 0x00FF00, 0x00FF00, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}},
    {"Bottom -y", 0xFF00FF, 0xFF00FF, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}},
    {"Front +z", 0xFF0000, 0x0000FF, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}},
    {"Back -z & <lid>", 0x00FFFF, 0xFFFF00, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}},
};

// Whether pixel (0xRRGGBB) is base lit by some light: the channels base
// lacks stay dark and those it has are bright.
bool IsShadeOf(std::uint32_t pixel, std::uint32_t base) {
    for (const int shift : {16, 8, 0}) {
        const std::uint32_t has = base >> shift & 0xFF, got = pixel >> shift & 0xFF;
        if ((has == 0) != (got < 16))
            return false;
    }
    return true;
}

std::uint32_t HexRgb(const std::string& digits) {
    return static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
}

struct CPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB (premultiplied by alpha)
    std::vector<std::uint32_t> alphas;
    std::size_t Index(double x, double y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
    std::uint32_t At(double x, double y) const { return pixels[Index(x, y)]; }
    std::uint32_t AlphaAt(double x, double y) const { return alphas[Index(x, y)]; }
};

CPng ReadPng(const std::filesystem::path& path) {
    CPng png;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        png.width = cairo_image_surface_get_width(surface);
        png.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < png.height; ++y)
            for (int x = 0; x < png.width; ++x) {
                std::uint32_t word;
                std::memcpy(&word, data + y * stride + x * 4, 4);
                png.pixels.push_back(word & 0xFFFFFF);
                png.alphas.push_back(word >> 24);
            }
    }
    cairo_surface_destroy(surface);
    return png;
}

class Render : public ::testing::Test {
  protected:
    void SetUp() override {
        CSceneDocument doc;
        for (const CubeFace& face : kCube) {
            CScenePart* part = AddPart(doc, face.name, {}, {{0, 1, 2, 3}});
            for (const PointXyz& p : face.corners) {
                auto* point = new CScenePoint;
                point->Set(p.x, p.y, p.z);
                part->m_points.Add(point);
            }
            part->m_crColor = face.colorRef;
        }
        m_host.WriteScene(doc);
    }
    CProgramRun Qr(std::vector<std::string> args) {
        args.insert(args.begin(), kQrhost);
        return RunProgram(m_host.Scratch(), std::move(args));
    }
    // Renders the cube at 400x300 without a legend and reads the picture back.
    CPng RenderCube(const std::string& view) {
        const std::string out = m_host.Scratch() / ("cube-" + view + ".png");
        const CProgramRun run = Qr({"render", m_host.ExchangePath(), "-o", out, "--view", view,
                                    "--size", "400x300", "--legend", "none"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return ReadPng(out);
    }

    CTestHost m_host;
    // Without a legend the drawing is centred in the picture.
    const double m_cx = 200;
    const double m_cy = 150;
};

} // namespace

TEST_F(Render, AxisViewsShowTheFaceTowardsTheViewerNotTheOneBehind) {
    const struct {
        const char* view;
        std::uint32_t front, back;
    } cases[] = {
        {"front", 0x0000FF, 0xFFFF00}, {"top", 0x00FF00, 0xFF00FF}, {"side", 0xFF0000, 0x00FFFF}};
    for (const auto& c : cases) {
        const CPng png = RenderCube(c.view);
        ASSERT_EQ(png.width, 400) << c.view;
        ASSERT_EQ(png.height, 300);
        for (const double dx : {-40.0, 0.0, 40.0}) {
            const std::uint32_t pixel = png.At(m_cx + dx, m_cy + dx / 2);
            EXPECT_TRUE(IsShadeOf(pixel, c.front)) << c.view << " " << std::hex << pixel;
            EXPECT_FALSE(IsShadeOf(pixel, c.back)) << c.view;
        }
        // The drawing's margin is background.
        EXPECT_EQ(png.At(399, 2), 0xF7F7F2u) << c.view;
    }
}

TEST_F(Render, IsoViewShowsTopRightAndFrontFacesInDifferentLight) {
    const CPng png = RenderCube("iso");
    // From (1, 1, 1): the top above the centre, +x lower right, +z lower left.
    const std::uint32_t top = png.At(m_cx, m_cy - 60);
    const std::uint32_t right = png.At(m_cx + 50, m_cy + 30);
    const std::uint32_t front = png.At(m_cx - 50, m_cy + 30);
    EXPECT_TRUE(IsShadeOf(top, 0x00FF00)) << std::hex << top;
    EXPECT_TRUE(IsShadeOf(right, 0xFF0000)) << std::hex << right;
    EXPECT_TRUE(IsShadeOf(front, 0x0000FF)) << std::hex << front;
    // The light tells the three apart even where the view meets them alike.
    EXPECT_NE(top & 0xFF00, 0xFF00u);
    EXPECT_NE((right >> 16) & 0xFF, front & 0xFF);
}

TEST_F(Render, WireViewDrawsOutlinesOnly) {
    const std::string out = m_host.Scratch() / "wire.png";
    const CProgramRun run = Qr({"render", m_host.ExchangePath(), "-o", out, "--view", "front",
                                "--size", "400x300", "--wire", "--legend", "none"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const CPng png = ReadPng(out);
    EXPECT_EQ(png.At(m_cx, m_cy), 0xF7F7F2u) << "the inside of a face stays empty";
    int coloured = 0;
    for (int x = 0; x < 400; ++x)
        coloured += png.At(x, m_cy) != 0xF7F7F2u;
    EXPECT_GE(coloured, 2) << "the left and right outlines cross the middle row";
    EXPECT_LE(coloured, 8);
}

TEST_F(Render, SvgIsWellFormedNamesEveryPartAndPaintsTheNearFaceLast) {
    if (!std::filesystem::exists("/usr/bin/python3"))
        GTEST_SKIP() << "/usr/bin/python3 is not installed";
    const std::string out = m_host.Scratch() / "cube.svg";
    const CProgramRun run =
        Qr({"render", m_host.ExchangePath(), "-o", out, "--view", "front", "--size", "400x300"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const CProgramRun facts =
        RunProgram(m_host.Scratch(), {"/usr/bin/python3", kSvgCheck, out, "200", "130"});
    ASSERT_EQ(facts.exitCode, 0) << facts.err;
    // The legend shows the names it has room for; the description names
    // every part in full.
    EXPECT_TRUE(Contains(facts.out, "text Right +x (1)\n")) << facts.out;
    for (const CubeFace& face : kCube)
        EXPECT_TRUE(Contains(facts.out, std::string("part ") + face.name + ": 1 polygons\n"))
            << facts.out;
    EXPECT_TRUE(Contains(facts.out, "paths 6\n")) << facts.out;
    // What a viewer shows in the middle is the face nearest it (+z, blue),
    // not the one behind (-z, yellow).
    const std::size_t at = facts.out.find("at 200 130 #");
    ASSERT_NE(at, std::string::npos) << facts.out;
    EXPECT_TRUE(IsShadeOf(HexRgb(facts.out.substr(at + 12, 6)), 0x0000FF)) << facts.out;
}

TEST_F(Render, DamagedSceneGivesTheSceneErrorAndNoPicture) {
    const std::string scene = ReadFile(m_host.ExchangePath());
    WriteFile(m_host.ExchangePath(), scene.substr(0, scene.size() / 2));
    const CProgramRun dump = Qr({"dump", m_host.ExchangePath()});
    ASSERT_EQ(dump.exitCode, 1);
    for (const std::string name : {"damaged.png", "damaged.svg"}) {
        const std::string out = m_host.Scratch() / name;
        const CProgramRun run = Qr({"render", m_host.ExchangePath(), "-o", out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Contains(run.err, "is damaged: ")) << run.err;
        // The same words as dump's, after the command's name.
        EXPECT_EQ(run.err.substr(run.err.find(':')), dump.err.substr(dump.err.find(':')));
        EXPECT_FALSE(std::filesystem::exists(out)) << name;
    }
    // An existing picture is left as it was.
    const std::string kept = m_host.Scratch() / "kept.png";
    WriteFile(kept, "old bytes");
    EXPECT_EQ(Qr({"render", m_host.ExchangePath(), "-o", kept}).exitCode, 1);
    EXPECT_EQ(ReadFile(kept), "old bytes");
    // host/, the outputs of the last run, and the kept picture: nothing else.
    EXPECT_EQ(CountFiles(m_host.Scratch()), 4u) << "no temporary file is left behind";
}

TEST_F(Render, EmptySceneAndShortPolygonsRender) {
    CSceneDocument doc;
    // A point, a line, and a polygon with no corners; a part with nothing.
    AddPart(doc, "Bits", {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, {{0}, {1, 2}, {}, {0, 7}});
    AddPart(doc, "Nothing", {}, {});
    m_host.WriteScene(doc);
    for (const std::string name : {"bits.png", "bits.svg"}) {
        const CProgramRun run =
            Qr({"render", m_host.ExchangePath(), "-o", m_host.Scratch() / name, "--wire"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Contains(run.err, "1 polygons name a point their part lacks")) << run.err;
    }
    const CProgramRun made = Qr({"new", "--force", m_host.Folder()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    for (const std::string name : {"empty.png", "empty.svg"}) {
        const std::string out = m_host.Scratch() / name;
        const CProgramRun run = Qr({"render", m_host.ExchangePath(), "-o", out});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Contains(run.out, "0 parts, 0 polygons")) << run.out;
    }
    EXPECT_EQ(ReadPng(m_host.Scratch() / "empty.png").width, 1024);
}

TEST_F(Render, DxfObjectIsDrawnWithItsVerticalZUpwards) {
    // A wall in DXF's X-Z plane: upright once Y and Z are swapped, so it fills
    // the front view and is seen edge-on from the top.
    const std::filesystem::path wall = m_host.Scratch() / "wall.dxf";
    WriteFile(wall, Section(Face("Wall", {{0, 0, 0}, {4, 0, 0}, {4, 0, 3}, {0, 0, 3}})));
    const std::string front = m_host.Scratch() / "front.png", top = m_host.Scratch() / "top.png";
    ASSERT_EQ(Qr({"render", wall, "-o", front, "--view", "front", "--size", "400x300", "--legend",
                  "none"})
                  .exitCode,
              0);
    ASSERT_EQ(
        Qr({"render", wall, "-o", top, "--view", "top", "--size", "400x300", "--legend", "none"})
            .exitCode,
        0);
    EXPECT_NE(ReadPng(front).At(m_cx, m_cy + 50), 0xF7F7F2u);
    EXPECT_EQ(ReadPng(top).At(m_cx, m_cy + 50), 0xF7F7F2u);
}

TEST_F(Render, WrongCallsAreUsageErrors) {
    const std::string scene = m_host.ExchangePath();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", scene},
          {"render", scene, "-o", "x.jpg"},
          {"render", scene, "-o", "x.png", "--view", "under"},
          {"render", scene, "-o", "x.png", "--size", "0x10"},
          {"render", scene, "-o", "x.png", "--size", "10x99999"},
          {"render", scene, "-o", "x.png", "--size", "10y"},
          {"render", scene, "-o", "x.png", "--background", "#12345"},
          {"render", scene, "-o", "x.png", "--legend", "left"}}) {
        const CProgramRun run = Qr(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_TRUE(Contains(run.err, "usage: qrhost render")) << run.err;
    }
}

TEST(RasterImage, NearerFaceWinsWhicheverComesFirst) {
    const std::uint32_t nearColour = 0x112233, farColour = 0x445566;
    for (const bool nearFirst : {true, false}) {
        CRasterImage image(20, 20);
        const auto draw = [&](double depth, std::uint32_t rgb) {
            image.FillTriangle({0, 0, depth}, {20, 0, depth}, {0, 20, depth}, rgb);
        };
        if (nearFirst) {
            draw(2, nearColour);
            draw(1, farColour);
        } else {
            draw(1, farColour);
            draw(2, nearColour);
        }
        const std::vector<std::uint32_t> pixels = image.Resolve(0, false);
        EXPECT_EQ(pixels[3 * 20 + 3], 0xFF000000u | nearColour) << nearFirst;
        EXPECT_EQ(pixels[18 * 20 + 18], 0xFF000000u) << "outside the triangle";
    }
}

TEST(RasterImage, HugeAndDegenerateShapesStayInsideAndEnd) {
    CRasterImage image(16, 8);
    image.DrawLine({-1e6, 4.5, 0}, {1e6, 4.5, 0}, 0xFFFFFF);
    std::vector<std::uint32_t> pixels = image.Resolve(0, false);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(pixels[4 * 16 + static_cast<std::size_t>(x)], 0xFFFFFFFFu) << x;
    // Ends far beyond double's precision at pixel size: clipped, and done.
    image.DrawLine({-1e30, -1e30, 0}, {1e30, 1e30, 1}, 0x0000FF);
    image.DrawLine({-1e300, 3, 0}, {1e300, 3, 0}, 0x0000FF);
    image.FillTriangle({-1e30, -1e30, 0}, {1e30, -1e30, 0}, {0, 1e30, 0}, 0x00FF00);
    image.FillPolygon({{-1e30, -1e30, 0}, {1e30, -1e30, 0}, {0, 0, 0}, {0, 1e30, 0}}, 0x00FF00);
    pixels = image.Resolve(0, false);
    EXPECT_EQ(pixels[2 * 16 + 12], 0xFF00FF00u);
    // Collinear corners fill nothing.
    image.FillTriangle({0, 0, 5}, {8, 8, 5}, {16, 16, 5}, 0x0000FF);
    image.FillPolygon({{0, 0, 5}, {8, 8, 5}, {4, 4, 5}, {16, 16, 5}}, 0x0000FF);
    EXPECT_EQ(image.Resolve(0, false)[6 * 16 + 6], pixels[6 * 16 + 6]);
}

TEST(RenderLegend, TextsAreValidUtf8AndShortenedInTheMiddle) {
    EXPECT_EQ(DisplayText("Crate", 10), "Crate");
    EXPECT_EQ(DisplayText("caf\xc3\xa9", 4), "caf\xc3\xa9");
    EXPECT_EQ(DisplayText("a\xff"
                          "b\x01",
                          10),
              "a\xef\xbf\xbd"
              "b\xef\xbf\xbd");
    EXPECT_EQ(DisplayText("abcdefg", 4), "ab\xe2\x80\xa6g");
    EXPECT_EQ(DisplayText("\xc3\xa9tage-\xc3\xa9", 5), "\xc3\xa9t\xe2\x80\xa6-\xc3\xa9")
        << "characters, not bytes";
    EXPECT_EQ(DisplayText("\xef\xbf\xbf", 4), "\xef\xbf\xbd") << "U+FFFF is no XML character";
}

TEST(RenderLegend, PartsBeyondTheLegendAreCounted) {
    CRenderScene scene;
    for (int i = 0; i < 50; ++i)
        scene.m_parts.push_back({"Part " + std::to_string(i), 0, 2});
    CRenderOptions options;
    options.m_nWidth = 200;
    options.m_nHeight = 300;
    options.m_legend = LegendKind::Corner;
    const CRenderLayout layout = LayOutPicture(scene, options);
    const std::vector<CLegendLine> lines = MakeLegend(scene, layout);
    // (0.8 * 300 - 16) / 18 rows in one column, but the column is too narrow.
    EXPECT_TRUE(lines.empty());
    options.m_nWidth = 800;
    const std::vector<CLegendLine> wide = MakeLegend(scene, LayOutPicture(scene, options));
    ASSERT_EQ(wide.size(), 12u);
    EXPECT_EQ(wide[0].m_strText, "50 parts, 100 polygons");
    EXPECT_EQ(wide[1].m_strText, "Part 0 (2)");
    EXPECT_EQ(wide[11].m_strText, "and 40 more parts");
    options.m_legend = LegendKind::None;
    EXPECT_TRUE(MakeLegend(scene, LayOutPicture(scene, options)).empty());
}

namespace {

CScenePart* AddMesh(CSceneDocument& doc, const std::string& name, std::int32_t colorRef,
                    const std::vector<PointXyz>& points,
                    const std::vector<std::vector<std::int32_t>>& polygons) {
    CScenePart* part = AddPart(doc, name, {}, {});
    for (const PointXyz& p : points) {
        auto* point = new CScenePoint;
        point->Set(p.x, p.y, p.z);
        part->m_points.Add(point);
    }
    for (const auto& indices : polygons) {
        auto* polygon = new CScenePolygon;
        polygon->m_indices = indices;
        part->m_polygons.Add(polygon);
    }
    part->m_crColor = colorRef;
    return part;
}

// An L in the ground plane (y = 0) whose notch is x, z in [1, 2]; listed from
// (2, 0), whose fan would cover the notch's corner at (1, 1).
void AddL(CSceneDocument& doc) {
    AddMesh(doc, "L", 0x0000FF, {{2, 0, 0}, {2, 0, 1}, {1, 0, 1}, {1, 0, 2}, {0, 0, 2}, {0, 0, 0}},
            {{0, 1, 2, 3, 4, 5}});
}

// A sphere of radius 1 at the origin just over a wide, low box (a plinth):
// seen from the iso view the sphere hides part of the box's top, whose middle
// is nearer the viewer than the sphere's lower edge, so ordering faces by
// their mean depth draws the box over the sphere there.
void AddSphereBeforeBox(CSceneDocument& doc) {
    std::vector<PointXyz> box;
    for (int k = 0; k < 8; ++k)
        box.push_back({k & 1 ? 3.0 : -3.0, k & 2 ? -1.05 : -1.3, k & 4 ? 3.0 : -3.0});
    AddMesh(doc, "Box", 0x0000FF, box,
            {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}});
    constexpr int kRings = 12, kSegments = 24;
    const double pi = std::acos(-1.0);
    std::vector<PointXyz> sphere;
    for (int r = 0; r <= kRings; ++r)
        for (int s = 0; s < kSegments; ++s) {
            const double a = pi * r / kRings, b = 2 * pi * s / kSegments;
            sphere.push_back({std::sin(a) * std::cos(b), std::cos(a), std::sin(a) * std::sin(b)});
        }
    std::vector<std::vector<std::int32_t>> faces;
    for (int r = 0; r < kRings; ++r)
        for (int s = 0; s < kSegments; ++s) {
            const auto at = [](int ring, int segment) {
                return ring * kSegments + segment % kSegments;
            };
            faces.push_back({at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1)});
        }
    AddMesh(doc, "Sphere", 0x00FF00, sphere, faces);
}

// Pixels inside the sphere's outline in a 300x300 iso picture of that scene
// without a legend: the iso view's screen axes are (1, 0, -1)/sqrt(2) and
// (-1, 2, -1)/sqrt(6); the box's corners set the framing (9-pixel margin).
std::vector<std::pair<double, double>> SpherePixels() {
    const double s2 = std::sqrt(2.0), s6 = std::sqrt(6.0);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int k = 0; k < 8; ++k) {
        const double x = k & 1 ? 3.0 : -3.0, y = k & 2 ? -1.05 : -1.3, z = k & 4 ? 3.0 : -3.0;
        const double sx = (x - z) / s2, sy = (2 * y - x - z) / s6;
        minX = std::min(minX, sx), maxX = std::max(maxX, sx);
        minY = std::min(minY, sy), maxY = std::max(maxY, sy);
    }
    const double scale = std::min(282 / (maxX - minX), 282 / (maxY - minY));
    const double cx = 150 - scale * (minX + maxX) / 2, cy = 150 + scale * (minY + maxY) / 2;
    std::vector<std::pair<double, double>> pixels;
    // The middle, and round the lower half of the outline, well inside it.
    for (const auto& [dx, dy] :
         {std::pair{0.0, 0.0}, {-0.75, 0.3}, {0.0, 0.8}, {0.75, 0.3}, {-0.5, 0.6}})
        pixels.push_back({cx + scale * dx, cy + scale * dy});
    return pixels;
}

// The box of the pixels a picture covers (alpha above zero).
struct CCovered {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
CCovered CoveredBox(const CPng& png) {
    CCovered box;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x)
            if (png.AlphaAt(x, y) > 0) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Whether pixel lies strictly between two others in some channel (a blend).
bool IsBlendOf(std::uint32_t pixel, std::uint32_t a, std::uint32_t b) {
    for (const int shift : {16, 8, 0}) {
        const int p = pixel >> shift & 0xFF, x = a >> shift & 0xFF, y = b >> shift & 0xFF;
        if (std::min(x, y) + 8 < p && p + 8 < std::max(x, y))
            return true;
    }
    return false;
}

bool IsGrey(std::uint32_t pixel) {
    const int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
    return std::abs(r - g) <= 2 && std::abs(g - b) <= 2;
}

// The legend's claimed box in a 400x300 picture of the cube: inside it only
// grey text and the swatches, text there, no more than a fifth of the
// picture, and the model (coloured, never grey) wholly outside.
void CheckLegendApart(const CPng& png, LegendKind kind) {
    CRenderScene scene;
    CSceneDocument doc;
    for (const CubeFace& face : kCube)
        AddPart(doc, face.name, {}, {{0, 1, 2, 3}});
    scene.AddDocument(doc);
    CRenderOptions options;
    options.m_nWidth = 400;
    options.m_nHeight = 300;
    options.m_legend = kind;
    const CRenderLayout layout = LayOutPicture(scene, options);
    const CPixelRect& box = layout.m_legend;
    ASSERT_GT(box.m_width * box.m_height, 0);
    EXPECT_LE(box.m_width * box.m_height, 400 * 300 / 5);
    const auto inBox = [](const CPixelRect& r, int x, int y) {
        return x >= r.m_x - 1 && x <= r.m_x + r.m_width && y >= r.m_y - 1 &&
               y <= r.m_y + r.m_height;
    };
    std::vector<CPixelRect> swatches;
    for (const CLegendLine& line : MakeLegend(scene, layout))
        if (line.m_bSwatch)
            swatches.push_back({line.m_x - kLegendSwatch - 6, line.m_y - kLegendSwatch + 1,
                                kLegendSwatch, kLegendSwatch});
    int text = 0, model = 0;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            if (png.AlphaAt(x, y) == 0)
                continue;
            const bool grey = IsGrey(png.At(x, y));
            if (inBox(box, x, y)) {
                text += grey;
                const bool swatch =
                    std::any_of(swatches.begin(), swatches.end(),
                                [&](const CPixelRect& r) { return inBox(r, x, y); });
                EXPECT_TRUE(grey || swatch) << "model pixel in the legend at " << x << " " << y;
            } else {
                model += !grey;
            }
        }
    EXPECT_GT(text, 50);
    EXPECT_GT(model, 10000);
}

} // namespace

// Each case renders a generated scene and checks the picture as a viewer
// would see it: the PNG read back by Cairo, the SVG by Python's XML parser.
TEST_F(Render, PicturesShowWhatTheSceneHolds) {
    const struct {
        const char* what;
        void (*build)(CSceneDocument&); // nullptr: the fixture's cube
        std::vector<std::string> args;
        void (*check)(const CPng& png, const std::string& svgFacts);
    } cases[] = {
        {"a concave polygon from the top leaves its notch empty",
         AddL,
         {"--view", "top", "--size", "300x300", "--legend", "none"},
         [](const CPng& png, const std::string&) {
             // The L spans 282 pixels inside the 9-pixel margin: 141 a unit.
             const auto pixel = [&](double x, double z) {
                 return png.At(9 + 141 * x, 9 + 141 * z);
             };
             for (const auto& [x, z] : {std::pair{1.1, 1.6}, {1.2, 1.3}, {1.5, 1.5}, {1.9, 1.9}})
                 EXPECT_EQ(pixel(x, z), 0xF7F7F2u) << x << " " << z;
             for (const auto& [x, z] : {std::pair{0.5, 0.5}, {1.5, 0.5}, {0.5, 1.5}})
                 EXPECT_TRUE(IsShadeOf(pixel(x, z), 0xFF0000)) << x << " " << z;
         }},
        {"a sphere in front of a box is in front in PNG and SVG",
         AddSphereBeforeBox,
         {"--size", "300x300", "--legend", "none"},
         [](const CPng& png, const std::string& svg) {
             EXPECT_GT(std::count_if(png.pixels.begin(), png.pixels.end(),
                                     [](std::uint32_t p) { return IsShadeOf(p, 0xFF0000); }),
                       5000)
                 << "the box shows round the sphere";
             for (const auto& [x, y] : SpherePixels()) {
                 EXPECT_TRUE(IsShadeOf(png.At(x, y), 0x00FF00)) << x << " " << y;
                 char point[64];
                 std::snprintf(point, sizeof point, "at %.1f %.1f #", x, y);
                 const std::size_t at = svg.find(point);
                 ASSERT_NE(at, std::string::npos) << point << svg;
                 const std::uint32_t shown = HexRgb(svg.substr(at + std::strlen(point), 6));
                 EXPECT_TRUE(IsShadeOf(shown, 0x00FF00)) << point << std::hex << shown;
             }
         }},
        {"a cube's silhouette has blended pixels",
         nullptr,
         {"--size", "400x300", "--legend", "none"},
         [](const CPng& png, const std::string&) {
             // Across the top face's slanted edges: where the row leaves the
             // ground, a pixel blends the ground and the face inside it.
             for (const int y : {30, 45, 60}) {
                 int left = 0, right = 399;
                 while (left < 399 && png.At(left, y) == 0xF7F7F2u)
                     ++left;
                 while (right > 0 && png.At(right, y) == 0xF7F7F2u)
                     --right;
                 ASSERT_LT(left + 8, right) << y;
                 const std::uint32_t inside = png.At(200, y);
                 EXPECT_TRUE(IsBlendOf(png.At(left, y), 0xF7F7F2, inside) ||
                             IsBlendOf(png.At(left + 1, y), 0xF7F7F2, inside))
                     << y << std::hex << " " << png.At(left, y) << " " << inside;
                 EXPECT_TRUE(IsBlendOf(png.At(right, y), 0xF7F7F2, inside) ||
                             IsBlendOf(png.At(right - 1, y), 0xF7F7F2, inside))
                     << y;
             }
         }},
        {"no background: corners clear, the model opaque, framed at the margin",
         nullptr,
         {"--size", "400x300", "--legend", "none", "--background", "none"},
         [](const CPng& png, const std::string&) {
             for (const auto& [x, y] : {std::pair{0, 0}, {399, 0}, {0, 299}, {399, 299}})
                 EXPECT_EQ(png.AlphaAt(x, y), 0u) << x << " " << y;
             EXPECT_EQ(png.AlphaAt(200, 150), 255u);
             // 3% of the shorter side is the margin; the taller iso cube
             // touches it above and below and is centred across.
             const CCovered box = CoveredBox(png);
             EXPECT_NEAR(box.top, 9, 2);
             EXPECT_NEAR(box.bottom, 290, 2);
             EXPECT_NEAR(box.left, 399 - box.right, 2);
         }},
        {"the legend below stays off the model",
         nullptr,
         {"--size", "400x300", "--background", "none"},
         [](const CPng& png, const std::string&) { CheckLegendApart(png, LegendKind::Below); }},
        {"the legend in the corner stays off the model",
         nullptr,
         {"--size", "400x300", "--background", "none", "--legend", "corner"},
         [](const CPng& png, const std::string&) { CheckLegendApart(png, LegendKind::Corner); }},
    };
    if (!std::filesystem::exists("/usr/bin/python3"))
        GTEST_SKIP() << "/usr/bin/python3 is not installed";
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.build != nullptr) {
            CSceneDocument doc;
            c.build(doc);
            m_host.WriteScene(doc);
        } else {
            SetUp();
        }
        const std::string png = m_host.Scratch() / ("case" + std::to_string(n) + ".png");
        const std::string svg = m_host.Scratch() / ("case" + std::to_string(n++) + ".svg");
        for (const std::string& out : {png, svg}) {
            std::vector<std::string> args = {"render", m_host.ExchangePath(), "-o", out};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const CProgramRun run = Qr(args);
            ASSERT_EQ(run.exitCode, 0) << run.err;
        }
        std::vector<std::string> factsArgs = {"/usr/bin/python3", kSvgCheck, svg};
        for (const auto& [x, y] : SpherePixels()) {
            char number[32];
            std::snprintf(number, sizeof number, "%.1f", x);
            factsArgs.push_back(number);
            std::snprintf(number, sizeof number, "%.1f", y);
            factsArgs.push_back(number);
        }
        const CProgramRun facts = RunProgram(m_host.Scratch(), factsArgs);
        ASSERT_EQ(facts.exitCode, 0) << facts.err;
        c.check(ReadPng(png), facts.out);
    }
}

TEST(RenderLegend, LongNamesAreWholeOrShortenedInTheMiddle) {
    const std::string ellipsis = "\xe2\x80\xa6";
    const std::string vehicle = "QuickDraw_Cockpit_Glass_Left";
    const std::string huge = std::string(150, 'a') + "_middle_" + std::string(150, 'z');
    const struct {
        std::string name;
        int width, height;
        LegendKind kind;
        bool whole;
    } cases[] = {
        {vehicle, 640, 400, LegendKind::Below, true},
        {vehicle, 640, 400, LegendKind::Corner, false}, // a quarter of 640 holds 18 characters
        {vehicle, 1600, 900, LegendKind::Corner, true},
        {huge, 640, 400, LegendKind::Below, false},
        {"caf\xc3\xa9_" + vehicle + "_\xc3\xa9t\xc3\xa9", 640, 400, LegendKind::Corner, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 40) + " " + std::to_string(c.width));
        CRenderScene scene;
        scene.m_parts.push_back({c.name, 0xFF0000, 12});
        scene.m_parts.push_back({"B", 0x00FF00, 1});
        CRenderOptions options;
        options.m_nWidth = c.width;
        options.m_nHeight = c.height;
        options.m_legend = c.kind;
        const CRenderLayout layout = LayOutPicture(scene, options);
        const std::vector<CLegendLine> lines = MakeLegend(scene, layout);
        ASSERT_EQ(lines.size(), 3u);
        const std::string& text = lines[1].m_strText;
        ASSERT_GE(text.size(), 5u);
        ASSERT_EQ(text.substr(text.size() - 5), " (12)");
        const std::string shown = text.substr(0, text.size() - 5);
        if (c.whole) {
            EXPECT_EQ(shown, c.name);
        } else {
            const std::size_t cut = shown.find(ellipsis);
            ASSERT_NE(cut, std::string::npos) << shown;
            const std::string head = shown.substr(0, cut), tail = shown.substr(cut + 3);
            EXPECT_GE(head.size(), 4u) << shown;
            EXPECT_GE(tail.size(), 3u) << shown;
            EXPECT_EQ(c.name.substr(0, head.size()), head);
            EXPECT_EQ(c.name.substr(c.name.size() - tail.size()), tail);
        }
        // Every line, by the width it is measured with, stays in the legend.
        for (const CLegendLine& line : lines) {
            const auto characters =
                std::count_if(line.m_strText.begin(), line.m_strText.end(), [](char byte) {
                    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
                });
            EXPECT_LE(line.m_x + static_cast<double>(characters) * kLegendCharacterWidth,
                      layout.m_legend.m_x + layout.m_legend.m_width)
                << line.m_strText;
        }
    }
}
