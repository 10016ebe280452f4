#include "host/command_line/progress_line.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

// A person notices a pause after about a second; before it, nothing shows.
constexpr auto kQuietStart = std::chrono::milliseconds(1000);
constexpr auto kRefresh = std::chrono::milliseconds(200);

} // namespace

CProgressLine::CProgressLine(std::string command, bool quiet)
    : m_command(std::move(command)), m_bEnabled(!quiet && isatty(STDERR_FILENO) == 1),
      m_start(std::chrono::steady_clock::now()) {
    if (m_bEnabled)
        m_thread = std::thread([this] { Run(); });
}

CProgressLine::~CProgressLine() {
    if (!m_bEnabled)
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
        Clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void CProgressLine::SetStep(const std::string& step) {
    if (!m_bEnabled)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_step = step;
    m_share = -1;
    m_bPaused = false;
}

void CProgressLine::SetShare(double share) {
    if (m_bEnabled)
        m_share = share;
}

void CProgressLine::Pause() {
    if (!m_bEnabled)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bPaused = true;
    Clear();
}

void CProgressLine::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_wake.wait_for(lock, kQuietStart, [this] { return m_bStopping; }))
        return;
    while (!m_bStopping) {
        if (!m_bPaused && !m_step.empty())
            Show();
        m_wake.wait_for(lock, kRefresh, [this] { return m_bStopping; });
    }
}

void CProgressLine::Show() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    std::string text = "qrhost " + m_command + ": " + m_step;
    const double share = m_share;
    if (share >= 0 && share <= 1)
        text += " " + std::to_string(static_cast<int>(std::floor(share * 100))) + "%";
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, " (%.0f s)", std::floor(seconds));
    text += elapsed;
    // Spaces over what a longer line before left behind.
    const std::size_t width = text.size();
    if (width < m_nShownWidth)
        text.append(m_nShownWidth - width, ' ');
    m_nShownWidth = width;
    std::fprintf(stderr, "\r%s", text.c_str());
    std::fflush(stderr);
    m_bShown = true;
}

void CProgressLine::Clear() {
    if (!m_bShown)
        return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(m_nShownWidth), "");
    std::fflush(stderr);
    m_bShown = false;
    m_nShownWidth = 0;
}
