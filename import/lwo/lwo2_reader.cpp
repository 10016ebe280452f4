// LightWave 6 and later objects, form "LWO2", and LightWave 2015 and later, form "LWO3".
// What the import needs has one layout in both:
//   TAGS  zero-terminated strings, each padded to an even length; several chunks append
//   LAYR  starts a layer: its PNTS append points, its POLS index them from the layer's first
//   PNTS  three big-endian floats per point
//   POLS  a 4-byte type, then elements: a 16-bit word (low 10 bits: corner count, high 6:
//         flags) and that many variable-length point indices
//   PTAG  a 4-byte type, then pairs of a variable-length element number (into the POLS
//         chunk it follows) and a 16-bit tag number (into the TAGS strings)
//   SURF  (LWO2) the surface's name, then its description
//   FORM  (LWO3) a nested form; of type SURF, its first sub-chunk begins with the name
// A variable-length index is two bytes, or four when the first byte is 0xFF, of which the
// low 24 bits count. Everything else is skipped.
#include <unordered_set>

#include "import/import_object.h"
#include "import/lwo/iff_chunks.h"
#include "import/lwo/lwo_reader.h"

// The elements of the last POLS chunk of a layer, as a PTAG chunk after it numbers them:
// which stored polygon each became, or -1 (skipped or dropped). While every element became
// the next polygon, the table is not written.
class CElementPolygons {
  public:
    void Start(std::size_t firstPolygon) {
        m_bStarted = true;
        m_nFirstPolygon = firstPolygon;
        m_nElements = 0;
        m_anPolygon.clear();
    }
    void Stop() { m_bStarted = false; }
    bool Started() const { return m_bStarted; }

    void Add(std::int32_t polygon) {
        if (m_anPolygon.empty() &&
            polygon != static_cast<std::int32_t>(m_nFirstPolygon + m_nElements)) {
            for (std::size_t e = 0; e < m_nElements; ++e) {
                m_anPolygon.push_back(static_cast<std::int32_t>(m_nFirstPolygon + e));
            }
        }
        if (!m_anPolygon.empty() || polygon < 0) {
            m_anPolygon.push_back(polygon);
        }
        ++m_nElements;
    }
    std::size_t Count() const { return m_nElements; }
    std::int32_t Polygon(std::size_t element) const {
        return m_anPolygon.empty() ? static_cast<std::int32_t>(m_nFirstPolygon + element)
                                   : m_anPolygon[element];
    }

  private:
    bool m_bStarted = false;
    std::size_t m_nFirstPolygon = 0;
    std::size_t m_nElements = 0;
    std::vector<std::int32_t> m_anPolygon;
};

struct CLwoReader::CLwo2State {
    std::vector<std::string> m_aTag;
    std::vector<bool> m_abSurfaceTag;               // per tag: a SURF or a PTAG SURF names it
    std::unordered_set<std::string> m_surfaceNames; // named by SURF chunks and forms
    std::vector<std::int32_t> m_anPolygonTag;       // per stored polygon: its surface tag, or -1
    std::size_t m_nLayerFirstPoint = 0;
    CElementPolygons m_elements; // of the layer's last POLS chunk
};

namespace {

using Bytes = std::span<const std::uint8_t>;

bool ReadIndex(CBigEndianReader& reader, std::uint32_t& index) {
    std::uint8_t first = 0;
    if (!reader.PeekU8(first)) {
        return false;
    }
    if (first != 0xFF) {
        std::uint16_t value = 0;
        if (!reader.ReadU16(value)) {
            return false;
        }
        index = value;
        return true;
    }
    if (!reader.ReadU32(index)) {
        return false;
    }
    index &= 0x00FFFFFFu;
    return true;
}

// A zero-terminated string at the start of data; false when it has no terminator.
bool LeadingName(Bytes data, std::string& name) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == 0) {
            name.assign(reinterpret_cast<const char*>(data.data()), i);
            return true;
        }
    }
    return false;
}

} // namespace

