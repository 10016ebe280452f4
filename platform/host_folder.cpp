#include "platform/host_folder.h"

#include "platform/ascii_text.h"

#include "platform/application.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return ".";
}

} // namespace

std::string GetApplicationPath(CApplication& app) {
    std::string folder = app.GetProfileString("Paths", "ApplicationPath", "");
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string GetPluginFolder(const std::string& hostFolder) {
    std::string base = hostFolder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    const std::filesystem::path where =
        base.empty() ? std::filesystem::path(".") : std::filesystem::path(base);

    // "PlugIns" itself wins when it exists beside another spelling; otherwise
    // the first other spelling in byte order, so the choice never depends on
    // the order the directory lists its entries in.
    std::vector<std::string> spellings;
    std::error_code error;
    for (std::filesystem::directory_iterator it(where, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (EqualsIgnoringAsciiCase(name, "plugins") && it->is_directory(typeError))
            spellings.push_back(name);
    }
    std::string chosen = "PlugIns";
    if (!spellings.empty() &&
        std::find(spellings.begin(), spellings.end(), chosen) == spellings.end())
        chosen = *std::min_element(spellings.begin(), spellings.end());
    return base + chosen + "/";
}

std::string DefaultProfilePath() {
    const std::string explicitPath = Environment("QUARRION_PROFILE");
    if (!explicitPath.empty())
        return explicitPath;
    std::string config = Environment("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (config.empty() || config.front() != '/')
        config = HomeFolder() + "/.config";
    return config + "/Orvane/Quarrion.ini";
}

std::string GetHostPluginFolder(CApplication& app) {
    return GetPluginFolder(GetApplicationPath(app));
}
