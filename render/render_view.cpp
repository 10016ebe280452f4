#include "render/render_view.h"

#include <algorithm>
#include <cmath>

namespace {

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vector3& a, const Vector3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector3 Normalized(const Vector3& v) {
    const double length = std::sqrt(Dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

} // namespace

bool ParseLegendKind(std::string_view text, LegendKind& kind) {
    if (text == "none")
        kind = LegendKind::None;
    else if (text == "corner")
        kind = LegendKind::Corner;
    else if (text == "below")
        kind = LegendKind::Below;
    else
        return false;
    return true;
}

bool ParseBackground(std::string_view text, bool& transparent, std::uint32_t& rgb) {
    if (text == "none") {
        transparent = true;
        return true;
    }
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return false;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    transparent = false;
    rgb = value;
    return true;
}

bool ParseViewKind(std::string_view text, ViewKind& kind) {
    if (text == "iso")
        kind = ViewKind::Iso;
    else if (text == "top")
        kind = ViewKind::Top;
    else if (text == "front")
        kind = ViewKind::Front;
    else if (text == "side")
        kind = ViewKind::Side;
    else
        return false;
    return true;
}

CRenderView::CRenderView(ViewKind kind) {
    Vector3 up{0, 1, 0};
    switch (kind) {
    case ViewKind::Iso:
        m_toViewer = Normalized({1, 1, 1});
        break;
    case ViewKind::Top:
        m_toViewer = {0, 1, 0};
        up = {0, 0, -1};
        break;
    case ViewKind::Front:
        m_toViewer = {0, 0, 1};
        break;
    case ViewKind::Side:
        m_toViewer = {1, 0, 0};
        break;
    }
    m_right = Normalized(Cross(up, m_toViewer));
    m_up = Cross(m_toViewer, m_right);
    // The key from above, left and behind the viewer: faces the view meets at
    // equal angles (the three of a box in the iso view) still differ in
    // brightness. The fill from low on the right lights what the key grazes.
    const auto towards = [&](double toViewer, double upward, double right) {
        return Normalized({toViewer * m_toViewer[0] + upward * m_up[0] + right * m_right[0],
                           toViewer * m_toViewer[1] + upward * m_up[1] + right * m_right[1],
                           toViewer * m_toViewer[2] + upward * m_up[2] + right * m_right[2]});
    };
    m_toKeyLight = towards(1, 0.6, -0.35);
    m_toFillLight = towards(0.3, -0.4, 1);
}

void CRenderView::Project(const std::array<float, 3>& p, double& x, double& y,
                          double& depth) const {
    const Vector3 v{p[0], p[1], p[2]};
    x = Dot(v, m_right);
    y = Dot(v, m_up);
    depth = Dot(v, m_toViewer);
}

double CRenderView::Shade(const Vector3& normal) const {
    const double length = std::sqrt(Dot(normal, normal));
    if (!(length > 0) || !std::isfinite(length))
        return 0.6;
    const double key = std::fabs(Dot(normal, m_toKeyLight)) / length;
    const double fill = std::fabs(Dot(normal, m_toFillLight)) / length;
    return std::min(1.0, 0.3 + 0.6 * key + 0.25 * fill);
}

CPixelFit::CPixelFit(double minX, double maxX, double minY, double maxY, const CPixelRect& area) {
    if (!(minX <= maxX) || !(minY <= maxY)) {
        minX = maxX = 0;
        minY = maxY = 0;
    }
    const double spanX = maxX - minX;
    const double spanY = maxY - minY;
    double scale = 0;
    if (spanX > 0)
        scale = area.m_width / spanX;
    if (spanY > 0)
        scale = scale > 0 ? std::min(scale, area.m_height / spanY) : area.m_height / spanY;
    // A span too large for double (inf) gives scale 0: everything at the centre.
    m_scale = scale > 0 && std::isfinite(scale) ? scale : 1;
    m_offsetX = area.m_x + area.m_width / 2 - m_scale * (minX / 2 + maxX / 2);
    m_offsetY = area.m_y + area.m_height / 2 + m_scale * (minY / 2 + maxY / 2);
}

std::uint32_t ShadeColor(std::uint32_t rgb, double shade) {
    const auto channel = [&](int shift) {
        const double c = static_cast<double>(rgb >> shift & 0xFFu) * shade;
        return static_cast<std::uint32_t>(std::clamp(std::lround(c), 0L, 255L)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}
