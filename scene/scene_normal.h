// CSceneNormal: a raw normal vector, its length and its unit form.
// Record (56 bytes): seven doubles length, unit x, y, z, raw x, y, z.
#pragma once

#include <cstddef>

class CArchive;

class CSceneNormal {
  public:
    CSceneNormal() = default;
    CSceneNormal(const CSceneNormal&) = default;
    CSceneNormal& operator=(const CSceneNormal&) = default;
    virtual ~CSceneNormal() = default;

    // Sets the raw normal, then Normalize().
    void Set(double x, double y, double z);
    // m_dLength = sqrt(x*x + y*y + z*z); when it is not 0, r = 1 / length and
    // the unit members become r*x, r*y, r*z (in this order of operations, so
    // Set(3, 4, 0) gives 0.6000000000000001). A zero length leaves the unit
    // members as they were.
    void Normalize();
    // Loading takes the stored values as they are; nothing is recomputed.
    void Serialize(CArchive& ar);

    static constexpr std::size_t kRecordSize = 56;

    double m_dUnitZ = 0.0;
    double m_dUnitY = 0.0;
    double m_dUnitX = 0.0;
    double m_dLength = 0.0;
    double m_dZ = 0.0;
    double m_dY = 0.0;
    double m_dX = 0.0;
};
