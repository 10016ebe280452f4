// qrhost version PLUGIN: the version texts a module exports (PluginVersionInfo).
#include "host/commands.h"
#include "host/plugin_module.h"

#include "platform/application.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"

#include <cstdio>
#include <string>

int RunVersionCommand(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        PrintUsage();
        return kExitUsage;
    }
    const std::string plugin = argv[1];
    // Only a bare name needs the profile: the plug-in folder is the host's.
    std::string pluginFolder;
    if (plugin.find('/') == std::string::npos) {
        CApplication app(std::make_unique<CIniProfile>(DefaultProfilePath()), nullptr, nullptr);
        pluginFolder = GetHostPluginFolder(app);
    }
    std::string modulePath;
    void* module = OpenPluginModule("version", plugin, pluginFolder, modulePath);
    if (module == nullptr)
        return kExitUsage;
    using VersionFunction = const char* (*)();
    const auto version =
        reinterpret_cast<VersionFunction>(FindPluginSymbol(module, "PluginVersionInfo"));
    if (version == nullptr) {
        std::fprintf(stderr, "qrhost version: \"%s\" carries no version texts\n",
                     modulePath.c_str());
        return kExitFailed;
    }
    std::fputs(version(), stdout);
    return kExitOk;
}
