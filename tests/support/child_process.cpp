#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

CChildReport RunInChild(const std::function<void(int reportFd)>& body) {
    CChildReport report;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        report.m_strText = "no pipe";
        return report;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        body(pipeFds[1]);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.m_strText.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    report.m_bExited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                       WEXITSTATUS(status) == 0;
    return report;
}
