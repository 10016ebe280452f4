// qrhost convert IN OUT.dxf [--profile FILE]
// An object file to DXF in one step, the way a person would do it with the
// host: a new, empty scene in a temporary host folder, the Karvel module
// importing IN into it, the Brask_Export module exporting it to OUT. The
// settings are the profile's (only read, never written) or the defaults,
// with the files, the folder and "every surface a new part" set here, so no
// dialog or question ever comes up.
#include "host/command_line/command_line.h"
#include "host/command_line/progress_line.h"
#include "host/object_tools/interrupt_cleanup.h"
#include "host/object_tools/object_tools.h"
#include "host/object_tools/temporary_host.h"
#include "host/plugin_host/plugin_module.h"
#include "host/plugin_host/stop_watching_dialogs.h"
#include "platform/installed_app.h"
#include "platform/overlay_profile.h"

#include "platform/console_dialogs.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"
#include "settings/plugin_settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>

namespace {

// The plug-in's own words for a failure, for standard error: the stop box's text,
// indented, or "" when it showed none.
std::string StopReason(const CStopWatchingDialogs& watch) {
    std::string text;
    std::size_t start = 0;
    const std::string& box = watch.LastStopText();
    while (start < box.size()) {
        const std::size_t end = std::min(box.find('\n', start), box.size());
        text += "  " + box.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return text;
}

} // namespace

int RunConvertCommand(int argc, char** argv) {
    const CCommandRules rules{
        .m_name = "convert",
        .m_options = {{"--profile", true}, {"--quiet"}},
        .m_nPositionals = 2,
        .m_optionPrefix = "-",
        .m_unknownOption = "unknown option {}",
        .m_extraPositional = "unexpected argument {}",
        .m_missingPositional = "an input object and an output DXF file are needed",
        .m_pUsage = "usage: qrhost convert IN.lwo|IN.dxf OUT.dxf [--profile FILE] [--quiet]\n"};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const std::string& input = line.Positional(0);
    const std::string& output = line.Positional(1);
    const std::string profilePath = line.Value("--profile").value_or("");
    std::error_code error;
    if (!profilePath.empty() && !std::filesystem::is_regular_file(profilePath, error)) {
        std::fprintf(stderr, "qrhost convert: the profile \"%s\" is not a file\n",
                     profilePath.c_str());
        return kExitFailed;
    }

    // The export would replace the object it converts: the same file once links are
    // followed (the same device and inode), whatever the two paths say.
    if (std::filesystem::equivalent(input, output, error)) {
        std::fprintf(stderr, "qrhost convert: \"%s\" and \"%s\" are the same file: not converted\n",
                     input.c_str(), output.c_str());
        return kExitFailed;
    }

    CTemporaryHost host;
    if (host.Path().empty() ||
        !std::filesystem::create_directory(host.Path() + "/PlugIns", error)) {
        std::fprintf(stderr, "qrhost convert: cannot make a temporary host folder: %s\n",
                     std::strerror(host.Path().empty() ? host.Error() : error.value()));
        return kExitFailed;
    }
    // The export's temporary file lies beside OUT's final target.
    const std::string outputFolder =
        std::filesystem::weakly_canonical(output, error).parent_path().string();
    const CInterruptCleanup cleanup(host.Path(), outputFolder);

    auto profile = std::make_unique<COverlayProfile>(
        profilePath.empty() ? nullptr : std::make_unique<CIniProfile>(profilePath));
    // The import names its reader by the setting's last three characters,
    // which an input such as "model.LWO" keeps.
    // An overlay's Write always succeeds.
    const char* section = kSettingsSection;
    (void)profile->Write("Paths", "ApplicationPath", host.Path());
    (void)profile->Write(section, kKeyUseDefLwo, "1");
    (void)profile->Write(section, kKeyDefLwo, input);
    (void)profile->Write(section, kKeyVzdyUpdate, "2"); // neither ask nor replace: add
    // Each face keeps the corner order (so the facing) it has in IN: the import's flip
    // (on unless a profile turns it off) and the export's would each reverse it, so both
    // are off, for LWO and DXF alike.
    (void)profile->Write(section, kKeyFlipPoly, "0");
    (void)profile->Write(section, kKeyExportFlipPoly, "0");
    (void)profile->Write(section, kKeyExportUseDefDxf, "1");
    (void)profile->Write(section, kKeyExportDefDxf, output);
    CProgressLine progress("convert", line.Has("--quiet"));
    // Dialogs are passed on to nobody (no question is expected); every failure the
    // plug-ins report is a stop box.
    auto dialogs =
        std::make_unique<CStopWatchingDialogs>(std::make_unique<CNonInteractiveDialogs>(std::cerr));
    CStopWatchingDialogs& watch = *dialogs;
    CApplication app(std::move(profile), std::move(dialogs), &std::cout);

    CInstalledApp installed(app);
    int result = 0;
    progress.SetStep("importing " + input);
    const bool imported = CallExecutePlugin("convert", "Karvel", "", result);
    progress.Pause();
    if (!imported)
        return kExitUsage;
    std::cout.flush();
    if (watch.TakeStopShown() ||
        !std::filesystem::exists(GetHostPluginFolder(app) + "qrplugin.qrc", error)) {
        std::fprintf(stderr,
                     "qrhost convert: the import of \"%s\" failed; nothing was exported\n%s",
                     input.c_str(), StopReason(watch).c_str());
        return kExitFailed;
    }
    progress.SetStep("exporting " + output);
    const bool exported = CallExecutePlugin("convert", "Brask_Export", "", result);
    progress.Pause();
    if (!exported)
        return kExitUsage;
    std::cout.flush();
    if (watch.TakeStopShown()) {
        std::fprintf(stderr, "qrhost convert: the export to \"%s\" failed\n%s", output.c_str(),
                     StopReason(watch).c_str());
        return kExitFailed;
    }
    return kExitOk;
}
