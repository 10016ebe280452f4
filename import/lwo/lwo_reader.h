// CLwoReader: fills an import object from a LightWave object file's bytes. Internal to the
// import library; CImportObject::LoadLwo is the way in.
//
// An IFF container: the 12-byte header "FORM", a big-endian length L of everything after
// those eight bytes, and the form type; then the chunk list. All numbers are big-endian.
// Four forms are read, each by its own file:
//   LWOB  LightWave 5 objects (lwob_reader.cpp)
//   LWLO  LightWave 5 layered objects (lwlo_reader.cpp)
//   LWO2  LightWave 6 and later, and LWO3, LightWave 2015 and later (lwo2_reader.cpp)
// lwo_reader.cpp holds the header, the chunks the forms share and the damage messages.
//
// Only points, surface names and polygons are taken. A damaged file (a needed chunk or a
// record running past its end, a non-finite point, ...) is not loaded: Read returns false
// with the reason, naming the chunk and its offset, in the object's m_strError; the caller
// clears the object.
//
// A file shorter than its FORM length says was cut short (a copy or a download that stopped):
// it is read up to where it ends, the last chunk as far as its whole records go, and the
// object's m_bEndsEarly is set. A missing last pad byte alone is no loss.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CIffChunkWalker;
class CImportObject;
struct CIffChunk;

class CLwoReader {
  public:
    explicit CLwoReader(CImportObject& object) : m_object(object) {}

    // The FORM length L when the object was read; 0 when the file is no LightWave object
    // or is damaged.
    std::uint32_t Read(std::span<const std::uint8_t> data);

  private:
    // The forms, each over the chunk list after the header. False: damaged.
    bool ReadLwob(CIffChunkWalker& walker);
    bool ReadLwlo(CIffChunkWalker& walker);
    bool ReadLwo2(CIffChunkWalker& walker); // also LWO3

    // Chunks shared by the forms. ReadPoints appends the points of a PNTS chunk. ReadSurfaces
    // and ReadPolygons read the LWOB records of SRFS and POLS; a polygon's point indices count
    // from firstPoint, the first point of its layer.
    bool ReadPoints(const CIffChunk& chunk);
    void ReadSurfaces(const CIffChunk& chunk);
    bool ReadPolygons(const CIffChunk& chunk, std::size_t firstPoint);
    bool CountCurves(const CIffChunk& chunk);

    // LWO2 and LWO3 chunks; the state gathers what decides the surfaces until the end.
    struct CLwo2State;
    void ReadTags(const CIffChunk& chunk, CLwo2State& state);
    bool ReadLwo2Polygons(const CIffChunk& chunk, CLwo2State& state);
    bool ReadPolygonTags(const CIffChunk& chunk, CLwo2State& state);
    bool ReadSurfaceForm(const CIffChunk& chunk, CLwo2State& state);
    void AssignLwo2Surfaces(CLwo2State& state);

    // The object's m_strError = "damaged <form> object: " + what. Always false.
    bool Damaged(const std::string& what);
    bool ChunkCutShort(const CIffChunk& chunk);
    // A needed chunk running past the end of the file: read as far as it goes in a file cut
    // short (true); damage where the FORM length says the file is whole (false).
    bool AcceptsCutChunk(const CIffChunk& chunk);
    // A record running past the end of its chunk: where the file's end cut the chunk, its
    // reading ends there and the records before stand (true); otherwise damage (false).
    bool RecordCutOff(const CIffChunk& chunk, const std::string& what);
    // "offset N" of byte pos of a chunk's data, counted from the start of the file.
    static std::string Offset(const CIffChunk& chunk, std::size_t pos);

    CImportObject& m_object;
    std::string m_strForm;        // the form type, for messages
    bool m_bFileCutShort = false; // fewer bytes than the FORM length says
};
