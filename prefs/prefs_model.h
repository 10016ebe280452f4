// CPrefsModel: what the preferences dialog does, apart from how it is drawn.
// It reads the host folder and the ten plug-in settings through the
// application object's profile operations (the same store the plug-ins read)
// and writes the ten back. It holds no GUI and is driven directly by tests.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "settings/plugin_settings.h"

class CApplication;

class CPrefsModel {
  public:
    // app is not owned and must outlive the model.
    explicit CPrefsModel(CApplication& app);

    // Reads "ApplicationPath" of "Paths" (giving the plug-in folder), then the
    // ten settings in their table's order with the program's defaults. Missing or unreadable values
    // take the defaults; nothing is reported.
    void Load();
    // Writes all ten settings, changed or not, in the table's order. A flag the
    // user never touched is written back exactly as it was read (even 2 or -1);
    // a touched one as 0 or 1. Write failures are ignored, as the plug-ins
    // ignore them too.
    void Save();

    // The plug-in folder with a trailing "/", the one the plug-ins use.
    const std::string& GetPluginDir() const { return m_strPluginDir; }

    const std::string& GetDefLwo() const { return Text(SettingId::DefLwo); }
    void SetDefLwo(std::string value) { Text(SettingId::DefLwo) = std::move(value); }
    const std::string& GetExportDefDxf() const { return Text(SettingId::ExportDefDxf); }
    void SetExportDefDxf(std::string value) { Text(SettingId::ExportDefDxf) = std::move(value); }

    // The stored number as read (any value), or 0 / 1 once the user set it.
    int GetFlag(SettingId flag) const { return m_anFlags[static_cast<std::size_t>(flag)]; }
    // A check box shows a flag as checked when it is non-zero.
    bool IsChecked(SettingId flag) const { return GetFlag(flag) != 0; }
    // The user's choice: from now on the flag is exactly 0 or 1.
    void SetChecked(SettingId flag, bool checked) {
        m_anFlags[static_cast<std::size_t>(flag)] = checked ? 1 : 0;
    }

    // Profile key of a flag (for messages and tests).
    static const char* GetFlagKey(SettingId flag) { return GetSetting(flag).m_szKey; }

  private:
    const std::string& Text(SettingId id) const {
        return m_astrTexts[static_cast<std::size_t>(id)];
    }
    std::string& Text(SettingId id) { return m_astrTexts[static_cast<std::size_t>(id)]; }

    CApplication& m_app;
    std::string m_strPluginDir;
    // Indexed by SettingId: a path setting's text, a flag's number.
    std::array<std::string, kSettings.size()> m_astrTexts;
    std::array<int, kSettings.size()> m_anFlags{};
};
