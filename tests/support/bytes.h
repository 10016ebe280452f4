// Bytes as the tests hold them, and the two ways to write them down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using ByteVector = std::vector<std::uint8_t>;

std::string AsString(const ByteVector& bytes);
ByteVector AsBytes(std::string_view text);

// "00 ff 3F" -> the three bytes; white space between them is free.
ByteVector Hex(const std::string& text);
