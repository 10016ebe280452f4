#include "import/lwo/iff_chunks.h"

#include <cstring>

bool CIffChunk::Is(const char* tag) const {
    return IffTagIs(m_tag, tag);
}

bool IffTagIs(std::span<const std::uint8_t> bytes, const char* tag) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), tag, 4) == 0;
}

std::string CIffChunk::TagText() const {
    return IffTagText(m_tag);
}

std::string IffTagText(std::span<const std::uint8_t> tag) {
    std::string text;
    for (std::uint8_t c : tag) {
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return text;
}

CIffChunkWalker::Step CIffChunkWalker::Next(CIffChunk& chunk) {
    if (m_reader.Remaining() < 8) {
        m_bCut = m_bCut || m_reader.Remaining() > 0;
        m_reader.Skip(m_reader.Remaining());
        return Step::End;
    }
    chunk = CIffChunk();
    chunk.m_nOffset = m_nOffset + m_reader.Position();
    m_reader.ReadSpan(4, chunk.m_tag);
    m_reader.ReadU32(chunk.m_nLength);
    if (!m_reader.ReadSpan(chunk.m_nLength, chunk.m_data)) {
        m_reader.ReadSpan(m_reader.Remaining(), chunk.m_data);
        m_bCut = true;
        return Step::Truncated;
    }
    if (chunk.m_nLength % 2 == 1) {
        m_reader.Skip(1);
    }
    return Step::Chunk;
}
