// The scene as the picture sees it: every point in pixels with its depth, and
// every polygon's colour, lit by its normal (or flat in wire mode). The PNG
// and the SVG writers draw from this.
#pragma once

#include "render/render_legend.h"
#include "render/render_scene.h"
#include "render/render_view.h"

#include <cstdint>
#include <vector>

struct CProjectedScene {
    // Per point: pixel x, pixel y (downwards) and depth (larger is nearer, in
    // scene units; times m_depthScale in pixels).
    std::vector<float> m_afX;
    std::vector<float> m_afY;
    std::vector<float> m_afDepth;
    // Per face: 0xRRGGBB, or kUndrawable for a face with a corner at an
    // infinite or undefined place (a damaged file's), which is left out.
    std::vector<std::uint32_t> m_anColor;
    std::size_t m_nUndrawable = 0;
    CRenderLayout m_layout;
    double m_depthScale = 1;

    static constexpr std::uint32_t kUndrawable = 0xFF000000u;
};

// Projects with options' view, fitting the drawn polygons' corners exactly
// into the drawing area of an options-sized picture (for a corner legend, the
// one of its two areas where the scene comes out larger).
CProjectedScene ProjectScene(const CRenderScene& scene, const CRenderOptions& options);
