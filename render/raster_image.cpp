#include "render/raster_image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The sample range [first, last] whose centres (i + 0.5) lie in [low, high],
// limited to [0, size - 1]; empty when first > last.
// (Clamped first, so the casts, which round towards zero, see values of at
// least -1: ceil is the cast plus one for a fraction, floor the cast minus one
// below zero.)
void SampleSpan(double low, double high, int size, int& first, int& last) {
    const double from = std::clamp(low - 0.5, -1.0, static_cast<double>(size));
    const double to = std::clamp(high - 0.5, -1.0, static_cast<double>(size));
    const int fromCast = static_cast<int>(from), toCast = static_cast<int>(to);
    first = std::max(0, fromCast + (from > fromCast ? 1 : 0));
    last = std::min(size - 1, toCast - (to < toCast ? 1 : 0));
}

CRasterVertex InSamples(const CRasterVertex& v) {
    return {v.m_x * kRasterSamples, v.m_y * kRasterSamples, v.m_depth};
}

double Cross(const CRasterVertex& o, const CRasterVertex& a, const CRasterVertex& b) {
    return (a.m_x - o.m_x) * (b.m_y - o.m_y) - (a.m_y - o.m_y) * (b.m_x - o.m_x);
}

// Whether the polygon is convex and goes round once: every turn the same way,
// and its edges' x and y directions each change sign at most twice (a star's
// turns all agree too, but its directions change more often).
bool IsConvex(const std::vector<CRasterVertex>& corners) {
    const std::size_t n = corners.size();
    int turn = 0, xChanges = 0, yChanges = 0;
    double lastDx = 0, lastDy = 0, firstDx = 0, firstDy = 0;
    const auto sign = [](double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
    const auto count = [&](double d, double& last, double& first, int& changes) {
        if (d == 0)
            return;
        if (last != 0 && sign(d) != sign(last))
            ++changes;
        if (first == 0)
            first = d;
        last = d;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const CRasterVertex& a = corners[i];
        const CRasterVertex& b = corners[(i + 1) % n];
        const CRasterVertex& c = corners[(i + 2) % n];
        const int s = sign(Cross(a, b, c));
        if (s != 0) {
            if (turn != 0 && s != turn)
                return false;
            turn = s;
        }
        count(b.m_x - a.m_x, lastDx, firstDx, xChanges);
        count(b.m_y - a.m_y, lastDy, firstDy, yChanges);
    }
    // The change from the last edge back to the first.
    xChanges += lastDx != 0 && firstDx != 0 && sign(lastDx) != sign(firstDx);
    yChanges += lastDy != 0 && firstDy != 0 && sign(lastDy) != sign(firstDy);
    return xChanges <= 2 && yChanges <= 2;
}

} // namespace

bool CPlaneDepth::Fit(const CRasterVertex* corners, std::size_t n) {
    // Newell's normal, sound for a concave polygon too; depth follows the
    // plane, kept within the corners' depths for a bent polygon.
    double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
    m_low = m_high = corners[0].m_depth;
    for (std::size_t i = 0; i < n; ++i) {
        const CRasterVertex& a = corners[i];
        const CRasterVertex& b = corners[i + 1 == n ? 0 : i + 1];
        nx += (a.m_y - b.m_y) * (a.m_depth + b.m_depth);
        ny += (a.m_depth - b.m_depth) * (a.m_x + b.m_x);
        nz += (a.m_x - b.m_x) * (a.m_y + b.m_y);
        cx += a.m_x;
        cy += a.m_y;
        cz += a.m_depth;
        m_low = std::min(m_low, a.m_depth);
        m_high = std::max(m_high, a.m_depth);
    }
    // Twice the area on screen, in samples: below a millionth, edge-on.
    if (!(std::fabs(nz) > 1e-6))
        return false;
    const double count = static_cast<double>(n);
    m_slopeX = -nx / nz;
    m_slopeY = -ny / nz;
    m_x = cx / count;
    m_y = cy / count;
    m_depth = cz / count;
    return std::isfinite(m_slopeX) && std::isfinite(m_slopeY);
}

CRasterImage::CRasterImage(int width, int height)
    : m_nWidth(width), m_nHeight(height), m_nSampleWidth(width * kRasterSamples),
      m_nSampleHeight(height * kRasterSamples),
      m_anSample(
          static_cast<std::size_t>(m_nSampleWidth) * static_cast<std::size_t>(m_nSampleHeight), 0),
      m_afDepth(m_anSample.size(), -std::numeric_limits<float>::infinity()) {}

void CRasterImage::Plot(int x, int y, double depth, std::uint32_t argb) {
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nSampleWidth) +
                           static_cast<std::size_t>(x);
    const auto value = static_cast<float>(depth);
    if (value >= m_afDepth[at]) {
        m_afDepth[at] = value;
        m_anSample[at] = argb;
    }
}

void CRasterImage::FillTriangle(CRasterVertex a, CRasterVertex b, CRasterVertex c,
                                std::uint32_t rgb) {
    const CRasterVertex corners[3] = {InSamples(a), InSamples(b), InSamples(c)};
    FillConvex(corners, 3, kOpaque | rgb);
}

