// The PNG form of a rendered picture: a supersampled, depth-buffered raster,
// the legend drawn beside the drawing with Cairo; 8 bits a channel, not
// interlaced, with alpha when the background is transparent. Written through
// CReplacingFile: a failed write leaves an existing file whole.
#pragma once

#include "render/projected_scene.h"
#include "render/raster_image.h"
#include "render/render_scene.h"
#include "render/render_view.h"

#include "platform/status.h"

#include <string>

// The polygons drawn into a raster of options' size: faces filled exactly
// unless options.m_bWire, outlines otherwise (and over the fill with
// options.m_bEdges), lines and points as they are.
CRasterImage RasterizeScene(const CRenderScene& scene, const CProjectedScene& projected,
                            const CRenderOptions& options);

CStatus WritePngPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& path);

// Cairo and fontconfig keep the legend's font caches until the process ends;
// handing them back when the pictures are done keeps leak checkers' reports to
// our own memory.
class CFontCacheRelease {
  public:
    CFontCacheRelease() = default;
    ~CFontCacheRelease();
    CFontCacheRelease(const CFontCacheRelease&) = delete;
    CFontCacheRelease& operator=(const CFontCacheRelease&) = delete;
};
