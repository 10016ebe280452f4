// qrhost run PLUGIN [--folder DIR] [--answer yes|no]... [--open PATH] [--save PATH]
// on Windows. A DLL links its own platform code, so the host cannot hand it an
// application object: the folder goes where the host keeps it (the registry),
// and the answers go to an answers file that QUARRION_ANSWERS names for the
// plug-in (platform/win32/answers_file.h). Then LoadLibrary, GetProcAddress
// and the call, as the host makes it.
#include "host/commands.h"

#include "platform/host_folder.h"
#include "platform/win32/answers_file.h"
#include "platform/win32/registry_profile.h"
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct RunOptions {
    std::string plugin;
    std::optional<std::string> folder;
    std::vector<std::string> answers;
    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
};

bool ParseRunOptions(int argc, char** argv, RunOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" || arg == "--answer" || arg == "--open" || arg == "--save") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "qrhost run: %s needs a value\n", arg.c_str());
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--folder") {
                options.folder = value;
            } else if (arg == "--answer") {
                if (value != "yes" && value != "no") {
                    std::fprintf(stderr, "qrhost run: --answer takes yes or no, not \"%s\"\n",
                                 value.c_str());
                    return false;
                }
                options.answers.push_back(value);
            } else if (value.find_first_of("\r\n") != std::string::npos) {
                std::fprintf(stderr, "qrhost run: %s takes a path on one line\n", arg.c_str());
                return false;
            } else if (arg == "--open") {
                options.openPath = value;
            } else {
                options.savePath = value;
            }
        } else if (arg.starts_with("--")) {
            std::fprintf(stderr, "qrhost run: unknown option %s\n", arg.c_str());
            return false;
        } else if (options.plugin.empty()) {
            options.plugin = arg;
        } else {
            std::fprintf(stderr, "qrhost run: more than one plug-in given (\"%s\")\n", arg.c_str());
            return false;
        }
    }
    if (options.plugin.empty()) {
        std::fputs("qrhost run: no plug-in given\n", stderr);
        return false;
    }
    return true;
}

std::string ExecutableFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    const std::string self(buffer, length);
    const auto slash = self.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
}

// A path (with a slash or a backslash) as it is; a bare name as NAME.dll in
// the plug-in folder, then beside qrhost.exe.
std::string FindPluginDll(const std::string& plugin, const std::string& pluginFolder,
                          std::vector<std::string>& searched) {
    if (plugin.find_first_of("\\/") != std::string::npos) {
        searched.push_back(plugin);
        std::error_code error;
        return std::filesystem::is_regular_file(plugin, error) ? plugin : "";
    }
    const bool hasSuffix = plugin.size() > 4 && plugin.ends_with(".dll");
    const std::string fileName = hasSuffix ? plugin : plugin + ".dll";
    for (const std::string& folder : {pluginFolder, ExecutableFolder()}) {
        const std::string candidate = folder + fileName;
        searched.push_back(candidate);
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return "";
}

// The answers file of this run, beside the system's temporary files; removed
// when the run ends.
class CAnswersFile {
  public:
    ~CAnswersFile() {
        if (!m_strPath.empty())
            DeleteFileA(m_strPath.c_str());
    }
    bool Write(const RunOptions& options) {
        char folder[MAX_PATH + 1] = {};
        char path[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof folder, folder) == 0 ||
            GetTempFileNameA(folder, "qra", 0, path) == 0)
            return false;
        m_strPath = path;
        std::ofstream out(m_strPath, std::ios::binary | std::ios::trunc);
        for (const std::string& answer : options.answers)
            out << answer << "\n";
        if (options.openPath)
            out << "open=" << *options.openPath << "\n";
        if (options.savePath)
            out << "save=" << *options.savePath << "\n";
        out.close();
        return static_cast<bool>(out);
    }
    const std::string& GetPath() const { return m_strPath; }

  private:
    std::string m_strPath;
};

} // namespace

int RunRunCommand(int argc, char** argv) {
    RunOptions options;
    if (!ParseRunOptions(argc, argv, options)) {
        PrintUsage();
        return kExitUsage;
    }
    CApplication app(std::make_unique<CRegistryProfile>("Orvane", "Quarrion"), nullptr, nullptr);
    if (options.folder) {
        // Stored absolute and without a trailing backslash, as the host stores it.
        std::error_code error;
        std::string folder =
            std::filesystem::absolute(*options.folder, error).lexically_normal().string();
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
            folder.pop_back();
        if (error || !app.WriteProfileString("Paths", "ApplicationPath", folder)) {
            std::fputs("qrhost run: cannot store the host folder in the registry\n", stderr);
            return kExitFailed;
        }
    }

    CAnswersFile answers;
    const bool scripted = !options.answers.empty() || options.openPath || options.savePath;
    if (scripted) {
        if (!answers.Write(options)) {
            std::fputs("qrhost run: cannot write the answers file\n", stderr);
            return kExitFailed;
        }
        SetEnvironmentVariableA(kAnswersVariable, answers.GetPath().c_str());
    }

    std::vector<std::string> searched;
    const std::string dll = FindPluginDll(options.plugin, GetHostPluginFolder(app), searched);
    if (dll.empty()) {
        std::fprintf(stderr, "qrhost run: no plug-in \"%s\"; looked for:\n",
                     options.plugin.c_str());
        for (const std::string& place : searched)
            std::fprintf(stderr, "  %s\n", place.c_str());
        return kExitUsage;
    }
    // Never unloaded: the process ends soon after, as on Linux.
    const HMODULE module = LoadLibraryA(dll.c_str());
    if (module == nullptr) {
        std::fprintf(stderr, "qrhost run: cannot load \"%s\" (error %lu)\n", dll.c_str(),
                     GetLastError());
        return kExitUsage;
    }
    using ExecutePluginFunction = int (*)(void);
    // FARPROC is the system's "any function"; the cast through void (*)(void)
    // says that the real type is ours to know.
    const auto execute = reinterpret_cast<ExecutePluginFunction>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(module, "ExecutePlugin")));
    if (execute == nullptr) {
        std::fprintf(stderr, "qrhost run: \"%s\" exports no ExecutePlugin\n", dll.c_str());
        return kExitUsage;
    }
    std::fflush(stdout);
    const int result = execute();
    std::fflush(stdout);
    std::fprintf(stderr, "ExecutePlugin returned %d\n", result);
    return kExitOk;
}
