// Text to number as the runtime the DXF format grew up with reads it, in the "C" locale
// whatever the process locale: leading white space, an optional sign, then the longest
// decimal number that stands at the start (digits, fraction, exponent: "1.", ".5", "1e3");
// 0 when there is none. Unlike today's strtod, hexadecimal and special values are not
// numbers: "0x10" reads as 0 (its leading "0"), "inf" and "nan" as 0. Out-of-range values
// saturate as strtod does (huge values to +-HUGE_VAL, tiny ones to 0 or a subnormal); atoi
// saturates to the range of long, then keeps the low 32 bits, as glibc's atoi does on a
// 64-bit system.
#pragma once

#include <cstdint>
#include <string_view>

double CStrToD(std::string_view text);
std::int32_t CAtoI(std::string_view text);

// value narrowed to single precision (rounded to nearest) into result; false, with result
// untouched, when the float would not be finite: a NaN, an infinity, or a magnitude that
// rounds beyond the largest float. Converting such a value is undefined behaviour in C++,
// and a non-finite coordinate must never reach a scene.
bool ToFiniteFloat(double value, float& result);
