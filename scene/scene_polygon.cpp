#include "scene/scene_polygon.h"

#include "scene/archive.h"

#include <algorithm>

void CScenePolygon::Flip() {
    std::reverse(m_indices.begin(), m_indices.end());
    m_normal.m_dUnitX = -m_normal.m_dUnitX;
    m_normal.m_dUnitY = -m_normal.m_dUnitY;
    m_normal.m_dUnitZ = -m_normal.m_dUnitZ;
    m_normal.m_dX = -m_normal.m_dX;
    m_normal.m_dY = -m_normal.m_dY;
    m_normal.m_dZ = -m_normal.m_dZ;
}

void CScenePolygon::Serialize(CArchive& ar) {
    m_center.Serialize(ar);
    ar.Transfer(m_wColorIndex, "polygon colour index");
    ar.Transfer(m_crColor, "polygon colour");
    ar.Transfer(m_nPolyAttr4, "polygon attr4");
    ar.Transfer(m_dCenterDistance, "polygon centre distance");
    ar.Transfer(m_nPolyAttr2, "polygon attr2");
    ar.Transfer(m_nPolyAttr1, "polygon attr1");
    if (ar.IsStoring()) {
        ar.StoreCount(static_cast<std::int32_t>(m_indices.size()));
        for (std::int32_t index : m_indices)
            ar.StoreInt32(index);
    } else {
        const std::int32_t n = ar.LoadCount("polygon index count", 4);
        m_indices.reserve(m_indices.size() + ar.ReservableCount(n));
        for (std::int32_t i = 0; i < n; ++i)
            AddIndex(ar.LoadInt32("polygon index"));
    }
    ar.Transfer(m_bSelected, "polygon selected");
    m_normal.Serialize(ar);
    m_material.Serialize(ar);
    if (ar.IsStoring()) {
        // attr5 is not masked: its bits above 16 land in the high half.
        const auto packed = (static_cast<std::uint32_t>(m_nPolyAttr6) << 16) |
                            static_cast<std::uint32_t>(m_nPolyAttr5);
        ar.StoreInt32(static_cast<std::int32_t>(packed));
        ar.StoreCount(static_cast<std::int32_t>(m_pairs.size()));
        for (const Pair& pair : m_pairs)
            ar.StoreBlock(pair.data(), pair.size());
    } else {
        const std::int32_t packed = ar.LoadInt32("polygon attr5/attr6");
        m_nPolyAttr5 = packed & 0xFFFF;
        m_nPolyAttr6 = packed >> 16; // arithmetic: keeps the sign
        const std::int32_t m = ar.LoadCount("polygon pair count", sizeof(Pair));
        m_pairs.reserve(m_pairs.size() + ar.ReservableCount(m));
        for (std::int32_t i = 0; i < m; ++i) {
            Pair pair;
            ar.LoadBlock(pair.data(), pair.size(), "polygon pair");
            m_pairs.push_back(pair);
        }
    }
    ar.Transfer(m_nPolyAttr3, "polygon attr3");
}
