// The painter's order of a projected scene, for pictures drawn far to near
// (the SVG form): a BSP tree over the faces in pixel space, walked from
// behind, so the order is right wherever faces do not cross; faces that
// cross, and faces a splitting plane cuts, are split into pieces.
//
// Large lists are first cut by planes through the median of their pieces'
// centres (an ordinary BSP node whose plane holds no face), which keeps the
// tree balanced; small ones by their own faces' planes. A budget of work and
// of pieces keeps a damaged or pathological file from running away: past it,
// what is left is ordered by mean depth.
#pragma once

#include "render/projected_scene.h"
#include "render/render_scene.h"

#include <cstdint>
#include <vector>

struct CPieceCorner {
    double m_x; // pixels
    double m_y;
    double m_z; // depth in pixels, larger is nearer
    // Whether the edge from this corner to the next is part of one of the
    // face's own edges (not a cut).
    bool m_bOwnEdge;
};

struct CDepthPiece {
    std::uint32_t m_nFace;
    std::uint32_t m_nFirst; // into CDepthOrder::m_corners
    std::uint32_t m_nCount; // fewer than 3 is a line or a point
};

struct CDepthOrder {
    std::vector<CPieceCorner> m_corners;
    std::vector<CDepthPiece> m_pieces; // far to near
};

CDepthOrder OrderByDepth(const CRenderScene& scene, const CProjectedScene& projected);
