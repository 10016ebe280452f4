#include "render/raster_image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The pixel range [first, last] whose centres (i + 0.5) lie in [low, high],
// limited to [0, size - 1]; empty when first > last.
void PixelSpan(double low, double high, int size, int& first, int& last) {
    const double from = std::clamp(std::ceil(low - 0.5), -1.0, static_cast<double>(size));
    const double to = std::clamp(std::floor(high - 0.5), -1.0, static_cast<double>(size));
    first = std::max(0, static_cast<int>(from));
    last = std::min(size - 1, static_cast<int>(to));
}

} // namespace

CRasterImage::CRasterImage(int width, int height, std::uint32_t backgroundRgb)
    : m_nWidth(width), m_nHeight(height),
      m_anPixel(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                kOpaque | backgroundRgb),
      m_afDepth(m_anPixel.size(), -std::numeric_limits<float>::infinity()) {}

void CRasterImage::Plot(int x, int y, double depth, std::uint32_t argb) {
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                           static_cast<std::size_t>(x);
    const auto value = static_cast<float>(depth);
    if (value >= m_afDepth[at]) {
        m_afDepth[at] = value;
        m_anPixel[at] = argb;
    }
}

void CRasterImage::FillTriangle(CRasterVertex a, CRasterVertex b, CRasterVertex c,
                                std::uint32_t rgb) {
    double area = (b.m_x - a.m_x) * (c.m_y - a.m_y) - (b.m_y - a.m_y) * (c.m_x - a.m_x);
    // Seen edge-on: nothing to fill (its edges belong to its neighbours).
    if (!(std::fabs(area) > 1e-9))
        return;
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    int firstX = 0, lastX = 0, firstY = 0, lastY = 0;
    PixelSpan(std::min({a.m_x, b.m_x, c.m_x}), std::max({a.m_x, b.m_x, c.m_x}), m_nWidth, firstX,
              lastX);
    PixelSpan(std::min({a.m_y, b.m_y, c.m_y}), std::max({a.m_y, b.m_y, c.m_y}), m_nHeight, firstY,
              lastY);
    if (firstX > lastX || firstY > lastY)
        return;
    // Edge functions: each is a corner's weight times area, positive inside.
    // They change by a constant per pixel step, so each row adds, never multiplies.
    const auto edge = [](const CRasterVertex& from, const CRasterVertex& to, double x, double y) {
        return (to.m_x - from.m_x) * (y - from.m_y) - (to.m_y - from.m_y) * (x - from.m_x);
    };
    const double startX = firstX + 0.5;
    const std::uint32_t argb = kOpaque | rgb;
    for (int y = firstY; y <= lastY; ++y) {
        const double centreY = y + 0.5;
        double wa = edge(b, c, startX, centreY);
        double wb = edge(c, a, startX, centreY);
        double wc = edge(a, b, startX, centreY);
        const double stepA = -(c.m_y - b.m_y);
        const double stepB = -(a.m_y - c.m_y);
        const double stepC = -(b.m_y - a.m_y);
        for (int x = firstX; x <= lastX; ++x) {
            if (wa >= 0 && wb >= 0 && wc >= 0)
                Plot(x, y, (wa * a.m_depth + wb * b.m_depth + wc * c.m_depth) / area, argb);
            wa += stepA;
            wb += stepB;
            wc += stepC;
        }
    }
}

void CRasterImage::DrawLine(CRasterVertex a, CRasterVertex b, std::uint32_t rgb) {
    // Clip to the picture first (Liang-Barsky), so a line of any length costs
    // at most a picture's width plus height in steps.
    double t0 = 0, t1 = 1;
    const double dx = b.m_x - a.m_x, dy = b.m_y - a.m_y;
    const auto clip = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!clip(-dx, a.m_x) || !clip(dx, m_nWidth - a.m_x) || !clip(-dy, a.m_y) ||
        !clip(dy, m_nHeight - a.m_y))
        return;
    const double dz = b.m_depth - a.m_depth;
    // Rounding of far-off ends can put the clipped ends a little outside.
    const auto inside = [&](double t) {
        return CRasterVertex{std::clamp(a.m_x + t * dx, 0.0, static_cast<double>(m_nWidth)),
                             std::clamp(a.m_y + t * dy, 0.0, static_cast<double>(m_nHeight)),
                             a.m_depth + t * dz};
    };
    const CRasterVertex from = inside(t0);
    const CRasterVertex to = inside(t1);
    const double length = std::max(std::fabs(to.m_x - from.m_x), std::fabs(to.m_y - from.m_y));
    const int steps = static_cast<int>(std::ceil(length));
    const std::uint32_t argb = kOpaque | rgb;
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0 : static_cast<double>(i) / steps;
        const int x = static_cast<int>(std::floor(from.m_x + t * (to.m_x - from.m_x)));
        const int y = static_cast<int>(std::floor(from.m_y + t * (to.m_y - from.m_y)));
        if (x >= 0 && x < m_nWidth && y >= 0 && y < m_nHeight)
            Plot(x, y, from.m_depth + t * (to.m_depth - from.m_depth), argb);
    }
}
