// Another program run to its end, as a user would run it from a shell
// without a terminal: standard input from /dev/null, so no dialog is ever
// answered by hand, and its outputs captured.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

struct CProgramRun {
    int exitCode = -1; // 128 + the signal's number when a signal ended it
    std::string out;
    std::string err;
};

// args[0] is the program's path (no search). The outputs pass through
// std.out and std.err in folder, which are left there.
CProgramRun RunProgram(const std::filesystem::path& folder, std::vector<std::string> args);

// A program started and not yet waited for: for tests that run several at
// once, or kill one on purpose. Standard input is /dev/null; the outputs go
// to folder/<name>.out and folder/<name>.err. env entries ("NAME=value") are
// added to this process's environment for the program. The destructor kills
// and reaps a program that was not waited for.
class CRunningProgram {
  public:
    CRunningProgram(const std::filesystem::path& folder, const std::string& name,
                    std::vector<std::string> args, const std::vector<std::string>& env = {});
    ~CRunningProgram();
    CRunningProgram(const CRunningProgram&) = delete;
    CRunningProgram& operator=(const CRunningProgram&) = delete;

    pid_t Pid() const { return m_pid; }
    // SIGKILL, as a crash or a power cut ends a process.
    void Kill();
    // Waits for the end; exitCode is 128 + the signal's number for a signal.
    CProgramRun Wait();

  private:
    pid_t m_pid = -1;
    std::filesystem::path m_outPath;
    std::filesystem::path m_errPath;
};
