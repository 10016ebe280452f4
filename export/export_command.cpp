#include "export_command.h"

#include "export_object.h"

#include "application.h"
#include "archive.h"
#include "exchange_file.h"
#include "file_exception.h"
#include "plugin_settings.h"
#include "scene_document.h"

#include <memory>
#include <string>

namespace {

void ShowStop(CApplication& app, const std::string& text) {
    app.MessageBox(text, MB_OK | MB_ICONSTOP);
}

// Reads the host's scene into document. A missing file leaves the document
// empty and a wrong magic has already been reported by the reader; both go
// on, as the host expects a DXF file either way. False when the file is
// damaged or unreadable: that has been reported here.
bool ReadScene(CApplication& app, CSceneDocument& document) {
    try {
        ReadExchangeFile(document, kExchangeFileName, app);
        return true;
    } catch (const CArchiveException& e) {
        ShowStop(app, "The scene could not be read from the exchange file \"" +
                          GetExchangeFilePath(app, kExchangeFileName) + "\": " + e.what() +
                          "\nNothing was exported.");
    } catch (const CFileException& e) {
        ShowStop(app, std::string(e.what()) + "\nNothing was exported.");
    }
    return false;
}

} // namespace

int RunExportCommand(CApplication& app) {
    auto document = std::make_unique<CSceneDocument>();
    if (!ReadScene(app, *document))
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

    object->ConvertScene(*document);
    std::string error;
    if (!object->WriteDxf(path, error)) {
        ShowStop(app, "The DXF file \"" + path + "\" could not be written: " + error +
                          ".\nNothing was exported; an existing file of that name is unchanged.");
        return 2;
    }
    if (settings.ShowInfo())
        app.MessageBox(object->m_strInfo, MB_OK);
    return 2;
}
