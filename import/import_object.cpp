#include "import/import_object.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "import/dxf/dxf_reader.h"
#include "import/lwo/lwo_reader.h"
#include "platform/file_bytes.h"

CImportObject::CImportObject() = default;
CImportObject::~CImportObject() = default;

void CImportObject::Clear() {
    m_aPoint.clear();
    m_aSurface.clear();
    m_aPolygon.clear();
    m_anIndexPool.clear();
    m_aPointHash.clear();
    m_aRecentPoint.clear();
    m_surfaceByName.clear();
    m_nLastSurface = 0;
    m_nDroppedPolygons = 0;
    m_nSkippedElements = 0;
    m_bEndsEarly = false;
}

namespace {

// Reads the file at path and hands its bytes to load, a reader from memory that returns 0
// when nothing loaded; a reason it leaves in error then gets the file's name in front.
template <class Load> auto LoadFile(const std::string& path, std::string& error, Load load) {
    CFileBytes file;
    if (const CStatus opened = file.Open(path); !opened) {
        error = opened.GetReason(); // names the file already
        return decltype(load(std::string_view()))(0);
    }
    const auto result = load(file.Text());
    if (result == 0)
        error = "\"" + path + "\": " + error;
    return result;
}

} // namespace

std::int32_t CImportObject::LoadLwo(std::string path) {
    Clear();
    m_nLoaded = 0;
    return LoadFile(path, m_strError, [this](std::string_view bytes) {
        return LoadLwoFromMemory(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    });
}

int CImportObject::LoadDxf(std::string path) {
    Clear();
    return LoadFile(path, m_strError,
                    [this](std::string_view text) { return LoadDxfFromMemory(text); });
}

int CImportObject::LoadDxfFromMemory(std::string_view text) {
    Clear();
    m_strError.clear();
    // About one new point per 200 bytes, as faces sharing their corners take: the point
    // table is sized for that at once instead of doubling its way up.
    m_nExpectedPoints = text.size() / 200;
    const bool read = CDxfReader(*this).Read(text);
    // The merge needs no lookup; a later AddPoint builds the table again.
    m_aPointHash = {};
    m_aRecentPoint = {};
    m_nExpectedPoints = 0;
    if (!read) {
        Clear();
        return 0;
    }
    return 5;
}

std::int32_t CImportObject::LoadLwoFromMemory(std::span<const std::uint8_t> data) {
    Clear();
    m_strError.clear();
    m_nLoaded = static_cast<std::int32_t>(CLwoReader(*this).Read(data));
    if (m_nLoaded == 0) {
        Clear();
    }
    return m_nLoaded;
}

CImportPolygon CImportObject::GetPolygon(std::size_t i) const {
    const CPolygonSlot& slot = m_aPolygon[i];
    CImportPolygon polygon;
    polygon.m_nCount = static_cast<std::int32_t>(slot.m_nCount);
    polygon.m_nSurface = slot.m_nSurface;
    polygon.m_anIndex =
        std::span<const std::int32_t>(m_anIndexPool).subspan(slot.m_nFirst, slot.m_nCount);
    return polygon;
}

void CImportObject::Print(std::FILE* out) const {
    for (const CImportPoint& point : m_aPoint) {
        point.Print(out);
    }
    for (const CImportSurface& surface : m_aSurface) {
        surface.Print(out);
    }
    for (std::size_t i = 0; i < m_aPolygon.size(); ++i) {
        GetPolygon(i).Print(out);
    }
}

void CImportObject::AddPolygon(std::int32_t surface, std::span<const std::int32_t> indices) {
    m_aPolygon.push_back(
        {surface, static_cast<std::uint32_t>(indices.size()), m_anIndexPool.size()});
    m_anIndexPool.insert(m_anIndexPool.end(), indices.begin(), indices.end());
}

std::int32_t CImportObject::AddSurface(std::string_view name) {
    // Entities of one layer tend to stand together: try the last surface first.
    if (m_nLastSurface > 0 &&
        m_aSurface[static_cast<std::size_t>(m_nLastSurface - 1)].m_strName == name) {
        return m_nLastSurface;
    }
    auto found = m_surfaceByName.find(std::string(name));
    if (found != m_surfaceByName.end()) {
        m_nLastSurface = found->second;
        return found->second;
    }
    CImportSurface surface;
    surface.m_strName = std::string(name);
    m_aSurface.push_back(std::move(surface));
    std::int32_t number = static_cast<std::int32_t>(m_aSurface.size());
    m_surfaceByName.emplace(std::string(name), number);
    m_nLastSurface = number;
    return number;
}

namespace {

// Equal floats must hash alike: -0.0 and 0.0 are equal, so both hash as +0.0.
std::uint64_t FloatKey(float value) {
    return value == 0.0f ? 0u : std::bit_cast<std::uint32_t>(value);
}

// splitmix64's finaliser: every input bit reaches every output bit, so the low bits used for
// the slot are well spread even for coordinates with empty low mantissa bits.
std::uint64_t Mix(std::uint64_t h) {
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
    return h ^ (h >> 31);
}

std::size_t PointHash(float x, float y, float z) {
    return static_cast<std::size_t>(
        Mix(((FloatKey(x) << 32) | FloatKey(y)) ^ Mix(FloatKey(z) + 0x9E3779B97F4A7C15ull)));
}

constexpr std::size_t kRecentPoints = 4096;

bool HasNaN(float x, float y, float z) {
    return std::isnan(x) || std::isnan(y) || std::isnan(z);
}

} // namespace

void CImportObject::PrefetchPoint(float x, float y, float z) const {
    if (!m_aPointHash.empty())
        __builtin_prefetch(&m_aPointHash[PointHash(x, y, z) & (m_aPointHash.size() - 1)]);
}

std::int32_t CImportObject::AddPoint(float x, float y, float z) {
    // A point with a NaN equals no point, so it is appended and never entered in the hash.
    if (HasNaN(x, y, z)) {
        m_aPoint.emplace_back(x, y, z);
        return static_cast<std::int32_t>(m_aPoint.size() - 1);
    }
    if (m_aPointHash.empty() || (m_aPoint.size() + 1) * 2 > m_aPointHash.size()) {
        std::size_t size = std::max<std::size_t>(
            m_aPointHash.empty() ? 1024 : m_aPointHash.size() * 2, m_nExpectedPoints * 2);
        size = std::bit_ceil(size);
        m_aPointHash.assign(size, CPointSlot{0.0f, 0.0f, 0.0f, -1});
        for (std::size_t i = 0; i < m_aPoint.size(); ++i) {
            const CImportPoint& p = m_aPoint[i];
            if (HasNaN(p.m_fX, p.m_fY, p.m_fZ)) {
                continue;
            }
            std::size_t slot = PointHash(p.m_fX, p.m_fY, p.m_fZ) & (size - 1);
            while (m_aPointHash[slot].m_nIndex >= 0) {
                slot = (slot + 1) & (size - 1);
            }
            m_aPointHash[slot] = CPointSlot{p.m_fX, p.m_fY, p.m_fZ, static_cast<std::int32_t>(i)};
        }
    }
    // Points in the hash are distinct, so a recent copy that matches holds the first index.
    const std::size_t hash = PointHash(x, y, z);
    if (m_aRecentPoint.empty()) {
        m_aRecentPoint.assign(kRecentPoints, CPointSlot{0.0f, 0.0f, 0.0f, -1});
    }
    // High bits, apart from the slot's low ones: bits 40 and up of a 64-bit hash, 8 and up
    // of a 32-bit one.
    constexpr int kRecentShift = std::numeric_limits<std::size_t>::digits - 24;
    CPointSlot& recent = m_aRecentPoint[(hash >> kRecentShift) & (kRecentPoints - 1)];
    if (recent.m_nIndex >= 0 && recent.m_fX == x && recent.m_fY == y && recent.m_fZ == z) {
        return recent.m_nIndex;
    }
    std::size_t mask = m_aPointHash.size() - 1;
    std::size_t slot = hash & mask;
    while (m_aPointHash[slot].m_nIndex >= 0) {
        const CPointSlot& p = m_aPointHash[slot];
        if (p.m_fX == x && p.m_fY == y && p.m_fZ == z) {
            recent = p;
            return p.m_nIndex;
        }
        slot = (slot + 1) & mask;
    }
    m_aPoint.emplace_back(x, y, z);
    std::int32_t index = static_cast<std::int32_t>(m_aPoint.size() - 1);
    m_aPointHash[slot] = CPointSlot{x, y, z, index};
    recent = m_aPointHash[slot];
    return index;
}

bool CImportObject::ReadU2(CBigEndianReader& reader, std::int32_t& value) {
    std::uint16_t raw = 0;
    if (!reader.ReadU16(raw)) {
        return false;
    }
    value = raw;
    return true;
}

bool CImportObject::ReadU4(CBigEndianReader& reader, std::uint32_t& value) {
    return reader.ReadU32(value);
}

bool CImportObject::ReadU4(CBigEndianReader& reader, float& value) {
    std::uint32_t raw = 0;
    if (!reader.ReadU32(raw)) {
        return false;
    }
    value = std::bit_cast<float>(raw);
    return true;
}
