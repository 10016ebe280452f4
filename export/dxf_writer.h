// The DXF writer: the entity texts and the streamed file that every export writes through.
// Internal to the export library.
//
// A written file holds a header, the layer table (one layer per surface), empty blocks and
// one entity per polygon: a 3DFACE for three or four corners (a triangle repeats its third
// corner as the fourth) and a closed 3-D POLYLINE otherwise. File Y is the scene's z and
// file Z the scene's y, so the scene's vertical axis becomes the DXF's vertical Z. Lines end
// in CR LF; reals are written in "%f" form (dxf_text.h).
#pragma once

#include "export/dxf_text.h"
#include "export/export_point.h"

#include "platform/replacing_file.h"
#include "platform/status.h"

#include <span>
#include <string>
#include <vector>

// One polygon's corners in vertex order, in scene axes with the part's position added.
using DxfCorners = std::span<const CExportPoint>;

// The entity of one polygon appended to out, with layer as its group 8: the one formatting
// path behind CExportObject's FormatFace, FormatPolyline and every written file.
void AppendDxfFace(CDxfText& out, DxfCorners corners, const std::string& layer);
void AppendDxfPolyline(CDxfText& out, DxfCorners corners, const std::string& layer);

// Streams one DXF file: Open writes everything up to the entities, WritePolygon one entity
// (chosen by the corner count), Finish the end. The file replaces any file of that name only
// when Finish succeeds; a writer dropped before that leaves no partial file.
class CDxfFileWriter {
  public:
    CDxfFileWriter();

    CStatus Open(const std::string& strPath, const std::vector<std::string>& layers);
    CStatus WritePolygon(DxfCorners corners, const std::string& layer);
    CStatus Finish();

  private:
    // Hands the buffer to the file once it holds a flush's worth.
    CStatus FlushWhenFull();
    CStatus Flush();

    CReplacingFile m_file;
    CDxfText m_out;
};
