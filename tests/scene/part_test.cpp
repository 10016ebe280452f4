#include "scene/scene_part.h"

#include "tests/support/archive_bytes.h"
#include "tests/support/scene_parts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

void AddPoints(CScenePart& part, std::initializer_list<std::array<double, 3>> points) {
    for (const auto& p : points) {
        auto* point = new CScenePoint;
        point->Set(p[0], p[1], p[2]);
        part.AddPoint(point);
    }
}

CScenePolygon* AddPolygon(CScenePart& part, std::initializer_list<std::int32_t> corners) {
    auto* polygon = new CScenePolygon;
    for (std::int32_t c : corners)
        polygon->AddIndex(c);
    part.AddPolygon(polygon);
    return polygon;
}

std::vector<std::int32_t> Corners(const CScenePart& part, int i) {
    return part.m_polygons[i]->m_indices;
}

TEST(ScenePart, SquareCentreNormalAndFlip) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    CScenePolygon* square = AddPolygon(part, {0, 1, 2, 3});
    EXPECT_EQ(square->m_center.m_x, 0.5);
    EXPECT_EQ(square->m_center.m_y, 0.0);
    EXPECT_EQ(square->m_center.m_z, 0.5);
    EXPECT_EQ(square->m_dCenterDistance, std::sqrt(0.5 * 0.5 + 0.5 * 0.5));
    EXPECT_EQ(square->m_normal.m_dUnitX, 0.0);
    EXPECT_EQ(square->m_normal.m_dUnitY, 1.0);
    EXPECT_EQ(square->m_normal.m_dUnitZ, 0.0);
    part.FlipPolygons();
    EXPECT_EQ(square->m_indices, (std::vector<std::int32_t>{3, 2, 1, 0}));
    EXPECT_EQ(square->m_normal.m_dUnitY, -1.0);
    // Recomputing from the flipped corners agrees with the flip.
    part.UpdateGeometry();
    EXPECT_EQ(square->m_normal.m_dUnitY, -1.0);
    EXPECT_EQ(square->m_center.m_x, 0.5);
}

TEST(ScenePart, CentreFollowsTheFormulaBitForBit) {
    CScenePart part;
    AddPoints(part, {{0.1, 0.2, 0.3}, {0.7, 1e-9, 3.0}, {-2.5, 0.3, 0.1}});
    CScenePolygon* tri = AddPolygon(part, {0, 1, 2});
    const double mx = (0.0 + 0.1 + 0.7 + -2.5) / 3.0;
    const double my = (0.0 + 0.2 + 1e-9 + 0.3) / 3.0;
    const double mz = (0.0 + 0.3 + 3.0 + 0.1) / 3.0;
    EXPECT_EQ(tri->m_center.m_x, mx);
    EXPECT_EQ(tri->m_center.m_y, my);
    EXPECT_EQ(tri->m_center.m_z, mz);
    EXPECT_EQ(tri->m_dCenterDistance, std::sqrt(mx * mx + my * my + mz * mz));
}

TEST(ScenePart, PolygonWithoutCornersGetsTheOrigin) {
    CScenePart part;
    AddPoints(part, {{5, 5, 5}});
    CScenePolygon* empty = AddPolygon(part, {});
    empty->m_center.Set(9, 9, 9);
    empty->m_dCenterDistance = 9;
    part.UpdateGeometry();
    EXPECT_EQ(empty->m_center.m_x, 0.0);
    EXPECT_EQ(empty->m_center.m_z, 0.0);
    EXPECT_EQ(empty->m_dCenterDistance, 0.0);
    EXPECT_EQ(empty->m_normal.m_dLength, 0.0);
    EXPECT_FALSE(std::isnan(empty->m_center.m_y));
}

