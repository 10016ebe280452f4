#include "render/depth_order.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Lists longer than this are cut at a median; shorter ones by face planes.
constexpr std::size_t kMedianCutAbove = 48;
// Corner tests, over the whole tree, before the rest is ordered by mean depth.
constexpr std::size_t kWorkBudget = 200'000'000;

struct CPlane {
    double m_nx, m_ny, m_nz, m_d;
    double Distance(const CPieceCorner& c) const {
        return m_nx * c.m_x + m_ny * c.m_y + m_nz * c.m_z - m_d;
    }
};

class COrderBuilder {
  public:
    explicit COrderBuilder(CDepthOrder& order) : m_order(order) {}
    void Build(std::vector<std::uint32_t> all);

  private:
    struct CTask {
        std::vector<std::uint32_t> m_list;
        bool m_bEmit; // draw as listed; otherwise order first
    };

    const CPieceCorner* Corners(std::uint32_t piece) const {
        return &m_order.m_corners[m_order.m_pieces[piece].m_nFirst];
    }
    bool FacePlane(std::uint32_t piece, CPlane& plane) const;
    bool MedianPlane(const std::vector<std::uint32_t>& list, CPlane& plane) const;
    double MeanDepth(std::uint32_t piece) const;
    // Splits piece into the parts on the positive and negative side of the
    // plane its corners have these distances to.
    void Split(std::uint32_t piece, const std::vector<double>& distances, std::uint32_t& positive,
               std::uint32_t& negative);
    std::uint32_t AddPiece(std::uint32_t face, const std::vector<CPieceCorner>& corners);
    void OrderByMeanDepth(std::vector<std::uint32_t>& list) const;

    CDepthOrder& m_order;
    std::vector<CDepthPiece> m_drawn;
    std::size_t m_nWork = 0;
    std::size_t m_nPieceBudget = 0;
};

bool COrderBuilder::FacePlane(std::uint32_t piece, CPlane& plane) const {
    const CDepthPiece& p = m_order.m_pieces[piece];
    if (p.m_nCount < 3)
        return false;
    const CPieceCorner* c = Corners(piece);
    double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
    for (std::uint32_t k = 0; k < p.m_nCount; ++k) {
        const CPieceCorner& a = c[k];
        const CPieceCorner& b = c[(k + 1) % p.m_nCount];
        nx += (a.m_y - b.m_y) * (a.m_z + b.m_z);
        ny += (a.m_z - b.m_z) * (a.m_x + b.m_x);
        nz += (a.m_x - b.m_x) * (a.m_y + b.m_y);
        cx += a.m_x;
        cy += a.m_y;
        cz += a.m_z;
    }
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 1e-12) || !std::isfinite(length))
        return false;
    const double n = p.m_nCount;
    plane = {nx / length, ny / length, nz / length, 0};
    plane.m_d = (plane.m_nx * cx + plane.m_ny * cy + plane.m_nz * cz) / n;
    return true;
}

bool COrderBuilder::MedianPlane(const std::vector<std::uint32_t>& list, CPlane& plane) const {
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    std::vector<double> centres[3];
    for (const std::uint32_t piece : list) {
        const CDepthPiece& p = m_order.m_pieces[piece];
        const CPieceCorner* c = Corners(piece);
        double sum[3] = {0, 0, 0};
        for (std::uint32_t k = 0; k < p.m_nCount; ++k) {
            sum[0] += c[k].m_x;
            sum[1] += c[k].m_y;
            sum[2] += c[k].m_z;
        }
        for (int axis = 0; axis < 3; ++axis) {
            const double centre = sum[axis] / p.m_nCount;
            centres[axis].push_back(centre);
            low[axis] = std::min(low[axis], centre);
            high[axis] = std::max(high[axis], centre);
        }
    }
    int axis = 0;
    for (int a = 1; a < 3; ++a)
        if (high[a] - low[a] > high[axis] - low[axis])
            axis = a;
    if (!(high[axis] - low[axis] > 1e-6))
        return false;
    std::vector<double>& values = centres[axis];
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    double median = values[values.size() / 2];
    // A plane through the last centre would leave one side empty.
    if (median >= high[axis])
        median = (low[axis] + high[axis]) / 2;
    plane = {axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0, median};
    return true;
}

