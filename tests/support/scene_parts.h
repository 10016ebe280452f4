// Scene parts built in code.
#pragma once

#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct PointXyz {
    double x, y, z;
};

// A part with the given points and polygons (corner indices taken as they
// are, unchecked, so tests can hand in damaged ones), added to doc.
CScenePart* AddPart(CSceneDocument& doc, const std::string& name,
                    std::initializer_list<PointXyz> points,
                    std::initializer_list<std::vector<std::int32_t>> polygons,
                    PointXyz position = {0, 0, 0});

// The removal of unused points as the host does it: RemovePoint for each
// point no polygon names, one at a time, in order. The reference that faster
// removals are compared with.
void RemoveUnusedPointsOneByOne(CScenePart& part);

// Checks that actual holds expected's points, polygons (corners and
// selection) and current indices.
void ExpectSameGeometry(const CScenePart& actual, const CScenePart& expected);
