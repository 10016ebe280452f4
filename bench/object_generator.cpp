#include "bench/object_generator.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void PutU16(std::string& out, std::uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void PutChunkHeader(std::string& out, const char* tag, std::size_t length) {
    out += tag;
    PutU32(out, static_cast<std::uint32_t>(length));
}

void PutIndex(std::string& out, std::uint32_t index) {
    if (index < 0xFF00) {
        PutU16(out, index);
    } else {
        PutU32(out, 0xFF000000u | index);
    }
}

void PutChunk(std::string& out, const char* tag, const std::string& data) {
    PutChunkHeader(out, tag, data.size());
    out += data;
    if (data.size() % 2 != 0)
        out += '\0';
}

std::string SurfaceName(int k) {
    static const char* const kNames[] = {"Roof", "Wall", "Floor", "Glass"};
    return k < 4 ? std::string(kNames[k]) : "Part_" + std::to_string(k + 1);
}

// Zero-terminated names, each padded to an even length.
void PutName(std::string& out, const std::string& name) {
    out += name;
    out += '\0';
    if (out.size() % 2 != 0)
        out += '\0';
}

std::string GridPoints(std::uint32_t side) {
    std::string points;
    points.reserve(std::size_t{side} * side * 12);
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t x = 0; x < side; ++x) {
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>(x) * 0.5f));
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>((x * 7 + y * 3) % 11)));
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>(y) * 0.5f));
        }
    }
    return points;
}

} // namespace

std::string MakeLwo2Object(std::size_t polygons, int surfaces) {
    constexpr std::uint32_t kSide = 320;
    std::string tags;
    PutName(tags, "DkBlu");
    for (int k = 0; k < surfaces; ++k)
        PutName(tags, SurfaceName(k));
    std::string layer;
    PutU32(layer, 0); // number, flags
    for (int i = 0; i < 3; ++i)
        PutU32(layer, 0); // pivot
    PutName(layer, "");
    std::string pols = "FACE";
    std::string colours = "COLR";
    std::string surfaceTags = "SURF";
    pols.reserve(polygons * 14);
    colours.reserve(polygons * 6);
    surfaceTags.reserve(polygons * 6);
    const std::uint32_t cells = (kSide - 1) * (kSide - 1);
    for (std::size_t i = 0; i < polygons; ++i) {
        std::uint32_t cell = static_cast<std::uint32_t>(i % cells);
        std::uint32_t p = (cell / (kSide - 1)) * kSide + cell % (kSide - 1);
        PutU16(pols, 4);
        PutIndex(pols, p);
        PutIndex(pols, p + 1);
        PutIndex(pols, p + kSide + 1);
        PutIndex(pols, p + kSide);
        PutIndex(colours, static_cast<std::uint32_t>(i));
        PutU16(colours, 0);
        PutIndex(surfaceTags, static_cast<std::uint32_t>(i));
        PutU16(surfaceTags, static_cast<std::uint32_t>(i % static_cast<std::size_t>(surfaces)) + 1);
    }
    std::string body = "LWO2";
    PutChunk(body, "TAGS", tags);
    PutChunk(body, "LAYR", layer);
    PutChunk(body, "PNTS", GridPoints(kSide));
    PutChunk(body, "POLS", pols);
    PutChunk(body, "PTAG", colours);
    PutChunk(body, "PTAG", surfaceTags);
    std::string out = "FORM";
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

std::string MakeLwoObject(std::size_t polygons, int surfaces) {
    constexpr std::uint32_t kSide = 256;
    const std::string points = GridPoints(kSide);
    std::string names;
    for (int k = 0; k < surfaces; ++k)
        PutName(names, SurfaceName(k));
    std::string pols;
    pols.reserve(polygons * 12);
    const std::uint32_t cells = (kSide - 1) * (kSide - 1);
    for (std::size_t i = 0; i < polygons; ++i) {
        std::uint32_t cell = static_cast<std::uint32_t>(i % cells);
        std::uint32_t x = cell % (kSide - 1);
        std::uint32_t y = cell / (kSide - 1);
        std::uint32_t p = y * kSide + x;
        PutU16(pols, 4);
        PutU16(pols, p);
        PutU16(pols, p + 1);
        PutU16(pols, p + kSide + 1);
        PutU16(pols, p + kSide);
        PutU16(pols, static_cast<std::uint32_t>(i % static_cast<std::size_t>(surfaces)) + 1);
    }
    std::string out = "FORM";
    std::size_t body = 4 + 8 + points.size() + 8 + names.size() + 8 + pols.size();
    PutU32(out, static_cast<std::uint32_t>(body));
    out += "LWOB";
    PutChunkHeader(out, "PNTS", points.size());
    out += points;
    PutChunkHeader(out, "SRFS", names.size());
    out += names;
    PutChunkHeader(out, "POLS", pols.size());
    out += pols;
    return out;
}

std::string MakeDxfObject(std::size_t faces, int layers) {
    std::size_t side =
        static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(faces)))) + 1;
    std::string out = "  0\nSECTION\n  2\nENTITIES\n";
    out.reserve(faces * 240);
    char line[64];
    auto pair = [&](const char* code, double value) {
        int n = std::snprintf(line, sizeof line, "%s\n%.6f\n", code, value);
        out.append(line, static_cast<std::size_t>(n));
    };
    static const char* const kCodes[4][3] = {
        {" 10", " 20", " 30"}, {" 11", " 21", " 31"}, {" 12", " 22", " 32"}, {" 13", " 23", " 33"}};
    for (std::size_t i = 0; i < faces; ++i) {
        std::size_t x = i % (side - 1);
        std::size_t y = i / (side - 1);
        int n = std::snprintf(line, sizeof line, "  0\n3DFACE\n  5\n%zX\n  8\nLAYER_%zu\n",
                              i + 0x100, i % static_cast<std::size_t>(layers));
        out.append(line, static_cast<std::size_t>(n));
        const std::size_t corner[4][2] = {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}};
        for (int c = 0; c < 4; ++c) {
            double cx = static_cast<double>(corner[c][0]) * 1.25;
            double cy = static_cast<double>(corner[c][1]) * 1.25;
            pair(kCodes[c][0], cx);
            pair(kCodes[c][1], cy);
            pair(kCodes[c][2], std::fmod(cx * 0.37 + cy * 0.11, 9.0));
        }
    }
    out += "  0\nENDSEC\n  0\nEOF\n";
    return out;
}

