// An application object for running plug-in code in a test: an in-memory
// profile the test can fill and whose reads it can check, dialogs answered
// from a script (or by the test's own dialogs), and every message box
// captured in a transcript instead of standard output.
#pragma once

#include "platform/application.h"
#include "platform/memory_profile.h"

#include <deque>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

class CTestApplication {
  public:
    // Questions take answers ("yes", "no") in order, then No; the Open and
    // Save As dialogs return the paths given, else they are cancelled.
    explicit CTestApplication(std::deque<std::string> answers = {},
                              std::optional<std::string> openPath = std::nullopt,
                              std::optional<std::string> savePath = std::nullopt,
                              std::unique_ptr<CUserDialogs> fallback = nullptr);
    explicit CTestApplication(std::unique_ptr<CUserDialogs> dialogs);
    CTestApplication(const CTestApplication&) = delete;
    CTestApplication& operator=(const CTestApplication&) = delete;

    CApplication& App() { return m_app; }
    CMemoryProfile& Profile() { return m_profile; }
    const CMemoryProfile& Profile() const { return m_profile; }
    // The message boxes shown so far, in the transcript form.
    std::string Transcript() const { return m_transcript.str(); }
    void ClearTranscript() { m_transcript.str(""); }

  private:
    CTestApplication(std::unique_ptr<CMemoryProfile> profile,
                     std::unique_ptr<CUserDialogs> dialogs);

    std::ostringstream m_transcript;
    CMemoryProfile& m_profile;
    CApplication m_app;
};
