// Writing a rendered picture: PNG (a depth-buffered raster, the legend drawn
// over it with Cairo) or SVG (polygons far to near, the legend as text). Both
// go through CReplacingFile: a failed write leaves an existing file whole.
#pragma once

#include "host/projected_scene.h"
#include "host/raster_image.h"
#include "host/render_scene.h"
#include "host/render_view.h"

#include "platform/status.h"

#include <string>

inline constexpr std::uint32_t kBackgroundRgb = 0xF7F7F2;

// The polygons drawn into a raster of options' size: faces filled (fanned
// from their first corner) unless options.m_bWire, outlines otherwise, lines
// and points as they are.
CRasterImage RasterizeScene(const CRenderScene& scene, const CProjectedScene& projected,
                            const CRenderOptions& options);

CStatus WritePngPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& path);

// title names the picture (the file it shows).
CStatus WriteSvgPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& title,
                        const std::string& path);
