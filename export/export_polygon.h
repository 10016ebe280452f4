// CExportPolygon: one polygon of the export object. It owns nothing: its
// surface and its points belong to the export object that holds it.
#pragma once

#include "export/export_point.h"
#include "export/export_surface.h"

#include <vector>

class CExportPolygon {
  public:
    CExportPolygon() = default;
    virtual ~CExportPolygon() = default;

    // The surface of the part the polygon came from; null until ConvertScene sets it.
    CExportSurface* m_pSurface = nullptr;
    // Corners in vertex order; a point may appear more than once.
    std::vector<CExportPoint*> m_points;
};
