// The SVG form of a rendered picture. Written here rather than through
// Cairo's SVG surface: that surface records the whole page before it writes
// anything (a million polygons held twice over) and draws text as glyph
// outlines, so the file would not name its parts; here the pieces of the
// depth order stream out far to near and the legend stays text.
#include "render/svg_picture.h"
#include "render/depth_order.h"
#include "render/render_legend.h"

#include "platform/replacing_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// Collects output in large pieces for CReplacingFile; the first failure is
// kept and later writes are dropped.
class CBufferedOutput {
  public:
    explicit CBufferedOutput(CReplacingFile& file) : m_file(file) { m_buffer.reserve(kChunk); }
    void Append(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kChunk)
            (void)Flush(); // a failure is kept for the final Flush
    }
    void Number(double value) {
        char digits[48];
        // Tenths of a pixel are finer than any viewer shows.
        const auto result =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
        m_buffer.append(digits, result.ptr);
    }
    CStatus Flush() {
        if (m_status && !m_buffer.empty())
            m_status = m_file.Write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
        return m_status;
    }

  private:
    static constexpr std::size_t kChunk = 1 << 20;
    CReplacingFile& m_file;
    std::string m_buffer;
    CStatus m_status;
};

std::string ColorText(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFFu);
    return text;
}

// A text as XML character data or attribute value (already valid UTF-8).
std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

// A piece's fill, stroked in its own colour too: neighbours (and the pieces
// of a split face) then meet without the hairline gaps anti-aliasing leaves.
void WriteFill(CBufferedOutput& out, const CDepthOrder& order, const CDepthPiece& piece,
               const std::string& color) {
    out.Append("<path fill=\"" + color + "\" stroke=\"" + color + "\" d=\"");
    for (std::uint32_t k = 0; k < piece.m_nCount; ++k) {
        const CPieceCorner& c = order.m_corners[piece.m_nFirst + k];
        out.Append(k == 0 ? "M" : "L");
        out.Number(c.m_x);
        out.Append(" ");
        out.Number(c.m_y);
    }
    out.Append("Z\"/>\n");
}

// The piece's share of its face's own edges (never the cuts of a split), a
// line as a line, a point as a closed path of one corner, whose round cap
// shows as a dot.
void WriteOutline(CBufferedOutput& out, const CDepthOrder& order, const CDepthPiece& piece,
                  const std::string& color) {
    std::string path;
    const auto at = [&](std::uint32_t k, const char* command) {
        const CPieceCorner& c = order.m_corners[piece.m_nFirst + k % piece.m_nCount];
        char text[64];
        std::snprintf(text, sizeof text, "%s%.1f %.1f", command, c.m_x, c.m_y);
        path += text;
    };
    if (piece.m_nCount == 1) {
        at(0, "M");
        path += "Z";
    } else if (piece.m_nCount == 2) {
        at(0, "M");
        at(1, "L");
    } else {
        bool open = false;
        for (std::uint32_t k = 0; k < piece.m_nCount; ++k) {
            if (!order.m_corners[piece.m_nFirst + k].m_bOwnEdge) {
                open = false;
                continue;
            }
            if (!open)
                at(k, "M");
            at(k + 1, "L");
            open = true;
        }
    }
    if (!path.empty())
        out.Append("<path fill=\"none\" stroke=\"" + color + "\" d=\"" + path + "\"/>\n");
}

// Far to near, each run of pieces of one part in a group named by the part;
// a part's first group has the id part-N (N its place in the legend).
void WriteDrawing(CBufferedOutput& out, const CRenderScene& scene, const CProjectedScene& projected,
                  const CRenderOptions& options) {
    const CDepthOrder order = OrderByDepth(scene, projected);
    std::vector<char> started(scene.m_parts.size());
    std::uint32_t part = 0;
    bool open = false;
    for (std::size_t i = 0; i < order.m_pieces.size(); ++i) {
        if (options.m_onProgress && i % (1 << 16) == 0)
            options.m_onProgress(static_cast<double>(i) /
                                 static_cast<double>(order.m_pieces.size()));
        const CDepthPiece& piece = order.m_pieces[i];
        const CRenderFace& face = scene.m_faces[piece.m_nFace];
        if (!open || face.m_nPart != part) {
            if (open)
                out.Append("</g>\n");
            part = face.m_nPart;
            out.Append("<g");
            if (!started[part])
                out.Append(" id=\"part-" + std::to_string(part + 1) + "\"");
            started[part] = 1;
            out.Append(" data-part=\"" +
                       XmlEscaped(DisplayText(scene.m_parts[part].m_strName, 4096)) + "\">\n");
            open = true;
        }
        const std::uint32_t rgb = projected.m_anColor[piece.m_nFace];
        const bool filled = piece.m_nCount >= 3 && face.m_nCount >= 3 && !options.m_bWire;
        if (filled)
            WriteFill(out, order, piece, ColorText(rgb));
        if (!filled || options.m_bEdges)
            WriteOutline(out, order, piece, ColorText(filled ? EdgeColor(rgb) : rgb));
    }
    if (open)
        out.Append("</g>\n");
}

} // namespace

CStatus WriteSvgPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& title,
                        const std::string& path) {
    CReplacingFile file;
    if (CStatus opened = file.Open(path); !opened)
        return opened;
    CBufferedOutput out(file);
    const std::string width = std::to_string(options.m_nWidth);
    const std::string height = std::to_string(options.m_nHeight);
    out.Append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
               width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
               "\">\n<title>" + XmlEscaped(DisplayText(title, 4096)) + "</title>\n<desc>");
    // Every part by name, also those the legend has no room for.
    for (const CRenderPart& part : scene.m_parts)
        out.Append(XmlEscaped(DisplayText(part.m_strName, 4096)) + ": " +
                   std::to_string(part.m_nPolygons) + " polygons\n");
    out.Append("</desc>\n");
    if (!options.m_bTransparent)
        out.Append("<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
                   ColorText(options.m_nBackgroundRgb) + "\"/>\n");
    out.Append(std::string("<g id=\"drawing\" stroke-width=\"") +
               (options.m_bWire || options.m_bEdges ? "1" : "0.5") +
               "\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n");
    WriteDrawing(out, scene, projected, options);
    out.Append("</g>\n");

    const std::vector<CLegendLine> legend = MakeLegend(scene, projected.m_layout);
    if (!legend.empty()) {
        out.Append(
            "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#202020\">\n");
        for (const CLegendLine& line : legend) {
            if (line.m_bSwatch) {
                out.Append("<rect x=\"");
                out.Number(line.m_x - kLegendSwatch - 6);
                out.Append("\" y=\"");
                out.Number(line.m_y - kLegendSwatch + 1);
                out.Append("\" width=\"10\" height=\"10\" fill=\"" + ColorText(line.m_nRgb) +
                           "\"/>\n");
            }
            out.Append("<text x=\"");
            out.Number(line.m_x);
            out.Append("\" y=\"");
            out.Number(line.m_y);
            out.Append("\">" + XmlEscaped(line.m_strText) + "</text>\n");
        }
        out.Append("</g>\n");
    }
    out.Append("</svg>\n");
    if (CStatus flushed = out.Flush(); !flushed)
        return flushed;
    return file.Commit();
}
