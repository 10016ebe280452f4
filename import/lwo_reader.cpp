// LightWave object files, form "LWOB": an IFF container. The 12-byte header is "FORM", a
// big-endian length L of everything after those eight bytes, and "LWOB"; then chunks, each a
// 4-byte tag, a big-endian 32-bit length and the data, with one pad byte after odd-length
// data. All numbers are big-endian. Only "PNTS", "SRFS" and "POLS" matter to the import.
#include <array>
#include <cstring>

#include "file_bytes.h"
#include "import_object.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

bool TagIs(Bytes tag, const char* name) {
    return std::memcmp(tag.data(), name, 4) == 0;
}

std::string TagText(Bytes tag) {
    std::string text;
    for (std::uint8_t c : tag) {
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return text;
}

}  // namespace

std::int32_t CImportObject::LoadLwo(std::string path) {
    CFileBytes file;
    Clear();
    m_nLoaded = 0;
    if (!file.Open(path, m_strError)) {
        return 0;
    }
    std::string_view bytes = file.Text();
    return LoadLwoFromMemory(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string CImportObject::LwoOffset(Bytes chunk, std::size_t pos) const {
    return "offset " + std::to_string(static_cast<std::size_t>(chunk.data() - m_pLwoFile) + pos);
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
        !TagIs(form, "FORM") || !TagIs(type, "LWOB")) {
        m_strError = data.size() >= 12 && TagIs(data.first(4), "FORM")
                         ? "not an LWOB object: form type \"" + TagText(data.subspan(8, 4)) + "\""
                         : std::string("not an LWOB object: no FORM ... LWOB header");
        return 0;
    }
    if (formLength == 0) {
        m_strError = "not an LWOB object: FORM length 0";
        return 0;
    }
    m_pLwoFile = data.data();

    // The chunk list: the first chunk of each needed tag counts, wherever it stands. The walk
    // runs to the end of the file rather than of L, so a writer's short FORM length hides
    // no chunk (the corpus files all give L exactly).
    static constexpr std::array<const char*, 3> kNeeded = {"PNTS", "SRFS", "POLS"};
    std::array<std::optional<Bytes>, 3> chunks;
    while (file.Remaining() >= 8) {
        std::size_t at = file.Position();
        Bytes tag;
        std::uint32_t length = 0;
        file.ReadSpan(4, tag);
        ReadU4(file, length);
        std::optional<Bytes>* needed = nullptr;
        for (std::size_t k = 0; k < kNeeded.size(); ++k) {
            if (TagIs(tag, kNeeded[k]) && !chunks[k]) {
                needed = &chunks[k];
            }
        }
        Bytes body;
        if (!file.ReadSpan(length, body)) {
            if (needed) {
                m_strError = "damaged LWOB object: chunk \"" + TagText(tag) + "\" at offset " + std::to_string(at) +
                             " runs past the end of the file (" + std::to_string(length) + " bytes, " +
                             std::to_string(file.Remaining()) + " left)";
                m_pLwoFile = nullptr;
                return 0;
            }
            break;  // an unneeded chunk cut short only ends the list
        }
        if (needed) {
            *needed = body;
        }
        // The pad byte after odd-length data; a file may end without it.
        if (length % 2 == 1) {
            file.Skip(1);
        }
    }

    ReadPoints(chunks[0]);
    ReadSurfaces(chunks[1]);
    ReadPolygons(chunks[2]);
    m_pLwoFile = nullptr;
    if (!m_strError.empty()) {
        Clear();
        return 0;
    }
    m_nLoaded = static_cast<std::int32_t>(formLength);
    return m_nLoaded;
}

std::uint32_t CImportObject::ReadPoints(std::optional<Bytes> chunk) {
    if (!chunk) {
        return 0;
    }
    // Three big-endian floats per point; bytes left over by the division are ignored.
    std::size_t count = chunk->size() / 12;
    m_aPoint.reserve(count);
    CBigEndianReader reader(*chunk);
    for (std::size_t i = 0; i < count; ++i) {
        CImportPoint point;
        ReadU4(reader, point.m_fX);
        ReadU4(reader, point.m_fY);
        ReadU4(reader, point.m_fZ);
        m_aPoint.push_back(point);
    }
    return static_cast<std::uint32_t>(count);
}

std::uint32_t CImportObject::ReadSurfaces(std::optional<Bytes> chunk) {
    if (!chunk) {
        return 0;
    }
    // Zero-terminated names, each padded to an even length with a zero byte. The pad is
    // recognised by its value: a zero right after a name's terminator is skipped.
    CBigEndianReader reader(*chunk);
    std::string name;
    std::uint8_t byte = 0;
    while (reader.ReadU8(byte)) {
        if (byte != 0) {
            name += static_cast<char>(byte);
            continue;
        }
        CImportSurface surface;
        surface.m_strName = std::move(name);
        m_aSurface.push_back(std::move(surface));
        name.clear();
        if (reader.PeekU8(byte) && byte == 0) {
            reader.Skip(1);
        }
    }
    if (!name.empty()) {
        // A last name without its terminator: kept, it shifts no other surface's number.
        CImportSurface surface;
        surface.m_strName = std::move(name);
        m_aSurface.push_back(std::move(surface));
    }
    return static_cast<std::uint32_t>(chunk->size());
}

std::uint32_t CImportObject::ReadPolygons(std::optional<Bytes> chunk) {
    if (!chunk) {
        return 0;
    }
    // Each polygon: a 16-bit corner count, that many 16-bit point indices, a 16-bit surface
    // number. A negative surface number -s puts the polygon on surface s and announces a
    // 16-bit count of detail polygons of the same layout, which follow it.
    CBigEndianReader reader(*chunk);
    m_aPolygon.reserve(chunk->size() / 12);
    m_anIndexPool.reserve(chunk->size() / 3);
    const std::size_t pointCount = m_aPoint.size();
    std::vector<std::int32_t> indices;
    std::size_t pendingDetails = 0;
    auto damaged = [&](std::size_t at, const char* what) {
        m_strError = std::string("damaged LWOB object: ") + what + " at " + LwoOffset(*chunk, at) +
                     " runs past the end of its POLS chunk";
    };
    while (!reader.AtEnd()) {
        std::size_t at = reader.Position();
        const char* what = pendingDetails > 0 ? "detail polygon" : "polygon";
        std::int32_t count = 0;
        if (!ReadU2(reader, count) || static_cast<std::size_t>(count) > reader.Remaining() / 2) {
            damaged(at, what);
            return 0;
        }
        indices.resize(static_cast<std::size_t>(count));
        bool inRange = true;
        for (std::int32_t& index : indices) {
            ReadU2(reader, index);
            inRange = inRange && static_cast<std::size_t>(index) < pointCount;
        }
        std::int32_t surface = 0;
        if (!ReadU2(reader, surface)) {
            damaged(at, what);
            return 0;
        }
        if (pendingDetails > 0) {
            --pendingDetails;
        }
        if (surface >= 0x8000) {
            surface = 0x10000 - surface;
            std::int32_t details = 0;
            if (!ReadU2(reader, details)) {
                damaged(at, what);
                return 0;
            }
            pendingDetails += static_cast<std::size_t>(details);
        }
        if (inRange) {
            AddPolygon(surface, indices);
        } else {
            ++m_nDroppedPolygons;
        }
    }
    if (pendingDetails > 0) {
        m_strError = "damaged LWOB object: the POLS chunk at " + LwoOffset(*chunk, 0) + " ends " +
                     std::to_string(pendingDetails) + " detail polygons short";
        return 0;
    }
    return static_cast<std::uint32_t>(chunk->size());
}