bool CLwoReader::ReadLwo2(CIffChunkWalker& walker) {
    CLwo2State state;
    CIffChunk chunk;
    CIffChunkWalker::Step step;
    while ((step = walker.Next(chunk)) != CIffChunkWalker::Step::End) {
        static constexpr const char* kNeeded[] = {"TAGS", "LAYR", "PNTS", "POLS",
                                                  "PTAG", "SURF", "FORM"};
        bool needed = false;
        for (const char* tag : kNeeded) {
            needed = needed || chunk.Is(tag);
        }
        const bool cut = step == CIffChunkWalker::Step::Truncated;
        if (cut && !needed) {
            break; // an unneeded chunk cut short only ends the list
        }
        if (cut && !AcceptsCutChunk(chunk)) {
            return false;
        }
        bool read = true;
        if (chunk.Is("TAGS")) {
            ReadTags(chunk, state);
        } else if (chunk.Is("LAYR")) {
            state.m_nLayerFirstPoint = m_object.m_aPoint.size();
            state.m_elements.Stop();
        } else if (chunk.Is("PNTS")) {
            read = ReadPoints(chunk);
        } else if (chunk.Is("POLS")) {
            read = ReadLwo2Polygons(chunk, state);
        } else if (chunk.Is("PTAG")) {
            read = ReadPolygonTags(chunk, state);
        } else if (chunk.Is("SURF")) {
            std::string name;
            if (LeadingName(chunk.m_data, name)) {
                state.m_surfaceNames.insert(std::move(name));
            }
        } else if (chunk.Is("FORM")) {
            read = ReadSurfaceForm(chunk, state);
        }
        if (!read) {
            return false;
        }
        if (cut) {
            break; // what a file cut short holds of its last chunk was read
        }
    }
    AssignLwo2Surfaces(state);
    return true;
}

void CLwoReader::ReadTags(const CIffChunk& chunk, CLwo2State& state) {
    // The pad byte follows a string whose length with its terminator is odd: the next string
    // starts at an even offset. A last string without its terminator is no tag.
    std::size_t start = 0;
    const Bytes data = chunk.m_data;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != 0) {
            continue;
        }
        state.m_aTag.emplace_back(reinterpret_cast<const char*>(data.data() + start), i - start);
        i += (i + 1) % 2; // skip the pad byte
        start = i + 1;
    }
    state.m_abSurfaceTag.resize(state.m_aTag.size(), false);
}

bool CLwoReader::ReadLwo2Polygons(const CIffChunk& chunk, CLwo2State& state) {
    CBigEndianReader reader(chunk.m_data);
    Bytes type;
    if (!reader.ReadSpan(4, type)) {
        return RecordCutOff(chunk, "the POLS chunk at offset " + std::to_string(chunk.m_nOffset) +
                                       " has no type");
    }
    // Faces, and the cages of subdivision patches, are polygons; curves, bones, metaballs,
    // lines and unknown types are counted and skipped.
    const bool polygons =
        IffTagIs(type, "FACE") || IffTagIs(type, "PTCH") || IffTagIs(type, "SUBD");
    const std::size_t layerPoints = m_object.m_aPoint.size() - state.m_nLayerFirstPoint;
    const std::size_t firstPoint = state.m_nLayerFirstPoint;
    state.m_elements.Start(m_object.m_aPolygon.size());
    if (polygons) {
        m_object.m_aPolygon.reserve(m_object.m_aPolygon.size() + chunk.m_data.size() / 10);
        m_object.m_anIndexPool.reserve(m_object.m_anIndexPool.size() + chunk.m_data.size() / 2);
        state.m_anPolygonTag.reserve(state.m_anPolygonTag.size() + chunk.m_data.size() / 10);
    }
    // The corners go straight into the index pool; a polygon that is not kept takes them back.
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        const std::size_t poolStart = m_object.m_anIndexPool.size();
        std::uint16_t word = 0;
        bool whole = reader.ReadU16(word);
        const std::size_t count = word & 0x03FFu; // the high 6 bits are flags
        bool inRange = true;
        for (std::size_t k = 0; whole && k < count; ++k) {
            std::uint32_t index = 0;
            whole = ReadIndex(reader, index);
            inRange = inRange && index < layerPoints;
            m_object.m_anIndexPool.push_back(static_cast<std::int32_t>(index + firstPoint));
        }
        if (!whole) {
            m_object.m_anIndexPool.resize(poolStart);
            return RecordCutOff(chunk, "polygon at " + Offset(chunk, at) +
                                           " runs past the end of its POLS chunk");
        }
        std::int32_t stored = -1;
        if (!polygons) {
            ++m_object.m_nSkippedElements;
        } else if (!inRange) {
            ++m_object.m_nDroppedPolygons;
        } else {
            stored = static_cast<std::int32_t>(m_object.m_aPolygon.size());
            m_object.m_aPolygon.push_back({0, static_cast<std::uint32_t>(count), poolStart});
            state.m_anPolygonTag.push_back(-1);
        }
        if (stored < 0) {
            m_object.m_anIndexPool.resize(poolStart);
        }
        state.m_elements.Add(stored);
    }
    return true;
}

