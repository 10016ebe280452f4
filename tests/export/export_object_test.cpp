// ConvertScene and Dump: the scene in export form.
#include "export/export_object.h"

#include "tests/support/scene_parts.h"

#include <gtest/gtest.h>

namespace {

// The export object's point indices of a polygon's corners.
std::vector<int> CornerIndices(const CExportObject& object, int polygon) {
    std::vector<int> result;
    for (const CExportPoint* p : object.m_polygons[polygon]->m_points) {
        int found = -1;
        for (int i = 0; i < object.m_points.GetSize(); ++i)
            if (object.m_points[i] == p)
                found = i;
        result.push_back(found);
    }
    return result;
}

} // namespace

TEST(ExportObject, PositionIsAddedAndNoAxisSwapped) {
    CSceneDocument doc;
    AddPart(doc, "P", {{1, 2, 3}, {-1, 0.5, 7}}, {}, {10, 0, -5});
    CExportObject object;
    object.ConvertScene(doc);
    ASSERT_EQ(object.m_points.GetSize(), 2);
    EXPECT_EQ(object.m_points[0]->m_x, 11);
    EXPECT_EQ(object.m_points[0]->m_y, 2);
    EXPECT_EQ(object.m_points[0]->m_z, -2);
    EXPECT_EQ(object.m_points[1]->m_x, 9);
    EXPECT_EQ(object.m_points[1]->m_y, 0.5);
    EXPECT_EQ(object.m_points[1]->m_z, 2);
    // Points are converted though no polygon uses them, and the part still
    // gets its surface.
    EXPECT_EQ(object.m_surfaces.GetSize(), 1);
    EXPECT_EQ(object.m_surfaces[0]->m_strName, "P");
}

TEST(ExportObject, SecondPartIndicesAreOffsetByTheFirstPartsPoints) {
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
    AddPart(doc, "B", {{5, 0, 0}, {6, 0, 0}, {6, 1, 0}, {5, 1, 0}}, {{0, 1, 2, 3}, {3, 0, 1}});
    CExportObject object;
    object.ConvertScene(doc);
    EXPECT_EQ(object.m_points.GetSize(), 7);
    ASSERT_EQ(object.m_polygons.GetSize(), 3);
    ASSERT_EQ(object.m_surfaces.GetSize(), 2);
    EXPECT_EQ(CornerIndices(object, 0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CornerIndices(object, 1), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(CornerIndices(object, 2), (std::vector<int>{6, 3, 4}));
    EXPECT_EQ(object.m_polygons[0]->m_pSurface, object.m_surfaces[0]);
    EXPECT_EQ(object.m_polygons[1]->m_pSurface, object.m_surfaces[1]);
    EXPECT_EQ(object.m_polygons[2]->m_pSurface, object.m_surfaces[1]);
    EXPECT_EQ(object.m_points[3]->m_x, 5);
}

TEST(ExportObject, RepeatedAndManyCornersAreKept) {
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2, 1, 0}, {2, 2}, {}});
    CExportObject object;
    object.ConvertScene(doc);
    EXPECT_EQ(CornerIndices(object, 0), (std::vector<int>{0, 1, 2, 1, 0}));
    EXPECT_EQ(CornerIndices(object, 1), (std::vector<int>{2, 2}));
    EXPECT_TRUE(object.m_polygons[2]->m_points.empty());
}

TEST(ExportObject, CornersOutsideThePartAreLeftOut) {
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
    // Index 3 would be the first point of no part; -1 and 2^31-1 nothing.
    AddPart(doc, "B", {{5, 0, 0}, {6, 0, 0}}, {{0, 3, 1, -1, 2147483647}, {-2147483647 - 1}});
    CExportObject object;
    object.ConvertScene(doc);
    ASSERT_EQ(object.m_polygons.GetSize(), 3);
    EXPECT_EQ(CornerIndices(object, 1), (std::vector<int>{3, 4}));
    EXPECT_TRUE(object.m_polygons[2]->m_points.empty());
    EXPECT_EQ(object.m_polygons[2]->m_pSurface, object.m_surfaces[1]);
}

TEST(ExportObject, FlipReversesOnlySelectedPolygonsOrAllWhenNoneIsSelected) {
    for (int selected : {-1, 1}) {
        SCOPED_TRACE(selected);
        CSceneDocument doc;
        CScenePart* part = AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                   {{0, 1, 2}, {1, 2, 3}, {0, 1, 2, 3}});
        if (selected >= 0)
            part->m_polygons[selected]->m_bSelected = 1;
        CExportObject object;
        object.SetFlipPolygons(1);
        object.ConvertScene(doc);
        const bool all = selected < 0;
        EXPECT_EQ(CornerIndices(object, 0),
                  all ? (std::vector<int>{2, 1, 0}) : (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(CornerIndices(object, 1), (std::vector<int>{3, 2, 1}));
        EXPECT_EQ(CornerIndices(object, 2),
                  all ? (std::vector<int>{3, 2, 1, 0}) : (std::vector<int>{0, 1, 2, 3}));
        // The flip is done on the document itself.
        EXPECT_EQ(part->m_polygons[1]->m_indices, (std::vector<std::int32_t>{3, 2, 1}));
    }
}

TEST(ExportObject, FlipSwitchOnlyAtExactlyOne) {
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
    CExportObject object;
    object.SetFlipPolygons(2);
    object.ConvertScene(doc);
    EXPECT_EQ(CornerIndices(object, 0), (std::vector<int>{0, 1, 2}));
}

TEST(ExportObject, DumpListsPointsSurfacesAndPolygons) {
    CSceneDocument doc;
    AddPart(doc, "Roof 1", {{0, 0.5, 0}, {1, 0, -2}, {1, 2, 3}}, {{0, 1, 2}});
    CExportObject object;
    object.ConvertScene(doc);
    EXPECT_EQ(object.Dump(), "- Object - Points --------------\nPointCount: 3"
                             "\nPoint   | X: 0.000000 Y: 0.500000 Z: 0.000000"
                             "\nPoint   | X: 1.000000 Y: 0.000000 Z: -2.000000"
                             "\nPoint   | X: 1.000000 Y: 2.000000 Z: 3.000000"
                             "\n- Object - Points ----------END-"
                             "\n\n- Object - Surfaces --------------\nSurfacesCount: 1"
                             "\nSurface | Name: Roof 1"
                             "\n- Object - Surfaces ----------END-"
                             "\n\n- Object - Polygons --------------\nPolygonsCount: 1"
                             "\nPolygon | PointCount: 3"
                             "\nSurface | Name: Roof 1"
                             "\nPoint   | X: 0.000000 Y: 0.500000 Z: 0.000000"
                             "\nPoint   | X: 1.000000 Y: 0.000000 Z: -2.000000"
                             "\nPoint   | X: 1.000000 Y: 2.000000 Z: 3.000000"
                             "\nPolygon | END"
                             "\n- Object - Polygons ----------END-");
}
