// CRenderScene: what `qrhost render` draws, in one compact form whatever it was
// read from: every point in scene axes (y vertical, each part's position
// added), every polygon as a run of corner indices, and the parts with their
// names, colours and polygon counts.
//
// A scene file is read with the scene library's reader; an object file (.lwo,
// .dxf) with the import library's, its axes mapped as the import maps them
// (a DXF file's Y and Z swapped), each surface becoming a part.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CImportObject;
class CSceneDocument;

struct CRenderPart {
    std::string m_strName;
    std::uint32_t m_nRgb = 0; // 0xRRGGBB
    std::size_t m_nPolygons = 0;
};

struct CRenderFace {
    std::size_t m_nFirst = 0;   // into CRenderScene::m_anCorner
    std::uint32_t m_nCount = 0; // corners; fewer than 3 is a line or a point
    std::uint32_t m_nPart = 0;  // into CRenderScene::m_parts
};

class CRenderScene {
  public:
    // Parts keep their stored colour unless it is the scene's default grey,
    // which the import leaves on every part: those get DistinctColor(index).
    void AddDocument(const CSceneDocument& doc);
    void AddObject(const CImportObject& object, bool dxfAxes);

    std::vector<CRenderPart> m_parts;
    std::vector<std::array<float, 3>> m_aPoint;
    std::vector<std::uint32_t> m_anCorner; // into m_aPoint
    std::vector<CRenderFace> m_faces;
    // Scene polygons naming a point their part does not have: not drawn.
    std::size_t m_nBrokenPolygons = 0;
};

// A colour for part number index, far in hue from its neighbours' (0xRRGGBB).
std::uint32_t DistinctColor(std::size_t index);
