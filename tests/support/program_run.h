// Another program run to its end, as a user would run it from a shell
// without a terminal: standard input from /dev/null, so no dialog is ever
// answered by hand, and its outputs captured.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CProgramRun {
    int exitCode = -1; // 128 + the signal's number when a signal ended it
    std::string out;
    std::string err;
};

// args[0] is the program's path (no search). The outputs pass through
// stdout.txt and stderr.txt in folder, which are left there.
CProgramRun RunProgram(const std::filesystem::path& folder, std::vector<std::string> args);
