#include "host/plugin_host/stop_watching_dialogs.h"

#include <utility>

CStopWatchingDialogs::CStopWatchingDialogs(std::unique_ptr<CUserDialogs> inner)
    : m_inner(std::move(inner)) {}

int CStopWatchingDialogs::Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    if (icon == MessageIcon::Stop) {
        m_bStopShown = true;
        m_strLastStop = text;
    }
    return m_inner->Ask(text, icon, buttons);
}

std::string CStopWatchingDialogs::ChooseOpenFile(const std::string& filter,
                                                 const std::string& defaultExt) {
    return m_inner->ChooseOpenFile(filter, defaultExt);
}

std::string CStopWatchingDialogs::ChooseSaveFile(const std::string& filter,
                                                 const std::string& defaultExt) {
    return m_inner->ChooseSaveFile(filter, defaultExt);
}

bool CStopWatchingDialogs::TakeStopShown() {
    return std::exchange(m_bStopShown, false);
}
