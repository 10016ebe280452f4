#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/import_object_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImportObject object;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (object.LoadDxfFromMemory(text) == 5) {
        CheckImportObject(object);
        for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
            std::int32_t surface = object.GetPolygon(i).m_nSurface;
            if (surface < 1 || static_cast<std::size_t>(surface) > object.GetSurfaceCount()) {
                std::abort();
            }
        }
    } else if (object.m_strError.empty() || object.GetPolygonCount() != 0) {
        std::abort();
    }
    return 0;
}
