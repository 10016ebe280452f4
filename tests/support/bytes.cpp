#include "tests/support/bytes.h"

#include <sstream>

std::string AsString(const ByteVector& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

ByteVector AsBytes(std::string_view text) {
    return ByteVector(text.begin(), text.end());
}

ByteVector Hex(const std::string& text) {
    ByteVector out;
    std::istringstream in(text);
    std::string token;
    while (in >> token)
        out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}
