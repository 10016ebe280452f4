// One DXF entity's pairs (those after its group code 0) read into the record of
// dxf_entities.h. A coordinate that cannot be narrowed to single precision makes the file
// unreadable: false, with the reason naming its line in error. Internal to the import library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/dxf/dxf_entities.h"
#include "import/dxf/dxf_pairs.h"

// A 3DFACE: corner d has groups 1d, 2d and 3d. Corners are read up to the first one without
// its x or y; a corner without z lies at z = 0, DXF's default for a group left out.
bool ReadDxfFace(const std::vector<CDxfPair>& pairs, CDxfFace& face, std::string& error);

// An INSERT or MINSERT: block 2, layer 8, point 10/20/30, scale 41/42/43, rotation 50,
// columns 70 and rows 71 with their spacing 44 and 45, extrusion 210/220/230; a group left out
// has DXF's default.
void ReadDxfInsert(const std::vector<CDxfPair>& pairs, std::uint32_t line, CDxfInsert& insert);

// A MESH (AutoCAD 2010 on) at its base level, as no subdivision is applied: the vertex count
// 92 and as many 10/20/30 points, the face list size 93 and as many 90 values, each face a
// corner count and that many 0-based vertex numbers. A number naming no vertex is left out;
// a face keeping fewer than three corners makes no polygon.
bool ReadDxfMesh(const std::vector<CDxfPair>& pairs, CDxfPolygons& mesh, std::string& error);

// ACIS geometry (3DSOLID, BODY, REGION and the SURFACE family): no polygons to read.
bool IsDxfAcisEntity(std::string_view name);

// A POLYLINE and the VERTEX entities that follow it up to its SEQEND.
class CDxfPolylineBuilder {
  public:
    // Starts a polyline from the POLYLINE's pairs. Flag 8 (group 70): a 3-D polyline; else
    // flag 64: a polyface mesh; else flag 16: an M x N polygon mesh (M = 71, N = 72, flag 1
    // closes M, flag 32 closes N). false for any other polyline, which is passed over.
    bool Start(const std::vector<CDxfPair>& pairs);
    // A VERTEX of the polyline started.
    bool AddVertex(const std::vector<CDxfPair>& pairs, std::string& error);
    // The polyline's polygons: a 3-D polyline of three vertices or more is one closed
    // polygon; a polyface face record is a polygon of the vertices its numbers 71 to 74 name
    // (negative for an invisible edge; 0 or beyond the vertices: that corner left out), even
    // with fewer than three; a polygon mesh is one quad per cell, corners (m,n), (m+1,n),
    // (m+1,n+1), (m,n+1), wrapping where M or N is closed.
    CDxfPolygons Finish();

  private:
    enum class EKind { Polyline3d, Polyface, PolygonMesh };
    void AddMeshCells();

    EKind m_kind = EKind::Polyline3d;
    CDxfPolygons m_polygons;
    std::vector<std::int64_t> m_anFaceNumber; // polyface: four per face record, 0 when missing
    std::int64_t m_nM = 0;
    std::int64_t m_nN = 0;
    bool m_bClosedM = false;
    bool m_bClosedN = false;
};
