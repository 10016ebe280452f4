#include "export/export_command.h"

#include "export/export_object.h"

#include "platform/application.h"
#include "scene/exchange_file.h"
#include "scene/host_scene_lock.h"
#include "scene/scene_document.h"
#include "settings/plugin_settings.h"

#include <memory>
#include <string>

namespace {

void ShowStop(CApplication& app, const std::string& text) {
    app.MessageBox(text, MB_OK | MB_ICONSTOP);
}

} // namespace

int RunExportCommand(CApplication& app) {
    // A missing file is an empty scene, and a file that is not an exchange file is reported
    // and then exported as one: the host expects a DXF file either way.
    // Held for the read only: an import running beside the export then
    // finishes its write first or waits, and the export sees a whole scene.
    auto document = std::make_unique<CSceneDocument>();
    CHostSceneLock lock;
    if (!lock.Acquire(app, "Nothing was exported."))
        return 2;
    const HostScene scene = ReadHostScene(*document, app, "Nothing was exported.");
    lock.Release();
    if (scene == HostScene::Failed)
        return 2;

    const CExportSettings settings = ReadExportSettings(app);
    auto object = std::make_unique<CExportObject>();
    object->SetRename(settings.RenameParts() ? 1 : 0);
    object->SetFlipPolygons(settings.FlipPolygons() ? 1 : 0);

    // A configured path is used exactly as stored; the dialog adds ".dxf" to
    // a name typed without extension, by its own rule.
    const std::string path = settings.UseDefaultFile()
                                 ? settings.m_strExportDefDxf
                                 : app.DoSaveFileDialog(kDxfFileFilter, kDxfDefaultExt);
    if (path.empty())
        return 2; // cancelled, or no default configured: nothing to do, nothing to say

    if (const CStatus written = object->WriteDxf(*document, path); !written) {
        ShowStop(app, "The DXF file \"" + path + "\" could not be written: " + written.GetReason() +
                          ".\nNothing was exported; an existing file of that name is unchanged.");
        return 2;
    }
    if (settings.ShowInfo())
        app.MessageBox(object->m_strInfo, MB_OK);
    return 2;
}
