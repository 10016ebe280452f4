#include "scene/scene_transform.h"

#include "scene/archive.h"

void CSceneTransform::Serialize(CArchive& ar) {
    // The position's tag is not part of the record.
    ar.Transfer(m_position.m_x, "position x");
    ar.Transfer(m_position.m_y, "position y");
    ar.Transfer(m_position.m_z, "position z");
    ar.Transfer(m_dValue1, "transform value1");
    ar.Transfer(m_dValue2, "transform value2");
    ar.Transfer(m_dValue3, "transform value3");
}
