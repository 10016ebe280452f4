// CBigEndianReader: a bounds-checked cursor over a byte span, for IFF data.
//
// Every read compares what it needs with what remains (never pos + n > size), so no
// read can leave the span. A failed read returns false and leaves the cursor where it
// was; the caller decides whether that means "damaged" or "end of list".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class CBigEndianReader {
  public:
    CBigEndianReader() = default;
    explicit CBigEndianReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t Remaining() const { return m_data.size() - m_nPos; }
    std::size_t Position() const { return m_nPos; }
    bool AtEnd() const { return m_nPos == m_data.size(); }

    bool ReadU16(std::uint16_t& value) {
        if (Remaining() < 2) {
            return false;
        }
        const std::uint8_t* p = m_data.data() + m_nPos;
        value = static_cast<std::uint16_t>((p[0] << 8) | p[1]);
        m_nPos += 2;
        return true;
    }

    bool ReadU32(std::uint32_t& value) {
        if (Remaining() < 4) {
            return false;
        }
        const std::uint8_t* p = m_data.data() + m_nPos;
        value = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
        m_nPos += 4;
        return true;
    }

    bool ReadU8(std::uint8_t& value) {
        if (Remaining() < 1) {
            return false;
        }
        value = m_data[m_nPos++];
        return true;
    }

    bool PeekU8(std::uint8_t& value) const {
        if (Remaining() < 1) {
            return false;
        }
        value = m_data[m_nPos];
        return true;
    }

    // The next n bytes as a span of their own (a reader limited to a chunk).
    bool ReadSpan(std::size_t n, std::span<const std::uint8_t>& out) {
        if (n > Remaining()) {
            return false;
        }
        out = m_data.subspan(m_nPos, n);
        m_nPos += n;
        return true;
    }

    bool Skip(std::size_t n) {
        if (n > Remaining()) {
            return false;
        }
        m_nPos += n;
        return true;
    }

  private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_nPos = 0;
};
