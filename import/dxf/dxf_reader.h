// CDxfReader: fills an import object from the text of a DXF file. Internal to the import
// library; CImportObject::LoadDxf is the way in.
//
// It takes 3DFACE entities, 3-D polylines and polyface meshes; each distinct layer name
// becomes a surface ("Default" without group 8) and identical vertices anywhere in the file
// become one point (CImportObject::AddPoint). The text is read as code/value pairs grouped
// into entities (dxf_pairs.h). Faces are read in a first pass (parsed by dxf_faces.h, on a
// second thread for a large text, and merged here in file order) and polylines in a second,
// so faces' layers become surfaces first. Binary DXF, a group code line that is not a number
// and a coordinate too large for single precision make the file unreadable: Read returns
// false with the reason, naming the line, in the object's m_strError; the caller clears the
// object.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "import/dxf/dxf_faces.h"
#include "import/dxf/dxf_pairs.h"

class CImportObject;

class CDxfReader {
  public:
    // From this many bytes of text on, faces are parsed on a thread of their own.
    static constexpr std::size_t kThreadedFrom = 1 << 20;

    explicit CDxfReader(CImportObject& object, std::size_t threadedFrom = kThreadedFrom)
        : m_object(object), m_nThreadedFrom(threadedFrom) {}

    bool Read(std::string_view text);

  private:
    // The number of 3DFACE entities met.
    int ReadFaces(std::string_view text);
    // The face's surface, its points and, with three corners or more, its polygon.
    void AddFace(const CDxfFace& face);
    // The number of 3-D polylines and polyface meshes met.
    int ReadPolylines(std::string_view text);
    void ReadPolyline3d(CDxfPairReader& pairs, std::int32_t surface);
    void ReadPolyface(CDxfPairReader& pairs, std::int32_t surface);
    // The value of the first pair with this group code in the current entity (its pairs up
    // to the next group code 0), white space trimmed, or "N/A".
    std::string_view FindGroup(std::string_view code) const;
    // The surface of the current entity's layer.
    std::int32_t LayerSurface();

    CImportObject& m_object;
    std::size_t m_nThreadedFrom;
    // The entity being read: its pairs after the code 0 pair.
    std::vector<CDxfPair> m_aEntity;
    // Whether the faces' pass met a POLYLINE, so that the polylines' pass is needed.
    bool m_bPolylines = false;
};
