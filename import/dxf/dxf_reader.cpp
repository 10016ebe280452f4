// Text DXF: 3DFACE entities, 3-D polylines and polyface meshes; layers become surfaces.
//
// The text is read as code/value pairs grouped into entities (a pair with group code 0 and
// the pairs after it). An entity name counts only as the value of group code 0, matched at
// its start, so a layer or a text that begins with "3DFACE" starts nothing. Entities inside
// block definitions are read like any other. A face whose fourth corner is its third is a
// triangle. Faces are read and numbered in a first pass,
// polylines in a second, so faces' layers become surfaces first.
#include <array>
#include <cstdlib>

#include "import/dxf/c_numbers.h"
#include "import/dxf/dxf_reader.h"
#include "import/import_object.h"

namespace {

constexpr std::string_view kNotFound = "N/A";

// How many faces wait, read, for their points to be looked up: enough for the hash slots of
// their corners to arrive from memory while the next faces are parsed.
constexpr std::size_t kPendingFaces = 4;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The first pair of the entity with this group code, or null. A value that is literally
// "N/A" counts as missing, as it does for FindGroup.
const CDxfPair* FindPair(const std::vector<CDxfPair>& entity, std::string_view code) {
    for (const CDxfPair& pair : entity) {
        if (pair.m_strCode == code) {
            return pair.m_strValue == kNotFound ? nullptr : &pair;
        }
    }
    return nullptr;
}

// A coordinate as the runtime reads it: double first, then narrowed; a missing group is 0.
// A value beyond single precision would become an infinity in the scene: false, with the
// value's line in error.
bool Coordinate(const CDxfPair* pair, float& value, std::string& error) {
    if (pair == nullptr) {
        value = 0.0f;
        return true;
    }
    if (ToFiniteFloat(CStrToD(pair->m_strValue), value)) {
        return true;
    }
    // The value line follows its code line.
    error = "line " + std::to_string(pair->m_nLine + 1) + ": the value \"" +
            EscapedDxfText(pair->m_strValue) + "\" is too large for a coordinate";
    return false;
}

// A VERTEX's point from its groups 10, 20 and 30.
bool VertexPoint(const std::vector<CDxfPair>& entity, std::array<float, 3>& xyz,
                 std::string& error) {
    return Coordinate(FindPair(entity, "10"), xyz[0], error) &&
           Coordinate(FindPair(entity, "20"), xyz[1], error) &&
           Coordinate(FindPair(entity, "30"), xyz[2], error);
}

} // namespace

bool CDxfReader::Read(std::string_view text) {
    // Binary DXF carries its group codes as bytes: not a text file, and not read here.
    if (StartsWith(text, "AutoCAD Binary DXF")) {
        m_object.m_strError = "binary DXF is not supported (save the drawing as text DXF)";
        return false;
    }
    ReadFaces(text);
    // Most files hold faces only: then one pass over the text is all.
    if (m_object.m_strError.empty() && m_bPolylines) {
        ReadPolylines(text);
    }
    return m_object.m_strError.empty();
}

std::string_view CDxfReader::FindGroup(std::string_view code) const {
    for (const CDxfPair& pair : m_aEntity) {
        if (pair.m_strCode == code) {
            return pair.m_strValue;
        }
    }
    return kNotFound;
}

std::int32_t CDxfReader::LayerSurface() {
    std::string_view layer = FindGroup("8");
    return m_object.AddSurface(layer == kNotFound ? "Default" : layer);
}

void CDxfReader::AddFace(const CPendingFace& face) {
    std::array<std::int32_t, 4> corners{};
    for (std::size_t d = 0; d < face.m_nCount; ++d) {
        const auto& xyz = face.m_corners[d];
        corners[d] = m_object.AddPoint(xyz[0], xyz[1], xyz[2]);
    }
    std::size_t count = face.m_nCount;
    // DXF writes a triangle as a face whose fourth corner repeats its third. Kept, the
    // repeat would give a flipped triangle a zero normal and other readers a degenerate
    // face; a face with four distinct corners (or another repeat) keeps all four.
    if (count == 4 && corners[3] == corners[2]) {
        count = 3;
    }
    if (count >= 3) {
        m_object.AddPolygon(face.m_nSurface, std::span<const std::int32_t>(corners.data(), count));
    }
}

