#include "scene/scene_material.h"
#include "scene/scene_normal.h"
#include "scene/scene_point.h"
#include "scene/scene_polygon.h"
#include "scene/scene_transform.h"

#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

namespace {

const ByteVector kNewMaterial = Hex("00 00 00 00  00 00 00 00  FF 00 00 00  FF 00 00 00"
                                    "  00"
                                    "  00 00 00 00  00 00  00 00 00 00"
                                    "  00 01 00 00  00 01 00 00"
                                    "  00 00  00 00  00 00  00 00"
                                    "  01 00 00 00  01 00");

TEST(ScenePoint, NewPointIs28ZeroBytes) {
    CScenePoint point;
    EXPECT_EQ(Stored(point), ByteVector(28, 0));
}

TEST(ScenePoint, RecordIsTagXYZAndSetKeepsTagAndMark) {
    CScenePoint point;
    point.m_nTag = -1;
    point.m_nMark = 5;
    point.Set(1.0, 2.0, -0.5);
    EXPECT_EQ(point.m_nMark, 5);
    EXPECT_EQ(point.m_nTag, -1);
    const ByteVector bytes = Stored(point);
    EXPECT_EQ(bytes, ByteBuilder().I32(-1).D(1.0).D(2.0).D(-0.5).Bytes());
    CScenePoint loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.m_x, 1.0);
    EXPECT_EQ(loaded.m_y, 2.0);
    EXPECT_EQ(loaded.m_z, -0.5);
    EXPECT_EQ(loaded.m_nTag, -1);
    EXPECT_EQ(loaded.m_nMark, 0); // not stored
}

TEST(SceneNormal, SetNormalisesWithOneReciprocal) {
    CSceneNormal normal;
    normal.Set(3, 4, 0);
    EXPECT_EQ(normal.m_dLength, 5.0);
    // r = 1/5, then r*3: not the 0.6 of a division.
    EXPECT_EQ(normal.m_dUnitX, 0.6000000000000001);
    EXPECT_EQ(normal.m_dUnitY, 0.8);
    EXPECT_EQ(normal.m_dUnitZ, 0.0);
    EXPECT_EQ(normal.m_dX, 3.0);
}

TEST(SceneNormal, ZeroVectorKeepsTheOldUnitNormal) {
    CSceneNormal normal;
    normal.Set(0, 2, 0);
    normal.Set(0, 0, 0);
    EXPECT_EQ(normal.m_dLength, 0.0);
    EXPECT_EQ(normal.m_dUnitX, 0.0);
    EXPECT_EQ(normal.m_dUnitY, 1.0);
    EXPECT_EQ(normal.m_dUnitZ, 0.0);
}

TEST(SceneNormal, RecordOrderIsLengthUnitThenRaw) {
    CSceneNormal normal;
    normal.m_dLength = 1;
    normal.m_dUnitX = 2;
    normal.m_dUnitY = 3;
    normal.m_dUnitZ = 4;
    normal.m_dX = 5;
    normal.m_dY = 6;
    normal.m_dZ = 7;
    const ByteVector bytes = Stored(normal);
    EXPECT_EQ(bytes, ByteBuilder().D(1).D(2).D(3).D(4).D(5).D(6).D(7).Bytes());
    CSceneNormal loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.m_dLength, 1); // loading recomputes nothing
    EXPECT_EQ(loaded.m_dZ, 7);
}

TEST(SceneMaterial, NewMaterialGoldenBytes) {
    CSceneMaterial material;
    EXPECT_EQ(Stored(material), kNewMaterial);
}

TEST(SceneMaterial, EveryFieldRoundTripsInItsPlace) {
    CSceneMaterial m;
    m.m_nRect = {-1, 2, 3, 4};
    m.m_strText = "tex";
    m.m_nMatAttr4 = 44;
    m.m_wMatAttr8 = 8;
    m.m_nMatAttr3 = 33;
    m.m_nSize = {64, 32};
    m.m_wMatAttr2 = 2;
    m.m_wMatAttr5 = 5;
    m.m_wMatAttr6 = 6;
    m.m_wMatAttr7 = 7;
    m.m_nMatAttr1 = 11;
    m.m_wMode = 0xABCD;
    const ByteVector bytes = Stored(m);
    EXPECT_EQ(bytes, ByteBuilder()
                         .I32(-1)
                         .I32(2)
                         .I32(3)
                         .I32(4)
                         .S("tex")
                         .I32(44)
                         .W(8)
                         .I32(33)
                         .I32(64)
                         .I32(32)
                         .W(2)
                         .W(5)
                         .W(6)
                         .W(7)
                         .I32(11)
                         .W(0xABCD)
                         .Bytes());
    CSceneMaterial loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(Stored(loaded), bytes);
}