std::string MakeDxfBlocksObject(std::size_t faces) {
    // One block of kBlockFaces faces in a strip, placed on a grid with a quarter turn every
    // other time: the same faces as a flat drawing of that many, reached through INSERTs.
    constexpr std::size_t kBlockFaces = 100;
    const std::size_t inserts = (faces + kBlockFaces - 1) / kBlockFaces;
    std::string out = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  8\n0\n  2\nSTRIP\n 70\n0\n"
                      " 10\n0.0\n 20\n0.0\n 30\n0.0\n";
    char line[128];
    for (std::size_t i = 0; i < kBlockFaces; ++i) {
        const double x = static_cast<double>(i) * 1.25;
        const int n = std::snprintf(line, sizeof line,
                                    "  0\n3DFACE\n  8\n0\n 10\n%.6f\n 20\n0.0\n 30\n0.0\n"
                                    " 11\n%.6f\n 21\n0.0\n 31\n0.0\n",
                                    x, x + 1.25);
        out.append(line, static_cast<std::size_t>(n));
        const int m = std::snprintf(line, sizeof line,
                                    " 12\n%.6f\n 22\n1.25\n 32\n0.5\n 13\n%.6f\n 23\n1.25\n"
                                    " 33\n0.5\n",
                                    x + 1.25, x);
        out.append(line, static_cast<std::size_t>(m));
    }
    out += "  0\nENDBLK\n  8\n0\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
    for (std::size_t i = 0; i < inserts; ++i) {
        const int n = std::snprintf(
            line, sizeof line,
            "  0\nINSERT\n  8\nLAYER_%zu\n  2\nSTRIP\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n"
            " 50\n%d\n",
            i % 8, static_cast<double>(i % 100) * 200.0, static_cast<double>(i / 100) * 2.0,
            i % 2 == 0 ? 0 : 90);
        out.append(line, static_cast<std::size_t>(n));
    }
    out += "  0\nENDSEC\n  0\nEOF\n";
    return out;
}
