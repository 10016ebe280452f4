// The DXF writer: CExportObject's WriteDxf, FormatFace and FormatPolyline (declared with the
// object) and the entity formatting they share. Internal to the export library.
//
// A written file holds a header, the layer table (one layer per surface), empty blocks and
// one entity per polygon: a 3DFACE for three or four corners (a triangle repeats its third
// corner as the fourth) and a closed 3-D POLYLINE otherwise. File Y is the scene's z and
// file Z the scene's y, so the scene's vertical axis becomes the DXF's vertical Z. Lines end
// in CR LF; reals are written in "%f" form (dxf_text.h).
#pragma once

#include <string>

class CDxfText;
class CExportPolygon;

// The entity of one polygon appended to out, with layer as its group 8: the one formatting
// path behind FormatFace, FormatPolyline and WriteDxf.
void AppendDxfFace(CDxfText& out, const CExportPolygon& polygon, const std::string& layer);
void AppendDxfPolyline(CDxfText& out, const CExportPolygon& polygon, const std::string& layer);
