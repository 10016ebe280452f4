#include "import/dxf/dxf_placement.h"

#include <cmath>
#include <numbers>

namespace {

using CMatrix = std::array<std::array<double, 3>, 3>;

CDxfPoint Cross(const CDxfPoint& a, const CDxfPoint& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

CDxfPoint Normalized(const CDxfPoint& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

CMatrix Multiply(const CMatrix& a, const CMatrix& b) {
    CMatrix product{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            product[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    }
    return product;
}

CDxfPoint Times(const CMatrix& m, const CDxfPoint& p) {
    return {m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2],
            m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2],
            m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2]};
}

// DXF's arbitrary-axis algorithm: the object coordinate system of an extrusion direction.
// Its columns are the object's x, y and z axes in world coordinates.
CMatrix ObjectAxes(const CDxfPoint& extrusion) {
    const double length = std::sqrt(extrusion[0] * extrusion[0] + extrusion[1] * extrusion[1] +
                                    extrusion[2] * extrusion[2]);
    // A zero (or unusable) extrusion is the default one, the world's z.
    const CDxfPoint z =
        (length > 0.0 && std::isfinite(length)) ? Normalized(extrusion) : CDxfPoint{0, 0, 1};
    constexpr double kNearPole = 1.0 / 64.0;
    const CDxfPoint worldY{0, 1, 0};
    const CDxfPoint worldZ{0, 0, 1};
    const CDxfPoint x =
        Normalized(std::fabs(z[0]) < kNearPole && std::fabs(z[1]) < kNearPole ? Cross(worldY, z)
                                                                              : Cross(worldZ, z));
    const CDxfPoint y = Normalized(Cross(z, x));
    return {{{x[0], y[0], z[0]}, {x[1], y[1], z[1]}, {x[2], y[2], z[2]}}};
}

// The rotation about z by degrees; quarter turns are exact, so that a block turned by 90
// degrees keeps its zeros and its points still meet those of unturned neighbours.
CMatrix RotationZ(double degrees) {
    double cosine = 0.0;
    double sine = 0.0;
    const double quarters = degrees / 90.0;
    if (std::isfinite(quarters) && quarters == std::round(quarters) && std::fabs(quarters) < 1e9) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        static constexpr double kSin[] = {0, 1, 0, -1};
        const auto quarter = static_cast<long long>(quarters) % 4;
        const auto k = static_cast<std::size_t>(quarter < 0 ? quarter + 4 : quarter);
        cosine = kCos[k];
        sine = kSin[k];
    } else {
        const double radians = degrees * std::numbers::pi / 180.0;
        cosine = std::cos(radians);
        sine = std::sin(radians);
    }
    return {{{cosine, -sine, 0}, {sine, cosine, 0}, {0, 0, 1}}};
}

} // namespace

std::uint64_t CDxfGrid::Cells() const {
    return static_cast<std::uint64_t>(m_nColumns) * static_cast<std::uint64_t>(m_nRows);
}

CDxfGrid GridOf(const CDxfInsert& insert) {
    CDxfGrid grid;
    grid.m_nColumns = insert.m_fColumnSpacing == 0.0 ? 1 : insert.m_nColumns;
    grid.m_nRows = insert.m_fRowSpacing == 0.0 ? 1 : insert.m_nRows;
    if (insert.m_nColumns < 1 || insert.m_nRows < 1) {
        grid = {0, 0};
    }
    return grid;
}

CDxfTransform::CDxfTransform() {
    m_linear = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
}

CDxfTransform CDxfTransform::ForInsert(const CDxfInsert& insert, const CDxfPoint& base, int column,
                                       int row) {
    const CMatrix axes = ObjectAxes(insert.m_extrusion);
    const CMatrix rotation = RotationZ(insert.m_fRotation);
    const CMatrix scale = {
        {{insert.m_scale[0], 0, 0}, {0, insert.m_scale[1], 0}, {0, 0, insert.m_scale[2]}}};
    const CMatrix turned = Multiply(rotation, scale);
    const CDxfPoint cell =
        Times(rotation, {column * insert.m_fColumnSpacing, row * insert.m_fRowSpacing, 0.0});
    const CDxfPoint movedBase = Times(turned, base);
    CDxfTransform placement;
    placement.m_bIdentity = false;
    placement.m_linear = Multiply(axes, turned);
    placement.m_offset = Times(axes, {insert.m_point[0] + cell[0] - movedBase[0],
                                      insert.m_point[1] + cell[1] - movedBase[1],
                                      insert.m_point[2] + cell[2] - movedBase[2]});
    return placement;
}

CDxfTransform CDxfTransform::operator*(const CDxfTransform& inner) const {
    if (m_bIdentity) {
        return inner;
    }
    if (inner.m_bIdentity) {
        return *this;
    }
    CDxfTransform product;
    product.m_bIdentity = false;
    product.m_linear = Multiply(m_linear, inner.m_linear);
    product.m_offset = Apply(inner.m_offset);
    return product;
}

CDxfPoint CDxfTransform::Apply(const CDxfPoint& p) const {
    if (m_bIdentity) {
        return p;
    }
    const CDxfPoint moved = Times(m_linear, p);
    return {moved[0] + m_offset[0], moved[1] + m_offset[1], moved[2] + m_offset[2]};
}

bool CDxfTransform::Mirrors() const {
    const CMatrix& m = m_linear;
    const double determinant = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return determinant < 0.0;
}
