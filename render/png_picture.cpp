// The PNG form of a rendered picture.
#include "render/png_picture.h"
#include "render/render_legend.h"

#include "platform/replacing_file.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kFacesPerReport = 1 << 16;

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

void SetRgb(cairo_t* cr, std::uint32_t rgb) {
    cairo_set_source_rgb(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

void DrawLegend(cairo_t* cr, const CRenderScene& scene, const CRenderLayout& layout) {
    const CPixelRect& box = layout.m_legend;
    if (box.m_width <= 0)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, box.m_x, box.m_y, box.m_width, box.m_height);
    cairo_clip(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kLegendFontSize);
    for (const CLegendLine& line : MakeLegend(scene, layout)) {
        if (line.m_bSwatch) {
            SetRgb(cr, line.m_nRgb);
            cairo_rectangle(cr, line.m_x - kLegendSwatch - 6, line.m_y - kLegendSwatch + 1,
                            kLegendSwatch, kLegendSwatch);
            cairo_fill(cr);
        }
        SetRgb(cr, 0x202020);
        cairo_move_to(cr, line.m_x, line.m_y);
        cairo_show_text(cr, line.m_strText.c_str());
    }
    cairo_restore(cr);
}

struct CPngSink {
    CReplacingFile m_file;
    CStatus m_status;
};

cairo_status_t WritePngBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto& sink = *static_cast<CPngSink*>(closure);
    if (sink.m_status)
        sink.m_status = sink.m_file.Write(reinterpret_cast<const char*>(data), length);
    return sink.m_status ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// Faces with the very corners of a later face, in the same order: the later
// one covers them at every sample (the same depths, and the last drawn of
// equal depths wins), so they need not be drawn. Files repeat faces (a mesh
// saved over itself, a layer copied in place), and each is a full fill.
std::vector<char> HiddenRepeats(const CRenderScene& scene) {
    const std::size_t count = scene.m_faces.size();
    std::vector<char> hidden(count);
    std::size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    std::vector<std::uint32_t> table(size, 0); // face index + 1
    const auto same = [&](const CRenderFace& a, const CRenderFace& b) {
        return a.m_nCount == b.m_nCount &&
               std::equal(scene.m_anCorner.begin() + static_cast<std::ptrdiff_t>(a.m_nFirst),
                          scene.m_anCorner.begin() +
                              static_cast<std::ptrdiff_t>(a.m_nFirst + a.m_nCount),
                          scene.m_anCorner.begin() + static_cast<std::ptrdiff_t>(b.m_nFirst));
    };
    for (std::size_t f = count; f-- > 0;) {
        const CRenderFace& face = scene.m_faces[f];
        std::uint64_t hash = 1469598103934665603ull ^ face.m_nCount;
        for (std::uint32_t k = 0; k < face.m_nCount; ++k)
            hash = (hash ^ scene.m_anCorner[face.m_nFirst + k]) * 1099511628211ull;
        std::size_t at = static_cast<std::size_t>(hash ^ hash >> 29) & (size - 1);
        while (table[at] != 0 && !same(scene.m_faces[table[at] - 1], face))
            at = (at + 1) & (size - 1);
        if (table[at] != 0)
            hidden[f] = 1;
        else
            table[at] = static_cast<std::uint32_t>(f + 1);
    }
    return hidden;
}

} // namespace

CRasterImage RasterizeScene(const CRenderScene& scene, const CProjectedScene& projected,
                            const CRenderOptions& options) {
    CRasterImage image(options.m_nWidth, options.m_nHeight);
    const auto vertex = [&](std::size_t corner) {
        const std::uint32_t i = scene.m_anCorner[corner];
        return CRasterVertex{projected.m_afX[i], projected.m_afY[i], projected.m_afDepth[i]};
    };
    // An outline lies in its face's plane; lifting it by about a pixel towards
    // the viewer keeps it over its own face and under whatever is in front.
    const double edgeLift = projected.m_depthScale > 0 ? 1.5 / projected.m_depthScale : 0;
    const std::vector<char> hidden = HiddenRepeats(scene);
    std::vector<CRasterVertex> corners;
    for (std::size_t f = 0; f < scene.m_faces.size(); ++f) {
        if (options.m_onProgress && f % kFacesPerReport == 0)
            options.m_onProgress(static_cast<double>(f) /
                                 static_cast<double>(scene.m_faces.size()));
        const CRenderFace& face = scene.m_faces[f];
        const std::uint32_t rgb = projected.m_anColor[f];
        if (rgb == CProjectedScene::kUndrawable || face.m_nCount == 0 || hidden[f])
            continue;
        const std::size_t first = face.m_nFirst;
        const bool filled = face.m_nCount >= 3 && !options.m_bWire;
        if (filled) {
            corners.clear();
            for (std::uint32_t k = 0; k < face.m_nCount; ++k)
                corners.push_back(vertex(first + k));
            image.FillPolygon(corners, rgb);
        }
        if (face.m_nCount == 1) {
            image.DrawLine(vertex(first), vertex(first), rgb);
        } else if (!filled || options.m_bEdges) {
            // A line is drawn once; an outline is closed. Over a fill it is a
            // darker shade of the face, so the polygons' own edges show.
            const std::uint32_t edges = face.m_nCount == 2 ? 1 : face.m_nCount;
            const std::uint32_t lineRgb = filled ? ShadeColor(rgb, 0.55) : rgb;
            const double lift = filled ? edgeLift : 0;
            for (std::uint32_t k = 0; k < edges; ++k)
                image.DrawLine(vertex(first + k), vertex(first + (k + 1) % face.m_nCount), lineRgb,
                               lift);
        }
    }
    return image;
}

CStatus WritePngPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& path) {
    std::vector<std::uint32_t> pixels;
    {
        const CRasterImage image = RasterizeScene(scene, projected, options);
        pixels = image.Resolve(options.m_nBackgroundRgb, options.m_bTransparent);
    }
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, options.m_nWidth);
    if (stride != options.m_nWidth * 4)
        return CStatus::Failure("Cairo lays out rows in a way this program does not expect");
    const std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter> surface(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                            CAIRO_FORMAT_ARGB32, options.m_nWidth,
                                            options.m_nHeight, stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return CStatus::Failure(cairo_status_to_string(cairo_surface_status(surface.get())));
    {
        const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
        DrawLegend(cr.get(), scene, projected.m_layout);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return CStatus::Failure(cairo_status_to_string(cairo_status(cr.get())));
    }
    cairo_surface_flush(surface.get());

    CPngSink sink;
    if (CStatus opened = sink.m_file.Open(path); !opened)
        return opened;
    const cairo_status_t written =
        cairo_surface_write_to_png_stream(surface.get(), WritePngBytes, &sink);
    if (!sink.m_status)
        return sink.m_status;
    if (written != CAIRO_STATUS_SUCCESS)
        return CStatus::Failure(cairo_status_to_string(written));
    return sink.m_file.Commit();
}

CFontCacheRelease::~CFontCacheRelease() {
    cairo_debug_reset_static_data();
    FcFini();
}
