#include "scene/scene_material.h"

#include "scene/archive.h"

namespace {

// The rectangle and the size pair are raw blocks of little-endian int32 values.
template <std::size_t N>
void TransferInts(CArchive& ar, std::array<std::int32_t, N>& values, const char* what) {
    std::array<std::uint8_t, 4 * N> bytes{};
    if (ar.IsStoring()) {
        for (std::size_t i = 0; i < N; ++i) {
            const auto v = static_cast<std::uint32_t>(values[i]);
            for (std::size_t b = 0; b < 4; ++b)
                bytes[4 * i + b] = static_cast<std::uint8_t>(v >> (8 * b));
        }
        ar.StoreBlock(bytes.data(), bytes.size());
    } else {
        ar.LoadBlock(bytes.data(), bytes.size(), what);
        for (std::size_t i = 0; i < N; ++i) {
            std::uint32_t v = 0;
            for (std::size_t b = 0; b < 4; ++b)
                v |= static_cast<std::uint32_t>(bytes[4 * i + b]) << (8 * b);
            values[i] = static_cast<std::int32_t>(v);
        }
    }
}

} // namespace

void CSceneMaterial::Serialize(CArchive& ar) {
    TransferInts(ar, m_nRect, "material rectangle");
    ar.Transfer(m_strText, "material text");
    ar.Transfer(m_nMatAttr4, "material attr4");
    ar.Transfer(m_wMatAttr8, "material attr8");
    ar.Transfer(m_nMatAttr3, "material attr3");
    TransferInts(ar, m_nSize, "material size");
    ar.Transfer(m_wMatAttr2, "material attr2");
    ar.Transfer(m_wMatAttr5, "material attr5");
    ar.Transfer(m_wMatAttr6, "material attr6");
    ar.Transfer(m_wMatAttr7, "material attr7");
    ar.Transfer(m_nMatAttr1, "material attr1");
    ar.Transfer(m_wMode, "material mode");
}
