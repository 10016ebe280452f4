// CImportObject: the geometry of one LightWave object or text DXF file, as the import command
// turns it into scene parts: points, named surfaces, and polygons that refer to both.
//
// Use: construct, call LoadLwo(path) or LoadDxf(path) once, then read.
//
//   Loaded?  LWO: m_nLoaded != 0 (the FORM length).  DXF: LoadDxf returned 5.
//            On failure m_strError says what and where (for a report); the lists are empty.
//            A DXF that loads has m_nLoaded 0 until the command sets it (the reader does not).
//   Points   GetPointCount(); GetPoint(i) for i < GetPointCount(), or GetPoints() as a vector.
//            m_fX, m_fY, m_fZ in the file's order (DXF: groups 10, 20, 30).
//   Surfaces GetSurfaceCount(); GetSurface(k).m_strName for k < GetSurfaceCount();
//            entry k is surface number k + 1.
//   Polygons GetPolygonCount(); GetPolygon(i) gives m_nSurface (1-based; 0 or beyond the
//            surface count means no surface), m_nCount and m_anIndex (a span of m_nCount
//            0-based point indices). Every stored index is below GetPointCount().
//   Dropped  m_nDroppedPolygons: LWO polygons naming a point index at or beyond the number of
//            points of their layer. They are counted for the report and never stored.
//   Skipped  m_nSkippedElements: LWO curves, bones, metaballs, lines and other elements that
//            are not polygons. Counted for the report and never stored.
//   Early    m_bEndsEarly: the file stops before its own end mark (a text DXF before its
//            0/EOF pair, an LWO before the end its FORM length gives); what it holds up to
//            there was read. The report says so in kEndsEarlyText.
//
// The readers: lwo/lwo_reader.h (LWOB, LWLO, LWO2, LWO3) and dxf/dxf_reader.h.
// Input is untrusted: every length, count and index is checked against the bytes that are
// really there. No fixed capacities. Nothing throws except std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/import_records.h"
#include "import/lwo/big_endian_reader.h"
#include "platform/large_blocks.h"

// How the import's summary and qrhost inspect name a file that ends early.
inline constexpr const char* kEndsEarlyText = "the file ends early: it may be cut short";

class CImportObject {
  public:
    CImportObject();
    virtual ~CImportObject();
    CImportObject(const CImportObject&) = delete;
    CImportObject& operator=(const CImportObject&) = delete;

    // LightWave object. Opens the file for reading only. Result and m_nLoaded: the FORM
    // length when the header is "FORM", length, and "LWOB", "LWLO", "LWO2" or "LWO3" with a
    // length other than 0, and the needed chunks are whole; 0 otherwise (m_strError says why).
    std::int32_t LoadLwo(std::string path);
    std::int32_t LoadLwoFromMemory(std::span<const std::uint8_t> data);

    // Text DXF. 5 after reading (possibly nothing); 0 when the file cannot be opened or is
    // not a text DXF (binary DXF, a group code line that is not a number), with m_strError.
    int LoadDxf(std::string path);
    int LoadDxfFromMemory(std::string_view text);

    std::size_t GetPointCount() const { return m_aPoint.size(); }
    std::size_t GetSurfaceCount() const { return m_aSurface.size(); }
    std::size_t GetPolygonCount() const { return m_aPolygon.size(); }
    const CImportPoint& GetPoint(std::size_t i) const { return m_aPoint[i]; }
    const std::vector<CImportPoint>& GetPoints() const { return m_aPoint; }
    const CImportSurface& GetSurface(std::size_t k) const { return m_aSurface[k]; }
    CImportPolygon GetPolygon(std::size_t i) const;

    // Everything the records' print operations write: points, surfaces, polygons.
    void Print(std::FILE* out = stdout) const;

    // The surface number (from 1) of the surface named exactly name, appended when new.
    std::int32_t AddSurface(std::string_view name);
    // The index (from 0) of the first point equal in all three floats (-0.0 equals 0.0, a NaN
    // equals nothing), appended when there is none. Expected constant time.
    std::int32_t AddPoint(float x, float y, float z);
    // A hint that AddPoint(x, y, z) follows soon: starts loading the hash slot it will probe,
    // so that the lookups of faces further on wait for memory while this one is merged.
    void PrefetchPoint(float x, float y, float z) const;

    // Big-endian helpers of the LWO reader: false (value untouched) when fewer bytes remain.
    static bool ReadU2(CBigEndianReader& reader, std::int32_t& value);
    static bool ReadU4(CBigEndianReader& reader, std::uint32_t& value);
    static bool ReadU4(CBigEndianReader& reader, float& value);

    std::int32_t m_nLoaded = 0;
    std::size_t m_nDroppedPolygons = 0;
    std::size_t m_nSkippedElements = 0;
    bool m_bEndsEarly = false;
    std::string m_strError;

  private:
    // The readers fill the lists directly.
    friend class CLwoReader;
    friend class CDxfReader;

    struct CPolygonSlot {
        std::int32_t m_nSurface;
        std::uint32_t m_nCount;
        std::size_t m_nFirst; // into m_anIndexPool
    };

    void Clear();
    void AddPolygon(std::int32_t surface, std::span<const std::int32_t> indices);

    std::vector<CImportPoint> m_aPoint;
    std::vector<CImportSurface> m_aSurface;
    std::vector<CPolygonSlot> m_aPolygon;
    std::vector<std::int32_t> m_anIndexPool;

    // AddPoint's hash: open addressing; a slot holds a copy of its point, so a probe touches
    // one cache line. m_nIndex -1: empty.
    struct CPointSlot {
        float m_fX;
        float m_fY;
        float m_fZ;
        std::int32_t m_nIndex;
    };
    std::vector<CPointSlot, CLargeBlockAllocator<CPointSlot>> m_aPointHash;
    // A small direct-mapped copy of recently met points in front of the hash: neighbouring
    // entities share vertices, and this table stays in cache where the big one cannot.
    std::vector<CPointSlot> m_aRecentPoint;
    // How many points the reader expects, for the table's first size.
    std::size_t m_nExpectedPoints = 0;
    std::unordered_map<std::string, std::int32_t> m_surfaceByName;
    std::int32_t m_nLastSurface = 0;
};
