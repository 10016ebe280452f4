#include "support/scene_parts.h"

CScenePart* AddPart(CSceneDocument& doc, const std::string& name,
                    std::initializer_list<PointXyz> points,
                    std::initializer_list<std::vector<std::int32_t>> polygons, PointXyz position) {
    auto* part = new CScenePart;
    part->m_strName = name;
    part->m_transform.m_position.Set(position.x, position.y, position.z);
    for (const auto& p : points) {
        auto* point = new CScenePoint;
        point->Set(p.x, p.y, p.z);
        part->m_points.Add(point);
    }
    for (const auto& indices : polygons) {
        auto* polygon = new CScenePolygon;
        polygon->m_indices = indices;
        part->m_polygons.Add(polygon);
    }
    doc.m_parts.Add(part);
    return part;
}
