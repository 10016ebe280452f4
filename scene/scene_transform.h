// CSceneTransform: a part's position and three host values.
// Record (48 bytes): position x, y, z, value1, value2, value3 (doubles);
// the position's tag is not stored.
#pragma once

#include "scene/scene_point.h"

#include <cstddef>

class CArchive;

class CSceneTransform {
  public:
    CSceneTransform() = default;
    CSceneTransform(const CSceneTransform&) = default;
    CSceneTransform& operator=(const CSceneTransform&) = default;
    virtual ~CSceneTransform() = default;

    void Serialize(CArchive& ar);

    static constexpr std::size_t kRecordSize = 48;

    double m_dValue1 = 0.0;
    double m_dValue2 = 0.0;
    double m_dValue3 = 0.0;
    CScenePoint m_position;
};
