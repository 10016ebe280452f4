// Text DXF: 3DFACE entities, polylines, polyface and polygon meshes, MESH entities, and the
// blocks INSERTs place; layers become surfaces.
//
// The text is read as code/value pairs grouped into entities (a pair with group code 0 and
// the pairs after it). An entity name counts only as the value of group code 0, so a layer or
// a text that begins with "3DFACE" starts nothing. A face whose fourth corner is its third
// is a triangle. Faces are merged first, as they are parsed; polylines and meshes follow, so
// faces' layers become surfaces first.
#include "import/dxf/dxf_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "import/dxf/c_numbers.h"
#include "import/dxf/dxf_binary.h"
#include "import/dxf/dxf_names.h"
#include "import/dxf/dxf_pairs.h"
#include "import/dxf/dxf_parsing.h"
#include "import/import_object.h"

namespace {

// Faces whose corners are looked up ahead of their merge: the hash slots of this many faces
// are on their way from memory while a face is merged.
constexpr std::size_t kPrefetchFaces = 32;

void PrefetchCorners(const CImportObject& object, const CDxfItem& item) {
    // Outside blocks the corners stand as they are, and the parser made sure they narrow.
    if (const auto* face = std::get_if<CDxfFace>(&item)) {
        for (std::size_t d = 0; d < face->m_nCount; ++d) {
            const CDxfPoint& xyz = face->m_corners[d];
            object.PrefetchPoint(static_cast<float>(xyz[0]), static_cast<float>(xyz[1]),
                                 static_cast<float>(xyz[2]));
        }
    }
}

// The layer an entity inside a block lands on: its own, unless that is "0".
std::string_view EffectiveLayer(std::string_view layer, const std::string_view inherited) {
    return layer == "0" && !inherited.empty() ? inherited : layer;
}

void Grow(std::vector<char>& flags, std::size_t index) {
    if (index >= flags.size()) {
        flags.resize(index + 1, 0);
    }
}

} // namespace

bool CDxfReader::Read(std::string_view text) {
    if (!text.starts_with("AutoCAD Binary DXF")) {
        return ReadText(text);
    }
    // Binary DXF holds the same pairs as its text form: read as that text, a reason that
    // names a line names the pair's byte offset in the file instead.
    CDxfBinaryText converted;
    if (!BinaryDxfToText(text, converted, m_object.m_strError)) {
        m_object.m_strError = "binary DXF, " + m_object.m_strError;
        return false;
    }
    if (ReadText(converted.m_strText)) {
        return true;
    }
    std::string& error = m_object.m_strError;
    if (error.starts_with("line ")) {
        const std::uint64_t line = std::strtoull(error.c_str() + 5, nullptr, 10);
        const std::uint64_t pair = line == 0 ? 0 : (line - 1) / 2;
        if (pair < converted.m_anPairOffset.size()) {
            error = "binary DXF, byte offset " +
                    std::to_string(converted.m_anPairOffset[static_cast<std::size_t>(pair)]) +
                    error.substr(error.find(':'));
        }
    }
    return false;
}

bool CDxfReader::ReadText(std::string_view text) {
    std::string_view version;
    std::string_view codePage;
    FindDxfHeaderNames(text, version, codePage);
    m_names = CDxfNameDecoder(version, codePage);
    CDxfDrawing drawing;
    if (!ReadDrawing(text, false, drawing)) {
        return false;
    }
    if (drawing.m_nEarlyInserts > 0 && !drawing.m_aBlock.empty()) {
        // INSERTs stood before the blocks they place were defined: read again with every
        // block known from the start, so that each placement lands where its INSERT stands.
        CDxfDrawing known;
        known.m_aBlock = std::move(drawing.m_aBlock);
        known.m_blockByName = std::move(drawing.m_blockByName);
        known.m_bBlockGeometry = drawing.m_bBlockGeometry;
        known.m_bSealed = true;
        m_object.Clear();
        drawing = std::move(known);
        if (!ReadDrawing(text, false, drawing)) {
            return false;
        }
    }
    if (drawing.m_nInserts == 0 && m_object.GetPolygonCount() == 0 && drawing.m_bBlockGeometry) {
        // Nothing placed and nothing of its own: a library of block definitions, read as
        // its blocks stand.
        m_object.Clear();
        drawing = {};
        return ReadDrawing(text, true, drawing);
    }
    // Without any block, INSERTs met early are INSERTs of blocks the file lacks.
    m_object.m_nSkippedElements +=
        UnplacedPolygons(drawing) + (drawing.m_aBlock.empty() ? drawing.m_nEarlyInserts : 0);
    return true;
}

