#include "render/projected_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Newell's normal: sound for any planar polygon, convex or not, and zero for
// lines and points.
Vector3 FaceNormal(const CRenderScene& scene, const CRenderFace& face) {
    Vector3 normal{0, 0, 0};
    for (std::uint32_t k = 0; k < face.m_nCount; ++k) {
        const auto& a = scene.m_aPoint[scene.m_anCorner[face.m_nFirst + k]];
        const auto& b = scene.m_aPoint[scene.m_anCorner[face.m_nFirst + (k + 1) % face.m_nCount]];
        normal[0] += (static_cast<double>(a[1]) - b[1]) * (static_cast<double>(a[2]) + b[2]);
        normal[1] += (static_cast<double>(a[2]) - b[2]) * (static_cast<double>(a[0]) + b[0]);
        normal[2] += (static_cast<double>(a[0]) - b[0]) * (static_cast<double>(a[1]) + b[1]);
    }
    return normal;
}

// Drawn corners lie in the picture; a point no face draws may lie far outside,
// and a double beyond float's range must not be narrowed.
float Narrowed(double value) {
    constexpr double kLimit = 1e30;
    return static_cast<float>(std::clamp(value, -kLimit, kLimit));
}

} // namespace

CProjectedScene ProjectScene(const CRenderScene& scene, const CRenderOptions& options) {
    const CRenderView view(options.m_view);
    CProjectedScene out;
    const std::size_t pointCount = scene.m_aPoint.size();
    std::vector<double> x(pointCount), y(pointCount), depth(pointCount);
    std::vector<char> finite(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i) {
        view.Project(scene.m_aPoint[i], x[i], y[i], depth[i]);
        finite[i] = std::isfinite(x[i]) && std::isfinite(y[i]) && std::isfinite(depth[i]);
    }

    // Bounds over the corners that are drawn, not over every point of a file.
    double minX = std::numeric_limits<double>::infinity(), maxX = -minX;
    double minY = minX, maxY = -minX;
    out.m_anColor.resize(scene.m_faces.size());
    for (std::size_t f = 0; f < scene.m_faces.size(); ++f) {
        const CRenderFace& face = scene.m_faces[f];
        bool drawable = true;
        for (std::uint32_t k = 0; k < face.m_nCount; ++k)
            drawable = drawable && finite[scene.m_anCorner[face.m_nFirst + k]];
        if (!drawable) {
            out.m_anColor[f] = CProjectedScene::kUndrawable;
            ++out.m_nUndrawable;
            continue;
        }
        for (std::uint32_t k = 0; k < face.m_nCount; ++k) {
            const std::uint32_t i = scene.m_anCorner[face.m_nFirst + k];
            minX = std::min(minX, x[i]);
            maxX = std::max(maxX, x[i]);
            minY = std::min(minY, y[i]);
            maxY = std::max(maxY, y[i]);
        }
        const std::uint32_t rgb = scene.m_parts[face.m_nPart].m_nRgb;
        out.m_anColor[f] =
            options.m_bWire ? rgb : ShadeColor(rgb, view.Shade(FaceNormal(scene, face)));
    }

    out.m_layout = LayOutPicture(scene, options);
    const CPixelFit beside(minX, maxX, minY, maxY, out.m_layout.m_drawing);
    const CPixelFit under(minX, maxX, minY, maxY, out.m_layout.m_drawingOther);
    if (under.GetScale() > beside.GetScale())
        std::swap(out.m_layout.m_drawing, out.m_layout.m_drawingOther);
    const CPixelFit& fit = under.GetScale() > beside.GetScale() ? under : beside;
    out.m_depthScale = fit.GetScale();
    out.m_afX.resize(pointCount);
    out.m_afY.resize(pointCount);
    out.m_afDepth.resize(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i) {
        // Points outside every drawn face may lie anywhere; they are never used.
        out.m_afX[i] = finite[i] ? Narrowed(fit.PixelX(x[i])) : 0.0f;
        out.m_afY[i] = finite[i] ? Narrowed(fit.PixelY(y[i])) : 0.0f;
        out.m_afDepth[i] = finite[i] ? Narrowed(depth[i]) : 0.0f;
    }
    return out;
}
