// LightWave 5 objects, form "LWOB": points ("PNTS"), surface names ("SRFS") and polygons
// ("POLS"). The records of "SRFS" and "POLS" are also those of the layered form (LWLO).
#include <optional>

#include "import/import_object.h"
#include "import/lwo/iff_chunks.h"
#include "import/lwo/lwo_reader.h"

bool CLwoReader::ReadLwob(CIffChunkWalker& walker) {
    // The first chunk of each needed tag counts, wherever it stands.
    std::optional<CIffChunk> points;
    std::optional<CIffChunk> surfaces;
    std::optional<CIffChunk> polygons;
    CIffChunk chunk;
    CIffChunkWalker::Step step;
    while ((step = walker.Next(chunk)) != CIffChunkWalker::Step::End) {
        std::optional<CIffChunk>* needed = chunk.Is("PNTS")   ? &points
                                           : chunk.Is("SRFS") ? &surfaces
                                           : chunk.Is("POLS") ? &polygons
                                                              : nullptr;
        if (needed && needed->has_value()) {
            needed = nullptr;
        }
        const bool cut = step == CIffChunkWalker::Step::Truncated;
        if (cut && needed && !AcceptsCutChunk(chunk)) {
            return false;
        }
        if (needed) {
            *needed = chunk;
        }
        if (cut) {
            break; // a chunk cut short ends the list
        }
    }
    if (points && !ReadPoints(*points)) {
        return false;
    }
    if (surfaces) {
        ReadSurfaces(*surfaces);
    }
    return !polygons || ReadPolygons(*polygons, 0);
}

void CLwoReader::ReadSurfaces(const CIffChunk& chunk) {
    // Zero-terminated names, each padded to an even length with a zero byte. The pad is
    // recognised by its value: a zero right after a name's terminator is skipped. A last name
    // cut off by the end of the chunk has no terminator and makes no surface.
    CBigEndianReader reader(chunk.m_data);
    std::string name;
    std::uint8_t byte = 0;
    while (reader.ReadU8(byte)) {
        if (byte != 0) {
            name += static_cast<char>(byte);
            continue;
        }
        CImportSurface surface;
        surface.m_strName = std::move(name);
        m_object.m_aSurface.push_back(std::move(surface));
        name.clear();
        if (reader.PeekU8(byte) && byte == 0) {
            reader.Skip(1);
        }
    }
}

bool CLwoReader::ReadPolygons(const CIffChunk& chunk, std::size_t firstPoint) {
    // Each polygon: a 16-bit corner count, that many 16-bit point indices, a 16-bit surface
    // number. A negative surface number -s puts the polygon on surface s and announces a
    // 16-bit count of detail polygons of the same layout, which follow it. The indices count
    // from firstPoint, the first point of the polygons' layer.
    CBigEndianReader reader(chunk.m_data);
    m_object.m_aPolygon.reserve(m_object.m_aPolygon.size() + chunk.m_data.size() / 12);
    m_object.m_anIndexPool.reserve(m_object.m_anIndexPool.size() + chunk.m_data.size() / 3);
    const std::size_t layerPoints = m_object.m_aPoint.size() - firstPoint;
    std::vector<std::int32_t> indices;
    std::size_t pendingDetails = 0;
    auto cutOff = [&](std::size_t at, const char* what) {
        return RecordCutOff(chunk, std::string(what) + " at " + Offset(chunk, at) +
                                       " runs past the end of its POLS chunk");
    };
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        const char* what = pendingDetails > 0 ? "detail polygon" : "polygon";
        std::int32_t count = 0;
        if (!CImportObject::ReadU2(reader, count) ||
            static_cast<std::size_t>(count) > reader.Remaining() / 2) {
            return cutOff(at, what);
        }
        indices.resize(static_cast<std::size_t>(count));
        bool inRange = true;
        for (std::int32_t& index : indices) {
            CImportObject::ReadU2(reader, index);
            inRange = inRange && static_cast<std::size_t>(index) < layerPoints;
            index = static_cast<std::int32_t>(static_cast<std::size_t>(index) + firstPoint);
        }
        std::int32_t surface = 0;
        if (!CImportObject::ReadU2(reader, surface)) {
            return cutOff(at, what);
        }
        if (pendingDetails > 0) {
            --pendingDetails;
        }
        if (surface >= 0x8000) {
            surface = 0x10000 - surface;
            std::int32_t details = 0;
            if (!CImportObject::ReadU2(reader, details)) {
                return cutOff(at, what);
            }
            pendingDetails += static_cast<std::size_t>(details);
        }
        if (inRange) {
            m_object.AddPolygon(surface, indices);
        } else {
            ++m_object.m_nDroppedPolygons;
        }
    }
    if (pendingDetails > 0) {
        return RecordCutOff(chunk, "the POLS chunk at " + Offset(chunk, 0) + " ends " +
                                       std::to_string(pendingDetails) + " detail polygons short");
    }
    return true;
}
