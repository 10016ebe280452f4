// make_prefs_icon SIZE OUT.png: the program's icon as a PNG file of SIZE x
// SIZE pixels, for the desktop entry. Run at build time; it draws the block
// of the dialog's own icon (prefs/block_shape.h) with Cairo, so the two
// never drift apart, and needs no display.
#include "prefs/block_shape.h"

#include "platform/replacing_file.h"

#include <cairo.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void SetRgb(cairo_t* cr, std::uint32_t rgb) {
    cairo_set_source_rgb(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

cairo_status_t WriteBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<CReplacingFile*>(closure);
    return file->Write(reinterpret_cast<const char*>(data), length) ? CAIRO_STATUS_SUCCESS
                                                                    : CAIRO_STATUS_WRITE_ERROR;
}

} // namespace

int main(int argc, char** argv) {
    int size = 0;
    if (argc != 3 ||
        std::from_chars(argv[1], argv[1] + std::strlen(argv[1]), size).ec != std::errc() ||
        size < 16 || size > 1024) {
        std::fputs("usage: make_prefs_icon SIZE(16..1024) OUT.png\n", stderr);
        return 2;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    // Hard edges, as the dialog's icon has them.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    SetRgb(cr, kIconBackground);
    cairo_paint(cr);
    // Outlines one pixel wide at 32 pixels, as thick again at 64, and so on.
    const double line = size < 64 ? 1.0 : size / 32.0;
    cairo_set_line_width(cr, line);
    for (const CBlockFace& face : IconBlockFaces(size)) {
        for (std::size_t i = 0; i < face.m_corners.size(); ++i)
            cairo_line_to(cr, face.m_corners[i][0] + 0.5, face.m_corners[i][1] + 0.5);
        cairo_close_path(cr);
        SetRgb(cr, face.m_nRgb);
        cairo_fill_preserve(cr);
        SetRgb(cr, kArtBlack);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);

    CReplacingFile file;
    CStatus status = file.Open(argv[2]);
    if (status &&
        cairo_surface_write_to_png_stream(surface, WriteBytes, &file) != CAIRO_STATUS_SUCCESS)
        status = CStatus::Failure("the PNG could not be written");
    if (status)
        status = file.Commit();
    cairo_surface_destroy(surface);
    cairo_debug_reset_static_data();
    if (!status) {
        std::fprintf(stderr, "make_prefs_icon: %s: %s\n", argv[2], status.GetReason().c_str());
        return 1;
    }
    return 0;
}
