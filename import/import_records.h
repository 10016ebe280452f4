// The import object's records: a point, a named surface and a polygon.
//
// Points and surfaces are plain values held by CImportObject in std::vector (no virtual
// destructor: nothing derives from them, and a vtable would widen every stored point).
// A polygon is handed out as a view: its corner indices live in the object's shared
// index pool, so m_anIndex stays valid only until the object is next changed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

class CImportPoint {
  public:
    CImportPoint() = default;
    CImportPoint(float x, float y, float z) : m_fX(x), m_fY(y), m_fZ(z) {}

    // "X: %f Y: %f Z: %f\n", the coordinates widened to double.
    void Print(std::FILE* out = stdout) const;

    float m_fX = 0.0f;
    float m_fY = 0.0f;
    float m_fZ = 0.0f;
};

class CImportSurface {
  public:
    // "%s\n": the name.
    void Print(std::FILE* out = stdout) const;

    std::string m_strName;
};

class CImportPolygon {
  public:
    // "Surf: %d  Pts: %d  (", then "%d " per corner, then ")\n".
    void Print(std::FILE* out = stdout) const;

    std::int32_t m_nCount = 0;   // number of corners, m_anIndex.size()
    std::int32_t m_nSurface = 0; // surface number counted from 1; 0 or beyond the surfaces: none
    std::span<const std::int32_t> m_anIndex; // 0-based point indices, in order
};
