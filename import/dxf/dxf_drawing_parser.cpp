#include "import/dxf/dxf_drawing_parser.h"

#include "import/dxf/c_numbers.h"
#include "import/dxf/dxf_placement.h"
#include "platform/ascii_text.h"

#include <algorithm>

namespace {

// Nested INSERTs deeper than this are not placed (the reader's limit as well).
constexpr std::size_t kCountedDepth = 16;

std::string BlockKey(std::string_view name) {
    return ToUpperAscii(std::string(name));
}

std::uint64_t OwnPolygons(const CDxfBlock& block) {
    std::uint64_t count = 0;
    for (const CDxfItem& item : block.m_aItem) {
        if (const auto* face = std::get_if<CDxfFace>(&item)) {
            count += face->m_nCount >= 3 ? 1 : 0;
        } else if (const auto* polygons = std::get_if<CDxfPolygons>(&item)) {
            count += polygons->m_anCount.size();
        }
    }
    return count;
}

// The polygons and nested placements one placement of each block makes, down to the depth
// the reader places. A block already on the way down (a cycle) adds nothing, as the reader
// does not place it. Counted once per block and depth, so that blocks placing blocks many
// times over cost no more than their number.
class CPlacedCounter {
  public:
    struct CCounts {
        std::uint64_t m_nPolygons = 0;
        std::uint64_t m_nBlocks = 0;
    };

    explicit CPlacedCounter(const CDxfDrawing& drawing)
        : m_aMemo(drawing.m_aBlock.size() * (kCountedDepth + 1)), m_abKnown(m_aMemo.size()),
          m_abOnPath(drawing.m_aBlock.size(), false) {}

    CCounts Count(const CDxfBlock& block, std::size_t depth) {
        const std::size_t slot = block.m_nIndex * (kCountedDepth + 1) + depth;
        if (m_abKnown[slot]) {
            return m_aMemo[slot];
        }
        CCounts total{block.m_nOwnPolygons, 0};
        m_abOnPath[block.m_nIndex] = true;
        for (const CDxfItem& item : block.m_aItem) {
            const auto* insert = std::get_if<CDxfInsert>(&item);
            if (insert == nullptr || insert->m_pBlock == nullptr || depth + 1 > kCountedDepth ||
                m_abOnPath[insert->m_pBlock->m_nIndex]) {
                continue;
            }
            const std::uint64_t cells = GridOf(*insert).Cells();
            const CCounts inner = Count(*insert->m_pBlock, depth + 1);
            total.m_nPolygons =
                DxfPolygonsPlus(total.m_nPolygons, DxfPolygonsTimes(inner.m_nPolygons, cells));
            total.m_nBlocks = DxfPolygonsPlus(
                total.m_nBlocks, DxfPolygonsTimes(DxfPolygonsPlus(inner.m_nBlocks, 1), cells));
        }
        m_abOnPath[block.m_nIndex] = false;
        m_abKnown[slot] = true;
        m_aMemo[slot] = total;
        return total;
    }

  private:
    std::vector<CCounts> m_aMemo;
    std::vector<bool> m_abKnown;
    std::vector<bool> m_abOnPath;
};

} // namespace

std::vector<CDxfItem>& CDxfDrawingParser::Container() {
    return m_pOpenBlock ? m_pOpenBlock->m_aItem : m_drawing.m_aLaterItem;
}

bool CDxfDrawingParser::Take(std::string_view name, std::uint32_t line,
                             const std::vector<CDxfPair>& pairs, std::vector<CDxfItem>& handedOn) {
    if (m_bSkippingBlock) {
        // A definition met once the blocks were known was read in an earlier pass.
        m_bSkippingBlock = name != "ENDBLK";
        return true;
    }
    if (!m_bBlocksInPlace) {
        if (name == "BLOCK") {
            StartBlock(pairs);
            return true;
        }
        if (name == "ENDBLK") {
            EndBlock();
            return true;
        }
        if (name == "ENDSEC" && !m_drawing.m_bSealed && !m_drawing.m_aBlock.empty()) {
            Seal();
            return true;
        }
    }
    if (name.starts_with("3DFACE")) {
        CDxfFace face;
        if (!ReadDxfFace(pairs, face, m_drawing.m_strError)) {
            return false;
        }
        if (m_pOpenBlock) {
            m_pOpenBlock->m_aItem.emplace_back(face);
        } else {
            ++m_drawing.m_nFaces;
            handedOn.emplace_back(face);
        }
        return true;
    }
    if (m_bPolylineOpen) {
        if (name.starts_with("VERTEX")) {
            return m_polyline.AddVertex(pairs, m_drawing.m_strError);
        }
        if (name.starts_with("SEQEND")) {
            FinishPolyline();
            return true;
        }
        if (name.starts_with("POLYLINE")) {
            return true;
        }
    } else if (name.starts_with("POLYLINE")) {
        m_bPolylineOpen = m_polyline.Start(pairs);
        m_pPolylineBlock = m_pOpenBlock.get();
        return true;
    }
    if (name == "MESH") {
        CDxfPolygons mesh;
        if (!ReadDxfMesh(pairs, mesh, m_drawing.m_strError)) {
            return false;
        }
        Container().emplace_back(std::move(mesh));
    } else if (name == "INSERT" && !m_bBlocksInPlace) {
        TakeInsert(line, pairs, handedOn);
    } else if (IsDxfAcisEntity(name)) {
        if (m_pOpenBlock) {
            m_pOpenBlock->m_aItem.emplace_back(CDxfUnreadable{});
        } else {
            ++m_drawing.m_nUnreadable;
        }
    }
    return true;
}

