// Text to number as strtod and atoi read decimal text in the "C" locale; hexadecimal and
// special values are no numbers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "import/dxf/c_numbers.h"

namespace {

const char* const kSamples[] = {
    "0",
    "1",
    "-1",
    "+1",
    "1.",
    ".5",
    "-.5",
    "+.5e-3",
    "1e3",
    "1E+3",
    "1e",
    "1e+",
    "1.5e-2x",
    "  \t42",
    "\v\f7",
    " -3e2 trailing",
    "",
    " ",
    "-",
    "+",
    ".",
    "..5",
    "--5",
    "+-5",
    "-+5",
    "abc",
    "1,5",
    "0x",
    "0xg",
    "1e400",
    "-1e400",
    "1e-400",
    "4.9e-324",
    "2.4e-324",
    "1e-310",
    "123456789012345678901234567890",
    "0.000000000000000000000000000000000001e-300",
    "3.4028235677973366e38",
    "-0",
    "00012.5000",
    "1_000",
    "\n12",
    "0e9999999999",
    "1e-9999999999",
};

TEST(CNumbers, StrToDMatchesTheRuntime) {
    for (const char* sample : kSamples) {
        SCOPED_TRACE(sample);
        double expected = std::strtod(sample, nullptr);
        double actual = CStrToD(sample);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(actual));
        } else {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
                << actual;
        }
    }
}

TEST(CNumbers, StrToDMatchesTheRuntimeOnWrittenDecimals) {
    // Decimals as writers print them, around the limits of the exact fast path.
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> magnitude(-20.0, 20.0);
    const char* extra[] = {"9007199254740992",
                           "9007199254740993",
                           "9007199254740993.0",
                           "0.1",
                           "0.3",
                           "123456789012345678",
                           "1234567890123456789",
                           "12345678901234567890",
                           "0.0000000000000000000001",
                           "0.00000000000000000000001",
                           "4503599627370497.5"};
    std::vector<std::string> samples(std::begin(extra), std::end(extra));
    char buffer[64];
    for (int i = 0; i < 20000; ++i) {
        double value = std::pow(10.0, magnitude(random)) * (i % 2 ? -1.0 : 1.0);
        std::snprintf(buffer, sizeof buffer, "%.*f", i % 25, value);
        samples.emplace_back(buffer);
        std::snprintf(buffer, sizeof buffer, "%.*g", 1 + i % 19, value);
        samples.emplace_back(buffer);
    }
    for (const std::string& sample : samples) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(CStrToD(sample)),
                  std::bit_cast<std::uint64_t>(std::strtod(sample.c_str(), nullptr)))
            << sample;
    }
}

// strtod reads these as hexadecimal or special values; only their leading decimal
// number counts.
TEST(CNumbers, StrToDReadsNoHexadecimalOrSpecialValues) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0x10", 0.0},  {"0X1p4", 0.0},      {"0x.8", 0.0},          {"-0x1.8p1", -0.0},
        {" +0x7", 0.0}, {"12x5", 12.0},      {"1e3x", 1000.0},       {"inf", 0.0},
        {"-INF", 0.0},  {"infinity", 0.0},   {"nan", 0.0},           {"NaN(123)", 0.0},
        {"-nan", 0.0},  {" +Infinity", 0.0}, {"1e99999x", HUGE_VAL}, {"-1e400 ", -HUGE_VAL}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(CStrToD(c.text)),
                  std::bit_cast<std::uint64_t>(c.value));
    }
}

TEST(CNumbers, ToFiniteFloatRefusesWhatIsNoFiniteFloat) {
    constexpr float kMax = std::numeric_limits<float>::max();
    const double largestBelowHalfway = std::nextafter(0x1.ffffffp127, 0.0);
    struct Case {
        double value;
        bool finite;
        float result;
    };
    const Case cases[] = {{0.0, true, 0.0f},
                          {-1.5, true, -1.5f},
                          {0.1, true, 0.1f},
                          {1e-50, true, 0.0f},
                          {double(kMax), true, kMax},
                          {largestBelowHalfway, true, kMax},
                          {-largestBelowHalfway, true, -kMax},
                          {0x1.ffffffp127, false, 0.0f},
                          {1e39, false, 0.0f},
                          {-1e39, false, 0.0f},
                          {HUGE_VAL, false, 0.0f},
                          {-HUGE_VAL, false, 0.0f},
                          {std::nan(""), false, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        float result = 7.0f;
        EXPECT_EQ(ToFiniteFloat(c.value, result), c.finite);
        EXPECT_EQ(result, c.finite ? c.result : 7.0f);
    }
}

TEST(CNumbers, StrToDStopsAtTheViewsEnd) {
    std::string text = "12345";
    EXPECT_EQ(CStrToD(std::string_view(text).substr(0, 2)), 12.0);
}

TEST(CNumbers, AtoIMatchesTheRuntime) {
    const char* samples[] = {"0",
                             "70",
                             " 192",
                             "-2",
                             "+8",
                             "8.9",
                             "64abc",
                             "",
                             "x",
                             "--1",
                             "2147483647",
                             "2147483648",
                             "-2147483648",
                             "-2147483649",
                             "99999999999",
                             "9223372036854775807",
                             "9223372036854775808",
                             "-9223372036854775809",
                             "123456789012345678901",
                             "\t\n 9"};
    for (const char* sample : samples) {
        SCOPED_TRACE(sample);
        EXPECT_EQ(CAtoI(sample), std::atoi(sample));
    }
}

} // namespace
