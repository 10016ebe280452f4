#include "host/plugin_host/run_options.h"

#include "host/command_line/command_line.h"

bool ReadRunOptions(int argc, char** argv, CRunOptions& options) {
    const auto isAnswer = [](std::string_view value) { return value == "yes" || value == "no"; };
    const CCommandRules rules{
        .m_name = "run",
        .m_options = {{"--folder", true},
                      {"--profile", true},
                      {"--answer", true, isAnswer, "--answer takes yes or no, not \"{}\""},
                      {"--open", true},
                      {"--save", true}},
        .m_unknownOption = "unknown option {}",
        .m_extraPositional = "more than one plug-in given (\"{}\")",
        .m_missingPositional = "no plug-in given"};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return false;
    options.m_strPlugin = line.Positional(0);
    options.m_strFolder = line.Value("--folder");
    options.m_strProfile = line.Value("--profile");
    options.m_astrAnswers = line.Values("--answer");
    options.m_strOpenPath = line.Value("--open");
    options.m_strSavePath = line.Value("--save");
    return true;
}
