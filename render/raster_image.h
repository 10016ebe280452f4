// CRasterImage: a supersampled picture with a depth buffer, into which faces
// and lines are drawn so that the nearest thing at a sample is what shows,
// whatever order they come in. Each pixel holds kRasterSamples x kRasterSamples
// samples; Resolve averages them (a box filter) over the background, so edges
// come out anti-aliased.
//
// Coordinates are pixels (x right, y down), samples taken at their centres
// inside each pixel; depth grows towards the viewer. Everything is clipped to
// the picture, so any finite coordinates may be given.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int kRasterSamples = 3;

struct CRasterVertex {
    double m_x;
    double m_y;
    double m_depth;
};

class CRasterImage {
  public:
    CRasterImage(int width, int height);

    void FillTriangle(CRasterVertex a, CRasterVertex b, CRasterVertex c, std::uint32_t rgb);
    // Any polygon, filled exactly: a convex one as a fan, any other by the
    // even-odd rule over its plane (a concave corner's notch stays empty).
    void FillPolygon(const std::vector<CRasterVertex>& corners, std::uint32_t rgb);
    // A line about one pixel wide; a line from a point to itself is a dot.
    // depthBias is added to its depth, so an outline shows over its own face.
    void DrawLine(CRasterVertex a, CRasterVertex b, std::uint32_t rgb, double depthBias = 0);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // Pixels in the layout of Cairo's ARGB32 image surface (alpha-premultiplied
    // 0xAARRGGBB words): the samples' mean over backgroundRgb, or, when
    // transparent, over nothing (alpha the share of samples covered).
    std::vector<std::uint32_t> Resolve(std::uint32_t backgroundRgb, bool transparent) const;

  private:
    void Plot(int x, int y, double depth, std::uint32_t argb);
    void FillSpanningPolygon(const std::vector<CRasterVertex>& corners, std::uint32_t argb);

    int m_nWidth;
    int m_nHeight;
    int m_nSampleWidth;
    int m_nSampleHeight;
    // 0 where nothing is drawn, else 0xFFRRGGBB.
    std::vector<std::uint32_t> m_anSample;
    std::vector<float> m_afDepth;
};
