// The parsing stage: on a thread of its own it must hand over exactly what it hands over
// when it runs first, in the same order, stop at the same error, and end cleanly when either
// side fails.
#include "import/dxf/dxf_parsing.h"

#include "tests/support/dxf_builders.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kAlwaysThreaded = 0;
constexpr std::size_t kNeverThreaded = std::numeric_limits<std::size_t>::max();

struct CCollected {
    CDxfDrawing result;
    std::vector<std::string> faces; // each face as text: layer, count, corners
    std::size_t batches = 0;
};

CCollected Collect(const std::string& text, std::size_t threadedFrom) {
    CCollected collected;
    ParseDxfDrawing(text, threadedFrom, false, collected.result,
                    [&](const std::vector<CDxfItem>& batch) {
                        ++collected.batches;
                        for (const CDxfItem& item : batch) {
                            const CDxfFace& face = std::get<CDxfFace>(item);
                            std::string line =
                                std::string(face.m_strLayer) + "/" + std::to_string(face.m_nCount);
                            for (std::size_t d = 0; d < face.m_nCount; ++d)
                                for (double v : face.m_corners[d])
                                    line += " " + std::to_string(v);
                            collected.faces.push_back(line);
                        }
                        return true;
                    });
    return collected;
}

// Many faces (several batches' worth) on a few layers, some without a layer or a corner.
std::string ManyFaces(int count) {
    std::string entities;
    for (int i = 0; i < count; ++i) {
        const std::string layer = i % 7 == 0 ? "" : "L" + std::to_string(i % 5);
        if (i % 11 == 0)
            entities += Face(layer, {{{i, 0, 0}}, {{i + 1, 0, 0}}}); // two corners
        else
            entities += Face(layer, {{{i, 0, 0}}, {{i + 1, 0, 0}}, {{i + 1, 1, i % 3}}});
        if (i % 1000 == 500)
            entities += Polyline("P", 8, {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}});
    }
    return Section(entities);
}

TEST(DxfParsing, ThreadedParsingHandsOverWhatParsingFirstDoes) {
    const std::string large = ManyFaces(20000);
    // An oversized coordinate partway: the faces before it, then the error.
    std::string damaged = large;
    const std::size_t at = damaged.find("\n10\n15000\n");
    ASSERT_NE(at, std::string::npos);
    damaged.replace(at, 10, "\n10\n1e39\n");
    // A group code line that is no number partway.
    std::string broken = large;
    const std::size_t code = broken.find("\n10\n12345\n");
    ASSERT_NE(code, std::string::npos);
    broken.replace(code + 1, 2, "1x");
    for (const std::string* text : std::vector<const std::string*>{&large, &damaged, &broken}) {
        const CCollected first = Collect(*text, kNeverThreaded);
        const CCollected threaded = Collect(*text, kAlwaysThreaded);
        EXPECT_EQ(threaded.faces, first.faces);
        EXPECT_EQ(threaded.result.m_nFaces, first.result.m_nFaces);
        EXPECT_EQ(threaded.result.m_aLaterItem.size(), first.result.m_aLaterItem.size());
        EXPECT_EQ(threaded.result.m_strError, first.result.m_strError);
        EXPECT_GT(threaded.batches, 1u);
    }
    const CCollected whole = Collect(large, kAlwaysThreaded);
    EXPECT_EQ(whole.faces.size(), 20000u);
    EXPECT_EQ(whole.faces[1], "L1/3 1.000000 0.000000 0.000000 2.000000 0.000000 0.000000 "
                              "2.000000 1.000000 1.000000");
    EXPECT_EQ(whole.faces[0].substr(0, 6), "N/A/2 ");
    EXPECT_EQ(whole.result.m_aLaterItem.size(), 20u); // one polyline every 1000 faces
    EXPECT_TRUE(whole.result.m_strError.empty());
    const CCollected cut = Collect(damaged, kAlwaysThreaded);
    EXPECT_EQ(cut.faces.size(), 15000u);
    EXPECT_NE(cut.result.m_strError.find("\"1e39\" is too large"), std::string::npos);
    const CCollected stopped = Collect(broken, kAlwaysThreaded);
    // The entity the bad code line stands in is still handed over, with what came before it.
    ASSERT_EQ(stopped.faces.size(), 12346u);
    EXPECT_EQ(stopped.faces.back(), "L0/0");
    EXPECT_NE(stopped.result.m_strError.find("group code \"1x\" is not a number"),
              std::string::npos);
}

TEST(DxfParsing, SmallAndEmptyTextsReadAlikeBothWays) {
    for (const std::string& text :
         {std::string(), Section(""), Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}})),
          std::string("0\n3DFACE\n8\nA\n10\n1\n20\n2\n30\n3\n")}) {
        const CCollected first = Collect(text, kNeverThreaded);
        const CCollected threaded = Collect(text, kAlwaysThreaded);
        EXPECT_EQ(threaded.faces, first.faces);
        EXPECT_EQ(threaded.result.m_nFaces, first.result.m_nFaces);
        EXPECT_EQ(threaded.result.m_strError, first.result.m_strError);
    }
}

TEST(DxfParsing, AFailingMergeEndsTheParserAndReachesTheCaller) {
    // The parser is far ahead and waits for room when the merge throws: it must end, not
    // hang, and the caller sees the merge's exception.
    const std::string large = ManyFaces(40000);
    for (std::size_t threadedFrom : {kAlwaysThreaded, kNeverThreaded}) {
        int batches = 0;
        CDxfDrawing drawing;
        EXPECT_THROW(ParseDxfDrawing(large, threadedFrom, false, drawing,
                                     [&](const std::vector<CDxfItem>&) {
                                         if (++batches == 2)
                                             throw std::runtime_error("merge failed");
                                         return true;
                                     }),
                     std::runtime_error);
        EXPECT_EQ(batches, 2);
    }
}

} // namespace
