// CDxfReader: fills an import object from the text of a DXF file. Internal to the import
// library; CImportObject::LoadDxf is the way in.
//
// A binary DXF file is read as the text it stands for (dxf_binary.h). It takes 3DFACE entities, 3-D
// polylines, polyface meshes, M x N polygon meshes and MESH entities; each distinct layer name
// becomes a surface ("Default" without group 8) and identical vertices anywhere in the file become
// one point (CImportObject::AddPoint). Faces come first, in file order (parsed by dxf_parsing.h, on
// a second thread for a large text, and merged here as they come), then the polylines and meshes,
// so faces' layers become surfaces first.
//
// Blocks are geometry where an INSERT places them (dxf_placement.h), in the pass of their
// kind and where the INSERT stands, however deep they nest; an entity on layer "0" inside a
// block takes the layer of the INSERT that places it. A block no INSERT places is skipped,
// unless the drawing places none and has no polygons of its own: then the blocks are read
// where they stand, so a file of block definitions still imports its geometry. ACIS bodies,
// unplaced blocks' polygons, INSERTs of missing blocks, nesting deeper than kMaxDepth and
// blocks that place themselves are counted in the object's m_nSkippedElements.
//
// A text that ends before its 0/EOF pair (inside a section or an entity) is read up to its
// end, as a whole one would be, and the object's m_bEndsEarly says so.
//
// Layer names are decoded as the file's version and code page say (dxf_names.h); a file
// that names no code page and escapes nothing keeps its bytes.
//
// A group code line that is not a number, a coordinate too large for single precision and
// INSERTs that would place more than kMaxPlaced polygons make the file unreadable: Read
// returns false with the reason, naming the line, in the object's m_strError; the caller
// clears the object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "import/dxf/dxf_entities.h"
#include "import/dxf/dxf_names.h"
#include "import/dxf/dxf_placement.h"

class CImportObject;

class CDxfReader {
  public:
    // From this many bytes of text on, faces are parsed on a thread of their own.
    static constexpr std::size_t kThreadedFrom = 1 << 20;
    // INSERTs within INSERTs are placed down to this depth.
    static constexpr int kMaxDepth = 16;
    // Placements can multiply a small file into a huge object: a drawing whose INSERTs would
    // place more polygons than this (five times a large model), or place blocks more often,
    // is refused before the memory is spent.
    static constexpr std::uint64_t kMaxPlaced = 10'000'000;

    explicit CDxfReader(CImportObject& object, std::size_t threadedFrom = kThreadedFrom)
        : m_object(object), m_nThreadedFrom(threadedFrom) {}

    bool Read(std::string_view text);

  private:
    enum class EPass { Faces, Later };
    bool ReadText(std::string_view text);
    // Where a placed entity lands: the map into world coordinates, and the layer that an
    // entity on layer "0" takes (empty outside blocks).
    struct CPlacement {
        CDxfTransform m_transform;
        std::string_view m_strLayer;
        std::uint32_t m_nLine = 0; // the INSERT's, for messages
        bool m_bMirrors = false;
    };

    bool ReadDrawing(std::string_view text, bool blocksInPlace, CDxfDrawing& drawing);
    bool MergeFaces(const std::vector<CDxfItem>& batch);
    void MergeLater(const CDxfDrawing& drawing);
    void Place(const CDxfInsert& insert, EPass pass, const CPlacement& outer, int depth);
    void PlaceBlock(const CDxfBlock& block, EPass pass, const CPlacement& placement, int depth);
    bool CanPlace(const CDxfInsert& insert, EPass pass, int depth);
    void AddFace(const CDxfFace& face, const CPlacement& placement);
    void AddPolygons(const CDxfPolygons& polygons, const CPlacement& placement);
    // The point index of a placed vertex; false (with m_strError) when it lands beyond
    // single precision.
    bool AddPlacedPoint(const CDxfPoint& vertex, const CPlacement& placement, std::int32_t& index);
    void AddPlacedPolygon(std::int32_t surface, std::span<std::int32_t> corners,
                          const CPlacement& placement);
    std::int32_t LayerSurface(std::string_view layer, const CPlacement& placement);
    std::size_t UnplacedPolygons(const CDxfDrawing& drawing) const;
    void RefuseTooMany(std::uint32_t line);
    bool Failed() const;

    CImportObject& m_object;
    std::size_t m_nThreadedFrom;
    // Counts of this reading: what was skipped, and what placements made so far.
    std::size_t m_nSkipped = 0;
    std::uint64_t m_nPlannedPolygons = 0;
    std::uint64_t m_nPlannedBlocks = 0;
    std::uint64_t m_nPlacedPolygons = 0;
    std::uint64_t m_nPlacements = 0;
    // By block index: whether an INSERT placed it, and whether it is being placed now.
    std::vector<char> m_abPlaced;
    std::vector<char> m_abOnPath;
    std::vector<std::int32_t> m_anScratch;
    // Layer names as part names: decoded from the file's code page, escapes and all.
    CDxfNameDecoder m_names;
    std::string_view m_strLastLayer;
    std::int32_t m_nLastSurface = 0;
};
