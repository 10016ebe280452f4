// The LWOB reader: chunk walk, records, detail polygons, damaged and hostile files.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <limits>

#include "tests/support/file_contents.h"
#include "tests/support/loaded_object.h"
#include "tests/support/lwo_bytes.h"
#include "tests/support/scratch_folder.h"

namespace {

// A quadrilateral on surface 2 over four points, surfaces Red and Blue.
ByteVector QuadObject() {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, 2);
    PutPolygon(polygons, {3, 2, 1}, 1);
    return Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})),
                 Chunk("SRFS", SurfaceNames({"Red", "Blue"})), Chunk("POLS", polygons)});
}

TEST(LwoReader, MinimalFileLoadsEmpty) {
    CImportObject object;
    EXPECT_EQ(LoadLwoBytes(object, Form({})), 4);
    EXPECT_EQ(object.m_nLoaded, 4);
    EXPECT_EQ(object.GetPointCount(), 0u);
    EXPECT_EQ(object.GetSurfaceCount(), 0u);
    EXPECT_EQ(object.GetPolygonCount(), 0u);
    EXPECT_TRUE(object.m_strError.empty());
}

TEST(LwoReader, BigEndianFloats) {
    // 3F 80 00 00, C0 20 00 00, 00 00 00 00: 1.0, -2.5, 0.0.
    ByteVector points = {0x3F, 0x80, 0, 0, 0xC0, 0x20, 0, 0, 0, 0, 0, 0};
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("PNTS", points)})), 0);
    ASSERT_EQ(object.GetPointCount(), 1u);
    EXPECT_EQ(object.GetPoint(0).m_fX, 1.0f);
    EXPECT_EQ(object.GetPoint(0).m_fY, -2.5f);
    EXPECT_EQ(object.GetPoint(0).m_fZ, 0.0f);
}

TEST(LwoReader, PointBytesBeyondWholePointsIgnored) {
    ByteVector points = Points({1, 2, 3});
    points.insert(points.end(), {1, 2, 3, 4, 5});
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("PNTS", points)})), 0);
    EXPECT_EQ(object.GetPointCount(), 1u);
}

TEST(LwoReader, SurfaceNamesWithAndWithoutPad) {
    // Red: 3 characters and the zero byte, no pad. Blue: 4, the zero and a pad byte.
    ByteVector names = {'R', 'e', 'd', 0, 'B', 'l', 'u', 'e', 0, 0};
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", names)})), 0);
    ASSERT_EQ(object.GetSurfaceCount(), 2u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Red");
    EXPECT_EQ(object.GetSurface(1).m_strName, "Blue");
}

TEST(LwoReader, NameCutOffByTheEndOfSrfsIsNoSurface) {
    ByteVector names = {'R', 'e', 'd', 0, 'B', 'l', 'u'};
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", names)})), 0);
    ASSERT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Red");
}

TEST(LwoReader, NonFinitePointsMakeTheFileDamaged) {
    for (std::uint32_t bits : {0x7F800000u, 0xFF800000u, 0x7FC00000u, 0x7F800001u}) {
        SCOPED_TRACE(bits);
        ByteVector points = Points({0, 0, 0, 1, 1});
        PutU32(points, bits);
        CImportObject object;
        EXPECT_EQ(
            LoadLwoBytes(object, Form({Chunk("PNTS", points), Chunk("SRFS", SurfaceNames({"A"}))})),
            0);
        EXPECT_EQ(object.m_strError, "damaged LWOB object: point 1 of the PNTS chunk at offset 12 "
                                     "is not a finite number (offset 32)");
        EXPECT_EQ(object.GetPointCount() + object.GetSurfaceCount(), 0u);
    }
}

TEST(LwoReader, QuadrilateralOnSurfaceTwoPrintsExactly) {
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, QuadObject()), 0);
    ASSERT_EQ(object.GetPolygonCount(), 2u);
    CImportPolygon quad = object.GetPolygon(0);
    EXPECT_EQ(quad.m_nCount, 4);
    EXPECT_EQ(quad.m_nSurface, 2);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(Printed(object), "X: 0.000000 Y: 0.000000 Z: 0.000000\n"
                               "X: 1.000000 Y: 0.000000 Z: 0.000000\n"
                               "X: 1.000000 Y: 1.000000 Z: 0.000000\n"
                               "X: 0.000000 Y: 1.000000 Z: 0.000000\n"
                               "Red\n"
                               "Blue\n"
                               "Surf: 2  Pts: 4  (0 1 2 3 )\n"
                               "Surf: 1  Pts: 3  (3 2 1 )\n");
}

