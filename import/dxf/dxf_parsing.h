// A DXF text parsed into the drawing the reader merges (dxf_drawing_parser.h). Parsing the
// text is most of the reading; merging the faces' corners into points is the rest and must
// happen in file order. On a large text the parsing therefore runs on a thread of its own while
// the caller merges the batches of faces (and the INSERTs among them) already parsed, so the
// two halves of the work overlap on a machine with more than one core.
//
// Internal to the import library (CDxfReader uses it).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "import/dxf/dxf_entities.h"

// Parses text into drawing and calls merge for each batch of items, in file order, on the
// calling thread: the faces and INSERTs outside block definitions. A batch's INSERTs are
// resolved (their blocks complete) when the blocks were sealed before them. From threadedFrom
// bytes of text on, the parsing runs on a second thread (when one can be started); below that,
// all of it runs first. The drawing belongs to the parser until this returns. Parsing stops
// at the first error (drawing.m_strError; the batches before it are still merged) or when
// merge returns false. An exception thrown by either side ends both and reaches the caller.
void ParseDxfDrawing(std::string_view text, std::size_t threadedFrom, bool blocksInPlace,
                     CDxfDrawing& drawing,
                     const std::function<bool(const std::vector<CDxfItem>&)>& merge);
