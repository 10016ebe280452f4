// CProgressLine: what a long command is doing, on one line of standard error
// rewritten in place, for a person watching a terminal. Nothing shows for the
// first second (a short job stays silent), nothing ever when standard error is
// no terminal (a script's log gets no carriage returns) or when the command
// was given --quiet. The line is cleared before the command prints anything
// else to standard error, and when the job ends.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

class CProgressLine {
  public:
    // command names the line ("qrhost render: ..."); quiet turns it off.
    CProgressLine(std::string command, bool quiet);
    ~CProgressLine();
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    // What is being done now ("reading model.lwo"), its share unknown.
    void SetStep(const std::string& step);
    // The share done of the current step, 0 to 1.
    void SetShare(double share);
    // Clears the line until the next SetStep, so a message can be printed.
    void Pause();

  private:
    void Run();
    void Show();  // with m_mutex held
    void Clear(); // with m_mutex held

    std::string m_command;
    bool m_bEnabled = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStopping = false;
    bool m_bPaused = false;
    bool m_bShown = false;
    std::string m_step;
    std::atomic<double> m_share{-1};
    std::size_t m_nShownWidth = 0;
    std::chrono::steady_clock::time_point m_start;
    std::thread m_thread;
};
