// CExportPoint: one point of the export object, in scene axes (y up) with its
// part's position already added. The DXF writer exchanges y and z.
#pragma once

class CExportPoint {
  public:
    CExportPoint(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
    virtual ~CExportPoint() = default;

    double m_x;
    double m_y;
    double m_z;
};
