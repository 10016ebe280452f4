// The argument reader every qrhost command uses: which argument is reported first, where an
// empty argument goes, and what a reading gives back.
#include "host/command_line/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool IsShort(std::string_view value) {
    return value.size() < 3;
}

// Two positionals and the three kinds of option, with every message on.
CCommandRules Rules(bool emptyFillsAPlace) {
    return {.m_name = "t",
            .m_options = {{"--flag"}, {"--value", true}, {"--short", true, IsShort, "long {}"}},
            .m_nPositionals = 2,
            .m_optionPrefix = "-",
            .m_bEmptyFillsAPlace = emptyFillsAPlace,
            .m_unknownOption = "unknown {}",
            .m_extraPositional = "extra {}",
            .m_missingPositional = "missing",
            .m_pUsage = "usage\n"};
}

struct CReading {
    bool m_bEmptyFillsAPlace;
    std::vector<std::string> m_args;
    std::string m_strError; // "" when the reading succeeds
    std::vector<std::string> m_positionals;
};

TEST(CommandLine, ReportsTheFirstWrongArgumentAndFillsThePlacesInOrder) {
    const std::vector<CReading> readings = {
        {false, {"a", "b", "--flag"}, "", {"a", "b"}},
        {false, {"--short", "long", "-x", "a"}, "qrhost t: long long\nusage\n", {}},
        {false, {"-x", "--short", "long"}, "qrhost t: unknown -x\nusage\n", {}},
        {false, {"a", "b", "c", "-x"}, "qrhost t: extra c\nusage\n", {}},
        {false, {"a", "--value"}, "qrhost t: --value needs a value\nusage\n", {}},
        {false, {"a", "--value", "-x", "b"}, "", {"a", "b"}},
        {false, {"", "a", "b"}, "", {"a", "b"}},
        {false, {"a", ""}, "qrhost t: missing\nusage\n", {}},
        {true, {"", "a"}, "", {"", "a"}},
        {true, {"", "a", "b"}, "qrhost t: extra b\nusage\n", {}},
        {true, {"a"}, "qrhost t: missing\nusage\n", {}},
    };
    for (const CReading& reading : readings) {
        std::vector<std::string> args = reading.m_args;
        args.insert(args.begin(), "t");
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        CCommandLine line;
        testing::internal::CaptureStderr();
        const bool read = line.Read(Rules(reading.m_bEmptyFillsAPlace),
                                    static_cast<int>(argv.size()), argv.data());
        const std::string error = testing::internal::GetCapturedStderr();
        SCOPED_TRACE(::testing::PrintToString(reading.m_args));
        EXPECT_EQ(error, reading.m_strError);
        EXPECT_EQ(read, reading.m_strError.empty());
        if (read) {
            EXPECT_EQ(std::vector<std::string>({line.Positional(0), line.Positional(1)}),
                      reading.m_positionals);
        }
    }
}

TEST(CommandLine, GivesTheLastValueAndEveryValueInOrder) {
    std::vector<std::string> args = {"t", "--value", "1", "a", "--value", "2", "b"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    CCommandLine line;
    ASSERT_TRUE(line.Read(Rules(false), static_cast<int>(argv.size()), argv.data()));
    EXPECT_EQ(line.Value("--value"), "2");
    EXPECT_EQ(line.Values("--value"), (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(line.Has("--flag"));
    EXPECT_FALSE(line.Value("--short").has_value());
}

} // namespace
