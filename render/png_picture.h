// The PNG form of a rendered picture: a depth-buffered raster, the legend drawn
// over it with Cairo. Written through CReplacingFile: a failed write leaves an
// existing file whole.
#pragma once

#include "render/projected_scene.h"
#include "render/raster_image.h"
#include "render/render_scene.h"
#include "render/render_view.h"

#include "platform/status.h"

#include <string>

// The polygons drawn into a raster of options' size: faces filled (fanned
// from their first corner) unless options.m_bWire, outlines otherwise, lines
// and points as they are.
CRasterImage RasterizeScene(const CRenderScene& scene, const CProjectedScene& projected,
                            const CRenderOptions& options);

CStatus WritePngPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& path);
