#include "render/render_legend.h"

#include "platform/utf8_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kLineHeight = 18;
constexpr double kPadding = 8;
constexpr double kSwatchRoom = kLegendSwatch + 6;
constexpr double kColumnGap = 14;
// Below this height a legend strip would crowd the drawing out.
constexpr int kShortestWithLegend = 200;
const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kEllipsis = "\xE2\x80\xA6";

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string CountText(const CRenderPart& part) {
    return " (" + std::to_string(part.m_nPolygons) + ")";
}

std::string TitleText(const CRenderScene& scene) {
    std::size_t polygons = 0;
    for (const CRenderPart& part : scene.m_parts)
        polygons += part.m_nPolygons;
    return Plural(scene.m_parts.size(), "part", "parts") + ", " +
           Plural(polygons, "polygon", "polygons");
}

// Characters as the output counts them: a valid sequence, or one stray byte.
std::vector<std::pair<std::size_t, std::size_t>> Characters(const std::string& text) {
    std::vector<std::pair<std::size_t, std::size_t>> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        characters.emplace_back(pos, length);
        pos += length == 0 ? 1 : length;
    }
    return characters;
}

// The width an entry needs for its whole name.
double EntryWidth(const CRenderPart& part) {
    const std::size_t characters = Characters(part.m_strName).size() + CountText(part).size();
    return kSwatchRoom + kLegendCharacterWidth * static_cast<double>(characters);
}

double Margin(int width, int height) {
    return std::max(2.0, std::round(0.03 * std::min(width, height)));
}

} // namespace

std::string DisplayText(const std::string& text, std::size_t maxCharacters) {
    const auto characters = Characters(text);
    const bool cut = characters.size() > maxCharacters;
    const std::size_t room = maxCharacters == 0 ? 0 : maxCharacters - 1;
    const std::size_t head = cut ? (room + 1) / 2 : characters.size();
    const std::size_t tail = cut ? room / 2 : 0;
    std::string out;
    const auto append = [&](std::size_t i) {
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
    };
    for (std::size_t i = 0; i < head; ++i)
        append(i);
    if (cut && maxCharacters > 0)
        out += kEllipsis;
    for (std::size_t i = characters.size() - tail; i < characters.size(); ++i)
        append(i);
    return out;
}

CRenderLayout LayOutPicture(const CRenderScene& scene, const CRenderOptions& options) {
    const double width = options.m_nWidth, height = options.m_nHeight;
    const double margin = Margin(options.m_nWidth, options.m_nHeight);
    CRenderLayout layout;
    const auto whole = [&](double top, double left, double bottom) {
        return CPixelRect{left + margin, top + margin, std::max(1.0, width - left - 2 * margin),
                          std::max(1.0, height - top - bottom - 2 * margin)};
    };
    LegendKind kind = options.m_legend;
    if (kind == LegendKind::Auto)
        kind = options.m_nHeight >= kShortestWithLegend ? LegendKind::Below : LegendKind::None;
    if (scene.m_parts.empty() || kind == LegendKind::None) {
        layout.m_drawing = layout.m_drawingOther = whole(0, 0, 0);
        return layout;
    }
    double widest = kLegendCharacterWidth * static_cast<double>(TitleText(scene).size());
    for (const CRenderPart& part : scene.m_parts)
        widest = std::max(widest, EntryWidth(part));

    if (kind == LegendKind::Below) {
        // A strip of at most a fifth of the height, the entries in rows.
        const double room = std::max(1.0, width - 2 * kPadding);
        const double column = std::min(room, widest + kColumnGap);
        const auto columns = static_cast<std::size_t>(std::max(1.0, std::floor(room / column)));
        const auto fitting =
            static_cast<std::size_t>(std::max(0.0, (height / 5 - 2 * kPadding) / kLineHeight));
        const std::size_t needed = 1 + (scene.m_parts.size() + columns - 1) / columns;
        const std::size_t rows = std::min(fitting, needed);
        if (rows < 2) {
            layout.m_drawing = layout.m_drawingOther = whole(0, 0, 0);
            return layout;
        }
        const double strip = static_cast<double>(rows) * kLineHeight + 2 * kPadding;
        layout.m_legend = {0, height - strip, width, strip};
        layout.m_drawing = layout.m_drawingOther = whole(0, 0, strip);
        layout.m_nLegendColumns = columns;
        layout.m_legendColumnWidth = column;
        return layout;
    }
    // A box in the top left corner: a quarter of the width, four fifths of
    // the height at most, so a fifth of the picture.
    const double column = std::min(widest, width / 4 - 2 * kPadding);
    const auto fitting =
        static_cast<std::size_t>(std::max(0.0, (height * 0.8 - 2 * kPadding) / kLineHeight));
    const std::size_t rows = std::min(fitting, 1 + scene.m_parts.size());
    if (rows < 2 || column < 4 * kLegendCharacterWidth + kSwatchRoom) {
        layout.m_drawing = layout.m_drawingOther = whole(0, 0, 0);
        return layout;
    }
    layout.m_legend = {0, 0, column + 2 * kPadding,
                       static_cast<double>(rows) * kLineHeight + 2 * kPadding};
    layout.m_drawing = whole(0, layout.m_legend.m_width, 0);
    layout.m_drawingOther = whole(layout.m_legend.m_height, 0, 0);
    layout.m_nLegendColumns = 1;
    layout.m_legendColumnWidth = column;
    return layout;
}

