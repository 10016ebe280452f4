#include "host/plugin_host/plugin_search.h"

#include <filesystem>

std::string FindPluginFile(const std::string& plugin, const std::string& separators,
                           const std::string& suffix, std::initializer_list<std::string> folders,
                           std::vector<std::string>& searched) {
    searched.clear();
    std::error_code error;
    if (plugin.find_first_of(separators) != std::string::npos) {
        searched.push_back(plugin);
        return std::filesystem::is_regular_file(plugin, error) ? plugin : "";
    }
    const bool hasSuffix = plugin.size() > suffix.size() && plugin.ends_with(suffix);
    const std::string fileName = hasSuffix ? plugin : plugin + suffix;
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        const std::string candidate = folder + fileName;
        searched.push_back(candidate);
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return "";
}
