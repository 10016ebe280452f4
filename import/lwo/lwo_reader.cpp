// The header, the chunks the LightWave forms share, and the damage messages (lwo_reader.h).
#include <cmath>
#include <limits>

#include "import/import_object.h"
#include "import/lwo/iff_chunks.h"
#include "import/lwo/lwo_reader.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

} // namespace

std::uint32_t CLwoReader::Read(Bytes data) {
    CBigEndianReader file(data);
    Bytes form;
    Bytes type;
    std::uint32_t formLength = 0;
    if (!file.ReadSpan(4, form) || !CImportObject::ReadU4(file, formLength) ||
        !file.ReadSpan(4, type) || !IffTagIs(form, "FORM")) {
        m_object.m_strError = "not a LightWave object: no FORM header";
        return 0;
    }
    const bool lwob = IffTagIs(type, "LWOB");
    const bool lwlo = IffTagIs(type, "LWLO");
    const bool lwo2 = IffTagIs(type, "LWO2") || IffTagIs(type, "LWO3");
    if (!lwob && !lwlo && !lwo2) {
        m_object.m_strError = "not a LightWave object: form type \"" + IffTagText(type) + "\"";
        return 0;
    }
    if (formLength == 0) {
        m_object.m_strError = "not a LightWave object: FORM length 0";
        return 0;
    }
    m_strForm = IffTagText(type);
    const std::size_t held = data.size() - 8;
    m_bFileCutShort = held < formLength;

    // The walk runs to the end of the file rather than of L, so a writer's short FORM length
    // hides no chunk (the corpus files all give L exactly).
    CIffChunkWalker chunks(data.subspan(12), 12);
    const bool read = lwob ? ReadLwob(chunks) : lwlo ? ReadLwlo(chunks) : ReadLwo2(chunks);
    // Writers may leave out the pad byte after a last chunk of odd length: whole chunks one
    // byte short of L have lost nothing.
    const bool onlyPadMissing = held + 1 == formLength && !chunks.Cut();
    m_object.m_bEndsEarly = read && m_bFileCutShort && !onlyPadMissing;
    return read ? formLength : 0;
}

bool CLwoReader::Damaged(const std::string& what) {
    m_object.m_strError = "damaged " + m_strForm + " object: " + what;
    return false;
}

bool CLwoReader::ChunkCutShort(const CIffChunk& chunk) {
    return Damaged("chunk \"" + chunk.TagText() + "\" at offset " +
                   std::to_string(chunk.m_nOffset) + " runs past the end of the file (" +
                   std::to_string(chunk.m_nLength) + " bytes, " +
                   std::to_string(chunk.m_data.size()) + " left)");
}

bool CLwoReader::AcceptsCutChunk(const CIffChunk& chunk) {
    return m_bFileCutShort || ChunkCutShort(chunk);
}

bool CLwoReader::RecordCutOff(const CIffChunk& chunk, const std::string& what) {
    return chunk.IsCut() || Damaged(what);
}

std::string CLwoReader::Offset(const CIffChunk& chunk, std::size_t pos) {
    return "offset " + std::to_string(chunk.m_nOffset + 8 + pos);
}

bool CLwoReader::ReadPoints(const CIffChunk& chunk) {
    // Three big-endian floats per point; bytes left over by the division are ignored. A
    // coordinate that is an infinity or a NaN would poison every normal and bound computed
    // from it in the scene, so such a file is damaged.
    const std::size_t count = chunk.m_data.size() / 12;
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) -
                    m_object.m_aPoint.size()) {
        return Damaged("the PNTS chunk at offset " + std::to_string(chunk.m_nOffset) +
                       " holds more points than an object can");
    }
    m_object.m_aPoint.reserve(m_object.m_aPoint.size() + count);
    CBigEndianReader reader(chunk.m_data);
    for (std::size_t i = 0; i < count; ++i) {
        CImportPoint point;
        CImportObject::ReadU4(reader, point.m_fX);
        CImportObject::ReadU4(reader, point.m_fY);
        CImportObject::ReadU4(reader, point.m_fZ);
        if (!std::isfinite(point.m_fX) || !std::isfinite(point.m_fY) ||
            !std::isfinite(point.m_fZ)) {
            return Damaged("point " + std::to_string(i) + " of the PNTS chunk at offset " +
                           std::to_string(chunk.m_nOffset) + " is not a finite number (" +
                           Offset(chunk, i * 12) + ")");
        }
        m_object.m_aPoint.push_back(point);
    }
    return true;
}