std::vector<CLegendLine> MakeLegend(const CRenderScene& scene, const CRenderLayout& layout) {
    std::vector<CLegendLine> lines;
    const CPixelRect& box = layout.m_legend;
    if (box.m_width <= 0 || layout.m_nLegendColumns == 0)
        return lines;
    const auto rows = static_cast<std::size_t>((box.m_height - 2 * kPadding) / kLineHeight + 0.5);
    if (rows < 2)
        return lines;
    const auto lineAt = [&](std::size_t row) {
        return box.m_y + kPadding + 13 + static_cast<double>(row) * kLineHeight;
    };
    const auto roomFor = [](double pixels) {
        return static_cast<std::size_t>(std::max(4.0, pixels / kLegendCharacterWidth));
    };
    const double left = box.m_x + kPadding;
    lines.push_back({DisplayText(TitleText(scene), roomFor(box.m_width - 2 * kPadding)), 0, false,
                     left, lineAt(0)});
    // When the parts need more entries than there is room for, the last one
    // says how many are left out.
    const std::size_t columns = layout.m_nLegendColumns;
    const std::size_t slots = (rows - 1) * columns;
    const bool cut = scene.m_parts.size() > slots;
    const std::size_t shown = cut ? slots - 1 : scene.m_parts.size();
    const double textRoom =
        layout.m_legendColumnWidth - kSwatchRoom - (columns > 1 ? kColumnGap : 0);
    const auto entryAt = [&](std::size_t i, double& x, double& y) {
        x = left + kSwatchRoom + static_cast<double>(i % columns) * layout.m_legendColumnWidth;
        y = lineAt(1 + i / columns);
    };
    for (std::size_t i = 0; i < shown; ++i) {
        const CRenderPart& part = scene.m_parts[i];
        const std::string count = CountText(part);
        const std::size_t room = roomFor(textRoom);
        const std::size_t nameRoom = room > count.size() + 4 ? room - count.size() : 4;
        CLegendLine line{DisplayText(part.m_strName, nameRoom) + count, part.m_nRgb, true, 0, 0};
        entryAt(i, line.m_x, line.m_y);
        lines.push_back(std::move(line));
    }
    if (cut) {
        CLegendLine line{"and " + Plural(scene.m_parts.size() - shown, "more part", "more parts"),
                         0, false, 0, 0};
        entryAt(shown, line.m_x, line.m_y);
        lines.push_back(std::move(line));
    }
    return lines;
}
