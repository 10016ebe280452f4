#include "tests/support/lwo_bytes.h"

#include <algorithm>
#include <bit>
#include <cstddef>

void PutU16(ByteVector& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(ByteVector& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutF32(ByteVector& out, float value) {
    PutU32(out, std::bit_cast<std::uint32_t>(value));
}

void PutText(ByteVector& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

ByteVector Chunk(std::string_view tag, const ByteVector& data) {
    ByteVector out;
    PutText(out, tag);
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

ByteVector Form(const std::vector<ByteVector>& chunks, std::string_view type) {
    ByteVector body;
    PutText(body, type);
    for (const ByteVector& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    ByteVector out;
    PutText(out, "FORM");
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

ByteVector CutForm(const ByteVector& form, std::size_t length) {
    return ByteVector(form.begin(), form.begin() + static_cast<std::ptrdiff_t>(length));
}

ByteVector CutFormClaimingWhole(const ByteVector& form, std::size_t length) {
    ByteVector cut = CutForm(form, length);
    ByteVector header;
    PutU32(header, static_cast<std::uint32_t>(length - 8));
    std::copy(header.begin(), header.end(), cut.begin() + 4);
    return cut;
}

ByteVector Points(std::initializer_list<float> coordinates) {
    ByteVector out;
    for (float c : coordinates) {
        PutF32(out, c);
    }
    return out;
}

ByteVector SurfaceNames(std::initializer_list<std::string_view> names) {
    ByteVector out;
    for (std::string_view name : names) {
        PutText(out, name);
        out.push_back(0);
        if (out.size() % 2 == 1) {
            out.push_back(0);
        }
    }
    return out;
}

void PutPolygon(ByteVector& out, std::initializer_list<std::uint32_t> indices,
                std::uint32_t surface) {
    PutU16(out, static_cast<std::uint32_t>(indices.size()));
    for (std::uint32_t index : indices) {
        PutU16(out, index);
    }
    PutU16(out, surface);
}

void PutIndex(ByteVector& out, std::uint32_t index) {
    if (index < 0xFF00) {
        PutU16(out, index);
    } else {
        PutU32(out, 0xFF000000u | index);
    }
}

ByteVector Lwo2Polygons(std::string_view type,
                        const std::vector<std::vector<std::uint32_t>>& polygons,
                        std::uint16_t flags) {
    ByteVector out;
    PutText(out, type);
    for (const std::vector<std::uint32_t>& polygon : polygons) {
        PutU16(out, static_cast<std::uint32_t>(polygon.size()) | (std::uint32_t{flags} << 10));
        for (std::uint32_t index : polygon) {
            PutIndex(out, index);
        }
    }
    return Chunk("POLS", out);
}

ByteVector PolygonTags(std::string_view type,
                       const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
    ByteVector out;
    PutText(out, type);
    for (const auto& [element, tag] : pairs) {
        PutIndex(out, element);
        PutU16(out, tag);
    }
    return Chunk("PTAG", out);
}

ByteVector Layer(std::uint16_t number) {
    ByteVector out;
    PutU16(out, number);
    PutU16(out, 0);
    PutF32(out, 0);
    PutF32(out, 0);
    PutF32(out, 0);
    PutU16(out, 0); // empty name and its pad
    return Chunk("LAYR", out);
}

ByteVector SurfaceForm(std::string_view name) {
    ByteVector form;
    PutText(form, "SURF");
    ByteVector first = SurfaceNames({name, ""}); // the name and an empty source name
    form.insert(form.end(), {' ', ' ', ' ', ' '});
    PutU32(form, static_cast<std::uint32_t>(first.size()));
    form.insert(form.end(), first.begin(), first.end());
    ByteVector vers = Chunk("VERS", {0, 0, 0, 4});
    form.insert(form.end(), vers.begin(), vers.end());
    return Chunk("FORM", form);
}