TEST(LwoReader, RejectedHeaders) {
    ByteVector zeroLength = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'L', 'W', 'O', 'B'};
    ByteVector notIff = {'#', 'i', 'n', 'c', 'l', 'u', 'd', 'e', ' ', '<', 'x', '>', '\n'};
    struct Case {
        const char* name;
        ByteVector bytes;
    } cases[] = {
        {"image form", Form({Chunk("PNTS", Points({1, 2, 3}))}, "ILBM")},
        {"not IFF", notIff},
        {"FORM length 0", zeroLength},
        {"empty", {}},
        {"eleven bytes", ByteVector(zeroLength.begin(), zeroLength.end() - 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImportObject object;
        EXPECT_EQ(LoadLwoBytes(object, c.bytes), 0);
        EXPECT_EQ(object.m_nLoaded, 0);
        EXPECT_FALSE(object.m_strError.empty());
        EXPECT_EQ(object.GetPointCount(), 0u);
    }
}

TEST(LwoReader, ReadOnlyFileLoads) {
    CScratchFolder folder;
    const std::string file = folder / "object.lwo";
    WriteFile(file, QuadObject());
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
    CImportObject object;
    EXPECT_NE(object.LoadLwo(file), 0);
    EXPECT_EQ(object.GetPolygonCount(), 2u);
}

TEST(LwoReader, RejectionFromAFileNamesTheFile) {
    CScratchFolder folder;
    const std::string file = folder / "image.lwo";
    WriteFile(file, Form({}, "ILBM"));
    CImportObject object;
    EXPECT_EQ(object.LoadLwo(file), 0);
    EXPECT_EQ(object.m_strError, "\"" + file + "\": not a LightWave object: form type \"ILBM\"");
}

TEST(LwoReader, MissingFileNotLoaded) {
    CImportObject object;
    EXPECT_EQ(object.LoadLwo("/nonexistent/folder/object.lwo"), 0);
    EXPECT_NE(object.m_strError.find("cannot open"), std::string::npos);
}

TEST(LwoReader, OddLengthChunkSkippedWithItsPad) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    ByteVector odd = {'S', 'U', 'R', 'F', 'x'};
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                         Chunk("SURF", odd), Chunk("SRFS", SurfaceNames({"Hull"})),
                                         Chunk("POLS", polygons)})),
              0);
    EXPECT_EQ(object.GetPointCount(), 3u);
    ASSERT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Hull");
    EXPECT_EQ(object.GetPolygonCount(), 1u);
}

TEST(LwoReader, ChunksInAnotherOrderReadAlike) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, 2);
    PutPolygon(polygons, {3, 2, 1}, 1);
    CImportObject reordered;
    ASSERT_NE(
        LoadLwoBytes(reordered,
                     Form({Chunk("POLS", polygons), Chunk("SRFS", SurfaceNames({"Red", "Blue"})),
                           Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}))})),
        0);
    CImportObject usual;
    ASSERT_NE(LoadLwoBytes(usual, QuadObject()), 0);
    EXPECT_EQ(Printed(reordered), Printed(usual));
    EXPECT_EQ(reordered.GetPolygonCount(), 2u);
}

TEST(LwoReader, SurfaceNamedPolsterIsNoChunk) {
    // A byte search for "POLS" would land inside the name and read garbage as polygons.
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", SurfaceNames({"POLSTER"})),
                                         Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                         Chunk("POLS", polygons)})),
              0);
    ASSERT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "POLSTER");
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(object.m_nDroppedPolygons, 0u);
}

