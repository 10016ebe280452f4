// Running a piece of a test in a forked child: for checks that change the process itself
// (limits, mounts, crashes) and must not take the test program down with them.
#pragma once

#include <functional>
#include <string>

struct CChildReport {
    std::string m_strText;  // what the child wrote to the descriptor it was given
    bool m_bExited = false; // whether the child returned from body and exited 0
};

// Forks; the child runs body with a descriptor to write its report to, then exits 0.
CChildReport RunInChild(const std::function<void(int reportFd)>& body);
