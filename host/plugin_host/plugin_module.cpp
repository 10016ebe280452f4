#include "host/plugin_host/plugin_module.h"

#include "host/plugin_host/plugin_search.h"

#include <cstdio>

#include <dlfcn.h>
#include <filesystem>

std::string GetExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !self.has_parent_path())
        return "";
    return self.parent_path().string() + "/";
}

std::string FindPluginModule(const std::string& plugin, const std::string& pluginFolder,
                             std::vector<std::string>& searched) {
    // An installed qrhost lies in bin/ and the modules in lib/quarrion/PlugIns/.
    const std::string self = GetExecutableFolder();
    const std::string installed = self.empty() ? "" : self + "../" QR_INSTALLED_PLUGIN_DIR "/";
    return FindPluginFile(plugin, "/", ".so", {pluginFolder, self, installed}, searched);
}

CStatus LoadPluginModule(const std::string& path, void*& module) {
    // dlopen takes a name without "/" as a library to search for; a path
    // found relative to the current folder must stay a path.
    const std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        return CStatus::Failure(reason != nullptr ? reason : "unknown reason");
    }
    return {};
}

void* FindPluginSymbol(void* module, const char* name) {
    return dlsym(module, name);
}

void* OpenPluginModule(const char* command, const std::string& plugin,
                       const std::string& pluginFolder, std::string& modulePath) {
    std::vector<std::string> searched;
    modulePath = FindPluginModule(plugin, pluginFolder, searched);
    if (modulePath.empty()) {
        std::fprintf(stderr, "qrhost %s: plug-in \"%s\" not found; looked for:\n", command,
                     plugin.c_str());
        for (const std::string& place : searched)
            std::fprintf(stderr, "  %s\n", place.c_str());
        return nullptr;
    }
    void* module = nullptr;
    if (const CStatus loaded = LoadPluginModule(modulePath, module); !loaded)
        std::fprintf(stderr, "qrhost %s: cannot load plug-in \"%s\": %s\n", command,
                     modulePath.c_str(), loaded.GetReason().c_str());
    return module;
}

bool CallExecutePlugin(const char* command, const std::string& plugin,
                       const std::string& pluginFolder, int& result) {
    std::string modulePath;
    void* module = OpenPluginModule(command, plugin, pluginFolder, modulePath);
    if (module == nullptr)
        return false;
    using ExecuteFunction = int (*)();
    const auto execute =
        reinterpret_cast<ExecuteFunction>(FindPluginSymbol(module, "ExecutePlugin"));
    if (execute == nullptr) {
        std::fprintf(stderr, "qrhost %s: \"%s\" is no plug-in: it exports no ExecutePlugin\n",
                     command, modulePath.c_str());
        return false;
    }
    result = execute();
    return true;
}
