// qrhost run PLUGIN [--folder DIR] [--profile FILE] [--answer yes|no]...
//                   [--open PATH] [--save PATH]
// Installs the application object (profile, scripted answers with the console
// as fallback, transcript on standard output), loads the module and calls its
// ExecutePlugin, as the host does.
#include "host/commands.h"
#include "host/installed_app.h"
#include "host/plugin_module.h"

#include "platform/application.h"
#include "platform/console_dialogs.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"
#include "platform/scripted_dialogs.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

struct RunOptions {
    std::string plugin;
    std::optional<std::string> folder;
    std::optional<std::string> profile;
    std::deque<std::string> answers;
    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
};

bool ParseRunOptions(int argc, char** argv, RunOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--folder" || arg == "--profile" || arg == "--answer" ||
                                arg == "--open" || arg == "--save";
        if (takesValue) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "qrhost run: %s needs a value\n", arg.c_str());
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--folder") {
                options.folder = value;
            } else if (arg == "--profile") {
                options.profile = value;
            } else if (arg == "--answer") {
                if (value != "yes" && value != "no") {
                    std::fprintf(stderr, "qrhost run: --answer takes yes or no, not \"%s\"\n",
                                 value.c_str());
                    return false;
                }
                options.answers.push_back(value);
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

} // namespace

int RunRunCommand(int argc, char** argv) {
    RunOptions options;
    if (!ParseRunOptions(argc, argv, options)) {
        PrintUsage();
        return kExitUsage;
    }

    const std::string profilePath = options.profile.value_or(DefaultProfilePath());
    CApplication app(
        std::make_unique<CIniProfile>(profilePath),
        std::make_unique<CScriptedDialogs>(std::move(options.answers), std::move(options.openPath),
                                           std::move(options.savePath), MakeConsoleDialogs()),
        &std::cout);

    if (options.folder) {
        // Stored absolute: the profile outlives this run and its current folder.
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::absolute(*options.folder, error);
        if (error || !app.WriteProfileString("Paths", "ApplicationPath",
                                             folder.lexically_normal().string())) {
            std::fprintf(stderr, "qrhost run: cannot store the host folder in the profile \"%s\"\n",
                         profilePath.c_str());
            return kExitFailed;
        }
    }

    int result = 0;
    {
        CInstalledApp installed(app);
        if (!CallExecutePlugin("run", options.plugin, GetHostPluginFolder(app), result))
            return kExitUsage;
    }
    std::cout.flush();
    std::fprintf(stderr, "ExecutePlugin returned %d\n", result);
    return kExitOk;
}
