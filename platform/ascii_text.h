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

// White space as the C runtime's isspace sees it in the "C" locale, whatever the process's
// locale. Inline: the DXF reader asks for every byte it trims.
constexpr bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
// text without leading and trailing C white space.
constexpr std::string_view TrimCSpace(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsCSpace(text[begin]))
        ++begin;
    while (end > begin && IsCSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}
