// qrhost render: pictures of a known scene checked at fixed places, the SVG
// read back by an XML parser, damaged input, and the raster's own rules.
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scene_parts.h"
#include "tests/support/test_host.h"

#include "render/raster_image.h"
#include "render/render_legend.h"
#include "render/render_view.h"

#include <cairo.h>
#include <gtest/gtest.h>

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
    std::vector<std::uint32_t> pixels; // 0xRRGGBB
    std::uint32_t At(double x, double y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
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
    // Renders the cube at 400x300 and reads the picture back.
    CPng RenderCube(const std::string& view) {
        const std::string out = m_host.Scratch() / ("cube-" + view + ".png");
        const CProgramRun run =
            Qr({"render", m_host.ExchangePath(), "-o", out, "--view", view, "--size", "400x300"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return ReadPng(out);
    }

    CTestHost m_host;
    const CRenderLayout m_layout = LayOutPicture(400, 300, true);
    const double m_cx = m_layout.m_drawing.m_x + m_layout.m_drawing.m_width / 2;
    const double m_cy = m_layout.m_drawing.m_y + m_layout.m_drawing.m_height / 2;
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
        // The drawing's margin is background; the legend column is white.
        EXPECT_EQ(png.At(399, 2), 0xF7F7F2u) << c.view;
        EXPECT_EQ(png.At(2, 299), 0xFFFFFFu) << c.view;
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
                                "--size", "400x300", "--wire"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const CPng png = ReadPng(out);
    EXPECT_EQ(png.At(m_cx, m_cy), 0xF7F7F2u) << "the inside of a face stays empty";
    int coloured = 0;
    for (int x = static_cast<int>(m_layout.m_drawing.m_x); x < 400; ++x)
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
    const CProgramRun facts = RunProgram(m_host.Scratch(), {"/usr/bin/python3", kSvgCheck, out});
    ASSERT_EQ(facts.exitCode, 0) << facts.err;
    // The legend shows the names its column has room for; the description
    // names every part in full.
    EXPECT_TRUE(Contains(facts.out, "text Right +x (1)\n")) << facts.out;
    for (const CubeFace& face : kCube)
        EXPECT_TRUE(Contains(facts.out, std::string("part ") + face.name + ": 1 polygons\n"))
            << facts.out;
    EXPECT_TRUE(Contains(facts.out, "paths 6\n")) << facts.out;
    // Painter's order: the face nearest the viewer (+z, blue) comes last,
    // the one behind it (-z, yellow) first.
    const std::size_t last = facts.out.find("last #");
    const std::size_t first = facts.out.find("first #");
    ASSERT_NE(last, std::string::npos) << facts.out;
    ASSERT_NE(first, std::string::npos) << facts.out;
    EXPECT_TRUE(IsShadeOf(HexRgb(facts.out.substr(last + 6, 6)), 0x0000FF)) << facts.out;
    EXPECT_TRUE(IsShadeOf(HexRgb(facts.out.substr(first + 7, 6)), 0xFFFF00)) << facts.out;
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
    ASSERT_EQ(Qr({"render", wall, "-o", front, "--view", "front", "--size", "400x300"}).exitCode,
              0);
    ASSERT_EQ(Qr({"render", wall, "-o", top, "--view", "top", "--size", "400x300"}).exitCode, 0);
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
          {"render", scene, "-o", "x.png", "--size", "10"}}) {
        const CProgramRun run = Qr(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_TRUE(Contains(run.err, "usage: qrhost render")) << run.err;
    }
}

TEST(RasterImage, NearerFaceWinsWhicheverComesFirst) {
    const std::uint32_t nearColour = 0x112233, farColour = 0x445566;
    for (const bool nearFirst : {true, false}) {
        CRasterImage image(20, 20, 0);
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
        EXPECT_EQ(image.GetPixel(3, 3), 0xFF000000u | nearColour) << nearFirst;
        EXPECT_EQ(image.GetPixel(18, 18), 0xFF000000u) << "outside the triangle";
    }
}

TEST(RasterImage, HugeAndDegenerateShapesStayInsideAndEnd) {
    CRasterImage image(16, 8, 0);
    image.DrawLine({-1e6, 4.5, 0}, {1e6, 4.5, 0}, 0xFFFFFF);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(image.GetPixel(x, 4), 0xFFFFFFFFu) << x;
    // Ends far beyond double's precision at pixel size: clipped, and done.
    image.DrawLine({-1e30, -1e30, 0}, {1e30, 1e30, 1}, 0x0000FF);
    image.DrawLine({-1e300, 3, 0}, {1e300, 3, 0}, 0x0000FF);
    image.FillTriangle({-1e30, -1e30, 0}, {1e30, -1e30, 0}, {0, 1e30, 0}, 0x00FF00);
    EXPECT_EQ(image.GetPixel(8, 2), 0xFF00FF00u);
    // Collinear corners fill nothing; a point is one pixel.
    image.FillTriangle({0, 0, 5}, {8, 8, 5}, {16, 16, 5}, 0x0000FF);
    EXPECT_EQ(image.GetPixel(4, 4), 0xFF00FF00u);
    image.DrawLine({2.5, 1.5, 9}, {2.5, 1.5, 9}, 0xFF0000);
    EXPECT_EQ(image.GetPixel(2, 1), 0xFFFF0000u);
}

TEST(RenderLegend, TextsAreValidUtf8AndCutWithAnEllipsis) {
    EXPECT_EQ(DisplayText("Crate", 10), "Crate");
    EXPECT_EQ(DisplayText("caf\xc3\xa9", 4), "caf\xc3\xa9");
    EXPECT_EQ(DisplayText("a\xff"
                          "b\x01",
                          10),
              "a\xef\xbf\xbd"
              "b\xef\xbf\xbd");
    EXPECT_EQ(DisplayText("abcdef", 4), "abc\xe2\x80\xa6");
    EXPECT_EQ(DisplayText("\xef\xbf\xbf", 4), "\xef\xbf\xbd") << "U+FFFF is no XML character";
}

TEST(RenderLegend, PartsBeyondTheColumnAreCounted) {
    CRenderScene scene;
    for (int i = 0; i < 50; ++i)
        scene.m_parts.push_back({"Part " + std::to_string(i), 0, 2});
    const std::vector<CLegendLine> lines = MakeLegend(scene, {0, 0, 200, 110});
    ASSERT_EQ(lines.size(), 5u); // (110 - 20) / 18 rows
    EXPECT_EQ(lines[0].m_strText, "50 parts, 100 polygons");
    EXPECT_EQ(lines[1].m_strText, "Part 0 (2)");
    EXPECT_EQ(lines[4].m_strText, "and 47 more parts");
    EXPECT_TRUE(MakeLegend(scene, {0, 0, 0, 300}).empty());
}
