// qrhost run PLUGIN [--folder DIR] [--profile FILE] [--answer yes|no]...
//                   [--open PATH] [--save PATH]
// Installs the application object (profile, scripted answers with the console
// as fallback, transcript on standard output), loads the module and calls its
// ExecutePlugin, as the host does.
#include "host/command_line/command_line.h"
#include "host/plugin_host/plugin_host.h"
#include "host/plugin_host/plugin_module.h"
#include "host/plugin_host/run_options.h"
#include "host/plugin_host/stop_watching_dialogs.h"
#include "platform/installed_app.h"

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

int RunRunCommand(int argc, char** argv) {
    CRunOptions options;
    if (!ReadRunOptions(argc, argv, options))
        return kExitUsage;

    const std::string profilePath = options.m_strProfile.value_or(DefaultProfilePath());
    auto dialogs = std::make_unique<CStopWatchingDialogs>(std::make_unique<CScriptedDialogs>(
        std::deque<std::string>(options.m_astrAnswers.begin(), options.m_astrAnswers.end()),
        std::move(options.m_strOpenPath), std::move(options.m_strSavePath), MakeConsoleDialogs()));
    CStopWatchingDialogs& watch = *dialogs;
    CApplication app(std::make_unique<CIniProfile>(profilePath), std::move(dialogs), &std::cout);

    if (options.m_strFolder) {
        // Stored absolute: the profile outlives this run and its current folder.
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::absolute(*options.m_strFolder, error);
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
        if (!CallExecutePlugin("run", options.m_strPlugin, GetHostPluginFolder(app), result))
            return kExitUsage;
    }
    std::cout.flush();
    std::fprintf(stderr, "ExecutePlugin returned %d\n", result);
    // The plug-in's stop box is its failure, whatever it returned.
    return watch.TakeStopShown() ? kExitFailed : kExitOk;
}
