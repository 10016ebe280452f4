// CodePageToUtf8 on Linux (glibc's iconv). The code page bytes are written by hand from
// the code page charts; the UTF-8 is the source text's own.
#include "platform/code_pages.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

struct CCodePageCase {
    unsigned codePage;
    std::string bytes;
    std::string utf8;
};

TEST(CodePages, WindowsCodePagesDecodeAndUndefinedBytesBecomeReplacements) {
    const std::string r(kReplacement);
    const CCodePageCase cases[] = {
        {1251, "\xD1\xF2\xE5\xED\xE0", "Стена"},
        {1252, "M\xFCll", "Müll"},
        {1253, "\xD4\xEF\xDF\xF7\xEF\xF2", "Τοίχος"},
        {874, "\xBC\xB9\xD1\xA7", "ผนัง"},
        // 95 5C: a double-byte character whose second byte is ASCII '\'.
        {932, "\x95\x5C\x8E\xA6\x90\x7D\x96\xCA", "表示図面"},
        {936, "\xC7\xBD", "墙"},
        {949, "\xBA\xAE", "벽"},
        {950, "\xC0\xF0", "牆"},
        {1252, "", ""},
        // Bytes the code page leaves undefined: one replacement each, the rest still read.
        {1252,
         "A\x81"
         "B",
         "A" + r + "B"},
        {1253, "\xAA\xD4", r + "Τ"},
        {874, "\xDB", r},
        // 1258 holds a letter back for a combining mark: the replacement still follows it.
        {1258,
         "a\x81"
         "b\xE0\xCC",
         "a" + r + "b\xC3\xA0\xCC\x80"},
        {949,
         "A\xFF"
         "B",
         "A" + r + "B"},
        // A lead byte cut off by the end of the name.
        {932, "A\x82", "A" + r},
    };
    for (const CCodePageCase& c : cases) {
        SCOPED_TRACE(c.codePage);
        SCOPED_TRACE(c.utf8);
        std::string utf8 = "stale";
        ASSERT_TRUE(CodePageToUtf8(c.codePage, c.bytes, utf8));
        EXPECT_EQ(utf8, c.utf8);
    }
    std::string utf8 = "stale";
    EXPECT_FALSE(CodePageToUtf8(12345, "A", utf8));
    EXPECT_EQ(utf8, "");
}

} // namespace
