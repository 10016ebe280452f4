// Scene documents built in code for the export tests.
#pragma once

#include "scene_document.h"
#include "scene_part.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace exporttest {

struct PointXyz {
    double x, y, z;
};

// A part with the given points and polygons (corner indices taken as they
// are, unchecked, so tests can hand in damaged ones).
inline CScenePart* AddPart(CSceneDocument& doc, const std::string& name,
                           std::initializer_list<PointXyz> points,
                           std::initializer_list<std::vector<std::int32_t>> polygons,
                           PointXyz position = {0, 0, 0}) {
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

} // namespace exporttest
