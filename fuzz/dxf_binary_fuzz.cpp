#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/import_object_check.h"
#include "import/dxf/dxf_binary.h"
#include "import/dxf/dxf_pairs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDxfBinaryText text;
    std::string error;
    if (!BinaryDxfToText(bytes, text, error)) {
        // A reason at an offset inside the file (0 for one too short to be binary DXF).
        if (!error.starts_with("byte offset ") ||
            std::stoull(error.substr(12)) >= std::max<std::size_t>(size, 1)) {
            std::abort();
        }
    }
    // Whole pairs of two lines each, every one at an offset past the last, and a text the
    // pair reader takes without a complaint about a group code.
    if (static_cast<std::size_t>(std::count(text.m_strText.begin(), text.m_strText.end(), '\n')) !=
        2 * text.m_anPairOffset.size()) {
        std::abort();
    }
    for (std::size_t k = 0; k < text.m_anPairOffset.size(); ++k) {
        if (text.m_anPairOffset[k] >= size ||
            (k > 0 && text.m_anPairOffset[k] <= text.m_anPairOffset[k - 1])) {
            std::abort();
        }
    }
    CDxfPairReader pairs(text.m_strText);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> entity;
    while (pairs.NextEntity(name, line, entity)) {
    }
    if (!pairs.Error().empty()) {
        std::abort();
    }
    CImportObject object;
    if (object.LoadDxfFromMemory(text.m_strText) == 5) {
        CheckImportObject(object);
    } else if (object.m_strError.empty()) {
        std::abort();
    }
    return 0;
}