TEST(LwoReader, FloatBytesSpellingATagAreNoChunk) {
    // The X of the first point is the float whose bytes read "SRFS" and whose following
    // bytes would be taken as a length by a byte search.
    ByteVector points;
    PutText(points, "SRFS");
    PutU32(points, 0x00000004);
    PutF32(points, 0.0f);
    CImportObject object;
    ASSERT_NE(
        LoadLwoBytes(object, Form({Chunk("PNTS", points), Chunk("SRFS", SurfaceNames({"Real"}))})),
        0);
    ASSERT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Real");
    ASSERT_EQ(object.GetPointCount(), 1u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(object.GetPoint(0).m_fX), 0x53524653u);
}

TEST(LwoReader, FirstChunkOfATagCounts) {
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", SurfaceNames({"First"})),
                                         Chunk("SRFS", SurfaceNames({"Second"}))})),
              0);
    ASSERT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "First");
}

TEST(LwoReader, NeededChunkPastTheEndIsDamaged) {
    const ByteVector whole =
        Form({Chunk("SRFS", SurfaceNames({"A"})), Chunk("PNTS", Points({1, 2, 3, 4, 5, 6}))});
    const ByteVector file = CutFormClaimingWhole(whole, whole.size() - 4);
    CImportObject object;
    EXPECT_EQ(LoadLwoBytes(object, file), 0);
    EXPECT_NE(object.m_strError.find("\"PNTS\""), std::string::npos) << object.m_strError;
    EXPECT_EQ(object.GetSurfaceCount(), 0u);
}

TEST(LwoReader, UnknownChunkPastTheEndOrPartialHeaderEndsTheWalk) {
    ByteVector file = Form({Chunk("PNTS", Points({1, 2, 3})), Chunk("SURF", ByteVector(20, 1))});
    file.resize(file.size() - 5);
    CImportObject cutChunk;
    EXPECT_NE(LoadLwoBytes(cutChunk, file), 0);
    EXPECT_EQ(cutChunk.GetPointCount(), 1u);

    ByteVector partial = Form({Chunk("PNTS", Points({1, 2, 3}))});
    PutText(partial, "POLS");
    partial.push_back(0);
    CImportObject partialHeader;
    EXPECT_NE(LoadLwoBytes(partialHeader, partial), 0);
    EXPECT_EQ(partialHeader.GetPointCount(), 1u);
}

TEST(LwoReader, PolygonPastTheEndOfPolsIsDamaged) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutU16(polygons, 3); // three corners announced, two given, no surface number
    PutU16(polygons, 0);
    PutU16(polygons, 1);
    CImportObject object;
    EXPECT_EQ(LoadLwoBytes(object, Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                         Chunk("POLS", polygons)})),
              0);
    EXPECT_NE(object.m_strError.find("POLS"), std::string::npos) << object.m_strError;
    EXPECT_EQ(object.GetPolygonCount(), 0u);
}

TEST(LwoReader, DetailPolygonsFollowTheirParent) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, 0x10000 - 1); // -1: surface 1, with details
    PutU16(polygons, 2);
    PutPolygon(polygons, {0, 1, 2}, 2);
    PutPolygon(polygons, {1, 2, 3}, 2);
    PutPolygon(polygons, {3, 2, 1, 0}, 1);
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(
                  object,
                  Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})),
                        Chunk("SRFS", SurfaceNames({"Base", "Decal"})), Chunk("POLS", polygons)})),
              0);
    EXPECT_EQ(Printed(object).substr(Printed(object).find("Surf:")),
              "Surf: 1  Pts: 4  (0 1 2 3 )\n"
              "Surf: 2  Pts: 3  (0 1 2 )\n"
              "Surf: 2  Pts: 3  (1 2 3 )\n"
              "Surf: 1  Pts: 4  (3 2 1 0 )\n");
}

