#include "scene/scene_normal.h"

#include "scene/archive.h"

#include <cmath>

void CSceneNormal::Set(double x, double y, double z) {
    m_dX = x;
    m_dY = y;
    m_dZ = z;
    Normalize();
}

void CSceneNormal::Normalize() {
    m_dLength = std::sqrt(m_dX * m_dX + m_dY * m_dY + m_dZ * m_dZ);
    if (m_dLength != 0.0) {
        // One reciprocal, then three products: the stored unit vector depends
        // on this order bit for bit.
        const double r = 1.0 / m_dLength;
        m_dUnitX = r * m_dX;
        m_dUnitY = r * m_dY;
        m_dUnitZ = r * m_dZ;
    }
}

void CSceneNormal::Serialize(CArchive& ar) {
    ar.Transfer(m_dLength, "normal length");
    ar.Transfer(m_dUnitX, "normal unit x");
    ar.Transfer(m_dUnitY, "normal unit y");
    ar.Transfer(m_dUnitZ, "normal unit z");
    ar.Transfer(m_dX, "normal x");
    ar.Transfer(m_dY, "normal y");
    ar.Transfer(m_dZ, "normal z");
}
