// LightWave 5 layered objects, form "LWLO": the chunks of LWOB, but any number of "PNTS",
// "POLS" and "CRVS" chunks, each set preceded by a "LAYR" chunk (layer number, flags, name)
// and belonging to that layer. A layer's polygons index its own points. "SRFS" names the
// object's surfaces once; the first one counts, as in LWOB. Curves ("CRVS") are counted and
// skipped.
#include "import/import_object.h"
#include "import/lwo/iff_chunks.h"
#include "import/lwo/lwo_reader.h"

bool CLwoReader::ReadLwlo(CIffChunkWalker& walker) {
    std::size_t layerFirstPoint = 0;
    bool surfacesRead = false;
    CIffChunk chunk;
    CIffChunkWalker::Step step;
    while ((step = walker.Next(chunk)) != CIffChunkWalker::Step::End) {
        const bool surfaces = chunk.Is("SRFS") && !surfacesRead;
        const bool needed = surfaces || chunk.Is("LAYR") || chunk.Is("PNTS") || chunk.Is("POLS") ||
                            chunk.Is("CRVS");
        const bool cut = step == CIffChunkWalker::Step::Truncated;
        if (cut && !needed) {
            break; // an unneeded chunk cut short only ends the list
        }
        if (cut && !AcceptsCutChunk(chunk)) {
            return false;
        }
        if (chunk.Is("LAYR")) {
            layerFirstPoint = m_object.m_aPoint.size();
        } else if (chunk.Is("PNTS")) {
            if (!ReadPoints(chunk)) {
                return false;
            }
        } else if (surfaces) {
            ReadSurfaces(chunk);
            surfacesRead = true;
        } else if (chunk.Is("POLS")) {
            if (!ReadPolygons(chunk, layerFirstPoint)) {
                return false;
            }
        } else if (chunk.Is("CRVS") && !CountCurves(chunk)) {
            return false;
        }
        if (cut) {
            break; // what a file cut short holds of its last chunk was read
        }
    }
    return true;
}

bool CLwoReader::CountCurves(const CIffChunk& chunk) {
    // Each curve: a 16-bit point count, that many 16-bit point indices, a 16-bit surface
    // number and a 16-bit flags word (continuity at the ends).
    CBigEndianReader reader(chunk.m_data);
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        std::int32_t count = 0;
        if (!CImportObject::ReadU2(reader, count) ||
            !reader.Skip(static_cast<std::size_t>(count) * 2 + 4)) {
            return RecordCutOff(chunk, "curve at " + Offset(chunk, at) +
                                           " runs past the end of its CRVS chunk");
        }
        ++m_object.m_nSkippedElements;
    }
    return true;
}
