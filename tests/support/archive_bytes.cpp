#include "tests/support/archive_bytes.h"

#include <cstring>

ByteBuilder& ByteBuilder::D(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return Le(bits, 8);
}

ByteBuilder& ByteBuilder::S(const std::string& s) {
    m_bytes.push_back(static_cast<std::uint8_t>(s.size()));
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    return *this;
}

ByteBuilder& ByteBuilder::Zeros(std::size_t n) {
    m_bytes.insert(m_bytes.end(), n, 0);
    return *this;
}

ByteBuilder& ByteBuilder::Raw(const ByteVector& b) {
    m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    return *this;
}

ByteBuilder& ByteBuilder::Le(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
}
