#include "import/dxf/c_numbers.h"

#include "platform/ascii_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <string>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A result beyond double's range: rare, so the C runtime itself answers, in the "C" locale.
double OutOfRange(std::string_view text) {
    std::string copy(text);
#ifdef _WIN32
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return cLocale ? _strtod_l(copy.c_str(), nullptr, cLocale) : 0.0;
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return cLocale ? strtod_l(copy.c_str(), nullptr, cLocale) : 0.0;
#endif
}

// Plain decimals ("12.500000", "-3", ".5"): at most 19 digits with a mantissa below 2^53 and
// at most 22 after the point. Both the mantissa and the power of ten are exact doubles, so
// one division rounds correctly, giving strtod's result bit for bit. false: not such a number.
bool FastDecimal(std::string_view text, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t fraction = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (digits >= 19) {
            return false;
        }
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, ++fraction) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            if (digits >= 19) {
                return false;
            }
        }
    }
    if (digits == 0 || fraction > 22 || mantissa > (std::uint64_t{1} << 53) ||
        (i < text.size() && (text[i] == 'e' || text[i] == 'E'))) {
        return false;
    }
    value = static_cast<double>(mantissa) / kPowers[fraction];
    return true;
}

// Where the digits start: past leading white space and one optional sign, as
// both conversions read them.
std::size_t SkipSpaceAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

} // namespace

double CStrToD(std::string_view text) {
    bool negative = false;
    const std::size_t i = SkipSpaceAndSign(text, negative);
    std::string_view rest = text.substr(i);
    // A decimal number starts with a digit or with a point and a digit. Anything else
    // ("inf", "nan", a second sign that from_chars would take) is no number: +0 whatever
    // sign was passed. A "0x" prefix stops the number after its "0".
    const bool decimal =
        !rest.empty() &&
        (IsDigit(rest[0]) || (rest[0] == '.' && rest.size() >= 2 && IsDigit(rest[1])));
    if (!decimal) {
        return 0.0;
    }
    double value = 0.0;
    if (FastDecimal(rest, value)) {
        return negative ? -value : value;
    }
    std::from_chars_result result =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) {
        return 0.0;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value unset; strtod gives +-HUGE_VAL or the value rounded to 0.
        // Only the decimal number is handed over, so strtod cannot read more than we do.
        return OutOfRange(text.substr(0, static_cast<std::size_t>(result.ptr - text.data())));
    }
    return negative ? -value : value;
}

std::int32_t CAtoI(std::string_view text) {
    bool negative = false;
    std::size_t i = SkipSpaceAndSign(text, negative);
    // Accumulate the magnitude saturating at long's range, as strtol does.
    constexpr unsigned long long kLimitPos =
        static_cast<unsigned long long>(std::numeric_limits<long long>::max());
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
    long long value =
        negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
    return static_cast<std::int32_t>(value); // low 32 bits, as glibc's (int) strtol
}

bool ToFiniteFloat(double value, float& result) {
    // 2^128 - 2^103 lies halfway between the largest float and 2^128; it and everything
    // above round to infinity. The comparison is false for a NaN as well.
    constexpr double kFloatOverflow = 0x1.ffffffp127;
    if (!(std::fabs(value) < kFloatOverflow)) {
        return false;
    }
    result = static_cast<float>(value);
    return true;
}
