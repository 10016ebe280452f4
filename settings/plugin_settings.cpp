#include "settings/plugin_settings.h"

#include "platform/application.h"

CImportSettings ReadImportSettings(CApplication& app) {
    CImportSettings s;
    s.m_strDefLwo = app.GetProfileString(kSettingsSection, kKeyDefLwo, s.m_strDefLwo);
    s.m_nUseDefLwo = app.GetProfileInt(kSettingsSection, kKeyUseDefLwo, s.m_nUseDefLwo);
    s.m_nVzdyUpdate = app.GetProfileInt(kSettingsSection, kKeyVzdyUpdate, s.m_nVzdyUpdate);
    s.m_nViewInfo = app.GetProfileInt(kSettingsSection, kKeyViewInfo, s.m_nViewInfo);
    s.m_nFlipPoly = app.GetProfileInt(kSettingsSection, kKeyFlipPoly, s.m_nFlipPoly);
    return s;
}

CExportSettings ReadExportSettings(CApplication& app) {
    CExportSettings s;
    s.m_nExportRename = app.GetProfileInt(kSettingsSection, kKeyExportRename, s.m_nExportRename);
    s.m_nExportFlipPoly =
        app.GetProfileInt(kSettingsSection, kKeyExportFlipPoly, s.m_nExportFlipPoly);
    s.m_nExportUseDefDxf =
        app.GetProfileInt(kSettingsSection, kKeyExportUseDefDxf, s.m_nExportUseDefDxf);
    s.m_nExportViewInfo =
        app.GetProfileInt(kSettingsSection, kKeyExportViewInfo, s.m_nExportViewInfo);
    if (s.UseDefaultFile())
        s.m_strExportDefDxf =
            app.GetProfileString(kSettingsSection, kKeyExportDefDxf, s.m_strExportDefDxf);
    return s;
}