int CDxfReader::ReadFaces(std::string_view text) {
    CDxfPairReader pairs(text);
    std::string_view name;
    std::uint32_t line = 0;
    int faceCount = 0;
    // The faces read but not yet added, oldest first from queued - waiting on.
    std::array<CPendingFace, kPendingFaces> pending;
    std::size_t queued = 0;
    while (pairs.NextEntity(name, line, m_aEntity)) {
        m_bPolylines = m_bPolylines || StartsWith(name, "POLYLINE");
        if (!StartsWith(name, "3DFACE")) {
            continue;
        }
        ++faceCount;
        // The slot holds the oldest waiting face once the queue is full: it goes first.
        CPendingFace& face = pending[queued % kPendingFaces];
        if (queued >= kPendingFaces) {
            AddFace(face);
        }
        face = CPendingFace();
        face.m_nSurface = LayerSurface();
        // Corner d has groups 1d, 2d, 3d. One scan keeps each code's first pair, which is
        // what FindGroup would find for it.
        std::array<std::array<const CDxfPair*, 4>, 3> value{};
        for (const CDxfPair& pair : m_aEntity) {
            std::string_view code = pair.m_strCode;
            if (code.size() == 2 && code[0] >= '1' && code[0] <= '3' && code[1] >= '0' &&
                code[1] <= '3') {
                const CDxfPair*& slot = value[static_cast<std::size_t>(code[0] - '1')]
                                             [static_cast<std::size_t>(code[1] - '0')];
                if (slot == nullptr) {
                    slot = &pair;
                }
            }
        }
        for (auto& axis : value) {
            for (const CDxfPair*& slot : axis) {
                if (slot != nullptr && slot->m_strValue == kNotFound) {
                    slot = nullptr;
                }
            }
        }
        for (std::size_t d = 0; d < 4; ++d) {
            if (value[0][d] == nullptr || value[1][d] == nullptr || value[2][d] == nullptr) {
                break;
            }
            auto& xyz = face.m_corners[d];
            for (std::size_t axis = 0; axis < 3; ++axis) {
                if (!Coordinate(value[axis][d], xyz[axis], m_object.m_strError)) {
                    return faceCount;
                }
            }
            m_object.PrefetchPoint(xyz[0], xyz[1], xyz[2]);
            ++face.m_nCount;
        }
        ++queued;
    }
    for (std::size_t k = queued > kPendingFaces ? queued - kPendingFaces : 0; k < queued; ++k) {
        AddFace(pending[k % kPendingFaces]);
    }
    m_object.m_strError = pairs.Error();
    return faceCount;
}

int CDxfReader::ReadPolylines(std::string_view text) {
    CDxfPairReader pairs(text);
    std::string_view name;
    std::uint32_t line = 0;
    int polylineCount = 0;
    while (pairs.NextEntity(name, line, m_aEntity)) {
        if (!StartsWith(name, "POLYLINE")) {
            continue;
        }
        // Flag 8: a 3-D polyline; 64: a polyface mesh. 2-D polylines and M x N meshes are
        // passed over, and their vertices with them.
        std::int32_t flags = CAtoI(FindGroup("70"));
        if ((flags & 8) != 0) {
            ++polylineCount;
            ReadPolyline3d(pairs, LayerSurface());
        } else if ((flags & 64) != 0) {
            ++polylineCount;
            ReadPolyface(pairs, LayerSurface());
        }
        if (!m_object.m_strError.empty()) {
            break;
        }
    }
    return polylineCount;
}

void CDxfReader::ReadPolyline3d(CDxfPairReader& pairs, std::int32_t surface) {
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<std::int32_t> vertices;
    std::array<float, 3> xyz{};
    while (pairs.NextEntity(name, line, m_aEntity) && !StartsWith(name, "SEQEND")) {
        if (StartsWith(name, "VERTEX")) {
            if (!VertexPoint(m_aEntity, xyz, m_object.m_strError)) {
                return;
            }
            vertices.push_back(m_object.AddPoint(xyz[0], xyz[1], xyz[2]));
        }
    }
    // Two vertices or fewer make no polygon; the closed flag is not looked at: every
    // accepted 3-D polyline is one closed polygon.
    if (vertices.size() > 2) {
        m_object.AddPolygon(surface, vertices);
    }
}

void CDxfReader::ReadPolyface(CDxfPairReader& pairs, std::int32_t surface) {
    // Vertex records (70 = 192) give coordinates, face records (70 = 128) give 1-based vertex
    // numbers in 71 to 74, negative for an invisible edge. A face may name a vertex that
    // stands after it, so the numbers are resolved once the whole mesh is read.
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<std::int32_t> vertices;
    std::vector<std::int64_t> faceNumbers; // four per face, 0 for a missing code
    static constexpr std::array<std::string_view, 4> kCornerCodes = {"71", "72", "73", "74"};
    while (pairs.NextEntity(name, line, m_aEntity) && !StartsWith(name, "SEQEND")) {
        if (!StartsWith(name, "VERTEX")) {
            continue;
        }
        std::string_view flags = FindGroup("70");
        if (flags == "192") {
            std::array<float, 3> xyz{};
            if (!VertexPoint(m_aEntity, xyz, m_object.m_strError)) {
                return;
            }
            vertices.push_back(m_object.AddPoint(xyz[0], xyz[1], xyz[2]));
        } else if (flags == "128") {
            for (std::string_view code : kCornerCodes) {
                std::string_view value = FindGroup(code);
                faceNumbers.push_back(
                    value == kNotFound ? 0 : std::llabs(static_cast<long long>(CAtoI(value))));
            }
        }
    }
    // A number that is 0 or beyond the vertices names no vertex: that corner is left out,
    // and the others keep the order of their codes. A face record is a polygon whatever
    // its number of corners.
    std::array<std::int32_t, 4> corners{};
    for (std::size_t face = 0; face < faceNumbers.size(); face += 4) {
        std::size_t count = 0;
        for (std::size_t slot = 0; slot < 4; ++slot) {
            std::int64_t number = faceNumbers[face + slot];
            if (number >= 1 && static_cast<std::uint64_t>(number) <= vertices.size()) {
                corners[count++] = vertices[static_cast<std::size_t>(number - 1)];
            }
        }
        m_object.AddPolygon(surface, std::span<const std::int32_t>(corners.data(), count));
    }
}
