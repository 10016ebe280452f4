// qrhost version PLUGIN: the version texts a module exports (PluginVersionInfo).
#include "commands.h"
#include "plugin_module.h"

#include "application.h"
#include "host_folder.h"
#include "ini_profile.h"

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
        pluginFolder = GetPluginFolder(GetApplicationPath(app));
    }
    std::vector<std::string> searched;
    const std::string modulePath = FindPluginModule(plugin, pluginFolder, searched);
    if (modulePath.empty()) {
        std::fprintf(stderr, "qrhost version: plug-in \"%s\" not found; looked for:\n",
                     plugin.c_str());
        for (const std::string& place : searched)
            std::fprintf(stderr, "  %s\n", place.c_str());
        return kExitUsage;
    }
    std::string error;
    void* module = LoadPluginModule(modulePath, error);
    if (module == nullptr) {
        std::fprintf(stderr, "qrhost version: cannot load plug-in \"%s\": %s\n", modulePath.c_str(),
                     error.c_str());
        return kExitUsage;
    }
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
