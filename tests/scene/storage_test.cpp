// Where the scene's records live: corner lists held in the polygon, points and polygons
// built in their part's blocks beside heap objects handed over, and what removing,
// emptying and destroying does to them. The sanitizers catch a record used after its
// block went or destroyed twice.
#include "scene/block_arena.h"
#include "scene/index_list.h"
#include "scene/owning_array.h"
#include "scene/pair_list.h"
#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include "export/export_object.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

namespace {

CScenePoint Point(double x, double y, double z) {
    CScenePoint point;
    point.Set(x, y, z);
    return point;
}

CScenePolygon Polygon(std::vector<std::int32_t> corners) {
    CScenePolygon polygon;
    polygon.m_indices = corners;
    return polygon;
}

// A strip of n squares over 2n + 2 points, every record built in the part's blocks.
void AddStrip(CScenePart& part, int n, double z) {
    for (int i = 0; i <= n; ++i) {
        part.AddPoint(Point(i, 0, z));
        part.AddPoint(Point(i, 1, z));
    }
    for (int i = 0; i < n; ++i)
        part.AddPolygon(Polygon({2 * i, 2 * i + 2, 2 * i + 3, 2 * i + 1}));
}

TEST(IndexList, GrowsPastItsInlineCornersAndCopiesAndMovesWhole) {
    CIndexList list;
    for (std::int32_t i = 0; i < 7; ++i)
        list.push_back(i * 10);
    EXPECT_EQ(list, (std::vector<std::int32_t>{0, 10, 20, 30, 40, 50, 60}));

    const CIndexList copy = list;
    CIndexList moved = std::move(list);
    EXPECT_EQ(copy, moved);
    EXPECT_TRUE(list.empty());
    list.push_back(5); // usable after the move
    EXPECT_EQ(list, (std::vector<std::int32_t>{5}));

    CIndexList small = {1, 2, 3};
    CIndexList smallMoved = std::move(small);
    EXPECT_EQ(smallMoved, (std::vector<std::int32_t>{1, 2, 3}));
    smallMoved = copy; // inline storage replaced by a long list
    EXPECT_EQ(std::vector<std::int32_t>(smallMoved), std::vector<std::int32_t>(copy));
}

TEST(IndexList, EveryAssignmentBetweenInlineAndHeapListsKeepsItsCorners) {
    const std::vector<std::int32_t> shortList = {1, 2, 3};
    const std::vector<std::int32_t> longList = {9, 8, 7, 6, 5, 4};
    for (const auto& from : {shortList, longList})
        for (const auto& to : {shortList, longList}) {
            CIndexList source(from);
            CIndexList target(to);
            target = source; // copy: both keep the corners
            EXPECT_EQ(target, from);
            EXPECT_EQ(source, from);
            CIndexList other(to);
            other = std::move(source); // move: the source's block (or corners) change hands
            EXPECT_EQ(other, from);
            EXPECT_TRUE(source.empty());
            const CIndexList& itself = other;
            other = itself; // nothing changes
            EXPECT_EQ(other, from);
            other.push_back(42); // and it grows from there
            EXPECT_EQ(other.size(), from.size() + 1);
            EXPECT_EQ(other[from.size()], 42);
        }
}

TEST(PairList, EmptyCostsNothingAndCopiesCompareByContent) {
    CPairList empty;
    EXPECT_EQ(sizeof(CPairList), sizeof(void*));
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.begin(), empty.end());
    CPairList pairs;
    pairs.reserve(0);
    EXPECT_EQ(pairs, empty);
    pairs.push_back({1, 2, 3, 4, 5, 6, 7, 8});
    pairs.push_back({8, 7, 6, 5, 4, 3, 2, 1});
    CPairList copy = pairs;
    EXPECT_EQ(copy, pairs);
    EXPECT_FALSE(copy == empty);
    copy.push_back({0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(pairs.size(), 2u); // the copy is its own
    copy = empty;
    EXPECT_TRUE(copy.empty());
    CPairList moved = std::move(pairs);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ((*(moved.begin() + 1))[0], 8);
}

TEST(BlockArena, AlignsEveryRecordAndGrowsInBlocks) {
    CBlockArena arena;
    std::vector<std::uintptr_t> seen;
    for (int i = 0; i < 100000; ++i) {
        const std::size_t size = 1 + static_cast<std::size_t>(i % 37);
        const std::size_t align = std::size_t{1} << (i % 5);
        auto* p = static_cast<std::uint8_t*>(arena.Allocate(size, align));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % align, 0u);
        p[0] = 1;
        p[size - 1] = 2; // the sanitizer catches a record running past its block
    }
    EXPECT_GE(arena.GetCapacity(), std::size_t{100000});
    // A record larger than any block gets a block of its own.
    auto* big = static_cast<std::uint8_t*>(arena.Allocate(80 * 1024 * 1024, 16));
    big[80 * 1024 * 1024 - 1] = 3;
    arena.Reset();
    EXPECT_EQ(arena.GetCapacity(), 0u);
}

// An element that counts its lives, to see each one ended exactly once.
struct CCounted {
    explicit CCounted(int value) : m_nValue(value) { ++Live(); }
    CCounted(const CCounted&) = delete;
    CCounted& operator=(const CCounted&) = delete;
    virtual ~CCounted() { --Live(); }
    static int& Live() {
        static int live = 0;
        return live;
    }
    int m_nValue;
};

TEST(OwningArray, HeapAndBlockElementsAreEachEndedOnceTheirOwnWay) {
    {
        COwningArray<CCounted> array;
        std::vector<CCounted*> added;
        // Heap and block elements interleaved, and an empty entry.
        for (int i = 0; i < 40; ++i)
            added.push_back(i % 3 == 0 ? array[array.Add(new CCounted(i))] : array.Emplace(i));
        array.Add(nullptr);
        EXPECT_EQ(CCounted::Live(), 40);
        // The pointers handed back are the elements' own, whichever way they were made.
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(array[i], added[static_cast<std::size_t>(i)]);
        EXPECT_EQ(array[40], nullptr);

        array.RemoveAt(0); // heap
        array.RemoveAt(0); // block
        array.RemoveIf([](const CCounted* c) { return c != nullptr && c->m_nValue % 2 == 0; });
        array.RemoveIfIndex([](int i) { return i < 3; });
        EXPECT_EQ(CCounted::Live(), array.GetSize() - 1);
        EXPECT_EQ(array[0]->m_nValue, 9);
        EXPECT_EQ(array[array.GetSize() - 1], nullptr);

        // Moved arrays keep their elements, and ending the moved-from one ends none.
        COwningArray<CCounted> moved = std::move(array);
        EXPECT_EQ(CCounted::Live(), moved.GetSize() - 1);
        moved.RemoveAll();
        EXPECT_EQ(CCounted::Live(), 0);
        moved.Emplace(1);
        moved.Add(new CCounted(2));
    }
    EXPECT_EQ(CCounted::Live(), 0);
}

TEST(SceneStorage, PartEmptiedAndRefilledKeepsOnlyTheNewGeometry) {
    CScenePart part;
    AddStrip(part, 50, 0.0);
    part.AddPoint(new CScenePoint); // a heap point beside the block ones
    part.RemoveAllPoints();
    EXPECT_EQ(part.m_points.GetSize(), 0);
    EXPECT_EQ(part.m_polygons.GetSize(), 0);
    AddStrip(part, 3, 7.0);
    ASSERT_EQ(part.m_polygons.GetSize(), 3);
    EXPECT_EQ(part.m_points[7]->m_z, 7.0);
    EXPECT_EQ(part.m_polygons[2]->m_center.m_x, 2.5);
}

TEST(SceneStorage, RemovingInTheMiddleOfABlockLeavesItsNeighboursWhole) {
    CScenePart part;
    AddStrip(part, 1000, 0.0);
    part.RemovePoint(1001); // x = 500, y = 1: the squares 499 and 500 go
    ASSERT_EQ(part.m_polygons.GetSize(), 998);
    EXPECT_EQ(part.m_points.GetSize(), 2001);
    // The squares around the gap keep their corners, those past the removed point one lower.
    EXPECT_EQ(part.m_polygons[498]->m_indices, (std::vector<std::int32_t>{996, 998, 999, 997}));
    EXPECT_EQ(part.m_polygons[499]->m_indices, (std::vector<std::int32_t>{1001, 1003, 1004, 1002}));
    EXPECT_EQ(part.m_points[1001]->m_x, 501.0);
    // x = 500, y = 0 is left without a polygon.
    part.RemoveUnreferencedPoints();
    EXPECT_EQ(part.m_points.GetSize(), 2000);
    EXPECT_EQ(part.m_points[1000]->m_x, 501.0);
}

TEST(SceneStorage, PartsHandedOutOutliveNothingTheyNeed) {
    auto doc = std::make_unique<CSceneDocument>();
    for (int p = 0; p < 3; ++p) {
        auto* part = new CScenePart;
        AddStrip(*part, 200, p);
        doc->m_parts.Add(part);
    }
    // A part's records belong to the part, not to the document's lists: a copy of its
    // geometry taken now stays readable while the document goes.
    const CScenePart* second = doc->m_parts[1];
    const std::vector<std::int32_t> corners = second->m_polygons[199]->m_indices;
    const double z = second->m_points[400]->m_z;
    doc.reset();
    EXPECT_EQ(corners, (std::vector<std::int32_t>{398, 400, 401, 399}));
    EXPECT_EQ(z, 1.0);
}

TEST(SceneStorage, ExportOfPartsWithPositionsAddsThemToEveryPoint) {
    CSceneDocument doc;
    for (int p = 0; p < 2; ++p) {
        auto* part = new CScenePart;
        part->m_strName = p == 0 ? "Near" : "Far";
        AddStrip(*part, 2, 0.0);
        part->m_transform.m_position.Set(10.0 * p, 0.5, -1.0);
        doc.m_parts.Add(part);
    }
    CExportObject object;
    object.ConvertScene(doc);
    ASSERT_EQ(object.m_points.GetSize(), 12);
    ASSERT_EQ(object.m_polygons.GetSize(), 4);
    EXPECT_EQ(object.m_points[6]->m_x, 10.0);
    EXPECT_EQ(object.m_points[7]->m_y, 1.5);
    EXPECT_EQ(object.m_points[11]->m_z, -1.0);
    // The far part's first square, through its points and surface.
    const CExportPolygon& square = *object.m_polygons[2];
    ASSERT_EQ(square.m_points.size(), 4u);
    EXPECT_EQ(square.m_points[1], object.m_points[8]);
    EXPECT_EQ(square.m_pSurface->m_strName, "Far");
}

} // namespace
