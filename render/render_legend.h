// The legend of a rendered picture: a title line with the totals, then one
// line per part (its colour swatch, name and polygon count), as many as the
// legend column holds. Texts are valid UTF-8 without control characters, so
// both Cairo and an XML file take them as they are.
#pragma once

#include "render/render_scene.h"
#include "render/render_view.h"

#include <cstdint>
#include <string>
#include <vector>

struct CLegendLine {
    std::string m_strText;
    std::uint32_t m_nRgb = 0;
    bool m_bSwatch = false;
    double m_x = 0; // the text's start (baseline)
    double m_y = 0;
};

inline constexpr double kLegendFontSize = 12;
inline constexpr double kLegendSwatch = 10;

// Empty when the legend column has no width.
std::vector<CLegendLine> MakeLegend(const CRenderScene& scene, const CPixelRect& column);

// text with every byte that is not part of valid UTF-8, and every control
// character, replaced by U+FFFD; cut to at most maxCharacters characters
// (the last one then "…").
std::string DisplayText(const std::string& text, std::size_t maxCharacters);
