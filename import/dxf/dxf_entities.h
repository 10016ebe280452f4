// The DXF entities the reader turns into polygons, parsed from their pairs but not yet merged
// into the import object, and the block definitions that INSERT entities place.
//
// Coordinates stay in double precision until they are placed: a block's points are moved,
// turned and scaled first and narrowed to single precision once. Names are views into the
// text being read, which outlives every entity. Internal to the import library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

using CDxfPoint = std::array<double, 3>;

struct CDxfBlock;

// A 3DFACE.
struct CDxfFace {
    // The value of the face's first group 8, or "N/A" without one.
    std::string_view m_strLayer;
    // Corners read: up to four, stopping at the first corner without its x or y.
    std::size_t m_nCount = 0;
    std::array<CDxfPoint, 4> m_corners{};
};

// The polygons of one 3-D polyline, polyface mesh, M x N polygon mesh or MESH: its vertices
// in the order the file gives them, and each polygon as a run of vertex numbers.
struct CDxfPolygons {
    std::string_view m_strLayer; // first group 8, or "N/A"
    std::vector<CDxfPoint> m_aVertex;
    std::vector<std::uint32_t> m_anCorner; // every polygon's corners, one polygon after another
    std::vector<std::uint32_t> m_anCount;  // the number of corners of each polygon
};

// An INSERT (or MINSERT: a grid of placements) of a block.
struct CDxfInsert {
    std::string_view m_strBlock; // group 2
    std::string_view m_strLayer; // first group 8, or "N/A"
    std::uint32_t m_nLine = 0;   // line of its group code 0 pair, for messages
    CDxfPoint m_point{};         // 10/20/30, in the coordinates its extrusion defines
    CDxfPoint m_scale{1.0, 1.0, 1.0};
    double m_fRotation = 0.0; // degrees about the extrusion
    CDxfPoint m_extrusion{0.0, 0.0, 1.0};
    std::int32_t m_nColumns = 1;
    std::int32_t m_nRows = 1;
    double m_fColumnSpacing = 0.0;
    double m_fRowSpacing = 0.0;
    // Whether m_pBlock has been looked up (the drawing's blocks were all known then), and
    // what was found: null for a block the file lacks.
    bool m_bResolved = false;
    const CDxfBlock* m_pBlock = nullptr;
};

// Geometry the reader cannot turn into polygons (an ACIS solid, body, region or surface):
// it stands where it stands so that every placement of its block counts it as skipped.
struct CDxfUnreadable {};

using CDxfItem = std::variant<CDxfFace, CDxfPolygons, CDxfInsert, CDxfUnreadable>;

// A BLOCK ... ENDBLK definition. Complete and unchanged once the drawing's blocks are sealed.
struct CDxfBlock {
    std::string_view m_strName;
    std::size_t m_nIndex = 0; // in CDxfDrawing::m_aBlock
    CDxfPoint m_base{};       // 10/20/30: the point that lands on the insertion point
    std::vector<CDxfItem> m_aItem;
    // The polygons of its own entities, and those one placement of it makes with its nested
    // placements (at most kDxfPolygonCeiling: counts saturate there).
    std::uint64_t m_nOwnPolygons = 0;
    std::uint64_t m_nPlacedPolygons = 0;
    // The placements of blocks inside it that one placement of it makes, likewise.
    std::uint64_t m_nPlacedBlocks = 0;
};

// A count of polygons that stands for "more than any import takes".
inline constexpr std::uint64_t kDxfPolygonCeiling = std::uint64_t{1} << 62;

// Polygon counts that stop at the ceiling instead of wrapping round.
inline std::uint64_t DxfPolygonsPlus(std::uint64_t a, std::uint64_t b) {
    return a >= kDxfPolygonCeiling || b >= kDxfPolygonCeiling - a ? kDxfPolygonCeiling : a + b;
}
inline std::uint64_t DxfPolygonsTimes(std::uint64_t a, std::uint64_t b) {
    if (a == 0 || b == 0) {
        return 0;
    }
    return a > kDxfPolygonCeiling / b ? kDxfPolygonCeiling : a * b;
}

// What a pass over the text found besides the faces it handed on.
struct CDxfDrawing {
    std::vector<std::unique_ptr<CDxfBlock>> m_aBlock;
    // By name, upper-cased: block names are compared without regard to ASCII case.
    std::unordered_map<std::string, CDxfBlock*> m_blockByName;
    // Once true every INSERT is resolved as it is read; a BLOCK met then is not parsed again.
    bool m_bSealed = false;
    // Outside block definitions, in file order: the polylines and meshes, and the INSERTs
    // again, for the pass that follows the faces.
    std::vector<CDxfItem> m_aLaterItem;
    int m_nFaces = 0;                // 3DFACE entities met outside block definitions
    std::size_t m_nInserts = 0;      // INSERT entities met outside block definitions
    std::size_t m_nEarlyInserts = 0; // ... of those, met before the blocks were known
    std::size_t m_nUnreadable = 0;   // ACIS entities met outside block definitions
    bool m_bBlockGeometry = false;   // whether any block definition holds polygons
    bool m_bEndsEarly = false;       // the text ends before its 0/EOF pair
    std::string m_strError;
};