bool CDxfReader::ReadDrawing(std::string_view text, bool blocksInPlace, CDxfDrawing& drawing) {
    m_nSkipped = 0;
    m_nPlannedPolygons = 0;
    m_nPlannedBlocks = 0;
    m_nPlacedPolygons = 0;
    m_nPlacements = 0;
    m_abPlaced.clear();
    m_abOnPath.clear();
    m_nLastSurface = 0;
    ParseDxfDrawing(text, m_nThreadedFrom, blocksInPlace, drawing,
                    [this](const std::vector<CDxfItem>& batch) { return MergeFaces(batch); });
    if (m_object.m_strError.empty()) {
        m_object.m_strError = drawing.m_strError;
    }
    if (Failed()) {
        return false;
    }
    MergeLater(drawing);
    m_object.m_nSkippedElements = drawing.m_nUnreadable + m_nSkipped;
    // What the text held up to its end was read, as from a whole file; the report adds that
    // the end came early.
    m_object.m_bEndsEarly = drawing.m_bEndsEarly;
    return !Failed();
}

void CDxfReader::RefuseTooMany(std::uint32_t line) {
    m_object.m_strError =
        "line " + std::to_string(line) + ": the drawing's INSERT entities would place more than " +
        std::to_string(kMaxPlaced) + " polygons or blocks, more than an import takes";
}

bool CDxfReader::Failed() const {
    return !m_object.m_strError.empty();
}

bool CDxfReader::MergeFaces(const std::vector<CDxfItem>& batch) {
    const CPlacement top;
    for (std::size_t i = 0; i < batch.size() && i < kPrefetchFaces; ++i) {
        PrefetchCorners(m_object, batch[i]);
    }
    for (std::size_t i = 0; i < batch.size() && !Failed(); ++i) {
        if (i + kPrefetchFaces < batch.size()) {
            PrefetchCorners(m_object, batch[i + kPrefetchFaces]);
        }
        if (const auto* face = std::get_if<CDxfFace>(&batch[i])) {
            AddFace(*face, top);
        } else if (const auto* insert = std::get_if<CDxfInsert>(&batch[i])) {
            // One met before its block was known is placed when the text is read again.
            if (insert->m_bResolved) {
                Place(*insert, EPass::Faces, top, 1);
            }
        }
    }
    return !Failed();
}

void CDxfReader::MergeLater(const CDxfDrawing& drawing) {
    const CPlacement top;
    for (const CDxfItem& item : drawing.m_aLaterItem) {
        if (Failed()) {
            return;
        }
        if (const auto* polygons = std::get_if<CDxfPolygons>(&item)) {
            AddPolygons(*polygons, top);
        } else if (const auto* insert = std::get_if<CDxfInsert>(&item)) {
            if (insert->m_bResolved) {
                Place(*insert, EPass::Later, top, 1);
            }
        }
    }
}

bool CDxfReader::CanPlace(const CDxfInsert& insert, EPass pass, int depth) {
    const CDxfBlock* block = insert.m_pBlock;
    const bool placeable = block != nullptr && depth <= kMaxDepth &&
                           (block->m_nIndex >= m_abOnPath.size() || !m_abOnPath[block->m_nIndex]);
    // The faces' pass meets every INSERT the later pass meets: it counts what is skipped, and
    // what placements make.
    if (pass != EPass::Faces) {
        return placeable;
    }
    if (!placeable) {
        ++m_nSkipped;
        return false;
    }
    // What a placement at the top will make is known before it starts; the count of cells
    // met on the way down holds where that falls short (blocks that place themselves).
    const std::uint64_t cells = GridOf(insert).Cells();
    if (depth == 1) {
        m_nPlannedPolygons =
            DxfPolygonsPlus(m_nPlannedPolygons, DxfPolygonsTimes(block->m_nPlacedPolygons, cells));
        m_nPlannedBlocks = DxfPolygonsPlus(
            m_nPlannedBlocks, DxfPolygonsTimes(DxfPolygonsPlus(block->m_nPlacedBlocks, 1), cells));
    }
    m_nPlacements = DxfPolygonsPlus(m_nPlacements, cells);
    if (m_nPlannedPolygons > kMaxPlaced || m_nPlannedBlocks > kMaxPlaced ||
        m_nPlacements > kMaxPlaced) {
        RefuseTooMany(insert.m_nLine);
        return false;
    }
    return true;
}

void CDxfReader::Place(const CDxfInsert& insert, EPass pass, const CPlacement& outer, int depth) {
    if (!CanPlace(insert, pass, depth)) {
        return;
    }
    const CDxfBlock& block = *insert.m_pBlock;
    Grow(m_abPlaced, block.m_nIndex);
    Grow(m_abOnPath, block.m_nIndex);
    m_abPlaced[block.m_nIndex] = 1;
    m_abOnPath[block.m_nIndex] = 1;
    const CDxfGrid grid = GridOf(insert);
    CPlacement placement;
    placement.m_strLayer = EffectiveLayer(insert.m_strLayer, outer.m_strLayer);
    placement.m_nLine = insert.m_nLine;
    for (std::int32_t row = 0; row < grid.m_nRows && !Failed(); ++row) {
        for (std::int32_t column = 0; column < grid.m_nColumns && !Failed(); ++column) {
            placement.m_transform =
                outer.m_transform * CDxfTransform::ForInsert(insert, block.m_base, column, row);
            placement.m_bMirrors = placement.m_transform.Mirrors();
            PlaceBlock(block, pass, placement, depth);
        }
    }
    m_abOnPath[block.m_nIndex] = 0;
}

