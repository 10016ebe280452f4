#include "scene/scene_part.h"

#include "scene/archive.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

const CScenePoint kOrigin;

// Rounds a unit component to four decimals the way the concavity test does:
// times 10000, plus 0.5, truncated toward zero, times 0.0001. std::trunc gives
// the same value as a conversion to int for every unit component and stays
// defined for NaN.
double RoundUnit(double value) {
    return std::trunc(value * 10000.0 + 0.5) * 0.0001;
}

// v x u with u = p - q and v = q - r, as both the polygon normal and the
// concavity test compute it.
void CrossOfCorners(const CScenePoint& p, const CScenePoint& q, const CScenePoint& r, double& x,
                    double& y, double& z) {
    const double ux = p.m_x - q.m_x, uy = p.m_y - q.m_y, uz = p.m_z - q.m_z;
    const double vx = q.m_x - r.m_x, vy = q.m_y - r.m_y, vz = q.m_z - r.m_z;
    x = vy * uz - vz * uy;
    y = vz * ux - vx * uz;
    z = vx * uy - vy * ux;
}

} // namespace

CScenePart::~CScenePart() {
    m_points.RemoveAll();
    m_polygons.RemoveAll();
}

const CScenePoint& CScenePart::GetCornerPoint(std::int32_t index) const {
    if (index < 0 || index >= m_points.GetSize() || m_points[index] == nullptr)
        return kOrigin;
    return *m_points[index];
}

void CScenePart::AddPoint(CScenePoint* point) {
    m_points.Add(point);
}

void CScenePart::AddPoint(const CScenePoint& point) {
    m_points.Emplace(point);
}

void CScenePart::AddPolygon(CScenePolygon* polygon) {
    const int i = m_polygons.Add(polygon);
    polygon->m_center = ComputePolygonCenter(i);
    ComputePolygonNormal(polygon);
}

void CScenePart::AddPolygon(CScenePolygon&& polygon) {
    CScenePolygon* added = m_polygons.Emplace(std::move(polygon));
    added->m_center = ComputePolygonCenter(m_polygons.GetSize() - 1);
    ComputePolygonNormal(added);
}

CScenePoint CScenePart::ComputePolygonCenter(int i) {
    CScenePolygon& polygon = *m_polygons[i];
    CScenePoint center;
    const std::size_t n = polygon.m_indices.size();
    if (n == 0) {
        // No corners, no mean: the origin, at distance 0.
        polygon.m_dCenterDistance = 0.0;
        return center;
    }
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (std::int32_t index : polygon.m_indices) {
        const CScenePoint& p = GetCornerPoint(index);
        sx += p.m_x;
        sy += p.m_y;
        sz += p.m_z;
    }
    const auto count = static_cast<double>(n);
    center.m_x = sx / count;
    center.m_y = sy / count;
    center.m_z = sz / count;
    polygon.m_dCenterDistance =
        std::sqrt(center.m_x * center.m_x + center.m_y * center.m_y + center.m_z * center.m_z);
    return center;
}

CSceneNormal CScenePart::ComputePolygonNormal(CScenePolygon* polygon) {
    double x = 0.0, y = 0.0, z = 0.0;
    if (polygon->m_indices.size() >= 3)
        CrossOfCorners(GetCornerPoint(polygon->m_indices[0]), GetCornerPoint(polygon->m_indices[1]),
                       GetCornerPoint(polygon->m_indices[2]), x, y, z);
    polygon->m_normal.Set(x, y, z);
    return polygon->m_normal;
}

void CScenePart::UpdateGeometry() {
    // One pass, though the host's order is every centre, then every normal: neither reads
    // what the other writes, so the values are the same, and a large part's polygons are
    // brought into cache once instead of twice.
    for (int i = 0; i < m_polygons.GetSize(); ++i) {
        CScenePolygon* polygon = m_polygons[i];
        polygon->m_center = ComputePolygonCenter(i);
        ComputePolygonNormal(polygon);
    }
}

void CScenePart::ClampCurrent() {
    m_nCurPolygon = std::max(std::min(m_nCurPolygon, m_polygons.GetSize() - 1), 0);
    m_nCurPoint = std::max(std::min(m_nCurPoint, m_points.GetSize() - 1), 0);
}

void CScenePart::RemovePoint(int k) {
    for (const auto& polygon : m_polygons)
        if (std::find(polygon->m_indices.begin(), polygon->m_indices.end(), k) !=
            polygon->m_indices.end())
            polygon->m_bSelected = 1;
    // Polygons selected before the call go as well: the host's rule.
    m_polygons.RemoveIf([](const CScenePolygon* p) { return p->m_bSelected != 0; });
    for (const auto& polygon : m_polygons)
        for (std::int32_t& index : polygon->m_indices)
            if (index > k)
                --index;
    m_points.RemoveAt(k);
    if (k <= m_nCurPoint)
        --m_nCurPoint;
    ClampCurrent();
}

