// CScenePart: one named part of the scene: points, polygons whose corners
// index those points, seven materials, a transform holding the position, a
// link to another part and host attributes that are carried unchanged.
//
// The part owns its points and polygons (an object handed to AddPoint /
// AddPolygon belongs to the part). The operations trust their arguments: a
// point or polygon index must lie within the lists, and every corner index of
// every polygon within m_points. Loading trusts nothing: a damaged count ends
// the load with CArchiveException before anything is allocated for it.
//
// Record: id, transform record, attr27, attr26, current polygon, current point,
// attr33 (double), name, link text, link id, attr30, attr32, attr31, attr28,
// attr29, attr25, attr24, attr1 (word), attr23, attr17, attr16 (word), colour,
// attr15, attr14, attr13, condition text, attr22, attr21, attr20 (word),
// attr19 (word), attr2, attr3, attr4..attr7 (doubles), attr8 (word), attr9
// (double), attr10 (word), attr11 (double), attr12 (word), point count and
// point records, polygon count and polygon records, seven material records,
// attr18.
#pragma once

#include "scene/owning_array.h"
#include "scene/scene_material.h"
#include "scene/scene_normal.h"
#include "scene/scene_point.h"
#include "scene/scene_polygon.h"
#include "scene/scene_transform.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CArchive;

class CScenePart {
  public:
    CScenePart() = default;
    CScenePart(const CScenePart&) = delete;
    CScenePart& operator=(const CScenePart&) = delete;
    // Deletes every point, then every polygon, front to back.
    virtual ~CScenePart();

    // Appends the point; the part takes ownership.
    void AddPoint(CScenePoint* point);
    // Appends a copy of the point, kept in the part's own blocks.
    void AddPoint(const CScenePoint& point);
    // Appends the polygon (its corners must be complete), takes ownership and
    // computes its centre, centre distance and normal.
    void AddPolygon(CScenePolygon* polygon);
    // The same for a polygon moved into the part's own blocks.
    void AddPolygon(CScenePolygon&& polygon);
    // Removes point k, every polygon that uses it and every selected polygon;
    // corners above k move down by one; the current point and polygon stay valid.
    void RemovePoint(int k);
    // Removes every point no polygon uses (a part without polygons loses all).
    void RemoveUnreferencedPoints();
    // The same as RemovePoint(0) once for every point, in one pass: no point is
    // left, nor any polygon that was selected or had a corner among them. How
    // the import empties a part before it receives new geometry.
    void RemoveAllPoints();
    int GetSelectedPolygonCount() const;
    // Flips the selected polygons, or every polygon when none is selected.
    void FlipPolygons();
    // 1 when the rounded normals of consecutive corner triples change sign in
    // some component; triangles are never concave.
    int IsPolygonConcave(int i);
    // The mean of the corners' points (tag 0, mark 0); sets the polygon's
    // m_dCenterDistance. A polygon without corners gets (0, 0, 0) and distance 0.
    CScenePoint ComputePolygonCenter(int i);
    // v x u with u = P0 - P1, v = P1 - P2 (zero with fewer than 3 corners), set
    // into the polygon's m_normal; returns a copy.
    CSceneNormal ComputePolygonNormal(CScenePolygon* polygon);
    // Every polygon's centre first, then every polygon's normal.
    void UpdateGeometry();
    // Loading appends to the points and polygons the part already has and runs
    // AddPolygon for each loaded polygon. An empty entry in m_points is stored
    // as a new point's record.
    void Serialize(CArchive& ar);

    // The point a corner index names; the origin for an index outside m_points
    // or an empty entry (a damaged file's polygon then gets derived values
    // from the origin instead of reading outside the list).
    const CScenePoint& GetCornerPoint(std::int32_t index) const;

