// CRasterImage: a picture with a depth buffer, into which faces and lines are
// drawn so that the nearest thing at a pixel is what shows, whatever order
// they come in. Pixels are 0xFFRRGGBB words, the layout of Cairo's ARGB32
// image surface (opaque, so premultiplying changes nothing).
//
// Coordinates are pixels (x right, y down), sampled at pixel centres; depth
// grows towards the viewer. Everything is clipped to the picture, so any
// finite coordinates may be given.
#pragma once

#include <cstdint>
#include <vector>

struct CRasterVertex {
    double m_x;
    double m_y;
    double m_depth;
};

class CRasterImage {
  public:
    CRasterImage(int width, int height, std::uint32_t backgroundRgb);

    void FillTriangle(CRasterVertex a, CRasterVertex b, CRasterVertex c, std::uint32_t rgb);
    // A line one pixel wide; a line from a point to itself is that pixel.
    void DrawLine(CRasterVertex a, CRasterVertex b, std::uint32_t rgb);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    std::uint32_t* GetPixels() { return m_anPixel.data(); }
    std::uint32_t GetPixel(int x, int y) const {
        return m_anPixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                         static_cast<std::size_t>(x)];
    }

  private:
    void Plot(int x, int y, double depth, std::uint32_t argb);

    int m_nWidth;
    int m_nHeight;
    std::vector<std::uint32_t> m_anPixel;
    std::vector<float> m_afDepth;
};