TEST(ScenePart, CornersOutsideThePointListCountAsTheOrigin) {
    CScenePart part;
    AddPoints(part, {{2, 0, 0}, {0, 0, 2}});
    CScenePolygon* bad = AddPolygon(part, {0, 1, 7, -3});
    EXPECT_EQ(bad->m_center.m_x, 0.5);
    EXPECT_EQ(bad->m_center.m_z, 0.5);
    EXPECT_EQ(part.IsPolygonConcave(0), 0);
}

TEST(ScenePart, ConcavityExamples) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}, {1, 0, 2}, {0, 0, 2}});
    AddPolygon(part, {0, 1, 2, 3, 4, 5}); // L-shaped hexagon
    EXPECT_EQ(part.IsPolygonConcave(0), 1);

    CScenePart regular;
    for (int k = 0; k < 6; ++k) {
        auto* p = new CScenePoint;
        p->Set(std::cos(k * std::numbers::pi / 3), 0, std::sin(k * std::numbers::pi / 3));
        regular.AddPoint(p);
    }
    AddPolygon(regular, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(regular.IsPolygonConcave(0), 0);

    CScenePart small;
    AddPoints(small, {{0, 0, 0}, {2, 0, 0}, {1, 0, 1}, {1, 0, 0.2}});
    AddPolygon(small, {0, 1, 2});    // a triangle is never concave
    AddPolygon(small, {0, 1, 2, 2}); // nor a triangle written with four corners
    AddPolygon(small, {0, 3, 1, 2}); // a dart is
    EXPECT_EQ(small.IsPolygonConcave(0), 0);
    EXPECT_EQ(small.IsPolygonConcave(1), 0);
    EXPECT_EQ(small.IsPolygonConcave(2), 1);
}

TEST(ScenePart, RemovePointDropsItsPolygonsAndRenumbers) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 0, 0}, {4, 0, 0}, {3, 1, 0}});
    AddPolygon(part, {0, 1, 2});
    AddPolygon(part, {2, 1, 0});
    AddPolygon(part, {3, 4, 5});
    part.m_nCurPoint = 4;
    part.m_nCurPolygon = 2;
    part.RemovePoint(0);
    ASSERT_EQ(part.m_polygons.GetSize(), 1);
    EXPECT_EQ(Corners(part, 0), (std::vector<std::int32_t>{2, 3, 4}));
    EXPECT_EQ(part.m_points.GetSize(), 5);
    EXPECT_EQ(part.m_points[0]->m_x, 1.0);
    EXPECT_EQ(part.m_nCurPoint, 3);
    EXPECT_EQ(part.m_nCurPolygon, 0);
}

TEST(ScenePart, RemovePointAlsoDropsSelectedPolygons) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    AddPolygon(part, {1, 2, 3})->m_bSelected = 1;
    AddPolygon(part, {1, 3, 2});
    part.RemovePoint(0);
    ASSERT_EQ(part.m_polygons.GetSize(), 1);
    EXPECT_EQ(Corners(part, 0), (std::vector<std::int32_t>{0, 2, 1}));
}

TEST(ScenePart, RemovingPointZeroRepeatedlyEmptiesThePart) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    AddPolygon(part, {0, 1, 2});
    AddPolygon(part, {1, 3, 2});
    part.m_nCurPoint = 3;
    while (part.m_points.GetSize() > 0)
        part.RemovePoint(0);
    EXPECT_EQ(part.m_polygons.GetSize(), 0);
    EXPECT_EQ(part.m_nCurPoint, 0);
    EXPECT_EQ(part.m_nCurPolygon, 0);
}

TEST(ScenePart, RemoveUnreferencedPointsKeepsTheUsedOnes) {
    CScenePart part;
    for (int i = 0; i < 10; ++i)
        AddPoints(part, {{double(i), 0, 0}});
    AddPolygon(part, {2, 5, 7});
    part.RemoveUnreferencedPoints();
    ASSERT_EQ(part.m_points.GetSize(), 3);
    EXPECT_EQ(part.m_points[1]->m_x, 5.0);
    EXPECT_EQ(Corners(part, 0), (std::vector<std::int32_t>{0, 1, 2}));

    CScenePart bare;
    AddPoints(bare, {{1, 1, 1}, {2, 2, 2}});
    bare.RemoveUnreferencedPoints();
    EXPECT_EQ(bare.m_points.GetSize(), 0);
}

