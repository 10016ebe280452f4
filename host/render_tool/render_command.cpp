// qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]
//                    [--size WxH] [--wire]
// A picture of a scene file or an object file. Nothing is written unless the
// whole picture is: a file that does not load leaves OUT untouched.
#include "host/command_line/command_line.h"
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
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

// Large enough for a poster; small enough that the raster and its depth
// buffer (8 bytes a pixel) stay well within memory.
constexpr int kLargestSide = 8192;

bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    const auto number = [](std::string_view digits, int& value) {
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return !digits.empty() && result.ec == std::errc() &&
               result.ptr == digits.data() + digits.size() && value >= 1 && value <= kLargestSide;
    };
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
                  const CRenderOptions& options) {
    // The picture would replace what it draws: the same file once links are followed.
    if (std::error_code error; std::filesystem::equivalent(input, output, error)) {
        std::fprintf(stderr, "qrhost render: \"%s\" and \"%s\" are the same file: not drawn\n",
                     input.c_str(), output.c_str());
        return kExitFailed;
    }
    CRenderScene scene;
    if (const CStatus loaded = LoadPictureScene(input, scene); !loaded) {
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
    const CStatus written = kind == "png"
                                ? WritePngPicture(scene, projected, options, output)
                                : WriteSvgPicture(scene, projected, options, input, output);
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
                           return ParseSize(value, width, height);
                       },
                       "--size takes WxH, each from 1 to 8192, not {}"},
                      {"--wire"}},
        .m_optionPrefix = "-",
        .m_unknownOption = "unexpected argument {}",
        .m_extraPositional = "unexpected argument {}",
        .m_missingPositional = "a FILE and -o OUT are needed",
        .m_pUsage = "usage: qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]\n"
                    "                     [--size WxH] [--wire]\n"};
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
    if (const auto size = line.Value("--size"))
        ParseSize(*size, options.m_nWidth, options.m_nHeight);
    options.m_bWire = line.Has("--wire");
    const std::string kind = GetObjectExtension(output);
    if (kind != "png" && kind != "svg")
        return UsageError(rules, "the output's extension is neither .png nor .svg: " + output);

    const CFontCacheRelease release;
    return RenderPicture(input, output, kind, options);
}