void CDxfReader::PlaceBlock(const CDxfBlock& block, EPass pass, const CPlacement& placement,
                            int depth) {
    for (const CDxfItem& item : block.m_aItem) {
        if (Failed()) {
            return;
        }
        if (const auto* insert = std::get_if<CDxfInsert>(&item)) {
            Place(*insert, pass, placement, depth + 1);
        } else if (pass == EPass::Faces) {
            if (const auto* face = std::get_if<CDxfFace>(&item)) {
                AddFace(*face, placement);
            } else if (std::holds_alternative<CDxfUnreadable>(item)) {
                ++m_nSkipped;
            }
        } else if (const auto* polygons = std::get_if<CDxfPolygons>(&item)) {
            AddPolygons(*polygons, placement);
        }
    }
}

std::int32_t CDxfReader::LayerSurface(std::string_view layer, const CPlacement& placement) {
    layer = EffectiveLayer(layer, placement.m_strLayer);
    if (layer == kDxfNotFound) {
        layer = "Default";
    }
    // Entities of one layer stand together: the last layer's surface saves decoding its name
    // again for every face.
    if (m_nLastSurface != 0 && layer == m_strLastLayer) {
        return m_nLastSurface;
    }
    m_strLastLayer = layer;
    m_nLastSurface = m_names.KeepsBytes(layer) ? m_object.AddSurface(layer)
                                               : m_object.AddSurface(m_names.Decode(layer));
    return m_nLastSurface;
}

bool CDxfReader::AddPlacedPoint(const CDxfPoint& vertex, const CPlacement& placement,
                                std::int32_t& index) {
    const CDxfPoint world = placement.m_transform.Apply(vertex);
    std::array<float, 3> xyz{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!ToFiniteFloat(world[axis], xyz[axis])) {
            m_object.m_strError = "line " + std::to_string(placement.m_nLine) +
                                  ": the INSERT places a point too large for a coordinate";
            return false;
        }
    }
    index = m_object.AddPoint(xyz[0], xyz[1], xyz[2]);
    return true;
}

void CDxfReader::AddPlacedPolygon(std::int32_t surface, std::span<std::int32_t> corners,
                                  const CPlacement& placement) {
    if (!placement.m_transform.IsIdentity()) {
        // The planned count may fall short for blocks that place themselves: this one holds.
        if (++m_nPlacedPolygons > kMaxPlaced) {
            RefuseTooMany(placement.m_nLine);
            return;
        }
        // A mirrored copy lists its corners the other way round, so it faces outwards still.
        if (placement.m_bMirrors) {
            std::reverse(corners.begin(), corners.end());
        }
    }
    m_object.AddPolygon(surface, corners);
}

void CDxfReader::AddFace(const CDxfFace& face, const CPlacement& placement) {
    const std::int32_t surface = LayerSurface(face.m_strLayer, placement);
    std::array<std::int32_t, 4> corners{};
    for (std::size_t d = 0; d < face.m_nCount; ++d) {
        if (!AddPlacedPoint(face.m_corners[d], placement, corners[d])) {
            return;
        }
    }
    std::size_t count = face.m_nCount;
    // DXF writes a triangle as a face whose fourth corner repeats its third. Kept, the
    // repeat would give a flipped triangle a zero normal and other readers a degenerate
    // face; a face with four distinct corners (or another repeat) keeps all four.
    if (count == 4 && corners[3] == corners[2]) {
        count = 3;
    }
    if (count >= 3) {
        AddPlacedPolygon(surface, std::span<std::int32_t>(corners.data(), count), placement);
    }
}

void CDxfReader::AddPolygons(const CDxfPolygons& polygons, const CPlacement& placement) {
    const std::int32_t surface = LayerSurface(polygons.m_strLayer, placement);
    std::vector<std::int32_t> points(polygons.m_aVertex.size());
    for (std::size_t v = 0; v < points.size(); ++v) {
        if (!AddPlacedPoint(polygons.m_aVertex[v], placement, points[v])) {
            return;
        }
    }
    std::size_t at = 0;
    for (std::uint32_t count : polygons.m_anCount) {
        m_anScratch.clear();
        for (std::uint32_t k = 0; k < count; ++k) {
            m_anScratch.push_back(points[polygons.m_anCorner[at + k]]);
        }
        at += count;
        AddPlacedPolygon(surface, m_anScratch, placement);
        if (Failed()) {
            return;
        }
    }
}

std::size_t CDxfReader::UnplacedPolygons(const CDxfDrawing& drawing) const {
    std::size_t count = 0;
    for (const auto& block : drawing.m_aBlock) {
        const bool placed = block->m_nIndex < m_abPlaced.size() && m_abPlaced[block->m_nIndex];
        count += placed ? 0 : static_cast<std::size_t>(block->m_nOwnPolygons);
    }
    return count;
}