// The one-pass removal must match the point-by-point rule exactly, current
// point and selected polygons included, also for polygons without corners or
// with corners outside the list (the import relies on it for updated parts).
TEST(ScenePart, RemoveUnreferencedPointsMatchesPointByPointRemoval) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const int n = 1 + static_cast<int>(rng() % 12);
        const int polygons = static_cast<int>(rng() % 4);
        CScenePart fast, slow;
        for (int i = 0; i < n; ++i) {
            AddPoints(fast, {{double(i), 0, 0}});
            AddPoints(slow, {{double(i), 0, 0}});
        }
        for (int k = 0; k < polygons; ++k) {
            std::vector<std::int32_t> corners;
            const bool stray = rng() % 4 == 0;
            const int count = stray ? static_cast<int>(rng() % 4) : 3;
            for (int c = 0; c < count; ++c)
                corners.push_back(
                    stray ? static_cast<std::int32_t>(rng() % static_cast<unsigned>(n + 4)) - 2
                          : static_cast<std::int32_t>(rng() % static_cast<unsigned>(n)));
            const bool selected = rng() % 4 == 0;
            for (CScenePart* part : {&fast, &slow}) {
                auto* p = new CScenePolygon;
                p->m_indices = corners;
                p->m_bSelected = selected ? 1 : 0;
                part->AddPolygon(p);
            }
        }
        fast.m_nCurPoint = slow.m_nCurPoint =
            static_cast<std::int32_t>(rng() % static_cast<unsigned>(n + 2));
        fast.m_nCurPolygon = slow.m_nCurPolygon = static_cast<std::int32_t>(rng() % 5);

        fast.RemoveUnreferencedPoints();
        RemoveUnusedPointsOneByOne(slow);
        ExpectSameGeometry(fast, slow);
    }
}

// Emptying a part in one pass must leave what RemovePoint(0) once per point
// leaves: no points, the unselected polygons without a corner among them (no
// corners, or corners outside the list, lowered), and the current indices.
TEST(ScenePart, RemoveAllPointsMatchesRemovingPointZeroRepeatedly) {
    std::mt19937 rng(99);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const int n = static_cast<int>(rng() % 6);
        CScenePart fast, slow;
        for (int i = 0; i < n; ++i) {
            AddPoints(fast, {{double(i), 0, 0}});
            AddPoints(slow, {{double(i), 0, 0}});
        }
        const int polygons = static_cast<int>(rng() % 5);
        for (int k = 0; k < polygons; ++k) {
            std::vector<std::int32_t> corners;
            const int count = static_cast<int>(rng() % 4); // 0 to 3 corners
            for (int c = 0; c < count; ++c)                // some outside the list, some negative
                corners.push_back(static_cast<std::int32_t>(rng() % 12) - 2);
            const bool selected = rng() % 4 == 0;
            for (CScenePart* part : {&fast, &slow}) {
                auto* p = new CScenePolygon;
                p->m_indices = corners;
                p->m_bSelected = selected ? 1 : 0;
                part->AddPolygon(p);
            }
        }
        fast.m_nCurPoint = slow.m_nCurPoint = static_cast<std::int32_t>(rng() % 8) - 1;
        fast.m_nCurPolygon = slow.m_nCurPolygon = static_cast<std::int32_t>(rng() % 7) - 1;

        fast.RemoveAllPoints();
        for (int k = slow.m_points.GetSize(); k > 0; --k)
            slow.RemovePoint(0);
        EXPECT_EQ(fast.m_points.GetSize(), 0);
        ExpectSameGeometry(fast, slow);
    }
}

