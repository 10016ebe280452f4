#include "tests/support/program_run.h"

#include "tests/support/file_contents.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <utility>

extern char** environ;

CProgramRun RunProgram(const std::filesystem::path& folder, std::vector<std::string> args) {
    return CRunningProgram(folder, "std", std::move(args)).Wait();
}

CRunningProgram::CRunningProgram(const std::filesystem::path& folder, const std::string& name,
                                 std::vector<std::string> args, const std::vector<std::string>& env)
    : m_outPath(folder / (name + ".out")), m_errPath(folder / (name + ".err")) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Our environment with the given entries in front (the first of a name wins).
    std::vector<std::string> entries = env;
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    for (char** e = environ; *e != nullptr; ++e)
        envp.push_back(*e);
    envp.push_back(nullptr);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(spawned);
        m_pid = -1;
    }
}

CRunningProgram::~CRunningProgram() {
    if (m_pid > 0) {
        Kill();
        (void)Wait();
    }
}

void CRunningProgram::Kill() {
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

CProgramRun CRunningProgram::Wait() {
    CProgramRun result;
    if (m_pid <= 0)
        return result;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(m_outPath);
    result.err = ReadFile(m_errPath);
    return result;
}
