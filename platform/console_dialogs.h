// The two ways a console program answers dialogs when no script does.
//
// CTerminalDialogs asks the person at the terminal: a question takes y or n
// (asked again on anything else; end of input answers No), a file dialog
// takes a path, and an empty line cancels it. An OK box needs no answer:
// its text is already in the transcript.
//
// CNonInteractiveDialogs answers nobody: a question is answered No and a file
// dialog is cancelled, and one line on the error stream says so, so that an
// unattended run never waits and never mistakes a default for a choice.
#pragma once

#include "platform/application.h"

#include <iosfwd>
#include <memory>
#include <string>

class CTerminalDialogs : public CUserDialogs {
  public:
    // Reads answers from in and writes the prompts to out (neither owned).
    CTerminalDialogs(std::istream& in, std::ostream& out);
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override;

  private:
    std::string AskPath(const char* title, const std::string& filter);
    std::istream& m_in;
    std::ostream& m_out;
};

class CNonInteractiveDialogs : public CUserDialogs {
  public:
    // err receives one line per unanswered dialog (not owned).
    explicit CNonInteractiveDialogs(std::ostream& err);
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override;

  private:
    std::ostream& m_err;
};

// Terminal dialogs over std::cin / std::cerr when standard input is a
// terminal, else non-interactive ones reporting on std::cerr.
std::unique_ptr<CUserDialogs> MakeConsoleDialogs();