    // With empty name, link and condition texts, no points or polygons and
    // materials with empty texts.
    static constexpr std::size_t kMinRecordSize = 4 + CSceneTransform::kRecordSize + 4 * 4 + 8 + 1 +
                                                  1 + 8 * 4 + 2 + 2 * 4 + 2 + 4 * 4 + 1 + 2 * 4 +
                                                  2 * 2 + 2 * 4 + 4 * 8 + 2 + 8 + 2 + 8 + 2 + 4 +
                                                  4 + 7 * CSceneMaterial::kMinRecordSize + 4;

    std::uint16_t m_wPartAttr1 = 0;
    std::int32_t m_nPartAttr2 = 0;
    std::int32_t m_nPartAttr3 = 0;
    double m_dPartAttr4 = 0.0;
    double m_dPartAttr5 = 0.0;
    double m_dPartAttr6 = 0.0;
    double m_dPartAttr7 = 0.0;
    std::uint16_t m_wPartAttr8 = 0;
    double m_dPartAttr9 = 0.0;
    std::uint16_t m_wPartAttr10 = 0;
    double m_dPartAttr11 = 0.0;
    std::uint16_t m_wPartAttr12 = 0;
    std::int32_t m_nId = 0;     // 0: no id yet
    std::int32_t m_nLinkId = 0; // 0: no link
    std::int32_t m_nPartAttr13 = 1;
    std::int32_t m_nPartAttr14 = 0;
    std::int32_t m_nPartAttr15 = 0;
    std::uint16_t m_wPartAttr16 = 0xF00F;
    std::int32_t m_crColor = 0x808080;
    std::int32_t m_nPartAttr17 = 0;
    std::int32_t m_nPartAttr18 = 1;
    std::string m_strCondition = "Always";
    std::uint16_t m_wPartAttr19 = 0;
    std::uint16_t m_wPartAttr20 = 0;
    std::int32_t m_nPartAttr21 = 0;
    std::int32_t m_nPartAttr22 = 0;
    std::int32_t m_nPartAttr23 = 0;
    std::int32_t m_nPartAttr24 = 0;
    std::int32_t m_nPartAttr25 = 0;
    std::string m_strName = "No Name";
    std::string m_strLink; // "name.index" of the linked part
    std::int32_t m_nPartAttr26 = 0;
    std::int32_t m_nPartAttr27 = 0;
    std::int32_t m_nCurPoint = 0;
    std::int32_t m_nCurPolygon = 0;
    std::int32_t m_nPartAttr28 = 0;
    std::int32_t m_nPartAttr29 = 0;
    std::int32_t m_nPartAttr30 = 0;
    std::int32_t m_nPartAttr31 = 0;
    std::int32_t m_nPartAttr32 = 0;
    CSceneTransform m_transform;
    COwningArray<CScenePolygon> m_polygons;
    COwningArray<CScenePoint> m_points;
    std::array<CSceneMaterial, 7> m_materials;
    double m_dPartAttr33 = 0.0;

  private:
    // For every point, whether some polygon's corner names it.
    std::vector<char> GetUsedPoints() const;
    // Removes the unreferenced points from index start on, in one pass; only
    // valid while no polygon is selected.
    void CompactPointsFrom(int start);
    // Limits the current point and polygon to the lists.
    void ClampCurrent();
};

// Point i of part (an index within m_points) in the scene's coordinates: with the part's
// position added, and no other value of its transform. An empty entry stands for a point at
// the origin, as it is stored. Tag and mark are 0.
inline CScenePoint GetPlacedPoint(const CScenePart& part, int i) {
    const CScenePoint& position = part.m_transform.m_position;
    const CScenePoint* entry = part.m_points[i];
    CScenePoint placed;
    placed.m_x = (entry != nullptr ? entry->m_x : 0.0) + position.m_x;
    placed.m_y = (entry != nullptr ? entry->m_y : 0.0) + position.m_y;
    placed.m_z = (entry != nullptr ? entry->m_z : 0.0) + position.m_z;
    return placed;
}
