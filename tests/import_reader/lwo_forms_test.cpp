// The later LightWave forms: LWO2 and LWO3 (layers, variable-length indices, polygon tags,
// surfaces from TAGS), and LWLO (LightWave 5 layers). Objects are built here byte by byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/loaded_object.h"
#include "tests/support/lwo_bytes.h"

namespace {

using Corners = std::vector<std::int32_t>;

std::vector<std::string> SurfaceList(const CImportObject& object) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < object.GetSurfaceCount(); ++k) {
        names.push_back(object.GetSurface(k).m_strName);
    }
    return names;
}

std::string SurfaceOf(const CImportObject& object, std::size_t polygon) {
    const std::int32_t surface = object.GetPolygon(polygon).m_nSurface;
    return surface >= 1 && static_cast<std::size_t>(surface) <= object.GetSurfaceCount()
               ? object.GetSurface(static_cast<std::size_t>(surface - 1)).m_strName
               : "(none)";
}

ByteVector Triangle() {
    return Points({0, 0, 0, 1, 0, 0, 0, 1, 0});
}

// Layer 1: a triangle on "Hull". Layer 2: a quadrilateral on "Deck" over its own four
// points, and a triangle naming point 4 of that layer, which has only four.
ByteVector TwoLayers(std::string_view form) {
    return Form({Chunk("TAGS", SurfaceNames({"Hull", "Deck"})), Layer(0), Chunk("PNTS", Triangle()),
                 Lwo2Polygons("FACE", {{0, 1, 2}}), PolygonTags("SURF", {{0, 0}}), Layer(1),
                 Chunk("PNTS", Points({5, 0, 0, 6, 0, 0, 6, 1, 0, 5, 1, 0})),
                 Lwo2Polygons("FACE", {{0, 1, 2, 3}, {0, 1, 4}}),
                 PolygonTags("SURF", {{0, 1}, {1, 1}})},
                form);
}

TEST(LwoForms, LayersIndexTheirOwnPoints) {
    for (const char* form : {"LWO2", "LWO3"}) {
        SCOPED_TRACE(form);
        const ByteVector bytes = TwoLayers(form);
        CImportObject object;
        ASSERT_EQ(LoadLwoBytes(object, bytes), static_cast<std::int32_t>(bytes.size() - 8))
            << object.m_strError;
        EXPECT_EQ(object.GetPointCount(), 7u);
        EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Hull", "Deck"}));
        ASSERT_EQ(object.GetPolygonCount(), 2u);
        EXPECT_EQ(Indices(object, 0), (Corners{0, 1, 2}));
        EXPECT_EQ(Indices(object, 1), (Corners{3, 4, 5, 6}));
        EXPECT_EQ(SurfaceOf(object, 1), "Deck");
        // Point 4 of layer 2 would be point 7 of the object, which does not exist; point 4 of
        // the object exists but belongs to the other layer's count.
        EXPECT_EQ(object.m_nDroppedPolygons, 1u);
        EXPECT_EQ(object.GetPoint(3).m_fX, 5.0f);
    }
}

TEST(LwoForms, FourByteIndicesAndCountFlags) {
    // More than 65,536 points: indices from 0xFF00 on take four bytes.
    ByteVector points;
    for (std::uint32_t i = 0; i < 70000; ++i) {
        PutF32(points, static_cast<float>(i));
        PutF32(points, 0);
        PutF32(points, 0);
    }
    // A short index written in the long form also counts; the top byte is the marker.
    ByteVector longZero;
    PutText(longZero, "FACE");
    PutU16(longZero, 3 | (0x3Fu << 10)); // every flag bit set
    PutU32(longZero, 0xFF000000u);
    PutU16(longZero, 7);
    PutU32(longZero, 0xFF010001u);
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("TAGS", SurfaceNames({"Grid"})), Layer(0),
                                         Chunk("PNTS", points),
                                         Lwo2Polygons("FACE", {{0, 65535, 65536, 69999}}, 0x21),
                                         PolygonTags("SURF", {{0, 0}}), Chunk("POLS", longZero),
                                         PolygonTags("SURF", {{0, 0}, {1, 0}})},
                                        "LWO2")),
              0)
        << object.m_strError;
    ASSERT_EQ(object.GetPolygonCount(), 2u);
    EXPECT_EQ(Indices(object, 0), (Corners{0, 65535, 65536, 69999}));
    EXPECT_EQ(Indices(object, 1), (Corners{0, 7, 65537}));
    EXPECT_EQ(SurfaceOf(object, 0), "Grid");
    EXPECT_EQ(SurfaceOf(object, 1), "Grid");
}

