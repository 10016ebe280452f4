// CStopWatchingDialogs: passes every dialog on to the dialogs it wraps and notes the stop
// boxes among them. A plug-in reports each of its failures in a stop box and nowhere else
// (ExecutePlugin's return value says nothing of it), so this is how qrhost tells a run that
// failed from one that did not.
#pragma once

#include "platform/application.h"

#include <memory>
#include <string>

class CStopWatchingDialogs : public CUserDialogs {
  public:
    explicit CStopWatchingDialogs(std::unique_ptr<CUserDialogs> inner);
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override;

    // Whether a stop box was shown since the last call, and the text of the last one.
    bool TakeStopShown();
    const std::string& LastStopText() const { return m_strLastStop; }

  private:
    std::unique_ptr<CUserDialogs> m_inner;
    bool m_bStopShown = false;
    std::string m_strLastStop;
};