TEST(SceneTransform, RecordIsPositionThenValues) {
    CSceneTransform t;
    t.m_position.Set(1, 2, 3);
    t.m_position.m_nTag = 99; // not stored
    t.m_dValue1 = 4;
    t.m_dValue2 = 5;
    t.m_dValue3 = 6;
    const ByteVector bytes = Stored(t);
    EXPECT_EQ(bytes, ByteBuilder().D(1).D(2).D(3).D(4).D(5).D(6).Bytes());
    CSceneTransform loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.m_position.m_z, 3);
    EXPECT_EQ(loaded.m_position.m_nTag, 0);
    EXPECT_EQ(loaded.m_dValue3, 6);
}

TEST(ScenePolygon, NewTriangleGoldenBytes) {
    CScenePolygon polygon;
    polygon.AddIndex(0);
    polygon.AddIndex(1);
    polygon.AddIndex(2);
    const ByteVector expected = ByteBuilder()
                                    .Zeros(28)     // centre
                                    .W(2)          // colour index
                                    .I32(0x808080) // colour
                                    .I32(0)        // attr4
                                    .D(0)          // centre distance
                                    .I32(0)        // attr2
                                    .I32(1)        // attr1
                                    .I32(3)
                                    .I32(0)
                                    .I32(1)
                                    .I32(2)
                                    .I32(0)    // selected
                                    .Zeros(56) // normal
                                    .Raw(kNewMaterial)
                                    .I32(1) // attr5 | attr6 << 16
                                    .I32(0) // pairs
                                    .I32(0) // attr3
                                    .Bytes();
    EXPECT_EQ(Stored(polygon), expected);
    CScenePolygon empty;
    EXPECT_EQ(Stored(empty).size(), CScenePolygon::kMinRecordSize);
}

TEST(ScenePolygon, PackedAttributesKeepTheirQuirks) {
    CScenePolygon polygon;
    polygon.m_nPolyAttr5 = 0x12345; // not masked: bit 16 lands in the high half
    polygon.m_nPolyAttr6 = 2;
    ByteVector bytes = Stored(polygon);
    const std::size_t at = bytes.size() - 12;
    EXPECT_EQ(ByteVector(bytes.begin() + at, bytes.begin() + at + 4), Hex("45 23 03 00"));

    bytes[at] = 0x01;
    bytes[at + 1] = 0x80;
    bytes[at + 2] = 0xFF;
    bytes[at + 3] = 0xFF;
    CScenePolygon loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.m_nPolyAttr5, 0x8001);
    EXPECT_EQ(loaded.m_nPolyAttr6, -1);
}

TEST(ScenePolygon, PairsAndIndicesRoundTrip) {
    CScenePolygon polygon;
    for (std::int32_t i : {5, -1, 70000})
        polygon.AddIndex(i);
    polygon.m_pairs.push_back({1, 2, 3, 4, 5, 6, 7, 8});
    polygon.m_pairs.push_back({0xFF, 0, 0, 0, 0, 0, 0, 0x80});
    polygon.m_nPolyAttr3 = 77;
    polygon.m_bSelected = 1;
    const ByteVector bytes = Stored(polygon);
    CScenePolygon loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.m_indices, polygon.m_indices);
    EXPECT_EQ(loaded.m_pairs, polygon.m_pairs);
    EXPECT_EQ(loaded.m_nPolyAttr3, 77);
    EXPECT_EQ(Stored(loaded), bytes);
}

TEST(ScenePolygon, EveryPrefixThrowsTheEndOfFileError) {
    CScenePolygon polygon;
    polygon.AddIndex(1);
    polygon.AddIndex(2);
    polygon.m_pairs.push_back({1, 2, 3, 4, 5, 6, 7, 8});
    polygon.m_material.m_strText = "stone";
    const ByteVector bytes = Stored(polygon);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const ByteVector prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        CScenePolygon loaded;
        CArchive ar(prefix);
        EXPECT_THROW(loaded.Serialize(ar), CArchiveException) << n;
    }
}

TEST(ScenePolygon, FlipReversesCornersAndNormal) {
    CScenePolygon polygon;
    for (std::int32_t i : {4, 7, 9, 2})
        polygon.AddIndex(i);
    polygon.m_normal.Set(1, -2, 3);
    CSceneNormal before = polygon.m_normal;
    polygon.Flip();
    EXPECT_EQ(polygon.m_indices, (std::vector<std::int32_t>{2, 9, 7, 4}));
    EXPECT_EQ(polygon.m_normal.m_dX, -1);
    EXPECT_EQ(polygon.m_normal.m_dUnitY, -before.m_dUnitY);
    EXPECT_EQ(polygon.m_normal.m_dLength, before.m_dLength);
    polygon.Flip();
    EXPECT_EQ(polygon.m_indices, (std::vector<std::int32_t>{4, 7, 9, 2}));
    EXPECT_EQ(Stored(polygon.m_normal), Stored(before));
}

} // namespace
