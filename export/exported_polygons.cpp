#include "export/exported_polygons.h"

#include "scene/scene_document.h"
#include "scene/scene_part.h"

std::vector<CScenePart*> ExportedParts(CSceneDocument& document) {
    std::vector<CScenePart*> parts;
    for (const auto& part : document.m_parts)
        if (part != nullptr)
            parts.push_back(part.get());
    return parts;
}

CStatus VisitExportedPolygons(std::span<CScenePart* const> parts, int bFlipPolygons,
                              CExportPolygonVisitor& visitor) {
    std::vector<std::int32_t> corners;
    for (CScenePart* part : parts) {
        if (bFlipPolygons == 1)
            part->FlipPolygons();
        if (CStatus visited = visitor.VisitPart(*part); !visited)
            return visited;
        const int pointCount = part->m_points.GetSize();
        for (const auto& polygon : part->m_polygons) {
            corners.clear();
            if (polygon != nullptr)
                for (std::int32_t index : polygon->m_indices)
                    if (index >= 0 && index < pointCount)
                        corners.push_back(index);
            if (CStatus visited = visitor.VisitPolygon(*part, corners); !visited)
                return visited;
        }
    }
    return {};
}

CExportPoint ExportedPoint(const CScenePart& part, int index) {
    const CScenePoint placed = GetPlacedPoint(part, index);
    return {placed.m_x, placed.m_y, placed.m_z};
}
