#include "export/dxf_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

void CDxfText::Grow(std::size_t atLeast) {
    std::size_t capacity = m_capacity < 256 ? 256 : m_capacity;
    while (capacity < atLeast)
        capacity *= 2;
    // for_overwrite: fresh memory is not zeroed first, it is written next anyway.
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size != 0)
        std::memcpy(data.get(), m_data.get(), m_size);
    m_data = std::move(data);
    m_capacity = capacity;
}

void CDxfText::Append(std::string_view text) {
    Reserve(text.size());
    std::memcpy(m_data.get() + m_size, text.data(), text.size());
    m_size += text.size();
}

void CDxfText::AppendLine(std::string_view text) {
    Reserve(text.size() + kLineEnd.size());
    std::memcpy(m_data.get() + m_size, text.data(), text.size());
    std::memcpy(m_data.get() + m_size + text.size(), kLineEnd.data(), kLineEnd.size());
    m_size += text.size() + kLineEnd.size();
}

void CDxfText::AppendCode(int code) {
    char text[16];
    auto [end, ec] = std::to_chars(text, text + sizeof text, code);
    (void)ec; // an int always fits in 16 characters
    const auto length = static_cast<std::size_t>(end - text);
    Reserve(3 + kLineEnd.size() + length);
    for (std::size_t pad = length; pad < 3; ++pad)
        m_data[m_size++] = ' ';
    std::memcpy(m_data.get() + m_size, text, length);
    m_size += length;
    std::memcpy(m_data.get() + m_size, kLineEnd.data(), kLineEnd.size());
    m_size += kLineEnd.size();
}

void CDxfText::AppendReal(double value) {
    if (!std::isfinite(value))
        value = 0.0;
    // Room for the common case; a value too long for what is left makes the
    // buffer grow and the conversion run again, so no length is assumed.
    Reserve(32);
    for (;;) {
        char* first = m_data.get() + m_size;
        char* last = m_data.get() + m_capacity;
        auto [end, ec] = std::to_chars(first, last, value, std::chars_format::fixed, 6);
        if (ec == std::errc() && static_cast<std::size_t>(last - end) >= kLineEnd.size()) {
            std::memcpy(end, kLineEnd.data(), kLineEnd.size());
            m_size = static_cast<std::size_t>(end - m_data.get()) + kLineEnd.size();
            return;
        }
        Grow(m_capacity * 2);
    }
}

void CDxfText::AppendInt(long long value) {
    char text[24];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    (void)ec; // a 64-bit integer always fits in 24 characters
    AppendLine(std::string_view(text, static_cast<std::size_t>(end - text)));
}

std::string FormatFixed(double value) {
    CDxfText text;
    text.AppendReal(value);
    return std::string(text.View().substr(0, text.Size() - kLineEnd.size()));
}
