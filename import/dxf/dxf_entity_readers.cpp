#include "import/dxf/dxf_entity_readers.h"

#include "import/dxf/c_numbers.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// A VERTEX's point from its groups 10, 20 and 30.
bool ReadVertex(const std::vector<CDxfPair>& pairs, CDxfPoint& xyz, std::string& error) {
    return ReadDxfCoordinate(FindDxfPair(pairs, "10"), xyz[0], error) &&
           ReadDxfCoordinate(FindDxfPair(pairs, "20"), xyz[1], error) &&
           ReadDxfCoordinate(FindDxfPair(pairs, "30"), xyz[2], error);
}

std::string_view LayerOf(const std::vector<CDxfPair>& pairs) {
    const CDxfPair* layer = FindDxfPair(pairs, "8");
    return layer == nullptr ? kDxfNotFound : layer->m_strValue;
}

double NumberOr(const std::vector<CDxfPair>& pairs, std::string_view code, double otherwise) {
    const CDxfPair* pair = FindDxfPair(pairs, code);
    return pair == nullptr ? otherwise : CStrToD(pair->m_strValue);
}

std::int32_t IntegerOr(const std::vector<CDxfPair>& pairs, std::string_view code,
                       std::int32_t otherwise) {
    const CDxfPair* pair = FindDxfPair(pairs, code);
    return pair == nullptr ? otherwise : CAtoI(pair->m_strValue);
}

} // namespace

bool ReadDxfFace(const std::vector<CDxfPair>& pairs, CDxfFace& face, std::string& error) {
    face.m_strLayer = kDxfNotFound;
    face.m_nCount = 0;
    // Corner d has groups 1d, 2d, 3d; the layer is group 8. One scan keeps each code's first
    // pair.
    std::array<std::array<const CDxfPair*, 4>, 3> value{};
    bool layerFound = false;
    for (const CDxfPair& pair : pairs) {
        std::string_view code = pair.m_strCode;
        if (code.size() == 2 && code[0] >= '1' && code[0] <= '3' && code[1] >= '0' &&
            code[1] <= '3') {
            const CDxfPair*& slot = value[static_cast<std::size_t>(code[0] - '1')]
                                         [static_cast<std::size_t>(code[1] - '0')];
            if (slot == nullptr) {
                slot = &pair;
            }
        } else if (!layerFound && code == "8") {
            face.m_strLayer = pair.m_strValue;
            layerFound = true;
        }
    }
    for (auto& axis : value) {
        for (const CDxfPair*& slot : axis) {
            if (slot != nullptr && slot->m_strValue == kDxfNotFound) {
                slot = nullptr;
            }
        }
    }
    for (std::size_t d = 0; d < 4; ++d) {
        if (value[0][d] == nullptr || value[1][d] == nullptr) {
            break;
        }
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (!ReadDxfCoordinate(value[axis][d], face.m_corners[d][axis], error)) {
                return false;
            }
        }
        ++face.m_nCount;
    }
    return true;
}

void ReadDxfInsert(const std::vector<CDxfPair>& pairs, std::uint32_t line, CDxfInsert& insert) {
    const CDxfPair* block = FindDxfPair(pairs, "2");
    insert.m_strBlock = block == nullptr ? std::string_view() : block->m_strValue;
    insert.m_strLayer = LayerOf(pairs);
    insert.m_nLine = line;
    insert.m_point = {NumberOr(pairs, "10", 0.0), NumberOr(pairs, "20", 0.0),
                      NumberOr(pairs, "30", 0.0)};
    insert.m_scale = {NumberOr(pairs, "41", 1.0), NumberOr(pairs, "42", 1.0),
                      NumberOr(pairs, "43", 1.0)};
    insert.m_fRotation = NumberOr(pairs, "50", 0.0);
    insert.m_extrusion = {NumberOr(pairs, "210", 0.0), NumberOr(pairs, "220", 0.0),
                          NumberOr(pairs, "230", 1.0)};
    insert.m_nColumns = IntegerOr(pairs, "70", 1);
    insert.m_nRows = IntegerOr(pairs, "71", 1);
    insert.m_fColumnSpacing = NumberOr(pairs, "44", 0.0);
    insert.m_fRowSpacing = NumberOr(pairs, "45", 0.0);
}

bool ReadDxfMesh(const std::vector<CDxfPair>& pairs, CDxfPolygons& mesh, std::string& error) {
    mesh.m_strLayer = LayerOf(pairs);
    std::size_t i = 0;
    while (i < pairs.size() && pairs[i].m_strCode != "92") {
        ++i;
    }
    if (i == pairs.size()) {
        return true;
    }
    // Counts come from the file: they bound the loops, never an allocation.
    const std::int64_t vertexCount = CAtoI(pairs[i++].m_strValue);
    bool taking = false; // whether the pairs belong to a vertex of the count
    for (; i < pairs.size() && pairs[i].m_strCode != "93"; ++i) {
        const std::string_view code = pairs[i].m_strCode;
        if (code == "10") {
            taking = static_cast<std::int64_t>(mesh.m_aVertex.size()) < vertexCount;
            if (taking) {
                mesh.m_aVertex.emplace_back();
            }
        }
        if (!taking || (code != "10" && code != "20" && code != "30")) {
            continue;
        }
        const std::size_t axis = static_cast<std::size_t>(code[0] - '1');
        if (!ReadDxfCoordinate(&pairs[i], mesh.m_aVertex.back()[axis], error)) {
            return false;
        }
    }
    if (i == pairs.size()) {
        return true;
    }
    std::int64_t listSize = CAtoI(pairs[i++].m_strValue);
    std::vector<std::int64_t> list;
    for (; i < pairs.size() && pairs[i].m_strCode == "90" && listSize > 0; ++i, --listSize) {
        list.push_back(CAtoI(pairs[i].m_strValue));
    }
    for (std::size_t at = 0; at < list.size();) {
        const std::int64_t count = list[at++];
        const std::size_t first = mesh.m_anCorner.size();
        for (std::int64_t k = 0; k < count && at < list.size(); ++k, ++at) {
            const std::int64_t number = list[at];
            if (number >= 0 && static_cast<std::uint64_t>(number) < mesh.m_aVertex.size()) {
                mesh.m_anCorner.push_back(static_cast<std::uint32_t>(number));
            }
        }
        const std::size_t kept = mesh.m_anCorner.size() - first;
        if (kept < 3) {
            mesh.m_anCorner.resize(first);
        } else {
            mesh.m_anCount.push_back(static_cast<std::uint32_t>(kept));
        }
    }
    return true;
}

