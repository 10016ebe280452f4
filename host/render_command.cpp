// qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]
//                    [--size WxH] [--wire]
// A picture of a scene file or an object file. Nothing is written unless the
// whole picture is: a file that does not load leaves OUT untouched.
#include "host/commands.h"
#include "host/picture_files.h"
#include "host/projected_scene.h"
#include "host/render_scene.h"
#include "host/render_view.h"

#include "import/object_file.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <charconv>
#include <cstdio>
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

int Usage(const char* problem, const std::string& detail = "") {
    std::fprintf(stderr, "qrhost render: %s%s\n", problem, detail.c_str());
    std::fputs("usage: qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]\n"
               "                     [--size WxH] [--wire]\n",
               stderr);
    return kExitUsage;
}

// Cairo and fontconfig keep font caches until the process ends; handing
// them back keeps leak checkers' reports to our own memory.
class CFontCacheRelease {
  public:
    CFontCacheRelease() = default;
    ~CFontCacheRelease() {
        cairo_debug_reset_static_data();
        FcFini();
    }
    CFontCacheRelease(const CFontCacheRelease&) = delete;
    CFontCacheRelease& operator=(const CFontCacheRelease&) = delete;
};

int RenderPicture(const std::string& input, const std::string& output, const std::string& kind,
                  const CRenderOptions& options) {
    CRenderScene scene;
    if (const CStatus loaded = LoadRenderScene(input, scene); !loaded) {
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
    std::string input, output;
    CRenderOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "-o" || arg == "--view" || arg == "--size";
        if (takesValue && i + 1 >= argc)
            return Usage(arg.c_str(), " needs a value");
        if (arg == "-o") {
            output = argv[++i];
        } else if (arg == "--view") {
            if (!ParseViewKind(argv[++i], options.m_view))
                return Usage("--view takes iso, top, front or side, not ", argv[i]);
        } else if (arg == "--size") {
            if (!ParseSize(argv[++i], options.m_nWidth, options.m_nHeight))
                return Usage("--size takes WxH, each from 1 to 8192, not ", argv[i]);
        } else if (arg == "--wire") {
            options.m_bWire = true;
        } else if (arg.starts_with("-") || !input.empty()) {
            return Usage("unexpected argument ", arg);
        } else {
            input = arg;
        }
    }
    if (input.empty() || output.empty())
        return Usage("a FILE and -o OUT are needed");
    const std::string kind = GetObjectExtension(output);
    if (kind != "png" && kind != "svg")
        return Usage("the output's extension is neither .png nor .svg: ", output);

    const CFontCacheRelease release;
    return RenderPicture(input, output, kind, options);
}
