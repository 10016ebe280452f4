#include "export/export_object.h"

#include "export/dxf_text.h"

#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include <cstddef>

void CExportObject::ConvertScene(CSceneDocument& document) {
    for (int p = 0; p < document.m_parts.GetSize(); ++p) {
        CScenePart* part = document.m_parts[p];
        if (part == nullptr)
            continue;
        CExportSurface* surface = m_surfaces[m_surfaces.Add(new CExportSurface(part->m_strName))];
        const int base = m_points.GetSize();

        // The flip changes the caller's document before anything is copied.
        if (m_bFlipPolygons == 1)
            part->FlipPolygons();

        const int pointCount = part->m_points.GetSize();
        m_points.Reserve(static_cast<std::size_t>(base + pointCount));
        m_polygons.Reserve(
            static_cast<std::size_t>(m_polygons.GetSize() + part->m_polygons.GetSize()));
        // Only the position is applied: the y/z exchange belongs to the writer.
        for (int i = 0; i < pointCount; ++i) {
            const CScenePoint placed = GetPlacedPoint(*part, i);
            m_points.Emplace(placed.m_x, placed.m_y, placed.m_z);
        }

        for (int i = 0; i < part->m_polygons.GetSize(); ++i) {
            const CScenePolygon* scenePolygon = part->m_polygons[i];
            CExportPolygon* polygon = m_polygons.Emplace();
            polygon->m_pSurface = surface;
            if (scenePolygon == nullptr)
                continue;
            polygon->m_points.reserve(scenePolygon->m_indices.size());
            for (auto index : scenePolygon->m_indices) {
                // The exchange file is outside input: a corner that names no
                // point of its part is left out rather than read past the end.
                if (index < 0 || index >= pointCount)
                    continue;
                polygon->m_points.push_back(m_points[base + static_cast<int>(index)]);
            }
        }
    }
}

namespace {
// Built with append: g++ 12 at -O3 warns falsely (-Wrestrict) on
// "literal" + std::string chains.
void AppendPoint(std::string& text, const CExportPoint& point) {
    text.append("\nPoint   | X: ").append(FormatFixed(point.m_x));
    text.append(" Y: ").append(FormatFixed(point.m_y));
    text.append(" Z: ").append(FormatFixed(point.m_z));
}
void AppendSurface(std::string& text, const CExportSurface& surface) {
    text.append("\nSurface | Name: ").append(surface.m_strName);
}
} // namespace

std::string CExportObject::Dump() const {
    std::string text = "- Object - Points --------------\nPointCount: ";
    text.append(std::to_string(m_points.GetSize()));
    for (const auto& point : m_points)
        AppendPoint(text, *point);
    text.append("\n- Object - Points ----------END-\n\n- Object - Surfaces "
                "--------------\nSurfacesCount: ");
    text.append(std::to_string(m_surfaces.GetSize()));
    for (const auto& surface : m_surfaces)
        AppendSurface(text, *surface);
    text.append("\n- Object - Surfaces ----------END-\n\n- Object - Polygons "
                "--------------\nPolygonsCount: ");
    text.append(std::to_string(m_polygons.GetSize()));
    for (const auto& polygon : m_polygons) {
        text.append("\nPolygon | PointCount: ").append(std::to_string(polygon->m_points.size()));
        if (polygon->m_pSurface != nullptr)
            AppendSurface(text, *polygon->m_pSurface);
        for (const CExportPoint* point : polygon->m_points)
            AppendPoint(text, *point);
        text.append("\nPolygon | END");
    }
    text.append("\n- Object - Polygons ----------END-");
    return text;
}
