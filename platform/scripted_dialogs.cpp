#include "platform/scripted_dialogs.h"

CScriptedDialogs::CScriptedDialogs(std::deque<std::string> answers,
                                   std::optional<std::string> openPath,
                                   std::optional<std::string> savePath,
                                   std::unique_ptr<CUserDialogs> fallback)
    : m_answers(std::move(answers)), m_openPath(std::move(openPath)),
      m_savePath(std::move(savePath)), m_fallback(std::move(fallback)) {}

int CScriptedDialogs::Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok)
        return IDOK;
    if (!m_answers.empty()) {
        const std::string answer = m_answers.front();
        m_answers.pop_front();
        return answer == "yes" ? IDYES : IDNO;
    }
    if (m_fallback)
        return m_fallback->Ask(text, icon, buttons);
    return IDNO;
}

std::string CScriptedDialogs::ChooseOpenFile(const std::string& filter,
                                             const std::string& defaultExt) {
    if (m_openPath)
        return *m_openPath;
    if (m_fallback)
        return m_fallback->ChooseOpenFile(filter, defaultExt);
    return "";
}

std::string CScriptedDialogs::ChooseSaveFile(const std::string& filter,
                                             const std::string& defaultExt) {
    if (m_savePath)
        return *m_savePath;
    if (m_fallback)
        return m_fallback->ChooseSaveFile(filter, defaultExt);
    return "";
}
