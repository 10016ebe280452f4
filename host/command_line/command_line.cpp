#include "host/command_line/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

std::string& ProgramUsage() {
    static std::string text;
    return text;
}

std::string Filled(std::string_view message, const std::string& arg) {
    std::string text(message);
    if (const std::size_t hole = text.find("{}"); hole != std::string::npos)
        text.replace(hole, 2, arg);
    return text;
}

bool Refuse(const CCommandRules& rules, const std::string& problem) {
    UsageError(rules, problem);
    return false;
}

} // namespace

void SetProgramUsage(std::string text) {
    ProgramUsage() = std::move(text);
}

void PrintUsage(std::FILE* stream) {
    std::fputs(ProgramUsage().c_str(), stream);
}

int UsageError(const CCommandRules& rules, const std::string& problem) {
    if (!problem.empty())
        std::fprintf(stderr, "qrhost %.*s: %s\n", static_cast<int>(rules.m_name.size()),
                     rules.m_name.data(), problem.c_str());
    std::fputs(rules.m_pUsage != nullptr ? rules.m_pUsage : ProgramUsage().c_str(), stderr);
    return kExitUsage;
}

bool CCommandLine::Read(const CCommandRules& rules, int argc, char** argv) {
    const auto emptyLast = [&] { return !m_positionals.empty() && m_positionals.back().empty(); };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(rules.m_pUsage != nullptr ? rules.m_pUsage : ProgramUsage().c_str(), stdout);
            std::fflush(stdout);
            std::exit(kExitOk);
        }
        const auto rule = std::find_if(rules.m_options.begin(), rules.m_options.end(),
                                       [&](const COptionRule& r) { return r.m_name == arg; });
        if (rule == rules.m_options.end() && arg.starts_with(rules.m_optionPrefix))
            return Refuse(rules, Filled(rules.m_unknownOption, arg));
        if (rule == rules.m_options.end() && !rules.m_bEmptyFillsAPlace && emptyLast())
            m_positionals.back() = arg;
        else if (rule == rules.m_options.end() && m_positionals.size() < rules.m_nPositionals)
            m_positionals.push_back(arg);
        else if (rule == rules.m_options.end())
            return Refuse(rules, Filled(rules.m_extraPositional, arg));
        else if (!rule->m_bTakesValue)
            m_values[arg]; // a flag: there, with no value
        else if (i + 1 >= argc)
            return Refuse(rules, arg + " needs a value");
        else if (const std::string value = argv[++i]; rule->m_pAccepts && !rule->m_pAccepts(value))
            return Refuse(rules, Filled(rule->m_problem, value));
        else
            m_values[arg].push_back(value);
    }
    if (m_positionals.size() < rules.m_nPositionals || (!rules.m_bEmptyFillsAPlace && emptyLast()))
        return Refuse(rules, std::string(rules.m_missingPositional));
    return true;
}

std::vector<std::string> CCommandLine::Values(std::string_view option) const {
    const auto found = m_values.find(option);
    return found == m_values.end() ? std::vector<std::string>() : found->second;
}
