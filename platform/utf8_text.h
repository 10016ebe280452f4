// Telling valid UTF-8 from bytes that are not: the JSON dump and the picture legends write
// names as they are when they are UTF-8, and mark every other byte.
#pragma once

#include <cstddef>
#include <string>

// The length of the valid UTF-8 sequence at text[pos] (pos < text.size()),
// or 0 when it is invalid (overlong forms, surrogates and values above
// U+10FFFF are invalid).
size_t Utf8SequenceLength(const std::string& text, size_t pos);