TEST(LwoForms, PolygonTagsOutOfOrderPartialAndInvalid) {
    const ByteVector polygons = Lwo2Polygons("FACE", {{0, 1, 2}, {2, 1, 0}, {0, 2, 1}, {1, 0, 2}});
    // Polygon 1 gets no valid tag; polygon 0's last entry wins; the entries naming tag 9 and
    // element 9 are ignored and make no surface of "Spare".
    const ByteVector tags = PolygonTags("SURF", {{3, 1}, {0, 0}, {2, 1}, {0, 2}, {1, 9}, {9, 3}});
    struct Case {
        const char* name;
        std::vector<std::string> tags;
        std::vector<ByteVector> extra;
        std::vector<std::string> surfaces;
        std::vector<std::string> polygonSurfaces;
    } cases[] = {
        {"no surface named Default: one is added last",
         {"Red", "Blue", "Green", "Spare"},
         {},
         {"Red", "Blue", "Green", "Default"},
         {"Green", "Default", "Blue", "Blue"}},
        {"a real surface named Default takes the untagged polygons",
         {"Red", "Blue", "Green", "Spare", "Default"},
         {Chunk("SURF", SurfaceNames({"Default", ""}))},
         {"Red", "Blue", "Green", "Default"},
         {"Green", "Default", "Blue", "Blue"}},
        {"Default first in TAGS keeps its place",
         {"Default", "Red", "Blue", "Green", "Spare"},
         {Chunk("SURF", SurfaceNames({"Default", ""}))},
         {"Default", "Red", "Blue"},
         {"Blue", "Default", "Red", "Red"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteVector tagData;
        for (const std::string& tag : c.tags) {
            ByteVector one = SurfaceNames({tag});
            tagData.insert(tagData.end(), one.begin(), one.end());
        }
        std::vector<ByteVector> chunks = {Chunk("TAGS", tagData), Layer(0),
                                          Chunk("PNTS", Triangle()), polygons, tags};
        chunks.insert(chunks.end(), c.extra.begin(), c.extra.end());
        CImportObject object;
        ASSERT_NE(LoadLwoBytes(object, Form(chunks, "LWO2")), 0) << object.m_strError;
        EXPECT_EQ(SurfaceList(object), c.surfaces);
        std::vector<std::string> polygonSurfaces;
        for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
            polygonSurfaces.push_back(SurfaceOf(object, i));
        }
        EXPECT_EQ(polygonSurfaces, c.polygonSurfaces);
    }
}

TEST(LwoForms, ColourPartAndSmoothingTagsAreNoSurfaces) {
    // As real files do: a COLR tag on every polygon, besides the SURF tag.
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(
                  object,
                  Form({Chunk("TAGS", SurfaceNames({"DkBlu", "Body", "Wheel", "Smooth"})), Layer(0),
                        Chunk("PNTS", Triangle()), Lwo2Polygons("FACE", {{0, 1, 2}, {2, 1, 0}}),
                        PolygonTags("COLR", {{0, 0}, {1, 0}}), PolygonTags("PART", {{1, 2}}),
                        PolygonTags("SMGP", {{0, 3}}), PolygonTags("SURF", {{0, 1}, {1, 1}})},
                       "LWO2")),
              0)
        << object.m_strError;
    EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Body"}));
}

TEST(LwoForms, NonPolygonElementsSkippedAndCountedPatchesKeptAsCages) {
    CImportObject object;
    ASSERT_NE(
        LoadLwoBytes(object,
                     Form({Chunk("TAGS", SurfaceNames({"Skin", "Rope"})), Layer(0),
                           Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})),
                           Lwo2Polygons("CURV", {{0, 1, 2}, {1, 2, 3}}),
                           PolygonTags("SURF", {{0, 1}, {1, 1}}), Lwo2Polygons("BONE", {{0, 1}}),
                           Lwo2Polygons("LINE", {{2, 3}}), Lwo2Polygons("PTCH", {{0, 1, 2, 3}}),
                           PolygonTags("SURF", {{0, 0}}), Lwo2Polygons("FACE", {{3, 2, 1}})},
                          "LWO2")),
        0)
        << object.m_strError;
    EXPECT_EQ(object.m_nSkippedElements, 4u);
    ASSERT_EQ(object.GetPolygonCount(), 2u);
    EXPECT_EQ(Indices(object, 0), (Corners{0, 1, 2, 3}));
    EXPECT_EQ(SurfaceOf(object, 0), "Skin");
    EXPECT_EQ(SurfaceOf(object, 1), "Default");
    // The curves' tag makes "Rope" a surface, which holds no polygon.
    EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Skin", "Rope", "Default"}));
}