void CRasterImage::FillConvex(const CRasterVertex* corners, std::size_t n, std::uint32_t argb) {
    CPlaneDepth plane;
    if (!plane.Fit(corners, n))
        return; // seen edge-on: nothing to fill (its edges belong to its neighbours)
    double minY = corners[0].m_y, maxY = minY;
    for (std::size_t i = 1; i < n; ++i) {
        minY = std::min(minY, corners[i].m_y);
        maxY = std::max(maxY, corners[i].m_y);
    }
    int firstY = 0, lastY = 0;
    SampleSpan(minY, maxY, m_nSampleHeight, firstY, lastY);
    // Each edge's x per step down, worked out once.
    constexpr std::size_t kKept = 8;
    double slopes[kKept];
    const bool kept = n <= kKept;
    for (std::size_t i = 0; kept && i < n; ++i) {
        const CRasterVertex& p = corners[i];
        const CRasterVertex& q = corners[i + 1 == n ? 0 : i + 1];
        slopes[i] = p.m_y != q.m_y ? (q.m_x - p.m_x) / (q.m_y - p.m_y) : 0;
    }
    for (int y = firstY; y <= lastY; ++y) {
        const double centreY = y + 0.5;
        // A convex outline crosses a row at most twice: the run between the
        // leftmost and the rightmost crossing is inside.
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (std::size_t i = 0; i < n; ++i) {
            const CRasterVertex& p = corners[i];
            const CRasterVertex& q = corners[i + 1 == n ? 0 : i + 1];
            if ((p.m_y <= centreY) == (q.m_y <= centreY))
                continue;
            const double slope = kept ? slopes[i] : (q.m_x - p.m_x) / (q.m_y - p.m_y);
            const double x = p.m_x + (centreY - p.m_y) * slope;
            low = std::min(low, x);
            high = std::max(high, x);
        }
        if (low <= high)
            PlotRun(y, low, high, plane, argb);
    }
}

void CRasterImage::PlotRun(int y, double low, double high, const CPlaneDepth& plane,
                           std::uint32_t argb) {
    int firstX = 0, lastX = 0;
    SampleSpan(low, high, m_nSampleWidth, firstX, lastX);
    if (firstX > lastX)
        return;
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nSampleWidth);
    std::uint32_t* samples = m_anSample.data() + row;
    float* depths = m_afDepth.data() + row;
    double depth = plane.At(firstX + 0.5, y + 0.5);
    const double last = depth + plane.m_slopeX * (lastX - firstX);
    // Depth is linear along the run: when both ends are within the corners'
    // depths, so is every sample between.
    const bool within =
        std::min(depth, last) >= plane.m_low && std::max(depth, last) <= plane.m_high;
    for (int x = firstX; x <= lastX; ++x, depth += plane.m_slopeX) {
        const auto value =
            static_cast<float>(within ? depth : std::clamp(depth, plane.m_low, plane.m_high));
        if (value >= depths[x]) {
            depths[x] = value;
            samples[x] = argb;
        }
    }
}

void CRasterImage::FillPolygon(const std::vector<CRasterVertex>& corners, std::uint32_t rgb) {
    if (corners.size() < 3)
        return;
    std::vector<CRasterVertex>& samples = m_aScratch;
    samples.resize(corners.size());
    std::transform(corners.begin(), corners.end(), samples.begin(), InSamples);
    if (corners.size() == 3 || IsConvex(corners)) {
        FillConvex(samples.data(), samples.size(), kOpaque | rgb);
        return;
    }
    if (corners.size() == 4) {
        // A quad with one corner turning against the others (a dart) is
        // exactly the fan from that corner; the common case of a concave
        // polygon in a mesh, so it skips the general fill.
        const double area =
            Cross(corners[0], corners[1], corners[2]) + Cross(corners[0], corners[2], corners[3]);
        int reflex = -1, reflexCount = 0;
        for (int k = 0; k < 4; ++k) {
            const double turn = Cross(corners[static_cast<std::size_t>((k + 3) % 4)],
                                      corners[static_cast<std::size_t>(k)],
                                      corners[static_cast<std::size_t>((k + 1) % 4)]);
            if (turn * area < 0) {
                reflex = k;
                ++reflexCount;
            }
        }
        if (reflexCount == 1) {
            const auto at = [&](int k) {
                return samples[static_cast<std::size_t>((reflex + k) % 4)];
            };
            const CRasterVertex first[3] = {at(0), at(1), at(2)}, second[3] = {at(0), at(2), at(3)};
            FillConvex(first, 3, kOpaque | rgb);
            FillConvex(second, 3, kOpaque | rgb);
            return;
        }
    }
    FillSpanningPolygon(samples, kOpaque | rgb);
}

