// The ten settings of profile section "Karvel" and how the plug-ins read them.
// The preferences program writes them; the plug-ins read them afresh at every
// run, in a fixed order, with their own defaults. Raw values are kept as
// read; the On/mode helpers give the plug-ins' rules for values other than 0/1.
#pragma once

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

// What to do with an imported part whose name an existing part has.
enum class UpdateMode {
    Ask,    // vzdy_update 0: ask whether to update or add
    Update, // vzdy_update 1: update without asking
    Add     // any other value: add as a new part without asking
};

// The import plug-in's five values, with its defaults.
struct CImportSettings {
    std::string m_strDefLwo;
    int m_nUseDefLwo = 0;
    int m_nVzdyUpdate = 0;
    int m_nViewInfo = 1;
    int m_nFlipPoly = 1;

    bool UseDefaultFile() const { return m_nUseDefLwo != 0; }
    UpdateMode GetUpdateMode() const {
        return m_nVzdyUpdate == 0   ? UpdateMode::Ask
               : m_nVzdyUpdate == 1 ? UpdateMode::Update
                                    : UpdateMode::Add;
    }
    bool ShowInfo() const { return m_nViewInfo != 0; }
    bool FlipPolygons() const { return m_nFlipPoly == 1; }
};

// The export plug-in's five values, with its defaults. Each flag is on only at
// exactly 1.
struct CExportSettings {
    std::string m_strExportDefDxf;
    int m_nExportRename = 1;
    int m_nExportFlipPoly = 0;
    int m_nExportUseDefDxf = 0;
    int m_nExportViewInfo = 1;

    bool RenameParts() const { return m_nExportRename == 1; }
    bool FlipPolygons() const { return m_nExportFlipPoly == 1; }
    bool UseDefaultFile() const { return m_nExportUseDefDxf == 1; }
    bool ShowInfo() const { return m_nExportViewInfo == 1; }
};

// def_lwo (""), use_def_lwo (0), vzdy_update (0), view_info (1), flip_poly (1),
// read in this order.
CImportSettings ReadImportSettings(CApplication& app);
// export_rename (1), export_flip_poly (0), export_use_def_dxf (0),
// export_view_info (1) in this order; then export_def_dxf ("") only when
// export_use_def_dxf is exactly 1.
CExportSettings ReadExportSettings(CApplication& app);
