// How qrhost's commands read their arguments and end: the exit codes, the rules
// a command's arguments follow, and the one reader of them. Each command takes
// the arguments after its own name (argv[0] is the name) and returns the
// process's exit code; messages go to standard error, results to standard
// output.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the command ran and failed (damaged file, ...)
inline constexpr int kExitUsage = 2;  // wrong call, or a plug-in that could not be loaded

// The usage text of the whole program: host/main.cpp makes it from its command table and
// sets it before it runs a command, which then shows it for a wrong call.
void SetProgramUsage(std::string text);
// That text, written to standard error.
void PrintUsage();

// An option a command takes. One with a value takes the next argument, whatever it is.
struct COptionRule {
    std::string_view m_name;
    bool m_bTakesValue = false;
    // For a value of a few forms only: true when value is one; m_problem says what is
    // wrong otherwise, "{}" standing for the value.
    bool (*m_pAccepts)(std::string_view value) = nullptr;
    std::string_view m_problem = "";
};

// What a command's arguments are, and what it says when they are wrong. The messages
// ("" for none) are written as "qrhost NAME: MESSAGE", "{}" standing for the argument,
// followed by m_pUsage, or by the whole usage text when that is nullptr.
struct CCommandRules {
    std::string_view m_name;
    std::vector<COptionRule> m_options;
    std::size_t m_nPositionals = 1; // all of them needed
    // An argument that starts so and is none of the options is an unknown option.
    std::string_view m_optionPrefix = "--";
    // Whether an empty argument fills a place of its own. When not, the next argument
    // takes the place it left empty, as for a value that was never given.
    bool m_bEmptyFillsAPlace = false;
    std::string_view m_unknownOption = "";
    std::string_view m_extraPositional = "";
    std::string_view m_missingPositional = "";
    const char* m_pUsage = nullptr;
};

// The message (when problem is not "") and the usage that rules give; kExitUsage.
int UsageError(const CCommandRules& rules, const std::string& problem);

class CCommandLine {
  public:
    // Reads argv[1..argc) by rules, in order, so that the first wrong argument is the one
    // reported. False after the usage error is written.
    bool Read(const CCommandRules& rules, int argc, char** argv);

    bool Has(std::string_view option) const { return m_values.count(option) != 0; }
    // The last value the option was given, or none.
    std::optional<std::string> Value(std::string_view option) const;
    // Every value the option was given, in order.
    std::vector<std::string> Values(std::string_view option) const;
    const std::string& Positional(std::size_t index) const { return m_positionals[index]; }

  private:
    bool ReadPositional(const CCommandRules& rules, const std::string& arg);

    std::map<std::string, std::vector<std::string>, std::less<>> m_values;
    std::vector<std::string> m_positionals;
    std::size_t m_nGiven = 0;
};
