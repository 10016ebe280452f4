// Where the host lives, on Windows. The host writes its folder into its own
// registry profile; the plug-ins read it straight from the registry, as the
// host's key and value (registry names compare without regard to case, so
// this is the profile's "ApplicationPath" of section "Paths").
#include "platform/host_folder.h"

#include "platform/application.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/registry_profile.h"

#include <cstring>

namespace {

// The folder as the host's plug-ins have always read it: at most 131 bytes
// and the NUL in a 132-byte buffer, the value's type not checked. A longer
// value does not fit and reads as missing.
std::string ReadRegistryHostFolder() {
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, "SOFTWARE\\ORVANE\\QUARRION\\PATHS", KEY_READ))
        return "";
    char buffer[132] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key.Get(), "APPLICATIONPATH", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return "";
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

} // namespace

std::string GetApplicationPath(CApplication& app) {
    // An application whose profile is the registry reads the host's own value;
    // any other (a test's profile in memory) answers from its profile.
    std::string folder = dynamic_cast<CRegistryProfile*>(&app.Profile()) != nullptr
                             ? ReadRegistryHostFolder()
                             : app.GetProfileString("Paths", "ApplicationPath", "");
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

std::string GetPluginFolder(const std::string& hostFolder) {
    // File names compare without regard to case here: "PlugIns" and the
    // preferences program's "Plugins" are one folder.
    if (hostFolder.empty())
        return "PlugIns\\";
    const char last = hostFolder.back();
    return hostFolder + (last == '\\' || last == '/' ? "" : "\\") + "PlugIns\\";
}

std::string GetHostPluginFolder(CApplication& app) {
    return GetPluginFolder(GetApplicationPath(app));
}

std::string DefaultProfilePath() {
    // The profile is the registry; this names where, for messages.
    return "HKEY_CURRENT_USER\\Software\\Orvane\\Quarrion";
}
