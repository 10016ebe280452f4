// CDxfDrawingParser: the entities of a DXF text, in file order, sorted into what the reader
// merges: faces and INSERTs outside block definitions (handed on at once, for the faces'
// pass), block definitions, and the polylines, meshes and INSERTs outside block definitions
// kept for the pass that follows (CDxfDrawing).
//
// An entity name counts at its start for 3DFACE, POLYLINE, VERTEX and SEQEND, as it always
// has here; INSERT, MESH, BLOCK, ENDBLK and ENDSEC are matched whole. A POLYLINE takes the
// VERTEX entities up to its SEQEND (or the end of its block, or of the text); a POLYLINE met
// before that is part of it. The blocks are sealed at the first ENDSEC after a block
// definition (the end of the BLOCKS section) or at the end of the text: then every nested
// INSERT is looked up and each block's polygon count is known. Internal to the import library.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "import/dxf/dxf_entities.h"
#include "import/dxf/dxf_entity_readers.h"
#include "import/dxf/dxf_pairs.h"

class CDxfDrawingParser {
  public:
    // blocksInPlace: block definitions are read as if they were not there (their entities
    // stand where they are) and INSERTs are passed over: for a file of block definitions only.
    CDxfDrawingParser(CDxfDrawing& drawing, bool blocksInPlace)
        : m_drawing(drawing), m_bBlocksInPlace(blocksInPlace) {}

    // One entity: its name, the line of its group code 0 and the pairs after it. false on an
    // error, with the reason in the drawing's m_strError.
    bool Take(std::string_view name, std::uint32_t line, const std::vector<CDxfPair>& pairs,
              std::vector<CDxfItem>& handedOn);
    // The end of the text: an open polyline or block definition ends, the blocks are sealed.
    void Finish();

  private:
    // Where an entity read now belongs: the open block definition, or the later items.
    std::vector<CDxfItem>& Container();
    void StartBlock(const std::vector<CDxfPair>& pairs);
    void EndBlock();
    void FinishPolyline();
    void TakeInsert(std::uint32_t line, const std::vector<CDxfPair>& pairs,
                    std::vector<CDxfItem>& handedOn);
    void Seal();

    CDxfDrawing& m_drawing;
    bool m_bBlocksInPlace;
    std::unique_ptr<CDxfBlock> m_pOpenBlock;
    bool m_bSkippingBlock = false; // inside a definition met after the blocks were sealed
    bool m_bPolylineOpen = false;
    CDxfBlock* m_pPolylineBlock = nullptr; // the block the open polyline stands in, if any
    CDxfPolylineBuilder m_polyline;
};
