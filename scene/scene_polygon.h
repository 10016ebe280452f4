// CScenePolygon: an ordered list of corners (0-based indices into the owning
// part's points) with its colour, material, host pairs and derived values.
// The derived members (m_center, m_dCenterDistance, m_normal) are stored in the
// file, but the owning part recomputes them after loading and before storing.
//
// Record: centre (point record), colour index (word), colour (int32), attr4,
// centre distance (double), attr2, attr1, index count, the indices (int32
// each), selected, normal record, material record, attr5 | attr6 << 16
// (int32), pair count, the pairs (8 raw bytes each), attr3.
// Corner indices are not checked against any point list here.
#pragma once

#include "scene/index_list.h"
#include "scene/pair_list.h"
#include "scene/scene_material.h"
#include "scene/scene_normal.h"
#include "scene/scene_point.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class CArchive;

class CScenePolygon {
  public:
    using Pair = CPairList::Pair;

    CScenePolygon() = default;
    CScenePolygon(const CScenePolygon&) = default;
    CScenePolygon& operator=(const CScenePolygon&) = default;
    CScenePolygon(CScenePolygon&&) = default;
    CScenePolygon& operator=(CScenePolygon&&) = default;
    virtual ~CScenePolygon() = default;

    void AddIndex(std::int32_t index) { m_indices.push_back(index); }
    // Reverses the corner order and negates the raw and unit normal (not its length).
    void Flip();
    // Loading appends the indices and pairs to those the polygon holds.
    void Serialize(CArchive& ar);

    // No corners, no pairs, an empty material text.
    static constexpr std::size_t kMinRecordSize =
        28 + 2 + 4 + 4 + 8 + 4 + 4 + 4 + 4 + 56 + CSceneMaterial::kMinRecordSize + 4 + 4 + 4;

    CSceneMaterial m_material;
    CScenePoint m_center;
    double m_dCenterDistance = 0.0;
    std::int32_t m_nPolyAttr1 = 1;
    std::int32_t m_nPolyAttr2 = 0;
    std::int32_t m_nPolyAttr3 = 0;
    std::uint16_t m_wColorIndex = 2;
    std::int32_t m_crColor = 0x808080;
    std::int32_t m_nPolyAttr4 = 0;
    std::int32_t m_bSelected = 0;
    CSceneNormal m_normal;
    CIndexList m_indices;
    // Stored as the low 16 bits of one int32 (not masked when storing: bits
    // above 16 are ORed into the high half); loaded as 0..65535.
    std::int32_t m_nPolyAttr5 = 1;
    // Stored as the high 16 bits of that int32; loaded with its sign.
    std::int32_t m_nPolyAttr6 = 0;
    CPairList m_pairs;
};
