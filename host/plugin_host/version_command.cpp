// qrhost version PLUGIN: the version texts a module exports (PluginVersionInfo).
#include "host/command_line/command_line.h"
#include "host/plugin_host/plugin_host.h"
#include "host/plugin_host/plugin_module.h"

#include "platform/application.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"

#include <cstdio>
#include <string>

int RunVersionCommand(int argc, char** argv) {
    // An empty name is a name: the search then says where it looked.
    const CCommandRules rules{
        .m_name = "version", .m_options = {}, .m_optionPrefix = "-", .m_bEmptyFillsAPlace = true};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const std::string& plugin = line.Positional(0);
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