TEST(LwoForms, SurfaceDefinedButUnusedIsASurface) {
    const std::vector<ByteVector> common = {
        Chunk("TAGS", SurfaceNames({"Used", "Unused"})), Layer(0), Chunk("PNTS", Triangle()),
        Lwo2Polygons("FACE", {{0, 1, 2}}), PolygonTags("SURF", {{0, 0}})};
    struct Case {
        const char* form;
        std::vector<ByteVector> surfaces;
    } cases[] = {
        {"LWO2",
         {Chunk("SURF", SurfaceNames({"Unused", ""})),
          Chunk("SURF", SurfaceNames({"NotATag", ""}))}},
        {"LWO3", {SurfaceForm("Unused"), SurfaceForm("NotATag")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        std::vector<ByteVector> chunks = common;
        chunks.insert(chunks.end(), c.surfaces.begin(), c.surfaces.end());
        CImportObject object;
        ASSERT_NE(LoadLwoBytes(object, Form(chunks, c.form)), 0) << object.m_strError;
        EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Used", "Unused"}));
        EXPECT_EQ(object.GetPolygonCount(), 1u);
    }
}

TEST(LwoForms, TagsWithEmptyStringsKeepTheirNumbers) {
    // An empty tag is a zero and a pad byte; read by value it would vanish and shift the rest.
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("TAGS", SurfaceNames({"", "Far"})),
                                         Chunk("TAGS", SurfaceNames({"Near"})), Layer(0),
                                         Chunk("PNTS", Triangle()),
                                         Lwo2Polygons("FACE", {{0, 1, 2}, {1, 2, 0}}),
                                         PolygonTags("SURF", {{0, 1}, {1, 2}})},
                                        "LWO2")),
              0)
        << object.m_strError;
    EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Far", "Near"}));
}

