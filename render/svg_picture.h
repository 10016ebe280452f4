// The SVG form of a rendered picture: the faces in their depth order, one group
// per run of a part's faces, the legend as text.
// Written through CReplacingFile: a failed write leaves an existing file whole.
#pragma once

#include "render/projected_scene.h"
#include "render/render_scene.h"
#include "render/render_view.h"

#include "platform/status.h"

#include <string>

// title names the picture (the file it shows).
CStatus WriteSvgPicture(const CRenderScene& scene, const CProjectedScene& projected,
                        const CRenderOptions& options, const std::string& title,
                        const std::string& path);