std::vector<char> CScenePart::GetUsedPoints() const {
    const int n = m_points.GetSize();
    std::vector<char> used(static_cast<std::size_t>(n), 0);
    for (const auto& polygon : m_polygons)
        for (std::int32_t index : polygon->m_indices)
            if (index >= 0 && index < n)
                used[static_cast<std::size_t>(index)] = 1;
    return used;
}

void CScenePart::CompactPointsFrom(int start) {
    const int n = m_points.GetSize();
    const std::vector<char> used = GetUsedPoints();
    // Removing the points one by one, lowest first, as RemovePoint would; the
    // current point follows each removal.
    std::vector<std::int32_t> newIndex(static_cast<std::size_t>(n));
    int removed = 0;
    for (int i = 0; i < n; ++i) {
        if (i < start || used[static_cast<std::size_t>(i)]) {
            newIndex[static_cast<std::size_t>(i)] = i - removed;
            continue;
        }
        const int k = i - removed;
        ++removed;
        if (k <= m_nCurPoint)
            --m_nCurPoint;
        m_nCurPoint = std::max(std::min(m_nCurPoint, n - removed - 1), 0);
    }
    if (removed == 0)
        return;
    for (const auto& polygon : m_polygons)
        for (std::int32_t& index : polygon->m_indices) {
            if (index >= n)
                index -= removed; // outside the list: lowered once per removal, as RemovePoint does
            else if (index >= 0)
                index = newIndex[static_cast<std::size_t>(index)];
        }
    m_points.RemoveIfIndex([&](int i) { return i >= start && !used[static_cast<std::size_t>(i)]; });
    ClampCurrent();
}

void CScenePart::RemoveUnreferencedPoints() {
    // The first removal deletes every selected polygon (RemovePoint's rule), which
    // can leave further points unused; it runs as RemovePoint itself. With no
    // polygon selected, a removal deletes no polygon, and the rest is one pass.
    if (GetSelectedPolygonCount() > 0) {
        const std::vector<char> used = GetUsedPoints();
        const auto first = std::find(used.begin(), used.end(), 0);
        if (first == used.end())
            return;
        const auto start = static_cast<int>(first - used.begin());
        RemovePoint(start);
        CompactPointsFrom(start);
        return;
    }
    CompactPointsFrom(0);
}

void CScenePart::RemoveAllPoints() {
    const int n = m_points.GetSize();
    if (n == 0)
        return; // RemovePoint is never called: even selected polygons stay
    // Removing point 0 n times: a corner j in [0, n) reaches 0 at the j-th
    // removal and takes its polygon along; a corner beyond the list is lowered
    // once per removal; a negative one is never touched.
    m_polygons.RemoveIf([n](const CScenePolygon* p) {
        return p->m_bSelected != 0 ||
               std::any_of(p->m_indices.begin(), p->m_indices.end(),
                           [n](std::int32_t index) { return index >= 0 && index < n; });
    });
    for (const auto& polygon : m_polygons)
        for (std::int32_t& index : polygon->m_indices)
            if (index >= n)
                index -= n;
    m_points.RemoveAll();
    m_nCurPoint = 0;
    ClampCurrent();
}

int CScenePart::GetSelectedPolygonCount() const {
    int count = 0;
    for (const auto& polygon : m_polygons)
        if (polygon->m_bSelected != 0)
            ++count;
    return count;
}

void CScenePart::FlipPolygons() {
    const int selected = GetSelectedPolygonCount();
    for (const auto& polygon : m_polygons)
        if (selected < 1 || polygon->m_bSelected != 0)
            polygon->Flip();
}

int CScenePart::IsPolygonConcave(int i) {
    const CScenePolygon& polygon = *m_polygons[i];
    const auto n = polygon.m_indices.size();
    if (n < 4)
        return 0;
    CSceneNormal working;
    double prev[3] = {0.0, 0.0, 0.0};
    int result = 0;
    for (std::size_t k = 0; k < n; ++k) {
        double x = 0.0, y = 0.0, z = 0.0;
        CrossOfCorners(GetCornerPoint(polygon.m_indices[k]),
                       GetCornerPoint(polygon.m_indices[(k + 1) % n]),
                       GetCornerPoint(polygon.m_indices[(k + 2) % n]), x, y, z);
        // A zero-length cross product leaves the previous rounded unit vector in
        // place; it is rounded once more below.
        working.Set(x, y, z);
        working.m_dUnitX = RoundUnit(working.m_dUnitX);
        working.m_dUnitY = RoundUnit(working.m_dUnitY);
        working.m_dUnitZ = RoundUnit(working.m_dUnitZ);
        const double cur[3] = {working.m_dUnitX, working.m_dUnitY, working.m_dUnitZ};
        if (k >= 1)
            for (int c = 0; c < 3; ++c)
                if ((prev[c] > 0.0 && cur[c] < 0.0) || (prev[c] < 0.0 && cur[c] > 0.0))
                    result = 1;
        std::copy(cur, cur + 3, prev);
    }
    return result;
}

