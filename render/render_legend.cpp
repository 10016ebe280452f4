#include "render/render_legend.h"

#include "platform/utf8_text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr double kLineHeight = 18;
constexpr double kPadding = 10;
// Wide enough for the widest common glyphs of a 12-pixel sans-serif font.
constexpr double kCharacterWidth = 7;
const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kEllipsis = "\xE2\x80\xA6";

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string DisplayText(const std::string& text, std::size_t maxCharacters) {
    // Characters as the output counts them: a valid sequence, or one stray byte.
    std::vector<std::pair<std::size_t, std::size_t>> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        characters.emplace_back(pos, length);
        pos += length == 0 ? 1 : length;
    }
    const bool cut = characters.size() > maxCharacters;
    const std::size_t kept = cut ? (maxCharacters == 0 ? 0 : maxCharacters - 1) : characters.size();
    std::string out;
    for (std::size_t i = 0; i < kept; ++i) {
        const auto [pos, length] = characters[i];
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        // U+FFFE and U+FFFF are no characters to XML either.
        const bool nonCharacter = length == 3 && c == 0xEF &&
                                  static_cast<unsigned char>(text[pos + 1]) == 0xBF &&
                                  static_cast<unsigned char>(text[pos + 2]) >= 0xBE;
        if (length == 0 || (length == 1 && (c < 0x20 || c == 0x7F)) || nonCharacter)
            out += kReplacement;
        else
            out.append(text, pos, length);
    }
    if (cut && maxCharacters > 0)
        out += kEllipsis;
    return out;
}

std::vector<CLegendLine> MakeLegend(const CRenderScene& scene, const CPixelRect& column) {
    std::vector<CLegendLine> lines;
    if (column.m_width <= 0)
        return lines;
    const auto rows = static_cast<std::size_t>((column.m_height - 2 * kPadding) / kLineHeight);
    if (rows == 0)
        return lines;
    const double textX = column.m_x + kPadding + kLegendSwatch + 6;
    const auto maxCharacters = static_cast<std::size_t>(
        std::max(4.0, (column.m_x + column.m_width - kPadding - textX) / kCharacterWidth));
    const auto lineAt = [&](std::size_t row) {
        return column.m_y + kPadding + 13 + static_cast<double>(row) * kLineHeight;
    };

    std::size_t polygons = 0;
    for (const CRenderPart& part : scene.m_parts)
        polygons += part.m_nPolygons;
    lines.push_back({DisplayText(Plural(scene.m_parts.size(), "part", "parts") + ", " +
                                     Plural(polygons, "polygon", "polygons"),
                                 maxCharacters + 2),
                     0, false, column.m_x + kPadding, lineAt(0)});
    // The title takes one row; when the parts need more than remain, the last
    // row says how many are left out.
    const std::size_t partRows = rows - 1;
    const bool cut = scene.m_parts.size() > partRows;
    const std::size_t shown = cut ? (partRows == 0 ? 0 : partRows - 1) : scene.m_parts.size();
    for (std::size_t i = 0; i < shown; ++i) {
        const CRenderPart& part = scene.m_parts[i];
        const std::string count = " (" + std::to_string(part.m_nPolygons) + ")";
        const std::size_t nameRoom =
            maxCharacters > count.size() + 1 ? maxCharacters - count.size() : 1;
        lines.push_back({DisplayText(part.m_strName, nameRoom) + count, part.m_nRgb, true, textX,
                         lineAt(i + 1)});
    }
    if (cut && partRows > 0)
        lines.push_back({"and " + Plural(scene.m_parts.size() - shown, "more part", "more parts"),
                         0, false, textX, lineAt(shown + 1)});
    return lines;
}
