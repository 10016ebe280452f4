// qrhost new [--force] DIR: DIR/PlugIns/qrplugin.qrc holding an empty scene,
// written by the same exchange-file writer the plug-ins use.
#include "host/command_line/command_line.h"
#include "host/scene_tools/scene_tools.h"

#include "platform/application.h"
#include "platform/console_dialogs.h"
#include "platform/host_folder.h"
#include "platform/memory_profile.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

int RunNewCommand(int argc, char** argv) {
    const CCommandRules rules{.m_name = "new", .m_options = {{"--force"}}};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const bool force = line.Has("--force");
    const std::string& folder = line.Positional(0);

    // The host folder lives in a profile of this run only: `new` must not
    // change the user's profile.
    CApplication app(std::make_unique<CMemoryProfile>(),
                     std::make_unique<CNonInteractiveDialogs>(std::cerr), &std::cerr);
    app.WriteProfileString("Paths", "ApplicationPath", folder);

    const std::string pluginFolder = GetHostPluginFolder(app);
    const std::string filePath = GetExchangeFilePath(app, kExchangeFileName);
    std::error_code error;
    if (!force && std::filesystem::exists(filePath, error)) {
        std::fprintf(stderr,
                     "qrhost new: \"%s\" already exists; it is left as it is "
                     "(--force replaces it)\n",
                     filePath.c_str());
        return kExitFailed;
    }
    std::filesystem::create_directories(pluginFolder, error);
    if (error) {
        std::fprintf(stderr, "qrhost new: cannot create the folder \"%s\": %s\n",
                     pluginFolder.c_str(), error.message().c_str());
        return kExitFailed;
    }
    try {
        CSceneDocument doc;
        WriteExchangeFile(doc, kExchangeFileName, app);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "qrhost new: %s\n", failure.what());
        return kExitFailed;
    }
    std::printf("%s\n", filePath.c_str());
    return kExitOk;
}
