// How a scene document becomes export polygons, in one place for both ways of exporting it:
// the export object's copy (ConvertScene) and the file written straight from the document.
//
// Missing part entries are skipped; with the flip switch at exactly 1 each part's
// FlipPolygons() runs before its polygons are visited, changing the document in place;
// a corner index outside its part's points is left out (the document comes from outside
// and is not trusted); a missing polygon entry is a polygon without corners. Points are
// exported in scene axes with the part's position added: the y/z exchange belongs to the
// DXF writer.
#pragma once

#include "export/export_point.h"

#include "platform/status.h"

#include <cstdint>
#include <span>
#include <vector>

class CSceneDocument;
class CScenePart;

// Receives the exported parts in document order, each followed by its polygons.
class CExportPolygonVisitor {
  public:
    virtual ~CExportPolygonVisitor() = default;
    virtual CStatus VisitPart(const CScenePart& part) = 0;
    // corners: the indices of the polygon's corners that name a point of part, in vertex order.
    virtual CStatus VisitPolygon(const CScenePart& part, std::span<const std::int32_t> corners) = 0;
};

// The parts an export takes, in document order.
std::vector<CScenePart*> ExportedParts(CSceneDocument& document);

// Visits parts (as ExportedParts gives them) and their polygons; stops at the first failure
// the visitor returns and returns it.
CStatus VisitExportedPolygons(std::span<CScenePart* const> parts, int bFlipPolygons,
                              CExportPolygonVisitor& visitor);

// Point index of part as exported: its position added.
CExportPoint ExportedPoint(const CScenePart& part, int index);
