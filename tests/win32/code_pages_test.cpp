// Part names on Windows are in the system's ANSI code page. Under Wine with the usual
// Western locale that is 1252; the expected bytes are 1252's, written from its chart.
#include "platform/code_pages.h"

#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePages, PartNamesAreInTheAnsiCodePageWithQuestionMarksForTheRest) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
    }
    const struct {
        std::string utf8;
        std::string name;
    } cases[] = {
        {"Müll", "M\xFCll"},
        {"Стена", "?????"},
        {"Łódź", "?\xF3"
                 "d?"}, // not the look-alikes L and z
        {"A\xFF"
         "B",
         "A?B"}, // not UTF-8
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToPartName(c.utf8), c.name);
    }
    // And the way in, through the system's tables.
    std::string utf8;
    ASSERT_TRUE(CodePageToUtf8(1251, "\xD1\xF2\xE5\xED\xE0", utf8));
    EXPECT_EQ(utf8, "Стена");
    ASSERT_TRUE(CodePageToUtf8(932, "\x95\x5C\x8E\xA6", utf8));
    EXPECT_EQ(utf8, "表示");
}

} // namespace
