#include <cstddef>
#include <cstdint>

#include "fuzz/import_object_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImportObject object;
    if (object.LoadLwoFromMemory(std::span<const std::uint8_t>(data, size)) != 0) {
        CheckImportObject(object);
    } else if (object.m_strError.empty() ||
               object.GetPointCount() + object.GetPolygonCount() != 0) {
        std::abort(); // a rejected file says why and keeps nothing
    }
    return 0;
}
