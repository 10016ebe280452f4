// The progress line as a person at a terminal sees it, standard error turned
// to a pseudo-terminal (or a pipe) for the test's length.
#include "host/command_line/progress_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Runs job with standard error going to a new pseudo-terminal (or a pipe)
// and returns what arrived there.
template <class Job> std::string CaptureStandardError(bool terminal, Job job) {
    int reader = -1, writer = -1;
    if (terminal) {
        reader = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(reader, 0);
        EXPECT_EQ(grantpt(reader), 0);
        EXPECT_EQ(unlockpt(reader), 0);
        writer = open(ptsname(reader), O_RDWR | O_NOCTTY);
    } else {
        int ends[2];
        EXPECT_EQ(pipe(ends), 0);
        reader = ends[0];
        writer = ends[1];
    }
    EXPECT_GE(writer, 0);
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(writer, STDERR_FILENO);
    job();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(writer);
    std::string out;
    fcntl(reader, F_SETFL, O_NONBLOCK);
    char buffer[4096];
    for (ssize_t got; (got = read(reader, buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(got));
    close(reader);
    return out;
}

} // namespace

TEST(ProgressLine, ShowsOnATerminalAfterASecondUnlessQuiet) {
    using namespace std::chrono_literals;
    const struct {
        bool terminal, quiet;
        std::chrono::milliseconds length;
        bool shown;
    } cases[] = {
        {true, false, 1600ms, true},
        {true, false, 400ms, false}, // a short job stays silent
        {true, true, 1600ms, false},
        {false, false, 1600ms, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.terminal) + std::to_string(c.quiet) +
                     std::to_string(c.length.count()));
        const std::string out = CaptureStandardError(c.terminal, [&] {
            CProgressLine progress("render", c.quiet);
            progress.SetStep("drawing x.png");
            std::this_thread::sleep_for(c.length / 2);
            progress.SetShare(0.5);
            std::this_thread::sleep_for(c.length / 2);
        });
        if (!c.shown) {
            EXPECT_EQ(out, "");
            continue;
        }
        EXPECT_NE(out.find("\rqrhost render: drawing x.png 50% (1 s)"), std::string::npos) << out;
        EXPECT_EQ(out.find('\n'), std::string::npos) << "one line, rewritten in place";
        // Cleared at the end: spaces over it, the cursor back at its start.
        ASSERT_GE(out.size(), 2u);
        EXPECT_EQ(out.back(), '\r');
        EXPECT_EQ(out.substr(out.rfind('\r', out.size() - 2) + 1, 3), "   ");
    }
}
