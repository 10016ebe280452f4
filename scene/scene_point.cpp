#include "scene/scene_point.h"

#include "scene/archive.h"

void CScenePoint::Set(double x, double y, double z) {
    m_x = x;
    m_y = y;
    m_z = z;
}

void CScenePoint::Serialize(CArchive& ar) {
    ar.Transfer(m_nTag, "point tag");
    ar.Transfer(m_x, "point x");
    ar.Transfer(m_y, "point y");
    ar.Transfer(m_z, "point z");
}