TEST(LwoForms, DamagedFilesNameTheChunkAndOffset) {
    ByteVector cutPolygon;
    PutText(cutPolygon, "FACE");
    PutU16(cutPolygon, 3);
    PutU16(cutPolygon, 0);
    PutU16(cutPolygon, 1);
    ByteVector cutTag;
    PutText(cutTag, "SURF");
    PutU16(cutTag, 0);
    ByteVector cutSurfaceForm;
    PutText(cutSurfaceForm, "SURF");
    PutText(cutSurfaceForm, "    ");
    PutU32(cutSurfaceForm, 40);
    PutText(cutSurfaceForm, "Hull");
    struct Case {
        const char* name;
        std::vector<ByteVector> chunks;
        const char* form;
        const char* reason;
    } cases[] = {
        {"PTAG before any POLS",
         {Layer(0), Chunk("PNTS", Triangle()), PolygonTags("SURF", {{0, 0}})},
         "LWO2",
         "damaged LWO2 object: the PTAG chunk at offset 82 comes before any POLS chunk of its "
         "layer"},
        {"PTAG of a new layer before its POLS",
         {Layer(0), Chunk("PNTS", Triangle()), Lwo2Polygons("FACE", {{0, 1, 2}}), Layer(1),
          PolygonTags("COLR", {})},
         "LWO2",
         "before any POLS chunk of its layer"},
        {"polygon past its POLS",
         {Layer(0), Chunk("PNTS", Triangle()), Chunk("POLS", cutPolygon)},
         "LWO3",
         "damaged LWO3 object: polygon at offset 94 runs past the end of its POLS chunk"},
        {"PTAG entry past its chunk",
         {Layer(0), Chunk("PNTS", Triangle()), Lwo2Polygons("FACE", {{0, 1, 2}}),
          Chunk("PTAG", cutTag)},
         "LWO2",
         "PTAG entry at offset 114 runs past the end of its PTAG chunk"},
        {"POLS without a type",
         {Chunk("POLS", {'F', 'A'})},
         "LWO2",
         "the POLS chunk at offset 12 has no type"},
        {"surface form whose name runs past the form",
         {Chunk("FORM", cutSurfaceForm)},
         "LWO3",
         "the name of the surface form at offset 12 runs past the end of the form"},
        {"non-finite point",
         {Chunk("PNTS", Points({0, 0, 0, 1, 0, std::numeric_limits<float>::infinity()}))},
         "LWO2",
         "point 1 of the PNTS chunk at offset 12 is not a finite number (offset 32)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImportObject object;
        EXPECT_EQ(LoadLwoBytes(object, Form(c.chunks, c.form)), 0);
        EXPECT_NE(object.m_strError.find(c.reason), std::string::npos) << object.m_strError;
        EXPECT_EQ(object.GetPointCount() + object.GetSurfaceCount() + object.GetPolygonCount(), 0u);
    }
}

TEST(LwoForms, NeededChunkCutShortIsDamagedUnneededEndsTheList) {
    const ByteVector whole = TwoLayers("LWO2");
    const ByteVector cut = CutFormClaimingWhole(whole, whole.size() - 3); // into the last PTAG
    CImportObject damaged;
    EXPECT_EQ(LoadLwoBytes(damaged, cut), 0);
    EXPECT_NE(damaged.m_strError.find("chunk \"PTAG\" at offset"), std::string::npos)
        << damaged.m_strError;

    ByteVector unneeded = TwoLayers("LWO2");
    const ByteVector vmap = Chunk("VMAP", ByteVector(40, 7));
    unneeded.insert(unneeded.end(), vmap.begin(), vmap.end() - 10);
    CImportObject object;
    EXPECT_NE(LoadLwoBytes(object, unneeded), 0) << object.m_strError;
    EXPECT_EQ(object.GetPolygonCount(), 2u);
}

TEST(LwoForms, EveryPrefixIsSafe) {
    for (const char* form : {"LWO2", "LWO3", "LWLO"}) {
        SCOPED_TRACE(form);
        const ByteVector full =
            std::string(form) == "LWLO"
                ? Form({Chunk("SRFS", SurfaceNames({"A"})), Chunk("LAYR", {0, 1, 0, 0, 0, 0}),
                        Chunk("PNTS", Triangle()), Chunk("POLS", {0, 3, 0, 0, 0, 1, 0, 2, 0, 1})},
                       form)
                : TwoLayers(form);
        for (std::size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            CImportObject object;
            if (LoadLwoBytes(object, ByteVector(full.begin(),
                                                full.begin() + static_cast<long>(length))) == 0) {
                EXPECT_FALSE(object.m_strError.empty());
                EXPECT_EQ(object.GetPointCount() + object.GetSurfaceCount() +
                              object.GetPolygonCount(),
                          0u);
            }
        }
    }
}

TEST(LwoForms, LayeredLightWave5Objects) {
    // Two layers, each with its own points; layer 2 also has a curve and a detail polygon,
    // and a polygon naming its point 3, which only the whole object has.
    ByteVector layer1;
    PutPolygon(layer1, {0, 1, 2}, 2);
    ByteVector layer2;
    PutPolygon(layer2, {2, 1, 0}, 0x10000 - 1);
    PutU16(layer2, 1);
    PutPolygon(layer2, {0, 1, 2}, 2);
    PutPolygon(layer2, {0, 1, 3}, 1);
    ByteVector curves;
    PutPolygon(curves, {0, 1, 2}, 1);
    PutU16(curves, 0); // the curve's flags word
    const ByteVector layerHeader = {0, 1, 0, 1, 'B', 'a', 's', 'e', 0, 0};
    CImportObject object;
    ASSERT_NE(LoadLwoBytes(object, Form({Chunk("SRFS", SurfaceNames({"Wood", "Iron"})),
                                         Chunk("LAYR", layerHeader), Chunk("PNTS", Triangle()),
                                         Chunk("POLS", layer1), Chunk("LAYR", layerHeader),
                                         Chunk("PNTS", Points({4, 0, 0, 5, 0, 0, 4, 1, 0})),
                                         Chunk("CRVS", curves), Chunk("POLS", layer2),
                                         Chunk("SRFS", SurfaceNames({"Ignored"}))},
                                        "LWLO")),
              0)
        << object.m_strError;
    EXPECT_EQ(object.GetPointCount(), 6u);
    EXPECT_EQ(SurfaceList(object), (std::vector<std::string>{"Wood", "Iron"}));
    EXPECT_EQ(object.m_nSkippedElements, 1u);
    EXPECT_EQ(object.m_nDroppedPolygons, 1u);
    EXPECT_EQ(Printed(object).substr(Printed(object).find("Surf:")), "Surf: 2  Pts: 3  (0 1 2 )\n"
                                                                     "Surf: 1  Pts: 3  (5 4 3 )\n"
                                                                     "Surf: 2  Pts: 3  (3 4 5 )\n");
}

TEST(LwoForms, OtherFormTypesAreNamedInTheReason) {
    CImportObject object;
    EXPECT_EQ(LoadLwoBytes(object, Form({Chunk("BMHD", ByteVector(20, 0))}, "ILBM")), 0);
    EXPECT_EQ(object.m_strError, "not a LightWave object: form type \"ILBM\"");
}

} // namespace
