#include "export/dxf_writer.h"

#include "export/export_object.h"

#include "scene/scene_document.h"
#include "scene/scene_part.h"

namespace {

// Written to the file whenever the buffer holds this much: large enough for
// few system calls, small enough to stay in cache.
constexpr std::size_t kFlushBytes = 1 << 20;

void AppendCorner(CDxfText& out, int k, const CExportPoint& point) {
    out.AppendCode(10 + k);
    out.AppendReal(point.m_x);
    out.AppendCode(20 + k);
    out.AppendReal(point.m_z);
    out.AppendCode(30 + k);
    out.AppendReal(point.m_y);
}

// Layer names, computed once per run of polygons on the same surface (a
// part's polygons come one after another).
class CLayerNames {
  public:
    explicit CLayerNames(int bRename) : m_bRename(bRename) {}
    const std::string& Get(const CExportSurface* surface) {
        if (!m_bValid || surface != m_pLast) {
            m_strLast = ExportLayerName(surface, m_bRename);
            m_pLast = surface;
            m_bValid = true;
        }
        return m_strLast;
    }

  private:
    int m_bRename;
    bool m_bValid = false;
    const CExportSurface* m_pLast = nullptr;
    std::string m_strLast;
};

// The polygon's corners as values, refilled for each polygon, so that both
// sources of polygons (the export object and the document) are written by
// the same formatting.
void CopyCorners(std::vector<CExportPoint>& corners, const CExportPolygon& polygon) {
    corners.clear();
    for (const CExportPoint* point : polygon.m_points)
        corners.push_back(*point);
}

} // namespace

void AppendDxfFace(CDxfText& out, DxfCorners corners, const std::string& layer) {
    out.Append("  0\r\n3DFACE\r\n  8\r\n");
    out.AppendLine(layer);
    // A 3DFACE always has four corners; a triangle repeats its third.
    const std::size_t count = corners.size() < 4 ? corners.size() : 4;
    for (std::size_t k = 0; k < count; ++k)
        AppendCorner(out, static_cast<int>(k), corners[k]);
    if (count == 3)
        AppendCorner(out, 3, corners[2]);
}

void AppendDxfPolyline(CDxfText& out, DxfCorners corners, const std::string& layer) {
    // Flags 9: a closed (1) 3-D polyline (8). Its own location is the literal
    // "0.0", not in the "%f" form of the other reals; readers expect it so.
    out.Append("  0\r\nPOLYLINE\r\n  8\r\n");
    out.AppendLine(layer);
    out.Append(" 66\r\n     1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n 70\r\n     9\r\n");
    for (const CExportPoint& point : corners) {
        out.Append("  0\r\nVERTEX\r\n  8\r\n");
        out.AppendLine(layer);
        AppendCorner(out, 0, point);
        // Flag 32: a vertex of a 3-D polyline.
        out.Append(" 70\r\n    32\r\n");
    }
    // SEQEND carries no layer group.
    out.Append("  0\r\nSEQEND\r\n");
}

CDxfFileWriter::CDxfFileWriter() : m_out(kFlushBytes + (kFlushBytes >> 2)) {}

