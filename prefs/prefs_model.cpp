#include "prefs_model.h"

#include "application.h"
#include "host_folder.h"

#include <utility>

namespace {

constexpr const char* kSection = "Karvel";

struct FlagEntry {
    const char* key;
    int nDefault; // the preferences program's own defaults, not the plug-ins'
};

// Indexed by PrefsFlag. flip_poly defaults to 0 here although the import
// plug-in assumes 1 when it is missing: the first Save makes both agree.
constexpr std::array<FlagEntry, kPrefsFlagCount> kFlags{{
    {"use_def_lwo", 0},
    {"vzdy_update", 0},
    {"view_info", 1},
    {"flip_poly", 0},
    {"export_rename", 1},
    {"export_flip_poly", 0},
    {"export_use_def_dxf", 0},
    {"export_view_info", 1},
}};

constexpr std::size_t Index(PrefsFlag flag) {
    return static_cast<std::size_t>(flag);
}

// The order in which the settings are read and written: the table order of
// the settings, with the import path first and the export path after the
// import flags.
constexpr std::array<PrefsFlag, 4> kImportFlags{PrefsFlag::UseDefLwo, PrefsFlag::VzdyUpdate,
                                                PrefsFlag::ViewInfo, PrefsFlag::FlipPoly};
constexpr std::array<PrefsFlag, 4> kExportFlags{PrefsFlag::ExportRename, PrefsFlag::ExportFlipPoly,
                                                PrefsFlag::ExportUseDefDxf,
                                                PrefsFlag::ExportViewInfo};

} // namespace

CPrefsModel::CPrefsModel(CApplication& app) : m_app(app) {
    for (std::size_t i = 0; i < kPrefsFlagCount; ++i) {
        m_anFlags[i] = kFlags[i].nDefault;
    }
}

const char* CPrefsModel::GetFlagKey(PrefsFlag flag) {
    return kFlags[Index(flag)].key;
}

void CPrefsModel::Load() {
    m_strPluginDir = GetPluginFolder(GetApplicationPath(m_app));

    m_strDefLwo = m_app.GetProfileString(kSection, "def_lwo", "");
    for (PrefsFlag flag : kImportFlags) {
        m_anFlags[Index(flag)] =
            m_app.GetProfileInt(kSection, GetFlagKey(flag), kFlags[Index(flag)].nDefault);
    }
    m_strExportDefDxf = m_app.GetProfileString(kSection, "export_def_dxf", "");
    for (PrefsFlag flag : kExportFlags) {
        m_anFlags[Index(flag)] =
            m_app.GetProfileInt(kSection, GetFlagKey(flag), kFlags[Index(flag)].nDefault);
    }
}

void CPrefsModel::Save() {
    m_app.WriteProfileString(kSection, "def_lwo", m_strDefLwo);
    for (PrefsFlag flag : kImportFlags) {
        m_app.WriteProfileInt(kSection, GetFlagKey(flag), GetFlag(flag));
    }
    m_app.WriteProfileString(kSection, "export_def_dxf", m_strExportDefDxf);
    for (PrefsFlag flag : kExportFlags) {
        m_app.WriteProfileInt(kSection, GetFlagKey(flag), GetFlag(flag));
    }
}
