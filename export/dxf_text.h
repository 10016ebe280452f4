// CDxfText: the growable text buffer every piece of DXF output is formatted
// into, so the entity texts returned to callers and the streamed file come
// from the same code. Lines end in CR LF on every platform, as the Windows
// text-mode file this format was first written with stores them.
//
// Reals are written as printf's "%f" would (fixed, six decimals, "-" for
// negatives, no exponent) through std::to_chars, which gives the same digits
// without the locale and is several times faster. The buffer grows as needed,
// so a value of any magnitude is written in full.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CDxfText {
  public:
    CDxfText() = default;
    explicit CDxfText(std::size_t capacity) { Grow(capacity); }
    CDxfText(const CDxfText&) = delete;
    CDxfText& operator=(const CDxfText&) = delete;

    // Appends text; a "\n" in it must already be written as "\r\n".
    void Append(std::string_view text);
    // One value line: the text and CR LF.
    void AppendLine(std::string_view text);
    // A group code right-aligned in three characters, then CR LF.
    void AppendCode(int code);
    // A real in "%f" form, then CR LF. Non-finite values are written as
    // 0.000000: every DXF reader accepts it, whereas "inf" and "nan" are
    // rejected by most and a huge stand-in would turn into infinity in
    // readers that hold coordinates as float.
    void AppendReal(double value);
    // An integer in decimal with no padding, then CR LF.
    void AppendInt(long long value);

    const char* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }
    std::string_view View() const { return {m_data.get(), m_size}; }
    std::string Str() const { return std::string(View()); }
    void Clear() { m_size = 0; }

  private:
    void Grow(std::size_t atLeast);
    // Makes room for n more bytes.
    void Reserve(std::size_t n) {
        if (m_capacity - m_size < n)
            Grow(m_size + n);
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// A real in the same "%f" form, on its own (no line end).
std::string FormatFixed(double value);
