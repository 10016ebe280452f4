// Text helpers for names, keys and extensions. Strings are bytes (UTF-8 here);
// case is folded for ASCII letters only, as the host compares names.
#pragma once

#include <string>
#include <string_view>

std::string ToUpperAscii(std::string text);
std::string ToLowerAscii(std::string text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// text without leading and trailing blanks (space, tab, carriage return).
std::string Trimmed(const std::string& text);
