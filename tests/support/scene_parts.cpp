#include "tests/support/scene_parts.h"

#include <gtest/gtest.h>

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

void RemoveUnusedPointsOneByOne(CScenePart& part) {
    for (int i = 0; i < part.m_points.GetSize();) {
        bool used = false;
        for (const auto& polygon : part.m_polygons)
            for (std::int32_t corner : polygon->m_indices)
                used = used || corner == i;
        if (used)
            ++i;
        else
            part.RemovePoint(i);
    }
}

void ExpectSameGeometry(const CScenePart& actual, const CScenePart& expected) {
    ASSERT_EQ(actual.m_points.GetSize(), expected.m_points.GetSize());
    for (int i = 0; i < expected.m_points.GetSize(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        EXPECT_EQ(actual.m_points[i]->m_x, expected.m_points[i]->m_x);
        EXPECT_EQ(actual.m_points[i]->m_y, expected.m_points[i]->m_y);
        EXPECT_EQ(actual.m_points[i]->m_z, expected.m_points[i]->m_z);
    }
    ASSERT_EQ(actual.m_polygons.GetSize(), expected.m_polygons.GetSize());
    for (int i = 0; i < expected.m_polygons.GetSize(); ++i) {
        SCOPED_TRACE("polygon " + std::to_string(i));
        EXPECT_EQ(actual.m_polygons[i]->m_indices, expected.m_polygons[i]->m_indices);
        EXPECT_EQ(actual.m_polygons[i]->m_bSelected, expected.m_polygons[i]->m_bSelected);
    }
    EXPECT_EQ(actual.m_nCurPoint, expected.m_nCurPoint);
    EXPECT_EQ(actual.m_nCurPolygon, expected.m_nCurPolygon);
}
