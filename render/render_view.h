// Where `qrhost render` looks from, and how the picture is laid out: the view
// direction, its screen axes, the lights, and the fit of the scene's bounds
// into the picture's drawing area.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

enum class ViewKind { Iso, Top, Front, Side };

// "iso", "top", "front" or "side"; false for anything else.
bool ParseViewKind(std::string_view text, ViewKind& kind);

// Auto: below the drawing when the picture is tall enough for one, else none.
enum class LegendKind { Auto, None, Corner, Below };

// "none", "corner" or "below"; false for anything else.
bool ParseLegendKind(std::string_view text, LegendKind& kind);

// The picture's ground, behind the drawing and the legend, in both forms.
inline constexpr std::uint32_t kBackgroundRgb = 0xF7F7F2;

struct CRenderOptions {
    ViewKind m_view = ViewKind::Iso;
    int m_nWidth = 1024;
    int m_nHeight = 768;
    bool m_bWire = false;
    bool m_bEdges = false; // the polygons' outlines over their fill
    bool m_bTransparent = false;
    std::uint32_t m_nBackgroundRgb = kBackgroundRgb;
    LegendKind m_legend = LegendKind::Auto;
    // Told the share of the faces drawn (0 to 1) now and then, when set.
    std::function<void(double)> m_onProgress;
};

using Vector3 = std::array<double, 3>;

// An orthographic view in scene axes (y vertical). front looks from +z, side
// from +x, top from +y (with -z up the picture), iso from (+1, +1, +1).
class CRenderView {
  public:
    explicit CRenderView(ViewKind kind);

    // Screen x grows to the right, screen y upwards, depth towards the viewer.
    void Project(const std::array<float, 3>& p, double& x, double& y, double& depth) const;
    // The brightness (0.3 to 1) of a face with this normal (any length, any
    // side: the polygons' winding depends on the import's flip setting), lit
    // by a key light and a dimmer fill light from the other side, so faces
    // turned from the key stay readable. A zero normal (a line, a point) gets
    // the middle of the range.
    double Shade(const Vector3& normal) const;

    const Vector3& Right() const { return m_right; }
    const Vector3& Up() const { return m_up; }
    const Vector3& ToViewer() const { return m_toViewer; }

  private:
    Vector3 m_right{};
    Vector3 m_up{};
    Vector3 m_toViewer{};
    Vector3 m_toKeyLight{};
    Vector3 m_toFillLight{};
};

// A rectangle of the picture in pixels.
struct CPixelRect {
    double m_x = 0;
    double m_y = 0;
    double m_width = 0;
    double m_height = 0;
};

// Screen coordinates to pixels: the bounds [minX, maxX] x [minY, maxY] centred
// in area at the largest scale that fits (pixel y grows downwards). Empty or
// flat bounds are centred at scale 1 along their flat axes.
class CPixelFit {
  public:
    CPixelFit(double minX, double maxX, double minY, double maxY, const CPixelRect& area);
    double PixelX(double x) const { return m_offsetX + m_scale * x; }
    double PixelY(double y) const { return m_offsetY - m_scale * y; }
    double GetScale() const { return m_scale; }

  private:
    double m_scale = 1;
    double m_offsetX = 0;
    double m_offsetY = 0;
};

// "none" (transparent: rgb is left alone), "#RRGGBB" or "RRGGBB"; false for
// anything else.
bool ParseBackground(std::string_view text, bool& transparent, std::uint32_t& rgb);

// 0xRRGGBB scaled by shade (0 to 1).
std::uint32_t ShadeColor(std::uint32_t rgb, double shade);
// The colour a face's outline is drawn in over its fill colour: darker, so it
// shows on every face.
inline std::uint32_t EdgeColor(std::uint32_t fillRgb) {
    return ShadeColor(fillRgb, 0.45);
}
