// The artwork's shapes and colours (the block is the modelling subject of the
// plug-ins, a part), without any toolkit: the Linux dialog draws them with
// wxWidgets, the desktop icon files are drawn from the same numbers with Cairo
// at build time, and the Windows program's icon and logo resources are made
// from them at build time too (prefs/win32/make_resource_art.cpp).
#pragma once

#include <array>
#include <cstdint>

struct CBlockFace {
    std::array<std::array<int, 2>, 4> m_corners; // pixels, x right, y down
    std::uint32_t m_nRgb;                        // 0xRRGGBB
};

// Colours of the 16-colour VGA palette the artwork keeps to.
inline constexpr std::uint32_t kArtNavy = 0x000080;
inline constexpr std::uint32_t kArtTeal = 0x008080;
inline constexpr std::uint32_t kArtYellow = 0xFFFF00;
inline constexpr std::uint32_t kArtOlive = 0x808000;
inline constexpr std::uint32_t kArtSilver = 0xC0C0C0;
inline constexpr std::uint32_t kArtWhite = 0xFFFFFF;
inline constexpr std::uint32_t kArtBlack = 0x000000;

// The icon's background; the block is outlined in black.
inline constexpr std::uint32_t kIconBackground = kArtTeal;

// An isometric block (top, left and right faces) with its top corner at
// (x, y) and edge length size.
inline std::array<CBlockFace, 3> BlockFaces(int x, int y, int size) {
    const int half = size / 2;
    return {{
        {{{{x, y}, {x + size, y + half}, {x, y + size}, {x - size, y + half}}}, kArtYellow},
        {{{{x - size, y + half}, {x, y + size}, {x, y + 2 * size}, {x - size, y + size + half}}},
         kArtOlive},
        {{{{x, y + size}, {x + size, y + half}, {x + size, y + size + half}, {x, y + 2 * size}}},
         kArtSilver},
    }};
}

// The logo (bitmap 129): the block on navy with the maker's name and a
// subtitle to its right, each text as large as fits its area.
inline constexpr int kLogoWidth = 123;
inline constexpr int kLogoHeight = 72;
inline constexpr std::uint32_t kLogoBackground = kArtNavy;

struct CArtText {
    const char* m_szText;
    std::uint32_t m_nRgb;
    int m_nX, m_nY, m_nWidth, m_nHeight; // the area, in pixels
    bool m_bBold;
};
inline constexpr CArtText kLogoTitle{"BRASK", kArtWhite, 60, 14, 59, 24, true};
inline constexpr CArtText kLogoSubtitle{"plug-ins", kArtYellow, 60, 42, 59, 14, false};

inline std::array<CBlockFace, 3> LogoBlockFaces() {
    return BlockFaces(30, 10, 24);
}

// The block of a square icon of this many pixels a side, centred.
inline std::array<CBlockFace, 3> IconBlockFaces(int size) {
    const int edge = size * 7 / 16;
    return BlockFaces(size / 2, (size - 2 * edge) / 2, edge);
}
