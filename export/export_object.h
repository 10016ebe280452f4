// CExportObject: a whole scene in the form the DXF writer needs. One flat list
// of points in scene axes with each part's position added, one surface per
// part (its DXF layer), and polygons that point at their points and surface.
//
// Ownership: the object owns every record in m_points, m_surfaces and
// m_polygons. A polygon's m_points and m_pSurface point into the object's own
// lists and do not own.
#pragma once

#include "export/export_point.h"
#include "export/export_polygon.h"
#include "export/export_surface.h"

#include "platform/status.h"
#include "scene/owning_array.h"

#include <string>

class CSceneDocument;

class CExportObject {
  public:
    CExportObject() = default;
    CExportObject(const CExportObject&) = delete;
    CExportObject& operator=(const CExportObject&) = delete;
    virtual ~CExportObject() = default;

    void SetRename(int bRename) { m_bRename = bRename; }
    void SetFlipPolygons(int bFlipPolygons) { m_bFlipPolygons = bFlipPolygons; }

    // Appends every part of document by the rules of exported_polygons.h: a surface per
    // part, all the part's points with its position added, its polygons with the corners
    // that name one of them. With m_bFlipPolygons at 1 the document is flipped in place.
    void ConvertScene(CSceneDocument& document);

    // Writes the object as a DXF file at strPath, replacing any file of that
    // name only when the whole file was written. On success m_strInfo becomes
    // the export summary. On failure the status gives the reason, m_strInfo is
    // unchanged and the old file (if any) is whole; no partial file is left.
    CStatus WriteDxf(const std::string& strPath);
    // The same file and summary as ConvertScene(document) followed by
    // WriteDxf(strPath) on an empty object, written straight from the document by the same
    // traversal without copying it: the object's lists stay empty. How the export runs.
    CStatus WriteDxf(CSceneDocument& document, const std::string& strPath);

    // The entity text of one polygon: a 3DFACE (for 3 or 4 points) and a
    // closed 3D POLYLINE (any number), with CR LF line ends.
    std::string FormatFace(const CExportPolygon& polygon) const;
    std::string FormatPolyline(const CExportPolygon& polygon) const;

    // The summary text WriteDxf leaves in m_strInfo.
    static std::string FormatSummary(int points, int polygons, int parts);

    // Diagnostic listing of points, surfaces and polygons.
    std::string Dump() const;

    std::string m_strInfo = "OK";
    COwningArray<CExportPoint> m_points;
    COwningArray<CExportPolygon> m_polygons;
    COwningArray<CExportSurface> m_surfaces;
    int m_bRename = 1;
    int m_bFlipPolygons = 0;
};
