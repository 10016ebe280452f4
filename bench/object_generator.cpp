#include "object_generator.h"

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

}  // namespace

std::string MakeLwoObject(std::size_t polygons, int surfaces) {
    constexpr std::uint32_t kSide = 256;
    std::string points;
    for (std::uint32_t y = 0; y < kSide; ++y) {
        for (std::uint32_t x = 0; x < kSide; ++x) {
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>(x) * 0.5f));
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>((x * 7 + y * 3) % 11)));
            PutU32(points, std::bit_cast<std::uint32_t>(static_cast<float>(y) * 0.5f));
        }
    }
    // Names end in a zero byte, padded to an even length.
    static const char* const kNames[] = {"Roof", "Wall", "Floor", "Glass"};
    std::string names;
    for (int k = 0; k < surfaces; ++k) {
        names += k < 4 ? std::string(kNames[k]) : "Part_" + std::to_string(k + 1);
        names += '\0';
        if (names.size() % 2 != 0)
            names += '\0';
    }
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
    std::size_t side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(faces)))) + 1;
    std::string out = "  0\nSECTION\n  2\nENTITIES\n";
    out.reserve(faces * 240);
    char line[64];
    auto pair = [&](const char* code, double value) {
        int n = std::snprintf(line, sizeof line, "%s\n%.6f\n", code, value);
        out.append(line, static_cast<std::size_t>(n));
    };
    static const char* const kCodes[4][3] = {{" 10", " 20", " 30"}, {" 11", " 21", " 31"}, {" 12", " 22", " 32"}, {" 13", " 23", " 33"}};
    for (std::size_t i = 0; i < faces; ++i) {
        std::size_t x = i % (side - 1);
        std::size_t y = i / (side - 1);
        int n = std::snprintf(line, sizeof line, "  0\n3DFACE\n  5\n%zX\n  8\nLAYER_%zu\n", i + 0x100,
                              i % static_cast<std::size_t>(layers));
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
