// The chunk list of an IFF file, as every LightWave object form stores it: a 4-byte tag, a
// 32-bit big-endian length, that many data bytes, and one pad byte after odd-length data.
//
// CIffChunkWalker hands out the chunks of a byte span one by one. Every length is compared
// with what remains, so a chunk's data always lies inside the span. The pad byte is handled
// here and nowhere else; a file may end without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "import/lwo/big_endian_reader.h"

struct CIffChunk {
    std::span<const std::uint8_t> m_tag;  // 4 bytes
    std::span<const std::uint8_t> m_data; // whole, or what is left of a chunk cut short
    std::size_t m_nOffset = 0;            // of the tag, counted from the start of the file
    std::uint32_t m_nLength = 0;          // as the file gives it

    bool Is(const char* tag) const;
    // Whether the end of the bytes cut the chunk's data short.
    bool IsCut() const { return m_data.size() < m_nLength; }
    // The tag with bytes outside printable ASCII shown as '?', for messages.
    std::string TagText() const;
};

class CIffChunkWalker {
  public:
    // data: the chunk list; offset: where data starts in the file (for CIffChunk::m_nOffset).
    CIffChunkWalker(std::span<const std::uint8_t> data, std::size_t offset)
        : m_reader(data), m_nOffset(offset) {}

    enum class Step {
        Chunk,    // chunk is whole
        End,      // fewer than 8 bytes remain: the list is over
        Truncated // chunk's length runs past the end: tag, offset and length are set; the list is
                  // over
    };
    Step Next(CIffChunk& chunk);
    // Whether the bytes ended inside a chunk, in its header or in its data.
    bool Cut() const { return m_bCut; }

  private:
    CBigEndianReader m_reader;
    std::size_t m_nOffset;
    bool m_bCut = false;
};

// Whether bytes begin with the 4-byte tag (false when they are shorter).
bool IffTagIs(std::span<const std::uint8_t> bytes, const char* tag);
// A 4-byte tag as text, bytes outside printable ASCII shown as '?'.
std::string IffTagText(std::span<const std::uint8_t> tag);
