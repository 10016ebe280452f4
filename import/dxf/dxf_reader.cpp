// Text DXF: 3DFACE entities, 3-D polylines and polyface meshes; layers become surfaces.
//
// The text is read as code/value pairs grouped into entities (a pair with group code 0 and
// the pairs after it). An entity name counts only as the value of group code 0, matched at
// its start, so a layer or a text that begins with "3DFACE" starts nothing. Entities inside
// block definitions are read like any other. A face whose fourth corner is its third is a
// triangle. Faces are read and numbered in a first pass, polylines in a second, so faces'
// layers become surfaces first.
#include <array>
#include <cstdlib>

#include "import/dxf/c_numbers.h"
#include "import/dxf/dxf_faces.h"
#include "import/dxf/dxf_reader.h"
#include "import/import_object.h"

namespace {

// Faces whose corners are looked up ahead of their merge: the hash slots of this many faces
// are on their way from memory while a face is merged.
constexpr std::size_t kPrefetchFaces = 32;

void PrefetchCorners(const CImportObject& object, const CDxfFace& face) {
    for (std::size_t d = 0; d < face.m_nCount; ++d) {
        const auto& xyz = face.m_corners[d];
        object.PrefetchPoint(xyz[0], xyz[1], xyz[2]);
    }
}

// A VERTEX's point from its groups 10, 20 and 30.
bool VertexPoint(const std::vector<CDxfPair>& entity, std::array<float, 3>& xyz,
                 std::string& error) {
    return ReadDxfCoordinate(FindDxfPair(entity, "10"), xyz[0], error) &&
           ReadDxfCoordinate(FindDxfPair(entity, "20"), xyz[1], error) &&
           ReadDxfCoordinate(FindDxfPair(entity, "30"), xyz[2], error);
}

} // namespace

bool CDxfReader::Read(std::string_view text) {
    // Binary DXF carries its group codes as bytes: not a text file, and not read here.
    if (text.starts_with("AutoCAD Binary DXF")) {
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
    return kDxfNotFound;
}

std::int32_t CDxfReader::LayerSurface() {
    std::string_view layer = FindGroup("8");
    return m_object.AddSurface(layer == kDxfNotFound ? "Default" : layer);
}

void CDxfReader::AddFace(const CDxfFace& face) {
    const std::int32_t surface =
        m_object.AddSurface(face.m_strLayer == kDxfNotFound ? "Default" : face.m_strLayer);
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
        m_object.AddPolygon(surface, std::span<const std::int32_t>(corners.data(), count));
    }
}

int CDxfReader::ReadFaces(std::string_view text) {
    const CDxfFaces faces =
        ParseDxfFaces(text, m_nThreadedFrom, [this](const std::vector<CDxfFace>& batch) {
            for (std::size_t i = 0; i < batch.size() && i < kPrefetchFaces; ++i) {
                PrefetchCorners(m_object, batch[i]);
            }
            for (std::size_t i = 0; i < batch.size(); ++i) {
                if (i + kPrefetchFaces < batch.size()) {
                    PrefetchCorners(m_object, batch[i + kPrefetchFaces]);
                }
                AddFace(batch[i]);
            }
        });
    m_bPolylines = faces.m_bPolylines;
    m_object.m_strError = faces.m_strError;
    return faces.m_nFaces;
}

int CDxfReader::ReadPolylines(std::string_view text) {
    CDxfPairReader pairs(text);
    std::string_view name;
    std::uint32_t line = 0;
    int polylineCount = 0;
    while (pairs.NextEntity(name, line, m_aEntity)) {
        if (!name.starts_with("POLYLINE")) {
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
    while (pairs.NextEntity(name, line, m_aEntity) && !name.starts_with("SEQEND")) {
        if (name.starts_with("VERTEX")) {
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
    while (pairs.NextEntity(name, line, m_aEntity) && !name.starts_with("SEQEND")) {
        if (!name.starts_with("VERTEX")) {
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
                    value == kDxfNotFound ? 0 : std::llabs(static_cast<long long>(CAtoI(value))));
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
