// Text to number as the C runtime's strtod and atoi read text in the "C" locale, whatever
// the process locale: leading white space, an optional sign, then the longest number that
// stands at the start ("1.", ".5", "1e3", "0x1p4", "inf", "nan"); 0 when there is none.
// Out-of-range values saturate as strtod does (huge values to +-HUGE_VAL, tiny ones to
// 0 or a subnormal); atoi saturates to the range of long, then keeps the low 32 bits, as
// glibc's atoi does on a 64-bit system.
#pragma once

#include <cstdint>
#include <string_view>

double CStrToD(std::string_view text);
std::int32_t CAtoI(std::string_view text);
