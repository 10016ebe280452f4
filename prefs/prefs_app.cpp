#include "prefs/prefs_app.h"

#include "platform/application.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"
#include "platform/scripted_dialogs.h"
#include "prefs/prefs_dlg.h"
#include "prefs/version_info.h"

#include <cstdio>
#include <cstring>

wxIMPLEMENT_APP_NO_MAIN(CPrefsApp);

CPrefsApp::CPrefsApp() = default;
CPrefsApp::~CPrefsApp() = default;

bool CPrefsApp::OnInit() {
    if (!wxApp::OnInit()) {
        return false;
    }
    // The profile the plug-ins read: the same file, read afresh at their
    // next run. The program shows its own message boxes, so the application
    // object's dialogs are never asked anything.
    m_pApp = std::make_unique<CApplication>(
        std::make_unique<CIniProfile>(DefaultProfilePath()),
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt, std::nullopt),
        nullptr);
    return true;
}

int CPrefsApp::OnRun() {
    CPrefsDlg dlg(*m_pApp);
    SetTopWindow(&dlg);
    dlg.ShowModal();
    SetTopWindow(nullptr);
    return 0;
}

namespace {

void PrintVersion() {
    std::printf("%s %s\n%s\n%s\nInternal name: %s\nFile name: %s\n", kInternalName, kFileVersion,
                kFileDescription, kProductName, kInternalName, kOriginalFileName);
}

} // namespace

// --version must answer without a display, so it is handled before the GUI
// toolkit starts.
int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        PrintVersion();
        return 0;
    }
    return wxEntry(argc, argv);
}