CStatus CDxfFileWriter::Open(const std::string& strPath, const std::vector<std::string>& layers) {
    if (CStatus opened = m_file.Open(strPath); !opened)
        return opened;
    m_out.Append("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n"
                 "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n 70\r\n");
    // The one computed integer: the layer count, written without padding.
    m_out.AppendInt(static_cast<long long>(layers.size()));
    // Duplicate names give duplicate entries: nothing is merged.
    for (const std::string& layer : layers) {
        m_out.Append("  0\r\nLAYER\r\n  2\r\n");
        m_out.AppendLine(layer);
        m_out.Append(" 70\r\n    64\r\n 62\r\n     7\r\n  6\r\nCONTINUOUS\r\n");
        if (CStatus written = FlushWhenFull(); !written)
            return written;
    }
    m_out.Append("  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n"
                 "  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nENDSEC\r\n"
                 "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
    return {};
}

CStatus CDxfFileWriter::WritePolygon(DxfCorners corners, const std::string& layer) {
    if (corners.size() == 3 || corners.size() == 4)
        AppendDxfFace(m_out, corners, layer);
    else
        AppendDxfPolyline(m_out, corners, layer);
    return FlushWhenFull();
}

CStatus CDxfFileWriter::Finish() {
    m_out.Append("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    if (CStatus written = Flush(); !written)
        return written;
    return m_file.Commit();
}

CStatus CDxfFileWriter::FlushWhenFull() {
    return m_out.Size() >= kFlushBytes ? Flush() : CStatus();
}

CStatus CDxfFileWriter::Flush() {
    CStatus written = m_file.Write(m_out.Data(), m_out.Size());
    m_out.Clear();
    return written;
}

std::string CExportObject::FormatFace(const CExportPolygon& polygon) const {
    std::vector<CExportPoint> corners;
    CopyCorners(corners, polygon);
    CDxfText out;
    AppendDxfFace(out, corners, ExportLayerName(polygon.m_pSurface, m_bRename));
    return out.Str();
}

std::string CExportObject::FormatPolyline(const CExportPolygon& polygon) const {
    std::vector<CExportPoint> corners;
    CopyCorners(corners, polygon);
    CDxfText out;
    AppendDxfPolyline(out, corners, ExportLayerName(polygon.m_pSurface, m_bRename));
    return out.Str();
}

std::string CExportObject::FormatSummary(int points, int polygons, int parts) {
    std::string text = "                   OK - Export was successful\n\n"
                       "-- DXF EXPORT INFO "
                       "-------------------------------------------------------------------\n\n";
    text += "  Points Count: " + std::to_string(points) + "\n";
    text += "  Polygons Count: " + std::to_string(polygons) + "\n";
    text += "  Parts Count: " + std::to_string(parts) + "\n";
    return text;
}

CStatus CExportObject::WriteDxf(const std::string& strPath) {
    std::vector<std::string> layers;
    for (const auto& surface : m_surfaces)
        layers.push_back(ExportLayerName(surface.get(), m_bRename));
    CDxfFileWriter writer;
    if (CStatus opened = writer.Open(strPath, layers); !opened)
        return opened;
    CLayerNames names(m_bRename);
    std::vector<CExportPoint> corners;
    for (const auto& polygon : m_polygons) {
        CopyCorners(corners, *polygon);
        if (CStatus written = writer.WritePolygon(corners, names.Get(polygon->m_pSurface));
            !written)
            return written;
    }
    if (CStatus finished = writer.Finish(); !finished)
        return finished;
    m_strInfo = FormatSummary(m_points.GetSize(), m_polygons.GetSize(), m_surfaces.GetSize());
    return {};
}

CStatus CExportObject::WriteDxf(CSceneDocument& document, const std::string& strPath) {
    // What ConvertScene would copy is taken from the document as it is written: the same
    // parts skipped, positions added, corners left out and polygons flipped.
    std::vector<std::string> layers;
    for (const auto& part : document.m_parts)
        if (part != nullptr)
            layers.push_back(ExportLayerName(part->m_strName, m_bRename));
    CDxfFileWriter writer;
    if (CStatus opened = writer.Open(strPath, layers); !opened)
        return opened;

    int points = 0;
    int polygons = 0;
    std::size_t layer = 0;
    std::vector<CExportPoint> corners;
    for (const auto& part : document.m_parts) {
        if (part == nullptr)
            continue;
        if (m_bFlipPolygons == 1)
            part->FlipPolygons();
        const int pointCount = part->m_points.GetSize();
        for (const auto& polygon : part->m_polygons) {
            corners.clear();
            if (polygon != nullptr)
                for (std::int32_t index : polygon->m_indices)
                    if (index >= 0 && index < pointCount) {
                        const CScenePoint placed = GetPlacedPoint(*part, index);
                        corners.emplace_back(placed.m_x, placed.m_y, placed.m_z);
                    }
            if (CStatus written = writer.WritePolygon(corners, layers[layer]); !written)
                return written;
        }
        points += pointCount;
        polygons += part->m_polygons.GetSize();
        ++layer;
    }
    if (CStatus finished = writer.Finish(); !finished)
        return finished;
    m_strInfo = FormatSummary(points, polygons, static_cast<int>(layers.size()));
    return {};
}
