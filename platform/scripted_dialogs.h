// Dialog answers given in advance (qrhost's --answer, --open, --save, and tests).
// Questions take the answers in order; when they run out, or when no path was
// given for a file dialog, the fallback answers (if any), else a question is
// answered No and a file dialog is cancelled. An empty path is a cancel.
#pragma once

#include "platform/application.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>

class CScriptedDialogs : public CUserDialogs {
  public:
    // answers: "yes" or "no", consumed in order.
    CScriptedDialogs(std::deque<std::string> answers, std::optional<std::string> openPath,
                     std::optional<std::string> savePath,
                     std::unique_ptr<CUserDialogs> fallback = nullptr);
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override;

  private:
    std::deque<std::string> m_answers;
    std::optional<std::string> m_openPath;
    std::optional<std::string> m_savePath;
    std::unique_ptr<CUserDialogs> m_fallback;
};