TEST(ScenePart, FlipPolygonsFlipsTheSelectionOrAll) {
    CScenePart part;
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    for (int i = 0; i < 5; ++i)
        AddPolygon(part, {0, 1, 2});
    part.m_polygons[3]->m_bSelected = 1;
    EXPECT_EQ(part.GetSelectedPolygonCount(), 1);
    part.FlipPolygons();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Corners(part, i), i == 3 ? (std::vector<std::int32_t>{2, 1, 0})
                                           : (std::vector<std::int32_t>{0, 1, 2}));
    part.m_polygons[3]->m_bSelected = 0;
    part.FlipPolygons();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Corners(part, i), i == 3 ? (std::vector<std::int32_t>{0, 1, 2})
                                           : (std::vector<std::int32_t>{2, 1, 0}));
}

TEST(ScenePart, NewPartRecordAndEmptyPointEntry) {
    CScenePart part;
    const ByteVector bytes = Stored(part);
    // "No Name" and "Always" are the only texts of a new part.
    EXPECT_EQ(bytes.size(), CScenePart::kMinRecordSize + 7 + 6);
    const ByteVector head = ByteBuilder()
                                .I32(0)
                                .Zeros(48)
                                .I32(0)
                                .I32(0)
                                .I32(0)
                                .I32(0)
                                .D(0)
                                .S("No Name")
                                .S("")
                                .I32(0)
                                .Bytes();
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    // The last field is attr18 = 1.
    EXPECT_EQ(ByteVector(bytes.end() - 4, bytes.end()), Hex("01 00 00 00"));

    CScenePart withHole;
    withHole.m_points.Add(static_cast<CScenePoint*>(nullptr));
    const ByteVector holeBytes = Stored(withHole);
    CScenePart loaded;
    LoadFrom(loaded, holeBytes);
    ASSERT_EQ(loaded.m_points.GetSize(), 1);
    EXPECT_EQ(Stored(*loaded.m_points[0]), ByteVector(28, 0));
}

TEST(ScenePart, HostAttributesRoundTripAndLoadingRecomputesGeometry) {
    CScenePart part;
    part.m_wPartAttr1 = 1;
    part.m_nPartAttr2 = 2;
    part.m_dPartAttr7 = 7.5;
    part.m_wPartAttr16 = 0x1234;
    part.m_crColor = 0x00FF00;
    part.m_strCondition = "Never";
    part.m_nPartAttr25 = 25;
    part.m_nPartAttr32 = 32;
    part.m_dPartAttr33 = 33.25;
    part.m_nPartAttr18 = 18;
    part.m_materials[6].m_strText = "last";
    part.m_transform.m_position.Set(1, 2, 3);
    AddPoints(part, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    AddPolygon(part, {0, 1, 2});
    ByteVector bytes = Stored(part);
    CScenePart loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(Stored(loaded), bytes);
    EXPECT_EQ(loaded.m_strCondition, "Never");
    EXPECT_EQ(loaded.m_materials[6].m_strText, "last");
    EXPECT_EQ(loaded.m_polygons[0]->m_normal.m_dUnitY, 1.0);
}

TEST(ScenePart, HugeCountsInATinyRecordThrow) {
    CScenePart part;
    ByteVector bytes = Stored(part);
    // The point count follows the 41 fixed fields; claim 2^31-1 points.
    const std::size_t at = bytes.size() - 4 - 7 * CSceneMaterial::kMinRecordSize - 8;
    ASSERT_EQ(ByteVector(bytes.begin() + at, bytes.begin() + at + 8), ByteVector(8, 0));
    for (std::size_t which : {at, at + 4}) {
        ByteVector damaged = bytes;
        damaged[which] = damaged[which + 1] = damaged[which + 2] = 0xFF;
        damaged[which + 3] = 0x7F;
        CScenePart loaded;
        CArchive ar(damaged);
        EXPECT_THROW(loaded.Serialize(ar), CArchiveException);
    }
}

} // namespace
