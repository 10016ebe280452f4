#include "prefs/prefs_model.h"

#include "platform/application.h"
#include "platform/host_folder.h"

#include <utility>

CPrefsModel::CPrefsModel(CApplication& app) : m_app(app) {
    for (const CSetting& setting : kSettings) {
        m_anFlags[static_cast<std::size_t>(setting.m_id)] = setting.m_nPrefsDefault;
    }
}

void CPrefsModel::Load() {
    m_strPluginDir = GetHostPluginFolder(m_app);
    for (const CSetting& setting : kSettings) {
        const auto i = static_cast<std::size_t>(setting.m_id);
        if (setting.m_rule == OnRule::Text) {
            m_astrTexts[i] = m_app.GetProfileString(kSettingsSection, setting.m_szKey, "");
        } else {
            m_anFlags[i] =
                m_app.GetProfileInt(kSettingsSection, setting.m_szKey, setting.m_nPrefsDefault);
        }
    }
}

void CPrefsModel::Save() {
    for (const CSetting& setting : kSettings) {
        const auto i = static_cast<std::size_t>(setting.m_id);
        if (setting.m_rule == OnRule::Text) {
            m_app.WriteProfileString(kSettingsSection, setting.m_szKey, m_astrTexts[i]);
        } else {
            m_app.WriteProfileInt(kSettingsSection, setting.m_szKey, m_anFlags[i]);
        }
    }
}