TEST(LwoReader, DetailPolygonsCutShortAreDamaged) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 0x10000 - 1);
    PutU16(polygons, 2);
    PutPolygon(polygons, {0, 1, 2}, 1);
    CImportObject object;
    EXPECT_EQ(LoadLwoBytes(object, Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                         Chunk("POLS", polygons)})),
              0);
    EXPECT_NE(object.m_strError.find("detail"), std::string::npos) << object.m_strError;

    ByteVector noCount;
    PutPolygon(noCount, {0, 1, 2}, 0x10000 - 1);
    CImportObject missingCount;
    EXPECT_EQ(LoadLwoBytes(missingCount, Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                               Chunk("POLS", noCount)})),
              0);
}

TEST(LwoReader, OutOfRangeIndicesDroppedAndCounted) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutPolygon(polygons, {0, 1, 3}, 1); // point 3 does not exist
    PutPolygon(polygons, {65535, 0, 1}, 1);
    PutPolygon(polygons, {2, 1, 0}, 5); // surface 5 does not exist: kept, belongs to none
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 0, 1, 0})),
                                         Chunk("POLS", polygons)})),
              0);
    EXPECT_EQ(object.m_nDroppedPolygons, 2u);
    ASSERT_EQ(object.GetPolygonCount(), 2u);
    EXPECT_EQ(Indices(object, 1), (std::vector<std::int32_t>{2, 1, 0}));
    EXPECT_EQ(object.GetPolygon(1).m_nSurface, 5);
}

TEST(LwoReader, NoFixedCapacities) {
    ByteVector points;
    for (int i = 0; i < 300; ++i) {
        PutF32(points, static_cast<float>(i));
        PutF32(points, 0);
        PutF32(points, 0);
    }
    ByteVector polygons;
    PutU16(polygons, 300);
    for (std::uint32_t i = 0; i < 300; ++i) {
        PutU16(polygons, i);
    }
    PutU16(polygons, 1);
    std::string longName(200, 'n');
    CImportObject object;
    ASSERT_NE(
        LoadLwoBytes(object, Form({Chunk("PNTS", points), Chunk("SRFS", SurfaceNames({longName})),
                                   Chunk("POLS", polygons)})),
        0);
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(object.GetPolygon(0).m_nCount, 300);
    EXPECT_EQ(object.GetPolygon(0).m_anIndex[299], 299);
    EXPECT_EQ(object.GetSurface(0).m_strName, longName);
}

TEST(LwoReader, EveryPrefixIsSafe) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, 0x10000 - 1);
    PutU16(polygons, 1);
    PutPolygon(polygons, {0, 1, 2}, 2);
    const ByteVector full = Form(
        {Chunk("SRFS", SurfaceNames({"Red", "Blue"})), Chunk("SURF", ByteVector(7, 9)),
         Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})), Chunk("POLS", polygons)});
    CImportObject whole;
    ASSERT_NE(LoadLwoBytes(whole, full), 0);
    ASSERT_EQ(whole.GetPolygonCount(), 2u);
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        CImportObject object;
        std::int32_t loaded = LoadLwoBytes(
            object, ByteVector(full.begin(), full.begin() + static_cast<long>(length)));
        if (length < 12) {
            EXPECT_EQ(loaded, 0);
            EXPECT_FALSE(object.m_strError.empty());
            EXPECT_EQ(object.GetPointCount() + object.GetSurfaceCount() + object.GetPolygonCount(),
                      0u);
            continue;
        }
        // Past the header, every cut loads the whole polygons before it and says so.
        EXPECT_NE(loaded, 0) << object.m_strError;
        EXPECT_TRUE(object.m_bEndsEarly);
        ASSERT_LE(object.GetPolygonCount(), whole.GetPolygonCount());
        for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
            EXPECT_EQ(Indices(object, i), Indices(whole, i)) << i;
        }
    }
}

TEST(LwoReader, ReloadStartsAfresh) {
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, QuadObject()), 0);
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", SurfaceNames({"Only"}))})), 0);
    EXPECT_EQ(object.GetPointCount(), 0u);
    EXPECT_EQ(object.GetSurfaceCount(), 1u);
    EXPECT_EQ(object.GetPolygonCount(), 0u);
}

} // namespace
