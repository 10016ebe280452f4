#include "prefs/prefs_model.h"

#include "platform/application.h"
#include "platform/host_folder.h"

#include <utility>

CPrefsModel::CPrefsModel(CApplication& app) : m_app(app) {
    for (const CSetting& setting : kSettings) {
        const auto i = static_cast<std::size_t>(setting.m_id);
        m_anReadFlags[i] = setting.m_nPluginDefault;
        m_abShown[i] = m_abChecked[i] = IsOn(setting.m_id, setting.m_nPluginDefault);
    }
}

void CPrefsModel::Load() {
    m_strPluginDir = GetHostPluginFolder(m_app);
    for (const CSetting& setting : kSettings) {
        const auto i = static_cast<std::size_t>(setting.m_id);
        if (setting.m_rule == OnRule::Text) {
            m_astrReadTexts[i] = m_app.GetProfileString(kSettingsSection, setting.m_szKey, "");
            m_astrTexts[i] = m_astrReadTexts[i];
        } else {
            m_anReadFlags[i] =
                m_app.GetProfileInt(kSettingsSection, setting.m_szKey, setting.m_nPluginDefault);
            m_abShown[i] = m_abChecked[i] = IsOn(setting.m_id, m_anReadFlags[i]);
        }
    }
}

bool CPrefsModel::Changed(const CSetting& setting) const {
    const auto i = static_cast<std::size_t>(setting.m_id);
    return setting.m_rule == OnRule::Text ? m_astrTexts[i] != m_astrReadTexts[i]
                                          : m_abChecked[i] != m_abShown[i];
}

int CPrefsModel::GetFlag(SettingId flag) const {
    const auto i = static_cast<std::size_t>(flag);
    if (!Changed(GetSetting(flag))) {
        return m_anReadFlags[i];
    }
    return m_abChecked[i] ? 1 : 0;
}

void CPrefsModel::Save() {
    for (const CSetting& setting : kSettings) {
        if (!Changed(setting)) {
            continue;
        }
        const auto i = static_cast<std::size_t>(setting.m_id);
        if (setting.m_rule == OnRule::Text) {
            m_app.WriteProfileString(kSettingsSection, setting.m_szKey, m_astrTexts[i]);
        } else {
            m_app.WriteProfileInt(kSettingsSection, setting.m_szKey, GetFlag(setting.m_id));
        }
    }
}
