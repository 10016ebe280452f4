// qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]
//                    [--size WxH|N] [--wire] [--edges] [--background COLOR|none]
//                    [--legend none|corner|below] [--quiet]
// A picture of a scene file or an object file. Nothing is written unless the
// whole picture is: a file that does not load leaves OUT untouched.
//
// --size N is the thumbnail form a file manager calls (share/thumbnailers/):
// an N x N PNG whatever OUT's name, transparent and without a legend unless
// asked for.
#include "host/command_line/command_line.h"
#include "host/command_line/progress_line.h"
#include "host/render_tool/render_tool.h"
#include "host/scene_tools/scene_file.h"
#include "render/png_picture.h"
#include "render/projected_scene.h"
#include "render/render_scene.h"
#include "render/render_view.h"
#include "render/svg_picture.h"

#include "import/import_object.h"
#include "import/object_file.h"
#include "scene/scene_document.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

// Large enough for a poster; small enough that the raster and its depth
// buffer (8 bytes a pixel) stay well within memory.
constexpr int kLargestSide = 8192;

// WxH, or N for an N x N thumbnail (square then true).
bool ParseSize(std::string_view text, int& width, int& height, bool& square) {
    const auto number = [](std::string_view digits, int& value) {
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return !digits.empty() && result.ec == std::errc() &&
               result.ptr == digits.data() + digits.size() && value >= 1 && value <= kLargestSide;
    };
    const std::size_t x = text.find('x');
    square = x == std::string_view::npos;
    if (square)
        return number(text, width) && number(text, height);
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

// Reads path into scene: an object file when its extension is .lwo or .dxf
// (any case), a scene file otherwise. A failure's reason names the file, in
// the words `qrhost dump` and `qrhost inspect` use.
CStatus LoadPictureScene(const std::string& path, CRenderScene& scene) {
    const std::string extension = GetObjectExtension(path);
    if (extension == "lwo" || extension == "dxf") {
        CImportObject object;
        if (const CStatus loaded = LoadObjectFile(object, path, extension); !loaded)
            return CStatus::Failure(
                "\"" + path + "\": not loaded: " +
                (loaded.GetReason().empty() ? std::string("unknown reason") : loaded.GetReason()));
        scene.AddObject(object, extension == "dxf");
        return {};
    }
    CSceneDocument doc;
    if (CStatus read = ReadSceneFile(path, doc); !read)
        return read;
    scene.AddDocument(doc);
    return {};
}

int RenderPicture(const std::string& input, const std::string& output, const std::string& kind,
                  CRenderOptions options, CProgressLine& progress) {
    // The picture would replace what it draws: the same file once links are followed.
    if (std::error_code error; std::filesystem::equivalent(input, output, error)) {
        std::fprintf(stderr, "qrhost render: \"%s\" and \"%s\" are the same file: not drawn\n",
                     input.c_str(), output.c_str());
        return kExitFailed;
    }
    CRenderScene scene;
    progress.SetStep("reading " + input);
    const CStatus loaded = LoadPictureScene(input, scene);
    progress.Pause();
    if (!loaded) {
        std::fprintf(stderr, "qrhost render: %s\n", loaded.GetReason().c_str());
        return kExitFailed;
    }
    if (scene.m_nBrokenPolygons > 0)
        std::fprintf(stderr,
                     "qrhost render: %zu polygons name a point their part lacks: not drawn\n",
                     scene.m_nBrokenPolygons);
    const CProjectedScene projected = ProjectScene(scene, options);
    if (projected.m_nUndrawable > 0)
        std::fprintf(stderr,
                     "qrhost render: %zu polygons have a corner at an infinite or undefined "
                     "place: not drawn\n",
                     projected.m_nUndrawable);
    progress.SetStep("drawing " + output);
    options.m_onProgress = [&progress](double share) { progress.SetShare(share); };
    const CStatus written = kind == "png"
                                ? WritePngPicture(scene, projected, options, output)
                                : WriteSvgPicture(scene, projected, options, input, output);
    progress.Pause();
    if (!written) {
        std::fprintf(stderr, "qrhost render: cannot write \"%s\": %s\n", output.c_str(),
                     written.GetReason().c_str());
        return kExitFailed;
    }
    std::printf("%s: %dx%d, %zu parts, %zu polygons\n", output.c_str(), options.m_nWidth,
                options.m_nHeight, scene.m_parts.size(), scene.m_faces.size());
    return kExitOk;
}

} // namespace

int RunRenderCommand(int argc, char** argv) {
    const CCommandRules rules{
        .m_name = "render",
        .m_options = {{"-o", true},
                      {"--view", true,
                       [](std::string_view value) {
                           ViewKind view;
                           return ParseViewKind(value, view);
                       },
                       "--view takes iso, top, front or side, not {}"},
                      {"--size", true,
                       [](std::string_view value) {
                           int width, height;
                           bool square;
                           return ParseSize(value, width, height, square);
                       },
                       "--size takes WxH or N, each from 1 to 8192, not {}"},
                      {"--background", true,
                       [](std::string_view value) {
                           bool transparent;
                           std::uint32_t rgb;
                           return ParseBackground(value, transparent, rgb);
                       },
                       "--background takes #RRGGBB or none, not {}"},
                      {"--legend", true,
                       [](std::string_view value) {
                           LegendKind legend;
                           return ParseLegendKind(value, legend);
                       },
                       "--legend takes none, corner or below, not {}"},
                      {"--wire"},
                      {"--edges"},
                      {"--quiet"}},
        .m_optionPrefix = "-",
        .m_unknownOption = "unexpected argument {}",
        .m_extraPositional = "unexpected argument {}",
        .m_missingPositional = "a FILE and -o OUT are needed",
        .m_pUsage =
            "usage: qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]\n"
            "                     [--size WxH|N] [--wire] [--edges]\n"
            "                     [--background COLOR|none] [--legend none|corner|below]\n"};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const std::string& input = line.Positional(0);
    const std::string output = line.Value("-o").value_or("");
    if (output.empty())
        return UsageError(rules, std::string(rules.m_missingPositional));
    CRenderOptions options;
    if (const auto view = line.Value("--view"))
        ParseViewKind(*view, options.m_view);
    bool thumbnail = false;
    if (const auto size = line.Value("--size"))
        ParseSize(*size, options.m_nWidth, options.m_nHeight, thumbnail);
    if (thumbnail) {
        options.m_bTransparent = true;
        options.m_legend = LegendKind::None;
    }
    if (const auto background = line.Value("--background"))
        ParseBackground(*background, options.m_bTransparent, options.m_nBackgroundRgb);
    if (const auto legend = line.Value("--legend"))
        ParseLegendKind(*legend, options.m_legend);
    options.m_bWire = line.Has("--wire");
    options.m_bEdges = line.Has("--edges");
    // A file manager names the thumbnail as it likes; it is always a PNG.
    const std::string kind = thumbnail ? "png" : GetObjectExtension(output);
    if (kind != "png" && kind != "svg")
        return UsageError(rules, "the output's extension is neither .png nor .svg: " + output);

    const CFontCacheRelease release;
    CProgressLine progress("render", line.Has("--quiet"));
    return RenderPicture(input, output, kind, options, progress);
}
