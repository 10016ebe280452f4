// The legend of a rendered picture and the picture's layout around it: a title
// line with the totals, then one entry per part (its colour swatch, name and
// polygon count) in as many columns as the legend's room takes, as many as it
// holds. The legend never shares room with the drawing and never takes more
// than a fifth of the picture. Texts are valid UTF-8 without control
// characters, so both Cairo and an XML file take them as they are.
#pragma once

#include "render/render_scene.h"
#include "render/render_view.h"

#include <cstdint>
#include <string>
#include <vector>

// The picture's parts: the legend (zero size when there is none) and the
// drawing area, inside the picture's margin. A corner legend leaves two
// places for the drawing, beside it and under it: the projection takes the
// one where the scene comes out larger (m_drawing; m_drawingOther the other).
struct CRenderLayout {
    CPixelRect m_legend;
    CPixelRect m_drawing;
    CPixelRect m_drawingOther;
    std::size_t m_nLegendColumns = 0;
    double m_legendColumnWidth = 0;
};

CRenderLayout LayOutPicture(const CRenderScene& scene, const CRenderOptions& options);

struct CLegendLine {
    std::string m_strText;
    std::uint32_t m_nRgb = 0;
    bool m_bSwatch = false;
    double m_x = 0; // the text's start (baseline)
    double m_y = 0;
};

inline constexpr double kLegendFontSize = 12;
inline constexpr double kLegendSwatch = 10;
// Wide enough for the widest common glyphs of a 12-pixel sans-serif font, so
// a text measured by it never runs into the next column.
inline constexpr double kLegendCharacterWidth = 7;

// Empty when the layout has no legend.
std::vector<CLegendLine> MakeLegend(const CRenderScene& scene, const CRenderLayout& layout);

// text with every byte that is not part of valid UTF-8, and every control
// character, replaced by U+FFFD; longer than maxCharacters characters, its
// middle is given up for "…", so its start and its end both stay readable.
std::string DisplayText(const std::string& text, std::size_t maxCharacters);
