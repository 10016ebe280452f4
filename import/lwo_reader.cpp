// LightWave object files: an IFF container. The 12-byte header is "FORM", a big-endian length
// L of everything after those eight bytes, and the form type; then the chunk list. All
// numbers are big-endian. Four forms are read, each by its own file:
//   LWOB  LightWave 5 objects (lwob_reader.cpp)
//   LWLO  LightWave 5 layered objects (lwlo_reader.cpp)
//   LWO2  LightWave 6 and later, and LWO3, LightWave 2015 and later (lwo2_reader.cpp)
// This file holds the header, the chunks the forms share and the damage messages.
#include <cmath>
#include <limits>

#include "file_bytes.h"
#include "iff_chunks.h"
#include "import_object.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

} // namespace

std::int32_t CImportObject::LoadLwo(std::string path) {
    CFileBytes file;
    Clear();
    m_nLoaded = 0;
    if (!file.Open(path, m_strError)) {
        return 0;
    }
    std::string_view bytes = file.Text();
    const std::int32_t loaded =
        LoadLwoFromMemory(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (loaded == 0) {
        m_strError = "\"" + path + "\": " + m_strError;
    }
    return loaded;
}

std::int32_t CImportObject::LoadLwoFromMemory(Bytes data) {
    Clear();
    m_nLoaded = 0;
    m_strError.clear();
    CBigEndianReader file(data);
    Bytes form;
    Bytes type;
    std::uint32_t formLength = 0;
    if (!file.ReadSpan(4, form) || !ReadU4(file, formLength) || !file.ReadSpan(4, type) ||
        !IffTagIs(form, "FORM")) {
        m_strError = "not a LightWave object: no FORM header";
        return 0;
    }
    const bool lwob = IffTagIs(type, "LWOB");
    const bool lwlo = IffTagIs(type, "LWLO");
    const bool lwo2 = IffTagIs(type, "LWO2") || IffTagIs(type, "LWO3");
    if (!lwob && !lwlo && !lwo2) {
        m_strError = "not a LightWave object: form type \"" + IffTagText(type) + "\"";
        return 0;
    }
    if (formLength == 0) {
        m_strError = "not a LightWave object: FORM length 0";
        return 0;
    }
    m_strLwoForm = IffTagText(type);

    // The walk runs to the end of the file rather than of L, so a writer's short FORM length
    // hides no chunk (the corpus files all give L exactly).
    CIffChunkWalker chunks(data.subspan(12), 12);
    const bool read = lwob ? ReadLwob(chunks) : lwlo ? ReadLwlo(chunks) : ReadLwo2(chunks);
    if (!read) {
        Clear();
        return 0;
    }
    m_nLoaded = static_cast<std::int32_t>(formLength);
    return m_nLoaded;
}

void CImportObject::LwoDamaged(const std::string& what) {
    m_strError = "damaged " + m_strLwoForm + " object: " + what;
}

bool CImportObject::LwoChunkCutShort(const CIffChunk& chunk) {
    LwoDamaged("chunk \"" + chunk.TagText() + "\" at offset " + std::to_string(chunk.m_nOffset) +
               " runs past the end of the file (" + std::to_string(chunk.m_nLength) + " bytes, " +
               std::to_string(chunk.m_data.size()) + " left)");
    return false;
}

std::string CImportObject::LwoOffset(const CIffChunk& chunk, std::size_t pos) {
    return "offset " + std::to_string(chunk.m_nOffset + 8 + pos);
}

bool CImportObject::ReadPoints(const CIffChunk& chunk) {
    // Three big-endian floats per point; bytes left over by the division are ignored. A
    // coordinate that is an infinity or a NaN would poison every normal and bound computed
    // from it in the scene, so such a file is damaged.
    const std::size_t count = chunk.m_data.size() / 12;
    if (count >
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - m_aPoint.size()) {
        LwoDamaged("the PNTS chunk at offset " + std::to_string(chunk.m_nOffset) +
                   " holds more points than an object can");
        return false;
    }
    m_aPoint.reserve(m_aPoint.size() + count);
    CBigEndianReader reader(chunk.m_data);
    for (std::size_t i = 0; i < count; ++i) {
        CImportPoint point;
        ReadU4(reader, point.m_fX);
        ReadU4(reader, point.m_fY);
        ReadU4(reader, point.m_fZ);
        if (!std::isfinite(point.m_fX) || !std::isfinite(point.m_fY) ||
            !std::isfinite(point.m_fZ)) {
            LwoDamaged("point " + std::to_string(i) + " of the PNTS chunk at offset " +
                       std::to_string(chunk.m_nOffset) + " is not a finite number (" +
                       LwoOffset(chunk, i * 12) + ")");
            return false;
        }
        m_aPoint.push_back(point);
    }
    return true;
}
