// Karvel, the object import plug-in: the module's entry point.
//
// For now a run reads the host's scene from the exchange file and writes it
// back unchanged; the import command will add the object between the two.
#include "archive.h"
#include "exchange_file.h"
#include "file_exception.h"
#include "plugin_guard.h"
#include "plugin_version.h"
#include "scene_document.h"

#include <memory>

QR_PLUGIN_VERSION_INFO("Brask Design", "2.0", "Object import plugin for Quarrion")

namespace {

void ShowUnreadable(CApplication& app, const std::exception& failure) {
    app.MessageBox("The host's scene could not be read from the exchange file:\n" +
                       std::string(failure.what()) +
                       "\nNothing was imported and the file was left unchanged.",
                   MB_OK | MB_ICONSTOP);
}

int RunImport(CApplication& app) {
    auto doc = std::make_unique<CSceneDocument>();
    try {
        // A wrong magic has been shown already ("Invalid File Format!"); the
        // file may hold anything, so it is never overwritten.
        if (ReadExchangeFile(*doc, kExchangeFileName, app) == ExchangeStatus::WrongMagic)
            return 1;
    } catch (const CArchiveException& failure) {
        // Damaged: writing back what was read would lose the rest of the scene.
        ShowUnreadable(app, failure);
        return 1;
    } catch (const CFileException& failure) {
        ShowUnreadable(app, failure);
        return 1;
    }
    try {
        WriteExchangeFile(*doc, kExchangeFileName, app);
    } catch (const CFileException& failure) {
        app.MessageBox("The scene could not be written back to the exchange file:\n" +
                           std::string(failure.what()) +
                           "\nThe old file was kept; the import did not reach the host.",
                       MB_OK | MB_ICONSTOP);
    }
    return 1;
}

} // namespace

QR_PLUGIN_EXPORT int ExecutePlugin(void) { return RunGuarded(*AfxGetApp(), 1, RunImport); }
