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

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int kRasterSamples = 3;

struct CRasterVertex {
    double m_x;
    double m_y;
    double m_depth;
};

// The depth over a face's plane, in samples.
struct CPlaneDepth {
    // False for a face seen edge-on (no area on screen).
    bool Fit(const CRasterVertex* corners, std::size_t n);
    double At(double x, double y) const {
        return m_depth + m_slopeX * (x - m_x) + m_slopeY * (y - m_y);
    }

    double m_x = 0, m_y = 0, m_depth = 0;
    double m_slopeX = 0, m_slopeY = 0;
    double m_low = 0, m_high = 0; // the corners' depths
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
    // corners in samples.
    void FillConvex(const CRasterVertex* corners, std::size_t n, std::uint32_t argb);
    // The samples of row y whose centres lie in [low, high].
    void PlotRun(int y, double low, double high, const CPlaneDepth& plane, std::uint32_t argb);
    void FillSpanningPolygon(const std::vector<CRasterVertex>& corners, std::uint32_t argb);

    int m_nWidth;
    int m_nHeight;
    int m_nSampleWidth;
    int m_nSampleHeight;
    // 0 where nothing is drawn, else 0xFFRRGGBB.
    std::vector<std::uint32_t> m_anSample;
    std::vector<float> m_afDepth;
    std::vector<CRasterVertex> m_aScratch; // a polygon's corners in samples
};
