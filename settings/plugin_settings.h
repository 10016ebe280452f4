// The ten settings of profile section "Karvel": their keys, what each plug-in assumes when a
// key is missing and when it takes a number as "on", side by side in one table; the
// preferences program shows a missing key as the plug-in's default. The preferences program writes
// them; the plug-ins read them afresh at every run, in a fixed order. Raw values are kept as read;
// the On/mode helpers give the plug-ins' rules for values other than 0/1.
#pragma once

#include <array>
#include <cstddef>
#include <string>

class CApplication;

inline constexpr const char* kSettingsSection = "Karvel";
inline constexpr const char* kKeyDefLwo = "def_lwo";
inline constexpr const char* kKeyUseDefLwo = "use_def_lwo";
inline constexpr const char* kKeyVzdyUpdate = "vzdy_update";
inline constexpr const char* kKeyViewInfo = "view_info";
inline constexpr const char* kKeyFlipPoly = "flip_poly";
inline constexpr const char* kKeyExportDefDxf = "export_def_dxf";
inline constexpr const char* kKeyExportRename = "export_rename";
inline constexpr const char* kKeyExportFlipPoly = "export_flip_poly";
inline constexpr const char* kKeyExportUseDefDxf = "export_use_def_dxf";
inline constexpr const char* kKeyExportViewInfo = "export_view_info";

// In the preferences program's order of reading and writing, which is the table's order.
enum class SettingId : std::size_t {
    DefLwo,
    UseDefLwo,
    VzdyUpdate,
    ViewInfo,
    FlipPoly,
    ExportDefDxf,
    ExportRename,
    ExportFlipPoly,
    ExportUseDefDxf,
    ExportViewInfo,
};

// How a plug-in reads a setting's number.
enum class OnRule {
    Text,       // a path, not a number
    NonZero,    // on unless 0
    ExactlyOne, // on only at 1
    UpdateMode, // 0, 1 or anything else (UpdateMode below); "on" is 1, always update
};

struct CSetting {
    SettingId m_id;
    const char* m_szKey;
    OnRule m_rule;
    int m_nPluginDefault; // what the plug-in assumes when the key is missing
};

// flip_poly: the import flips unless told otherwise. Text settings default to "".
inline constexpr std::array<CSetting, 10> kSettings{{
    {SettingId::DefLwo, kKeyDefLwo, OnRule::Text, 0},
    {SettingId::UseDefLwo, kKeyUseDefLwo, OnRule::NonZero, 0},
    {SettingId::VzdyUpdate, kKeyVzdyUpdate, OnRule::UpdateMode, 0},
    {SettingId::ViewInfo, kKeyViewInfo, OnRule::NonZero, 1},
    {SettingId::FlipPoly, kKeyFlipPoly, OnRule::ExactlyOne, 1},
    {SettingId::ExportDefDxf, kKeyExportDefDxf, OnRule::Text, 0},
    {SettingId::ExportRename, kKeyExportRename, OnRule::ExactlyOne, 1},
    {SettingId::ExportFlipPoly, kKeyExportFlipPoly, OnRule::ExactlyOne, 0},
    {SettingId::ExportUseDefDxf, kKeyExportUseDefDxf, OnRule::ExactlyOne, 0},
    {SettingId::ExportViewInfo, kKeyExportViewInfo, OnRule::ExactlyOne, 1},
}};

constexpr const CSetting& GetSetting(SettingId id) {
    return kSettings[static_cast<std::size_t>(id)];
}

// Whether a plug-in takes value as "on" by the setting's rule: for vzdy_update, whether it
// updates a same-named part without asking.
constexpr bool IsOn(SettingId id, int value) {
    return GetSetting(id).m_rule == OnRule::NonZero ? value != 0 : value == 1;
}

// What to do with an imported part whose name an existing part has.
enum class UpdateMode {
    Ask,    // vzdy_update 0: ask whether to update or add
    Update, // vzdy_update 1: update without asking
    Add     // any other value: add as a new part without asking
};

// The import plug-in's five values, with its defaults.
struct CImportSettings {
    std::string m_strDefLwo;
    int m_nUseDefLwo = GetSetting(SettingId::UseDefLwo).m_nPluginDefault;
    int m_nVzdyUpdate = GetSetting(SettingId::VzdyUpdate).m_nPluginDefault;
    int m_nViewInfo = GetSetting(SettingId::ViewInfo).m_nPluginDefault;
    int m_nFlipPoly = GetSetting(SettingId::FlipPoly).m_nPluginDefault;

    bool UseDefaultFile() const { return IsOn(SettingId::UseDefLwo, m_nUseDefLwo); }
    UpdateMode GetUpdateMode() const {
        return m_nVzdyUpdate == 0   ? UpdateMode::Ask
               : m_nVzdyUpdate == 1 ? UpdateMode::Update
                                    : UpdateMode::Add;
    }
    bool ShowInfo() const { return IsOn(SettingId::ViewInfo, m_nViewInfo); }
    bool FlipPolygons() const { return IsOn(SettingId::FlipPoly, m_nFlipPoly); }
};

// The export plug-in's five values, with its defaults.
struct CExportSettings {
    std::string m_strExportDefDxf;
    int m_nExportRename = GetSetting(SettingId::ExportRename).m_nPluginDefault;
    int m_nExportFlipPoly = GetSetting(SettingId::ExportFlipPoly).m_nPluginDefault;
    int m_nExportUseDefDxf = GetSetting(SettingId::ExportUseDefDxf).m_nPluginDefault;
    int m_nExportViewInfo = GetSetting(SettingId::ExportViewInfo).m_nPluginDefault;

    bool RenameParts() const { return IsOn(SettingId::ExportRename, m_nExportRename); }
    bool FlipPolygons() const { return IsOn(SettingId::ExportFlipPoly, m_nExportFlipPoly); }
    bool UseDefaultFile() const { return IsOn(SettingId::ExportUseDefDxf, m_nExportUseDefDxf); }
    bool ShowInfo() const { return IsOn(SettingId::ExportViewInfo, m_nExportViewInfo); }
};

// def_lwo (""), use_def_lwo (0), vzdy_update (0), view_info (1), flip_poly (1),
// read in this order.
CImportSettings ReadImportSettings(CApplication& app);
// export_rename (1), export_flip_poly (0), export_use_def_dxf (0),
// export_view_info (1) in this order; then export_def_dxf ("") only when
// export_use_def_dxf is exactly 1.
CExportSettings ReadExportSettings(CApplication& app);
