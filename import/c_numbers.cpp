#include "c_numbers.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>
#include <limits>
#include <string>
#include <system_error>

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A result beyond double's range: rare, so the C runtime itself answers, in the "C" locale.
double OutOfRange(std::string_view text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::string copy(text);
    return cLocale ? strtod_l(copy.c_str(), nullptr, cLocale) : 0.0;
}

}  // namespace

double CStrToD(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view rest = text.substr(i);
    if (!rest.empty() && rest[0] == '-') {
        return 0.0;  // a second sign: no number (from_chars would take it)
    }
    double value = 0.0;
    // from_chars knows no "0x" prefix and no sign; strtod takes both.
    bool hex = rest.size() >= 3 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
               (IsHexDigit(rest[2]) || (rest[2] == '.' && rest.size() >= 4 && IsHexDigit(rest[3])));
    std::string_view number = hex ? rest.substr(2) : rest;
    std::from_chars_result result = std::from_chars(number.data(), number.data() + number.size(), value,
                                                    hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) {
        return 0.0;  // no number: strtod gives +0 whatever sign it passed
    }
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value unset; strtod gives +-HUGE_VAL or the value rounded to 0.
        return OutOfRange(text);
    }
    return negative ? -value : value;
}

std::int32_t CAtoI(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude saturating at long's range, as strtol does.
    constexpr unsigned long long kLimitPos = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    unsigned long long limit = negative ? kLimitPos + 1 : kLimitPos;
    unsigned long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    long long value = negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
    return static_cast<std::int32_t>(value);  // low 32 bits, as glibc's (int) strtol
}
