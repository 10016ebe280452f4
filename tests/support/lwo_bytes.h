// LightWave objects built byte by byte: big-endian numbers, IFF chunks and
// forms, and the records of LWOB, LWO2 and LWO3.
#pragma once

#include "tests/support/bytes.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

void PutU16(ByteVector& out, std::uint32_t value);
void PutU32(ByteVector& out, std::uint32_t value);
void PutF32(ByteVector& out, float value);
void PutText(ByteVector& out, std::string_view text);

// One IFF chunk: tag, big-endian length, data, and the pad byte after odd-length data.
ByteVector Chunk(std::string_view tag, const ByteVector& data);
// "FORM", length, form type, then the chunks as given.
ByteVector Form(const std::vector<ByteVector>& chunks, std::string_view type = "LWOB");
// The first length bytes of a form, cut short: its FORM length says more than is there.
ByteVector CutForm(const ByteVector& form, std::size_t length);
// The same with the FORM length made to match: a form that says it is whole while its last
// chunk runs past its end.
ByteVector CutFormClaimingWhole(const ByteVector& form, std::size_t length);

ByteVector Points(std::initializer_list<float> coordinates);
// Names with their terminator and pad, as the data of a SRFS or TAGS chunk.
ByteVector SurfaceNames(std::initializer_list<std::string_view> names);
// One polygon record: corner count, indices, surface number (all 16-bit).
void PutPolygon(ByteVector& out, std::initializer_list<std::uint32_t> indices,
                std::uint32_t surface);

// LWO2 and LWO3 records.
// A variable-length index: two bytes below 0xFF00, else 0xFF and the 24-bit index.
void PutIndex(ByteVector& out, std::uint32_t index);
// A POLS chunk: the type, then each polygon's corner count (with flags) and indices.
ByteVector Lwo2Polygons(std::string_view type,
                        const std::vector<std::vector<std::uint32_t>>& polygons,
                        std::uint16_t flags = 0);
// A PTAG chunk: the type, then (element, tag) pairs.
ByteVector PolygonTags(std::string_view type,
                       const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs);
// A LAYR chunk: number, flags 0, pivot (0, 0, 0), empty name.
ByteVector Layer(std::uint16_t number);
// An LWO3 surface: "FORM", length, "SURF", then a first sub-chunk holding the name.
ByteVector SurfaceForm(std::string_view name);
