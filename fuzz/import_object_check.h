// What every loaded import object promises, checked after each fuzz input.
#pragma once

#include <cstdlib>

#include "import/import_object.h"

inline void CheckImportObject(const CImportObject& object) {
    for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
        CImportPolygon polygon = object.GetPolygon(i);
        if (static_cast<std::size_t>(polygon.m_nCount) != polygon.m_anIndex.size()) {
            std::abort();
        }
        for (std::int32_t index : polygon.m_anIndex) {
            if (index < 0 || static_cast<std::size_t>(index) >= object.GetPointCount()) {
                std::abort();
            }
        }
    }
}
