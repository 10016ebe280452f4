#include "export/dxf_writer.h"

#include "export/dxf_text.h"
#include "export/export_object.h"
#include "platform/replacing_file.h"

#include <cstdio>

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

} // namespace

void AppendDxfFace(CDxfText& out, const CExportPolygon& polygon, const std::string& layer) {
    out.Append("  0\r\n3DFACE\r\n  8\r\n");
    out.AppendLine(layer);
    // A 3DFACE always has four corners; a triangle repeats its third.
    const std::size_t count = polygon.m_points.size() < 4 ? polygon.m_points.size() : 4;
    for (std::size_t k = 0; k < count; ++k)
        AppendCorner(out, static_cast<int>(k), *polygon.m_points[k]);
    if (count == 3)
        AppendCorner(out, 3, *polygon.m_points[2]);
}

void AppendDxfPolyline(CDxfText& out, const CExportPolygon& polygon, const std::string& layer) {
    // Flags 9: a closed (1) 3-D polyline (8). Its own location is the literal
    // "0.0", not in the "%f" form of the other reals; readers expect it so.
    out.Append("  0\r\nPOLYLINE\r\n  8\r\n");
    out.AppendLine(layer);
    out.Append(" 66\r\n     1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n 70\r\n     9\r\n");
    for (const CExportPoint* point : polygon.m_points) {
        out.Append("  0\r\nVERTEX\r\n  8\r\n");
        out.AppendLine(layer);
        AppendCorner(out, 0, *point);
        // Flag 32: a vertex of a 3-D polyline.
        out.Append(" 70\r\n    32\r\n");
    }
    // SEQEND carries no layer group.
    out.Append("  0\r\nSEQEND\r\n");
}

std::string CExportObject::FormatFace(const CExportPolygon& polygon) const {
    CDxfText out;
    AppendDxfFace(out, polygon, ExportLayerName(polygon.m_pSurface, m_bRename));
    return out.Str();
}

std::string CExportObject::FormatPolyline(const CExportPolygon& polygon) const {
    CDxfText out;
    AppendDxfPolyline(out, polygon, ExportLayerName(polygon.m_pSurface, m_bRename));
    return out.Str();
}

std::string CExportObject::FormatSummary() const {
    std::string text = "                   OK - Export was successful\n\n"
                       "-- DXF EXPORT INFO "
                       "-------------------------------------------------------------------\n\n";
    text += "  Points Count: " + std::to_string(m_points.GetSize()) + "\n";
    text += "  Polygons Count: " + std::to_string(m_polygons.GetSize()) + "\n";
    text += "  Parts Count: " + std::to_string(m_surfaces.GetSize()) + "\n";
    return text;
}

CStatus CExportObject::WriteDxf(const std::string& strPath) {
    CReplacingFile file;
    if (CStatus opened = file.Open(strPath); !opened)
        return opened;
    CDxfText out(kFlushBytes + (kFlushBytes >> 2));
    auto flush = [&]() {
        CStatus written = file.Write(out.Data(), out.Size());
        out.Clear();
        return written;
    };

    out.Append("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n"
               "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n 70\r\n");
    // The one computed integer: the layer count, written without padding.
    out.AppendInt(m_surfaces.GetSize());
    // Duplicate names give duplicate entries: nothing is merged.
    for (const auto& surface : m_surfaces) {
        out.Append("  0\r\nLAYER\r\n  2\r\n");
        out.AppendLine(ExportLayerName(surface.get(), m_bRename));
        out.Append(" 70\r\n    64\r\n 62\r\n     7\r\n  6\r\nCONTINUOUS\r\n");
        if (out.Size() >= kFlushBytes) {
            if (CStatus written = flush(); !written)
                return written;
        }
    }
    out.Append("  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n"
               "  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nENDSEC\r\n"
               "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");

    CLayerNames layers(m_bRename);
    for (const auto& polygon : m_polygons) {
        const std::string& layer = layers.Get(polygon->m_pSurface);
        const std::size_t count = polygon->m_points.size();
        if (count == 3 || count == 4)
            AppendDxfFace(out, *polygon, layer);
        else
            AppendDxfPolyline(out, *polygon, layer);
        if (out.Size() >= kFlushBytes) {
            if (CStatus written = flush(); !written)
                return written;
        }
    }
    out.Append("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    if (CStatus written = flush(); !written)
        return written;
    if (CStatus committed = file.Commit(); !committed)
        return committed;
    m_strInfo = FormatSummary();
    return {};
}
