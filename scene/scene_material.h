// CSceneMaterial: the host's appearance record; the plug-ins only carry it.
// Record (48 bytes plus the string): block of the four rectangle int32 values,
// text, attr4 (int32), attr8 (word), attr3 (int32), block of the two size
// int32 values, attr2, attr5, attr6, attr7 (words), attr1 (int32), mode (word).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CArchive;

class CSceneMaterial {
  public:
    CSceneMaterial() = default;
    CSceneMaterial(const CSceneMaterial&) = default;
    CSceneMaterial& operator=(const CSceneMaterial&) = default;
    virtual ~CSceneMaterial() = default;

    void Serialize(CArchive& ar);

    // With an empty text.
    static constexpr std::size_t kMinRecordSize = 49;

    std::uint16_t m_wMode = 1;
    std::int32_t m_nMatAttr1 = 1;
    std::uint16_t m_wMatAttr2 = 0;
    std::array<std::int32_t, 4> m_nRect = {0, 0, 255, 255};
    std::int32_t m_nMatAttr3 = 0;
    std::array<std::int32_t, 2> m_nSize = {256, 256};
    std::int32_t m_nMatAttr4 = 0;
    std::string m_strText;
    std::uint16_t m_wMatAttr5 = 0;
    std::uint16_t m_wMatAttr6 = 0;
    std::uint16_t m_wMatAttr7 = 0;
    std::uint16_t m_wMatAttr8 = 0;
};
