// CScenePoint: a 3-D point with the host's tag. Record (28 bytes): int32 tag,
// double x, double y, double z. The mark is a working value and is not stored.
#pragma once

#include <cstddef>
#include <cstdint>

class CArchive;

class CScenePoint {
  public:
    CScenePoint() = default;
    CScenePoint(const CScenePoint&) = default;
    CScenePoint& operator=(const CScenePoint&) = default;
    virtual ~CScenePoint() = default;

    // Sets the coordinates; tag and mark keep their values.
    void Set(double x, double y, double z);
    void Serialize(CArchive& ar);

    static constexpr std::size_t kRecordSize = 28;

    std::int32_t m_nMark = 0;
    std::int32_t m_nTag = 0;
    double m_z = 0.0;
    double m_y = 0.0; // vertical
    double m_x = 0.0;
};
