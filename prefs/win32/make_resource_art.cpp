// make_resource_art ICON.ico LOGO.bmp: the Windows program's icon 128 (32 x 32
// and 16 x 16 pixels) and logo bitmap 129 (123 x 72 pixels), both with the
// 16 colours of the VGA palette, drawn from the shapes and colours the Linux
// program draws (prefs/block_shape.h). The Windows build compiles and runs it
// on the build machine, so it uses the standard library only: polygons are
// filled pixel by pixel and the texts come from a small pixel font, which
// makes the files the same on every machine.
#include "prefs/block_shape.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The VGA palette in its usual order: the palette index is the pixel value.
constexpr std::array<std::uint32_t, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

std::uint8_t PaletteIndex(std::uint32_t rgb) {
    const auto* found = std::find(kPalette.begin(), kPalette.end(), rgb);
    if (found == kPalette.end()) {
        std::fprintf(stderr, "make_resource_art: colour %06X is not in the VGA palette\n", rgb);
        std::exit(1);
    }
    return static_cast<std::uint8_t>(found - kPalette.begin());
}

class CImage {
  public:
    CImage(int width, int height, std::uint32_t background)
        : m_nWidth(width), m_nHeight(height),
          m_pixels(static_cast<std::size_t>(width * height), PaletteIndex(background)) {}

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    std::uint8_t At(int x, int y) const {
        return m_pixels[static_cast<std::size_t>(y * m_nWidth + x)];
    }

    void Set(int x, int y, std::uint32_t rgb) {
        if (x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight)
            m_pixels[static_cast<std::size_t>(y * m_nWidth + x)] = PaletteIndex(rgb);
    }

    // A convex face filled, then outlined in black, as the Linux dialog's
    // pen and brush draw it.
    void DrawFace(const CBlockFace& face) {
        for (int y = 0; y < m_nHeight; ++y)
            for (int x = 0; x < m_nWidth; ++x)
                if (IsInside(face, x, y))
                    Set(x, y, face.m_nRgb);
        for (std::size_t i = 0; i < face.m_corners.size(); ++i) {
            const auto& from = face.m_corners[i];
            const auto& to = face.m_corners[(i + 1) % face.m_corners.size()];
            DrawLine(from[0], from[1], to[0], to[1], kArtBlack);
        }
    }

  private:
    // On the inner side of every edge (corners go round one way).
    static bool IsInside(const CBlockFace& face, int x, int y) {
        int sign = 0;
        for (std::size_t i = 0; i < face.m_corners.size(); ++i) {
            const auto& a = face.m_corners[i];
            const auto& b = face.m_corners[(i + 1) % face.m_corners.size()];
            const long cross =
                long(b[0] - a[0]) * long(y - a[1]) - long(b[1] - a[1]) * long(x - a[0]);
            if (cross == 0)
                continue;
            const int side = cross > 0 ? 1 : -1;
            if (sign != 0 && side != sign)
                return false;
            sign = side;
        }
        return true;
    }

    void DrawLine(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
        const int dx = std::abs(x1 - x0);
        const int dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1;
        const int sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            Set(x0, y0, rgb);
            if (x0 == x1 && y0 == y1)
                return;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x0 += sx;
            }
            if (twice <= dx) {
                error += dx;
                y0 += sy;
            }
        }
    }

    int m_nWidth;
    int m_nHeight;
    std::vector<std::uint8_t> m_pixels;
};

