// qrhost convert IN OUT.dxf [--profile FILE]
// An object file to DXF in one step, the way a person would do it with the
// host: a new, empty scene in a temporary host folder, the Karvel module
// importing IN into it, the Brask_Export module exporting it to OUT. The
// settings are the profile's (only read, never written) or the defaults,
// with the files, the folder and "every surface a new part" set here, so no
// dialog or question ever comes up.
#include "host/command_line/command_line.h"
#include "host/command_line/progress_line.h"
#include "host/object_tools/object_tools.h"
#include "host/plugin_host/plugin_module.h"
#include "platform/installed_app.h"
#include "platform/overlay_profile.h"

#include "platform/console_dialogs.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"
#include "settings/plugin_settings.h"

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

// Passes dialogs on to nobody (no question is expected) and notes whether a
// plug-in showed a stop box: every failure the plug-ins report is one.
class CWatchingDialogs : public CUserDialogs {
  public:
    explicit CWatchingDialogs(CProgressLine& progress) : m_inner(std::cerr), m_progress(progress) {}
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
        m_progress.Pause();
        if (icon == MessageIcon::Stop)
            m_bStopShown = true;
        return m_inner.Ask(text, icon, buttons);
    }
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override {
        return m_inner.ChooseOpenFile(filter, defaultExt);
    }
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override {
        return m_inner.ChooseSaveFile(filter, defaultExt);
    }
    // True once a stop box was shown since the last call.
    bool TakeStopShown() { return std::exchange(m_bStopShown, false); }

  private:
    CNonInteractiveDialogs m_inner;
    CProgressLine& m_progress;
    bool m_bStopShown = false;
};

// A host folder of its own under the system's temporary folder, removed with
// the scene in it when the conversion ends.
class CTemporaryHost {
  public:
    CTemporaryHost() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/qrhost-convert-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
        else
            m_nError = errno;
    }
    ~CTemporaryHost() {
        if (!m_path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    CTemporaryHost(const CTemporaryHost&) = delete;
    CTemporaryHost& operator=(const CTemporaryHost&) = delete;

    const std::string& Path() const { return m_path; }
    int Error() const { return m_nError; }

  private:
    std::string m_path;
    int m_nError = 0;
};

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

    CTemporaryHost host;
    if (host.Path().empty() ||
        !std::filesystem::create_directory(host.Path() + "/PlugIns", error)) {
        std::fprintf(stderr, "qrhost convert: cannot make a temporary host folder: %s\n",
                     std::strerror(host.Path().empty() ? host.Error() : error.value()));
        return kExitFailed;
    }

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
    (void)profile->Write(section, kKeyExportUseDefDxf, "1");
    (void)profile->Write(section, kKeyExportDefDxf, output);
    CProgressLine progress("convert", line.Has("--quiet"));
    auto dialogs = std::make_unique<CWatchingDialogs>(progress);
    CWatchingDialogs& watch = *dialogs;
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
        std::fprintf(stderr, "qrhost convert: the import of \"%s\" failed; nothing was exported\n",
                     input.c_str());
        return kExitFailed;
    }
    progress.SetStep("exporting " + output);
    const bool exported = CallExecutePlugin("convert", "Brask_Export", "", result);
    progress.Pause();
    if (!exported)
        return kExitUsage;
    std::cout.flush();
    if (watch.TakeStopShown()) {
        std::fprintf(stderr, "qrhost convert: the export to \"%s\" failed\n", output.c_str());
        return kExitFailed;
    }
    return kExitOk;
}
