#include "render/render_scene.h"

#include "import/import_object.h"
#include "scene/scene_document.h"

#include <cmath>
#include <limits>

namespace {

// The colour CScenePart starts with, as a COLORREF (0x00BBGGRR).
constexpr std::int32_t kDefaultPartColor = 0x808080;

std::uint32_t RgbFromColorRef(std::int32_t colorRef) {
    const auto value = static_cast<std::uint32_t>(colorRef);
    return (value & 0xFFu) << 16 | (value & 0xFF00u) | (value >> 16 & 0xFFu);
}

float ToFloat(double value) {
    // Beyond float's range a point is unusable for drawing; the projection
    // skips polygons with a non-finite corner.
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        return std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace

std::uint32_t DistinctColor(std::size_t index) {
    // Hues a golden section apart never repeat and stay far from the last few.
    const double hue = std::fmod(0.58 + 0.6180339887498949 * static_cast<double>(index), 1.0) * 6;
    const double saturation = 0.6;
    const double value = 0.95;
    const double sector = std::floor(hue);
    const double f = hue - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    double r = value, g = t, b = p;
    switch (static_cast<int>(sector)) {
    case 1:
        r = q, g = value, b = p;
        break;
    case 2:
        r = p, g = value, b = t;
        break;
    case 3:
        r = p, g = q, b = value;
        break;
    case 4:
        r = t, g = p, b = value;
        break;
    case 5:
        r = value, g = p, b = q;
        break;
    default:
        break;
    }
    const auto byte = [](double c) { return static_cast<std::uint32_t>(std::lround(c * 255)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

void CRenderScene::AddDocument(const CSceneDocument& doc) {
    for (int j = 0; j < doc.GetPartCount(); ++j) {
        const CScenePart& part = *doc.m_parts[j];
        CRenderPart rendered;
        rendered.m_strName = part.m_strName;
        rendered.m_nRgb = part.m_crColor == kDefaultPartColor ? DistinctColor(m_parts.size())
                                                              : RgbFromColorRef(part.m_crColor);
        const auto partIndex = static_cast<std::uint32_t>(m_parts.size());
        const std::size_t base = m_aPoint.size();
        const int pointCount = part.m_points.GetSize();
        for (int k = 0; k < pointCount; ++k) {
            const CScenePoint placed = GetPlacedPoint(part, k);
            m_aPoint.push_back({ToFloat(placed.m_x), ToFloat(placed.m_y), ToFloat(placed.m_z)});
        }
        for (int i = 0; i < part.m_polygons.GetSize(); ++i) {
            const CScenePolygon& polygon = *part.m_polygons[i];
            bool whole = true;
            for (const std::int32_t index : polygon.m_indices)
                whole = whole && index >= 0 && index < pointCount;
            if (!whole) {
                ++m_nBrokenPolygons;
                continue;
            }
            m_faces.push_back({m_anCorner.size(),
                               static_cast<std::uint32_t>(polygon.m_indices.size()), partIndex});
            for (const std::int32_t index : polygon.m_indices)
                m_anCorner.push_back(
                    static_cast<std::uint32_t>(base + static_cast<std::size_t>(index)));
            ++rendered.m_nPolygons;
        }
        m_parts.push_back(std::move(rendered));
    }
}

void CRenderScene::AddObject(const CImportObject& object, bool dxfAxes) {
    const std::size_t base = m_aPoint.size();
    const std::size_t firstPart = m_parts.size();
    for (const CImportPoint& p : object.GetPoints()) {
        // DXF's vertical axis is Z, the scene's is y: the import's mapping.
        if (dxfAxes)
            m_aPoint.push_back({p.m_fX, p.m_fZ, p.m_fY});
        else
            m_aPoint.push_back({p.m_fX, p.m_fY, p.m_fZ});
    }
    for (std::size_t k = 0; k < object.GetSurfaceCount(); ++k)
        m_parts.push_back({object.GetSurface(k).m_strName, DistinctColor(firstPart + k), 0});
    for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
        const CImportPolygon polygon = object.GetPolygon(i);
        // A polygon of no surface belongs to no part, as in the import.
        if (polygon.m_nSurface < 1 ||
            static_cast<std::size_t>(polygon.m_nSurface) > object.GetSurfaceCount())
            continue;
        const std::size_t part = firstPart + static_cast<std::size_t>(polygon.m_nSurface) - 1;
        m_faces.push_back({m_anCorner.size(), static_cast<std::uint32_t>(polygon.m_anIndex.size()),
                           static_cast<std::uint32_t>(part)});
        for (const std::int32_t index : polygon.m_anIndex)
            m_anCorner.push_back(
                static_cast<std::uint32_t>(base + static_cast<std::size_t>(index)));
        ++m_parts[part].m_nPolygons;
    }
}