bool CLwoReader::ReadPolygonTags(const CIffChunk& chunk, CLwo2State& state) {
    if (!state.m_elements.Started()) {
        return Damaged("the PTAG chunk at offset " + std::to_string(chunk.m_nOffset) +
                       " comes before any POLS chunk of its layer");
    }
    CBigEndianReader reader(chunk.m_data);
    Bytes type;
    if (!reader.ReadSpan(4, type)) {
        return RecordCutOff(chunk, "the PTAG chunk at offset " + std::to_string(chunk.m_nOffset) +
                                       " has no type");
    }
    if (!IffTagIs(type, "SURF")) {
        return true; // colours, parts, smoothing groups: not surfaces
    }
    // An entry naming an element beyond the POLS chunk or a tag not read so far is ignored;
    // the last valid entry for a polygon wins.
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        std::uint32_t element = 0;
        std::uint16_t tag = 0;
        if (!ReadIndex(reader, element) || !reader.ReadU16(tag)) {
            return RecordCutOff(chunk, "PTAG entry at " + Offset(chunk, at) +
                                           " runs past the end of its PTAG chunk");
        }
        if (element >= state.m_elements.Count() || tag >= state.m_aTag.size()) {
            continue;
        }
        state.m_abSurfaceTag[tag] = true;
        if (const std::int32_t polygon = state.m_elements.Polygon(element); polygon >= 0) {
            state.m_anPolygonTag[static_cast<std::size_t>(polygon)] = tag;
        }
    }
    return true;
}

bool CLwoReader::ReadSurfaceForm(const CIffChunk& chunk, CLwo2State& state) {
    if (!IffTagIs(chunk.m_data, "SURF")) {
        return true; // clips, envelopes and other nested forms
    }
    CIffChunkWalker walker(chunk.m_data.subspan(4), chunk.m_nOffset + 12);
    CIffChunk first;
    switch (walker.Next(first)) {
    case CIffChunkWalker::Step::Chunk: {
        std::string name;
        if (LeadingName(first.m_data, name)) {
            state.m_surfaceNames.insert(std::move(name));
        }
        return true;
    }
    case CIffChunkWalker::Step::Truncated:
        return RecordCutOff(chunk, "the name of the surface form at offset " +
                                       std::to_string(chunk.m_nOffset) +
                                       " runs past the end of the form");
    case CIffChunkWalker::Step::End:
        break;
    }
    return true; // a surface form without sub-chunks names nothing
}

void CLwoReader::AssignLwo2Surfaces(CLwo2State& state) {
    // Surfaces in TAGS order, each name once, so surface numbers follow the file.
    std::vector<std::int32_t> surfaceOfTag(state.m_aTag.size(), 0);
    for (std::size_t t = 0; t < state.m_aTag.size(); ++t) {
        if (state.m_abSurfaceTag[t] || state.m_surfaceNames.count(state.m_aTag[t]) > 0) {
            surfaceOfTag[t] = m_object.AddSurface(state.m_aTag[t]);
        }
    }
    // A polygon no PTAG puts on a surface goes to "Default": the surface of that name, or
    // one added last when the first such polygon is met.
    std::int32_t defaultSurface = 0;
    for (std::size_t i = 0; i < m_object.m_aPolygon.size(); ++i) {
        const std::int32_t tag = state.m_anPolygonTag[i];
        if (tag >= 0) {
            m_object.m_aPolygon[i].m_nSurface = surfaceOfTag[static_cast<std::size_t>(tag)];
        } else {
            if (defaultSurface == 0) {
                defaultSurface = m_object.AddSurface("Default");
            }
            m_object.m_aPolygon[i].m_nSurface = defaultSurface;
        }
    }
}
