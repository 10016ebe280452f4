// The SVG form of a rendered picture. Written here rather than through
// Cairo's SVG surface: that surface records the whole page before it writes
// anything (a million polygons held twice over) and draws text as glyph
// outlines, so the file would not name its parts; here the polygons stream
// out in painter's order and the legend stays text.
#include "render/svg_picture.h"
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

// Drawable faces from far to near by the mean depth of their corners; equal
// depths keep file order, so the output does not depend on the sort.
std::vector<std::uint32_t> PaintersOrder(const CRenderScene& scene,
                                         const CProjectedScene& projected) {
    std::vector<std::pair<float, std::uint32_t>> keyed;
    keyed.reserve(scene.m_faces.size());
    for (std::size_t f = 0; f < scene.m_faces.size(); ++f) {
        const CRenderFace& face = scene.m_faces[f];
        if (projected.m_anColor[f] == CProjectedScene::kUndrawable || face.m_nCount == 0)
            continue;
        double sum = 0;
        for (std::uint32_t k = 0; k < face.m_nCount; ++k)
            sum += projected.m_afDepth[scene.m_anCorner[face.m_nFirst + k]];
        keyed.emplace_back(static_cast<float>(sum / face.m_nCount), static_cast<std::uint32_t>(f));
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> order(keyed.size());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].second;
    return order;
}

void WriteFace(CBufferedOutput& out, const CRenderScene& scene, const CProjectedScene& projected,
               std::uint32_t f, bool wire) {
    const CRenderFace& face = scene.m_faces[f];
    const std::string color = ColorText(projected.m_anColor[f]);
    const bool filled = face.m_nCount >= 3 && !wire;
    // A filled face is stroked in its own colour too: neighbours then meet
    // without the hairline gaps that anti-aliasing leaves between them.
    out.Append(filled ? "<path fill=\"" + color + "\" stroke=\"" + color + "\" d=\""
                      : "<path fill=\"none\" stroke=\"" + color + "\" d=\"");
    for (std::uint32_t k = 0; k < face.m_nCount; ++k) {
        const std::uint32_t i = scene.m_anCorner[face.m_nFirst + k];
        out.Append(k == 0 ? "M" : "L");
        out.Number(projected.m_afX[i]);
        out.Append(" ");
        out.Number(projected.m_afY[i]);
    }
    // A point is a closed path of one corner: its round cap shows as a dot.
    out.Append(face.m_nCount == 2 ? "\"/>\n" : "Z\"/>\n");
}

} // namespace

CStatus WriteSvgPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& title,
                        const std::string& path) {
    const std::vector<std::uint32_t> order = PaintersOrder(scene, projected);
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
    out.Append("</desc>\n<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
               ColorText(kBackgroundRgb) + "\"/>\n<g id=\"drawing\" stroke-width=\"" +
               (options.m_bWire ? "1" : "0.5") +
               "\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n");
    for (const std::uint32_t f : order)
        WriteFace(out, scene, projected, f, options.m_bWire);
    out.Append("</g>\n");

    const CPixelRect& column = projected.m_layout.m_legend;
    if (column.m_width > 0) {
        out.Append(
            "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#202020\">\n"
            "<rect width=\"");
        out.Number(column.m_width);
        out.Append("\" height=\"" + height + "\" fill=\"#ffffff\"/>\n");
        for (const CLegendLine& line : MakeLegend(scene, column)) {
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