double COrderBuilder::MeanDepth(std::uint32_t piece) const {
    const CDepthPiece& p = m_order.m_pieces[piece];
    const CPieceCorner* c = Corners(piece);
    double sum = 0;
    for (std::uint32_t k = 0; k < p.m_nCount; ++k)
        sum += c[k].m_z;
    return p.m_nCount == 0 ? 0 : sum / p.m_nCount;
}

void COrderBuilder::OrderByMeanDepth(std::vector<std::uint32_t>& list) const {
    std::vector<std::pair<double, std::uint32_t>> keyed;
    keyed.reserve(list.size());
    for (const std::uint32_t piece : list)
        keyed.emplace_back(MeanDepth(piece), piece);
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i] = keyed[i].second;
}

std::uint32_t COrderBuilder::AddPiece(std::uint32_t face,
                                      const std::vector<CPieceCorner>& corners) {
    const auto index = static_cast<std::uint32_t>(m_order.m_pieces.size());
    m_order.m_pieces.push_back({face, static_cast<std::uint32_t>(m_order.m_corners.size()),
                                static_cast<std::uint32_t>(corners.size())});
    m_order.m_corners.insert(m_order.m_corners.end(), corners.begin(), corners.end());
    return index;
}

void COrderBuilder::Split(std::uint32_t piece, const std::vector<double>& distances,
                          std::uint32_t& positive, std::uint32_t& negative) {
    const CDepthPiece p = m_order.m_pieces[piece];
    const std::vector<CPieceCorner> c(Corners(piece), Corners(piece) + p.m_nCount);
    const auto crossing = [&](std::uint32_t k) {
        const CPieceCorner& a = c[k];
        const CPieceCorner& b = c[(k + 1) % p.m_nCount];
        const double t = distances[k] / (distances[k] - distances[(k + 1) % p.m_nCount]);
        return CPieceCorner{a.m_x + t * (b.m_x - a.m_x), a.m_y + t * (b.m_y - a.m_y),
                            a.m_z + t * (b.m_z - a.m_z), a.m_bOwnEdge};
    };
    // Sutherland-Hodgman for each side; a cut along the plane is no own edge.
    const auto side = [&](double sign) {
        std::vector<CPieceCorner> out;
        const bool line = p.m_nCount == 2;
        const std::uint32_t edges = line ? 1 : p.m_nCount;
        for (std::uint32_t k = 0; k < edges; ++k) {
            const std::uint32_t next = (k + 1) % p.m_nCount;
            const double da = sign * distances[k], db = sign * distances[next];
            if (da >= 0) {
                CPieceCorner corner = c[k];
                if (da == 0 && db < 0)
                    corner.m_bOwnEdge = false;
                out.push_back(corner);
            }
            if ((da > 0 && db < 0) || (da < 0 && db > 0)) {
                CPieceCorner cut = crossing(k);
                if (da > 0)
                    cut.m_bOwnEdge = false;
                out.push_back(cut);
            }
        }
        if (line && sign * distances[1] >= 0)
            out.push_back(c[1]);
        return out;
    };
    positive = AddPiece(p.m_nFace, side(1));
    negative = AddPiece(p.m_nFace, side(-1));
}