// Glyphs of 5 x 9 pixels: capitals on rows 0 to 6, small letters between
// rows 2 and 6 with descenders on 7 and 8.
struct CGlyph {
    char c;
    std::array<const char*, 9> rows;
};
constexpr std::array<CGlyph, 14> kFont{{
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", ".....", "....."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####.", ".....", "....."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", ".....", "....."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", ".....", "....."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'-', {".....", ".....", ".....", ".....", ".###.", ".....", ".....", ".....", "....."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", ".....", ".....", "....."}},
}};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphGap = 1;

const CGlyph& Glyph(char c) {
    for (const CGlyph& glyph : kFont)
        if (glyph.c == c)
            return glyph;
    std::fprintf(stderr, "make_resource_art: no glyph for '%c'\n", c);
    std::exit(1);
}

// The text at the largest whole scale that fits its area, at the area's
// left and centred between its top and bottom (as the Linux logo does with
// fonts). Capitals-only texts have no descender rows.
void DrawText(CImage& image, const CArtText& art) {
    const std::string text = art.m_szText;
    const bool capitals =
        std::none_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    const int rows = capitals ? 7 : 9;
    const int columns = static_cast<int>(text.size()) * (kGlyphWidth + kGlyphGap) - kGlyphGap;
    int scale = 1;
    while ((scale + 1) * columns <= art.m_nWidth && (scale + 1) * rows <= art.m_nHeight)
        ++scale;
    const int top = art.m_nY + (art.m_nHeight - scale * rows) / 2;
    int left = art.m_nX;
    for (char c : text) {
        const CGlyph& glyph = Glyph(c);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < kGlyphWidth; ++column)
                if (glyph.rows[static_cast<std::size_t>(row)][column] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            image.Set(left + column * scale + dx, top + row * scale + dy,
                                      art.m_nRgb);
        left += (kGlyphWidth + kGlyphGap) * scale;
    }
}

void Put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

int RowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// BITMAPINFOHEADER, the 16-entry palette and the 4-bit pixels bottom-up;
// an icon's header counts its AND mask in the height.
std::string DeviceIndependentBitmap(const CImage& image, int headerHeight, int extraBytes) {
    const int rowBytes = RowBytes(image.Width(), 4);
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.Width()));
    Put32(out, static_cast<std::uint32_t>(headerHeight));
    Put16(out, 1); // planes
    Put16(out, 4); // bits per pixel
    Put32(out, 0); // BI_RGB
    Put32(out, static_cast<std::uint32_t>(rowBytes * image.Height() + extraBytes));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16); // colours used
    Put32(out, 0);
    for (std::uint32_t rgb : kPalette)
        Put32(out, rgb); // stored blue, green, red, 0: the same bytes, little-endian
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(rowBytes), '\0');
        for (int x = 0; x < image.Width(); ++x)
            row[static_cast<std::size_t>(x / 2)] |=
                static_cast<char>(x % 2 == 0 ? image.At(x, y) << 4 : image.At(x, y));
        out += row;
    }
    return out;
}

std::string BitmapFile(const CImage& image) {
    const std::string dib = DeviceIndependentBitmap(image, image.Height(), 0);
    constexpr int kFileHeader = 14;
    constexpr int kPixelOffset = kFileHeader + 40 + 16 * 4;
    std::string out = "BM";
    Put32(out, static_cast<std::uint32_t>(kFileHeader + dib.size()));
    Put32(out, 0);
    Put32(out, kPixelOffset);
    return out + dib;
}

// An icon file of square images, each opaque (its AND mask all zero).
std::string IconFile(const std::vector<CImage>& images) {
    std::vector<std::string> entries;
    for (const CImage& image : images) {
        const int maskBytes = RowBytes(image.Width(), 1) * image.Height();
        entries.push_back(DeviceIndependentBitmap(image, 2 * image.Height(), maskBytes) +
                          std::string(static_cast<std::size_t>(maskBytes), '\0'));
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 1); // an icon
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<char>(images[i].Width()));
        out.push_back(static_cast<char>(images[i].Height()));
        out.push_back(16); // colours
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 4);
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const std::string& entry : entries)
        out += entry;
    return out;
}

CImage Icon(int size) {
    CImage image(size, size, kIconBackground);
    for (const CBlockFace& face : IconBlockFaces(size))
        image.DrawFace(face);
    return image;
}

CImage Logo() {
    CImage image(kLogoWidth, kLogoHeight, kLogoBackground);
    for (const CBlockFace& face : LogoBlockFaces())
        image.DrawFace(face);
    DrawText(image, kLogoTitle);
    DrawText(image, kLogoSubtitle);
    return image;
}

bool WriteFile(const char* path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_resource_art: %s could not be written\n", path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make_resource_art ICON.ico LOGO.bmp\n", stderr);
        return 2;
    }
    const bool written = WriteFile(argv[1], IconFile({Icon(32), Icon(16)})) &&
                         WriteFile(argv[2], BitmapFile(Logo()));
    return written ? 0 : 1;
}