bool IsDxfAcisEntity(std::string_view name) {
    return name == "3DSOLID" || name == "BODY" || name == "REGION" || name.ends_with("SURFACE");
}

bool CDxfPolylineBuilder::Start(const std::vector<CDxfPair>& pairs) {
    // Polylines without group 70 are 2-D ones: 0.
    const std::int32_t flags = IntegerOr(pairs, "70", 0);
    if ((flags & 8) != 0) {
        m_kind = EKind::Polyline3d;
    } else if ((flags & 64) != 0) {
        m_kind = EKind::Polyface;
    } else if ((flags & 16) != 0) {
        m_kind = EKind::PolygonMesh;
        m_nM = IntegerOr(pairs, "71", 0);
        m_nN = IntegerOr(pairs, "72", 0);
        m_bClosedM = (flags & 1) != 0;
        m_bClosedN = (flags & 32) != 0;
    } else {
        return false;
    }
    m_polygons = {};
    m_polygons.m_strLayer = LayerOf(pairs);
    m_anFaceNumber.clear();
    return true;
}

bool CDxfPolylineBuilder::AddVertex(const std::vector<CDxfPair>& pairs, std::string& error) {
    if (m_kind == EKind::Polyface) {
        // Vertex records (70 = 192) give coordinates, face records (70 = 128) give vertex
        // numbers. A face may name a vertex that stands after it: numbers are resolved last.
        const CDxfPair* flags = FindDxfPair(pairs, "70");
        const std::string_view kind = flags == nullptr ? kDxfNotFound : flags->m_strValue;
        if (kind == "128") {
            for (std::string_view code : {"71", "72", "73", "74"}) {
                const CDxfPair* number = FindDxfPair(pairs, code);
                m_anFaceNumber.push_back(
                    number == nullptr ? 0 : std::llabs(std::int64_t{CAtoI(number->m_strValue)}));
            }
            return true;
        }
        if (kind != "192") {
            return true;
        }
    }
    CDxfPoint xyz{};
    if (!ReadVertex(pairs, xyz, error)) {
        return false;
    }
    m_polygons.m_aVertex.push_back(xyz);
    return true;
}

void CDxfPolylineBuilder::AddMeshCells() {
    // Vertex (m, n) is the (m * N + n)-th; a cell with a corner beyond the vertices read is
    // left out, so the loops are bounded by the vertices that are really there.
    const auto vertices = static_cast<std::int64_t>(m_polygons.m_aVertex.size());
    if (m_nM < 2 || m_nN < 2) {
        return;
    }
    const std::int64_t rows = m_bClosedM ? m_nM : m_nM - 1;
    const std::int64_t columns = m_bClosedN ? m_nN : m_nN - 1;
    for (std::int64_t m = 0; m < rows && m * m_nN < vertices; ++m) {
        const std::int64_t nextM = (m + 1) % m_nM;
        for (std::int64_t n = 0; n < columns; ++n) {
            const std::int64_t nextN = (n + 1) % m_nN;
            const std::array<std::int64_t, 4> cell = {m * m_nN + n, nextM * m_nN + n,
                                                      nextM * m_nN + nextN, m * m_nN + nextN};
            if (std::all_of(cell.begin(), cell.end(),
                            [&](std::int64_t v) { return v < vertices; })) {
                for (std::int64_t v : cell) {
                    m_polygons.m_anCorner.push_back(static_cast<std::uint32_t>(v));
                }
                m_polygons.m_anCount.push_back(4);
            }
        }
    }
}

CDxfPolygons CDxfPolylineBuilder::Finish() {
    const std::size_t vertices = m_polygons.m_aVertex.size();
    switch (m_kind) {
    case EKind::Polyline3d:
        // The closed flag is not looked at: every 3-D polyline is one closed polygon.
        if (vertices > 2) {
            for (std::size_t v = 0; v < vertices; ++v) {
                m_polygons.m_anCorner.push_back(static_cast<std::uint32_t>(v));
            }
            m_polygons.m_anCount.push_back(static_cast<std::uint32_t>(vertices));
        }
        break;
    case EKind::Polyface:
        for (std::size_t face = 0; face < m_anFaceNumber.size(); face += 4) {
            std::uint32_t count = 0;
            for (std::size_t slot = 0; slot < 4; ++slot) {
                const std::int64_t number = m_anFaceNumber[face + slot];
                if (number >= 1 && static_cast<std::uint64_t>(number) <= vertices) {
                    m_polygons.m_anCorner.push_back(static_cast<std::uint32_t>(number - 1));
                    ++count;
                }
            }
            m_polygons.m_anCount.push_back(count);
        }
        break;
    case EKind::PolygonMesh:
        AddMeshCells();
        break;
    }
    return std::move(m_polygons);
}