void CScenePart::Serialize(CArchive& ar) {
    ar.Transfer(m_nId, "part id");
    m_transform.Serialize(ar);
    ar.Transfer(m_nPartAttr27, "part attr27");
    ar.Transfer(m_nPartAttr26, "part attr26");
    ar.Transfer(m_nCurPolygon, "part current polygon");
    ar.Transfer(m_nCurPoint, "part current point");
    ar.Transfer(m_dPartAttr33, "part attr33");
    ar.Transfer(m_strName, "part name");
    ar.Transfer(m_strLink, "part link text");
    ar.Transfer(m_nLinkId, "part link id");
    ar.Transfer(m_nPartAttr30, "part attr30");
    ar.Transfer(m_nPartAttr32, "part attr32");
    ar.Transfer(m_nPartAttr31, "part attr31");
    ar.Transfer(m_nPartAttr28, "part attr28");
    ar.Transfer(m_nPartAttr29, "part attr29");
    ar.Transfer(m_nPartAttr25, "part attr25");
    ar.Transfer(m_nPartAttr24, "part attr24");
    ar.Transfer(m_wPartAttr1, "part attr1");
    ar.Transfer(m_nPartAttr23, "part attr23");
    ar.Transfer(m_nPartAttr17, "part attr17");
    ar.Transfer(m_wPartAttr16, "part attr16");
    ar.Transfer(m_crColor, "part colour");
    ar.Transfer(m_nPartAttr15, "part attr15");
    ar.Transfer(m_nPartAttr14, "part attr14");
    ar.Transfer(m_nPartAttr13, "part attr13");
    ar.Transfer(m_strCondition, "part condition");
    ar.Transfer(m_nPartAttr22, "part attr22");
    ar.Transfer(m_nPartAttr21, "part attr21");
    ar.Transfer(m_wPartAttr20, "part attr20");
    ar.Transfer(m_wPartAttr19, "part attr19");
    ar.Transfer(m_nPartAttr2, "part attr2");
    ar.Transfer(m_nPartAttr3, "part attr3");
    ar.Transfer(m_dPartAttr4, "part attr4");
    ar.Transfer(m_dPartAttr5, "part attr5");
    ar.Transfer(m_dPartAttr6, "part attr6");
    ar.Transfer(m_dPartAttr7, "part attr7");
    ar.Transfer(m_wPartAttr8, "part attr8");
    ar.Transfer(m_dPartAttr9, "part attr9");
    ar.Transfer(m_wPartAttr10, "part attr10");
    ar.Transfer(m_dPartAttr11, "part attr11");
    ar.Transfer(m_wPartAttr12, "part attr12");
    if (ar.IsStoring()) {
        ar.StoreCount(m_points.GetSize());
        for (const auto& point : m_points) {
            if (point != nullptr) {
                point->Serialize(ar);
            } else {
                CScenePoint empty;
                empty.Serialize(ar);
            }
        }
        ar.StoreCount(m_polygons.GetSize());
        for (const auto& polygon : m_polygons)
            polygon->Serialize(ar);
    } else {
        const std::int32_t points = ar.LoadCount("part point count", CScenePoint::kRecordSize);
        m_points.Reserve(static_cast<std::size_t>(m_points.GetSize()) + ar.ReservableCount(points));
        for (std::int32_t i = 0; i < points; ++i) {
            CScenePoint point;
            point.Serialize(ar);
            AddPoint(point);
        }
        const std::int32_t polygons =
            ar.LoadCount("part polygon count", CScenePolygon::kMinRecordSize);
        m_polygons.Reserve(static_cast<std::size_t>(m_polygons.GetSize()) +
                           ar.ReservableCount(polygons));
        // Each record is read whole before it joins the part: a damaged one adds nothing.
        for (std::int32_t i = 0; i < polygons; ++i) {
            CScenePolygon polygon;
            polygon.Serialize(ar);
            AddPolygon(std::move(polygon));
        }
    }
    for (CSceneMaterial& material : m_materials)
        material.Serialize(ar);
    ar.Transfer(m_nPartAttr18, "part attr18");
}
