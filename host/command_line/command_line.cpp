#include "host/command_line/command_line.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

std::string Filled(std::string_view message, const std::string& arg) {
    std::string text(message);
    if (const std::size_t hole = text.find("{}"); hole != std::string::npos)
        text.replace(hole, 2, arg);
    return text;
}

std::string& ProgramUsage() {
    static std::string text;
    return text;
}

// The usage error of a reading that stops there.
bool Refuse(const CCommandRules& rules, const std::string& problem) {
    UsageError(rules, problem);
    return false;
}

} // namespace

void SetProgramUsage(std::string text) {
    ProgramUsage() = std::move(text);
}

void PrintUsage() {
    std::fputs(ProgramUsage().c_str(), stderr);
}

int UsageError(const CCommandRules& rules, const std::string& problem) {
    if (!problem.empty())
        std::fprintf(stderr, "qrhost %.*s: %s\n", static_cast<int>(rules.m_name.size()),
                     rules.m_name.data(), problem.c_str());
    if (rules.m_pUsage != nullptr)
        std::fputs(rules.m_pUsage, stderr);
    else
        PrintUsage();
    return kExitUsage;
}

bool CCommandLine::Read(const CCommandRules& rules, int argc, char** argv) {
    m_positionals.assign(rules.m_nPositionals, std::string());
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto rule = std::find_if(rules.m_options.begin(), rules.m_options.end(),
                                       [&](const COptionRule& r) { return r.m_name == arg; });
        if (rule == rules.m_options.end()) {
            if (arg.starts_with(rules.m_optionPrefix))
                return Refuse(rules, Filled(rules.m_unknownOption, arg));
            if (!ReadPositional(rules, arg))
                return Refuse(rules, Filled(rules.m_extraPositional, arg));
            continue;
        }
        std::vector<std::string>& values = m_values[arg];
        if (!rule->m_bTakesValue)
            continue;
        if (i + 1 >= argc)
            return Refuse(rules, arg + " needs a value");
        const std::string value = argv[++i];
        if (rule->m_pAccepts != nullptr && !rule->m_pAccepts(value))
            return Refuse(rules, Filled(rule->m_problem, value));
        values.push_back(value);
    }
    const bool missing = rules.m_bEmptyFillsAPlace
                             ? m_nGiven < m_positionals.size()
                             : std::count(m_positionals.begin(), m_positionals.end(), "") != 0;
    if (missing)
        return Refuse(rules, std::string(rules.m_missingPositional));
    return true;
}

bool CCommandLine::ReadPositional(const CCommandRules& rules, const std::string& arg) {
    const std::size_t place =
        rules.m_bEmptyFillsAPlace
            ? m_nGiven
            : static_cast<std::size_t>(std::find(m_positionals.begin(), m_positionals.end(), "") -
                                       m_positionals.begin());
    if (place >= m_positionals.size())
        return false;
    m_positionals[place] = arg;
    ++m_nGiven;
    return true;
}

std::optional<std::string> CCommandLine::Value(std::string_view option) const {
    const auto found = m_values.find(option);
    if (found == m_values.end() || found->second.empty())
        return std::nullopt;
    return found->second.back();
}

std::vector<std::string> CCommandLine::Values(std::string_view option) const {
    const auto found = m_values.find(option);
    return found == m_values.end() ? std::vector<std::string>() : found->second;
}