void CDxfDrawingParser::TakeInsert(std::uint32_t line, const std::vector<CDxfPair>& pairs,
                                   std::vector<CDxfItem>& handedOn) {
    CDxfInsert insert;
    ReadDxfInsert(pairs, line, insert);
    if (m_pOpenBlock) {
        m_pOpenBlock->m_aItem.emplace_back(insert); // looked up when the blocks are sealed
        return;
    }
    ++m_drawing.m_nInserts;
    if (m_drawing.m_bSealed) {
        insert.m_bResolved = true;
        auto found = m_drawing.m_blockByName.find(BlockKey(insert.m_strBlock));
        insert.m_pBlock = found == m_drawing.m_blockByName.end() ? nullptr : found->second;
    } else {
        ++m_drawing.m_nEarlyInserts;
    }
    handedOn.emplace_back(insert);
    m_drawing.m_aLaterItem.emplace_back(insert);
}

void CDxfDrawingParser::StartBlock(const std::vector<CDxfPair>& pairs) {
    FinishPolyline();
    EndBlock(); // a BLOCK without its ENDBLK ends where the next one starts
    if (m_drawing.m_bSealed) {
        m_bSkippingBlock = true;
        return;
    }
    m_pOpenBlock = std::make_unique<CDxfBlock>();
    const CDxfPair* name = FindDxfPair(pairs, "2");
    m_pOpenBlock->m_strName = name == nullptr ? std::string_view() : name->m_strValue;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const CDxfPair* value = FindDxfPair(pairs, std::array{"10", "20", "30"}[axis]);
        m_pOpenBlock->m_base[axis] = value == nullptr ? 0.0 : CStrToD(value->m_strValue);
    }
}

void CDxfDrawingParser::EndBlock() {
    if (!m_pOpenBlock) {
        return;
    }
    if (m_bPolylineOpen && m_pPolylineBlock == m_pOpenBlock.get()) {
        FinishPolyline();
    }
    m_pOpenBlock->m_nIndex = m_drawing.m_aBlock.size();
    m_pOpenBlock->m_nOwnPolygons = OwnPolygons(*m_pOpenBlock);
    m_drawing.m_bBlockGeometry = m_drawing.m_bBlockGeometry || m_pOpenBlock->m_nOwnPolygons > 0;
    // A name defined twice keeps its first definition, as CAD programs do.
    m_drawing.m_blockByName.emplace(BlockKey(m_pOpenBlock->m_strName), m_pOpenBlock.get());
    m_drawing.m_aBlock.push_back(std::move(m_pOpenBlock));
}

void CDxfDrawingParser::FinishPolyline() {
    if (!m_bPolylineOpen) {
        return;
    }
    m_bPolylineOpen = false;
    std::vector<CDxfItem>& container =
        m_pPolylineBlock != nullptr ? m_pPolylineBlock->m_aItem : m_drawing.m_aLaterItem;
    container.emplace_back(m_polyline.Finish());
}

void CDxfDrawingParser::Seal() {
    m_drawing.m_bSealed = true;
    for (const auto& block : m_drawing.m_aBlock) {
        for (CDxfItem& item : block->m_aItem) {
            if (auto* insert = std::get_if<CDxfInsert>(&item)) {
                auto found = m_drawing.m_blockByName.find(BlockKey(insert->m_strBlock));
                insert->m_bResolved = true;
                insert->m_pBlock = found == m_drawing.m_blockByName.end() ? nullptr : found->second;
            }
        }
    }
    CPlacedCounter counter(m_drawing);
    for (const auto& block : m_drawing.m_aBlock) {
        const CPlacedCounter::CCounts counts = counter.Count(*block, 1);
        block->m_nPlacedPolygons = counts.m_nPolygons;
        block->m_nPlacedBlocks = counts.m_nBlocks;
    }
}

void CDxfDrawingParser::Finish() {
    FinishPolyline();
    EndBlock();
    if (!m_drawing.m_bSealed && !m_bBlocksInPlace) {
        Seal();
    }
}
