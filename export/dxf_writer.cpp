#include "export/dxf_writer.h"

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