void CRasterImage::FillSpanningPolygon(const std::vector<CRasterVertex>& corners,
                                       std::uint32_t argb) {
    CPlaneDepth plane;
    if (!plane.Fit(corners.data(), corners.size()))
        return;
    const std::size_t n = corners.size();
    double minY = corners[0].m_y, maxY = minY;
    for (const CRasterVertex& c : corners) {
        minY = std::min(minY, c.m_y);
        maxY = std::max(maxY, c.m_y);
    }
    int firstY = 0, lastY = 0;
    SampleSpan(minY, maxY, m_nSampleHeight, firstY, lastY);
    std::vector<double> crossings;
    for (int y = firstY; y <= lastY; ++y) {
        const double centreY = y + 0.5;
        crossings.clear();
        // Each edge holds its lower end and not its upper one, so a corner
        // on the row counts once or twice as the outline passes or turns.
        for (std::size_t i = 0; i < n; ++i) {
            const CRasterVertex& a = corners[i];
            const CRasterVertex& b = corners[(i + 1) % n];
            if ((a.m_y <= centreY) != (b.m_y <= centreY))
                crossings.push_back(a.m_x + (centreY - a.m_y) * (b.m_x - a.m_x) / (b.m_y - a.m_y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2)
            PlotRun(y, crossings[k], crossings[k + 1], plane, argb);
    }
}

void CRasterImage::DrawLine(CRasterVertex a, CRasterVertex b, std::uint32_t rgb, double depthBias) {
    a = InSamples(a);
    b = InSamples(b);
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
    if (!clip(-dx, a.m_x) || !clip(dx, m_nSampleWidth - a.m_x) || !clip(-dy, a.m_y) ||
        !clip(dy, m_nSampleHeight - a.m_y))
        return;
    const double dz = b.m_depth - a.m_depth;
    // Rounding of far-off ends can put the clipped ends a little outside.
    const auto inside = [&](double t) {
        return CRasterVertex{std::clamp(a.m_x + t * dx, 0.0, static_cast<double>(m_nSampleWidth)),
                             std::clamp(a.m_y + t * dy, 0.0, static_cast<double>(m_nSampleHeight)),
                             a.m_depth + t * dz + depthBias};
    };
    const CRasterVertex from = inside(t0);
    const CRasterVertex to = inside(t1);
    const double length = std::max(std::fabs(to.m_x - from.m_x), std::fabs(to.m_y - from.m_y));
    const int steps = static_cast<int>(std::ceil(length));
    // A pixel wide: as many samples across the line as a pixel has.
    const bool alongX = std::fabs(to.m_x - from.m_x) >= std::fabs(to.m_y - from.m_y);
    const std::uint32_t argb = kOpaque | rgb;
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0 : static_cast<double>(i) / steps;
        const int x = static_cast<int>(std::floor(from.m_x + t * (to.m_x - from.m_x)));
        const int y = static_cast<int>(std::floor(from.m_y + t * (to.m_y - from.m_y)));
        const double depth = from.m_depth + t * (to.m_depth - from.m_depth);
        for (int across = -(kRasterSamples / 2); across <= kRasterSamples / 2; ++across) {
            const int sx = alongX ? x : x + across;
            const int sy = alongX ? y + across : y;
            if (sx >= 0 && sx < m_nSampleWidth && sy >= 0 && sy < m_nSampleHeight)
                Plot(sx, sy, depth, argb);
        }
    }
}

std::vector<std::uint32_t> CRasterImage::Resolve(std::uint32_t backgroundRgb,
                                                 bool transparent) const {
    constexpr std::uint32_t kCount = kRasterSamples * kRasterSamples;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(m_nWidth) *
                                      static_cast<std::size_t>(m_nHeight));
    const std::uint32_t groundR = backgroundRgb >> 16 & 0xFF, groundG = backgroundRgb >> 8 & 0xFF,
                        groundB = backgroundRgb & 0xFF;
    for (int y = 0; y < m_nHeight; ++y) {
        for (int x = 0; x < m_nWidth; ++x) {
            std::uint32_t r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < kRasterSamples; ++sy) {
                const std::size_t row = static_cast<std::size_t>(y * kRasterSamples + sy) *
                                            static_cast<std::size_t>(m_nSampleWidth) +
                                        static_cast<std::size_t>(x) * kRasterSamples;
                for (int sx = 0; sx < kRasterSamples; ++sx) {
                    const std::uint32_t sample = m_anSample[row + static_cast<std::size_t>(sx)];
                    if (sample == 0)
                        continue;
                    ++covered;
                    r += sample >> 16 & 0xFF;
                    g += sample >> 8 & 0xFF;
                    b += sample & 0xFF;
                }
            }
            std::uint32_t alpha = 255;
            if (transparent) {
                alpha = (covered * 255 + kCount / 2) / kCount;
            } else {
                r += (kCount - covered) * groundR;
                g += (kCount - covered) * groundG;
                b += (kCount - covered) * groundB;
            }
            const auto mean = [](std::uint32_t sum) { return (sum + kCount / 2) / kCount; };
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                   static_cast<std::size_t>(x)] =
                alpha << 24 | mean(r) << 16 | mean(g) << 8 | mean(b);
        }
    }
    return pixels;
}
