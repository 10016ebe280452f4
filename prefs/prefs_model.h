// CPrefsModel: what the preferences dialog does, apart from how it is drawn.
// It reads the host folder and the ten plug-in settings through the
// application object's profile operations (the same store the plug-ins read)
// and writes back what the user changed. It holds no GUI and is driven
// directly by tests.
//
// The dialog shows what the plug-ins will do: a missing key as the plug-in's
// default (flip_poly ticked), a number by the plug-in's rule (a vzdy_update of
// 2, "always add as new", is not "Do always part update"). A Save changes only
// what the user changed, so one without a change leaves the profile as it was.
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
    // ten settings in their table's order with the plug-ins' defaults. Missing or
    // unreadable values take the defaults; nothing is reported.
    void Load();
    // Writes, in the table's order, each setting the user changed: a text unlike
    // the one read, a check box left otherwise than it was shown (as 0 or 1).
    // Every other value stays as stored (even 2 or -1), a missing key missing.
    // Write failures are ignored, as the plug-ins ignore them too.
    void Save();

    // The plug-in folder with a trailing "/", the one the plug-ins use.
    const std::string& GetPluginDir() const { return m_strPluginDir; }

    const std::string& GetDefLwo() const { return Text(SettingId::DefLwo); }
    void SetDefLwo(std::string value) { Text(SettingId::DefLwo) = std::move(value); }
    const std::string& GetExportDefDxf() const { return Text(SettingId::ExportDefDxf); }
    void SetExportDefDxf(std::string value) { Text(SettingId::ExportDefDxf) = std::move(value); }

    // What the plug-ins will read for the flag after a Save: the number as read
    // (the plug-in's default for a missing key) while its box stays as shown,
    // else 0 or 1.
    int GetFlag(SettingId flag) const;
    // Whether the flag's check box is ticked: at first, whether the plug-in
    // takes the number read as "on".
    bool IsChecked(SettingId flag) const { return m_abChecked[static_cast<std::size_t>(flag)]; }
    // The user's choice.
    void SetChecked(SettingId flag, bool checked) {
        m_abChecked[static_cast<std::size_t>(flag)] = checked;
    }

    // Profile key of a flag (for messages and tests).
    static const char* GetFlagKey(SettingId flag) { return GetSetting(flag).m_szKey; }

  private:
    const std::string& Text(SettingId id) const {
        return m_astrTexts[static_cast<std::size_t>(id)];
    }
    std::string& Text(SettingId id) { return m_astrTexts[static_cast<std::size_t>(id)]; }
    bool Changed(const CSetting& setting) const;

    CApplication& m_app;
    std::string m_strPluginDir;
    // Indexed by SettingId: a path setting's text as read and as it is now; a
    // flag's number as read, whether its box was shown ticked, and is now.
    std::array<std::string, kSettings.size()> m_astrReadTexts;
    std::array<std::string, kSettings.size()> m_astrTexts;
    std::array<int, kSettings.size()> m_anReadFlags{};
    std::array<bool, kSettings.size()> m_abShown{};
    std::array<bool, kSettings.size()> m_abChecked{};
};
