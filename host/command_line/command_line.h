// How qrhost's commands read their arguments and end. Each command takes the arguments
// after its own name (argv[0] is the name) and returns the process's exit code; messages
// go to standard error, results to standard output.
#pragma once

#include <cstddef>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the command ran and failed (damaged file, ...)
inline constexpr int kExitUsage = 2;  // wrong call, or a plug-in that could not be loaded

// The whole program's usage text, set by host/main.cpp from its command table, for the
// commands that show it on a wrong call; PrintUsage writes it to standard error, or to
// standard output when it was asked for.
void SetProgramUsage(std::string text);
void PrintUsage(std::FILE* stream = stderr);

// An option; one with a value takes the next argument, whatever it is. m_pAccepts, when
// set, tells the values it takes, and m_problem ("{}" for the value) what is wrong.
struct COptionRule {
    std::string_view m_name;
    bool m_bTakesValue = false;
    bool (*m_pAccepts)(std::string_view value) = nullptr;
    std::string_view m_problem = "";
};

// A command's arguments, and what it says of wrong ones: "qrhost NAME: MESSAGE" ("{}" for
// the argument; no line for "") and then m_pUsage, or the whole usage text when nullptr.
struct CCommandRules {
    std::string_view m_name;
    std::vector<COptionRule> m_options;
    std::size_t m_nPositionals = 1; // every one needed
    // An argument starting so that is none of the options is an unknown option.
    std::string_view m_optionPrefix = "--";
    // Otherwise the argument after an empty one takes its place, as if it were not there.
    bool m_bEmptyFillsAPlace = false;
    std::string_view m_unknownOption = "";
    std::string_view m_extraPositional = "";
    std::string_view m_missingPositional = "";
    const char* m_pUsage = nullptr;
};

// Writes rules' usage error, with the problem's line when there is one; kExitUsage.
int UsageError(const CCommandRules& rules, const std::string& problem);

class CCommandLine {
  public:
    // Reads argv[1..argc) in order, so the first wrong argument is the one reported; false
    // once the usage error is written. A "--help" that is no option's value prints the
    // command's usage on standard output and ends the process with kExitOk, as asking
    // for help is no call of the command.
    bool Read(const CCommandRules& rules, int argc, char** argv);

    bool Has(std::string_view option) const { return m_values.count(option) != 0; }
    // Every value the option was given, in order; Value the last one.
    std::vector<std::string> Values(std::string_view option) const;
    std::optional<std::string> Value(std::string_view option) const {
        const std::vector<std::string> values = Values(option);
        return values.empty() ? std::nullopt : std::optional<std::string>(values.back());
    }
    const std::string& Positional(std::size_t index) const { return m_positionals[index]; }

  private:
    std::map<std::string, std::vector<std::string>, std::less<>> m_values;
    std::vector<std::string> m_positionals;
};
