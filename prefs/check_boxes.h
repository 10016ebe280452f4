// Which setting each check box of the settings dialog edits, for both views
// of the dialog (wxWidgets on Linux, the resource template on Windows).
#pragma once

#include "prefs/resource_ids.h"
#include "settings/plugin_settings.h"

#include <array>

struct CCheckBox {
    int m_nId;
    SettingId m_flag;
};

inline constexpr std::array<CCheckBox, 8> kCheckBoxes{{
    {IDC_USE_DEF_LWO, SettingId::UseDefLwo},
    {IDC_VZDY_UPDATE, SettingId::VzdyUpdate},
    {IDC_VIEW_INFO, SettingId::ViewInfo},
    {IDC_FLIP_POLY, SettingId::FlipPoly},
    {IDC_EXPORT_RENAME, SettingId::ExportRename},
    {IDC_EXPORT_FLIP_POLY, SettingId::ExportFlipPoly},
    {IDC_EXPORT_USE_DEF_DXF, SettingId::ExportUseDefDxf},
    {IDC_EXPORT_VIEW_INFO, SettingId::ExportViewInfo},
}};
