#include "scene/scene_document.h"

#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

namespace {

CScenePart* AddPart(CSceneDocument& doc, const std::string& name, std::int32_t id,
                    const std::string& link = "", std::int32_t linkId = 0) {
    auto* part = new CScenePart;
    part->m_strName = name;
    part->m_nId = id;
    part->m_strLink = link;
    part->m_nLinkId = linkId;
    doc.m_parts.Add(part);
    return part;
}

TEST(SceneDocument, NewDocumentRecordGoldenBytes) {
    CSceneDocument doc;
    const ByteVector expected = ByteBuilder()
                                    .W(7)
                                    .S("42:30:00.0000")
                                    .S("41:30:00.0000")
                                    .S("-88:30:00.0000") // west before east
                                    .S("-86:30:00.0000")
                                    .I32(0)
                                    .S("41:51:25.8498")
                                    .S("-87:36:30.3435")
                                    .D(181.66)
                                    .W(32)
                                    .I32(0)
                                    .I32(1) // next part id
                                    .I32(1)
                                    .I32(0) // parts
                                    .Bytes();
    EXPECT_EQ(Stored(doc), expected);
}

TEST(SceneDocument, LinkTextIsResolvedAndRewritten) {
    CSceneDocument doc;
    AddPart(doc, "Wing", 5);
    CScenePart* flap = AddPart(doc, "Flap", 6, " wing.0 ");
    doc.FixupLinks();
    EXPECT_EQ(flap->m_nLinkId, 5);
    EXPECT_EQ(flap->m_strLink, "Wing.0");
}

TEST(SceneDocument, LinkTextNamingAnotherPartAtThatIndexStaysUnresolved) {
    CSceneDocument doc;
    AddPart(doc, "Wing", 5);
    CScenePart* flap = AddPart(doc, "Flap", 6, "WING.1");
    doc.FixupLinks();
    EXPECT_EQ(flap->m_nLinkId, 0);
    EXPECT_EQ(flap->m_strLink, "WING.1");
}

TEST(SceneDocument, FindPartIdByLinkCases) {
    CSceneDocument doc;
    AddPart(doc, "", 3);
    AddPart(doc, "Wing", 5);
    AddPart(doc, "a.b", 8);
    struct Case {
        const char* text;
        int id;
    };
    const Case cases[] = {
        {"NONE", 0},
        {"none", 0},
        {" None ", 0},
        {"", 0},
        {"   ", 0},
        {"wing.1", 5},
        {"\tWING.1\n", 5},
        {"Wing.+1", 5},
        {"Wing.1x", 5},
        {"Wing.0", 0},   // part 0 has another name
        {"anything", 3}, // no dot: part 0, whose name is empty, as the text before no dot
        {".0", 3},
        {".", 3},
        {".junk", 3},
        {"A.B.2", 8},
        {"Wing.3", 0},
        {"Wing.-1", 0},
        {"Wing.99999999999999999999", 0}, // outside the list
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc.FindPartIdByLink(c.text), c.id) << '"' << c.text << '"';
}

TEST(SceneDocument, LinkIdIsTheLastingKey) {
    CSceneDocument doc;
    AddPart(doc, "Flap", 6);
    AddPart(doc, "Wing", 5);
    CScenePart* tail = AddPart(doc, "Tail", 7, "Old.9", 5);
    CScenePart* lost = AddPart(doc, "Lost", 8, "Gone.1", 42);
    doc.FixupLinks();
    EXPECT_EQ(tail->m_strLink, "Wing.1");
    EXPECT_EQ(tail->m_nLinkId, 5);
    EXPECT_EQ(lost->m_nLinkId, 0);
    EXPECT_EQ(lost->m_strLink, "Gone.1");
}

TEST(SceneDocument, StoringAssignsIdsInArrayOrder) {
    CSceneDocument doc;
    doc.m_nNextPartId = 10;
    CScenePart* a = AddPart(doc, "A", 0);
    CScenePart* b = AddPart(doc, "B", 4);
    CScenePart* c = AddPart(doc, "C", 0, "b.1");
    const ByteVector bytes = Stored(doc);
    EXPECT_EQ(a->m_nId, 10);
    EXPECT_EQ(b->m_nId, 4);
    EXPECT_EQ(c->m_nId, 11);
    EXPECT_EQ(c->m_nLinkId, 4);
    EXPECT_EQ(c->m_strLink, "B.1");
    EXPECT_EQ(doc.m_nNextPartId, 12);
    EXPECT_EQ(doc.AssignPartId(b), 4);
}

// Found by exchange_file_fuzzer: a file whose counter is 2^31 - 1, with a part
// without an id, made the next id overflow (undefined behaviour). It wraps.
TEST(SceneDocument, CounterAtTheTopOfTheInt32RangeWraps) {
    CSceneDocument doc;
    doc.m_nNextPartId = INT32_MAX;
    CScenePart* a = AddPart(doc, "A", 0);
    CScenePart* b = AddPart(doc, "B", 0, "a.0");
    CSceneDocument loaded;
    LoadFrom(loaded, Stored(doc));
    EXPECT_EQ(a->m_nId, INT32_MAX);
    EXPECT_EQ(b->m_nId, INT32_MIN);
    EXPECT_EQ(b->m_nLinkId, INT32_MAX);
    EXPECT_EQ(doc.m_nNextPartId, INT32_MIN + 1);
    EXPECT_EQ(loaded.m_nNextPartId, INT32_MIN + 1);
    EXPECT_EQ(loaded.m_parts[1]->m_nId, INT32_MIN);
}

TEST(SceneDocument, LoadingKeepsTheStoredCounterUnlessAPartLacksAnId) {
    CSceneDocument doc;
    doc.m_nNextPartId = 20;
    AddPart(doc, "A", 3);
    AddPart(doc, "B", 4);
    AddPart(doc, "C", 5);
    const ByteVector bytes = Stored(doc);
    CSceneDocument loaded;
    LoadFrom(loaded, bytes);
    EXPECT_EQ(loaded.GetPartCount(), 3);
    EXPECT_EQ(loaded.m_nNextPartId, 20);

    // The same file with part B's id zeroed: B gets 20 while loading.
    ByteVector damaged = bytes;
    const ByteVector bRecord = Stored(*doc.m_parts[1]);
    const auto at = std::search(damaged.begin(), damaged.end(), bRecord.begin(), bRecord.end());
    ASSERT_NE(at, damaged.end());
    at[0] = 0;
    CSceneDocument reloaded;
    LoadFrom(reloaded, damaged);
    EXPECT_EQ(reloaded.m_parts[1]->m_nId, 20);
    EXPECT_EQ(reloaded.m_nNextPartId, 21);
}

TEST(SceneDocument, LoadedPartsCarryTheirOwnGeometryNotTheStoredOne) {
    // A part record whose centre and normal are stale, as a file written elsewhere may hold:
    // the part's own store writes the members as they are.
    CScenePart stale;
    for (const auto& [x, y, z] : {std::array{0.0, 0.0, 0.0}, {4.0, 0.0, 0.0}, {0.0, 0.0, 2.0}}) {
        CScenePoint point;
        point.Set(x, y, z);
        stale.AddPoint(point);
    }
    CScenePolygon triangle;
    triangle.m_indices = {0, 1, 2};
    stale.AddPolygon(std::move(triangle));
    stale.m_polygons[0]->m_center.Set(9, 9, 9);
    stale.m_polygons[0]->m_dCenterDistance = 99;
    stale.m_polygons[0]->m_normal.Set(1, 1, 1);

    CSceneDocument empty;
    ByteVector bytes = Stored(empty);
    bytes.resize(bytes.size() - 4); // the part count, written last for no parts
    const ByteVector withPart = ByteBuilder().Raw(bytes).I32(1).Raw(Stored(stale)).Bytes();
    CSceneDocument doc;
    LoadFrom(doc, withPart);
    ASSERT_EQ(doc.GetPartCount(), 1);
    const CScenePolygon& loaded = *doc.m_parts[0]->m_polygons[0];
    EXPECT_DOUBLE_EQ(loaded.m_center.m_x, 4.0 / 3);
    EXPECT_EQ(loaded.m_center.m_y, 0.0);
    EXPECT_DOUBLE_EQ(loaded.m_center.m_z, 2.0 / 3);
    EXPECT_DOUBLE_EQ(loaded.m_dCenterDistance, std::sqrt(20.0) / 3);
    // u = P0 - P1 = (-4, 0, 0), v = P1 - P2 = (4, 0, -2): v x u = (0, 8, 0).
    EXPECT_EQ(loaded.m_normal.m_dY, 8.0);
    EXPECT_EQ(loaded.m_normal.m_dUnitY, 1.0);
    EXPECT_EQ(loaded.m_normal.m_dX, 0.0);
}

TEST(SceneDocument, EveryPrefixThrowsAndKeepsWhatWasLoaded) {
    CSceneDocument doc;
    for (const char* name : {"One", "Two"}) {
        CScenePart* part = AddPart(doc, name, 0);
        for (int i = 0; i < 3; ++i) {
            auto* p = new CScenePoint;
            p->Set(i, i * 2, 1);
            part->AddPoint(p);
        }
        auto* polygon = new CScenePolygon;
        for (std::int32_t c : {0, 1, 2})
            polygon->AddIndex(c);
        part->AddPolygon(polygon);
    }
    const ByteVector bytes = Stored(doc);
    const std::size_t secondPartEnd = bytes.size();
    const std::size_t firstPartEnd = secondPartEnd - Stored(*doc.m_parts[1]).size();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const ByteVector prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        CSceneDocument loaded;
        CArchive ar(prefix);
        EXPECT_THROW(loaded.Serialize(ar), CArchiveException) << n;
        // Only whole parts are kept; a part count that cannot fit in what is
        // left ends the load before any part.
        EXPECT_LE(loaded.GetPartCount(), n >= firstPartEnd ? 1 : 0) << n;
        if (n + 1 == bytes.size()) {
            EXPECT_EQ(loaded.GetPartCount(), 1);
        }
    }
}

TEST(SceneDocument, HugePartCountThrowsInsteadOfAllocating) {
    CSceneDocument doc;
    ByteVector bytes = Stored(doc);
    bytes.resize(bytes.size() - 4);
    for (std::uint8_t b : Hex("FF FF FF 7F"))
        bytes.push_back(b);
    bytes.resize(bytes.size() + 2000);
    CSceneDocument loaded;
    CArchive ar(bytes);
    EXPECT_THROW(loaded.Serialize(ar), CArchiveException);
    EXPECT_EQ(loaded.GetPartCount(), 0);
}

} // namespace
