// Text in the Windows code pages of older files, and names as the scene keeps them.
//
// DXF files written before R2007 hold their text in the code page of the drawing (the
// Windows "ANSI" code pages: 874, 932, 936, 949, 950, 1250 to 1258). The scene stores
// names in the system's own encoding: UTF-8 on Linux, the ANSI code page on Windows.
#pragma once

#include <string>
#include <string_view>

// bytes of the Windows code page codePage as UTF-8, into utf8. A byte sequence the code
// page does not define becomes U+FFFD and the rest is still decoded: a name with a stray
// byte is a name, not a failed import. false only when the system cannot convert from
// codePage at all (utf8 is then empty).
bool CodePageToUtf8(unsigned codePage, std::string_view bytes, std::string& utf8);

// A UTF-8 name as the scene stores it. Linux: the same bytes (also when they are not valid
// UTF-8: they are kept, not judged). Windows: the system's ANSI code page, '?' for every
// character it cannot hold (no look-alike letters: two names stay two names as far as the
// code page allows), and for bytes that are not UTF-8.
std::string Utf8ToPartName(std::string_view utf8);