void COrderBuilder::Build(std::vector<std::uint32_t> all) {
    m_nPieceBudget = 4 * all.size() + 100'000;
    std::vector<CTask> tasks;
    tasks.push_back({std::move(all), false});
    std::vector<double> distances;
    while (!tasks.empty()) {
        CTask task = std::move(tasks.back());
        tasks.pop_back();
        std::vector<std::uint32_t>& list = task.m_list;
        if (task.m_bEmit || list.size() <= 1 || m_nWork > kWorkBudget) {
            if (!task.m_bEmit)
                OrderByMeanDepth(list);
            for (const std::uint32_t piece : list)
                m_drawn.push_back(m_order.m_pieces[piece]);
            continue;
        }
        CPlane plane{};
        bool found = false;
        std::size_t splitter = list.size();
        if (list.size() > kMedianCutAbove)
            found = MedianPlane(list, plane);
        for (std::size_t k = 0; !found && k < list.size(); ++k) {
            const std::size_t at = (list.size() / 2 + k) % list.size();
            if (FacePlane(list[at], plane)) {
                found = true;
                splitter = at;
            }
        }
        if (!found) {
            // Lines and points only, or all at one place: nothing to cut by.
            OrderByMeanDepth(list);
            for (const std::uint32_t piece : list)
                m_drawn.push_back(m_order.m_pieces[piece]);
            continue;
        }
        const double epsilon = 1e-7 * (1 + std::fabs(plane.m_d));
        std::vector<std::uint32_t> positive, negative, on;
        if (splitter < list.size())
            on.push_back(list[splitter]);
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (k == splitter)
                continue;
            const std::uint32_t piece = list[k];
            const CDepthPiece& p = m_order.m_pieces[piece];
            const CPieceCorner* c = Corners(piece);
            distances.resize(p.m_nCount);
            bool anyPositive = false, anyNegative = false;
            double sum = 0;
            for (std::uint32_t i = 0; i < p.m_nCount; ++i) {
                double d = plane.Distance(c[i]);
                if (std::fabs(d) <= epsilon)
                    d = 0;
                distances[i] = d;
                sum += d;
                anyPositive = anyPositive || d > 0;
                anyNegative = anyNegative || d < 0;
            }
            m_nWork += p.m_nCount;
            if (!anyPositive && !anyNegative) {
                on.push_back(piece);
            } else if (!anyNegative) {
                positive.push_back(piece);
            } else if (!anyPositive) {
                negative.push_back(piece);
            } else if (m_order.m_pieces.size() + 2 > m_nPieceBudget || p.m_nCount < 2) {
                (sum >= 0 ? positive : negative).push_back(piece);
            } else {
                std::uint32_t front = 0, back = 0;
                Split(piece, distances, front, back);
                positive.push_back(front);
                negative.push_back(back);
            }
        }
        // The viewer looks along -z from far out: the side its normal points
        // to is nearer when the normal has a positive depth part. A plane
        // along the view separates pieces that never overlap on screen.
        const bool positiveNearer = plane.m_nz >= 0;
        std::vector<std::uint32_t>& nearer = positiveNearer ? positive : negative;
        std::vector<std::uint32_t>& farther = positiveNearer ? negative : positive;
        tasks.push_back({std::move(nearer), false});
        tasks.push_back({std::move(on), true});
        tasks.push_back({std::move(farther), false});
    }
    m_order.m_pieces = std::move(m_drawn);
}

} // namespace

CDepthOrder OrderByDepth(const CRenderScene& scene, const CProjectedScene& projected) {
    CDepthOrder order;
    std::vector<std::uint32_t> all;
    for (std::size_t f = 0; f < scene.m_faces.size(); ++f) {
        const CRenderFace& face = scene.m_faces[f];
        if (projected.m_anColor[f] == CProjectedScene::kUndrawable || face.m_nCount == 0)
            continue;
        all.push_back(static_cast<std::uint32_t>(order.m_pieces.size()));
        order.m_pieces.push_back({static_cast<std::uint32_t>(f),
                                  static_cast<std::uint32_t>(order.m_corners.size()),
                                  face.m_nCount});
        for (std::uint32_t k = 0; k < face.m_nCount; ++k) {
            const std::uint32_t i = scene.m_anCorner[face.m_nFirst + k];
            order.m_corners.push_back({projected.m_afX[i], projected.m_afY[i],
                                       projected.m_afDepth[i] * projected.m_depthScale, true});
        }
    }
    COrderBuilder(order).Build(std::move(all));
    return order;
}
