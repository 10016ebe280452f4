// qrhost run PLUGIN [--folder DIR] [--answer yes|no]... [--open PATH] [--save PATH]
// on Windows. A DLL links its own platform code, so the host cannot hand it an
// application object: the folder goes where the host keeps it (the registry),
// and the answers go to an answers file that QUARRION_ANSWERS names for the
// plug-in (platform/win32/answers_file.h). Then LoadLibrary, GetProcAddress
// and the call, as the host makes it.
#include "host/command_line/command_line.h"
#include "host/plugin_host/plugin_host.h"
#include "host/plugin_host/plugin_search.h"
#include "host/plugin_host/run_options.h"

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

// The answers file holds one answer or path a line: a path with a line break in it could not
// be handed on, and a profile file has no use where the profile is the registry.
bool CheckWindowsOptions(const CRunOptions& options) {
    if (options.m_strProfile) {
        std::fputs("qrhost run: --profile has no use here: the profile is the registry\n", stderr);
        return false;
    }
    for (const auto& path : {options.m_strOpenPath, options.m_strSavePath}) {
        if (path && path->find_first_of("\r\n") != std::string::npos) {
            std::fputs("qrhost run: --open and --save take a path on one line\n", stderr);
            return false;
        }
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

// The answers file of this run, beside the system's temporary files; removed
// when the run ends.
class CAnswersFile {
  public:
    ~CAnswersFile() {
        if (!m_strPath.empty())
            DeleteFileA(m_strPath.c_str());
    }
    bool Write(const CRunOptions& options) {
        char folder[MAX_PATH + 1] = {};
        char path[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof folder, folder) == 0 ||
            GetTempFileNameA(folder, "qra", 0, path) == 0)
            return false;
        m_strPath = path;
        std::ofstream out(m_strPath, std::ios::binary | std::ios::trunc);
        for (const std::string& answer : options.m_astrAnswers)
            out << answer << "\n";
        if (options.m_strOpenPath)
            out << "open=" << *options.m_strOpenPath << "\n";
        if (options.m_strSavePath)
            out << "save=" << *options.m_strSavePath << "\n";
        out.close();
        return static_cast<bool>(out);
    }
    const std::string& GetPath() const { return m_strPath; }

  private:
    std::string m_strPath;
};

} // namespace

int RunRunCommand(int argc, char** argv) {
    CRunOptions options;
    if (!ReadRunOptions(argc, argv, options))
        return kExitUsage;
    if (!CheckWindowsOptions(options)) {
        PrintUsage();
        return kExitUsage;
    }
    CApplication app(std::make_unique<CRegistryProfile>("Orvane", "Quarrion"), nullptr, nullptr);
    if (options.m_strFolder) {
        // Stored absolute and without a trailing backslash, as the host stores it.
        std::error_code error;
        std::string folder =
            std::filesystem::absolute(*options.m_strFolder, error).lexically_normal().string();
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
            folder.pop_back();
        if (error || !app.WriteProfileString("Paths", "ApplicationPath", folder)) {
            std::fputs("qrhost run: cannot store the host folder in the registry\n", stderr);
            return kExitFailed;
        }
    }

    CAnswersFile answers;
    const bool scripted =
        !options.m_astrAnswers.empty() || options.m_strOpenPath || options.m_strSavePath;
    if (scripted) {
        if (!answers.Write(options)) {
            std::fputs("qrhost run: cannot write the answers file\n", stderr);
            return kExitFailed;
        }
        SetEnvironmentVariableA(kAnswersVariable, answers.GetPath().c_str());
    }

    std::vector<std::string> searched;
    const std::string dll =
        FindPluginFile(options.m_strPlugin, "\\/", ".dll",
                       {GetHostPluginFolder(app), ExecutableFolder()}, searched);
    if (dll.empty()) {
        std::fprintf(stderr, "qrhost run: no plug-in \"%s\"; looked for:\n",
                     options.m_strPlugin.c_str());
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
